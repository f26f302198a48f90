// The page on real devices: a WebGL context lost and given back (the title
// looks as before, a match starts and plays), sound from a touch player's
// first tap, storage that cannot keep saves, and a phone held upright.
//   SITE=build-web/site node devices_test.mjs
import {
  fail, startServer, launch, watchConsole, gameStarted, waitFor, pixels, pixelAt, near,
  matchShown, toothpicks, difference, setHidden,
} from "./lib.mjs";

const site = process.env.SITE || fail("SITE: the built site folder");
const server = await startServer(site);
const browser = await launch();

async function open(options, init) {
  const context = await browser.newContext(options);
  if (init) await context.addInitScript(init);
  const page = await context.newPage();
  const seen = watchConsole(page);
  await page.goto(server.url);
  await gameStarted(page);
  return { context, page, seen };
}
const renders = (page) => page.evaluate(() => Module.frameCosts.length);
// The title slides in at first; its picture is compared at rest.
// Pictures in CSS pixels: a phone's three device pixels each would only slow this.
const picture = async (page) => pixels(page, await page.screenshot({ scale: "css" }));
async function settle(page) {
  let last = await picture(page);
  const still = await waitFor(30, async () => {
    await page.waitForTimeout(200);
    const shot = await picture(page);
    const off = difference(shot, last);
    last = shot;
    return off < 0.01;
  });
  if (!still) fail("the title never came to rest");
}

// --- The WebGL context lost and restored ---------------------------------
{
  const { context, page, seen } = await open({ viewport: { width: 640, height: 480 } });
  await settle(page);
  const before = await pixels(page);
  const lose = () => page.evaluate(() => {
    window.loser = window.loser || Module.ctx.getExtension("WEBGL_lose_context");
    window.loser.loseContext();
  });
  const restore = () => page.evaluate(() => window.loser.restoreContext());
  const lost = () => page.evaluate(() => Module.ctx.isContextLost());

  await lose();
  if (!(await waitFor(3, lost))) fail("the context was not lost");
  const drawn = await renders(page);
  await page.waitForTimeout(400);
  if ((await renders(page)) !== drawn) fail("frames were drawn into a lost context");
  await restore();
  // Restoring is refused by the browser unless the loss's default was prevented.
  if (!(await waitFor(3, async () => !(await lost())))) fail("the browser did not give the context back");
  let off = 1;
  if (!(await waitFor(5, async () => (off = difference(await pixels(page), before)) < 0.02)))
    fail(`after the context came back the title is ${(100 * off).toFixed(1)} % off its picture before`);
  console.log(`title as before after a lost context (${(100 * off).toFixed(2)} % off)`);

  // Updates go on while nothing is drawn: a click on a difficulty then starts a match.
  await lose();
  await waitFor(3, lost);
  await page.mouse.move(256, 336);
  await page.mouse.down();
  await page.waitForTimeout(120);
  await page.mouse.up();
  await page.waitForTimeout(300);
  await restore();
  if (!(await waitFor(5, async () => matchShown(await pixels(page)))))
    fail("a click while the context was lost started no match");

  // And the match plays on after a loss of its own: a toothpick is picked up.
  await lose();
  await waitFor(3, lost);
  await page.waitForTimeout(300);
  await restore();
  let held = false;
  for (let attempt = 0; attempt < 4 && !held; attempt++) {
    let sticks = [];
    await waitFor(5, async () => (sticks = toothpicks(await pixels(page))).length > 0);
    if (!sticks.length) fail("no toothpick drawn after the context came back");
    const [tx, ty] = sticks[attempt % sticks.length];
    await page.mouse.move(tx, ty);
    await page.mouse.down();
    const markerX = tx < 320 ? tx + 11 : tx - 11;
    held = await waitFor(2, async () => near(pixelAt(await pixels(page), markerX, ty), [100, 255, 100], 4));
    await page.mouse.up();
    await page.waitForTimeout(100);
  }
  if (!held) fail("no toothpick could be picked up after the context came back");
  console.log("a match started during a lost context and plays after it");
  if (seen.errors.length) fail("console errors:\n" + seen.errors.join("\n"));
  await context.close();
}

