#pragma once

#include <charconv>

namespace kelvane {

// Decimal text of doubles, both ways, as <charconv> gives it: correctly
// rounded, independent of the locale, no allocation. Where the C++ library
// lacks the floating-point overloads (the WebAssembly build's), the same
// results come from the C library's correctly rounded strtod and snprintf.

// A decimal number at the start of [first, last): an optional '-', digits
// with at most one '.', an optional exponent (e or E, an optional sign,
// digits). As std::from_chars with chars_format::general, except that
// "inf" and "nan" are not read. result_out_of_range when the value is too
// large for a double or so small that it rounds to zero; `value` is then
// left alone.
std::from_chars_result parseDecimal(const char* first, const char* last, double& value);

// `value` with `precision` digits after the point, in the form
// "d.ddddde+XX" (scientific) or "ddd.dd" (fixed), as std::to_chars with
// that format and precision writes it.
std::to_chars_result printScientific(char* first, char* last, double value, int precision);
std::to_chars_result printFixed(char* first, char* last, double value, int precision);

// The value of the shortest decimal that reads back as `value` (1890.29f
// gives 1890.29, not the float's own 1890.290039…), as a double.
double shortestDecimal(float value);

// The same four through the C library, whatever the C++ library has; the
// ones above use them where <charconv> falls short. Tested against each other.
namespace portable {
std::from_chars_result parseDecimal(const char* first, const char* last, double& value);
std::to_chars_result printScientific(char* first, char* last, double value, int precision);
std::to_chars_result printFixed(char* first, char* last, double value, int precision);
double shortestDecimal(float value);
}  // namespace portable

}  // namespace kelvane
