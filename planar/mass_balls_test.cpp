#include "mass_balls.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

#include "test_support/long_runs.h"

namespace {

TMassBall Ball(double x, double y, double vx, double vy, double r = 10, double m = 1) {
    return {x, y, vx, vy, r, m};
}

TEST(ImpactTime, OverlapTouchAndTheEdgesOfTheStep) {
    // Overlapping balls answer -1, whatever their motion.
    EXPECT_EQ(ImpactTime(Ball(0, 0, 5, 0), Ball(15, 0, -5, 0), GasRule), -1);
    // Touching and approaching: t = 0, a response in particle_gas only.
    const double touch = ImpactTime(Ball(0, 0, 5, 0), Ball(20, 0, -5, 0), GasRule);
    EXPECT_EQ(touch, 0);
    EXPECT_TRUE(ImpactDue(touch, GasRule));
    EXPECT_FALSE(ImpactDue(touch, TwoBallRule));
    // A gap of 10 closing at 1250 a time unit: t = 0.008, still answered.
    const double t = ImpactTime(Ball(0, 0, 1250, 0), Ball(30, 0, 0, 0), GasRule);
    EXPECT_DOUBLE_EQ(t, 0.008);
    EXPECT_TRUE(ImpactDue(t, GasRule));
    EXPECT_FALSE(ImpactDue(0.0081, GasRule));
    EXPECT_FALSE(ImpactDue(0.1, TwoBallRule));
    // Moving apart, or missing each other: no impact.
    EXPECT_EQ(ImpactTime(Ball(0, 0, -5, 0), Ball(30, 0, 5, 0), GasRule), -2);
    EXPECT_EQ(ImpactTime(Ball(0, 0, 5, 0), Ball(30, 25, 5, 0), TwoBallRule), -2);
    // A grazing pass (discriminant exactly 0) meets in two_ball_collision only.
    const double graze = ImpactTime(Ball(0, 0, 100, 0), Ball(30, 20, 0, 0), TwoBallRule);
    EXPECT_EQ(graze, 0.3);
    EXPECT_EQ(ImpactTime(Ball(0, 0, 100, 0), Ball(30, 20, 0, 0), GasRule), -2);
    // Same velocities (a = 0): never.
    EXPECT_EQ(ImpactTime(Ball(0, 0, 3, 3), Ball(30, 0, 3, 3), TwoBallRule), -2);
}

TEST(CollideElastic, EqualMassesSwapNormalPartsAndKeepTangentialOnes) {
    TMassBall i = Ball(0, 0, 3, 1), j = Ball(20, 0, -1, 2);
    CollideElastic(i, j);
    EXPECT_EQ(i.VX, -1);
    EXPECT_EQ(i.VY, 1);
    EXPECT_EQ(j.VX, 3);
    EXPECT_EQ(j.VY, 2);
    EXPECT_EQ(i.X, 0);  // positions stay
    // Masses 5 and 40 head-on: the light ball keeps -7/9 of the normal part.
    TMassBall light = Ball(0, 0, 9, 0, 5, 5), heavy = Ball(45, 0, 0, 0, 40, 40);
    CollideElastic(light, heavy);
    EXPECT_DOUBLE_EQ(light.VX, -7);
    EXPECT_DOUBLE_EQ(heavy.VX, 2);
    // Coincident centres take a fixed line and stay finite.
    TMassBall a = Ball(50, 50, 1, 2), b = Ball(50, 50, -3, 0);
    CollideElastic(a, b);
    EXPECT_TRUE(std::isfinite(a.VX) && std::isfinite(a.VY) && std::isfinite(b.VX) && std::isfinite(b.VY));
    EXPECT_EQ(a.VX + b.VX, -2);  // momentum kept
}

TEST(Edges, TurnBackOnlyWhileMovingOut) {
    TMassBall b = Ball(5, 300, -1, 0, 5);
    BounceOffEdges(b, 799, 599);
    EXPECT_EQ(b.VX, 1);
    BounceOffEdges(b, 799, 599);  // still within R, now moving in: left alone
    EXPECT_EQ(b.VX, 1);
    b = Ball(400, 596, 2, 3, 5);
    BounceOffEdges(b, 799, 599);
    EXPECT_EQ(b.VY, -3);
    EXPECT_EQ(b.VX, 2);
}

TEST(TwoBalls, StartAndSteering) {
    TRandomSource random{};
    SeedRandom(random, 7);
    PlaceTwoBalls(799, 599, random);
    EXPECT_EQ(TwoBalls[0].X, 399.5);
    EXPECT_EQ(TwoBalls[0].Y, 299.5);
    EXPECT_EQ(TwoBalls[0].R, 5);
    EXPECT_GE(TwoBalls[0].VX, 0);
    EXPECT_LE(TwoBalls[0].VX, 9);
    EXPECT_EQ(TwoBalls[1].X, 199.75);
    EXPECT_EQ(TwoBalls[1].VX, 45);
    EXPECT_EQ(TwoBalls[1].M, 40);
    for (int k = 0; k < 10; k++) SteerBigBall(72);
    EXPECT_NEAR(TwoBalls[1].VX, 45 * 1.1046221254112045, 1e-9);
    TwoBalls[1].VX = 45;
    TwoBalls[1].VY = 0;
    SteerBigBall(77);  // clockwise on a screen with y downwards
    EXPECT_NEAR(TwoBalls[1].VX, 44.828761, 1e-6);
    EXPECT_NEAR(TwoBalls[1].VY, 3.922008, 1e-6);
    SteerBigBall(75);
    EXPECT_NEAR(TwoBalls[1].VY, 0, 1e-12);
    SteerBigBall(80);
    EXPECT_NEAR(TwoBalls[1].VX, 44.55, 1e-9);
    SteerBigBall('a');
    EXPECT_NEAR(TwoBalls[1].VX, 44.55, 1e-9);
}

TEST(GasPlacement, TheHundredGridPointsAtSpeedThirtyAndTooSmallExtentsFail) {
    TRandomSource random{};
    SeedRandom(random, 1);
    EXPECT_FALSE(PlaceGasParticles(219, 600, random));
    EXPECT_FALSE(PlaceGasParticles(800, 219, random));
    ASSERT_TRUE(PlaceGasParticles(220, 220, random));
    ASSERT_TRUE(PlaceGasParticles(799, 599, random));
    std::set<std::pair<double, double>> points;
    for (int k = 0; k < GasParticleCount; k++) {
        const TMassBall& p = GasParticles[k];
        points.insert({p.X, p.Y});
        EXPECT_NEAR(std::hypot(p.VX, p.VY), 30, 1e-12);
        EXPECT_GE(p.VY, 0);  // directions 0 to 0.9 pi
        const double column = (p.X - 10) / 77.9, row = (p.Y - 10) / 57.9;
        EXPECT_NEAR(column, std::round(column), 1e-9);
        EXPECT_NEAR(row, std::round(row), 1e-9);
    }
    EXPECT_EQ(points.size(), 100u);
}

double GasEnergy() {
    double e = 0;
    for (int k = 0; k < GasParticleCount; k++)
        e += GasParticles[k].VX * GasParticles[k].VX + GasParticles[k].VY * GasParticles[k].VY;
    return e;
}

// Energy stays, nothing goes NaN, and no particle gets further beyond an
// edge than one step's move, in a long run.
TEST(GasOverTime, EnergyKeptAndEveryoneInside) {
    TRandomSource random{};
    SeedRandom(random, 3);
    ASSERT_TRUE(PlaceGasParticles(799, 599, random));
    const double start = GasEnergy();
    double worst = 0;
    for (int frame = 0; frame < LongRun(100000); frame++) {
        StepGas(GasParticles.data(), GasParticleCount, 799, 599);
        if (frame % 100 != 0) continue;
        for (int k = 0; k < GasParticleCount; k++) {
            const TMassBall& p = GasParticles[k];
            const double step = 0.008 * std::hypot(p.VX, p.VY);
            worst = std::max({worst, -p.X - step, p.X - 799 - step, -p.Y - step, p.Y - 599 - step});
            ASSERT_TRUE(std::isfinite(p.X) && std::isfinite(p.Y)) << frame;
        }
    }
    EXPECT_LE(worst, 0);
    EXPECT_NEAR(GasEnergy() / start, 1, 1e-9);
}

TEST(TwoBallsOverTime, FiniteAndInside) {
    TRandomSource random{};
    SeedRandom(random, 11);
    PlaceTwoBalls(799, 599, random);
    for (int frame = 0; frame < LongRun(100000); frame++) StepTwoBalls(799, 599);
    for (int k = 0; k < 2; k++) {
        EXPECT_GT(TwoBalls[k].X, -10);
        EXPECT_LT(TwoBalls[k].X, 810);
        EXPECT_GT(TwoBalls[k].Y, -10);
        EXPECT_LT(TwoBalls[k].Y, 610);
    }
}

}  // namespace
