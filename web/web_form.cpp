// The browser page's way into the form model: every event of the page calls
// one of the form's public operations (the same ones the Qt window and the
// replay call) and reads the form's state back as JSON. Nothing here decides
// anything about the coil or the window.
#include <emscripten/bind.h>
#include <emscripten/emscripten.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "core/coil_fields.h"
#include "core/materials.h"
#include "core/number_text.h"
#include "core/press_progress.h"
#include "core/temperature_resistance.h"
#include "core/typed_number.h"
#include "core/winding_stack.h"
#include "customer_sheet.h"
#include "form/control_table.h"
#include "form/diagram_geometry.h"
#include "form/entry_order.h"
#include "form/form1.h"
#include "form/form_job.h"
#include "form/item_forms.h"
#include "form/out_of_date.h"
#include "form/stack_forms.h"
#include "form/stack_section.h"
#include "job/coil_price.h"
#include "job/file_name.h"
#include "job/issue.h"
#include "job/issue_json.h"
#include "job/item_stack.h"
#include "job/job_json.h"
#include "job/money_text.h"
#include "job/price_list.h"
#include "job/quotation_rows.h"
#include "job/quotation_text.h"
#include "job/request_quote.h"
#include "job/requirement.h"
#include "job/results_table.h"
#include "job/stack_table.h"
#include "page_ledger.h"
#include "tools/replay/replay.h"
#include "wiredata/wire_choice.h"
#include "wiredata/wire_picker_text.h"
#include "wiredata/wire_tables.h"

// The worker's message to the page with a share of its long work.
// clang-format off
EM_JS(void, postProgress, (double fraction), { postMessage({ progress: fraction }); });
// clang-format on

namespace kelvane::web {
namespace {

using nlohmann::json;

std::optional<form::ControlId> controlNamed(const std::string& name) {
  auto id = form::parseControlId(name);
  if (!id || !form::findControl(*id)) return std::nullopt;
  return id;
}

json colour(const std::optional<form::Rgb>& rgb) {
  if (!rgb) return nullptr;
  return {rgb->red, rgb->green, rgb->blue};
}

const char* kindName(form::ControlKind kind) {
  switch (kind) {
    case form::ControlKind::TextBox:
      return "TextBox";
    case form::ControlKind::Label:
      return "Label";
    case form::ControlKind::OptionButton:
      return "OptionButton";
    case form::ControlKind::CommandButton:
      return "CommandButton";
    case form::ControlKind::Frame:
      return "Frame";
    case form::ControlKind::Rectangle:
      return "Rectangle";
    case form::ControlKind::Circle:
      return "Circle";
    case form::ControlKind::Line:
      return "Line";
    case form::ControlKind::Picture:
      return "Picture";
  }
  return "";
}

// Where the page finds what a control shows in the form's state (the keys
// of replay::toJson): a box's text, a line or the turns of the drawing.
json stateOf(const form::ControlDesign& c) {
  if (form::inputBoxOf(c.id)) return {"Text1", c.id.index};
  if (form::resultBoxOf(c.id)) return {"Text2", c.id.index};
  switch (form::drawingPartOf(c.id).value_or(form::DrawingPart::LargeCoilNote)) {
    case form::DrawingPart::Turns:
      return {"diagram", "circles"};
    case form::DrawingPart::FormerLine:
      return {"diagram", "line1"};
    case form::DrawingPart::LeftFlange:
      return {"diagram", "line2"};
    case form::DrawingPart::RightFlange:
      return {"diagram", "line3"};
    case form::DrawingPart::LargeCoilNote:
      break;
  }
  return nullptr;
}

// An option button is on when the state's key holds its value.
json onWhen(const form::ControlDesign& c) {
  if (const auto f = form::formerOf(c.id)) return {"option1", static_cast<int>(*f)};
  if (const auto m = form::materialOf(c.id)) return {"option3", static_cast<int>(*m)};
  return nullptr;
}

// What greys while the results are out of date: the result boxes and the
// captions giving their units.
bool greysWhenOutOfDate(const form::ControlDesign& c) {
  if (form::resultBoxOf(c.id)) return true;
  const auto caption = form::captionOf(c.id);
  return caption && caption != form::Caption::OuterRorD;
}

const char* alignment(const form::ControlDesign& c) {
  return form::alignsRight(c) ? "right" : "left";
}

// The 1000-turn note is longer than its box and takes two lines.
bool wraps(const form::ControlDesign& c) {
  return form::drawingPartOf(c.id) == form::DrawingPart::LargeCoilNote;
}

// What a control must show whole on one line, in a smaller size where the
// face the machine has is too wide for its design: its caption, or for a
// box a result with three whole digits. Nothing for a text that wraps.
std::string textToFit(const form::ControlDesign& c) {
  if (c.kind == form::ControlKind::TextBox) return "999.999";
  if (wraps(c)) return "";
  return c.text;
}

// A table of 規格線から選ぶ as the page's dialog shows it: every cell's text,
// whether it is a figure (set right), empty (greyed) or can be chosen, and
// its remark; the row's source key in the last column.
json wireTableJson(const wiredata::WireTable& t) {
  json headings = json::array();
  for (const wiredata::WireColumn& column : t.columns)
    headings.push_back({{"label", column.label}, {"unit", column.unit}});
  headings.push_back({{"label", "出典"}, {"unit", ""}});
  json rows = json::array();
  for (std::size_t r = 0; r < t.rows.size(); ++r) {
    json cells = json::array();
    for (std::size_t c = 0; c < t.columns.size(); ++c) {
      const wiredata::WireCell& cell = t.rows[r].cells[c];
      const wiredata::WireFootnote* note = t.footnoteAt(r, c);
      cells.push_back({{"text", wiredata::cellText(t, r, c)},
                       {"figure", std::holds_alternative<double>(cell)},
                       {"empty", std::holds_alternative<std::monostate>(cell)},
                       {"choice", wiredata::wireChoice(t, r, c).has_value()},
                       {"note", note ? json(note->mark + " " + note->text) : json(nullptr)}});
    }
    rows.push_back({{"cells", cells}, {"source", t.rows[r].source}});
  }
  json remarks = json::array();
  for (const wiredata::WireFootnote& note : t.footnotes)
    remarks.push_back(note.mark + " " + note.text);
  return {{"title", t.title},
          {"how", wiredata::howToChoose(t, inputField(InputBox::BareDiameter).name,
                                        inputField(InputBox::FinishedDiameter).name)},
          {"cellChoice", wiredata::givesFinishedDiameter(t)},
          {"headings", headings},
          {"rows", rows},
          {"remarks", remarks}};
}

// The standard tables, or none where the built-in data could not be read.
const wiredata::WireTable* wireTable(int index) {
  const auto& tables = wiredata::standardWireTables();
  if (!tables || index < 0 || static_cast<std::size_t>(index) >= tables->size()) return nullptr;
  return &(*tables)[static_cast<std::size_t>(index)];
}

std::optional<std::size_t> rowIndex(const wiredata::WireTable& t, int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= t.rows.size()) return std::nullopt;
  return static_cast<std::size_t>(row);
}

std::optional<wiredata::WireChoice> wireChoiceAt(const wiredata::WireTable& t, int row,
                                                 int column) {
  if (row < 0 || column < 0) return std::nullopt;
  return wiredata::wireChoice(t, static_cast<std::size_t>(row), static_cast<std::size_t>(column));
}

// Trims blanks, the ideographic space among them, from both ends.
std::string trimmed(std::string_view text) {
  constexpr std::string_view kIdeographicSpace = "\u3000";
  for (;;) {
    if (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
      text.remove_prefix(1);
    } else if (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
      text.remove_suffix(1);
    } else if (text.starts_with(kIdeographicSpace)) {
      text.remove_prefix(kIdeographicSpace.size());
    } else if (text.ends_with(kIdeographicSpace)) {
      text.remove_suffix(kIdeographicSpace.size());
    } else {
      return std::string(text);
    }
  }
}

// The wire data sheet's values as the desktop's 見積計算書 lays them out: a
// row a quantity, its nominal value and those at the two ends of the
// diameter's tolerance, with their units per kilometre. Read from the lines
// the window's data sheet prints, so both show the same digits; null when
// they are not in that shape (the page then prints the lines as they are).
json wireRows(const std::vector<std::string>& lines) {
  if (lines.size() != 16) return nullptr;
  std::vector<std::string> names, values;
  for (const std::string& line : lines) {
    const std::size_t equals = line.rfind('=');
    names.push_back(equals == std::string::npos ? "" : trimmed(line.substr(0, equals)));
    values.push_back(equals == std::string::npos ? "" : trimmed(line.substr(equals + 1)));
  }
  const std::optional<double> conductivity = readCompleteNumber(values[1]);
  if (!conductivity) return nullptr;
  for (int i : {3, 4, 5, 7, 9, 10, 11, 13, 14, 15})
    if (values[static_cast<std::size_t>(i)].empty()) return nullptr;
  // "絶縁部　重量 Kg": the weight's unit is the name's last word.
  std::string weight = names[7].substr(names[7].rfind(' ') + 1);
  if (weight == "Kg") weight = "kg";
  weight += "/km";
  const std::string ohms = "Ω/km";
  return json::array({{"項目", "基準", "最小", "最大", "単位"},
                      {"導電率", formatFixed4(*conductivity), "", "", ""},
                      {"抵抗値", values[3], values[5], values[4], ohms},
                      {"導体部重量", values[9], values[10], values[11], weight},
                      {"絶縁部重量", values[7], "", "", weight},
                      {"合計重量", values[13], values[14], values[15], weight}});
}

// The terms as the 見積 pane and the 単価表's defaults are typed:
// {"figures": the eight figures' texts in kTermFigures' order,
// "quantities": the five lot sizes' texts, "parts": [[name, 円/個], ...]}.
// Read as the desktop's editor reads them; a box that cannot be read is
// named ("figure-2", "quantity-0", "parts") for the page to go back to.
struct ReadTerms {
  Expected<job::QuotationTerms> terms = job::QuotationTerms{};
  std::string box;
};

std::string textAt(const json& list, std::size_t index) {
  if (!list.is_array() || index >= list.size() || !list[index].is_string()) return "";
  return list[index].get<std::string>();
}

ReadTerms readTypedTerms(const json& typed, bool withWirePrice) {
  auto refuse = [](std::string box, const Failure& why) { return ReadTerms{why, std::move(box)}; };
  if (!typed.is_object()) return refuse("", Failure{"見積条件を読めません。"});
  const json& figures = typed.contains("figures") ? typed["figures"] : json();
  const json& lots = typed.contains("quantities") ? typed["quantities"] : json();
  const json& parts = typed.contains("parts") ? typed["parts"] : json();
  job::QuotationTerms terms;
  for (std::size_t i = 0; i < job::kTermFigures.size(); ++i) {
    const job::TermFigure figure = job::kTermFigures[i];
    if (figure == job::TermFigure::WirePrice && !withWirePrice) continue;
    const Expected<double> value =
        job::readTermFigure(job::termName(figure), textAt(figures, i), job::termUnits(figure));
    if (!value) return refuse("figure-" + std::to_string(i), value.failure());
    job::termValue(terms, figure) = *value;
  }
  for (std::size_t i = 0; i < job::kMaxQuantities; ++i) {
    const auto pieces = job::readQuantity("数量" + std::to_string(i + 1), textAt(lots, i));
    if (!pieces) return refuse("quantity-" + std::to_string(i), pieces.failure());
    if (*pieces) terms.quantities.push_back(**pieces);
  }
  if (terms.quantities.empty())
    return refuse("quantity-0", Failure{"「数量1」に、見積もる数量を入力してください。"});
  if (parts.is_array()) {
    for (std::size_t row = 0; row < parts.size(); ++row) {
      const std::string name = trimmed(textAt(parts[row], 0));
      const std::string price = trimmed(textAt(parts[row], 1));
      if (name.empty() && price.empty()) continue;  // a row added and left empty
      const std::string place = "部材 " + std::to_string(row + 1) + " 行目";
      const std::string box = "part-" + std::to_string(row);
      if (name.empty()) return refuse(box, Failure{place + "の部材名を入力してください。"});
      static constexpr std::string_view kYen[] = {"円"};
      const Expected<double> yen = job::readTermFigure(place + "の単価", price, kYen);
      if (!yen) return refuse(box, yen.failure());
      terms.parts.push_back({name, *yen});
    }
  }
  if (terms.parts.size() > job::kMaxParts)
    return refuse("part-0",
                  Failure{"部材は " + std::to_string(job::kMaxParts) + " 点まで入れられます。"});
  return {terms, ""};
}

// The terms in the boxes they are typed into, as readTypedTerms reads them.
json typedTermsOf(const job::QuotationTerms& terms) {
  json figures = json::array();
  for (const job::TermFigure figure : job::kTermFigures)
    figures.push_back(job::termText(job::termValue(terms, figure)));
  json lots = json::array();
  for (std::size_t i = 0; i < job::kMaxQuantities; ++i)
    lots.push_back(i < terms.quantities.size() ? job::quantityText(terms.quantities[i]) : "");
  json parts = json::array();
  for (const job::PartPrice& part : terms.parts)
    parts.push_back({part.name, job::termText(part.yenPerPiece)});
  return {{"figures", figures}, {"quantities", lots}, {"parts", parts}};
}

// The names and units of the terms' boxes, for the page to label them.
json termBoxes() {
  json figures = json::array();
  for (const job::TermFigure figure : job::kTermFigures)
    figures.push_back({{"name", job::termName(figure)}, {"unit", job::termUnit(figure)}});
  return figures;
}

// Today in the browser's own time zone, as the 見積書 dates its issue.
CalendarDay today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, unsigned(local.tm_mon + 1), unsigned(local.tm_mday)};
}

