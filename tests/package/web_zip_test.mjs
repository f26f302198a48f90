// The browser zip as a static host serves it: unpacked under /games/brindlewick/
// of a plain file server (no special headers), the page loads everything from
// inside that folder, shows the title and starts a match on a click.
//   WEB_ZIP=brindlewick-1.0.0-web.zip node web_zip_test.mjs
import { execFileSync, spawn } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import {
  fail, launch, watchConsole, waitFor, pixels, matchShown, gameStarted, announcedPort,
} from "../web/lib.mjs";

const zip = process.env.WEB_ZIP || fail("WEB_ZIP: the release's web zip");
const root = fs.mkdtempSync(path.join(os.tmpdir(), "bw-web-zip-"));
const site = path.join(root, "games", "brindlewick");
fs.mkdirSync(site, { recursive: true });
process.on("exit", () => fs.rmSync(root, { recursive: true, force: true }));
execFileSync("unzip", ["-q", zip, "-d", site]);
for (const name of ["index.html", "VERSION", "README.txt", "brindlewick.js", "brindlewick.wasm"])
  if (!fs.existsSync(path.join(site, name))) fail(`${name} is not at the zip's root`);
const version = fs.readFileSync(path.join(site, "VERSION"), "utf8").trim();
const html = fs.readFileSync(path.join(site, "index.html"), "utf8");
if (!html.includes(`<meta name="version" content="${version}">`)) fail("the page does not carry the version");
// An absolute path would leave the sub-path on a host that serves the site there.
if (/(src|href)="\//.test(html)) fail("the page has an absolute path");

// Python's plain file server on a free port, serving the folder above the site.
const server = spawn("python3", ["-u", "-m", "http.server", "--bind", "127.0.0.1", "0"],
  { cwd: root, stdio: ["ignore", "pipe", "ignore"] });
process.on("exit", () => server.kill());
const port = await announcedPort(server);

const browser = await launch();
const page = await browser.newPage({ viewport: { width: 640, height: 480 } });
const seen = watchConsole(page);
const outside = [];
page.on("request", (r) => {
  const url = new URL(r.url());
  if (url.protocol.startsWith("http") && !url.pathname.startsWith("/games/brindlewick/")) outside.push(url.pathname);
});
const failed = [];
page.on("response", (r) => { if (r.status() >= 400) failed.push(`${r.status()} ${r.url()}`); });
await page.goto(`http://127.0.0.1:${port}/games/brindlewick/`);
try {
  await gameStarted(page, 30000);
} catch (e) {
  fail(`the game did not start: ${failed.join(", ")} ${seen.errors.join(" | ")}`);
}
if (outside.length) fail(`the page fetched outside its folder: ${outside.join(", ")}`);
if (failed.length) fail(`requests failed: ${failed.join(", ")}`);

async function click(x, y) {
  await page.mouse.move(x, y);
  await page.mouse.down();
  await page.waitForTimeout(100);
  await page.mouse.up();
}
// The title needs its intro slide before its buttons take a click.
const started = await waitFor(30, async () => {
  await click(256, 336);
  return waitFor(1, async () => matchShown(await pixels(page)));
});
if (!started) fail("a click on the middle difficulty started no match");
if (seen.errors.length) fail(`console errors: ${seen.errors.join(" | ")}`);
console.log(`web zip ${version} plays from /games/brindlewick/`);
await browser.close();
process.exit(0);
