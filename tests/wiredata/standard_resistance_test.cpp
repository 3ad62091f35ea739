#include "wiredata/standard_resistance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>

namespace kelvane::wiredata {
namespace {

double perMetre(double rho, double d) { return rho / (std::numbers::pi * d * d / 4); }

struct BandCase {
  std::string name;
  ConductorMaterial material;
  double diameter;  // mm
  bool given;
  double nominal = 0;
  std::optional<double> minimum = std::nullopt;
  std::optional<double> maximum = std::nullopt;
  std::string limitsTable = {};
  std::string limitsSource = {};
};

class StandardResistanceBand : public testing::TestWithParam<BandCase> {};

TEST_P(StandardResistanceBand, GivesTheNominalWireAndThePublishedLimits) {
  const BandCase& c = GetParam();
  const auto band = standardResistanceBand(c.material, c.diameter);
  ASSERT_EQ(band.has_value(), c.given);
  if (!band) return;
  EXPECT_NEAR(band->nominal, c.nominal, 1e-12 * c.nominal);
  EXPECT_EQ(band->minimum, c.minimum);
  EXPECT_EQ(band->maximum, c.maximum);
  EXPECT_EQ(band->limitsTable, c.limitsTable);
  EXPECT_EQ(band->limitsSource, c.limitsSource);
  EXPECT_FALSE(resistivitySourceText(band->nominalSource).empty());
  if (band->minimum) {
    EXPECT_LT(*band->minimum, band->nominal);
    EXPECT_GT(*band->maximum, band->nominal);
  }
}

const std::string iec = "enamelled_round_copper_iec60317";
const std::string jis = "enamelled_round_copper_jis_c3202";
constexpr auto Cu = ConductorMaterial::Copper;
constexpr auto Al = ConductorMaterial::Aluminium;

INSTANTIATE_TEST_SUITE_P(
    Sizes, StandardResistanceBand,
    testing::Values(
        // A size the IEC table limits: its limits, before the JIS table's.
        BandCase{"IecLimitsFirst", Cu, 0.1, true, perMetre(0.017241, 0.1), 2.034, 2.333, iec,
                 "sh-wire"},
        BandCase{"IecThinnest", Cu, 0.030, true, perMetre(0.017241, 0.03), 21.76, 26.6, iec,
                 "sh-wire"},
        // Typed a hair off, the listed size is still found.
        BandCase{"TypedAHairOff", Cu, 0.1004, true, perMetre(0.017241, 0.1004), 2.034, 2.333, iec,
                 "sh-wire"},
        // Sizes only the JIS table limits.
        BandCase{"JisOnly", Cu, 0.2, true, perMetre(0.017241, 0.2), 0.5289, 0.5599, jis,
                 "huaye-jis"},
        BandCase{"JisThickest", Cu, 0.7, true, perMetre(0.017241, 0.7), 0.04329, 0.04558, jis,
                 "huaye-jis"},
        // A size of the IEC table without limits, and a size no table lists:
        // the nominal wire alone.
        BandCase{"ListedWithoutLimits", Cu, 1.0, true, perMetre(0.017241, 1.0)},
        BandCase{"Unlisted", Cu, 0.123, true, perMetre(0.017241, 0.123)},
        // Aluminium: the nominal wire of its own resistivity, never copper's
        // limits.
        BandCase{"Aluminium", Al, 1.0, true, perMetre(0.028264, 1.0)},
        BandCase{"AluminiumAtACopperSize", Al, 0.1, true, perMetre(0.028264, 0.1)},
        // No standard resistivity for clad wire was found; no band.
        BandCase{"CopperCladAluminium", ConductorMaterial::CopperCladAluminium85, 1.0, false},
        // Diameters that are no wire.
        BandCase{"Zero", Cu, 0.0, false}, BandCase{"Negative", Cu, -0.1, false},
        BandCase{"NotANumber", Cu, std::nan(""), false},
        BandCase{"Infinite", Cu, std::numeric_limits<double>::infinity(), false},
        BandCase{"SoThinTheResistanceOverflows", Cu, 1e-300, false}),
    [](const testing::TestParamInfo<BandCase>& info) { return info.param.name; });

// A coil's band is the wire's band times its length, and the material changes
// the figure as its resistivity does.
TEST(StandardResistanceBand, ResistivitiesAreTheStandardOnes) {
  EXPECT_EQ(standardResistivity(Cu), 0.017241);
  EXPECT_EQ(standardResistivity(Al), 0.028264);
  EXPECT_EQ(standardResistivity(ConductorMaterial::CopperCladAluminium85), std::nullopt);
  // 1 mm² of copper: 17.241 mΩ a metre.
  const double d = std::sqrt(4 / std::numbers::pi);
  EXPECT_NEAR(standardResistanceBand(Cu, d)->nominal, 0.017241, 1e-15);
  EXPECT_EQ(resistivitySourceText("no such key"), "");
}

}  // namespace
}  // namespace kelvane::wiredata
