// The solve of a world step against what it stands for: PrepareContacts and
// PrepareJoint for every pair and joint, then SolverIterations passes of
// SolveContactsOnce and SolveJointOnce, in table order. Both must leave the
// same bits in every body, contact and joint, whatever order the step solve
// runs its work in and whichever way out it takes for fixed bodies.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "scene_run.h"

namespace {

constexpr double InvDt = 1 / StepDuration;

struct TWorldState {
    std::array<TWorldBody, WorldCapacity + 1> Bodies;
    std::array<TContactPair, WorldCapacity + 1> Pairs;
    std::array<TPinJoint, WorldCapacity + 1> Joints;
};

TWorldState Save() { return {WorldBodies, WorldContactPairs, WorldJoints}; }

void Restore(const TWorldState& s) {
    WorldBodies = s.Bodies;
    WorldContactPairs = s.Pairs;
    WorldJoints = s.Joints;
}

void SolveOneCallAtATime() {
    for (int32_t i = 1; i <= WorldContactPairCount; i++)
        PrepareContacts(WorldContactPairs[i], InvDt);
    for (int32_t i = 1; i <= WorldJointCount; i++) PrepareJoint(WorldJoints[i], InvDt);
    for (int32_t k = 0; k < SolverIterations; k++) {
        for (int32_t i = 1; i <= WorldContactPairCount; i++)
            SolveContactsOnce(WorldContactPairs[i]);
        for (int32_t i = 1; i <= WorldJointCount; i++) SolveJointOnce(WorldJoints[i]);
    }
}

bool SameBits(double a, double b) {
    return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

// Everything a solve writes, compared bit for bit; a NaN equals the same NaN.
void ExpectSameSolve(const TWorldState& expected, const TWorldState& found, const char* what) {
    for (int32_t i = 1; i <= WorldCapacity; i++) {
        const TWorldBody& e = expected.Bodies[i];
        const TWorldBody& f = found.Bodies[i];
        for (auto [x, y] : {std::pair{e.Velocity.X, f.Velocity.X},
                            {e.Velocity.Y, f.Velocity.Y},
                            {e.AngularVelocity, f.AngularVelocity},
                            {e.BiasVelocity.X, f.BiasVelocity.X},
                            {e.BiasVelocity.Y, f.BiasVelocity.Y},
                            {e.BiasAngularVelocity, f.BiasAngularVelocity}})
            ASSERT_TRUE(SameBits(x, y)) << what << ": body " << i << ": " << x << " vs " << y;
    }
    for (int32_t i = 1; i <= WorldContactPairCount; i++)
        for (int32_t n = 0; n < expected.Pairs[i].ContactCount; n++) {
            const TContactPoint& e = expected.Pairs[i].Contacts[n];
            const TContactPoint& f = found.Pairs[i].Contacts[n];
            for (auto [x, y] : {std::pair{e.NormalImpulse, f.NormalImpulse},
                                {e.TangentImpulse, f.TangentImpulse},
                                {e.AccumulatedBiasImpulse, f.AccumulatedBiasImpulse},
                                {e.NormalMass, f.NormalMass},
                                {e.TangentMass, f.TangentMass},
                                {e.Bias, f.Bias}})
                ASSERT_TRUE(SameBits(x, y)) << what << ": pair " << i << " contact " << n;
        }
    for (int32_t i = 1; i <= WorldJointCount; i++) {
        const TPinJoint& e = expected.Joints[i];
        const TPinJoint& f = found.Joints[i];
        for (auto [x, y] : {std::pair{e.Bias.X, f.Bias.X},
                            {e.Bias.Y, f.Bias.Y},
                            {e.AccumulatedImpulse.X, f.AccumulatedImpulse.X},
                            {e.AccumulatedImpulse.Y, f.AccumulatedImpulse.Y}})
            ASSERT_TRUE(SameBits(x, y)) << what << ": joint " << i;
    }
}

// The pairs and impulses that the last StepWorld left are as good a start as
// any: the pre-step applies the stored contact impulses.
TWorldState SolvedOneCallAtATime(const TWorldState& start) {
    Restore(start);
    SolveOneCallAtATime();
    return Save();
}

TWorldState SolvedByStep(const TWorldState& start) {
    Restore(start);
    SolveStep(InvDt);
    return Save();
}

void ExpectStepSolveMatches(const char* what) {
    TWorldState start = Save();
    ExpectSameSolve(SolvedOneCallAtATime(start), SolvedByStep(start), what);
}

// A stack of boxes on the ground, two steps in, so that contacts are stored.
void StackOnGround(const TSwitches& switches) {
    StartScene(3, switches);
    for (int32_t k = 0; k < 40; k++) StepWorld(StepDuration);
}

}  // namespace

TEST(SolveStep, EverySceneAndSwitchCombinationAsOneCallAtATime) {
    for (int32_t scene = 1; scene <= SceneCount; scene++)
        for (int32_t combination = 0; combination < 16; combination++) {
            StartScene(scene, SwitchCombination(combination), 5);
            TRandomSource throws;
            SeedRandom(throws, 3);
            LaunchProjectile(false, throws);
            for (int32_t k = 0; k < 75; k++) StepWorld(StepDuration);
            std::string what =
                "scene " + std::to_string(scene) + ", switches " + std::to_string(combination);
            ExpectStepSolveMatches(what.c_str());
        }
}

// A static ground moving at -0: updates by zero impulses turn it into +0
// one call at a time, which the private copies of the fixed ground must not
// hide.
TEST(SolveStep, FixedBodyThatAnUpdateChangesAfterAll) {
    StackOnGround(DefaultSwitches);
    WorldBodies[1].Velocity = {-0.0, -0.0};
    WorldBodies[1].AngularVelocity = -0.0;
    TWorldState start = Save();
    TWorldState expected = SolvedOneCallAtATime(start);
    ASSERT_FALSE(SameBits(expected.Bodies[1].Velocity.X, -0.0) &&
                 SameBits(expected.Bodies[1].Velocity.Y, -0.0) &&
                 SameBits(expected.Bodies[1].AngularVelocity, -0.0))
        << "the case no longer changes the ground";
    ExpectSameSolve(expected, SolvedByStep(start), "ground at -0");

    // An infinite impulse into the ground makes it NaN, and through it the
    // others that rest on it.
    StackOnGround(DefaultSwitches);
    WorldBodies[2].Velocity.Y = -std::numeric_limits<double>::infinity();
    start = Save();
    expected = SolvedOneCallAtATime(start);
    ASSERT_TRUE(std::isnan(expected.Bodies[1].Velocity.X) ||
                std::isnan(expected.Bodies[1].Velocity.Y));
    ExpectSameSolve(expected, SolvedByStep(start), "infinite impulse into the ground");
}

// Joints on one body keep only body 2's copy; joints between two fixed bodies
// work on two copies.
TEST(SolveStep, JointsOnOneBodyAndBetweenFixedBodies) {
    for (int32_t combination : {9, 15}) {
        StackOnGround(SwitchCombination(combination));
        TPinJoint joint;
        InitJoint(4, 4, joint, 0.3, 3, 0, 0.2);
        ASSERT_TRUE(AddWorldJoint(joint));
        ExpectStepSolveMatches("joint on one body");

        StartScene(9, SwitchCombination(combination));
        for (int32_t k = 0; k < 40; k++) StepWorld(StepDuration);
        InitJoint(2, 3, joint, 0, 8, 0, 0.2);  // two static plates
        ASSERT_TRUE(AddWorldJoint(joint));
        ExpectStepSolveMatches("joint between static bodies");
    }
}
