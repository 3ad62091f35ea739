// What happens when an input box is left: fill-ins for an empty turns box and
// empty former sides, and the fan former's angle and wide width kept in step.
#include <cmath>
#include <optional>

#include "core/fan_width.h"
#include "core/number_text.h"
#include "core/typed_number.h"
#include "form/form1.h"

namespace kelvane::form {

void Form1::applyInputRules(InputBox left) {
  // A box whose text is not a number as 計算 reads it (too large, a comma
  // that cannot be read without guessing, text besides the number and its
  // unit) takes part in no rule: its text stays for 計算 to refuse.
  auto number = [&](InputBox b) -> std::optional<double> {
    const TypedNumber n = readTypedNumber(s_.text(b), inputField(b).typedUnits);
    if (!n.readable()) return std::nullopt;
    return n.value;
  };
  auto writeNumber = [&](InputBox b, double value) {
    if (std::isfinite(value)) write(b, plainDecimal(value));
  };
  switch (left) {
    case box::Turns:  // at least one
      if (number(box::Turns) == 0.0) write(box::Turns, "1");
      break;
    case box::SideA:  // no straight part, only the two corners
      if (number(box::SideA) == 0.0) {
        const auto r1 = number(box::CornerR1), r2 = number(box::CornerR2);
        if (r1 && r2) writeNumber(box::SideA, *r2 + *r1);
      }
      break;
    case box::SideB:  // no straight part between the r2 corners
      if (number(box::SideB) == 0.0) {
        if (const auto r2 = number(box::CornerR2)) writeNumber(box::SideB, *r2 + *r2);
      }
      break;
    case box::FanAngle: {  // AG → XX
      const auto a = number(box::SideA), b = number(box::SideB), ag = number(box::FanAngle);
      if (!a || !b || !ag) break;
      if (const auto xx = FanWidthFromAngle(*a, *b, *ag)) writeNumber(box::FanWideWidth, *xx);
      break;
    }
    case box::FanWideWidth: {  // XX → AG, only for a width the user gave
      if (!userChanged(idOf(box::FanWideWidth))) break;
      const auto a = number(box::SideA), b = number(box::SideB), xx = number(box::FanWideWidth);
      if (!a || !b || !xx) break;
      if (const auto ag = FanAngleFromWidth(*a, *b, *xx)) writeNumber(box::FanAngle, *ag);
      break;
    }
    default:
      break;
  }
}

}  // namespace kelvane::form
