// The page as a person uses it: seeded random sessions of mouse clicks,
// typing, Enter, Tab and F12 at the page, each action written down as the
// kelvane-replay step it is; the page's window after them equals the
// replay's of the same steps, and the page shows what its state says.
import { test, before, after } from "node:test";
import assert from "node:assert/strict";
import { launch, openPage, replay, replayPart, state } from "./browser.js";

const SESSIONS = Number(process.env.KELVANE_WEB_SESSIONS || 40);

let browser, close;
before(async () => ({ browser, close } = await launch()));
after(async () => close && (await close()));

function generator(seed) {
  let x = seed >>> 0 || 1;
  const next = (n) => {
    x ^= x << 13; x >>>= 0; x ^= x >>> 17; x ^= x << 5; x >>>= 0;
    return x % n;
  };
  return { next, pick: (list) => list[next(list.length)] };
}

const TEXTS = ["0.2", "0.21", "1", "10", "25", "120", "1000", "0.8", "3", "", "0,2", "１２",
  "1e400", "-1", "abc", "12abc", "0.05", "2.5", "40", "7", "1,000", "0"];

// Whether a message box is open; answering one may open the next.
const messageOpen = (page) => page.evaluate(() => document.querySelector("#message").open);

// Presses OK on every message the page shows, as a person reads them.
async function answerMessages(page) {
  // A target whose turns may be many is worked out in the page's worker:
  // its messages come when it is done.
  await page.waitForFunction(() => !document.querySelector("#progress").open, { timeout: 60000 });
  let answered = 0;
  while (await messageOpen(page)) {
    await page.evaluate(() => {
      window.messageClosed = new Promise((done) =>
        document.querySelector("#message").addEventListener("close", () => done(), { once: true }));
    });
    await page.click("#message-buttons button");
    // The close event hands the focus back (or opens the next message).
    await page.evaluate(() => window.messageClosed.then(() => new Promise((r) => setTimeout(r))));
    ++answered;
  }
  return answered;
}

// The mouse pressed on a control and let go: the step `acted`, written down
// in `done`. Where the data sheet's window lies over the control, the
// person closes it first. A message opened by the press (the box left on
// the way refused) takes the release: the control does not act, and the
// person has only moved the focus.
async function mouseOn(page, id, acted, done) {
  const selector = `input[data-control="${id}"], button[data-control="${id}"]`;
  const el = await page.$(selector);
  const box = await el.boundingBox();
  const [x, y] = [box.x + box.width / 2, box.y + box.height / 2];
  const covered = await page.evaluate((sx, sy, sel) => {
    const hit = document.elementFromPoint(sx, sy);
    return !hit || hit.closest("#sheet") !== null && !hit.matches(sel);
  }, x, y, selector);
  if (covered) {
    await page.click("#sheet-close");
    done.push({ close: "Form2" });
  }
  await page.mouse.move(x, y);
  await page.mouse.down();
  const interrupted = await messageOpen(page);
  await page.mouse.up();
  done.push(interrupted ? { focus: id } : acted);
  return !interrupted;
}

// The control the last focus event of the page went to.
const lastFocused = (page) => page.evaluate(() => window.lastFocused);

// One action of a person at the page, chosen from what the window shows now;
// the replay steps it is go into `done`.
async function act(page, g, done) {
  const now = await state(page);
  const shown = (id) => now.visible[id] !== false;
  const inputs = now.Text1.map((_, i) => `Text1(${i})`).filter(shown);
  const targets = now.Text2.map((_, i) => `Text2(${i})`).filter((id, i) => now.editable[i] && shown(id));
  const choice = g.next(10);
  if (choice <= 1) {
    const id = `${choice === 0 ? "Option1" : "Option3"}(${g.next(3)})`;
    await mouseOn(page, id, { click: id }, done);
    return;
  }
  if (choice <= 4) {
    const id = choice === 4 && targets.length ? g.pick(targets) : g.pick(inputs);
    const text = g.pick(TEXTS);
    if (!(await mouseOn(page, id, { type: id, text }, done))) return;
    await page.keyboard.down("Control");
    await page.keyboard.press("a");
    await page.keyboard.up("Control");
    if (text === "") await page.keyboard.press("Backspace");
    else await page.keyboard.type(text);
    return;
  }
  if (choice === 5) {
    await mouseOn(page, "Command1", { click: "Command1" }, done);
    return;
  }
  if (choice === 6) {
    await page.keyboard.press("Enter");
    done.push({ key: 13 });
    return;
  }
  if (choice === 7) {
    // Tab or Shift+Tab: where the browser's tab order goes. Out of the
    // window (past its last control) the person tabs back: nothing happened.
    const shift = g.next(2) === 1;
    await page.evaluate(() => { window.lastFocused = null; });
    if (shift) await page.keyboard.down("Shift");
    await page.keyboard.press("Tab");
    if (shift) await page.keyboard.up("Shift");
    const to = await lastFocused(page);
    if (!to) {
      if (shift) await page.keyboard.press("Tab");
      else {
        await page.keyboard.down("Shift");
        await page.keyboard.press("Tab");
        await page.keyboard.up("Shift");
      }
      return;
    }
    // A control the form does not let have the focus gets it back at once.
    const after = await state(page);
    if (after.focus !== to && after.messages.length === now.messages.length) return;
    done.push({ focus: to });
    return;
  }
  if (choice === 8) {
    if (now.sheet_open && g.next(2) === 0) {
      await page.click("#sheet-close");
      done.push({ close: "Form2" });
      return;
    }
    await mouseOn(page, "Command2", { click: "Command2" }, done);
    return;
  }
  await page.keyboard.press("F12");
  done.push({ key: 123 });
}