// 「2026-12-09」, as the ledger dates an issue, and back.
std::string isoDay(CalendarDay day) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u", day.year, day.month, day.day);
  return text;
}
CalendarDay dayOf(const std::string& iso) {
  return {std::atoi(iso.substr(0, 4).c_str()), unsigned(std::atoi(iso.substr(5, 2).c_str())),
          unsigned(std::atoi(iso.substr(8, 2).c_str()))};
}

// The numbers the page gives a new quotation, as the desktop's register
// gives them when nothing else is set.
constexpr std::string_view kNumberPattern = "Q{yyyy}-{nnnn}";

// The 見積書 as customerSheet gives it, with the PDF's title and the heading
// of its pages after the first.
json sheetOf(const CompanyInfo& company, const job::JobFields& fields,
             const job::RequestQuote& request, CalendarDay issuedOn, Copy copy) {
  json sheet = customerSheet(company, fields, request, issuedOn, copy);
  sheet["documentTitle"] = "見積書 " + sheet["continued"].get<std::string>();
  sheet["continuedTitle"] = "見積書（続き）";
  return sheet;
}

std::string dumped(const json& j) { return j.dump(-1, ' ', false, json::error_handler_t::replace); }

// A winding's own price or speed as its box shows it; empty for none.
std::string figureText(const std::optional<double>& value) {
  return value ? job::termText(*value) : std::string();
}

// A press or target of this many turns is worked out in the page's worker,
// behind the progress and its キャンセル, as the desktop works it out on a
// thread of its own beyond the same size: the page keeps answering.
constexpr double kLongWorkTurns = 20'000'000;

// In the worker: each share of the long work, to the page that shows it.
void reportToPage(double fraction) { postProgress(fraction); }

// Steps of kelvane-replay applied to the page's own form, for the page's
// tests: files are the page's downloads and uploads, not paths.
class PageTarget : public replay::FormTarget {
 public:
  using FormTarget::FormTarget;
  Expected<void> open(const std::string&) override {
    return Failure{"ブラウザーではファイルのパスを開けません"};
  }
  Expected<void> save(const std::string&) override {
    return Failure{"ブラウザーではファイルのパスに保存できません"};
  }
};

}  // namespace

// The page's form, the job's fields beside it and the job's items: the form
// shows one item; every other keeps its own form's state (inputs, results,
// out-of-date state) until it is shown again, as in the desktop's window.
class PageForm {
 public:
  // The control table and the window's size, for building the page, with
  // what the page does with each control: where its text or value is in the
  // state, whether it greys while the results are out of date, how a
  // caption is aligned and what must fit on one line. Then the note for
  // out-of-date results and the texts of the page's own dialogs.
  static std::string controls() {
    json list = json::array();
    for (const form::ControlDesign& c : form::controlTable()) {
      const auto result = form::resultBoxOf(c.id);
      list.push_back({{"id", c.id.str()},
                      {"kind", kindName(c.kind)},
                      {"left", c.left},
                      {"top", c.top},
                      {"width", c.width},
                      {"height", c.height},
                      {"text", c.text},
                      {"font", c.font},
                      {"points", c.fontPoints},
                      {"background", colour(c.background)},
                      {"foreground", colour(c.foreground)},
                      {"tabIndex", c.tabIndex ? json(*c.tabIndex) : json(nullptr)},
                      {"visible", c.visible},
                      {"container", c.container},
                      {"group", c.kind == form::ControlKind::OptionButton ? c.id.name : ""},
                      {"state", stateOf(c)},
                      {"onWhen", onWhen(c)},
                      {"greys", greysWhenOutOfDate(c)},
                      {"readOnly", result && !form::takesTyping(*result)},
                      {"align", alignment(c)},
                      {"wraps", wraps(c)},
                      {"fit", textToFit(c)},
                      {"section", c.id == form::ControlId{"Shape2", -1}}});
    }
    const json staleNote = {{"text", form::staleNoteLines()},
                            {"left", form::kStaleNoteLeft},
                            {"top", form::kStaleNoteTop},
                            {"width", form::kStaleNoteWidth},
                            {"height", form::kStaleNoteHeight}};
    const json texts = {{"outOfDateQuestion", form::kOutOfDateQuestion},
                        {"pressAndOutput", form::kPressAndOutput},
                        {"cancel", "キャンセル"},
                        {"ok", "OK"},
                        {"clipboardRefused", "クリップボードに書き込めませんでした。"},
                        {"remove", "削除"},
                        {"longWork", "巻線の長さを計算しています…"},
                        {"sheetCaption", form::kSheetCaption}};
    return json{{"width", form::kFormWidth},
                {"height", form::kFormHeight},
                {"controls", list},
                {"staleNote", staleNote},
                {"texts", texts}}
        .dump();
  }

  // Everything the page shows, after any operation: the replay's JSON of the
  // form with what the page reads besides.
  std::string state() const {
    return replay::toJson(replay::snapshotOf(form_), replay::JsonFor::Page);
  }

