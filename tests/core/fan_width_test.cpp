#include "core/fan_width.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "core/number_text.h"

namespace kelvane {
namespace {

// The boxes show these values as plain decimal text, so the last digit of
// that text is what a user sees when leaving AG or XX.
TEST(FanWidth, AngleAndWidthFollowEachOther) {
  struct Case {
    const char* leave;
    double a, b, typed;
    std::string shown;
  };
  const std::vector<Case> widths = {
      {"AG 60", 2, 2, 60, "4.3094010767585"},
      {"AG 90", 2, 2, 90, "5.99999999999999"},
      {"AG 0", 2, 2, 0, "2"},
      {"AG -60", 2, 2, -60, "-0.3094010767585"},
  };
  for (const auto& c : widths) {
    SCOPED_TRACE(c.leave);
    const auto xx = FanWidthFromAngle(c.a, c.b, c.typed);
    ASSERT_TRUE(xx.has_value());
    EXPECT_EQ(plainDecimal(*xx), c.shown);
  }
  const std::vector<Case> angles = {
      {"XX 4.3094010767585", 2, 2, 4.3094010767585, "60"},
      {"XX 60", 2, 2, 60, "172.109627541925"},
      {"XX 0", 2, 2, 0, "-53.130102354156"},
      {"XX = B", 2, 2, 2, "0"},
  };
  for (const auto& c : angles) {
    SCOPED_TRACE(c.leave);
    const auto ag = FanAngleFromWidth(c.a, c.b, c.typed);
    ASSERT_TRUE(ag.has_value());
    EXPECT_EQ(plainDecimal(*ag), c.shown);
  }
}

TEST(FanWidth, AbsurdSidesGiveNoInfinityAndNoAngleWithoutHeight) {
  const double big = std::numeric_limits<double>::max();
  EXPECT_EQ(FanAngleFromWidth(0, 2, 60), std::nullopt);
  EXPECT_EQ(FanAngleFromWidth(0, 2, 2), std::nullopt);
  EXPECT_NEAR(*FanAngleFromWidth(1e-300, -big, big), 180, 1e-9);
  EXPECT_NEAR(*FanAngleFromWidth(1e-300, big, -big), -180, 1e-9);
  EXPECT_EQ(FanWidthFromAngle(big, big, 89), std::nullopt);
  EXPECT_EQ(FanWidthFromAngle(big, -big, -89), std::nullopt);
}

}  // namespace
}  // namespace kelvane
