// The programs' start values, scenes, keys, clicks and drags, headless.
#include <gtest/gtest.h>

#include "box_balls_controls.h"
#include "box_balls_gl_frame.h"
#include "box_balls_wire_frame.h"
#include "box_scenes.h"
#include "tavrel.h"
#include "view3d.h"
#include "vec3_expect.h"

namespace {

TEST(BoxScenes, GlStartsWithItsCameraAndOneOfThreeScenes) {
    TRandomSource random;
    int seen[3] = {0, 0, 0};
    for (uint32_t seed = 0; seed < 2000; seed++) {
        SeedRandom(random, seed);
        TRandomSource again = random;
        const TBoxScene scene = PickBoxScene(again);
        BeginBoxBallsGl(random);
        const int32_t expected[3] = {65, 15, 70};
        ASSERT_EQ(BallCount, expected[int(scene)]);
        seen[int(scene)]++;
    }
    // Probabilities 0.4, 0.24 and 0.36.
    EXPECT_NEAR(seen[0], 800, 100);
    EXPECT_NEAR(seen[1], 480, 100);
    EXPECT_NEAR(seen[2], 720, 100);
    EXPECT_EQ(CamYaw, 400);
    EXPECT_EQ(CamPitch, 60);
    EXPECT_EQ(CamDist, 500);
    EXPECT_EQ(CamFov, 90);
    EXPECT_EQ(CamAspect, 1.0);
    EXPECT_TRUE(Running);
    EXPECT_FALSE(ShowVectors);
    EXPECT_EQ(MaxEventDepth, 100);
    EXPECT_EQ(WallCount, 6);
    ExpectVec(BoxGravity, 0, -9.82, 0);
}

TEST(BoxScenes, SceneBallsStandWhereTheyShould) {
    ResetBoxBalls(BoxBallsGlPhysics);
    AddSceneBalls(TBoxScene::BigBallUnderGrid, 150);
    ExpectVec(BoxBalls[0].Pos, 0, 75, 0);
    EXPECT_EQ(BoxBalls[0].Radius, 50);
    EXPECT_EQ(BoxBalls[0].Colour, 4u);
    ExpectVec(BoxBalls[1].Pos, -21.38888888888889, 175, -21.38888888888889);
    ExpectVec(BoxBalls[1].Vel, 0, -50, 0);
    EXPECT_NEAR(BoxBalls[1].Radius, 2.7777777777777777, 1e-15);
    EXPECT_EQ(BoxBalls[64].Colour, 95u);
    ExpectVec(BoxBalls[64].Pos, 21.38888888888889, 175, 21.38888888888889);

    ResetBoxBalls(BoxBallsGlPhysics);
    AddSceneBalls(TBoxScene::RowHitByOne, 150);
    ASSERT_EQ(BallCount, 15);
    ExpectVec(BoxBalls[0].Pos, 30, 50, 75);
    ExpectVec(BoxBalls[3].Vel, 150, 0, 0);
    ExpectVec(BoxBalls[4].Vel, 0, 0, 0);
    EXPECT_EQ(BoxBalls[14].Radius, 12.499999);
    EXPECT_EQ(BoxBalls[14].Mass, 12.5);

    ResetBoxBalls(BoxBallsGlPhysics);
    AddSceneBalls(TBoxScene::LeaningColumn, 150);
    ASSERT_EQ(BallCount, 70);
    ExpectVec(BoxBalls[69].Pos, 69, 834.042, 0, 1e-9);
    EXPECT_EQ(BoxBalls[69].Radius, 6);
}

TEST(BoxScenes, WireStartsWithTheThrownColumnAndItsCamera) {
    BeginBoxBallsWire();
    ASSERT_EQ(BallCount, 40);
    ExpectVec(BoxBalls[0].Pos, 0, 2.0002, 0);
    ExpectVec(BoxBalls[39].Vel, 0, 100, 0);
    EXPECT_EQ(BoxBalls[39].Colour, 71u);
    EXPECT_EQ(BoxBalls[39].Radius, 2);
    ExpectVec(BoxWalls[1].Point, 0, 400, 0);
    EXPECT_EQ(MaxEventDepth, 3);
    EXPECT_EQ(FramePage, 0);
    ExpectVec(CamEye, 1, -100, 100);
    EXPECT_EQ(CamStep, 5.5);
    EXPECT_EQ(NearPlane, 50);
    EXPECT_FALSE(FlipScreenY);
}

class BoxControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetOrbitCamera();
        ResetBoxControls(GlSceneScale);
        ResetBoxBalls(BoxBallsGlPhysics);
        AddBoxBall(0, 10, 0, 100, 0, 0, 1, 1, 40);
    }
};

