// The disc billiards: one frame's simulation of each program (cue rule and
// disc loop, no drawing) and disc_billiard_flat's whole frame (flip, clear,
// simulation, fifty circles) at 640 x 480, each repetition one frame of a
// single run, so that the median is the median frame; the pointer wanders as
// a user's would. disc_billiard_gl's whole frames as gl_program_frames.h runs
// them. The frames need an X server (tools/with_xvfb.sh); the simulations run
// anywhere.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bitmap_file.h"
#include "disc_billiard.h"
#include "flat_billiards.h"
#include "frame_pacing.h"
#include "gl_program_frames.h"
#include "gl_billiard.h"
#include "tavrel.h"

namespace {

TRandomSource BenchRandom{};
int32_t PointerX = 320, PointerY = 240;

// A pointer that drifts a few pixels a frame, now and then jumping.
void WanderPointer(int32_t w, int32_t h) {
    if (RandomBelow(BenchRandom, 100) == 0) {
        PointerX = RandomBelow(BenchRandom, w);
        PointerY = RandomBelow(BenchRandom, h);
    } else {
        PointerX = (PointerX + RandomBelow(BenchRandom, 9) - 4 + w) % w;
        PointerY = (PointerY + RandomBelow(BenchRandom, 9) - 4 + h) % h;
    }
}

const TBilliardSettings* Started = nullptr;

void StartSimulation(const TBilliardSettings& settings, int32_t w, int32_t h) {
    if (Started == &settings) return;
    Started = &settings;
    SeedRandom(BenchRandom, 12345);
    if (&settings == &RackBilliard)
        LayOutRack(w, h, BenchRandom);
    else
        StartRandomDiscs(settings, w, h, BenchRandom);
    // Settle the start's overlaps, as a running program has.
    for (int i = 0; i < 200; i++) {
        WanderPointer(w, h);
        DriveCueDisc(PointerX, PointerY, settings.TimeStep);
        AdvanceDiscs(settings, w - 1, h - 1, nullptr);
    }
}

void SimulationFrame(benchmark::State& state, const TBilliardSettings& settings, int32_t w, int32_t h) {
    StartSimulation(settings, w, h);
    for (auto _ : state) {
        WanderPointer(w, h);
        DriveCueDisc(PointerX, PointerY, settings.TimeStep);
        AdvanceDiscs(settings, w - 1, h - 1, nullptr);
    }
    benchmark::DoNotOptimize(Discs[0].X);
}

void FlatSimulationFrame(benchmark::State& state) { SimulationFrame(state, FlatBilliard, 640, 480); }
void GlSimulationFrame(benchmark::State& state) { SimulationFrame(state, GlBilliard, 640, 480); }
void RackSimulationFrame(benchmark::State& state) { SimulationFrame(state, RackBilliard, 800, 600); }

// ---- Whole frames in a window

bool OpenFlatWindow() {
    if (GraphWindowIsOpen()) return true;
    FramePacingOn = false;
    int16_t driver = 3, mode = 4;
    OpenGraphWindow(driver, mode, "BILIARD 3D");
    if (!GraphWindowIsOpen()) return false;
    StartFlatBilliard(1);
    return true;
}

void FlatFrame(benchmark::State& state) {
    if (!OpenFlatWindow()) {
        state.SkipWithError("the window did not open");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(RunFlatBilliardFrame());
}

uint32_t Checks(int32_t x, int32_t y) { return ((x / 16 + y / 16) % 2) ? 0x2050A0 : 0x40A040; }

// With a texture of the same size as the build's earth.bmp, in a directory
// of its own, where the program looks for it.
void GlFrame(benchmark::State& state) {
    if (GraphWindowIsOpen()) CloseGraphWindow();  // FlatFrame keeps its window over its repetitions
    char directory[] = "/tmp/billiard_bench_XXXXXX";
    if (!mkdtemp(directory)) {
        state.SkipWithError("no directory for the texture");
        return;
    }
    const std::string texture = std::string(directory) + "/" + TextureFileName;
    TFaultText fault;
    if (WriteBitmapFile(texture.c_str(), EncodeBitmap(256, 128, Checks), fault) && chdir(directory) == 0 &&
        OpenGlProgramWindow(state, "disc_billiard_gl", 4, "BILIARD 3D")) {
        if (StartGlBilliard(1, fault))
            RunGlProgramFrames(state, RunGlBilliardFrame);
        else
            state.SkipWithError(fault.data());
        EndGlBilliard();
        CloseGlProgramWindow();
    }
    unlink(texture.c_str());
    rmdir(directory);
}

double Percentile90(const std::vector<double>& times) {
    std::vector<double> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    return sorted.empty() ? 0 : sorted[sorted.size() * 9 / 10];
}

}  // namespace

BENCHMARK(FlatSimulationFrame)->Iterations(1)->Repetitions(20000)->ReportAggregatesOnly(true)
    ->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(GlSimulationFrame)->Iterations(1)->Repetitions(20000)->ReportAggregatesOnly(true)
    ->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(RackSimulationFrame)->Iterations(1)->Repetitions(20000)->ReportAggregatesOnly(true)
    ->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(FlatFrame)->Iterations(1)->Repetitions(2000)->ReportAggregatesOnly(true)
    ->ComputeStatistics("p90", Percentile90)
    ->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(GlFrame)->Apply(GlProgramFrameRuns);
