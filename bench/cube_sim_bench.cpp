// The cube simulation's frame (contacts, walls, integration) over the
// 20,000-frame run from the program's start, with a shot into the pile every
// 200 frames or without. Each frame is timed on its own; besides the mean the
// run reports the median frame and the sample points a frame tests.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "cube_run.h"

namespace {

constexpr int32_t RunFrames = 20000;

void CubeFrames(benchmark::State& state) {
    const bool shots = state.range(0) != 0;
    std::vector<double> frameUs;
    frameUs.reserve(RunFrames);
    double pairs = 0, points = 0;
    int32_t frame = 0;
    InitCubes();
    for (auto _ : state) {
        if (frame == RunFrames) {
            InitCubes();
            frame = 0;
        }
        const TSampledWork work = SampledWork();
        pairs += work.Pairs;
        points += 125.0 * (work.Pairs + work.WallCubes);
        const auto start = std::chrono::steady_clock::now();
        StepCubes();
        const auto end = std::chrono::steady_clock::now();
        const double us = std::chrono::duration<double, std::micro>(end - start).count();
        state.SetIterationTime(us * 1e-6);
        frameUs.push_back(us);
        frame++;
        if (shots && frame % ShotEveryFrames == 0) ShootIntoPile();
        benchmark::DoNotOptimize(Cubes[0].Pos);
    }
    std::sort(frameUs.begin(), frameUs.end());
    const double n = static_cast<double>(frameUs.size());
    state.counters["median_us"] = frameUs[frameUs.size() / 2];
    state.counters["p90_us"] = frameUs[frameUs.size() * 9 / 10];
    state.counters["pairs/frame"] = pairs / n;
    state.counters["points/frame"] = points / n;
}

}  // namespace

BENCHMARK(CubeFrames)
    ->ArgName("shots")
    ->Arg(1)
    ->Arg(0)
    ->Iterations(RunFrames)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
