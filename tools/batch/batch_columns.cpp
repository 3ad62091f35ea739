#include "tools/batch/batch_columns.h"

#include <algorithm>
#include <array>

#include "core/coil_fields.h"
#include "core/read_coil.h"
#include "job/job.h"
#include "job/quotation_text.h"
#include "job/table_lines.h"
#include "tools/batch/batch_costs.h"
#include "tools/batch/batch_results.h"

namespace kelvane::batch {
namespace {

constexpr std::string_view kFormerColumn = "former";
constexpr std::string_view kMaterialColumn = "material";
constexpr std::string_view kErrorColumn = "エラー";
constexpr std::string_view kQuantitiesColumn = "数量";
// The characters of a name, UTF-8 decoded (a byte of no character stands
// for itself, apart from every character); `folded`, as it is compared with
// the columns: full-width forms and the ideographic space made ASCII, ASCII
// letters made small, and blanks left out.
std::u32string comparable(std::string_view name, bool folded = true) {
  std::u32string out;
  for (std::size_t i = 0; i < name.size();) {
    const auto byte = static_cast<unsigned char>(name[i]);
    int length = byte < 0x80 ? 1 : byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 0;
    char32_t c = length == 1   ? byte
                 : length == 2 ? byte & 0x1F
                 : length == 3 ? byte & 0x0F
                               : byte & 0x07;
    for (int k = 1; k < length; ++k) {
      const auto next = i + k < name.size() ? static_cast<unsigned char>(name[i + k]) : 0;
      if ((next & 0xC0) != 0x80) {
        length = 0;
        break;
      }
      c = (c << 6) | (next & 0x3F);
    }
    if (length == 0) {
      out.push_back(0x110000 + byte);
      ++i;
      continue;
    }
    i += length;
    if (folded) {
      if (c >= 0xFF01 && c <= 0xFF5E) c -= 0xFEE0;  // full-width ASCII
      if (c == 0x3000) c = ' ';
      if (c == 0xFEFF || c == ' ' || c == '\t') continue;
      if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
    }
    out.push_back(c);
  }
  return out;
}

// The edits that turn one text into the other: a character put in, left
// out, changed, or two neighbours swapped.
std::size_t editDistance(const std::u32string& a, const std::u32string& b) {
  const std::size_t width = b.size() + 1;
  std::vector<std::size_t> d((a.size() + 1) * width);
  for (std::size_t i = 0; i <= a.size(); ++i) d[i * width] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
      std::size_t& here = d[i * width + j];
      here = std::min({d[(i - 1) * width + j] + 1, d[i * width + j - 1] + 1,
                       d[(i - 1) * width + j - 1] + change});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        here = std::min(here, d[(i - 2) * width + j - 2] + 1);
      }
    }
  }
  return d.back();
}

// How far a name may be from a column's to be taken for a slip of the
// keyboard: short names are too easily a column of the user's own
// (品名 beside 品番, C beside A).
std::size_t slipsAllowed(std::size_t length) {
  if (length <= 3) return 0;
  if (length <= 7) return 1;
  return 2;
}

// Every name a header may use for a column Kelvane reads.
const std::vector<std::string>& knownNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> all = inputColumns();
    for (const auto* more :
         {&jobFileColumns(), &jobFieldColumns(), &jobFieldFileColumns(), &termColumns(),
          &termFileColumns(), &stackColumns(), &stackFileColumns()}) {
      all.insert(all.end(), more->begin(), more->end());
    }
    return all;
  }();
  return names;
}

// Those names as they are compared: folded, and as written.
struct KnownName {
  const std::string* name;
  std::u32string folded, written;
};
const std::vector<KnownName>& knownComparables() {
  static const std::vector<KnownName> names = [] {
    std::vector<KnownName> all;
    for (const std::string& name : knownNames()) {
      all.push_back({&name, comparable(name), comparable(name, false)});
    }
    return all;
  }();
  return names;
}

template <typename Names>
std::optional<std::size_t> indexIn(const Names& names, std::string_view name) {
  const auto at = std::find(names.begin(), names.end(), name);
  if (at == names.end()) return std::nullopt;
  return static_cast<std::size_t>(at - names.begin());
}

}  // namespace

