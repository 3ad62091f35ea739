#include "wiredata/wire_tables.h"

#include <cmath>
#include <nlohmann/json.hpp>

namespace kelvane::wiredata {

extern const char kWireSizesJson[];
extern const std::size_t kWireSizesJson_SIZE;

namespace {

using nlohmann::json;

Failure unreadable(const std::string& why) { return Failure{"規格線の表を読めません: " + why}; }

// The text under the key, or none when it is missing or not a text.
std::optional<std::string> textAt(const json& object, const char* key) {
  const auto it = object.find(key);
  if (it == object.end() || !it->is_string()) return std::nullopt;
  return it->get<std::string>();
}

// The last column of every table names each row's source.
constexpr std::string_view kSourceColumn = "source";

Expected<WireTable> readTable(const json& t, std::size_t index) {
  const std::string where = "表 " + std::to_string(index + 1);
  if (!t.is_object()) return unreadable(where + " がオブジェクトではありません");
  WireTable table;
  const auto id = textAt(t, "id");
  const auto title = textAt(t, "title");
  const auto source = textAt(t, "source");
  if (!id || !title || !source) return unreadable(where + " に id, title, source がありません");
  table.id = *id;
  table.title = *title;
  table.source = *source;

  const auto sources = t.find("sources");
  if (sources == t.end() || !sources->is_object())
    return unreadable(table.id + " に sources がありません");
  for (const auto& [key, citation] : sources->items()) {
    if (!citation.is_string())
      return unreadable(table.id + " の出典 " + key + " が文字列ではありません");
    table.sources[key] = citation.get<std::string>();
  }

  const auto columns = t.find("columns");
  if (columns == t.end() || !columns->is_array() || columns->empty())
    return unreadable(table.id + " に columns がありません");
  for (const json& c : *columns) {
    if (!c.is_object()) return unreadable(table.id + " の列がオブジェクトではありません");
    const auto columnId = textAt(c, "id");
    const auto label = textAt(c, "label");
    const auto unit = textAt(c, "unit");
    if (!columnId || !label || !unit)
      return unreadable(table.id + " の列に id, label, unit がありません");
    WireColumn column{*columnId, *label, *unit};
    if (const auto decimals = c.find("decimals"); decimals != c.end()) {
      if (!decimals->is_number_integer() || decimals->get<int>() < 0 || decimals->get<int>() > 6)
        return unreadable(table.id + " の列 " + column.id +
                          " の decimals が 0〜6 の整数ではありません");
      column.decimals = decimals->get<int>();
    }
    if (c.contains("source")) {
      const auto key = textAt(c, "source");
      if (!key || !table.sources.contains(*key))
        return unreadable(table.id + " の列 " + column.id + " の出典が sources にありません");
      column.source = *key;
    }
    table.columns.push_back(std::move(column));
  }
  if (table.columns.back().id != kSourceColumn)
    return unreadable(table.id + " の最後の列が source ではありません");
  table.columns.pop_back();

  const auto rows = t.find("rows");
  if (rows == t.end() || !rows->is_array()) return unreadable(table.id + " に rows がありません");
  for (const json& r : *rows) {
    const std::string row = table.id + " の " + std::to_string(table.rows.size() + 1) + " 行目";
    if (!r.is_array() || r.size() != table.columns.size() + 1)
      return unreadable(row + " の値の数が列の数と違います");
    WireRow wireRow;
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
      const json& cell = r[i];
      if (cell.is_null()) {
        wireRow.cells.emplace_back(std::monostate{});
      } else if (cell.is_number()) {
        wireRow.cells.emplace_back(cell.get<double>());
      } else if (cell.is_string()) {
        wireRow.cells.emplace_back(cell.get<std::string>());
      } else {
        return unreadable(row + " に数でも文字列でもない値があります");
      }
    }
    if (!r.back().is_string() || !table.sources.contains(r.back().get<std::string>()))
      return unreadable(row + " の出典が sources にありません");
    wireRow.source = r.back().get<std::string>();
    table.rows.push_back(std::move(wireRow));
  }