  bool moveFocus(const std::string& id) {
    auto c = controlNamed(id);
    return c && act([&] { return form_.moveFocus(*c); });
  }
  // The focused box's text as the user edits it, keystroke by keystroke.
  bool editText(const std::string& id, const std::string& text) {
    auto c = controlNamed(id);
    if (!c || form_.state().focus != *c || !form_.textOf(*c)) return false;
    form_.editText(*c, text);
    windingsFollow(false);
    return true;
  }
  bool click(const std::string& id) {
    auto c = controlNamed(id);
    if (c && *c == form::calculateButton() && stackShown())
      return act([&] { return pressStack(); });
    return c && act([&] { return form_.click(*c); });
  }
  bool pressButton(const std::string& id) {
    auto c = controlNamed(id);
    if (c && *c == form::calculateButton() && stackShown())
      return act([&] { return pressStack(); });
    return c && act([&] { return form_.pressButton(*c); });
  }
  // A key pressed in the window: Enter (Shift+Enter backwards) and F12 are
  // the form's; false for any other key, which the browser keeps.
  bool keyDown(int keyCode, bool shift) {
    if (keyCode == form::Form1::kEnterKey) {
      act([&] {
        // On an item of several windings, Enter on 計算 or after the last
        // box presses the stack, as 計算 does.
        if (!shift && stackShown()) {
          const form::ControlId at = form_.state().focus;
          const std::vector<InputBox> order =
              form::entryOrder([this](InputBox b) { return form_.isVisible(form::idOf(b)); });
          const std::optional<InputBox> input = form::inputBoxOf(at);
          if (at == form::calculateButton() || (input && !order.empty() && order.back() == *input))
            return pressStack();
        }
        form_.pressEnter(shift);
        return true;
      });
      return true;
    }
    if (keyCode != form::Form1::kPrintKey) return false;
    form_.pressKey(keyCode);
    return true;
  }

  // Long work. A page's event that would press or solve a target of many
  // turns leaves the form as it was and says so here (once); the page then
  // hands the same event to its worker: a copy of this module's memory, the
  // form at the same address, where worker() carries it out with progress.
  // Its memory comes back whole when it is done. Called off, the page
  // terminates the worker and carries the event out here with the work
  // called off at once, as the desktop's キャンセル leaves the window.
  bool longWorkLeft() {
    const bool left = deferred_;
    deferred_ = false;
    return left;
  }
  void callOffNextWork() { next_ = Mode::CalledOff; }
  // Where the page has no worker: the next event's long work here and now.
  void workNextAtOnce() { next_ = Mode::AtOnce; }
  double address() const { return static_cast<double>(reinterpret_cast<std::uintptr_t>(this)); }
  // In the worker: the event {"method", "args"} on the form at `address`.
  static void worker(double address, const std::string& event) {
    auto& page = *reinterpret_cast<PageForm*>(static_cast<std::uintptr_t>(address));
    const json e = json::parse(event, nullptr, false);
    if (!e.is_object() || !e.contains("args") || !e["args"].is_array()) return;
    const std::string method = e.value("method", "");
    const json& args = e["args"];
    page.next_ = Mode::Worker;
    if (method == "moveFocus" && args.size() == 1 && args[0].is_string()) {
      page.moveFocus(args[0]);
    } else if (method == "click" && args.size() == 1 && args[0].is_string()) {
      page.click(args[0]);
    } else if (method == "pressButton" && args.size() == 1 && args[0].is_string()) {
      page.pressButton(args[0]);
    } else if (method == "keyDown" && args.size() == 2 && args[0].is_number_integer() &&
               args[1].is_boolean()) {
      page.keyDown(args[0], args[1]);
    }
    page.next_ = Mode::Deferred;
  }
  void closeSheet() { form_.closeSheet(); }

  // 新規: the window as at start-up, with empty fields and one new item.
  void reset() {
    form_ = form::Form1();
    fields_ = {};
    issues_.clear();
    items_ = form::ItemForms();
    name_.clear();
    saved_ = currentJob();
  }

  // The job as the window's title names it, and whether it has changes the
  // last 保存 (or 開く, or 新規) has not kept: {"title", "name", "modified",
  // "discardQuestion", "discardNote"}. 新規, 開く and closing the page ask
  // before such changes go.
  std::string document() const {
    const std::string name = name_.empty() ? "無題" : name_;
    const bool modified = currentJob() != saved_;
    return json{{"title", name + (modified ? "*" : "") + " - " + form::kFormCaption},
                {"name", name},
                {"modified", modified},
                {"discardQuestion", "「" + name + "」の変更を保存しますか？"},
                {"discardNote", "保存しないと、変更は失われます。"}}
        .dump(-1, ' ', false, json::error_handler_t::replace);
  }

  // Every call that can fail answers in JSON: {"error": the sentence to show}
  // when it failed, else what it gives ({} for nothing).
  static std::string failed(const std::string& message) { return json{{"error", message}}.dump(); }
  // A refusal of one of a dialog's boxes, named so that the page can put
  // the focus back into it.
  static std::string failed(const std::string& message, const std::string& box) {
    return json{{"error", message}, {"box", box}}.dump();
  }

  // 開く: the job in the file named opened, all its items, the first shown
  // (a job of one coil, saved before jobs held items, is one item).
  // The file's bytes as they are: a text that is not UTF-8 is refused
  // with the position of its first stray byte, as the desktop refuses it.
  std::string openJob(const std::string& bytes, const std::string& fileName) {
    const Expected<job::Job> job = job::readJob(bytes);
    if (!job) return failed(fileName + " を開けません。\n" + job.message());
    takeJob(*job, fileName);
    return "{}";
  }
  void takeJob(const job::Job& job, const std::string& fileName) {
    fields_ = job.fields;
    issues_ = job.issues;
    // The others are computed on forms of their own; a coil they refuse is
    // marked in the list rather than said now.
    items_.take(job.items);
    // The first on the page's form, where a refusal shows its message; an
    // item of several windings is pressed as 計算 presses it.
    if (job::isStack(job.items.front())) {
      form_ = items_.shownState();
      pressStack();
    } else {
      form::applyCoil(job.items.front().coil, form_);
    }
    name_ = fileName;
    saved_ = currentJob();
  }
  // 保存: {"text", "name"} of the file to download, or {"error"}. Every item
  // is saved with its coil as its form holds it; its 見積条件, basis lot and
  // requirement as the job brought them (the page does not price).
  // The job counts as kept from here on, under the name it downloads as
  // (its 見積番号 and 品番, as the desktop's save dialog offers it).
  std::string saveJob() {
    const job::Job job = currentJob();
    const Expected<std::string> text = job::savedJobText(job, std::chrono::system_clock::now());
    if (!text) return failed(text.message());
    const std::string name = job::suggestedFileName(job, "kelvane");
    name_ = name;
    saved_ = job;
    return json{{"text", *text}, {"name", name}}.dump(-1, ' ', false,
                                                      json::error_handler_t::replace);
  }
  // 案件情報 as the dialog shows it.
  std::string fields() const {
    return fieldsJson().dump(-1, ' ', false, json::error_handler_t::replace);
  }

  // 案件情報: the fields as the dialog gives them, all texts, the working
  // temperature as typed; when refused, nothing changes.
  std::string setFields(const std::string& text) {
    const json j = json::parse(text, nullptr, false);
    if (!j.is_object()) return failed("案件情報を読めません");
    auto textOf = [&](const char* key) {
      const auto it = j.find(key);
      return it != j.end() && it->is_string() ? it->get<std::string>() : std::string();
    };
    const Expected<int> days = job::readValidDays(textOf("validDays"));
    if (!days) return failed(days.message(), "validDays");
    const Expected<double> celsius = readWorkingTemperature(textOf("workingCelsius"));
    if (!celsius) return failed(celsius.message(), "workingCelsius");
    job::JobFields f = fields_;  // what the dialog does not show stays as it is
    f.customer = textOf("customer");
    f.customerPerson = textOf("customerPerson");
    f.quotationNumber = textOf("quotationNumber");
    f.personInCharge = textOf("personInCharge");
    f.subject = textOf("subject");
    f.deliveryTerms = textOf("deliveryTerms");
    f.paymentTerms = textOf("paymentTerms");
    f.validDays = *days;
    f.remarks = textOf("remarks");
    f.memo = textOf("memo");
    f.workingCelsius = *celsius;
    fields_ = f;
    return "{}";
  }

