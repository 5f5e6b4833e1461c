// The keys and the mouse pull, on the start bodies.
#include <gtest/gtest.h>

#include <cstring>

#include "poly_bodies.h"
#include "poly_controls.h"

namespace {

TRandomSource Start() {
    TRandomSource random;
    SeedRandom(random, 11);
    StartPolyBodies(random);
    PolyWindowWidth = 640;
    PolyWindowHeight = 480;
    return random;
}

TEST(KeyA, SideCountsRunFourToNineNineThenThree) {
    TRandomSource random = Start();
    const int32_t expected[] = {4, 5, 6, 7, 8, 9, 9, 3, 4};
    for (int32_t n = 0; n < 9; n++) {
        ApplyPolyKey('a', random);
        ASSERT_EQ(PolyBodyCount, 6 + n);
        const TPolyBody& b = PolyBodies[5 + n];
        SCOPED_TRACE(n);
        EXPECT_EQ(b.Sides, expected[n]);
        EXPECT_EQ(b.Colour, (5 + n) % 6 + 9);
        EXPECT_EQ(b.X, 0.5);
        EXPECT_EQ(b.Y, 0.5);
        EXPECT_EQ(b.HalfSize, 2.0);
        EXPECT_EQ(b.InertiaFactor, 4.0);
    }
}

// The template keeps the spin it reached, and each added body adds a draw
// to it: spins grow from call to call.
TEST(KeyA, SpinsAccumulateOverCalls) {
    TRandomSource random = Start();
    const double first = PolyBodies[5].AngularVelocity;
    double spin = first;  // the template's
    EXPECT_GT(spin, PolyBodies[0].AngularVelocity);
    for (int32_t n = 0; n < 20; n++) {
        ApplyPolyKey('a', random);
        const double added = PolyBodies[PolyBodyCount - 1].AngularVelocity;
        EXPECT_GE(added, spin);
        EXPECT_LT(added, spin + 3.1415927e-4);
        spin = PolyBodies[PolyBodyCount].AngularVelocity;
        EXPECT_GE(spin, added);
        EXPECT_LT(spin, added + 3.1415927e-4);
    }
    // 40 draws averaging pi * 0.5e-4.
    EXPECT_GT(spin, first + 40 * 1e-5);
}

TEST(KeyA, NothingAtFiftyBodies) {
    TRandomSource random = Start();
    for (int32_t n = 0; n < 45; n++) ApplyPolyKey('a', random);
    ASSERT_EQ(PolyBodyCount, 50);
    const int32_t sides = PolySideCount;
    const TRandomSource before = random;
    static TPolyBody records[51];
    std::memcpy(records, PolyBodies.data(), sizeof records);
    ApplyPolyKey('a', random);
    EXPECT_EQ(PolyBodyCount, 50);
    EXPECT_EQ(PolySideCount, sides);
    EXPECT_EQ(random.State, before.State);
    EXPECT_EQ(std::memcmp(records, PolyBodies.data(), sizeof records), 0);
}

TEST(Keys, DragCyclesByTwoUpToTwenty) {
    TRandomSource random = Start();
    for (int n = 1; n <= 10; n++) {
        ApplyPolyKey('f', random);
        EXPECT_EQ(PolyDrag, 2.0 * n);
    }
    ApplyPolyKey('f', random);
    EXPECT_EQ(PolyDrag, 0.0);
}

TEST(Keys, GravityToggles) {
    TRandomSource random = Start();
    ApplyPolyKey('g', random);
    EXPECT_EQ(PolyGravity, 0.0);
    ApplyPolyKey('g', random);
    EXPECT_EQ(PolyGravity, 1e-5);
    PolyGravity = 3;
    ApplyPolyKey('g', random);
    EXPECT_EQ(PolyGravity, 0.0);
}

TEST(Keys, RestitutionStopsAtTwo) {
    TRandomSource random = Start();
    ApplyPolyKey('r', random);
    EXPECT_DOUBLE_EQ(PolyRestitution, 1.01);
    for (int n = 2; n <= 99; n++) ApplyPolyKey('r', random);
    EXPECT_NEAR(PolyRestitution, 1.99, 1e-12);
    ApplyPolyKey('r', random);
    EXPECT_EQ(PolyRestitution, 2.0);
    for (int n = 0; n < 20; n++) ApplyPolyKey('r', random);
    EXPECT_EQ(PolyRestitution, 2.0);
    PolyRestitution = -1.5;  // below -1 is taken back to -1
    ApplyPolyKey('r', random);
    EXPECT_EQ(PolyRestitution, -1.0);
}

TEST(Keys, SlipFallsToAboutMinusPointNineThenZero) {
    TRandomSource random = Start();
    ApplyPolyKey('s', random);
    EXPECT_DOUBLE_EQ(PolySlip, -0.01);
    for (int n = 2; n <= 89; n++) ApplyPolyKey('s', random);
    EXPECT_NEAR(PolySlip, -0.89, 1e-12);
    ApplyPolyKey('s', random);
    EXPECT_EQ(PolySlip, 0.0);
}

TEST(Keys, RestThresholdClimbsToAboutOneThenZero) {
    TRandomSource random = Start();
    ApplyPolyKey('v', random);
    EXPECT_DOUBLE_EQ(PolyRestThreshold, 0.02);
    for (int n = 2; n <= 98; n++) ApplyPolyKey('v', random);
    EXPECT_NEAR(PolyRestThreshold, 0.99, 1e-12);
    ApplyPolyKey('v', random);
    EXPECT_EQ(PolyRestThreshold, 0.0);
    ApplyPolyKey('v', random);
    EXPECT_EQ(PolyRestThreshold, 0.01);
}

// Upper case, Esc, the close box's 107 ("k"), arrows and every other code
// change nothing.
TEST(Keys, OtherCodesDoNothing) {
    TRandomSource random = Start();
    for (int key = 0; key < 256; key++) {
        if (key == 'a' || key == 'f' || key == 'g' || key == 'r' || key == 's' || key == 'v')
            continue;
        ApplyPolyKey(static_cast<uint8_t>(key), random);
    }
    EXPECT_EQ(PolyBodyCount, 5);
    EXPECT_EQ(PolySideCount, 3);
    EXPECT_EQ(PolyDrag, 0.0);
    EXPECT_EQ(PolyGravity, 1e-5);
    EXPECT_EQ(PolyRestitution, 1.0);
    EXPECT_EQ(PolyRestThreshold, 0.01);
    EXPECT_EQ(PolySlip, 0.0);
    EXPECT_EQ(PolyCorrection, 0.9);
}

// Pixel (160, 400) is the world point (10, 5); the nearest centre is body 1
// at (0.5, 4.5).
TEST(MousePull, LeftButtonPullsTheNearestBody) {
    Start();
    PolyBodies[1].AngularVelocity = 0.02;
    PullBodies(160, 400, 1);
    EXPECT_NEAR(PolyBodies[1].VelocityX, 0.95, 1e-15);
    EXPECT_NEAR(PolyBodies[1].VelocityY, 0.05, 1e-15);
    EXPECT_EQ(PolyBodies[1].AngularVelocity, 0.02);
    for (int i : {0, 2, 3, 4}) {
        EXPECT_EQ(PolyBodies[i].VelocityX, 0.0);
        EXPECT_EQ(PolyBodies[i].VelocityY, 0.0);
    }
}

TEST(MousePull, RightButtonAlsoStopsTheSpin) {
    Start();
    PolyBodies[1].AngularVelocity = 0.02;
    PullBodies(160, 400, 2);
    EXPECT_NEAR(PolyBodies[1].VelocityX, 0.95, 1e-15);
    EXPECT_EQ(PolyBodies[1].AngularVelocity, 0.0);
    // On the centre itself: the spin stops, the body is not pulled.
    PolyBodies[2].VelocityX = 0.3;
    PolyBodies[2].AngularVelocity = 0.02;
    PullBodies(8, 344, 2);
    EXPECT_EQ(PolyBodies[2].VelocityX, 0.3);
    EXPECT_EQ(PolyBodies[2].VelocityY, 0.0);
    EXPECT_EQ(PolyBodies[2].AngularVelocity, 0.0);
}

// Halfway between bodies 0 and 1 the lower index wins.
TEST(MousePull, TiesGoToTheLowerIndex) {
    Start();
    PullBodies(8, 440, 1);
    EXPECT_NEAR(PolyBodies[0].VelocityY, 0.2, 1e-15);
    EXPECT_EQ(PolyBodies[1].VelocityY, 0.0);
}

// Both buttons, the middle one, or Shift or Ctrl alone: everything is pulled,
// ten times more gently.
TEST(MousePull, AnyOtherWordPullsAll) {
    for (uint16_t word : {3, 4, 8, 16, 9}) {
        SCOPED_TRACE(word);
        Start();
        PullBodies(160, 400, word);
        EXPECT_NEAR(PolyBodies[0].VelocityX, 0.095, 1e-15);
        EXPECT_NEAR(PolyBodies[0].VelocityY, 0.045, 1e-15);
        EXPECT_NEAR(PolyBodies[4].VelocityY, -0.115, 1e-15);
    }
    Start();
    PullBodies(160, 400, 0);
    EXPECT_EQ(PolyBodies[0].VelocityX, 0.0);
}

// A drag out of the window to the left reads negative: the body is pulled
// left, not to the far right.
TEST(MousePull, PointerLeftOfTheWindowPullsLeft) {
    Start();
    PullBodies(-32, 472, 1);
    EXPECT_NEAR(PolyBodies[0].VelocityX, -0.25, 1e-15);
    EXPECT_NEAR(PolyBodies[0].VelocityY, 0.0, 1e-15);
    Start();
    PullBodies(8, -160, 1);
    EXPECT_NEAR(PolyBodies[4].VelocityY, 2.35, 1e-15);
}

}  // namespace
