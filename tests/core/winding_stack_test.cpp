#include "core/winding_stack.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "coil_fixtures.h"
#include "core/coil.h"
#include "core/coil_math.h"
#include "core/input_checks.h"

namespace kelvane {
namespace {

using test::stackWinding;

Former designFormer(FormerShape shape) {
  // The window's opening sizes, with a round former of D 10 and a fan of R 50.
  return Former{shape, 10, 2, 2, 0.3, 0.3, 50, 60};
}

// A transformer: a primary of thin copper, a secondary of thicker aluminium
// over tape.
WindingStack transformer(FormerShape shape, Insulation tape) {
  WindingStack stack;
  stack.former = designFormer(shape);
  stack.windings.push_back({"一次", stackWinding(0.2, 0.23, 400, 6), {}});
  stack.windings.push_back(
      {"二次", stackWinding(0.5, 0.55, 60, 6.2, ConductorMaterial::Aluminium), tape});
  return stack;
}

// The second winding typed as the engineer would type it by hand: the first
// one pressed alone, and the sizes of the former it leaves worked out from
// the higher of its two heights and the tape.
Coil secondTypedByHand(const WindingStack& stack, const CoilCalculation& first) {
  const double build =
      std::max(first.press.results.crossHeight, first.press.results.alignedHeight) +
      stack.windings[1].under.thickness();
  const Former& f = stack.former;
  Coil c = stack.windings[1].coil;
  c.former = f.shape;
  c.innerDiameter = f.innerDiameter;
  c.sideA = f.sideA;
  c.sideB = f.sideB;
  c.cornerR1 = f.cornerR1;
  c.cornerR2 = f.cornerR2;
  c.fanRadius = f.fanRadius;
  c.fanAngle = f.fanAngle;
  switch (f.shape) {
    case FormerShape::Round:
      c.innerDiameter = f.innerDiameter + 2 * build;
      break;
    case FormerShape::Rectangular:
      c.sideA = f.sideA + 2 * build;
      c.sideB = f.sideB + 2 * build;
      c.cornerR1 = f.cornerR1 + build;
      c.cornerR2 = f.cornerR2 + build;
      break;
    case FormerShape::Fan:
      // The sides spread at 30° from the axis: the edge under them widens
      // by the build times tan 30° at each end.
      c.sideA = f.sideA + 2 * build;
      c.sideB = f.sideB + 2 * build * std::tan(kPi / 6);
      c.cornerR1 = f.cornerR1 + build;
      c.cornerR2 = f.cornerR2 + build;
      c.fanRadius = f.fanRadius + build;
      break;
  }
  return c;
}

struct TwoWindingCase {
  const char* name;
  FormerShape shape;
  Insulation tape;
};

class TwoWindings : public ::testing::TestWithParam<TwoWindingCase> {};

TEST_P(TwoWindings, EqualTwoSeparatePresses) {
  const WindingStack stack = transformer(GetParam().shape, GetParam().tape);
  const Expected<StackResult> result = computeStack(stack);
  ASSERT_TRUE(result.ok()) << result.message();
  ASSERT_EQ(result->windings.size(), 2u);

  Coil first = onFormer(stack.windings[0].coil, stack.former);
  const CoilCalculation alone1 = calculate(first);
  const CoilCalculation alone2 = calculate(secondTypedByHand(stack, alone1));
  ASSERT_EQ(alone2.press.outcome, PressOutcome::Complete) << alone2.press.message;

  const WindingResult& w1 = result->windings[0];
  const WindingResult& w2 = result->windings[1];
  EXPECT_EQ(w1.former, stack.former);
  EXPECT_EQ(w1.calculation.texts, alone1.texts);
  EXPECT_EQ(w2.calculation.texts, alone2.texts);
  EXPECT_EQ(w2.calculation.press.results.weights.predictedDcr,
            alone2.press.results.weights.predictedDcr);
  // Four hundred turns in layers of about 26 build higher where they cross.
  EXPECT_EQ(w1.buildFrom, BuildHeight::Predicted);
  EXPECT_EQ(w1.build, alone1.press.results.crossHeight);

  // The finished coil's outside is the second winding's former grown by its
  // own build; the weights are each material's own.
  EXPECT_EQ(result->outside, grownBy(w2.former, w2.build));
  EXPECT_EQ(result->predictedConductorGrams[0],
            alone1.press.results.weights.predictedConductorWeight);
  EXPECT_EQ(result->predictedConductorGrams[1],
            alone2.press.results.weights.predictedConductorWeight);
  EXPECT_EQ(result->predictedConductorGrams[2], 0);
  EXPECT_DOUBLE_EQ(w2.predictedDcrOhm,
                   alone2.press.results.weights.predictedDcr * ThinWireFactor(0.5));
}

// A fan grown outward keeps its corners' centres: the outline of the second
// winding is the first one's, its arcs and corners the same angles and its
// sides and edge the same lengths.
TEST(WindingStack, FanOutlineKeepsItsShape) {
  for (const Insulation tape : {Insulation{0.05, 3}, Insulation{0, 0}}) {
    SCOPED_TRACE(tape.layers);
    const Expected<StackResult> result = computeStack(transformer(FormerShape::Fan, tape));
    ASSERT_TRUE(result.ok()) << result.message();
    const FanContour& inner = result->windings[0].calculation.press.state.fanContour;
    const FanContour& outer = result->windings[1].calculation.press.state.fanContour;
    EXPECT_NEAR(outer.arcAngle, inner.arcAngle, 1e-6);
    EXPECT_NEAR(outer.outerCornerAngle, inner.outerCornerAngle, 1e-6);
    EXPECT_NEAR(outer.innerCornerAngle, inner.innerCornerAngle, 1e-9);
    EXPECT_NEAR(outer.sideLength, inner.sideLength, 1e-6);
    EXPECT_NEAR(outer.edgeLength, inner.edgeLength, 1e-9);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Formers, TwoWindings,
    ::testing::Values(TwoWindingCase{"round", FormerShape::Round, {0.05, 3}},
                      TwoWindingCase{"roundNoTape", FormerShape::Round, {0, 0}},
                      TwoWindingCase{"rectangular", FormerShape::Rectangular, {0.05, 3}},
                      TwoWindingCase{"rectangularNoTape", FormerShape::Rectangular, {0.1, 0}},
                      TwoWindingCase{"fan", FormerShape::Fan, {0.05, 3}},
                      TwoWindingCase{"fanNoTape", FormerShape::Fan, {0, 5}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WindingStack, EightWindingsEachOnTheOneBelow) {
  WindingStack stack;
  stack.former = designFormer(FormerShape::Rectangular);
  for (int k = 0; k < 8; ++k) {
    const auto material = static_cast<ConductorMaterial>(k % 3);
    stack.windings.push_back({"W" + std::to_string(k + 1),
                              stackWinding(0.2 + 0.05 * k, 0.23 + 0.05 * k, 50, 5, material),
                              {0.03, k % 2 + 1}});
  }
  const Expected<StackResult> result = computeStack(stack);
  ASSERT_TRUE(result.ok()) << result.message();
  ASSERT_EQ(result->windings.size(), 8u);
  std::array<double, 3> grams{};
  for (std::size_t k = 0; k < 8; ++k) {
    SCOPED_TRACE(k);
    const WindingResult& w = result->windings[k];
    const Former expected =
        k == 0 ? stack.former
               : grownBy(result->windings[k - 1].outside, stack.windings[k].under.thickness());
    EXPECT_EQ(w.former, expected);
    EXPECT_GT(w.former.sideA, k == 0 ? 0 : result->windings[k - 1].former.sideA);
    grams[k % 3] += w.results().weights.predictedConductorWeight;
  }
  EXPECT_EQ(result->outside, result->windings[7].outside);
  EXPECT_EQ(result->predictedConductorGrams, grams);

  stack.windings.push_back(stack.windings.back());
  const Expected<StackResult> nine = computeStack(stack);
  ASSERT_FALSE(nine.ok());
  EXPECT_EQ(nine.message(), "巻線が多すぎます（1つの巻枠に8巻線まで）。");
}

TEST(WindingStack, RefusalsNameTheWinding) {
  struct Row {
    const char* name;
    FormerShape shape;
    void (*edit)(WindingStack&);
    std::string message;
  };
  const std::string inherited = "（内側の寸法は、下の巻線と層間絶縁の外側として求めたものです）";
  const std::vector<Row> rows = {
      {"fan whose own outline cannot close", FormerShape::Fan,
       [](WindingStack& s) { s.former.sideB = 0.3; },
       "巻線1「一次」: " + std::string(kOpenFanOutlineMessage)},
      {"fan grown beyond the sizes a former may have", FormerShape::Fan,
       [](WindingStack& s) {
         s.windings[1].under = {600, 1000};
       },
       "巻線2「二次」: Aは-1,000,000～1,000,000 mmの範囲で入力してください" + inherited},
      {"round former grown beyond the sizes", FormerShape::Round,
       [](WindingStack& s) {
         s.windings[1].under = {600, 1000};
       },
       "巻線2「二次」: 内径(D)は-1,000,000～1,000,000 mmの範囲で入力してください" + inherited},
      {"a layer narrower than the upper wire", FormerShape::Rectangular,
       [](WindingStack& s) { s.windings[1].coil.referenceThickness = 0.6; },
       "巻線2「二次」: " + std::string(kThicknessTooSmallMessage)},
      {"unnamed winding", FormerShape::Rectangular,
       [](WindingStack& s) {
         s.windings[1].name.clear();
         s.windings[1].coil.bareDiameter = 0;
       },
       "巻線2: " + std::string(kNoBareDiameterMessage)},
      {"tape thinner than nothing", FormerShape::Round,
       [](WindingStack& s) {
         s.windings[1].under = {-0.05, 2};
       },
       "巻線2「二次」: 層間絶縁の厚みは0～1,000,000 mmの範囲で入力してください"},
      {"no winding", FormerShape::Round, [](WindingStack& s) { s.windings.clear(); },
       "巻線がありません。巻線を1つ以上入れてください。"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    WindingStack stack = transformer(row.shape, {0.05, 2});
    row.edit(stack);
    const Expected<StackResult> result = computeStack(stack);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.message(), row.message);
  }
}

TEST(WindingStack, CalledOffStackIsCancelled) {
  PressProgress progress;
  progress.cancel();
  const Expected<StackResult> result =
      computeStack(transformer(FormerShape::Round, {0.05, 2}), &progress);
  ASSERT_FALSE(result.ok());
  EXPECT_TRUE(result.cancelled());
}

// A target in the lower winding changes its turns alone; the winding above
// keeps its own and sits on the new outside.
TEST(WindingStack, TargetInLowerWindingMovesTheUpperOne) {
  struct Row {
    const char* name;
    FormerShape shape;
    TargetKind kind;
    double typed;
  };
  const std::vector<Row> rows = {
      {"round, weight", FormerShape::Round, TargetKind::Weight, 2.5},
      {"rectangular, resistance", FormerShape::Rectangular, TargetKind::Resistance, 40},
      {"fan, weight", FormerShape::Fan, TargetKind::Weight, 30},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const WindingStack stack = transformer(row.shape, {0.05, 3});
    const Expected<StackResult> before = computeStack(stack);
    ASSERT_TRUE(before.ok()) << before.message();
    const ShownUnits units = before->windings[0].calculation.units();
    const ShownTarget target{row.kind, row.typed, units.mass, units.resistance};

    const Expected<SolvedStack> solved = solveStackTarget(stack, 0, target);
    ASSERT_TRUE(solved.ok()) << solved.message();
    // The count a single press of the first winding finds.
    const CoilCalculation alone = calculate(onFormer(stack.windings[0].coil, stack.former));
    const TurnsFound single = turnsForTarget(alone.press.state, target, 2'000'000'000);
    ASSERT_TRUE(single.ok() && single->has_value());
    EXPECT_EQ(solved->turns, **single);
    EXPECT_NE(solved->turns, stack.windings[0].coil.turns);
    EXPECT_EQ(solved->stack.windings[0].coil.turns, solved->turns);
    EXPECT_EQ(solved->stack.windings[1], stack.windings[1]);

    const WindingResult& lower = solved->result.windings[0];
    const WindingResult& upper = solved->result.windings[1];
    EXPECT_EQ(upper.former, grownBy(lower.outside, 0.15));
    EXPECT_NE(upper.former, before->windings[1].former);
    EXPECT_EQ(solved->result.windings.size(), 2u);
  }
}

TEST(WindingStack, TargetNoTurnsReachIsRefused) {
  const WindingStack stack = transformer(FormerShape::Round, {0.05, 3});
  const Expected<SolvedStack> solved =
      solveStackTarget(stack, 1, {TargetKind::Weight, 1e12, MassUnit::Kilogram});
  ASSERT_FALSE(solved.ok());
  EXPECT_EQ(solved.message(), "巻線2「二次」: " + std::string(kTargetUnreachableMessage));
}

}  // namespace
}  // namespace kelvane
