import { launch, openPage } from "../tests/web/browser.js";
const { browser, close } = await launch();
try {
  const { page } = await openPage(browser);
  await page.evaluate(() => {
    kelvane.replay([{ set: "Text1(2)", text: "1000000" }]);
    document.querySelector('[data-control="Command1"]').click();
  });
  const cdp = await page.createCDPSession();
  await cdp.send("Profiler.enable");
  await cdp.send("Profiler.setSamplingInterval", { interval: 50 });
  await cdp.send("Profiler.start");
  await page.evaluate(() => {
    const b = document.querySelector('[data-control="Command1"]');
    for (let i = 0; i < 200; ++i) b.click();
  });
  const { profile } = await cdp.send("Profiler.stop");
  const self = new Map();
  const byId = new Map(profile.nodes.map((n) => [n.id, n]));
  const counts = new Map();
  for (const s of profile.samples) counts.set(s, (counts.get(s) || 0) + 1);
  for (const [id, c] of counts) {
    const n = byId.get(id);
    const key = `${n.callFrame.functionName || "(anon)"} ${n.callFrame.url.split("/").pop()}:${n.callFrame.lineNumber}`;
    self.set(key, (self.get(key) || 0) + c);
  }
  const total = profile.samples.length;
  [...self.entries()].sort((a, b) => b[1] - a[1]).slice(0, 25).forEach(([k, v]) => console.log((100 * v / total).toFixed(1) + "% " + k));
} finally { await close(); }
