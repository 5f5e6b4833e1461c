// rack_billiard as a user meets it: the triangle in the same colours every
// run, the pointer's disc scattering it, only Esc ending it.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <chrono>
#include <set>
#include <thread>

#include "billiard_screen.h"

namespace {

constexpr int Width = 800, Height = 600;
// Discs 1 to 15: x 79.9 to 163.0, y 239.5 to 359.5, radius 12.
constexpr TPixelRect Triangle{66, 226, 177, 373};

// Standard palette entries 9 to 15, the rack's colours.
const std::set<uint32_t> RackColours{0x8484FC, 0x54FC54, 0x54FCFC, 0xFC5454,
                                     0xFC54FC, 0xFCFC54, 0xFCFCFC};

struct RackBilliard : ::testing::Test {
    TProgramRun Run;
    void TearDown() override { EndProgramRun(Run); }
    void Start() {
        std::string why;
        ASSERT_TRUE(StartProgramWindow(Run, PROGRAM_PATH, "FIZICA BILIARDULUI", why)) << why;
    }
    TScreen TriangleShown() {
        TScreen s;
        WaitUntil(SignalWaitMs, [&] {
            s = Grab(Run, Width, Height);
            return NonBlackIn(s, Triangle) > 600;
        });
        return s;
    }
};

TEST_F(RackBilliard, TheTriangleInTheRacksColoursTheSameEveryRun) {
    Start();
    const TScreen first = TriangleShown();
    const int lit = NonBlackIn(first, Triangle);
    EXPECT_GT(lit, 600);   // fifteen outlines of radius 12
    EXPECT_LT(lit, 1800);  // not filled
    std::vector<uint32_t> colours;
    for (int y = Triangle.Y1; y <= Triangle.Y2; y++)
        for (int x = Triangle.X1; x <= Triangle.X2; x++)
            if (first.At(x, y)) {
                EXPECT_EQ(RackColours.count(first.At(x, y)), 1u) << std::hex << first.At(x, y);
                colours.push_back(first.At(x, y));
            }
    // Nothing else on the table but the cue disc, near the pointer's corner.
    EXPECT_EQ(NonBlackIn(first, {200, 0, Width - 1, Height - 1}), 0);
    EXPECT_TRUE(OutlineAround(first, 79, 227) || NonBlackIn(first, {0, 0, 60, 60}) > 0);
    EndProgramRun(Run);

    Run = TProgramRun{};
    Start();
    const TScreen second = TriangleShown();
    std::vector<uint32_t> again;
    for (int y = Triangle.Y1; y <= Triangle.Y2; y++)
        for (int x = Triangle.X1; x <= Triangle.X2; x++)
            if (second.At(x, y)) again.push_back(second.At(x, y));
    EXPECT_EQ(again, colours);
}

TEST_F(RackBilliard, ThePointerScattersItTheCloseBoxKeepsItEscEndsIt) {
    Start();
    TriangleShown();
    // Sweep the cue disc through the triangle from the left.
    MovePointer(Run.Driver, Run.Win, 20, 300);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    for (int x = 20; x <= 260; x += 8) {
        MovePointer(Run.Driver, Run.Win, x, 300);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    // Discs driven out of the rack turn up right of it, away from the cue.
    EXPECT_TRUE(WaitUntil(SignalWaitMs, [&] {
        TScreen s = Grab(Run, Width, Height);
        return NonBlackIn(s, {300, 0, Width - 1, Height - 1}) + NonBlackIn(s, {0, 0, 299, 200}) +
                   NonBlackIn(s, {0, 400, 299, Height - 1}) > 50;
    })) << "the rack did not scatter";

    SendCloseRequest(Run.Driver, Run.Win);
    PressKey(Run.Driver, XK_a);
    PressKey(Run.Driver, XK_Return);
    EXPECT_TRUE(StillRunningAfter(Run, 1000)) << "the close box or another key ended it";
    std::string why;
    EXPECT_TRUE(KeyEndsWithZero(Run, XK_Escape, why)) << why;
    EXPECT_EQ(ProgramErrors(Run), "");
}

TEST(RackBilliardAlone, WithoutADisplayItSaysSoAndEndsWithOne) { ExpectNoDisplayLine(PROGRAM_PATH, "rack_billiard"); }

}  // namespace
