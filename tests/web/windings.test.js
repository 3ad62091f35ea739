// Several windings on one former in the page: the bar above the form, the
// stack pressed through the same C++ as the desktop's, its drawing, and the
// windings kept in the job the page saves.
import { test, before, after } from "node:test";
import assert from "node:assert/strict";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { allowDownloads, downloadedFile, launch, openPage, replay, sel, state, takeMessage } from "./browser.js";

let browser, close;
before(async () => ({ browser, close } = await launch()));
after(async () => close && (await close()));

// A primary of thin aluminium and two secondaries over tape, the last one
// copper on tape typed in full-width digits, as the desktop saves it.
const JOB_FILE = new URL("transformer.kelvane", import.meta.url).pathname;
const JOB = JSON.parse(fs.readFileSync(JOB_FILE, "utf8"));
const INPUT_KEYS = ["bareDiameter", "finishedDiameter", "turns", "leadLength", "referenceThickness",
  "innerDiameter", "sideA", "sideB", "cornerR1", "cornerR2", "fanRadius", "fanAngle", "fanWideWidth",
  "tension"];
const MATERIALS = ["copper", "aluminium"];
const FORMERS = ["round", "rectangular", "fan"];
const SHADES = [[0x45, 0x8a, 0xd0], [0xee, 0xe5, 0xb9], [0x12, 0x47, 0x36]];

const windings = (page) => page.evaluate(() => kelvane.windings());
const tabTexts = (page) => page.$$eval("#winding-tabs button", (bs) => bs.map((b) => b.textContent));

async function openThroughMenu(page, file) {
  const [chooser] = await Promise.all([
    page.waitForFileChooser(),
    page.click('#menu [data-command="open"]'),
  ]);
  await chooser.accept([file]);
}

// The winding the form shows as the desktop's form presses it typed alone:
// its own texts and the former's sizes it shows (inherited above the first).
function pressedAlone(dir, shown, name) {
  const [first] = JOB.items;
  const item = { ...first, former: FORMERS[shown.option1], material: MATERIALS[shown.option3], inputs: {} };
  delete item.windings;
  delete item.windingName;
  delete item.tapeYenPerLayer;
  INPUT_KEYS.forEach((key, i) => { item.inputs[key] = shown.Text1[i]; });
  const file = path.join(dir, `${name}.kelvane`);
  fs.writeFileSync(file, JSON.stringify({ ...JOB, items: [item] }));
  return replay([{ open: file }]);
}

test("a transformer opened and pressed: each winding is the desktop's press of it on the size it inherits, drawn in its own shade", async () => {
  const { page, problems } = await openPage(browser);
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), "kelvane-windings-"));
  try {
    await openThroughMenu(page, JOB_FILE);
    await page.waitForFunction(() => kelvane.windings().tabs.length === 3);
    assert.deepEqual(await tabTexts(page), ["巻線1 一次", "巻線2 二次", "巻線3"]);
    // 計算 on the first winding presses the whole stack.
    await page.click(sel("Command1"));
    let inner = Number((await state(page)).Text1[5]);
    for (let k = 0; k < 3; ++k) {
      await page.click(`#winding-tabs [data-tab="${k}"]`);
      const shown = await state(page);
      assert.equal(shown.results_current, true, `巻線${k + 1}`);
      const want = pressedAlone(dir, shown, `winding${k}`);
      assert.deepEqual(shown.Text2, want.Text2, `巻線${k + 1}'s results`);
      const d = Number(shown.Text1[5]);
      if (k > 0) {
        // Wound over the one below: a larger D, read only, marked inherited.
        assert.ok(d > inner, `巻線${k + 1}: D ${d} over ${inner}`);
        const box = await page.$eval(sel("Text1(5)"), (el) =>
          ({ readOnly: el.readOnly, title: el.title, inherited: el.classList.contains("inherited") }));
        assert.deepEqual(box, { readOnly: true, title: "下の巻線と層間絶縁の外側から求めた寸法です（継承）", inherited: true });
        assert.equal(await page.$eval("#winding-upper", (el) => el.hidden), false);
      }
      inner = d;
    }
    // The tape texts as the job has them, the third's own price and speed,
    // and the item's price a layer of tape.
    assert.deepEqual((await windings(page)).boxes, ["０．０２５", "0", "1980.5", "400", "1.25"]);

    // The drawing: every winding in order, the tape under the second, and
    // each winding's shade on the canvas.
    const section = (await windings(page)).section;
    assert.deepEqual(section.windings.map((w) => w.winding), [0, 1, 2]);
    assert.deepEqual(section.tapes.map((t) => t.under), [1]);
    const seen = await page.evaluate((shades) => {
      const canvas = document.getElementById("drawing");
      const pixels = canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height).data;
      return shades.map(([r, g, b]) => {
        let n = 0;
        for (let i = 0; i < pixels.length; i += 4)
          if (pixels[i] === r && pixels[i + 1] === g && pixels[i + 2] === b) ++n;
        return n;
      });
    }, SHADES);
    for (const [k, n] of seen.entries()) assert.ok(n > 20, `巻線${k + 1}'s shade: ${n} pixels`);

    // The first winding shown again: its D is its own, to be typed.
    await page.click('#winding-tabs [data-tab="0"]');
    assert.equal(await page.$eval(sel("Text1(5)"), (el) => el.readOnly), false);
    assert.equal(await page.$eval("#winding-upper", (el) => el.hidden), true);
    assert.deepEqual(problems, []);
  } finally {
    await page.close();
    fs.rmSync(dir, { recursive: true, force: true });
  }
});

