// The simulations of particle_gas and ball_heap as their body counts grow.
// Headless.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "ball_heap_sim.h"
#include "mass_balls.h"

namespace {

// count particles of radius 10 and speed 30 spread evenly over the window.
std::vector<TMassBall> GasOf(int32_t count) {
    std::vector<TMassBall> balls;
    const int32_t columns = static_cast<int32_t>(std::ceil(std::sqrt(count * 800.0 / 600.0)));
    const double pitch = 780.0 / columns;
    for (int32_t k = 0; k < count; k++) {
        const double angle = 0.1 * M_PI * (k % 10);
        balls.push_back({10 + pitch * (k % columns), 10 + pitch * (k / columns),
                         30 * std::cos(angle), 30 * std::sin(angle), 10, 1});
    }
    return balls;
}

void GasStep(benchmark::State& state) {
    std::vector<TMassBall> balls = GasOf(static_cast<int32_t>(state.range(0)));
    for (int frame = 0; frame < 1000; frame++)
        StepGas(balls.data(), int32_t(balls.size()), 799, 599);
    for (auto _ : state) StepGas(balls.data(), int32_t(balls.size()), 799, 599);
    state.counters["us_per_particle"] = benchmark::Counter(
        double(state.iterations()) * double(balls.size()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}
BENCHMARK(GasStep)->Arg(100)->Arg(400)->Unit(benchmark::kMicrosecond);

void HeapFrameWork() {
    HeapPairPass();
    for (int32_t k = 0; k < HeapBallCount; k++) MoveHeapBall(HeapBalls[k]);
}

// 256 balls settled from the program's grid; larger counts start evenly
// spread over the window (several deep where they do not fit) and settle
// for a while.
void HeapStep(benchmark::State& state) {
    const int32_t count = static_cast<int32_t>(state.range(0));
    PlaceHeapBalls(799, 599);
    if (count > HeapStartCount) {
        const int32_t columns = static_cast<int32_t>(std::ceil(std::sqrt(count * 780.0 / 580.0)));
        const double pitch = 780.0 / columns;
        HeapBallCount = count;
        for (int32_t k = 0; k < count; k++)
            HeapBalls[k] = {10 + pitch * (k % columns), 10 + pitch * (k / columns), 0, 0, 0, 0};
    }
    for (int frame = 0; frame < (count > HeapStartCount ? 500 : 20000); frame++) HeapFrameWork();
    for (auto _ : state) HeapFrameWork();
}
BENCHMARK(HeapStep)->Arg(256)->Arg(1024)->Arg(4096)->Arg(8193)->Unit(benchmark::kMicrosecond);

}  // namespace
