#include "tools/batch/batch.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string_view>
#include <utility>

#include "core/number_text.h"
#include "core/temperature_resistance.h"
#include "core/typed_number.h"
#include "core/winding_stack.h"
#include "job/csv_cell.h"
#include "job/item_stack.h"
#include "job/job.h"
#include "job/quotation_text.h"
#include "job/shown_coil.h"
#include "tools/batch/batch_costs.h"
#include "tools/batch/batch_results.h"

namespace kelvane::batch {
namespace {

// The captions of the length, weight and resistance rows as the window shows
// them (kUnitCaptionLabels): the row's name, and the unit the press chose as
// the window spells it ("全長 Km"); the name alone before a press chose one.
std::array<std::string, 3> unitCaptions(const std::optional<ShownUnits>& units) {
  const auto caption = [&](ResultBox row, std::string_view symbol) {
    std::string text(resultField(row).name);
    if (units) text.append(" ").append(symbol);
    return text;
  };
  const ShownUnits u = units.value_or(ShownUnits{});
  return {caption(ResultBox::AlignedLength, windowSymbol(u.length)),
          caption(ResultBox::AlignedWeight, windowSymbol(u.mass)),
          caption(ResultBox::AlignedDcr, windowSymbol(u.resistance))};
}

// Whether a former cell names the former: by its name (丸形), its name's
// first character (丸) or its word in a job file (round).
bool namesFormer(FormerShape former, std::string_view cell) {
  const std::string_view name = formerName(former);
  return cell == name || cell == name.substr(0, name.size() - std::string_view("形").size()) ||
         cell == job::formerWord(former);
}

// The option button a cell names: "0" … "2", or one of the button's words.
// An empty cell is the window's choice.
template <typename Words>
std::optional<int> optionIndex(std::string_view cell, int empty, const Words& wordsOf) {
  if (cell.empty()) return empty;
  if (cell.size() == 1 && cell[0] >= '0' && cell[0] <= '2') return cell[0] - '0';
  for (int i = 0; i < 3; ++i) {
    if (wordsOf(i, cell)) return i;
  }
  return std::nullopt;
}

std::optional<int> formerIndex(std::string_view cell) {
  return optionIndex(
      cell, static_cast<int>(FormerShape::Rectangular),
      [](int i, std::string_view c) { return namesFormer(static_cast<FormerShape>(i), c); });
}

std::optional<int> materialIndex(std::string_view cell) {
  return optionIndex(cell, static_cast<int>(ConductorMaterial::Copper),
                     [](int i, std::string_view c) {
                       const auto material = static_cast<ConductorMaterial>(i);
                       return c == materialName(material) || c == job::materialWord(material);
                     });
}

// "12 行目 3 列目（turns）: "; the column is left out for a fault of the row.
std::string place(std::uint64_t number, const ColumnLayout& layout,
                  std::optional<std::size_t> column) {
  std::string text = std::to_string(number) + " 行目";
  if (column) {
    text += " " + std::to_string(*column + 1) + " 列目";
    if (*column < layout.width()) text += "（" + layout.columns()[*column].name + "）";
  }
  return text + ": ";
}

// A byte as a message names it: 0xB0.
std::string byteText(char byte) {
  constexpr std::string_view kDigits = "0123456789ABCDEF";
  const auto value = static_cast<unsigned char>(byte);
  return std::string("0x") + kDigits[value >> 4] + kDigits[value & 0x0F];
}

// A cell quoted in a message, when it is short enough to read there.
std::string quoted(std::string_view cell) {
  if (cell.size() > 40) return "この値";
  return "「" + std::string(cell) + "」";
}

std::string faultMessage(const CsvRecord& record, std::uint64_t number,
                         const ColumnLayout& layout) {
  switch (record.fault) {
    case CsvFault::StrayQuote:
      return place(number, layout, record.faultField) +
             "引用符 \" の使い方が CSV として正しくありません。値を \" で囲み、値の中の \" は "
             "\"\" と二つ重ねてください。";
    case CsvFault::UnclosedQuote:
      return place(number, layout, record.faultField) +
             "引用符 \" が閉じられないままファイルが終わりました。";
    case CsvFault::TooLong:
      return place(number, layout, std::nullopt) + "行が長すぎます（1 MiB まで）。";
    case CsvFault::None:
      break;
  }
  return {};
}

// Whether the row can be computed; the failure says why not.
Expected<void> checkReadable(const CsvRecord& record, std::uint64_t number,
                             const ColumnLayout& layout, TextEncoding encoding) {
  if (record.fault != CsvFault::None) return Failure{faultMessage(record, number, layout)};
  if (record.fields.size() != layout.width()) {
    return Failure{place(number, layout, std::nullopt) + "列が " +
                   std::to_string(record.fields.size()) + " 個あります。見出しの列は " +
                   std::to_string(layout.width()) + " 個です。"};
  }
  for (std::size_t i = 0; i < record.fields.size(); ++i) {
    const std::string& cell = record.fields[i];
    if (const std::size_t stray = firstNonUtf8Byte(cell); stray != std::string::npos) {
      return Failure{place(number, layout, i) + "UTF-8 の文字として読めないバイト " +
                     byteText(cell[stray]) + " があります（値の " + std::to_string(stray + 1) +
                     " バイト目）。"};
    }
    if (encoding == TextEncoding::ShiftJis &&
        cell.find(kReplacementCharacter) != std::string::npos) {
      return Failure{place(number, layout, i) + "Shift_JIS の文字として読めないバイトがあります。"};
    }
  }
  for (std::size_t i = 0; i < record.fields.size(); ++i) {
    const std::string& cell = record.fields[i];
    switch (layout.columns()[i].holds) {
      case ColumnLayout::Holds::Former:
        if (!formerIndex(cell)) {
          return Failure{place(number, layout, i) + quoted(cell) +
                         "は巻枠の形として読めません。0, 1, 2 か 丸, 角, 扇 で書いてください。"};
        }
        break;
      case ColumnLayout::Holds::Material:
        if (!materialIndex(cell)) {
          return Failure{place(number, layout, i) + quoted(cell) +
                         "は材質として読めません。0, 1, 2 か " +
                         std::string(materialName(ConductorMaterial::Copper)) + ", " +
                         std::string(materialName(ConductorMaterial::Aluminium)) + ", " +
                         std::string(materialName(ConductorMaterial::CopperCladAluminium85)) +
                         " で書いてください。"};
        }
        break;
      case ColumnLayout::Holds::JobField:
        if (layout.workingTemperatureColumn() == i && !cell.empty()) {
          if (const Expected<double> t = readWorkingTemperature(cell); !t) {
            return Failure{place(number, layout, i) + t.message()};
          }
        }
        break;
      default:
        break;
    }
  }
  return {};
}

bool allEmpty(const CsvRecord& record) {
  return std::all_of(record.fields.begin(), record.fields.end(),
                     [](const std::string& f) { return f.empty(); });
}

// The coil, the item's 品番 and 品名 and the job's fields of a readable row:
// an input it has no column for keeps the text the window opens with.
struct RowJob {
  TypedCoil coil;
  std::string partNumber;
  std::string name;
  job::JobFields fields;
};

// A field of the job as a row's cell holds it; a working temperature that
// cannot be read (checked before, where it matters) or an empty cell leaves
// the field as a new job has it.
void setField(RowJob& job, JobField field, const std::string& cell) {
  switch (field) {
    case JobField::Customer:
      job.fields.customer = cell;
      break;
    case JobField::PartNumber:
      job.partNumber = cell;
      break;
    case JobField::QuotationNumber:
      job.fields.quotationNumber = cell;
      break;
    case JobField::PersonInCharge:
      job.fields.personInCharge = cell;
      break;
    case JobField::WorkingTemperature:
      if (const Expected<double> t = readWorkingTemperature(cell); t)
        job.fields.workingCelsius = *t;
      break;
    case JobField::ItemName:
      job.name = cell;
      break;
  }
}

RowJob jobOf(const ColumnLayout& layout, const CsvRecord& record) {
  RowJob job{openingCoil(), {}, {}, {}};
  for (std::size_t i = 0; i < layout.width(); ++i) {
    const ColumnLayout::Column& column = layout.columns()[i];
    const std::string& cell = record.fields[i];
    switch (column.holds) {
      case ColumnLayout::Holds::InputBox:
        job.coil.texts[column.box] = cell;
        break;
      case ColumnLayout::Holds::Former:
        job.coil.former = static_cast<FormerShape>(*formerIndex(cell));
        break;
      case ColumnLayout::Holds::Material:
        job.coil.material = static_cast<ConductorMaterial>(*materialIndex(cell));
        break;
      case ColumnLayout::Holds::JobField:
        setField(job, static_cast<JobField>(column.field), cell);
        break;
      case ColumnLayout::Holds::Term:
      case ColumnLayout::Holds::Stack:
      case ColumnLayout::Holds::Own:
        break;
    }
  }
  return job;
}

// The terms of a readable row's own cells; a cell that cannot be read fails
// the row, named by its place.
Expected<RowTerms> termsOf(const ColumnLayout& layout, const CsvRecord& record,
                           std::uint64_t number) {
  RowTerms terms;
  for (std::size_t i = 0; i < layout.width(); ++i) {
    const ColumnLayout::Column& column = layout.columns()[i];
    if (column.holds != ColumnLayout::Holds::Term) continue;
    if (auto read = readTermCell(column.term, record.fields[i], terms); !read.ok())
      return Failure{place(number, layout, i) + read.message()};
  }
  return terms;
}

// The cost cells of a row the press computed, just before エラー; a coil
// that cannot be priced fails the row with the reason.
void addCosts(RowResult& result, const job::ShownCoil& coil, const job::QuotationTerms& terms,
              bool byPosition) {
  const Expected<std::vector<std::string>> costs = costCells(coil, terms, byPosition);
  if (!costs) {
    result.cells.back() = costs.message();
    result.failed = true;
    return;
  }
  std::move(costs->begin(), costs->end(), result.cells.end() - 1 - costs->size());
}

// Whether the record's cells lie in the columns the header names: only then
// can its 巻線 and 品番 put it in a stack.
bool placed(const ColumnLayout& layout, const CsvRecord& record) {
  return record.fault == CsvFault::None && record.fields.size() == layout.width();
}

// The place of a row in its stack, from 1: its 巻線 cell, 1 when empty, when
// the header has no such column or the row's cells are not placed; or why
// the cell is no winding's number.
Expected<int> windingOf(const ColumnLayout& layout, const CsvRecord& record, std::uint64_t number) {
  const std::optional<std::size_t> column = layout.windingColumn();
  if (!column || !placed(layout, record)) return 1;
  const std::string& cell = record.fields[*column];
  const TypedNumber n = readTypedNumber(cell);
  if (n.blank) return 1;
  if (!n.readable() || n.value != std::floor(n.value) || n.value < 1 ||
      n.value > static_cast<double>(kMostWindings)) {
    return Failure{place(number, layout, column) + quoted(cell) +
                   "は巻線の番号として読めません。1 から 8 までの整数で書いてください。"};
  }
  return static_cast<int>(n.value);
}

std::string notFollowingMessage(const ColumnLayout& layout, std::uint64_t number, int winding) {
  return place(number, layout, layout.windingColumn()) + "巻線" + std::to_string(winding) +
         " は前の行に続きません。巻線は、同じ品番の行を続けて 1, 2, 3 … の順に書いてください"
         "（巻線1 の行が品目の始まりです）。";
}

// Whether the record is winding `winding` over the stack `start` begins.
bool follows(const ColumnLayout& layout, const CsvRecord& record, const CsvRecord& start,
             int winding) {
  if (!placed(layout, record) || allEmpty(record)) return false;
  const Expected<int> k = windingOf(layout, record, 0);
  if (!k || *k != winding) return false;
  const std::optional<std::size_t> part = layout.partNumberColumn();
  return !part || record.fields[*part] == start.fields[*part];
}

// Whether a 層間絶縁 cell lays no tape: empty, or 0 mm.
bool noTape(std::string_view cell) {
  const TypedNumber n = readTypedNumber(cell, units::kMillimetre);
  return n.blank || (n.readable() && n.value == 0);
}

// The tape a 層間絶縁 cell lays under its winding: one layer of the
// thickness typed; none when empty.
job::TypedInsulation tapeOf(std::string_view cell) {
  if (readTypedNumber(cell).blank) return {};
  return {std::string(cell), "1"};
}

std::optional<std::size_t> columnOf(const ColumnLayout& layout, ColumnLayout::Holds holds,
                                    int term) {
  for (std::size_t i = 0; i < layout.width(); ++i) {
    const ColumnLayout::Column& c = layout.columns()[i];
    if (c.holds == holds && c.term == term) return i;
  }
  return std::nullopt;
}

RowResult refusedRow(const ColumnLayout& layout, std::string message) {
  RowResult result;
  result.cells.resize(layout.resultColumns().size());
  result.cells.back() = std::move(message);
  result.failed = true;
  return result;
}

// The refusal of a first winding's 層間絶縁 that lays tape: it sits on the
// former itself.
std::optional<std::string> tapeUnderFirst(const ColumnLayout& layout, const CsvRecord& record,
                                          std::uint64_t number) {
  const std::optional<std::size_t> column = layout.insulationColumn();
  if (!column || !placed(layout, record) || noTape(record.fields[*column])) return std::nullopt;
  return place(number, layout, column) +
         "巻線1 は巻枠にじかに巻くので、その下に層間絶縁はありません。巻線1 の行の層間絶縁は空か "
         "0 にしてください。";
}

// A winding of a computed stack as the window shows it when that winding is
// chosen: its inputs as typed but for the former, which it inherits (the
// sizes of the outside it sits on, written as the window writes a number),
// and the results of its press on it.
job::ShownCoil shownWinding(TypedCoil typed, const Coil& read, const WindingResult& w,
                            std::size_t index) {
  const Former& former = w.former;
  if (index > 0) {
    typed = job::onInheritedFormer(std::move(typed), former);
  } else if (!read.cornerR2) {
    // An empty r2 is written as r1: four equal corners.
    typed.texts[indexOf(InputBox::CornerR2)] = plainDecimal(former.cornerR2);
  }
  typed.former = former.shape;
  job::ShownCoil shown;
  shown.typed = std::move(typed);
  for (int i = 0; i < kInputBoxCount; ++i)
    shown.inputShown[i] = formerShows(former.shape, static_cast<InputBox>(i));
  for (int i = 0; i < kResultBoxCount; ++i)
    shown.resultShown[i] = formerShows(former.shape, static_cast<ResultBox>(i));
  shown.outerRorDName = outerRorDName(former.shape).value_or("");
  const CoilCalculation& c = w.calculation;
  shown.calc = c.press.state;
  for (int i = 0; i < kResultBoxCount; ++i) shown.results[i] = c.texts[i].value_or("");
  shown.units = c.units();
  shown.pressed = c.press.results;
  shown.resistance = c.resistance(shown.typed.material);
  shown.current = true;
  return shown;
}

// The result cells of a computed row, before the cost cells and エラー.
void putResults(RowResult& result, const ColumnLayout& layout, const job::ShownCoil& coil,
                const job::JobFields& fields) {
  if (layout.style() == ResultStyle::BoxTexts) {
    std::copy(coil.results.begin(), coil.results.end(), result.cells.begin());
    const std::array<std::string, 3> captions = unitCaptions(coil.units);
    std::copy(captions.begin(), captions.end(), result.cells.begin() + kResultBoxCount);
    return;
  }
  std::optional<double> working;
  if (layout.workingTemperatureColumn()) working = fields.workingCelsius;
  std::vector<std::string> cells = readableCells(coil, working);
  std::move(cells.begin(), cells.end(), result.cells.begin());
}

// The rows of one stack of two windings or more, the first its first.
class StackRows {
 public:
  StackRows(const ColumnLayout& layout, std::span<const CsvRecord> rows, std::uint64_t first,
            TextEncoding encoding, bool keepItem)
      : layout_(layout),
        rows_(rows),
        first_(first),
        out_(rows.size()),
        jobs_(rows.size()),
        terms_(rows.size()) {
    for (RowResult& r : out_) r.cells.resize(layout.resultColumns().size());
    read(encoding, keepItem);
    if (!failure_) compute(keepItem);
    // A winding that fails fails its stack: the other rows say which.
    if (failure_) {
      for (RowResult& r : out_) {
        if (r.failed) continue;
        std::fill(r.cells.begin(), r.cells.end(), std::string());
        r.cells.back() = windingLabel(failure_->first, "") + ": " + failure_->second;
        r.failed = true;
        r.item.reset();
        r.upperWinding = false;
      }
    }
  }

