#include "job/exact_decimal.h"

#include <algorithm>
#include <charconv>
#include <string_view>
#include <utility>

#include "core/decimal_chars.h"

namespace kelvane::job {
namespace {

constexpr std::uint64_t kLimbBase = std::uint64_t{1} << 32;

// The decimal a text of printScientific gives, "d.ddde±XX": every digit
// written, so the value is exactly the text's (at most 17 digits, which a
// 64-bit whole number holds).
ExactDecimal fromScientific(std::string_view text) {
  std::uint64_t digits = 0;
  int decimals = 0;
  bool afterPoint = false;
  std::size_t i = 0;
  for (; i < text.size() && text[i] != 'e'; ++i) {
    if (text[i] == '.') {
      afterPoint = true;
      continue;
    }
    digits = digits * 10 + std::uint64_t(text[i] - '0');
    if (afterPoint) ++decimals;
  }
  int exponent = 0;
  if (i + 1 < text.size()) {
    const char* first = text.data() + i + 1;
    if (*first == '+') ++first;
    std::from_chars(first, text.data() + text.size(), exponent);
  }
  return {ExactWhole(digits), exponent - decimals};
}

// a and b as whole numbers of the same power of ten: a's digits, b's digits.
std::pair<ExactWhole, ExactWhole> aligned(const ExactDecimal& a, const ExactDecimal& b) {
  const int exponent = std::min(a.exponent, b.exponent);
  return {a.digits.timesTenTo(a.exponent - exponent), b.digits.timesTenTo(b.exponent - exponent)};
}

}  // namespace

ExactWhole::ExactWhole(std::uint64_t value) {
  while (value != 0) {
    limbs_.push_back(std::uint32_t(value % kLimbBase));
    value /= kLimbBase;
  }
}

ExactWhole& ExactWhole::operator+=(const ExactWhole& other) {
  if (limbs_.size() < other.limbs_.size()) limbs_.resize(other.limbs_.size(), 0);
  std::uint64_t carry = 0;
  for (std::size_t i = 0; i < limbs_.size(); ++i) {
    carry += limbs_[i];
    if (i < other.limbs_.size()) carry += other.limbs_[i];
    limbs_[i] = std::uint32_t(carry % kLimbBase);
    carry /= kLimbBase;
  }
  if (carry != 0) limbs_.push_back(std::uint32_t(carry));
  return *this;
}

ExactWhole operator*(const ExactWhole& a, const ExactWhole& b) {
  ExactWhole product;
  if (a.limbs_.empty() || b.limbs_.empty()) return product;
  product.limbs_.assign(a.limbs_.size() + b.limbs_.size(), 0);
  for (std::size_t i = 0; i < a.limbs_.size(); ++i) {
    // Each step stays below 2^64: (2^32 - 1)^2 + 2 (2^32 - 1) = 2^64 - 1.
    std::uint64_t carry = 0;
    for (std::size_t j = 0; j < b.limbs_.size(); ++j) {
      carry += std::uint64_t(a.limbs_[i]) * b.limbs_[j] + product.limbs_[i + j];
      product.limbs_[i + j] = std::uint32_t(carry % kLimbBase);
      carry /= kLimbBase;
    }
    product.limbs_[i + b.limbs_.size()] = std::uint32_t(carry);
  }
  while (!product.limbs_.empty() && product.limbs_.back() == 0) product.limbs_.pop_back();
  return product;
}

ExactWhole& ExactWhole::timesSmall(std::uint32_t factor) {
  std::uint64_t carry = 0;
  for (std::uint32_t& limb : limbs_) {
    carry += std::uint64_t(limb) * factor;
    limb = std::uint32_t(carry % kLimbBase);
    carry /= kLimbBase;
  }
  if (carry != 0) limbs_.push_back(std::uint32_t(carry));
  if (factor == 0) limbs_.clear();
  return *this;
}

ExactWhole ExactWhole::timesTenTo(int power) const {
  ExactWhole result = *this;
  for (; power >= 9; power -= 9) result.timesSmall(1'000'000'000);
  std::uint32_t rest = 1;
  for (; power > 0; --power) rest *= 10;
  return result.timesSmall(rest);
}

std::strong_ordering operator<=>(const ExactWhole& a, const ExactWhole& b) {
  if (a.limbs_.size() != b.limbs_.size()) return a.limbs_.size() <=> b.limbs_.size();
  for (std::size_t i = a.limbs_.size(); i-- > 0;) {
    if (a.limbs_[i] != b.limbs_[i]) return a.limbs_[i] <=> b.limbs_[i];
  }
  return std::strong_ordering::equal;
}

ExactDecimal operator+(const ExactDecimal& a, const ExactDecimal& b) {
  std::pair<ExactWhole, ExactWhole> wholes = aligned(a, b);
  return {wholes.first += wholes.second, std::min(a.exponent, b.exponent)};
}

ExactDecimal operator*(const ExactDecimal& a, const ExactDecimal& b) {
  return {a.digits * b.digits, a.exponent + b.exponent};
}

ExactDecimal typedDecimal(double value) {
  if (value == 0) return {};
  char text[40];
  // The fewest significant digits that read back as the value; 17 always do.
  for (int precision = 0; precision < 16; ++precision) {
    const char* end = printScientific(text, text + sizeof text, value, precision).ptr;
    double back = 0;
    parseDecimal(text, end, back);
    if (back == value) return fromScientific({text, std::size_t(end - text)});
  }
  const char* end = printScientific(text, text + sizeof text, value, 16).ptr;
  return fromScientific({text, std::size_t(end - text)});
}

ExactDecimal fifteenDigitDecimal(double value) {
  if (value == 0) return {};
  char text[40];
  const char* end = printScientific(text, text + sizeof text, value, 14).ptr;
  return fromScientific({text, std::size_t(end - text)});
}

std::optional<std::int64_t> halfUpQuotient(const ExactDecimal& numerator,
                                           const ExactDecimal& denominator, std::int64_t most) {
  const std::pair<ExactWhole, ExactWhole> wholes = aligned(numerator, denominator);
  const ExactWhole& n = wholes.first;
  const ExactWhole& d = wholes.second;
  if (d == ExactWhole()) return std::nullopt;
  // The quotient half up is the largest k with k - 1/2 <= n / d, that is
  // 2k·d <= 2n + d; k = 0 always is one.
  const ExactWhole bound = n + n + d;
  const auto fits = [&d, &bound](std::int64_t k) {
    return ExactWhole(2 * std::uint64_t(k)) * d <= bound;
  };
  if (fits(most + 1)) return std::nullopt;
  std::int64_t low = 0;          // fits
  std::int64_t high = most + 1;  // does not
  while (high - low > 1) {
    const std::int64_t middle = low + (high - low) / 2;
    (fits(middle) ? low : high) = middle;
  }
  return low;
}

bool less(const ExactDecimal& a, const ExactDecimal& b) {
  const std::pair<ExactWhole, ExactWhole> wholes = aligned(a, b);
  return wholes.first < wholes.second;
}

}  // namespace kelvane::job
