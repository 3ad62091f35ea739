#include "job/results_table.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <ctime>
#include <optional>
#include <string_view>

#include "core/decimal_chars.h"
#include "core/number_text.h"
#include "core/temperature_resistance.h"
#include "job/csv_cell.h"
#include "job/resistance_band.h"
#include "job/table_lines.h"

namespace kelvane::job {
namespace {

// "#,##0" with `places` decimals. Three and four decimals are the window's
// own formats, so a value shows as its box shows it; other counts round the
// same 15 significant digits to the nearest.
std::string fixedText(double value, int places) {
  if (places == 3) return formatFixed3(value);
  if (places == 4) return formatFixed4(value);
  char buffer[400];
  const auto [end, error] =
      printFixed(buffer, buffer + sizeof buffer, roundTo15Digits(value), places);
  if (error != std::errc()) return "";
  std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
  std::string out;
  if (text.starts_with('-')) {
    text.remove_prefix(1);
    if (text.find_first_not_of("0.") != std::string_view::npos) out = "-";
  }
  const std::size_t whole = std::min(text.find('.'), text.size());
  return out + groupThousands(text.substr(0, whole)) + std::string(text.substr(whole));
}

// The unit the resistance rows are written in: mΩ for a coil below 1 Ω, so
// that a short coil of thick wire keeps its digits, otherwise the window's.
struct ResistanceColumn {
  std::string symbol;
  double ohms;    // one of the unit, in ohms
  int minPlaces;  // the decimals the window shows in this unit
};

// The press's resistances are in the unit the DCR caption names.
bool inKiloohms(const ShownCoil& c) {
  return c.units && c.units->resistance == kelvane::ResistanceUnit::Kiloohm;
}
double pressedOhms(const ShownCoil& c, double pressed) {
  return inKiloohms(c) ? pressed * 1000 : pressed;
}

// Chosen by the press at 20 °C, for both rows, so that they read side by side.
ResistanceColumn resistanceColumnFor(const ShownCoil& c) {
  const PressedResistance& r = *c.resistance;
  if (std::max(std::abs(pressedOhms(c, r.aligned)), std::abs(pressedOhms(c, r.predicted))) < 1)
    return {"mΩ", 0.001, 0};
  return inKiloohms(c) ? ResistanceColumn{"kΩ", 1000, 3} : ResistanceColumn{"Ω", 1, 3};
}

// A resistance with at least four significant digits, never fewer decimals
// than the window shows in the same unit.
std::string resistanceText(double ohms, const ResistanceColumn& unit) {
  return resistanceFigure(ohms / unit.ohms, unit.minPlaces);
}

// The unit a result row is written in, in SI; none for a length, weight or
// resistance before a press chose its unit.
std::string unitOf(Measure measure, const std::optional<ShownUnits>& units) {
  const bool chosen =
      measure == Measure::Length || measure == Measure::Mass || measure == Measure::Resistance;
  if (chosen && !units) return "";
  return std::string(siSymbol(measure, units.value_or(ShownUnits{})));
}

// "DCR (75 °C)".
std::string atTemperature(const std::string& item, double celsius) {
  return item + " (" + plainDecimal(celsius) + " °C)";
}

// Whether a result box holds what the last press wrote: a text typed over
// it (a target) or an emptied box has no resistance of the press to show.
bool holdsThePress(const ShownCoil& c, ResultBox b) {
  return !c.text(b).empty() && !c.typedOver[indexOf(b)];
}

// A DCR box's resistance, at 20 °C or scaled to the working temperature, in
// ohms; empty when the box does not hold what the press wrote.
std::string resistanceCell(const ShownCoil& c, ResultBox b, double pressed,
                           const ResistanceColumn& unit, double celsius,
                           std::optional<ConductorMaterial> conductor) {
  if (!holdsThePress(c, b)) return "";
  const double ohms = pressedOhms(c, pressed);
  if (!conductor) return resistanceText(ohms, unit);
  const Expected<double> r = ResistanceAtTemperature(ohms, celsius, *conductor);
  return r ? resistanceText(*r, unit) : "";
}

// The standard's band after the DCR rows, at 20 °C and in their unit. A cell
// stays empty where the DCR of its column does, or where the standard gives
// no limit for the size.
void addBandRows(const ShownCoil& c, const ResistanceColumn& unit, std::vector<TableRow>& rows) {
  if (!c.resistance || !c.pressed) return;
  const std::optional<CoilResistanceBand> band = coilResistanceBand(*c.resistance, *c.pressed);
  if (!band) return;
  for (const BandBound bound : kBandBounds) {
    const auto cell = [&](ResultBox b, const OhmBand& ohms) {
      const std::optional<double> value = ohms.at(bound);
      return value && holdsThePress(c, b) ? resistanceText(*value, unit) : std::string();
    };
    rows.push_back({atTemperature(std::string(bandItem(bound)), kReferenceCelsius),
                    cell(ResultBox::AlignedDcr, band->aligned),
                    cell(ResultBox::PredictedDcr, band->predicted), unit.symbol});
  }
}

// The cells of a row as the outputs give them, by what the values mean.
std::array<std::string, 4> cellsOf(const TableRow& r) {
  return {r.item, r.aligned, r.predicted, r.unit};
}

// Every row of the table in the order written; an empty row between the
// job's fields and the table, and between the table and the quotation.
std::vector<std::optional<TableRow>> rowsToWrite(const ResultsTable& table) {
  std::vector<std::optional<TableRow>> rows(table.fields.begin(), table.fields.end());
  if (!table.fields.empty()) rows.emplace_back();
  rows.emplace_back(outputHeading());
  rows.insert(rows.end(), table.inputs.begin(), table.inputs.end());
  rows.insert(rows.end(), table.results.begin(), table.results.end());
  if (!table.quotation.empty()) rows.emplace_back();
  rows.insert(rows.end(), table.quotation.begin(), table.quotation.end());
  return rows;
}

std::string joinRows(const ResultsTable& table, char separator, std::string_view lineEnd) {
  std::string out;
  for (const std::optional<TableRow>& row : rowsToWrite(table)) {
    if (row) {
      const auto cells = cellsOf(*row);
      for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) out += separator;
        appendQuotedCell(out, inertCell(cells[i]), separator);
      }
    }
    out += lineEnd;
  }
  return out;
}

