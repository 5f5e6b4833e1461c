// polygon_impact: one frame's simulation (poses saved, integration, vertex
// transform and projection, collision response) with 10, 25 and 50 bodies
// settled for 20,000 frames after the last was added; the whole frame but
// the present (input, simulation, clear, filled polygons, page flip) on
// 640 x 480 palette pages without a window, so that no present competes;
// the same frame in a real window, followed untimed by a pause in which the
// window thread presents, as the paced program sleeps; and frames back to
// back in the window, as the program would run unpaced. Each repetition of
// the first three is one frame of a single run of consecutive frames: the
// median is the median frame. The C++ allocations of the timed frames are
// counted. The window benchmarks need an X server (tools/with_xvfb.sh).
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <new>
#include <thread>

#include "frame_pacing.h"
#include "headless_pages.h"
#include "poly_bodies.h"
#include "poly_contacts.h"
#include "poly_controls.h"
#include "poly_frame.h"
#include "tavrel.h"

namespace {

std::atomic<int64_t> Allocations{0};

}  // namespace

[[gnu::noinline]] void* operator new(std::size_t size) {
    Allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

// The program's start, a body added every 200 frames up to count, as the key
// "a" adds them, then 20,000 frames to settle.
void SettleBodies(int32_t count) {
    SeedRandom(ProgramRandom, PolyFixedSeed);
    StartPolyBodies(ProgramRandom);
    UpdateCompounds();
    TransformVertices();
    ProjectToScreen();
    for (int32_t frame = 0; PolyBodyCount < count || frame < 20000; frame++) {
        if (PolyBodyCount < count && frame % 200 == 0) {
            ApplyPolyKey('a', ProgramRandom);
            frame = 0;
        }
        MovePolyBodies();
        CollidePolyBodies();
    }
}

void Simulation(benchmark::State& state) {
    static int32_t settled = -1;
    const int32_t count = static_cast<int32_t>(state.range(0));
    if (settled != count) {
        SettleBodies(count);
        settled = count;
    }
    for (auto _ : state) {
        MovePolyBodies();
        CollidePolyBodies();
    }
    benchmark::DoNotOptimize(PolyBodies[0].X);
}

// The benchmark's frames, with the C++ allocations they made.
void TimedFrames(benchmark::State& state) {
    const int64_t before = Allocations.load();
    for (auto _ : state) benchmark::DoNotOptimize(RunPolyFrame());
    const int64_t made = Allocations.load() - before;
    state.counters["allocations"] = static_cast<double>(made);
}

// The library's drawing tables reach their sizes in the first frames.
void WarmUp() {
    for (int32_t frame = 0; frame < 600; frame++) RunPolyFrame();
}

void Frame(benchmark::State& state) {
    static bool open = false;
    if (!open) {
        OpenHeadlessPages(640, 480, true);
        PolyWindowWidth = 640;
        PolyWindowHeight = 480;
        FramePage = 0;
        SettleBodies(50);
        WarmUp();
        open = true;
    }
    TimedFrames(state);
}

// The library's share of the frame: the clear alone, and the clear with the
// 50 filled, outlined bodies, on the same settled pages.
void Clear(benchmark::State& state) {
    for (auto _ : state) ClearWholeWindow();
}

void ClearAndBodies(benchmark::State& state) {
    for (auto _ : state) DrawPolyBodies();
}

void CloseHeadless(benchmark::State& state) {
    for (auto _ : state) CloseHeadlessPages();
}

bool OpenSettledWindow() {
    static bool open = false;
    if (open) return true;
    int16_t driver = 3, mode = 4;
    OpenGraphWindow(driver, mode, PolyImpactCaption);
    if (!GraphWindowIsOpen()) return false;
    FramePacingOn = false;
    PolyWindowWidth = 640;
    PolyWindowHeight = 480;
    FramePage = 0;
    SettleBodies(50);
    WarmUp();
    open = true;
    return true;
}

void FrameInWindow(benchmark::State& state) {
    if (!OpenSettledWindow()) {
        state.SkipWithError("the window did not open");
        return;
    }
    TimedFrames(state);
    // Untimed, as the paced program sleeps: the window thread presents.
    std::this_thread::sleep_for(std::chrono::milliseconds(4));
}

// Frames back to back, as the program runs unpaced.
void UnpacedFrames(benchmark::State& state) {
    if (!OpenSettledWindow()) {
        state.SkipWithError("the window did not open");
        return;
    }
    TimedFrames(state);
    state.counters["frames_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(Simulation)
    ->Arg(10)
    ->Arg(25)
    ->Arg(50)
    ->Iterations(1)
    ->Repetitions(3000)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(Frame)
    ->Iterations(1)
    ->Repetitions(3000)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(Clear)
    ->Iterations(1)
    ->Repetitions(3000)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(ClearAndBodies)
    ->Iterations(1)
    ->Repetitions(3000)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(CloseHeadless)->Iterations(1);
BENCHMARK(FrameInWindow)
    ->Iterations(1)
    ->Repetitions(1000)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(UnpacedFrames)->Iterations(5000)->UseRealTime()->Unit(benchmark::kMicrosecond);
