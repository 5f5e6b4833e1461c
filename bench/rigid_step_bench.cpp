// One StepRigidFrame per iteration on settled bodies: each box_scenarios
// scenario after 10 simulated seconds, and 25, 50 and 101 polygon_drag bodies
// (the first n of its column) after 30. The settled table is restored every
// 1000 frames outside the timing, so the figures stay those of a settled pile.
// The plain variants test every edge against every edge.
#include <benchmark/benchmark.h>

#include "rigid_scenarios.h"

namespace {

constexpr double Right = 799, Bottom = 599;
constexpr int32_t RestoreEveryFrames = 1000;

template <class TTable>
void StepSettled(benchmark::State& state, TTable& table, int32_t lastIndex) {
    const TTable settled = table;
    int32_t frames = 0;
    for (auto _ : state) {
        if (++frames == RestoreEveryFrames) {
            state.PauseTiming();
            table = settled;
            frames = 0;
            state.ResumeTiming();
        }
        StepRigidFrame(table.data(), lastIndex, Right, Bottom);
        benchmark::DoNotOptimize(table[0]);
    }
    state.counters["bodies"] = lastIndex + 1;
}

void StepScenario(benchmark::State& state) {
    RigidQuickRejects = state.range(1) != 0;
    RigidGravity = DefaultRigidGravity;
    RigidFrameTime = DefaultRigidFrameTime;
    RigidBodies = {};
    TRandomSource random;
    SeedRandom(random, 7);
    BuildRigidScenario(static_cast<int32_t>(state.range(0)), Right, Bottom, random);
    for (int32_t k = 0; k < 1000; k++) StepRigidFrame(RigidBodies.data(), LastBodyIndex, Right, Bottom);
    StepSettled(state, RigidBodies, LastBodyIndex);
    RigidQuickRejects = true;
}

void StepCrowd(benchmark::State& state) {
    RigidQuickRejects = state.range(1) != 0;
    RigidGravity = DefaultRigidGravity;
    RigidFrameTime = DefaultRigidFrameTime;
    TRandomSource random;
    SeedRandom(random, 7);
    BuildCrowdColumn(Right, Bottom, random);
    const int32_t lastIndex = static_cast<int32_t>(state.range(0)) - 1;
    for (int32_t k = 0; k < 3000; k++) StepRigidFrame(CrowdBodies.data(), lastIndex, Right, Bottom);
    StepSettled(state, CrowdBodies, lastIndex);
    RigidQuickRejects = true;
}

}  // namespace

BENCHMARK(StepScenario)
    ->ArgsProduct({{0, 1, 2, 3, 4}, {1, 0}})
    ->ArgNames({"scenario", "rejects"})
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(StepCrowd)
    ->ArgsProduct({{25, 50, 101}, {1, 0}})
    ->ArgNames({"bodies", "rejects"})
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
