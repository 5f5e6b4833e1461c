#include "cube_sim.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double Near = 1e-12;

void ExpectVec(const TVec3& v, double x, double y, double z, double tolerance = 0) {
    EXPECT_NEAR(v.X, x, tolerance);
    EXPECT_NEAR(v.Y, y, tolerance);
    EXPECT_NEAR(v.Z, z, tolerance);
}

void ExpectZero(const TVec3& v) { ExpectVec(v, 0, 0, 0); }

// A corner along +X: body (1, 1, 1) points along world +X.
const TMat3 CornerAlongX{{{{1 / std::sqrt(3.0), 1 / std::sqrt(2.0), 1 / std::sqrt(6.0)},
                           {1 / std::sqrt(3.0), -1 / std::sqrt(2.0), 1 / std::sqrt(6.0)},
                           {1 / std::sqrt(3.0), 0, -2 / std::sqrt(6.0)}}}};
const TMat3 Unturned{{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}};

// Every cube at rest, unturned, far from the others and outside the box.
class CubeSim : public ::testing::Test {
protected:
    void SetUp() override {
        BoxMin = {-64, -64, -64};
        BoxMax = {64, 128, 64};
        Stiffness = 0.02;
        Damping = 0.01;
        CubeGravity = 0.002;
        Subdiv = 4.0;
        for (int32_t i = 0; i < CubeCount; i++) Cubes[i] = {{1000.0 + 100 * i, 0, 0}, {}, {}, {}, {}, Unturned};
    }
};

TEST_F(CubeSim, MatrixProductsGoBetweenBodyAndWorld) {
    const TMat3 m{{{{1, 2, 3}, {4, 5, 6}, {7, 8, 10}}}};
    TVec3 out;
    MatMulVec(m, {1, -1, 2}, out);
    ExpectVec(out, 5, 11, 19);
    MatTransMulVec(m, {1, -1, 2}, out);
    ExpectVec(out, 11, 13, 17);
    TVec3 v{1, -1, 2};
    MatMulVec(m, v, v);  // Out may be V
    ExpectVec(v, 5, 11, 19);
}

TEST_F(CubeSim, ImpulseGathersAtItsPointAndPointVelocityTurns) {
    TCube& cube = Cubes[0];
    cube.Pos = {1, 2, 3};
    ApplyImpulse(cube, {0, 0, 2}, {2, 2, 3});
    ApplyImpulse(cube, {1, 0, 0}, {1, 3, 3});
    ExpectVec(cube.Impulse, 1, 0, 2);
    // (1, 0, 0) x (0, 0, 2) + (0, 1, 0) x (1, 0, 0)
    ExpectVec(cube.AngImpulse, 0, -2, -1);
    // The point may be the cube's own field: it is copied first.
    ApplyImpulse(cube, cube.Impulse, cube.Pos);
    ExpectVec(cube.Impulse, 2, 0, 4);
    ExpectVec(cube.AngImpulse, 0, -2, -1);

    cube.Vel = {0.5, 0, 0};
    cube.Omega = {0, 0, 0.1};
    TVec3 v;
    PointVelocity(cube, {3, 2, 3}, v);  // arm (2, 0, 0)
    ExpectVec(v, 0.5, 0.2, 0, Near);
}

TEST_F(CubeSim, LatticeRunsFromCornerToCornerInQuarters) {
    TVec3 p;
    LatticePoint(0, 0, 0, p);
    ExpectVec(p, -6, -6, -6);
    LatticePoint(1, 2, 4, p);
    ExpectVec(p, -3, 0, 6);
    LatticePoint(4, 3, 2, p);
    ExpectVec(p, 6, 3, 0);
}

TEST_F(CubeSim, PushGoesAlongTheLargestCoordinateTiesToTheLaterAxis) {
    TVec3 f;
    ContactPush({2, 2, 1}, f);
    ExpectVec(f, 0, 0.08, 0, Near);
    ContactPush({2, 2, 2}, f);
    ExpectVec(f, 0, 0, 0.08, Near);
    ContactPush({3, 1, 1}, f);
    ExpectVec(f, 0.06, 0, 0, Near);
    ContactPush({-3, 1, 1}, f);
    ExpectVec(f, -0.06, 0, 0, Near);
    ContactPush({0, 0, 0}, f);
    ExpectVec(f, 0, 0, -0.12, Near);
    ContactPush({1, -5.5, 2}, f);
    ExpectVec(f, 0, -0.01, 0, Near);
}

