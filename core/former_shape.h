#pragma once

#include <string_view>

namespace kelvane {

// The former the coil is wound on.
enum class FormerShape { Round = 0, Rectangular = 1, Fan = 2 };

// The former's name wherever the program writes it: 丸形, 角形, 扇形.
constexpr std::string_view formerName(FormerShape shape) {
  switch (shape) {
    case FormerShape::Round:
      return "丸形";
    case FormerShape::Rectangular:
      return "角形";
    case FormerShape::Fan:
      return "扇形";
  }
  return "";
}

}  // namespace kelvane
