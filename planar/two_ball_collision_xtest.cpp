// two_ball_collision as a user meets it.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include "test_support/program_test.h"

namespace {

constexpr uint32_t Red = 0xFC0000, White = 0xFCFCFC;  // standard palette 207 and 250
constexpr TPixelRect Whole{0, 0, 799, 599};

class TwoBallTest : public ::testing::Test {
protected:
    TProgramRun Run;
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(StartProgramWindow(Run, PROGRAM_PATH, "CIOCNIRI DE BILE", why)) << why;
    }
    void TearDown() override { EndProgramRun(Run); }
};

// The velocity lines: the big ball's is 45 px long at the start, about as
// many pixels; the small ball's is under 13.
int WhitePixels(TProgramRun& run) { return CountPixels(run, ExactColor(White), Whole).Count; }

TEST_F(TwoBallTest, TwoRedBallsUpLengthensTheLineCloseBoxKeepsItEscEnds) {
    EXPECT_TRUE(WaitForPixels(Run, ExactColor(Red), Whole,
                              [](const TPixelCount& c) { return c.Count > 200; }))
        << "no red circles";
    // Twenty Ups: 1.01^20 = 1.22 times the speed, a line about 10 px longer;
    // sent after the close request, they show that the program read past it.
    const int before = WhitePixels(Run);
    SendCloseRequest(Run.Driver, Run.Win);
    for (int i = 0; i < 20; i++) PressKey(Run.Driver, XK_Up);
    EXPECT_TRUE(WaitUntil(SignalWaitMs, [&] { return WhitePixels(Run) >= before + 6; }))
        << before << " -> " << WhitePixels(Run);
    std::string why;
    EXPECT_TRUE(KeyEndsWithZero(Run, XK_Escape, why)) << why;
}

TEST(TwoBallNoDisplay, EndsWithOneLine) {
    std::string why;
    EXPECT_TRUE(FailsWithoutDisplay(PROGRAM_PATH, "two_ball_collision", why)) << why;
}

}  // namespace
