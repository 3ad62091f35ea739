#pragma once

namespace kelvane {

// The former the coil is wound on.
enum class FormerShape { Round = 0, Rectangular = 1, Fan = 2 };

}  // namespace kelvane
