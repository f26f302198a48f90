// Saves in the browser: the page going to the background suspends the game
// and saves it into IndexedDB, a reload shows the saved highscores, and a
// damaged or hostile record in the store is handled as a damaged file is on
// the desktop. One finger on a touch screen starts a match too.
//   SITE=build-web/site DESKTOP_REPLAY=build/tools/replay/replay DATA_DIR=build/data \
//     node saves_test.mjs
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import {
  fail, startServer, launch, watchConsole, gameStarted, waitFor, pixels, matchShown,
  stateString, stateRecord, setHidden, pixelAt, near, toothpicks,
} from "./lib.mjs";

const site = process.env.SITE || fail("SITE: the built site folder");
const replay = process.env.DESKTOP_REPLAY || fail("DESKTOP_REPLAY: the desktop's replay tool");
const data = process.env.DATA_DIR || fail("DATA_DIR: the desktop's data folder");
const server = await startServer(site);
const browser = await launch();
const context = await browser.newContext({ viewport: { width: 640, height: 480 }, hasTouch: true });
const page = await context.newPage();
const seen = watchConsole(page);

const zeros = Array(20).fill(0);
const settings = [0, 0, 3, 0, 0, 1, 0, 0, 0, 0, 80, 96, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7, 0];
const badges = [5, 0, 0, 0, 0, 0, 0, -2147483648];
const table0 = [500, 30, 400, 20, 300, 10, ...Array(14).fill(0)];
const table1 = [900, 900, 800, 0, 70, 800, ...Array(13).fill(0), 70];
const table2 = [1000, 60, 0, 50, ...Array(16).fill(0)];
const good = stateString(settings, badges, [table0, table1, table2]);

// The game's load messages since the page was (re)loaded.
let mark = 0;
async function load() {
  mark = seen.lines.length;
  await page.goto(server.url);
  await gameStarted(page);
  // The sounds follow the start, and the update that takes them in is a long
  // one: a click made across it may be a press and a release in one update.
  if (!(await waitFor(30, () => page.evaluate(() => Module.soundsIn !== undefined))))
    fail("the sounds never came");
  await page.waitForTimeout(300);
}
const messages = () => seen.lines.slice(mark).filter((l) => /Loaded|Invalid/.test(l));
// The "Top 10" column, where the selected difficulty's best scores stand.
async function topScores() {
  const shot = await pixels(page);
  let sum = 0;
  for (let y = 70; y < 225; y++)
    for (let x = 600; x < 640; x++) sum += shot.data[4 * (y * shot.width + x)];
  return sum;
}

// First start: no state anywhere, nothing loaded.
await load();
if (messages().length) fail("a first start loaded: " + messages().join(", "));
if (await stateRecord(page) !== null) fail("a state saved before anything happened");
// The empty table's picture, taken from the title itself: not the loading
// screen (its background and band at the left edge), and held still after
// the title's intro.
const loadingShown = (shot) => near(pixelAt(shot, 4, 100), [40, 40, 80], 4) ||
  near(pixelAt(shot, 4, 240), [187, 124, 66], 4);
let emptyTable = 0;
if (!(await waitFor(10, async () => {
  const shot = await pixels(page);
  if (loadingShown(shot)) return false;
  const before = await topScores();
  await page.waitForTimeout(300);
  emptyTable = await topScores();
  return emptyTable > 0 && emptyTable === before;
}))) fail("no settled title after a first start");

// The page in the background: suspended once, saved, synced to IndexedDB.
await setHidden(page, true);
if (!(await waitFor(5, async () => (await stateRecord(page)) !== null))) fail("no save when the page was hidden");
const saved = await stateRecord(page);
if ((saved.match(/\|/g) || []).length !== 98) fail("saved state has the wrong shape: " + saved);
const frames = await page.evaluate(() => Module.frameCosts.length);
await page.waitForTimeout(500);
if ((await page.evaluate(() => Module.frameCosts.length)) !== frames) fail("updates ran while hidden");
await setHidden(page, false);
if (!(await waitFor(3, async () => (await page.evaluate(() => Module.frameCosts.length)) > frames)))
  fail("the game did not resume when the page came back");
console.log("hidden page suspended and saved into IndexedDB");

