#include "form_test_support.h"

#include <gtest/gtest.h>

namespace kelvane::form::testing {

void apply(Form1& form, const std::vector<Step>& steps) {
  for (const Step& s : steps) {
    const auto id = parseControlId(s.control);
    bool ok = true;
    if (s.op == "type") ok = id && form.typeText(*id, s.text);
    else if (s.op == "focus") ok = id && form.moveFocus(*id);
    else if (s.op == "click") ok = id && form.click(*id);
    else if (s.op == "set") ok = id && form.setText(*id, s.text);
    else if (s.op == "key") form.pressKey(std::stoi(s.control));
    else if (s.op == "close") form.closeSheet();
    else ok = false;
    ASSERT_TRUE(ok) << "step could not be taken: " << s.op << " " << s.control;
  }
}

}  // namespace kelvane::form::testing
