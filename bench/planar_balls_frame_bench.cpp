// Whole frames of two_ball_collision, particle_gas, ball_heap and
// projectile_2d's flight, all but their pauses. Needs an X server
// (tools/with_xvfb.sh).
#include <benchmark/benchmark.h>

#include "ball_heap_frame.h"
#include "ball_heap_sim.h"
#include "mass_ball_frames.h"
#include "projectile_2d_frame.h"
#include "tavrel.h"
#include "throw_2d.h"

namespace {

bool OpenWindow() {
    if (GraphWindowIsOpen()) return true;
    int16_t driver = 3, mode = 6;
    OpenGraphWindow(driver, mode, "frames");
    return GraphWindowIsOpen();
}

template <class Frame>
void RunFrames(benchmark::State& state, Frame frame) {
    if (!OpenWindow()) {
        state.SkipWithError("the window did not open");
        return;
    }
    for (auto _ : state) frame();
}

void TwoBall(benchmark::State& state) {
    TRandomSource random{};
    PlaceTwoBalls(799, 599, random);
    RunFrames(state, [] { benchmark::DoNotOptimize(TwoBallFrame(0)); });
}
BENCHMARK(TwoBall)->Unit(benchmark::kMicrosecond);

void Gas(benchmark::State& state) {
    TRandomSource random{};
    PlaceGasParticles(799, 599, random);
    RunFrames(state, [] { benchmark::DoNotOptimize(GasFrame()); });
}
BENCHMARK(Gas)->Unit(benchmark::kMicrosecond);

void Heap(benchmark::State& state) {
    PlaceHeapBalls(799, 599);
    for (int frame = 0; frame < 20000; frame++) {
        HeapPairPass();
        for (int32_t k = 0; k < HeapBallCount; k++) MoveHeapBall(HeapBalls[k]);
    }
    RunFrames(state, [] { benchmark::DoNotOptimize(BallHeapFrame()); });
}
BENCHMARK(Heap)->Unit(benchmark::kMicrosecond);

void ThrowFlight(benchmark::State& state) {
    SetUpThrow(Throw2D);
    AimPress(Throw2D, 400, 500);
    AimPress(Throw2D, 450, 400);
    RunFrames(state, [] { benchmark::DoNotOptimize(FlightFrame(0)); });
}
BENCHMARK(ThrowFlight)->Unit(benchmark::kMicrosecond);

}  // namespace
