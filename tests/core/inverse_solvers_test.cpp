#include "core/inverse_solvers.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "core/wire_length.h"
#include "coil_fixtures.h"

namespace kelvane {
namespace {

using test::exampleState;

const MaterialValues kCopper{17.241, 8.96};

using Solver = std::function<Expected<std::int32_t>(const CalculationState&, double,
                                                    TargetKind, double, MaterialValues)>;
using Forward = std::function<Expected<WindingLengths>(const CalculationState&)>;

struct Former {
  const char* name;
  Solver solve;
  Forward forward;
};

// The example state with the outline of its fan stored, as a fan press does.
CalculationState stateWithOutline() {
  CalculationState s = exampleState();
  s.mFanContour = *OogiL(s, 60).contour;
  return s;
}

std::vector<Former> formers() {
  return {{"rectangular", GetL2, [](const CalculationState& s) { return GetL(s); }},
          {"round", EnL2, [](const CalculationState& s) { return EnL(s); }},
          {"fan", OogiL2, [](const CalculationState& s) { return OogiL(s, 60).lengths; }}};
}

TEST(InverseSolvers, RectangularWorkedExample) {
  const CalculationState s = exampleState();
  EXPECT_EQ(*GetL2(s, 20, TargetKind::Weight, 10, kCopper), 5);
  EXPECT_EQ(*GetL2(s, 0.05, TargetKind::Resistance, 10, kCopper), 7);
}

TEST(InverseSolvers, TargetsAtTheEndsOfTheSearch) {
  const CalculationState s = stateWithOutline();
  for (const Former& f : formers()) {
    SCOPED_TRACE(f.name);
    for (const TargetKind kind : {TargetKind::Weight, TargetKind::Resistance}) {
      EXPECT_EQ(*f.solve(s, 0, kind, 10, kCopper), 0);
      EXPECT_EQ(*f.solve(s, -4, kind, 10, kCopper), 0);
      EXPECT_EQ(*f.solve(s, 1e12, kind, 10, kCopper), kSolverTurnLimit);
    }
  }
}

// The answer n is the last count of turns whose winding with leads stays
// below the target, measured with the forward routine's max total.
TEST(InverseSolvers, AgreeWithTheForwardRoutines) {
  const CalculationState base = stateWithOutline();
  const double lead = 10;
  auto quantity = [&](const Former& f, TargetKind kind, std::int32_t turns) {
    CalculationState s = base;
    s.inputs.turns = turns;
    const double wire = f.forward(s)->maxLength + 2 * lead;
    return kind == TargetKind::Weight
               ? (wire * s.mConductorArea) * kCopper.density
               : ((kCopper.resistivity / s.mConductorArea) / 1000000) * wire;
  };
  for (const Former& f : formers()) {
    for (const TargetKind kind : {TargetKind::Weight, TargetKind::Resistance}) {
      const double perHundredTurns = quantity(f, kind, 100) - quantity(f, kind, 0);
      for (const double share : {0.013, 0.5, 2.7, 11.0, 64.3}) {
        const double target = quantity(f, kind, 0) + share * perHundredTurns;
        SCOPED_TRACE(testing::Message() << f.name << " target " << target);
        const auto n = f.solve(base, target, kind, lead, kCopper);
        ASSERT_TRUE(n);
        EXPECT_LT(quantity(f, kind, *n), target);
        EXPECT_GE(quantity(f, kind, *n + 1), target);
      }
    }
  }
}

TEST(InverseSolvers, NoConductor) {
  CalculationState s = stateWithOutline();
  s.mConductorArea = 0;
  for (const Former& f : formers()) {
    SCOPED_TRACE(f.name);
    const auto resistance = f.solve(s, 0.05, TargetKind::Resistance, 10, kCopper);
    ASSERT_FALSE(resistance);
    EXPECT_EQ(resistance.message(), kDivisionByZeroMessage);
    EXPECT_EQ(*f.solve(s, 20, TargetKind::Weight, 10, kCopper), kSolverTurnLimit);
    EXPECT_EQ(*f.solve(s, 0, TargetKind::Weight, 10, kCopper), 0);
  }
}

TEST(InverseSolvers, FanBeforeAnyFanPressCountsTheLeadsOnly) {
  const CalculationState s = exampleState();  // no outline stored
  // Leads of 2 × 10 mm weigh about 5.63 mg, and no turn adds to them.
  EXPECT_EQ(*OogiL2(s, 5, TargetKind::Weight, 10, kCopper), 0);
  EXPECT_EQ(*OogiL2(s, 6, TargetKind::Weight, 10, kCopper), kSolverTurnLimit);
}

TEST(InverseSolvers, AbsurdStatesFail) {
  CalculationState s = stateWithOutline();
  s.mTurnsOddLayer = 3e9;
  EXPECT_EQ(GetL2(s, 20, TargetKind::Weight, 10, kCopper).message(), kOverflowMessage);
  s = stateWithOutline();
  s.inputs.cornerR1 = 1e308;
  s.inputs.cornerR2 = 1e308;
  EXPECT_EQ(GetL2(s, 20, TargetKind::Weight, 10, kCopper).message(), kOverflowMessage);
  EXPECT_EQ(OogiL2(s, 20, TargetKind::Resistance, 1e308, kCopper).message(), kOverflowMessage);
}

}  // namespace
}  // namespace kelvane
