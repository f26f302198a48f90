// A pad in the browser, as the page's Gamepad API shows one: a standard-mapped
// pad steps the difficulty with its d-pad and stick, starts a match with A,
// pauses it with start, and pulled out mid-press leaves no control held.
//   SITE=build-web/site node pads_test.mjs
import {
  fail, startServer, launch, watchConsole, gameStarted, waitFor, pixels, pixelAt, near,
  matchShown, stateString, stateRecord,
} from "./lib.mjs";

const site = process.env.SITE || fail("SITE: the built site folder");
const server = await startServer(site);
const browser = await launch();
const context = await browser.newContext({ viewport: { width: 640, height: 480 } });
// One standard pad on index 0 that the test presses through window.testPad;
// window.testPadPlugged false pulls it out (its slot reads null, as in Chromium).
await context.addInitScript(() => {
  const buttons = Array.from({ length: 17 }, () => ({ pressed: false, touched: false, value: 0 }));
  window.testPad = { id: "Test pad (STANDARD GAMEPAD)", index: 0, connected: true,
    mapping: "standard", axes: [0, 0, 0, 0], buttons, timestamp: 0 };
  window.testPadPlugged = true;
  Object.defineProperty(navigator, "getGamepads", { configurable: true,
    value: () => [window.testPadPlugged ? window.testPad : null, null, null, null] });
});
const page = await context.newPage();
const seen = watchConsole(page);

// Standard buttons: 0 A, 9 start, 12..15 d-pad up, down, left, right, 16 home.
const A = 0, START = 9, LEFT = 14, RIGHT = 15, HOME = 16;
const setButton = (i, down) => page.evaluate(([i, down]) => {
  window.testPad.buttons[i] = { pressed: down, touched: down, value: down ? 1 : 0 };
}, [i, down]);
const setStickX = (x) => page.evaluate((x) => { window.testPad.axes[0] = x; }, x);
const plug = (plugged) => page.evaluate((p) => { window.testPadPlugged = p; }, plugged);
// Held across several updates, as a player's press is.
async function tap(i) {
  await setButton(i, true);
  await page.waitForTimeout(150);
  await setButton(i, false);
  await page.waitForTimeout(150);
}
async function tapKey(key) {
  await page.keyboard.down(key);
  await page.waitForTimeout(100);
  await page.keyboard.up(key);
  await page.waitForTimeout(150);
}

// Each difficulty's table has its own best scores, so the "Top 10" column
// tells which difficulty is chosen.
const zeros = Array(20).fill(0);
const table = (best) => [best, 0, best - 1, 0, ...Array(16).fill(0)];
const settings = Array(25).fill(0);
settings[5] = 1;
await page.goto(server.url);
await gameStarted(page);
await stateRecord(page, { text: stateString(settings, zeros.slice(0, 8),
  [table(111111), table(555555), table(999999)]) });
await page.goto(server.url);
await gameStarted(page);
async function topScores() {
  const shot = await pixels(page);
  let sum = 0;
  for (let y = 70; y < 225; y++)
    for (let x = 600; x < 640; x++) sum += shot.data[4 * (y * shot.width + x)];
  return sum;
}
const settled = async () => {
  const a = await topScores();
  await page.waitForTimeout(200);
  return a === await topScores() && a > 0 ? a : 0;
};
let middle = 0;
if (!(await waitFor(10, async () => (middle = await settled()) > 0))) fail("no score lists on the title");
const changedFrom = (value) => waitFor(3, async () => {
  const now = await settled();
  return now > 0 && now !== value;
});
const backTo = (value) => waitFor(3, async () => (await settled()) === value);

// The home button is no direction; the d-pad's left and right are.
await tap(HOME);
if ((await settled()) !== middle) fail("the home button changed the difficulty");
await tap(LEFT);
if (!(await changedFrom(middle))) fail("d-pad left did not step the difficulty");
const easy = await settled();
await tap(RIGHT);
if (!(await backTo(middle))) fail("d-pad right did not step the difficulty back");
console.log("the d-pad steps the difficulty");

// The stick pushed left, the pad pulled out while it is: nothing stays held,
// so the keyboard's next press acts at once.
await setStickX(-1);
if (!(await backTo(easy))) fail("the stick did not step the difficulty");
await plug(false);
await page.waitForTimeout(200);
await tapKey("ArrowRight");
if (!(await backTo(middle))) fail("a pad pulled out mid-push still holds its direction");
await setStickX(0);
await plug(true);
console.log("a pad pulled out with its stick pushed holds nothing");

await tap(A);
if (!(await waitFor(5, async () => matchShown(await pixels(page))))) fail("A did not start a match");
console.log("A starts a match");

// Start pauses; pulled out while start is held, back is free for the keyboard.
const veiled = (s) => near(pixelAt(s, 630, 470), [36, 36, 71], 3) && near(pixelAt(s, 10, 470), [36, 36, 71], 3);
await setButton(START, true);
if (!(await waitFor(3, async () => veiled(await pixels(page))))) fail("start did not open the pause panel");
await plug(false);
await page.waitForTimeout(200);
await tapKey("Escape");
if (!(await waitFor(3, async () => matchShown(await pixels(page)))))
  fail("a pad pulled out with start held kept the panel from closing");
console.log("start pauses; a pad pulled out with start held holds nothing");

if (seen.errors.length) fail("console errors:\n" + seen.errors.join("\n"));
await browser.close();
server.stop();
console.log("web pads test passed");
