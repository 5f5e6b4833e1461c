// terrain_balls_wire as a user meets it.
#include <gtest/gtest.h>

#include "view_change_xtest.h"

namespace {

// Standard palette: named grey 59 is entry 8 (84, 84, 84), white entry 15,
// ball 0's colour 32 the blue (0, 0, 252).
constexpr uint32_t Grey = 0x545454, White = 0xFCFCFC, BallBlue = 0x0000FC;

class TerrainWireTest : public ::testing::Test {
protected:
    TProgramRun Run;
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(StartProgramWindow(Run, PROGRAM_PATH, "BILE 3D", why)) << why;
        ASSERT_TRUE(WaitForPixels(Run, ExactColor(Grey), WholeWindow,
                                  [](const TPixelCount& c) { return c.Count > 20000; }))
            << "no grey grid";
    }
    void TearDown() override { EndProgramRun(Run); }
};

TEST_F(TerrainWireTest, GreyGridBallsAndWhiteTrails) {
    EXPECT_TRUE(WaitForPixels(Run, ExactColor(BallBlue), WholeWindow,
                              [](const TPixelCount& c) { return c.Count > 30; }));
    // The trails grow as the balls fall.
    EXPECT_TRUE(WaitForPixels(Run, ExactColor(White), WholeWindow,
                              [](const TPixelCount& c) { return c.Count > 200; }));
    ExpectOnlyHeldEscEnds(Run);
}

TEST_F(TerrainWireTest, HeldKeysMoveTheEye) {
    const TPixelCount still = SettledBox(Run, ExactColor(Grey));
    EXPECT_TRUE(SameBox(SettledBox(Run, ExactColor(Grey)), still, 2)) << "the view drifts";
    ExpectKeysMoveBox(Run, ExactColor(Grey), {XK_Up, XK_Down, XK_a, XK_z, XK_Left, XK_Right});
}

TEST_F(TerrainWireTest, OnlyARightDragAloneTurnsTheView) {
    const TColorRange grid = ExactColor(Grey);
    const TPixelCount before = SettledBox(Run, grid);
    SlowDrag(Run, 400, 300, 500, 300, 1);
    EXPECT_TRUE(SameBox(SettledBox(Run, grid), before, 2)) << "a left drag turns";
    HoldKey(Run.Driver, XK_Shift_L, true);
    SlowDrag(Run, 500, 300, 400, 300, 3);
    HoldKey(Run.Driver, XK_Shift_L, false);
    EXPECT_TRUE(SameBox(SettledBox(Run, grid), before, 2)) << "Shift with the right button turns";
    SlowDrag(Run, 400, 300, 460, 300, 3);
    EXPECT_FALSE(SameBox(SettledBox(Run, grid), before, 4)) << "a right drag does not turn";
}

TEST(TerrainWireNoDisplay, EndsWithOneLine) {
    std::string why;
    EXPECT_TRUE(FailsWithoutDisplay(PROGRAM_PATH, "terrain_balls_wire", why)) << why;
}

}  // namespace
