#pragma once

#include <string_view>

namespace kelvane {

// The conductor of the wire.
enum class ConductorMaterial { Copper = 0, Aluminium = 1, CopperCladAluminium85 = 2 };

struct MaterialValues {
  double resistivity = 0;  // Ω·mm² per km
  double density = 0;      // g/cm³
};

MaterialValues MaterialConstants(ConductorMaterial material);

// The material's name wherever the program writes it: 銅線, アルミニュウム,
// 銅クラッドアルミニュウム(85%).
std::string_view materialName(ConductorMaterial material);

}  // namespace kelvane
