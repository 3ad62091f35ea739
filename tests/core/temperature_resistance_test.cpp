#include "core/temperature_resistance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kelvane {
namespace {

struct WorkingTemperatureCase {
  ConductorMaterial material;
  double alpha;
  double celsius;
  double r20;
  double expected;
};

TEST(TemperatureResistance, StraightLineFromTwentyDegreesPerMaterial) {
  const WorkingTemperatureCase cases[] = {
      {ConductorMaterial::Copper, 0.00393, 20, 12.5, 12.5},
      {ConductorMaterial::Copper, 0.00393, 120, 10, 13.93},
      {ConductorMaterial::Copper, 0.00393, -30, 10, 8.035},
      {ConductorMaterial::Aluminium, 0.00403, 70, 2, 2.403},
      {ConductorMaterial::Aluminium, 0.00403, 20, 0, 0},
      // Copper-clad aluminium: 15 % copper and 85 % aluminium side by side.
      {ConductorMaterial::CopperCladAluminium85, 0.0040078, 155, 100, 154.1059},
  };
  for (const WorkingTemperatureCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.material));
    EXPECT_NEAR(TemperatureCoefficient(c.material), c.alpha, 5e-8);
    const Expected<double> r = ResistanceAtTemperature(c.r20, c.celsius, c.material);
    ASSERT_TRUE(r.ok()) << r.message();
    EXPECT_NEAR(*r, c.expected, 1e-3);
  }
  EXPECT_EQ(*ResistanceAtTemperature(3.7, 20, ConductorMaterial::CopperCladAluminium85), 3.7);
}

// The clad wire's coefficient must describe the two metals it is made of:
// the same wire worked out as a copper skin and an aluminium core in
// parallel, each with its own coefficient, gives the same resistance over
// the working range (to the slight curvature the straight line leaves out: 2e-5 at 180 °C, where
// weighting by volume instead of conductance would be 1e-3 off).
TEST(TemperatureResistance, CladWireBehavesAsItsTwoMetalsInParallel) {
  const MaterialValues clad = MaterialConstants(ConductorMaterial::CopperCladAluminium85);
  const MaterialValues copper = MaterialConstants(ConductorMaterial::Copper);
  const MaterialValues aluminium = MaterialConstants(ConductorMaterial::Aluminium);
  // Its resistivity at 20 °C already is that of the pair (to its five figures).
  EXPECT_NEAR(1 / (0.15 / copper.resistivity + 0.85 / aluminium.resistivity), clad.resistivity,
              0.005);
  for (const double celsius : {-40.0, 0.0, 60.0, 105.0, 180.0}) {
    const double dt = celsius - 20;
    const double skin = copper.resistivity / 0.15 * (1 + 0.00393 * dt);
    const double core = aluminium.resistivity / 0.85 * (1 + 0.00403 * dt);
    const double parallel = skin * core / (skin + core);
    const double r20 = 1 / (0.15 / copper.resistivity + 0.85 / aluminium.resistivity);
    const Expected<double> r =
        ResistanceAtTemperature(r20, celsius, ConductorMaterial::CopperCladAluminium85);
    ASSERT_TRUE(r.ok());
    EXPECT_NEAR(*r / parallel, 1, 5e-5) << celsius << " °C";
  }
  const double alpha = TemperatureCoefficient(ConductorMaterial::CopperCladAluminium85);
  EXPECT_GT(alpha, TemperatureCoefficient(ConductorMaterial::Copper));
  EXPECT_LT(alpha, TemperatureCoefficient(ConductorMaterial::Aluminium));
}

TEST(TemperatureResistance, RefusesTemperaturesWithoutAResistance) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double huge = std::numeric_limits<double>::max();
  for (const ConductorMaterial m : {ConductorMaterial::Copper, ConductorMaterial::Aluminium,
                                    ConductorMaterial::CopperCladAluminium85}) {
    SCOPED_TRACE(static_cast<int>(m));
    EXPECT_FALSE(ResistanceAtTemperature(1, -273.15, m).ok());
    EXPECT_FALSE(ResistanceAtTemperature(1, -300, m).ok());
    EXPECT_FALSE(ResistanceAtTemperature(1, nan, m).ok());
    // Where the straight line reaches zero, about -230 °C.
    EXPECT_FALSE(ResistanceAtTemperature(1, 20 - 1.0001 / TemperatureCoefficient(m), m).ok());
    EXPECT_TRUE(ResistanceAtTemperature(1, -200, m).ok());
    EXPECT_FALSE(ResistanceAtTemperature(huge, 1e6, m).ok());
  }
}

}  // namespace
}  // namespace kelvane
