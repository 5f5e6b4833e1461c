// polygon_drag without a window: its start and the rules of its left-button
// drag.
#include <gtest/gtest.h>

#include "rigid_crowd.h"

namespace {

constexpr double Right = 799, Bottom = 599;

class RigidCrowdMouse : public ::testing::Test {
protected:
    void SetUp() override {
        TRandomSource random;
        SeedRandom(random, 1);
        StartCrowd(random, Right, Bottom);
    }
    // Body 0 starts at (399.5, 574), body 1 at (399.5, 534).
};

TEST_F(RigidCrowdMouse, StartPutsAColumnOfPolygonsOverTheMiddle) {
    for (int32_t i = 0; i <= 100; i++) {
        const TCrowdBody& b = CrowdBodies[i];
        EXPECT_EQ(b.X, 399.5);
        EXPECT_EQ(b.Y, 574 - 40 * i);
        EXPECT_GE(b.Sides, 3);
        EXPECT_LE(b.Sides, 10);
        EXPECT_GE(b.Width, 10);
        EXPECT_LE(b.Height, 59);
        EXPECT_EQ(b.DampingFactor, 0.998);
        EXPECT_EQ(b.VelocityY, 0);
    }
}

// The first press of a run moves nothing unless it is near enough.
TEST_F(RigidCrowdMouse, ALeftPressPicksStrictlyWithin25Pixels) {
    // From (414, 554): 14.5² + 20² = 610.25; from (415, 554): 640.25, too far.
    DragCrowdBody(415, 554, 1);
    EXPECT_EQ(SelectedBody, -1);
    EXPECT_EQ(CrowdBodies[0].AngularVelocity, 0);
    PreviousButtons = 0;
    DragCrowdBody(414, 554, 1);
    EXPECT_EQ(SelectedBody, 0);
}

TEST_F(RigidCrowdMouse, HeldStillThePickedBodyStopsAndSpinsUp) {
    PreviousMouseX = 400;
    PreviousMouseY = 574;
    DragCrowdBody(400, 574, 1);
    EXPECT_EQ(SelectedBody, 0);
    EXPECT_EQ(CrowdBodies[0].VelocityX, 0);
    EXPECT_EQ(CrowdBodies[0].VelocityY, 0);
    EXPECT_DOUBLE_EQ(CrowdBodies[0].AngularVelocity, 0.08);
    PreviousButtons = 1;
    DragCrowdBody(400, 574, 1);
    EXPECT_DOUBLE_EQ(CrowdBodies[0].AngularVelocity, 0.16);
}

TEST_F(RigidCrowdMouse, ShiftAndLeftDragsTheRightButtonAloneDoesNot) {
    DragCrowdBody(400, 534, 2);
    EXPECT_EQ(SelectedBody, -1);
    EXPECT_EQ(CrowdBodies[1].AngularVelocity, 0);
    PreviousMouseX = 400;
    PreviousMouseY = 534;
    PreviousButtons = 2;  // the left button joins the right: a new left press
    DragCrowdBody(405, 530, 3);
    EXPECT_EQ(SelectedBody, 1);
    PreviousButtons = 0;
    PreviousMouseX = 395;
    PreviousMouseY = 530;
    DragCrowdBody(400, 540, 9);  // Shift and left
    EXPECT_EQ(SelectedBody, 1);
    EXPECT_EQ(CrowdBodies[1].VelocityX, 500);
    EXPECT_EQ(CrowdBodies[1].VelocityY, 1000);
}

// Here the press is left of and above the window, where the pointer reads
// negative: a modest velocity, not one from 65,000 pixels away.
TEST_F(RigidCrowdMouse, APressThatPicksNothingDragsTheEarlierPickAgain) {
    DragCrowdBody(400, 574, 1);
    ASSERT_EQ(SelectedBody, 0);
    PreviousButtons = 0;
    PreviousMouseX = 5;
    PreviousMouseY = 5;
    DragCrowdBody(-5, -10, 1);
    EXPECT_EQ(SelectedBody, 0);
    EXPECT_EQ(CrowdBodies[0].VelocityX, -1000);
    EXPECT_EQ(CrowdBodies[0].VelocityY, -1500);
}

}  // namespace
