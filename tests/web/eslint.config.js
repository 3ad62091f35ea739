// The JavaScript lint: the page's script, its tests and the page's benchmark,
// with ESLint's recommended rules. Run from the source tree's root:
//   tests/web/node_modules/.bin/eslint --config tests/web/eslint.config.js
import js from "@eslint/js";

// What a browser and Node.js give every script, as far as these files use it.
const browser = Object.fromEntries([
  "window", "document", "navigator", "console", "setTimeout", "requestAnimationFrame",
  "getComputedStyle", "performance", "URL", "Blob", "ClipboardItem", "Event", "Option",
  "Promise", "WebAssembly", "fetch", "Worker", "MutationObserver", "localStorage",
].map((name) => [name, "readonly"]));
const node = Object.fromEntries([
  "process", "console", "setTimeout", "URL", "Buffer",
].map((name) => [name, "readonly"]));

export default [
  {
    files: ["web/page.js", "tests/web/*.js", "bench/page_bench.mjs"],
    ...js.configs.recommended,
  },
  {
    // The page's script runs as a classic script inside the page, beside the
    // Emscripten runtime that defines Module; kelvaneStart is called from the
    // page's other script.
    files: ["web/page.js"],
    languageOptions: {
      sourceType: "script",
      globals: { ...browser, Module: "readonly" },
    },
  },
  {
    files: ["tests/web/*.js", "bench/page_bench.mjs"],
    languageOptions: {
      sourceType: "module",
      // The tests' page.evaluate() callbacks run in the page: its hook too.
      globals: { ...node, ...browser, kelvane: "readonly" },
    },
  },
];