  // 結果をコピー: {"text", "html"} as the clipboard takes them, the table of
  // every item one after another.
  std::string clipboard() const {
    const std::vector<job::ResultsTable> tables = resultsTables();
    return json{{"text", job::toTabSeparated(tables)}, {"html", job::toHtml(tables)}}.dump();
  }
  // CSVに書き出し: {"name", "text", "type"} of the file to download, the
  // text as the CSV writer gives it (UTF-8 with its byte order mark, CR LF),
  // every item's table.
  std::string csvFile() const {
    return json{{"name", job::suggestedFileName(currentJob(), "csv")},
                {"text", job::toCsv(resultsTables())},
                {"type", "text/csv;charset=utf-8"}}
        .dump();
  }
  // 見積計算書を印刷 of the item shown: the sheet's title and memo with its
  // section (sheetSection). An item of several windings gives its first
  // winding's section with the piece's price, "winding" its title, then
  // "windings": the section of each winding above it, and "stack": the
  // stack's table ({"heading", "rows", "totals"}) while it is computed.
  std::string quotationSheet() const {
    const std::size_t index = items_.shown();
    const std::string createdAt = job::localMinute(std::chrono::system_clock::now());
    if (!stackShown()) {
      json sheet = sheetSection(formOf(index), tableOf(index, createdAt));
      sheet["title"] = job::kCostSheetDocument;
      sheet["memo"] = fields_.memo;
      return dumped(sheet);
    }
    // An item of several windings: a section a winding, titled with its
    // name, the first with the piece's price and the stack's table.
    const job::Item item = itemAt(index);
    json sheet;
    json windings = json::array();
    for (std::size_t k = 0; k < items_.windingCount(index); ++k) {
      const form::Form1& shown = items_.windingForm(index, k, form_);
      job::Item winding = item;
      // What the customer asked is kept for the item's own coil, the first.
      if (k > 0) winding.requirements.clear();
      job::ResultsTable table =
          job::resultsTable(form::shownCoil(shown), fields_, winding, createdAt);
      if (k == 0 && item.terms)
        table.quotation = job::stackQuotationRows(*item.terms, stackQuote(index, *item.terms));
      json section = sheetSection(shown, table);
      section["winding"] =
          windingLabel(k, k == 0 ? item.windingName : item.upperWindings[k - 1].name);
      if (k == 0) {
        sheet = section;
      } else {
        windings.push_back(section);
      }
    }
    sheet["title"] = job::kCostSheetDocument;
    sheet["memo"] = fields_.memo;
    sheet["windings"] = windings;
    const std::optional<StackResult>& result = items_.stackOf(index);
    const Expected<WindingStack> stack = job::stackOf(item);
    if (result && stack && items_.current(index, form_)) {
      const job::StackTable table = job::stackTable(*stack, *result, fields_.workingCelsius);
      json totals = json::array();
      for (const job::TableRow& r : table.totals)
        totals.push_back({r.item, r.aligned, r.predicted, r.unit});
      sheet["stack"] = {{"heading", table.heading}, {"rows", table.windings}, {"totals", totals}};
    }
    return dumped(sheet);
  }
  // One section of the 見積計算書: the job's and the item's fields ({"item",
  // "value"}), the heading and rows of the table (null between the results
  // and the quotation), which columns hold figures, and the wire data of
  // the form's wire.
  static json sheetSection(const form::Form1& form, const job::ResultsTable& table) {
    auto cells = [](const job::TableRow& r) {
      return json{r.item, r.aligned, r.predicted, r.unit};
    };
    json fields = json::array();
    for (const job::TableRow& r : table.fields) {
      std::string value;
      for (const std::string& part : {r.aligned, r.predicted, r.unit}) {
        if (part.empty()) continue;
        if (!value.empty()) value += ' ';
        value += part;
      }
      fields.push_back({{"item", r.item}, {"value", value}});
    }
    json rows = json::array();
    for (const job::TableRow& r : table.inputs) rows.push_back(cells(r));
    for (const job::TableRow& r : table.results) rows.push_back(cells(r));
    if (!table.quotation.empty()) rows.push_back(nullptr);
    for (const job::TableRow& r : table.quotation) rows.push_back(cells(r));
    // The wire data exactly as 線材Dimension prints it for these boxes, on a
    // copy, so that the page's own sheet and messages stay as they are.
    form::Form1 scratch = form;
    scratch.closeSheet();
    scratch.showDataSheet();
    const std::vector<std::string>& wire = scratch.state().sheetLines;
    return json{{"fields", fields},  {"wireRows", wireRows(wire)},
                {"wireLines", wire}, {"heading", cells(job::outputHeading())},
                {"rows", rows},      {"figureColumns", {1, 2}}};
  }

  // 規格線から選ぶ: {"tables": [...]} as wireTableJson gives each, or {"error"}.
  static std::string wireTables() {
    const auto& tables = wiredata::standardWireTables();
    if (!tables) return failed(tables.message());
    if (tables->empty()) return failed("規格線の表がありません。");
    json list = json::array();
    for (const wiredata::WireTable& t : *tables) list.push_back(wireTableJson(t));
    return json{{"tables", list}}.dump();
  }
  // The lines under the table for the current cell (row -1: none):
  // {"source", "chosen", "choice"}; choice: whether 選ぶ takes the cell.
  static std::string wireCell(int table, int row, int column) {
    const wiredata::WireTable* t = wireTable(table);
    if (!t) return "{}";
    const std::optional<wiredata::WireChoice> choice = wireChoiceAt(*t, row, column);
    return json{{"source", wiredata::sourceText(*t, rowIndex(*t, row))},
                {"chosen", wiredata::choiceText(choice, inputField(InputBox::BareDiameter).name,
                                                inputField(InputBox::FinishedDiameter).name)},
                {"choice", choice.has_value()}}
        .dump();
  }
  // A conductor diameter typed into the dialog's search box: {"row",
  // "column", "text"}, row -1 when it finds none.
  static std::string findWire(int table, const std::string& typed) {
    const wiredata::WireTable* t = wireTable(table);
    if (!t) return "{}";
    const wiredata::DiameterSearch found = wiredata::findTypedDiameter(*t, typed);
    if (!found.cell) return json{{"row", -1}, {"column", -1}, {"text", found.text}}.dump();
    return json{{"row", found.cell->row}, {"column", found.cell->column}, {"text", found.text}}
        .dump();
  }
  // The chosen cell fills the wire's boxes as a program fills them: the
  // results go out of date, no box runs its rule. False: the cell cannot be
  // chosen, and nothing changes.
  bool chooseWire(int table, int row, int column) {
    const wiredata::WireTable* t = wireTable(table);
    const std::optional<wiredata::WireChoice> choice =
        t ? wireChoiceAt(*t, row, column) : std::nullopt;
    if (!choice) return false;
    form_.setText(form::idOf(form::box::BareDiameter), choice->bareDiameter);
    if (choice->finishedDiameter)
      form_.setText(form::idOf(form::box::FinishedDiameter), *choice->finishedDiameter);
    return true;
  }

  // 見積 › 見積条件と価格…, of the item shown: its terms as its 見積条件
  // and the price list give them (job::pricingTerms), in the boxes' texts,
  // with the names and units of the boxes. A wire the list has no price for
  // leaves 線材単価 empty, and the pane says why until a price is typed.
  std::string quotationPane() {
    const job::Item item = itemAt(items_.shown());
    const ConductorMaterial material = form_.state().material;
    const Expected<job::PricingTerms> priced = pricingOf(item, material);
    pane_ = {};
    job::QuotationTerms terms;
    if (priced) {
      terms = priced->terms;
      pane_.material = terms.wireMaterial;
      pane_.from = priced->wirePriceFrom;
      pane_.put = terms.wireYenPerKg;
      pane_.text = job::termText(terms.wireYenPerKg);
      pane_.fromMm = terms.wireDiameterFromMm;
      pane_.toMm = terms.wireDiameterToMm;
    } else {
      terms = item.terms.value_or(priceList_.defaults);
      pane_.material = material;
      pane_.missing = priced.message();
    }
    json typed = typedTermsOf(terms);
    typed["figures"][0] = pane_.text;
    return dumped({{"boxes", termBoxes()},
                   {"typed", typed},
                   {"wireNote", "（" + std::string(materialName(pane_.material)) + "）"},
                   {"calculate", form::calculateButton().str()}});
  }

  // The pane's prices for the terms as typed, as the desktop's pane shows
  // them at every keystroke: {"source": where 線材単価 is from, "current":
  // whether the results belong to the inputs, "refusal": why there is no
  // price (a box that cannot be read, results out of date, terms that
  // cannot price), else "coil" (w and n), "rows" (a row a lot: 数量, 材料費,
  // 加工費, 部材費, 原価, 単価, 金額), "subtotalCaption" and "totals"}.
  std::string paneQuote(const std::string& typedText) const {
    const json typed = json::parse(typedText, nullptr, false);
    const bool priceTyped = wirePriceTyped(typed);
    const bool current = items_.current(items_.shown(), form_);
    json answer = {{"source", wirePriceSource(priceTyped)},
                   {"current", current},
                   {"refusal", ""},
                   {"coil", ""},
                   {"rows", json::array()},
                   {"subtotalCaption", "小計"},
                   {"totals", json::array()}};
    const auto withhold = [&](const std::string& why) {
      answer["refusal"] = why;
      return dumped(answer);
    };
    ReadTerms read = readTypedTerms(typed, true);
    if (!read.terms && !priceTyped && !pane_.missing.empty()) return withhold(pane_.missing);
    if (!read.terms) return withhold(read.terms.message());
    job::QuotationTerms terms = *read.terms;
    withBoxWire(terms, priceTyped);
    if (!current) {
      return withhold(
          "結果が入力と合っていないため、価格を出していません。「計算」を押すと、"
          "その結果で価格を出します。");
    }
    // An item of several windings is priced as one piece: every winding's
    // wire and winding time.
    const Expected<job::CoilPrice> price = stackShown()
                                               ? stackPrice(items_.shown(), terms)
                                               : job::priceOfCoil(form::shownCoil(form_), terms);
    if (!price) return withhold(price.message());
    answer["coil"] = "線材質量 w = " + job::massText(price->wireMassKg) +
                     " kg（予測 Mid の合計重量）、巻き数 n = " + plainDecimal(price->turns);
    for (const job::LotPrice& lot : price->quote.lots) {
      answer["rows"].push_back({job::quantityText(lot.quantity), job::costText(lot.materialYen),
                                job::costText(lot.processingYen), job::costText(lot.partsYen),
                                job::costText(lot.costYen), job::unitPriceText(lot.unitPriceSen),
                                job::yenText(lot.amountYen)});
    }
    if (!price->quote.lots.empty())
      answer["subtotalCaption"] =
          "小計（数量 " + job::quantityText(price->quote.lots.front().quantity) + "）";
    answer["totals"] = {job::yenText(price->quote.subtotalYen), job::yenText(price->quote.taxYen),
                        job::yenText(price->quote.totalYen)};
    return dumped(answer);
  }

