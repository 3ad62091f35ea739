// A long press followed from another thread and called off.
#include <gtest/gtest.h>

#include "coil_fixtures.h"
#include "core/calculate_coil.h"
#include "core/materials.h"

namespace kelvane {
namespace {

using test::designInputs;

TEST(PressProgress, FollowingAPressChangesNoResult) {
  for (FormerShape shape : {FormerShape::Round, FormerShape::Rectangular, FormerShape::Fan}) {
    const CoilInputs in = designInputs(shape, 9'000'001.5);
    PressProgress progress;
    const CoilPress followed = CalculateCoil(in, {}, &progress);
    const CoilPress plain = CalculateCoil(in, {});
    ASSERT_EQ(followed.outcome, PressOutcome::Complete);
    EXPECT_EQ(followed.results.alignedLength, plain.results.alignedLength);
    EXPECT_EQ(followed.results.predictedLength, plain.results.predictedLength);
    EXPECT_EQ(followed.state, plain.state);
    EXPECT_GT(progress.fraction(), 0.9);
  }
}

TEST(PressProgress, ACalledOffPressLeavesTheStateAsItWas) {
  CalculationState previous;
  previous.inputs.turns = 42;
  previous.fanContour.arcAngle = 7;
  for (FormerShape shape : {FormerShape::Round, FormerShape::Rectangular, FormerShape::Fan}) {
    PressProgress progress;
    progress.cancel();
    const CoilPress press = CalculateCoil(designInputs(shape, 2'000'000'000), previous, &progress);
    EXPECT_EQ(press.outcome, PressOutcome::Cancelled);
    EXPECT_EQ(press.state, previous);
    EXPECT_TRUE(press.message.empty());
  }
}

}  // namespace
}  // namespace kelvane
