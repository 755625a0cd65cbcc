#include "base/DpiScale.h"

#include <gtest/gtest.h>

using namespace pelmira;

// Worked out by hand: x 1.25, x 1.5 and x 2, the nearest pixel, a half away
// from zero.
TEST(DpiScale, TheNearestPixelAHalfAwayFromZero) {
    EXPECT_EQ(ScaleToDpi(1, 120), 1);     // 1.25
    EXPECT_EQ(ScaleToDpi(2, 120), 3);     // 2.5
    EXPECT_EQ(ScaleToDpi(3, 120), 4);     // 3.75
    EXPECT_EQ(ScaleToDpi(399, 120), 499); // 498.75
    EXPECT_EQ(ScaleToDpi(1, 144), 2);     // 1.5
    EXPECT_EQ(ScaleToDpi(3, 144), 5);     // 4.5
    EXPECT_EQ(ScaleToDpi(-1, 144), -2);   // -1.5
    EXPECT_EQ(ScaleToDpi(-3, 144), -5);   // -4.5
    EXPECT_EQ(ScaleToDpi(7, 192), 14);
    EXPECT_EQ(ScaleToDpi(-5, 192), -10);
    EXPECT_EQ(ScaleToDpi(57, 96), 57);
}

TEST(DpiScale, ABoxIsScaledByItsEdges) {
    const ScaledEdges box = ScaleBoxToDpi(3, 5, 7, 9, 144); // edges 4.5, 7.5, 15, 21
    EXPECT_EQ(box.left, 5);
    EXPECT_EQ(box.top, 8);
    EXPECT_EQ(box.right, 15);
    EXPECT_EQ(box.bottom, 21);
    // Two boxes that touch at 96 DPI still touch: 2 + 3 and 5 + 2 at 120.
    EXPECT_EQ(ScaleBoxToDpi(2, 0, 3, 1, 120).right, ScaleBoxToDpi(5, 0, 2, 1, 120).left);
    // A child flush with the right edge of its group at 1 + 1: scaled from
    // the same origin its edge is the group's, 3; its offset and width
    // rounded apart would put it at 2 + 2 = 4, outside.
    EXPECT_EQ(ScaleBoxToDpi(1 + 0, 0, 1, 1, 144).right, ScaleBoxToDpi(1, 0, 1, 1, 144).right);
    EXPECT_EQ(ScaleToDpi(1, 144) + ScaleToDpi(1, 144), 4);
}
