#include "core/cross_height.h"

namespace kelvane {

double ClosHKeisan(double D, double bL, double CC) {
  // No straight part: the crossing takes the whole side (also for a wire of
  // diameter 0, where the share would be 0 / 0).
  if (bL <= 0) return 1;
  const double zone = D * CC;
  if (zone > bL) return 1;
  return zone / bL;
}

}  // namespace kelvane
