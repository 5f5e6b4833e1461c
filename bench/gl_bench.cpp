// The window context's frame cost at 800 x 600 with the software renderer:
// clear and swap; and the bitmap context's read-back into a palette page.
// Needs an X server: run under tools/with_xvfb.sh.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include "gl_unit.h"
#include "graph_unit.h"

namespace {

bool OpenGlWindow(benchmark::State& state) {
    int16_t driver = 3, mode = 6;
    OpenGraphWindow(driver, mode, "gl bench");
    if (GraphWindowIsOpen() && GlAvailable) return true;
    state.SkipWithError("no window or no OpenGL");
    CloseGraphWindow();
    return false;
}

void WindowClearAndSwap(benchmark::State& state) {
    if (!OpenGlWindow(state)) return;
    SelectGlTarget(true);
    glClearColor(0.2f, 0.3f, 0.4f, 1.0f);
    for (int i = 0; i < 20; ++i) {  // the first swaps compile the renderer's shaders
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        SetRefreshMode(2);
    }
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        SetRefreshMode(2);
    }
    glFinish();
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                    benchmark::Counter::kIsRate);
    SelectGlTarget(false);
    CloseGraphWindow();
}
BENCHMARK(WindowClearAndSwap)->Unit(benchmark::kMillisecond)->UseRealTime();

// Argument 0: a flat-coloured frame (few colours); 1: smooth shading, tens of
// thousands of colours, each matched to the palette once it is met.
void BitmapFrameToPalettePage(benchmark::State& state) {
    if (!OpenGlWindow(state)) return;
    const float shaded = state.range(0) ? 1.0f : 0.0f;
    SelectDrawPage(1);
    for (auto _ : state) {
        glClearColor(0.0f, 0.0f, 0.5f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glBegin(GL_TRIANGLES);
        glColor3f(1.0f, 0.0f, 0.0f);
        glVertex2f(-1.0f, -1.0f);
        glColor3f(1.0f - shaded, shaded, 0.0f);
        glVertex2f(1.0f, -1.0f);
        glColor3f(1.0f, shaded, 0.0f);
        glVertex2f(-1.0f, 1.0f);
        glEnd();
        SetRefreshMode(2);
    }
    CloseGraphWindow();
}
BENCHMARK(BitmapFrameToPalettePage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
