// The page as an engineer at an office PC uses it: its downloads, the
// question before work is thrown away, files that are not UTF-8, printing,
// the menu by keyboard, the job's fields and the wire data on the sheet.
import { test, before, after } from "node:test";
import assert from "node:assert/strict";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { allowDownloads, downloadedFile, launch, openPage, replay, replayPart, sel, state, typeInto } from "./browser.js";

let browser, close;
before(async () => ({ browser, close } = await launch()));
after(async () => close && (await close()));

const focused = (page) => page.evaluate(() =>
  document.activeElement.dataset.control || document.activeElement.dataset.command ||
  document.activeElement.id);

// A page whose downloads go into a folder of their own.
async function freshWithDownloads() {
  const opened = await openPage(browser);
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), "kelvane-office-"));
  await allowDownloads(opened.page, dir);
  return { ...opened, dir };
}

// The name of the file downloaded into `dir` that ends in `ending`.
const downloaded = async (dir, ending) => path.basename(await downloadedFile(dir, ending));

// The message box's text, once it is open.
async function message(page) {
  await page.waitForSelector("#message[open]", { timeout: 3000 });
  return page.$eval("#message-text", (el) => el.textContent);
}

// Answers the message box with the button of `value`; waits for it to close.
async function answer(page, value) {
  await page.evaluate(() => {
    window.messageClosed = new Promise((done) =>
      document.querySelector("#message").addEventListener("close", () => done(), { once: true }));
  });
  await page.click(`#message-buttons button[value="${value}"]`);
  await page.evaluate(() => window.messageClosed);
}

async function chooseFile(page, file) {
  const [chooser] = await Promise.all([
    page.waitForFileChooser(),
    page.click('#menu [data-command="open"]'),
  ]);
  await chooser.accept([file]);
}

const JOB = {
  format: "kelvane-job", formatVersion: 3,
  job: { customer: "株式会社サンプル電機", quotationNumber: "Q2026-118", workingTemperature: 20 },
  items: [{ partNumber: "KC-0042", name: "丸コイル", former: "round", material: "copper",
    inputs: { bareDiameter: "0.2", finishedDiameter: "0.21", turns: "30", leadLength: "10",
      referenceThickness: "0.8", innerDiameter: "12", sideA: "2", sideB: "2", cornerR1: "0.3",
      cornerR2: "0.3", fanRadius: "50", fanAngle: "60", fanWideWidth: "60", tension: "60" },
    quotationTerms: null, priceListSavedAt: "", basisLot: 0, requirements: [] }],
};

// The downloads' names have one dot before their suffix, whatever the
// fields end in; the CSV starts with UTF-8's byte order mark, as the
// desktop's does, so that a spreadsheet on Japanese Windows reads it.
test("downloads: one dot before the suffix, the CSV with its byte order mark", async () => {
  const cases = [
    { name: "a new job", number: "", file: "無題" },
    { name: "a job opened", open: true, file: "Q2026-118_KC-0042" },
    { name: "見積番号 ending in a dot", number: "Q2026-119.", file: "Q2026-119" },
  ];
  for (const c of cases) {
    const { page, dir } = await freshWithDownloads();
    page.on("dialog", (d) => d.dismiss());
    try {
      if (c.open) {
        const file = path.join(dir, "job.kelvane");
        fs.writeFileSync(file, JSON.stringify(JOB));
        await chooseFile(page, file);
        await page.waitForFunction(() => kelvane.items().rows[0].partNumber === "KC-0042");
        assert.equal(await page.title(), "job.kelvane - Kelvane", "the title names the file opened");
        fs.rmSync(file);
      }
      if (c.number) {
        await page.click('#menu [data-command="fields"]');
        await page.click("#f-quotation", { clickCount: 3 });
        await page.keyboard.type(c.number);
        await page.click("#fields-ok");
      }
      await page.click(sel("Command1"));
      await page.click('#menu [data-command="csv"]');
      const csv = await downloaded(dir, ".csv");
      assert.equal(csv, `${c.file}.csv`, c.name);
      assert.deepEqual([...fs.readFileSync(path.join(dir, csv)).subarray(0, 3)], [0xef, 0xbb, 0xbf]);
      await page.click('#menu [data-command="save"]');
      assert.equal(await downloaded(dir, ".kelvane"), `${c.file}.kelvane`, c.name);
    } finally {
      fs.rmSync(dir, { recursive: true, force: true });
      await page.close();
    }
  }
});

