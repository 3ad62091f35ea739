// The page: builds the window from the control table, forwards every event
// to the form model (WebAssembly) and shows the state the model returns. It
// holds no rule of the window and no calculation of its own: what each
// control shows, the texts and the outputs' contents all come from the model.
/* exported kelvaneStart */
"use strict";

const TWIPS_PER_PIXEL = 15;
const REFERENCE_DRAWING = "@REFERENCE_DRAWING@";

let form = null;          // the model: Module.PageForm
let design = null;        // the control table, the note and the texts
let texts = null;         // the texts of the page's own dialogs
let state = null;         // the last state shown
let items = null;         // the job's items as the list last showed them
let windings = null;      // the windings of the item shown as the bar last showed them
let stackPresses = 0;     // presses of a stack already shown
let stackSaid = 0;        // refusals of a stack's press already said
let leavingBar = false;   // a box of the windings' bar is losing the focus: it goes where the user put it
let shownMessages = 0;    // messages of the model already shown
let shownSelects = 0;     // select requests already carried out
let shownPrints = 0;      // F12 presses already carried out
let syncing = false;      // the page itself is moving the focus
let dialogOpen = false;   // a message waits for OK: the window takes no input
let printing = false;     // the page's own print (F12, 見積計算書) is under way
const elements = new Map();  // control name → element

const px = (twips) => twips / TWIPS_PER_PIXEL;
const rgb = (c) => `rgb(${c[0]}, ${c[1]}, ${c[2]})`;
const byId = (id) => document.getElementById(id);
// The value a control shows, at its path in the model's state.
const at = (path) => path.reduce((value, key) => value[key], state);

// ---------------------------------------------------------------------------
// Building the window

function fontOf(c) {
  // The design's Japanese Gothic at its point size; the stack picks the face
  // the machine has.
  return `${c.points}pt var(--face)`;
}

function place(el, c) {
  el.classList.add("c");
  el.style.left = px(c.left) + "px";
  el.style.top = px(c.top) + "px";
  el.style.width = px(c.width) + "px";
  el.style.height = px(c.height) + "px";
  el.style.font = fontOf(c);
  el.dataset.control = c.id;
  elements.set(c.id, el);
  if (!c.visible) el.setAttribute("hidden-by-form", "");
}

function focusable(el, c) {
  // tabindex 0 would mean "in document order"; the design's indices start at 0.
  el.tabIndex = c.tabIndex + 1;
}

function buildControl(c, parent) {
  let el = null;
  switch (c.kind) {
    case "TextBox":
      el = document.createElement("input");
      el.type = "text";
      el.spellcheck = false;
      el.autocomplete = "off";
      el.value = c.text;
      if (c.greys) el.classList.add("result");
      el.readOnly = c.readOnly;
      if (c.background) el.style.background = rgb(c.background);
      place(el, c);
      focusable(el, c);
      el.addEventListener("input", () => edited(c.id, el));
      break;
    case "Label": {
      el = document.createElement("div");
      el.className = "label";
      if (c.align === "left") el.classList.add("left");
      if (c.wraps) el.classList.add("note");
      if (c.greys) el.classList.add("result");
      el.textContent = c.text;
      place(el, c);
      break;
    }
    case "OptionButton": {
      el = document.createElement("label");
      el.className = "option";
      const input = document.createElement("input");
      input.type = "radio";
      input.name = c.group;
      input.dataset.control = c.id;
      el.append(input, document.createTextNode(c.text));
      if (c.background) el.style.background = rgb(c.background);
      place(el, c);
      elements.set(c.id, input);
      el.dataset.control = c.id;
      focusable(input, c);
      // The model switches the button on, or not, and render() shows which.
      // The click is not cancelled: a cancelled click on a radio button puts
      // back the button that was on before, after render() has run.
      input.addEventListener("click", () => buttonPressed(c.id));
      input.addEventListener("keydown", (e) => optionArrow(e, c));
      break;
    }
    case "CommandButton":
      el = document.createElement("button");
      el.type = "button";
      el.className = "command";
      el.textContent = c.text;
      place(el, c);
      focusable(el, c);
      el.addEventListener("click", () => buttonPressed(c.id));
      break;
    case "Frame": {
      el = document.createElement("fieldset");
      const legend = document.createElement("legend");
      legend.textContent = c.text;
      el.append(legend);
      place(el, c);
      break;
    }
    case "Rectangle":
      if (c.section) {
        el = document.createElement("canvas");
        el.id = "drawing";
      } else {
        el = document.createElement("div");
        el.className = "panel";
      }
      el.style.background = rgb(c.background);
      el.style.border = `1px solid ${rgb(c.foreground)}`;
      place(el, c);
      break;
    case "Picture":
      el = document.createElement("img");
      el.src = REFERENCE_DRAWING;
      el.alt = "巻枠の形（丸形・角形・扇形）と寸法";
      el.draggable = false;
      place(el, c);
      break;
    default:
      return;  // the turns and lines are painted on the drawing panel
  }
  (parent || byId("form")).append(el);
}

// What a control must show whole on one line, in a smaller size when its
// design width is too narrow for the face the machine has: its caption, or
// for a box a result with three whole digits. The note wraps instead.
// The size goes down from the design's in quarter points, to 5 pt at least.
const measure = document.createElement("canvas").getContext("2d");
function fitText(c, face) {
  const el = elements.get(c.id);
  if (!el) return;
  const outer = el.closest(".c") || el;
  const text = c.fit;
  if (!text) return;
  // The room the control's own frame and padding leave for the text.
  const frame = { TextBox: 6, OptionButton: 14, CommandButton: 6, Label: 0 }[c.kind];
  if (frame === undefined) return;
  const room = px(c.width) - frame;
  const width = (points) => {
    measure.font = `${points}pt ${face}`;
    return measure.measureText(text).width;
  };
  const designed = width(c.points);
  if (c.points <= 5 || designed <= room) return;
  // A text's width grows in proportion to its size: the largest size the
  // room gives in proportion, measured once to be sure. The text is not
  // measured at the sizes on the way: the first text at a size makes the
  // browser look for every face of the stack at that size, some 20 ms
  // where the first faces are missing, as on a machine without Windows'.
  const below = (points) => c.points - 0.25 * Math.ceil((c.points - points) / 0.25);
  const smallest = below(5) + 0.25;  // the last size above 5 pt
  let points = Math.max(smallest, below(c.points * room / designed));
  while (points > 5 && width(points) > room) points -= 0.25;
  outer.style.fontSize = points + "pt";
}

function buildWindow() {
  design = JSON.parse(Module.PageForm.controls());
  texts = design.texts;
  const root = byId("form");
  root.style.width = px(design.width) + "px";
  root.style.height = px(design.height) + "px";
  // The page's face and the form's scale read before there are controls:
  // each read styles or lays out the page, now without them.
  const face = getComputedStyle(document.documentElement).getPropertyValue("--face");
  scaleWindow();
  // Frames first, so the buttons inside them find their parent.
  const frames = new Map();
  for (const c of design.controls) {
    if (c.kind !== "Frame") continue;
    buildControl(c);
    frames.set(c.id, elements.get(c.id));
  }
  for (const c of design.controls) {
    if (c.kind === "Frame") continue;
    buildControl(c, c.container ? frames.get(c.container) : null);
  }
  for (const c of design.controls) fitText(c, face);
  const stale = design.staleNote;
  const note = document.createElement("div");
  note.id = "stale-note";
  note.className = "c";
  note.textContent = stale.text;
  Object.assign(note.style, {
    left: px(stale.left) + "px", top: px(stale.top) + "px",
    width: px(stale.width) + "px", height: px(stale.height) + "px",
  });
  root.append(note);
  byId("sheet-title").textContent = texts.sheetCaption;
  sizeDrawing();
  window.addEventListener("resize", () => {
    fitWindow();
    if (state) drawSection();
  });
  root.addEventListener("focusin", focusArrived);
  root.addEventListener("pointerdown", mouseDown, true);
  window.addEventListener("pointerup", mouseUp, true);
  root.addEventListener("keydown", keyPressed);
}

// The form fills the browser's window as the desktop's form fills its own:
// every control in proportion, from half to two and a half times its design
// size, and the drawing at the screen's own resolution.
let formScale = 1;  // the form's size against its design
function fitWindow() {
  scaleWindow();
  sizeDrawing();
}
function scaleWindow() {
  const root = byId("form");
  const top = byId("window").getBoundingClientRect().top;
  const scale = Math.max(0.5, Math.min(2.5,
    (document.documentElement.clientWidth - 24) / px(design.width),
    (window.innerHeight - top - 20) / px(design.height)));
  root.style.zoom = String(scale);
  formScale = scale;
}
function sizeDrawing() {
  const canvas = byId("drawing");
  const panel = design.controls.find((c) => c.section);
  const ratio = (window.devicePixelRatio || 1) * formScale;
  canvas.width = Math.round(px(panel.width) * ratio);
  canvas.height = Math.round(px(panel.height) * ratio);
}

// ---------------------------------------------------------------------------
// Showing the state

function drawSection() {
  const canvas = byId("drawing");
  const panel = design.controls.find((c) => c.section);
  const ctx = canvas.getContext("2d");
  ctx.setTransform(1, 0, 0, 1, 0, 0);
  ctx.clearRect(0, 0, canvas.width, canvas.height);
  const scale = canvas.width / panel.width;
  // The drawing is in the window's twips; the panel starts at its left and top.
  ctx.setTransform(scale, 0, 0, scale, -panel.left * scale, -panel.top * scale);
  const shown = (c) => c.state && state.visible[c.id] !== false;
  if (windings && windings.section) {
    drawStack(ctx, panel, windings.section, shown);
    return;
  }
  for (const c of design.controls) {
    if (c.kind !== "Line" || !shown(c)) continue;
    const [x1, y1, x2, y2] = at(c.state);
    ctx.lineWidth = 2 * TWIPS_PER_PIXEL;
    ctx.strokeStyle = rgb(c.foreground);
    ctx.beginPath();
    ctx.moveTo(x1, y1);
    ctx.lineTo(x2, y2);
    ctx.stroke();
  }
  // The turns: circles of the diameter given, filled in the template's colour.
  for (const c of design.controls) {
    if (c.kind !== "Circle" || !shown(c)) continue;
    ctx.lineWidth = TWIPS_PER_PIXEL;
    ctx.strokeStyle = "#000";
    ctx.fillStyle = rgb(c.foreground);
    for (const [left, top, d, filled] of at(c.state)) {
      ctx.beginPath();
      ctx.ellipse(left + d / 2, top + d / 2, d / 2, d / 2, 0, 0, 2 * Math.PI);
      if (filled) ctx.fill();
      ctx.stroke();
    }
  }
}


