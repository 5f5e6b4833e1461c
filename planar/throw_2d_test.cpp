#include "throw_2d.h"

#include <gtest/gtest.h>

namespace {

TEST(Throw2D, TwoPressesPlaceAndAim) {
    TThrow2D t{};
    SetUpThrow(t);
    AimPress(t, 400, 500);
    EXPECT_EQ(t.Stage, 1);
    AimPress(t, 400, 450);
    EXPECT_EQ(t.Stage, 2);
    EXPECT_EQ(t.VX, 0);
    EXPECT_EQ(t.VY, -50);
    AimPress(t, 0, 0);  // a third press changes nothing
    EXPECT_EQ(t.PX, 400);
    EXPECT_EQ(t.VY, -50);
}

// Straight up from the lower half: rises, falls back and leaves the floor
// with half the speed it came down with.
TEST(Throw2D, RisesFallsAndBouncesWithHalfItsSpeed) {
    TThrow2D t{};
    SetUpThrow(t);
    AimPress(t, 400, 500);
    AimPress(t, 400, 450);
    double highest = t.PY, fall = 0;
    bool bounced = false;
    for (int frame = 0; frame < 200000 && !bounced; frame++) {
        const double before = t.VY;
        StepThrow(t, 799, 599);
        highest = std::min(highest, t.PY);
        if (before > 0 && t.VY < 0) {
            bounced = true;
            fall = before + t.T * 0;  // speed on the way down, before the turn
            EXPECT_EQ(t.PY, t.QY);    // it stays where the frame began
            EXPECT_NEAR(t.VY, -0.5 * (before + (t.T - 0.0001) * 9.81), 1e-9);
        }
    }
    EXPECT_TRUE(bounced);
    EXPECT_LT(highest, 500);
    EXPECT_GT(fall, 0);
    EXPECT_EQ(t.PX, 400);
}

TEST(Throw2D, AHalvedSmallComponentAtAnEdgeBecomesZero) {
    TThrow2D t{};
    SetUpThrow(t);
    t.PX = 778.95;
    t.PY = 300;
    t.VX = 0.15;
    t.VY = 0;
    t.GY = 0;
    t.T = 0.5;
    StepThrow(t, 799, 599);  // 778.95 + 0.075 reaches 779 = right edge - R
    EXPECT_EQ(t.VX, 0);
    EXPECT_EQ(t.PX, 778.95);
}

}  // namespace
