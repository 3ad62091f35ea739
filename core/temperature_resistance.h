#pragma once

#include <string>
#include <string_view>

#include "core/expected.h"
#include "core/materials.h"

namespace kelvane {

// The temperature the window's resistances hold at, °C.
inline constexpr double kReferenceCelsius = 20;

// The working temperatures a quotation may name, °C. The straight line of
// R_T is a fair account of the three conductors across this span; below it
// the line heads for zero resistance, above it aluminium melts.
inline constexpr double kLowestWorkingCelsius = -200;
inline constexpr double kHighestWorkingCelsius = 500;

// The temperature coefficient of a conductor's resistance at 20 °C, per
// kelvin: how much of its resistance at 20 °C the wire gains per kelvin.
double TemperatureCoefficient(ConductorMaterial material);

// The resistance of a wire at its working temperature from its resistance at
// 20 °C: R_T = R_20 · (1 + α (T − 20)). Fails for a temperature at or below
// absolute zero, or one so low that the straight line gives no positive
// resistance.
Expected<double> ResistanceAtTemperature(double r20, double celsius, ConductorMaterial material);

// Whether a working temperature lies within the span; the failure's message
// gives the span.
Expected<void> checkWorkingTemperature(double celsius);

// The working temperature as typed into its box: one number, full-width digits
// read as ASCII, blanks around it allowed and nothing else; within the span.
// The failure says what is wrong, naming the box.
Expected<double> readWorkingTemperature(std::string_view text);

}  // namespace kelvane
