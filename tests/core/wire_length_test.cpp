#include "core/wire_length.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <random>
#include <vector>

#include "coil_fixtures.h"
#include "core/calculation_state.h"
#include "core/expected.h"

namespace kelvane {
namespace {

using test::exampleState;

constexpr double kSixDecimals = 5e-7;

TEST(LayerWalk, MovesOnWhenALayerIsFullAndAddsTheAllowance) {
  struct Row {
    double odd, even;
    std::vector<int> newLayerAt;  // turns 1 … 9 that begin a layer
    std::int32_t layer;           // after turn 9
  };
  const std::vector<Row> rows = {
      {3, 2, {4, 6, 9}, 4},
      // Half counts round to even at every layer end: 2, 4, 6, 8.
      {2.5, 2.5, {3, 5, 7, 9}, 5},
      // A layer of no turns, or fewer, moves on one layer per turn until its
      // end catches up.
      {0, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9}, 10},
      {3, -1, {4, 5, 6, 7, 8, 9}, 7},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.odd << " / " << row.even);
    auto walk = LayerWalk::start(row.odd, row.even, 0.5);
    ASSERT_TRUE(walk);
    std::vector<int> begins;
    for (std::int32_t j = 1; j <= 9; ++j) {
      const auto newLayer = walk->advance(j);
      ASSERT_TRUE(newLayer);
      if (*newLayer) begins.push_back(j);
    }
    EXPECT_EQ(begins, row.newLayerAt);
    EXPECT_EQ(walk->layer(), row.layer);
    EXPECT_EQ(walk->allowance(), 0.5 * (row.layer - 1));
  }
}

TEST(LayerWalk, ALayerEndBeyond32BitsIsAnOverflow) {
  EXPECT_FALSE(LayerWalk::start(3e9, 3, 0));
  EXPECT_FALSE(LayerWalk::start(std::nan(""), 3, 0));
  auto walk = LayerWalk::start(2e9, 2e9, 0);
  ASSERT_TRUE(walk);
  EXPECT_EQ(walk->advance(2000000000), false);
  EXPECT_FALSE(walk->advance(2000000001));
}

TEST(WindingLengths, WorkedExamplesOfTheRectangularAndRoundFormers) {
  const CalculationState s = exampleState();
  const auto rectangular = rectangularWindingLength(s);
  ASSERT_TRUE(rectangular);
  EXPECT_NEAR(rectangular->maxLength, 95.159224, kSixDecimals);
  EXPECT_NEAR(rectangular->midLength, 95.834456, kSixDecimals);
  const auto round = roundWindingLength(s);
  ASSERT_TRUE(round);
  EXPECT_NEAR(round->maxLength, 335.529585, kSixDecimals);
  EXPECT_NEAR(round->midLength, 336.204817, kSixDecimals);
}

TEST(WindingLengths, TurnCountIsTheWholePartOfN) {
  struct Row {
    double n;
    double maxLength;  // in turns of the first layer of the round former
  };
  const double firstLayerTurn = (2 * (0.21 / 2 + 10.0 / 2)) * 3.14159265358979;
  for (const Row row : {Row{0, 0}, Row{-3, 0}, Row{0.9, 0}, Row{2.9, 2}, Row{3, 3}}) {
    CalculationState s = exampleState();
    s.inputs.turns = row.n;
    const auto lengths = roundWindingLength(s);
    ASSERT_TRUE(lengths) << row.n;
    EXPECT_DOUBLE_EQ(lengths->maxLength, row.maxLength * firstLayerTurn) << row.n;
    EXPECT_DOUBLE_EQ(lengths->midLength, row.maxLength * firstLayerTurn) << row.n;
  }
  CalculationState s = exampleState();
  s.inputs.turns = 10.9;
  EXPECT_EQ(rectangularWindingLength(s)->maxLength,
            rectangularWindingLength(exampleState())->maxLength);
}

TEST(WindingLengths, NoTurnsInTheFirstLayerPutsTheFirstTurnInTheSecond) {
  CalculationState s = exampleState();
  s.turnsOddLayer = 0;
  s.inputs.turns = 1;
  const double h = (0.21 / 2) * std::sqrt(3.0);
  const double x = 0.3 + 0.21 / 2 + h;
  const auto lengths = rectangularWindingLength(s);
  ASSERT_TRUE(lengths);
  EXPECT_EQ(lengths->maxLength, (x + x) * 3.14159265358979 + 2 * 1.4 + 1.4 + 1.4);
  EXPECT_EQ(lengths->midLength,
            ((x + x) * 3.14159265358979 + 2 * 1.4) + 2 * s.crossAllowance + 1.4 + 1.4);
}

