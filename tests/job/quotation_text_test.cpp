// The quotation's figures as texts: money with grouped digits and 円, a
// term's box read as people type numbers (or refused, naming the box), the
// lot sizes, the days of validity and the wire's mass.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "job/money_text.h"
#include "job/quotation_text.h"

namespace kelvane::job {
namespace {

TEST(MoneyText, GroupsDigitsAndEndsInYen) {
  EXPECT_EQ(yenText(0), "0円");
  EXPECT_EQ(yenText(999), "999円");
  EXPECT_EQ(yenText(1000), "1,000円");
  EXPECT_EQ(yenText(1544500), "1,544,500円");
  EXPECT_EQ(unitPriceText(15915), "159.15円");
  EXPECT_EQ(unitPriceText(5), "0.05円");
  EXPECT_EQ(unitPriceText(100000000), "1,000,000.00円");
  // The breakdown to 0.0001 円, halves away from zero, binary noise aside.
  EXPECT_EQ(costText(12.34565), "12.3457円");
  EXPECT_EQ(costText(0.00004999), "0.0000円");
  EXPECT_EQ(costText(1234.5), "1,234.5000円");
}

struct FigureCase {
  TermFigure figure;
  std::string typed;
  std::optional<double> value;  // none: refused with `refusal`
  std::string refusal;
};

TEST(TermFigure, ReadsAsPeopleTypeNumbersOrNamesTheBox) {
  using F = TermFigure;
  const std::vector<FigureCase> cases = {
      {F::Labour, "1800", 1800, ""},
      {F::Labour, "１，８００", 1800, ""},
      {F::Labour, " 2.5 ", 2.5, ""},
      {F::Labour, "1800円", 1800, ""},
      {F::Labour, "1800 円/h", 1800, ""},
      {F::WirePrice, "2,500円/kg", 2500, ""},
      {F::Loss, "5 %", 5, ""},
      {F::Loss, "５％", 5, ""},
      {F::Speed, "3000 min⁻¹", 3000, ""},
      {F::Setup, "30分", 30, ""},
      {F::Setup, "30 min", 30, ""},
      {F::Labour, "０", 0, ""},
      {F::Labour, ".5", 0.5, ""},
      {F::Labour, "", std::nullopt, "「賃率」を数として読めません（「」）。"},
      {F::Labour, "時価", std::nullopt,
       "「賃率」を数として読めません（「時価」）。数と単位「円/h」だけを入力してください。"},
      {F::Labour, "2,5", std::nullopt, "「賃率」を数として読めません（「2,5」）。"},
      // An hour typed into a box of minutes is not 1 minute.
      {F::Setup, "1h", std::nullopt,
       "「段取り時間」を数として読めません（「1h」）。数と単位「min」だけを入力してください。"},
      {F::Loss, "5 min", std::nullopt,
       "「ロス率」を数として読めません（「5 min」）。数と単位「%」だけを入力してください。"},
      {F::Labour, "-1", std::nullopt, "「賃率」には 0 以上の数を入力してください。"},
      {F::Labour, "－３", std::nullopt, "「賃率」には 0 以上の数を入力してください。"},
      {F::Labour, "1e400", std::nullopt, "「賃率」の数が大きすぎます（「1e400」）。"},
  };
  for (const FigureCase& c : cases) {
    SCOPED_TRACE(c.typed);
    const Expected<double> read = readTermFigure(termName(c.figure), c.typed, termUnits(c.figure));
    ASSERT_EQ(read.ok(), c.value.has_value());
    if (c.value) {
      EXPECT_EQ(*read, *c.value);
    } else {
      EXPECT_EQ(read.message(), c.refusal);
    }
  }
}

TEST(Quantity, AWholeNumberOfPiecesOrNone) {
  EXPECT_EQ(*readQuantity("数量1", ""), std::nullopt);
  EXPECT_EQ(*readQuantity("数量1", "　"), std::nullopt);
  EXPECT_EQ(*readQuantity("数量1", "１，０００"), std::optional<std::int64_t>(1000));
  EXPECT_EQ(*readQuantity("数量1", "1000000000"), std::optional<std::int64_t>(kMaxQuantity));
  const std::string range = "「数量2」は 1 から 1,000,000,000 までの整数で入力してください。";
  EXPECT_EQ(*readQuantity("数量1", "500個"), std::optional<std::int64_t>(500));
  for (const char* refused : {"0", "2.5", "1000000001"})
    EXPECT_EQ(readQuantity("数量2", refused).message(), range) << refused;
  EXPECT_FALSE(readQuantity("数量2", "1k").ok());
  EXPECT_EQ(quantityText(10000), "10,000");
}

TEST(ValidDays, AWholeNumberOfDaysUpToTenYears) {
  EXPECT_EQ(*readValidDays("30"), 30);
  EXPECT_EQ(*readValidDays("９０日"), 90);
  EXPECT_EQ(*readValidDays("3650"), 3650);
  EXPECT_EQ(*readValidDays("0"), 0);  // the day of issue only
  for (const char* refused : {"3651", "7.5"}) {
    EXPECT_EQ(readValidDays(refused).message(),
              "「有効期限」は 0 から 3,650 までの日数（整数）で入力してください。")
        << refused;
  }
}

TEST(MassText, SixSignificantDigitsNeverAnExponent) {
  EXPECT_EQ(massText(0.00201967967447044), "0.00201968");
  EXPECT_EQ(massText(1.2345678), "1.23457");
  EXPECT_EQ(massText(0.0000123456789), "0.0000123457");
  EXPECT_EQ(massText(12345.678), "12345.7");
  EXPECT_EQ(massText(2), "2");
  EXPECT_EQ(massText(0), "0");
}

}  // namespace
}  // namespace kelvane::job
