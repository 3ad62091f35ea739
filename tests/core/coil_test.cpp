// The coil API: a coil in, its numbers and the window's texts out; the turns
// for a target as the box shows it.
#include "core/coil.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "coil_fixtures.h"
#include "core/number_text.h"
#include "core/typed_number.h"

namespace kelvane {
namespace {

using test::designInputs;

// The window's design values on the round former, as an engineer types them:
// r2 left empty, copper.
Coil designRoundCoil() {
  Coil c;
  c.bareDiameter = 0.2;
  c.finishedDiameter = 0.21;
  c.turns = 10;
  c.leadLength = 10;
  c.referenceThickness = 0.8;
  c.innerDiameter = 10;
  c.sideA = 2;
  c.sideB = 2;
  c.cornerR1 = 0.3;
  c.fanRadius = 50;
  c.fanAngle = 60;
  c.former = FormerShape::Round;
  return c;
}

TEST(CoilApi, TextsOfAPressAreWhatTheWindowShows) {
  const CoilCalculation c = calculate(designRoundCoil());
  ASSERT_EQ(c.press.outcome, PressOutcome::Complete);
  const std::vector<std::pair<std::string, std::string>> rows = {
      {c.text(ResultBox::Arrangement), "同数列巻き--3 X 3"},
      {c.text(ResultBox::LayerCount), "4"},
      {c.text(ResultBox::Thickness), "0.735"},
      {c.text(ResultBox::OuterRorD), "11.596"},
      {c.text(ResultBox::AlignedLength), "355.530"},
      {c.text(ResultBox::PredictedLength), "356.205"},
      {c.text(ResultBox::AlignedWeight), "101.451"},
      {c.text(ResultBox::PredictedWeight), "101.643"},
      {c.text(ResultBox::PredictedDcr), "0.200"},
      {c.text(ResultBox::AlignedInsulationWeight), "1.374"},
      {c.text(ResultBox::PredictedConductorWeight), "100.267"},
  };
  for (const auto& [got, want] : rows) EXPECT_EQ(got, want);
  // The empty r2 is r1, and the material's constants are copper's: the same
  // press as the numbers given directly.
  EXPECT_EQ(c.texts, calculate(designInputs(FormerShape::Round)).texts);
  EXPECT_EQ(inputsOf(designRoundCoil()), designInputs(FormerShape::Round));
}

TEST(CoilApi, TextsFollowTheOutcome) {
  // Each resistance is that of its own length; a wire long enough for km,
  // kg and kΩ is shown in them.
  CoilInputs big = designInputs(FormerShape::Rectangular, 2'000'000);
  big.bareDiameter = 0.02;
  big.finishedDiameter = 0.025;
  big.referenceThickness = 10;
  const CoilCalculation c = calculate(big);
  ASSERT_EQ(c.press.outcome, PressOutcome::Complete);
  const WeightResistance& w = c.press.results.weights;
  const double k = shownResistanceFactor(w.resistanceUnit, c.press.results.thinWireFactor);
  EXPECT_EQ(c.shownPredictedDcr, w.predictedDcr * k);
  EXPECT_EQ(c.text(ResultBox::PredictedDcr), formatFixed3(w.predictedDcr * k));
  EXPECT_EQ(c.text(ResultBox::AlignedDcr), formatFixed3(w.alignedDcr * k));
  EXPECT_EQ(w.lengthUnit, LengthUnit::Kilometre);
  EXPECT_EQ(w.resistanceUnit, ResistanceUnit::Kiloohm);

  // Without a shape only the arrangement is shown; a refused press shows
  // nothing.
  CoilInputs noShape = designInputs(FormerShape::Rectangular);
  noShape.shape.reset();
  const CoilCalculation n = calculate(noShape);
  EXPECT_EQ(n.press.outcome, PressOutcome::NoShape);
  EXPECT_EQ(n.text(ResultBox::Thickness), "0.735");
  EXPECT_EQ(n.text(ResultBox::AlignedLength), "");
  EXPECT_EQ(n.text(ResultBox::AlignedWeight), "");
  CoilInputs noWire = designInputs(FormerShape::Rectangular);
  noWire.bareDiameter = 0;
  EXPECT_EQ(calculate(noWire).texts, ResultTexts{});
}

// The box value a press of n turns shows, read back from its text; none when
// the box shows it in another unit than the target's.
std::optional<double> shownBox(const CalculationState& s, const ShownTarget& t, std::int32_t n) {
  CoilInputs in = s.inputs;
  in.turns = n;
  const CoilCalculation c = calculate(in, s);
  EXPECT_EQ(c.press.outcome, PressOutcome::Complete);
  const WeightResistance& w = c.press.results.weights;
  if (t.kind == TargetKind::Weight ? w.massUnit != t.massUnit
                                   : w.resistanceUnit != t.resistanceUnit)
    return std::nullopt;
  return readTypedNumber(t.kind == TargetKind::Weight ? c.text(ResultBox::AlignedWeight)
                                                      : c.text(ResultBox::PredictedDcr))
      .value;
}

// Targets typed exactly as some press shows them, on coils of every former
// and material drawn at random: such a value lies on the box's rounding edge,
// where the walk's unrounded sums can be a turn off. The count found shows
// the box below the target; one turn more shows the target or more.
TEST(CoilApi, TurnsForATargetSettleOnTheBoxsRounding) {
  std::mt19937 random(8122026);
  auto between = [&](double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(random);
  };
  int checked = 0;
  for (const FormerShape shape : {FormerShape::Round, FormerShape::Rectangular, FormerShape::Fan}) {
    for (const ConductorMaterial material :
         {ConductorMaterial::Copper, ConductorMaterial::Aluminium,
          ConductorMaterial::CopperCladAluminium85}) {
      for (int i = 0; i < 8; ++i) {
        Coil coil = designRoundCoil();
        coil.former = shape;
        coil.material = material;
        coil.bareDiameter = between(0.05, 1.0);
        coil.finishedDiameter = coil.bareDiameter * 1.1;
        coil.referenceThickness = coil.finishedDiameter * 6;
        coil.leadLength = between(0, 60);
        coil.innerDiameter = between(2, 30);
        coil.sideA = between(3, 20);
        coil.sideB = between(3, 20);
        coil.turns = std::floor(between(5, 300));
        const CoilCalculation pressed = calculate(coil);
        if (pressed.press.outcome != PressOutcome::Complete) continue;
        const WeightResistance& w = pressed.press.results.weights;
        for (const TargetKind kind : {TargetKind::Weight, TargetKind::Resistance}) {
          const CalculationState& s = pressed.press.state;
          ShownTarget t{kind, 0, w.massUnit, w.resistanceUnit};
          const auto m = static_cast<std::int32_t>(std::floor(between(2, 400)));
          const std::optional<double> typed = shownBox(s, t, m);
          if (!typed || !(*typed > 0)) continue;
          t.typed = *typed;
          SCOPED_TRACE(testing::Message()
                       << "shape " << static_cast<int>(shape) << " material "
                       << static_cast<int>(material) << " coil " << i << " typed " << t.typed);
          const TurnsFound n = turnsForTarget(s, t, 100000);
          ASSERT_TRUE(n && n->has_value());
          EXPECT_LT(**n, m);
          if (**n > 0) {
            EXPECT_LT(shownBox(s, t, **n).value_or(0), t.typed);
          }
          EXPECT_GE(shownBox(s, t, **n + 1).value_or(0), t.typed);
          ++checked;
        }
      }
    }
  }
  EXPECT_GT(checked, 100);
}

TEST(CoilApi, TurnsForATargetWithoutAWalk) {
  CalculationState s = calculate(designInputs(FormerShape::Rectangular)).press.state;
  // Beyond the limit: nothing found, rather than the limit.
  EXPECT_FALSE(turnsForTarget(s, {TargetKind::Weight, 1e12}, 1000)->has_value());
  // Called off: a cancellation, not a failure to show.
  PressProgress progress;
  progress.cancel();
  const TurnsFound stopped = turnsForTarget(s, {TargetKind::Weight, 1e12}, 10'000'000, &progress);
  ASSERT_FALSE(stopped);
  EXPECT_TRUE(stopped.cancelled());
  // No former to walk round.
  s.inputs.shape.reset();
  EXPECT_EQ(turnsForTarget(s, {TargetKind::Weight, 100}, 1000).message(), kInvalidArgumentMessage);
}

}  // namespace
}  // namespace kelvane
