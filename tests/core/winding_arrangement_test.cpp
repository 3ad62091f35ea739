#include "core/winding_arrangement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/number_text.h"

namespace kelvane {
namespace {

struct ArrangementRow {
  double T, n;
  double positions;
  std::string text;
  double layers, last;
  std::string thickness;  // as Text2(2) shows it
  double alignedHeight;
};

TEST(WindingArrangement, LaysTheTurnsOutAsTheExamplesShow) {
  const double dw = 0.21;
  const double pitch = 0.105 * std::sqrt(3.0);
  const std::vector<ArrangementRow> rows = {
      {0.8, 10, 3.5, "同数列巻き--3 X 3", 4, 1, "0.735", 3 * pitch + dw},
      {0.8, 12, 3.5, "同数列巻き--3 X 3", 4, 0, "0.735", 3 * pitch + dw},
      {1.05, 10, 4.5, "同数列巻き--4 X 4", 3, 2, "0.945", 2 * pitch + dw},
      {1.1, 10, 5, "異数列巻き--5 X 4", 3, 1, "1.05", 2 * pitch + dw},
      {1.1, 9, 5, "異数列巻き--5 X 4", 2, 0, "1.05", pitch + dw},
      // 14 turns fill 5, 4, 5 exactly, yet the count goes by 4.5 a layer.
      {1.1, 14, 5, "異数列巻き--5 X 4", 4, 0, "1.05", 3 * pitch + dw},
      // Exactly five diameters hold four and a half positions, not five.
      {5 * dw, 10, 4.5, "同数列巻き--4 X 4", 3, 2, "0.945", 2 * pitch + dw},
      // A fractional n divides as typed and is rounded to even in the mod.
      {0.8, 10.5, 3.5, "同数列巻き--3 X 3", 4, 1, "0.735", 3 * pitch + dw},
      // No turns: no layer, and a height below one wire.
      {0.8, 0, 3.5, "同数列巻き--3 X 3", 0, 0, "0.735", dw - pitch},
      {2.0, 10, 9.5, "同数列巻き--9 X 9", 2, 1, "1.995", pitch + dw},
  };
  for (const ArrangementRow& row : rows) {
    SCOPED_TRACE(testing::Message() << "T " << row.T << " n " << row.n);
    const WindingArrangement w = windingArrangement(row.T, dw, row.n);
    EXPECT_EQ(w.turnPositions, row.positions);
    EXPECT_EQ(turnPositionsAcross(row.T, dw), row.positions);
    EXPECT_EQ(w.arrangementText, row.text);
    EXPECT_EQ(w.layerCount, row.layers);
    EXPECT_EQ(w.lastLayerTurns, row.last);
    EXPECT_EQ(plainDecimal(w.thickness), row.thickness);
    EXPECT_DOUBLE_EQ(w.alignedHeight, row.alignedHeight);
  }
  EXPECT_EQ(formatFixed3(windingArrangement(0.8, dw, 10).alignedHeight), "0.756");
}

TEST(WindingArrangement, DifferentCountLayersHoldOneTurnLess) {
  const WindingArrangement w = windingArrangement(1.1, 0.21, 10);
  EXPECT_EQ(w.turnsOddLayer, 5);
  EXPECT_EQ(w.turnsEvenLayer, 4);
  const WindingArrangement same = windingArrangement(0.8, 0.21, 10);
  EXPECT_EQ(same.turnsOddLayer, 3);
  EXPECT_EQ(same.turnsEvenLayer, 3);
}

// The press refuses fewer than 1.5 positions, but a direct call must still
// come back, whatever it is given.
TEST(WindingArrangement, ComesBackForAnyInput) {
  const double inf = std::numeric_limits<double>::infinity();
  for (const double T : {0.0, 0.21, 0.3, -1.0, 1e308, -1e308, inf}) {
    for (const double dw : {0.21, 0.0, -0.0001, 1e-300, 1e308}) {
      for (const double n : {10.0, 0.0, -5.0, 1e300, -1e300}) {
        const WindingArrangement w = windingArrangement(T, dw, n);
        EXPECT_FALSE(w.arrangementText.empty());
      }
    }
  }
}

}  // namespace
}  // namespace kelvane