TEST_F(CubeSim, CentresExactly20784ApartAreNotTested) {
    // Corners pointing at each other reach 10.3923 from each centre, so at
    // 20.784 each corner lies just inside the other cube.
    Cubes[0] = {{0, 0, 0}, {}, {}, {}, {}, CornerAlongX};
    Cubes[1] = {{20.784, 0, 0}, {}, {}, {}, {}, CornerAlongX};
    GatherCubeContacts();
    ExpectZero(Cubes[0].Impulse);
    ExpectZero(Cubes[1].Impulse);

    Cubes[1].Pos = {20.783, 0, 0};
    GatherCubeContacts();
    EXPECT_LT(Cubes[0].Impulse.X, 0);
    EXPECT_GT(Cubes[1].Impulse.X, 0);
    EXPECT_NEAR(Cubes[0].Impulse.X, -Cubes[1].Impulse.X, Near);
}

TEST_F(CubeSim, APointOnAFacePlaneIsNotInside) {
    Cubes[0].Pos = {0, 0, 0};
    Cubes[1].Pos = {12, 0, 0};  // face to face: |q.X| is exactly 6
    GatherCubeContacts();
    ExpectZero(Cubes[0].Impulse);
    ExpectZero(Cubes[1].Impulse);

    // 0.5 deep: of each face's 25 points the 9 off the other cube's side
    // planes are inside, each pushed 0.5 * 0.02 one way or the other.
    Cubes[1].Pos = {11.5, 0, 0};
    GatherCubeContacts();
    ExpectVec(Cubes[0].Impulse, -0.18, 0, 0, Near);
    ExpectVec(Cubes[1].Impulse, 0.18, 0, 0, Near);

    // Barely inside still counts: 2 * 9 points 1e-6 deep.
    Cubes[0].Impulse = Cubes[1].Impulse = {0, 0, 0};
    Cubes[1].Pos = {12 - 1e-6, 0, 0};
    GatherCubeContacts();
    EXPECT_NEAR(Cubes[0].Impulse.X, -3.6e-7, 1e-12);
    EXPECT_NEAR(Cubes[1].Impulse.X, 3.6e-7, 1e-12);
}

TEST_F(CubeSim, OnePointInsidePushesBothCubesAndDampsTheirRelativeVelocity) {
    // Only cube 0's corner (6, 6, 6), at (10.3923, 0, 0), lies inside cube 1:
    // 1 deep below its face X = -6.
    Cubes[0] = {{0, 0, 0}, {}, {}, {}, {}, CornerAlongX};
    Cubes[1].Pos = {6 * std::sqrt(3.0) + 5, 1.5, 1.5};
    Cubes[1].Vel = {0, 0.5, 0};
    const TCube before0 = Cubes[0], before1 = Cubes[1];
    GatherCubeContacts();
    // F = (-1 * 0.02, 0, 0) + 0.01 * (0.5 - 0) along Y on cube 0, -F on cube 1.
    ExpectVec(Cubes[0].Impulse, -0.02, 0.005, 0, Near);
    ExpectVec(Cubes[1].Impulse, 0.02, -0.005, 0, Near);
    // Arms (10.3923, 0, 0) and (-5, -1.5, -1.5).
    ExpectVec(Cubes[0].AngImpulse, 0, 0, 0.005 * 6 * std::sqrt(3.0), 1e-9);
    ExpectVec(Cubes[1].AngImpulse, -0.0075, -0.03, 0.025 + 0.03, Near);
    // Only the impulses change.
    for (const auto& [now, before] : {std::pair{Cubes[0], before0}, std::pair{Cubes[1], before1}}) {
        ExpectVec(now.Pos, before.Pos.X, before.Pos.Y, before.Pos.Z);
        ExpectVec(now.Vel, before.Vel.X, before.Vel.Y, before.Vel.Z);
        ExpectZero(now.Omega);
        EXPECT_EQ(now.Axis.Rows[1].X, before.Axis.Rows[1].X);
    }
}

