#include "wiredata/wire_tables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
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
  ASSERT_NE(tableOf("enamelled_round_copper_jis_c3202"), nullptr);
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
// both 0.070 and 0.071 mm. The JIS classes run the other way: 3種 is the
// thinnest film, 1種 the thickest.
TEST(WireTables, InsulationGradesLieAboveEachOtherAndTheConductor) {
  struct Grades {
    const char* table;
    std::vector<const char*> thinToThick;
    std::vector<const char*> alwaysGiven;
  };
  const Grades cases[] = {
      {"enamelled_round_copper_iec60317",
       {"grade1_max", "grade2_max", "grade3_max"},
       {"grade1_max", "grade2_max"}},
      {"enamelled_round_copper_jis_c3202",
       {"class3_max", "class2_max", "class1_max"},
       {"class2_max"}},
  };
  for (const Grades& c : cases) {
    SCOPED_TRACE(c.table);
    const WireTable* table = tableOf(c.table);
    ASSERT_NE(table, nullptr);
    for (const char* grade : c.thinToThick) ASSERT_TRUE(table->columnIndex(grade)) << grade;
    double previousNominal = 0;
    for (const WireRow& row : table->rows) {
      const std::string name = rowName(*table, row);
      const std::optional<double> nominal = table->figure(row, "nominal");
      ASSERT_TRUE(nominal) << name;
      EXPECT_GT(*nominal, previousNominal) << name;
      previousNominal = *nominal;
      double below = *nominal;
      for (const char* grade : c.thinToThick) {
        const std::optional<double> overall = table->figure(row, grade);
        if (!overall) continue;
        EXPECT_GT(*overall, below) << name << " " << grade;
        below = *overall;
      }
      for (const char* grade : c.alwaysGiven) EXPECT_TRUE(table->figure(row, grade)) << name;
    }
  }
}

// Where a table gives a size's resistance limits, both are given, and the
// resistance of the nominal wire of annealed copper (0.017241 Ω·mm²/m) lies
// strictly between them: a figure copied into the wrong row or column, or a
// slipped digit, falls outside.
TEST(WireTables, ResistanceLimitsBracketTheNominalWire) {
  for (const char* id : {"enamelled_round_copper_iec60317", "enamelled_round_copper_jis_c3202"}) {
    SCOPED_TRACE(id);
    const WireTable* table = tableOf(id);
    ASSERT_NE(table, nullptr);
    int limited = 0;
    for (const WireRow& row : table->rows) {
      const std::string name = rowName(*table, row);
      const auto low = table->figure(row, "r20_min");
      const auto high = table->figure(row, "r20_max");
      ASSERT_EQ(low.has_value(), high.has_value()) << name;
      if (!low) continue;
      ++limited;
      const double d = *table->figure(row, "nominal");
      const double nominal = 0.017241 / (std::numbers::pi * d * d / 4);
      EXPECT_LT(*low, nominal) << name;
      EXPECT_GT(*high, nominal) << name;
      // The limits of a standard lie within a few per cent of the nominal.
      EXPECT_GT(*low, 0.85 * nominal) << name;
      EXPECT_LT(*high, 1.15 * nominal) << name;
    }
    EXPECT_GT(limited, 20);
  }
}

// The remarks of a table stand on cells of its own, each numbered in turn, and
// every column's own source is one of the table's.
TEST(WireTables, FootnotesAndColumnSourcesPointIntoTheTable) {
  const WireTable* iec = tableOf("enamelled_round_copper_iec60317");
  ASSERT_NE(iec, nullptr);
  const auto row = [&](double d) { return rowOfDiameter(*iec, d).value_or(iec->rows.size()); };
  const auto grade2 = *iec->columnIndex("grade2_max");
  const auto grade3 = *iec->columnIndex("grade3_max");
  ASSERT_NE(iec->footnoteAt(row(0.048), grade2), nullptr);
  EXPECT_EQ(iec->footnoteAt(row(0.048), grade2)->mark, "※1");
  ASSERT_NE(iec->footnoteAt(row(0.071), grade3), nullptr);
  ASSERT_NE(iec->footnoteAt(row(0.170), grade2), nullptr);
  for (double d : {1.5, 1.7, 1.9, 2.12}) {
    ASSERT_NE(iec->footnoteAt(row(d), grade3), nullptr) << d;
    EXPECT_EQ(iec->figure(iec->rows[row(d)], "grade3_max"), std::nullopt) << d;
  }
  EXPECT_EQ(iec->footnoteAt(row(0.048), grade3), nullptr);
  EXPECT_EQ(iec->footnoteAt(row(0.050), grade2), nullptr);
  // The resistance limits of the IEC table come from their own source.
  EXPECT_EQ(iec->sourceOf(iec->rows[row(0.1)], *iec->columnIndex("r20_min")), "sh-wire");
  EXPECT_EQ(iec->sourceOf(iec->rows[row(0.1)], grade2), "mas-elektrisola");
}

