// cue_rack_events: event search, advance and answer of a frame, for the
// program's own table (37 balls, 4 walls) and for tables of 50 and 100 balls
// in rows inside the same walls; and the whole frame against a window
// (tools/with_xvfb.sh).
#include <benchmark/benchmark.h>

#include "cue_rack.h"
#include "frame_bench_window.h"

namespace {

constexpr int32_t Right = 799, Bottom = 599;

// The program's table, or its walls with balls in rows of ten, 33 px apart,
// moving in all directions.
void SetUpTable(int32_t balls) {
    TRandomSource random{};
    SeedRandom(random, 12);
    SetUpRack(Right, Bottom, 250, random);
    if (balls == 37) return;
    RackBallCount = 0;
    for (int32_t i = 0; i < balls; i++)
        AddRackBall(15, 160 + 33 * (i % 10), 190 + 22 * (i / 10), RandomBelow(random, 101) - 50,
                    RandomBelow(random, 101) - 50, 10, 50);
}

void RackStep(benchmark::State& state) {
    const int32_t balls = static_cast<int32_t>(state.range(0));
    SetUpTable(balls);
    for (auto _ : state) {
        FindEarliestEvent();
        AdvanceRackBalls();
        ResolveRackEvent();
        benchmark::DoNotOptimize(RackBalls[0]);
    }
}

void RackFrame(benchmark::State& state) {
    if (!OpenFrameBenchWindow("FIZICA BILELOR")) {
        state.SkipWithError("the window did not open");
        return;
    }
    SetUpTable(37);
    for (auto _ : state) benchmark::DoNotOptimize(RunRackFrame());
}

}  // namespace

BENCHMARK(RackStep)->Arg(37)->Arg(50)->Arg(100)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(RackFrame)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
