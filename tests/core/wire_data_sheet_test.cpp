#include "core/wire_data_sheet.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "core/number_text.h"

namespace kelvane {
namespace {

using Lines = std::array<std::string, 16>;

Lines sheetLines(const std::string& conductivity, const std::array<std::string, 3>& resistances,
                 const std::string& unit, const std::string& insulation,
                 const std::array<std::string, 3>& conductor,
                 const std::array<std::string, 3>& total) {
  const std::string rule(52, '-');
  return {"導体径の公差を±0.02として 1Km当りの抵抗値 重量",
          "導電率 = " + conductivity,
          rule,
          "基準抵抗値  = " + resistances[0],
          "最大抵抗値  = " + resistances[1],
          "最小抵抗値  = " + resistances[2],
          rule,
          "絶縁部　重量 " + unit + " = " + insulation,
          rule,
          "導体部　基準重量 " + unit + " = " + conductor[0],
          "導体部　最小重量 " + unit + " = " + conductor[1],
          "導体部　最大重量 " + unit + "= " + conductor[2],
          rule,
          "合計　基準重量 " + unit + " = " + total[0],
          "合計　最小重量 " + unit + " = " + total[1],
          "合計　最大重量 " + unit + " = " + total[2]};
}

TEST(WireDataSheet, DefaultCopperWireWordForWord) {
  const auto sheet = BuildWireDataSheet(0.2, "0.2", 0.21, ConductorMaterial::Copper);
  ASSERT_TRUE(sheet.ok());
  const Lines expected = {
      "導体径の公差を±0.02として 1Km当りの抵抗値 重量",
      "導電率 = 0.977443726609772",
      "----------------------------------------------------",
      "基準抵抗値  = 561.4626",
      "最大抵抗値  = 693.1637",
      "最小抵抗値  = 464.0187",
      "----------------------------------------------------",
      "絶縁部\u3000重量 g = 3.8642",
      "----------------------------------------------------",
      "導体部\u3000基準重量 g = 281.4867",
      "導体部\u3000最小重量 g = 228.0042",
      "導体部\u3000最大重量 g= 340.5989",
      "----------------------------------------------------",
      "合計\u3000基準重量 g = 285.3509",
      "合計\u3000最小重量 g = 231.8684",
      "合計\u3000最大重量 g = 344.4631",
  };
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(sheet->reportLines[i], expected[i]) << "line " << i + 1;
  }
  EXPECT_EQ(sheet->weightUnit, "g");
  EXPECT_EQ(sheet->thinWireFactor, ((-0.038461 * 0.2) + 0.030769) + 1);
}

TEST(WireDataSheet, MaterialsAndSizesPickTheirUnits) {
  struct Case {
    const char* name;
    double d;
    const char* text;
    double finished;
    ConductorMaterial material;
    Lines lines;
  };
  const std::vector<Case> cases = {
      {"aluminium", 0.2, "0.2", 0.21, ConductorMaterial::Aluminium,
       sheetLines("0.977443726609772", {"905.6478", "1,118.0837", "748.4693"}, "g", "3.8642",
                  {"84.7916", "68.6812", "102.5978"}, {"88.6557", "72.5453", "106.4620"})},
      {"copper-clad aluminium", 0.2, "0.2", 0.21, ConductorMaterial::CopperCladAluminium85,
       sheetLines("0.977443726609772", {"829.4770", "1,024.0457", "685.5182"}, "g", "3.8642",
                  {"114.2911", "92.5758", "138.2923"}, {"118.1553", "96.4400", "142.1564"})},
      // d − 0.02 = −0.01 has the area of d itself, and the unit stays "mg"
      // though the thickest wire weighs over 1,000 mg.
      {"0.01 copper", 0.01, "0.01", 0.012, ConductorMaterial::Copper,
       sheetLines("0.970511597133182", {"226,189.1878", "226,189.1878", "25,132.1320"}, "mg",
                  "41.4690", {"703.7168", "703.7168", "6,333.4508"},
                  {"745.1858", "745.1858", "6,374.9198"})},
      {"1.0 copper", 1.0, " 1.0\t", 1.05, ConductorMaterial::Copper,
       sheetLines("1.00775162550337", {"21.7831", "22.6812", "20.9372"}, "Kg", "0.0966",
                  {"7.0372", "6.7585", "7.3215"}, {"7.1338", "6.8551", "7.4181"})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto sheet = BuildWireDataSheet(c.d, c.text, c.finished, c.material);
    ASSERT_TRUE(sheet.ok());
    for (std::size_t i = 0; i < c.lines.size(); ++i) {
      EXPECT_EQ(sheet->reportLines[i], c.lines[i]) << "line " << i + 1;
    }
  }
}

TEST(WireDataSheet, ThinnerFinishShowsNegativeInsulation) {
  const auto sheet = BuildWireDataSheet(0.2, "0.2", 0, ConductorMaterial::Copper);
  ASSERT_TRUE(sheet.ok());
  EXPECT_EQ(sheet->reportLines[7], "絶縁部\u3000重量 g = -37.6991");
  EXPECT_LT(sheet->totalWeightNominal, sheet->conductorWeightNominal);
}

TEST(WireDataSheet, RefusesDiametersItCannotUse) {
  const std::string bad(kBadBareDiameterMessage);
  const std::string overflow(kOverflowMessage);
  struct Case {
    const char* text;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"", bad},           {"abc", bad},         {"0.2mm", bad},
      {"0.2 0.3x", bad},   {"0", bad},           {"-0.0", bad},
      {"0.02", bad},       {"-0.02", bad},       {"1e400", bad},
      {"1e200", overflow}, {"1e-200", overflow}, {"1.7976931348623157e308", overflow},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto sheet =
        BuildWireDataSheet(readLeadingNumber(c.text), c.text, 0.21, ConductorMaterial::Copper);
    ASSERT_FALSE(sheet.ok());
    EXPECT_EQ(sheet.message(), c.message);
  }
}

}  // namespace
}  // namespace kelvane
