#pragma once

#include <cstdint>
#include <optional>

namespace kelvane {

// Turns of n full layers alternating a and b turns (odd counts end on a).
double TurnsFromLayers(std::int32_t n, double a, double b);

// Layers of a nested winding of height H with finished diameter dw:
// floor((H − dw) / ((dw / 2) × √3)) + 1. Empty when dw is 0 or the count does
// not fit 32 bits.
std::optional<std::int32_t> LayersFromAlignedHeight(double H, double dw);

// Layers of a crossed winding of height H: floor(H / dw). Empty when dw is 0
// or the count does not fit 32 bits.
std::optional<std::int32_t> LayersFromCrossHeight(double H, double dw);

}  // namespace kelvane
