#include "form/section_layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace kelvane::form {
namespace {

// The window's diagram panel, on which the drawings' worked figures lie.
DiagramGeometry designPanel() {
  DiagramGeometry g;
  g.panelWidth = 4695;
  g.panelHeight = 3570;
  g.leftEdge = 8160;
  g.baseLine = 3510;
  g.lineStart = 8160;
  return g;
}

std::vector<float> lefts(const DiagramLayoutResult& r) {
  std::vector<float> out;
  for (const TurnCircle& c : r.circles) out.push_back(c.left);
  return out;
}

// Ten turns of the window's default coil: layers of three turns, each
// shifted by half a diameter, four layers. Tops are given to two decimals.
TEST(DiagramLayout, DefaultCoilDrawsTenTurnsInFourLayers) {
  const DiagramLayoutResult r = DiagramLayout(designPanel(), 3.5f, 4, 10);
  ASSERT_TRUE(r.visible);
  struct Turn {
    float left, top;
    bool filled;
  };
  const std::vector<Turn> expected = {
      {8160, 2642, true},       {9028, 2642, false},     {9896, 2642, false},
      {10330, 1890.29f, false}, {9462, 1890.29f, false}, {8594, 1890.29f, false},
      {8160, 1138.58f, false},  {9028, 1138.58f, false}, {9896, 1138.58f, false},
      {10330, 386.87f, true},
  };
  ASSERT_EQ(r.circles.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i + 1);
    EXPECT_EQ(r.circles[i].left, expected[i].left);
    EXPECT_NEAR(r.circles[i].top, expected[i].top, 0.005);
    EXPECT_EQ(r.circles[i].filled, expected[i].filled);
    EXPECT_EQ(r.circles[i].diameter, 867.5f);
  }
  EXPECT_EQ(r.line1X2, 11198);
  EXPECT_EQ(r.line3X, 11198);
  EXPECT_EQ(r.flangeTop, r.circles.back().top);
  // Each layer's top is stored in single precision before the next one rises
  // from it; rising three layers at once in double would give 386.86984f.
  EXPECT_EQ(r.circles.back().top, 386.86978f);
}

TEST(DiagramLayout, AlternatingLayersAndTurnCounts) {
  // Layers of 3 and 2 turns; the right flange stands three diameters out.
  const DiagramLayoutResult alternating = DiagramLayout(designPanel(), 3, 4, 8);
  EXPECT_EQ(lefts(alternating),
            (std::vector<float>{8160, 9028, 9896, 9462, 8594, 8160, 9028, 9896}));
  EXPECT_EQ(alternating.line1X2, 8160 + 3 * 868);

  // A fractional turn count draws the whole turns below it.
  EXPECT_EQ(DiagramLayout(designPanel(), 3.5f, 4, 10.7).circles.size(), 10u);
  EXPECT_EQ(DiagramLayout(designPanel(), 30, 34, 999).circles.size(), 999u);

  // Below two turns only the first turn, filled, with the flanges to its top.
  const DiagramLayoutResult one = DiagramLayout(designPanel(), 3.5f, 1, 1.5);
  ASSERT_EQ(one.circles.size(), 1u);
  EXPECT_TRUE(one.circles[0].filled);
  EXPECT_EQ(one.flangeTop, one.circles[0].top);
}

TEST(DiagramLayout, NothingToDrawHidesTheDrawing) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::nan("");
  struct Case {
    float perLayer;
    double layers, turns;
  };
  const std::vector<Case> cases = {
      {3.5f, 4, 0},    {3.5f, 4, -5},    {3.5f, 0, 10},
      {3.5f, -4, 10},  {0, 4, 10},       {-3, 4, 10},
      {3.5f, 4, 1000}, {3.5f, 4, 1e308}, {3.5f, inf, 10},
      {3.5f, nan, 10}, {3.5f, 4, nan},   {std::numeric_limits<float>::denorm_min(), 1e-300, 10},
  };
  for (const Case& c : cases) {
    const DiagramLayoutResult r = DiagramLayout(designPanel(), c.perLayer, c.layers, c.turns);
    EXPECT_FALSE(r.visible) << c.perLayer << " " << c.layers << " " << c.turns;
    EXPECT_TRUE(r.circles.empty());
  }
  DiagramGeometry huge = designPanel();
  huge.panelWidth = huge.panelHeight = 3e38f;
  EXPECT_FALSE(DiagramLayout(huge, 3.5f, 4, 10).visible);
  DiagramGeometry narrow = designPanel();
  narrow.panelWidth = 200;  // narrower than its margin
  EXPECT_FALSE(DiagramLayout(narrow, 3.5f, 4, 10).visible);
}

}  // namespace
}  // namespace kelvane::form
