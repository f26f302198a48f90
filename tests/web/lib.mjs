// Shared pieces of the browser tests: a local server for the built site,
// Debian's Chromium through playwright-core, pixels and the saved state.
import { spawn } from "node:child_process";
import { chromium } from "playwright-core";

export function fail(message) {
  console.error("FAIL: " + message);
  process.exit(1);
}

// The port a server started as `child` names on its standard output.
export function announcedPort(child) {
  return new Promise((resolve, reject) => {
    let text = "";
    const timer = setTimeout(() => reject(new Error("server did not start")), 10000);
    child.stdout.on("data", (chunk) => {
      text += chunk;
      const m = text.match(/port (\d+)/);
      if (m) { clearTimeout(timer); resolve(Number(m[1])); }
    });
  });
}

// The built site on 127.0.0.1 at a free port; stopped when the test ends.
export async function startServer(folder) {
  const script = new URL("../../src/platform/web/page/serve.py", import.meta.url).pathname;
  const server = spawn("python3", ["-u", script, folder, "0"], { stdio: ["ignore", "pipe", "ignore"] });
  const stop = () => { try { server.kill(); } catch (e) { /* gone */ } };
  process.on("exit", stop);
  const port = await announcedPort(server);
  return { url: `http://127.0.0.1:${port}/`, stop };
}

