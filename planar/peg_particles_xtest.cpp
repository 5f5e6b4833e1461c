// peg_particles as a user meets it: the pegs, a drop added with the left
// button, the end keys, read back from the screen.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <string>

#include "mirror_program_test.h"
#include "test_support/program_test.h"

namespace {

constexpr const char* Caption = "PARTICULE IN BALANS";
// Red (255, 0, 0) and light blue (173, 216, 230) as the 256-colour standard
// palette shows them: (252, 0, 0) and (180, 216, 252).
constexpr TColorRange Red = ExactColor(0xFC0000);
constexpr TColorRange LightBlue = ExactColor(0xB4D8FC);
constexpr TPixelRect Whole{0, 0, 799, 599};

using PegsProgram = MirrorProgramTest;

TEST_F(PegsProgram, RedPegsAndALeftClickAddsADropAtTheTop) {
    Start(Caption);
    // Fifty circles of radius 30, some of them below the window.
    EXPECT_TRUE(WaitForPixels(Run, Red, Whole, [](const TPixelCount& c) {
        return c.Count > 2000 && c.Y1 >= 70;
    })) << "no red pegs";
    EXPECT_EQ(CountPixels(Run, LightBlue, Whole).Count, 0);
    // The press adds the drop; look for it before it has fallen far.
    MovePointer(Run.Driver, Run.Win, 400, 500);
    HoldButton(Run.Driver, 1, true);
    EXPECT_TRUE(WaitForPixels(Run, LightBlue, Whole, [](const TPixelCount& c) {
        return c.Count > 10 && c.Y1 == 0 && c.Y2 <= 14 && c.X2 - c.X1 >= 10 && c.X2 - c.X1 <= 20;
    })) << "no light-blue drop on the top edge";
    HoldButton(Run.Driver, 1, false);
    // It falls.
    EXPECT_TRUE(WaitForPixels(Run, LightBlue, {0, 100, 799, 599},
                              [](const TPixelCount& c) { return c.Count > 10; }));
    std::string why;
    EXPECT_TRUE(KeyEndsWithZero(Run, XK_space, why)) << why;
}

TEST_F(PegsProgram, TheCloseBoxEndsIt) {
    Start(Caption, {"__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent"});  // no OpenGL needed
    EXPECT_TRUE(WaitForPixels(Run, Red, Whole, [](const TPixelCount& c) { return c.Count > 2000; }));
    SendCloseRequest(Run.Driver, Run.Win);
    int status = -1;
    ASSERT_TRUE(WaitProgramStatus(Run, SignalWaitMs, status)) << "still running after the close box";
    EXPECT_EQ(status, 0);
}

TEST(PegsProgramWithoutDisplay, SaysSoOnOneLineAndExitsWithOne) {
    std::string why;
    EXPECT_TRUE(FailsWithoutDisplay(PROGRAM_PATH, "peg_particles", why)) << why;
}

}  // namespace