// What the page shows of its state: the boxes' texts, the buttons that are
// on, the focus, the note for results out of date and the data sheet.
async function shownOnPage(page) {
  return page.evaluate(() => {
    const value = (id) => document.querySelector(`input[data-control="${id}"]`);
    const s = kelvane.state();
    const optionOn = (group) => [0, 1, 2].findIndex((i) => value(`${group}(${i})`).checked);
    const shown = {
      Text1: s.Text1.map((_, i) => value(`Text1(${i})`).value),
      Text2: s.Text2.map((_, i) => value(`Text2(${i})`).value),
      option1: optionOn("Option1"),
      option3: optionOn("Option3"),
      focus: document.activeElement.dataset.control,
      stale: document.querySelector("#form").classList.contains("stale"),
      sheet: document.querySelector("#sheet").open,
    };
    if (shown.sheet) shown.sheetText = document.querySelector("#sheet-text").textContent;
    return shown;
  });
}

// What the page should show for the window `want` (the replay's JSON) and
// the page's own keys of `got`.
function onPageFor(want, got) {
  const shown = {
    Text1: want.Text1, Text2: want.Text2, option1: want.option1, option3: want.option3,
    focus: want.focus, stale: !want.results_current, sheet: got.sheet_open,
  };
  if (got.sheet_open) shown.sheetText = want.form2.join("\n");
  return shown;
}

test(`${SESSIONS} random sessions of mouse and keyboard at the page equal kelvane-replay's window`, async () => {
  const { page, problems } = await openPage(browser);
  page.on("dialog", (d) => d.dismiss());
  await page.evaluate(() => {
    window.print = () => {};
    document.querySelector("#form").addEventListener("focusin", (e) => {
      window.lastFocused = e.target.dataset.control || null;
    }, true);
  });
  let messages = 0, steps = 0;
  const kinds = {};
  for (let session = 1; session <= SESSIONS; ++session) {
    const g = generator(session * 7919);
    // 新規 from the menu, as a person starts again, throwing the last
    // session's work away when asked.
    await page.click('#menu [data-command="new"]');
    if (await messageOpen(page)) {
      // Answered at the dialog's close event, which hands the focus back.
      await page.evaluate(() => {
        window.messageClosed = new Promise((done) =>
          document.querySelector("#message").addEventListener("close", () => done(), { once: true }));
      });
      await page.click('#message-buttons button[value="discard"]');
      await page.evaluate(() => window.messageClosed.then(() => new Promise((r) => setTimeout(r))));
    }
    const done = [];
    const count = 3 + g.next(10);
    for (let i = 0; i < count; ++i) {
      await act(page, g, done);
      messages += await answerMessages(page);
      // After every action the page shows the state it holds.
      const now = await state(page);
      const where = `session ${session}, after ${JSON.stringify(done)}`;
      assert.deepEqual(await shownOnPage(page), onPageFor(now, now), where);
    }
    await mouseOn(page, "Command1", { click: "Command1" }, done);
    messages += await answerMessages(page);
    steps += done.length;
    for (const step of done) {
      const kind = Object.keys(step)[0];
      kinds[kind] = (kinds[kind] || 0) + 1;
    }

    const where = `session ${session}: ${JSON.stringify(done)}`;
    const want = replay(done);
    assert.ok(!want.error, `${where}: ${want.error}`);
    const got = await state(page);
    assert.deepEqual(replayPart(got), want, where);
    assert.deepEqual(await shownOnPage(page), onPageFor(want, got), where);
  }
  assert.deepEqual(problems, []);
  // The sessions went through refusals and their messages, not only presses.
  assert.ok(messages > SESSIONS / 4, `only ${messages} messages in ${steps} steps`);
  console.log(`# ${SESSIONS} sessions, ${steps} steps (${JSON.stringify(kinds)}), ${messages} messages answered`);
  await page.close();
});