// 新規 and 開く ask before changes since the job was opened or saved go, as
// the desktop asks; 保存 downloads it first, キャンセル keeps it, and the
// title names the job with a star while it has such changes.
test("新規 and 開く ask before unsaved work goes; the title names the job", async () => {
  const cases = [
    { name: "新規, キャンセル", command: "new", answer: "cancel", kept: true },
    { name: "新規, 保存しない", command: "new", answer: "discard", kept: false },
    { name: "新規, 保存", command: "new", answer: "save", kept: false, saved: true },
    { name: "開く, キャンセル", command: "open", answer: "cancel", kept: true },
  ];
  for (const c of cases) {
    const { page, dir } = await freshWithDownloads();
    try {
      assert.equal(await page.title(), "無題 - Kelvane");
      await typeInto(page, "Text1(2)", "77");
      await page.keyboard.press("Tab");
      assert.equal(await page.title(), "無題* - Kelvane", c.name);
      await page.click(`#menu [data-command="${c.command}"]`);
      assert.equal(await message(page), "「無題」の変更を保存しますか？\n保存しないと、変更は失われます。");
      await answer(page, c.answer);
      if (c.kept) {
        assert.equal((await state(page)).Text1[2], "77", c.name);
        assert.equal(await page.title(), "無題* - Kelvane", c.name);
      } else {
        assert.notEqual((await state(page)).Text1[2], "77", c.name);
        assert.equal(await page.title(), "無題 - Kelvane", c.name);
      }
      if (c.saved) {
        const file = path.join(dir, await downloaded(dir, ".kelvane"));
        assert.equal(JSON.parse(fs.readFileSync(file, "utf8")).items[0].inputs.turns, "77");
      }
    } finally {
      fs.rmSync(dir, { recursive: true, force: true });
      await page.close();
    }
  }

  // Saved, the job asks nothing more; the title takes the download's name.
  const { page, dir } = await freshWithDownloads();
  try {
    await typeInto(page, "Text1(2)", "78");
    await page.keyboard.press("Tab");
    await page.click('#menu [data-command="save"]');
    await downloaded(dir, ".kelvane");
    assert.equal(await page.title(), "無題.kelvane - Kelvane");
    await page.click('#menu [data-command="new"]');
    assert.equal(await page.$("#message[open]"), null, "no question once saved");
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
    await page.close();
  }
});

// Closing or reloading the tab with changes: the browser's own question,
// and the page stays when it is called off.
test("reloading the tab with unsaved work asks; without, it does not", async () => {
  const { page } = await openPage(browser);
  const asked = [];
  page.on("dialog", (d) => {
    asked.push(d.type());
    d.dismiss();
  });
  await page.click(sel("Command1"));
  await page.reload({ waitUntil: "load" });
  await page.waitForFunction(() => window.kelvane && window.kelvane.ready);
  assert.deepEqual(asked, [], "nothing changed: no question");
  await typeInto(page, "Text1(2)", "55");
  await page.keyboard.press("Tab");
  await Promise.race([page.reload({ waitUntil: "load" }).catch(() => {}),
    new Promise((r) => setTimeout(r, 1500))]);
  assert.deepEqual(asked, ["beforeunload"]);
  assert.equal((await state(page)).Text1[2], "55", "called off: the work stays");
  await page.close();
});

// A job file in another encoding is refused as the desktop refuses it,
// naming the first byte that is not UTF-8; the job shown stays.
test("a Shift_JIS job is refused with the position of its first stray byte", async () => {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), "kelvane-sjis-"));
  const { page } = await openPage(browser);
  try {
    const text = JSON.stringify({ ...JOB, job: { ...JOB.job, customer: "@@" } });
    // 顧客名 「顧客」 in Shift_JIS: 8C DA 8B 71.
    const at = Buffer.from(text).indexOf("@@");
    const bytes = Buffer.concat([Buffer.from(text.slice(0, at)), Buffer.from([0x8c, 0xda, 0x8b, 0x71]),
      Buffer.from(text.slice(at + 2))]);
    const file = path.join(dir, "sjis.kelvane");
    fs.writeFileSync(file, bytes);
    const before = await state(page);
    await chooseFile(page, file);
    assert.equal(await message(page),
      `sjis.kelvane を開けません。\nUTF-8 の文字として読めないバイトがあります（${at + 1} バイト目）。`);
    await answer(page, "ok");
    assert.deepEqual(await state(page), before);
    assert.equal((await page.evaluate(() => kelvane.items())).rows[0].partNumber, "");
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
    await page.close();
  }
});

