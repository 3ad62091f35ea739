// The window's behaviour under arbitrary sequences of what a person can do:
// typing anything into any box, moving the focus, clicking, pressing keys.
#include <cmath>
#include <cstdint>
#include <string>

#include "core/number_text.h"
#include "core/press_progress.h"
#include "form/control_table.h"
#include "form/form1.h"
#include "fuzz_checks.h"

using namespace kelvane;
using namespace kelvane::form;

namespace {

void checkShown(const Form1& form) {
  const FormState& s = form.state();
  // What the user typed is theirs; what the program wrote must be a number.
  for (int i = 0; i < kInputBoxCount; ++i)
    if (!s.inputEdited[i]) FUZZ_CHECK(!looksBroken(s.inputTexts[i]));
  for (int i = 0; i < kResultBoxCount; ++i)
    if (!s.resultEdited[i]) FUZZ_CHECK(!looksBroken(s.resultTexts[i]));
  for (const std::string& caption : s.captions) FUZZ_CHECK(!looksBroken(caption));
  for (const std::string& line : s.sheetLines) FUZZ_CHECK(!looksBroken(line));
  FUZZ_CHECK(s.drawing.circles.size() <= 999);
  for (const Circle& c : s.drawing.circles)
    FUZZ_CHECK(std::isfinite(c.left) && std::isfinite(c.top) && std::isfinite(c.width) &&
               std::isfinite(c.height));
  for (const LinePosition& l : {s.drawing.line1, s.drawing.line2, s.drawing.line3})
    FUZZ_CHECK(std::isfinite(l.x1) && std::isfinite(l.y1) && std::isfinite(l.x2) &&
               std::isfinite(l.y2));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::vector<ControlId> controls = tabOrder();
  Form1 form;
  // A solved target can put a count of billions into the turns box, and a
  // target out of reach walks to the last count: every walk is called off at
  // its first look-up, after about four million turns, as a person would
  // cancel it.
  form.setWorkRunner([](double, const Work& work) {
    PressProgress progress;
    progress.cancel();
    work(&progress);
  });
  std::size_t i = 0;
  while (i + 2 <= size) {
    const std::uint8_t op = data[i] % 6;
    const ControlId& target = controls[data[i + 1] % controls.size()];
    i += 2;
    switch (op) {
      case 0:
        form.moveFocus(target);
        break;
      case 1: {  // type a text of up to 15 bytes
        const std::size_t length = i < size ? data[i] % 16 : 0;
        ++i;
        std::string text(reinterpret_cast<const char*>(data + std::min(i, size)),
                         std::min(length, size - std::min(i, size)));
        i += length;
        // Huge turn counts are timed elsewhere; keep each run short.
        if (target == text1(2) && std::fabs(readLeadingNumber(text)) > 1e5) break;
        form.typeText(target, text);
        break;
      }
      case 2:
      case 3:
        form.click(target);
        break;
      case 4:
        form.pressKey(data[i - 1] % 2 ? Form1::kPrintKey : data[i - 1]);
        break;
      case 5:
        form.closeSheet();
        break;
    }
    checkShown(form);
  }
  return 0;
}