// The shade of each winding in the stack's drawing, the desktop's eight:
// greys 125, 225, 50, 175, 75, 200, 100 and 150 in turn, the usual
// transformer's three far apart.
const WINDING_SHADES = [
  [0x45, 0x8a, 0xd0], [0xee, 0xe5, 0xb9], [0x12, 0x47, 0x36], [0xdb, 0xa5, 0x6e],
  [0x63, 0x24, 0x91], [0xb2, 0xe5, 0x99], [0xba, 0x3a, 0x2e], [0xdb, 0x68, 0xa1],
];
const shadeOf = (winding) => WINDING_SHADES[winding % WINDING_SHADES.length];
// Black or white, whichever reads on the shade.
const onShade = (c) => ((c[0] * 11 + c[1] * 16 + c[2] * 5) / 32 < 128 ? "#fff" : "#000");

// An item of several windings, its stack computed: the former line and the
// flanges, the tape between the windings hatched, each winding's turns (or
// the band of its layers) in its own shade, and a legend where it covers
// nothing.
function drawStack(ctx, panel, section, shown) {
  if (!section.visible) return;
  const line = (name) => design.controls.find((c) => c.id === name);
  const lines = ["Line1", "Line2", "Line3"].map(line);
  const turns = design.controls.find((c) => c.kind === "Circle");
  ctx.lineWidth = 2 * TWIPS_PER_PIXEL;
  section.lines.forEach(([x1, y1, x2, y2], i) => {
    if (!lines[i] || !shown(lines[i])) return;
    ctx.strokeStyle = rgb(lines[i].foreground);
    ctx.beginPath();
    ctx.moveTo(x1, y1);
    ctx.lineTo(x2, y2);
    ctx.stroke();
  });
  if (turns && !shown(turns)) return;
  ctx.lineWidth = TWIPS_PER_PIXEL;
  for (const { band: [left, top, width, height] } of section.tapes) {
    ctx.fillStyle = "#f2f2f2";
    ctx.strokeStyle = "#808080";
    ctx.fillRect(left, top, width, height);
    ctx.save();
    ctx.beginPath();
    ctx.rect(left, top, width, height);
    ctx.clip();
    ctx.strokeStyle = "#909090";
    const step = 6 * TWIPS_PER_PIXEL;
    for (let x = left - height; x < left + width; x += step) {
      ctx.moveTo(x, top + height);
      ctx.lineTo(x + height, top);
    }
    ctx.stroke();
    ctx.restore();
    ctx.strokeStyle = "#808080";
    ctx.strokeRect(left, top, width, height);
  }
  ctx.font = `${11 * TWIPS_PER_PIXEL}px sans-serif`;
  ctx.textAlign = "center";
  ctx.textBaseline = "middle";
  for (const w of section.windings) {
    const shade = shadeOf(w.winding);
    ctx.fillStyle = rgb(shade);
    ctx.strokeStyle = "#000";
    if (w.layers) {
      const [left, top, width, height] = w.layers;
      ctx.fillRect(left, top, width, height);
      ctx.strokeRect(left, top, width, height);
      const name = `巻線${w.winding + 1}`;
      if (height >= 12 * TWIPS_PER_PIXEL && width >= ctx.measureText(name).width) {
        ctx.fillStyle = onShade(shade);
        ctx.fillText(name, left + width / 2, top + height / 2);
      }
      continue;
    }
    for (const [left, top, d] of w.circles) {
      ctx.beginPath();
      ctx.ellipse(left + d / 2, top + d / 2, d / 2, d / 2, 0, 0, 2 * Math.PI);
      ctx.fill();
      ctx.stroke();
    }
    // The leads, its first and last turn, marked with a dot.
    ctx.fillStyle = onShade(shade);
    for (const [left, top, d, lead] of w.circles) {
      if (!lead) continue;
      ctx.beginPath();
      ctx.ellipse(left + d / 2, top + d / 2, d * 0.18, d * 0.18, 0, 0, 2 * Math.PI);
      ctx.fill();
    }
  }
  drawLegend(ctx, panel, section);
}

// A swatch and the name of each winding in the panel's top right corner,
// left out where it would cover the drawing.
function drawLegend(ctx, panel, section) {
  const row = 210, swatch = 120, gap = 60, margin = 75;
  ctx.textAlign = "left";
  const names = section.windings.map((w) => `巻線${w.winding + 1}`);
  const width = swatch + gap + Math.max(...names.map((n) => ctx.measureText(n).width));
  const left = panel.left + panel.width - margin - width;
  const top = panel.top + margin;
  const bottom = top + row * names.length;
  const reach = [section.lines[2][0]];
  for (const w of section.windings) {
    if (w.layers) reach.push(w.layers[0] + w.layers[2]);
    for (const [l, , d] of w.circles) reach.push(l + d);
  }
  const lowest = Math.min(section.lines[1][3], ...section.windings.flatMap((w) =>
    w.layers ? [w.layers[1]] : w.circles.map((c) => c[1])));
  if (Math.max(...reach) + gap > left && lowest - gap < bottom) return;
  section.windings.forEach((w, i) => {
    const y = top + i * row;
    ctx.fillStyle = rgb(shadeOf(w.winding));
    ctx.strokeStyle = "#000";
    ctx.fillRect(left, y + (row - swatch) / 2, swatch, swatch);
    ctx.strokeRect(left, y + (row - swatch) / 2, swatch, swatch);
    ctx.fillStyle = "#000";
    ctx.fillText(names[i], left + swatch + gap, y + row / 2);
  });
}

function setVisible(name, shown) {
  const el = elements.get(name);
  if (!el) return;
  const outer = el.closest(".c") || el;
  if (shown) outer.removeAttribute("hidden-by-form");
  else outer.setAttribute("hidden-by-form", "");
}

function render() {
  state = JSON.parse(form.state());
  renderWindings();
  for (const c of design.controls) {
    if (c.kind === "TextBox") setBoxText(c.id, at(c.state));
    if (c.onWhen) elements.get(c.id).checked = state[c.onWhen[0]] === c.onWhen[1];
  }
  for (const [name, text] of Object.entries(state.captions)) elements.get(name).textContent = text;
  for (const [name, shown] of Object.entries(state.visible)) setVisible(name, shown);
  byId("form").classList.toggle("stale", !state.results_current);
  document.title = JSON.parse(form.document()).title;
  drawSection();
  showSheet();
  syncFocus();
  renderItems();
  // The 見積 pane's prices follow the results.
  if (pane.open) showPaneQuote();
  if (state.select_requests > shownSelects) {
    shownSelects = state.select_requests;
    const el = elements.get(state.focus);
    if (el && el.select) el.select();
  }
  if (state.print_requests > shownPrints) {
    shownPrints = state.print_requests;
    printWindow();
  }
  showMessages();
}

function setBoxText(name, text) {
  const el = elements.get(name);
  if (el.value !== text) el.value = text;
}

// The page's focus follows the model's, which may have sent it back to a
// box it refused.
// `again`: focus it anew even where the page already has it there, as after
// a message box, which hands the focus back without the box's selection.
// The page's focus stays in the items' bar while the user works there.
function syncFocus(again = false) {
  if (dialogOpen || !state || inItems() || leavingBar) return;
  const el = elements.get(state.focus);
  if (!el || (document.activeElement === el && !again)) return;
  syncing = true;
  try {
    if (document.activeElement === el) el.blur();
    el.focus({ preventScroll: true });
    // As Tab does, the box's text is selected: typing replaces it.
    if (el.type === "text") el.select();
  } finally {
    syncing = false;
  }
}

const inItems = () => document.activeElement !== null &&
  document.activeElement.closest("#items, #windings") !== null;

// The items' bar: the list (the item shown chosen), the names of the item
// shown, and which commands can act now. The list is built again only when
// a row's text has changed.
function renderItems() {
  items = JSON.parse(form.items());
  const list = byId("item-list");
  const rows = items.rows.map((r) => (r.mark ? `${r.label}（${r.mark}）` : r.label));
  if (rows.join("\n") !== [...list.options].map((o) => o.text).join("\n")) {
    list.replaceChildren(...rows.map((text, i) => new Option(text, i)));
  }
  list.value = String(items.shown);
  const shown = items.rows[items.shown];
  if (byId("item-part").value !== shown.partNumber) byId("item-part").value = shown.partNumber;
  if (byId("item-name").value !== shown.name) byId("item-name").value = shown.name;
  // A command that cannot act is greyed but keeps the focus, so that the
  // keyboard is not thrown out of the bar at the end of the list.
  const cannot = {
    add: items.full, duplicate: items.full, remove: items.rows.length < 2,
    up: items.shown === 0, down: items.shown === items.rows.length - 1, computeAll: false,
  };
  for (const b of document.querySelectorAll("#items button")) {
    b.setAttribute("aria-disabled", String(cannot[b.dataset.item]));
  }
}

// Another item is on the form: its messages, selections and print requests
// until now belong to it and were dealt with when it was shown before.
function itemSwitched() {
  const now = JSON.parse(form.state());
  shownMessages = now.messages.length;
  shownSelects = now.select_requests;
  shownPrints = now.print_requests;
  render();
}

// Whether the answer of a call failed; its sentence is shown.
function refused(answer) {
  if (!answer.error) return false;
  ask(answer.error, [["ok", texts.ok]]);
  return true;
}

// Every item whose results are out of date computed, the one shown pressed
// as 計算 presses it; whether all are current now.
function computeAll() {
  const answer = JSON.parse(form.computeAllItems());
  render();
  refused(answer);
  return answer.current;
}

