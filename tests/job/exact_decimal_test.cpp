// The exact whole numbers and decimals money is worked out in: carries
// across limbs, the decimal a double was typed as, and rounding a quotient
// half up at the exact half.
#include <gtest/gtest.h>

#include <limits>

#include "job/exact_decimal.h"

namespace kelvane::job {
namespace {

constexpr std::uint64_t kMax64 = std::numeric_limits<std::uint64_t>::max();

bool sameValue(const ExactDecimal& a, const ExactDecimal& b) { return !less(a, b) && !less(b, a); }

TEST(ExactWhole, CarriesAcrossEveryLimb) {
  const ExactWhole limb = std::uint64_t{1} << 32;
  const ExactWhole twoTo128 = limb * limb * limb * limb;
  // (2^64 - 1)^2 + 2 (2^64 - 1) + 1 = 2^128.
  const ExactWhole max = kMax64;
  EXPECT_EQ(max * max + max + max + 1, twoTo128);
  EXPECT_LT(max * max + max + max, twoTo128);
  const ExactWhole tenTo19 = 10'000'000'000'000'000'000u;
  EXPECT_EQ(ExactWhole(1).timesTenTo(40), tenTo19 * tenTo19 * ExactWhole(100));
  EXPECT_EQ(ExactWhole(7).timesTenTo(19), ExactWhole(7'000'000'000'000'000'000u) * ExactWhole(10));
  EXPECT_EQ(ExactWhole(0) * max, ExactWhole());
  EXPECT_EQ(ExactWhole(0).timesTenTo(30), ExactWhole());
  EXPECT_GT(ExactWhole(1).timesTenTo(20), max);
}

struct Typed {
  double value;
  std::uint64_t digits;
  int exponent;
};

// A figure is read back as the decimal that was typed, never as the binary
// fraction the double holds.
TEST(ExactDecimal, TypedDecimalIsTheShortestThatReadsBack) {
  const Typed rows[] = {{0, 0, 0},
                        {1100, 11, 2},
                        {0.1, 1, -1},
                        {12.345, 12345, -3},
                        {102'419'753.0846, 1'024'197'530'846, -4},
                        {0.1 + 0.2, 30'000'000'000'000'004, -17},
                        {5e-324, 5, -324},
                        {std::numeric_limits<double>::max(), 17'976'931'348'623'157, 292}};
  for (const Typed& row : rows) {
    EXPECT_TRUE(sameValue(typedDecimal(row.value), {row.digits, row.exponent})) << row.value;
  }
  // Fifteen significant digits, as the results table writes the wire's mass.
  EXPECT_TRUE(sameValue(fifteenDigitDecimal(1.0 / 3), {333'333'333'333'333, -15}));
  EXPECT_TRUE(sameValue(fifteenDigitDecimal(3.30534616221503e-05), {330'534'616'221'503, -19}));
  EXPECT_TRUE(sameValue(fifteenDigitDecimal(0.0125), {125, -4}));
}

struct Quotient {
  const char* name;
  ExactDecimal numerator;
  ExactDecimal denominator;
  std::int64_t most;
  std::optional<std::int64_t> halfUp;
};

TEST(ExactDecimal, QuotientRoundsHalfUpAtTheExactHalf) {
  const ExactWhole half300 = ExactWhole(5).timesTenTo(300);
  const Quotient rows[] = {
      {"Half", {1, 0}, {2, 0}, 10, 1},
      {"Third", {1, 0}, {3, 0}, 10, 0},
      {"TwoThirds", {2, 0}, {3, 0}, 10, 1},
      {"DecimalHalf", {745, -1}, {1, 0}, 100, 75},  // 74.5
      {"ExponentsApart", {1, 3}, {8, -2}, 100'000'000, 12'500},
      {"ZeroDenominator", {5, 0}, {}, 10, std::nullopt},
      {"Nothing", {}, {7, 0}, 10, 0},
      {"AtTheLimit", {100'000'000'000, 0}, {1, 0}, 100'000'000'000, 100'000'000'000},
      {"AboveTheLimit", {100'000'000'001, 0}, {1, 0}, 100'000'000'000, std::nullopt},
      {"RoundsOverTheLimit", {1'999, 0}, {2, 0}, 999, std::nullopt},  // 999.5 → 1000
      {"LongHalf", {half300, 0}, {1, 301}, 10, 1},
      {"LongTwentieth", {half300, -1}, {1, 301}, 10, 0},
      {"LongJustAboveHalf", {half300 + 1, 0}, {1, 301}, 10, 1},
      {"LongJustBelowHalf", {half300, 0}, {ExactWhole(1).timesTenTo(301) + 1, 0}, 10, 0}};
  for (const Quotient& row : rows) {
    EXPECT_EQ(halfUpQuotient(row.numerator, row.denominator, row.most), row.halfUp) << row.name;
  }
}

}  // namespace
}  // namespace kelvane::job