struct ContourRow {
  double B, R, A, AG, r1, r2;
  FanContour expected;
};

TEST(FanOutline, FindsTheOutlineOfTheFanTurn) {
  const std::vector<ContourRow> rows = {
      {2, 50, 2, 60, 0.3, 0.3, {3.7354720, 118.1322640, 60, 1.5860918, 1.6535898}},
      // Corners of unequal radii: worked out from the geometry of the former.
      {10, 30, 12, 40, 1, 0.5, {30.2761091, 94.8619454, 70, 9.9209808, 9.2997925}},
  };
  for (const ContourRow& row : rows) {
    SCOPED_TRACE(testing::Message() << "R " << row.R);
    const auto c = fanOutline(row.B, row.R, row.A, row.AG, row.r1, row.r2);
    ASSERT_TRUE(c);
    EXPECT_NEAR(c->arcAngle, row.expected.arcAngle, 5e-8);
    EXPECT_NEAR(c->outerCornerAngle, row.expected.outerCornerAngle, 5e-8);
    EXPECT_NEAR(c->innerCornerAngle, row.expected.innerCornerAngle, 5e-8);
    EXPECT_NEAR(c->sideLength, row.expected.sideLength, 5e-8);
    EXPECT_NEAR(c->edgeLength, row.expected.edgeLength, 5e-8);
  }
  // The depth of the r1 corners below the top of their circle, from the side.
  const auto c = fanOutline(2, 50, 2, 60, 0.3, 0.3);
  const double depth = 1.4 - c->sideLength * std::cos(30 * (3.14159265358979 / 180));
  EXPECT_NEAR(depth, 0.0264042394, 1e-10);
}

TEST(FanOutline, TheOutlineTurnsThroughAFullCircleAtEveryAngle) {
  for (const double AG : {10.0, 25.0, 40.0, 60.0, 75.0, 90.0, 120.0}) {
    const auto c = fanOutline(2, 50, 2, AG, 0.3, 0.3);
    ASSERT_TRUE(c) << AG;
    EXPECT_NEAR(c->arcAngle + 2 * c->outerCornerAngle + 2 * c->innerCornerAngle, 360, 1e-9) << AG;
  }
}

TEST(FanOutline, ImpossibleOutlinesFailWithTheirReason) {
  struct Row {
    double B, R, A, AG, r1, r2;
    std::string_view message;
  };
  const std::vector<Row> rows = {
      {2, 0.3, 2, 60, 0.3, 0.3, kInvalidArgumentMessage},  // corner circle of radius 0
      {2, 1e308, 2, 60, 0.3, 0.3, kOverflowMessage},
      {2, 50, 2, std::numeric_limits<double>::infinity(), 0.3, 0.3, kOverflowMessage},
      {2, -50, 2, 60, 0.3, 0.3, kInvalidArgumentMessage},
  };
  for (const Row& row : rows) {
    const auto c = fanOutline(row.B, row.R, row.A, row.AG, row.r1, row.r2);
    ASSERT_FALSE(c) << row.R << " " << row.AG;
    EXPECT_EQ(c.message(), row.message);
  }
}

TEST(FanWindingLength, WorkedExampleAndTheOutlineItKeeps) {
  const FanLengths fan = fanWindingLength(exampleState(), 60);
  ASSERT_TRUE(fan.contour);
  EXPECT_NEAR(fan.contour->arcAngle, 3.7354720, 5e-8);
  ASSERT_TRUE(fan.lengths);
  EXPECT_NEAR(fan.lengths->maxLength, 119.819512, kSixDecimals);
  EXPECT_NEAR(fan.lengths->midLength, 120.516755, kSixDecimals);

  // A failed outline leaves nothing to keep.
  CalculationState tight = exampleState();
  tight.inputs.fanRadius = 0.34;
  const FanLengths failed = fanWindingLength(tight, 60);
  EXPECT_FALSE(failed.contour);
  ASSERT_FALSE(failed.lengths);
  EXPECT_EQ(failed.lengths.message(), kInvalidArgumentMessage);

  // A found outline is kept even when the turns then overflow.
  CalculationState huge = exampleState();
  huge.inputs.turns = 3e9;
  const FanLengths overflowed = fanWindingLength(huge, 60);
  EXPECT_TRUE(overflowed.contour);
  ASSERT_FALSE(overflowed.lengths);
  EXPECT_EQ(overflowed.lengths.message(), kOverflowMessage);
}

