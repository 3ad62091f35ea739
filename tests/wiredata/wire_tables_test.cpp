#include "wiredata/wire_tables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace kelvane::wiredata {
namespace {

const WireTable* tableOf(std::string_view id) {
  const auto& tables = standardWireTables();
  if (!tables) return nullptr;
  for (const WireTable& t : *tables) {
    if (t.id == id) return &t;
  }
  return nullptr;
}

std::string rowName(const WireTable& table, const WireRow& row) {
  const WireCell& first = row.cells.front();
  if (const double* d = std::get_if<double>(&first)) return table.id + " " + std::to_string(*d);
  if (const std::string* s = std::get_if<std::string>(&first)) return table.id + " " + *s;
  return table.id + " (empty first cell)";
}

TEST(WireTables, EveryTableAndEveryRowIsSourced) {
  const auto& tables = standardWireTables();
  ASSERT_TRUE(tables.ok()) << tables.message();
  ASSERT_NE(tableOf("enamelled_round_copper_iec60317"), nullptr);
  ASSERT_NE(tableOf("awg"), nullptr);
  for (const WireTable& table : *tables) {
    SCOPED_TRACE(table.id);
    EXPECT_FALSE(table.title.empty());
    EXPECT_FALSE(table.source.empty());
    EXPECT_FALSE(table.sources.empty());
    for (const auto& [key, citation] : table.sources) EXPECT_FALSE(citation.empty()) << key;
    EXPECT_FALSE(table.rows.empty());
    for (const WireRow& row : table.rows) {
      EXPECT_TRUE(table.sources.contains(row.source))
          << rowName(table, row) << ": source " << row.source << " is not defined";
      for (const WireCell& cell : row.cells) {
        if (const double* d = std::get_if<double>(&cell)) {
          EXPECT_TRUE(std::isfinite(*d) && *d > 0) << rowName(table, row);
        }
      }
    }
  }
}

// Nominal diameters rise strictly down the table; in every row each grade's
// maximum overall diameter lies above the next thinner grade's and above the
// bare wire. A grade without a figure is skipped. Down a grade's column the
// figures need not rise strictly: the source gives 0.096 mm for grade 3 at
// both 0.070 and 0.071 mm.
TEST(WireTables, EnamelledWireGradesLieAboveEachOtherAndTheConductor) {
  const WireTable* table = tableOf("enamelled_round_copper_iec60317");
  ASSERT_NE(table, nullptr);
  const char* const grades[] = {"grade1_max", "grade2_max", "grade3_max"};
  for (const char* grade : grades) ASSERT_TRUE(table->columnIndex(grade)) << grade;
  double previousNominal = 0;
  for (const WireRow& row : table->rows) {
    const std::string name = rowName(*table, row);
    const std::optional<double> nominal = table->figure(row, "nominal");
    ASSERT_TRUE(nominal) << name;
    EXPECT_GT(*nominal, previousNominal) << name;
    previousNominal = *nominal;
    double below = *nominal;
    for (const char* grade : grades) {
      const std::optional<double> overall = table->figure(row, grade);
      if (!overall) continue;
      EXPECT_GT(*overall, below) << name << " " << grade;
      below = *overall;
    }
    EXPECT_TRUE(table->figure(row, "grade1_max") && table->figure(row, "grade2_max")) << name;
  }
}

// The number of an AWG size: 4/0 … 1/0 count as -3 … 0.
int gaugeNumber(const std::string& size) {
  if (size.size() == 3 && size.substr(1) == "/0") return 1 - (size[0] - '0');
  return std::stoi(size);
}

double fourFigures(double x) {
  const double scale = std::pow(10.0, 3 - std::floor(std::log10(x)));
  return std::round(x * scale) / scale;
}

// Thicker wires have smaller gauge numbers, and every diameter is the AWG
// definition (No. 36 = 0.005 in, No. 0000 = 0.46 in, 39 geometric steps)
// rounded to four significant figures, in millimetres and in inches.
TEST(WireTables, AwgDiametersFollowTheGaugeDefinition) {
  const WireTable* table = tableOf("awg");
  ASSERT_NE(table, nullptr);
  const auto awg = table->columnIndex("awg");
  ASSERT_TRUE(awg);
  std::optional<int> previousGauge;
  double previousDiameter = 0;
  for (const WireRow& row : table->rows) {
    const std::string* size = std::get_if<std::string>(&row.cells[*awg]);
    ASSERT_NE(size, nullptr);
    const int n = gaugeNumber(*size);
    const std::optional<double> mm = table->figure(row, "diameter");
    const std::optional<double> inches = table->figure(row, "diameter_in");
    ASSERT_TRUE(mm && inches) << *size;
    // Rows run from the thinnest wire to the thickest.
    if (previousGauge) {
      EXPECT_LT(n, *previousGauge) << *size;
      EXPECT_GT(*mm, previousDiameter) << *size;
    }
    previousGauge = n;
    previousDiameter = *mm;
    const double steps = (36.0 - n) / 39.0;
    EXPECT_DOUBLE_EQ(*mm, fourFigures(0.127 * std::pow(92.0, steps))) << *size;
    EXPECT_DOUBLE_EQ(*inches, fourFigures(0.005 * std::pow(92.0, steps))) << *size;
  }
  EXPECT_EQ(*previousGauge, -3);  // the table reaches 4/0
}

TEST(WireTables, ReadingRefusesTablesItCannotTrust) {
  const std::string good =
      R"({"format": 1, "tables": [{"id": "t", "title": "T", "source": "S",
          "sources": {"a": "A"},
          "columns": [{"id": "d", "label": "径", "unit": "mm"},
                      {"id": "source", "label": "出典", "unit": ""}],
          "rows": [[0.1, "a"], [null, "a"]]}]})";
  const auto tables = readWireTables(good);
  ASSERT_TRUE(tables.ok()) << tables.message();
  ASSERT_EQ(tables->size(), 1u);
  const WireTable& t = tables->front();
  EXPECT_EQ(t.columns, (std::vector<WireColumn>{{"d", "径", "mm"}}));
  EXPECT_EQ(t.figure(t.rows[0], "d"), 0.1);
  EXPECT_EQ(t.figure(t.rows[1], "d"), std::nullopt);
  EXPECT_EQ(t.rows[1].source, "a");

  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  const std::string bad[] = {
      "{",
      replaced("\"format\": 1", "\"format\": 2"),
      replaced("[0.1, \"a\"]", "[0.1]"),
      replaced("[0.1, \"a\"]", "[0.1, 0.2, \"a\"]"),
      replaced("[0.1, \"a\"]", "[0.1, null]"),
      replaced("[0.1, \"a\"]", "[[0.1], \"a\"]"),
      replaced("\"source\": \"S\",", ""),
      replaced("\"id\": \"source\"", "\"id\": \"src\""),
  };
  for (const std::string& text : bad) {
    const auto refused = readWireTables(text);
    ASSERT_FALSE(refused.ok()) << text;
    EXPECT_NE(refused.message().find("規格線の表"), std::string::npos);
  }
}

}  // namespace
}  // namespace kelvane::wiredata
