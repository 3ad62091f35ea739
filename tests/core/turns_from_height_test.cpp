#include "core/turns_from_height.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace kelvane {
namespace {

TEST(TurnsFromHeight, WorkedExamplesOfTheHeightBoxes) {
  struct Row {
    bool aligned;  // Text2(7) rather than Text2(14)
    double height;
    std::int32_t layers;
    double turns;
  };
  // dw 0.21; ten turns in odd layers, nine in even ones.
  const std::vector<Row> rows = {
      {true, 0.574, 3, 29}, {true, 0.573, 2, 19}, {true, 0.21, 1, 10},  {true, 0.2, 0, 0},
      {true, 0, -1, -9},    {false, 0.63, 3, 29}, {false, 0.84, 4, 38}, {false, 0.629, 2, 19},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << (row.aligned ? "aligned " : "crossed ") << row.height);
    const auto layers = row.aligned ? LayersFromAlignedHeight(row.height, 0.21)
                                    : LayersFromCrossHeight(row.height, 0.21);
    ASSERT_EQ(layers, row.layers);
    EXPECT_EQ(TurnsFromLayers(*layers, 10, 9), row.turns);
  }
}

TEST(TurnsFromHeight, SameCountWindingGivesLayersTimesTurns) {
  for (const std::int32_t n : {-3, 0, 1, 2, 7, 2147483647}) {
    EXPECT_EQ(TurnsFromLayers(n, 4, 4), 4.0 * n) << n;
  }
  EXPECT_EQ(TurnsFromLayers(-2147483647 - 1, 10, 9), -1073741824.0 * 19);
}

TEST(TurnsFromHeight, NoWireOrACountBeyond32BitsGivesNoLayers) {
  const double inf = std::numeric_limits<double>::infinity();
  for (const double dw : {0.0, -0.0, 5e-324}) {
    EXPECT_EQ(LayersFromAlignedHeight(1, dw), std::nullopt) << dw;
  }
  EXPECT_EQ(LayersFromCrossHeight(1, 0), std::nullopt);
  for (const double height : {1e300, -1e300, 1e9, inf, std::nan("")}) {
    EXPECT_EQ(LayersFromAlignedHeight(height, 0.21), std::nullopt) << height;
    EXPECT_EQ(LayersFromCrossHeight(height, 0.21), std::nullopt) << height;
  }
  EXPECT_EQ(LayersFromCrossHeight(2147483647, 1), 2147483647);
  EXPECT_EQ(LayersFromCrossHeight(2147483648.0, 1), std::nullopt);
}

}  // namespace
}  // namespace kelvane