const itemCommands = {
  add() {
    if (!refused(JSON.parse(form.addItem()))) itemSwitched();
  },
  duplicate() {
    if (!refused(JSON.parse(form.duplicateItem()))) itemSwitched();
  },
  async remove() {
    if (items.rows.length < 2) return;
    const answer = await ask(items.removeQuestion, [["remove", texts.remove], ["cancel", texts.cancel]]);
    if (answer === "remove" && form.removeItem()) itemSwitched();
  },
  up() {
    if (form.moveItem(-1)) renderItems();
  },
  down() {
    if (form.moveItem(1)) renderItems();
  },
  computeAll() {
    computeAll();
  },
};

function itemChosen() {
  if (form.showItem(Number(byId("item-list").value))) itemSwitched();
}

function itemNamed() {
  form.setItemNames(byId("item-part").value, byId("item-name").value);
  renderItems();
}


// ---------------------------------------------------------------------------
// The windings of the item shown: the bar above the form. Every rule is the
// model's; the bar shows what it says and hands it what is typed.

const windingBox = (i) => byId(`winding-box-${i}`);
// The bar's rows as last shown: several windings or one, the first shown or
// not. The page starts with one winding, which the first fit allows for.
let barShape = "false true";

// The former's sizes a winding above the first inherits: read only, on a
// background of their own, saying where they come from; its shape is the
// first winding's. Marked again only when what is inherited changes.
let inheritedMarks = "false ";
function markInherited() {
  for (const c of design.controls) {
    const el = elements.get(c.id);
    if (c.kind === "TextBox" && !c.readOnly) {
      const inherited = windings.inherited.includes(c.id);
      el.readOnly = inherited;
      el.classList.toggle("inherited", inherited);
      if (inherited) el.title = windings.inheritedTip;
      else el.removeAttribute("title");
    }
    if (c.onWhen && c.onWhen[0] === "option1") el.disabled = windings.shown > 0;
  }
}

function renderWindings() {
  windings = JSON.parse(form.windings());
  const bar = byId("windings");
  const tabs = byId("winding-tabs");
  if ([...tabs.children].map((b) => b.textContent).join("\n") !== windings.tabs.join("\n")) {
    tabs.replaceChildren(...windings.tabs.map((text, i) => {
      const b = document.createElement("button");
      b.type = "button";
      b.setAttribute("role", "tab");
      b.dataset.tab = String(i);
      b.textContent = text;
      return b;
    }));
  }
  [...tabs.children].forEach((b, i) => b.setAttribute("aria-selected", String(i === windings.shown)));
  // The bar grows a row for a winding above the first: the form is fitted
  // to the window again then, and only then (measuring it on every press
  // would lay the page out each time).
  const shape = `${windings.tabs.length > 1} ${windings.shown === 0}`;
  const reshaped = shape !== barShape;
  barShape = shape;
  bar.classList.toggle("several", windings.tabs.length > 1);
  byId("winding-upper").hidden = windings.shown === 0;
  const name = byId("winding-name");
  if (document.activeElement !== name && name.value !== windings.name) name.value = windings.name;
  windings.boxes.forEach((text, i) => {
    const box = windingBox(i);
    if (document.activeElement !== box && box.value !== text) box.value = text;
  });
  bar.querySelector('[data-winding="add"]').setAttribute("aria-disabled", String(windings.full));
  bar.querySelector('[data-winding="remove"]').setAttribute("aria-disabled", String(windings.shown === 0));
  const marks = `${windings.shown > 0} ${windings.inherited.join()}`;
  if (marks !== inheritedMarks) {
    inheritedMarks = marks;
    markInherited();
  }
  if (reshaped) fitWindow();
  // What a stack's press put on the forms was said by it, not by them.
  if (windings.presses > stackPresses) {
    stackPresses = windings.presses;
    shownMessages = state.messages.length;
  }
  if (windings.said > stackSaid) {
    stackSaid = windings.said;
    const box = windings.refusedBox >= 0 ? windingBox(windings.refusedBox) : null;
    ask(windings.message, [["ok", texts.ok]]).then(() => {
      if (!box) return;
      box.focus();
      box.select();
    });
  }
}

// Another winding is on the form: as another item, its messages until now
// were dealt with when it was shown before.
function windingSwitched() {
  itemSwitched();
}

async function removeWinding() {
  if (windings.shown === 0) return;
  const answer = await ask(windings.removeQuestion, [["remove", texts.remove], ["cancel", texts.cancel]]);
  if (answer === "remove" && form.removeWinding()) windingSwitched();
}

// A box of the bar left, by Enter, Tab or a click elsewhere, with its text:
// whether the model took it (a refusal is said, the box keeps the focus).
function windingBoxLeft(i) {
  const box = windingBox(i);
  const answer = JSON.parse(form.setWindingBox(i, box.value));
  if (answer.error) {
    ask(answer.error, [["ok", texts.ok]]).then(() => {
      box.focus();
      box.select();
    });
    return false;
  }
  render();
  return true;
}

// Enter walks the bar's boxes shown, then on to the form (Shift+Enter back).
function windingKey(event) {
  if (event.key !== "Enter" || event.isComposing || dialogOpen) return;
  event.preventDefault();
  const order = [byId("winding-name"), 0, 1, 2, 3, 4].map((b) => (typeof b === "number" ? windingBox(b) : b))
    .filter((el) => el.offsetParent !== null);
  const at = order.indexOf(event.target);
  const box = [0, 1, 2, 3, 4].find((i) => windingBox(i) === event.target);
  if (box !== undefined && !windingBoxLeft(box)) return;
  const next = order[at + (event.shiftKey ? -1 : 1)];
  if (next) {
    next.focus();
    next.select();
  } else {
    syncFocus(true);
  }
}

function connectWindings() {
  byId("winding-tabs").addEventListener("click", (event) => {
    const tab = event.target.closest("[data-tab]");
    if (!tab || dialogOpen) return;
    if (form.showWinding(Number(tab.dataset.tab))) windingSwitched();
  });
  byId("winding-name").addEventListener("input", (event) => {
    form.setWindingName(event.target.value);
    render();
  });
  byId("windings").addEventListener("click", (event) => {
    const b = event.target.closest("[data-winding]");
    if (!b || dialogOpen || b.getAttribute("aria-disabled") === "true") return;
    if (b.dataset.winding === "add") {
      if (!refused(JSON.parse(form.addWinding()))) windingSwitched();
    } else {
      removeWinding();
    }
  });
  byId("windings").addEventListener("keydown", windingKey);
  for (let i = 0; i < 5; ++i) {
    windingBox(i).addEventListener("blur", () => {
      if (dialogOpen) return;
      leavingBar = true;
      try {
        windingBoxLeft(i);
      } finally {
        leavingBar = false;
      }
    });
  }
}

// ---------------------------------------------------------------------------
// Events, each handed to the model

function focusArrived(event) {
  if (syncing || dialogOpen) return;
  const name = event.target.dataset && event.target.dataset.control;
  if (!name || name === state.focus) return;
  act("moveFocus", name);
}

function edited(name, el) {
  if (!form.editText(name, el.value)) return;
  render();
}

function buttonPressed(name) {
  if (dialogOpen) return;
  // The mouse press moved the focus first (a box left on the way may have
  // been refused and kept it); the button acts all the same.
  act("pressButton", name);
}

// The arrow keys on an option button go to the next one of its group that
// is shown, and switch it on, as the desktop's buttons do: the button chosen is the one
// the model computes with (the browser's own move is not left to race the
// model's answer).
function optionArrow(event, c) {
  const step = { ArrowDown: 1, ArrowRight: 1, ArrowUp: -1, ArrowLeft: -1 }[event.key];
  if (!step || event.altKey || event.ctrlKey || event.metaKey || event.shiftKey) return;
  event.preventDefault();
  if (dialogOpen) return;
  const group = design.controls.filter((o) => o.kind === "OptionButton" && o.group === c.group &&
    !elements.get(o.id).closest("[hidden-by-form]"));
  // As the desktop's buttons: no way on past either end of the group.
  const next = group[group.findIndex((o) => o.id === c.id) + step];
  if (!next) return;
  elements.get(next.id).focus();
  buttonPressed(next.id);
}

// A key the window's own handler has taken (F10, Ctrl+P) goes no further.
function keyPressed(event) {
  if (dialogOpen || event.defaultPrevented || event.isComposing || event.altKey || event.ctrlKey) return;
  const taken = form.keyDown(event.keyCode, event.shiftKey);
  if (form.longWorkLeft()) longWork("keyDown", [event.keyCode, event.shiftKey]);
  else if (taken) render();
  if (taken) event.preventDefault();
}

// One event of the page on the model, then the window as it now is; one
// whose press or target would take long goes to the worker instead, and
// the window is shown when the worker is done.
function act(method, ...args) {
  const taken = form[method](...args);
  if (form.longWorkLeft()) longWork(method, args);
  else render();
  return taken;
}

// ---------------------------------------------------------------------------
// Long work in a worker: a second instance of the same WebAssembly, started
// from the page's own script (a blob: address, so that the one file works
// from a local disk), given a copy of the model's memory and the event. It
// passes on the press's progress and gives its memory back when done: the
// form is then as the event left it there. キャンセル terminates it, and the
// event is carried out here with its work called off, as the desktop's
// キャンセル leaves the window.

const WORKER_PRELUDE = `
let wasmArrived;
const wasm = new Promise((resolve) => { wasmArrived = resolve; });
var Module = {
  instantiateWasm(imports, done) {
    wasm.then((m) => WebAssembly.instantiate(m, imports)).then((instance) => done(instance));
    return {};
  },
  onRuntimeInitialized() { postMessage({ ready: true }); },
};
// The page's memory as large as it is, the event carried out on the form at
// the same address, and the memory back.
function carryOut(job) {
  const short = job.memory.byteLength - Module.HEAPU8.length;
  if (short > 0) Module._malloc(short + 65536);
  Module.HEAPU8.set(new Uint8Array(job.memory));
  Module.PageForm.worker(job.address, JSON.stringify(job.event));
  const back = Module.HEAPU8.slice();
  postMessage({ memory: back.buffer }, [back.buffer]);
}
onmessage = (m) => (m.data.wasm ? wasmArrived(m.data.wasm) : carryOut(m.data));
`;

