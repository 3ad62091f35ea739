#pragma once

#include <string>
#include <string_view>

namespace kelvane {

// A box text with what a Japanese input method types in place of ASCII turned
// back into ASCII: the full-width digits, "．", "，", "－", "＋", "ｅ", "Ｅ", the
// minus sign "−" and the ideographic space. Everything else stays as it is.
std::string toHalfWidth(std::string_view text);

// A box text read as people type numbers: full-width characters as their
// ASCII forms, digit groups written the way the program writes them
// ("1,000", "12,345.6") read whole, then the leading-number rule ("10 mm"
// reads 10). A comma that is not such a group ("0,2", "1,5", "1,00", "1.5,3")
// is not guessed at: the text is unclear.
struct TypedNumber {
  double value = 0;
  bool overflow = false;      // the number does not fit a double
  bool unclearComma = false;  // a comma that is not a digit group
};
TypedNumber readTypedNumber(std::string_view text);

}  // namespace kelvane
