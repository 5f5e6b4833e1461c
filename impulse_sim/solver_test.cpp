#include "solver.h"

#include <gtest/gtest.h>

#include "world.h"

namespace {

constexpr double Dt = 1.0 / 60;

void Switches(bool positionCorrection, bool warmStarting, bool splitImpulses,
              bool accumulateImpulses) {
    SetWorld({0, -9.8}, 10, positionCorrection, warmStarting, splitImpulses, accumulateImpulses);
}

// Slot 1: a static floor with its top at y = 0; slot 2: a 1 x 1 box of mass
// 1 resting on it, sunk by depth.
void FloorAndBox(double depth, const TVec2& velocity = {0, 0}) {
    ClearWorld();
    TWorldBody body;
    InitBody(4, body, 10, 1, HugeRealStored, 0, -0.5, 0, 0, 0, 0, 0, 0.5, 0);
    AddWorldBody(body);
    InitBody(4, body, 1, 1, 1, 0, 0.5 - depth, 0, 0, velocity.X, velocity.Y, 0, 0.5, 0);
    AddWorldBody(body);
}

// The pair as the step would build it.
TContactPair FloorContacts() {
    TContactPair pair{};
    pair.Body1 = 1;
    pair.Body2 = 2;
    pair.Friction = 0.5;
    pair.ContactCount = CollideShapes(pair.Contacts, WorldBodies[1], WorldBodies[2]);
    return pair;
}

const TWorldBody& Box() { return WorldBodies[2]; }

}  // namespace

TEST(PrepareContacts, BiasOnlyBeyondTheSlop) {
    struct Case {
        bool positionCorrection, splitImpulses;
        double depth, bias;
    };
    for (Case c :
         {Case{true, false, 0.11, 1.2}, Case{true, true, 0.11, 4.8}, Case{true, false, 0.005, 0},
          Case{false, false, 0.11, 0}, Case{false, true, 0.11, 0}}) {
        Switches(c.positionCorrection, false, c.splitImpulses, true);
        FloorAndBox(c.depth);
        TContactPair pair = FloorContacts();
        ASSERT_EQ(pair.ContactCount, 2);
        PrepareContacts(pair, 1 / Dt);
        for (int i = 0; i < 2; i++) EXPECT_NEAR(pair.Contacts[i].Bias, c.bias, 1e-9);
        // At a corner of a unit box (inverse inertia 6), r = (0.5, -0.5):
        // 1 / (1 + 6 (0.5 - 0.25)) along the normal and the tangent alike.
        EXPECT_NEAR(pair.Contacts[0].NormalMass, 0.4, 1e-12);
        EXPECT_NEAR(pair.Contacts[1].TangentMass, 0.4, 1e-12);
    }
}

TEST(SolveContactsOnce, StopsApproachAndNeverPulls) {
    for (bool accumulate : {false, true}) {
        Switches(false, false, false, accumulate);
        FloorAndBox(0.001, {0, -2});
        TContactPair pair = FloorContacts();
        PrepareContacts(pair, 1 / Dt);
        for (int k = 0; k < 10; k++) SolveContactsOnce(pair);
        EXPECT_NEAR(Box().Velocity.Y, 0, 0.01);
        EXPECT_NEAR(Box().AngularVelocity, 0, 0.01);

        // Moving apart: no impulse at all.
        FloorAndBox(0.001, {0, 2});
        pair = FloorContacts();
        PrepareContacts(pair, 1 / Dt);
        SolveContactsOnce(pair);
        EXPECT_EQ(Box().Velocity.Y, 2);
        EXPECT_EQ(pair.Contacts[0].NormalImpulse, 0);
    }
}

TEST(SolveContactsOnce, AccumulatedImpulseMayBeTakenBackDownToZero) {
    Switches(false, false, false, true);
    FloorAndBox(0.001, {0, 2});
    TContactPair pair = FloorContacts();
    PrepareContacts(pair, 1 / Dt);
    pair.Contacts[0].NormalImpulse = 0.1;  // as if pushed earlier in the step
    pair.Contacts[1].NormalImpulse = 5;
    SolveContactsOnce(pair);
    EXPECT_EQ(pair.Contacts[0].NormalImpulse, 0);  // the total stays at or above 0
    EXPECT_GT(pair.Contacts[1].NormalImpulse, 0);
    EXPECT_LT(pair.Contacts[1].NormalImpulse, 5);
    EXPECT_LT(Box().Velocity.Y, 2);  // taken back: the box is pulled

    Switches(false, false, false, false);
    FloorAndBox(0.001, {0, 2});
    pair = FloorContacts();
    PrepareContacts(pair, 1 / Dt);
    pair.Contacts[1].NormalImpulse = 5;
    SolveContactsOnce(pair);
    EXPECT_EQ(Box().Velocity.Y, 2);
    EXPECT_EQ(pair.Contacts[1].NormalImpulse, 5);  // left alone without accumulation
}

TEST(SolveContactsOnce, FrictionBoundedByTheNormalImpulse) {
    for (bool accumulate : {false, true}) {
        Switches(false, false, false, accumulate);
        // Sliding fast, approaching slowly: friction hits its bound.
        FloorAndBox(0.001, {10, -1});
        TContactPair pair = FloorContacts();
        PrepareContacts(pair, 1 / Dt);
        SolveContactsOnce(pair);
        double dvx = 10 - Box().Velocity.X;
        EXPECT_GT(dvx, 0);
        // Total normal impulse about 1 (mass 1 stopped from -1): friction
        // takes at most 0.5 of it.
        EXPECT_LE(dvx, 0.5 * 1.0 + 1e-9);
        EXPECT_GT(dvx, 0.25);
    }
}