const std::vector<std::string>& inputColumns() {
  static const std::vector<std::string> columns = [] {
    std::vector<std::string> names;
    names.reserve(kInputBoxCount + 2);
    for (int i = 0; i < kInputBoxCount; ++i)
      names.emplace_back(inputField(static_cast<InputBox>(i)).name);
    names.emplace_back(kFormerName);
    names.emplace_back(kMaterialName);
    return names;
  }();
  return columns;
}

const std::vector<std::string>& jobFileColumns() {
  static const std::vector<std::string> columns = [] {
    std::vector<std::string> names;
    names.reserve(kInputBoxCount + 2);
    for (int i = 0; i < kInputBoxCount; ++i)
      names.emplace_back(inputField(static_cast<InputBox>(i)).key);
    names.emplace_back(kFormerColumn);
    names.emplace_back(kMaterialColumn);
    return names;
  }();
  return columns;
}

const std::vector<std::string>& stackColumns() {
  static const std::vector<std::string> names = {"巻線", "層間絶縁"};
  return names;
}

const std::vector<std::string>& stackFileColumns() {
  static const std::vector<std::string> names = {"winding", "insulation"};
  return names;
}

const std::vector<std::string>& jobFieldColumns() {
  static const std::vector<std::string> names = {
      "顧客名", "品番", "見積番号", "担当者", std::string(job::kWorkingTemperatureItem), "品名"};
  return names;
}

const std::vector<std::string>& jobFieldFileColumns() {
  static const std::vector<std::string> names = {
      "customer", "partNumber", "quotationNumber", "personInCharge", "workingTemperature", "name"};
  return names;
}

const std::vector<std::string>& termColumns() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> all;
    all.reserve(job::kTermFigures.size() + 1);
    for (const job::TermFigure figure : job::kTermFigures) all.emplace_back(job::termName(figure));
    all.emplace_back(kQuantitiesColumn);
    return all;
  }();
  return names;
}

const std::vector<std::string>& termFileColumns() {
  static const std::vector<std::string> names = {
      "wireYenPerKg",     "lossPercent",     "windingRpm",    "handlingMinutes", "setupMinutes",
      "labourYenPerHour", "overheadPercent", "profitPercent", "quantities"};
  return names;
}

std::vector<std::string> resultColumns(ResultStyle style, bool workingTemperature) {
  std::vector<std::string> names;
  if (style == ResultStyle::Readable) {
    names = readableColumns(workingTemperature);
  } else {
    // Named as the window's controls are, for comparing with it.
    for (int i = 0; i < kResultBoxCount; ++i) names.push_back("Text2(" + std::to_string(i) + ")");
    for (const int label : kUnitCaptionLabels) {
      names.push_back("Label1(" + std::to_string(label) + ")");
    }
  }
  names.emplace_back(kErrorColumn);
  return names;
}

std::optional<std::string> resembledColumn(std::string_view name) {
  if (indexIn(knownNames(), name)) return std::nullopt;
  const std::u32string text = comparable(name);
  // The nearest column; of two as near, the one nearer as written
  // ("tention" is told beside tension, not Tension).
  std::optional<std::string> closest;
  std::pair<std::size_t, std::size_t> closestDistance;
  for (const KnownName& known : knownComparables()) {
    // The edits are at least the difference in length: a long name of the
    // user's own costs nothing to tell apart.
    const std::size_t allowed = slipsAllowed(known.folded.size());
    const std::size_t longer = std::max(text.size(), known.folded.size());
    if (longer - std::min(text.size(), known.folded.size()) > allowed) continue;
    const std::size_t distance = editDistance(text, known.folded);
    if (distance > allowed) continue;
    const std::pair<std::size_t, std::size_t> both = {
        distance, editDistance(comparable(name, false), known.written)};
    if (!closest || both < closestDistance) {
      closest = *known.name;
      closestDistance = both;
    }
  }
  return closest;
}

