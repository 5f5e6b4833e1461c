// The event physics on hand-made balls and walls.
#include <gtest/gtest.h>

#include <numbers>

#include "box_balls.h"
#include "box_scenes.h"
#include "vec3_expect.h"

namespace {

class BoxBallsTest : public ::testing::Test {
protected:
    void SetUp() override { ResetBoxBalls(BoxBallsGlPhysics); }
    static void Ball(double x, double y, double z, double vx, double vy, double vz, double r = 1,
                     double m = 1) {
        AddBoxBall(x, y, z, vx, vy, vz, r, m, 7);
    }
    static void Floor() { AddBoxWall(0, 0, 0, {-200, 0, 0}, {0, 0, 200}); }
};

TEST_F(BoxBallsTest, WorkedExampleMeetsHalfWayAndSwapsMotion) {
    Ball(0, 0, 0, 100, 0, 0);
    Ball(2.5, 0, 0, 0, 0, 0);
    EXPECT_DOUBLE_EQ(BallBallContactTime(0, 1, 0.01), 0.5);
    EventStep(0.01);
    EXPECT_EQ(EventDepth, 2);
    // Half a step each side of the event; both fall 0.000491.
    ExpectVec(BoxBalls[0].Pos, 0.5, -0.000491, 0);
    ExpectVec(BoxBalls[1].Pos, 3.0, -0.000491, 0);
    ExpectVec(BoxBalls[0].Vel, 0, -0.0982, 0);
    ExpectVec(BoxBalls[1].Vel, 100, -0.0982, 0);
}

TEST_F(BoxBallsTest, PairsMovingApartAfterEveryGlancingHit) {
    // Ball 1 comes at ball 0 from all sides and offsets; the normal is taken
    // from the centres before the advance.
    TRandomSource random;
    SeedRandom(random, 7);
    int32_t hits = 0;
    for (int32_t k = 0; k < 500; k++) {
        ResetBoxBalls(BoxBallsGlPhysics);
        MaxEventDepth = 1;
        const double side = RandomBelow(random, 2001) / 1000.0 - 1;
        const double mass = 1 + RandomBelow(random, 50);
        Ball(0, 0, 0, 0, 0, 0, 1, 1);
        Ball(-2.6, side, side * 0.5, 100, RandomBelow(random, 21) - 10.0, 0, 1, mass);
        EventStep(0.01);
        if (EventDepth != 2) continue;  // missed: no event
        hits++;
        TVec3 apart, closing;
        VecSub(apart, BoxBalls[0].Pos, BoxBalls[1].Pos);
        VecSub(closing, BoxBalls[0].Vel, BoxBalls[1].Vel);
        EXPECT_GT(VecDot(apart, closing), 0) << k;
    }
    EXPECT_EQ(hits, 500);
}

TEST_F(BoxBallsTest, BallsWithoutRelativeMotionOrOverlappingNeverMeet) {
    Ball(0, 0, 0, 0, 0, 0);
    Ball(2.5, 0, 0, 0, 0, 0);
    Ball(0, 10, 0, 5, 5, 5);
    Ball(1, 10, 0, 5, 5, 5);
    Ball(0, 20, 0, 100, 0, 0);  // overlapping and approaching
    Ball(1.5, 20, 0, 0, 0, 0);
    EXPECT_EQ(BallBallContactTime(0, 1, 0.01), -2.0);
    EXPECT_EQ(BallBallContactTime(2, 3, 0.01), -2.0);
    EXPECT_LT(BallBallContactTime(4, 5, 0.01), 0);
    EXPECT_EQ(BallBallContactTime(0, 4, 0.01), -2.0);  // too far apart
}

TEST_F(BoxBallsTest, WallTimesFrontBehindAndParallel) {
    Floor();
    AddBoxWall(-200, 200, 0, {0, 200, 0}, {0, 0, 200});  // x = -200, normal (1, 0, 0)
    Ball(0, 1.5, 0, 0, -100, 0);
    Ball(0, -5, 0, 0, 100, 0);
    Ball(-150, 50, 0, 0, 0, 30);
    // Surface plane at y 1, drift -1.000491 over the step.
    EXPECT_NEAR(BallWallContactTime(0, 0, 0.01), 0.49975462048134367, 1e-15);
    EXPECT_EQ(BallWallContactTime(1, 0, 0.01), -2.0);
    EXPECT_EQ(BallWallContactTime(2, 1, 0.01), 2.0);
}

TEST_F(BoxBallsTest, OnlyMotionTowardsAWallMakesAnEvent) {
    Floor();
    Ball(0, 0.5, 0, 0, 100, 0);   // within its radius, leaving
    Ball(0, 0.5, 0, 0, -100, 0);  // within its radius, going in
    Ball(0, 1, 0, 3, 20, 0);      // on the surface plane, leaving
    Ball(0, 3, 0, 0, 50, 0);      // above, rising
    EXPECT_EQ(BallWallContactTime(0, 0, 0.01), -2.0);
    EXPECT_EQ(BallWallContactTime(1, 0, 0.01), 0.0);
    EXPECT_EQ(BallWallContactTime(2, 0, 0.01), -2.0);
    EXPECT_EQ(BallWallContactTime(3, 0, 0.01), -2.0);
    MaxEventDepth = 1;
    EventStep(0.01);
    // Ball 1 turned at once and not advanced: the step's rest is dropped.
    ExpectVec(BoxBalls[1].Vel, 0, 100, 0);
    ExpectVec(BoxBalls[1].Pos, 0, 0.5, 0);
    ExpectVec(BoxBalls[0].Vel, 0, 100, 0);
}

TEST_F(BoxBallsTest, BallsThrownAtTheFloorStayAboveIt) {
    Floor();
    for (int k = 0; k < 20; k++) Ball(k * 3, 1.0 + k * 1e-3, 0, 0, -37.0 - k, 0);
    for (int frame = 0; frame < 2000; frame++) {
        EventDepth = 0;
        EventStep(0.01);
    }
    for (int k = 0; k < 20; k++) EXPECT_GT(BoxBalls[size_t(k)].Pos.Y, 0.5) << k;
}

TEST_F(BoxBallsTest, TiesGoToTheLowerBallThenPairsBeforeWalls) {
    BoxGravity = {0, 0, 0};
    MaxEventDepth = 1;
    Floor();
    Ball(0, 1.5, 0, 0, -100, 0);
    Ball(2.5, 1.5, 0, -100, -100, 0);  // meets ball 0 at 0.5, floor at 0.5 too
    Ball(50, 1.5, 0, 0, -100, 0);      // floor at 0.5
    EventStep(0.01);
    EXPECT_EQ(EventDepth, 2);
    ExpectVec(BoxBalls[0].Vel, -100, -100, 0);
    ExpectVec(BoxBalls[1].Vel, 0, -100, 0);
    ExpectVec(BoxBalls[2].Vel, 0, -100, 0);
    ExpectVec(BoxBalls[2].Pos, 50, 1, 0);
    // Without the pair, the lower ball's wall event comes first.
    ResetBoxBalls(BoxBallsGlPhysics);
    BoxGravity = {0, 0, 0};
    MaxEventDepth = 1;
    Floor();
    Ball(50, 1.5, 0, 0, -100, 0);
    Ball(0, 1.5, 0, 0, -100, 0);
    EventStep(0.01);
    ExpectVec(BoxBalls[0].Vel, 0, 100, 0);
    ExpectVec(BoxBalls[1].Vel, 0, -100, 0);
}

TEST_F(BoxBallsTest, TheEventLimitDropsTheRestOfTheFrame) {
    BoxGravity = {0, 0, 0};
    UseBoxBallsVariant(BoxBallsWirePhysics);
    // A ball of radius 1 between planes 2.2 apart bounces every 0.002 s.
    Floor();
    AddBoxWall(0, 2.2, 0, {200, 0, 0}, {0, 0, 200});
    Ball(0, 1.1, 0, 0, 100, 0);
    EventStep(0.01);
    EXPECT_EQ(EventDepth, 4);
    // Three events at 0.001, 0.003 and 0.005 s, then the rest dropped.
    EXPECT_NEAR(BoxBalls[0].Pos.Y, 1.2, 1e-9);
    ExpectVec(BoxBalls[0].Vel, 0, -100, 0);
    EventDepth = 0;
    EventStep(0.01);
    EXPECT_NEAR(BoxBalls[0].Pos.Y, 1.0, 1e-9);
    ExpectVec(BoxBalls[0].Vel, 0, 100, 0);
}

TEST_F(BoxBallsTest, TablesStopAtTheirCapacity) {
    for (int k = 0; k < 120; k++) Ball(k, 0, 0, 0, 0, 0);
    EXPECT_EQ(BallCount, 101);
    ResetBoxBalls(BoxBallsWirePhysics);
    for (int k = 0; k < 60; k++) Ball(k, 0, 0, 0, 0, 0);
    EXPECT_EQ(BallCount, 51);
    EXPECT_EQ(BoxBalls[50].Pos.X, 50);
    EXPECT_EQ(MaxEventDepth, 3);
}

TEST_F(BoxBallsTest, BoxWallNormalsPointInwards) {
    AddBoxWalls(50);
    ASSERT_EQ(WallCount, 6);
    ExpectVec(BoxWalls[0].Normal, 0, 1, 0);
    ExpectVec(BoxWalls[1].Normal, 0, -1, 0);
    ExpectVec(BoxWalls[2].Normal, 0, 0, 1);
    ExpectVec(BoxWalls[3].Normal, 0, 0, -1);
    ExpectVec(BoxWalls[4].Normal, -1, 0, 0);
    ExpectVec(BoxWalls[5].Normal, 1, 0, 0);
    ExpectVec(BoxWalls[4].Point, 200, 200, 0);
    AddBoxWall(0, 0, 0, {1, 2, 3}, {2, 4, 6});
    ExpectVec(BoxWalls[6].Normal, 0, 0, 0);
}

TEST_F(BoxBallsTest, DriftAndTurns) {
    Ball(0, 0, 0, 1, 2, 3);
    ExpectVec(BallDriftOffset(0, 2), 2, -15.64, 6);
    double a = 3, b = 4;
    RotatePair(a, b, 0);
    EXPECT_EQ(a, 3);
    EXPECT_EQ(b, 4);
    RotatePair(a, b, std::numbers::pi / 2);
    EXPECT_NEAR(a, -4, 1e-15);
    EXPECT_NEAR(b, 3, 1e-15);
}

}  // namespace
