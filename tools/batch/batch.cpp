#include "tools/batch/batch.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "core/temperature_resistance.h"
#include "job/csv_cell.h"
#include "job/job.h"
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
  if (layout.style() == ResultStyle::BoxTexts) {
    std::copy(coil.results.begin(), coil.results.end(), result.cells.begin());
    const std::array<std::string, 3> captions = unitCaptions(coil.units);
    std::copy(captions.begin(), captions.end(), result.cells.begin() + kResultBoxCount);
  } else if (!result.failed) {
    std::optional<double> working;
    if (layout.workingTemperatureColumn()) working = job.fields.workingCelsius;
    std::vector<std::string> cells = readableCells(coil, working);
    std::move(cells.begin(), cells.end(), result.cells.begin());
  }
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
