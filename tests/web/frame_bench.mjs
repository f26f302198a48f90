// The whole-frame benchmark page (bench/web) in Chromium: 10 000 sprites a
// frame through our renderer on WebGL and through the WebGL floor (the same
// calls with the vertices ready), round after round on the page's animation
// frames. Prints the figures docs/performance.md reports; it fails when the
// page cannot run or the two canvases differ, never on a time.
//   BENCH_SITE=build-web/frame-bench node frame_bench.mjs
import { fail, startServer, launch, watchConsole, waitFor } from "./lib.mjs";

const site = process.env.BENCH_SITE || fail("BENCH_SITE: the built benchmark page's folder");
const server = await startServer(site);
const browser = await launch();
const page = await (await browser.newContext({ viewport: { width: 640, height: 480 } })).newPage();
const seen = watchConsole(page);
await page.goto(server.url);
const done = () => page.evaluate(() => Boolean(window.Module && Module.benchResults));
if (!(await waitFor(120, done))) fail("the page reported no figures");
const r = await page.evaluate(() => Module.benchResults);
if (r.error) fail(r.error);
if (!r.samePicture) fail("our renderer and the floor drew different pictures");
if (seen.errors.length) fail("console errors:\n" + seen.errors.join("\n"));

// Milliseconds per round of frames → ns per sprite; the middle of the rounds.
const perSprite = (ms) => (ms / r.framesPerRound) * 1e6 / r.sprites;
const ours = r.oursRounds.map(perSprite), floor = r.floorRounds.map(perSprite);
const median = (list) => list.slice().sort((a, b) => a - b)[Math.floor(list.length / 2)];
const rounds = (list) => list.map((v) => v.toFixed(1)).join(" / ");
console.log(`webgl ours ns per sprite: median ${median(ours).toFixed(1)}, rounds ${rounds(ours)}`);
console.log(`webgl floor ns per sprite: median ${median(floor).toFixed(1)}, rounds ${rounds(floor)}`);
console.log(`webgl ours / floor: ${(median(ours) / median(floor)).toFixed(2)}`);
console.log(`browser: Chromium ${browser.version()}`);
await browser.close();
server.stop();
console.log("web frame bench ran");
