// cubes_gl's start, keys, mouse and shot, headless.
#include "cube_program.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

void ExpectVec(const TVec3& v, double x, double y, double z, double tolerance = 0) {
    EXPECT_NEAR(v.X, x, tolerance);
    EXPECT_NEAR(v.Y, y, tolerance);
    EXPECT_NEAR(v.Z, z, tolerance);
}

class CubeProgram : public ::testing::Test {
protected:
    void SetUp() override {
        InitCubes();
        PrevMouseX = 0;
        PrevMouseY = 0;
    }
};

TEST_F(CubeProgram, StartPlacesSevenLayersOfFourAndTheShotCubeInMidAir) {
    EXPECT_EQ(CamYaw, 0);
    EXPECT_EQ(CamPitch, 180);
    EXPECT_EQ(CamDist, 180.0);
    EXPECT_EQ(CamFov, 50);
    ExpectVec(BoxMin, -64, -64, -64);
    ExpectVec(BoxMax, 64, 128, 64);
    EXPECT_EQ(Stiffness, 0.02);
    EXPECT_EQ(Damping, 0.01);
    EXPECT_EQ(CubeGravity, 0.002);
    EXPECT_EQ(Subdiv, 4.0);

    const double eps = 1e-12;
    ExpectVec(Cubes[0].Pos, 0, 120.8, 0, eps);
    ExpectVec(Cubes[1].Pos, 24.24, 120.8, 0, eps);
    ExpectVec(Cubes[2].Pos, 0, 120.8, 24.24, eps);
    ExpectVec(Cubes[3].Pos, 24.24, 120.8, 24.24, eps);
    ExpectVec(Cubes[4].Pos, 0, 96.56, 0, eps);
    ExpectVec(Cubes[27].Pos, 24.24, -24.64, 24.24, eps);
    ExpectVec(Cubes[28].Pos, 0, -48.88, 0, eps);
    ExpectVec(Cubes[ShotCube].Pos, -15, 0, 0);
    ExpectVec(Cubes[ShotCube].Omega, 0, -0.0707107, 0, 1e-7);
    for (int32_t i = 0; i < ShotCube; i++) {
        ExpectVec(Cubes[i].Vel, 0, 0, 0);
        ExpectVec(Cubes[i].Omega, 0, 0, 0);
        ExpectVec(Cubes[i].Impulse, 0, 0, 0);
        ExpectVec(Cubes[i].Axis.Rows[0], 1, 0, 0);
        ExpectVec(Cubes[i].Axis.Rows[2], 0, 0, 1);
    }
}

TEST_F(CubeProgram, KeysTurnAndZoomTheCamera) {
    ApplyCubeKey(72);  // Up, or a typed H
    EXPECT_EQ(CamDist, 175.0);
    ApplyCubeKey(80);
    ApplyCubeKey(80);
    EXPECT_EQ(CamDist, 185.0);
    ApplyCubeKey(75);
    EXPECT_EQ(CamYaw, -5);
    ApplyCubeKey(77);
    ApplyCubeKey(77);
    EXPECT_EQ(CamYaw, 5);
    ApplyCubeKey('a');
    EXPECT_EQ(CamPitch, 185);
    ApplyCubeKey('z');
    ApplyCubeKey('z');
    EXPECT_EQ(CamPitch, 175);
    ApplyCubeKey('s');
    EXPECT_EQ(CamFov, 49);
    ApplyCubeKey('x');
    ApplyCubeKey('x');
    EXPECT_EQ(CamFov, 51);
    // Esc, the close box's 107, 'A', 'S', 'q', Enter and 0 do nothing.
    for (int key : {27, 107, 65, 83, 113, 13, 0}) ApplyCubeKey(static_cast<uint8_t>(key));
    EXPECT_EQ(CamDist, 185.0);
    EXPECT_EQ(CamYaw, 5);
    EXPECT_EQ(CamPitch, 175);
    EXPECT_EQ(CamFov, 51);
}

TEST_F(CubeProgram, KeysStopWhereThePictureWouldVanish) {
    CamDist = 5;
    ApplyCubeKey(72);
    EXPECT_EQ(CamDist, 5.0);
    CamDist = 5.5;
    ApplyCubeKey(72);
    EXPECT_EQ(CamDist, 0.5);
    CamFov = 1;
    ApplyCubeKey('s');
    EXPECT_EQ(CamFov, 1);
    CamFov = 179;
    ApplyCubeKey('x');
    EXPECT_EQ(CamFov, 179);
    ApplyCubeKey('s');
    EXPECT_EQ(CamFov, 178);
}

TEST_F(CubeProgram, AnglesKeepTheirRemainderWithTheDividendsSign) {
    CamYaw = -365;
    CamPitch = 360;
    ApplyCubeMouse(0, 0, 0);
    EXPECT_EQ(CamYaw, -5);
    EXPECT_EQ(CamPitch, 0);
    CamYaw = 365;
    CamPitch = -5;
    ApplyCubeMouse(0, 0, 0);
    EXPECT_EQ(CamYaw, 5);
    EXPECT_EQ(CamPitch, -5);
}

