// ball_heap as a user meets it.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include "test_support/program_test.h"

namespace {

constexpr uint32_t White = 0xFCFCFC;  // the default draw colour, standard palette
constexpr TPixelRect Whole{0, 0, 799, 599};
constexpr TPixelRect Middle{380, 270, 430, 330};   // where added balls appear
constexpr TPixelRect Floor{0, 560, 799, 599};
// The heap takes some ten seconds at 60 frames a second to fall and settle;
// a loaded machine may run the program at half that pace or less.
constexpr int SettleMs = 60000;

class BallHeapTest : public ::testing::Test {
protected:
    TProgramRun Run;
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(StartProgramWindow(Run, PROGRAM_PATH, "BILE", why)) << why;
    }
    void TearDown() override { EndProgramRun(Run); }
};

TEST_F(BallHeapTest, BallsFallAddsAppearDragCarriesAndEscEnds) {
    // The grid's top rows at first, then balls reach the floor.
    EXPECT_TRUE(WaitForPixels(Run, ExactColor(White), Whole,
                              [](const TPixelCount& c) { return c.Count > 5000 && c.Y1 <= 5; }));
    EXPECT_TRUE(WaitForPixels(Run, ExactColor(White), Floor,
                              [](const TPixelCount& c) { return c.Count > 500; }, SettleMs))
        << "no heap on the floor";
    // The falling grid has left the middle of the window by now.
    ASSERT_TRUE(WaitForPixels(Run, ExactColor(White), Middle,
                              [](const TPixelCount& c) { return c.Count == 0; }, SettleMs));
    PressKey(Run.Driver, XK_space);
    EXPECT_TRUE(WaitForPixels(Run, ExactColor(White), Middle,
                              [](const TPixelCount& c) { return c.Count > 20; }))
        << "Space added no ball in the middle";
    ASSERT_TRUE(WaitForPixels(Run, ExactColor(White), Middle,
                              [](const TPixelCount& c) { return c.Count == 0; }, SettleMs));
    MovePointer(Run.Driver, Run.Win, 100, 100);
    EXPECT_TRUE(HoldButtonUntil(Run, 3, [&] { return CountPixels(Run, ExactColor(White), Middle).Count > 20; }))
        << "a right click added no ball";
    // Hold the left button up in the empty air: the nearest ball comes there.
    const TPixelRect air{580, 130, 620, 170};
    ASSERT_TRUE(WaitForPixels(Run, ExactColor(White), air,
                              [](const TPixelCount& c) { return c.Count == 0; }, SettleMs));
    MovePointer(Run.Driver, Run.Win, 600, 150);
    HoldButton(Run.Driver, 1, true);
    EXPECT_TRUE(WaitForPixels(Run, ExactColor(White), air,
                              [](const TPixelCount& c) { return c.Count > 20; }))
        << "the left button carries no ball";
    HoldButton(Run.Driver, 1, false);
    // A key after the close request still acts: the program read past it.
    ASSERT_TRUE(WaitForPixels(Run, ExactColor(White), Middle,
                              [](const TPixelCount& c) { return c.Count == 0; }, SettleMs));
    SendCloseRequest(Run.Driver, Run.Win);
    PressKey(Run.Driver, XK_space);
    EXPECT_TRUE(WaitForPixels(Run, ExactColor(White), Middle,
                              [](const TPixelCount& c) { return c.Count > 20; }))
        << "the close box ends it";
    std::string why;
    EXPECT_TRUE(KeyEndsWithZero(Run, XK_Escape, why)) << why;
}

TEST(BallHeapNoDisplay, EndsWithOneLine) {
    std::string why;
    EXPECT_TRUE(FailsWithoutDisplay(PROGRAM_PATH, "ball_heap", why)) << why;
}

}  // namespace
