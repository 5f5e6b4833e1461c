// An OpenGL program's whole frames through its real window path: the window
// opened as the program opens it, the window target selected, the program's
// own frame routine (simulation, drawing and the buffer swap) run frame after
// frame without pacing and without input. Time is the wall time of a frame,
// CPU the whole process's CPU time of a frame (the renderer's threads
// included): CPU / Time is the share of a core the program keeps busy. Needs
// an X server (tools/with_xvfb.sh).
#pragma once

#include <benchmark/benchmark.h>

#include "program_window.h"
#include "tavrel.h"

// A few seconds of frames, five times over: the median of each figure.
inline void GlProgramFrameRuns(benchmark::internal::Benchmark* b) {
    b->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond)->MinTime(2)->Repetitions(5)
        ->ReportAggregatesOnly(true);
}

inline bool OpenGlProgramWindow(benchmark::State& state, const char* program, int16_t mode,
                                const char* caption) {
    if (!OpenProgramWindow(program, 3, mode, caption, true)) {
        state.SkipWithError("no window or no OpenGL");
        return false;
    }
    SelectGlTarget(true);
    return true;
}

template <typename TFrame>
void RunGlProgramFrames(benchmark::State& state, TFrame frame) {
    for (int i = 0; i < 20; i++) frame();  // the first swaps compile the renderer's shaders
    for (auto _ : state) frame();
    state.counters["frames/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

inline void CloseGlProgramWindow() {
    SelectGlTarget(false);
    CloseGraphWindow();
}
