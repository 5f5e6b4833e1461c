// The scenes over simulated time. Every scene under every combination of the
// four solver switches for a simulated minute: nothing becomes NaN or
// infinite, and nothing leaves a box of 1 km around the origin. With the
// programs' default switches: bodies come to rest on the ground, none sinks
// into it, and a step allocates nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <new>

#include "scene_run.h"
#include "test_support/long_runs.h"

namespace {

bool BodiesFiniteAndNear(int32_t& offender) {
    for (int32_t i = 1; i <= WorldBodyCount; i++) {
        const TWorldBody& b = WorldBodies[i];
        double values[] = {b.Position.X, b.Position.Y, b.Velocity.X,
                           b.Velocity.Y, b.Angle,      b.AngularVelocity};
        bool finite = std::all_of(std::begin(values), std::end(values),
                                  [](double v) { return std::isfinite(v); });
        if (!finite || std::fabs(b.Position.X) > 500 || std::fabs(b.Position.Y) > 500) {
            offender = i;
            return false;
        }
    }
    return true;
}

}  // namespace

TEST(SceneStability, FiniteAndNearUnderEverySwitchCombination) {
    for (int32_t scene = 1; scene <= SceneCount; scene++) {
        for (int32_t combination = 0; combination < 16; combination++) {
            TSwitches s = SwitchCombination(combination);
            // The cradle goes through all nine bob shapes, circles and segments
            // among them.
            uint32_t seed =
                scene == 11 ? SeedForCradleShape(combination % 9 + 1) : 100 + combination;
            StartScene(scene, s, seed);
            int32_t offender = 0;
            int32_t k = 0;
            for (; k < LongRun(60 * StepsPerSecond); k++) {
                StepWorld(StepDuration);
                if (!BodiesFiniteAndNear(offender)) break;
            }
            EXPECT_EQ(offender, 0) << "scene " << scene << ", switches " << combination << ", body "
                                   << offender << " at step " << k;
        }
    }
}

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
