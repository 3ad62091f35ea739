// The page's own 見積台帳: 見積書を印刷 numbers each 版 in the browser's
// storage and gives the job its history; an unchanged job prints its 版
// again without a new row; the ledger stays across a reload, is searched and
// opened in its dialog, and goes out as the register's CSV, which the
// desktop's kelvane-register takes with the same rows.
import { test, before, after } from "node:test";
import assert from "node:assert/strict";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { spawnSync } from "node:child_process";
import { allowDownloads, closeDialog, downloadedFile, launch, openPage, registerPath, typeOver } from "./browser.js";

let browser, close;
before(async () => ({ browser, close } = await launch()));
after(async () => close && (await close()));

const THREE = JSON.parse(fs.readFileSync(new URL("three-items.kelvane", import.meta.url), "utf8"));
// One coil of the three, not numbered yet: the page gives it Q{yyyy}-0001.
const JOB = { ...THREE, job: { ...THREE.job, quotationNumber: "" }, items: [THREE.items[1]] };

// A menu command that prints, the print held back: the sheet's first line
// of figures (見積番号 with its 版) as it would go to paper.
async function printed(page, command) {
  await page.evaluate(() => {
    window.print = () => { window.printedAt = performance.now(); };
    window.printedAt = null;
  });
  await page.click(`#menu [data-command="${command}"]`);
  await page.waitForFunction(() => window.printedAt !== null, { timeout: 5000 });
  return page.$eval("#customer", (el) => el.innerText);
}

const ledger = (page) => page.evaluate(() => JSON.parse(localStorage.getItem("kelvane.ledger") || "null"));

async function ledgerRows(page) {
  return page.$$eval("#ledger-grid tbody tr", (trs) => trs.map((tr) => [...tr.cells].map((td) => td.textContent)));
}

test("each 版 is numbered, kept across a reload, listed, opened and taken by kelvane-register", async () => {
  const { page, problems } = await openPage(browser);
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), "kelvane-ledger-"));
  try {
    await allowDownloads(page, dir);
    const file = path.join(dir, "one.kelvane");
    fs.writeFileSync(file, JSON.stringify(JOB));
    const [chooser] = await Promise.all([page.waitForFileChooser(), page.click('#menu [data-command="open"]')]);
    await chooser.accept([file]);
    await page.waitForFunction(() => kelvane.items().rows[0].partNumber === "KC-0043");
    const year = new Date().getFullYear();
    const number = `Q${year}-0001`;

    // A 見本 first: nothing recorded, no number given.
    assert.match(await printed(page, "samplePrint"), /見本/);
    assert.equal(await ledger(page), null);

    // Issued, changed, issued again; then unchanged: the same 版 again.
    assert.match(await printed(page, "customerPrint"), new RegExp(`${number}（第1版）`));
    await page.click('#menu [data-command="fields"]');
    await page.waitForSelector("#fields[open]");
    assert.equal(await page.$eval("#f-quotation", (el) => el.value), number);
    await typeOver(page, "#f-subject", "試作コイル 改訂");
    await closeDialog(page, "fields", "ok");
    assert.match(await printed(page, "customerPrint"), new RegExp(`${number}（第2版）`));
    assert.match(await printed(page, "customerPrint"), new RegExp(`${number}（第2版・再発行）`));
    const kept = await ledger(page);
    assert.deepEqual(kept.issues.map((i) => [i.issue.quotationNumber, i.issue.revision, i.issue.subject]),
      [[number, 1, "試作コイル 3 品目"], [number, 2, "試作コイル 改訂"]]);

    // The job downloaded after issuing holds both 版.
    await page.click('#menu [data-command="save"]');
    const saved = JSON.parse(fs.readFileSync(await downloadedFile(dir, (n) => n.startsWith(number)), "utf8"));
    assert.equal(saved.job.quotationNumber, number);
    assert.equal(saved.job.revision, 2);
    assert.deepEqual(saved.issues.map((i) => i.revision), [1, 2]);

    // A second quotation gets the next number.
    await page.click('#menu [data-command="fields"]');
    await page.waitForSelector("#fields[open]");
    await typeOver(page, "#f-quotation", " ");
    await page.keyboard.press("Backspace");
    await typeOver(page, "#f-customer", "別の顧客株式会社");
    await closeDialog(page, "fields", "ok");
    assert.match(await printed(page, "customerPrint"), new RegExp(`Q${year}-0002（第1版）`));
    await page.click('#menu [data-command="save"]');
    await downloadedFile(dir, (n) => n.startsWith(`Q${year}-0002`));

    // Across a reload: listed newest first, searched, exported.
    await page.reload({ waitUntil: "load" });
    await page.waitForFunction(() => window.kelvane && window.kelvane.ready);
    await page.click('#menu [data-command="ledger"]');
    await page.waitForSelector("#ledger[open]");
    const rows = await ledgerRows(page);
    assert.deepEqual(rows.map((r) => [r[0], r[1], r[3]]),
      [[`Q${year}-0002`, "1", "別の顧客株式会社"], [`Q${year}-0001`, "2", "株式会社サンプル電機"],
        [`Q${year}-0001`, "1", "株式会社サンプル電機"]]);
    await page.type("#ledger-search", "別の顧客");
    assert.deepEqual((await ledgerRows(page)).map((r) => r[0]), [`Q${year}-0002`]);
    await typeOver(page, "#ledger-search", "KC-0043");
    assert.equal((await ledgerRows(page)).length, 3);
    await typeOver(page, "#ledger-search", "ない品番");
    assert.equal((await ledgerRows(page)).length, 0);
    await typeOver(page, "#ledger-search", " ");
    await page.keyboard.press("Backspace");

    await page.click("#ledger-export");
    const csvFile = await downloadedFile(dir, (n) => n === "見積台帳.csv");
    const bytes = fs.readFileSync(csvFile);
    assert.deepEqual([...bytes.subarray(0, 3)], [0xef, 0xbb, 0xbf]);
    const register = path.join(dir, "r.sqlite3");
    const run = (...args) => spawnSync(registerPath, ["--register", register, ...args], { encoding: "utf8" });
    const imported = run("import", csvFile);
    assert.equal(imported.status, 0, imported.stderr);
    const listed = run("list");
    assert.equal(listed.status, 0, listed.stderr);
    const desktopRows = listed.stdout.trim().split("\n").slice(1).map((line) => line.split("\t"));
    // 見積番号, 版, 発行日, 有効期限, 顧客名, 件名, 担当者, 合計 in both.
    const pageRows = (await ledgerRows(page)).map((r) => [r[0], r[1], r[2], r[7], r[3], r[4], r[5], r[6]]);
    assert.deepEqual(desktopRows, pageRows);

    // The first 版 opened from the list: the job as it was issued.
    await page.click("#ledger-grid tbody tr:nth-child(3)");
    await page.click("#ledger-open");
    await page.waitForFunction(() => !document.querySelector("#ledger").open);
    await page.click('#menu [data-command="fields"]');
    await page.waitForSelector("#fields[open]");
    const opened = await page.evaluate(() => ({
      number: document.querySelector("#f-quotation").value,
      subject: document.querySelector("#f-subject").value,
      revision: document.querySelector("#f-revision").textContent,
    }));
    assert.deepEqual({ ...opened, revision: opened.revision.replace(/（.*/, "") },
      { number: `Q${year}-0001`, subject: "試作コイル 3 品目", revision: "第1版" });
    await closeDialog(page, "fields", "cancel");
    assert.deepEqual(problems, []);
  } finally {
    if (!process.env.KEEP) fs.rmSync(dir, { recursive: true, force: true });
    else console.log(dir);
    await page.close();
  }
});

