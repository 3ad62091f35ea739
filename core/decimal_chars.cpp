#include "core/decimal_chars.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <system_error>

namespace kelvane {
namespace portable {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The C library writes and reads the decimal point of the C locale's
// LC_NUMERIC category; a program may have switched it to the user's (Qt
// does at start-up), so the point is swapped for whatever the locale uses.
std::string_view localePoint() {
  const char* point = std::localeconv()->decimal_point;
  return point && *point ? point : ".";
}

// A NUL-terminated copy of a number for strtod, its point as the locale
// writes it.
std::string inLocale(std::string_view number) {
  std::string text;
  const std::string_view point = localePoint();
  for (char c : number) {
    if (c == '.') {
      text += point;
    } else {
      text += c;
    }
  }
  return text;
}

// Copies the C library's text to [first, last), its decimal point as ".".
std::to_chars_result written(char* first, char* last, int count, const char* text) {
  if (count < 0) return {last, std::errc::value_too_large};
  const std::string_view in(text, static_cast<std::size_t>(count));
  const std::string_view point = localePoint();
  std::size_t i = 0;
  while (i < in.size()) {
    if (first == last) return {last, std::errc::value_too_large};
    if (in.substr(i, point.size()) == point) {
      *first++ = '.';
      i += point.size();
    } else {
      *first++ = in[i++];
    }
  }
  return {first, std::errc()};
}

std::to_chars_result print(char* first, char* last, double value, int precision, char format) {
  // The longest fixed text of a double: 309 whole digits, the point and the
  // decimals asked for; the callers ask for a handful.
  if (precision < 0 || precision > 100) return {last, std::errc::value_too_large};
  char text[512];
  const char pattern[] = {'%', '.', '*', format, '\0'};
  const int count = std::snprintf(text, sizeof text, pattern, precision, value);
  if (count >= static_cast<int>(sizeof text)) return {last, std::errc::value_too_large};
  return written(first, last, count, text);
}

}  // namespace

std::from_chars_result parseDecimal(const char* first, const char* last, double& value) {
  // The extent of the number, found here so that strtod reads exactly what
  // std::from_chars would: no blanks, no '+', no hexadecimal, no "inf".
  const char* p = first;
  if (p != last && *p == '-') ++p;
  const char* digits = p;
  bool nonZero = false;
  while (p != last && isDigit(*p)) nonZero |= *p++ != '0';
  bool any = p != digits;
  if (p != last && *p == '.') {
    const char* fraction = ++p;
    while (p != last && isDigit(*p)) nonZero |= *p++ != '0';
    any |= p != fraction;
    if (!any) p = fraction - 1;
  }
  if (!any) return {first, std::errc::invalid_argument};
  if (p != last && (*p == 'e' || *p == 'E')) {
    const char* q = p + 1;
    if (q != last && (*q == '+' || *q == '-')) ++q;
    if (q != last && isDigit(*q)) {
      while (q != last && isDigit(*q)) ++q;
      p = q;
    }
  }

  const std::string text = inLocale(std::string_view(first, static_cast<std::size_t>(p - first)));
  const double read = std::strtod(text.c_str(), nullptr);
  // strtod gives infinity on overflow and zero on underflow; a subnormal
  // result (errno set all the same) is a value, as std::from_chars has it.
  if (std::isinf(read) || (read == 0 && nonZero)) return {p, std::errc::result_out_of_range};
  value = read;
  return {p, std::errc()};
}

std::to_chars_result printScientific(char* first, char* last, double value, int precision) {
  return print(first, last, value, precision, 'e');
}

std::to_chars_result printFixed(char* first, char* last, double value, int precision) {
  return print(first, last, value, precision, 'f');
}

double shortestDecimal(float value) {
  if (!std::isfinite(value)) return value;
  // The fewest significant digits that read back as the same float (a float
  // needs at most nine); printf rounds them correctly, so they are also the
  // closest such digits.
  char text[64];
  std::to_chars_result end{};
  int digits = 1;
  for (; digits <= 9; ++digits) {
    end = printScientific(text, text + sizeof text - 1, value, digits - 1);
    *end.ptr = '\0';
    if (std::strtof(inLocale(text).c_str(), nullptr) == value) break;
  }
  double read = 0;
  parseDecimal(text, end.ptr, read);
  // Where the whole number written out is no longer than the exponent form
  // ("6528615424" against "6.5286154e+09"), the shortest text is the whole
  // number, every digit of the float's exact value.
  const int exponent = std::atoi(std::strchr(text, 'e') + 1);
  const int scientificLength = digits + (digits > 1 ? 1 : 0) + 4;
  if (exponent >= digits && exponent + 1 <= scientificLength) return value;
  return read;
}

}  // namespace portable

#ifdef KELVANE_HAVE_FLOAT_CHARCONV

double shortestDecimal(float value) {
  if (!std::isfinite(value)) return value;
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value);
  double read = 0;
  std::from_chars(text, end.ptr, read);
  return read;
}

std::from_chars_result parseDecimal(const char* first, const char* last, double& value) {
  return std::from_chars(first, last, value, std::chars_format::general);
}

std::to_chars_result printScientific(char* first, char* last, double value, int precision) {
  return std::to_chars(first, last, value, std::chars_format::scientific, precision);
}

std::to_chars_result printFixed(char* first, char* last, double value, int precision) {
  return std::to_chars(first, last, value, std::chars_format::fixed, precision);
}

#else

double shortestDecimal(float value) { return portable::shortestDecimal(value); }

std::from_chars_result parseDecimal(const char* first, const char* last, double& value) {
  return portable::parseDecimal(first, last, value);
}

std::to_chars_result printScientific(char* first, char* last, double value, int precision) {
  return portable::printScientific(first, last, value, precision);
}

std::to_chars_result printFixed(char* first, char* last, double value, int precision) {
  return portable::printFixed(first, last, value, precision);
}

#endif

}  // namespace kelvane