// The game's own saves survive a reload, with no record made by hand: the
// sound setting changed on the title, then a score recorded at time-up.
const toggle = async () => {
  const shot = await pixels(page);
  const out = [];
  for (let y = 224; y < 256; y++) for (let x = 16; x < 48; x++) out.push(...pixelAt(shot, x, y));
  return out.join(",");
};
const soundBefore = await toggle();
await page.mouse.click(32, 240, { delay: 120 });
if (!(await waitFor(3, async () => (await toggle()) !== soundBefore))) fail("the sound button did not answer");
const soundAfter = await toggle();
await setHidden(page, true);
if (!(await waitFor(5, async () => ((await stateRecord(page)) || "") !== saved)))
  fail("changing the sound setting saved nothing when the page was hidden");
await load();
if (!messages().includes("Settings Loaded")) fail("the reload loaded no settings: " + messages().join(", "));
if (!(await waitFor(3, async () => (await toggle()) === soundAfter)))
  fail("after a reload the sound button is back to its old setting");
console.log("a sound setting changed on the title survives a reload");

// A whole match on the middle difficulty, each toothpick thrown at a spider:
// the thread that ties a spider to the centre shows where it is.
const spiderAt = (shot) => {
  for (let a = 0; a < 360; a += 2) {
    const r = (a * Math.PI) / 180;
    if (near(pixelAt(shot, Math.round(320 + 70 * Math.sin(r)), Math.round(240 - 70 * Math.cos(r))),
      [139, 139, 214], 8)) return r;
  }
  return null;
};
const beforeMatch = await stateRecord(page);
await page.mouse.click(256, 336, { delay: 120 });
if (!(await waitFor(5, async () => matchShown(await pixels(page))))) fail("no match started");
const matchEnd = Date.now() + 75000;
let throws = 0;
while (Date.now() < matchEnd && (await stateRecord(page)) === beforeMatch) {
  const shot = await pixels(page);
  const sticks = toothpicks(shot);
  const spider = spiderAt(shot);
  if (!sticks.length || spider === null) { await page.waitForTimeout(100); continue; }
  const [tx, ty] = sticks[0];
  await page.mouse.move(tx, ty);
  await page.mouse.down();
  await page.waitForTimeout(60);
  // Pulled back on the far side of the centre, it flies towards the spider.
  await page.mouse.move(320 - 40 * Math.sin(spider), 240 + 40 * Math.cos(spider), { steps: 3 });
  await page.waitForTimeout(60);
  await page.mouse.up();
  throws++;
  await page.waitForTimeout(150);
}
const afterMatch = await stateRecord(page);
if (afterMatch === beforeMatch) fail(`no score recorded after the match (${throws} throws)`);
await load();
if (!messages().includes("Highscore 1 Loaded")) fail("the reload loaded no table: " + messages().join(", "));
if (!(await waitFor(3, async () => (await topScores()) !== emptyTable)))
  fail(`the recorded score (${afterMatch.split("|").slice(56, 58)}) is not on the title after a reload`);
console.log(`a score recorded at time-up survives a reload (${throws} throws)`);

// A saved state with highscores: a reload loads and shows them.
await stateRecord(page, { text: good });
await load();
const all = ["Settings Loaded", "Badges Loaded", "Highscore 0 Loaded", "Highscore 1 Loaded",
  "Highscore 2 Loaded"];
if (messages().join("|") !== all.join("|")) fail("the reload printed: " + messages().join(", "));
if (!(await waitFor(3, async () => (await topScores()) !== emptyTable)))
  fail("the saved highscores are not on the title");
console.log("a reload shows the saved highscores");

// One table's checksum damaged: that table alone is cleared, and the next
// save writes the others back, as on the desktop.
await stateRecord(page, { text: good.replace("|1000|60|", "|1001|60|") });
await load();
if (messages().join("|") !== [...all.slice(0, 4), "Highscore 2 Checksum Invalid"].join("|"))
  fail("a damaged table printed: " + messages().join(", "));
await setHidden(page, true);
const repaired = stateString(settings, badges, [table0, table1, zeros]);
if (!(await waitFor(5, async () => (await stateRecord(page)) === repaired)))
  fail("saved " + await stateRecord(page) + ", wanted " + repaired);
await setHidden(page, false);
console.log("a damaged table is cleared and saved back");

