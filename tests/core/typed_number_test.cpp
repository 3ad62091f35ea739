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
      {"1,000 ", 1000, false},
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
      // Blanks anywhere.
      {"", 0, false},
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

// Only the number, blanks and the box's own unit: a slip is refused, never
// read as another value.
TEST(TypedNumber, RefusesTextBesidesTheNumberAndItsUnit) {
  struct Row {
    std::string text;
    std::vector<std::string_view> units;
    bool readable;
    double value;
  };
  const std::vector<std::string_view> mm = {"mm"}, degree = {"°", "度"}, minutes = {"min", "分"};
  const std::vector<Row> rows = {
      {"10 mm", mm, true, 10},
      {"１０ｍｍ", mm, true, 10},
      {"10MM", mm, true, 10},
      {"1,000 mm ", mm, true, 1000},
      {"12", mm, true, 12},
      {"  ", mm, true, 0},  // an empty box keeps its meaning
      {"", {}, true, 0},
      {"30°", degree, true, 30},
      {"30 度", degree, true, 30},
      {"90分", minutes, true, 90},
      {"&H10", {}, true, 16},
      {"12abc", mm, false, 12},
      {"φ12", mm, false, 0},
      {"3cm", mm, false, 3},
      {"3 m", mm, false, 3},
      {"mm", mm, false, 0},
      {"10 mm", {}, false, 10},  // a box without a unit
      {"1h", minutes, false, 1},
      {"12mm mm", mm, false, 12},
      {"-", mm, false, 0},
      {std::string("1\0"
                   "2",
                   3),
       mm, false, 1},
      {"1\x1b[2J", mm, false, 1},
      {"\xC2\x85"
       "5",
       mm, false, 0},  // a C1 control before the number
      {"\xEF\xBB\xBF"
       "5",
       mm, false, 0},  // a byte order mark
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    const TypedNumber n = readTypedNumber(row.text, row.units);
    EXPECT_EQ(n.readable(), row.readable);
    EXPECT_EQ(n.notANumber, !row.readable);
    EXPECT_DOUBLE_EQ(n.value, row.value);
  }
  EXPECT_EQ(visibleText(std::string("a\0b\x1b\xC2\x9B", 6)), "a\\x00b\\x1b\\xc2\\x9b");
}

TEST(TypedNumber, HalfWidthLeavesOtherTextAlone) {
  EXPECT_EQ(toHalfWidth("巻き数０９"), "巻き数09");
  EXPECT_EQ(toHalfWidth("ＡＢ"), "ＡＢ");
  EXPECT_EQ(toHalfWidth("\xEF\xBC"), "\xEF\xBC");  // a cut sequence stays as it was
}

}  // namespace
}  // namespace kelvane