let worker = null;       // a promise of the worker, started at the first long work
let longEvent = null;    // the event in the worker now
let pressedOn = null;    // the control the mouse button is down on

// A mouse press on a button that left a box whose target is worked out in
// the worker: let go over the button, it is a click, which the button
// carries out once the work is done, as the desktop's button does (the
// progress in front of the window takes the click itself).
function mouseDown(event) {
  const control = event.target.closest("[data-control]");
  pressedOn = control ? control.dataset.control : null;
}
function mouseUp(event) {
  const name = pressedOn;
  pressedOn = null;
  if (!longEvent || longEvent.method !== "moveFocus" || longEvent.args[0] !== name) return;
  const el = elements.get(name);
  const r = (el.closest(".c") || el).getBoundingClientRect();
  const over = event.clientX >= r.left && event.clientX <= r.right && event.clientY >= r.top &&
    event.clientY <= r.bottom;
  if (over && design.controls.some((c) => c.id === name && c.kind !== "TextBox")) longEvent.then = name;
}

// The runtime's script: inline in the one file, kelvane.js beside the page.
function runtimeText() {
  const script = document.scripts[document.scripts.length - 1];
  return script.src ? fetch(script.src).then((r) => r.text()) : Promise.resolve(script.text);
}

function startWorker() {
  worker = worker || runtimeText().then((text) => new Promise((resolve, reject) => {
    const url = URL.createObjectURL(new Blob([WORKER_PRELUDE, text], { type: "text/javascript" }));
    const w = new Worker(url);
    w.onmessage = (m) => {
      if (!m.data.ready) return;
      URL.revokeObjectURL(url);
      resolve(w);
    };
    w.onerror = (e) => reject(e);
    w.postMessage({ wasm: Module.wasmModule });
  }));
  return worker;
}

function longWork(method, args) {
  // then: the button whose click came while the work ran.
  const event = { method, args, then: null, calledOff: false };
  longEvent = event;
  dialogOpen = true;
  const dialog = byId("progress");
  byId("progress-text").textContent = texts.longWork;
  byId("progress-bar").value = 0;
  dialog.classList.add("waiting");
  dialog.showModal();
  byId("progress-cancel").focus();
  setTimeout(() => dialog.classList.remove("waiting"), 300);
  const finished = () => {
    if (longEvent !== event) return;
    longEvent = null;
    dialog.close();
    // Back to the window, or to the 見積 pane whose 計算 it was.
    dialogOpen = pane.open;
    render();
    if (event.then && !event.calledOff) buttonPressed(event.then);
  };
  event.callOff = () => {
    if (longEvent !== event) return;
    event.calledOff = true;
    if (worker) worker.then((w) => w.terminate(), () => {});
    worker = null;
    form.callOffNextWork();
    form[method](...args);
    finished();
  };
  startWorker().then((w) => {
    if (longEvent !== event) return;
    w.onmessage = (m) => {
      if (longEvent !== event) return;
      if (m.data.progress !== undefined) {
        byId("progress-bar").value = Math.round(m.data.progress * 1000);
        return;
      }
      const short = m.data.memory.byteLength - Module.HEAPU8.length;
      if (short > 0) Module._malloc(short + 65536);
      Module.HEAPU8.set(new Uint8Array(m.data.memory));
      finished();
    };
    const memory = Module.HEAPU8.slice();
    w.postMessage({ memory: memory.buffer, address: form.address(), event: { method, args } },
      [memory.buffer]);
  }).catch(() => {
    // No worker here: the work on the page's own thread, as before.
    worker = null;
    if (longEvent !== event) return;
    form.workNextAtOnce();
    form[method](...args);
    finished();
  });
}

// ---------------------------------------------------------------------------
// The menu by keyboard, as a window's menu bar on Windows: Alt (pressed and
// let go alone) or F10 goes to it and back, ← and → move along it, Enter
// or Space chooses, Esc goes back to where the focus was. Ctrl+P prints
// the 見積計算書.

let menuFocused = null;  // the element the menu took the focus from
let altAlone = false;    // Alt is down and no other key has come with it

const menuButtons = () => [...document.querySelectorAll("#menu button")];

function enterMenu() {
  menuFocused = document.activeElement;
  const first = menuButtons()[0];
  first.tabIndex = 0;
  first.focus();
}

// Back to where the focus was: the box the model has it in, or the items' bar.
function leaveMenu() {
  if (!byId("menu").contains(document.activeElement)) return;
  const back = menuFocused;
  menuLeft();
  if (back && back.closest && back.closest("#items")) back.focus();
  else syncFocus(true);
}

function menuLeft() {
  menuFocused = null;
  for (const b of menuButtons()) b.tabIndex = -1;
}

function menuKey(event) {
  const buttons = menuButtons();
  const here = buttons.indexOf(document.activeElement);
  if (here < 0) return;
  const to = { ArrowRight: here + 1, ArrowLeft: here - 1, Home: 0, End: buttons.length - 1 }[event.key];
  if (to !== undefined) {
    event.preventDefault();
    const next = buttons[(to + buttons.length) % buttons.length];
    buttons[here].tabIndex = -1;
    next.tabIndex = 0;
    next.focus();
  } else if (event.key === "Escape" || event.key === "Tab") {
    event.preventDefault();
    leaveMenu();
  }
}

function windowKey(event) {
  altAlone = event.key === "Alt" && !event.ctrlKey && !event.shiftKey && !event.metaKey;
  if (dialogOpen || event.isComposing) return;
  const inMenu = byId("menu").contains(document.activeElement);
  if (event.key === "F10" && !event.shiftKey && !event.ctrlKey && !event.altKey) {
    event.preventDefault();
    if (inMenu) leaveMenu();
    else enterMenu();
  } else if (event.ctrlKey && !event.altKey && event.key.toLowerCase() === "p") {
    // Ctrl+P the 見積計算書, Ctrl+Shift+P the customer's 見積書.
    event.preventDefault();
    if (inMenu) leaveMenu();
    if (event.shiftKey) commands.customerPrint();
    else commands.print();
  } else if (event.key === "Alt") {
    // The browser would go to its own menu on Alt let go.
    event.preventDefault();
  }
}

function windowKeyUp(event) {
  if (event.key !== "Alt" || !altAlone) return;
  altAlone = false;
  event.preventDefault();
  if (dialogOpen) return;
  if (byId("menu").contains(document.activeElement)) leaveMenu();
  else enterMenu();
}

// ---------------------------------------------------------------------------
// Messages, the data sheet, printing

const messageQueue = [];

// A message box with the given buttons; resolves with the value of the one
// pressed (Esc gives "cancel").
function ask(text, buttons) {
  return new Promise((resolve) => {
    messageQueue.push({ text, buttons, resolve });
    if (messageQueue.length === 1) nextMessage();
  });
}

function nextMessage() {
  const m = messageQueue[0];
  if (!m) return;
  const dialog = byId("message");
  byId("message-text").textContent = m.text;
  const row = byId("message-buttons");
  row.replaceChildren();
  for (const [value, label] of m.buttons) {
    const b = document.createElement("button");
    b.value = value;
    b.textContent = label;
    row.append(b);
  }
  dialogOpen = true;
  dialog.returnValue = "";
  dialog.showModal();
  row.firstChild.focus();
}

function messageClosed() {
  const m = messageQueue.shift();
  const answer = byId("message").returnValue || "cancel";
  if (messageQueue.length) {
    nextMessage();
  } else {
    dialogOpen = pane.open;
    syncFocus(true);
  }
  if (m) m.resolve(answer);
}

function showMessages() {
  while (shownMessages < state.messages.length) {
    ask(state.messages[shownMessages++], [["ok", texts.ok]]);
  }
}

function showSheet() {
  const dialog = byId("sheet");
  if (!state.sheet_open) {
    if (dialog.open) dialog.close();
    return;
  }
  const text = state.form2.join("\n");
  const pre = byId("sheet-text");
  if (pre.textContent !== text) {
    pre.textContent = text;
    pre.scrollTop = pre.scrollHeight;
  }
  if (!dialog.open) dialog.show();
}

// F12: the window itself, as the desktop prints it.
function printWindow() {
  document.body.classList.remove("printing-sheet");
  printing = true;
  try {
    window.print();
  } finally {
    printing = false;
  }
}

// ---------------------------------------------------------------------------
// The menu

function download(name, text, type) {
  const url = URL.createObjectURL(new Blob([text], { type }));
  const a = document.createElement("a");
  a.href = url;
  a.download = name;
  document.body.append(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 1000);
}

// The outputs give only results that belong to the inputs, every item's:
// out of date, they ask, and 計算して出力 computes the items first (the one
// shown pressed as a person presses 計算).
async function resultsReady() {
  if (items.outputsCurrent) return true;
  const answer = await ask(texts.outOfDateQuestion,
    [["press", texts.pressAndOutput], ["cancel", texts.cancel]]);
  if (answer !== "press") return false;
  return computeAll();
}

// Before 新規 or 開く throws the job away: its changes since it was opened
// or saved are asked about, as the desktop asks (保存 downloads it first).
async function changesMayGo() {
  const doc = JSON.parse(form.document());
  if (!doc.modified) return true;
  const answer = await ask(`${doc.discardQuestion}\n${doc.discardNote}`,
    [["save", "保存"], ["discard", "保存しない"], ["cancel", texts.cancel]]);
  if (answer === "save") return commands.save();
  return answer === "discard";
}

