// How the page loads on a phone and on a desktop, over Chromium's throttled
// link (1.6 Mbit/s down, 150 ms round trip) and without it: bytes and time
// until the game runs, until its sounds are in (they follow the start) and
// until the level the screen wants is in. Prints the
// figures docs/performance.md reports. It fails when the page does not start
// or sharpen, or when the sharpened desktop title differs from the desktop
// build's picture; never on a time.
//   SITE=build-web/site REFERENCE=title.png node load_report.mjs [--quick]
// (--quick: the unthrottled runs only.)
import fs from "node:fs";
import { fail, startServer, launch, watchConsole, waitFor, pixels, difference } from "../../tests/web/lib.mjs";

const site = process.env.SITE || fail("SITE: the built site folder");
const reference = process.env.REFERENCE;
const quick = process.argv.includes("--quick");
const server = await startServer(site);
const browser = await launch();

const pages = {
  phone: { viewport: { width: 390, height: 844 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true },
  desktop: { viewport: { width: 640, height: 480 } },
};
const link = { offline: false, latency: 150, downloadThroughput: 1.6e6 / 8, uploadThroughput: 0.75e6 / 8 };

// The bytes on the wire (compressed where the server compressed them) of
// everything the page had received by `ms` after navigation began.
function bytesBy(page, ms) {
  return page.evaluate((ms) => {
    const entries = [...performance.getEntriesByType("navigation"),
      ...performance.getEntriesByType("resource")];
    return entries.filter((e) => e.responseEnd <= ms).reduce((sum, e) => sum + e.encodedBodySize, 0);
  }, ms);
}

async function measure(name, throttled) {
  const context = await browser.newContext(pages[name]);
  const warmup = await context.newPage();
  await warmup.goto(server.url + "warm-up");
  await warmup.close();
  const page = await context.newPage();
  const seen = watchConsole(page);
  if (throttled) {
    const cdp = await context.newCDPSession(page);
    await cdp.send("Network.enable");
    await cdp.send("Network.emulateNetworkConditions", link);
  }
  await page.goto(server.url, { waitUntil: "commit" });
  const budget = throttled ? 120 : 30;
  if (!(await waitFor(budget, () => page.evaluate(() => Boolean(window.Module && Module.startedAt)))))
    fail(`${name}: the game did not start`);
  const [startMs, startLevel, wanted] = await page.evaluate(() =>
    [Module.startedAt, Module.pictureLevelLimit, Object.keys(Module.levelsIn || {})]);
  const sharp = await page.evaluate(() => {
    const [, , w, h] = Module.gameSize;
    return w > 1230 || h > 1230 ? 4 : w > 630 || h > 630 ? 2 : 1;
  });
  if (!(await waitFor(budget, () => page.evaluate((l) => Module.pictureLevelLimit === l, sharp))))
    fail(`${name}: the level the screen wants (${sharp}) never came in`);
  const sharpMs = await page.evaluate((l) => Module.levelsIn[l], sharp);
  if (!(await waitFor(budget, () => page.evaluate(() => Module.soundsIn !== undefined))))
    fail(`${name}: the sounds never came in`);
  const soundsMs = await page.evaluate(() => Module.soundsIn);
  const row = {
    page: name, throttled, startLevel, sharp, levelsAtStart: wanted.join("+"),
    startMs, startBytes: await bytesBy(page, startMs), sharpMs, sharpBytes: await bytesBy(page, sharpMs),
    soundsMs,
  };
  // The game takes the sharper pictures up at its title; then it shows what
  // the desktop build shows at the same size.
  if (name === "desktop" && reference) {
    const desktop = await pixels(page, fs.readFileSync(reference));
    let off = 1;
    if (!(await waitFor(20, async () => (off = difference(await pixels(page), desktop)) < 0.02)))
      fail(`desktop: the sharpened title differs from the desktop's (${(100 * off).toFixed(1)} % off)`);
    row.titleOff = off;
  }
  if (seen.errors.length) fail(`${name}: console errors:\n` + seen.errors.join("\n"));
  await context.close();
  return row;
}

const rows = [];
for (const throttled of quick ? [false] : [true, false])
  for (const name of ["phone", "desktop"]) rows.push(await measure(name, throttled));
for (const r of rows) {
  console.log(`${r.page} ${r.throttled ? "throttled" : "unthrottled"}: game runs after ` +
    `${(r.startMs / 1000).toFixed(2)} s, ${r.startBytes} bytes (level ${r.startLevel}; levels in: ` +
    `${r.levelsAtStart}); sounds in after ${(r.soundsMs / 1000).toFixed(2)} s; level ${r.sharp} in after ${(r.sharpMs / 1000).toFixed(2)} s, ` +
    `${r.sharpBytes} bytes` +
    (r.titleOff !== undefined ? `; title ${(100 * r.titleOff).toFixed(2)} % off the desktop's` : ""));
}
await browser.close();
server.stop();
console.log("web load report ran");
