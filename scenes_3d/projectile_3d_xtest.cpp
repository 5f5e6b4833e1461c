// projectile_3d as a user meets it.
#include <gtest/gtest.h>

#include "view_change_xtest.h"

namespace {

// Standard palette: white entry 15 (252, 252, 252), yellow entry 44
// (252, 252, 0).
constexpr uint32_t White = 0xFCFCFC, Yellow = 0xFCFC00;

class ThrowViewTest : public ::testing::Test {
protected:
    TProgramRun Run;
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(StartProgramWindow(Run, PROGRAM_PATH, "ARUNCARE PE OBLICA IN 3D", why)) << why;
        ASSERT_TRUE(WaitForPixels(Run, ExactColor(White), WholeWindow,
                                  [](const TPixelCount& c) { return c.Count > 1000; }))
            << "no cube";
    }
    void TearDown() override { EndProgramRun(Run); }
};

TEST_F(ThrowViewTest, TheHalfTurnShowsTheCubeAndTheYellowBallMoves) {
    // From (0, 0, 150) the front face, 100 away, spans 200 to 600 across
    // and 100 to 500 down; the back face lies inside it.
    const TPixelCount cube = SettledBox(Run, ExactColor(White));
    EXPECT_NEAR(cube.X1, 200, 1);
    EXPECT_NEAR(cube.X2, 600, 1);
    EXPECT_NEAR(cube.Y1, 100, 1);
    EXPECT_NEAR(cube.Y2, 500, 1);
    const TPixelCount ball = CountPixels(Run, ExactColor(Yellow), WholeWindow);
    ASSERT_GT(ball.Count, 30);
    EXPECT_TRUE(WaitForPixels(Run, ExactColor(Yellow), WholeWindow, [&](const TPixelCount& c) {
        return c.Count > 30 && (std::abs(c.CenterX() - ball.CenterX()) > 3 ||
                                std::abs(c.CenterY() - ball.CenterY()) > 3);
    })) << "the ball does not move";
    ExpectOnlyHeldEscEnds(Run);
}

TEST_F(ThrowViewTest, HeldKeysMoveTheEye) {
    ExpectKeysMoveBox(Run, ExactColor(White), {XK_Up, XK_Down, XK_a, XK_z, XK_Left, XK_Right});
}

TEST_F(ThrowViewTest, OnlyARightDragAloneTurnsTheView) {
    const TColorRange cube = ExactColor(White);
    const TPixelCount before = SettledBox(Run, cube);
    SlowDrag(Run, 400, 300, 500, 300, 1);
    EXPECT_TRUE(SameBox(SettledBox(Run, cube), before, 0)) << "a left drag turns";
    // Shift with the right button does not turn; the pointer is followed all
    // the same, so the right button pressed alone where it ended turns nothing.
    HoldKey(Run.Driver, XK_Shift_L, true);
    SlowDrag(Run, 500, 300, 420, 360, 3);
    HoldKey(Run.Driver, XK_Shift_L, false);
    WaitNewFrames(Run);
    HoldButton(Run.Driver, 3, true);
    WaitNewFrames(Run);
    HoldButton(Run.Driver, 3, false);
    EXPECT_TRUE(SameBox(SettledBox(Run, cube), before, 0)) << "the view jumps";
    SlowDrag(Run, 420, 360, 440, 360, 3);
    EXPECT_FALSE(SameBox(SettledBox(Run, cube), before, 4)) << "a right drag does not turn";
}

TEST(ThrowViewNoDisplay, EndsWithOneLine) {
    std::string why;
    EXPECT_TRUE(FailsWithoutDisplay(PROGRAM_PATH, "projectile_3d", why)) << why;
}

}  // namespace
