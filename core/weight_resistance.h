#pragma once

#include <string>

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

// The thin-wire correction of the displayed resistance for bare diameter d.
double ThinWireFactor(double d);

// d, dw: bare and finished diameter (mm); len0, len1: total lengths (mm);
// resistivity Ω·mm²/km, density g/cm³; k the thin-wire factor.
WeightResistance ComputeWeightResistance(double d, double dw, double len0, double len1,
                                         double resistivity, double density, double k);

}  // namespace kelvane
