// What showing a page costs: the window thread's present of a whole page
// (conversion and copy to the X server), and the program thread's share of a
// page flip. Needs an X server (tools/with_xvfb.sh).
#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>
#include <vector>

#include "bench_window.h"
#include "graph_unit.h"
#include "platform/x11_window.h"
#include "screen_image.h"

namespace {

// From the request to the end of the put: wake-up, conversion under the
// lock, XShmPutImage and the XSync that waits for the server. The request is
// the one a page flip makes, of a page unchanged since it was last shown.
void PresentWholePage(benchmark::State& state, int16_t driver) {
    if (!EnsureBenchWindow(driver, state)) return;
    for (auto _ : state) {
        const uint32_t before = PresentCount;
        SelectShownPage(ShownPage);
        while (PresentCount == before) std::this_thread::yield();
    }
}

void BM_PresentPalettePage800x600(benchmark::State& state) { PresentWholePage(state, 3); }
void BM_PresentTrueColourPage800x600(benchmark::State& state) { PresentWholePage(state, 9); }

// The flip as the program thread pays for it: the window thread repaints
// meanwhile.
void BM_SelectShownPage(benchmark::State& state) {
    if (!EnsureBenchWindow(3, state)) return;
    uint16_t page = 0;
    for (auto _ : state) {
        SelectShownPage(page);
        page ^= 1;
    }
}

// One flip per frame, as programs do: the window thread presents between
// frames (untimed), so every flip finds it idle and pays for waking it. With
// drawing, the frame then selects the other page, clears it and draws a few
// hundred short segments while the window thread presents the first: what the
// program thread pays for such a frame, any wait for the window thread
// included.
void FlipOncePerFrame(benchmark::State& state, bool drawing) {
    if (!EnsureBenchWindow(3, state)) return;
    uint16_t page = 0;
    for (auto _ : state) {
        const uint32_t before = PresentCount;
        SelectShownPage(page);
        page ^= 1;
        if (drawing) {
            SelectDrawPage(page);
            ClearWholeWindow();
            for (int16_t i = 0; i < 300; ++i) DrawSegment(i, 100, int16_t(i + 20), 140);
        }
        state.PauseTiming();
        while (PresentCount == before) std::this_thread::yield();
        state.ResumeTiming();
    }
}

void BM_SelectShownPageOncePerFrame(benchmark::State& state) { FlipOncePerFrame(state, false); }
void BM_FlipClearAndDraw(benchmark::State& state) { FlipOncePerFrame(state, true); }

// Drawing straight on the shown page: every primitive asks for a present, and
// one that meets a present still reading the page waits for it.
void DrawOnShownPage(benchmark::State& state, int16_t driver) {
    if (!EnsureBenchWindow(driver, state)) return;
    SelectShownPage(0);
    SelectDrawPage(0);
    int16_t step = 0;
    for (auto _ : state) {
        SetAreaFill(1, NamedColors[size_t(1 + step % 14)]);
        FillBox(int16_t(step * 8 % 792), int16_t(step / 99 * 8 % 592), int16_t(step * 8 % 792 + 7),
                int16_t(step / 99 * 8 % 592 + 7));
        ++step;
    }
    SelectDrawPage(2);
}

void BM_DrawOnShownPalettePage(benchmark::State& state) { DrawOnShownPage(state, 3); }
void BM_DrawOnShownTrueColourPage(benchmark::State& state) { DrawOnShownPage(state, 9); }

// The conversion alone, into memory of our own.
void BM_ConvertPalettePage800x600(benchmark::State& state) {
    if (!EnsureBenchWindow(3, state)) return;
    std::vector<uint32_t> words(800 * 600);
    TScreenImage image;
    image.Words = words.data();
    image.WordsPerRow = 800;
    image.Width = 800;
    image.Height = 600;
    for (auto _ : state) {
        ConvertPageRect(Pages[0], {0, 0, 799, 599}, image);
        benchmark::DoNotOptimize(words.data());
    }
}

BENCHMARK(BM_ConvertPalettePage800x600)->Repetitions(5);
BENCHMARK(BM_PresentPalettePage800x600)->UseRealTime()->Repetitions(5);
BENCHMARK(BM_PresentTrueColourPage800x600)->UseRealTime()->Repetitions(5);
BENCHMARK(BM_SelectShownPage)->Repetitions(5);
BENCHMARK(BM_SelectShownPageOncePerFrame)->Iterations(2000)->Repetitions(5);
BENCHMARK(BM_FlipClearAndDraw)->Iterations(2000)->UseRealTime()->Repetitions(5);
BENCHMARK(BM_DrawOnShownPalettePage)->UseRealTime()->Repetitions(5);
BENCHMARK(BM_DrawOnShownTrueColourPage)->UseRealTime()->Repetitions(5);

}  // namespace
