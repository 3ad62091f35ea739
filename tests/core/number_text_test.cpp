#include "core/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace kelvane {
namespace {

using namespace std::string_literals;

struct ReadCase {
  std::string text;
  double value;
  std::size_t end;
  bool overflow = false;
};

TEST(LeadingNumber, ReadsTheNumberAtTheStartOfABox) {
  const std::vector<ReadCase> cases = {
      {"", 0, 0},
      {"10abc", 10, 2},
      {"1,234.5", 1, 1},
      {"1 2", 12, 3},
      {"  - 1 . 5  ", -1.5, 9},
      {"\t7\n", 7, 2},
      {"1\r2", 1, 1},
      {".5", 0.5, 2},
      {"5.", 5, 2},
      {"1.2.3", 1.2, 3},
      {"-", 0, 0},
      {"+", 0, 0},
      {".", 0, 0},
      {"+-1", 0, 0},
      {"+3", 3, 2},
      {"-0", 0, 2},
      {"1e", 1, 1},
      {"1e+", 1, 1},
      {"2d3", 2000, 3},
      {"1.5E-2x", 0.015, 6},
      {"1 e 2", 100, 5},
      {"&HFF", 255, 4},
      {"&hff", 255, 4},
      {"&O17", 15, 4},
      {"&O8", 0, 0},
      {"&H", 0, 0},
      {"&X1", 0, 0},
      {"-&H1", 0, 0},
      {"1e400", 0, 5, true},
      {std::string(400, '9'), 0, 400, true},
      {"1e99999999999999999999999", 0, 25, true},
      {"1e-400", 0, 6},
      {"0e99999999999999999999", 0, 22},
      {"0." + std::string(400, '0') + "1", 0, 403},
      {"1" + std::string(400, '0') + "e-400", 1, 406},
      {"0.1", 0.1, 3},
      {"１２", 0, 0},  // full-width digits are not digits
      {"3巻き", 3, 1},
      {"4\0"
       "5"s,
       4, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("text: " + c.text);
    const LeadingNumber n = readLeadingNumberDetailed(c.text);
    EXPECT_EQ(n.value, c.value);
    EXPECT_EQ(n.end, c.end);
    EXPECT_EQ(n.overflow, c.overflow);
    EXPECT_EQ(readLeadingNumber(c.text), c.value);
  }
}

TEST(LeadingNumber, ConvertsDigitsCorrectlyRounded) {
  EXPECT_EQ(readLeadingNumber("4.3094010767585"), 4.3094010767585);
  EXPECT_EQ(readLeadingNumber("1.7976931348623157e308"), std::numeric_limits<double>::max());
  EXPECT_EQ(readLeadingNumber("&H" + std::string(300, 'F')), 0);
  EXPECT_TRUE(readLeadingNumberDetailed("&H" + std::string(300, 'F')).overflow);
}

TEST(CompleteNumber, AcceptsOnlyOneWholeNumber) {
  const std::vector<std::pair<std::string, std::optional<double>>> cases = {
      {"0.2", 0.2},
      {"  0.2 \t\n", 0.2},
      {"1 2", 12},
      {"-0.5", -0.5},
      {"5.", 5},
      {".5", 0.5},
      {"1e3", 1000},
      {"&HFF", 255},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"0.2mm", std::nullopt},
      {"1e", std::nullopt},
      {"-", std::nullopt},
      {".", std::nullopt},
      {"1.2.3", std::nullopt},
      {"0.2\r", std::nullopt},
      {"1,5", std::nullopt},
      {"1e400", std::nullopt},
      {"&H", std::nullopt},
  };
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE("text: " + text);
    EXPECT_EQ(readCompleteNumber(text), expected);
  }
}

TEST(PlainDecimal, WritesFifteenSignificantDigits) {
  const std::vector<std::pair<double, std::string>> cases = {
      {0, "0"},
      {-0.0, "0"},
      {29, "29"},
      {0.735, "0.735"},
      {-0.5, "-0.5"},
      {1, "1"},
      {0.6, "0.6"},
      {0.3 + 0.3, "0.6"},
      {0.1 + 0.2, "0.3"},
      {999999999999999, "999999999999999"},
      {9999999999999999, "10000000000000000"},
      {1e15, "1000000000000000"},
      {1.23456789012345678e20, "123456789012346000000"},
      {0.0001, "0.0001"},
      {1.5e-5, "0.000015"},
      {1e-300, "0." + std::string(299, '0') + "1"},
      {-2.5e-7, "-0.00000025"},
      {1e100, "1" + std::string(100, '0')},
      {std::numeric_limits<double>::max(), "179769313486232" + std::string(294, '0')},
      {std::numeric_limits<double>::denorm_min(), "0." + std::string(323, '0') + "494065645841247"},
      {123456.5, "123456.5"},
      {100, "100"},
      {std::numeric_limits<double>::infinity(), "0"},
      {std::nan(""), "0"},
  };
  for (const auto& [value, text] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(plainDecimal(value), text);
  }
}