// --- Sound from the first tap --------------------------------------------
// An automated browser counts every page as already activated, so the page
// gets the players' rule here: a context resumes only after an event that
// activates the page (a key, a mouse press, a pointer's or finger's release).
{
  const activationRule = () => {
    let activatedAt = -Infinity;
    const activates = (e) => {
      if (e.type === "keydown") return e.key !== "Escape";
      if (e.type === "pointerdown") return e.pointerType === "mouse";
      if (e.type === "pointerup") return e.pointerType !== "mouse";
      return e.type === "mousedown" || e.type === "touchend";
    };
    for (const type of ["keydown", "mousedown", "pointerdown", "pointerup", "touchend"])
      window.addEventListener(type, (e) => { if (activates(e)) activatedAt = performance.now(); },
        { capture: true });
    window.resumes = { granted: 0, refused: 0 };
    const Real = window.AudioContext;
    const resume = Real.prototype.resume;
    Real.prototype.resume = function () {
      if (performance.now() - activatedAt > 5000) {
        window.resumes.refused++;
        return Promise.resolve();
      }
      window.resumes.granted++;
      return resume.call(this);
    };
    window.AudioContext = class extends Real {
      constructor(...args) {
        super(...args);
        this.suspend();  // as a page's context starts before any gesture
      }
    };
  };
  const { context, page, seen } = await open(
    { viewport: { width: 640, height: 480 }, hasTouch: true, isMobile: true }, activationRule);
  const state = () => page.evaluate(() => Module.audioContext() && Module.audioContext().state);
  const noteShown = () => page.evaluate(() => !document.getElementById("sound").classList.contains("hidden"));
  if (!(await waitFor(3, async () => (await state()) === "suspended" && (await noteShown()))))
    fail("sound was not waiting for a gesture, or the page did not say so");
  await settle(page);
  const cdp = await context.newCDPSession(page);
  await cdp.send("Input.dispatchTouchEvent", { type: "touchStart", touchPoints: [{ x: 600, y: 460, id: 1 }] });
  await page.waitForTimeout(100);
  await cdp.send("Input.dispatchTouchEvent", { type: "touchEnd", touchPoints: [] });
  if (!(await waitFor(3, async () => (await state()) === "running")))
    fail(`one tap left sound ${await state()} (${JSON.stringify(await page.evaluate(() => window.resumes))})`);
  if (!(await waitFor(2, async () => !(await noteShown())))) fail("the sound note stayed once sound ran");
  const resumes = await page.evaluate(() => window.resumes);
  if (!resumes.refused) fail("the activation rule refused nothing: the tap's start asked too");
  console.log(`one tap started sound (${resumes.refused} early asks refused, ${resumes.granted} granted)`);
  if (seen.errors.length) fail("console errors:\n" + seen.errors.join("\n"));
  await context.close();
}

// --- Saves the browser cannot keep ---------------------------------------
const notice = (page) => page.evaluate(() => {
  const note = document.getElementById("saves");
  return note && !note.classList.contains("hidden") && note.getBoundingClientRect().height > 0;
});
async function saveOnce(page) {
  const synced = await page.evaluate(() => Module.savesSynced || 0);
  await setHidden(page, true);
  if (!(await waitFor(5, () => page.evaluate((n) => (Module.savesSynced || 0) > n, synced))))
    fail("hiding the page saved nothing");
  // Shown again, the game resumes at its next frame; hidden again before
  // that, it would have nothing new to save.
  const frames = await renders(page);
  await setHidden(page, false);
  if (!(await waitFor(5, async () => (await renders(page)) > frames)))
    fail("the game did not resume when the page came back");
}
const countPersist = () => {
  window.persistAsked = 0;
  if (navigator.storage) navigator.storage.persist = () => { window.persistAsked++; return Promise.resolve(true); };
};
{
  // Storage kept: persistence asked at the first save, once; no notice.
  const { context, page } = await open({ viewport: { width: 640, height: 480 } }, countPersist);
  await page.waitForTimeout(300);
  if (await page.evaluate(() => window.persistAsked)) fail("persistent storage asked before any save");
  await saveOnce(page);
  await saveOnce(page);
  if ((await page.evaluate(() => window.persistAsked)) !== 1)
    fail(`persistent storage asked ${await page.evaluate(() => window.persistAsked)} times over two saves`);
  if (await notice(page)) fail("a notice about saves where saves are kept");
  console.log("persistent storage asked once, at the first save");
  await context.close();
}
const blockers = {
  "no IndexedDB": () => Object.defineProperty(window, "indexedDB", { value: undefined }),
  // A private window's store refuses to open.
  "IndexedDB refusing to open": () => {
    IDBFactory.prototype.open = function () {
      const request = { error: new DOMException("storage is blocked", "InvalidStateError") };
      setTimeout(() => request.onerror && request.onerror.call(request, { preventDefault() {} }));
      return request;
    };
  },
};
for (const [name, blocker] of Object.entries(blockers)) {
  const { context, page, seen } = await open({ viewport: { width: 640, height: 480 } }, blocker);
  if (!(await waitFor(3, () => notice(page)))) fail(`${name}: the page did not say saves cannot be kept`);
  const text = await page.evaluate(() => document.getElementById("saves").textContent);
  if (!/saved?/i.test(text)) fail(`${name}: the notice says "${text}"`);
  // Said once: dismissed, it does not come back at the next failing save.
  await page.click("#saves");
  if (await notice(page)) fail(`${name}: the notice did not go when tapped`);
  await setHidden(page, true);
  await page.waitForTimeout(300);
  await setHidden(page, false);
  await page.waitForTimeout(300);
  if (await notice(page)) fail(`${name}: the notice came back at the next save`);
  if (seen.errors.length) fail(`${name}: console errors:\n` + seen.errors.join("\n"));
  console.log(`${name}: the page said once that saves cannot be kept`);
  await context.close();
}

