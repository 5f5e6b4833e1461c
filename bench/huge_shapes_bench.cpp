// Shapes far larger than the page, or drawn with pens far wider than it: the
// work of every call must stay bounded by the clipping port (an 800 x 600
// palette page here), a few milliseconds at most, whatever the arguments.
#include <benchmark/benchmark.h>

#include "headless_pages.h"

namespace {

void OpenPage(uint16_t penWidth) {
    OpenHeadlessPages(800, 600, true);
    InstallStandardFaces();
    ApplyDrawDefaults();
    SetStrokeStyle(0, 0, penWidth);
    SetAreaFill(1, 3);
    SetDrawColor(5);
}

void BM_FillEllipsePen65535(benchmark::State& state) {
    OpenPage(65535);
    for (auto _ : state) FillEllipseShape(400, 300, 300, 200);
}
void BM_DrawCirclePen65535(benchmark::State& state) {
    OpenPage(65535);
    for (auto _ : state) DrawCircle(400, 300, 65535);
}
// Every disc of the pen passes near the page centre and none covers the page.
void BM_DrawCircleRadius30000Pen60000(benchmark::State& state) {
    OpenPage(60000);
    for (auto _ : state) DrawCircle(400, 300, 30000);
}
void BM_DrawCircleRadius1000Pen1500(benchmark::State& state) {
    OpenPage(1500);
    for (auto _ : state) DrawCircle(400, 300, 1000);
}
void BM_DrawCircleRadius65535(benchmark::State& state) {
    OpenPage(1);
    for (auto _ : state) DrawCircle(400, 300, 65535);
}
void BM_DrawArcRadius65535(benchmark::State& state) {
    OpenPage(1);
    for (auto _ : state) DrawEllipseArc(400, 300, 10, 350, 65535, 65535);
}
// Aspect factors that stretch a radius to the 16-bit limit.
void BM_FillEllipseAspectScaled(benchmark::State& state) {
    OpenPage(3);
    SetAspectScale(1526, 10000);  // x radius 10000 becomes 65530
    for (auto _ : state) FillEllipseShape(400, 300, 10000, 250);
    SetAspectScale(10000, 10000);
}
void BM_FillEllipseAspectScaledPen300(benchmark::State& state) {
    OpenPage(300);
    SetAspectScale(1526, 10000);
    for (auto _ : state) FillEllipseShape(400, 300, 10000, 250);
    SetAspectScale(10000, 10000);
}
void BM_FillPolygonHugePen65535(benchmark::State& state) {
    OpenPage(65535);
    const TPolyPoint points[4] = {{-2000000000, -5}, {2000000000, 7}, {300, 2000000000}, {-7, 310}};
    for (auto _ : state) FillPolygonShape(4, points);
}
void BM_DrawSegmentPen65535(benchmark::State& state) {
    OpenPage(65535);
    for (auto _ : state) DrawSegment(-32768, -32768, 32767, 32767);
}

BENCHMARK(BM_FillEllipsePen65535)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawCirclePen65535)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawCircleRadius30000Pen60000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawCircleRadius1000Pen1500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawCircleRadius65535)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawArcRadius65535)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillEllipseAspectScaled)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillEllipseAspectScaledPen300)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillPolygonHugePen65535)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawSegmentPen65535)->Unit(benchmark::kMillisecond);

}  // namespace