// The cell as a number the way the program writes one ("10", "0.2",
// "-1,010.000"): its value without digit groups and its display format.
struct NumberCell {
  std::string value;
  std::string format;  // "#,##0.000", "0.0", …
};
std::optional<NumberCell> numberCell(std::string_view text) {
  NumberCell number;
  if (text.starts_with('-')) {
    number.value = "-";
    text.remove_prefix(1);
  }
  const std::size_t point = std::min(text.find('.'), text.size());
  const std::string_view whole = text.substr(0, point);
  const std::string_view decimals = text.substr(std::min(point + 1, text.size()));
  const bool grouped = whole.find(',') != std::string_view::npos;
  std::size_t digits = 0;
  for (const char c : whole) {
    if (c == ',') continue;
    if (c < '0' || c > '9') return std::nullopt;
    number.value += c;
    ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (grouped) {
    // Every comma stands before exactly three digits, and the first group has one to three.
    std::size_t run = 0;
    bool first = true;
    for (const char c : whole) {
      if (c != ',') {
        ++run;
        continue;
      }
      if (run == 0 || run > 3 || (!first && run != 3)) return std::nullopt;
      first = false;
      run = 0;
    }
    if (run != 3) return std::nullopt;
  }
  if (point < text.size()) {
    if (decimals.empty() || decimals.find_first_not_of("0123456789") != std::string_view::npos)
      return std::nullopt;
    number.value += '.';
    number.value += decimals;
  }
  number.format = grouped ? "#,##0" : "0";
  if (!decimals.empty()) number.format += "." + std::string(decimals.size(), '0');
  return number;
}

// Text for HTML: the five characters that mean something there escaped,
// line breaks as breaks within the cell.
std::string htmlEscaped(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    switch (text[i]) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      case '\r':
        if (i + 1 < text.size() && text[i + 1] == '\n') break;
        [[fallthrough]];
      case '\n':
        out += "<br style=\"mso-data-placement:same-cell\">";
        break;
      default:
        out += text[i];
    }
  }
  return out;
}

