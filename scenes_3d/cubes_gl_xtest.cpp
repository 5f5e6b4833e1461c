// cubes_gl as a user meets it: the real program, real keys and pointer
// events, its window read back from the X server.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <cstdlib>
#include <string>

#include "test_support/program_test.h"

namespace {

constexpr const char* Caption = "CUBURI IN 3D";
constexpr TPixelRect Whole{0, 0, 799, 599};
constexpr TColorRange White = ExactColor(0xFFFFFF);
constexpr TColorRange Magenta = ExactColor(0xFF00FF);
constexpr TColorRange Black = ExactColor(0x000000);

// The box drawn from the start camera: its front face, 296 in front of the
// eye, spans X -64..64 and Y -64..128 (Y pointing down the screen).
constexpr int BoxLeft = 245, BoxRight = 555, BoxTop = 161, BoxBottom = 578;

bool Near(int a, int b, int tolerance = 3) { return std::abs(a - b) <= tolerance; }

class CubesGl : public ::testing::Test {
protected:
    TProgramRun Run;

    void SetUp() override {
        std::string why;
        ASSERT_TRUE(StartProgramWindow(Run, PROGRAM_PATH, Caption, why)) << why;
        ASSERT_TRUE(WaitForPixels(Run, White, Whole, [](const TPixelCount& c) { return c.Count > 1000; }))
            << "no box lines";
    }
    void TearDown() override { EndProgramRun(Run); }

    TPixelCount BoxLines() { return CountPixels(Run, White, Whole); }
};

TEST_F(CubesGl, StartsWithTheMagentaSidesOfTheCubesInsideTheWhiteBox) {
    const TPixelCount box = BoxLines();
    EXPECT_TRUE(Near(box.X1, BoxLeft)) << box.X1;
    EXPECT_TRUE(Near(box.X2, BoxRight)) << box.X2;
    EXPECT_TRUE(Near(box.Y1, BoxTop)) << box.Y1;
    EXPECT_TRUE(Near(box.Y2, BoxBottom)) << box.Y2;
    // The cubes' -A2 faces look at the eye.
    const TPixelCount faces = CountPixels(Run, Magenta, Whole);
    EXPECT_GT(faces.Count, 2000);
    EXPECT_GT(faces.X1, BoxLeft);
    EXPECT_LT(faces.X2, BoxRight);
    EXPECT_GT(faces.Y1, BoxTop);
}

TEST_F(CubesGl, KeysAndALeftDragTurnAndZoomTheCamera) {
    const TPixelCount start = BoxLines();
    // Yaw: the box turns, its sides no longer mirror each other.
    PressKey(Run.Driver, XK_Left);
    EXPECT_TRUE(WaitForPixels(Run, White, Whole, [&](const TPixelCount& c) {
        return !Near(c.X1, start.X1, 2) || !Near(c.X2, start.X2, 2);
    }));
    const TPixelCount turned = BoxLines();
    // Pitch: the box tilts towards or away from the eye.
    PressKey(Run.Driver, XK_a);
    EXPECT_TRUE(WaitForPixels(Run, White, Whole, [&](const TPixelCount& c) {
        return !Near(c.Y1, turned.Y1, 2) || !Near(c.Y2, turned.Y2, 2);
    }));
    const TPixelCount tilted = BoxLines();
    // A narrower field of view: everything grows.
    PressKey(Run.Driver, XK_s);
    EXPECT_TRUE(WaitForPixels(Run, White, Whole, [&](const TPixelCount& c) {
        return c.X2 - c.X1 > tilted.X2 - tilted.X1 + 3 && c.Y2 - c.Y1 > tilted.Y2 - tilted.Y1 + 3;
    }));
    const TPixelCount zoomed = BoxLines();
    // A left drag 40 pixels to the right turns the yaw by 40 degrees.
    MovePointer(Run.Driver, Run.Win, 300, 300);
    HoldButton(Run.Driver, 1, true);
    MovePointer(Run.Driver, Run.Win, 340, 300);
    const bool dragged = WaitForPixels(Run, White, Whole, [&](const TPixelCount& c) {
        return !Near(c.X1, zoomed.X1, 10) || !Near(c.X2, zoomed.X2, 10);
    });
    HoldButton(Run.Driver, 1, false);
    EXPECT_TRUE(dragged);
}

TEST_F(CubesGl, HoldingTheRightButtonPutsTheEyeInsideTheShotCube) {
    MovePointer(Run.Driver, Run.Win, 400, 300);
    HoldButton(Run.Driver, 3, true);
    // Put back in front of the eye each frame, the cube covers everything.
    const bool filled = WaitForPixels(Run, Black, Whole, [](const TPixelCount& c) {
        return c.Count >= 0 && c.Count < 800 * 600 / 100;
    });
    const int lines = BoxLines().Count;
    HoldButton(Run.Driver, 3, false);
    EXPECT_TRUE(filled);
    EXPECT_EQ(lines, 0);
    // Released, it flies off into the scene and the box shows again.
    EXPECT_TRUE(WaitForPixels(Run, White, Whole, [](const TPixelCount& c) { return c.Count > 1000; }));
}

TEST_F(CubesGl, OnlyEscHeldDownEndsIt) {
    PressKey(Run.Driver, XK_Escape);  // queued, up again before any frame ends
    EXPECT_TRUE(StillRunningAfter(Run, 500));
    SendCloseRequest(Run.Driver, Run.Win);
    EXPECT_TRUE(StillRunningAfter(Run, 500));
    EXPECT_GT(BoxLines().Count, 1000);

    std::string why;
    EXPECT_TRUE(HeldKeyEndsWithZero(Run, XK_Escape, why)) << why;
    EXPECT_EQ(ProgramErrors(Run), "");
}

TEST(CubesGlFailures, WithoutADisplayOneLineAndStatus1) {
    std::string why;
    EXPECT_TRUE(FailsWithoutDisplay(PROGRAM_PATH, "cubes_gl", why)) << why;
}

TEST(CubesGlFailures, WithoutOpenGlOneLineAndStatus1) {
    std::string why;
    EXPECT_TRUE(FailsWithoutOpenGl(PROGRAM_PATH, "cubes_gl", why)) << why;
}

}  // namespace
