#include "core/weight_resistance.h"

#include "core/coil_math.h"

namespace kelvane {

namespace {

// Insulation of every wire weighs 1.2 g/cm³, whatever the conductor.
constexpr double kInsulationDensity = 1.2;
// mm³ · g/cm³ to grams.
constexpr double kGramsPerMm3GramPerCm3 = 0.001;
// Millimetres of wire per kilometre of the Ω·mm²/km resistivity.
constexpr double kMmPerKm = 1000000;

double square(double x) { return x * x; }

}  // namespace

DisplayUnit MassUnit(double totalWeight1) {
  if (totalWeight1 > 1 && totalWeight1 <= 1000) return {"重量 g", 1};
  if (totalWeight1 > 1000) return {"重量 Kg", 0.001};
  return {"重量 mg", 1000};  // 1 g and less, zero and negative included
}

DisplayUnit LengthUnit(double len0) {
  if (len0 <= 1000) return {"全長 mm", 1};
  if (len0 <= 1000000) return {"全長 m", 0.001};
  return {"全長 Km", 0.000001};
}

DisplayUnit DcrUnit(double dcr0, double k) {
  if (dcr0 <= 1000) return {"DCR Ω", k * 1};
  return {"DCR KΩ", k * 0.001};
}

double ConductorArea(double d) { return square(d / 2) * kPi; }

double ThinWireFactor(double d) { return ((d * -0.038461) + 0.030769) + 1; }

WeightResistance ComputeWeightResistance(double d, double dw, double len0, double len1,
                                         double resistivity, double density, double k) {
  WeightResistance r;
  const double s = ConductorArea(d);
  r.conductorArea = s;
  r.insulationArea = (square(dw / 2) * kPi) - s;
  if (s != 0) {
    const double ohmsPerMm = (resistivity / s) / kMmPerKm;
    r.dcr0 = len0 * ohmsPerMm;
    r.dcr1 = len1 * ohmsPerMm;
  }
  r.conductorWeight1 = ((len1 * s) * density) * kGramsPerMm3GramPerCm3;
  r.conductorWeight0 = ((len0 * s) * density) * kGramsPerMm3GramPerCm3;
  r.insulationWeight1 = ((len1 * r.insulationArea) * kInsulationDensity) * kGramsPerMm3GramPerCm3;
  r.insulationWeight0 = ((len0 * r.insulationArea) * kInsulationDensity) * kGramsPerMm3GramPerCm3;
  r.totalWeight0 = r.conductorWeight0 + r.insulationWeight0;
  r.totalWeight1 = r.conductorWeight1 + r.insulationWeight1;
  r.lengthUnit = LengthUnit(len0);
  r.massUnit = MassUnit(r.totalWeight1);
  r.dcrUnit = DcrUnit(r.dcr0, k);
  return r;
}

}  // namespace kelvane