// The rounded fan drawn point by point from the former's dimensions: the
// centre of a corner of radius r lies r inside both lines it touches (the r1
// centres also on the circle of radius R − r1), each tangent point opposite
// its centre. The length of the line at distance w outside the former, or
// nothing for a fan whose parts do not join up in order.
std::optional<double> roundedFanLength(double A, double B, double R, double AG, double r1,
                                       double r2, double w) {
  const double pi = std::acos(-1.0);
  const double t = AG / 2 * pi / 180;
  // Unit vectors: up the right side, and out of it.
  const double upX = std::sin(t), upY = std::cos(t);
  const double outX = std::cos(t), outY = -std::sin(t);
  // The edge lies on y = 0 from −B/2 to B/2, the arc's centre on the axis.
  const double arcCentreY = A - R;
  // A point (x, y) lies (x − B/2)·outX + y·outY outside the right side; a
  // centre at height y lies −r outside it at x = B/2 − (r + y·outY) / outX.
  const double c2y = r2, c2x = B / 2 - (r2 + c2y * outY) / outX;
  // The r1 centre: r1 inside the side and R − r1 from the arc's centre.
  // With y = arcCentreY + v: x = p + v·tan t, x² + v² = (R − r1)².
  const double p = B / 2 - (r1 + arcCentreY * outY) / outX, slope = upX / upY;
  const double rho = R - r1;
  const double disc = rho * rho * (1 + slope * slope) - p * p;
  if (disc < 0) return std::nullopt;
  const double v = (-p * slope + std::sqrt(disc)) / (1 + slope * slope);
  const double c1x = p + v * slope, c1y = arcCentreY + v;
  // Tangent points on the side, and the straight lengths.
  const double side =
      ((c1x + r1 * outX) - (c2x + r2 * outX)) * upX + ((c1y + r1 * outY) - (c2y + r2 * outY)) * upY;
  const double edge = 2 * c2x;
  // Directions clockwise from straight up: the r1 centre seen from the arc's
  // centre, the side's outward normal, and straight down at the edge.
  const double toCorner = std::atan2(c1x, c1y - arcCentreY);
  const double sideNormal = std::atan2(outX, outY);
  const double arc = 2 * toCorner, corner1 = sideNormal - toCorner, corner2 = pi - sideNormal;
  if (!(side >= 0 && edge >= 0 && arc >= 0 && corner1 >= 0 && corner2 >= 0)) return std::nullopt;
  return arc * (R + w) + 2 * corner1 * (r1 + w) + 2 * corner2 * (r2 + w) + edge + 2 * side;
}

CalculationState fanState(double A, double B, double R, double r1, double r2, double turns) {
  CalculationState s = exampleState();
  s.inputs.sideA = A;
  s.inputs.sideB = B;
  s.inputs.fanRadius = R;
  s.inputs.cornerR1 = r1;
  s.inputs.cornerR2 = r2;
  s.inputs.turns = turns;
  s.straightA = (A - r1) - r2;
  s.straightB2 = B - 2 * r2;
  s.straightB1 = B - 2 * r1;
  return s;
}

// Random fans of every angle with corners of unequal radii: the first turn
// runs round the rounded fan half a wire outside the former.
TEST(FanWindingLength, FirstTurnGoesRoundTheRoundedFanAtEveryAngle) {
  std::mt19937 random(20260520);
  auto pick = [&](double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(random);
  };
  int fans = 0;
  for (int i = 0; i < 3000 && fans < 500; ++i) {
    const double AG = pick(5, 120), r1 = pick(0.1, 3), r2 = pick(0.1, 3);
    const double A = pick(2, 30), B = pick(2, 30), R = pick(5, 100);
    if (std::fabs(r1 - r2) < 0.05) continue;
    const auto expected = roundedFanLength(A, B, R, AG, r1, r2, 0.21 / 2);
    if (!expected) continue;
    SCOPED_TRACE(testing::Message() << "A " << A << " B " << B << " R " << R << " AG " << AG
                                    << " r1 " << r1 << " r2 " << r2);
    const FanLengths fan = fanWindingLength(fanState(A, B, R, r1, r2, 1), AG);
    ASSERT_TRUE(fan.lengths);
    EXPECT_NEAR(fan.lengths->maxLength, *expected, 1e-7 * *expected);
    ++fans;
  }
  EXPECT_EQ(fans, 500);
}