// Hostile records: far too long, not text, not a file at all. A file's
// bytes must load as the desktop loads the same file (its replay tool prints
// the same messages); a record that is no file at all, as no file.
function desktopMessages(text) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), "bw-web-state-"));
  const file = path.join(folder, "state");
  fs.writeFileSync(file, text);
  const out = execFileSync(replay, ["--data", data, "--state", file, "--updates", "1"],
    { env: { ...process.env, ALSOFT_DRIVERS: "null" }, encoding: "utf8" });
  fs.rmSync(folder, { recursive: true });
  return out.split("\n").filter((l) => /Loaded|Invalid/.test(l));
}
const hostile = [
  { text: "9".repeat(200000) },
  { text: "\u0000\uffff|".repeat(1000) },
  { text: good.slice(0, 150) + "-99999999999999999999|" + good.slice(150) },
  { raw: { mode: "rwx", contents: 42 } },
  { raw: { mode: 16877 } },
  { raw: { mode: 33188, contents: "not bytes" } },
];
for (const record of hostile) {
  if (record.text !== undefined) await stateRecord(page, record);
  else await stateRecord(page, { raw: { ...record.raw, timestamp: new Date() } });
  await load();
  const want = record.text !== undefined ? desktopMessages(record.text) : [];
  if (messages().join("|") !== want.join("|"))
    fail(`${JSON.stringify(record).slice(0, 40)} printed ${messages().join(", ")}; ` +
      `the desktop printed ${want.join(", ")}`);
  // Still a game: its next save replaces the record with a whole state.
  await setHidden(page, true);
  if (!(await waitFor(5, async () => ((await stateRecord(page)) || "").split("|").length === 99)))
    fail("no whole state saved over " + JSON.stringify(record).slice(0, 40));
  await setHidden(page, false);
}
console.log("hostile records load as the desktop loads such files");

// A browser with no IndexedDB at all (storage blocked): the game starts as
// with no state file, and a save changes nothing but does no harm.
{
  const blocked = await browser.newContext({ viewport: { width: 640, height: 480 } });
  await blocked.addInitScript(() => Object.defineProperty(window, "indexedDB", { value: undefined }));
  const other = await blocked.newPage();
  const watched = watchConsole(other);
  await other.goto(server.url);
  await gameStarted(other);
  if (watched.lines.some((l) => / Loaded$| Invalid$/.test(l))) fail("state loaded from no store");
  await setHidden(other, true);
  await other.waitForTimeout(300);
  await setHidden(other, false);
  const frames = await other.evaluate(() => Module.frameCosts.length);
  if (!(await waitFor(3, async () => (await other.evaluate(() => Module.frameCosts.length)) > frames)))
    fail("without a store the game stopped after its save");
  if (watched.errors.length) fail("without a store: " + watched.errors.join("\n"));
  await blocked.close();
  console.log("without IndexedDB the game plays unsaved");
}

// One finger is the pointer: a touch held on a difficulty starts a match (a
// player's touch lasts longer than an update; playwright's tap does not).
const cdp = await context.newCDPSession(page);
const touch = (type, points) => cdp.send("Input.dispatchTouchEvent", { type, touchPoints: points });
// The title may still be sliding in: press again until it answers, as the
// desktop tests do.
const started = await waitFor(10, async () => {
  await touch("touchStart", [{ x: 256, y: 336, id: 1 }]);
  await page.waitForTimeout(100);
  await touch("touchEnd", []);
  return waitFor(1, async () => matchShown(await pixels(page)));
});
if (!started) fail("a touch on a difficulty did not start a match");
console.log("a touch started a match");

// A resize to a resolution level the page has not fetched yet fetches that
// level's pictures alone (the page started with levels 1 and 2, and shared
// files come once), and only then does the game see its new size and reload.
const fetched = [];
page.on("request", (r) => fetched.push(new URL(r.url()).pathname));
await page.setViewportSize({ width: 1240, height: 700 });
if (!(await waitFor(20, () => page.evaluate(() => Module.gameSize[0] === 1240 && Module.gameSize[1] === 700))))
  fail("the game did not take the new size");
if (!fetched.includes("/data/manifest-4.json") || !fetched.includes("/data/menu-hd2.png"))
  fail("the larger level was not fetched: " + fetched.join(" "));
const again = fetched.filter((f) => /\.wav$/.test(f) || (/\.png$/.test(f) && !/-hd2\.png$/.test(f)));
if (again.length) fail("a resize fetched files the page already had: " + again.join(" "));
if (!(await waitFor(10, async () => matchShown(await pixels(page)))))
  fail("the match is not drawn over the resized page");
console.log("a resize fetched the level it needs and the match goes on at 1240 x 700");

if (seen.errors.length) fail("console errors:\n" + seen.errors.join("\n"));
await browser.close();
server.stop();
console.log("web saves test passed");
