#include "core/cross_height.h"

#include <gtest/gtest.h>

#include <vector>

namespace kelvane {
namespace {

TEST(CrossZoneShare, ShareOfTheStraightSideTakenByTheCrossing) {
  struct Row {
    double dw, straight, share;
  };
  const std::vector<Row> rows = {
      {0.21, 1.4, 1},   // design-time former: shorter than the 3.15 mm zone
      {0.21, 3.15, 1},  // both branches meet
      {0.21, 6.3, 0.5}, {0.21, 31.5, 0.1}, {0.21, 0, 1},
      {0.21, -2, 1},    {0, 0, 1},  // no wire and no straight part: still the whole side
      {0, -1, 1},       {0, 5, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "dw " << row.dw << " straight " << row.straight);
    EXPECT_DOUBLE_EQ(crossZoneShare(row.dw, row.straight, 15), row.share);
  }
}

}  // namespace
}  // namespace kelvane
