#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace kelvane {

// π as the coil arithmetic has always used it: this 15-digit literal, not the
// full double-precision value. Every length, area and angle is computed with
// it so the results agree to the last digit with the ones users know.
inline constexpr double kPi = 3.14159265358979;

// √3, taken at run time from 3.0.
inline double sqrt3() { return std::sqrt(3.0); }

// Cross-section of a round wire of the given diameter, mm².
inline double circleArea(double diameter) {
  const double radius = diameter / 2;
  return (radius * radius) * kPi;
}

// Insulation of every wire weighs this much, g/cm³, whatever the conductor.
inline constexpr double kInsulationDensity = 1.2;
// Millimetres of wire in a kilometre: resistivities are given in Ω·mm² per km.
inline constexpr double kMmPerKm = 1000000;

// Radial step from one layer to the next when every turn lies in the groove
// between two turns of the layer below: (dw / 2) · √3.
inline double nestedPitch(double dw) { return (dw / 2) * sqrt3(); }

// floor(x) as a 32-bit count of turns or layers; empty when it is not finite
// or does not fit.
inline std::optional<std::int32_t> floorToInt32(double x) {
  const double whole = std::floor(x);
  if (!(whole >= std::numeric_limits<std::int32_t>::min() &&
        whole <= std::numeric_limits<std::int32_t>::max())) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(whole);
}

}  // namespace kelvane