  // The pane's OK: the terms as typed kept in the item shown (saved with
  // the job), or {"error", "box"} naming the box that cannot be read or
  // the figure that could price no coil, and nothing changes.
  std::string takeTerms(const std::string& typedText) {
    const json typed = json::parse(typedText, nullptr, false);
    const bool priceTyped = wirePriceTyped(typed);
    ReadTerms read = readTypedTerms(typed, true);
    if (!read.terms) {
      const bool missing = !priceTyped && !pane_.missing.empty();
      return failed(missing ? pane_.missing : read.terms.message(), read.box);
    }
    job::QuotationTerms terms = *read.terms;
    withBoxWire(terms, priceTyped);
    if (const auto checked = job::checkTerms(terms); !checked.ok())
      return failed(checked.message(), "");
    // Terms as the price list gives them for the item's wire (the lot sizes
    // are the item's own) keep the list's time; terms typed otherwise
    // belong to no list.
    job::Item& it = items_.item(items_.shown());
    Expected<job::QuotationTerms> fromList = job::termsFor(
        priceList_, form_.state().material, job::bareDiameterMm(itemAt(items_.shown()).coil));
    if (fromList) fromList.value().quantities = terms.quantities;
    if (fromList && terms == *fromList) {
      it.priceListSavedAt = priceList_.savedAt;
    } else if (!it.terms || terms != *it.terms) {
      it.priceListSavedAt.clear();
    }
    it.terms = terms;
    if (it.basisLot >= terms.quantities.size()) it.basisLot = 0;
    return "{}";
  }

  // 単価表 kept in the browser: the file's text as it was stored or
  // imported (empty: the built-in list), from here on the list every item
  // without terms of its own is priced from. {"text": the list as its file
  // is written} or {"error"}, the list staying as it was.
  std::string usePriceList(const std::string& text) {
    if (text.empty()) {
      priceList_ = job::builtInPriceList();
      return "{}";
    }
    Expected<job::PriceList> list = job::readPriceList(text);
    if (!list) return failed("単価表を読めません。" + list.message());
    priceList_ = std::move(list.value());
    return dumped({{"text", job::writePriceList(priceList_)}});
  }
  // The list as the desktop's file (prices.json) for a download.
  std::string priceListFile() const {
    return dumped({{"name", "prices.json"},
                   {"text", job::writePriceList(priceList_)},
                   {"type", "application/json"}});
  }
  // The 単価表 dialog: {"rows": [[material index, 線径 から, まで, 円/kg]],
  // "materials": their names, "defaults": the terms of a new quotation as
  // typed, "boxes", "saved": when the list was saved}.
  std::string priceListForm() const {
    json rows = json::array();
    for (const job::WirePriceRow& row : priceList_.wirePrices) {
      rows.push_back({std::to_string(static_cast<int>(row.material)), job::termText(row.fromMm),
                      row.toMm ? job::termText(*row.toMm) : "", job::termText(row.yenPerKg)});
    }
    json materials = json::array();
    for (const ConductorMaterial m : {ConductorMaterial::Copper, ConductorMaterial::Aluminium,
                                      ConductorMaterial::CopperCladAluminium85})
      materials.push_back(materialName(m));
    return dumped({{"rows", rows},
                   {"materials", materials},
                   {"defaults", typedTermsOf(priceList_.defaults)},
                   {"boxes", termBoxes()},
                   {"saved", priceList_.savedAt.empty()
                                 ? std::string("組み込みの単価（まだ保存していません）")
                                 : priceList_.savedAt + " に保存"}});
  }
  // The dialog's 保存: the rows and the defaults as typed, read as the
  // desktop's dialog reads them, the list saved now. {"text": the file to
  // keep} or {"error", "box"}, the list staying as it was.
  std::string takePriceList(const std::string& typedText) {
    const json typed = json::parse(typedText, nullptr, false);
    if (!typed.is_object()) return failed("単価表を読めません。");
    job::PriceList list;
    const json rows = typed.value("rows", json::array());
    std::vector<std::size_t> tableRows;  // the dialog's row of each row of the list
    for (std::size_t r = 0; r < rows.size(); ++r) {
      const std::string place = "線材単価 " + std::to_string(r + 1) + " 行目";
      const std::string box = "row-" + std::to_string(r) + "-";
      const std::string texts[] = {textAt(rows[r], 0), trimmed(textAt(rows[r], 1)),
                                   trimmed(textAt(rows[r], 2)), trimmed(textAt(rows[r], 3))};
      // A row added and left empty (its material alone) is no row.
      if (texts[1].empty() && texts[2].empty() && texts[3].empty()) continue;
      job::WirePriceRow row;
      if (texts[0] == "0" || texts[0] == "1" || texts[0] == "2")
        row.material = static_cast<ConductorMaterial>(texts[0][0] - '0');
      else return failed(place + "の材料を選んでください。", box + "0");
      if (!texts[1].empty()) {
        const Expected<double> from =
            job::readTermFigure(place + "の線径（から）", texts[1], units::kMillimetre);
        if (!from) return failed(from.message(), box + "1");
        row.fromMm = *from;
      }
      if (!texts[2].empty()) {
        const Expected<double> to =
            job::readTermFigure(place + "の線径（まで）", texts[2], units::kMillimetre);
        if (!to) return failed(to.message(), box + "2");
        row.toMm = *to;
      }
      const Expected<double> yen = job::readTermFigure(place + "の円/kg", texts[3],
                                                       job::termUnits(job::TermFigure::WirePrice));
      if (!yen) return failed(yen.message(), box + "3");
      row.yenPerKg = *yen;
      list.wirePrices.push_back(row);
      tableRows.push_back(r);
    }
    std::optional<std::size_t> badRow;
    const Expected<void> checked = job::checkWirePrices(list.wirePrices, [&](std::size_t i) {
      if (!badRow) badRow = tableRows[i];
      return "線材単価 " + std::to_string(tableRows[i] + 1) + " 行目";
    });
    if (!checked.ok())
      return failed(checked.message(), "row-" + std::to_string(badRow.value_or(0)) + "-1");
    ReadTerms defaults = readTypedTerms(typed.value("defaults", json()), false);
    if (!defaults.terms) return failed(defaults.terms.message(), "default-" + defaults.box);
    if (const auto usable = job::checkTerms(*defaults.terms); !usable.ok())
      return failed(usable.message(), "");
    list.defaults = *defaults.terms;
    list.savedAt = job::isoTimestamp(std::chrono::system_clock::now());
    priceList_ = std::move(list);
    return dumped({{"text", job::writePriceList(priceList_)}});
  }

  // 会社情報 as its file (company.json), from the dialog's four texts
  // {"name", "address", "telephone", "person"}.
  static std::string companyFile(const std::string& typedText) {
    const json typed = json::parse(typedText, nullptr, false);
    if (!typed.is_object()) return failed("会社情報を読めません。");
    CompanyInfo company;
    for (auto [key, value] :
         {std::pair{"name", &company.name}, std::pair{"address", &company.address},
          std::pair{"telephone", &company.telephone}, std::pair{"person", &company.person}}) {
      const auto it = typed.find(key);
      if (it != typed.end() && it->is_string()) *value = trimmed(it->get<std::string>());
    }
    return dumped({{"name", "company.json"},
                   {"text", writeCompanyInfo(company)},
                   {"type", "application/json"}});
  }
  // The company a file holds: {"name", "address", "telephone", "person"}
  // or {"error"}.
  static std::string readCompany(const std::string& text) {
    const Expected<CompanyInfo> company = readCompanyInfo(text);
    if (!company) return failed(company.message());
    return dumped({{"name", company->name},
                   {"address", company->address},
                   {"telephone", company->telephone},
                   {"person", company->person}});
  }

  // 見積書を印刷 and 見本を印刷: every item priced from the coil its form
  // shows, with its terms or the price list (the rule of the desktop's
  // 見積書), under the company of `companyText` (empty: none). A 見本 is
  // issued today and recorded nowhere. An issue is numbered in the page's
  // ledger `ledgerText`: {sheet…, "ledger": the ledger with the new 版 for
  // the browser to store, "reissue": true when the latest 版 is printed
  // again and nothing is recorded}, then takeIssue gives the job its 版.
  // {"error"} naming what cannot be priced or numbered.
  std::string customerQuotation(const std::string& companyText, bool issue,
                                const std::string& ledgerText) {
    pendingIssue_.reset();
    CompanyInfo company;
    if (!companyText.empty()) {
      const Expected<CompanyInfo> read = readCompanyInfo(companyText);
      if (!read) return failed(read.message());
      company = *read;
    }
    const job::Job job = currentJob();
    std::vector<job::ShownCoil> coils;
    coils.reserve(items_.count());
    for (std::size_t i = 0; i < items_.count(); ++i) coils.push_back(form::shownCoil(formOf(i)));
    const std::vector<std::optional<StackResult>> stacks = currentStacks();
    const Expected<job::RequestQuote> request = job::priceRequest(
        job.items, coils,
        [this](const job::Item& item) { return pricingOf(item, item.coil.material); }, stacks,
        [this] { return Expected<job::PriceList>(priceList_); });
    if (!request) return failed(request.message());
    if (!issue) return dumped(sheetOf(company, fields_, *request, today(), Copy::Draft));

    Expected<std::vector<ledger::StoredIssue>> kept = readPageLedger(ledgerText);
    if (!kept) return failed(kept.message());
    const Expected<PageIssue> next =
        nextIssue(*kept, job, *request, isoDay(today()), kNumberPattern);
    if (!next) return failed(next.message());
    job::JobFields fields = fields_;
    fields.quotationNumber = next->record.quotationNumber;
    fields.revision = next->record.revision;
    fields.issuedOn = next->record.issuedOn;
    json sheet = sheetOf(company, fields, *request, dayOf(next->record.issuedOn),
                         next->reissue ? Copy::Reissue : Copy::Issue);
    sheet["reissue"] = next->reissue;
    if (!next->reissue) {
      const auto now = std::chrono::system_clock::now();
      std::vector<ledger::StoredIssue> issues = *kept;
      issues.push_back(
          {next->record, job::writeJob(job::stampForSaving(job, now)), job::isoTimestamp(now)});
      sheet["ledger"] = writePageLedger(issues);
      pendingIssue_ = next->record;
    }
    return dumped(sheet);
  }
  // The 版 just printed, taken into the job (its number, 版, 発行日 and
  // history) once the ledger holds it: the next 保存 carries it.
  void takeIssue() {
    if (!pendingIssue_) return;
    job::Job job = job::withIssue(currentJob(), *pendingIssue_);
    fields_ = job.fields;
    issues_ = job.issues;
    pendingIssue_.reset();
  }