const commands = {
  async new() {
    if (!(await changesMayGo())) return;
    form.reset();
    shownMessages = shownSelects = shownPrints = 0;
    render();
  },
  async open() {
    if (!(await changesMayGo())) return;
    const input = byId("open-file");
    input.value = "";
    input.click();
  },
  // Whether the job went to a download.
  save() {
    const saved = JSON.parse(form.saveJob());
    if (saved.error) {
      ask(saved.error, [["ok", texts.ok]]);
      return false;
    }
    download(saved.name, saved.text, "application/json");
    render();
    return true;
  },
  fields() {
    const f = JSON.parse(form.fields());
    for (const el of byId("fields").querySelectorAll("input[name], textarea[name]")) {
      el.value = f[el.name];
    }
    byId("f-revision").textContent = f.revision;
    byId("fields-refusal").textContent = "";
    dialogOpen = true;
    byId("fields").showModal();
  },
  async copy() {
    if (!(await resultsReady())) return;
    const { text, html } = JSON.parse(form.clipboard());
    try {
      await navigator.clipboard.write([new ClipboardItem({
        "text/plain": new Blob([text], { type: "text/plain" }),
        "text/html": new Blob([html], { type: "text/html" }),
      })]);
    } catch {
      await ask(texts.clipboardRefused, [["ok", texts.ok]]);
    }
  },
  async csv() {
    if (!(await resultsReady())) return;
    const file = JSON.parse(form.csvFile());
    download(file.name, file.text, file.type);
  },
  async print() {
    if (!(await resultsReady())) return;
    printSheet();
  },
  wires() {
    if (!wires.tables) {
      const answer = JSON.parse(Module.PageForm.wireTables());
      if (answer.error) return ask(answer.error, [["ok", texts.ok]]);
      wires.tables = answer.tables;
      byId("w-table").replaceChildren(...wires.tables.map((t, i) => new Option(t.title, i)));
    }
    // As the desktop's dialog opens: the first table, nothing searched for.
    byId("w-table").value = "0";
    byId("w-search").value = "";
    dialogOpen = true;
    byId("wires").returnValue = "";
    byId("wires").showModal();
    showWireTable(0);
    byId("w-grid").focus();
  },
  help() {
    byId("help").showModal();
  },
};

// The 見積計算書 on paper: built, drawing and all, before the print takes
// the page.
function printSheet() {
  buildQuotation();
  document.body.classList.add("printing-sheet");
  printing = true;
  try {
    window.print();
  } finally {
    printing = false;
    document.body.classList.remove("printing-sheet");
  }
}

// The browser's own print (its menu) takes the 見積計算書 too, while the
// results belong to the inputs; else the window as it is, grey results and
// all.
function browserPrints() {
  if (printing || dialogOpen || !items || !items.outputsCurrent ||
      document.body.classList.contains("printing-customer")) return;
  buildQuotation();
  document.body.classList.add("printing-sheet");
}
function browserPrinted() {
  if (!printing) document.body.classList.remove("printing-sheet");
}

// The file's bytes go to the model as they are: a job that is not UTF-8 is
// refused there with its stray byte's position, not read with U+FFFD.
function fileChosen() {
  const file = byId("open-file").files[0];
  if (!file) return;
  file.arrayBuffer().then((buffer) => {
    const opened = JSON.parse(form.openJob(new Uint8Array(buffer), file.name));
    render();
    if (opened.error) ask(opened.error, [["ok", texts.ok]]);
  });
}

function fieldsClosed() {
  const dialog = byId("fields");
  dialogOpen = false;
  if (dialog.returnValue !== "ok") return syncFocus();
  const fields = {};
  for (const el of dialog.querySelectorAll("input[name], textarea[name]")) fields[el.name] = el.value;
  const taken = JSON.parse(form.setFields(JSON.stringify(fields)));
  if (taken.error) {
    byId("fields-refusal").textContent = taken.error;
    dialogOpen = true;
    dialog.showModal();
    dialog.querySelector(`[name="${taken.box}"]`).select();
    return;
  }
  render();
}

// ---------------------------------------------------------------------------
// 規格線から選ぶ: the tables, the texts under them and what a cell can do all
// come from the model; the page keeps only which table and cell are current.

const wires = { tables: null, table: 0, row: -1, column: -1, choice: false };

function showWireTable(index) {
  wires.table = index;
  const t = wires.tables[index];
  byId("w-how").textContent = t.how;
  const head = document.createElement("tr");
  for (const h of t.headings) {
    const th = document.createElement("th");
    th.textContent = h.label;
    if (h.unit) th.append(document.createElement("br"), `(${h.unit})`);
    head.append(th);
  }
  const grid = byId("w-grid");
  grid.querySelector("thead").replaceChildren(head);
  grid.querySelector("tbody").replaceChildren(...t.rows.map((row, r) => {
    const tr = document.createElement("tr");
    row.cells.forEach((cell, c) => {
      const td = tr.insertCell();
      td.textContent = cell.text;
      td.dataset.row = r;
      td.dataset.column = c;
      if (cell.figure) td.className = "n";
      if (cell.empty) td.classList.add("empty");
      if (cell.choice) td.classList.add("pick");
      if (cell.note) td.title = cell.note;
    });
    const source = tr.insertCell();
    source.textContent = row.source;
    source.className = "source";
    return tr;
  }));
  grid.classList.toggle("rows", !t.cellChoice);
  const remarks = byId("w-remarks");
  remarks.textContent = t.remarks.join("\n");
  remarks.hidden = !t.remarks.length;
  setWireCell(-1, -1);
  findWire();
}

// The current cell (-1: none); in a table whose rows are chosen whole, its row.
function setWireCell(row, column, scroll = "nearest") {
  const t = wires.tables[wires.table];
  if (row >= 0 && !t.cellChoice) column = 0;
  wires.row = row;
  wires.column = column;
  const grid = byId("w-grid");
  for (const el of grid.querySelectorAll(".current")) el.classList.remove("current");
  if (row >= 0) {
    const tr = grid.querySelector("tbody").rows[row];
    (t.cellChoice ? tr.cells[column] : tr).classList.add("current");
    tr.cells[column].scrollIntoView({ block: scroll, inline: "nearest" });
  }
  const lines = JSON.parse(Module.PageForm.wireCell(wires.table, row, column));
  byId("w-source").textContent = lines.source;
  byId("w-chosen").textContent = lines.chosen;
  wires.choice = lines.choice;
  byId("w-choose").disabled = !lines.choice;
}

function findWire() {
  const found = JSON.parse(Module.PageForm.findWire(wires.table, byId("w-search").value));
  byId("w-found").textContent = found.text;
  if (!found.text) return;  // nothing typed: the current cell stays
  setWireCell(found.row, found.column, "center");
}

// The arrow keys move the current cell, passing over cells the source
// leaves empty.
function wireKey(event) {
  const moves = { ArrowUp: [-1, 0], ArrowDown: [1, 0], ArrowLeft: [0, -1], ArrowRight: [0, 1] };
  if (event.key === "Enter") {
    event.preventDefault();
    takeWire();
    return;
  }
  const move = moves[event.key];
  if (!move) return;
  event.preventDefault();
  const t = wires.tables[wires.table];
  if (wires.row < 0) return setWireCell(0, 0);
  let [row, column] = [wires.row, wires.column];
  for (;;) {
    row += move[0];
    column += move[1];
    if (row < 0 || row >= t.rows.length || column < 0 || column >= t.headings.length - 1) return;
    if (!t.rows[row].cells[column].empty) return setWireCell(row, column);
  }
}

function wireClicked(event) {
  const td = event.target.closest("td");
  if (!td || td.classList.contains("empty")) return;
  const row = td.parentElement.sectionRowIndex;
  const column = td.classList.contains("source") ? 0 : Number(td.dataset.column);
  setWireCell(row, column);
  if (event.detail === 2) takeWire();
}

function takeWire() {
  if (wires.choice) byId("wires").close("ok");
}

function wiresClosed() {
  dialogOpen = false;
  if (byId("wires").returnValue === "ok" && wires.choice) {
    form.chooseWire(wires.table, wires.row, wires.column);
    render();
  }
  syncFocus(true);
}

// ---------------------------------------------------------------------------
// The quotation sheet: its title, fields and table as the model gives them
// and the section drawing, laid out for A4 by the print style sheet.

function buildQuotation() {
  const content = JSON.parse(form.quotationSheet());
  const sheet = byId("quotation");
  sheet.replaceChildren();
  const h1 = document.createElement("h1");
  h1.textContent = content.title;
  sheet.append(h1);
  sheet.append(...quotationSection(content, true));
  // An item of several windings: each winding above the first on a page of
  // its own, then the stack's table.
  for (const section of content.windings || []) {
    const page = element("div", "sheet-page");
    const title = element("h1", "", `${content.title}（${section.winding}）`);
    page.append(title, ...quotationSection(section, false));
    sheet.append(page);
  }
  if (content.stack) sheet.append(stackPage(content));
  if (content.memo) {
    const memo = document.createElement("table");
    memo.className = "memo";
    const tr = memo.insertRow();
    const th = document.createElement("th");
    th.textContent = "メモ";
    tr.append(th);
    tr.insertCell().textContent = content.memo;
    sheet.append(memo);
  }
}

// A section of the 見積計算書: the winding's name where the item has
// several, the fields two to a line, the table, the drawing (`withDrawing`:
// the one the form shows) and the wire data.
function quotationSection(content, withDrawing) {
  const parts = [];
  if (content.winding && withDrawing) parts.push(element("h2", "winding", content.winding));
  if (content.fields.length) {
    const t = document.createElement("table");
    t.className = "fields";
    for (let i = 0; i < content.fields.length; i += 2) {
      const tr = t.insertRow();
      for (const f of content.fields.slice(i, i + 2)) {
        const th = document.createElement("th");
        th.textContent = f.item;
        tr.append(th);
        tr.insertCell().textContent = f.value;
      }
    }
    parts.push(t);
  }
  const t = document.createElement("table");
  const heading = t.insertRow();
  for (const cell of content.heading) {
    const th = document.createElement("th");
    th.textContent = cell;
    heading.append(th);
  }
  for (const row of content.rows) {
    const tr = t.insertRow();
    // A gap between the results and the quotation.
    if (!row) {
      tr.insertCell().colSpan = content.heading.length;
      continue;
    }
    row.forEach((cell, j) => {
      const td = tr.insertCell();
      td.textContent = cell;
      if (content.figureColumns.includes(j)) td.className = "n";
    });
  }
  parts.push(t);
  if (withDrawing) {
    // The drawing copied onto a canvas of the sheet's own, there at once: a
    // picture from a data: address would still be decoding when the print
    // takes the page, and the first print would go without it.
    const drawing = document.createElement("div");
    drawing.className = "drawing";
    const source = byId("drawing");
    const copy = document.createElement("canvas");
    copy.width = source.width;
    copy.height = source.height;
    copy.setAttribute("aria-label", "巻線断面図");
    copy.getContext("2d").drawImage(source, 0, 0);
    drawing.append(copy);
    parts.push(drawing);
  }
  parts.push(wireData(content));
  return parts;
}

