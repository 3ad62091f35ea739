#pragma once

#include <cmath>

#include "core/calculate_coil.h"
#include "core/calculation_state.h"
#include "core/coil.h"
#include "core/materials.h"

namespace kelvane::test {

// The state of the worked winding: wire 0.21 on a 2 × 2 former with corners
// of 0.3, three turns in every layer, ten turns, crossing share 1. Round
// former D 10; fan former R 50 (its outline is not stored).
inline CalculationState exampleState() {
  CalculationState s;
  s.inputs.bareDiameter = 0.2;
  s.inputs.finishedDiameter = 0.21;
  s.inputs.turns = 10;
  s.inputs.leadLength = 10;
  s.inputs.innerDiameter = 10;
  s.inputs.sideA = 2;
  s.inputs.sideB = 2;
  s.inputs.cornerR1 = 0.3;
  s.inputs.cornerR2 = 0.3;
  s.inputs.fanRadius = 50;
  s.straightA = 1.4;
  s.straightB2 = 1.4;
  s.straightB1 = 1.4;
  s.turnsOddLayer = 3;
  s.turnsEvenLayer = 3;
  s.crossRatio = 1;
  s.crossAllowance = 0.21 * ((2 - std::sqrt(3.0)) / 2);
  s.conductorArea = 0.0314159265358979;
  return s;
}

// A winding of a stack: its wire, turns and layer width, lead 30; its former
// comes from the stack.
inline Coil stackWinding(double d, double dw, double turns, double t,
                         ConductorMaterial material = ConductorMaterial::Copper) {
  Coil c;
  c.bareDiameter = d;
  c.finishedDiameter = dw;
  c.turns = turns;
  c.leadLength = 30;
  c.referenceThickness = t;
  c.material = material;
  return c;
}

// The boxes as the window opens them, on the given former, copper; ten turns
// unless another count is asked for.
inline CoilInputs designInputs(FormerShape shape, double turns = 10) {
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
  const MaterialValues copper = MaterialConstants(ConductorMaterial::Copper);
  in.resistivity = copper.resistivity;
  in.density = copper.density;
  return in;
}

}  // namespace kelvane::test