  std::vector<RowResult> take() { return std::move(out_); }

 private:
  // A row's own failure: the message naming its place is its own.
  void fail(std::size_t k, std::string message) {
    out_[k].cells.back() = message;
    out_[k].failed = true;
    if (!failure_) failure_.emplace(k, std::move(message));
  }
  // A failure of the stack as a whole, its message naming the winding.
  void failAll(const std::string& message) {
    for (RowResult& r : out_) {
      std::fill(r.cells.begin(), r.cells.end(), std::string());
      r.cells.back() = message;
      r.failed = true;
      r.upperWinding = false;
    }
  }

  void read(TextEncoding encoding, bool keepItem) {
    for (std::size_t k = 0; k < rows_.size(); ++k) {
      const CsvRecord& record = rows_[k];
      const std::uint64_t number = first_ + k;
      if (auto readable = checkReadable(record, number, layout_, encoding); !readable.ok()) {
        fail(k, readable.message());
        continue;
      }
      jobs_[k] = jobOf(layout_, record);
      if (keepItem) out_[k].fields = jobs_[k]->fields;
      Expected<RowTerms> own = termsOf(layout_, record, number);
      if (!own) {
        fail(k, own.message());
        continue;
      }
      terms_[k] = std::move(own.value());
      if (k == 0) {
        if (auto tape = tapeUnderFirst(layout_, record, number)) fail(k, *tape);
        continue;
      }
      // The shape is the first winding's: a row above may leave it empty.
      const auto former = columnOf(layout_, ColumnLayout::Holds::Former, -1);
      if (former && !record.fields[*former].empty() && jobs_[0] &&
          jobs_[k]->coil.former != jobs_[0]->coil.former) {
        fail(k, place(number, layout_, former) +
                    "巻線2 から上は巻線1 の上に重ねて巻くので、巻枠の形は巻線1 の行のものです。"
                    "空にするか、巻線1 の行と同じ形を書いてください。");
      }
    }
  }

