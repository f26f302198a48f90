// The web build as a player meets it: the page loads without console errors,
// shows its loading screen and then the title (matching the desktop's
// pixels), a click starts a match, a drag throws a toothpick, Escape pauses.
// The sound files are held back until the match runs: the game starts and
// plays without them (silently), and is heard once they are in.
// Prints the load and frame figures docs/performance.md reports.
//   SITE=build-web/site REFERENCE=title.png node play_test.mjs
import fs from "node:fs";
import {
  fail, startServer, launch, watchConsole, waitFor, pixels, pixelAt, near, findColour, toothpicks,
  matchShown, difference,
} from "./lib.mjs";

const site = process.env.SITE || fail("SITE: the built site folder");
const reference = process.env.REFERENCE || fail("REFERENCE: the desktop's title picture");
const server = await startServer(site);
const browser = await launch();
const context = await browser.newContext({ viewport: { width: 640, height: 480 } });
// A player's browser is already running: a first page of nothing from the
// same server starts Chromium's processes before the clock starts.
const warmup = await context.newPage();
await warmup.goto(server.url + "warm-up");
await warmup.close();
const page = await context.newPage();
const seen = watchConsole(page);
let releaseSounds;
const soundsHeld = new Promise((resolve) => { releaseSounds = resolve; });
let soundsAsked = 0;
await page.route(/\/data\/sfx\//, async (route) => {
  soundsAsked++;
  await soundsHeld;
  await route.continue();
});

// Everything the page fetches, until the title is up.
let bytes = 0, counting = true;
page.on("response", async (r) => {
  const length = Number(r.headers()["content-length"] || 0);
  if (counting) bytes += length;
});

await page.goto(server.url, { waitUntil: "commit" });
// The first paint is the loading screen when it comes before the game starts.
const painted = () => page.evaluate(() =>
  performance.getEntriesByType("paint").some((p) => p.name === "first-contentful-paint"));
if (!(await waitFor(10, painted))) fail("nothing painted");
const [paintMs, startMs] = await page.evaluate(() => [
  performance.getEntriesByType("paint").find((p) => p.name === "first-contentful-paint").startTime,
  window.Module && window.Module.startedAt]);
if (startMs !== undefined && startMs <= paintMs) fail("the game started before the loading screen showed");
// The title is up once its logo stands where the desktop's does. The page
// checks that itself after each of the game's frames (screenshots would slow
// the page they time), reading the canvas before the browser presents it.
const desktop = await pixels(page, fs.readFileSync(reference));
const logo = { x: 130, y: 55, width: 260, height: 90 };
const logoRows = [];
for (let y = 0; y < logo.height; y++) {
  const at = 4 * ((logo.y + y) * desktop.width + logo.x);
  logoRows.push(desktop.data.subarray(at, at + 4 * logo.width).toString("base64"));
}
await waitFor(10, () => page.evaluate(() => typeof window.Module === "object"));
await page.evaluate(([logo, rows]) => {
  const want = rows.map((r) => Uint8Array.from(atob(r), (c) => c.charCodeAt(0)));
  const got = new Uint8Array(4 * logo.width * logo.height);
  Module.postMainLoop = () => {
    const gl = Module.ctx;
    if (!gl || Module.titleAt) return;
    // GL rows run bottom-up.
    gl.readPixels(logo.x, gl.drawingBufferHeight - logo.y - logo.height, logo.width, logo.height,
      gl.RGBA, gl.UNSIGNED_BYTE, got);
    let off = 0;
    for (let y = 0; y < logo.height; y++) {
      const row = want[y], at = 4 * logo.width * (logo.height - 1 - y);
      for (let x = 0; x < 4 * logo.width; x += 4) {
        const d = Math.max(Math.abs(row[x] - got[at + x]), Math.abs(row[x + 1] - got[at + x + 1]),
          Math.abs(row[x + 2] - got[at + x + 2]));
        if (d > 24) off++;
      }
    }
    if (off < 0.02 * logo.width * logo.height) Module.titleAt = performance.now();
  };
}, [logo, logoRows]);
const titled = await waitFor(15, () => page.evaluate(() => Module.titleAt !== undefined));
counting = false;
if (!titled) { console.log(await page.evaluate(() => [typeof Module.postMainLoop, Module.startedAt, Module.ctx ? "ctx" : "noctx", Module.pictureLevelLimit])); await page.screenshot({ path: "/tmp/fl-shot2.png" }); fail("no title"); }
const titleMs = await page.evaluate(() => Math.round(Module.titleAt));
// The whole picture: within a small tolerance of the desktop's.
let offShare = 1;
if (!(await waitFor(5, async () => (offShare = difference(await pixels(page), desktop)) < 0.02)))
  fail(`the title differs from the desktop's picture (${(100 * offShare).toFixed(1)} % off)`);
console.log(`loading screen painted after ${paintMs.toFixed(0)} ms`);
console.log(`game started after ${Math.round(await page.evaluate(() => Module.startedAt))} ms`);
console.log(`title shown after ${titleMs} ms, ${(100 * offShare).toFixed(2)} % of pixels off the desktop's`);
console.log(`fetched before the title: ${bytes} bytes`);
// The times above are reported, not judged: they follow the machine's load.
if (bytes > 4 * 1024 * 1024) fail("more than 4 MB fetched before the title");
if (process.env.SHOT) await page.screenshot({ path: process.env.SHOT });

// The game ran without its sounds: none had come in, the page had asked.
if (await page.evaluate(() => Boolean(Module.lateFileArrivals || Module.soundsIn)))
  fail("a sound file came in while they were held back");
