#include "core/decimal_chars.h"

#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {
namespace {

// The texts where a decimal reader is most easily wrong: halfway cases, the
// edges of the double range, subnormals, long digit strings, and the shapes
// the box reader hands over ("-0e0", "12.5e-3").
const std::vector<std::string> kHardTexts = {
    "0",
    "-0",
    "0e999999",
    "-0.000e-5",
    "1",
    "1.",
    ".5",
    "-.5",
    "0.1",
    "0.2",
    "0.3",
    "1.5e0",
    "12.5e-3",
    "-12.5e+3",
    "123456789012345678901234567890",
    "9007199254740993",         // 2^53 + 1: halfway, rounds to even
    "9007199254740995",         // halfway, rounds up
    "2.2250738585072011e-308",  // just below the smallest normal
    "2.2250738585072014e-308",  // the smallest normal
    "4.9406564584124654e-324",
    "2.4703282292062328e-324",
    "2.4703282292062327e-324",
    "2e-324",
    "1e-400",
    "-1e-400",
    "1e-310",
    "1.7976931348623157e308",
    "1.7976931348623158e308",
    "1.7976931348623159e308",
    "1e400",
    "-1e400",
    "1e-2147483648",
    "0.1000000000000000055511151231257827021181583404541015625",  // 0.1 exactly
    "0.1000000000000000055511151231257827021181583404541015626",  // just above it
    "8.98846567431158e307",
    "1.00000000000000011102230246251565404236316680908203125",
    "1.00000000000000011102230246251565404236316680908203124",
    "3.14159265358979323846",
    "1e23",
    "8.3e-1",
    "1.23456789012345E+14",
    "1e",
    "1e+",
    "2.5E-3x",
    "7.0e1.5",
};

bool sameBits(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

TEST(DecimalChars, TheCLibraryReadsAsCharconvDoes) {
  for (const std::string& text : kHardTexts) {
    SCOPED_TRACE(text);
    double expected = 42, got = 42;
    const auto want = std::from_chars(text.data(), text.data() + text.size(), expected,
                                      std::chars_format::general);
    const auto have = portable::parseDecimal(text.data(), text.data() + text.size(), got);
    EXPECT_EQ(have.ec, want.ec);
    EXPECT_EQ(have.ptr - text.data(), want.ptr - text.data());
    EXPECT_TRUE(sameBits(got, expected)) << got << " vs " << expected;
  }
}

TEST(DecimalChars, RefusesWhatIsNoDecimalNumber) {
  for (std::string_view text : {"", "-", ".", "-.", "+1", " 1", "e5", "inf", "nan"}) {
    SCOPED_TRACE(text);
    double value = 42;
    const auto read = portable::parseDecimal(text.data(), text.data() + text.size(), value);
    EXPECT_EQ(read.ec, std::errc::invalid_argument);
    EXPECT_EQ(value, 42);
  }
}

// Values whose rounding at 14 decimals or a few fixed places is close to a
// tie, or that fill the buffer, written both ways.
const std::vector<double> kHardValues = {
    0.0,
    -0.0,
    1.0,
    -1.0,
    0.1,
    0.125,
    0.375,
    2.5,
    1.0005,
    1.00005,
    0.0005,
    1234567.8905,
    4.3094010767585,
    29.000000000000004,
    1e15,
    1e16,
    123456789012345.6,
    1e-7,
    1.5e-7,
    5e-324,
    2.2250738585072014e-308,
    1.7976931348623157e308,
    -1.7976931348623157e308,
    9.9999999999999995e22,
    0.30000000000000004,
    16.525,
    99999999999999.95,
    1e21,
    1e22,
};

TEST(DecimalChars, TheCLibraryWritesAsCharconvDoes) {
  char want[600], have[600];
  for (double value : kHardValues) {
    for (int precision : {0, 1, 2, 3, 4, 6, 14, 17}) {
      SCOPED_TRACE(testing::Message() << value << " at " << precision);
      auto a =
          std::to_chars(want, want + sizeof want, value, std::chars_format::scientific, precision);
      auto b = portable::printScientific(have, have + sizeof have, value, precision);
      ASSERT_EQ(b.ec, a.ec);
      EXPECT_EQ(std::string_view(have, b.ptr), std::string_view(want, a.ptr));
      a = std::to_chars(want, want + sizeof want, value, std::chars_format::fixed, precision);
      b = portable::printFixed(have, have + sizeof have, value, precision);
      ASSERT_EQ(b.ec, a.ec);
      EXPECT_EQ(std::string_view(have, b.ptr), std::string_view(want, a.ptr));
    }
  }
}

// The drawing's single-precision positions are printed as their shortest
// decimals; both ways must find the same digits for every float, so a spread
// of bit patterns is checked beside the values a drawing holds.
TEST(DecimalChars, ShortestDecimalsOfFloatsAgree) {
  std::vector<float> values = {0.0f,     -0.0f,  1890.29f,      8160.0f,         3330.5f,
                               0.1f,     1e-45f, 3.4028235e38f, 1.17549435e-38f, 16777217.0f,
                               7.0e-10f, 2.5f,   -123.456f};
  std::uint32_t bits = 12345;
  for (int i = 0; i < 20000; ++i) {
    bits = bits * 1664525u + 1013904223u;
    const auto f = std::bit_cast<float>(bits);
    if (std::isfinite(f)) values.push_back(f);
  }
  for (float f : values) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, f);
    double want = 0;
    std::from_chars(text, end.ptr, want);
    ASSERT_TRUE(sameBits(portable::shortestDecimal(f), want))
        << std::string_view(text, end.ptr) << " vs " << portable::shortestDecimal(f);
    ASSERT_TRUE(sameBits(shortestDecimal(f), want));
  }
}

TEST(DecimalChars, ATooShortBufferIsRefused) {
  char text[4];
  EXPECT_EQ(portable::printFixed(text, text + sizeof text, 12345.0, 0).ec,
            std::errc::value_too_large);
  EXPECT_EQ(portable::printScientific(text, text + sizeof text, 1.5, 3).ec,
            std::errc::value_too_large);
}

// The C library's half of the work follows LC_NUMERIC; a program that
// switched to a locale with a decimal comma still reads and writes ".".
TEST(DecimalChars, ADecimalCommaLocaleChangesNothing) {
  const std::string before = std::setlocale(LC_NUMERIC, nullptr);
  bool switched = false;
  for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE.utf8", "C.UTF-8"}) {
    if (std::setlocale(LC_NUMERIC, name) &&
        std::string_view(std::localeconv()->decimal_point) == ",") {
      switched = true;
      break;
    }
  }
  if (!switched) {
    std::setlocale(LC_NUMERIC, before.c_str());
    GTEST_SKIP() << "no locale with a decimal comma installed";
  }
  double value = 0;
  const std::string text = "12.5e-1";
  const auto read = portable::parseDecimal(text.data(), text.data() + text.size(), value);
  char out[32];
  const auto written = portable::printFixed(out, out + sizeof out, 1.25, 3);
  std::setlocale(LC_NUMERIC, before.c_str());
  EXPECT_EQ(read.ptr, text.data() + text.size());
  EXPECT_EQ(value, 1.25);
  EXPECT_EQ(std::string_view(out, written.ptr), "1.250");
}

}  // namespace
}  // namespace kelvane