Expected<ColumnLayout> ColumnLayout::fromHeader(const std::vector<std::string>& header,
                                                ResultStyle style) {
  ColumnLayout layout;
  layout.style_ = style;
  layout.seen_.assign(inputColumns().size(), false);
  std::array<bool, kJobFieldCount> fieldSeen{};
  std::array<bool, kTermColumnCount> termSeen{};
  bool any = false;
  for (std::size_t at = 0; at < header.size(); ++at) {
    const std::string& name = header[at];
    Column column{name};
    auto input = indexIn(inputColumns(), name);
    if (input) {
      layout.byCaption_ = true;
    } else {
      input = indexIn(jobFileColumns(), name);
    }
    auto field = indexIn(jobFieldColumns(), name);
    if (!field) field = indexIn(jobFieldFileColumns(), name);
    auto term = indexIn(termColumns(), name);
    if (!term) term = indexIn(termFileColumns(), name);
    auto stack = indexIn(stackColumns(), name);
    if (!stack) stack = indexIn(stackFileColumns(), name);
    if (input) {
      if (layout.seen_[*input]) {
        return Failure{"見出しに「" + inputColumns()[*input] + "」（" + jobFileColumns()[*input] +
                       "）の列が二つあります。"};
      }
      layout.seen_[*input] = true;
      any = true;
      if (*input < kInputBoxCount) {
        column.holds = Holds::InputBox;
        column.box = static_cast<int>(*input);
      } else {
        column.holds = *input == kInputBoxCount ? Holds::Former : Holds::Material;
      }
    } else if (field) {
      if (fieldSeen[*field]) {
        return Failure{"見出しに「" + jobFieldColumns()[*field] + "」（" +
                       jobFieldFileColumns()[*field] + "）の列が二つあります。"};
      }
      fieldSeen[*field] = true;
      column.holds = Holds::JobField;
      column.field = static_cast<int>(*field);
      if (*field == static_cast<std::size_t>(JobField::PartNumber)) layout.partNumber_ = at;
      if (*field == static_cast<std::size_t>(JobField::WorkingTemperature) &&
          style == ResultStyle::Readable) {
        layout.workingTemperature_ = at;
      }
    } else if (term) {
      if (termSeen[*term]) {
        return Failure{"見出しに「" + termColumns()[*term] + "」（" + termFileColumns()[*term] +
                       "）の列が二つあります。"};
      }
      termSeen[*term] = true;
      column.holds = Holds::Term;
      column.term = static_cast<int>(*term);
      layout.hasTerms_ = true;
      if (*term == kQuantitiesTerm) layout.hasQuantities_ = true;
    } else if (stack) {
      if (layout.stack_[*stack]) {
        return Failure{"見出しに「" + stackColumns()[*stack] + "」（" + stackFileColumns()[*stack] +
                       "）の列が二つあります。"};
      }
      layout.stack_[*stack] = at;
      column.holds = Holds::Stack;
      column.stack = static_cast<int>(*stack);
    } else if (auto resembled = resembledColumn(name)) {
      return Failure{"見出しの「" + name + "」は列「" + *resembled +
                     "」の書き誤りと思われます。その列なら名前を直し、別の列なら似ていない名前に"
                     "してください（--header で列の名前を出せます）。"};
    }
    layout.columns_.push_back(std::move(column));
  }
  if (!any) {
    return Failure{
        "1 行目の見出しに入力の列が一つもありません（kelvane-batch --header で列の名前を出せま"
        "す）。"};
  }
  layout.resultColumns_ = batch::resultColumns(style, layout.workingTemperature_.has_value());
  return layout;
}

std::optional<std::string> ColumnLayout::missingInputs() const {
  const TypedCoil opening = openingCoil();
  const std::vector<std::string>& names = byCaption_ ? inputColumns() : jobFileColumns();
  std::string list;
  for (std::size_t i = 0; i < seen_.size(); ++i) {
    if (seen_[i]) continue;
    std::string value;
    if (i < kInputBoxCount) {
      value = opening.texts[i];
    } else if (i == kInputBoxCount) {
      // A row's former cell always gives one: the window's when it is empty.
      const FormerShape former = opening.former.value_or(FormerShape::Rectangular);
      value = byCaption_ ? formerName(former) : job::formerWord(former);
    } else {
      const ConductorMaterial material = opening.material;
      value = byCaption_ ? materialName(material) : job::materialWord(material);
    }
    list += (list.empty() ? "" : ", ") + names[i] + " " + (value.empty() ? "（空）" : value);
  }
  if (list.empty()) return std::nullopt;
  return "見出しにない入力の列は、ウィンドウを開いたときの値で計算します: " + list;
}

void ColumnLayout::priceWith(job::PriceList prices) {
  const std::vector<std::string> costs = costColumns(prices, hasQuantities_);
  resultColumns_.insert(resultColumns_.end() - 1, costs.begin(), costs.end());
  prices_ = std::move(prices);
}

}  // namespace kelvane::batch
