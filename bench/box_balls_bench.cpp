// The box-ball programs' costs: one event search over 15, 51 and 101 balls;
// a box_balls_wire frame at 51 balls on 800 x 600 palette pages without a
// window; and, under an X server (tools/with_xvfb.sh), the wire program's
// held-key polls and whole frames of both programs in their real window.
#include <benchmark/benchmark.h>

#include "box_balls_controls.h"
#include "box_balls_gl_frame.h"
#include "box_balls_wire_frame.h"
#include "box_scenes.h"
#include "headless_pages.h"
#include "sphere_lists.h"
#include "tavrel.h"
#include "view3d.h"

namespace {

// Scene A of box_balls_gl after 300 frames, with a red ball clicked in
// every fifth frame until there are `balls`, or cut to that many.
void MovingBalls(int32_t balls) {
    ResetBoxBalls(BoxBallsGlPhysics);
    ResetBoxControls(GlSceneScale);
    AddSceneBalls(TBoxScene::BigBallUnderGrid, GlSceneScale);
    AddBoxWalls(GlSceneScale);
    for (int32_t frame = 1; frame <= 300; frame++) {
        EventDepth = 0;
        EventStep(BoxTimeStep);
        HandleLeftClick(BallCount < balls && frame % 5 == 0 ? 1 : 0);
    }
    if (BallCount > balls) BallCount = balls;
}

// One search, the advance to its event and the response: the event limit is
// one. The table is put back before each search (a 7 kB copy).
void EventSearch(benchmark::State& state) {
    MovingBalls(int32_t(state.range(0)));
    const auto saved = BoxBalls;
    MaxEventDepth = 1;
    for (auto _ : state) {
        BoxBalls = saved;
        EventDepth = 0;
        EventStep(BoxTimeStep);
        benchmark::ClobberMemory();
    }
    state.counters["balls"] = double(BallCount);
}
BENCHMARK(EventSearch)->Arg(15)->Arg(51)->Arg(101)->Unit(benchmark::kMicrosecond)->Repetitions(5)
    ->ReportAggregatesOnly(true);

bool NoKeyHeld(int32_t) { return false; }

// box_balls_wire at its full 51 balls: the column and 11 clicked balls
// after 200 frames.
void FullWireScene() {
    BeginBoxBallsWire();
    for (int32_t frame = 1; frame <= 200; frame++) {
        EventDepth = 0;
        EventStep(BoxTimeStep);
        HandleLeftClick(frame % 10 == 0 ? 1 : 0);
    }
}

// box_balls_wire's frame: drawing, step, keys and mouse on headless pages.
void WireFrameHeadless(benchmark::State& state) {
    OpenHeadlessPages(800, 600, true);
    FullWireScene();
    ViewKeyHeld = NoKeyHeld;
    for (auto _ : state) benchmark::DoNotOptimize(RunBoxBallsWireFrame());
    state.counters["balls"] = double(BallCount);
    ViewKeyHeld = KeyIsHeld;
    CloseHeadlessPages();
}
BENCHMARK(WireFrameHeadless)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

bool OpenBoxWindow(benchmark::State& state, bool needsGl) {
    int16_t driver = 3, mode = 6;
    OpenGraphWindow(driver, mode, BoxBallsCaption);
    if (GraphWindowIsOpen() && (ResultCode == 0 || !needsGl)) return true;
    state.SkipWithError("no window, or no OpenGL");
    if (GraphWindowIsOpen()) CloseGraphWindow();
    return false;
}

// The six held-key polls of a wire frame in a real window.
void WireHeldKeyPolls(benchmark::State& state) {
    if (!OpenBoxWindow(state, false)) return;
    BeginBoxBallsWire();
    for (auto _ : state) CamMoveHeld();
    CloseGraphWindow();
}
BENCHMARK(WireHeldKeyPolls)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void WireFrameInWindow(benchmark::State& state) {
    if (!OpenBoxWindow(state, false)) return;
    FullWireScene();
    for (auto _ : state) benchmark::DoNotOptimize(RunBoxBallsWireFrame());
    state.counters["balls"] = double(BallCount);
    CloseGraphWindow();
}
BENCHMARK(WireFrameInWindow)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// box_balls_gl's frame on the software renderer: scene A (65 spheres), or
// 101 spheres; and clear and swap alone for the floor.
void GlFrame(benchmark::State& state) {
    if (!OpenBoxWindow(state, true)) return;
    SelectGlTarget(true);
    MovingBalls(int32_t(state.range(0)));
    ResetOrbitCamera();
    for (int i = 0; i < 20; i++) RunBoxBallsGlFrame();  // shaders compile on the first swaps
    for (auto _ : state) benchmark::DoNotOptimize(RunBoxBallsGlFrame());
    state.counters["balls"] = double(BallCount);
    FreeSphereLists();
    SelectGlTarget(false);
    CloseGraphWindow();
}
BENCHMARK(GlFrame)->Arg(65)->Arg(101)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace
