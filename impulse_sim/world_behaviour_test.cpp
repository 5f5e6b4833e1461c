// The scenes over simulated time with the programs' default switches.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <new>

#include "scene_run.h"

// Counts every allocation of the test program, to show that a step makes
// none: the world lives in fixed tables.
namespace {
int64_t AllocationCount = 0;
}  // namespace

void* operator new(std::size_t size) {
    AllocationCount++;
    void* p = std::malloc(size ? size : 1);
    if (!p) std::abort();
    return p;
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

// How deep a dynamic body reaches below the top face of the ground (slot 1,
// possibly tilted), in metres; 0 when it does not.
double SinkingOf(const TWorldBody& b) {
    const TWorldBody& ground = WorldBodies[1];
    if (b.InvMass == 0) return 0;
    TMat22 groundRotation = BodyRotation(ground);
    double deepest = 0;
    auto sink = [&](const TVec2& world, double radius) {
        TVec2 local = MulMatT(groundRotation, Sub(world, ground.Position));
        if (std::fabs(local.X) <= ground.Width / 2)
            deepest = std::max(deepest, ground.Height / 2 - (local.Y - radius));
    };
    if (b.VertexCount == 1)
        sink(b.Position, b.Width);
    else
        for (int32_t k = 0; k < b.VertexCount; k++) sink(WorldVertex(b, k), 0);
    return deepest;
}

}  // namespace

TEST(WorldOverTime, SingleBoxComesToRestWithinTheSlop) {
    StartScene(1, DefaultSwitches);
    for (int32_t k = 0; k < 5 * StepsPerSecond; k++) StepWorld(StepDuration);
    const TWorldBody& box = WorldBodies[2];
    EXPECT_NEAR(box.Velocity.X, 0, 1e-3);
    EXPECT_NEAR(box.Velocity.Y, 0, 1e-3);
    EXPECT_NEAR(box.AngularVelocity, 0, 1e-3);
    EXPECT_NEAR(box.Angle, 0, 1e-6);
    EXPECT_LE(SinkingOf(box), ContactSlop + 1e-6);
    EXPECT_GT(SinkingOf(box), 0) << "resting on the ground, not hovering";
}

// Contacts exist only once bodies overlap, so a falling body's last free step
// carries it into the ground by up to its speed times the step (0.11 m for
// scene 1's box, more for the boxes of a falling stack); the solver then
// pushes it out within a few steps. Sinking is staying in.
TEST(WorldOverTime, NoBodySinksIntoTheGround) {
    constexpr double SinkLimit = 0.1;
    constexpr int32_t LongestOvershootSteps = 3;
    for (int32_t scene = 1; scene <= 5; scene++) {
        StartScene(scene, DefaultSwitches);
        std::array<int32_t, WorldCapacity + 1> stepsTooDeep{};
        int32_t longest = 0;
        double deepest = 0;
        for (int32_t k = 0; k < 20 * StepsPerSecond; k++) {
            StepWorld(StepDuration);
            for (int32_t i = 2; i <= WorldBodyCount; i++) {
                double depth = SinkingOf(WorldBodies[i]);
                deepest = std::max(deepest, depth);
                stepsTooDeep[i] = depth > SinkLimit ? stepsTooDeep[i] + 1 : 0;
                longest = std::max(longest, stepsTooDeep[i]);
            }
        }
        EXPECT_LE(longest, LongestOvershootSteps) << "scene " << scene;
        EXPECT_LE(deepest, 0.25) << "scene " << scene;
    }
}

TEST(WorldOverTime, StepsAllocateNothing) {
    int64_t probe = AllocationCount;
    void* volatile held = ::operator new(8);
    ::operator delete(held);
    ASSERT_GT(AllocationCount, probe) << "the counting operator new is not in use";
    for (int32_t scene = 1; scene <= SceneCount; scene++) {
        StartScene(scene, {true, true, true, true});
        int64_t before = AllocationCount;
        for (int32_t k = 0; k < 2 * StepsPerSecond; k++) StepWorld(StepDuration);
        EXPECT_EQ(AllocationCount, before) << "scene " << scene;
    }
}
