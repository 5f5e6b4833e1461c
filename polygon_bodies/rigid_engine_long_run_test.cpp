// Minutes of simulated time without input: every scenario and the crowd of
// polygon_drag, several seeds. Bodies stay finite and inside the window, no
// energy appears from nowhere, and passing over pairs and edges that cannot
// cross changes no bit of the outcome.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "rigid_scenarios.h"
#include "test_support/long_runs.h"

namespace {

constexpr double Right = 799, Bottom = 599;
constexpr int32_t MinuteOfFrames = LongRun(6000);  // 60 s at 0.01 s a frame

void ResetEngine() {
    RigidGravity = 256;
    RigidFrameTime = 0.01;
    RigidQuickRejects = true;
}

void BuildScenario(int32_t number, uint32_t seed) {
    ResetEngine();
    RigidBodies = {};
    TRandomSource random;
    SeedRandom(random, seed);
    BuildRigidScenario(number, Right, Bottom, random);
}

void BuildCrowd(uint32_t seed) {
    ResetEngine();
    CrowdBodies = {};
    TRandomSource random;
    SeedRandom(random, seed);
    BuildCrowdColumn(Right, Bottom, random);
}

// Kinetic energy, turning included, plus height energy above the window's
// bottom, of the bodies that move.
template <class TBody>
double Energy(const TBody* bodies, int32_t lastIndex) {
    double energy = 0;
    for (int32_t k = 0; k <= lastIndex; k++) {
        const TBody& b = bodies[k];
        if (FixedOf(b) != 0) continue;
        energy += 0.5 * b.Mass * (b.VelocityX * b.VelocityX + b.VelocityY * b.VelocityY) +
                  0.5 * b.Inertia * b.AngularVelocity * b.AngularVelocity +
                  b.Mass * 256 * (Bottom - b.Y);
    }
    return energy;
}

template <class TBody>
bool Finite(const TBody& b) {
    return std::isfinite(b.X) && std::isfinite(b.Y) && std::isfinite(b.VelocityX) &&
           std::isfinite(b.VelocityY) && std::isfinite(b.Angle) && std::isfinite(b.AngularVelocity);
}

// Runs a minute and reports the first fault found.
template <class TBody>
void RunAMinute(TBody* bodies, int32_t lastIndex, const char* what) {
    const double start = Energy(bodies, lastIndex);
    double highest = start;
    for (int32_t frame = 1; frame <= MinuteOfFrames; frame++) {
        StepRigidFrame(bodies, lastIndex, Right, Bottom);
        for (int32_t k = 0; k <= lastIndex; k++) {
            const TBody& b = bodies[k];
            ASSERT_TRUE(Finite(b)) << what << " body " << k << " frame " << frame;
            ASSERT_GE(b.X, 0) << what << " body " << k << " frame " << frame;
            ASSERT_LE(b.X, Right) << what << " body " << k << " frame " << frame;
            ASSERT_LE(b.Y, Bottom) << what << " body " << k << " frame " << frame;
        }
        const double energy = Energy(bodies, lastIndex);
        if (energy > highest) highest = energy;
    }
    EXPECT_LE(highest, 1.01 * start) << what;
}

TEST(RigidLongRun, EveryScenarioStaysFiniteInsideAndLosesEnergy) {
    for (int32_t number = 0; number < RigidScenarioCount; number++)
        for (uint32_t seed : {1u, 2u, 3u}) {
            BuildScenario(number, seed);
            const std::string what = "scenario " + std::to_string(number) + " seed " + std::to_string(seed);
            RunAMinute(RigidBodies.data(), LastBodyIndex, what.c_str());
        }
}

TEST(RigidLongRun, TheCrowdStaysFiniteInsideAndLosesEnergy) {
    for (uint32_t seed : {1u, 2u, 3u}) {
        BuildCrowd(seed);
        const std::string what = "crowd seed " + std::to_string(seed);
        RunAMinute(CrowdBodies.data(), CrowdLastIndex, what.c_str());
    }
}

// The same run with every edge tested against every edge, bit for bit.
template <class TTable>
void ExpectSameRun(TTable& table, int32_t lastIndex, int32_t frames, const char* what) {
    const TTable start = table;
    RigidQuickRejects = true;
    for (int32_t k = 0; k < frames; k++) StepRigidFrame(table.data(), lastIndex, Right, Bottom);
    const TTable quick = table;
    table = start;
    RigidQuickRejects = false;
    for (int32_t k = 0; k < frames; k++) StepRigidFrame(table.data(), lastIndex, Right, Bottom);
    RigidQuickRejects = true;
    EXPECT_EQ(std::memcmp(&quick, &table, sizeof quick), 0) << what;
}

TEST(RigidLongRun, QuickRejectsChangeNothing) {
    for (int32_t number = 0; number < RigidScenarioCount; number++) {
        BuildScenario(number, 5);
        ExpectSameRun(RigidBodies, LastBodyIndex, LongRun(1000), ("scenario " + std::to_string(number)).c_str());
    }
    BuildCrowd(5);
    ExpectSameRun(CrowdBodies, 24, LongRun(1500), "25 crowd bodies");
    BuildCrowd(6);
    ExpectSameRun(CrowdBodies, CrowdLastIndex, LongRun(700), "101 crowd bodies");
}

}  // namespace
