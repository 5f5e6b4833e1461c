// projectile_2d as a user meets it.
#include <gtest/gtest.h>

#include <X11/keysym.h>
#include <time.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "test_support/program_test.h"

namespace {

constexpr uint32_t Red = 0xFC0000, White = 0xFCFCFC;  // standard palette 207 and 250
constexpr TPixelRect Whole{0, 0, 799, 599};

class ThrowTest : public ::testing::Test {
protected:
    TProgramRun Run;
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(StartProgramWindow(Run, PROGRAM_PATH, "ARUNCAREA PE OBLICA", why)) << why;
    }
    void TearDown() override { EndProgramRun(Run); }

    bool RedNear(int x, int y) {
        return WaitForPixels(Run, ExactColor(Red), {x - 25, y - 25, x + 25, y + 25},
                             [](const TPixelCount& c) { return c.Count > 1000; });
    }
    // The program's processor time so far, from /proc.
    double CpuSeconds() {
        std::ifstream in("/proc/" + std::to_string(Run.Child.Pid) + "/stat");
        std::string line;
        std::getline(in, line);
        std::istringstream fields(line.substr(line.rfind(')') + 2));
        std::string skip;
        for (int i = 0; i < 11; i++) fields >> skip;
        double user = 0, system = 0;
        fields >> user >> system;
        return (user + system) / double(sysconf(_SC_CLK_TCK));
    }
};

TEST_F(ThrowTest, ClicksAimAndThrowALeftClickReaimsARightClickEnds) {
    // A click with Shift held places nothing.
    ClickAt(Run.Driver, Run.Win, 400, 450, 1, ShiftMask);
    EXPECT_TRUE(StillRunningAfter(Run, 200));
    EXPECT_EQ(CountPixels(Run, ExactColor(Red), Whole).Count, 0);
    ClickAt(Run.Driver, Run.Win, 400, 450);
    EXPECT_TRUE(RedNear(400, 450)) << "the first click draws no ball";
    MovePointer(Run.Driver, Run.Win, 600, 300);
    EXPECT_TRUE(WaitForPixels(Run, ExactColor(White), {420, 300, 580, 440},
                              [](const TPixelCount& c) { return c.Count > 100; }))
        << "no white line to the pointer";
    // The second click throws; held, it keeps the flight waiting, asleep.
    MovePointer(Run.Driver, Run.Win, 450, 400);
    HoldButton(Run.Driver, 1, true);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const double cpu = CpuSeconds();
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    EXPECT_LT(CpuSeconds() - cpu, 0.1) << "the wait for the release spins";
    HoldButton(Run.Driver, 1, false);
    EXPECT_TRUE(WaitForPixels(Run, ExactColor(Red), Whole,
                              [](const TPixelCount& c) { return c.Count > 1000 && c.CenterX() > 410; }))
        << "the ball does not fly";
    // A left click in flight starts a new throw: the next click places anew.
    ClickAt(Run.Driver, Run.Win, 200, 200);
    EXPECT_TRUE(StillRunningAfter(Run, 300));
    ClickAt(Run.Driver, Run.Win, 200, 200);
    EXPECT_TRUE(RedNear(200, 200)) << "no new throw after a left click in flight";
    ClickAt(Run.Driver, Run.Win, 200, 150);
    EXPECT_TRUE(WaitForPixels(Run, ExactColor(Red), Whole,
                              [](const TPixelCount& c) { return c.Count > 1000 && c.CenterY() < 195; }))
        << "the second throw does not fly up";
    ClickAt(Run.Driver, Run.Win, 300, 300, 3);
    int status = -1;
    ASSERT_TRUE(WaitProgramStatus(Run, SignalWaitMs, status)) << "a right click in flight does not end it";
    EXPECT_EQ(status, 0);
}

TEST(ThrowNoDisplay, EndsWithOneLine) {
    std::string why;
    EXPECT_TRUE(FailsWithoutDisplay(PROGRAM_PATH, "projectile_2d", why)) << why;
}

}  // namespace