// One cell: a number marked with its value and format (x:num and
// mso-number-format for one spreadsheet, sdval and sdnum for another), any
// other text marked as text.
std::string htmlCell(const std::string& written, bool heading) {
  const std::string text = inertCell(written);
  if (heading) return "<th>" + htmlEscaped(text) + "</th>";
  std::string attributes;
  if (const std::optional<NumberCell> number = numberCell(text)) {
    attributes = " x:num=\"" + number->value + "\" sdval=\"" + number->value +
                 "\" sdnum=\"1041;0;" + htmlEscaped(number->format) +
                 "\" style=\"mso-number-format:'" + htmlEscaped(number->format) + "'\"";
  } else if (!text.empty()) {
    attributes = R"( x:str sdnum="1041;0;@" style="mso-number-format:'\@'")";
  }
  return "<td" + attributes + ">" + htmlEscaped(text) + "</td>";
}

}  // namespace

std::string resistanceFigure(double value, int minPlaces) {
  if (!std::isfinite(value)) return "";
  int places = value == 0 ? 3 : 3 - static_cast<int>(std::floor(std::log10(std::abs(value))));
  places = std::max(places, minPlaces);
  return fixedText(value, places);
}

const TableRow& tableHeading() {
  static const TableRow heading{"項目", "Max", "予測 Mid", "単位"};
  return heading;
}

const TableRow& outputHeading() {
  static const TableRow heading{"項目", "整列巻き計算", "クロス込み予測", "単位"};
  return heading;
}

std::string_view columnNote() {
  return "クロス込み予測は、整列巻き計算に巻き線が交差するクロス部で増える高さと長さを"
         "見込んだ値なので、整列巻き計算より大きくなります。";
}

std::string roundCrossingNote() {
  return "丸形の巻枠には B と r2 がないため、クロス部の割合は B " +
         plainDecimal(kRoundCrossingSideB) + " mm、r2 " + plainDecimal(kRoundCrossingCornerR2) +
         " mm の巻枠として求めています。";
}

ResultsTable resultsTable(const ShownCoil& c, double workingCelsius) {
  const TypedCoil& typed = c.typed;
  ResultsTable table;
  if (typed.former == FormerShape::Round) table.notes.push_back(roundCrossingNote());

  table.inputs.push_back({std::string(kFormerName),
                          typed.former ? std::string(formerName(*typed.former)) : "", "", ""});
  table.inputs.push_back(
      {std::string(kMaterialName), std::string(materialName(typed.material)), "", ""});
  for (int i = 0; i < kInputBoxCount; ++i) {
    if (!c.inputShown[i]) continue;
    const InputField& field = inputField(static_cast<InputBox>(i));
    table.inputs.push_back({std::string(field.name), typed.texts[i], "", std::string(field.unit)});
  }
  table.inputs.push_back(
      {std::string(kWorkingTemperatureItem), plainDecimal(workingCelsius), "", "°C"});

  for (const ResultField& field : resultFields()) {
    if (!c.resultShown[indexOf(field.aligned)]) continue;
    TableRow row;
    row.item = field.aligned == ResultBox::OuterRorD ? c.outerRorDName : std::string(field.name);
    row.aligned = c.text(field.aligned);
    if (field.predicted) row.predicted = c.text(*field.predicted);
    row.unit = unitOf(field.measure, c.units);
    if (field.aligned != ResultBox::AlignedDcr) {
      table.results.push_back(std::move(row));
      continue;
    }
    const std::string name = row.item;
    row.item = atTemperature(name, kReferenceCelsius);
    if (!c.resistance) {
      table.results.push_back(std::move(row));
      continue;
    }
    const ResistanceColumn unit = resistanceColumnFor(c);
    row.unit = unit.symbol;
    auto cells = [&](TableRow& r, double celsius, std::optional<ConductorMaterial> conductor) {
      r.aligned =
          resistanceCell(c, ResultBox::AlignedDcr, c.resistance->aligned, unit, celsius, conductor);
      r.predicted = resistanceCell(c, ResultBox::PredictedDcr, c.resistance->predicted, unit,
                                   celsius, conductor);
    };
    cells(row, kReferenceCelsius, std::nullopt);
    table.results.push_back(row);
    if (const auto conductor = workingResistanceConductor(c, workingCelsius)) {
      row.item = atTemperature(name, workingCelsius);
      cells(row, workingCelsius, conductor);
      table.results.push_back(std::move(row));
    }
    addBandRows(c, unit, table.results);
  }
  return table;
}