// What the page's ledger and the job decide between them, one job each: a
// 版 the job says was issued elsewhere goes on from there; the last 版 and a
// ledger the browser cannot read are refused, and neither the stored
// ledger nor the job changes.
test("the 版 goes on from the job's own; a full or unreadable ledger refuses and keeps everything", async () => {
  const cases = [
    { name: "issued before", revision: 3, stored: null, printed: /Q2026-118（第4版）/ },
    { name: "the last 版", revision: 999, stored: null, refused: /第999版まで発行済み/ },
    { name: "unreadable", revision: 0, stored: "{\"format\": \"kelvane-page-ledger\", \"issues\": [", refused: /見積台帳を読めません/ },
  ];
  const { page, problems } = await openPage(browser);
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), "kelvane-ledger-"));
  try {
    for (const c of cases) {
      await page.evaluate((text) => {
        if (text === null) localStorage.removeItem("kelvane.ledger");
        else localStorage.setItem("kelvane.ledger", text);
      }, c.stored);
      const file = path.join(dir, "job.kelvane");
      fs.writeFileSync(file, JSON.stringify({ ...JOB, job: { ...JOB.job, quotationNumber: "Q2026-118",
        revision: c.revision, issuedOn: c.revision ? "2026-11-30" : "" } }));
      await page.evaluate(() => kelvane.reset());
      const [chooser] = await Promise.all([page.waitForFileChooser(), page.click('#menu [data-command="open"]')]);
      await chooser.accept([file]);
      await page.waitForFunction(() => kelvane.items().rows[0].partNumber === "KC-0043");
      if (c.printed) {
        assert.match(await printed(page, "customerPrint"), c.printed, c.name);
        const kept = await ledger(page);
        assert.deepEqual(kept.issues.map((i) => i.issue.revision), [c.revision + 1], c.name);
        continue;
      }
      await page.evaluate(() => { window.printedAt = null; });
      await page.click('#menu [data-command="customerPrint"]');
      await page.waitForSelector("#message[open]");
      assert.match(await page.$eval("#message-text", (el) => el.textContent), c.refused, c.name);
      await page.keyboard.press("Enter");
      await page.waitForFunction(() => !document.querySelector("#message").open);
      assert.equal(await page.evaluate(() => window.printedAt), null, c.name);
      assert.equal(await page.evaluate(() => localStorage.getItem("kelvane.ledger")), c.stored, c.name);
      // The job took no 版: nothing changed since it was opened.
      assert.ok(!(await page.title()).includes("*"), `${c.name}: ${await page.title()}`);
    }
    assert.deepEqual(problems, []);
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
    await page.close();
  }
});