  // 見積台帳…: the rows of the page's ledger whose texts hold `text`,
  // newest first: {"rows": [{"number", "revision", "issuedOn", "customer",
  // "subject", "person", "total", "validUntil", "expired"}]} or {"error"}.
  static std::string ledgerRows(const std::string& ledgerText, const std::string& text) {
    const Expected<std::vector<ledger::StoredIssue>> kept = readPageLedger(ledgerText);
    if (!kept) return failed(kept.message());
    json rows = json::array();
    for (const LedgerRow& row : findIssues(*kept, text, isoDay(today()))) {
      const ledger::IssueSummary& s = row.summary;
      rows.push_back({{"number", s.quotationNumber},
                      {"revision", s.revision},
                      {"issuedOn", s.issuedOn},
                      {"customer", s.customer},
                      {"subject", s.subject},
                      {"person", s.personInCharge},
                      {"total", job::yenText(s.totalYen)},
                      {"validUntil", s.validUntil},
                      {"expired", row.expired ? "期限切れ" : ""}});
    }
    return dumped({{"rows", rows}});
  }
  // 書き出す: the ledger as the register's CSV (with its BOM), {"name",
  // "text", "type"}, or {"error"}.
  static std::string ledgerFile(const std::string& ledgerText) {
    const Expected<std::vector<ledger::StoredIssue>> kept = readPageLedger(ledgerText);
    if (!kept) return failed(kept.message());
    return dumped({{"name", "見積台帳.csv"},
                   {"text", ledger::ledgerCsv(inLedgerOrder(*kept))},
                   {"type", "text/csv;charset=utf-8"}});
  }
  // Opens an issue of the ledger: its job as issued, with that 版 taken.
  std::string openIssue(const std::string& ledgerText, const std::string& number, int revision) {
    const Expected<std::vector<ledger::StoredIssue>> kept = readPageLedger(ledgerText);
    if (!kept) return failed(kept.message());
    for (const ledger::StoredIssue& s : *kept) {
      if (s.record.quotationNumber != number || s.record.revision != revision) continue;
      const Expected<job::Job> issued = job::readJob(s.jobText);
      if (!issued)
        return failed("見積番号「" + number + "」第" + std::to_string(revision) +
                      "版の案件を開けません。\n" + issued.message());
      const job::Job job = job::withIssue(*issued, s.record);
      takeJob(job, job::suggestedFileName(job, "kelvane"));
      return "{}";
    }
    return failed("見積番号「" + number + "」第" + std::to_string(revision) +
                  "版は見積台帳にありません。");
  }

  // kelvane-replay's steps on this form: its JSON state, or {"error"}.
  std::string replay(const std::string& steps) {
    PageTarget target(form_);
    if (auto applied = replay::applySteps(std::string_view(steps), target); !applied.ok())
      return failed(applied.message());
    return replay::toJson(target.snapshot());
  }

  // The items as the page's list shows them: {"shown": the index shown,
  // "rows": [{"partNumber", "name", "label", "mark"}], "outputsCurrent":
  // whether every item's results belong to its inputs, "removeQuestion":
  // what 削除 asks of the item shown, "full": whether no item can be added}.
  // A row's mark: 未計算 while its results are out of date, 仕様外 when they
  // miss its requirement.
  std::string items() const {
    json rows = json::array();
    bool current = true;
    for (std::size_t i = 0; i < items_.count(); ++i) {
      const job::Item& it = items_.item(i);
      job::ShownCoil coil = form::shownCoil(formOf(i));
      // An item of several windings is current when all of them are.
      coil.current = items_.current(i, form_);
      current = current && coil.current;
      const std::string_view mark = job::itemMark(it.requirements, coil);
      rows.push_back({{"partNumber", it.partNumber},
                      {"name", it.name},
                      {"label", job::itemLabel(i, it)},
                      {"mark", std::string(mark)}});
    }
    return json{{"shown", items_.shown()},
                {"rows", rows},
                {"outputsCurrent", current},
                {"removeQuestion", job::itemLabel(items_.shown(), items_.item(items_.shown())) +
                                       "を削除しますか？ 削除した品目は元に戻せません。"},
                {"full", items_.count() >= job::kMaxItems}}
        .dump(-1, ' ', false, json::error_handler_t::replace);
  }

  // Shows the item at `index` on the form; the one shown before keeps its
  // form's state. False for no such item.
  bool showItem(int index) {
    if (index < 0) return false;
    const form::Form1* shown = items_.show(static_cast<std::size_t>(index), form_);
    if (!shown) return false;
    form_ = *shown;
    return true;
  }
  // 追加: a new coil at the end, shown; {"error"} when the job is full.
  std::string addItem() {
    const Expected<const form::Form1*> added = items_.add(form_);
    if (!added) return failed(added.message());
    form_ = **added;
    return "{}";
  }
  // 複製: a copy of the item shown after it, shown: its coil and form's
  // state, names, 見積条件, basis lot and requirements.
  std::string duplicateItem() {
    const Expected<const form::Form1*> copied = items_.duplicate(form_);
    if (!copied) return failed(copied.message());
    form_ = **copied;
    return "{}";
  }
  // 削除 of the item shown, once the page has asked; the next one (or the
  // one before the last) is shown. The last item stays: false.
  bool removeItem() {
    const form::Form1* next = items_.remove();
    if (!next) return false;
    form_ = *next;
    return true;
  }
  // 上へ (-1) and 下へ (1): the item shown changes places with its
  // neighbour and stays shown. False at either end.
  bool moveItem(int by) { return items_.move(by, form_); }
  // 品番 and 品名 of the item shown, as typed.
  void setItemNames(const std::string& partNumber, const std::string& name) {
    items_.item(items_.shown()).partNumber = partNumber;
    items_.item(items_.shown()).name = name;
  }
  // 全品目を計算, and the answer 計算して出力 gives before an output: every
  // item whose results are out of date is computed, the one shown pressed as
  // a person presses 計算 (a refusal shows as its message). {"current":
  // whether every item's results now belong to its inputs}, with "error"
  // naming the other items that could not be computed and why.
  std::string computeAllItems() {
    if (stackShown()) {
      if (!items_.current(items_.shown(), form_)) pressStack();
    } else if (!form_.state().resultsCurrent) {
      form_.click(form::calculateButton());
    }
    const std::vector<std::string> refused =
        items_.computeOthers([](double, const form::Work& work) { work(nullptr); });
    json answer = {{"current", items_.allCurrent(form_)}};
    std::string lines;
    for (const std::string& line : refused) lines += (lines.empty() ? "" : "\n") + line;
    if (!lines.empty()) answer["error"] = lines;
    return answer.dump(-1, ' ', false, json::error_handler_t::replace);
  }

