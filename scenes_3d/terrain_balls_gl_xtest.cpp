// terrain_balls_gl as a user meets it.
#include <gtest/gtest.h>

#include "view_change_xtest.h"

namespace {

// The quads' blended colours: every component well lit, none at the
// balls' 0 (their palette colours all have one component 0), white left to
// the trails.
constexpr TColorRange Terrain{96, 254, 96, 254, 128, 254};
// Red grows with the column (away from the eye), green with the row (to the
// right): the left side runs to pink, the right side to cyan.
constexpr TColorRange Pink{200, 255, 96, 190, 200, 255}, Cyan{96, 190, 200, 255, 200, 255};
constexpr TPixelRect LeftHalf{0, 0, 399, 599}, RightHalf{400, 0, 799, 599};
constexpr uint32_t White = 0xFFFFFF;
// Ball 0: palette entry 32, (0, 0, 252), given as 252/256.
constexpr uint32_t BallBlue = 0x0000FB;

class TerrainGlTest : public ::testing::Test {
protected:
    TProgramRun Run;
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(StartProgramWindow(Run, PROGRAM_PATH, "BILE 3D", why)) << why;
        ASSERT_TRUE(WaitForPixels(Run, Terrain, WholeWindow,
                                  [](const TPixelCount& c) { return c.Count > 40000; }))
            << "no terrain";
    }
    void TearDown() override { EndProgramRun(Run); }
};

TEST_F(TerrainGlTest, TerrainBallsAndWhiteTrails) {
    const TPixelCount terrain = CountPixels(Run, Terrain, WholeWindow);
    EXPECT_GT(CountPixels(Run, Pink, LeftHalf).Count, 2 * CountPixels(Run, Cyan, LeftHalf).Count + 500);
    EXPECT_GT(CountPixels(Run, Cyan, RightHalf).Count, 2 * CountPixels(Run, Pink, RightHalf).Count + 500);
    // Seen from above the ring, the balls stand over the far edge.
    EXPECT_TRUE(WaitForPixels(Run, ExactColor(BallBlue), WholeWindow, [&](const TPixelCount& c) {
        return c.Count > 30 && c.Y1 < terrain.Y1 + 40;
    }));
    EXPECT_TRUE(WaitForPixels(Run, ExactColor(White), WholeWindow,
                              [](const TPixelCount& c) { return c.Count > 50; }))
        << "no trails";
    ExpectOnlyHeldEscEnds(Run);
}

TEST_F(TerrainGlTest, HeldKeysAndARightDragMoveTheOrbit) {
    const TPixelCount before = ExpectKeysMoveBox(Run, Terrain, {XK_Up, XK_Down, XK_Left, XK_Right});
    // Up and Down together cancel.
    HoldKeys(Run.Driver, {XK_Up, XK_Down}, true);
    EXPECT_TRUE(WaitNewFrames(Run));
    HoldKeys(Run.Driver, {XK_Up, XK_Down}, false);
    const TPixelCount together = SettledBox(Run, Terrain);
    EXPECT_TRUE(SameBox(together, before, 4)) << "Up and Down together move the eye";
    SlowDrag(Run, 400, 300, 480, 300, 1);
    EXPECT_TRUE(SameBox(SettledBox(Run, Terrain), together, 4)) << "a left drag turns";
    SlowDrag(Run, 400, 300, 440, 320, 3);
    EXPECT_FALSE(SameBox(SettledBox(Run, Terrain), together, 4)) << "a right drag does not turn";
}

TEST(TerrainGlNoDisplay, EndsWithOneLine) {
    std::string why;
    EXPECT_TRUE(FailsWithoutDisplay(PROGRAM_PATH, "terrain_balls_gl", why)) << why;
}

TEST(TerrainGlNoOpenGl, EndsWithTheOpenGlLine) {
    std::string why;
    EXPECT_TRUE(FailsWithoutOpenGl(PROGRAM_PATH, "terrain_balls_gl", why)) << why;
}

}  // namespace