// Whether the sheet the print takes holds the section drawing at the very
// moment of the print: window.print is replaced by a look at the page.
async function sheetAtPrint(page) {
  await page.evaluate(() => {
    window.printed = [];
    window.print = () => {
      const sheet = document.querySelector("#quotation");
      const canvas = sheet.querySelector(".drawing canvas");
      let inked = 0;
      if (canvas) {
        const { data } = canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height);
        for (let i = 3; i < data.length; i += 4) if (data[i] > 0) ++inked;
      }
      window.printed.push({
        sheet: document.body.classList.contains("printing-sheet"),
        title: sheet.querySelector("h1") && sheet.querySelector("h1").textContent,
        inked,
      });
    };
  });
}

// The first print after 計算 or 開く has the drawing: it is on the sheet,
// drawn, before the print takes the page; Ctrl+P prints the sheet, not the
// form.
test("the first print has the section drawing; Ctrl+P prints the 見積計算書", async () => {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), "kelvane-print-"));
  const file = path.join(dir, "job.kelvane");
  fs.writeFileSync(file, JSON.stringify(JOB));
  const cases = [
    { name: "計算, then the menu", before: async (page) => {
      await typeInto(page, "Text1(2)", "40");
      await page.click(sel("Command1"));
    },
      print: (page) => page.click('#menu [data-command="print"]') },
    { name: "開く, then Ctrl+P", before: async (page) => {
      await chooseFile(page, file);
      await page.waitForFunction(() => kelvane.state().results_current);
    }, print: async (page) => {
      await page.keyboard.down("Control");
      await page.keyboard.press("p");
      await page.keyboard.up("Control");
    } },
  ];
  try {
    for (const c of cases) {
      const { page } = await openPage(browser);
      await c.before(page);
      await sheetAtPrint(page);
      await c.print(page);
      const printed = await page.evaluate(() => window.printed);
      assert.equal(printed.length, 1, c.name);
      assert.equal(printed[0].sheet, true, c.name);
      assert.equal(printed[0].title, "見積計算書", c.name);
      assert.ok(printed[0].inked > 500, `${c.name}: ${printed[0].inked} pixels of drawing`);
      // After it, the window is the window again.
      assert.equal(await page.evaluate(() => document.body.classList.contains("printing-sheet")), false);
      await page.close();
    }
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
  }
});

// Alt alone or F10 goes to the menu, the arrows move along it, Enter
// chooses, Esc goes back to the box the focus was in.
test("the menu by keyboard: Alt or F10, the arrows, Enter and Esc", async () => {
  const { page } = await openPage(browser);
  await page.click(sel("Text1(2)"));
  for (const key of ["F10", "Alt"]) {
    await page.keyboard.press(key);
    assert.equal(await focused(page), "new", key);
    await page.keyboard.press("ArrowRight");
    assert.equal(await focused(page), "open", key);
    await page.keyboard.press("ArrowLeft");
    await page.keyboard.press("ArrowLeft");
    assert.equal(await focused(page), "help", `${key}: ← past the first goes round`);
    await page.keyboard.press("Escape");
    assert.equal(await focused(page), "Text1(2)", `${key}: Esc goes back`);
  }
  // F10 again leaves it as Esc does.
  await page.keyboard.press("F10");
  await page.keyboard.press("F10");
  assert.equal(await focused(page), "Text1(2)");
  // Enter on 使い方 opens the page's own help, which names the page's menus.
  await page.keyboard.press("F10");
  await page.keyboard.press("End");
  await page.keyboard.press("Enter");
  await page.waitForSelector("#help[open]");
  const help = await page.$eval("#help-text", (el) => el.textContent);
  for (const words of ["CSVに書き出し", "見積計算書を印刷", "F10", "Ctrl+P", "ダウンロード",
    "見積書を印刷", "Ctrl+Shift+P", "単価表", "会社情報"])
    assert.ok(help.includes(words), words);
  assert.ok(!help.includes("「編集」→"), "no desktop menu in the page's help");
  await page.close();
});