// The stack on a page of its own: a row a winding from the former outward,
// then the finished coil.
function stackPage(content) {
  const page = element("div", "sheet-page");
  page.append(element("h1", "", `${content.title}（巻線構成）`));
  page.append(element("h2", "", "巻線（内側から順に）"));
  const t = document.createElement("table");
  t.className = "stack";
  const head = t.insertRow();
  for (const text of content.stack.heading) head.append(element("th", "", text));
  for (const row of content.stack.rows) {
    const tr = t.insertRow();
    row.forEach((text, j) => {
      const td = tr.insertCell();
      td.textContent = text;
      if (j >= 3) td.className = "n";
    });
  }
  page.append(t);
  page.append(element("h2", "", "仕上がりコイル"));
  const totals = document.createElement("table");
  totals.className = "totals";
  for (const [item, aligned, , unit] of content.stack.totals) {
    const tr = totals.insertRow();
    tr.append(element("th", "", item));
    const td = tr.insertCell();
    td.textContent = aligned;
    td.className = "n";
    tr.insertCell().textContent = unit;
  }
  page.append(totals);
  return page;
}

// 線材データ as the desktop's sheet gives it: a row a quantity per
// kilometre, its nominal value and those at the diameter's two tolerance
// ends; the data sheet's lines as they are when they are in another shape.
function wireData(content) {
  const block = document.createElement("div");
  block.className = "wire";
  const h2 = document.createElement("h2");
  h2.textContent = "線材データ";
  block.append(h2);
  const note = document.createElement("p");
  note.className = "note";
  block.append(note);
  if (!content.wireLines.length) {
    note.textContent = "素線径(d)が正しくないため作れません";
    return block;
  }
  if (!content.wireRows) {
    const pre = document.createElement("pre");
    pre.textContent = content.wireLines.join("\n");
    block.append(pre);
    return block;
  }
  note.textContent = "1 km 当たり（最小・最大は導体径の公差 ±0.02 mm）";
  const t = document.createElement("table");
  const [heading, ...rows] = content.wireRows;
  const head = t.insertRow();
  for (const text of heading) {
    const th = document.createElement("th");
    th.textContent = text;
    head.append(th);
  }
  for (const row of rows) {
    const tr = t.insertRow();
    row.forEach((text, j) => {
      const td = tr.insertCell();
      td.textContent = text;
      if (j >= 1 && j <= 3) td.className = "n";
    });
  }
  block.append(t);
  return block;
}

// ---------------------------------------------------------------------------
// The quotation: the 見積 pane, the 単価表 and 会社情報 kept in the browser,
// and the customer's 見積書. Every figure, price and sentence is the model's;
// the page keeps only what is typed and where it is stored.

const PRICES_KEY = "kelvane.prices";
const COMPANY_KEY = "kelvane.company";
// Every 版 the page issued: the job as issued and its record, the page's
// own 見積台帳.
const LEDGER_KEY = "kelvane.ledger";

// The browser's storage, or nothing where the browser refuses it (a
// private window, a policy): the page then works with the built-in list.
function stored(key) {
  try {
    return localStorage.getItem(key) || "";
  } catch {
    return "";
  }
}
function store(key, text) {
  try {
    localStorage.setItem(key, text);
    return true;
  } catch {
    ask("ブラウザーに保存できません（このブラウザーでは保存が許されていません）。",
      [["ok", texts.ok]]);
    return false;
  }
}

// The boxes of 見積条件 under `container`, ids after `prefix`: the eight
// figures (without 線材単価 for the price list's defaults), five lot sizes
// and the parts' rows.
function buildTermsEditor(container, prefix, boxes, withWirePrice, typed, onEdit) {
  container.replaceChildren();
  const table = document.createElement("table");
  boxes.forEach((box, i) => {
    if (i === 0 && !withWirePrice) return;
    const tr = table.insertRow();
    const th = document.createElement("th");
    const label = document.createElement("label");
    label.htmlFor = `${prefix}figure-${i}`;
    label.textContent = box.name;
    th.append(label);
    tr.append(th);
    const td = tr.insertCell();
    const input = document.createElement("input");
    input.id = `${prefix}figure-${i}`;
    input.className = "number";
    input.maxLength = 32;
    input.value = typed.figures[i];
    input.addEventListener("input", onEdit);
    td.append(input, ` ${box.unit}`);
    if (i === 0) {
      const note = document.createElement("span");
      note.id = `${prefix}wire-note`;
      td.append(" ", note);
    }
  });
  const lots = table.insertRow();
  const th = document.createElement("th");
  th.textContent = "数量";
  lots.append(th);
  const td = lots.insertCell();
  td.className = "lots";
  typed.quantities.forEach((text, i) => {
    const input = document.createElement("input");
    input.id = `${prefix}quantity-${i}`;
    input.className = "number lot";
    input.maxLength = 32;
    input.title = `数量${i + 1}`;
    input.value = text;
    input.addEventListener("input", onEdit);
    td.append(input);
  });
  td.append(" 個");
  container.append(table);

  const parts = document.createElement("table");
  parts.className = "parts";
  parts.id = `${prefix}parts`;
  const head = parts.createTHead().insertRow();
  for (const text of ["部材名", "円/個", ""]) {
    const h = document.createElement("th");
    h.textContent = text;
    head.append(h);
  }
  const body = parts.createTBody();
  const addRow = (name, price) => {
    const tr = body.insertRow();
    const nameBox = document.createElement("input");
    nameBox.className = "part-name";
    nameBox.maxLength = 10000;
    nameBox.value = name;
    const priceBox = document.createElement("input");
    priceBox.className = "number part-price";
    priceBox.maxLength = 32;
    priceBox.value = price;
    const remove = document.createElement("button");
    remove.type = "button";
    remove.textContent = "削除";
    remove.addEventListener("click", () => {
      tr.remove();
      renumberParts();
      onEdit();
    });
    for (const box of [nameBox, priceBox]) box.addEventListener("input", onEdit);
    tr.insertCell().append(nameBox);
    tr.insertCell().append(priceBox);
    tr.insertCell().append(remove);
    renumberParts();
    return nameBox;
  };
  const renumberParts = () => {
    [...body.rows].forEach((tr, r) => {
      tr.querySelector(".part-name").id = `${prefix}part-${r}`;
      tr.querySelector(".part-name").title = `部材 ${r + 1} 行目の部材名`;
      tr.querySelector(".part-price").title = `部材 ${r + 1} 行目の単価`;
    });
    add.disabled = body.rows.length >= 20;
  };
  const add = document.createElement("button");
  add.type = "button";
  add.textContent = "部材を追加";
  add.title = "部材は 20 点まで入れられます。";
  add.addEventListener("click", () => addRow("", "").focus());
  for (const [name, price] of typed.parts) addRow(name, price);
  renumberParts();
  const partsBox = document.createElement("div");
  partsBox.className = "parts-box";
  const caption = document.createElement("span");
  caption.textContent = "部材";
  partsBox.append(caption, parts, add);
  container.append(partsBox);
}

// The terms' texts as typed, for the model to read.
function typedTerms(prefix, container) {
  const figures = [];
  for (let i = 0; i < 8; ++i) {
    const box = byId(`${prefix}figure-${i}`);
    figures.push(box ? box.value : "");
  }
  const quantities = [];
  for (let i = 0; i < 5; ++i) quantities.push(byId(`${prefix}quantity-${i}`).value);
  const parts = [...container.querySelectorAll(".parts tbody tr")].map((tr) =>
    [tr.querySelector(".part-name").value, tr.querySelector(".part-price").value]);
  return { figures, quantities, parts };
}

// Back to a refused box, its text selected.
function goToBox(id) {
  const box = id && byId(id);
  if (!box) return;
  box.focus();
  if (box.select) box.select();
}

const pane = { open: false };

function showPaneQuote() {
  const q = JSON.parse(form.paneQuote(JSON.stringify(typedTerms("pane-", byId("pane-terms")))));
  byId("pane-source").textContent = q.source;
  byId("pane-refusal").textContent = q.refusal;
  byId("pane-coil").textContent = q.coil;
  byId("pane-calculate").hidden = q.current;
  const body = byId("pane-prices").tBodies[0];
  body.replaceChildren();
  for (const row of q.rows) {
    const tr = body.insertRow();
    for (const cell of row) tr.insertCell().textContent = cell;
  }
  byId("pane-subtotal-caption").textContent = q.subtotalCaption;
  [...byId("pane-totals").rows].forEach((tr, i) => { tr.cells[1].textContent = q.totals[i] || ""; });
}

// The pane's OK (or Enter): the terms taken, or the pane stays open on the
// refused box with the reason.
function paneSubmitted(event) {
  if (event.submitter && event.submitter.value !== "ok") return;
  const taken = JSON.parse(form.takeTerms(JSON.stringify(typedTerms("pane-", byId("pane-terms")))));
  if (!taken.error) return;
  event.preventDefault();
  byId("pane-refusal").textContent = taken.error;
  goToBox(taken.box && `pane-${taken.box}`);
}

function paneClosed() {
  pane.open = false;
  dialogOpen = false;
  render();
}

