// polygon_impact as a user meets it: the real program under a private X
// server, driven by XTest keys and pointer events, its window read back.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "test_support/program_test.h"

namespace {

constexpr int Width = 640, Height = 480;
constexpr TPixelRect Whole{0, 0, Width - 1, Height - 1};

// The standard palette's entries 9 to 14 and 15 as the screen shows them:
// 6-bit components times 4; entry 9 is (132, 132, 252).
constexpr uint32_t BodyColors[] = {0x8484FC, 0x54FC54, 0x54FCFC, 0xFC5454, 0xFC54FC};
constexpr uint32_t Yellow = 0xFCFC54;  // entry 14
constexpr uint32_t White = 0xFCFCFC;   // named white's nearest entry

struct TCentroid {
    int Count = 0;
    double X = 0, Y = 0;
};

TCentroid Centroid(TProgramRun& run, uint32_t rgb) {
    TCentroid c;
    std::vector<uint32_t> pixels;
    if (!ReadWindowPixels(run.Driver, run.Win, 0, 0, Width, Height, pixels)) return c;
    for (int y = 0; y < Height; y++)
        for (int x = 0; x < Width; x++)
            if ((pixels[size_t(y * Width + x)] & 0xFFFFFF) == rgb) {
                c.Count++;
                c.X += x;
                c.Y += y;
            }
    if (c.Count > 0) {
        c.X /= c.Count;
        c.Y /= c.Count;
    }
    return c;
}

class PolygonImpact : public ::testing::Test {
protected:
    TProgramRun Run;

    void Start(const std::vector<std::string>& env = {}) {
        std::string why;
        ASSERT_TRUE(StartProgramWindow(Run, PROGRAM_PATH, "IMPACT", why, env)) << why;
    }
    void TearDown() override { EndProgramRun(Run); }

    bool StartPictureShows() {
        for (uint32_t rgb : BodyColors)
            if (!WaitForPixels(Run, ExactColor(rgb), Whole,
                               [](const TPixelCount& c) { return c.Count > 1500; }))
                return false;
        return true;
    }