TEST_F(CubeProgram, ALeftDragAloneTurnsADegreeAPixel) {
    // The first frame drags from the window's corner.
    ApplyCubeMouse(30, 40, 1);
    EXPECT_EQ(CamYaw, -30);
    EXPECT_EQ(CamPitch, 220);
    ApplyCubeMouse(40, 30, 1);
    EXPECT_EQ(CamYaw, -40);
    EXPECT_EQ(CamPitch, 210);
    // Shift, Ctrl, a second button, or no button: nothing turns, but the
    // previous position follows.
    for (int buttons : {9, 17, 3, 5, 0, 2}) {
        ApplyCubeMouse(100 + buttons, 200, static_cast<uint16_t>(buttons));
        EXPECT_EQ(CamYaw, -40) << buttons;
        EXPECT_EQ(CamPitch, 210) << buttons;
        EXPECT_EQ(PrevMouseX, 100 + buttons);
        EXPECT_EQ(PrevMouseY, 200);
    }
    ApplyCubeMouse(102, 205, 1);
    EXPECT_EQ(CamYaw, -40);
    EXPECT_EQ(CamPitch, 215);
    // Left of and above the window the pointer reads negative.
    ApplyCubeMouse(-10, -3, 1);
    EXPECT_EQ(CamYaw, 72);
    EXPECT_EQ(CamPitch, 7);
}

TEST_F(CubeProgram, TheShotLeavesFromTheNearPointAlongThePointerRay) {
    const TCube before = Cubes[ShotCube];
    // gluPerspective(90, 1, 1, 3) and the eye at the origin.
    const TGlMatrix identity{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    const TGlMatrix perspective{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -2, -1, 0, 0, -3, 0};
    const TGlViewport viewport{0, 0, 800, 600};
    ASSERT_TRUE(ShootCubeThrough(identity, perspective, viewport, 400, 299));
    ExpectVec(Cubes[ShotCube].Pos, 0, 0, -1, 1e-12);
    ExpectVec(Cubes[ShotCube].Vel, 0, 0, -4, 1e-12);
    ExpectVec(Cubes[ShotCube].Omega, 0, 0, 0);

    // Window (600, 450): a quarter of the way in from the top right.
    ASSERT_TRUE(ShootCubeThrough(identity, perspective, viewport, 600, 149));
    ExpectVec(Cubes[ShotCube].Pos, 0.5, 0.5, -1, 1e-12);
    ExpectVec(Cubes[ShotCube].Vel, 1.632993, 1.632993, -3.265986, 1e-6);
    // Impulses and axes stay.
    ExpectVec(Cubes[ShotCube].Impulse, before.Impulse.X, before.Impulse.Y, before.Impulse.Z);
    ExpectVec(Cubes[ShotCube].Axis.Rows[0], before.Axis.Rows[0].X, before.Axis.Rows[0].Y,
              before.Axis.Rows[0].Z);
}

TEST_F(CubeProgram, TheTopRowShootsFromTheRowBelow) {
    const TGlMatrix identity{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    ASSERT_TRUE(ShootCubeThrough(identity, identity, {0, 0, 800, 600}, 0, 0));
    ExpectVec(Cubes[ShotCube].Pos, -1, 0.993333, -1, 1e-6);
    ExpectVec(Cubes[ShotCube].Vel, 0, 0, 4, 1e-12);
    // Above the window the row is negative and kept.
    ASSERT_TRUE(ShootCubeThrough(identity, identity, {0, 0, 800, 600}, 0, -301));
    ExpectVec(Cubes[ShotCube].Pos, -1, 2, -1, 1e-6);
}

TEST_F(CubeProgram, NoRayNoShot) {
    const TCube before = Cubes[ShotCube];
    const TGlMatrix identity{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    TGlMatrix singular{};  // the view of an eye on the point it looks at
    EXPECT_FALSE(ShootCubeThrough(singular, identity, {0, 0, 800, 600}, 400, 300));
    TGlMatrix broken = identity;
    broken[12] = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(ShootCubeThrough(broken, identity, {0, 0, 800, 600}, 400, 300));
    TGlMatrix huge = identity;
    huge[0] = 1e-310;  // the inverse overflows
    EXPECT_FALSE(ShootCubeThrough(huge, identity, {0, 0, 800, 600}, 700, 300));
    ExpectVec(Cubes[ShotCube].Pos, before.Pos.X, before.Pos.Y, before.Pos.Z);
    ExpectVec(Cubes[ShotCube].Vel, before.Vel.X, before.Vel.Y, before.Vel.Z);
    ExpectVec(Cubes[ShotCube].Omega, before.Omega.X, before.Omega.Y, before.Omega.Z);
}

}  // namespace
