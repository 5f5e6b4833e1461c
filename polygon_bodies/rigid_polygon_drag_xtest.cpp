// polygon_drag as a user meets it: white polygons falling into its window,
// the left button dragging one and the right button not, the close box, Esc,
// and a start without a display.
#include <cstdlib>

#include "rigid_program_xtest.h"

namespace {

constexpr const char* Caption = "SIMULATOR FIZIC";
constexpr TPixelRect Whole{0, 0, 799, 599};
// Named colour 250, white, is entry 15 of the standard palette: 63, 63, 63
// in 6-bit levels.
constexpr uint32_t White = 0xFCFCFC;

// Body 0 starts resting at (399.5, 574), 40 px below body 1, and falls onto
// the bottom edge, half its height (5 to 30 px) above it: a press at
// (400, 582) lies within 25 px of its centre.
constexpr int PressX = 400, PressY = 582;

class PolygonDrag : public RigidProgramTest {
protected:
    void Start(const std::vector<std::string>& env = {}) { StartProgram(Caption, env); }

    // Presses the button on body 0 and takes the pointer in steps along the
    // bottom to the right, away from the falling column, then up to
    // (650, 300), leaving the button held.
    void DragFromBottom(unsigned button) {
        // Frames must see the pointer there before the press: a drag moves
        // the body by the pointer's motion since the frame before.
        MovePointer(Run.Driver, Run.Win, PressX, PressY);
        Pause(60);
        HoldButton(Run.Driver, button, true);
        Pause(40);
        for (int i = 1; i <= 10; i++) {
            MovePointer(Run.Driver, Run.Win, PressX + 25 * i, PressY);
            Pause(25);
        }
        for (int i = 1; i <= 10; i++) {
            MovePointer(Run.Driver, Run.Win, 650, PressY - 28 * i + (i == 10 ? -2 : 0));
            Pause(25);
        }
    }
};

TEST_F(PolygonDrag, WhitePolygonsFallInAndPileUp) {
    Start();
    // A column over the middle at first.
    EXPECT_TRUE(WaitForPixels(Run, ExactColor(White), Whole, [](const TPixelCount& c) {
        return c.Count > 200 && c.X1 > 300 && c.X2 < 500 && c.Y2 > 550;
    }));
    // Then more and more of them reach the bottom and spread over it.
    EXPECT_TRUE(WaitForPixels(Run, ExactColor(White), {0, 450, 799, 599}, [](const TPixelCount& c) {
        return c.Count > 2000 && c.X1 < 300 && c.X2 > 500;
    }, 60000));
    EndWithEsc();
}

// Nothing else comes near (650, 300) in the first seconds: the bodies fall
// in a column over x 400. Knocks from its neighbours on the way can set the
// dragged body off the pointer by a few pixels.
constexpr TPixelRect AroundTarget{570, 220, 730, 380};

TEST_F(PolygonDrag, TheLeftButtonDragsABody) {
    Start();
    DragFromBottom(1);
    EXPECT_TRUE(WaitForPixels(Run, ExactColor(White), AroundTarget, [](const TPixelCount& c) {
        return c.Count > 20 && std::abs(c.CenterX() - 650) <= 40 && std::abs(c.CenterY() - 300) <= 40;
    })) << "no body followed the pointer";
    HoldButton(Run.Driver, 1, false);
    EndWithEsc();
}

TEST_F(PolygonDrag, TheRightButtonDoesNot) {
    Start();
    DragFromBottom(3);
    Pause(400);
    EXPECT_EQ(CountPixels(Run, ExactColor(White), AroundTarget).Count, 0);
    HoldButton(Run.Driver, 3, false);
    EndWithEsc();
}

TEST_F(PolygonDrag, TheCloseBoxLeavesItRunning) {
    Start();
    ASSERT_TRUE(WaitForPixels(Run, ExactColor(White), Whole, [](const TPixelCount& c) { return c.Count > 0; }));
    SendCloseRequest(Run.Driver, Run.Win);
    EXPECT_TRUE(StillRunningAfter(Run, 500));
    EXPECT_GT(CountPixels(Run, ExactColor(White), Whole).Count, 0);
    EndWithEsc();
}

TEST_F(PolygonDrag, RunsWithoutOpenGl) {
    Start({"__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent"});
    EXPECT_TRUE(WaitForPixels(Run, ExactColor(White), Whole, [](const TPixelCount& c) { return c.Count > 100; }));
    EndWithEsc();
}

TEST(PolygonDragWithoutDisplay, SaysSoInOneLineAndEndsWithStatus1) {
    std::string why;
    EXPECT_TRUE(FailsWithoutDisplay(PROGRAM_PATH, "polygon_drag", why)) << why;
}

}  // namespace