export async function launch(extraArgs = []) {
  const args = ["--use-angle=swiftshader", "--enable-unsafe-swiftshader",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--no-first-run", "--autoplay-policy=user-gesture-required", ...extraArgs];
  if (process.getuid && process.getuid() === 0) args.push("--no-sandbox");
  return chromium.launch({ executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    headless: true, args,
    // Playwright lets pages play sound unasked; a player's browser does not.
    ignoreDefaultArgs: ["--autoplay-policy=no-user-gesture-required"] });
}

// Collects console errors and uncaught page errors, and the game's own lines.
export function watchConsole(page) {
  const seen = { errors: [], lines: [] };
  page.on("console", (m) => {
    if (m.type() === "error") seen.errors.push(m.text());
    else seen.lines.push(m.text());
  });
  page.on("pageerror", (e) => seen.errors.push("uncaught: " + e.message));
  return seen;
}

export async function gameStarted(page, timeout = 20000) {
  await page.waitForFunction(
    () => document.getElementById("loading").classList.contains("hidden"), null, { timeout });
}

// Polls a condition until it holds or the deadline passes. A poll that
// meets a page between documents (navigating, reloading) counts as "not yet".
export async function waitFor(seconds, condition) {
  const end = Date.now() + seconds * 1000;
  for (;;) {
    let held = false;
    try {
      held = await condition();
    } catch (e) {
      if (!/context was destroyed|navigat/i.test(String(e))) throw e;
    }
    if (held) return true;
    if (Date.now() > end) return false;
    await new Promise((r) => setTimeout(r, 50));
  }
}

// The page's pixels as RGBA rows, decoded by the browser itself.
export async function pixels(page, png) {
  const data = (png || await page.screenshot()).toString("base64");
  return page.evaluate(async (b64) => {
    const image = new Image();
    image.src = "data:image/png;base64," + b64;
    await image.decode();
    const c = document.createElement("canvas");
    c.width = image.width;
    c.height = image.height;
    const g = c.getContext("2d");
    g.drawImage(image, 0, 0);
    const rgba = g.getImageData(0, 0, c.width, c.height).data;
    let binary = "";
    for (let i = 0; i < rgba.length; i += 0x8000)
      binary += String.fromCharCode.apply(null, rgba.subarray(i, i + 0x8000));
    return { width: c.width, height: c.height, data: btoa(binary) };
  }, data).then((shot) => ({ ...shot, data: Buffer.from(shot.data, "base64") }));
}

// Share of pixels off by more than a small amount in any channel. Spiders
// wander on the title, so a few sprites' worth of pixels may differ.
export function difference(a, b) {
  if (a.width !== b.width || a.height !== b.height) return 1;
  let off = 0;
  for (let i = 0; i < a.data.length; i += 4) {
    const d = Math.max(Math.abs(a.data[i] - b.data[i]), Math.abs(a.data[i + 1] - b.data[i + 1]),
      Math.abs(a.data[i + 2] - b.data[i + 2]));
    if (d > 24) off++;
  }
  return off / (a.width * a.height);
}

export function pixelAt(shot, x, y) {
  const i = 4 * (y * shot.width + x);
  return [shot.data[i], shot.data[i + 1], shot.data[i + 2]];
}

export function near(colour, want, tolerance = 3) {
  return colour.every((v, i) => Math.abs(v - want[i]) <= tolerance);
}

// Every pixel of a region within `tolerance` of a colour, as [x, y].
export function findColour(shot, want, tolerance, x0 = 0, y0 = 0, w = shot.width, h = shot.height) {
  const found = [];
  for (let y = y0; y < y0 + h; y++)
    for (let x = x0; x < x0 + w; x++)
      if (near(pixelAt(shot, x, y), want, tolerance)) found.push([x, y]);
  return found;
}

// The match's blue-violet field at three edge points, as the desktop tests check it.
export function matchShown(shot) {
  const { width: w, height: h } = shot;
  const points = [[w - 10, h - 10], [10, h - 10], [w - 10, Math.floor(h / 4)]];
  return points.filter(([x, y]) => near(pixelAt(shot, x, y), [100, 100, 200], 2)).length >= 2;
}

// A valid state string: 25 settings, 8 badge words, three tables of ten
// (best, recent) pairs, each section followed by its checksum.
export function stateString(settings, badges, tables) {
  let out = "";
  let sum = 0;
  settings.forEach((v, i) => { out += v + "|"; sum = (sum + Math.imul(i, v)) | 0; });
  out += sum + "|";
  sum = 0;
  badges.forEach((v) => { out += v + "|"; sum = (sum + v) | 0; });
  out += sum + "|";
  tables.forEach((pairs, t) => {
    sum = 0;
    for (let i = 0; i < 10; i++) {
      out += pairs[2 * i] + "|" + pairs[2 * i + 1] + "|";
      sum = (sum + Math.imul(i + 4, pairs[2 * i]) + Math.imul(i + t + 3, pairs[2 * i + 1])) | 0;
    }
    out += sum + "|";
  });
  return out;
}

// The state file's record in the page's IndexedDB as text (null when there
// is none or it holds no bytes). With `write`, replaces the record instead:
// {text} stores a file of that text as the page's store does, {raw} stores
// that value as it is.
export async function stateRecord(page, write) {
  return page.evaluate(async (write) => {
    const db = await new Promise((resolve, reject) => {
      const open = indexedDB.open("/save");
      open.onsuccess = () => resolve(open.result);
      open.onerror = () => reject(open.error);
    });
    if (!db.objectStoreNames.contains("FILE_DATA")) { db.close(); return null; }
    const store = db.transaction("FILE_DATA", "readwrite").objectStore("FILE_DATA");
    const key = "/save/.vorlekstate";
    let request;
    if (!write) request = store.get(key);
    else if (write.text !== undefined)
      request = store.put({ timestamp: new Date(), mode: 33188,
        contents: new TextEncoder().encode(write.text) }, key);
    else request = store.put(write.raw, key);
    const result = await new Promise((resolve, reject) => {
      request.onsuccess = () => resolve(request.result);
      request.onerror = () => reject(request.error);
    });
    db.close();
    if (write || !result) return null;
    // A hostile record the test wrote may still be there: no bytes, no text.
    return ArrayBuffer.isView(result.contents) ? new TextDecoder().decode(result.contents) : null;
  }, write || null);
}

// Pretends the page went to the background (or came back), as switching tabs does.
export async function setHidden(page, hidden) {
  await page.evaluate((h) => {
    Object.defineProperty(document, "hidden", { value: h, configurable: true });
    Object.defineProperty(document, "visibilityState",
      { value: h ? "hidden" : "visible", configurable: true });
    document.dispatchEvent(new Event("visibilitychange"));
  }, hidden);
}

// Where lying toothpicks are: blobs of their colour, each blob's middle.
export function toothpicks(shot) {
  const left = findColour(shot, [100, 232, 183], 6);
  const found = [];
  while (left.length) {
    const [x0, y0] = left[0];
    const near0 = left.filter(([x, y]) => (x - x0) ** 2 + (y - y0) ** 2 < 625);
    for (const p of near0) left.splice(left.indexOf(p), 1);
    if (near0.length >= 20)
      found.push(near0.reduce(([sx, sy], [x, y]) => [sx + x, sy + y], [0, 0])
        .map((v) => Math.round(v / near0.length)));
  }
  return found;
}
