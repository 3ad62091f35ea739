#include "core/weight_resistance.h"

#include "core/coil_math.h"

namespace kelvane {

namespace {

// mm³ · g/cm³ to grams.
constexpr double kGramsPerMm3GramPerCm3 = 0.001;

// Weights are computed in grams and shown multiplied by the factor.
const DisplayUnit kMilligrams{"重量 mg", 1000};
const DisplayUnit kGrams{"重量 g", 1};
const DisplayUnit kKilograms{"重量 Kg", 0.001};
// Resistances are computed in ohms; the shown factor also carries k.
const DisplayUnit kOhms{"DCR Ω", 1};
const DisplayUnit kKiloohms{"DCR KΩ", 0.001};

}  // namespace

DisplayUnit MassUnit(double totalWeight1) {
  if (totalWeight1 > 1 && totalWeight1 <= 1000) return kGrams;
  if (totalWeight1 > 1000) return kKilograms;
  return kMilligrams;  // 1 g and less, zero and negative included
}

DisplayUnit LengthUnit(double len0) {
  if (len0 <= 1000) return {"全長 mm", 1};
  if (len0 <= 1000000) return {"全長 m", 0.001};
  return {"全長 Km", 0.000001};
}

DisplayUnit DcrUnit(double dcr0, double k) {
  const DisplayUnit& unit = dcr0 <= 1000 ? kOhms : kKiloohms;
  return {unit.caption, k * unit.factor};
}

double MilligramsPerShownWeight(std::string_view caption) {
  for (const DisplayUnit* unit : {&kGrams, &kKilograms}) {
    if (caption == unit->caption) return kMilligrams.factor / unit->factor;
  }
  return 1;
}

double OhmsPerShownResistance(std::string_view caption) {
  return caption == kKiloohms.caption ? 1 / kKiloohms.factor : 1;
}

double ThinWireFactor(double d) { return ((d * -0.038461) + 0.030769) + 1; }

WeightResistance ComputeWeightResistance(double d, double dw, double len0, double len1,
                                         double resistivity, double density, double k) {
  WeightResistance r;
  const double s = circleArea(d);
  r.conductorArea = s;
  r.insulationArea = circleArea(dw) - s;
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