TEST(PlainDecimal, RoundTo15DigitsReadsTheTextBack) {
  EXPECT_EQ(roundTo15Digits(0.2 - 0.02), 0.18);
  EXPECT_EQ(roundTo15Digits(0.01 - 0.02), -0.01);
  EXPECT_EQ(roundTo15Digits(10.7 - 1), 9.7);
  EXPECT_EQ(roundTo15Digits(std::numeric_limits<double>::max()),
            std::numeric_limits<double>::max());
  EXPECT_EQ(roundTo15Digits(-std::numeric_limits<double>::max()),
            -std::numeric_limits<double>::max());
}

TEST(FixedFormats, GroupsAndRoundsHalvesAwayFromZero) {
  struct Case {
    double value;
    std::string f3, f4;
  };
  const std::vector<Case> cases = {
      {0, "0.000", "0.0000"},
      {1.0005, "1.001", "1.0005"},
      {2.5e-4, "0.000", "0.0003"},
      {0.7556, "0.756", "0.7556"},
      {1234.5, "1,234.500", "1,234.5000"},
      {6333.45079, "6,333.451", "6,333.4508"},
      {1e6, "1,000,000.000", "1,000,000.0000"},
      {-0.0001, "0.000", "-0.0001"},
      {-0.00004, "0.000", "0.0000"},
      {-1.0005, "-1.001", "-1.0005"},
      {999.9995, "1,000.000", "999.9995"},
      {0.99995, "1.000", "1.0000"},
      {-999999.99996, "-1,000,000.000", "-1,000,000.0000"},
      {123456789012345678.0, "123,456,789,012,346,000.000", "123,456,789,012,346,000.0000"},
      {1e-300, "0.000", "0.0000"},
      {std::numeric_limits<double>::infinity(), "0.000", "0.0000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.f4);
    EXPECT_EQ(formatFixed3(c.value), c.f3);
    EXPECT_EQ(formatFixed4(c.value), c.f4);
  }
  const std::string huge = formatFixed4(1.8e307);
  EXPECT_EQ(huge.substr(0, 6), "18,000");
  EXPECT_EQ(huge.size(), 308 + 102 + 5);  // 308 digits, 102 commas, ".0000"
}

TEST(WholeNumbers, IntRoundingAndRemainder) {
  EXPECT_EQ(floorToWhole(-2.5), -3);
  EXPECT_EQ(floorToWhole(2.9), 2);
  const std::vector<std::pair<double, double>> halves = {
      {0.5, 0},
      {1.5, 2},
      {2.5, 2},
      {-0.5, 0},
      {-1.5, -2},
      {-2.5, -2},
      {2.4999999999999996, 2},
      {867.5, 868},
      {1e300, 1e300},
      {4503599627370497.0, 4503599627370497.0},
  };
  for (const auto& [x, rounded] : halves) EXPECT_EQ(roundHalfEven(x), rounded) << x;

  EXPECT_EQ(toInt32HalfEven(2147483647.4), 2147483647);
  EXPECT_EQ(toInt32HalfEven(-2147483648.5), -2147483648);
  EXPECT_EQ(toInt32HalfEven(2147483647.5), std::nullopt);
  EXPECT_EQ(toInt32HalfEven(-2147483649.0), std::nullopt);
  EXPECT_EQ(toInt32HalfEven(1e308), std::nullopt);
  EXPECT_EQ(toInt32HalfEven(std::nan("")), std::nullopt);

  EXPECT_EQ(remainderOfRounded(7, 2), 1);
  EXPECT_EQ(remainderOfRounded(-7, 2), -1);
  EXPECT_EQ(remainderOfRounded(7, -2), 1);
  EXPECT_EQ(remainderOfRounded(2.5, 2), 0);    // 2.5 rounds to 2
  EXPECT_EQ(remainderOfRounded(3.5, 2.5), 0);  // 4 mod 2
  EXPECT_FALSE(std::signbit(*remainderOfRounded(-4, 2)));
  EXPECT_EQ(remainderOfRounded(5, 0.4), std::nullopt);
  EXPECT_EQ(remainderOfRounded(1e308, 3), std::fmod(1e308, 3.0));
  EXPECT_EQ(remainderOfRounded(std::numeric_limits<double>::infinity(), 3), std::nullopt);
}

}  // namespace
}  // namespace kelvane
