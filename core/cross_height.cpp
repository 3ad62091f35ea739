#include "core/cross_height.h"

namespace kelvane {

double crossZoneShare(double dw, double straightB, double zoneDiameters) {
  // No straight part: the crossing takes the whole side (also for a wire of
  // diameter 0, where the share would be 0 / 0).
  if (straightB <= 0) return 1;
  const double zone = dw * zoneDiameters;
  if (zone > straightB) return 1;
  return zone / straightB;
}

}  // namespace kelvane
