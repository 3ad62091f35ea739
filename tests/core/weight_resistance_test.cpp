#include "core/weight_resistance.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/number_text.h"

namespace kelvane {
namespace {

std::string shown(double value, const DisplayUnit& unit) {
  return formatFixed3(value * unit.factor);
}

TEST(WeightResistance, CopperWorkedExampleBoxByBox) {
  const double k = ThinWireFactor(0.2);
  EXPECT_NEAR(k, 1.0230768, 1e-12);
  const WeightResistance w = ComputeWeightResistance(0.2, 0.21, 600, 610, 17.241, 8.96, k);
  EXPECT_NEAR(w.conductorArea, 0.0314159, 1e-7);
  EXPECT_NEAR(w.insulationArea, 0.0032201, 1e-7);
  EXPECT_NEAR(w.dcr0, 0.32928, 1e-5);
  EXPECT_EQ(w.massUnit.caption, "重量 mg");
  EXPECT_EQ(w.lengthUnit.caption, "全長 mm");
  EXPECT_EQ(w.dcrUnit.caption, "DCR Ω");
  EXPECT_EQ(shown(w.conductorWeight1, w.massUnit), "171.707");
  EXPECT_EQ(shown(w.conductorWeight0, w.massUnit), "168.892");
  EXPECT_EQ(shown(w.insulationWeight1, w.massUnit), "2.357");
  EXPECT_EQ(shown(w.insulationWeight0, w.massUnit), "2.318");
  EXPECT_EQ(shown(w.totalWeight1, w.massUnit), "174.064");
  EXPECT_EQ(shown(w.totalWeight0, w.massUnit), "171.211");
  EXPECT_EQ(shown(600, w.lengthUnit), "600.000");
  EXPECT_EQ(shown(610, w.lengthUnit), "610.000");
  EXPECT_EQ(shown(w.dcr0, w.dcrUnit), "0.337");
  EXPECT_EQ(shown(w.dcr1, w.dcrUnit), "0.342");
}

TEST(WeightResistance, UnitsChangeJustAboveEachThreshold) {
  struct Row {
    DisplayUnit unit;
    std::string caption;
    double factor;
  };
  const std::vector<Row> rows = {
      {LengthUnit(1000), "全長 mm", 1},
      {LengthUnit(1000.0001), "全長 m", 0.001},
      {LengthUnit(1000000), "全長 m", 0.001},
      {LengthUnit(1000000.001), "全長 Km", 0.000001},
      {MassUnit(-5), "重量 mg", 1000},
      {MassUnit(0), "重量 mg", 1000},
      {MassUnit(1), "重量 mg", 1000},
      {MassUnit(1.000001), "重量 g", 1},
      {MassUnit(1000), "重量 g", 1},
      {MassUnit(1000.001), "重量 Kg", 0.001},
      {DcrUnit(1000, 1.5), "DCR Ω", 1.5},
      {DcrUnit(1000.001, 1.5), "DCR KΩ", 1.5 * 0.001},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.unit.caption, row.caption);
    EXPECT_EQ(row.unit.factor, row.factor) << row.caption;
  }
  EXPECT_EQ(shown(1000000, LengthUnit(1000000)), "1,000.000");
  EXPECT_EQ(shown(1, MassUnit(1)), "1,000.000");
}

TEST(WeightResistance, ZeroLengthsGiveZeroBoxesInTheSmallestUnits) {
  const WeightResistance w = ComputeWeightResistance(0.2, 0.21, 0, 0, 17.241, 8.96, 1);
  EXPECT_EQ(w.massUnit.caption, "重量 mg");
  EXPECT_EQ(w.lengthUnit.caption, "全長 mm");
  EXPECT_EQ(w.dcrUnit.caption, "DCR Ω");
  for (const double v : {w.dcr0, w.dcr1, w.totalWeight0, w.totalWeight1}) {
    EXPECT_EQ(shown(v, w.massUnit), "0.000");
  }
}

TEST(WeightResistance, UnitsFollowTheirOwnValueAndThinnerInsulationCanGoNegative) {
  // The weight unit follows totalWeight1 although totalWeight0 is below 1 g;
  // the length unit follows len0 although len1 is above 1000 mm.
  const WeightResistance w = ComputeWeightResistance(0.2, 0.21, 3400, 3600, 17.241, 8.96, 1);
  EXPECT_LT(w.totalWeight0, 1);
  EXPECT_EQ(w.massUnit.caption, "重量 g");
  const WeightResistance v = ComputeWeightResistance(0.2, 0.21, 900, 1100, 17.241, 8.96, 1);
  EXPECT_EQ(v.lengthUnit.caption, "全長 mm");
  const WeightResistance negative = ComputeWeightResistance(0.2, 0.1, 600, 610, 17.241, 8.96, 1);
  EXPECT_LT(negative.insulationWeight0, 0);
  EXPECT_LT(negative.totalWeight0, negative.conductorWeight0);
  // No conductor: no resistance rather than a division by zero.
  const WeightResistance none = ComputeWeightResistance(0, 0.21, 600, 610, 17.241, 8.96, 1);
  EXPECT_EQ(none.dcr0, 0);
  EXPECT_EQ(none.dcr1, 0);
}

}  // namespace
}  // namespace kelvane
