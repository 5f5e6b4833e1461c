#include <gtest/gtest.h>

#include "cue_rack.h"

namespace {

constexpr int32_t Right = 799, Bottom = 599;  // an 800 x 600 window

class RackTest : public ::testing::Test {
protected:
    void SetUp() override {
        RackBallCount = 0;
        RackWallCount = 0;
        TimeStep = 0.2;
    }
    void Step() {
        FindEarliestEvent();
        AdvanceRackBalls();
        ResolveRackEvent();
    }
};

TEST_F(RackTest, TheTableAsSetUp) {
    TRandomSource random{};
    SeedRandom(random, 3);
    SetUpRack(Right, Bottom, 250, random);
    ASSERT_EQ(RackBallCount, 37);
    ASSERT_EQ(RackWallCount, 4);
    // Row 9 leftmost, eight balls from y 191 down, colour 15.
    EXPECT_NEAR(RackBalls[0].X, 171.65, 1e-9);
    EXPECT_NEAR(RackBalls[0].Y, 191, 1e-9);
    EXPECT_NEAR(RackBalls[7].Y, 408, 1e-9);
    EXPECT_EQ(RackBalls[0].Colour, 15);
    EXPECT_EQ(RackBalls[0].R, 15);
    EXPECT_EQ(RackBalls[0].M, 50);
    EXPECT_EQ(RackBalls[0].VX, 0);
    // Row 8, offset by half a ball.
    EXPECT_NEAR(RackBalls[8].X, 198.65, 1e-9);
    EXPECT_NEAR(RackBalls[8].Y, 206.5, 1e-9);
    EXPECT_EQ(RackBalls[8].Colour, 14);
    // The apex, on the middle line.
    EXPECT_NEAR(RackBalls[35].X, 360.65, 1e-9);
    EXPECT_NEAR(RackBalls[35].Y, 299.5, 1e-9);
    EXPECT_EQ(RackBalls[35].Colour, 8);
    // The cue ball, last.
    const TRackBall& cue = RackBalls[36];
    EXPECT_NEAR(cue.X, 519.35, 1e-9);
    EXPECT_NEAR(cue.Y, 299.5, 1e-9);
    EXPECT_EQ(cue.VX, -50);
    EXPECT_GE(cue.VY, 0);
    EXPECT_LE(cue.VY, 4);
    EXPECT_EQ(cue.R, 10);
    EXPECT_EQ(cue.M, 50);
    EXPECT_EQ(cue.Colour, 250);

    EXPECT_NEAR(RackWalls[0].X1, 119.85, 1e-9);
    EXPECT_NEAR(RackWalls[0].Y1, 59.9, 1e-9);
    EXPECT_NEAR(RackWalls[0].Y2, 569.05, 1e-9);
    const double normals[4][2] = {{1, 0}, {-1, 0}, {-0.2038727, 0.9789974}, {-0.0830111, -0.9965486}};
    for (int w = 0; w < 4; w++) {
        EXPECT_NEAR(RackWalls[w].NX, normals[w][0], 1e-6) << w;
        EXPECT_NEAR(RackWalls[w].NY, normals[w][1], 1e-6) << w;
    }
}

TEST_F(RackTest, TablesTakeNoMoreThanTheyHold) {
    for (int i = 0; i < 120; i++) AddRackBall(1, i, 0, 0, 0, 5, 1);
    EXPECT_EQ(RackBallCount, 100);
    EXPECT_EQ(RackBalls[99].X, 99);
    for (int i = 0; i < 15; i++) AddRackWall(i, 0, i, 10);
    EXPECT_EQ(RackWallCount, 11);
    EXPECT_EQ(RackWalls[10].X1, 10);
    // Radius before mass in the call, mass before radius in the record.
    RackBallCount = 0;
    AddRackBall(9, 1, 2, 3, 4, 15, 50);
    EXPECT_EQ(RackBalls[0].R, 15);
    EXPECT_EQ(RackBalls[0].M, 50);
}

TEST_F(RackTest, EqualMassesHeadOnTheCueStopsAndTheOtherGoesOn) {
    AddRackBall(1, 140, 100, 0, 0, 15, 50);
    AddRackBall(2, 109, 100, 50, 0, 15, 50);  // one pixel apart
    FindEarliestEvent();
    EXPECT_EQ(EventKind, EventPair);
    EXPECT_EQ(EventA, 0);
    EXPECT_EQ(EventB, 1);
    EXPECT_DOUBLE_EQ(BestFraction, 0.1);
    EXPECT_DOUBLE_EQ(EventNormalX, 1);
    EXPECT_DOUBLE_EQ(EventNormalY, 0);
    AdvanceRackBalls();
    // A fifth of the way to the contact; four fifths of the gap remain.
    EXPECT_DOUBLE_EQ(RackBalls[1].X, 109.2);
    EXPECT_DOUBLE_EQ(RackBalls[0].X, 140);
    ResolveRackEvent();
    EXPECT_DOUBLE_EQ(RackBalls[1].VX, 0);
    EXPECT_DOUBLE_EQ(RackBalls[0].VX, 50);
    EXPECT_DOUBLE_EQ(RackBalls[0].VY, 0);
}

TEST_F(RackTest, UnequalMassesKeepMomentumAndEnergy) {
    AddRackBall(1, 100, 100, 40, 0, 15, 50);
    AddRackBall(2, 131, 100, 0, 0, 15, 150);
    Step();
    // A quarter as heavy: it bounces back with half its speed.
    EXPECT_DOUBLE_EQ(RackBalls[0].VX, -20);
    EXPECT_DOUBLE_EQ(RackBalls[1].VX, 20);
}

TEST_F(RackTest, NoEventForOverlapsLateFractionsOrSeparatingBalls) {
    AddRackBall(1, 100, 100, 50, 0, 15, 50);
    AddRackBall(2, 125, 100, -50, 0, 15, 50);  // overlapping, approaching
    FindEarliestEvent();
    EXPECT_EQ(EventA, -1);
    EXPECT_EQ(EventB, -1);
    EXPECT_DOUBLE_EQ(BestFraction, 0.2);
    AdvanceRackBalls();  // the look-ahead's fifth of a fifth
    EXPECT_DOUBLE_EQ(RackBalls[0].X, 100.4);
    EXPECT_DOUBLE_EQ(RackBalls[1].X, 124.6);

    RackBallCount = 0;
    AddRackBall(1, 100, 100, 50, 0, 15, 50);
    AddRackBall(2, 132.5, 100, 0, 0, 15, 50);  // contact at 0.25 of the look-ahead
    FindEarliestEvent();
    EXPECT_EQ(EventA, -1);
    RackBalls[1].X = 131.5;  // at 0.15 it is taken
    FindEarliestEvent();
    EXPECT_EQ(EventA, 0);
    EXPECT_DOUBLE_EQ(BestFraction, 0.15);
    RackBalls[0].VX = -50;  // moving apart
    FindEarliestEvent();
    EXPECT_EQ(EventA, -1);
}

TEST_F(RackTest, BallsOfNoSizeOnOneSpotKeepTheirVelocities) {
    AddRackBall(1, 100, 100, 30, 0, 0, 50);
    AddRackBall(2, 100, 100, -30, 0, 0, 50);
    Step();
    EXPECT_EQ(EventA, 0);  // met at once, with no line of centres
    EXPECT_EQ(RackBalls[0].VX, 30);
    EXPECT_EQ(RackBalls[1].VX, -30);
    EXPECT_EQ(RackBalls[0].VY, 0);
}

// A wall along x = 200 acting to its right (normal +x).
TEST_F(RackTest, AWallActsOnlyInFrontAndAgainstItsNormal) {
    AddRackWall(200, 0, 200, 400);
    ASSERT_DOUBLE_EQ(RackWalls[0].NX, 1);
    AddRackBall(1, 216, 100, -50, 0, 15, 50);
    FindEarliestEvent();
    EXPECT_EQ(EventKind, EventWall);
    EXPECT_EQ(EventA, 0);
    EXPECT_EQ(EventB, 0);
    EXPECT_DOUBLE_EQ(BestFraction, 0.1);
    AdvanceRackBalls();
    ResolveRackEvent();
    EXPECT_DOUBLE_EQ(RackBalls[0].X, 215.8);  // 0.8 of the 1-pixel gap left
    EXPECT_DOUBLE_EQ(RackBalls[0].VX, 50);

    RackBalls[0] = TRackBall{184, 100, 50, 0, 50, 15, 1};  // behind it, moving towards it
    FindEarliestEvent();
    EXPECT_EQ(EventA, -1);
    RackBalls[0] = TRackBall{216, 100, 50, 10, 50, 15, 1};  // in front, moving along the normal
    FindEarliestEvent();
    EXPECT_EQ(EventA, -1);
    RackBalls[0] = TRackBall{210, 100, -50, 0, 50, 15, 1};  // reaching over the line
    FindEarliestEvent();
    EXPECT_EQ(EventA, -1);
    RackBalls[0] = TRackBall{216, 1000, -50, 0, 50, 15, 1};  // far beyond its end
    FindEarliestEvent();
    EXPECT_EQ(EventA, 0);
    EXPECT_DOUBLE_EQ(BestFraction, 0.1);
}

TEST_F(RackTest, OnEqualFractionsThePairBeforeTheWallAndTheFirstBall) {
    // A look-ahead of a quarter second keeps every fraction here exact, so
    // that the ties are true ties.
    TimeStep = 0.25;
    AddRackWall(200, 0, 200, 400);
    AddRackBall(1, 216.5625, 100, -50, 0, 15, 50);
    AddRackBall(2, 248.125, 100, -100, 0, 15, 50);
    FindEarliestEvent();  // the wall and the pair both at 0.125
    EXPECT_EQ(EventKind, EventPair);
    EXPECT_EQ(EventA, 0);
    EXPECT_EQ(EventB, 1);
    EXPECT_DOUBLE_EQ(BestFraction, 0.125);
    // Two balls due at the wall together: the first one only.
    RackBalls[1] = TRackBall{216.5625, 300, -50, 0, 50, 15, 1};
    Step();
    EXPECT_EQ(EventA, 0);
    EXPECT_DOUBLE_EQ(RackBalls[0].VX, 50);
    EXPECT_DOUBLE_EQ(RackBalls[1].VX, -50);
    EXPECT_DOUBLE_EQ(RackBalls[1].X, 216.171875);
    Step();
    EXPECT_EQ(EventA, 1);
    EXPECT_DOUBLE_EQ(BestFraction, 0.09375);
    EXPECT_DOUBLE_EQ(RackBalls[1].VX, 50);
}

TEST_F(RackTest, KeysSteerTheCueBallOnly) {
    AddRackBall(1, 300, 300, 0, 0, 15, 50);
    AddRackBall(250, 519.35, 299.5, 0, 0, 10, 50);
    SteerCueBall(72, Right, Bottom);  // Up at rest: pushed all the same
    EXPECT_NEAR(RackBalls[1].VX, -1.997672019605897, 1e-9);
    EXPECT_NEAR(RackBalls[1].VY, 1.733549215292594, 1e-9);
    EXPECT_EQ(RackBalls[0].VX, 0);

    RackBalls[1].VX = -50;
    RackBalls[1].VY = 0;
    SteerCueBall(75, Right, Bottom);  // Left: -50 degrees
    EXPECT_NEAR(RackBalls[1].VX, -32.13938048432697, 1e-9);
    EXPECT_NEAR(RackBalls[1].VY, 38.302222155948904, 1e-9);
    SteerCueBall(77, Right, Bottom);  // Right turns it back
    EXPECT_NEAR(RackBalls[1].VX, -50, 1e-9);
    EXPECT_NEAR(RackBalls[1].VY, 0, 1e-9);
    SteerCueBall(80, Right, Bottom);  // Down
    EXPECT_NEAR(RackBalls[1].VX, -45, 1e-9);
    for (uint8_t other : {uint8_t(27), uint8_t(107), uint8_t('a'), uint8_t(0)}) {
        SteerCueBall(other, Right, Bottom);
        EXPECT_NEAR(RackBalls[1].VX, -45, 1e-9);
        EXPECT_NEAR(RackBalls[1].VY, 0, 1e-9);
    }
}

}  // namespace
