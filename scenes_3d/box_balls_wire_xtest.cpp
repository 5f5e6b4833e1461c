// box_balls_wire as a user meets it. The window is in palette mode: the
// walls' white shows as the standard palette's (252, 252, 252), ball 0's
// palette entry 32 as (0, 0, 252), and the clicked balls' red as entry 40,
// (252, 0, 0), which ball 8 of the column shares.
#include "box_xtest_support.h"

namespace {

using namespace box_xtest;

constexpr uint32_t WallWhite = 0xFCFCFC;
constexpr uint32_t FirstBallBlue = 0x0000FC;
constexpr uint32_t ClickRed = 0xFC0000;

class BoxBallsWire : public ::testing::Test {
protected:
    TProgramRun Run;
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(StartProgramWindow(Run, PROGRAM_PATH, Caption, why)) << why;
        ASSERT_TRUE(WaitForPixels(Run, ExactColor(WallWhite), {0, 0, Width - 1, Height - 1},
                                  [](const TPixelCount& c) { return c.Count > 1500; }));
        MeasureSettleGap(Run);
    }
    void TearDown() override { EndProgramRun(Run); }
};

TEST_F(BoxBallsWire, WallsAndBallsShowInTheirColoursAndEscEnds) {
    EXPECT_TRUE(WaitForPixels(Run, ExactColor(WallWhite), {0, 0, Width - 1, Height - 1},
                              [](const TPixelCount& c) { return c.Count > 1500 && c.X1 == 0 && c.X2 == Width - 1; }));
    EXPECT_TRUE(WaitForPixels(Run, ExactColor(FirstBallBlue), {0, 0, Width - 1, Height - 1},
                              [](const TPixelCount& c) { return c.Count > 5; }));
    // Nothing but the palette's colours: no wrapped lines in stray shades.
    const std::vector<uint32_t> shot = WindowShot(Run);
    EXPECT_EQ(CountWhere(shot, [](uint32_t p) { return (p & 0x030303) != 0; }), 0);
    ExpectEscEndsWithZero(Run);
}

TEST_F(BoxBallsWire, SpaceFreezesEnterShowsVectorsAndAClickAddsRed) {
    EXPECT_TRUE(ChangesFrom(Run, WindowShot(Run)));  // the column flies
    PressKey(Run.Driver, XK_space);
    ASSERT_TRUE(SettlesStill(Run));
    const std::vector<uint32_t> frozen = WindowShot(Run);

    PressKey(Run.Driver, XK_Return);
    ASSERT_TRUE(ChangesFrom(Run, frozen));
    ASSERT_TRUE(SettlesStill(Run));
    // The walls' normals, 80 long, add white.
    EXPECT_GT(CountRgb(WindowShot(Run), WallWhite), CountRgb(frozen, WallWhite) + 40);

    EXPECT_TRUE(ClickAddsRed(Run, ClickRed, 200));
    // Frozen, the new ball waits; Space sets it moving.
    ASSERT_TRUE(SettlesStill(Run));
    const std::vector<uint32_t> added = WindowShot(Run);
    PressKey(Run.Driver, XK_space);
    EXPECT_TRUE(ChangesFrom(Run, added));
    ExpectEscEndsWithZero(Run);
}

TEST_F(BoxBallsWire, HeldArrowsAndARightDragMoveTheView) {
    PressKey(Run.Driver, XK_space);
    ASSERT_TRUE(SettlesStill(Run));
    EXPECT_TRUE(HeldKeyChangesPicture(Run, XK_Left));
    ASSERT_TRUE(SettlesStill(Run));
    const std::vector<uint32_t> moved = WindowShot(Run);
    // Enter shows the vector lines and hides them again; nothing hides them
    // here, where nothing is drawn in depth.
    ExpectDragOutAndBackUndone(Run, XK_Return, XK_Return);
    // With Shift held the button word is not 2: nothing turns.
    HoldKey(Run.Driver, XK_Shift_L, true);
    SlowRightDrag(Run, 560, 300, 760, 300, false);
    HoldKey(Run.Driver, XK_Shift_L, false);
    ASSERT_TRUE(SettlesStill(Run));
    EXPECT_EQ(WindowShot(Run), moved);
    ExpectEscEndsWithZero(Run);
}

TEST_F(BoxBallsWire, TheCloseBoxDoesNotEndIt) {
    ExpectCloseBoxKeepsItRunning(Run);
    ExpectEscEndsWithZero(Run);
}

TEST(BoxBallsWireAlone, WithoutADisplayItSaysSoAndEndsWithOne) {
    std::string why;
    EXPECT_TRUE(FailsWithoutDisplay(PROGRAM_PATH, "box_balls_wire", why)) << why;
}

}  // namespace
