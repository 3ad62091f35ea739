// The browser page in headless Chromium beside the native form model:
//   first paint  from loading kelvane.html to the form painted (the frame
//                after the page has built it), and Chromium's first
//                contentful paint, medians of RUNS loads
//   a press      of 10^6 turns: a click on 計算 in the page (the form model
//                in WebAssembly, then the page showing its state) against
//                kelvane-bench's calculatePressOfForm/turns:1000000 (the form model
//                built natively), medians
//   a 見積書     of three items (tests/web/three-items.kelvane, opened and
//                computed): from the click on 見積書を印刷 to the A4 page
//                laid out for the print, median
// Usage: node bench/page_bench.mjs <kelvane-bench> <kelvane.html>
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import { fileURLToPath, pathToFileURL } from "node:url";
import { launch } from "../tests/web/browser.js";

const [benchPath, pagePath] = process.argv.slice(2);
const runs = Number(process.env.RUNS || 15);
const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
const ms = (x) => x.toFixed(1);

const { browser, close } = await launch();
try {
  const painted = [], contentful = [];
  for (let i = 0; i < runs; ++i) {
    const page = await browser.newPage();
    await page.setViewport({ width: 900, height: 520 });
    await page.evaluateOnNewDocument(() => {
      document.addEventListener("kelvane-ready", () =>
        requestAnimationFrame(() => setTimeout(() => { window.kelvanePainted = performance.now(); })));
    });
    await page.goto(pathToFileURL(pagePath).href, { waitUntil: "load" });
    await page.waitForFunction(() => window.kelvanePainted, { timeout: 20000 });
    // The first contentful paint is the form's own, reported when the frame
    // has reached the screen, which may be after the form's timing above.
    await page.waitForFunction(() => performance.getEntriesByName("first-contentful-paint").length,
      { timeout: 5000 }).catch(() => {});
    const [form, fcp] = await page.evaluate(() => [window.kelvanePainted,
      performance.getEntriesByName("first-contentful-paint")[0]?.startTime ?? NaN]);
    painted.push(form);
    contentful.push(fcp);
    await page.close();
  }

  const page = await browser.newPage();
  await page.goto(pathToFileURL(pagePath).href, { waitUntil: "load" });
  await page.waitForFunction(() => window.kelvane && window.kelvane.ready, { timeout: 20000 });
  const presses = await page.evaluate((n) => {
    kelvane.replay([{ set: "Text1(2)", text: "1000000" }]);
    const button = document.querySelector('[data-control="Command1"]');
    button.click();  // once before timing: the WebAssembly warmed up
    const times = [];
    for (let i = 0; i < n; ++i) {
      const start = performance.now();
      button.click();
      times.push(performance.now() - start);
    }
    return times;
  }, runs);
  const turns = (await page.evaluate(() => kelvane.state().Text1[2]));
  await page.close();

  // The customer's quotation: the print itself held back, the page laid out
  // for it at the moment it would print.
  const quoting = await browser.newPage();
  await quoting.goto(pathToFileURL(pagePath).href, { waitUntil: "load" });
  await quoting.waitForFunction(() => window.kelvane && window.kelvane.ready, { timeout: 20000 });
  const [chooser] = await Promise.all([quoting.waitForFileChooser(),
    quoting.click('#menu [data-command="open"]')]);
  await chooser.accept([fileURLToPath(new URL("../tests/web/three-items.kelvane", import.meta.url))]);
  await quoting.waitForFunction(() => kelvane.items().rows.length === 3 && kelvane.items().outputsCurrent);
  await quoting.emulateMediaType("print");
  const sheets = [];
  for (let i = 0; i < runs; ++i) {
    await quoting.evaluate(() => {
      window.printedAt = null;
      window.print = () => {
        document.querySelector("#customer").getBoundingClientRect();
        window.printedAt = performance.now();
      };
      // The menu is not on paper: the click as the page's own event.
      window.clickedAt = performance.now();
      document.querySelector('#menu [data-command="customerPrint"]').click();
    });
    await quoting.waitForFunction(() => window.printedAt !== null);
    sheets.push(await quoting.evaluate(() => window.printedAt - window.clickedAt));
  }
  await quoting.close();

  const report = JSON.parse(execFileSync(benchPath, [
    "--benchmark_filter=^calculatePressOfForm/turns:1000000/", "--benchmark_format=json"],
  { encoding: "utf8" }));
  const nativeRun = report.benchmarks.find((b) => b.aggregate_name === "median") || report.benchmarks[0];
  const scale = { ns: 1e-6, us: 1e-3, ms: 1 }[nativeRun.time_unit];
  const native = nativeRun.real_time * scale;
  const inPage = median(presses);

  console.log(`kelvane.html ${fs.statSync(pagePath).size} bytes`);
  console.log(`first paint of the form: median ${ms(median(painted))} ms, ` +
    `first contentful paint ${ms(median(contentful))} ms (${runs} loads, from navigation start)`);
  console.log(`a press of ${turns} turns: page ${ms(inPage)} ms, native ${ms(native)} ms, ` +
    `ratio ${(inPage / native).toFixed(2)}`);
  console.log(`a 見積書 of three items: ready ${ms(median(sheets))} ms after the click ` +
    `(median of ${runs}, slowest ${ms(Math.max(...sheets))} ms)`);
} finally {
  await close();
}