TEST_F(CubeSim, OnlyCubesWithin10392OfAFaceMeetTheWalls) {
    EXPECT_FALSE(NearAWall({0, 0, 0}));
    EXPECT_FALSE(NearAWall({53.6, 117.6, -53.6}));
    EXPECT_FALSE(NearAWall({-53.6, -53.6, 53.6}));
    EXPECT_TRUE(NearAWall({53.61, 0, 0}));
    EXPECT_TRUE(NearAWall({0, 117.61, 0}));
    EXPECT_TRUE(NearAWall({0, -53.61, 0}));
    EXPECT_TRUE(NearAWall({0, 0, -53.61}));
    EXPECT_TRUE(NearAWall({0, 0, 70}));  // outside counts too
    // A corner 0.0002 past X = 64 from a centre 0.0001 short of the gate:
    // the gate alone decides.
    Cubes[0] = {{53.6079, 0, 0}, {}, {}, {}, {}, CornerAlongX};
    ApplyWallForces(0);
    ExpectZero(Cubes[0].Impulse);
    Cubes[0].Pos.X = 53.6081;
    ApplyWallForces(0);
    EXPECT_LT(Cubes[0].Impulse.X, 0);
}

TEST_F(CubeSim, SideAndFloorWallsDampZWallsOnlyPush) {
    // A face 2 beyond X = 64: 25 points, each (64 - 66) * 0.02, less
    // 0.01 of the velocity.
    Cubes[0] = {{60, 0, 0}, {1, 0, 0}, {}, {}, {}, Unturned};
    ApplyWallForces(0);
    ExpectVec(Cubes[0].Impulse, -1.25, 0, 0, Near);
    ExpectVec(Cubes[0].AngImpulse, 0, 0, 0, Near);
    // A face 1e-6 beyond.
    Cubes[0] = {{58 + 1e-6, 0, 0}, {}, {}, {}, {}, Unturned};
    ApplyWallForces(0);
    EXPECT_NEAR(Cubes[0].Impulse.X, -5e-7, 1e-12);

    // The same beyond Z = 64: no damping, also across.
    Cubes[0] = {{0, 0, 60}, {0.5, 0, 1}, {}, {}, {}, Unturned};
    ApplyWallForces(0);
    ExpectVec(Cubes[0].Impulse, 0, 0, -1.0, Near);

    // Beyond both: 20 damped X points, 20 undamped Z points and the edge's
    // 5 points with both springs, damped.
    Cubes[0] = {{60, 0, 60}, {1, 0, 1}, {}, {}, {}, Unturned};
    ApplyWallForces(0);
    ExpectVec(Cubes[0].Impulse, -1.25, 0, -1.25, Near);

    // The floor Y = 128 and the ceiling Y = -64 damp.
    Cubes[0] = {{0, 124, 0}, {0.5, 0, 0}, {}, {}, {}, Unturned};
    ApplyWallForces(0);
    ExpectVec(Cubes[0].Impulse, -0.125, -1.0, 0, Near);
    Cubes[0] = {{0, -62, 0}, {}, {}, {}, {}, Unturned};  // layers 4 and 1 beyond
    ApplyWallForces(0);
    ExpectVec(Cubes[0].Impulse, 0, 2.5, 0, Near);
}

TEST_F(CubeSim, TheShotCubeNeverMeetsTheWalls) {
    Cubes[ShotCube].Pos = {70, 0, 0};  // half outside the box
    Cubes[28].Pos = {70, 0, 40};
    StepCubes();
    ExpectZero(Cubes[ShotCube].Vel);
    ExpectVec(Cubes[ShotCube].Pos, 70, 0, 0);
    EXPECT_LT(Cubes[28].Vel.X, -1);
}

TEST_F(CubeSim, GravityActsFromTheSecondFrame) {
    for (int32_t i = 0; i < CubeCount; i++) Cubes[i].Pos = {-40.0 + 20 * (i % 5), 100.0 - 25 * (i / 5), 0};
    StepCubes();
    ExpectZero(Cubes[7].Vel);
    ExpectVec(Cubes[7].Pos, 0, 75, 0);
    ExpectVec(Cubes[7].Impulse, 0, 0.002, 0);
    StepCubes();
    ExpectVec(Cubes[7].Vel, 0, 0.002, 0);
    ExpectVec(Cubes[7].Pos, 0, 75.002, 0, Near);
    StepCubes();
    ExpectVec(Cubes[7].Vel, 0, 0.004, 0, Near);
    ExpectVec(Cubes[7].Pos, 0, 75.006, 0, Near);
}