// ↓ on the material buttons switches the next one on, and it is that one
// the model computes with, as clicking it would.
test("the arrows on the option buttons tick the button the model computes with", async () => {
  const cases = [
    { name: "copper, ↓: aluminium", click: "Option3(0)", keys: ["ArrowDown"],
      steps: [{ click: "Option3(0)" }, { click: "Option3(1)" }], on: "Option3(1)" },
    { name: "copper, ↓ ↓: clad aluminium", click: "Option3(0)", keys: ["ArrowDown", "ArrowDown"],
      steps: [{ click: "Option3(0)" }, { click: "Option3(1)" }, { click: "Option3(2)" }], on: "Option3(2)" },
    { name: "copper, ↑: stays", click: "Option3(0)", keys: ["ArrowUp"],
      steps: [{ click: "Option3(0)" }], on: "Option3(0)" },
    { name: "round former, →: rectangular", click: "Option1(0)", keys: ["ArrowRight"],
      steps: [{ click: "Option1(0)" }, { click: "Option1(1)" }], on: "Option1(1)" },
  ];
  for (const c of cases) {
    const { page } = await openPage(browser);
    await page.click(sel(c.click));
    for (const key of c.keys) await page.keyboard.press(key);
    await page.click(sel("Command1"));
    const want = replay([...c.steps, { click: "Command1" }]);
    assert.deepEqual(replayPart(await state(page)), want, c.name);
    const ticked = await page.$$eval('#form input[type="radio"]:checked', (els) => els.map((e) => e.dataset.control));
    assert.ok(ticked.includes(c.on), `${c.name}: ${ticked}`);
    await page.close();
  }
});

// 案件情報 shows and takes every field of the job: they go into the saved
// file, come back into the dialog, and a wrong 有効期限 is refused there.
test("案件情報 holds every field of the job", async () => {
  const { page, dir } = await freshWithDownloads();
  try {
    const typed = {
      "#f-customer": "株式会社サンプル電機", "#f-customer-person": "山田 太郎", "#f-quotation": "Q2026-120",
      "#f-person": "佐藤", "#f-subject": "試作コイル", "#f-delivery": "受注後 2 週間",
      "#f-payment": "月末締め翌月末払い", "#f-valid": "45", "#f-remarks": "送料別", "#f-memo": "社内メモ",
      "#f-temperature": "75",
    };
    await page.click('#menu [data-command="fields"]');
    assert.match(await page.$eval("#f-revision", (el) => el.textContent), /未発行/);
    for (const [box, text] of Object.entries(typed)) {
      await page.click(box, { clickCount: 3 });
      await page.keyboard.down("Control");
      await page.keyboard.press("a");
      await page.keyboard.up("Control");
      await page.keyboard.type(box === "#f-valid" ? "9999" : text);
    }
    await page.click("#fields-ok");
    // 10 years at most: refused, the dialog stays with the box selected.
    await page.waitForSelector("#fields[open]");
    assert.match(await page.$eval("#fields-refusal", (el) => el.textContent), /有効期限/);
    assert.equal(await focused(page), "f-valid");
    await page.keyboard.type("45");
    await page.click("#fields-ok");
    await page.click('#menu [data-command="save"]');
    const file = await downloaded(dir, ".kelvane");
    assert.equal(file, "Q2026-120.kelvane");
    const saved = JSON.parse(fs.readFileSync(path.join(dir, file), "utf8")).job;
    assert.deepEqual(
      [saved.customer, saved.customerPerson, saved.quotationNumber, saved.personInCharge, saved.subject,
        saved.deliveryTerms, saved.paymentTerms, saved.validDays, saved.remarks, saved.memo,
        saved.workingTemperature],
      ["株式会社サンプル電機", "山田 太郎", "Q2026-120", "佐藤", "試作コイル", "受注後 2 週間",
        "月末締め翌月末払い", 45, "送料別", "社内メモ", 75]);
    await page.click('#menu [data-command="fields"]');
    for (const [box, text] of Object.entries(typed))
      assert.equal(await page.$eval(box, (el) => el.value), text, box);
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
    await page.close();
  }
});

