// peg_particles: the 31 sub-steps of a frame with the arrows left out, for
// 10, 50 and 100 drops among the 50 pegs, in a field that has run a while so
// that drops are spread over the window and meet pegs; and the whole frame
// but its pause against a window (tools/with_xvfb.sh).
#include <benchmark/benchmark.h>

#include "frame_bench_window.h"
#include "peg_field.h"
#include "reflection_page.h"

namespace {

constexpr int32_t Right = 799, Bottom = 599;

TRandomSource Random{};

void FillField(int32_t drops) {
    SeedRandom(Random, 99);
    SetUpPegField(Right, Bottom, Random);
    for (int32_t i = 0; i < drops; i++) {
        HandlePegPress(1, Right, Random);
        HandlePegPress(0, Right, Random);
    }
    for (int32_t frame = 0; frame < 3000; frame++) RunPegSubSteps(Right, Bottom, Random, false);
}

void PegSubSteps(benchmark::State& state) {
    const int32_t drops = static_cast<int32_t>(state.range(0));
    FillField(drops);
    for (auto _ : state) {
        RunPegSubSteps(Right, Bottom, Random, false);
        benchmark::DoNotOptimize(Drops[0]);
    }
    state.counters["us_per_drop"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * drops,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}

void PegFrame(benchmark::State& state) {
    if (!OpenFrameBenchWindow("PARTICULE IN BALANS")) {
        state.SkipWithError("the window did not open");
        return;
    }
    FramePage = 0;
    FillField(100);
    for (auto _ : state) RunPegFrame();
}

}  // namespace

BENCHMARK(PegSubSteps)->Arg(10)->Arg(50)->Arg(100)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(PegFrame)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
