#include "core/turns_from_height.h"

#include <cmath>

#include "core/coil_math.h"

namespace kelvane {

namespace {

// floor(height / pitch) + extra as a layer count; empty for a pitch of 0 (a
// wire of no diameter) and for a count that is not finite or does not fit.
std::optional<std::int32_t> layerCount(double height, double pitch, double extra) {
  if (pitch == 0) return std::nullopt;
  return floorToInt32(std::floor(height / pitch) + extra);
}

}  // namespace

double TurnsFromLayers(std::int32_t n, double a, double b) {
  const double layers = n;
  // Layers alternate a, b, a, b, …: an odd count ends on a layer of a turns.
  if (n % 2 == 0) return (layers / 2) * (a + b);
  return a + ((layers - 1) / 2) * (a + b);
}

std::optional<std::int32_t> LayersFromAlignedHeight(double H, double dw) {
  // The first layer takes one full diameter; each further one nests into the
  // one below and adds the nested pitch.
  return layerCount(H - dw, nestedPitch(dw), 1);
}

std::optional<std::int32_t> LayersFromCrossHeight(double H, double dw) {
  // Crossed layers stack a full diameter each.
  return layerCount(H, dw, 0);
}

}  // namespace kelvane