// The sheet gives the wire data as the desktop's sheet does, a table of
// the data sheet's own figures, and the memo.
test("the 見積計算書 has the wire data as a table and the memo", async () => {
  const { page } = await openPage(browser);
  await page.click('#menu [data-command="fields"]');
  await page.click("#f-memo");
  await page.keyboard.type("巻線機 2 号で");
  await page.click("#fields-ok");
  await typeInto(page, "Text1(2)", "40");
  await page.click(sel("Command1"));
  await page.click(sel("Command2"));
  const lines = (await state(page)).form2;
  await page.click("#sheet-close");
  await sheetAtPrint(page);
  await page.click('#menu [data-command="print"]');
  await page.evaluate(() => document.body.classList.add("printing-sheet"));
  const sheet = await page.$eval("#quotation", (el) => ({
    heading: [...el.querySelectorAll("h2")].map((h) => h.textContent),
    wire: [...el.querySelectorAll(".wire tr")].map((tr) => [...tr.cells].map((c) => c.textContent)),
    memo: el.querySelector(".memo td") && el.querySelector(".memo td").textContent,
  }));
  assert.ok(sheet.heading.includes("線材データ"));
  assert.deepEqual(sheet.wire.map((r) => r[0]), ["項目", "導電率", "抵抗値", "導体部重量", "絶縁部重量", "合計重量"]);
  // The figures are the data sheet's own: its resistance line's value.
  const value = (i) => lines[i].slice(lines[i].lastIndexOf("=") + 1).trim();
  assert.deepEqual(sheet.wire[2].slice(1, 4), [value(3), value(5), value(4)]);
  assert.equal(sheet.wire[2][4], "Ω/km");
  assert.equal(sheet.memo, "巻線機 2 号で");
  await page.close();
});

// The form fills the browser's window in proportion, as the desktop's form
// fills its own; every dialog stays inside the window, down to the inside
// of a browser on a 1366 × 768 screen.
test("the form scales to the window; the dialogs fit inside it; the tab has its icon", async () => {
  const sizes = [[1366, 768], [1366, 657], [1024, 600], [1920, 1040]];
  for (const [width, height] of sizes) {
    const { page } = await openPage(browser);
    await page.setViewport({ width, height });
    const where = `${width} × ${height}`;
    const form = await page.$eval("#form", (el) => el.getBoundingClientRect().toJSON());
    assert.ok(form.right <= width && form.bottom <= height, `${where}: the form ${JSON.stringify(form)}`);
    assert.ok(form.width >= 0.9 * (width - 24) || form.bottom >= 0.9 * height, `${where}: the form fills it`);
    // In proportion: the design's 852 × 438.
    assert.ok(Math.abs(form.width / form.height - 852 / 438) < 0.02, `${where}: ${form.width} × ${form.height}`);
    // A press still lands where the person clicks.
    await typeInto(page, "Text1(2)", "25");
    await page.click(sel("Command1"));
    assert.equal((await state(page)).Text1[2], "25", where);
    assert.equal((await state(page)).results_current, true, where);
    for (const open of [
      () => page.click('#menu [data-command="fields"]'),
      () => page.click('#menu [data-command="wires"]'),
      () => page.click('#menu [data-command="help"]'),
      () => page.click('#menu [data-command="quote"]'),
      () => page.click('#menu [data-command="prices"]'),
      () => page.click('#menu [data-command="company"]'),
      () => page.click(sel("Command2")),
    ]) {
      await open();
      const box = await page.$eval("dialog[open]", (d) => ({ id: d.id, ...d.getBoundingClientRect().toJSON() }));
      assert.ok(box.left >= 0 && box.top >= 0 && box.right <= width && box.bottom <= height,
        `${where}: #${box.id} ${JSON.stringify(box)}`);
      if (box.id === "sheet") await page.click("#sheet-close");
      else await page.keyboard.press("Escape");
      await page.waitForFunction(() => !document.querySelector("dialog[open]"));
    }
    await page.close();
  }
  const { page } = await openPage(browser);
  assert.match(await page.$eval('link[rel="icon"]', (l) => l.href), /^data:image\/svg\+xml,/);
  await page.close();
});
