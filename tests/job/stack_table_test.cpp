#include "job/stack_table.h"

#include <gtest/gtest.h>

#include "job/item_stack.h"
#include "job_fixtures.h"

namespace kelvane::job {
namespace {

// The transformer as the 見積計算書 lists it: a row a winding with what it
// inherits, then the finished coil and each material's weight.
TEST(StackTable, ARowAWindingThenTheFinishedCoil) {
  const Item item = test::sampleJobs()[6].job.items.front();
  const WindingStack stack = stackOf(item).value();
  const StackResult result = computeStack(stack).value();
  const StackTable hot = stackTable(stack, result, 75);
  ASSERT_EQ(hot.heading.size(), 8u);
  EXPECT_EQ(hot.heading.back(), "DCR 75 °C Ω");
  ASSERT_EQ(hot.windings.size(), 3u);
  EXPECT_EQ(hot.windings[0][0], "巻線1「一次」");
  EXPECT_EQ(hot.windings[1][0], "巻線2「二次」");
  EXPECT_EQ(hot.windings[1][1], "アルミニュウム");
  EXPECT_EQ(hot.windings[2][0], "巻線3");
  EXPECT_EQ(hot.windings[0][4], "—");  // nothing under the first
  EXPECT_EQ(hot.windings[1][4], "0.100");
  ASSERT_EQ(hot.formers.size(), 3u);
  EXPECT_EQ(hot.formers[0].aligned, "D 12.500");
  EXPECT_EQ(hot.formers[1].item, "巻線2「二次」");
  EXPECT_EQ(hot.formers[1].aligned, formerText(result.windings[1].former));
  ASSERT_EQ(hot.totals.size(), 3u);  // the outside, copper, aluminium
  EXPECT_EQ(hot.totals[0].aligned, formerText(result.outside));
  EXPECT_EQ(hot.totals[2].item, "アルミニュウム 導体重量（予測）");
  // At 20 °C the table gives the one resistance.
  EXPECT_EQ(stackTable(stack, result, 20).heading.size(), 7u);
}

TEST(StackTable, TheFormersSizesByShape) {
  EXPECT_EQ(formerText({FormerShape::Round, 12.5, 0, 0, 0, 0, 0, 0}), "D 12.500");
  EXPECT_EQ(formerText({FormerShape::Rectangular, 0, 4, 6, 0.3, 0.5, 0, 0}),
            "A 4.000 × B 6.000, r1 0.300, r2 0.500");
  EXPECT_EQ(formerText({FormerShape::Rectangular, 0, 4, 6, 0.5, 0.5, 0, 0}),
            "A 4.000 × B 6.000, r 0.500");
  EXPECT_EQ(formerText({FormerShape::Fan, 0, 20, 10, 1, 1, 50, 60}),
            "R 50.000, A 20.000, B 10.000, r 1.000, AG 60°");
}

}  // namespace
}  // namespace kelvane::job