// --- A phone held upright ------------------------------------------------
// Taller than 3:4 the game keeps 3:4, centred, the page's background around
// it, and looks as on a 3:4 screen; 3:4 itself and landscape fill the page.
async function phone(width, height, deviceScaleFactor = 3) {
  const context = await browser.newContext({ viewport: { width, height }, deviceScaleFactor,
    isMobile: true, hasTouch: true });
  const page = await context.newPage();
  const fetched = [];
  page.on("request", (r) => fetched.push(new URL(r.url()).pathname));
  await page.goto(server.url);
  await gameStarted(page);
  await settle(page);
  const rect = await page.evaluate(() => {
    const r = document.getElementById("canvas").getBoundingClientRect();
    return [r.x, r.y, r.width, r.height].map(Math.round);
  });
  const size = await page.evaluate(() => Module.gameSize.slice());
  const shot = await picture(page);
  await context.close();
  return { rect, size, shot, fetched };
}
const crop = (shot, x0, y0, w, h) => {
  const data = Buffer.alloc(4 * w * h);
  for (let y = 0; y < h; y++)
    shot.data.copy(data, 4 * y * w, 4 * ((y0 + y) * shot.width + x0), 4 * ((y0 + y) * shot.width + x0 + w));
  return { width: w, height: h, data };
};
{
  const threeFour = await phone(390, 520);
  if (threeFour.rect.join() !== "0,0,390,520") fail("at 3:4 the game does not fill the page: " + threeFour.rect);
  const landscape = await phone(844, 390);
  if (landscape.rect.join() !== "0,0,844,390") fail("landscape does not fill the page: " + landscape.rect);
  if (landscape.size.join() !== "844,390,2532,1170") fail("landscape game size " + landscape.size);

  const upright = await phone(390, 844);
  if (upright.rect.join() !== "0,162,390,520") fail("upright, the game stands at " + upright.rect);
  if (upright.size.join() !== "390,520,1170,1560") fail("upright game size " + upright.size);
  // Above and below it (clear of the sound note at the very bottom).
  for (const [y0, h] of [[0, 160], [684, 120]]) {
    const band = crop(upright.shot, 0, y0, 390, h);
    for (let i = 0; i < band.data.length; i += 4)
      if (band.data[i] + band.data[i + 1] + band.data[i + 2] > 0)
        fail(`the page's background around the game is not plain at row ${y0 + Math.floor(i / 1560)}`);
  }
  // The same screens as at 3:4: the logo whole, nothing lying over another.
  const off = difference(crop(upright.shot, 0, 162, 390, 520), threeFour.shot);
  if (off >= 0.02) fail(`upright, the game is ${(100 * off).toFixed(1)} % off its 3:4 picture`);
  console.log(`upright phone: the game at 3:4 in the middle, ${(100 * off).toFixed(2)} % off the 3:4 picture`);
  // The pictures fetched are those of the game's size, not the taller page's:
  // 780 x 1040 device pixels want the middle level, 780 x 1688 the largest.
  const smaller = await phone(390, 844, 2);
  if (smaller.size.join() !== "390,520,780,1040") fail("upright at two pixels each: " + smaller.size);
  if (!smaller.fetched.includes("/data/manifest-2.json") || smaller.fetched.some((f) => /-hd2\.png$/.test(f)))
    fail("upright at two pixels each fetched " + smaller.fetched.filter((f) => /manifest|png$/.test(f)).join(" "));
}

await browser.close();
server.stop();
console.log("web devices test passed");
