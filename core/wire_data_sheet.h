#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/expected.h"
#include "core/materials.h"

namespace kelvane {

inline constexpr std::string_view kBadBareDiameterMessage = "素線径(d)の値が正しくありません";

// Resistance and weight of one kilometre of the wire, at its nominal bare
// diameter and at that diameter ∓0.02 mm.
struct WireDataSheet {
  double thinWireFactor = 0;
  double conductivityRatio = 0;
  double resistanceNominal = 0, resistanceMax = 0, resistanceMin = 0;
  std::string weightUnit;  // "mg", "g" or "Kg"
  double insulationWeight = 0;
  double conductorWeightNominal = 0, conductorWeightMin = 0, conductorWeightMax = 0;
  double totalWeightNominal = 0, totalWeightMin = 0, totalWeightMax = 0;
  // The sixteen lines without line ends; the sheet window ends each one with
  // "\r\n" when it prints them.
  std::array<std::string, 16> reportLines;
};

// bareDiameter and finishedDiameter are the boxes' leading numbers;
// bareDiameterText is the bare diameter box's whole text. Fails with
// kBadBareDiameterMessage when that text is not a complete number, d is 0, or
// d ∓ 0.02 is exactly 0; with kOverflowMessage when a value of the sheet
// leaves the double range (diameters near 1E+154 and beyond, or the 1 / k of
// a wire whose thin-wire factor k is 0).
Expected<WireDataSheet> BuildWireDataSheet(double bareDiameter, std::string_view bareDiameterText,
                                           double finishedDiameter, ConductorMaterial material);

}  // namespace kelvane
