#pragma once

#include "core/calculate_coil.h"
#include "core/materials.h"

namespace kelvane::bench {

// The boxes as the window opens them, with the given former and turns.
inline CoilInputs designInputs(FormerShape shape, double turns) {
  CoilInputs in;
  in.bareDiameter = 0.2;
  in.finishedDiameter = 0.21;
  in.turns = turns;
  in.leadLength = 10;
  in.referenceThickness = 0.8;
  in.innerDiameter = 10;
  in.sideA = 2;
  in.sideB = 2;
  in.cornerR1 = 0.3;
  in.cornerR2 = 0.3;
  in.fanRadius = 50;
  in.fanAngle = 60;
  in.shape = shape;
  const auto copper = MaterialConstants(ConductorMaterial::Copper);
  in.resistivity = copper.resistivity;
  in.density = copper.density;
  return in;
}

}  // namespace kelvane::bench
