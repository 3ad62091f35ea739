#include "core/materials.h"

namespace kelvane {

// Resistivity in Ω·mm² per km (the resistance of one kilometre of a 1 mm²
// conductor) and density in g/cm³ of the three conductors the window offers.
// A material outside the three keeps the zero constants.
MaterialValues MaterialConstants(ConductorMaterial material) {
  switch (material) {
    case ConductorMaterial::Copper:
      return {17.241, 8.96};
    case ConductorMaterial::Aluminium:
      return {27.81, 2.699};
    case ConductorMaterial::CopperCladAluminium85:
      return {25.471, 3.638};
  }
  return {};
}

std::string_view materialName(ConductorMaterial material) {
  switch (material) {
    case ConductorMaterial::Copper:
      return "銅線";
    case ConductorMaterial::Aluminium:
      return "アルミニュウム";
    case ConductorMaterial::CopperCladAluminium85:
      return "銅クラッドアルミニュウム(85%)";
  }
  return "";
}

}  // namespace kelvane