TEST_F(CubeSim, IntegrationClampsAtMoreThan8AndMoreThanAPiSixth) {
    TCube& cube = Cubes[0];
    cube.Impulse = {8, 0, 0};
    cube.AngImpulse = {0, 0, M_PI / 6};
    IntegrateCube(0);
    ExpectVec(cube.Vel, 8, 0, 0);
    ExpectVec(cube.Pos, 1008, 0, 0);
    ExpectVec(cube.Omega, 0, 0, M_PI / 6 / 24, 1e-15);
    ExpectVec(cube.Impulse, 0, 0.002, 0);
    ExpectZero(cube.AngImpulse);

    Cubes[1].Impulse = {0, -30, 40};  // length 50
    Cubes[1].AngImpulse = {2, 0, 0};
    IntegrateCube(1);
    ExpectVec(Cubes[1].Vel, 0, -4.8, 6.4, Near);
    ExpectVec(Cubes[1].Omega, 0.021816616, 0, 0, 1e-9);
}

TEST_F(CubeSim, SlowMotionStopsBeforeSpinGrows) {
    TCube& cube = Cubes[0];
    cube.Vel = {0.001, 0, 0};  // exactly the limit: kept
    cube.Omega = {0.001, 0, 0};
    IntegrateCube(0);
    ExpectVec(cube.Vel, 0.001, 0, 0);
    ExpectVec(cube.Omega, 0.001, 0, 0);
    // Exactly 0.001 after the spin grows turns nothing.
    ExpectVec(cube.Axis.Rows[1], 0, 1, 0);

    TCube& slow = Cubes[1];
    slow.Vel = {0, 0.0009, 0};
    slow.Omega = {0.0009, 0, 0};
    slow.AngImpulse = {0, 0, 0.048};
    IntegrateCube(1);
    ExpectVec(slow.Pos, 1100, 0.0009, 0);  // moved before it stopped
    ExpectZero(slow.Vel);
    ExpectVec(slow.Omega, 0, 0, 0.002, Near);  // not (0.0009, 0, 0.002)
    EXPECT_GT(slow.Axis.Rows[0].Y, 0.0019);    // turned about Z
}

TEST_F(CubeSim, AxesTurnFromTheOldOnes) {
    TCube& cube = Cubes[0];
    cube.Omega = {0, 0, 0.1};
    IntegrateCube(0);
    ExpectVec(cube.Axis.Rows[0], 0.995012, 0.099751, 0, 1e-6);
    ExpectVec(cube.Axis.Rows[1], -0.099751, 0.995012, 0, 1e-6);
    ExpectVec(cube.Axis.Rows[2], 0, 0, 1);
}

TEST(RotateVector, TurnsInPassesOfAtMostAnEighthOfPi) {
    TVec3 out;
    RotateVector({1, 0, 0}, {0, 0, 0.1}, out);  // one pass
    ExpectVec(out, 0.995012, 0.099751, 0, 1e-6);
    RotateVector({1, 0, 0}, {0, 0, 1}, out);  // three passes
    ExpectVec(out, 0.547944, 0.836515, 0, 1e-6);
    RotateVector({1, 0, 0}, {0, 0, M_PI / 2}, out);  // 4.5 rounds to four passes
    ExpectVec(out, 0.019731, 0.999805, 0, 1e-6);
    RotateVector({1, 0, 0}, {0, 0, 3 * M_PI / 8}, out);  // 3.5 rounds to four
    ExpectVec(out, 0.390437, 0.920630, 0, 1e-6);
    RotateVector({1, 0, 0}, {0, 0, 5 * M_PI / 8}, out);  // 5.5 rounds to six
    ExpectVec(out, -0.366693, 0.930342, 0, 1e-6);
    RotateVector({0, 2, 5}, {0, 0, 0.1}, out);  // the part along the axis stays
    ExpectVec(out, -0.199502, 1.990025, 5, 1e-6);
}

TEST(RotateVector, AlongTheAxisOrZeroLeavesItAlone) {
    TVec3 out;
    RotateVector({0, 0, 2}, {0, 0, 0.5}, out);
    ExpectVec(out, 0, 0, 2);
    RotateVector({0, 0, -2}, {0, 0, 0.5}, out);
    ExpectVec(out, 0, 0, -2);
    RotateVector({1e-4, 0, 1}, {0, 0, 0.5}, out);  // within 1e-7 of parallel
    ExpectVec(out, 1e-4, 0, 1);

    out = {7, 8, 9};
    RotateVector({1, 0, 0}, {0, 0, 0}, out);
    ExpectVec(out, 7, 8, 9);
    RotateVector({0, 0, 0}, {0, 0, 1}, out);
    ExpectVec(out, 7, 8, 9);
}

}  // namespace
