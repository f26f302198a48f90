// The game's rhythm in Chromium: of the page's animation frames, how many
// show no new picture (the game ran no update in them, so it drew nothing).
// Once the title is up, the page's clock follows the frames: animation frame
// k reads as exactly k refreshes of 60 Hz after the first, plus a random
// delay of 0 to 1 ms as a busy browser's frames have (headless Chromium's
// come on time, and on a loaded machine its real frames come so irregularly
// that they would measure the machine instead). The page is also hidden and
// shown again at chosen points inside a frame, which restarts the game's
// update clock there. Prints the figures docs/performance.md reports; it
// fails when the page cannot run or no frames were seen, never on a figure.
//   SITE=build-web/site node pacing_bench.mjs
import { fail, startServer, launch, watchConsole, gameStarted, waitFor } from "../../tests/web/lib.mjs";

const site = process.env.SITE || fail("SITE: the built site's folder");
const FRAMES = Number(process.env.PACING_FRAMES || 960);
const server = await startServer(site);
const browser = await launch();
const page = await (await browser.newContext({ viewport: { width: 640, height: 480 } })).newPage();
const seen = watchConsole(page);

// Wraps the page's clock and requestAnimationFrame before the game's script runs.
await page.addInitScript(() => {
  const pacing = (window.pacing = { plan: null, frame: 0, base: 0, clock: null });
  const realNow = performance.now.bind(performance);
  performance.now = () => (pacing.clock === null ? realNow() : pacing.clock);
  let drew = false;
  for (const proto of [window.WebGLRenderingContext, window.WebGL2RenderingContext]) {
    if (!proto) continue;
    for (const name of ["drawElements", "drawArrays"]) {
      const original = proto.prototype[name];
      proto.prototype[name] = function (...args) {
        drew = true;
        return original.apply(this, args);
      };
    }
  }
  const visibility = (hidden) => {
    Object.defineProperty(document, "hidden", { value: hidden, configurable: true });
    Object.defineProperty(document, "visibilityState",
      { value: hidden ? "hidden" : "visible", configurable: true });
    document.dispatchEvent(new Event("visibilitychange"));
  };
  const request = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = (callback) => request((time) => {
    const plan = pacing.plan;
    if (!plan || plan.done >= plan.frames) return callback(time);
    if (pacing.clock === null) pacing.base = realNow();
    const start = pacing.base + (pacing.frame++ * 1000) / 60;
    const jitter = Math.random() * plan.jitterMs;
    const restart = plan.restartAt !== null && plan.done % plan.restartEvery === 0;
    drew = false;
    if (restart && plan.restartAt <= jitter) {
      pacing.clock = start + plan.restartAt;
      visibility(true);
      visibility(false);
    }
    pacing.clock = start + jitter;
    callback(start);
    if (restart && plan.restartAt > jitter) {
      pacing.clock = start + plan.restartAt;
      visibility(true);
      visibility(false);
    }
    plan.done++;
    if (!drew) plan.blank++;
  });
});

await page.goto(server.url);
await gameStarted(page);
// The loading screen and the title's intro first: a few seconds of frames.
await new Promise((r) => setTimeout(r, 6000));

async function measure(jitterMs, restartAt, restartEvery) {
  await page.evaluate((p) => { window.pacing.plan = p; },
    { frames: FRAMES, jitterMs, restartAt, restartEvery, done: 0, blank: 0 });
  if (!(await waitFor(FRAMES / 10 + 60, () => page.evaluate(() => pacing.plan.done >= pacing.plan.frames))))
    fail("the page ran too few animation frames");
  return page.evaluate(() => pacing.plan);
}

const report = (name, p) => console.log(`${name}: ${p.blank} of ${p.done} frames without a new picture`);
report("no added delay", await measure(0, null, 1));
report("0-1 ms delay", await measure(1, null, 1));
// The page hidden and shown again once, then left to run.
for (const at of [0.2, 0.4, 0.6, 0.8])
  report(`0-1 ms delay, restarted ${at} ms into a frame`, await measure(1, at, FRAMES));
// Restarted every second at the same point, for more starts.
for (const at of [0.2, 0.4, 0.6, 0.8])
  report(`0-1 ms delay, restarted ${at} ms into a frame every 60 frames`, await measure(1, at, 60));

const errors = seen.errors.filter((e) => !/LEGACY_GL_EMULATION|GL emulation/i.test(e));
if (errors.length) fail("console errors:\n" + errors.join("\n"));
console.log(`browser: Chromium ${browser.version()}`);
await browser.close();
server.stop();
console.log("web pacing bench ran");
