#pragma once

#include "core/expected.h"
#include "core/materials.h"

namespace kelvane {

// The temperature the window's resistances hold at, °C.
inline constexpr double kReferenceCelsius = 20;

// The temperature coefficient of a conductor's resistance at 20 °C, per
// kelvin: how much of its resistance at 20 °C the wire gains per kelvin.
double TemperatureCoefficient(ConductorMaterial material);

// The resistance of a wire at its working temperature from its resistance at
// 20 °C: R_T = R_20 · (1 + α (T − 20)). Fails for a temperature at or below
// absolute zero, or one so low that the straight line gives no positive
// resistance.
Expected<double> ResistanceAtTemperature(double r20, double celsius, ConductorMaterial material);

}  // namespace kelvane
