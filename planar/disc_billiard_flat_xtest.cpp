// disc_billiard_flat as a user meets it: fifty outlines, the cue disc under
// the pointer, any key or the close box ending it.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <chrono>
#include <thread>

#include "billiard_screen.h"

namespace {

constexpr int Width = 640, Height = 480;

struct FlatBilliard : ::testing::Test {
    TProgramRun Run;
    void TearDown() override { EndProgramRun(Run); }
    void Start() {
        std::string why;
        ASSERT_TRUE(StartProgramWindow(Run, PROGRAM_PATH, "BILIARD 3D", why)) << why;
    }
    void ExpectEndsWithZero(const char* after) {
        int status = -1;
        ASSERT_TRUE(WaitProgramStatus(Run, SignalWaitMs, status)) << "still running after " << after;
        EXPECT_EQ(status, 0);
        EXPECT_EQ(ProgramErrors(Run), "");
    }
};

TEST_F(FlatBilliard, FiftyOutlinesAndTheCueFollowsThePointer) {
    Start();
    // Fifty circles of radius 8 to 39, outlines only: far fewer lit pixels
    // than fifty filled discs, spread over the window.
    TScreen s;
    ASSERT_TRUE(WaitUntil(SignalWaitMs, [&] {
        s = Grab(Run, Width, Height);
        const int lit = NonBlackIn(s, {0, 0, Width - 1, Height - 1});
        return lit > 2500 && lit < 16000;
    })) << NonBlackIn(s, {0, 0, Width - 1, Height - 1}) << " lit pixels";
    EXPECT_GT(DistinctColours(s), 5);
    EXPECT_GT(NonBlackIn(s, {0, 0, Width / 2, Height / 2}), 200);
    EXPECT_GT(NonBlackIn(s, {Width / 2, Height / 2, Width - 1, Height - 1}), 200);

    for (auto [x, y] : {std::pair{160, 120}, std::pair{480, 360}, std::pair{300, 200}}) {
        MovePointer(Run.Driver, Run.Win, x, y);
        EXPECT_TRUE(WaitUntil(SignalWaitMs, [&] { return OutlineAround(Grab(Run, Width, Height), x, y); }))
            << "no disc around the pointer at " << x << ", " << y;
    }
    PressKey(Run.Driver, XK_a);
    ExpectEndsWithZero("a key");
}

// Dragged out of the window to the left, the pointer reads negative: the cue
// disc is mirrored at the left cushion, 2R + 60 from the edge, not sent
// 65,000 pixels to the right.
TEST_F(FlatBilliard, APointerDraggedOutToTheLeftKeepsTheCueAtTheLeftCushion) {
    Start();
    MovePointer(Run.Driver, Run.Win, 100, 200);
    HoldButton(Run.Driver, 1, true);
    for (int x = 80; x >= -60; x -= 20) {
        MovePointer(Run.Driver, Run.Win, x, 200);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_TRUE(WaitUntil(SignalWaitMs, [&] {
        const TScreen s = Grab(Run, Width, Height);
        for (int r = 8; r <= 39; r++)
            if (OutlineOfRadius(s, 2 * r + 60, 200, r)) return true;
        return false;
    })) << "no cue disc mirrored at the left cushion";
    HoldButton(Run.Driver, 1, false);
}

TEST_F(FlatBilliard, TheCloseBoxEndsIt) {
    Start();
    ASSERT_TRUE(WaitUntil(SignalWaitMs, [&] { return NonBlackIn(Grab(Run, Width, Height), {0, 0, Width - 1, Height - 1}) > 1000; }));
    SendCloseRequest(Run.Driver, Run.Win);
    ExpectEndsWithZero("the close box");
}

TEST(FlatBilliardAlone, WithoutADisplayItSaysSoAndEndsWithOne) { ExpectNoDisplayLine(PROGRAM_PATH, "disc_billiard_flat"); }

}  // namespace
