#include "core/temperature_resistance.h"

#include <cmath>
#include <optional>

#include "core/number_text.h"
#include "core/typed_number.h"

namespace kelvane {
namespace {

// Annealed copper of 100 % conductivity, the reference of conductor tables.
constexpr double kCopperCoefficient = 0.00393;
// Aluminium of conductor grade, about 62 % of copper's conductivity.
constexpr double kAluminiumCoefficient = 0.00403;

// Copper-clad aluminium is a copper skin bonded to an aluminium core: two
// conductors side by side along the whole length. Their conductances add, so
// the coefficient of the pair at 20 °C is the mean of the two coefficients
// weighted by each metal's share of the conductance. No maker publishes one
// figure for it; this is worked out from the metals. The wire the window
// offers has 15 % copper by cross-section (its density, 3.638 g/cm³, is 15 %
// of copper's 8.96 and 85 % of aluminium's 2.699), and its resistivity is
// that of the same pair.
constexpr double kCladCopperShare = 0.15;

double cladCoefficient() {
  const MaterialValues copper = MaterialConstants(ConductorMaterial::Copper);
  const MaterialValues aluminium = MaterialConstants(ConductorMaterial::Aluminium);
  const double copperConductance = kCladCopperShare / copper.resistivity;
  const double aluminiumConductance = (1 - kCladCopperShare) / aluminium.resistivity;
  return (copperConductance * kCopperCoefficient + aluminiumConductance * kAluminiumCoefficient) /
         (copperConductance + aluminiumConductance);
}

constexpr double kAbsoluteZeroCelsius = -273.15;

}  // namespace

double TemperatureCoefficient(ConductorMaterial material) {
  switch (material) {
    case ConductorMaterial::Copper:
      return kCopperCoefficient;
    case ConductorMaterial::Aluminium:
      return kAluminiumCoefficient;
    case ConductorMaterial::CopperCladAluminium85:
      return cladCoefficient();
  }
  return 0;
}

Expected<double> ResistanceAtTemperature(double r20, double celsius, ConductorMaterial material) {
  if (!(celsius > kAbsoluteZeroCelsius)) {
    return Failure{"使用温度は -273.15 °C より高くしてください。"};
  }
  const double factor = 1 + TemperatureCoefficient(material) * (celsius - kReferenceCelsius);
  if (!(factor > 0)) return Failure{"使用温度が低すぎて、抵抗を求められません。"};
  const double resistance = r20 * factor;
  if (!std::isfinite(resistance)) return overflowFailure();
  return resistance;
}

Expected<void> checkWorkingTemperature(double celsius) {
  if (celsius >= kLowestWorkingCelsius && celsius <= kHighestWorkingCelsius) return {};
  return Failure{"使用温度は " + plainDecimal(kLowestWorkingCelsius) + " °C から " +
                 plainDecimal(kHighestWorkingCelsius) + " °C までで入力してください。"};
}

Expected<double> readWorkingTemperature(std::string_view text) {
  static constexpr std::string_view kCelsius[] = {"°C", "℃"};
  const TypedNumber typed = readTypedNumber(text, kCelsius);
  if (typed.blank || typed.notANumber || typed.unclearComma || typed.overflow) {
    return Failure{"使用温度を数として読めません（「" + visibleText(text) + "」）。"};
  }
  const std::optional<double> celsius = typed.value;
  if (auto within = checkWorkingTemperature(*celsius); !within.ok()) return within.failure();
  return *celsius;
}

}  // namespace kelvane