    // Moves the pointer in steps with the button held, as a hand would.
    void MoveHeld(int fromX, int fromY, int toX, int toY) {
        for (int i = 1; i <= 40; i++) {
            MovePointer(Run.Driver, Run.Win, fromX + (toX - fromX) * i / 40,
                        fromY + (toY - fromY) * i / 40);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    void EndWithEsc() {
        std::string why;
        EXPECT_TRUE(KeyEndsWithZero(Run, XK_Escape, why)) << why;
        EXPECT_EQ(ProgramErrors(Run), "");
    }
};

// Five triangles in colours 9 to 13 pointing right along the left wall,
// outlined white, in a 640 x 480 window.
TEST_F(PolygonImpact, FiveOutlinedTrianglesThenEscEnds) {
    Start();
    int x, y, w, h;
    ASSERT_TRUE(GetWindowGeometry(Run.Driver, Run.Win, x, y, w, h));
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    ASSERT_TRUE(StartPictureShows());
    for (uint32_t rgb : BodyColors) {
        const TPixelCount c = CountPixels(Run, ExactColor(rgb), Whole);
        EXPECT_LT(c.X1, 20) << std::hex << rgb;
        EXPECT_GT(c.X2, 100) << std::hex << rgb;
        EXPECT_LT(c.X2, 260) << std::hex << rgb;
    }
    EXPECT_GT(CountPixels(Run, ExactColor(White), Whole).Count, 300);
    EXPECT_EQ(CountPixels(Run, ExactColor(Yellow), Whole).Count, 0);
    EndWithEsc();
}

// Without OpenGL the window still opens and draws: no failure.
TEST_F(PolygonImpact, RunsWithoutOpenGL) {
    Start({"__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent"});
    EXPECT_TRUE(StartPictureShows());
    EXPECT_TRUE(StillRunningAfter(Run, 200));
    EndWithEsc();
}

// Only the lower-case "a" adds a body: the first added is yellow.
TEST_F(PolygonImpact, LowerCaseAAddsAYellowBody) {
    Start();
    ASSERT_TRUE(StartPictureShows());
    PressKey(Run.Driver, XK_a, ShiftMask);
    PressKey(Run.Driver, XK_x);
    PressKey(Run.Driver, XK_Return);
    PressKey(Run.Driver, XK_Up);
    PressKey(Run.Driver, XK_F1);
    EXPECT_TRUE(StillRunningAfter(Run, 400));
    EXPECT_EQ(CountPixels(Run, ExactColor(Yellow), Whole).Count, 0);
    PressKey(Run.Driver, XK_a);
    EXPECT_TRUE(WaitForPixels(Run, ExactColor(Yellow), Whole,
                              [](const TPixelCount& c) { return c.Count > 1000; }));
    EndWithEsc();
}

// The left button held over the top triangle pulls it to the pointer, up
// and away from the others so that it stays the nearest; a drag on past the
// window's left edge pulls it to the left wall, not to the right one.
TEST_F(PolygonImpact, LeftButtonPullsABodyToThePointerAndPastTheLeftEdge) {
    Start();
    ASSERT_TRUE(StartPictureShows());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const uint32_t top = BodyColors[4];
    const TCentroid start = Centroid(Run, top);
    ASSERT_GT(start.Count, 1500);
    const int sx = int(start.X + 0.5), sy = int(start.Y + 0.5);
    MovePointer(Run.Driver, Run.Win, sx, sy);
    HoldButton(Run.Driver, 1, true);
    MoveHeld(sx, sy, 420, 100);
    EXPECT_TRUE(WaitUntil(SignalWaitMs,
                          [&] {
                              const TCentroid c = Centroid(Run, top);
                              return c.Count > 1500 && std::abs(c.X - 420) < 5 &&
                                     std::abs(c.Y - 100) < 5;
                          }))
        << "the body does not follow the pointer: " << Centroid(Run, top).X << ", "
        << Centroid(Run, top).Y;
    MoveHeld(420, 100, -60, 100);
    EXPECT_TRUE(WaitUntil(SignalWaitMs,
                          [&] {
                              const TCentroid c = Centroid(Run, top);
                              return c.Count > 1000 && c.X < 130;
                          }))
        << "the body is not pulled to the left: " << Centroid(Run, top).X;
    HoldButton(Run.Driver, 1, false);
    EndWithEsc();
}

// Shift alone is a non-zero button word: every body is pulled, gently.
TEST_F(PolygonImpact, ShiftWithThePointerPullsEveryBody) {
    Start();
    ASSERT_TRUE(StartPictureShows());
    HoldKey(Run.Driver, XK_Shift_L, true);
    MovePointer(Run.Driver, Run.Win, 500, 250);
    MovePointer(Run.Driver, Run.Win, 520, 240);
    EXPECT_TRUE(WaitUntil(SignalWaitMs, [&] {
        for (uint32_t rgb : BodyColors)
            if (Centroid(Run, rgb).X < 330) return false;
        return true;
    })) << "not every body moves towards the pointer";
    HoldKey(Run.Driver, XK_Shift_L, false);
    EndWithEsc();
}

TEST_F(PolygonImpact, CloseBoxLeavesItRunning) {
    Start();
    ASSERT_TRUE(StartPictureShows());
    SendCloseRequest(Run.Driver, Run.Win);
    // A key after the close request still acts: the program read past it.
    PressKey(Run.Driver, XK_a);
    EXPECT_TRUE(WaitForPixels(Run, ExactColor(Yellow), Whole,
                              [](const TPixelCount& c) { return c.Count > 1000; }));
    EXPECT_NE(FindWindowByCaption(Run.Driver, "IMPACT", 0), 0u);
    EndWithEsc();
}

TEST(PolygonImpactWithoutDisplay, EndsAtOnceWithOneLine) {
    int status = -1;
    std::string errors;
    ASSERT_TRUE(RunWithoutDisplay(PROGRAM_PATH, SignalWaitMs, status, errors));
    EXPECT_EQ(status, 1);
    EXPECT_EQ(
        errors,
        "polygon_impact: cannot open the window: DISPLAY is not set; an X display is needed\n");
}

}  // namespace
