#include "core/typed_number.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvane {
namespace {

TEST(TypedNumber, ReadsNumbersAsPeopleTypeThem) {
  struct Row {
    std::string text;
    double value;
    bool unclear;
  };
  const std::vector<Row> rows = {
      // Digit groups the way the program writes them read whole.
      {"1,000", 1000, false},
      {"12,345.6", 12345.6, false},
      {"-1,234,567.25", -1234567.25, false},
      {"1,000 mm", 1000, false},
      {"1,000E3", 1e6, false},
      // Full-width characters from a Japanese input method.
      {"０．２", 0.2, false},
      {"１，０００", 1000, false},
      {"－３", -3, false},
      {"＋2", 2, false},
      {"1Ｅ3", 1000, false},
      {"1ｅ－3", 0.001, false},
      {"\xE3\x80\x80"
       "5",
       5, false},         // ideographic space
      {"−7", -7, false},  // minus sign
      // The leading-number rule as before.
      {"10 mm", 10, false},
      {"", 0, false},
      {"abc", 0, false},
      {"1 2", 12, false},
      // Commas that would need a guess.
      {"0,2", 0, true},
      {"1,5", 0, true},
      {"1,00", 0, true},
      {"1,0000", 0, true},
      {"0,200", 0, true},
      {"1000,5", 0, true},
      {"1.5,3", 0, true},
      {",5", 0, true},
      {"-,5", 0, true},
      {"1,000,00", 0, true},
      {"０，２", 0, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    const TypedNumber n = readTypedNumber(row.text);
    EXPECT_EQ(n.unclearComma, row.unclear);
    EXPECT_DOUBLE_EQ(n.value, row.value);
    EXPECT_FALSE(n.overflow);
  }
  EXPECT_TRUE(readTypedNumber("１e400").overflow);
}

TEST(TypedNumber, HalfWidthLeavesOtherTextAlone) {
  EXPECT_EQ(toHalfWidth("巻き数０９"), "巻き数09");
  EXPECT_EQ(toHalfWidth("ＡＢ"), "ＡＢ");
  EXPECT_EQ(toHalfWidth("\xEF\xBC"), "\xEF\xBC");  // a cut sequence stays as it was
}

}  // namespace
}  // namespace kelvane
