// box_scenarios without a window: the five scenarios as built for an
// 800 x 600 window (right edge 799, bottom edge 599), a new run's state, and
// the mouse rules.
#include <gtest/gtest.h>

#include <cmath>

#include "rigid_scenes.h"

namespace {

constexpr double Right = 799, Bottom = 599;

void Build(int32_t number, uint32_t seed = 1) {
    RigidBodies = {};
    TRandomSource random;
    SeedRandom(random, seed);
    BuildRigidScenario(number, Right, Bottom, random);
}

void ExpectBody(int32_t i, int32_t fixed, int32_t sides, double width, double height, double x,
                double y, double angle = 0, double damping = 0.998) {
    const TRigidBody& b = RigidBodies[i];
    EXPECT_EQ(b.Fixed, fixed) << "body " << i;
    EXPECT_EQ(b.Sides, sides) << "body " << i;
    EXPECT_EQ(b.Width, width) << "body " << i;
    EXPECT_EQ(b.Height, height) << "body " << i;
    EXPECT_EQ(b.X, x) << "body " << i;
    EXPECT_EQ(b.Y, y) << "body " << i;
    EXPECT_EQ(b.Angle, angle) << "body " << i;
    EXPECT_DOUBLE_EQ(b.DampingFactor, damping) << "body " << i;
    EXPECT_EQ(b.VelocityX, 0) << "body " << i;
    EXPECT_EQ(b.VelocityY, 0) << "body " << i;
}

// The floor's top edge lies 70 px above the window's bottom: y 529.
TEST(RigidScenarios, FallingPolygonsPastAFixedTriangle) {
    Build(0);
    EXPECT_EQ(LastBodyIndex, 20);
    ExpectBody(0, 1, 4, 799, 100, 399.5, 579);
    ExpectBody(1, 1, 3, 399.5, 100, 100, 200);
    for (int32_t i = 2; i <= 20; i++) {
        const TRigidBody& b = RigidBodies[i];
        EXPECT_EQ(b.Fixed, 0);
        EXPECT_EQ(b.X, 399.5);
        EXPECT_EQ(b.Y, 574 - 40 * i);
        EXPECT_GE(b.Width, 10);
        EXPECT_LE(b.Width, 59);
        EXPECT_GE(b.Height, 10);
        EXPECT_LE(b.Height, 59);
        EXPECT_GE(b.Sides, 3);
        EXPECT_LE(b.Sides, 10);
        EXPECT_EQ(b.Width, std::floor(b.Width));
    }
    EXPECT_EQ(RigidBodies[20].Y, -226);
    EXPECT_EQ(RigidBodies[21].Sides, 0);  // the rest of the table stays clear
}

TEST(RigidScenarios, BoxesOnAZigzagOfFixedRamps) {
    Build(1);
    EXPECT_EQ(LastBodyIndex, 10);
    ExpectBody(0, 1, 4, 799, 100, 399.5, 579);
    ExpectBody(1, 1, 4, 350, 10, 399.5, 90, 0.25);
    ExpectBody(2, 1, 4, 10, 30, 604.5, 130);
    ExpectBody(3, 1, 4, 350, 10, 429.5, 220, -0.25);
    ExpectBody(4, 1, 4, 10, 30, 224.5, 260);
    ExpectBody(5, 1, 4, 350, 10, 389.5, 350, 0.25);
    ExpectBody(6, 0, 4, 20, 20, 299.5, 30, 0.25, 0.995);
    ExpectBody(7, 0, 4, 20, 20, 324.5, 30, 0.25, 0.996);
    ExpectBody(8, 0, 4, 20, 20, 349.5, 30, 0.25, 0.997);
    ExpectBody(9, 0, 4, 20, 20, 374.5, 30, 0.25, 0.998);
    ExpectBody(10, 0, 4, 20, 20, 399.5, 30, 0.25, 0.999);
}

TEST(RigidScenarios, StacksOnAFlatAndATiltedFloor) {
    for (int32_t number : {2, 3}) {
        Build(number);
        EXPECT_EQ(LastBodyIndex, 9);
        ExpectBody(0, 1, 4, 799, 100, 399.5, 579, number == 3 ? 0.15 : 0);
        ExpectBody(1, 0, 4, 20, 20, 399.5, 518);
        ExpectBody(9, 0, 4, 20, 20, 399.5, 358);
    }
}

TEST(RigidScenarios, APyramidOfFortyFiveBoxes) {
    Build(4);
    EXPECT_EQ(LastBodyIndex, 45);
    ExpectBody(1, 0, 4, 20, 20, 200, 519);
    ExpectBody(9, 0, 4, 20, 20, 400, 519);
    ExpectBody(10, 0, 4, 20, 20, 212.5, 499);   // row 1 starts half a box in
    ExpectBody(17, 0, 4, 20, 20, 387.5, 499);
    ExpectBody(45, 0, 4, 20, 20, 300, 359);     // the top
}

TEST(RigidScenesRun, ANewRunClearsTheTableAndTheEngineConstants) {
    TRandomSource random;
    SeedRandom(random, 3);
    RigidBodies[60].Sides = 5;
    RigidGravity = 1;
    RigidFrameTime = 1;
    SelectedBody = 7;
    bool seen[5] = {};
    for (int k = 0; k < 40; k++) {
        StartRigidScenario(random, Right, Bottom);
        ASSERT_GE(ScenarioNumber, 0);
        ASSERT_LE(ScenarioNumber, 4);
        seen[ScenarioNumber] = true;
    }
    for (bool s : seen) EXPECT_TRUE(s);
    EXPECT_EQ(RigidBodies[60].Sides, 0);
    EXPECT_EQ(RigidGravity, 256);
    EXPECT_EQ(RigidFrameTime, 0.01);
    EXPECT_EQ(SelectedBody, -1);
}

// Two bodies: the fixed floor's centre (399.5, 579) and a box at
// (399.5, 518) in scenario 2.
class RigidScenesMouse : public ::testing::Test {
protected:
    void SetUp() override {
        Build(2);
        RigidFrameTime = 0.01;
        SelectedBody = -1;
        PreviousMouseX = PreviousMouseY = 0;
        PreviousButtons = 0;
    }
};

TEST_F(RigidScenesMouse, ANewPressPicksStrictlyWithinTheSquareRootOf1000) {
    // From (430, 509): 30.5² + 9² = 1011.25, too far; from (429, 512):
    // 29.5² + 6² = 906.25.
    DragRigidBody(430, 509, 1);
    EXPECT_EQ(SelectedBody, -1);
    DragRigidBody(430, 509, 0);
    DragRigidBody(429, 512, 1);
    EXPECT_EQ(SelectedBody, 1);
    EXPECT_EQ(PreviousMouseX, 429);
    EXPECT_EQ(PreviousMouseY, 512);
    EXPECT_EQ(PreviousButtons, 1);
}

TEST_F(RigidScenesMouse, FixedBodiesArePickedAndGetTheDragVelocity) {
    DragRigidBody(400, 580, 1);
    EXPECT_EQ(SelectedBody, 0);
    DragRigidBody(410, 575, 1);
    EXPECT_EQ(RigidBodies[0].VelocityX, 1000);  // 10 px in 0.01 s
    EXPECT_EQ(RigidBodies[0].VelocityY, -500);
}

TEST_F(RigidScenesMouse, AnyButtonDragsAndTheEarlierPickSurvivesARelease) {
    DragRigidBody(399, 518, 2);  // the right button alone
    EXPECT_EQ(SelectedBody, 1);
    DragRigidBody(399, 518, 0);
    DragRigidBody(100, 100, 0);  // moved while released
    DragRigidBody(100, 100, 4);  // a press far from everything: still body 1
    EXPECT_EQ(SelectedBody, 1);
    EXPECT_EQ(RigidBodies[1].VelocityX, 0);  // the pointer did not move since
    DragRigidBody(103, 96, 4);
    EXPECT_EQ(RigidBodies[1].VelocityX, 300);
    EXPECT_EQ(RigidBodies[1].VelocityY, -400);
}

TEST_F(RigidScenesMouse, HeldWithoutAPickNothingMoves) {
    DragRigidBody(50, 50, 1);
    DragRigidBody(60, 70, 1);
    EXPECT_EQ(SelectedBody, -1);
    for (int32_t i = 0; i <= LastBodyIndex; i++) EXPECT_EQ(RigidBodies[i].VelocityX, 0);
}

// Dragged out past the window's left and top edges the pointer reads
// negative: the body follows it there, it is not flung 65,536 px away.
TEST_F(RigidScenesMouse, APointerLeftOfAndAboveTheWindowGivesAModestVelocity) {
    DragRigidBody(399, 518, 1);
    DragRigidBody(10, 10, 1);
    DragRigidBody(-20, -5, 1);
    EXPECT_EQ(RigidBodies[1].VelocityX, -3000);
    EXPECT_EQ(RigidBodies[1].VelocityY, -1500);
}

}  // namespace