TEST(SolveContactsOnce, SplitImpulsesPushApartThroughPseudoVelocities) {
    Switches(true, false, true, true);
    FloorAndBox(0.11);
    TContactPair pair = FloorContacts();
    PrepareContacts(pair, 1 / Dt);
    for (int k = 0; k < 10; k++) SolveContactsOnce(pair);
    EXPECT_NEAR(Box().Velocity.Y, 0, 1e-12);
    EXPECT_NEAR(Box().BiasVelocity.Y, 4.8, 1e-6);
    EXPECT_GT(pair.Contacts[0].AccumulatedBiasImpulse, 0);

    Switches(true, false, false, true);
    FloorAndBox(0.11);
    pair = FloorContacts();
    PrepareContacts(pair, 1 / Dt);
    for (int k = 0; k < 10; k++) SolveContactsOnce(pair);
    EXPECT_NEAR(Box().Velocity.Y, 1.2, 1e-4);
    EXPECT_EQ(Box().BiasVelocity.Y, 0);
}

namespace {

// A static anchor body (slot 1) and a box of mass 2 (slot 2) pinned 1 m to
// its left.
TPinJoint Pendulum(double compliance, const TVec2& boxVelocity) {
    ClearWorld();
    TWorldBody body;
    InitBody(4, body, 1, 1, HugeRealStored, 0, 0, 0, 0, 0, 0, 0, 0.2, 0);
    AddWorldBody(body);
    InitBody(4, body, 0.5, 0.5, 2, 1, 0, 0, 0, boxVelocity.X, boxVelocity.Y, 0, 0.2, 0.3);
    AddWorldBody(body);
    TPinJoint joint;
    InitJoint(1, 2, joint, 0, 0, compliance, 0.2);
    return joint;
}

TVec2 AnchorVelocity(const TPinJoint& joint) {
    const TWorldBody& b = WorldBodies[2];
    TVec2 r = MulMat(BodyRotation(b), joint.BodyPin2);
    return {b.Velocity.X - b.AngularVelocity * r.Y, b.Velocity.Y + b.AngularVelocity * r.X};
}

}  // namespace

TEST(PinJoint, AnchorsAndRigidity) {
    TPinJoint joint = Pendulum(0, {0, 0});
    EXPECT_NEAR(joint.BodyPin1.X, 0, 1e-15);
    // The anchor in the box's own (turned) frame.
    EXPECT_NEAR(joint.BodyPin2.X, -std::cos(0.3), 1e-15);
    EXPECT_NEAR(joint.BodyPin2.Y, std::sin(0.3), 1e-15);

    Switches(true, true, false, true);
    PrepareJoint(joint, 1 / Dt);
    SolveJointOnce(joint);
    // Only the rounding of the anchor through the box's frame remains.
    EXPECT_NEAR(joint.AccumulatedImpulse.X, 0, 1e-12);
    EXPECT_NEAR(joint.AccumulatedImpulse.Y, 0, 1e-12);
    EXPECT_NEAR(WorldBodies[2].Velocity.X, 0, 1e-12);

    // Rigid: one pass leaves no velocity at the anchor.
    joint = Pendulum(0, {3, -4});
    PrepareJoint(joint, 1 / Dt);
    SolveJointOnce(joint);
    EXPECT_NEAR(AnchorVelocity(joint).X, 0, 1e-12);
    EXPECT_NEAR(AnchorVelocity(joint).Y, 0, 1e-12);

    // Compliant: the accumulated impulse lets the anchor give.
    joint = Pendulum(0.5, {3, -4});
    PrepareJoint(joint, 1 / Dt);
    SolveJointOnce(joint);
    SolveJointOnce(joint);
    EXPECT_GT(std::fabs(AnchorVelocity(joint).X) + std::fabs(AnchorVelocity(joint).Y), 0.1);
}

TEST(PinJoint, GapBiasAndWarmStarting) {
    TPinJoint joint = Pendulum(0, {0, 0});
    WorldBodies[2].Position.Y += 0.5;  // opens a gap of 0.5 at the anchor
    Switches(true, false, false, true);
    joint.AccumulatedImpulse = {1, 1};
    PrepareJoint(joint, 1 / Dt);
    EXPECT_NEAR(joint.Bias.Y, -0.2 * 60 * 0.5, 1e-9);
    EXPECT_NEAR(joint.Bias.X, 0, 1e-12);
    EXPECT_EQ(joint.AccumulatedImpulse.X, 0);  // no warm start: reset
    EXPECT_EQ(WorldBodies[2].Velocity.X, 0);

    Switches(false, true, false, true);
    joint.AccumulatedImpulse = {1, 0};
    PrepareJoint(joint, 1 / Dt);
    EXPECT_EQ(joint.Bias.Y, 0);
    EXPECT_EQ(joint.AccumulatedImpulse.X, 1);
    EXPECT_NEAR(WorldBodies[2].Velocity.X, 0.5, 1e-12);  // last step's impulse on mass 2
}
