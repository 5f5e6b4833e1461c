// dots_and_segments: the dots' moves and mirrors of a frame for dots times
// segments, the drawing left out; and the whole frame against a window
// (tools/with_xvfb.sh). Dots are put back at their starts outside the timing
// every 200 frames so that none leaves the window.
#include <benchmark/benchmark.h>

#include "dots_segments.h"
#include "frame_bench_window.h"
#include "frame_pacing.h"
#include "random_source.h"
#include "reflection_page.h"

namespace {

constexpr int32_t Right = 799, Bottom = 599;
constexpr int32_t FramesPerFill = 200;

// Segments all over the window, dots in its upper part; many dots meet a
// segment now and then.
void Fill(int32_t dots, int32_t segments) {
    TRandomSource random{};
    SeedRandom(random, 4);
    ResetDotsAndSegments();
    for (int32_t i = 0; i < segments; i++) {
        const double x = 20 + RandomBelow(random, 700), y = 150 + RandomBelow(random, 400);
        UserSegments[i] = TUserSegment{x, y, x + 20 + RandomBelow(random, 60), y - 30 + RandomBelow(random, 60), 1};
    }
    for (int32_t i = 0; i < dots; i++)
        Dots[i] = TDot{static_cast<double>(10 + RandomBelow(random, 780)),
                       static_cast<double>(10 + RandomBelow(random, 200)), 0, 0.5, 1};
}

void DotMoves(benchmark::State& state) {
    const int32_t dots = static_cast<int32_t>(state.range(0));
    const int32_t segments = static_cast<int32_t>(state.range(1));
    Fill(dots, segments);
    int32_t frames = 0;
    for (auto _ : state) {
        if (++frames == FramesPerFill) {
            state.PauseTiming();
            Fill(dots, segments);
            frames = 0;
            state.ResumeTiming();
        }
        MoveDots(Right, Bottom);
        benchmark::DoNotOptimize(Dots[0]);
    }
    state.counters["ns_per_dot_segment"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * dots * segments,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}

void DotsFrame(benchmark::State& state) {
    if (!OpenFrameBenchWindow("LINII SI BILE")) {
        state.SkipWithError("the window did not open");
        return;
    }
    FramePacingOn = false;
    FramePage = 0;
    Fill(150, 150);
    int32_t frames = 0;
    for (auto _ : state) {
        if (++frames == FramesPerFill) {
            state.PauseTiming();
            Fill(150, 150);
            frames = 0;
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(RunDotsFrame());
    }
}

}  // namespace

BENCHMARK(DotMoves)
    ->Args({150, 150})
    ->Args({75, 150})
    ->Args({150, 75})
    ->Args({50, 50})
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(DotsFrame)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
