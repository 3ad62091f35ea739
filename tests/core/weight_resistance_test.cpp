#include "core/weight_resistance.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/number_text.h"

namespace kelvane {
namespace {

template <typename Unit>
std::string shown(double value, Unit unit) {
  return formatFixed3(value * factorOf(unit));
}

TEST(WeightResistance, CopperWorkedExampleBoxByBox) {
  const double k = ThinWireFactor(0.2);
  EXPECT_NEAR(k, 1.0230768, 1e-12);
  const WeightResistance w = ComputeWeightResistance(0.2, 0.21, 600, 610, 17.241, 8.96);
  EXPECT_NEAR(w.conductorArea, 0.0314159, 1e-7);
  EXPECT_NEAR(w.insulationArea, 0.0032201, 1e-7);
  EXPECT_NEAR(w.alignedDcr, 0.32928, 1e-5);
  EXPECT_EQ(w.massUnit, MassUnit::Milligram);
  EXPECT_EQ(w.lengthUnit, LengthUnit::Millimetre);
  EXPECT_EQ(w.resistanceUnit, ResistanceUnit::Ohm);
  EXPECT_EQ(shown(w.predictedConductorWeight, w.massUnit), "171.707");
  EXPECT_EQ(shown(w.alignedConductorWeight, w.massUnit), "168.892");
  EXPECT_EQ(shown(w.predictedInsulationWeight, w.massUnit), "2.357");
  EXPECT_EQ(shown(w.alignedInsulationWeight, w.massUnit), "2.318");
  EXPECT_EQ(shown(w.predictedWeight, w.massUnit), "174.064");
  EXPECT_EQ(shown(w.alignedWeight, w.massUnit), "171.211");
  EXPECT_EQ(shown(600, w.lengthUnit), "600.000");
  EXPECT_EQ(shown(610, w.lengthUnit), "610.000");
  const double ohms = shownResistanceFactor(w.resistanceUnit, k);
  EXPECT_EQ(formatFixed3(w.alignedDcr * ohms), "0.337");
  EXPECT_EQ(formatFixed3(w.predictedDcr * ohms), "0.342");
}

TEST(WeightResistance, UnitsChangeJustAboveEachThreshold) {
  EXPECT_EQ(LengthUnitFor(1000), LengthUnit::Millimetre);
  EXPECT_EQ(LengthUnitFor(1000.0001), LengthUnit::Metre);
  EXPECT_EQ(LengthUnitFor(1000000), LengthUnit::Metre);
  EXPECT_EQ(LengthUnitFor(1000000.001), LengthUnit::Kilometre);
  for (const double grams : {-5.0, 0.0, 1.0}) EXPECT_EQ(MassUnitFor(grams), MassUnit::Milligram);
  EXPECT_EQ(MassUnitFor(1.000001), MassUnit::Gram);
  EXPECT_EQ(MassUnitFor(1000), MassUnit::Gram);
  EXPECT_EQ(MassUnitFor(1000.001), MassUnit::Kilogram);
  EXPECT_EQ(ResistanceUnitFor(1000), ResistanceUnit::Ohm);
  EXPECT_EQ(ResistanceUnitFor(1000.001), ResistanceUnit::Kiloohm);
  EXPECT_EQ(shownResistanceFactor(ResistanceUnit::Ohm, 1.5), 1.5);
  EXPECT_EQ(shownResistanceFactor(ResistanceUnit::Kiloohm, 1.5), 1.5 * 0.001);
  EXPECT_EQ(shown(1000000, LengthUnitFor(1000000)), "1,000.000");
  EXPECT_EQ(shown(1, MassUnitFor(1)), "1,000.000");
  EXPECT_EQ(shown(1500, MassUnitFor(1500)), "1.500");
}

TEST(WeightResistance, ZeroLengthsGiveZeroBoxesInTheSmallestUnits) {
  const WeightResistance w = ComputeWeightResistance(0.2, 0.21, 0, 0, 17.241, 8.96);
  EXPECT_EQ(w.massUnit, MassUnit::Milligram);
  EXPECT_EQ(w.lengthUnit, LengthUnit::Millimetre);
  EXPECT_EQ(w.resistanceUnit, ResistanceUnit::Ohm);
  for (const double v : {w.alignedDcr, w.predictedDcr, w.alignedWeight, w.predictedWeight}) {
    EXPECT_EQ(shown(v, w.massUnit), "0.000");
  }
}

TEST(WeightResistance, UnitsFollowTheirOwnValueAndThinnerInsulationCanGoNegative) {
  // The weight unit follows predictedWeight although alignedWeight is below 1 g;
  // the length unit follows len0 although len1 is above 1000 mm.
  const WeightResistance w = ComputeWeightResistance(0.2, 0.21, 3400, 3600, 17.241, 8.96);
  EXPECT_LT(w.alignedWeight, 1);
  EXPECT_EQ(w.massUnit, MassUnit::Gram);
  const WeightResistance v = ComputeWeightResistance(0.2, 0.21, 900, 1100, 17.241, 8.96);
  EXPECT_EQ(v.lengthUnit, LengthUnit::Millimetre);
  const WeightResistance negative = ComputeWeightResistance(0.2, 0.1, 600, 610, 17.241, 8.96);
  EXPECT_LT(negative.alignedInsulationWeight, 0);
  EXPECT_LT(negative.alignedWeight, negative.alignedConductorWeight);
  // No conductor: no resistance rather than a division by zero.
  const WeightResistance none = ComputeWeightResistance(0, 0.21, 600, 610, 17.241, 8.96);
  EXPECT_EQ(none.alignedDcr, 0);
  EXPECT_EQ(none.predictedDcr, 0);
}

}  // namespace
}  // namespace kelvane
