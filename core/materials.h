#pragma once

namespace kelvane {

// The index of the material option button that is on.
enum class ConductorMaterial { Copper = 0, Aluminium = 1, CopperCladAluminium85 = 2 };

struct MaterialValues {
  double resistivity = 0;  // Ω·mm² per km
  double density = 0;      // g/cm³
};

MaterialValues MaterialConstants(ConductorMaterial material);

}  // namespace kelvane