test("a winding added by hand: the tape refused naming its box and winding, the stack pressed, saved and removed", async () => {
  const { page, problems } = await openPage(browser);
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), "kelvane-windings-"));
  try {
    // One winding looks as ever: the tab and 巻線を追加 alone.
    assert.deepEqual(await tabTexts(page), ["巻線1"]);
    const hidden = (s) => page.$eval(s, (el) => el.offsetParent === null);
    assert.equal(await hidden("#winding-name"), true);
    assert.equal(await hidden('[data-winding="remove"]'), true);
    assert.equal(await hidden("#winding-upper"), true);

    await page.click(sel("Command1"));
    const first = await state(page);
    await page.click('[data-winding="add"]');
    assert.deepEqual(await tabTexts(page), ["巻線1", "巻線2"]);
    let shown = await state(page);
    // Its wire is the one below's; the size it sits on is known once pressed.
    assert.deepEqual(shown.Text1.slice(0, 5), first.Text1.slice(0, 5));
    assert.equal(shown.Text1[6], "");

    // Tape typed and walked with Enter; a thickness that is no number is
    // refused, naming the box and the winding, and keeps the focus.
    await page.click("#winding-box-0", { clickCount: 3 });
    await page.keyboard.type("abc");
    await page.keyboard.press("Enter");
    const refusal = await takeMessage(page);
    assert.match(refusal, /層間絶縁の厚み/);
    assert.match(refusal, /巻線2/);
    await page.waitForFunction(() => document.activeElement.id === "winding-box-0");
    await page.keyboard.press("Backspace");
    await page.keyboard.type("0.1");
    await page.keyboard.press("Enter");
    assert.equal(await page.evaluate(() => document.activeElement.id), "winding-box-1");
    await page.keyboard.type("2");
    await page.keyboard.press("Enter");
    assert.equal(await page.evaluate(() => document.activeElement.id), "winding-box-2");
    // The tape's price a layer, the item's, full-width digits understood.
    await page.click("#winding-box-4", { clickCount: 3 });
    await page.keyboard.type("１．２５");
    await page.keyboard.press("Enter");
    await page.click("#winding-name");
    await page.keyboard.type("二次");
    assert.deepEqual(await tabTexts(page), ["巻線1", "巻線2 二次"]);

    await page.click(sel("Command1"));
    shown = await state(page);
    assert.equal(shown.results_current, true);
    // The new coil's former is rectangular: A grows by the build below and
    // twice the tape.
    const a = Number(shown.Text1[6]);
    assert.ok(a > Number(first.Text1[6]) + 0.4, `A ${a}`);
    assert.deepEqual(shown.Text2, pressedAlone(dir, shown, "upper").Text2);

    // 保存: the job holds both windings.
    const downloads = fs.mkdtempSync(path.join(dir, "downloads-"));
    await allowDownloads(page, downloads);
    await page.click('#menu [data-command="save"]');
    const saved = JSON.parse(fs.readFileSync(await downloadedFile(downloads, ".kelvane"), "utf8"));
    const [item] = saved.items;
    assert.equal(item.windings.length, 1);
    assert.equal(item.windings[0].name, "二次");
    assert.deepEqual(item.windings[0].insulation, { thicknessPerLayer: "0.1", layers: "2" });
    assert.equal(item.windings[0].inputs.turns, first.Text1[2]);
    assert.equal(item.tapeYenPerLayer, 1.25);

    // 巻線を削除 asks first; the one below is shown.
    await page.click('[data-winding="remove"]');
    await page.waitForSelector("#message[open]");
    assert.match(await page.$eval("#message-text", (el) => el.textContent), /^巻線2「二次」を削除しますか？/);
    await page.click('#message-buttons button[value="remove"]');
    await page.waitForFunction(() => kelvane.windings().tabs.length === 1);
    assert.equal((await windings(page)).shown, 0);
    assert.equal(await page.$eval(sel("Text1(6)"), (el) => el.readOnly), false);
    assert.deepEqual(problems, []);
  } finally {
    await page.close();
    fs.rmSync(dir, { recursive: true, force: true });
  }
});