// A fan of no angle and a radius so large that its arc is all but straight is
// the rectangular former of the same A, B, r1 and r2, turn for turn.
TEST(FanWindingLength, ANarrowFanOfHugeRadiusIsTheRectangularFormer) {
  for (const double AG : {0.0, 1e-6}) {
    for (const double r2 : {0.3, 1.0, 3.0}) {
      SCOPED_TRACE(testing::Message() << "AG " << AG << " r2 " << r2);
      const CalculationState s = fanState(20, 12, 1e6, 1, r2, 10);
      const FanLengths fan = fanWindingLength(s, AG);
      const auto rectangular = rectangularWindingLength(s);
      ASSERT_TRUE(fan.lengths && rectangular);
      // The arc's rise over the corners, 25e-6 mm at this radius, shortens
      // both sides of every turn.
      EXPECT_NEAR(fan.lengths->maxLength, rectangular->maxLength, 1e-3);
      EXPECT_NEAR(fan.lengths->midLength, rectangular->midLength, 1e-3);
    }
  }
}

// At 60° with equal corners the outline was right before the unequal-corner
// terms were mended; the lengths stay what they were.
TEST(FanWindingLength, SixtyDegreesWithEqualCornersKeepsItsLengths) {
  struct Row {
    double A, B, R, r;
    double side, maxLength, midLength;  // 25 turns, allowance 0.01 a layer
  };
  const std::vector<Row> rows = {
      {2, 2, 50, 0.3, 1.586091764280277, 370.39578233817855, 372.40453570154506},
      {12, 10, 30, 1, 9.7745254491483795, 1462.446242563964, 1465.9781089910234},
      {5, 3, 8, 0.5, 3.8304203022267127, 613.49846723041287, 617.56448497748545},
      {40, 25, 120, 2.5, 36.174777581002544, 4348.4618540059528, 4351.5994159383381},
      {3.1, 16, 40, 0.3, 1.7694696589771521, 1087.7083603823785, 1090.6936412846549},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "A " << row.A << " B " << row.B << " R " << row.R);
    CalculationState s = fanState(row.A, row.B, row.R, row.r, row.r, 25);
    s.crossAllowance = 0.01;
    const FanLengths fan = fanWindingLength(s, 60);
    ASSERT_TRUE(fan.contour && fan.lengths);
    EXPECT_NEAR(fan.contour->sideLength, row.side, 1e-12 * row.side);
    EXPECT_NEAR(fan.lengths->maxLength, row.maxLength, 1e-12 * row.maxLength);
    EXPECT_NEAR(fan.lengths->midLength, row.midLength, 1e-12 * row.midLength);
  }
}

// Whatever the state, a routine gives finite lengths or a failure.
TEST(WindingLengths, AbsurdStatesFailInsteadOfGivingNonFiniteLengths) {
  using Edit = std::function<void(CalculationState&)>;
  struct Row {
    const char* name;
    Edit edit;
  };
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<Row> rows = {
      {"turns 3e9", [](CalculationState& s) { s.inputs.turns = 3e9; }},
      {"turns -3e9", [](CalculationState& s) { s.inputs.turns = -3e9; }},
      {"turns NaN", [](CalculationState& s) { s.inputs.turns = std::nan(""); }},
      {"odd layer 3e9", [](CalculationState& s) { s.turnsOddLayer = 3e9; }},
      {"wire 1e308", [](CalculationState& s) { s.inputs.finishedDiameter = 1e308; }},
      {"corner 1e308", [](CalculationState& s) { s.inputs.cornerR1 = s.inputs.cornerR2 = 1e308; }},
      {"inner 1e308", [](CalculationState& s) { s.inputs.innerDiameter = 1e308; }},
      {"straight -1e308", [](CalculationState& s) { s.straightA = s.straightB1 = -1e308; }},
      {"allowance inf", [inf](CalculationState& s) { s.crossAllowance = inf; }},
      {"radius 1e308", [](CalculationState& s) { s.inputs.fanRadius = 1e308; }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    CalculationState s = exampleState();
    row.edit(s);
    const FanLengths fan = fanWindingLength(s, 60);
    for (const Expected<WindingLengths>& l :
         {rectangularWindingLength(s), roundWindingLength(s), fan.lengths}) {
      if (l) {
        EXPECT_TRUE(std::isfinite(l->maxLength) && std::isfinite(l->midLength));
      } else {
        EXPECT_FALSE(l.message().empty());
      }
    }
  }
  CalculationState s = exampleState();
  s.inputs.turns = 3e9;
  EXPECT_EQ(rectangularWindingLength(s).message(), kOverflowMessage);
}

}  // namespace
}  // namespace kelvane
