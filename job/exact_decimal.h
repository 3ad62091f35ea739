#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <vector>

namespace kelvane::job {

// A whole number of 0 or more, of any size, exact: the few operations money
// needs to be worked out as a person does it on paper (add, multiply,
// compare). The prices of a coil are sums and products of a dozen decimals,
// each of up to 17 digits, so the numbers stay within a few hundred digits
// even for the most extreme terms a job may hold.
class ExactWhole {
 public:
  ExactWhole() = default;
  ExactWhole(std::uint64_t value);  // NOLINT(google-explicit-constructor): a whole number is one

  ExactWhole& operator+=(const ExactWhole& other);
  friend ExactWhole operator+(ExactWhole a, const ExactWhole& b) { return a += b; }
  friend ExactWhole operator*(const ExactWhole& a, const ExactWhole& b);
  // This number times 10^power.
  ExactWhole timesTenTo(int power) const;

  friend std::strong_ordering operator<=>(const ExactWhole& a, const ExactWhole& b);
  friend bool operator==(const ExactWhole& a, const ExactWhole& b) = default;

 private:
  ExactWhole& timesSmall(std::uint32_t factor);
  // Base 2^32, least significant first, no leading zero limbs (0 has none).
  std::vector<std::uint32_t> limbs_;
};

// A decimal of 0 or more, exactly: digits × 10^exponent.
struct ExactDecimal {
  ExactWhole digits;
  int exponent = 0;
};
ExactDecimal operator+(const ExactDecimal& a, const ExactDecimal& b);
ExactDecimal operator*(const ExactDecimal& a, const ExactDecimal& b);

// The decimal a figure was typed as: the shortest decimal that reads back as
// `value` (1100 for 1100, 0.1 for the double nearest 0.1, not 0.1000…0555).
// `value` is finite and not negative.
ExactDecimal typedDecimal(double value);

// `value` to 15 significant digits, as the results table writes it.
ExactDecimal fifteenDigitDecimal(double value);

// numerator / denominator rounded half up to a whole number, or nothing when
// that is above `most` (from 0 to 2^62) or the denominator is 0.
std::optional<std::int64_t> halfUpQuotient(const ExactDecimal& numerator,
                                           const ExactDecimal& denominator, std::int64_t most);

// Whether a < b.
bool less(const ExactDecimal& a, const ExactDecimal& b);

}  // namespace kelvane::job
