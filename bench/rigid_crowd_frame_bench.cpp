// One frame of polygon_drag on its settled pile (30 simulated seconds after
// the start), all of it but its pause: page flip, mouse, step, clear, 101
// outlines, key. The pause follows, untimed, so that the window thread
// presents as it does in the program. Each repetition is one frame of a
// single run of 1000 consecutive frames. Needs an X server
// (tools/with_xvfb.sh).
#include <benchmark/benchmark.h>

#include "frame_bench_window.h"
#include "frame_pacing.h"
#include "rigid_crowd.h"
#include "tavrel.h"

namespace {

bool OpenSettledCrowd() {
    if (GraphWindowIsOpen()) return true;
    if (!OpenFrameBenchWindow(RigidCrowdCaption)) return false;
    FramePacingOn = false;
    TRandomSource random;
    SeedRandom(random, 7);
    StartCrowd(random, GetRightEdge(), GetBottomEdge());
    for (int32_t k = 0; k < 3000; k++)
        StepRigidFrame(CrowdBodies.data(), CrowdLastIndex, GetRightEdge(), GetBottomEdge());
    return true;
}

void CrowdFrame(benchmark::State& state) {
    if (!OpenSettledCrowd()) {
        state.SkipWithError("the window did not open");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(RunCrowdFrame());
    PauseMilliseconds(RigidCrowdPauseMs);
}

}  // namespace

BENCHMARK(CrowdFrame)
    ->Iterations(1)
    ->Repetitions(1000)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);
