#include "core/inverse_solvers.h"

#include <gtest/gtest.h>

#include <random>

#include "coil_fixtures.h"
#include "core/calculate_coil.h"
#include "core/materials.h"

namespace kelvane {
namespace {

using test::designInputs;

TurnsFound solve(const CalculationState& s, const TurnsTarget& t, std::int32_t limit,
                 PressProgress* progress = nullptr) {
  switch (*s.inputs.shape) {
    case FormerShape::Round:
      return roundTurnsForTarget(s, t, limit, progress);
    case FormerShape::Rectangular:
      return rectangularTurnsForTarget(s, t, limit, progress);
    case FormerShape::Fan:
      return fanTurnsForTarget(s, t, limit, progress);
  }
  return Failure{};
}

// The box value of a press of n turns with the inputs of the state.
double pressed(const CalculationState& s, const TurnsTarget& t, double n) {
  CoilInputs in = s.inputs;
  in.turns = n;
  const CoilPress p = CalculateCoil(in, s);
  EXPECT_EQ(p.outcome, PressOutcome::Complete);
  const WeightResistance& w = p.results.weights;
  return (t.kind == TargetKind::Weight ? w.totalWeightMax : w.dcrMid) * t.shownFactor;
}

// Coils of every former and material with wires, layers and formers drawn at
// random: the count found is the last whose press stays below the target.
TEST(InverseSolvers, TheCountFoundIsTheLastPressBelowTheTarget) {
  std::mt19937 random(20261208);
  auto between = [&](double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(random);
  };
  int checked = 0;
  for (const FormerShape shape : {FormerShape::Round, FormerShape::Rectangular, FormerShape::Fan}) {
    for (const ConductorMaterial material :
         {ConductorMaterial::Copper, ConductorMaterial::Aluminium,
          ConductorMaterial::CopperCladAluminium85}) {
      for (int i = 0; i < 12; ++i) {
        CoilInputs in = designInputs(shape, std::floor(between(1, 400)));
        in.bareDiameter = between(0.02, 1.5);
        in.finishedDiameter = in.bareDiameter * between(1.02, 1.2);
        in.referenceThickness = in.finishedDiameter * between(1.6, 30);
        in.leadLength = between(0, 100);
        in.innerDiameter = between(1, 40);
        in.sideA = between(2, 30);
        in.sideB = between(2, 30);
        in.cornerR1 = between(0.2, 1);
        in.cornerR2 = between(0.2, 1);
        in.fanRadius = between(40, 80);
        const MaterialValues m = MaterialConstants(material);
        in.resistivity = m.resistivity;
        in.density = m.density;
        const CoilPress press = CalculateCoil(in, {});
        if (press.outcome != PressOutcome::Complete) continue;
        for (const TargetKind kind : {TargetKind::Weight, TargetKind::Resistance}) {
          TurnsTarget t{kind, 0, kind == TargetKind::Weight ? 1000.0 : 1.02};
          t.threshold = pressed(press.state, t, 0) + between(0, 3) * pressed(press.state, t, 50);
          SCOPED_TRACE(testing::Message() << "shape " << static_cast<int>(shape) << " material "
                                          << static_cast<int>(material) << " coil " << i);
          const TurnsFound n = solve(press.state, t, 100000);
          ASSERT_TRUE(n && n->has_value());
          if (**n > 0) {
            EXPECT_LT(pressed(press.state, t, **n), t.threshold);
          }
          EXPECT_GE(pressed(press.state, t, **n + 1), t.threshold);
          ++checked;
        }
      }
    }
  }
  EXPECT_GT(checked, 150);
}

TEST(InverseSolvers, EndsOfTheSearch) {
  const CoilPress press = CalculateCoil(designInputs(FormerShape::Rectangular), {});
  TurnsTarget t{TargetKind::Weight, 0, 1000};
  // The two leads of 10 mm alone weigh about 5.7 mg: no turn stays below.
  for (const double threshold : {-4.0, 0.0, 5.0}) {
    t.threshold = threshold;
    EXPECT_EQ(**rectangularTurnsForTarget(press.state, t, 1000), 0) << threshold;
  }
  // A target beyond the limit is not reached, rather than met at the limit.
  t.threshold = 1e12;
  const TurnsFound far = rectangularTurnsForTarget(press.state, t, 1000);
  ASSERT_TRUE(far);
  EXPECT_FALSE(far->has_value());
  // A walk called off stops with no message.
  PressProgress progress;
  progress.cancel();
  const TurnsFound stopped = rectangularTurnsForTarget(press.state, t, 10'000'000, &progress);
  ASSERT_FALSE(stopped);
  EXPECT_EQ(stopped.message(), "");
}

TEST(InverseSolvers, AbsurdStatesFail) {
  CalculationState s = CalculateCoil(designInputs(FormerShape::Rectangular), {}).state;
  const TurnsTarget t{TargetKind::Weight, 1e300, 1000};
  s.turnsOddLayer = 3e9;
  EXPECT_EQ(rectangularTurnsForTarget(s, t, 1000).message(), kOverflowMessage);
  s = CalculateCoil(designInputs(FormerShape::Rectangular), {}).state;
  s.inputs.cornerR1 = 1e308;
  s.inputs.cornerR2 = 1e308;
  EXPECT_EQ(rectangularTurnsForTarget(s, t, 1000).message(), kOverflowMessage);
}

TEST(InverseSolvers, ThresholdOfAShownValue) {
  // The box shows three decimals rounded half away from zero.
  EXPECT_DOUBLE_EQ(shownThreshold(10), 9.9995);
  EXPECT_DOUBLE_EQ(shownThreshold(10.0004), 10.0005);
  EXPECT_DOUBLE_EQ(shownThreshold(0.5), 0.4995);
}

}  // namespace
}  // namespace kelvane
