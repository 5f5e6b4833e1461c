// How long a key pressed on the X server takes to reach the program thread's
// KeyWaiting (XTest press, window thread, translation, queue). Needs an X
// server: run under tools/with_xvfb.sh.
#include <benchmark/benchmark.h>

#include <X11/keysym.h>

#include <chrono>

#include "graph_unit.h"
#include "test_support/test_window.h"

namespace {

void KeyPressToKeyWaiting(benchmark::State& state) {
    TXDriver x;
    Window window = 0;
    if (!OpenXDriver(x) || !(window = OpenTestWindow(x, 3, 6, "key latency"))) {
        state.SkipWithError("no window");
        CloseGraphWindow();
        return;
    }
    FocusWindow(x, window);
    XSync(x.Dpy, False);
    for (auto _ : state) {
        PressKey(x, XK_a, 0);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (!KeyWaiting()) {
            if (std::chrono::steady_clock::now() > deadline) {
                state.SkipWithError("the key did not arrive");
                break;
            }
        }
        state.PauseTiming();
        while (KeyWaiting()) WaitKeyByte();
        state.ResumeTiming();
    }
    CloseXDriver(x);
    CloseGraphWindow();
}
BENCHMARK(KeyPressToKeyWaiting)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
