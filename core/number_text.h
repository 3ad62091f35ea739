#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvane {

// The leading number of a box text, read the way every box of the window is
// read: blanks, tabs and line feeds are skipped wherever they occur ("1 2"
// reads 12); then an optional sign, digits with at most one ".", an optional
// exponent (E or D, upper or lower case, with an optional sign); or &H / &O
// followed by a hexadecimal / octal whole number. Reading stops at the first
// character that cannot continue the number, so "1,234.5" reads 1. A text
// without a leading number, the empty text included, reads 0.
struct LeadingNumber {
  double value = 0;       // 0 when nothing was read or on overflow
  std::size_t end = 0;    // bytes of the text consumed by the number
  bool overflow = false;  // the number does not fit a double
};
LeadingNumber readLeadingNumberDetailed(std::string_view text);

// The value alone; an overflowing number reads 0.
double readLeadingNumber(std::string_view text);

// The whole text as one complete decimal number: leading and trailing blanks
// allowed, nothing else after the number. Empty when it is not one.
std::optional<double> readCompleteNumber(std::string_view text);

// A value written without a format: rounded to 15 significant digits, "." as
// decimal point, "0" before the point below 1, no grouping, no trailing zeros
// (29, 0.735, 4.3094010767585, -53.130102354156). Never the exponent form: a
// text a spreadsheet or a reader takes as it stands (0.000015, 10000000000000000).
std::string plainDecimal(double value);

// A value rounded to 15 significant digits (through its decimal text). The
// few values at the very top of the double range whose rounding exceeds it
// give the largest finite double of their sign.
double roundTo15Digits(double value);

// "#,##0.000" and "#,##0.0000": "," between groups of three integer digits, at
// least one integer digit, exactly three or four decimals. The value is first
// rounded to 15 significant digits, then halves are rounded away from zero at
// the last shown decimal (1.0005 shows 1.001); a leading "-" when the shown
// value is negative.
std::string formatFixed3(double value);
std::string formatFixed4(double value);

// Whole-number digits with "," between groups of three: "1234567" gives
// "1,234,567". Every grouped figure the program writes goes through it.
std::string groupThousands(std::string_view digits);

// Int(x): the largest whole number not greater than x (Int(-2.5) = -3).
double floorToWhole(double x);

// Conversion of a fractional value to a whole number, halves to even.
double roundHalfEven(double x);

// Half-to-even conversion to a 32-bit signed integer; empty when the rounded
// value does not fit.
std::optional<std::int32_t> toInt32HalfEven(double x);

// a mod b: both operands rounded to whole numbers (halves to even), then the
// remainder with the sign of a. Empty when the divisor rounds to 0.
std::optional<double> remainderOfRounded(double a, double b);

}  // namespace kelvane