  if (const auto footnotes = t.find("footnotes"); footnotes != t.end()) {
    if (!footnotes->is_array()) return unreadable(table.id + " の footnotes が配列ではありません");
    for (const json& f : *footnotes) {
      const std::string which = table.id + " の注 " + std::to_string(table.footnotes.size() + 1);
      if (!f.is_object()) return unreadable(which + " がオブジェクトではありません");
      const auto text = textAt(f, "text");
      const auto columnId = textAt(f, "column");
      const auto rowsOf = f.find("rows");
      if (!text || !columnId || rowsOf == f.end() || !rowsOf->is_array() || rowsOf->empty())
        return unreadable(which + " に rows, column, text がありません");
      const auto column = table.columnIndex(*columnId);
      if (!column) return unreadable(which + " の列 " + *columnId + " が表にありません");
      WireFootnote note{"※" + std::to_string(table.footnotes.size() + 1), *text, {}, *column};
      for (const json& first : *rowsOf) {
        // A row is named by its first cell: a diameter or a size such as "4/0".
        std::optional<std::size_t> found;
        for (std::size_t i = 0; i < table.rows.size() && !found; ++i) {
          const WireCell& cell = table.rows[i].cells.front();
          if (const double* d = std::get_if<double>(&cell); d && first.is_number()) {
            if (std::abs(*d - first.get<double>()) < 5e-7) found = i;
          } else if (const std::string* s = std::get_if<std::string>(&cell);
                     s && first.is_string()) {
            if (*s == first.get<std::string>()) found = i;
          }
        }
        if (!found) return unreadable(which + " の行 " + first.dump() + " が表にありません");
        note.rows.push_back(*found);
      }
      table.footnotes.push_back(std::move(note));
    }
  }
  return table;
}

}  // namespace

std::optional<std::size_t> WireTable::columnIndex(std::string_view columnId) const {
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (columns[i].id == columnId) return i;
  }
  return std::nullopt;
}

std::optional<double> WireTable::figure(const WireRow& row, std::string_view columnId) const {
  const auto i = columnIndex(columnId);
  if (!i || *i >= row.cells.size()) return std::nullopt;
  if (const double* value = std::get_if<double>(&row.cells[*i])) return *value;
  return std::nullopt;
}

const std::string& WireTable::sourceOf(const WireRow& row, std::size_t column) const {
  if (column < columns.size() && !columns[column].source.empty()) return columns[column].source;
  return row.source;
}

const WireFootnote* WireTable::footnoteAt(std::size_t row, std::size_t column) const {
  for (const WireFootnote& note : footnotes) {
    if (note.column != column) continue;
    for (std::size_t r : note.rows) {
      if (r == row) return &note;
    }
  }
  return nullptr;
}

std::optional<std::size_t> bareDiameterColumn(const WireTable& table) {
  for (std::string_view id : {"nominal", "diameter"}) {
    if (const auto column = table.columnIndex(id)) return column;
  }
  return std::nullopt;
}

std::optional<double> bareDiameterOf(const WireTable& table, const WireRow& row) {
  const std::optional<std::size_t> column = bareDiameterColumn(table);
  if (!column) return std::nullopt;
  return table.figure(row, table.columns[*column].id);
}

std::optional<std::size_t> rowOfDiameter(const WireTable& table, double diameterMm) {
  if (!std::isfinite(diameterMm)) return std::nullopt;
  // Half a thousandth of a millimetre either side, less a hair so that two
  // neighbouring sizes 0.001 mm apart never both match.
  constexpr double kHalfStep = 0.0005 - 1e-9;
  for (std::size_t i = 0; i < table.rows.size(); ++i) {
    const std::optional<double> bare = bareDiameterOf(table, table.rows[i]);
    if (bare && std::abs(*bare - diameterMm) < kHalfStep) return i;
  }
  return std::nullopt;
}

Expected<std::vector<WireTable>> readWireTables(std::string_view text) {
  const json document = json::parse(text, nullptr, /*allow_exceptions=*/false);
  if (document.is_discarded()) return unreadable("JSON ではありません");
  if (!document.is_object()) return unreadable("全体がオブジェクトではありません");
  const auto format = document.find("format");
  if (format == document.end() || !format->is_number_integer() || format->get<int>() != 1)
    return unreadable("format が 1 ではありません");
  const auto tables = document.find("tables");
  if (tables == document.end() || !tables->is_array()) return unreadable("tables がありません");

  std::vector<WireTable> result;
  for (std::size_t i = 0; i < tables->size(); ++i) {
    Expected<WireTable> table = readTable((*tables)[i], i);
    if (!table) return table.failure();
    result.push_back(std::move(table.value()));
  }
  return result;
}

const Expected<std::vector<WireTable>>& standardWireTables() {
  static const Expected<std::vector<WireTable>> tables =
      readWireTables(std::string_view(kWireSizesJson, kWireSizesJson_SIZE));
  return tables;
}

}  // namespace kelvane::wiredata
