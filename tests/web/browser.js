// Debian's Chromium, headless, driven by puppeteer-core: the page's tests
// start it themselves and open build/web/kelvane.html from file://.
import path from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";
import fs from "node:fs";
import { spawnSync } from "node:child_process";
import http from "node:http";
import os from "node:os";
import assert from "node:assert/strict";
import puppeteer from "puppeteer-core";

const here = path.dirname(fileURLToPath(import.meta.url));
export const sourceDir = path.resolve(here, "../..");
export const pagePath = process.env.KELVANE_WEB_PAGE || path.join(sourceDir, "build/web/kelvane.html");
// The same page as plain files for a web server, beside the one file.
export const sitePath = process.env.KELVANE_WEB_SITE || path.join(path.dirname(pagePath), "site");
export const replayPath =
  process.env.KELVANE_REPLAY || path.join(sourceDir, "build/default/tools/replay/kelvane-replay");
// The register's command line, to take the page's ledger as the desktop does.
export const registerPath = process.env.KELVANE_REGISTER_PROGRAM ||
  path.join(sourceDir, "build/default/tools/register/kelvane-register");
// The desktop program, for what the page must give as it does.
export const desktopPath =
  process.env.KELVANE_DESKTOP || path.join(sourceDir, "build/default/app/kelvane");

// kelvane-replay's JSON for the steps, or its error line.
export function replay(steps) {
  const run = spawnSync(replayPath, ["-"], { input: JSON.stringify({ steps }), encoding: "utf8" });
  if (run.status === 0) return JSON.parse(run.stdout);
  return { error: run.stderr.trim().replace(/^kelvane-replay: /, "") };
}

// The page's state as kelvane-replay prints it: the same writer's JSON
// without what only the page reads.
export function replayPart(state) {
  const rest = { ...state };
  for (const key of ["select_requests", "sheet_open", "outputs_current"]) delete rest[key];
  return rest;
}

export async function launch() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "kelvane-web-"));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    headless: true,
    userDataDir: profile,
    args: [
      "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
      "--disable-background-networking", "--disable-component-update", "--disable-sync",
      "--lang=ja-JP", "--font-render-hinting=none",
    ],
  });
  const close = async () => {
    await browser.close();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return { browser, close };
}

// A page with the form loaded; every request it makes, every console error
// and every refusal of the Content-Security-Policy is collected.
export async function openPage(browser, url = pathToFileURL(pagePath).href) {
  const page = await browser.newPage();
  await page.setViewport({ width: 900, height: 520 });
  const problems = [];
  const requests = [];
  page.on("console", (m) => { if (m.type() === "error") problems.push(m.text()); });
  page.on("pageerror", (e) => problems.push(String(e)));
  page.on("request", (r) => requests.push(r.url()));
  const started = Date.now();
  await page.goto(url, { waitUntil: "load" });
  try {
    await page.waitForFunction(() => window.kelvane && window.kelvane.ready, { timeout: 20000 });
  } catch (e) {
    throw new Error(`the page did not start: ${problems.join("; ") || e.message}`, { cause: e });
  }
  const loadMs = Date.now() - started;
  return { page, problems, requests, loadMs };
}

// The page's state as kelvane.state() gives it.
export const state = (page) => page.evaluate(() => kelvane.state());
// The selector of a form control by its name, `Text1(2)`.
export const sel = (id) => `[data-control="${id}"]`;

// Types over what a box holds as a person does: click into it, select all,
// type (an empty text deletes it).
export async function typeOver(page, selector, text) {
  await page.click(selector, { clickCount: 3 });
  await page.keyboard.down("Control");
  await page.keyboard.press("a");
  await page.keyboard.up("Control");
  if (text) await page.keyboard.type(text);
  else await page.keyboard.press("Backspace");
}

// The same into a form control by its name.
export const typeInto = (page, id, text) => typeOver(page, sel(id), text);

// Closes dialog `id` with its button of `value`; waits for the close event.
export async function closeDialog(page, id, value) {
  await page.evaluate((dialogId) => {
    window.dialogClosed = new Promise((done) =>
      document.getElementById(dialogId).addEventListener("close", () => done(), { once: true }));
  }, id);
  await page.click(`#${id} button[value="${value}"]`);
  await page.evaluate(() => window.dialogClosed);
}

// The text of the message box the page shows; its first button closes it,
// and the close event, which hands the focus back and selects the box's
// text, comes a task after the closing: this waits for it.
export async function takeMessage(page) {
  await page.waitForSelector("#message[open]", { timeout: 2000 });
  const text = await page.$eval("#message-text", (el) => el.textContent);
  await page.evaluate(() => {
    window.messageClosed = new Promise((done) =>
      document.querySelector("#message").addEventListener("close", () => done(), { once: true }));
  });
  await page.click("#message-buttons button");
  await page.evaluate(() => window.messageClosed);
  return text;
}

// Lets `page` download into `dir`.
export async function allowDownloads(page, dir) {
  const cdp = await page.createCDPSession();
  await cdp.send("Browser.setDownloadBehavior", { behavior: "allow", downloadPath: dir });
}

// The path of the one file in `dir` whose name ends in `ending` (or passes
// it, a function), once its download has ended. Chromium holds the final
// name with an empty file while the bytes go into a .crdownload beside it,
// so the file counts once nothing is partial and its size holds.
export async function downloadedFile(dir, ending) {
  const wanted = typeof ending === "function" ? ending : (name) => name.endsWith(ending);
  let size = -1;
  for (let i = 0; i < 100; ++i) {
    const names = fs.readdirSync(dir);
    const found = names.filter(wanted);
    if (found.length > 1) assert.fail(`more than one ${ending} file in ${dir}: ${names}`);
    if (found.length === 1 && !names.some((n) => n.endsWith(".crdownload"))) {
      const file = path.join(dir, found[0]);
      const now = fs.statSync(file).size;
      if (now > 0 && now === size) return file;
      size = now;
    }
    await new Promise((r) => setTimeout(r, 100));
  }
  assert.fail(`nothing downloaded into ${dir}: ${fs.readdirSync(dir)}`);
}

// A web server on a free port of 127.0.0.1 for the files of `dir`, as an
// intranet server holds them; what it served is in `served`. The WebAssembly
// goes out as plain bytes, as a server that knows no .wasm sends it.
export async function serveFolder(dir) {
  const types = { ".html": "text/html; charset=utf-8", ".js": "text/javascript" };
  const served = [];
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, "http://x").pathname).replace(/^\/$/, "/index.html");
    const file = path.join(dir, path.normalize(name));
    served.push(name);
    if (!file.startsWith(dir + path.sep) || !fs.existsSync(file)) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { "Content-Type": types[path.extname(file)] || "application/octet-stream" });
    fs.createReadStream(file).pipe(response);
  });
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  const url = `http://127.0.0.1:${server.address().port}/`;
  // The browser keeps its connections open, idle or merely opened ahead of a
  // request; closing waits for none of them (else about a hundred seconds).
  const close = () => new Promise((resolve) => {
    server.close(resolve);
    server.closeAllConnections();
  });
  return { url, served, close };
}
