#pragma once

#include <string>
#include <string_view>

namespace kelvane {

// A display unit: the caption of its row and the factor a value is
// multiplied by before it is shown.
struct DisplayUnit {
  std::string caption;
  double factor = 1;
  bool operator==(const DisplayUnit&) const = default;
};

// Weights (grams) and resistances (ohms) of the two total lengths, with the
// units chosen for them.
struct WeightResistance {
  double conductorArea = 0;   // S, mm²
  double insulationArea = 0;  // Si, mm²
  double dcr0 = 0, dcr1 = 0;  // without the thin-wire correction
  double conductorWeight0 = 0, conductorWeight1 = 0;
  double insulationWeight0 = 0, insulationWeight1 = 0;
  double totalWeight0 = 0, totalWeight1 = 0;
  DisplayUnit lengthUnit;  // caption of Label1(13)
  DisplayUnit massUnit;    // caption of Label1(29)
  DisplayUnit dcrUnit;     // caption of Label1(28); factor includes k
};

// The unit of each row, chosen on one unscaled value: the lengths on len0
// (mm up to 1000 mm, m up to 1,000,000 mm, Km beyond), the weights on
// totalWeight1 in grams (mg up to 1 g, g up to 1000 g, Kg beyond), the
// resistance on dcr0 in ohms (Ω up to 1000 Ω, KΩ beyond; the factor carries
// the thin-wire correction k).
DisplayUnit LengthUnit(double len0);
DisplayUnit MassUnit(double totalWeight1);
DisplayUnit DcrUnit(double dcr0, double k);

// A target typed into a row in the unit its caption shows, back in the unit
// the inverse solvers compare with: milligrams per shown weight unit ("重量 g"
// 1,000; "重量 Kg" 1,000,000; milligrams, or no unit yet, 1) and ohms per shown
// resistance unit ("DCR KΩ" 1,000, otherwise 1).
double MilligramsPerShownWeight(std::string_view caption);
double OhmsPerShownResistance(std::string_view caption);

// The thin-wire correction of the displayed resistance for bare diameter d.
double ThinWireFactor(double d);

// d, dw: bare and finished diameter (mm); len0, len1: total lengths (mm);
// resistivity Ω·mm²/km, density g/cm³; k the thin-wire factor. A wire without
// conductor (circleArea(d) == 0) has no resistance to speak of: the press
// refuses it before this step, and a direct call gives resistances of 0.
WeightResistance ComputeWeightResistance(double d, double dw, double len0, double len1,
                                         double resistivity, double density, double k);

}  // namespace kelvane
