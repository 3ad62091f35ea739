// What happens when an input box is left: fill-ins for an empty turns box and
// empty former sides, and the fan former's angle and wide width kept in step.
#include <cmath>
#include <optional>

#include "core/fan_width.h"
#include "core/number_text.h"
#include "form/form1.h"

namespace kelvane::form {

void Form1::Text1_LostFocus(int index) {
  // A box holding a number too large for the machine takes part in no rule.
  auto number = [&](int i) -> std::optional<double> {
    const LeadingNumber n = readLeadingNumberDetailed(s_.text1[i]);
    if (n.overflow) return std::nullopt;
    return n.value;
  };
  auto writeNumber = [&](int i, double value) {
    if (std::isfinite(value)) write(text1(i), plainDecimal(value));
  };

  switch (index) {
    case 2:  // turns: at least one
      if (number(2) == 0.0) write(text1(2), "1");
      break;
    case 6:  // side A: no straight part, only the two corners
      if (number(6) == 0.0) {
        const auto r1 = number(8), r2 = number(9);
        if (r1 && r2) writeNumber(6, *r2 + *r1);
      }
      break;
    case 7:  // side B: no straight part between the r2 corners
      if (number(7) == 0.0) {
        if (const auto r2 = number(9)) writeNumber(7, *r2 + *r2);
      }
      break;
    case 11: {  // AG → XX
      const auto a = number(6), b = number(7), ag = number(11);
      if (!a || !b || !ag) break;
      if (const auto xx = FanWidthFromAngle(*a, *b, *ag)) writeNumber(12, *xx);
      break;
    }
    case 12: {  // XX → AG, only for a width the user gave
      if (!userChanged(text1(12))) break;
      const auto a = number(6), b = number(7), xx = number(12);
      if (!a || !b || !xx) break;
      if (const auto ag = FanAngleFromWidth(*a, *b, *xx)) writeNumber(11, *ag);
      break;
    }
    default:
      break;
  }
}

}  // namespace kelvane::form