TEST(WireTables, ADiameterFindsItsRowToTheThousandth) {
  const WireTable* iec = tableOf("enamelled_round_copper_iec60317");
  ASSERT_NE(iec, nullptr);
  const struct {
    double typed;
    std::optional<double> found;
  } cases[] = {
      {1.0, 1.0},           {1.0004, 1.0},       {0.9996, 1.0},        {0.0705, std::nullopt},
      {0.070, 0.070},       {0.071, 0.071},      {5.0, 5.0},           {0.5, 0.5},
      {0.53, std::nullopt}, {0.0, std::nullopt}, {-1.0, std::nullopt}, {std::nan(""), std::nullopt},
  };
  for (const auto& c : cases) {
    const auto row = rowOfDiameter(*iec, c.typed);
    ASSERT_EQ(row.has_value(), c.found.has_value()) << c.typed;
    if (row) {
      EXPECT_EQ(iec->figure(iec->rows[*row], "nominal"), c.found) << c.typed;
    }
  }
  // The gauge table's bare diameter is its "diameter" column.
  const WireTable* awg = tableOf("awg");
  ASSERT_NE(awg, nullptr);
  const auto row = rowOfDiameter(*awg, 0.127);
  ASSERT_TRUE(row);
  EXPECT_EQ(std::get<std::string>(awg->rows[*row].cells.front()), "36");
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
  EXPECT_TRUE(t.footnotes.empty());

  // A column with its own source and decimals, and a remark on a cell.
  std::string richer = good;
  richer.replace(richer.find(R"("unit": "mm"})"), 13,
                 R"("unit": "mm", "decimals": 3, "source": "a"})");
  richer.replace(
      richer.find("\"rows\": [["), 10,
      "\"footnotes\": [{\"rows\": [0.1], \"column\": \"d\", \"text\": \"注\"}], \"rows\": [[");
  const auto rich = readWireTables(richer);
  ASSERT_TRUE(rich.ok()) << rich.message();
  const WireTable& r = rich->front();
  EXPECT_EQ(r.columns.front().decimals, 3);
  EXPECT_EQ(r.columns.front().source, "a");
  ASSERT_EQ(r.footnotes.size(), 1u);
  EXPECT_EQ(r.footnotes.front(), (WireFootnote{"※1", "注", {0}, 0}));

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
      replaced(R"("source": "S",)", ""),
      replaced(R"("id": "source")", R"("id": "src")"),
      // A row, a column or a remark that names what the table does not have.
      replaced("[0.1, \"a\"]", "[0.1, \"b\"]"),
      replaced(R"("unit": "mm"})", R"("unit": "mm", "source": "b"})"),
      replaced(R"("unit": "mm"})", R"("unit": "mm", "decimals": -1})"),
      replaced("\"rows\": [[",
               R"("footnotes": [{"rows": [0.2], "column": "d", "text": "t"}], "rows": [[)"),
      replaced("\"rows\": [[",
               R"("footnotes": [{"rows": [0.1], "column": "e", "text": "t"}], "rows": [[)"),
      replaced("\"rows\": [[",
               R"("footnotes": [{"rows": [], "column": "d", "text": "t"}], "rows": [[)"),
  };
  for (const std::string& text : bad) {
    const auto refused = readWireTables(text);
    ASSERT_FALSE(refused.ok()) << text;
    EXPECT_NE(refused.message().find("規格線の表"), std::string::npos);
  }
}

}  // namespace
}  // namespace kelvane::wiredata
