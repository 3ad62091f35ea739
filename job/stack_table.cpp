#include "job/stack_table.h"

#include "core/number_text.h"
#include "core/temperature_resistance.h"

namespace kelvane::job {
namespace {

std::string mm(double value) { return formatFixed3(value); }

// The corners' radii: one when they are alike.
std::string corners(const Former& former) {
  if (mm(former.cornerR1) == mm(former.cornerR2)) return ", r " + mm(former.cornerR1);
  return ", r1 " + mm(former.cornerR1) + ", r2 " + mm(former.cornerR2);
}

}  // namespace

std::string formerText(const Former& former) {
  switch (former.shape) {
    case FormerShape::Round:
      return "D " + mm(former.innerDiameter);
    case FormerShape::Rectangular:
      return "A " + mm(former.sideA) + " × B " + mm(former.sideB) + corners(former);
    case FormerShape::Fan:
      return "R " + mm(former.fanRadius) + ", A " + mm(former.sideA) + ", B " + mm(former.sideB) +
             corners(former) + ", AG " + plainDecimal(former.fanAngle) + "°";
  }
  return {};
}

StackTable stackTable(const WindingStack& stack, const StackResult& result, double workingCelsius) {
  StackTable table;
  table.heading = {"巻線",       "材質", "素線径 mm", "巻き数", "層間絶縁 mm", "巻高 mm（予測）",
                   "DCR 20 °C Ω"};
  const bool atWorking = workingCelsius != kReferenceCelsius;
  if (atWorking) table.heading.push_back("DCR " + plainDecimal(workingCelsius) + " °C Ω");
  for (std::size_t k = 0; k < stack.windings.size() && k < result.windings.size(); ++k) {
    const Winding& winding = stack.windings[k];
    const WindingResult& w = result.windings[k];
    std::vector<std::string> row = {windingLabel(k, winding.name),
                                    std::string(materialName(winding.coil.material)),
                                    plainDecimal(winding.coil.bareDiameter),
                                    plainDecimal(winding.coil.turns),
                                    k == 0 ? "—" : mm(winding.under.thickness()),
                                    mm(w.build),
                                    resistanceFigure(w.predictedDcrOhm, 3)};
    if (atWorking) {
      const Expected<double> hot =
          ResistanceAtTemperature(w.predictedDcrOhm, workingCelsius, winding.coil.material);
      row.push_back(hot ? resistanceFigure(*hot, 3) : std::string());
    }
    table.formers.push_back({row.front(), formerText(w.former), "", "mm"});
    table.windings.push_back(std::move(row));
  }
  table.totals.push_back({"仕上がり外形", formerText(result.outside), "", "mm"});
  for (const ConductorMaterial material : {ConductorMaterial::Copper, ConductorMaterial::Aluminium,
                                           ConductorMaterial::CopperCladAluminium85}) {
    const double grams = result.predictedConductorGrams[static_cast<std::size_t>(material)];
    if (grams <= 0) continue;
    table.totals.push_back(
        {std::string(materialName(material)) + " 導体重量（予測）", formatFixed3(grams), "", "g"});
  }
  return table;
}

}  // namespace kelvane::job
