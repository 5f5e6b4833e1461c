// cubes_gl's whole frame on the software renderer: keys, mouse, simulation,
// the 30 cubes and the box drawn, the buffer swap and the Esc poll; a shot
// into the pile every 200 frames as in the simulation benchmark. Each frame
// is timed on its own and the median reported. Needs an X server: run under
// tools/with_xvfb.sh.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "cube_run.h"
#include "frame_pacing.h"
#include "program_window.h"
#include "tavrel.h"

namespace {

constexpr int32_t RunFrames = 20000;
constexpr int32_t WarmUpFrames = 30;  // the first swaps compile the renderer's shaders

void CubesFrame(benchmark::State& state) {
    FramePacingOn = false;
    if (!OpenProgramWindow("cubes_frame_bench", 3, 6, CubesCaption, true)) {
        state.SkipWithError("no window or no OpenGL");
        return;
    }
    SelectGlTarget(true);
    InitCubes();
    for (int32_t i = 0; i < WarmUpFrames; i++) RunCubesFrame();
    std::vector<double> frameUs;
    int32_t frame = WarmUpFrames;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        RunCubesFrame();
        const auto end = std::chrono::steady_clock::now();
        const double us = std::chrono::duration<double, std::micro>(end - start).count();
        state.SetIterationTime(us * 1e-6);
        frameUs.push_back(us);
        if (++frame % ShotEveryFrames == 0) ShootIntoPile();
        if (frame == RunFrames) {
            InitCubes();
            frame = 0;
        }
    }
    std::sort(frameUs.begin(), frameUs.end());
    state.counters["median_ms"] = frameUs[frameUs.size() / 2] / 1000;
    state.counters["p90_ms"] = frameUs[frameUs.size() * 9 / 10] / 1000;
    SelectGlTarget(false);
    CloseGraphWindow();
}

}  // namespace

BENCHMARK(CubesFrame)->Iterations(3000)->UseManualTime()->Unit(benchmark::kMillisecond);
