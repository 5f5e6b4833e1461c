// The box-ball programs' costs: one event search over 15, 51 and 101 balls;
// a box_balls_wire frame at 51 balls on 800 x 600 palette pages without a
// window; and, under an X server (tools/with_xvfb.sh), the wire program's
// held-key polls and whole frames of both programs in their real window
// (box_balls_gl's as gl_program_frames.h runs them).
#include <benchmark/benchmark.h>

#include "box_balls_controls.h"
#include "box_balls_gl_frame.h"
#include "box_balls_wire_frame.h"
#include "box_scenes.h"
#include "gl_program_frames.h"
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

bool OpenBoxWindow(benchmark::State& state) {
    int16_t driver = 3, mode = 6;
    OpenGraphWindow(driver, mode, BoxBallsCaption);
    if (GraphWindowIsOpen()) return true;
    state.SkipWithError("no window");
    return false;
}

// The six held-key polls of a wire frame in a real window.
void WireHeldKeyPolls(benchmark::State& state) {
    if (!OpenBoxWindow(state)) return;
    BeginBoxBallsWire();
    for (auto _ : state) CamMoveHeld();
    CloseGraphWindow();
}
BENCHMARK(WireHeldKeyPolls)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void WireFrameInWindow(benchmark::State& state) {
    if (!OpenBoxWindow(state)) return;
    FullWireScene();
    for (auto _ : state) benchmark::DoNotOptimize(RunBoxBallsWireFrame());
    state.counters["balls"] = double(BallCount);
    CloseGraphWindow();
}
BENCHMARK(WireFrameInWindow)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// box_balls_gl from its start in the scene that the first seed picking it
// gives: 0 is A (65 spheres), 2 is C (70).
void GlFrame(benchmark::State& state) {
    uint32_t seed = 0;
    for (TRandomSource pick;; seed++) {
        SeedRandom(pick, seed);
        if (PickBoxScene(pick) == TBoxScene(state.range(0))) break;
    }
    if (!OpenGlProgramWindow(state, "box_balls_gl", 6, BoxBallsCaption)) return;
    SeedRandom(ProgramRandom, seed);
    BeginBoxBallsGl(ProgramRandom);
    RunGlProgramFrames(state, RunBoxBallsGlFrame);
    state.counters["balls"] = double(BallCount);
    FreeSphereLists();
    CloseGlProgramWindow();
}
BENCHMARK(GlFrame)->Arg(0)->Arg(2)->Apply(GlProgramFrameRuns);

}  // namespace
