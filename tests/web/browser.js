// Debian's Chromium, headless, driven by puppeteer-core: the page's tests
// start it themselves and open build/web/kelvane.html from file://.
import path from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";
import fs from "node:fs";
import os from "node:os";
import puppeteer from "puppeteer-core";

const here = path.dirname(fileURLToPath(import.meta.url));
export const sourceDir = path.resolve(here, "../..");
export const pagePath = process.env.KELVANE_WEB_PAGE || path.join(sourceDir, "build/web/kelvane.html");
export const replayPath =
  process.env.KELVANE_REPLAY || path.join(sourceDir, "build/default/tools/replay/kelvane-replay");

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
export async function openPage(browser) {
  const page = await browser.newPage();
  await page.setViewport({ width: 900, height: 520 });
  const problems = [];
  const requests = [];
  page.on("console", (m) => { if (m.type() === "error") problems.push(m.text()); });
  page.on("pageerror", (e) => problems.push(String(e)));
  page.on("request", (r) => requests.push(r.url()));
  const started = Date.now();
  await page.goto(pathToFileURL(pagePath).href, { waitUntil: "load" });
  try {
    await page.waitForFunction(() => window.kelvane && window.kelvane.ready, { timeout: 20000 });
  } catch (e) {
    throw new Error(`the page did not start: ${problems.join("; ") || e.message}`);
  }
  const loadMs = Date.now() - started;
  return { page, problems, requests, loadMs };
}