// 単価表: the rows of wire prices with their material, and the defaults.
function addPriceRow(materials, row) {
  const tr = byId("prices-rows").tBodies[0].insertRow();
  const material = document.createElement("select");
  materials.forEach((name, i) => material.append(new Option(name, String(i))));
  material.value = row[0];
  tr.insertCell().append(material);
  for (let c = 1; c <= 3; ++c) {
    const box = document.createElement("input");
    box.className = "number";
    box.maxLength = 32;
    box.value = row[c];
    tr.insertCell().append(box);
  }
  const remove = document.createElement("button");
  remove.type = "button";
  remove.textContent = "削除";
  remove.addEventListener("click", () => { tr.remove(); numberPriceRows(); });
  tr.insertCell().append(remove);
  numberPriceRows();
  return tr;
}
function numberPriceRows() {
  [...byId("prices-rows").tBodies[0].rows].forEach((tr, r) => {
    tr.querySelectorAll("select, input").forEach((el, c) => { el.id = `prices-row-${r}-${c}`; });
  });
}

function fillPriceList() {
  const list = JSON.parse(form.priceListForm());
  pane.materials = list.materials;
  byId("prices-rows").tBodies[0].replaceChildren();
  for (const row of list.rows) addPriceRow(list.materials, row);
  buildTermsEditor(byId("prices-terms"), "prices-default-", list.boxes, false, list.defaults, () => {});
  byId("prices-saved").textContent = list.saved;
  byId("prices-refusal").textContent = "";
}

// The 単価表's 保存 (or Enter): the list kept in the browser, or the dialog
// stays open on the refused box with the reason.
function pricesSubmitted(event) {
  if (event.submitter && event.submitter.value !== "ok") return;
  const rows = [...byId("prices-rows").tBodies[0].rows].map((tr) =>
    [...tr.querySelectorAll("select, input")].map((el) => el.value));
  const typed = { rows, defaults: typedTerms("prices-default-", byId("prices-terms")) };
  const taken = JSON.parse(form.takePriceList(JSON.stringify(typed)));
  if (taken.error) {
    event.preventDefault();
    byId("prices-refusal").textContent = taken.error;
    goToBox(taken.box && `prices-${taken.box}`);
    return;
  }
  store(PRICES_KEY, taken.text);
}

function pricesClosed() {
  dialogOpen = false;
  syncFocus();
}

function companyClosed() {
  const dialog = byId("company");
  dialogOpen = false;
  if (dialog.returnValue === "ok") store(COMPANY_KEY, JSON.parse(Module.PageForm.companyFile(
    JSON.stringify(companyTyped()))).text);
  syncFocus();
}
function companyTyped() {
  const company = {};
  for (const el of byId("company").querySelectorAll("input[name]")) company[el.name] = el.value;
  return company;
}
function fillCompany(company) {
  for (const el of byId("company").querySelectorAll("input[name]")) el.value = company[el.name] || "";
}

// A JSON file chosen to import: its text to `take`.
let importTaker = null;
function importFile(take) {
  importTaker = take;
  const input = byId("import-file");
  input.value = "";
  input.click();
}
function importChosen() {
  const file = byId("import-file").files[0];
  if (!file || !importTaker) return;
  const take = importTaker;
  file.text().then((text) => take(text, file.name));
}

// The customer's 見積書 on A4, as the model gives its texts.
function cell(tr, text, className) {
  const td = tr.insertCell();
  td.textContent = text;
  if (className) td.className = className;
  return td;
}
function labelled(table, label, value) {
  const tr = table.insertRow();
  const th = document.createElement("th");
  th.textContent = label;
  tr.append(th);
  cell(tr, value);
}
function priceTable(heading, rows) {
  const t = document.createElement("table");
  t.className = "price-table";
  const head = t.createTHead().insertRow();
  for (const text of heading) {
    const th = document.createElement("th");
    th.textContent = text;
    head.append(th);
  }
  const body = t.createTBody();
  for (const row of rows) {
    const tr = body.insertRow();
    row.forEach((text, j) => cell(tr, text, j > 0 ? "n" : ""));
  }
  return t;
}
// 見本 across a sample's page, light grey under everything printed (a
// stroke or a see-through fill over the figures hides some of them in PDF
// readers), so that every figure over it reads.
function sampleMark() {
  const svg = "http://www.w3.org/2000/svg";
  const mark = document.createElementNS(svg, "svg");
  mark.setAttribute("class", "sample");
  mark.setAttribute("viewBox", "0 0 210 297");
  const word = document.createElementNS(svg, "text");
  for (const [name, value] of [["x", "105"], ["y", "148.5"], ["text-anchor", "middle"],
    ["dominant-baseline", "central"], ["transform", "rotate(-30 105 148.5)"], ["font-size", "45"],
    ["font-weight", "bold"], ["fill", "#e4e4e4"]])
    word.setAttribute(name, value);
  word.textContent = "見本";
  mark.append(word);
  return mark;
}

function element(tag, className, text) {
  const el = document.createElement(tag);
  if (className) el.className = className;
  if (text !== undefined) el.textContent = text;
  return el;
}

function buildCustomerSheet(c) {
  const sheet = byId("customer");
  sheet.replaceChildren();
  sheet.classList.toggle("draft", c.draft);
  sheet.append(element("h1", "", c.title));
  const top = element("div", "top");
  const left = element("div", "left");
  const right = element("div", "right");
  const head = element("table", "fields head");
  for (const [label, value] of c.head) labelled(head, label, value);
  right.append(head);
  const to = element("div", "addressee");
  to.append(element("span", "name", c.addressee.name), element("span", "honorific", c.addressee.honorific));
  left.append(to, element("p", "greeting", c.greeting));
  const subject = element("table", "fields");
  labelled(subject, "件名", c.subject);
  if (c.partNumber !== null) labelled(subject, "品番", c.partNumber);
  left.append(subject);
  const amount = element("table", "amount");
  const tr = amount.insertRow();
  const th = document.createElement("th");
  th.textContent = c.amountCaption;
  tr.append(th);
  cell(tr, c.amount, "n");
  left.append(amount);
  if (c.amountNote) left.append(element("p", "note", c.amountNote));
  right.append(element("p", "company", c.company));
  for (const line of c.issuer) right.append(element("p", "issuer", line));
  const stamps = element("table", "stamps");
  const captions = stamps.insertRow();
  const boxes = stamps.insertRow();
  for (const caption of c.stamps) {
    const h = document.createElement("th");
    h.textContent = caption;
    captions.append(h);
    boxes.insertCell();
  }
  right.append(stamps);
  top.append(left, right);
  sheet.append(top);

  sheet.append(element("h2", "", c.itemsTitle), priceTable(c.heading, c.lines));
  const totals = element("div", "totals");
  totals.append(element("p", "note", c.totalsNote));
  const sums = element("table", "sums");
  c.totals.forEach(([label, value], i) => {
    const row = sums.insertRow();
    if (i === c.totals.length - 1) row.className = "total";
    const h = document.createElement("th");
    h.textContent = label;
    row.append(h);
    cell(row, value, "n");
  });
  totals.append(sums);
  sheet.append(totals);
  if (c.byQuantity.length) {
    const block = element("div", "by-quantity");
    block.append(element("h2", "", c.byQuantityTitle), element("p", "note", c.byQuantityNote),
      priceTable(c.heading, c.byQuantity));
    sheet.append(block);
  }
  const terms = element("table", "fields terms");
  for (const [label, value] of c.terms) labelled(terms, label, value);
  sheet.append(terms, element("h2", "", c.remarksTitle), element("p", "remarks", c.remarks));
  // On every page: the quotation's number, and across a sample the word 見本.
  // The pages after the first: 見積書（続き） and the number with its 版.
  const style = element("style", "", `@page customer { @top-left { content: ${JSON.stringify(c.continuedTitle)}; }
    @top-right { content: ${JSON.stringify(c.continued)}; } }
    @page customer:first { @top-left { content: none; } @top-right { content: none; } }`);
  sheet.append(style);
  if (c.draft) sheet.append(sampleMark());
  sheet.dataset.ready = String(performance.now());
}

// 見積書を印刷 (Ctrl+Shift+P): every item priced as the desktop prices it,
// on A4; the browser's print to PDF makes the PDF. The issue is numbered in
// the page's ledger and stored there before it prints, and the job takes
// its 版 (the next 保存 carries it); a job unchanged since its latest 版
// prints that 版 again (再発行), recording nothing. 見本を印刷 records nothing.
async function printCustomerQuotation(issue = true) {
  if (!(await resultsReady())) return;
  const content = JSON.parse(form.customerQuotation(stored(COMPANY_KEY), issue, stored(LEDGER_KEY)));
  if (content.error) {
    await ask(content.error, [["ok", texts.ok]]);
    return;
  }
  if (content.ledger) {
    if (!store(LEDGER_KEY, content.ledger)) return;
    form.takeIssue();
    render();
  }
  buildCustomerSheet(content);
  const title = document.title;
  // The PDF's name and title: 見積書 and its number.
  document.title = content.documentTitle;
  document.body.classList.add("printing-customer");
  printing = true;
  try {
    window.print();
  } finally {
    printing = false;
    document.title = title;
    document.body.classList.remove("printing-customer");
  }
}

// 見積台帳…: the page's issues, newest first, as the search box narrows them.
const ledgerView = { rows: [], current: -1 };

function showLedger() {
  const found = JSON.parse(Module.PageForm.ledgerRows(stored(LEDGER_KEY), byId("ledger-search").value));
  byId("ledger-refusal").textContent = found.error || "";
  ledgerView.rows = found.rows || [];
  ledgerView.current = ledgerView.rows.length ? 0 : -1;
  const body = byId("ledger-grid").querySelector("tbody");
  body.replaceChildren();
  ledgerView.rows.forEach((r, i) => {
    const tr = document.createElement("tr");
    tr.dataset.index = String(i);
    cell(tr, r.number);
    cell(tr, String(r.revision), "n");
    cell(tr, r.issuedOn);
    cell(tr, r.customer);
    cell(tr, r.subject);
    cell(tr, r.person);
    cell(tr, r.total, "n");
    cell(tr, r.validUntil);
    cell(tr, r.expired, "expired");
    body.append(tr);
  });
  byId("ledger-count").textContent = `${ledgerView.rows.length} 件`;
  markLedgerRow();
}

