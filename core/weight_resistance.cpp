#include "core/weight_resistance.h"

#include "core/coil_math.h"

namespace kelvane {

namespace {

// mm³ · g/cm³ to grams.
constexpr double kGramsPerMm3GramPerCm3 = 0.001;

}  // namespace

double factorOf(LengthUnit unit) {
  switch (unit) {
    case LengthUnit::Millimetre:
      return 1;
    case LengthUnit::Metre:
      return 0.001;
    case LengthUnit::Kilometre:
      return 0.000001;
  }
  return 1;
}

// Weights are computed in grams.
double factorOf(MassUnit unit) {
  switch (unit) {
    case MassUnit::Milligram:
      return 1000;
    case MassUnit::Gram:
      return 1;
    case MassUnit::Kilogram:
      return 0.001;
  }
  return 1;
}

double factorOf(ResistanceUnit unit) { return unit == ResistanceUnit::Kiloohm ? 0.001 : 1; }

MassUnit MassUnitFor(double predictedWeight) {
  if (predictedWeight > 1 && predictedWeight <= 1000) return MassUnit::Gram;
  if (predictedWeight > 1000) return MassUnit::Kilogram;
  return MassUnit::Milligram;  // 1 g and less, zero and negative included
}

LengthUnit LengthUnitFor(double alignedLength) {
  if (alignedLength <= 1000) return LengthUnit::Millimetre;
  if (alignedLength <= 1000000) return LengthUnit::Metre;
  return LengthUnit::Kilometre;
}

ResistanceUnit ResistanceUnitFor(double alignedDcr) {
  return alignedDcr <= 1000 ? ResistanceUnit::Ohm : ResistanceUnit::Kiloohm;
}

double shownResistanceFactor(ResistanceUnit unit, double k) { return k * factorOf(unit); }

double ThinWireFactor(double d) { return ((d * -0.038461) + 0.030769) + 1; }

WeightResistance ComputeWeightResistance(double d, double dw, double alignedLength,
                                         double predictedLength, double resistivity,
                                         double density) {
  WeightResistance r;
  const double s = circleArea(d);
  r.conductorArea = s;
  r.insulationArea = circleArea(dw) - s;
  if (s != 0) {
    const double ohmsPerMm = (resistivity / s) / kMmPerKm;
    r.alignedDcr = alignedLength * ohmsPerMm;
    r.predictedDcr = predictedLength * ohmsPerMm;
  }
  r.predictedConductorWeight = ((predictedLength * s) * density) * kGramsPerMm3GramPerCm3;
  r.alignedConductorWeight = ((alignedLength * s) * density) * kGramsPerMm3GramPerCm3;
  r.predictedInsulationWeight =
      ((predictedLength * r.insulationArea) * kInsulationDensity) * kGramsPerMm3GramPerCm3;
  r.alignedInsulationWeight =
      ((alignedLength * r.insulationArea) * kInsulationDensity) * kGramsPerMm3GramPerCm3;
  r.alignedWeight = r.alignedConductorWeight + r.alignedInsulationWeight;
  r.predictedWeight = r.predictedConductorWeight + r.predictedInsulationWeight;
  r.lengthUnit = LengthUnitFor(alignedLength);
  r.massUnit = MassUnitFor(r.predictedWeight);
  r.resistanceUnit = ResistanceUnitFor(r.alignedDcr);
  return r;
}

}  // namespace kelvane
