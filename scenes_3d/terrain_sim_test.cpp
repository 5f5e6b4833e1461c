#include "terrain_sim.h"

#include <gtest/gtest.h>

#include <cmath>

#include "test_support/long_runs.h"

namespace {

class TerrainTest : public ::testing::Test {
protected:
    void SetUp() override {
        TerrainVariant = TerrainWireVariant;
        FrameCount = 0;
        BuildHeightGrid();
        PlaceTerrainBalls();
    }
    // Every ball far away from the others, at rest high above the field.
    void ParkAll() {
        for (int32_t i = 0; i < TerrainBallCount; i++) {
            TerrainBalls[i].Pos = {-20.0 + 2.5 * i, 500, -20};
            TerrainBalls[i].Vel = {0, 0, 0};
        }
    }
};

TEST_F(TerrainTest, HeightsNormalsAndLerp) {
    EXPECT_EQ(GetHeight(0, 0), 1.0);
    EXPECT_NEAR(GetHeight(1, 0), 1.841471, 1e-6);
    EXPECT_NEAR(GetHeight(0, 1), 0.5403023, 1e-7);
    EXPECT_NEAR(GetHeight(1, 1), 1.381773, 1e-6);
    EXPECT_EQ(GetHeight(49, 3), 0.0);
    EXPECT_EQ(GetHeight(3, 49), 0.0);
    EXPECT_EQ(GetHeight(-1, 0), 0.0);
    EXPECT_EQ(GetHeight(50, 0), 0.0);
    EXPECT_EQ(GetHeight(0, 50), 0.0);
    const TVec3 n = HeightGrid[0][0].Normal;
    EXPECT_NEAR(n.X, -0.607375, 1e-6);
    EXPECT_NEAR(n.Y, 0.721801, 1e-6);
    EXPECT_NEAR(n.Z, -0.331810, 1e-6);
    EXPECT_EQ(HeightGrid[49][10].Normal.Y, 0);
    EXPECT_EQ(Lerp(2, 4, 0.25), 2.5);
    EXPECT_EQ(Lerp(3, 7, 0), 3);
    EXPECT_EQ(Lerp(3, 7, 1), 7);
}

TEST_F(TerrainTest, SurfaceUnderAPoint) {
    EXPECT_NEAR(TerrainHeightAt(0, 0), std::cos(25.0) + std::sin(25.0), 1e-12);
    EXPECT_EQ(TerrainHeightAt(24.5, 3), 0.0);  // rows 49 and 50: both 0
    // Halfway between rows 25 and 26 in column 25: the mean of the two.
    EXPECT_NEAR(TerrainHeightAt(0.5, 0), (2 * std::cos(25.0) + std::sin(25.0) + std::sin(26.0)) / 2,
                1e-12);
    EXPECT_EQ(TerrainHeightAt(100, 100), 0.0);  // the plane beyond the field
    EXPECT_EQ(TerrainHeightAt(3e9, -3e9), 0.0);  // indices at the 32-bit limit
    EXPECT_EQ(TerrainHeightAt(-3e9, 3e9), 0.0);
}

TEST_F(TerrainTest, StartRingAndTrails) {
    EXPECT_EQ(TerrainBalls[0].Pos.X, 0);
    EXPECT_EQ(TerrainBalls[0].Pos.Y, 20);
    EXPECT_EQ(TerrainBalls[0].Pos.Z, 9);
    EXPECT_NEAR(TerrainBalls[5].Pos.X, 9, 1e-15);
    EXPECT_NEAR(TerrainBalls[10].Pos.Z, -9, 1e-15);
    EXPECT_EQ(TerrainBalls[7].Colour, 39);
    EXPECT_EQ(TerrainBalls[3].Trail[15].Y, 20);
    TerrainBalls[3].Pos = {1, 2, 3};
    AdvanceTrails();
    EXPECT_EQ(FrameCount, 1);
    EXPECT_EQ(TerrainBalls[3].Trail[0].X, 1);
    EXPECT_EQ(TerrainBalls[3].Trail[1].X, 1);
    EXPECT_EQ(TerrainBalls[3].Trail[2].Y, 20);
    TerrainBalls[3].Pos = {4, 5, 6};
    AdvanceTrails();  // frames 1 to 3 record only the newest
    EXPECT_EQ(TerrainBalls[3].Trail[0].X, 4);
    EXPECT_EQ(TerrainBalls[3].Trail[1].X, 1);
    // The 16-bit counter of terrain_balls_gl wraps and keeps shifting.
    TerrainVariant = TerrainGlVariant;
    FrameCount = 32767;
    AdvanceTrails();
    EXPECT_EQ(FrameCount, -32768);
    TerrainBalls[3].Pos = {7, 8, 9};
    AdvanceTrails();  // -32768 is a multiple of 4
    EXPECT_EQ(TerrainBalls[3].Trail[1].X, 7);
}

TEST_F(TerrainTest, PairsMeetByTimeOfImpact) {
    ParkAll();
    // The last pair of the pass, so that its time of impact is the one left.
    TTerrainBall& a = TerrainBalls[18];
    TTerrainBall& b = TerrainBalls[19];
    // Distance 3, closing at 2: they meet in 0.5 s, not in this step.
    a.Pos = {0, 500, 0};
    b.Pos = {3, 500, 0};
    a.Vel = {1, 0, 0};
    b.Vel = {-1, 0, 0};
    StepTerrainScene();
    EXPECT_EQ(TimeOfImpact, 0.5);
    EXPECT_EQ(a.Vel.X, 1);
    // Touching and approaching: exchanged at once, across parts kept.
    a.Pos = {0, 500, 0};
    b.Pos = {2, 500, 0};
    a.Vel = {1, 0, 0.5};
    b.Vel = {-1, 0, 0};
    StepTerrainScene();
    EXPECT_NEAR(a.Vel.X, -1, 1e-12);
    EXPECT_NEAR(b.Vel.X, 1, 1e-12);
    EXPECT_EQ(a.Vel.Z, 0.5);
    // Overlapping but separating: left alone (they would stick otherwise).
    a.Pos = {0, 500, 0};
    b.Pos = {1.5, 500, 0};
    a.Vel = {-1, 0, 0};
    b.Vel = {1, 0, 0};
    StepTerrainScene();
    EXPECT_EQ(a.Vel.X, -1);
    // Sideways (b = 0) and nearly at rest relative to each other: nothing.
    a.Pos = {0, 500, 0};
    b.Pos = {2.5, 500, 0};
    a.Vel = {0, 0, 1};
    b.Vel = {0, 0, -1};
    StepTerrainScene();
    EXPECT_EQ(a.Vel.Z, 1);
    a.Vel = {0.001, 0, 0};
    b.Vel = {0, 0, 0};
    b.Pos = {2.0001, 500, 0};
    StepTerrainScene();
    EXPECT_EQ(a.Vel.X, 0.001);
}

TEST_F(TerrainTest, SurfaceBouncesAndTheFieldsEdge) {
    ParkAll();
    TTerrainBall& ball = TerrainBalls[0];
    // Falling straight onto a cell: leaves with the mirrored velocity.
    const double h = TerrainHeightAt(-9.7, 4.7);  // in cell [15][20]
    ball.Pos = {-9.7, 1 + h, 4.7};
    const TVec3 n = HeightGrid[15][20].Normal;
    ball.Vel = {-2 * n.X, -2 * n.Y, -2 * n.Z};
    StepTerrainScene();
    EXPECT_NEAR(ball.Vel.X, 2 * n.X, 1e-12);
    EXPECT_NEAR(ball.Vel.Y, 2 * n.Y - 0.02 * 9.81, 1e-12);
    // Moving out of the surface already: set onto it, not turned back in.
    ball.Pos = {-9.7, h, 4.7};
    ball.Vel = {2 * n.X, 2 * n.Y, 2 * n.Z};
    StepTerrainScene();
    EXPECT_NEAR(ball.Vel.X, 2 * n.X, 1e-12);
    // Just past the field (gx = 50.2): reversed, and again next step.
    ball.Pos = {25.2, 50, 0};
    ball.Vel = {3, 0, 0};
    StepTerrainScene();
    EXPECT_EQ(ball.Vel.X, -3);
    ball.Pos = {25.2, 50, 0};
    StepTerrainScene();
    EXPECT_EQ(ball.Vel.X, 3);
    // Exactly on the edge (gx = 50): cell 49's missing normal counts as up.
    ball.Pos = {25, 1, 0};
    ball.Vel = {0, -4, 1};
    StepTerrainScene();
    EXPECT_NEAR(ball.Vel.Y, 4 - 0.02 * 9.81, 1e-12);
    EXPECT_EQ(ball.Vel.Z, 1);
}

// A long run from the start and from moved starts: nothing goes NaN, no
// ball is launched, no pair sticks together.
void RunLong(const TTerrainVariant& variant, int steps, double shift) {
    TerrainVariant = variant;
    BuildHeightGrid();
    PlaceTerrainBalls();
    for (TTerrainBall& ball : TerrainBalls) ball.Pos.X += shift;
    std::array<std::array<int, TerrainBallCount>, TerrainBallCount> together{};
    for (int step = 0; step < steps; step++) {
        StepTerrainScene();
        for (int32_t i = 0; i < TerrainBallCount; i++) {
            const TTerrainBall& a = TerrainBalls[i];
            ASSERT_TRUE(std::isfinite(a.Pos.X) && std::isfinite(a.Pos.Y) && std::isfinite(a.Vel.Y))
                << step;
            ASSERT_LT(VecLength(a.Vel), 300) << "ball " << i << " step " << step;
            for (int32_t j = i + 1; j < TerrainBallCount; j++) {
                TVec3 d;
                VecSub(d, TerrainBalls[j].Pos, a.Pos);
                together[i][j] = VecLength(d) < 2 ? together[i][j] + 1 : 0;
                ASSERT_LE(together[i][j], 10) << i << " and " << j << " stick at step " << step;
            }
        }
    }
}

TEST_F(TerrainTest, LongRunsStayBounded) {
    for (double shift : {0.0, 0.013, -0.31}) {
        RunLong(TerrainWireVariant, LongRun(100000), shift);
        RunLong(TerrainGlVariant, LongRun(200000), shift);
    }
}

}  // namespace
