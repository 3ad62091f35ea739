#include "core/fan_width.h"

#include <cmath>

#include "core/coil_math.h"

namespace kelvane {

// With the 15-digit π a 90° fan of A 2, B 2 comes out 5.99999999999999 wide,
// not 6.

// The fan widens by A·tan(AG/2) on each side of its narrow width B.
std::optional<double> FanWidthFromAngle(double a, double b, double ag) {
  const double t = std::tan((ag * 0.5) * (kPi / 180));
  const double xx = (a * t) * 2 + b;
  if (!std::isfinite(xx)) return std::nullopt;
  return xx;
}

std::optional<double> FanAngleFromWidth(double a, double b, double xx) {
  if (a == 0) return std::nullopt;
  const double ag = std::atan(((xx - b) * 0.5) / a) * (180 / kPi) * 2;
  if (!std::isfinite(ag)) return std::nullopt;
  return ag;
}

}  // namespace kelvane