ResultsTable resultsTable(const ShownCoil& coil, const JobFields& fields, const Item& item,
                          std::string_view createdAt) {
  ResultsTable table = resultsTable(coil, fields.workingCelsius);
  // The working temperature moves up among the job's fields.
  TableRow temperature = std::move(table.inputs.back());
  table.inputs.pop_back();
  table.fields = {
      {"顧客名", fields.customer, "", ""},         {"見積番号", fields.quotationNumber, "", ""},
      {"品番", item.partNumber, "", ""},           {"品名", item.name, "", ""},
      {"担当者", fields.personInCharge, "", ""},   std::move(temperature),
      {"作成日時", std::string(createdAt), "", ""}};
  return table;
}

std::string localMinute(std::chrono::system_clock::time_point time) {
  const std::time_t t = std::chrono::system_clock::to_time_t(time);
  std::tm local{};
  localtime_r(&t, &local);
  char text[32];
  const std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
  return {text, n};
}

std::optional<ConductorMaterial> workingResistanceConductor(const ShownCoil& coil,
                                                            double workingCelsius) {
  const auto& resistance = coil.resistance;
  if (workingCelsius == kReferenceCelsius || !resistance) return std::nullopt;
  return resistance->material;
}

std::string toTabSeparated(std::span<const ResultsTable> tables) {
  std::string out;
  for (std::size_t t = 0; t < tables.size(); ++t) {
    if (t > 0) out += "\n";
    out += joinRows(tables[t], '\t', "\n");
  }
  return out;
}

std::string toHtml(std::span<const ResultsTable> tables) {
  std::string out =
      "<html xmlns:x=\"urn:schemas-microsoft-com:office:excel\">\n"
      "<head><meta charset=\"utf-8\"></head>\n<body>\n<table>\n";
  for (std::size_t t = 0; t < tables.size(); ++t) {
    const ResultsTable& table = tables[t];
    if (t > 0) out += "<tr></tr>\n";
    const std::vector<std::optional<TableRow>> rows = rowsToWrite(table);
    const std::size_t heading = table.fields.empty() ? 0 : table.fields.size() + 1;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      out += "<tr>";
      for (const std::string& cell : cellsOf(rows[i].value_or(TableRow{})))
        out += htmlCell(cell, i == heading);
      out += "</tr>\n";
    }
  }
  return out + "</table>\n</body>\n</html>\n";
}

std::string toCsv(std::span<const ResultsTable> tables) {
  std::string out = "\xEF\xBB\xBF";
  for (std::size_t t = 0; t < tables.size(); ++t) {
    if (t > 0) out += "\r\n";
    out += joinRows(tables[t], ',', "\r\n");
  }
  return out;
}

}  // namespace kelvane::job
