// box_balls_gl as a user meets it, in whichever of its three scenes it
// starts. Nothing is lit: the walls are blends of the greys 0.1 to 0.8, a
// clicked ball is palette red (252, 0, 0) at 252/256, which the window
// stores as (251, 0, 0), and the vector lines are pure white and yellow,
// which neither walls nor balls ever reach.
#include "box_xtest_support.h"

namespace {

using namespace box_xtest;

constexpr uint32_t ClickRed = 0xFB0000;
constexpr uint32_t VelocityWhite = 0xFFFFFF;
constexpr uint32_t NormalYellow = 0xFFFF00;

bool IsWallGrey(uint32_t p) {
    const int r = int(p >> 16 & 0xFF), g = int(p >> 8 & 0xFF), b = int(p & 0xFF);
    return r == g && g == b && r >= 25 && r <= 205;
}

bool IsBallColour(uint32_t p) {
    const int r = int(p >> 16 & 0xFF), g = int(p >> 8 & 0xFF), b = int(p & 0xFF);
    const int high = std::max({r, g, b}), low = std::min({r, g, b});
    return high - low > 100;
}

// The row in column x where the floor meets a side wall: the largest step
// between two greys there (the walls' greys blend a level or so a row; the
// balls, skipped, have colour).
int FloorEdgeRow(const std::vector<uint32_t>& shot, int x) {
    int row = -1, largest = 0;
    for (int y = 0; y + 1 < Height; y++) {
        const uint32_t a = shot[size_t(y * Width + x)], b = shot[size_t((y + 1) * Width + x)];
        if (!IsWallGrey(a) || !IsWallGrey(b)) continue;
        const int step = std::abs(int(a & 0xFF) - int(b & 0xFF));
        if (step > largest) {
            largest = step;
            row = y;
        }
    }
    return row;
}

int VectorPixels(const std::vector<uint32_t>& shot) {
    return CountRgb(shot, VelocityWhite) + CountRgb(shot, NormalYellow);
}

class BoxBallsGl : public ::testing::Test {
protected:
    TProgramRun Run;
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(StartProgramWindow(Run, PROGRAM_PATH, Caption, why)) << why;
        ASSERT_TRUE(WaitUntil(SignalWaitMs, [&] { return CountWhere(WindowShot(Run), IsWallGrey) > 200000; }))
            << "no grey walls";
        MeasureSettleGap(Run);
    }
    void TearDown() override { EndProgramRun(Run); }
};

TEST_F(BoxBallsGl, WallsAndBallsShowAndEscEnds) {
    EXPECT_GT(CountWhere(WindowShot(Run), IsBallColour), 100);
    EXPECT_EQ(VectorPixels(WindowShot(Run)), 0);
    ExpectEscEndsWithZero(Run);
}

TEST_F(BoxBallsGl, AClickAddsRedSpaceFreezesAndEnterShowsVectors) {
    // A ball of radius 50 about 600 away: some 3,000 pixels.
    ASSERT_TRUE(ClickAddsRed(Run, ClickRed, 1500));
    EXPECT_TRUE(ChangesFrom(Run, WindowShot(Run)));  // it flies at 100 a second
    PressKey(Run.Driver, XK_space);
    ASSERT_TRUE(SettlesStill(Run));
    const std::vector<uint32_t> frozen = WindowShot(Run);
    EXPECT_EQ(VectorPixels(frozen), 0);
    // At least the red ball's velocity line: some 25 pixels stand out of it.
    PressKey(Run.Driver, XK_Return);
    EXPECT_TRUE(WaitUntil(SignalWaitMs, [&] { return VectorPixels(WindowShot(Run)) > 15; }))
        << VectorPixels(WindowShot(Run));
    PressKey(Run.Driver, XK_Return);
    ASSERT_TRUE(SettlesStill(Run));
    EXPECT_EQ(WindowShot(Run), frozen);
    ExpectEscEndsWithZero(Run);
}

// Held Up lowers the camera on its orbit: the floor's edges along the side
// walls move down the screen (by some 6 rows a degree at the start).
TEST_F(BoxBallsGl, HeldArrowsAndARightDragTurnTheOrbit) {
    PressKey(Run.Driver, XK_space);
    ASSERT_TRUE(SettlesStill(Run));
    EXPECT_TRUE(HeldKeyChangesPicture(Run, XK_Right));
    ASSERT_TRUE(SettlesStill(Run));
    const std::vector<uint32_t> turned = WindowShot(Run);
    EXPECT_TRUE(HeldKeyChangesPicture(Run, XK_Up));
    ASSERT_TRUE(SettlesStill(Run));
    const std::vector<uint32_t> tilted = WindowShot(Run);
    for (int x : {5, Width - 5})
        EXPECT_GT(FloorEdgeRow(tilted, x), FloorEdgeRow(turned, x)) << "column " << x;
    // 'z' backs the camera off and 'a' brings it back, to the same picture.
    ExpectDragOutAndBackUndone(Run, XK_z, XK_a);
    ExpectEscEndsWithZero(Run);
}

TEST_F(BoxBallsGl, TheCloseBoxDoesNotEndIt) {
    ExpectCloseBoxKeepsItRunning(Run);
    ExpectEscEndsWithZero(Run);
}

TEST(BoxBallsGlAlone, WithoutADisplayItSaysSoAndEndsWithOne) {
    std::string why;
    EXPECT_TRUE(FailsWithoutDisplay(PROGRAM_PATH, "box_balls_gl", why)) << why;
}

TEST(BoxBallsGlAlone, WithoutOpenGlItSaysSoAndEndsWithOne) {
    std::string why;
    EXPECT_TRUE(FailsWithoutOpenGl(PROGRAM_PATH, "box_balls_gl", why)) << why;
}

}  // namespace