TEST_F(BoxControlsTest, KeysToggleTurnAndMoveTheOrbit) {
    DispatchBoxKey(13, true);
    DispatchBoxKey(32, true);
    EXPECT_TRUE(ShowVectors);
    EXPECT_FALSE(Running);
    DispatchBoxKey('j', true);
    ExpectVec(BoxBalls[0].Vel, 99.90482215818578, -4.3619387365336, 0);
    DispatchBoxKey('l', true);
    ExpectVec(BoxBalls[0].Vel, 100, 0, 0);
    // The close box's code, 107, turns like 'k'.
    DispatchBoxKey(107, true);
    ExpectVec(BoxBalls[0].Vel, 99.90482215818578, 0, -4.3619387365336);
    DispatchBoxKey('o', true);
    ExpectVec(BoxBalls[0].Vel, 100, 0, 0);
    // Arrow codes through the queue and Esc change nothing here.
    for (uint8_t key : {72, 75, 77, 80, 27, 0}) DispatchBoxKey(key, true);
    ExpectVec(BoxBalls[0].Vel, 100, 0, 0);
    EXPECT_TRUE(ShowVectors);
    EXPECT_FALSE(Running);
    EXPECT_EQ(CamDist, 500);
    DispatchBoxKey('z', true);
    EXPECT_EQ(CamDist, 510);
    DispatchBoxKey('z', false);
    DispatchBoxKey('a', false);
    EXPECT_EQ(CamDist, 510);
}

TEST_F(BoxControlsTest, NearerStopsShortOfDistanceZero) {
    for (int k = 0; k < 49; k++) DispatchBoxKey('a', true);
    EXPECT_EQ(CamDist, 10);
    DispatchBoxKey('a', true);
    DispatchBoxKey('a', true);
    EXPECT_EQ(CamDist, 10);
    DispatchBoxKey('z', true);
    EXPECT_EQ(CamDist, 20);
}

TEST_F(BoxControlsTest, ABallOnlyWhenTheWordGoesFromZeroToOne) {
    NamedColors[207] = 40;
    HandleLeftClick(1);
    ASSERT_EQ(BallCount, 2);
    ExpectVec(BoxBalls[1].Pos, 450, 150, 0);
    ExpectVec(BoxBalls[1].Vel, -100, 0, 0);
    EXPECT_EQ(BoxBalls[1].Radius, 50);
    EXPECT_EQ(BoxBalls[1].Mass, 2500);
    EXPECT_EQ(BoxBalls[1].Colour, 40u);
    HandleLeftClick(1);  // held
    HandleLeftClick(0);
    HandleLeftClick(9);  // Shift and left
    HandleLeftClick(3);
    HandleLeftClick(1);  // after 3, not 0
    EXPECT_EQ(BallCount, 2);
    HandleLeftClick(0);
    HandleLeftClick(1);
    EXPECT_EQ(BallCount, 3);
    for (int k = 0; k < 300; k++) HandleLeftClick(k % 2);
    EXPECT_EQ(BallCount, 101);
}

TEST_F(BoxControlsTest, RightDragsTurnTheOrbitBySignedPixels) {
    OrbitByDrag(10, 10, 0);
    OrbitByDrag(-20, 5, 2);  // left of the window
    EXPECT_EQ(CamYaw, 370);
    EXPECT_EQ(CamPitch, 55);
    OrbitByDrag(30, -40, 3);  // right and left together
    OrbitByDrag(30, -45, 2);
    EXPECT_EQ(CamYaw, 370);
    EXPECT_EQ(CamPitch, 50);
}

TEST_F(BoxControlsTest, A256PixelDragTurnsTheFreeCameraOneRadian) {
    CamEye = {0, 0, 0};
    CamRight = {1, 0, 0};
    CamUp = {0, 1, 0};
    CamFwd = {0, 0, 1};
    CamTurnByDrag(0, 0, 0);
    CamTurnByDrag(-256, 0, 2);
    ExpectVec(CamRight, 0.5403023058681398, 0, 0.8414709848078965);
    ExpectVec(CamFwd, -0.8414709848078965, 0, 0.5403023058681398);
    CamTurnByDrag(-256, 0, 2);  // not moved
    CamTurnByDrag(0, 0, 6);     // another button too
    ExpectVec(CamFwd, -0.8414709848078965, 0, 0.5403023058681398);
    CamTurnByDrag(256, 0, 2);
    ExpectVec(CamRight, 1, 0, 0);
    ExpectVec(CamUp, 0, 1, 0);
    ExpectVec(CamFwd, 0, 0, 1);
}

}  // namespace
