// The terrain-ball step, and whole frames of terrain_balls_wire,
// projectile_3d (both apart from their held-key polls) and terrain_balls_gl
// (as gl_program_frames.h runs them). The frames need an X server
// (tools/with_xvfb.sh); the gl frame renders with whatever OpenGL the server
// offers (llvmpipe under Xvfb).
#include <benchmark/benchmark.h>

#include "gl_program_frames.h"
#include "headless_pages.h"
#include "projectile_3d_frame.h"
#include "tavrel.h"
#include "terrain_frames.h"
#include "terrain_sim.h"
#include "view3d.h"

namespace {

constexpr int Repeats = 9;

// A running scene: the balls have landed and roll and bounce.
void SettledTerrain(const TTerrainVariant& variant) {
    TerrainVariant = variant;
    BuildHeightGrid();
    PlaceTerrainBalls();
    for (int step = 0; step < 2000; step++) StepTerrainScene();
}

void TerrainStep(benchmark::State& state) {
    SettledTerrain(state.range(0) ? TerrainGlVariant : TerrainWireVariant);
    for (auto _ : state) {
        StepTerrainScene();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(TerrainStep)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->Repetitions(Repeats)
    ->ReportAggregatesOnly(true);

bool NoKeyHeld(int32_t) { return false; }

void DropSegment(int16_t, int16_t, int16_t, int16_t) {}

// The wire frame's 18,724 segments taken through the view but not drawn:
// what the frame costs before the library's DrawSegment.
void WireSceneProjection(benchmark::State& state) {
    OpenHeadlessPages(800, 600, true);
    ViewSegmentSink = DropSegment;
    BeginTerrainWire();
    for (int step = 0; step < 2000; step++) StepTerrainScene();
    for (auto _ : state) {
        DrawTerrainWire();
        benchmark::ClobberMemory();
    }
    ViewSegmentSink = DrawSegment;
    CloseHeadlessPages();
}
BENCHMARK(WireSceneProjection)->Unit(benchmark::kMillisecond)->Repetitions(Repeats)
    ->ReportAggregatesOnly(true);

bool OpenWindow(benchmark::State& state) {
    int16_t driver = 3, mode = 6;
    OpenGraphWindow(driver, mode, "terrain bench");
    if (GraphWindowIsOpen()) return true;
    state.SkipWithError("no window");
    return false;
}

void WireFrame(benchmark::State& state) {
    if (!OpenWindow(state)) return;
    ViewKeyHeld = NoKeyHeld;
    BeginTerrainWire();
    for (auto _ : state) benchmark::DoNotOptimize(RunTerrainWireFrame());
    ViewKeyHeld = KeyIsHeld;
    CloseGraphWindow();
}
BENCHMARK(WireFrame)->Unit(benchmark::kMillisecond)->Repetitions(Repeats)->ReportAggregatesOnly(true);

void ThrowFrame(benchmark::State& state) {
    if (!OpenWindow(state)) return;
    ViewKeyHeld = NoKeyHeld;
    BeginProjectile3D(1);
    for (auto _ : state) benchmark::DoNotOptimize(RunProjectile3DFrame());
    ViewKeyHeld = KeyIsHeld;
    CloseGraphWindow();
}
BENCHMARK(ThrowFrame)->Unit(benchmark::kMicrosecond)->Repetitions(Repeats)->ReportAggregatesOnly(true);

void GlFrame(benchmark::State& state) {
    if (!OpenGlProgramWindow(state, "terrain_balls_gl", 6, "BILE 3D")) return;
    BeginTerrainGl();
    RunGlProgramFrames(state, RunTerrainGlFrame);
    EndTerrainGl();
    CloseGlProgramWindow();
}
BENCHMARK(GlFrame)->Apply(GlProgramFrameRuns);

}  // namespace
