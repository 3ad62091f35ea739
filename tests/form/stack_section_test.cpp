#include "form/stack_section.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "../core/coil_fixtures.h"
#include "core/calculate_coil.h"
#include "core/winding_stack.h"
#include "form/diagram_geometry.h"

namespace kelvane::form {
namespace {

using test::stackWinding;

Insulation tape(double mm, int layers) { return {mm, layers}; }

struct StackCase {
  std::string name;
  Former former;
  std::vector<Winding> windings;
};

std::ostream& operator<<(std::ostream& os, const StackCase& c) { return os << c.name; }

const Former kRound{FormerShape::Round, 10, 2, 2, 0.3, 0.3, 50, 60};
const Former kRectangular{FormerShape::Rectangular, 10, 12, 8, 1, 1, 50, 60};
const Former kFan{FormerShape::Fan, 10, 2, 2, 0.3, 0.3, 50, 60};

// The highest and the lowest point of a winding as drawn, twips (y grows down).
struct Extent {
  double top = 1e30;
  double bottom = -1e30;
};
Extent extentOf(const WindingTurns& w) {
  Extent e;
  for (const TurnCircle& c : w.circles) {
    e.top = std::min<double>(e.top, c.top);
    e.bottom = std::max<double>(e.bottom, c.top + c.diameter);
  }
  if (w.layers) {
    e.top = std::min<double>(e.top, w.layers->top);
    e.bottom = std::max<double>(e.bottom, w.layers->top + w.layers->height);
  }
  return e;
}

class StackSectionRows : public ::testing::TestWithParam<StackCase> {};

TEST_P(StackSectionRows, WindingsLieInOrderOnOneScaleInsideThePanel) {
  const StackCase& row = GetParam();
  const WindingStack stack{row.former, row.windings};
  const Expected<StackResult> result = computeStack(stack);
  ASSERT_TRUE(result) << result.message();
  const DiagramGeometry g = diagramGeometry();
  const StackSection s = stackSection(g, *result);
  ASSERT_TRUE(s.visible);
  ASSERT_EQ(s.windings.size(), row.windings.size());
  const double scale = s.twipsPerMm;
  ASSERT_GT(scale, 0);

  std::size_t circles = 0;
  std::size_t tapesWrapped = 0;
  for (std::size_t k = 0; k < s.windings.size(); ++k) {
    SCOPED_TRACE(k + 1);
    const WindingTurns& w = s.windings[k];
    EXPECT_EQ(w.winding, k);
    circles += w.circles.size();
    const double wire = row.windings[k].coil.finishedDiameter;
    if (w.layers) {
      // Too many turns, or turns too small, to draw one by one: the band of
      // its layers.
      EXPECT_TRUE(w.circles.empty());
      EXPECT_TRUE(row.windings[k].coil.turns >= kMostTurnsDrawn || scale * wire < 16);
      EXPECT_NEAR(w.layers->height, scale * result->windings[k].build, 0.5);
    } else {
      ASSERT_LT(row.windings[k].coil.turns, kMostTurnsDrawn);
      ASSERT_FALSE(w.circles.empty());
      // Every wire on the one scale, to the whole twip the turns step by.
      for (const TurnCircle& c : w.circles) EXPECT_NEAR(c.diameter, scale * wire, 1);
      EXPECT_EQ(w.circles.size(), static_cast<std::size_t>(row.windings[k].coil.turns));
    }
    const Extent here = extentOf(w);
    // Nothing below the former line, nothing above the top of the flanges.
    EXPECT_LE(here.bottom, g.baseLine + 0.01);
    EXPECT_GE(here.top, s.leftFlange.y2 - 0.01);
    if (k == 0) continue;
    // Every turn of this winding above every turn of the one below, by at
    // least the tape between them.
    const double tapeMm = row.windings[k].under.thickness();
    EXPECT_LE(here.bottom, extentOf(s.windings[k - 1]).top - scale * tapeMm + 0.01);
    if (tapeMm > 0) {
      ++tapesWrapped;
      const auto band = std::find_if(s.tapes.begin(), s.tapes.end(),
                                     [k](const TapeBand& t) { return t.under == k; });
      ASSERT_NE(band, s.tapes.end());
      EXPECT_NEAR(band->band.height, scale * tapeMm, 0.01);
      // The tape lies on the build of the winding below, this one on it.
      EXPECT_NEAR(band->band.top, here.bottom, 0.01);
      EXPECT_LE(band->band.top + band->band.height, extentOf(s.windings[k - 1]).top + 0.01);
      EXPECT_EQ(band->band.left, s.leftFlange.x1);
      EXPECT_EQ(band->band.left + band->band.width, s.rightFlange.x1);
    }
  }
  EXPECT_EQ(s.tapes.size(), tapesWrapped);
  EXPECT_LT(circles, kMostTurnsDrawn * s.windings.size());

  // The whole stack fits the panel less its margins: 100 twips below, 250
  // beside.
  EXPECT_GE(s.leftFlange.y2, g.baseLine - (g.panelHeight - 100) - 0.5);
  EXPECT_LE(s.rightFlange.x1, g.lineStart + (g.panelWidth - 250) + 0.5);
  EXPECT_EQ(s.leftFlange.y2, s.rightFlange.y2);
  EXPECT_EQ(s.formerLine.x2, s.rightFlange.x1);
}

INSTANTIATE_TEST_SUITE_P(
    Stacks, StackSectionRows,
    ::testing::Values(StackCase{"RoundTransformer",
                                kRound,
                                {{"一次", stackWinding(0.2, 0.23, 400, 6), {}},
                                 {"二次", stackWinding(0.5, 0.55, 60, 6.2), tape(0.05, 3)}}},
                      // Thick tape, a thin wire over a thick one: the scale is set by the
                      // height, not the width.
                      StackCase{"RectangularThreeWindingsOneWithoutTape",
                                kRectangular,
                                {{"一次", stackWinding(1.0, 1.1, 30, 5), {}},
                                 {"二次", stackWinding(0.3, 0.34, 120, 5), tape(0.5, 4)},
                                 {"三次", stackWinding(0.6, 0.66, 20, 5), {}}}},
                      StackCase{"FanTwoWindings",
                                kFan,
                                {{"一次", stackWinding(0.4, 0.45, 80, 4), {}},
                                 {"二次", stackWinding(0.4, 0.45, 40, 4), tape(0.1, 1)}}},
                      // A secondary of 2000 turns between two drawn windings: its band,
                      // the turns above it on top of it.
                      StackCase{"SecondaryTooManyTurnsDrawnAsItsBand",
                                kRectangular,
                                {{"一次", stackWinding(0.5, 0.55, 200, 20), {}},
                                 {"二次", stackWinding(0.1, 0.12, 2000, 20), tape(0.05, 2)},
                                 {"三次", stackWinding(0.5, 0.55, 30, 20), tape(0.05, 2)}}},
                      // A million turns: so tall that the windings either side of it
                      // are bands too, in order all the same.
                      StackCase{"MillionTurnsDrawnAsItsBand",
                                kRound,
                                {{"一次", stackWinding(0.5, 0.55, 50, 8), {}},
                                 {"二次", stackWinding(0.05, 0.06, 1e6, 8), tape(0.05, 2)},
                                 {"三次", stackWinding(0.5, 0.55, 30, 8), tape(0.05, 2)}}}),
    [](const ::testing::TestParamInfo<StackCase>& info) { return info.param.name; });

TEST(StackSection, OneWindingDrawsTheCoilsOwnCircles) {
  for (const double turns : {1.0, 10.0, 57.0, 999.0}) {
    SCOPED_TRACE(turns);
    const WindingStack stack{kRound, {{"", stackWinding(0.4, 0.45, turns, 5), {}}}};
    const Expected<StackResult> result = computeStack(stack);
    ASSERT_TRUE(result) << result.message();
    const CalculationState& state = result->windings[0].calculation.press.state;
    const DiagramLayoutResult coil =
        DiagramLayout(diagramGeometry(), state.turnsPerLayer, state.layerCount, turns);
    const StackSection s = stackSection(diagramGeometry(), *result);
    ASSERT_TRUE(s.visible);
    ASSERT_EQ(s.windings.size(), 1u);
    EXPECT_EQ(s.windings[0].circles, coil.circles);
    EXPECT_TRUE(s.tapes.empty());
    EXPECT_EQ(s.rightFlange.x1, coil.line3X);
    EXPECT_EQ(s.formerLine.x2, coil.line1X2);
    EXPECT_EQ(s.leftFlange.y2, coil.flangeTop);
  }
}

TEST(StackSection, NothingToDrawIsHidden) {
  EXPECT_FALSE(stackSection(diagramGeometry(), StackResult{}).visible);
  const Expected<StackResult> result =
      computeStack({kRound, {{"", stackWinding(0.4, 0.45, 10, 5), {}}}});
  ASSERT_TRUE(result);
  DiagramGeometry broken = diagramGeometry();
  broken.panelHeight = std::numeric_limits<float>::infinity();
  EXPECT_FALSE(stackSection(broken, *result).visible);
}

}  // namespace
}  // namespace kelvane::form
