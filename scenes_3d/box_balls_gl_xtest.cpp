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

int VectorPixels(const std::vector<uint32_t>& shot) {
    return CountRgb(shot, VelocityWhite) + CountRgb(shot, NormalYellow);
}

class BoxBallsGl : public ::testing::Test {
protected:
    TProgramRun Run;
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(StartProgramWindow(Run, PROGRAM_PATH, Caption, why)) << why;
        ASSERT_TRUE(WaitUntil(5000, [&] { return CountWhere(Shot(Run), IsWallGrey) > 200000; }))
            << "no grey walls";
    }
    void TearDown() override { EndProgramRun(Run); }
};

TEST_F(BoxBallsGl, WallsAndBallsShowAndEscEnds) {
    EXPECT_GT(CountWhere(Shot(Run), IsBallColour), 100);
    EXPECT_EQ(VectorPixels(Shot(Run)), 0);
    ExpectEscEndsWithZero(Run);
}

TEST_F(BoxBallsGl, AClickAddsRedSpaceFreezesAndEnterShowsVectors) {
    const int redBefore = CountRgb(Shot(Run), ClickRed);
    LongClick(Run, 400, 300);
    // A ball of radius 50 about 600 away: some 3,000 pixels.
    ASSERT_TRUE(WaitUntil(3000, [&] { return CountRgb(Shot(Run), ClickRed) > redBefore + 1500; }));
    EXPECT_TRUE(ChangesFrom(Run, Shot(Run)));  // it flies at 100 a second
    PressKey(Run.Driver, XK_space);
    ASSERT_TRUE(SettlesStill(Run));
    const std::vector<uint32_t> frozen = Shot(Run);
    Sleep(300);
    EXPECT_EQ(Shot(Run), frozen);
    EXPECT_EQ(VectorPixels(frozen), 0);
    // At least the red ball's velocity line: some 25 pixels stand out of it.
    PressKey(Run.Driver, XK_Return);
    EXPECT_TRUE(WaitUntil(3000, [&] { return VectorPixels(Shot(Run)) > 15; })) << VectorPixels(Shot(Run));
    PressKey(Run.Driver, XK_Return);
    ASSERT_TRUE(SettlesStill(Run));
    EXPECT_EQ(Shot(Run), frozen);
    ExpectEscEndsWithZero(Run);
}

TEST_F(BoxBallsGl, HeldArrowsAndARightDragTurnTheOrbit) {
    PressKey(Run.Driver, XK_space);
    ASSERT_TRUE(SettlesStill(Run));
    const std::vector<uint32_t> start = Shot(Run);
    HoldKeyFor(Run, XK_Right, 300);
    ASSERT_TRUE(SettlesStill(Run));
    const std::vector<uint32_t> turned = Shot(Run);
    EXPECT_NE(turned, start);
    HoldKeyFor(Run, XK_Up, 200);
    ASSERT_TRUE(SettlesStill(Run));
    EXPECT_NE(Shot(Run), turned);
    ExpectDragOutAndBackUndone(Run);
    const std::vector<uint32_t> before = Shot(Run);
    // 'z' backs the camera off; 'a' comes back.
    PressKey(Run.Driver, XK_z);
    ASSERT_TRUE(ChangesFrom(Run, before));
    PressKey(Run.Driver, XK_a);
    ASSERT_TRUE(SettlesStill(Run));
    EXPECT_EQ(Shot(Run), before);
    ExpectEscEndsWithZero(Run);
}

TEST_F(BoxBallsGl, TheCloseBoxDoesNotEndIt) {
    ExpectCloseBoxKeepsItRunning(Run);
    ExpectEscEndsWithZero(Run);
}

TEST(BoxBallsGlAlone, WithoutADisplayItSaysSoAndEndsWithOne) {
    ExpectNoDisplayGivesOneLine(PROGRAM_PATH);
}

TEST(BoxBallsGlAlone, WithoutOpenGlItSaysSoAndEndsWithOne) {
    std::string why;
    EXPECT_TRUE(FailsWithoutOpenGl(PROGRAM_PATH, "box_balls_gl", why)) << why;
}

}  // namespace
