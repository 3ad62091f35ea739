#include "core/inverse_solvers.h"

#include <gtest/gtest.h>

#include <random>

#include "coil_fixtures.h"
#include "core/calculate_coil.h"
#include "core/coil.h"
#include "core/materials.h"
#include "core/number_text.h"
#include "core/turn_length.h"
#include "core/typed_number.h"
#include "core/weight_resistance.h"
#include "core/wire_length.h"

namespace kelvane {
namespace {

using test::designInputs;

TurnsFound solve(const CalculationState& s, const TurnsTarget& t, std::int32_t limit,
                 PressProgress* progress = nullptr, SumsNearAnswer* near = nullptr) {
  switch (*s.inputs.shape) {
    case FormerShape::Round:
      return roundTurnsForTarget(s, t, limit, progress, near);
    case FormerShape::Rectangular:
      return rectangularTurnsForTarget(s, t, limit, progress, near);
    case FormerShape::Fan:
      return fanTurnsForTarget(s, t, limit, progress, near);
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
  return (t.kind == TargetKind::Weight ? w.alignedWeight : w.predictedDcr) * t.shownFactor;
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

// The count a walk turn after turn finds, the plainest way: each turn's
// length from the layer it lies in, the box value after every turn.
template <typename Turn>
TurnsFound walkEveryTurn(Turn turn, const CalculationState& s, const TurnsTarget& t,
                         std::int32_t limit) {
  auto walk = LayerWalk::start(s.turnsOddLayer, s.turnsEvenLayer, s.crossAllowance);
  const CoilInputs& in = s.inputs;
  auto shown = [&](double maxLength, double midLength) {
    const double leads = 2 * in.leadLength;
    const WeightResistance w =
        ComputeWeightResistance(in.bareDiameter, in.finishedDiameter, leads + maxLength,
                                leads + midLength, in.resistivity, in.density);
    return (t.kind == TargetKind::Weight ? w.alignedWeight : w.predictedDcr) * t.shownFactor;
  };
  if (shown(0, 0) >= t.threshold) return std::optional<std::int32_t>{0};
  double maxLength = 0, midLength = 0;
  for (std::int32_t j = 1; j <= limit; ++j) {
    if (*walk->advance(j)) turn.nextLayer();
    maxLength = maxLength + turn.maxTerm();
    midLength = midLength + turn.midTerm(walk->allowance());
    if (shown(maxLength, midLength) >= t.threshold) return std::optional<std::int32_t>{j - 1};
  }
  return std::optional<std::int32_t>{};
}

TurnsFound walkEveryTurn(const CalculationState& s, const TurnsTarget& t, std::int32_t limit) {
  switch (*s.inputs.shape) {
    case FormerShape::Round:
      return walkEveryTurn(RoundTurn::firstLayer(s), s, t, limit);
    case FormerShape::Rectangular:
      return walkEveryTurn(RectangularTurn::firstLayer(s), s, t, limit);
    case FormerShape::Fan:
      return walkEveryTurn(FanTurn::firstLayer(s, s.fanContour), s, t, limit);
  }
  return Failure{};
}

// The search against the walk above on coils of every former: targets met at
// small and large counts, at the end of a layer and just after it, by the
// leads alone, at the turn limit and beyond it. The targets are the box values
// of presses, so that the count found lies on the very turn where the box
// reaches them.
TEST(InverseSolvers, TheSearchFindsTheCountOfAWalkTurnAfterTurn) {
  struct Coil {
    const char* name;
    FormerShape shape;
    double thickness;  // T: turns per layer
    double sideA = 2, sideB = 2, corner = 0.3;
  };
  const std::vector<Coil> coils = {
      {"round, layers of 3", FormerShape::Round, 0.8},
      {"rectangular, layers of 3", FormerShape::Rectangular, 0.8},
      {"fan, layers of 3", FormerShape::Fan, 0.8},
      {"rectangular, layers of 100 and 99", FormerShape::Rectangular, 21.1},
      {"round, layers of 1", FormerShape::Round, 0.32},
      {"fan, layers of 2 and 1", FormerShape::Fan, 0.43},
      // Corners larger than the sides: the first turns have negative lengths,
      // so the totals fall before they rise.
      {"rectangular, turns of negative length", FormerShape::Rectangular, 0.8, 0.1, 0.1, 2},
  };
  struct Target {
    const char* name;
    std::int32_t count;  // the press whose box value is the threshold
    double offset;       // added to that value
    std::int32_t limit = 100'000;
  };
  const std::vector<Target> targets = {
      {"one turn", 1, 0},
      {"just above a press", 7, 1e-9},
      {"just below a press", 7, -1e-9},
      {"a few thousand turns", 4321, 0},
      {"end of the 40th layer", -40, 0},
      {"first turn of the 41st layer", -40, 1e-9},
      {"leads alone", 0, -1e-9},
      {"met at the limit", 100'000, 0},
      {"just beyond the limit", 100'000, 1e-6},
      {"a million turns", 1'000'000, 0, 2'000'000},
      {"far beyond the limit", 0, 1e300},
  };
  for (const Coil& coil : coils) {
    CoilInputs in = designInputs(coil.shape);
    in.referenceThickness = coil.thickness;
    in.sideA = coil.sideA;
    in.sideB = coil.sideB;
    in.cornerR1 = coil.corner;
    in.cornerR2 = coil.corner;
    const CoilPress press = CalculateCoil(in, {});
    ASSERT_EQ(press.outcome, PressOutcome::Complete) << coil.name;
    const CalculationState& s = press.state;
    for (const TargetKind kind : {TargetKind::Weight, TargetKind::Resistance}) {
      for (const Target& target : targets) {
        SCOPED_TRACE(testing::Message() << coil.name << ", " << target.name << ", "
                                        << (kind == TargetKind::Weight ? "weight" : "resistance"));
        TurnsTarget t{kind, 0, kind == TargetKind::Weight ? 1000.0 : 1.02};
        // A negative count: the last turn of that layer (an even one: layers
        // come in pairs of an odd and an even count).
        const std::int32_t layerPairs = -target.count / 2;
        const double count =
            target.count >= 0 ? target.count : layerPairs * (s.turnsOddLayer + s.turnsEvenLayer);
        t.threshold = pressed(s, t, count) + target.offset;
        const TurnsFound expected = walkEveryTurn(s, t, target.limit);
        const TurnsFound found = solve(s, t, target.limit);
        ASSERT_TRUE(expected && found);
        EXPECT_EQ(*found, *expected);
      }
    }
  }
}

// The totals the search keeps for the counts around its answer are those a
// press of each count sums, and turnsForTarget settles on the count that
// presses of its neighbours give.
TEST(InverseSolvers, TheTotalsKeptNearTheAnswerAreThoseOfAPress) {
  for (const FormerShape shape : {FormerShape::Round, FormerShape::Rectangular, FormerShape::Fan}) {
    const CoilPress press = CalculateCoil(designInputs(shape), {});
    const CalculationState& s = press.state;
    for (const double count : {5.0, 3000.0, 123456.0}) {
      SCOPED_TRACE(testing::Message() << "shape " << static_cast<int>(shape) << " count " << count);
      const TurnsTarget t{TargetKind::Resistance, 0, 1.02};
      TurnsTarget at = t;
      at.threshold = pressed(s, t, count);
      SumsNearAnswer near;
      const TurnsFound found = solve(s, at, 1'000'000, nullptr, &near);
      ASSERT_TRUE(found && found->has_value());
      ASSERT_GE(near.sums.size(), 5U);
      for (std::size_t i = 0; i < near.sums.size(); ++i) {
        CoilInputs in = s.inputs;
        in.turns = near.first + static_cast<double>(i);
        const CoilPress p = CalculateCoil(in, s);
        const double leads = 2 * in.leadLength;
        EXPECT_EQ(leads + near.sums[i].maxLength, p.results.alignedLength) << in.turns;
        EXPECT_EQ(leads + near.sums[i].midLength, p.results.predictedLength) << in.turns;
      }
    }
  }
}

// turnsForTarget settles the search's answer on the box's rounding: the same
// count as when every count around it is pressed in full, for targets typed
// as the box shows presses of small and large counts.
TEST(InverseSolvers, TheAnswerSettlesAsPressesOfItsNeighboursDo) {
  for (const FormerShape shape : {FormerShape::Round, FormerShape::Rectangular, FormerShape::Fan}) {
    const CalculationState s = CalculateCoil(designInputs(shape), {}).state;
    for (const TargetKind kind : {TargetKind::Weight, TargetKind::Resistance}) {
      for (const double count : {2.0, 37.0, 4000.0, 250'000.0}) {
        SCOPED_TRACE(testing::Message() << "shape " << static_cast<int>(shape) << " count " << count
                                        << " kind " << static_cast<int>(kind));
        const ShownTarget box{kind, 0, MassUnit::Gram, ResistanceUnit::Ohm};
        const double factor =
            kind == TargetKind::Weight
                ? 1
                : shownResistanceFactor(ResistanceUnit::Ohm, ThinWireFactor(s.inputs.bareDiameter));
        auto pressedBox = [&](double n) {
          CoilInputs in = s.inputs;
          in.turns = n;
          const CoilPress p = CalculateCoil(in, s);
          if (p.outcome != PressOutcome::Complete) return std::optional<double>{};
          const WeightResistance& w = p.results.weights;
          return std::optional<double>{
              readTypedNumber(
                  formatFixed3((kind == TargetKind::Weight ? w.alignedWeight : w.predictedDcr) *
                               factor))
                  .value};
        };
        ShownTarget target = box;
        target.typed = *pressedBox(count);
        const TurnsFound walked =
            solve(s, TurnsTarget{kind, shownThreshold(target.typed), factor}, 1'000'000);
        ASSERT_TRUE(walked && walked->has_value());
        auto below = [&](std::int32_t n) { return pressedBox(n).value_or(1e308) < target.typed; };
        std::int32_t n = **walked;
        for (int step = 0; step < 3 && n > 0 && !below(n); ++step) --n;
        for (int step = 0; step < 3 && n < 1'000'000 && below(n + 1); ++step) ++n;
        const TurnsFound settled = turnsForTarget(s, target, 1'000'000);
        ASSERT_TRUE(settled && settled->has_value());
        EXPECT_EQ(**settled, n);
      }
    }
  }
}

// A target no count up to the limit reaches is told without summing two
// billion turns, and a long search can still be called off.
TEST(InverseSolvers, AFarTargetIsToldAtOnce) {
  for (const FormerShape shape : {FormerShape::Round, FormerShape::Rectangular, FormerShape::Fan}) {
    const CoilPress press = CalculateCoil(designInputs(shape), {});
    for (const TargetKind kind : {TargetKind::Weight, TargetKind::Resistance}) {
      const TurnsTarget t{kind, 1e308, 1000};
      const TurnsFound far = solve(press.state, t, 2'000'000'000);
      ASSERT_TRUE(far);
      EXPECT_FALSE(far->has_value());
    }
    // The turns grow longer layer by layer: about ten million turns weigh
    // 10^4 times a hundred thousand. The search is under way when it looks
    // whether it has been called off.
    PressProgress progress;
    progress.cancel();
    const TurnsTarget t{TargetKind::Weight, pressed(press.state, {}, 100'000) * 1e4, 1};
    const TurnsFound stopped = solve(press.state, t, 2'000'000'000, &progress);
    ASSERT_FALSE(stopped);
    EXPECT_TRUE(stopped.cancelled());
  }
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
  EXPECT_TRUE(stopped.cancelled());
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
