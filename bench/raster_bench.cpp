// The rasterizer on an 800 x 600 palette page, through the public routines
// (the drawing lock included).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "headless_pages.h"

namespace {

void OpenPage() {
    OpenHeadlessPages(800, 600, true);
    InstallStandardFaces();
    ApplyDrawDefaults();
}

void BM_MemsetPage(benchmark::State& state) {
    OpenPage();
    for (auto _ : state) {
        std::memset(Pages[0].Pixels.data(), 0, Pages[0].Pixels.size());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemsetPage);

void BM_ClearWholeWindow(benchmark::State& state) {
    OpenPage();
    for (auto _ : state) {
        ClearWholeWindow();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ClearWholeWindow);

// The worst case of a clear in the page's own colour: everything but the
// last row was drawn over since the last clear, so every block is written.
void BM_ClearAfterPageDrawnOver(benchmark::State& state) {
    OpenPage();
    SetBackgroundColor(0);
    ClearWholeWindow();
    SetAreaFill(1, 3);
    for (auto _ : state) {
        state.PauseTiming();
        FillBox(0, 0, 799, 598);
        state.ResumeTiming();
        ClearWholeWindow();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ClearAfterPageDrawnOver);

// 50-pixel segments in all directions, spread over the page.
void BM_DrawSegment50(benchmark::State& state) {
    OpenPage();
    std::array<TPolyPoint, 64> reach;
    for (size_t k = 0; k < reach.size(); ++k)
        reach[k] = {static_cast<int32_t>(std::lround(50 * std::cos(k * 0.0981747704))),
                    static_cast<int32_t>(std::lround(50 * std::sin(k * 0.0981747704)))};
    int i = 0;
    for (auto _ : state) {
        const TPolyPoint& d = reach[static_cast<size_t>(i % 64)];
        const int16_t x = static_cast<int16_t>(100 + (i * 37) % 600),
                      y = static_cast<int16_t>(100 + (i * 53) % 400);
        DrawSegment(x, y, static_cast<int16_t>(x + d.X), static_cast<int16_t>(y + d.Y));
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DrawSegment50);

void BM_DrawCircle20(benchmark::State& state) {
    OpenPage();
    int i = 0;
    for (auto _ : state) {
        DrawCircle(static_cast<int16_t>(30 + (i * 37) % 740), static_cast<int16_t>(30 + (i * 53) % 540), 20);
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DrawCircle20);

// A regular hexagon inscribed in a 50 x 50 square.
void BM_FillHexagon50(benchmark::State& state) {
    OpenPage();
    std::array<TPolyPoint, 6> corner, hex;
    for (size_t k = 0; k < 6; ++k)
        corner[k] = {static_cast<int32_t>(std::lround(25 * std::cos(k * 1.0471975512))),
                     static_cast<int32_t>(std::lround(25 * std::sin(k * 1.0471975512)))};
    int i = 0;
    for (auto _ : state) {
        const int cx = 30 + (i * 37) % 740, cy = 30 + (i * 53) % 540;
        for (size_t k = 0; k < 6; ++k) hex[k] = {cx + corner[k].X, cy + corner[k].Y};
        FillPolygonShape(6, hex.data());
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FillHexagon50);

void BM_DrawTextAt60Chars16px(benchmark::State& state) {
    OpenPage();
    SelectTextFont(3, 0, 16);
    const char* line = "The quick brown fox jumps over the lazy dog 0123456789 ABCDE";
    int i = 0;
    for (auto _ : state) {
        DrawTextAt(0, static_cast<int16_t>((i * 16) % 580), line);
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DrawTextAt60Chars16px);

}  // namespace