  // The other 見積条件 than the wire's price and speed are the piece's: a
  // row above the first may only repeat the first row's.
  void checkSharedTerms(const job::QuotationTerms& shared) {
    for (std::size_t k = 1; k < rows_.size(); ++k) {
      for (std::size_t f = 0; f < job::kTermFigures.size(); ++f) {
        const job::TermFigure figure = job::kTermFigures[f];
        if (figure == job::TermFigure::WirePrice || figure == job::TermFigure::Speed) continue;
        const std::optional<double>& own = terms_[k].figures[f];
        if (own && *own != job::termValue(shared, figure))
          failShared(k, static_cast<int>(f), std::string(job::termName(figure)));
      }
      if (terms_[k].quantities && *terms_[k].quantities != shared.quantities)
        failShared(k, kQuantitiesTerm, termColumns()[kQuantitiesTerm]);
    }
  }
  void failShared(std::size_t k, int term, const std::string& name) {
    fail(k, place(first_ + k, layout_, columnOf(layout_, ColumnLayout::Holds::Term, term)) + "「" +
                name +
                "」は品目に一つで、巻線1 の行の値で見積もります。巻線2 から上の行では空にするか、"
                "巻線1 の行と同じ値にしてください。");
  }

  void compute(bool keepItem) {
    job::Item item;
    item.partNumber = jobs_[0]->partNumber;
    item.name = jobs_[0]->name;
    item.coil = jobs_[0]->coil;
    const std::optional<std::size_t> insulation = layout_.insulationColumn();
    for (std::size_t k = 1; k < rows_.size(); ++k) {
      job::UpperWinding upper;
      upper.coil = jobs_[k]->coil;
      upper.coil.former = item.coil.former;
      if (insulation) upper.under = tapeOf(rows_[k].fields[*insulation]);
      const auto& figures = terms_[k].figures;
      upper.terms.wireYenPerKg = figures[static_cast<std::size_t>(job::TermFigure::WirePrice)];
      upper.terms.windingRpm = figures[static_cast<std::size_t>(job::TermFigure::Speed)];
      item.upperWindings.push_back(std::move(upper));
    }
    const Expected<WindingStack> stack = job::stackOf(item);
    if (!stack) return failAll(stack.message());
    const Expected<StackResult> computed = computeStack(*stack);
    if (!computed) return failAll(computed.message());

    std::vector<job::ShownCoil> shown;
    for (std::size_t k = 0; k < rows_.size(); ++k) {
      shown.push_back(
          shownWinding(jobs_[k]->coil, stack->windings[k].coil, computed->windings[k], k));
      putResults(out_[k], layout_, shown.back(), jobs_[k]->fields);
      out_[k].upperWinding = k > 0;
    }
    if (layout_.prices()) {
      const job::PriceList& list = *layout_.prices();
      Expected<job::QuotationTerms> terms = rowTerms(list, shown[0], terms_[0]);
      if (!terms) return failAll(windingLabel(0, "") + ": " + terms.message());
      checkSharedTerms(*terms);
      if (failure_) return;
      const Expected<job::StackPrice> price = job::priceItemStack(
          item, *stack, *computed, *terms, [&list]() -> Expected<job::PriceList> { return list; });
      if (!price) return failAll(price.message());
      // The piece's price once, on its first row: a column of 金額 sums to
      // the quotation's.
      std::vector<std::string> costs = quoteCells(price->quote, layout_.hasQuantities());
      std::move(costs.begin(), costs.end(), out_[0].cells.end() - 1 - costs.size());
      item.terms = std::move(terms.value());
      // Terms of the row's own were typed: no later list replaces them.
      if (!terms_[0].any()) item.priceListSavedAt = list.savedAt;
    }
    if (keepItem) out_[0].item = std::move(item);
  }