  // The windings of the item shown as the bar above the form shows them:
  // {"tabs": a caption each (巻線1 一次), "shown", "name": the shown one's,
  // "boxes": the texts of 層間絶縁 厚み, 層数, 線材単価 and 巻線速度 of a
  // winding above the first and the item's 層間テープ単価, "full": no winding can be added,
  // "removeQuestion", "inherited": the former's boxes it inherits (none on
  // the first), "inheritedTip", "said"/"message"/"refusedBox": the last
  // refusal of a stack's press and how many there have been, "section":
  // the stack's drawing while it is computed, else null}.
  std::string windings() const {
    const std::size_t index = items_.shown();
    const job::Item& it = items_.item(index);
    const std::size_t k = items_.shownWinding();
    const auto tab = [](std::size_t i, const std::string& name) {
      const std::string number = "巻線" + std::to_string(i + 1);
      return name.empty() ? number : number + " " + name;
    };
    json tabs = json::array({tab(0, it.windingName)});
    for (std::size_t i = 0; i < it.upperWindings.size(); ++i)
      tabs.push_back(tab(i + 1, it.upperWindings[i].name));
    json boxes = json::array({"", "", "", "", ""});
    json inherited = json::array();
    std::string name = it.windingName;
    if (k > 0 && k <= it.upperWindings.size()) {
      const job::UpperWinding& upper = it.upperWindings[k - 1];
      name = upper.name;
      boxes = {upper.under.thicknessPerLayer, upper.under.layers,
               figureText(upper.terms.wireYenPerKg), figureText(upper.terms.windingRpm),
               job::termText(it.tapeYenPerLayer)};
      for (int i = 0; i < kInputBoxCount; ++i) {
        const auto b = static_cast<InputBox>(i);
        if (isFormerSize(b)) inherited.push_back(form::idOf(b).str());
      }
    }
    return dumped(
        {{"tabs", tabs},
         {"shown", k},
         {"name", name},
         {"boxes", boxes},
         {"full", tabs.size() >= kMostWindings},
         {"removeQuestion",
          k == 0 ? std::string()
                 : windingLabel(k, name) + "を削除しますか？ 削除した巻線は元に戻せません。"},
         {"inherited", inherited},
         {"inheritedTip", "下の巻線と層間絶縁の外側から求めた寸法です（継承）"},
         {"said", stackSaid_},
         {"message", stackMessage_},
         {"refusedBox", stackRefusedBox_},
         {"section", sectionJson()}});
  }
  // The winding `index` of the item shown on the form; the one shown before
  // keeps its form's state. False for no such winding.
  bool showWinding(int index) {
    if (index < 0) return false;
    const form::Form1* shown = items_.showWinding(static_cast<std::size_t>(index), form_);
    if (!shown) return false;
    form_ = *shown;
    return true;
  }
  // 巻線を追加: a winding over the last, its wire copied from the one shown,
  // shown; {"error"} past the most a former takes.
  std::string addWinding() {
    const Expected<const form::Form1*> added = items_.addWinding(form_);
    if (!added) return failed(added.message());
    form_ = **added;
    return "{}";
  }
  // 巻線を削除 of the winding shown, once the page has asked; the one below
  // it is shown. The first winding stays: false.
  bool removeWinding() {
    if (items_.shownWinding() == 0) return false;
    const form::Form1* below = items_.removeWinding();
    if (!below) return false;
    form_ = *below;
    return true;
  }
  // 巻線名 of the winding shown, as typed.
  void setWindingName(const std::string& name) {
    job::Item& it = items_.item(items_.shown());
    const std::size_t k = items_.shownWinding();
    if (k == 0) {
      it.windingName = name;
    } else if (k <= it.upperWindings.size()) {
      it.upperWindings[k - 1].name = name;
    }
  }
  // A box of a winding above the first left with its text (0 層間絶縁の厚み,
  // 1 層数, 2 線材単価, 3 巻線速度; empty price or speed: the price list's and
  // the item's): {} or {"error"} naming the box and the winding, nothing
  // kept. New tape moves this winding and every one above it.
  std::string setWindingBox(int box, const std::string& typed) {
    job::Item& it = items_.item(items_.shown());
    const std::size_t k = items_.shownWinding();
    if (k == 0 || k > it.upperWindings.size() || box < 0 || box > 4)
      return failed("巻線がありません。");
    job::UpperWinding& upper = it.upperWindings[k - 1];
    if (box == 4) {
      // The item's price a layer of tape, whichever winding shows it.
      double price = 0;
      if (!trimmed(typed).empty()) {
        const Expected<double> read = job::readTermFigure("層間テープ単価", typed);
        if (!read) return failed(windingLabel(k, upper.name) + ": " + read.message());
        price = *read;
      }
      it.tapeYenPerLayer = price;
      return "{}";
    }
    if (box < 2) {
      // The box is read alone, the other taken as none: the message names
      // the box and the winding.
      job::TypedInsulation alone;
      (box == 0 ? alone.thicknessPerLayer : alone.layers) = typed;
      if (const Expected<Insulation> read = job::readInsulation(alone, windingLabel(k, upper.name));
          !read)
        return failed(read.message());
      std::string& kept = box == 0 ? upper.under.thicknessPerLayer : upper.under.layers;
      if (kept == typed) return "{}";
      kept = typed;
      items_.stackChanged(k - 1);
      form::forgetInherited(form_);
      return "{}";
    }
    const job::TermFigure figure = box == 2 ? job::TermFigure::WirePrice : job::TermFigure::Speed;
    std::optional<double> value;
    if (!trimmed(typed).empty()) {
      const Expected<double> read =
          job::readTermFigure(job::termName(figure), typed, job::termUnits(figure));
      if (!read) return failed(windingLabel(k, upper.name) + ": " + read.message());
      value = *read;
    }
    (box == 2 ? upper.terms.wireYenPerKg : upper.terms.windingRpm) = value;
    return "{}";
  }

 private:
  // The terms an item is priced with: its own, the wire price from the
  // price list when they hold none for its material and wire.
  Expected<job::PricingTerms> pricingOf(const job::Item& item, ConductorMaterial material) const {
    return job::pricingTerms(item.terms, material, job::bareDiameterMm(item.coil), priceList_);
  }

  // Whether 線材単価 in the pane is a price typed there rather than the one
  // the pane put in it ("1,800" over 1800 is the same price).
  bool wirePriceTyped(const json& typed) const {
    const std::string text =
        textAt(typed.is_object() && typed.contains("figures") ? typed["figures"] : json(), 0);
    if (text == pane_.text) return false;
    const Expected<double> shown =
        job::readTermFigure(job::termName(job::TermFigure::WirePrice), text);
    return !shown || !pane_.put || *shown != *pane_.put;
  }
  // A typed price is the job's own, for every size of its material.
  void withBoxWire(job::QuotationTerms& terms, bool priceTyped) const {
    terms.wireMaterial = pane_.material;
    terms.wireDiameterFromMm = priceTyped ? std::nullopt : pane_.fromMm;
    terms.wireDiameterToMm = priceTyped ? std::nullopt : pane_.toMm;
  }
  // The line under the terms saying where 線材単価 is from.
  std::string wirePriceSource(bool priceTyped) const {
    if (!priceTyped && !pane_.missing.empty()) return pane_.missing;
    std::string what(materialName(pane_.material));
    if (const std::string sizes =
            pane_.fromMm ? job::wireDiametersText(*pane_.fromMm, pane_.toMm) : std::string();
        !priceTyped && !sizes.empty())
      what += " " + sizes + " ";
    if (priceTyped) return "線材単価は、入力した" + what + "の価格です。";
    if (pane_.from == job::WirePriceSource::PriceList)
      return "線材単価は、単価表の" + what + "の価格です。";
    return "線材単価は、この案件の見積条件の" + what + "の価格です。";
  }

  bool stackShown() const { return job::isStack(items_.item(items_.shown())); }

  // 計算 of the item shown, a stack of windings: the box left on the way
  // runs its rule and the focus goes to 計算 as for the form's press, then
  // every winding is pressed in order; after a refusal the winding at
  // fault is shown and the refusal said once.
  bool pressStack() {
    const form::ControlId calculate = form::calculateButton();
    if (form_.state().focus != calculate) form_.moveFocus(calculate);
    stackPressing_ = true;
    const form::StackPress press = items_.pressShown(form_, workRunner());
    form_ = items_.shownState();
    stackPressing_ = false;
    if (!deferred_) ++stackPresses_;
    if (!press.result && !press.cancelled && !deferred_) {
      ++stackSaid_;
      stackMessage_ = press.message;
      stackRefusedBox_ = -1;
      const std::size_t k = press.failedWinding;
      const job::Item& it = items_.item(items_.shown());
      if (k > 0 && k <= it.upperWindings.size() &&
          !job::readInsulation(it.upperWindings[k - 1].under, {})) {
        const bool thickness =
            !job::readInsulation({it.upperWindings[k - 1].under.thicknessPerLayer, "0"}, {});
        stackRefusedBox_ = thickness ? 0 : 1;
      }
    }
    return press.result.has_value();
  }
  // After an event on a winding of a stack: a target changes the turns of
  // that winding only, those above then sit elsewhere and the stack is
  // pressed again; any other change leaves the stack no longer computed.
  void windingsFollow(bool targetSolved) {
    if (!stackShown()) return;
    if (targetSolved) {
      pressStack();
      return;
    }
    if (!form_.state().resultsCurrent && items_.stackOf(items_.shown()))
      items_.stackChanged(items_.shownWinding());
  }
  // Every item's stack as computed, none where its results are not current.
  std::vector<std::optional<StackResult>> currentStacks() const {
    std::vector<std::optional<StackResult>> all;
    all.reserve(items_.count());
    for (std::size_t i = 0; i < items_.count(); ++i)
      all.push_back(items_.current(i, form_) ? items_.stackOf(i) : std::nullopt);
    return all;
  }
  // The price of an item of several windings under `terms`, as one coil:
  // the wire and the turns of every winding.
  Expected<job::CoilPrice> stackPrice(std::size_t index, const job::QuotationTerms& terms) const {
    return job::coilPriceOfStack(itemAt(index), currentStack(index), terms,
                                 [this] { return Expected<job::PriceList>(priceList_); });
  }
  // The same winding by winding, for the tables' quotation rows.
  Expected<job::StackPrice> stackQuote(std::size_t index, const job::QuotationTerms& terms) const {
    return job::priceOfStack(itemAt(index), currentStack(index), terms,
                             [this] { return Expected<job::PriceList>(priceList_); });
  }
  std::optional<StackResult> currentStack(std::size_t index) const {
    return items_.current(index, form_) ? items_.stackOf(index) : std::nullopt;
  }
  // The stack's drawing as the page paints it, in the window's twips:
  // {"windings": [{"winding", "circles": [[left, top, d, filled]],
  // "layers": [left, top, width, height] or null}], "tapes": [{"under",
  // "band"}], "lines": the former line and the two flanges}; null while the
  // item shown is no stack computed, {"visible": false} when it cannot be drawn.
  json sectionJson() const {
    const std::size_t index = items_.shown();
    if (!stackShown() || !items_.stackOf(index) || !items_.current(index, form_)) return nullptr;
    const form::StackSection s =
        form::stackSection(form::diagramGeometry(), *items_.stackOf(index));
    if (!s.visible) return {{"visible", false}};
    const auto band = [](const form::Band& b) { return json{b.left, b.top, b.width, b.height}; };
    json windings = json::array();
    for (const form::WindingTurns& w : s.windings) {
      json circles = json::array();
      for (const form::TurnCircle& c : w.circles)
        circles.push_back({c.left, c.top, c.diameter, c.filled});
      windings.push_back({{"winding", w.winding},
                          {"circles", circles},
                          {"layers", w.layers ? band(*w.layers) : json(nullptr)}});
    }
    json tapes = json::array();
    for (const form::TapeBand& t : s.tapes)
      tapes.push_back({{"under", t.under}, {"band", band(t.band)}});
    json lines = json::array();
    for (const form::Segment* l : {&s.formerLine, &s.leftFlange, &s.rightFlange})
      lines.push_back({l->x1, l->y1, l->x2, l->y2});
    return {{"visible", true}, {"windings", windings}, {"tapes", tapes}, {"lines", lines}};
  }
  const form::Form1& formOf(std::size_t index) const { return items_.formOf(index, form_); }
  job::Item itemAt(std::size_t index) const { return items_.itemAt(index, form_); }
  job::Job currentJob() const {
    job::Job job;
    job.fields = fields_;
    job.items = items_.items(form_);
    job.issues = issues_;
    return job;
  }

