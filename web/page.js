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
let shownMessages = 0;    // messages of the model already shown
let shownSelects = 0;     // select requests already carried out
let shownPrints = 0;      // F12 presses already carried out
let syncing = false;      // the page itself is moving the focus
let dialogOpen = false;   // a message waits for OK: the window takes no input
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
const measure = document.createElement("canvas").getContext("2d");
function fitText(c) {
  const el = elements.get(c.id);
  if (!el) return;
  const outer = el.closest(".c") || el;
  const text = c.fit;
  if (!text) return;
  // The room the control's own frame and padding leave for the text.
  const frame = { TextBox: 6, OptionButton: 14, CommandButton: 6, Label: 0 }[c.kind];
  if (frame === undefined) return;
  const room = px(c.width) - frame;
  let points = c.points;
  const face = getComputedStyle(document.documentElement).getPropertyValue("--face");
  for (; points > 5; points -= 0.25) {
    measure.font = `${points}pt ${face}`;
    if (measure.measureText(text).width <= room) break;
  }
  if (points < c.points) outer.style.fontSize = points + "pt";
}

function buildWindow() {
  design = JSON.parse(Module.PageForm.controls());
  texts = design.texts;
  const root = byId("form");
  root.style.width = px(design.width) + "px";
  root.style.height = px(design.height) + "px";
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
  for (const c of design.controls) fitText(c);
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
  const canvas = byId("drawing");
  const ratio = window.devicePixelRatio || 1;
  canvas.width = Math.round(canvas.clientWidth * ratio);
  canvas.height = Math.round(canvas.clientHeight * ratio);
  root.addEventListener("focusin", focusArrived);
  root.addEventListener("keydown", keyPressed);
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

function setVisible(name, shown) {
  const el = elements.get(name);
  if (!el) return;
  const outer = el.closest(".c") || el;
  if (shown) outer.removeAttribute("hidden-by-form");
  else outer.setAttribute("hidden-by-form", "");
}

function render() {
  state = JSON.parse(form.state());
  for (const c of design.controls) {
    if (c.kind === "TextBox") setBoxText(c.id, at(c.state));
    if (c.onWhen) elements.get(c.id).checked = state[c.onWhen[0]] === c.onWhen[1];
  }
  for (const [name, text] of Object.entries(state.captions)) elements.get(name).textContent = text;
  for (const [name, shown] of Object.entries(state.visible)) setVisible(name, shown);
  byId("form").classList.toggle("stale", !state.results_current);
  drawSection();
  showSheet();
  syncFocus();
  renderItems();
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
  if (dialogOpen || !state || inItems()) return;
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
  document.activeElement.closest("#items") !== null;

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
// Events, each handed to the model

function focusArrived(event) {
  if (syncing || dialogOpen) return;
  const name = event.target.dataset && event.target.dataset.control;
  if (!name || name === state.focus) return;
  form.moveFocus(name);
  render();
}

function edited(name, el) {
  if (!form.editText(name, el.value)) return;
  render();
}

function buttonPressed(name) {
  if (dialogOpen) return;
  // The mouse press moved the focus first (a box left on the way may have
  // been refused and kept it); the button acts all the same.
  form.pressButton(name);
  render();
}

function keyPressed(event) {
  if (dialogOpen || event.isComposing || event.altKey || event.ctrlKey) return;
  if (!form.keyDown(event.keyCode, event.shiftKey)) return;
  event.preventDefault();
  render();
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
    dialogOpen = false;
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

function printWindow() {
  document.body.classList.remove("printing-sheet");
  window.print();
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

const commands = {
  new() {
    form.reset();
    shownMessages = shownSelects = shownPrints = 0;
    render();
  },
  open() {
    const input = byId("open-file");
    input.value = "";
    input.click();
  },
  save() {
    const saved = JSON.parse(form.saveJob());
    if (saved.error) return ask(saved.error, [["ok", texts.ok]]);
    download(saved.name, saved.text, "application/json");
  },
  fields() {
    const f = JSON.parse(form.fields());
    byId("f-customer").value = f.customer;
    byId("f-quotation").value = f.quotationNumber;
    byId("f-person").value = f.personInCharge;
    byId("f-memo").value = f.memo;
    byId("f-temperature").value = f.workingCelsius;
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
    buildQuotation();
    document.body.classList.add("printing-sheet");
    window.print();
    document.body.classList.remove("printing-sheet");
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

function fileChosen() {
  const file = byId("open-file").files[0];
  if (!file) return;
  file.text().then((text) => {
    const opened = JSON.parse(form.openJob(text, file.name));
    render();
    if (opened.error) ask(opened.error, [["ok", texts.ok]]);
  });
}

function fieldsClosed() {
  const dialog = byId("fields");
  dialogOpen = false;
  if (dialog.returnValue !== "ok") return syncFocus();
  const fields = {};
  for (const el of dialog.querySelectorAll("input, textarea")) fields[el.name] = el.value;
  const taken = JSON.parse(form.setFields(JSON.stringify(fields)));
  if (taken.error) {
    byId("fields-refusal").textContent = taken.error;
    dialogOpen = true;
    dialog.showModal();
    byId("f-temperature").select();
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
  // The fields two to a line.
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
    sheet.append(t);
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
  sheet.append(t);
  const drawing = document.createElement("div");
  drawing.className = "drawing";
  const img = document.createElement("img");
  img.alt = "巻線断面図";
  img.src = byId("drawing").toDataURL("image/png");
  drawing.append(img);
  sheet.append(drawing);
  if (state.form2.length) {
    const wire = document.createElement("div");
    wire.className = "wire";
    wire.textContent = state.form2.join("\n");
    sheet.append(wire);
  }
}

// ---------------------------------------------------------------------------
// Start-up, and the hook the page's tests use

function kelvaneStart() {
  form = new Module.PageForm();
  buildWindow();
  byId("loading").remove();
  byId("message").addEventListener("close", messageClosed);
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
    b.addEventListener("click", () => { if (!dialogOpen) commands[b.dataset.command](); });
  }
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
    // The CSV file's text as the model's writer gives it now.
    csv: () => JSON.parse(form.csvFile()).text,
    // 新規, for a test that replays one list after another.
    reset() {
      commands.new();
    },
    ready: true,
  };
  document.dispatchEvent(new Event("kelvane-ready"));
}
