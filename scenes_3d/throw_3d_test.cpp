// The throw of projectile_3d and its camera turn, headless.
#include <gtest/gtest.h>

#include <cmath>

#include "projectile_3d_frame.h"
#include "throw_3d.h"
#include "view3d.h"

namespace {

class ThrownBallTest : public ::testing::Test {
protected:
    void SetUp() override {
        TRandomSource random{};
        SeedRandom(random, 1);
        ThrowBall3D(random);
    }
};

TEST_F(ThrownBallTest, StartsAtTheCentreWithWholeVelocitiesFromOneToTen) {
    for (uint32_t seed = 0; seed < 200; seed++) {
        TRandomSource random{};
        SeedRandom(random, seed);
        TRandomSource draws = random;
        ThrowBall3D(random);
        EXPECT_EQ(BallVel.X, 10 - RandomBelow(draws, 10));  // X first, then Y, then Z
        EXPECT_EQ(BallVel.Y, 10 - RandomBelow(draws, 10));
        EXPECT_EQ(BallVel.Z, 10 - RandomBelow(draws, 10));
        for (double v : {BallVel.X, BallVel.Y, BallVel.Z}) {
            EXPECT_GE(v, 1);
            EXPECT_LE(v, 10);
        }
    }
    EXPECT_EQ(BallPos.X, 0);
    EXPECT_EQ(BallPos.Y, 0);
    EXPECT_EQ(BallPos.Z, 0);
    EXPECT_EQ(ThrowGravity.Y, -9.8);
    EXPECT_EQ(BallRadius, 5);
}

TEST_F(ThrownBallTest, ExactlyOnTheLimitDoesNotBounce) {
    BallPos = {44, 0, -44};
    BallVel = {100, 0, -100};
    StepThrownBall();
    EXPECT_EQ(BallPos.X, 45);
    EXPECT_EQ(BallPos.Z, -45);
    EXPECT_EQ(BallVel.X, 100);
    EXPECT_EQ(BallVel.Z, -100);
}

TEST_F(ThrownBallTest, TwoLimitsAtOnceReverseOnlyXAndTheBallStaysBack) {
    BallPos = {44.95, 44.95, 3};
    BallVel = {10, 10, 1};
    StepThrownBall();
    EXPECT_DOUBLE_EQ(BallVel.X, -9.9);
    EXPECT_DOUBLE_EQ(BallVel.Y, 9.902);  // gravity only
    EXPECT_EQ(BallVel.Z, 1);
    // Drawn where the step began.
    EXPECT_EQ(BallPos.X, 44.95);
    EXPECT_EQ(BallPos.Y, 44.95);
    EXPECT_EQ(BallPos.Z, 3);
    // Y goes over again in the next step and turns then.
    StepThrownBall();
    EXPECT_DOUBLE_EQ(BallVel.X, -9.9);
    EXPECT_NEAR(BallVel.Y, -9.70596, 1e-12);
    EXPECT_EQ(BallPos.Y, 44.95);
}

TEST_F(ThrownBallTest, AMillionStepsStayWithinTheLimits) {
    for (uint32_t seed : {3u, 77u}) {
        TRandomSource random{};
        SeedRandom(random, seed);
        ThrowBall3D(random);
        for (int step = 0; step < 1000000; step++) {
            StepThrownBall();
            ASSERT_LE(std::fabs(BallPos.X), 45) << step;
            ASSERT_LE(std::fabs(BallPos.Y), 45) << step;
            ASSERT_LE(std::fabs(BallPos.Z), 45) << step;
        }
    }
}

void ExpectAxis(const TVec3& v, double x, double y, double z) {
    EXPECT_NEAR(v.X, x, 1e-6);
    EXPECT_NEAR(v.Y, y, 1e-6);
    EXPECT_NEAR(v.Z, z, 1e-6);
}

TEST(ThrowCameraTest, FirstFrameHalfTurnsThenOnlyARightDragTurns) {
    BeginProjectile3D(5);
    ExpectAxis(CamEye, 0, 0, 150);
    TurnProjectileCamera(0, 0, 0);
    ExpectAxis(CamRight, 1, 0, 0);
    ExpectAxis(CamUp, 0, -1, 0);
    ExpectAxis(CamFwd, 0, 0, -1);
    // No button: nothing turns, the pointer is remembered.
    TurnProjectileCamera(300, 200, 0);
    ExpectAxis(CamFwd, 0, 0, -1);
    // 256 pixels to the right: one radian of yaw about CamUp.
    TurnProjectileCamera(556, 200, 2);
    ExpectAxis(CamRight, 0.540302, 0, 0.841471);
    ExpectAxis(CamFwd, 0.841471, 0, -0.540302);
    ExpectAxis(CamUp, 0, -1, 0);
    // Shift with the right button (word 10): no turn, but the pointer is
    // followed, so the right button alone afterwards does not jump.
    TurnProjectileCamera(812, 200, 10);
    TurnProjectileCamera(812, 200, 2);
    ExpectAxis(CamFwd, 0.841471, 0, -0.540302);
    // Right and left together (word 3) do not turn either.
    TurnProjectileCamera(900, 300, 3);
    ExpectAxis(CamFwd, 0.841471, 0, -0.540302);
}

TEST(ThrowCameraTest, AFirstFrameDragAddsToTheHalfTurn) {
    BeginProjectile3D(5);
    TurnProjectileCamera(256, 0, 2);
    ExpectAxis(CamFwd, -0.841471, 0, -0.540302);
    ExpectAxis(CamUp, 0, -1, 0);
}

TEST(ThrowCameraTest, AxesAreNeverMadeUnitAgain) {
    BeginProjectile3D(5);
    TurnProjectileCamera(10, 10, 0);
    CamRight = {2, 0, 0};
    CamUp = {0, -1, 0.5};
    TurnProjectileCamera(10, 10, 2);
    ExpectAxis(CamRight, 2, 0, 0);
    ExpectAxis(CamUp, 0, -1, 0.5);
}

}  // namespace