  // An item's results table as every output has it, with its quotation
  // when the item has 見積条件.
  job::ResultsTable tableOf(std::size_t index, const std::string& createdAt) const {
    const job::ShownCoil coil = form::shownCoil(formOf(index));
    const job::Item item = itemAt(index);
    job::ResultsTable table = job::resultsTable(coil, fields_, item, createdAt);
    job::addQuotation(table, coil, item.terms);
    return table;
  }
  // Every item's table, 作成日時 now.
  std::vector<job::ResultsTable> resultsTables() const {
    const std::string createdAt = job::localMinute(std::chrono::system_clock::now());
    std::vector<job::ResultsTable> tables;
    tables.reserve(items_.count());
    for (std::size_t i = 0; i < items_.count(); ++i) {
      const job::Item item = itemAt(i);
      if (!job::isStack(item)) {
        tables.push_back(tableOf(i, createdAt));
        continue;
      }
      // A table a winding; the price, the whole piece's, under the first.
      for (std::size_t k = 0; k < items_.windingCount(i); ++k) {
        tables.push_back(job::resultsTable(form::shownCoil(items_.windingForm(i, k, form_)),
                                           fields_, item, createdAt));
        if (k == 0 && item.terms)
          tables.back().quotation =
              job::stackQuotationRows(*item.terms, stackQuote(i, *item.terms));
      }
    }
    return tables;
  }

  // Every field of the job as the desktop's dialog shows it; 版 as a text.
  json fieldsJson() const {
    const std::string issue =
        fields_.revision == 0
            ? std::string("未発行（見積書を印刷または PDF に出力すると第1版）")
            : "第" + std::to_string(fields_.revision) + "版（" + fields_.issuedOn + " 発行）";
    return {{"customer", fields_.customer},
            {"customerPerson", fields_.customerPerson},
            {"quotationNumber", fields_.quotationNumber},
            {"personInCharge", fields_.personInCharge},
            {"subject", fields_.subject},
            {"deliveryTerms", fields_.deliveryTerms},
            {"paymentTerms", fields_.paymentTerms},
            {"validDays", std::to_string(fields_.validDays)},
            {"remarks", fields_.remarks},
            {"revision", issue},
            {"memo", fields_.memo},
            {"workingCelsius", plainDecimal(fields_.workingCelsius)}};
  }

  // How the long work of the form's computations runs: at once (the
  // replay's steps), left to the worker (the page's events), in the worker
  // with its progress passed on, or called off.
  enum class Mode { AtOnce, Deferred, Worker, CalledOff };

  // One of the page's events on the form, its long work run as next_ says.
  // Left to the worker, the form stays as it was before the event.
  template <typename Event>
  bool act(Event event) {
    const form::Form1 before = form_;
    // A stack's press or a target on one of its windings changes the
    // item's other forms too: they go back as well when left to the worker.
    std::optional<form::ItemForms> itemsBefore;
    if (stackShown()) itemsBefore = items_;
    mode_ = next_;
    next_ = Mode::Deferred;
    form_.setWorkRunner(workRunner());
    const int targets = form_.state().targetsSolved;
    const bool done = event();
    if (!deferred_ && !stackPressing_) windingsFollow(form_.state().targetsSolved != targets);
    mode_ = Mode::AtOnce;
    if (deferred_) {
      form_ = before;
      if (itemsBefore) items_ = std::move(*itemsBefore);
    }
    return done;
  }
  form::WorkRunner workRunner() {
    return [this](double turns, const form::Work& work) { runWork(turns, work); };
  }
  void runWork(double turns, const form::Work& work) {
    if (mode_ == Mode::AtOnce || std::fabs(turns) < kLongWorkTurns) return work(nullptr);
    PressProgress progress;
    if (mode_ == Mode::Worker) {
      progress.setListener(reportToPage);
    } else {
      // Deferred: called off at once, and the event undone by act().
      deferred_ = deferred_ || mode_ == Mode::Deferred;
      progress.cancel();
    }
    work(&progress);
  }

  form::Form1 form_;
  job::JobFields fields_;
  // The job's issue history, as it was opened and as the page issued it.
  std::vector<job::IssueRecord> issues_;
  // The 版 見積書を印刷 worked out, taken into the job once the browser has
  // stored it in the ledger.
  std::optional<job::IssueRecord> pendingIssue_;
  // The price list every item without terms of its own is priced from.
  job::PriceList priceList_ = job::builtInPriceList();
  // The 見積 pane open on the item shown: the wire price it put in
  // 線材単価 (its text, its value, its material and where it came from,
  // and the diameters of the list's row), or why there is none.
  struct PaneWire {
    ConductorMaterial material = ConductorMaterial::Copper;
    job::WirePriceSource from = job::WirePriceSource::PriceList;
    std::optional<double> put;
    std::string text;
    std::optional<double> fromMm, toMm;
    std::string missing;
  };
  PaneWire pane_;

  // The file's name the job was opened from or last downloaded as; empty
  // for a new job (無題).
  std::string name_;
  // Every item, and the form state of each while another is shown (form_
  // holds the state of the item shown).
  form::ItemForms items_;
  // The job as it was opened, saved or made new, to tell changes by.
  job::Job saved_ = currentJob();
  Mode mode_ = Mode::AtOnce;
  Mode next_ = Mode::Deferred;
  bool deferred_ = false;       // the last event's long work is left to the worker
  bool stackPressing_ = false;  // a stack's press is putting its forms on the page
  // What the last failed press of a stack said, and how many it has said:
  // the page shows each once, the tape's box given when the tape is at fault.
  int stackPresses_ = 0;
  int stackSaid_ = 0;
  std::string stackMessage_;
  int stackRefusedBox_ = -1;
};

EMSCRIPTEN_BINDINGS(kelvane) {
  emscripten::class_<PageForm>("PageForm")
      .constructor<>()
      .class_function("controls", &PageForm::controls)
      .function("state", &PageForm::state)
      .function("moveFocus", &PageForm::moveFocus)
      .function("editText", &PageForm::editText)
      .function("click", &PageForm::click)
      .function("pressButton", &PageForm::pressButton)
      .function("keyDown", &PageForm::keyDown)
      .function("closeSheet", &PageForm::closeSheet)
      .function("reset", &PageForm::reset)
      .function("document", &PageForm::document)
      .function("longWorkLeft", &PageForm::longWorkLeft)
      .function("callOffNextWork", &PageForm::callOffNextWork)
      .function("workNextAtOnce", &PageForm::workNextAtOnce)
      .function("address", &PageForm::address)
      .class_function("worker", &PageForm::worker)
      .function("openJob", &PageForm::openJob)
      .function("saveJob", &PageForm::saveJob)
      .function("fields", &PageForm::fields)
      .function("setFields", &PageForm::setFields)
      .function("clipboard", &PageForm::clipboard)
      .function("csvFile", &PageForm::csvFile)
      .function("quotationSheet", &PageForm::quotationSheet)
      .class_function("wireTables", &PageForm::wireTables)
      .class_function("wireCell", &PageForm::wireCell)
      .class_function("findWire", &PageForm::findWire)
      .function("chooseWire", &PageForm::chooseWire)
      .function("replay", &PageForm::replay)
      .function("items", &PageForm::items)
      .function("showItem", &PageForm::showItem)
      .function("addItem", &PageForm::addItem)
      .function("duplicateItem", &PageForm::duplicateItem)
      .function("removeItem", &PageForm::removeItem)
      .function("moveItem", &PageForm::moveItem)
      .function("setItemNames", &PageForm::setItemNames)
      .function("computeAllItems", &PageForm::computeAllItems)
      .function("windings", &PageForm::windings)
      .function("showWinding", &PageForm::showWinding)
      .function("addWinding", &PageForm::addWinding)
      .function("removeWinding", &PageForm::removeWinding)
      .function("setWindingName", &PageForm::setWindingName)
      .function("setWindingBox", &PageForm::setWindingBox)
      .function("quotationPane", &PageForm::quotationPane)
      .function("paneQuote", &PageForm::paneQuote)
      .function("takeTerms", &PageForm::takeTerms)
      .function("usePriceList", &PageForm::usePriceList)
      .function("priceListFile", &PageForm::priceListFile)
      .function("priceListForm", &PageForm::priceListForm)
      .function("takePriceList", &PageForm::takePriceList)
      .class_function("companyFile", &PageForm::companyFile)
      .class_function("readCompany", &PageForm::readCompany)
      .function("customerQuotation", &PageForm::customerQuotation)
      .function("takeIssue", &PageForm::takeIssue)
      .class_function("ledgerRows", &PageForm::ledgerRows)
      .class_function("ledgerFile", &PageForm::ledgerFile)
      .function("openIssue", &PageForm::openIssue);
}

}  // namespace kelvane::web
