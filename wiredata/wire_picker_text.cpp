#include "wiredata/wire_picker_text.h"

#include <algorithm>
#include <utility>
#include <variant>
#include <vector>

#include "core/decimal_chars.h"
#include "core/number_text.h"
#include "core/typed_number.h"

namespace kelvane::wiredata {
namespace {

std::string fixed(double figure, int decimals) {
  char text[400];
  const auto end = printFixed(text, text + sizeof text, figure, decimals);
  if (end.ec != std::errc()) return plainDecimal(figure);
  return {text, end.ptr};
}

std::string citationOf(const WireTable& table, const std::string& key) {
  const auto citation = table.sources.find(key);
  return citation == table.sources.end() ? std::string() : citation->second;
}

bool isBlank(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

}  // namespace

std::string figureText(double figure, const WireColumn& column) {
  std::string plain = plainDecimal(figure);
  if (!column.decimals) return plain;
  const auto point = plain.find('.');
  const int given = point == std::string::npos ? 0 : static_cast<int>(plain.size() - point - 1);
  if (given > *column.decimals) return plain;
  return fixed(figure, *column.decimals);
}

std::string cellText(const WireTable& table, std::size_t row, std::size_t column) {
  if (row >= table.rows.size() || column >= table.columns.size()) return {};
  const WireCell& cell = table.rows[row].cells[column];
  std::string text;
  if (const double* figure = std::get_if<double>(&cell)) {
    text = figureText(*figure, table.columns[column]);
  } else if (const std::string* size = std::get_if<std::string>(&cell)) {
    text = *size;
  } else {
    text = "—";
  }
  if (const WireFootnote* note = table.footnoteAt(row, column)) text += " " + note->mark;
  return text;
}

DiameterSearch findTypedDiameter(const WireTable& table, std::string_view typed) {
  if (isBlank(toHalfWidth(typed))) return {};
  const TypedNumber number = readTypedNumber(typed, units::kMillimetre);
  const std::optional<std::size_t> row =
      number.readable() ? rowOfDiameter(table, number.value) : std::nullopt;
  if (!row) return {std::nullopt, "この表にその導体径はありません。"};
  std::size_t column = 0;
  for (std::size_t c = 0; c < table.columns.size(); ++c) {
    if (wireChoice(table, *row, c)) {
      column = c;
      break;
    }
  }
  // The row by its diameter; a gauge's row by its size too ("AWG 36 (0.127 mm)").
  const std::size_t bare = bareDiameterColumn(table).value_or(0);
  std::string text = cellText(table, *row, bare) + " mm";
  if (bare != 0) text = table.columns[0].label + " " + cellText(table, *row, 0) + " (" + text + ")";
  return {CellIndex{*row, column}, text + " の行"};
}

std::string sourceText(const WireTable& table, std::optional<std::size_t> row) {
  if (!row || *row >= table.rows.size()) return "この表の出典: " + table.source;
  const WireRow& wire = table.rows[*row];
  std::string text = "この行の出典 (" + wire.source + "): " + citationOf(table, wire.source);
  // Columns whose figures come from elsewhere name their source too, where
  // the row has such a figure: one line a source, naming its columns.
  std::vector<std::pair<std::string, std::string>> others;  // key, labels
  for (std::size_t c = 0; c < table.columns.size(); ++c) {
    const std::string& key = table.columns[c].source;
    if (key.empty() || key == wire.source) continue;
    if (std::holds_alternative<std::monostate>(wire.cells[c])) continue;
    auto other = std::find_if(others.begin(), others.end(),
                              [&key](const auto& o) { return o.first == key; });
    if (other == others.end()) {
      others.emplace_back(key, table.columns[c].label);
    } else {
      other->second += "・" + table.columns[c].label;
    }
  }
  for (const auto& [key, labels] : others)
    text += "\n" + labels + "の出典 (" + key + "): " + citationOf(table, key);
  return text;
}

std::string howToChoose(const WireTable& table, std::string_view bareName,
                        std::string_view finishedName) {
  const std::string bare(bareName), finished(finishedName);
  if (givesFinishedDiameter(table))
    return "最大仕上外径の欄を選ぶと、" + bare + "に導体径、" + finished +
           "にその欄の最大仕上外径が入ります。";
  return "行を選ぶと、" + bare + "に導体径 (mm) が入ります。この表には仕上外径がないため、" +
         finished + "は変わりません。";
}

std::string choiceText(const std::optional<WireChoice>& choice, std::string_view bareName,
                       std::string_view finishedName) {
  if (!choice) return "選べる欄を選んでください。";
  const std::string bare(bareName), finished(finishedName);
  if (choice->finishedDiameter)
    return bare + " " + choice->bareDiameter + " mm、" + finished + " " +
           *choice->finishedDiameter + " mm を入れます。";
  return bare + " " + choice->bareDiameter + " mm を入れます。";
}

}  // namespace kelvane::wiredata
