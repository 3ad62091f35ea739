import { launch, openPage } from "../tests/web/browser.js";
const { browser, close } = await launch();
try {
  const { page } = await openPage(browser);
  const r = await page.evaluate(() => {
    kelvane.replay([{ set: "Text1(2)", text: "1000000" }]);
    const button = document.querySelector('[data-control="Command1"]');
    button.click();
    const click = [], replay = [], state = [], windings = [], items = [];
    for (let i = 0; i < 15; ++i) {
      let t = performance.now(); button.click(); click.push(performance.now() - t);
      t = performance.now(); kelvane.replay([{ click: "Command1" }]); replay.push(performance.now() - t);
      t = performance.now(); kelvane.state(); state.push(performance.now() - t);
      t = performance.now(); kelvane.windings(); windings.push(performance.now() - t);
      t = performance.now(); kelvane.items(); items.push(performance.now() - t);
    }
    const med = (xs) => [...xs].sort((a, b) => a - b)[7];
    return { click: med(click), replayAndRender: med(replay), state: med(state), windings: med(windings), items: med(items) };
  });
  console.log(JSON.stringify(r));
} finally { await close(); }
