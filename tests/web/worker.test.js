// Long presses and targets in the page's worker: the desktop's progress
// text and キャンセル, a page that keeps answering meanwhile, and the same
// window as kelvane-replay's at the end, or as it was when called off.
import { test, before, after } from "node:test";
import assert from "node:assert/strict";
import { launch, openPage, replay, replayPart, sel, state, typeInto } from "./browser.js";

let browser, close;
before(async () => ({ browser, close } = await launch()));
after(async () => close && (await close()));

// The longest the page took to answer, over a few looks while the work runs,
// and the progress it showed.
async function watch(page, looks) {
  let slowest = 0;
  const shares = [];
  for (let i = 0; i < looks; ++i) {
    await new Promise((r) => setTimeout(r, 150));
    const asked = Date.now();
    const [open, share] = await page.evaluate(() =>
      [document.querySelector("#progress").open, document.querySelector("#progress-bar").value]);
    slowest = Math.max(slowest, Date.now() - asked);
    if (!open) break;
    shares.push(share);
  }
  return { slowest, shares };
}

test("a press of 2×10⁹ turns shows its progress and キャンセル calls it off; the page answers", async () => {
  const { page, problems } = await openPage(browser);
  await typeInto(page, "Text1(2)", "2000000000");
  await page.click(sel("Command1"));
  await page.waitForSelector("#progress[open]:not(.waiting)", { timeout: 3000 });
  assert.equal(await page.$eval("#progress-text", (el) => el.textContent), "巻線の長さを計算しています…");
  const { slowest, shares } = await watch(page, 4);
  // Held up for seconds before the worker; now a look at the page is answered
  // at once, even on a machine busy with other work.
  assert.ok(slowest < 1000, `the page took ${slowest} ms to answer`);
  assert.ok(shares.at(-1) > shares[0], `the progress went on: ${shares}`);
  // The button is clicked as a person clicks it, while the worker sums.
  await page.click("#progress-cancel");
  await page.waitForFunction(() => !document.querySelector("#progress").open);
  // Called off: the window as the press found it.
  const want = replay([{ type: "Text1(2)", text: "2000000000" }, { focus: "Command1" }]);
  assert.deepEqual(replayPart(await state(page)), want);
  assert.equal(await page.evaluate(() => document.activeElement.dataset.control), want.focus);
  // And the form takes the next press as ever.
  await typeInto(page, "Text1(2)", "25");
  await page.click(sel("Command1"));
  assert.deepEqual(replayPart(await state(page)),
    replay([{ type: "Text1(2)", text: "25" }, { click: "Command1" }]));
  assert.deepEqual(problems, []);
  await page.close();
});

// Worked out in the worker to its end, by the button, by Enter or by a
// target: the window is kelvane-replay's of the same steps.
test("long work done in the worker gives kelvane-replay's window", async () => {
  const cases = [
    { name: "計算 of 3×10⁷ turns",
      person: async (page) => {
        await typeInto(page, "Text1(2)", "30000000");
        await page.click(sel("Command1"));
      },
      steps: [{ type: "Text1(2)", text: "30000000" }, { click: "Command1" }] },
    { name: "Enter on the last box with 4×10⁷ turns, round former",
      person: async (page) => {
        await page.click(sel("Option1(0)"));
        await typeInto(page, "Text1(5)", "20");
        await typeInto(page, "Text1(2)", "40000000");
        await page.click(sel("Text1(5)"));
        await page.keyboard.press("Enter");
        await page.keyboard.press("Enter");
      },
      steps: [{ click: "Option1(0)" }, { type: "Text1(5)", text: "20" }, { type: "Text1(2)", text: "40000000" },
        { focus: "Text1(5)" }, { key: 13 }, { key: 13 }] },
    // A weight 30,000 times the press's: the turns it would take if the
    // turns were all as long, too many to walk here.
    { name: "a weight target 30,000 times the weight of 1,000 turns",
      person: async (page) => {
        await typeInto(page, "Text1(2)", "1000");
        await page.click(sel("Command1"));
        const weight = (await state(page)).Text2[10];
        await typeInto(page, "Text2(10)", String(Math.round(Number(weight.replace(/,/g, "")) * 30000)));
        await page.keyboard.press("Tab");
      },
      steps: null },
  ];
  for (const c of cases) {
    const { page, problems } = await openPage(browser);
    await page.evaluate(() => {
      window.progressShown = false;
      new MutationObserver(() => {
        if (document.querySelector("#progress").open) window.progressShown = true;
      }).observe(document.querySelector("#progress"), { attributes: true });
    });
    await c.person(page);
    await page.waitForFunction(() => !document.querySelector("#progress").open, { timeout: 60000 });
    assert.equal(await page.evaluate(() => window.progressShown), true, `${c.name}: in the worker`);
    const got = await state(page);
    let steps = c.steps;
    if (!steps) {
      steps = [{ type: "Text1(2)", text: "1000" }, { click: "Command1" },
        { type: "Text2(10)", text: await page.$eval(sel("Text2(10)"), (el) => el.value) },
        { focus: got.focus }];
    }
    assert.deepEqual(replayPart(got), replay(steps), c.name);
    assert.deepEqual(problems, [], c.name);
    await page.close();
  }
});