function markLedgerRow() {
  for (const tr of byId("ledger-grid").querySelectorAll("tbody tr")) {
    const current = Number(tr.dataset.index) === ledgerView.current;
    tr.classList.toggle("current", current);
    if (current) tr.scrollIntoView({ block: "nearest" });
  }
  byId("ledger-open").disabled = ledgerView.current < 0;
}

function ledgerKey(event) {
  const last = ledgerView.rows.length - 1;
  const to = { ArrowDown: ledgerView.current + 1, ArrowUp: ledgerView.current - 1, Home: 0, End: last }[event.key];
  if (to !== undefined && last >= 0) {
    event.preventDefault();
    ledgerView.current = Math.max(0, Math.min(last, to));
    markLedgerRow();
  } else if (event.key === "Enter") {
    event.preventDefault();
    openLedgerIssue();
  }
}

// Opens the chosen 版's job as it was issued, asking first about changes.
async function openLedgerIssue() {
  const row = ledgerView.rows[ledgerView.current];
  if (!row) return;
  byId("ledger").close();
  if (!(await changesMayGo())) return;
  const opened = JSON.parse(form.openIssue(stored(LEDGER_KEY), row.number, row.revision));
  shownMessages = shownSelects = shownPrints = 0;
  render();
  if (opened.error) ask(opened.error, [["ok", texts.ok]]);
}

function ledgerClosed() {
  dialogOpen = false;
  syncFocus();
}

Object.assign(commands, {
  quote() {
    const opened = JSON.parse(form.quotationPane());
    buildTermsEditor(byId("pane-terms"), "pane-", opened.boxes, true, opened.typed, showPaneQuote);
    byId("pane-wire-note").textContent = opened.wireNote;
    pane.calculate = opened.calculate;
    pane.open = true;
    dialogOpen = true;
    byId("pane").returnValue = "";
    byId("pane").showModal();
    showPaneQuote();
    byId("pane-figure-0").focus();
  },
  customerPrint: () => printCustomerQuotation(true),
  samplePrint: () => printCustomerQuotation(false),
  ledger() {
    byId("ledger-search").value = "";
    showLedger();
    dialogOpen = true;
    byId("ledger").returnValue = "";
    byId("ledger").showModal();
    byId("ledger-search").focus();
  },
  prices() {
    fillPriceList();
    dialogOpen = true;
    byId("prices").returnValue = "";
    byId("prices").showModal();
  },
  company() {
    const text = stored(COMPANY_KEY);
    const company = text ? JSON.parse(Module.PageForm.readCompany(text)) : {};
    fillCompany(company.error ? {} : company);
    byId("company-refusal").textContent = "";
    dialogOpen = true;
    byId("company").returnValue = "";
    byId("company").showModal();
  },
});

function startQuotation() {
  byId("pane-form").addEventListener("submit", paneSubmitted);
  byId("pane").addEventListener("close", paneClosed);
  byId("pane-calculate").addEventListener("click", () => {
    // The window's 計算, as the desktop's pane presses it; the prices follow.
    act("click", pane.calculate);
    showPaneQuote();
  });
  byId("prices-form").addEventListener("submit", pricesSubmitted);
  byId("prices").addEventListener("close", pricesClosed);
  byId("prices-add").addEventListener("click", () =>
    addPriceRow(pane.materials, ["0", "", "", ""]).querySelector("input").focus());
  byId("prices-export").addEventListener("click", () => {
    const file = JSON.parse(form.priceListFile());
    download(file.name, file.text, file.type);
  });
  byId("prices-import").addEventListener("click", () => importFile((text, name) => {
    const used = JSON.parse(form.usePriceList(text));
    if (used.error) {
      byId("prices-refusal").textContent = `${name}: ${used.error}`;
      return;
    }
    if (store(PRICES_KEY, used.text)) fillPriceList();
  }));
  byId("company").addEventListener("close", companyClosed);
  byId("company-export").addEventListener("click", () => {
    const file = JSON.parse(Module.PageForm.companyFile(JSON.stringify(companyTyped())));
    download(file.name, file.text, file.type);
  });
  byId("company-import").addEventListener("click", () => importFile((text, name) => {
    const company = JSON.parse(Module.PageForm.readCompany(text));
    if (company.error) {
      byId("company-refusal").textContent = `${name}: ${company.error}`;
      return;
    }
    byId("company-refusal").textContent = "";
    fillCompany(company);
  }));
  byId("import-file").addEventListener("change", importChosen);
  byId("ledger").addEventListener("close", ledgerClosed);
  byId("ledger-search").addEventListener("input", showLedger);
  byId("ledger-grid").addEventListener("keydown", ledgerKey);
  byId("ledger-grid").addEventListener("click", (e) => {
    const tr = e.target.closest("tbody tr");
    if (!tr) return;
    ledgerView.current = Number(tr.dataset.index);
    markLedgerRow();
  });
  byId("ledger-grid").addEventListener("dblclick", (e) => {
    if (e.target.closest("tbody tr")) openLedgerIssue();
  });
  byId("ledger-open").addEventListener("click", openLedgerIssue);
  byId("ledger-export").addEventListener("click", () => {
    const file = JSON.parse(Module.PageForm.ledgerFile(stored(LEDGER_KEY)));
    if (file.error) byId("ledger-refusal").textContent = file.error;
    else download(file.name, file.text, file.type);
  });
  // The list kept in the browser; one that cannot be read is said, and the
  // built-in list stands in for it, as the desktop does.
  const prices = stored(PRICES_KEY);
  const used = JSON.parse(form.usePriceList(prices));
  if (used.error) ask(`${used.error}組み込みの単価を使います。`, [["ok", texts.ok]]);
}

// ---------------------------------------------------------------------------
// Start-up, and the hook the page's tests use

function kelvaneStart() {
  form = new Module.PageForm();
  buildWindow();
  byId("loading").remove();
  byId("message").addEventListener("close", messageClosed);
  byId("progress-cancel").addEventListener("click", () => longEvent && longEvent.callOff());
  byId("progress").addEventListener("cancel", (e) => {
    e.preventDefault();
    if (longEvent) longEvent.callOff();
  });
  byId("fields").addEventListener("close", fieldsClosed);
  byId("wires").addEventListener("close", wiresClosed);
  byId("w-table").addEventListener("change", (e) => showWireTable(Number(e.target.value)));
  byId("w-search").addEventListener("input", findWire);
  byId("w-grid").addEventListener("click", wireClicked);
  byId("w-grid").addEventListener("keydown", wireKey);
  byId("help-close").addEventListener("click", () => byId("help").close());
  byId("help").addEventListener("close", syncFocus);
  byId("sheet-close").addEventListener("click", () => { form.closeSheet(); render(); });
  byId("sheet").addEventListener("keydown", (e) => {
    if (e.key === "Escape") { form.closeSheet(); render(); }
  });
  byId("open-file").addEventListener("change", fileChosen);
  byId("item-list").addEventListener("change", itemChosen);
  connectWindings();
  byId("item-part").addEventListener("input", itemNamed);
  byId("item-name").addEventListener("input", itemNamed);
  for (const b of document.querySelectorAll("#items button")) {
    b.addEventListener("click", () => {
      if (!dialogOpen && b.getAttribute("aria-disabled") !== "true") itemCommands[b.dataset.item]();
    });
  }
  for (const b of document.querySelectorAll("#menu button")) {
    // The menu takes no focus from the window: no box is left by using it.
    b.tabIndex = -1;
    b.addEventListener("mousedown", (e) => e.preventDefault());
    b.addEventListener("click", () => {
      if (dialogOpen) return;
      leaveMenu();
      commands[b.dataset.command]();
    });
  }
  byId("menu").addEventListener("keydown", menuKey);
  byId("menu").addEventListener("focusout", (e) => {
    if (!byId("menu").contains(e.relatedTarget)) menuLeft();
  });
  // Before the window's own keys, which may open the quotation's dialogs.
  window.addEventListener("pointerdown", quotationAfterPaint, true);
  window.addEventListener("keydown", quotationAfterPaint, true);
  window.addEventListener("keydown", windowKey, true);
  window.addEventListener("keyup", windowKeyUp, true);
  window.addEventListener("beforeprint", browserPrints);
  window.addEventListener("afterprint", browserPrinted);
  // Closing or reloading the tab with changes not saved: the browser asks.
  window.addEventListener("beforeunload", (e) => {
    if (!JSON.parse(form.document()).modified) return;
    e.preventDefault();
    e.returnValue = "";
  });
  render();
  window.kelvane = {
    // kelvane-replay's steps on the page's form; its JSON state as text.
    replay(steps) {
      const document = Array.isArray(steps) ? { steps } : steps;
      const out = form.replay(typeof document === "string" ? document : JSON.stringify(document));
      // The replay's messages and print requests are in its answer, not
      // shown on the page.
      const after = JSON.parse(form.state());
      shownMessages = after.messages.length;
      shownPrints = after.print_requests;
      render();
      return out;
    },
    state: () => JSON.parse(form.state()),
    // The items as the list shows them.
    items: () => JSON.parse(form.items()),
    // The windings of the item shown as the bar shows them.
    windings: () => JSON.parse(form.windings()),
    // The CSV file's text as the model's writer gives it now.
    csv: () => JSON.parse(form.csvFile()).text,
    // 新規 without its question, for a test that replays one list after
    // another.
    reset() {
      form.reset();
      shownMessages = shownSelects = shownPrints = 0;
      render();
    },
    // The page answers: the form and the quotation's dialogs with the
    // price list kept in the browser.
    ready: false,
  };
  // The form is built and shown; the browser paints it next.
  document.dispatchEvent(new Event("kelvane-ready"));
  requestAnimationFrame(() => setTimeout(quotationAfterPaint));
}

// The quotation's dialogs and the price list kept in the browser (reading
// the browser's storage the first time takes some 10 ms) come after the
// form's first paint, or at once when a key or the mouse comes first.
function quotationAfterPaint() {
  if (window.kelvane.ready) return;
  startQuotation();
  window.kelvane.ready = true;
  window.removeEventListener("pointerdown", quotationAfterPaint, true);
  window.removeEventListener("keydown", quotationAfterPaint, true);
}
