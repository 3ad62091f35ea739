#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/former_shape.h"

namespace kelvane {
namespace {

TEST(FormerShapes, EachShapeShowsItsOwnBoxes) {
  struct Case {
    FormerShape shape;
    bool inner, sides, fan, outerA, outerB, outerRorD;
    std::optional<std::string> caption;
  };
  const Case cases[] = {
      {FormerShape::Round, true, false, false, false, false, true, "D'"},
      {FormerShape::Rectangular, false, true, false, true, true, false, std::nullopt},
      {FormerShape::Fan, false, true, true, true, true, true, "R'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.shape));
    const FieldVisibility v = ShapeFieldVisibility(c.shape);
    EXPECT_EQ(v.innerDiameter, c.inner);
    EXPECT_EQ(v.sides, c.sides);
    EXPECT_EQ(v.fan, c.fan);
    EXPECT_EQ(v.outerA, c.outerA);
    EXPECT_EQ(v.outerB, c.outerB);
    EXPECT_EQ(v.outerRorD, c.outerRorD);
    EXPECT_EQ(v.outerRorDCaption, c.caption);
  }
}

}  // namespace
}  // namespace kelvane
