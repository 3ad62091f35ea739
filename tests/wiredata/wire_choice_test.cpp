#include "wiredata/wire_choice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "table_of.h"

namespace kelvane::wiredata {
namespace {

// The index of the row whose first cell reads `first` ("0.25" or "36").
std::size_t rowOf(const WireTable& table, const std::string& first) {
  for (std::size_t i = 0; i < table.rows.size(); ++i) {
    const WireCell& cell = table.rows[i].cells.front();
    if (const double* d = std::get_if<double>(&cell); d && std::to_string(*d) == first) return i;
    if (const std::string* s = std::get_if<std::string>(&cell); s && *s == first) return i;
  }
  return table.rows.size();
}

struct ChoiceCase {
  std::string table;
  std::string row;     // the row's first cell, as std::to_string or the AWG size
  std::string column;  // a column id; anything else stands past the last column
  std::optional<WireChoice> expected;
};

TEST(WireChoice, ACellFillsTheDiametersItStandsFor) {
  const std::string enamelled = "enamelled_round_copper_iec60317";
  const std::string jis = "enamelled_round_copper_jis_c3202";
  const std::vector<ChoiceCase> cases = {
      // A grade gives the conductor and that grade's overall diameter,
      // written as the data gives them.
      {enamelled, "0.250000", "grade1_max", WireChoice{"0.25", "0.281"}},
      {enamelled, "0.250000", "grade3_max", WireChoice{"0.25", "0.312"}},
      {enamelled, "0.010000", "grade1_max", WireChoice{"0.01", "0.013"}},
      {enamelled, "5.000000", "grade2_max", WireChoice{"5", "5.141"}},
      // A grade without a figure, the conductor itself and the row's source
      // (no column of figures) cannot be chosen.
      {enamelled, "1.500000", "grade3_max", std::nullopt},
      {enamelled, "1.500000", "nominal", std::nullopt},
      {enamelled, "0.250000", "source", std::nullopt},
      {enamelled, "past the end", "grade1_max", std::nullopt},
      // A resistance limit is no diameter.
      {enamelled, "0.100000", "r20_min", std::nullopt},
      // The JIS classes give their own overall diameters, 1種 the thickest.
      {jis, "0.100000", "class1_max", WireChoice{"0.1", "0.14"}},
      {jis, "0.100000", "class3_max", WireChoice{"0.1", "0.118"}},
      {jis, "0.700000", "class3_max", std::nullopt},
      {jis, "0.700000", "r20_max", std::nullopt},
      // Any cell of an AWG row gives its bare diameter in mm, and no overall
      // diameter.
      {"awg", "36", "awg", WireChoice{"0.127", std::nullopt}},
      {"awg", "36", "diameter_in", WireChoice{"0.127", std::nullopt}},
      {"awg", "4/0", "diameter", WireChoice{"11.68", std::nullopt}},
      {"awg", "4/0", "source", std::nullopt},
  };
  for (const ChoiceCase& c : cases) {
    SCOPED_TRACE(c.table + " " + c.row + " " + c.column);
    const WireTable& table = tableOf(c.table);
    ASSERT_FALSE(table.rows.empty());
    const std::size_t column = table.columnIndex(c.column).value_or(table.columns.size());
    EXPECT_EQ(wireChoice(table, rowOf(table, c.row), column), c.expected);
  }
  EXPECT_TRUE(givesFinishedDiameter(tableOf(enamelled)));
  EXPECT_TRUE(givesFinishedDiameter(tableOf(jis)));
  EXPECT_FALSE(givesFinishedDiameter(tableOf("awg")));
}

}  // namespace
}  // namespace kelvane::wiredata
