// One frame of impulse_sim in the pyramid scene, all of it but the pause:
// page flip, clear, step (which draws the contact points), bodies and joints,
// mouse, key and status line. The program's pause follows, untimed, so that
// the window thread presents as it does in the program. Each repetition is one
// frame of a single run of 1000 consecutive frames: the median is the median
// frame. Needs an X server (tools/with_xvfb.sh).
#include <benchmark/benchmark.h>

#include "front_end.h"
#include "tavrel.h"

namespace {

constexpr int32_t PyramidScene = 5;

bool OpenPyramid() {
    if (GraphWindowIsOpen()) return true;
    int16_t driver = 3, mode = 6;
    OpenGraphWindow(driver, mode, SimulatorCaption);
    if (!GraphWindowIsOpen()) return false;
    FramePage = 0;
    SceneNumber = PyramidScene;
    BeginScene(1);
    return true;
}

void PyramidFrame(benchmark::State& state) {
    if (!OpenPyramid()) {
        state.SkipWithError("the window did not open");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(RunFrame(FullStyle));
    // Untimed, as in the program: the window thread presents meanwhile.
    PauseMilliseconds(FullStyle.PauseMs);
}

}  // namespace

BENCHMARK(PyramidFrame)
    ->Iterations(1)
    ->Repetitions(1000)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);