  const ColumnLayout& layout_;
  std::span<const CsvRecord> rows_;
  std::uint64_t first_;
  std::vector<RowResult> out_;
  std::vector<std::optional<RowJob>> jobs_;
  std::vector<RowTerms> terms_;
  std::optional<std::pair<std::size_t, std::string>> failure_;
};

}  // namespace

RowResult computeRow(const ColumnLayout& layout, const CsvRecord& record, std::uint64_t number,
                     TextEncoding encoding, bool keepItem) {
  RowResult result;
  result.cells.resize(layout.resultColumns().size());
  std::string& error = result.cells.back();
  if (record.fault == CsvFault::None && allEmpty(record)) return result;
  if (auto readable = checkReadable(record, number, layout, encoding); !readable.ok()) {
    error = readable.message();
    result.failed = true;
    return result;
  }

  const RowJob job = jobOf(layout, record);
  if (keepItem) result.fields = job.fields;
  const Expected<RowTerms> ownTerms = termsOf(layout, record, number);
  if (!ownTerms) {
    error = ownTerms.message();
    result.failed = true;
    return result;
  }
  const job::FirstPress press = job::pressOnOpening(job.coil);
  const job::ShownCoil& coil = press.coil;
  error = press.message;
  result.failed = !coil.current || !press.message.empty();
  if (layout.style() == ResultStyle::BoxTexts || !result.failed)
    putResults(result, layout, coil, job.fields);
  std::optional<job::QuotationTerms> terms;
  if (layout.prices() && !result.failed) {
    Expected<job::QuotationTerms> rowPrices = rowTerms(*layout.prices(), coil, *ownTerms);
    if (rowPrices) {
      terms = std::move(rowPrices.value());
      addCosts(result, coil, *terms, layout.hasQuantities());
    } else {
      result.cells.back() = rowPrices.message();
      result.failed = true;
    }
  }
  if (keepItem && !result.failed) {
    job::Item& item = result.item.emplace();
    item.partNumber = job.partNumber;
    item.name = job.name;
    item.coil = job.coil;
    item.terms = terms;
    // Terms of the row's own were typed: no later list replaces them.
    if (terms && !ownTerms->any()) item.priceListSavedAt = layout.prices()->savedAt;
  }
  return result;
}

std::vector<RowResult> computeRows(const ColumnLayout& layout, std::span<const CsvRecord> records,
                                   std::uint64_t first, TextEncoding encoding, bool keepItem) {
  std::vector<RowResult> results;
  results.reserve(records.size());
  for (std::size_t i = 0; i < records.size();) {
    const std::uint64_t number = first + i;
    const CsvRecord& record = records[i];
    if (!layout.windingColumn() && !layout.insulationColumn()) {
      results.push_back(computeRow(layout, record, number, encoding, keepItem));
      ++i;
      continue;
    }
    const Expected<int> winding = windingOf(layout, record, number);
    if (!winding || *winding != 1) {
      results.push_back(refusedRow(
          layout, winding ? notFollowingMessage(layout, number, *winding) : winding.message()));
      ++i;
      continue;
    }
    std::size_t end = i + 1;
    if (placed(layout, record) && !allEmpty(record)) {
      while (end < records.size() && end - i < kMostWindings &&
             follows(layout, records[end], record, static_cast<int>(end - i + 1))) {
        ++end;
      }
    }
    if (end - i == 1) {
      if (auto tape = tapeUnderFirst(layout, record, number); tape && !allEmpty(record)) {
        results.push_back(refusedRow(layout, *tape));
      } else {
        results.push_back(computeRow(layout, record, number, encoding, keepItem));
      }
    } else {
      std::vector<RowResult> stack =
          StackRows(layout, records.subspan(i, end - i), number, encoding, keepItem).take();
      std::move(stack.begin(), stack.end(), std::back_inserter(results));
    }
    i = end;
  }
  return results;
}

bool mayContinueStack(const ColumnLayout& layout, const CsvRecord& record) {
  if (!layout.windingColumn()) return false;
  const Expected<int> winding = windingOf(layout, record, 0);
  return !winding || *winding != 1;
}

void appendOutputRow(std::string& out, const ColumnLayout& layout, const CsvRecord& record,
                     const RowResult& result) {
  for (std::size_t i = 0; i < layout.width(); ++i) {
    if (i > 0) out += ',';
    if (i >= record.fields.size()) continue;
    const std::string& cell = record.fields[i];
    job::appendQuotedCell(out, job::inertCell(isUtf8(cell) ? cell : repairedUtf8(cell)));
  }
  for (const std::string& cell : result.cells) {
    out += ',';
    job::appendQuotedCell(out, job::inertCell(cell));
  }
  out += "\r\n";
}

std::string outputHeader(const ColumnLayout& layout) {
  CsvRecord names;
  for (const ColumnLayout::Column& column : layout.columns()) names.fields.push_back(column.name);
  RowResult results;
  results.cells = layout.resultColumns();
  std::string out;
  appendOutputRow(out, layout, names, results);
  return out;
}

}  // namespace kelvane::batch
