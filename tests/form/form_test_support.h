#pragma once

#include <string>
#include <vector>

#include "form/form1.h"

namespace kelvane::form::testing {

// One thing a person does at the window, written compactly for tables:
// "type Text1(2) 20", "focus Text1(3)", "click Command1", "set Text1(9) ",
// "key 123", "close".
struct Step {
  std::string op;
  std::string control;
  std::string text;
};

// Applies the steps to the form, failing the test when one cannot be taken.
void apply(Form1& form, const std::vector<Step>& steps);

inline std::string t1(const Form1& f, int i) { return f.state().inputTexts[i]; }
inline std::string t2(const Form1& f, int i) { return f.state().resultTexts[i]; }
inline std::string text(const Form1& f, InputBox b) { return f.state().text(b); }
inline std::string text(const Form1& f, ResultBox b) { return f.state().text(b); }

}  // namespace kelvane::form::testing
