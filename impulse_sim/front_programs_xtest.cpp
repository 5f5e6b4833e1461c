// impulse_sim and impulse_sim_basic as a user meets them: each test starts a
// program, drives it with real key and pointer events and reads its window
// back from the X server.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "test_support/program_test.h"

namespace {

constexpr const char* Caption = "SIMULATOR DE FIZICA";

// The named colours as the standard palette shows them. Light cyan (static
// bodies) and white share one entry, so the ground shows white too.
constexpr TColorRange White = ExactColor(0xFCFCFC);       // dynamic and static bodies
constexpr TColorRange LightGreen = ExactColor(0x9CFC7C);  // the projectile
constexpr TColorRange Green = ExactColor(0x007000);       // joints
constexpr TColorRange LightRed = ExactColor(0xFC7C7C);    // contact points
constexpr TColorRange Yellow = ExactColor(0xFCFC00);      // the status line

constexpr TPixelRect Whole{0, 0, 799, 599};
constexpr TPixelRect StatusBand{0, 0, 799, 29};
// Above the ground's top face (row 549) and below the status line.
constexpr TPixelRect AboveGround{0, 30, 799, 547};
// The lowest rows of scene 5's pyramid: about 1800 white pixels.
constexpr TPixelRect PyramidBase{300, 440, 499, 547};

class ProgramTest : public ::testing::Test {
protected:
    TProgramRun Run;

    void TearDown() override { EndProgramRun(Run); }

    void Start(const char* path, const std::vector<std::string>& setEnv = {}) {
        std::string why;
        ASSERT_TRUE(StartProgramWindow(Run, path, Caption, why, setEnv)) << why;
    }

    TPixelCount Count(const TColorRange& color, const TPixelRect& rect = Whole) {
        return CountPixels(Run, color, rect);
    }

    template <class Condition>
    bool WaitFor(const TColorRange& color, Condition condition, const TPixelRect& rect = Whole) {
        return WaitForPixels(Run, color, rect, condition);
    }

    void Press(KeySym key, int times = 1) {
        for (int i = 0; i < times; i++) PressKey(Run.Driver, key);
    }

    // Scene 1's box, 1 m wide, falling from 4 m onto the ground (rows 437 to
    // 549 at the start's zoom); it falls straight, about x 387..412.
    TPixelCount SceneOneBox() {
        WaitFor(White, [](const TPixelCount& c) { return c.Count > 50 && c.X2 - c.X1 <= 30; }, AboveGround);
        return Count(White, AboveGround);
    }

