// Where the start command puts the display.
#include "ui/corner_placement.h"

#include <gtest/gtest.h>

namespace ombrelo::ui {
namespace {

TEST(CornerPlacement, BottomEdgeAndTheChosenSide) {
  // Screen 19200x12000 px; window 600x300 px.
  const Placement right = corner_placement(19200, 12000, 600, 300, Corner::bottom_right);
  EXPECT_EQ(right.top, 11700);
  EXPECT_EQ(right.left, 18600);
  const Placement left = corner_placement(19200, 12000, 600, 300, Corner::bottom_left);
  EXPECT_EQ(left.top, 11700);
  EXPECT_EQ(left.left, 0.0f);
  EXPECT_EQ(corner_placement(19200, 12000, 600, 300, Corner::none).left, std::nullopt);
}

}  // namespace
}  // namespace ombrelo::ui
