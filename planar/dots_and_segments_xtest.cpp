// dots_and_segments as a user meets it: segments drawn with the right button,
// dots dropped with the left one, read back from the screen.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <string>

#include "mirror_program_test.h"
#include "test_support/program_test.h"

namespace {

constexpr const char* Caption = "LINII SI BILE";
// The named colours as the 256-colour standard palette shows them: white
// (255, 255, 255) as (252, 252, 252), light green (144, 238, 144) as
// (156, 252, 124), yellow (255, 255, 0) as (252, 252, 0).
constexpr TColorRange White = ExactColor(0xFCFCFC);
constexpr TColorRange LightGreen = ExactColor(0x9CFC7C);
constexpr TColorRange Yellow = ExactColor(0xFCFC00);
constexpr TPixelRect Whole{0, 0, 799, 599};

using DotsProgram = MirrorProgramTest;

TEST_F(DotsProgram, ASegmentThenADotThatFallsOntoItAndComesBackUp) {
    Start(Caption);
    ClickAt(Run.Driver, Run.Win, 200, 400, 3);
    // The first end alone draws nothing.
    EXPECT_TRUE(StillRunningAfter(Run, 200));
    EXPECT_EQ(CountPixels(Run, White, Whole).Count, 0);
    ClickAt(Run.Driver, Run.Win, 600, 400, 3);
    EXPECT_TRUE(WaitForPixels(Run, White, Whole, [](const TPixelCount& c) {
        return c.Count >= 400 && c.X1 == 200 && c.X2 == 600 && c.Y1 == 400 && c.Y2 == 400;
    })) << "no white segment from (200, 400) to (600, 400)";

    // With the middle button held the left one drops nothing. (Shift is a
    // key, and any key ends the program.)
    MovePointer(Run.Driver, Run.Win, 100, 100);
    HoldButton(Run.Driver, 2, true);
    ClickAt(Run.Driver, Run.Win, 100, 100, 1);
    HoldButton(Run.Driver, 2, false);
    ClickAt(Run.Driver, Run.Win, 400, 385, 1);
    EXPECT_TRUE(WaitForPixels(Run, LightGreen, Whole, [](const TPixelCount& c) {
        return c.Count > 8 && c.X1 >= 396 && c.X2 <= 404 && c.Y1 >= 380;
    })) << "no light-green dot under the pointer";
    // Only the segment can turn the dot back, so one seen well below where it
    // was dropped and then above it again has been there. The dot stays below
    // 390 for a third of a second at full speed, longer on a slow machine, and
    // a small rectangle reads quickly, so slow polling still catches it.
    const TPixelRect path{380, 360, 420, 410};
    EXPECT_TRUE(WaitForPixels(Run, LightGreen, path, [](const TPixelCount& c) {
        return c.Count > 8 && c.CenterY() >= 390;
    })) << "the dot does not fall towards the segment";
    EXPECT_TRUE(WaitForPixels(Run, LightGreen, path, [](const TPixelCount& c) {
        return c.Count > 8 && c.CenterY() <= 380 && c.X1 >= 396 && c.X2 <= 404;
    })) << "the dot does not come back up";
    EXPECT_EQ(CountPixels(Run, LightGreen, {0, 0, 200, 200}).Count, 0) << "two buttons dropped a dot";
    // Beside a vertical segment a dot is mirrored, unturned, in every frame:
    // yellow all the way down, gone with the dot when it leaves the window.
    ClickAt(Run.Driver, Run.Win, 700, 450, 3);
    ClickAt(Run.Driver, Run.Win, 700, 590, 3);
    ClickAt(Run.Driver, Run.Win, 701, 480, 1);
    EXPECT_TRUE(WaitForPixels(Run, Yellow, Whole, [](const TPixelCount& c) {
        return c.Count > 8 && c.X1 >= 697 && c.X2 <= 705 && c.Y1 >= 476;
    })) << "no yellow dot beside the vertical segment";
    EXPECT_TRUE(WaitForPixels(Run, Yellow, Whole, [](const TPixelCount& c) { return c.Count == 0; }))
        << "the yellow dot stays after leaving the window";

    PressKey(Run.Driver, XK_a);
    ExpectEndsWithZero();
}

TEST_F(DotsProgram, TheCloseBoxEndsIt) {
    Start(Caption, {"__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent"});  // no OpenGL needed
    EXPECT_TRUE(StillRunningAfter(Run, 300));
    SendCloseRequest(Run.Driver, Run.Win);
    ExpectEndsWithZero();
}

TEST(DotsProgramWithoutDisplay, SaysSoOnOneLineAndExitsWithOne) {
    std::string why;
    EXPECT_TRUE(FailsWithoutDisplay(PROGRAM_PATH, "dots_and_segments", why)) << why;
}

}  // namespace
