// The price of a coil: hand-worked quotes, the rounding a person does, and
// every set of terms that cannot be priced.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "job/quotation.h"
#include "job_fixtures.h"

namespace kelvane::job {
namespace {

QuotationTerms coilTerms() { return test::smallCoilTerms({100, 1000, 10000}); }

// Terms whose 原価 is the parts alone, `yen` a piece, for rounding cases.
QuotationTerms partsOnly(double yen, std::int64_t quantity, double overheadPercent = 0) {
  QuotationTerms t;
  t.windingRpm = 1;
  t.parts = {{"部材", yen}};
  t.overheadPercent = overheadPercent;
  t.quantities = {quantity};
  return t;
}

struct Priced {
  const char* name;
  double wireMassKg;
  double turns;
  QuotationTerms terms;
  std::vector<std::int64_t> unitPriceSen;  // per lot
  std::vector<std::int64_t> amountYen;     // per lot
  std::int64_t taxYen;
  friend void PrintTo(const Priced& p, std::ostream* os) { *os << p.name; }
};

class PriceCoil : public ::testing::TestWithParam<Priced> {};

TEST_P(PriceCoil, GivesTheHandWorkedFigures) {
  const Priced& p = GetParam();
  const Expected<Quote> quote = priceCoil(p.wireMassKg, p.turns, p.terms);
  ASSERT_TRUE(quote) << quote.message();
  ASSERT_EQ(quote->lots.size(), p.unitPriceSen.size());
  for (std::size_t i = 0; i < quote->lots.size(); ++i) {
    EXPECT_EQ(quote->lots[i].quantity, p.terms.quantities[i]);
    EXPECT_EQ(quote->lots[i].unitPriceSen, p.unitPriceSen[i]) << "lot " << i;
    EXPECT_EQ(quote->lots[i].amountYen, p.amountYen[i]) << "lot " << i;
  }
  EXPECT_EQ(quote->subtotalYen, p.amountYen.front());
  EXPECT_EQ(quote->taxYen, p.taxYen);
  EXPECT_EQ(quote->totalYen, p.amountYen.front() + p.taxYen);
}

INSTANTIATE_TEST_SUITE_P(
    Quotes, PriceCoil,
    ::testing::Values(
        // 材料費 0.0125 × 1.05 × 1500 = 19.6875; 部材費 37.5; 加工費
        // (500/1200 + 0.5 + 30/Q) / 60 × 3000 = 60.8333…, 47.3333…, 45.9833…;
        // 単価 = 原価 × 1.1 × 1.15: 149.2963…, 132.2188…, 130.5111….
        Priced{"SmallTransformer",
               0.0125,
               500,
               coilTerms(),
               {14930, 13222, 13051},
               {14930, 132220, 1305100},
               1493},
        // 12.345 is held as 12.3449999…: still 12.35, as on paper.
        Priced{"HalfSenHeldBelow", 0, 0, partsOnly(12.345, 1), {1235}, {12}, 1},
        // 1.14 × 1.25 = 1.425 is computed as 1.4249999999999998.
        Priced{"HalfSenFromProduct", 0, 0, partsOnly(1.14, 1, 25), {143}, {1}, 0},
        Priced{"JustBelowHalfSen", 0, 0, partsOnly(12.3449, 1), {1234}, {12}, 1},
        // 149.35 円 × 1 is 149 円 (half up at 0.35 is down); tax 14.9 → 14.
        Priced{"TaxRoundsDown", 0, 0, partsOnly(149.35, 1), {14935}, {149}, 14},
        // 0.05 円 × 10 = 0.5 円 → 1 円; × 9 = 0.45 円 → 0 円.
        Priced{"AmountHalfUp", 0, 0, partsOnly(0.05, 10), {5}, {1}, 0},
        Priced{"AmountBelowHalf", 0, 0, partsOnly(0.05, 9), {5}, {0}, 0},
        // The largest lot at the dearest piece still fits: 999,999,999.99 円
        // × 10^9 = 999,999,999,990,000,000 円.
        Priced{"LargestFigures",
               0,
               0,
               partsOnly(999'999'999.99, 1'000'000'000),
               {99'999'999'999},
               {999'999'999'990'000'000},
               99'999'999'999'000'000},
        // Nothing to pay for: a coil of nothing, priced at nothing.
        Priced{"Free", 0, 0, partsOnly(0, 1), {0}, {0}, 0},
        // Above 10^7 円 twelve significant digits no longer reach the sen:
        // rounding through them gave .09 and .13.
        Priced{"TenDigitYen",
               0,
               0,
               partsOnly(102'419'753.0846, 1),
               {10'241'975'308},
               {102'419'753},
               10'241'975},
        Priced{"EightDigitYen",
               0,
               0,
               partsOnly(12'345'678.12496, 1),
               {1'234'567'812},
               {12'345'678},
               1'234'567},
        // The half sen exactly, from s / Q: (1/10) / 60 × 3 = 0.005 円; at
        // Q = 11 it is 0.004545… 円.
        Priced{"HalfSenFromDivision",
               0,
               0,
               [] {
                 QuotationTerms t = partsOnly(0, 10);
                 t.setupMinutes = 1;
                 t.labourYenPerHour = 3;
                 t.quantities = {10, 11};
                 return t;
               }(),
               {1, 0},
               {0, 0},
               0},
        // 0.123456789 + 0.001543211 is exactly the half sen 0.125.
        Priced{"PartsAddToAHalf",
               0,
               0,
               [] {
                 QuotationTerms t = partsOnly(0.123456789, 1);
                 t.parts.push_back({"端子", 0.001543211});
                 return t;
               }(),
               {13},
               {0},
               0},
        // The half sen just below 10^9 円 rounds up to 10^9 円; a millionth of
        // a yen less, down to 999,999,999.99 円 (金額 1,000,000,000 円).
        Priced{"HalfSenAtTheTop",
               0,
               0,
               partsOnly(999'999'999.995, 1),
               {100'000'000'000},
               {1'000'000'000},
               100'000'000},
        Priced{"BelowHalfAtTheTop",
               0,
               0,
               partsOnly(999'999'999.994999, 1),
               {99'999'999'999},
               {1'000'000'000},
               100'000'000},
        // 999,999,999.99 × (1 + 10^-11) = 999,999,999.9999999999999 円 is still
        // below 10^9 円 (a double says 1e9).
        Priced{"JustBelowTheLimit",
               0,
               0,
               partsOnly(999'999'999.99, 1, 1e-9),
               {100'000'000'000},
               {1'000'000'000},
               100'000'000},
        // w is taken to the 15 significant digits the results table writes:
        // 0.9999999999999996 kg is 1 kg, and 100,000,000.005 円 a half sen.
        Priced{"MassToFifteenDigits",
               0.9999999999999996,
               0,
               [] {
                 QuotationTerms t = partsOnly(0, 1);
                 t.parts.clear();
                 t.wireYenPerKg = 100'000'000.005;
                 return t;
               }(),
               {10'000'000'001},
               {100'000'000},
               10'000'000},
        // Every term with many decimals typed, redone in exact fractions:
        // 586.02247…, 176.63015…, 173.74421… 円.
        Priced{"ManyDecimals",
               0.0371,
               1234,
               [] {
                 QuotationTerms t;
                 t.wireYenPerKg = 1799.99999999;
                 t.lossPercent = 3.333333333;
                 t.windingRpm = 1234.5678;
                 t.handlingMinutes = 0.123456789;
                 t.setupMinutes = 45.678901234;
                 t.labourYenPerHour = 3000.000001;
                 t.parts = {{"ボビン", 12.3456789}, {"テープ", 0.0000001}};
                 t.overheadPercent = 9.87654321;
                 t.profitPercent = 15.0000001;
                 t.quantities = {7, 1000, 999'999'937};
                 return t;
               }(),
               {58'602, 17'663, 17'374},
               {4'102, 176'630, 173'739'989'054},
               410}),
    [](const auto& info) { return info.param.name; });

// Over many lot sizes and figures: a larger lot never costs more a piece,
// and every 金額 is its 単価 times the lot, half up, as a person multiplies.
TEST(PriceCoil, UnitPriceFallsWithQuantityAndAmountIsUnitPriceTimesQuantity) {
  const std::int64_t lots[] = {1, 2, 3, 7, 10, 99, 100, 101, 333, 1000, 4999, 65536, 1'000'000};
  for (double setup : {0.0, 0.7, 30.0, 45.5, 600.0}) {
    for (double rate : {1.0, 2999.99, 3000.0, 4567.8}) {
      QuotationTerms t = coilTerms();
      t.setupMinutes = setup;
      t.labourYenPerHour = rate;
      std::int64_t previousSen = std::numeric_limits<std::int64_t>::max();
      for (std::int64_t q : lots) {
        t.quantities = {q};
        const Expected<Quote> quote = priceCoil(0.0371, 1234, t);
        ASSERT_TRUE(quote) << quote.message();
        const LotPrice& lot = quote->lots.front();
        EXPECT_LE(lot.unitPriceSen, previousSen) << "setup " << setup << " rate " << rate;
        previousSen = lot.unitPriceSen;
        EXPECT_EQ(lot.amountYen, (lot.unitPriceSen * q + 50) / 100);
      }
    }
  }
}

struct Unpriceable {
  const char* name;
  double wireMassKg = 0.01;
  double turns = 100;
  QuotationTerms terms;
  std::string says;
  friend void PrintTo(const Unpriceable& u, std::ostream* os) { *os << u.name; }
};

QuotationTerms with(void (*change)(QuotationTerms&)) {
  QuotationTerms t = coilTerms();
  change(t);
  return t;
}

class Unpriced : public ::testing::TestWithParam<Unpriceable> {};

TEST_P(Unpriced, NamesTheTerm) {
  const Unpriceable& u = GetParam();
  const Expected<Quote> quote = priceCoil(u.wireMassKg, u.turns, u.terms);
  ASSERT_FALSE(quote);
  EXPECT_NE(quote.message().find(u.says), std::string::npos) << quote.message();
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Terms, Unpriced,
    ::testing::Values(
        Unpriceable{"NoQuantity", 0.01, 100, with([](QuotationTerms& t) { t.quantities.clear(); }),
                    "「数量」がありません"},
        Unpriceable{"SixQuantities", 0.01, 100,
                    with([](QuotationTerms& t) { t.quantities = {1, 2, 3, 4, 5, 6}; }),
                    "「数量」が多すぎます（5 つまで）"},
        Unpriceable{"QuantityZero", 0.01, 100, with([](QuotationTerms& t) {
                      t.quantities = {100, 0};
                    }),
                    "「数量」は 1 から 1,000,000,000 まで"},
        Unpriceable{"StandingWinder", 0.01, 100, with([](QuotationTerms& t) { t.windingRpm = 0; }),
                    "「巻線速度」が 0 では"},
        Unpriceable{"NegativeLoss", 0.01, 100, with([](QuotationTerms& t) { t.lossPercent = -1; }),
                    "「ロス率」は 0 以上の数"},
        Unpriceable{"WirePriceNaN", 0.01, 100,
                    with([](QuotationTerms& t) { t.wireYenPerKg = kNaN; }),
                    "「線材単価」は 0 以上"},
        Unpriceable{"PartNegative", 0.01, 100,
                    with([](QuotationTerms& t) { t.parts[1].yenPerPiece = -2.5; }),
                    "部材「テープ」の単価は 0 以上"},
        Unpriceable{"TwentyOneParts", 0.01, 100,
                    with([](QuotationTerms& t) { t.parts.resize(21); }),
                    "「部材」が多すぎます（20 個まで）"},
        Unpriceable{"MassUnknown", kNaN, 100, coilTerms(), "線材の重量が求まっていない"},
        Unpriceable{"WireTooDear", 0.01, 100,
                    with([](QuotationTerms& t) { t.wireYenPerKg = 1e300; }),
                    "材料費が大きすぎます"},
        // An overflowing loss times a free wire is no price either.
        Unpriceable{"InfiniteTimesFree", 1e10, 100, with([](QuotationTerms& t) {
                      t.lossPercent = 1e308;
                      t.wireYenPerKg = 0;
                    }),
                    "材料費が大きすぎます"},
        Unpriceable{"SlowWinder", 0.01, 1e12, with([](QuotationTerms& t) { t.windingRpm = 1e-6; }),
                    "加工費が大きすぎます"},
        // 500,000,000 円 with 100 % overhead is 10^9 円 exactly: too large.
        Unpriceable{"UnitPriceAtTheLimit", 0, 0, partsOnly(500'000'000, 1, 100),
                    "単価が大きすぎます"},
        Unpriceable{"ProfitTooHigh", 0.01, 100,
                    with([](QuotationTerms& t) { t.profitPercent = 1e12; }), "単価が大きすぎます"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace kelvane::job