    // Holds the left button on the box and takes the pointer 150 px up and to
    // the left in steps the program follows; the button stays down. Returns
    // where the pointer ends.
    std::pair<int, int> GrabAndMove(const TPixelCount& box) {
        MovePointer(Run.Driver, Run.Win, box.CenterX(), box.CenterY());
        HoldButton(Run.Driver, 1, true);
        for (int i = 1; i <= 10; i++) {
            MovePointer(Run.Driver, Run.Win, box.CenterX() - 15 * i, box.CenterY() - 15 * i);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return {box.CenterX() - 150, box.CenterY() - 150};
    }

    // Two zoom steps, each taken by a frame of its own, widen the box by two
    // pixels: once that shows, a whole frame has run after every event sent
    // before the keys. The box is 1 m wide: 25 px at the start's zoom of 25.
    bool TwoFramesAfterTheEventsSoFar(const TPixelCount& box) {
        Press(XK_Up, 2);
        const int wider = box.X2 - box.X1 + 2;
        return WaitFor(White, [&](const TPixelCount& c) { return c.X2 - c.X1 >= wider; }, AboveGround);
    }

    void EndWithEsc() {
        std::string why;
        EXPECT_TRUE(KeyEndsWithZero(Run, XK_Escape, why)) << why;
    }
};

TEST_F(ProgramTest, StatusLineAndBodiesShowAndEscEnds) {
    Start(PROGRAM_PATH);
    EXPECT_TRUE(WaitFor(Yellow, [](const TPixelCount& c) {
        return c.Count > 100 && c.Y1 >= 5 && c.Y2 < 30 && c.X1 < 400 && c.X2 > 400;
    })) << "no yellow status line centred along the top";
    // Scene 1: a box falling onto the ground's top face at row 549.
    EXPECT_TRUE(WaitFor(White, [](const TPixelCount& c) { return c.Count > 50 && c.X1 > 380 && c.X2 < 420; },
                        AboveGround));
    EXPECT_GT(Count(White, {0, 549, 799, 549}).Count, 700);
    EndWithEsc();
}

// Without OpenGL the window opens with -9 and draws in two dimensions all the
// same: the program must not take that for a failed open.
TEST_F(ProgramTest, RunsWithoutOpenGL) {
    Start(PROGRAM_PATH, {"__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent"});
    EXPECT_TRUE(WaitFor(Yellow, [](const TPixelCount& c) { return c.Count > 100; }));
    EndWithEsc();
}

TEST_F(ProgramTest, EnterShowsTheNextSceneAndThePendulumsJointIsGreen) {
    Start(PROGRAM_PATH);
    // Scene 1 has the ground and one box; scene 2 adds five long ramps.
    ASSERT_TRUE(WaitFor(White, [](const TPixelCount& c) { return c.Count > 0; }));
    const int scene1 = Count(White).Count;
    Press(XK_Return);
    EXPECT_TRUE(WaitFor(White, [&](const TPixelCount& c) { return c.Count > scene1 + 1500; }));
    // Scene 6: a box pinned to the ground. The joint runs from the ground's
    // centre below the window up to the anchor 11 m above it (row 274 at the
    // start's zoom), and on to the box.
    Press(XK_Return, 4);
    EXPECT_TRUE(WaitFor(Green, [](const TPixelCount& c) {
        return c.Count > 200 && c.Y1 <= 280 && c.Y2 >= 540;
    })) << "no green joint line";
    EXPECT_EQ(Count(Green, {0, 0, 799, 270}).Count, 0) << "the joint reaches above its anchor";
    EndWithEsc();
}

TEST_F(ProgramTest, SpaceThrowsALightGreenProjectile) {
    Start(PROGRAM_PATH);
    ASSERT_TRUE(WaitFor(Yellow, [](const TPixelCount& c) { return c.Count > 0; }));
    EXPECT_EQ(Count(LightGreen).Count, 0);
    Press(XK_space);
    EXPECT_TRUE(WaitFor(LightGreen, [](const TPixelCount& c) { return c.Count > 20; }));
    EndWithEsc();
}

TEST_F(ProgramTest, LeftButtonAloneDragsTheNearestBody) {
    Start(PROGRAM_PATH);
    const TPixelCount box = SceneOneBox();
    HoldKey(Run.Driver, XK_Shift_L, true);  // with Shift nothing moves
    GrabAndMove(box);
    ASSERT_TRUE(TwoFramesAfterTheEventsSoFar(box));
    EXPECT_NEAR(Count(White, AboveGround).CenterX(), box.CenterX(), 2);
    HoldButton(Run.Driver, 1, false);
    HoldKey(Run.Driver, XK_Shift_L, false);

    auto [x, y] = GrabAndMove(Count(White, AboveGround));
    // The box is drawn before it is moved in a frame, so it shows one step's
    // fall below the pointer, growing while it is held.
    EXPECT_TRUE(WaitFor(White, [&](const TPixelCount& c) {
        return std::abs(c.CenterX() - x) <= 2 && c.CenterY() >= y - 2 && c.CenterY() <= y + 10;
    }, AboveGround)) << "the box does not follow the pointer";
    HoldButton(Run.Driver, 1, false);
    EndWithEsc();
}

TEST_F(ProgramTest, CloseBoxLeavesItRunning) {
    Start(PROGRAM_PATH);
    ASSERT_TRUE(WaitFor(Yellow, [](const TPixelCount& c) { return c.Count > 100; }));
    SendCloseRequest(Run.Driver, Run.Win);
    // A key after the close request still acts: the program read past it.
    Press(XK_space);
    EXPECT_TRUE(WaitFor(LightGreen, [](const TPixelCount& c) { return c.Count > 20; }));
    EXPECT_NE(FindWindowByCaption(Run.Driver, Caption, 100), 0u);
    EndWithEsc();
}

// Scene 5, the pyramid: the longest step, the most to draw and many contacts
// at once. Each frame is drawn on the hidden page and shown whole: read after
// read, the status line and the bodies are there.
TEST_F(ProgramTest, ThePyramidShowsContactPointsAndNeverAHalfDrawnFrame) {
    Start(PROGRAM_PATH);
    Press(XK_Return, 4);
    EXPECT_TRUE(WaitFor(LightRed, [](const TPixelCount& c) { return c.Count > 20; }));
    ASSERT_TRUE(WaitFor(White, [](const TPixelCount& c) { return c.Count > 1000; }, PyramidBase));
    int incomplete = 0, reads = 0;
    for (; reads < 300; reads++) {
        const TPixelCount status = Count(Yellow, StatusBand);
        const TPixelCount bodies = Count(White, PyramidBase);
        if (status.Count < 100 || bodies.Count < 1000) incomplete++;
    }
    EXPECT_EQ(incomplete, 0) << "of " << reads << " reads";
    EndWithEsc();
}

TEST_F(ProgramTest, BasicProgramIgnoresTheMouseAndHidesContactPoints) {
    Start(IMPULSE_SIM_BASIC_PATH);
    const TPixelCount box = SceneOneBox();
    GrabAndMove(box);
    ASSERT_TRUE(TwoFramesAfterTheEventsSoFar(box));
    const TPixelCount after = Count(White, AboveGround);
    HoldButton(Run.Driver, 1, false);
    EXPECT_NEAR(after.CenterX(), box.CenterX(), 2);

    Press(XK_Return, 4);
    // 28 boxes of the pyramid in white, not one contact point read after read.
    ASSERT_TRUE(WaitFor(White, [](const TPixelCount& c) { return c.Count > 2000; }));
    for (int i = 0; i < 40; i++) EXPECT_EQ(Count(LightRed).Count, 0) << "read " << i;
    EndWithEsc();
}

TEST(ProgramsWithoutADisplay, BothEndWithAMessage) {
    std::string why;
    EXPECT_TRUE(FailsWithoutDisplay(PROGRAM_PATH, "impulse_sim", why)) << why;
    EXPECT_TRUE(FailsWithoutDisplay(IMPULSE_SIM_BASIC_PATH, "impulse_sim_basic", why)) << why;
}

}  // namespace
