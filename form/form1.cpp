#include "form/form1.h"

#include <algorithm>

#include "core/number_text.h"
#include "core/typed_number.h"
#include "core/wire_data_sheet.h"
#include "form/control_table.h"
#include "form/entry_order.h"

namespace kelvane::form {

namespace {

// The boxes the program shows and hides, each with the caption beside it:
// the former's dimensions with Label1 of the same index, and the outer
// dimensions with the labels that stand in the reverse order of their boxes.
constexpr InputBox kFirstFormerBox = box::InnerDiameter;
constexpr InputBox kLastFormerBox = box::FanWideWidth;
constexpr std::array kOuterBoxes = {box::OuterA, box::OuterB, box::OuterRorD};
ControlId labelOf(ResultBox outer) { return label1(16 - (indexOf(outer) - indexOf(box::OuterA))); }

}  // namespace

const std::vector<ControlId>& changeableVisibility() {
  static const std::vector<ControlId> ids = [] {
    std::vector<ControlId> v;
    for (int i = indexOf(kFirstFormerBox); i <= indexOf(kLastFormerBox); ++i) v.push_back(text1(i));
    for (int i = indexOf(kFirstFormerBox); i <= indexOf(kLastFormerBox); ++i)
      v.push_back(label1(i));
    for (const ResultBox b : kOuterBoxes) v.push_back(idOf(b));
    for (const ResultBox b : {box::OuterRorD, box::OuterB, box::OuterA}) v.push_back(labelOf(b));
    for (int i = 0; i < kDrawingPartCount; ++i) v.push_back(idOf(static_cast<DrawingPart>(i)));
    return v;
  }();
  return ids;
}

const std::vector<ControlId>& changeableCaptions() {
  static const std::vector<ControlId> ids = [] {
    std::vector<ControlId> v;
    v.reserve(kCaptionCount);
    for (int i = 0; i < kCaptionCount; ++i) v.push_back(idOf(static_cast<Caption>(i)));
    return v;
  }();
  return ids;
}

namespace {

LinePosition designLine(DrawingPart line) {
  const ControlDesign* c = findControl(idOf(line));
  return {static_cast<float>(c->left), static_cast<float>(c->top),
          static_cast<float>(c->left + c->width), static_cast<float>(c->top + c->height)};
}

Circle designTemplate() {
  const ControlDesign* c = findControl(idOf(DrawingPart::Turns));
  return {static_cast<float>(c->left), static_cast<float>(c->top), static_cast<float>(c->width),
          static_cast<float>(c->height), false};
}

}  // namespace

Form1::Form1() {
  for (int i = 0; i < kInputBoxCount; ++i) s_.inputTexts[i] = findControl(text1(i))->text;
  for (int i = 0; i < kResultBoxCount; ++i) s_.resultTexts[i] = findControl(text2(i))->text;
  for (int i = 0; i < kCaptionCount; ++i)
    s_.captions[i] = findControl(idOf(static_cast<Caption>(i)))->text;
  for (int i = 0; i < kInputBoxCount; ++i) s_.visible.inputs[i] = findControl(text1(i))->visible;
  for (int i = 0; i < kResultBoxCount; ++i) s_.visible.results[i] = findControl(text2(i))->visible;
  for (int i = 0; i < kDrawingPartCount; ++i)
    s_.visible.drawing[i] = findControl(idOf(static_cast<DrawingPart>(i)))->visible;
  s_.drawing.circles = {designTemplate()};
  s_.drawing.line1 = designLine(DrawingPart::FormerLine);
  s_.drawing.line2 = designLine(DrawingPart::LeftFlange);
  s_.drawing.line3 = designLine(DrawingPart::RightFlange);
  load();
}

void Form1::load() {
  // The buttons of the design are already on; only their handlers run.
  showBoxesOf(FormerShape::Rectangular);
  useMaterial(ConductorMaterial::Copper);
}

void Form1::showBoxesOf(FormerShape former) {
  for (int i = indexOf(kFirstFormerBox); i <= indexOf(kLastFormerBox); ++i)
    s_.visible.inputs[i] = formerShows(former, static_cast<InputBox>(i));
  for (const ResultBox b : kOuterBoxes) s_.visible.results[indexOf(b)] = formerShows(former, b);
  if (const auto name = outerRorDName(former))
    s_.captions[indexOf(Caption::OuterRorD)] = std::string(*name);
}

void Form1::useMaterial(ConductorMaterial material) {
  // Results computed for the previous material no longer hold.
  clearResults();
  s_.materialValues = MaterialConstants(material);
}

void Form1::clearResults() {
  for (int i = 0; i < kResultBoxCount; ++i) write(static_cast<ResultBox>(i), "");
}

void Form1::showDataSheet() {
  const ConductorMaterial material = s_.material;
  // Read as typed: full-width digits count, and a comma the sheet cannot
  // read leaves the bare diameter incomplete.
  const std::string bare = toHalfWidth(s_.text(box::BareDiameter));
  const TypedNumber d = readTypedNumber(bare, units::kMillimetre);
  const TypedNumber dw = readTypedNumber(s_.text(box::FinishedDiameter), units::kMillimetre);
  const auto sheet = BuildWireDataSheet(d.overflow || d.notANumber ? 0 : d.value, bare,
                                        dw.readable() ? dw.value : 0, material);
  if (!sheet) {
    showMessage(sheet.message());
    return;
  }
  s_.sheetOpen = true;
  for (const std::string& line : sheet->reportLines) s_.sheetLines.push_back(line);
}

bool Form1::focusable(const ControlId& id) const {
  const ControlDesign* c = findControl(id);
  if (!c || !c->tabIndex) return false;
  switch (c->kind) {
    case ControlKind::TextBox:
    case ControlKind::OptionButton:
    case ControlKind::CommandButton:
      return isVisible(id);
    default:
      return false;
  }
}

bool Form1::moveFocus(const ControlId& target) {
  if (!focusable(target)) return false;
  if (target == s_.focus) return true;
  const ControlId left = s_.focus;
  s_.focus = target;
  if (const auto b = inputBoxOf(left)) applyInputRules(*b);
  if (const auto b = resultBoxOf(left)) solveTarget(*b);
  return true;
}

bool Form1::typeText(const ControlId& id, const std::string& text) {
  if (!box(id) || !moveFocus(id)) return false;
  // Typing selects the whole text and types over it. A result box that is no
  // target takes no key at all, and emptying a box that is already empty
  // deletes nothing: neither is an edit, so neither makes a target or puts the
  // results out of date.
  if (const auto result = resultBoxOf(id); result && !takesTyping(*result)) return true;
  if (text.empty() && box(id)->empty()) return true;
  editText(id, text);
  return true;
}

void Form1::editText(const ControlId& id, const std::string& text) {
  std::string* b = box(id);
  if (!b) return;
  *b = text;
  if (const auto b = inputBoxOf(id)) s_.inputEdited[indexOf(*b)] = true;
  if (const auto b = resultBoxOf(id)) s_.resultEdited[indexOf(*b)] = true;
  // A typed-over result box (a target being typed) no longer shows what the
  // press worked out, so neither do the results as a whole.
  s_.resultsCurrent = false;
}

bool Form1::click(const ControlId& target) {
  const ControlDesign* c = findControl(target);
  if (!c || (c->kind != ControlKind::CommandButton && c->kind != ControlKind::OptionButton))
    return false;
  if (!moveFocus(target)) return false;
  return pressButton(target);
}

bool Form1::pressButton(const ControlId& target) {
  const ControlDesign* c = findControl(target);
  if (!c || (c->kind != ControlKind::CommandButton && c->kind != ControlKind::OptionButton))
    return false;
  const std::optional<FormerShape> former = formerOf(target);
  const std::optional<ConductorMaterial> material = materialOf(target);
  if (target == calculateButton()) {
    calculate();
  } else if (target == dataSheetButton()) {
    showDataSheet();
  } else if (former && s_.former != former) {
    s_.former = former;
    s_.resultsCurrent = false;
    showBoxesOf(*former);
  } else if (material && s_.material != *material) {
    s_.material = *material;
    s_.resultsCurrent = false;
    useMaterial(*material);
  }
  return true;
}

void Form1::pressKey(int keyCode) {
  if (keyCode == kEnterKey) pressEnter(false);
  if (keyCode == kPrintKey) ++s_.printRequests;
}

void Form1::pressEnter(bool backwards) {
  const ControlId at = s_.focus;
  const ControlId calculate = calculateButton();
  const std::vector<InputBox> order = entryOrder([this](InputBox b) { return isVisible(idOf(b)); });
  if (const std::optional<InputBox> input = inputBoxOf(at)) {
    const InputBox from = *input;
    if (const std::optional<InputBox> to = enterMove(order, from, backwards)) {
      moveFocus(idOf(*to));
    } else if (!backwards && !order.empty() && order.back() == from) {
      click(calculate);
    }
    return;
  }
  if (resultBoxOf(at)) {
    // The results are read, not filled in one after another: Enter goes where
    // Tab goes, leaving a target box (and so applying its target) on the way.
    const std::vector<ControlId> tabs = tabOrder();
    const auto it = std::find(tabs.begin(), tabs.end(), at);
    if (it == tabs.end()) return;
    const std::size_t n = tabs.size(), i = static_cast<std::size_t>(it - tabs.begin());
    for (std::size_t step = 1; step < n; ++step) {
      const ControlId& next = tabs[(backwards ? i + n - step : i + step) % n];
      if (focusable(next)) {
        moveFocus(next);
        return;
      }
    }
    return;
  }
  if (!backwards) {
    click(at);
  } else if (at == calculate && !order.empty()) {
    moveFocus(idOf(order.back()));
  }
}

void Form1::closeSheet() {
  s_.sheetOpen = false;
  s_.sheetLines.clear();
}

bool Form1::setText(const ControlId& id, const std::string& text) {
  if (!box(id)) return false;
  write(id, text);
  return true;
}

bool Form1::isVisible(const ControlId& id) const {
  const Visibility& v = s_.visible;
  if (const auto b = inputBoxOf(id)) return v.inputs[indexOf(*b)];
  if (const auto b = resultBoxOf(id)) return v.results[indexOf(*b)];
  if (const auto p = drawingPartOf(id)) return v.drawing[indexOf(*p)];
  // A caption shown and hidden with its box.
  if (id.name == "Label1" && id.index >= indexOf(kFirstFormerBox) &&
      id.index <= indexOf(kLastFormerBox))
    return v.inputs[id.index];
  for (const ResultBox b : kOuterBoxes) {
    if (id == labelOf(b)) return v.results[indexOf(b)];
  }
  return findControl(id) != nullptr;
}

const std::string* Form1::textOf(const ControlId& id) const {
  return const_cast<Form1*>(this)->box(id);
}

bool Form1::userChanged(const ControlId& id) const {
  if (const auto b = inputBoxOf(id)) return s_.inputEdited[indexOf(*b)];
  if (const auto b = resultBoxOf(id)) return s_.resultEdited[indexOf(*b)];
  return false;
}

bool Form1::resultsOutOfDate() const {
  if (s_.resultsCurrent) return false;
  // The drawing counts once a press has drawn it; before that it is the
  // design's template.
  const bool drawn = s_.units && s_.visible.drawing[indexOf(DrawingPart::Turns)];
  return drawn || std::any_of(s_.resultTexts.begin(), s_.resultTexts.end(),
                              [](const std::string& t) { return !t.empty(); });
}

std::string* Form1::box(const ControlId& id) {
  if (const auto b = inputBoxOf(id)) return &s_.inputTexts[indexOf(*b)];
  if (const auto b = resultBoxOf(id)) return &s_.resultTexts[indexOf(*b)];
  return nullptr;
}

void Form1::write(InputBox b, std::string text) {
  s_.inputEdited[indexOf(b)] = false;
  std::string& shown = s_.inputTexts[indexOf(b)];
  if (shown != text) s_.resultsCurrent = false;
  shown = std::move(text);
}

void Form1::write(ResultBox b, std::string text) {
  s_.resultEdited[indexOf(b)] = false;
  s_.resultTexts[indexOf(b)] = std::move(text);
}

void Form1::write(const ControlId& id, std::string text) {
  if (const auto b = inputBoxOf(id)) {
    write(*b, std::move(text));
  } else if (const auto r = resultBoxOf(id)) {
    write(*r, std::move(text));
  }
}

void Form1::showDrawing(bool shown) {
  for (const DrawingPart p : {DrawingPart::Turns, DrawingPart::FormerLine, DrawingPart::LeftFlange,
                              DrawingPart::RightFlange})
    s_.visible.drawing[indexOf(p)] = shown;
}

void Form1::showMessage(std::string_view message) { s_.messages.emplace_back(message); }

void Form1::setFormerButton(std::optional<FormerShape> former) {
  if (s_.former != former) s_.resultsCurrent = false;
  s_.former = former;
}

ControlId Form1::parkFocus() {
  ControlId left = s_.focus;
  moveFocus(calculateButton());
  return left;
}

void Form1::returnFocus(const ControlId& control) {
  if (!moveFocus(control)) moveFocus(calculateButton());
}

void Form1::selectMaterial(ConductorMaterial material) {
  if (s_.material != material) click(idOf(material));
}

void Form1::selectFormer(std::optional<FormerShape> former) {
  setFormerButton(former);
  if (former) showBoxesOf(*former);
}

void Form1::refuseBox(InputBox b, std::string_view message) {
  showMessage(message);
  s_.resultsCurrent = false;
  if (!isVisible(idOf(b))) return;
  s_.focus = idOf(b);
  ++s_.selectRequests;
}

}  // namespace kelvane::form
