// The browser page's way into the form model: every event of the page calls
// one of the form's public operations (the same ones the Qt window and the
// replay call) and reads the form's state back as JSON. Nothing here decides
// anything about the coil or the window.
#include <emscripten/bind.h>

#include <chrono>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <variant>

#include "core/number_text.h"
#include "core/temperature_resistance.h"
#include "form/box_names.h"
#include "form/control_table.h"
#include "form/form1.h"
#include "job/file_name.h"
#include "job/job_form.h"
#include "job/job_json.h"
#include "job/quotation_rows.h"
#include "job/results_table.h"
#include "tools/replay/replay.h"
#include "wiredata/wire_choice.h"
#include "wiredata/wire_picker_text.h"
#include "wiredata/wire_tables.h"

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
          {"how", wiredata::howToChoose(t, form::boxName(form::box::BareDiameter),
                                        form::boxName(form::box::FinishedDiameter))},
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

// The page's form and the job's fields beside it.
class PageForm {
 public:
  // The control table and the window's size, for building the page.
  static std::string controls() {
    json list = json::array();
    for (const form::ControlDesign& c : form::controlTable()) {
      list.push_back(
          {{"id", c.id.str()},
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
           {"takesTyping",
            c.id.name == "Text2" && form::takesTyping(static_cast<form::ResultBox>(c.id.index))}});
    }
    return json{{"width", form::kFormWidth}, {"height", form::kFormHeight}, {"controls", list}}
        .dump();
  }

  // Everything the page shows, after any operation.
  std::string state() const {
    const form::FormState& s = form_.state();
    json captions = json::object();
    for (int i = 0; i < form::kCaptionCount; ++i)
      captions[form::changeableCaptions()[i].str()] = s.captions[i];
    json visible = json::object();
    for (const form::ControlId& id : form::changeableVisibility())
      visible[id.str()] = form_.isVisible(id);
    json circles = json::array();
    for (const form::Circle& c : s.drawing.circles)
      circles.push_back({c.left, c.top, c.width, c.height, c.filled});
    auto line = [](const form::LinePosition& l) { return json{l.x1, l.y1, l.x2, l.y2}; };
    return json{{"text1", s.inputTexts},
                {"text2", s.resultTexts},
                {"captions", captions},
                {"visible", visible},
                {"option1", s.former ? static_cast<int>(*s.former) : -1},
                {"option3", static_cast<int>(s.material)},
                {"focus", s.focus.str()},
                {"messages", s.messages},
                {"selectRequests", s.selectRequests},
                {"printRequests", s.printRequests},
                {"sheetOpen", s.sheetOpen},
                {"sheetLines", s.sheetLines},
                {"outOfDate", form_.resultsOutOfDate()},
                {"resultsCurrent", s.resultsCurrent},
                {"circles", circles},
                {"lines", {line(s.drawing.line1), line(s.drawing.line2), line(s.drawing.line3)}},
                {"fields", fieldsJson()}}
        .dump(-1, ' ', false, json::error_handler_t::replace);
  }

  bool moveFocus(const std::string& id) {
    auto c = controlNamed(id);
    return c && form_.moveFocus(*c);
  }
  // The focused box's text as the user edits it, keystroke by keystroke.
  bool editText(const std::string& id, const std::string& text) {
    auto c = controlNamed(id);
    if (!c || form_.state().focus != *c || !form_.textOf(*c)) return false;
    form_.editText(*c, text);
    return true;
  }
  bool click(const std::string& id) {
    auto c = controlNamed(id);
    return c && form_.click(*c);
  }
  bool pressButton(const std::string& id) {
    auto c = controlNamed(id);
    return c && form_.pressButton(*c);
  }
  void pressEnter(bool backwards) { form_.pressEnter(backwards); }
  void pressKey(int keyCode) { form_.pressKey(keyCode); }
  void closeSheet() { form_.closeSheet(); }

  // 新規: the window as at start-up, with empty fields.
  void reset() {
    form_ = form::Form1();
    fields_ = {};
    terms_ = {};
    priceListSavedAt_.clear();
  }

