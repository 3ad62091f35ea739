#include "core/wire_data_sheet.h"

#include <cmath>
#include <initializer_list>
#include <optional>
#include <string>

#include "core/coil_math.h"
#include "core/number_text.h"
#include "core/weight_resistance.h"

namespace kelvane {
namespace {

// The bare diameter tolerance the header line promises, mm.
constexpr double kToleranceStep = 0.02;

Failure badBareDiameter() { return Failure{std::string(kBadBareDiameterMessage)}; }

// The weight unit is chosen on the nominal conductor alone, so all weights of
// one sheet share it. wMilligrams is that conductor's weight per km in mg;
// the scale turns kilograms per km into the unit.
struct WeightUnit {
  const char* name;
  double scale;
};
WeightUnit chooseWeightUnit(double wMilligrams) {
  if (wMilligrams < 1000) return {"mg", 1000000};
  if (wMilligrams > 1000000) return {"Kg", 1};
  return {"g", 1000};
}

void writeReport(WireDataSheet& s) {
  const std::string rule(52, '-');
  const std::string& u = s.weightUnit;
  s.reportLines = {
      "導体径の公差を±0.02として 1Km当りの抵抗値 重量",
      "導電率 = " + plainDecimal(s.conductivityRatio),
      rule,
      "基準抵抗値  = " + formatFixed4(s.resistanceNominal),
      "最大抵抗値  = " + formatFixed4(s.resistanceMax),
      "最小抵抗値  = " + formatFixed4(s.resistanceMin),
      rule,
      "絶縁部　重量 " + u + " = " + formatFixed4(s.insulationWeight),
      rule,
      "導体部　基準重量 " + u + " = " + formatFixed4(s.conductorWeightNominal),
      "導体部　最小重量 " + u + " = " + formatFixed4(s.conductorWeightMin),
      // The maximum conductor weight has always been printed without a
      // space before "=".
      "導体部　最大重量 " + u + "= " + formatFixed4(s.conductorWeightMax),
      rule,
      "合計　基準重量 " + u + " = " + formatFixed4(s.totalWeightNominal),
      "合計　最小重量 " + u + " = " + formatFixed4(s.totalWeightMin),
      "合計　最大重量 " + u + " = " + formatFixed4(s.totalWeightMax),
  };
}

}  // namespace

Expected<WireDataSheet> BuildWireDataSheet(double bareDiameter, std::string_view bareDiameterText,
                                           double finishedDiameter, ConductorMaterial material) {
  // The tolerance limits come from the box text itself, so a text with
  // anything after its number (a unit, a second number) is refused.
  const std::optional<double> typed = readCompleteNumber(bareDiameterText);
  if (!typed || bareDiameter == 0) return badBareDiameter();
  const double dThin = roundTo15Digits(*typed - kToleranceStep);
  const double dThick = roundTo15Digits(*typed + kToleranceStep);
  if (dThin == 0 || dThick == 0) return badBareDiameter();

  const double d = bareDiameter;
  WireDataSheet s;
  // Thin wire conducts worse than its area says: k is 1 at about 0.8 mm and
  // grows as the wire gets thinner.
  s.thinWireFactor = ThinWireFactor(d);
  s.conductivityRatio = 1 / s.thinWireFactor;

  const MaterialValues m = MaterialConstants(material);
  const double area = circleArea(d);
  const double areaThin = circleArea(dThin);
  const double areaThick = circleArea(dThick);

  // ρ / area is ohms per km; the thinner limit gives the largest resistance.
  s.resistanceNominal = s.thinWireFactor * (m.resistivity / area);
  s.resistanceMax = s.thinWireFactor * (m.resistivity / areaThin);
  s.resistanceMin = s.thinWireFactor * (m.resistivity / areaThick);

  // γ × area is kg per km. The insulation is the ring between the finished
  // and the bare diameter, the same at every tolerance limit.
  const double insulationKgPerKm = (circleArea(finishedDiameter) - area) * kInsulationDensity;
  const WeightUnit unit = chooseWeightUnit(area * m.density * 1000000);
  s.weightUnit = unit.name;
  const double densityScaled = m.density * unit.scale;
  s.insulationWeight = insulationKgPerKm * unit.scale;
  s.conductorWeightNominal = densityScaled * area;
  s.conductorWeightMin = densityScaled * areaThin;
  s.conductorWeightMax = densityScaled * areaThick;
  s.totalWeightNominal = s.conductorWeightNominal + s.insulationWeight;
  s.totalWeightMin = s.conductorWeightMin + s.insulationWeight;
  s.totalWeightMax = s.conductorWeightMax + s.insulationWeight;

  for (const double v :
       {s.thinWireFactor, s.conductivityRatio, s.resistanceNominal, s.resistanceMax,
        s.resistanceMin, s.insulationWeight, s.conductorWeightNominal, s.conductorWeightMin,
        s.conductorWeightMax, s.totalWeightNominal, s.totalWeightMin, s.totalWeightMax}) {
    if (!std::isfinite(v)) return overflowFailure();
  }
  writeReport(s);
  return s;
}

}  // namespace kelvane