// The items' bar by keyboard alone: reached by Tab from the form, every
// command pressed with Enter, the list moved with the arrow keys; the focus
// stays in the bar while the form shows the item chosen.
test("the items' bar by keyboard: add, name, duplicate, remove, move, switch, compute all", async () => {
  const { page, problems } = await openPage(browser);
  const items = () => page.evaluate(() => kelvane.items());
  const focused = () => page.evaluate(() =>
    document.activeElement.id || document.activeElement.dataset.item || document.activeElement.dataset.control);
  const tab = async (times = 1, shift = false) => {
    if (shift) await page.keyboard.down("Shift");
    for (let i = 0; i < times; ++i) await page.keyboard.press("Tab");
    if (shift) await page.keyboard.up("Shift");
  };
  const labels = async () => (await items()).rows.map((r) => r.label + (r.mark ? `（${r.mark}）` : ""));

  // The first item: 33 turns, pressed.
  await page.click('input[data-control="Text1(2)"]', { clickCount: 3 });
  await page.keyboard.type("33");
  await page.click('button[data-control="Command1"]');
  // Tab leads out of the form into the bar, to the list first.
  for (let i = 0; i < 40 && (await focused()) !== "item-list"; ++i) await tab();
  assert.equal(await focused(), "item-list");

  await tab();
  await page.keyboard.type("A-1");
  await tab();
  await page.keyboard.type("一号");
  await tab();
  assert.equal(await focused(), "add");
  await page.keyboard.press("Enter");
  assert.deepEqual(await labels(), ["品目 1「A-1 一号」", "品目 2（未計算）"]);
  assert.equal((await items()).shown, 1);
  const startUp = (await state(page)).Text1;
  assert.notEqual(startUp[2], "33", "a new item starts from the window's own texts");
  assert.equal(await page.$eval("#item-part", (el) => el.value), "");
  assert.equal(await focused(), "add", "the focus stays on the command");

  await tab();
  await page.keyboard.press("Enter");  // 複製
  assert.equal((await items()).rows.length, 3);
  assert.equal((await items()).shown, 2);
  assert.deepEqual((await state(page)).Text1, startUp);

  await tab();
  await page.keyboard.press("Enter");  // 削除, asked first
  await page.waitForSelector("#message[open]");
  assert.equal(await page.$eval("#message-text", (el) => el.textContent),
    "品目 3を削除しますか？ 削除した品目は元に戻せません。");
  await page.keyboard.press("Enter");
  await page.waitForFunction(() => !document.querySelector("#message[open]"));
  // The answer is taken at the dialog's close event, a task after it closes.
  await page.waitForFunction(() => kelvane.items().rows.length === 2);
  assert.deepEqual(await labels(), ["品目 1「A-1 一号」", "品目 2（未計算）"]);
  assert.equal((await items()).shown, 1);

  await tab();
  await page.keyboard.press("Enter");  // 上へ
  assert.deepEqual(await labels(), ["品目 1（未計算）", "品目 2「A-1 一号」"]);
  assert.equal((await items()).shown, 0);
  await page.keyboard.press("Enter");  // 上へ at the top: nothing
  assert.equal((await items()).shown, 0);
  await tab();
  await page.keyboard.press("Enter");  // 下へ
  assert.deepEqual(await labels(), ["品目 1「A-1 一号」", "品目 2（未計算）"]);

  // Back to the list: the arrow keys choose the item the form shows.
  await tab(7, true);
  assert.equal(await focused(), "item-list");
  await page.keyboard.press("ArrowUp");
  assert.equal((await items()).shown, 0);
  assert.equal((await state(page)).Text1[2], "33");
  assert.equal((await state(page)).results_current, true);
  assert.equal(await page.$eval("#item-name", (el) => el.value), "一号");
  assert.equal(await focused(), "item-list");

  // 全品目を計算: the new item is computed; the one shown stays shown.
  await tab(8);
  assert.equal(await focused(), "computeAll");
  await page.keyboard.press("Enter");
  assert.equal((await items()).outputsCurrent, true);
  assert.deepEqual(await labels(), ["品目 1「A-1 一号」", "品目 2"]);
  assert.equal((await items()).shown, 0);
  assert.deepEqual(problems, []);
  await page.close();
});
