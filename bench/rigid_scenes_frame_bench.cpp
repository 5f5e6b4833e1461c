// One frame of box_scenarios, all of it but its pause: page flip, mouse,
// step, clear, outlines, key; for each scenario, from its start. The pause
// follows, untimed, so that the window thread presents as it does in the
// program. Each repetition is one frame of a single run of 1000 consecutive
// frames: the median is the median frame. Needs an X server
// (tools/with_xvfb.sh).
#include <benchmark/benchmark.h>

#include "frame_bench_window.h"
#include "frame_pacing.h"
#include "rigid_scenes.h"
#include "tavrel.h"

namespace {

bool OpenScenario(int32_t number) {
    if (!OpenFrameBenchWindow(RigidScenesCaption)) return false;
    FramePacingOn = false;
    RigidBodies = {};
    RigidGravity = DefaultRigidGravity;
    RigidFrameTime = DefaultRigidFrameTime;
    SelectedBody = -1;
    ScenarioNumber = number;
    TRandomSource random;
    SeedRandom(random, 7);
    BuildRigidScenario(number, GetRightEdge(), GetBottomEdge(), random);
    return true;
}

void ScenarioFrame(benchmark::State& state) {
    if (!OpenScenario(static_cast<int32_t>(state.range(0)))) {
        state.SkipWithError("the window did not open");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(RunRigidScenesFrame());
    PauseMilliseconds(RigidScenesPauseMs);
}

}  // namespace

BENCHMARK(ScenarioFrame)
    ->DenseRange(0, 4)
    ->ArgName("scenario")
    ->Iterations(1)
    ->Repetitions(1000)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);
