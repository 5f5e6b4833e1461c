#include "world.h"

#include <gtest/gtest.h>

namespace {

TWorldBody Box(double mass, double x, double y) {
    TWorldBody body;
    InitBody(4, body, 1, 1, mass, x, y, 0, 0, 0, 0, 0, 0.2, 0);
    return body;
}

void DefaultSettings() { SetWorld({0, -9.8}, 10, true, false, false, true); }

}  // namespace

TEST(WorldTables, CapacityOfAHundred) {
    ClearWorld();
    for (int i = 1; i <= WorldCapacity; i++) {
        ASSERT_TRUE(AddWorldBody(Box(1, i, 0)));
        EXPECT_EQ(WorldBodies[i].Index, i);
    }
    EXPECT_FALSE(AddWorldBody(Box(1, -1, -1)));
    EXPECT_EQ(WorldBodyCount, WorldCapacity);
    EXPECT_EQ(WorldBodies[WorldCapacity].Position.X, WorldCapacity);

    TPinJoint joint;
    InitJoint(1, 2, joint, 1.5, 0, 0, 0.2);
    for (int i = 1; i <= WorldCapacity; i++) ASSERT_TRUE(AddWorldJoint(joint));
    EXPECT_FALSE(AddWorldJoint(joint));
    EXPECT_EQ(WorldJointCount, WorldCapacity);

    ClearWorld();
    EXPECT_EQ(WorldBodyCount, 0);
    EXPECT_EQ(WorldJointCount, 0);
}

TEST(WorldTables, JointsMustNameSlotsOfTheTable) {
    ClearWorld();
    AddWorldBody(Box(1, 0, 0));
    for (auto [a, b] : {std::pair{0, 1}, std::pair{1, 101}, std::pair{-4, 1}}) {
        TPinJoint joint;
        InitJoint(a, b, joint, 0, 0, 0, 0.2);
        EXPECT_FALSE(AddWorldJoint(joint));
    }
    EXPECT_EQ(WorldJointCount, 0);
}

TEST(StepWorld, CrowdedStepsKeepAHundredPairs) {
    DefaultSettings();
    ClearWorld();
    // 16 boxes on one spot: 120 touching pairs.
    for (int i = 0; i < 16; i++) AddWorldBody(Box(1, 0.01 * i, 0));
    StepWorld(StepDuration);
    EXPECT_EQ(WorldContactPairCount, WorldCapacity);
    EXPECT_EQ(WorldContactPairs[1].Body1, 1);
    EXPECT_EQ(WorldContactPairs[1].Body2, 2);
    for (int i = 1; i <= WorldBodyCount; i++) {
        EXPECT_TRUE(std::isfinite(WorldBodies[i].Position.X));
        EXPECT_TRUE(std::isfinite(WorldBodies[i].Velocity.Y));
    }
}

TEST(StepWorld, StaticBodiesAreNeitherTestedNorMoved) {
    DefaultSettings();
    ClearWorld();
    TWorldBody moving = Box(HugeRealStored, 0, 0);
    moving.Velocity = {1, 1};
    moving.AngularVelocity = 1;
    AddWorldBody(moving);
    AddWorldBody(Box(HugeRealStored, 0.2, 0));
    StepWorld(StepDuration);
    EXPECT_EQ(WorldContactPairCount, 0);
    EXPECT_EQ(WorldBodies[1].Position.X, 0);
    EXPECT_EQ(WorldBodies[1].Angle, 0);
    EXPECT_EQ(WorldBodies[1].Velocity.Y, 1);
}

TEST(StepWorld, GravityForceAndFriction) {
    DefaultSettings();
    ClearWorld();
    TWorldBody pushed = Box(4, 0, 10);
    pushed.Force = {8, 0};
    pushed.Torque = 2;
    AddWorldBody(pushed);
    AddWorldBody(Box(1000, 5, 10));
    StepWorld(0.5);
    // The force acts during the first step only; gravity on every mass alike.
    EXPECT_DOUBLE_EQ(WorldBodies[1].Velocity.X, 1);
    EXPECT_DOUBLE_EQ(WorldBodies[1].Velocity.Y, -4.9);
    EXPECT_DOUBLE_EQ(WorldBodies[2].Velocity.Y, -4.9);
    EXPECT_DOUBLE_EQ(WorldBodies[1].Position.X, 0.5);
    EXPECT_DOUBLE_EQ(WorldBodies[1].AngularVelocity, 0.5 * 2 / (4 * 2 / 12.0));
    EXPECT_EQ(WorldBodies[1].Force.X, 0);
    EXPECT_EQ(WorldBodies[1].Torque, 0);
    StepWorld(0.5);
    EXPECT_DOUBLE_EQ(WorldBodies[1].Velocity.X, 1);
    EXPECT_DOUBLE_EQ(WorldBodies[1].Velocity.Y, -9.8);

    // The pair's friction is the geometric mean of the bodies'.
    ClearWorld();
    TWorldBody ground = Box(HugeRealStored, 0, 0);
    ground.Friction = 0.9;
    AddWorldBody(ground);
    TWorldBody box = Box(1, 0, 0.95);
    box.Friction = -0.4;
    AddWorldBody(box);
    StepWorld(StepDuration);
    ASSERT_EQ(WorldContactPairCount, 1);
    EXPECT_NEAR(WorldContactPairs[1].Friction, 0.6, 1e-15);
}

TEST(StepWorld, ZeroStepMovesNothingAndBiasesNothing) {
    DefaultSettings();
    ClearWorld();
    AddWorldBody(Box(HugeRealStored, 0, 0));
    TWorldBody sunk = Box(1, 0.1, 0.5);  // half sunk into the box below
    sunk.Velocity = {2, 0};
    sunk.AngularVelocity = 3;
    AddWorldBody(sunk);
    StepWorld(0);
    ASSERT_EQ(WorldContactPairCount, 1);
    for (int i = 0; i < WorldContactPairs[1].ContactCount; i++)
        EXPECT_EQ(WorldContactPairs[1].Contacts[i].Bias, 0);
    EXPECT_EQ(WorldBodies[2].Position.X, 0.1);
    EXPECT_EQ(WorldBodies[2].Position.Y, 0.5);
    EXPECT_EQ(WorldBodies[2].Angle, 0);

    // Nor does a step of NaN seconds divide by it.
    StepWorld(NAN);
    for (int i = 0; i < WorldContactPairs[1].ContactCount; i++)
        EXPECT_EQ(WorldContactPairs[1].Contacts[i].Bias, 0);
}
