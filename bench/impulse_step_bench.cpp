// One StepWorld per iteration, for each scene at the programs' default
// settings (10 iterations), with no contact drawing. Every 10 simulated
// seconds the scene is rebuilt outside the timing, so the figures describe the
// scene's first seconds rather than whatever it has collapsed into.
#include <benchmark/benchmark.h>

#include "scene_run.h"

namespace {

constexpr int32_t RebuildEverySteps = 600;
constexpr int32_t SettleSteps = 60;

void Rebuild(int32_t scene) {
    StartScene(scene, DefaultSwitches);
    for (int32_t k = 0; k < SettleSteps; k++) StepWorld(StepDuration);
}

void StepScene(benchmark::State& state) {
    int32_t scene = static_cast<int32_t>(state.range(0));
    Rebuild(scene);
    int32_t steps = 0;
    for (auto _ : state) {
        if (++steps == RebuildEverySteps) {
            state.PauseTiming();
            Rebuild(scene);
            steps = 0;
            state.ResumeTiming();
        }
        StepWorld(StepDuration);
        benchmark::DoNotOptimize(WorldBodies[1]);
    }
    state.counters["bodies"] = WorldBodyCount;
    state.counters["pairs"] = WorldContactPairCount;
}

}  // namespace

BENCHMARK(StepScene)
    ->DenseRange(1, SceneCount)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);
