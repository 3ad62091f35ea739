#include "form/shape_fields.h"

namespace kelvane::form {

// The round former is measured by its inner diameter D alone and gets an
// outer diameter D'; the rectangular former by its sides and corner radii
// and gets A' and B'; the fan former uses the sides and radii plus R, AG and
// XX, and gets A', B' and its outer radius R'.
FieldVisibility ShapeFieldVisibility(FormerShape shape) {
  FieldVisibility v;
  switch (shape) {
    case FormerShape::Round:
      v.innerDiameter = true;
      v.outerRorD = true;
      v.outerRorDCaption = "D'";
      break;
    case FormerShape::Rectangular:
      v.sides = true;
      v.outerA = true;
      v.outerB = true;
      break;
    case FormerShape::Fan:
      v.sides = true;
      v.fan = true;
      v.outerA = true;
      v.outerB = true;
      v.outerRorD = true;
      v.outerRorDCaption = "R'";
      break;
  }
  return v;
}

bool showsBox(const FieldVisibility& v, InputBox b) {
  switch (b) {
    case box::InnerDiameter:
      return v.innerDiameter;
    case box::SideA:
    case box::SideB:
    case box::CornerR1:
    case box::CornerR2:
      return v.sides;
    case box::FanRadius:
    case box::FanAngle:
    case box::FanWideWidth:
      return v.fan;
    default:
      return true;
  }
}

}  // namespace kelvane::form