  // 開く: "" when the job is open, else why not.
  std::string openJob(const std::string& text) {
    const Expected<job::Job> job = job::readJob(text);
    if (!job) return job.message();
    fields_ = job->fields;
    terms_ = job->terms;
    priceListSavedAt_ = job->priceListSavedAt;
    job::applyJob(*job, form_);
    return "";
  }
  // 保存: {"text", "name"} of the file to download, or {"error"}.
  std::string saveJob() const {
    // The page does not price a job; it keeps the 見積条件 the job came with.
    job::Job job = job::jobFromForm(form_, fields_);
    job.terms = terms_;
    job.priceListSavedAt = priceListSavedAt_;
    const Expected<std::string> text = job::savedJobText(job, std::chrono::system_clock::now());
    if (!text) return json{{"error", text.message()}}.dump();
    return json{{"text", *text}, {"name", job::suggestedFileName(fields_, ".kelvane")}}.dump();
  }
  std::string csvFileName() const { return job::suggestedFileName(fields_, ".csv"); }

  // 案件情報: the fields as the dialog gives them, all texts, the working
  // temperature as typed; "" when taken, else why not (nothing changes).
  std::string setFields(const std::string& text) {
    const json j = json::parse(text, nullptr, false);
    if (!j.is_object()) return "案件情報を読めません";
    auto textOf = [&](const char* key) {
      const auto it = j.find(key);
      return it != j.end() && it->is_string() ? it->get<std::string>() : std::string();
    };
    const Expected<double> celsius = readWorkingTemperature(textOf("workingCelsius"));
    if (!celsius) return celsius.message();
    job::JobFields f = fields_;  // what the dialog does not show stays as it is
    f.customer = textOf("customer");
    f.partNumber = textOf("partNumber");
    f.quotationNumber = textOf("quotationNumber");
    f.personInCharge = textOf("personInCharge");
    f.memo = textOf("memo");
    f.workingCelsius = *celsius;
    fields_ = f;
    return "";
  }

  // The results table as the clipboard and the CSV file hold it.
  std::string tableText(const std::string& format) const {
    job::ResultsTable table =
        job::resultsTable(form_, fields_, job::localMinute(std::chrono::system_clock::now()));
    job::addQuotation(table, form_, terms_);
    if (format == "csv") return job::toCsv(table);
    if (format == "html") return job::toHtml(table);
    return job::toTabSeparated(table);
  }

  // 規格線から選ぶ: {"tables": [...]} as wireTableJson gives each, or {"error"}.
  static std::string wireTables() {
    const auto& tables = wiredata::standardWireTables();
    if (!tables) return json{{"error", tables.message()}}.dump();
    if (tables->empty()) return json{{"error", "規格線の表がありません。"}}.dump();
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
                {"chosen", wiredata::choiceText(choice, form::boxName(form::box::BareDiameter),
                                                form::boxName(form::box::FinishedDiameter))},
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

  // kelvane-replay's steps on this form: its JSON state, or {"error"}.
  std::string replay(const std::string& steps) {
    PageTarget target(form_);
    if (auto applied = replay::applySteps(std::string_view(steps), target); !applied.ok())
      return json{{"error", applied.message()}}.dump();
    return replay::toJson(target.snapshot());
  }

 private:
  json fieldsJson() const {
    return {{"customer", fields_.customer},
            {"partNumber", fields_.partNumber},
            {"quotationNumber", fields_.quotationNumber},
            {"personInCharge", fields_.personInCharge},
            {"memo", fields_.memo},
            {"workingCelsius", plainDecimal(fields_.workingCelsius)}};
  }

  form::Form1 form_;
  job::JobFields fields_;
  std::optional<job::QuotationTerms> terms_;
  std::string priceListSavedAt_;
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
      .function("pressEnter", &PageForm::pressEnter)
      .function("pressKey", &PageForm::pressKey)
      .function("closeSheet", &PageForm::closeSheet)
      .function("reset", &PageForm::reset)
      .function("openJob", &PageForm::openJob)
      .function("saveJob", &PageForm::saveJob)
      .function("csvFileName", &PageForm::csvFileName)
      .function("setFields", &PageForm::setFields)
      .function("tableText", &PageForm::tableText)
      .class_function("wireTables", &PageForm::wireTables)
      .class_function("wireCell", &PageForm::wireCell)
      .class_function("findWire", &PageForm::findWire)
      .function("chooseWire", &PageForm::chooseWire)
      .function("replay", &PageForm::replay);
}

}  // namespace kelvane::web
