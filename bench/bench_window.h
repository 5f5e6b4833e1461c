// The one window of a benchmark process, opened at 800 x 600 for the driver a
// benchmark asks for (reopened when it changes); DoneGraphUnit closes it at
// exit. Needs an X server (tools/with_xvfb.sh).
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <mutex>
#include <thread>

#include "graph_unit.h"

inline bool EnsureBenchWindow(int16_t driver, benchmark::State& state) {
    if (GraphWindowIsOpen() && GraphDriver == driver) return true;
    if (GraphWindowIsOpen()) CloseGraphWindow();
    int16_t mode = 6;
    OpenGraphWindow(driver, mode, "benchmark window");
    if (!GraphWindowIsOpen()) {
        state.SkipWithError("the window did not open (no X display?)");
        return false;
    }
    // Something other than zeros in every page, and time for the first expose.
    // A page may be what the server is reading: written as drawing writes.
    for (uint16_t p = 0; p < PageCount; ++p) {
        std::lock_guard<std::recursive_mutex> lock(DrawLock);
        AwaitPresentOf(p);
        TPage& page = Pages[p];
        for (size_t i = 0; i < page.Pixels.size(); ++i) page.Pixels[i] = uint8_t(i * 7);
        page.BlankKnown = false;
        page.Written = {0, 0, PageWidth - 1, PageHeight - 1};
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    return true;
}
