#pragma once

#include <optional>

namespace kelvane {

// The fan former's wide width XX from its height A, narrow width B and
// opening angle AG (degrees); empty for sides so large that the width leaves
// the range of numbers the machine holds.
std::optional<double> FanWidthFromAngle(double a, double b, double ag);

// The opening angle AG (degrees, between -180 and 180) from A, B and XX;
// empty when A is 0 and the angle is undefined.
std::optional<double> FanAngleFromWidth(double a, double b, double xx);

}  // namespace kelvane
