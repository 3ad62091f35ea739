#include "core/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

#include "core/decimal_chars.h"

namespace kelvane {
namespace {

// ---------------------------------------------------------------------------
// Reading

// Blanks, tabs and line feeds may stand anywhere in a box's number; a
// carriage return, a comma or any other character ends it.
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Walks a box text, stepping over blanks before every character it looks at.
class Cursor {
 public:
  explicit Cursor(std::string_view text) : text_(text) {}

  // The next character that is not a blank, or '\0' at the end of the text
  // (a NUL in the text ends the number just the same).
  char peek() {
    while (pos_ < text_.size() && isBlank(text_[pos_])) ++pos_;
    return pos_ < text_.size() ? text_[pos_] : '\0';
  }
  void take() { ++pos_; }
  std::size_t pos() const { return pos_; }
  void rewind(std::size_t pos) { pos_ = pos; }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

int hexDigitValue(char c) {
  if (isDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// &H… or &O…: a non-negative whole number; the cursor stands on the "&".
LeadingNumber readPrefixedWholeNumber(Cursor& cur) {
  cur.take();
  const char kind = cur.peek();
  int base = 0;
  if (kind == 'H' || kind == 'h') base = 16;
  if (kind == 'O' || kind == 'o') base = 8;
  if (base == 0) return {};
  cur.take();
  LeadingNumber result;
  for (;;) {
    const int digit = hexDigitValue(cur.peek());
    if (digit < 0 || digit >= base) break;
    cur.take();
    result.value = result.value * base + digit;
    result.end = cur.pos();
  }
  if (!std::isfinite(result.value)) return {0, result.end, true};
  return result;
}

// Keeps the exponent's magnitude far beyond the double range but bounded, so
// that a text of a million exponent digits cannot overflow an integer.
constexpr long long kExponentClamp = 1'000'000'000;

// Decimal exponent of the first significant digit of intDigits.fracDigits.
long long leadingDigitExponent(const std::string& intDigits, const std::string& fracDigits) {
  const auto firstInt = intDigits.find_first_not_of('0');
  if (firstInt != std::string::npos) {
    return static_cast<long long>(intDigits.size() - firstInt) - 1;
  }
  const auto firstFrac = fracDigits.find_first_not_of('0');
  return -static_cast<long long>(firstFrac) - 1;
}

LeadingNumber readDecimal(Cursor& cur) {
  bool negative = false;
  if (cur.peek() == '+' || cur.peek() == '-') {
    negative = cur.peek() == '-';
    cur.take();
  }
  std::string intDigits, fracDigits;
  std::size_t end = 0;
  while (isDigit(cur.peek())) {
    intDigits += cur.peek();
    cur.take();
    end = cur.pos();
  }
  if (cur.peek() == '.') {
    cur.take();
    end = cur.pos();
    while (isDigit(cur.peek())) {
      fracDigits += cur.peek();
      cur.take();
      end = cur.pos();
    }
  }
  if (intDigits.empty() && fracDigits.empty()) return {};

  // The exponent belongs to the number only when at least one digit follows
  // its letter: "1e" and "1e+" read 1.
  long long exponent = 0;
  const char letter = cur.peek();
  if (letter == 'E' || letter == 'e' || letter == 'D' || letter == 'd') {
    const std::size_t beforeLetter = cur.pos();
    cur.take();
    bool negativeExponent = false;
    if (cur.peek() == '+' || cur.peek() == '-') {
      negativeExponent = cur.peek() == '-';
      cur.take();
    }
    bool anyDigit = false;
    while (isDigit(cur.peek())) {
      exponent = std::min(exponent * 10 + (cur.peek() - '0'), kExponentClamp);
      anyDigit = true;
      cur.take();
      end = cur.pos();
    }
    if (!anyDigit) cur.rewind(beforeLetter);
    if (negativeExponent) exponent = -exponent;
  }

  std::string clean = negative ? "-" : "";
  clean += intDigits.empty() ? "0" : intDigits;
  if (!fracDigits.empty()) clean += "." + fracDigits;
  clean += "e" + std::to_string(exponent);

  double value = 0;
  const auto [ptr, ec] = parseDecimal(clean.data(), clean.data() + clean.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // Too large for a double, or so small that it reads as zero.
    const bool tooLarge = leadingDigitExponent(intDigits, fracDigits) + exponent > 0;
    return {0, end, tooLarge};
  }
  return {value, end, false};
}

// ---------------------------------------------------------------------------
// Writing

// A value rounded to 15 significant digits: the digits (exactly 15, the first
// non-zero unless the value is zero) and the decimal exponent of the first.
struct SignificantDigits {
  bool negative = false;
  std::string digits;
  int exponent = 0;
};

SignificantDigits roundToSignificantDigits(double value) {
  std::array<char, 32> buf{};
  const auto result = printScientific(buf.data(), buf.data() + buf.size(), value, 14);
  const std::string_view text(buf.data(), static_cast<std::size_t>(result.ptr - buf.data()));
  SignificantDigits out;
  std::size_t i = 0;
  if (text[i] == '-') {
    out.negative = true;
    ++i;
  }
  const std::size_t ePos = text.find('e');
  for (; i < ePos; ++i) {
    if (text[i] != '.') out.digits += text[i];
  }
  const std::string_view exponentText = text.substr(ePos + 1);
  const std::size_t skipPlus = exponentText.front() == '+' ? 1 : 0;
  std::from_chars(exponentText.data() + skipPlus, exponentText.data() + exponentText.size(),
                  out.exponent);
  return out;
}

bool allZeros(std::string_view digits) {
  return digits.find_first_not_of('0') == std::string_view::npos;
}

// "#,##0.000" / "#,##0.0000" with `places` decimals.
std::string formatFixed(double value, int places) {
  if (!std::isfinite(value)) return "0." + std::string(static_cast<std::size_t>(places), '0');
  const SignificantDigits sig = roundToSignificantDigits(value);

  // The shown value times 10^places, as a digit string: the significant
  // digits up to the last shown decimal, rounded half away from zero on the
  // first digit dropped.
  const int kept = sig.exponent + 1 + places;
  std::string scaled;
  if (kept >= static_cast<int>(sig.digits.size())) {
    scaled = sig.digits + std::string(static_cast<std::size_t>(kept) - sig.digits.size(), '0');
  } else if (kept >= 0) {
    scaled = sig.digits.substr(0, static_cast<std::size_t>(kept));
    if (sig.digits[static_cast<std::size_t>(kept)] >= '5') {
      std::size_t i = scaled.size();
      while (i > 0 && scaled[i - 1] == '9') scaled[--i] = '0';
      if (i == 0) {
        scaled.insert(scaled.begin(), '1');
      } else {
        ++scaled[i - 1];
      }
    }
  }
  const std::size_t width = static_cast<std::size_t>(places) + 1;
  if (scaled.size() < width) scaled.insert(0, width - scaled.size(), '0');

  const std::size_t pointAt = scaled.size() - static_cast<std::size_t>(places);
  const std::string_view all(scaled);
  std::string text = sig.negative && !allZeros(all) ? "-" : "";
  text += groupThousands(all.substr(0, pointAt));
  text += '.';
  text += all.substr(pointAt);
  return text;
}

}  // namespace

LeadingNumber readLeadingNumberDetailed(std::string_view text) {
  Cursor cur(text);
  if (cur.peek() == '&') return readPrefixedWholeNumber(cur);
  return readDecimal(cur);
}

double readLeadingNumber(std::string_view text) { return readLeadingNumberDetailed(text).value; }

std::optional<double> readCompleteNumber(std::string_view text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && isBlank(text[first])) ++first;
  while (last > first && isBlank(text[last - 1])) --last;
  if (first == last) return std::nullopt;
  const std::string_view body = text.substr(first, last - first);
  const LeadingNumber number = readLeadingNumberDetailed(body);
  // A reader that stopped early, read no digit (end stays 0) or overflowed
  // did not see one complete number.
  if (number.overflow || number.end != body.size()) return std::nullopt;
  return number.value;
}

std::string plainDecimal(double value) {
  if (!std::isfinite(value)) return "0";
  const SignificantDigits sig = roundToSignificantDigits(value);
  if (allZeros(sig.digits)) return "0";
  const std::string digits = sig.digits.substr(0, sig.digits.find_last_not_of('0') + 1);
  const int exponent = sig.exponent;
  std::string text = sig.negative ? "-" : "";

  if (exponent < 0) {
    text += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    return text;
  }
  const auto intCount = static_cast<std::size_t>(exponent) + 1;
  if (digits.size() <= intCount) {
    text += digits + std::string(intCount - digits.size(), '0');
  } else {
    text += digits.substr(0, intCount) + "." + digits.substr(intCount);
  }
  return text;
}

double roundTo15Digits(double value) {
  if (!std::isfinite(value)) return value;
  std::array<char, 32> buf{};
  const auto written = printScientific(buf.data(), buf.data() + buf.size(), value, 14);
  double rounded = 0;
  const auto read = parseDecimal(buf.data(), written.ptr, rounded);
  if (read.ec == std::errc::result_out_of_range) {
    // Only the very top of the double range rounds up past the largest
    // double (1.79769313486232E+308); keep the largest finite value instead.
    return std::copysign(std::numeric_limits<double>::max(), value);
  }
  return rounded;
}

std::string formatFixed3(double value) { return formatFixed(value, 3); }
std::string formatFixed4(double value) { return formatFixed(value, 4); }

double floorToWhole(double x) { return std::floor(x); }

double roundHalfEven(double x) {
  if (!std::isfinite(x)) return x;
  const double below = std::floor(x);
  const double fraction = x - below;  // exact: the bits of x below its units
  if (fraction < 0.5) return below;
  if (fraction > 0.5) return below + 1;
  return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

std::optional<std::int32_t> toInt32HalfEven(double x) {
  const double rounded = roundHalfEven(x);
  if (!std::isfinite(rounded) || rounded < -2147483648.0 || rounded > 2147483647.0) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(rounded);
}

std::optional<double> remainderOfRounded(double a, double b) {
  if (!std::isfinite(a) || !std::isfinite(b)) return std::nullopt;
  const double divisor = roundHalfEven(b);
  if (divisor == 0) return std::nullopt;
  const double remainder = std::fmod(roundHalfEven(a), divisor);
  return remainder == 0 ? 0.0 : remainder;  // a whole remainder has no sign
}

std::string groupThousands(std::string_view digits) {
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

}  // namespace kelvane
