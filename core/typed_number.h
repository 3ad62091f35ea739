#pragma once

#include <span>
#include <string>
#include <string_view>

namespace kelvane {

// A box text with what a Japanese input method types in place of ASCII turned
// back into ASCII: the full-width digits, "．", "，", "－", "＋", "ｅ", "Ｅ", the
// minus sign "−" and the ideographic space. Everything else stays as it is.
std::string toHalfWidth(std::string_view text);

// A box text read as people type numbers: full-width characters as their
// ASCII forms, digit groups written the way the program writes them
// ("1,000", "12,345.6") read whole, blanks skipped wherever they stand, then
// one number, and after it at most one of the box's units ("10 mm",
// "１０ｍｍ"). A comma that is not such a group ("0,2", "1,5", "1,00",
// "1.5,3") is not guessed at: the text is unclear. Anything else around the
// number ("φ12", "3cm", "12abc", a control character) makes the text not a
// number: a typing slip is never read as some other value. A text of blanks
// alone, the empty text included, reads 0 and is none of these.
struct TypedNumber {
  double value = 0;           // the leading number, whatever follows it
  bool overflow = false;      // the number does not fit a double
  bool unclearComma = false;  // a comma that is not a digit group
  bool notANumber = false;    // more than the number and the box's unit
  bool blank = false;         // nothing but blanks: the box is empty
  // Whether the text gives its value without a doubt.
  [[nodiscard]] bool readable() const { return !overflow && !unclearComma && !notANumber; }
};
// `units` are the units the box may be typed with, as the window writes them
// ("mm", "°"); their full-width forms and either letter case are taken too.
TypedNumber readTypedNumber(std::string_view text, std::span<const std::string_view> units = {});

// Units that boxes of a kind may be typed with.
namespace units {
inline constexpr std::string_view kMillimetre[] = {"mm"};
inline constexpr std::string_view kDegree[] = {"°", "度"};
}  // namespace units

// The text with its control characters (C0, DEL, C1) written as their bytes
// \xNN, for a message or a terminal line that quotes what was typed or read:
// "x\x1b[2J" shows, and does not do, what the escape would have done.
std::string visibleText(std::string_view text);

}  // namespace kelvane