if (!(await waitFor(5, () => soundsAsked > 0))) fail("the page never asked for the sounds");
// Heard: an OpenAL source playing a buffer that holds samples, after any frame.
await page.evaluate(() => {
  Module.heard = 0;
  Module.postMainLoop = () => {
    const sources = AL.currentCtx ? Object.values(AL.currentCtx.sources) : [];
    if (sources.some((s) => s.state === 0x1012 && s.bufQueue.some((b) => b && b.length > 0)))
      Module.heard++;
  };
});

// Until a gesture the page says that sound waits for one.
const noteShown = () => page.evaluate(() => !document.getElementById("sound").classList.contains("hidden"));
const audioState = () => page.evaluate(() => Module.audioContext() && Module.audioContext().state);
// Headless Chromium lets every page play sound; suspend it as a player's
// browser holds it until the first gesture.
await page.evaluate(() => Module.audioContext().suspend());
if (!(await waitFor(2, noteShown))) fail("no note about sound before a gesture");

// Holds a button across at least one update, as a player's click does.
async function click(x, y) {
  await page.mouse.move(x, y);
  await page.mouse.down();
  await page.waitForTimeout(100);
  await page.mouse.up();
}
async function tapKey(key) {
  await page.keyboard.down(key);
  await page.waitForTimeout(100);
  await page.keyboard.up(key);
}

await click(256, 336);  // the middle difficulty
if (!(await waitFor(5, async () => matchShown(await pixels(page))))) fail("no match after a click on a difficulty");
console.log("match started by a click");
if (!(await waitFor(2, async () => (await audioState()) === "running" && !(await noteShown()))))
  fail("sound did not start with the click, or the note stayed");
console.log("sound started with the first click");
if (await page.evaluate(() => Module.heard)) fail("a sound was heard before its file came in");
releaseSounds();
if (!(await waitFor(15, () => page.evaluate(() => Module.soundsIn !== undefined))))
  fail("the held sounds never came in");
console.log(`the match ran silently without its sounds (${soundsAsked} files held back), then they came in`);

// Pick up a lying toothpick, pull it into the ring, let go. A toothpick a
// spider or the clock stands on may not take; the next one is tried then.
let tx = 0, ty = 0, held = false;
for (let attempt = 0; attempt < 4 && !held; attempt++) {
  let candidates = [];
  await waitFor(10, async () => (candidates = toothpicks(await pixels(page))).length > 0);
  if (!candidates.length) fail("no lying toothpick on the field");
  [tx, ty] = candidates[attempt % candidates.length];
  await page.mouse.move(tx, ty);
  await page.mouse.down();
  const markerX = tx < 320 ? tx + 11 : tx - 11;
  held = await waitFor(2, async () => near(pixelAt(await pixels(page), markerX, ty), [100, 255, 100], 4));
  if (!held) {
    await page.mouse.up();
    await page.waitForTimeout(100);
  }
}
if (!held) fail("no toothpick could be picked up");
await page.mouse.move(330, 240, { steps: 5 });
if (!(await waitFor(3, async () => near(pixelAt(await pixels(page), 299, 261), [100, 224, 120], 4))))
  fail("the ring did not show the aim");
await page.mouse.up();
let flying = 0;
for (let i = 0; i < 12; i++) {
  const rows = new Map();
  for (const [, y] of findColour(await pixels(page), [255, 255, 255], 2, 0, 236, 280, 9))
    rows.set(y, (rows.get(y) || 0) + 1);
  if (Math.max(0, ...rows.values()) >= 10) flying++;
}
if (!flying) fail("no flying toothpick seen");
const after = await pixels(page);
if (near(pixelAt(after, 299, 261), [100, 224, 124], 4)) fail("the hand still holds a toothpick");
if (findColour(after, [100, 232, 183], 6, 310, 220, 40, 40).length) fail("the toothpick was dropped, not thrown");
console.log(`toothpick at ${tx},${ty} thrown (flying in ${flying} of 12 pictures)`);
if (!(await waitFor(2, () => page.evaluate(() => Module.heard > 0))))
  fail("picking up and throwing made no sound once the sounds were in");
console.log("picking up and throwing were heard");

await page.mouse.move(320, 470);
await tapKey("Escape");
const veiled = (s) => near(pixelAt(s, 630, 470), [36, 36, 71], 3) && near(pixelAt(s, 10, 470), [36, 36, 71], 3);
if (!(await waitFor(3, async () => veiled(await pixels(page))))) fail("Escape did not open the pause panel");
console.log("Escape paused the match");
await tapKey("Escape");
if (!(await waitFor(3, async () => matchShown(await pixels(page))))) fail("the match did not resume");

// The processor time of an update plus its render, over the match so far
// (or a whole match with MEASURE_MATCH=1).
if (process.env.MEASURE_MATCH === "1")
  await waitFor(70, async () => !matchShown(await pixels(page)));
const costs = await page.evaluate(() => Module.frameCosts.slice().sort((a, b) => a - b));
const renders = await page.evaluate(() => Module.renderCosts.slice().sort((a, b) => a - b));
const median = costs[Math.floor(costs.length / 2)];
const p99 = costs[Math.floor(costs.length * 0.99)];
const mean = costs.reduce((a, b) => a + b, 0) / costs.length;
console.log(`update + render: median ${(1000 * median).toFixed(0)} µs, mean ${(1000 * mean).toFixed(0)} µs, ` +
  `99th percentile ${(1000 * p99).toFixed(0)} µs over ${costs.length} frames ` +
  `(the render alone: median ${(1000 * renders[Math.floor(renders.length / 2)]).toFixed(0)} µs)`);

if (seen.errors.length) fail("console errors:\n" + seen.errors.join("\n"));
await browser.close();
server.stop();
console.log("web play test passed");
