#include <gtest/gtest.h>

#include "vector_angle.h"

namespace {

TEST(VectorAngle, TheAxesAndTheZeroVector) {
    EXPECT_DOUBLE_EQ(VectorAngle(0, 0), 4.71238898038469);  // 3 pi/2
    EXPECT_DOUBLE_EQ(VectorAngle(0, 1), 1.5707963267948966);
    EXPECT_DOUBLE_EQ(VectorAngle(0, -2), 4.71238898038469);
    EXPECT_DOUBLE_EQ(VectorAngle(-1, 0), 3.141592653589793);
    EXPECT_DOUBLE_EQ(VectorAngle(3, 0), 0.0);
}

TEST(VectorAngle, ItGrowsClockwiseOnAScreenWithYDown) {
    EXPECT_DOUBLE_EQ(VectorAngle(1, -1), -0.7853981633974483);
    EXPECT_DOUBLE_EQ(VectorAngle(1, 1), 0.7853981633974483);
    EXPECT_DOUBLE_EQ(VectorAngle(-1, 1), 2.356194490192345);
    // Left and up lies past pi, not below -pi/2.
    EXPECT_DOUBLE_EQ(VectorAngle(-1, -1), 3.9269908169872414);
}

}  // namespace
