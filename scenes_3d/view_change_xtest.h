// What the end-to-end tests of the three-dimensional programs watch: the
// box around the pixels of a colour that only the camera moves (a grid, a
// cube, a terrain), and keys and drags held as long as a person holds them.
#pragma once

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <initializer_list>
#include <thread>

#include "test_support/program_test.h"

inline constexpr TPixelRect WholeWindow{0, 0, 799, 599};

inline void PauseMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

inline bool SameBox(const TPixelCount& a, const TPixelCount& b, int slack) {
    return std::abs(a.X1 - b.X1) <= slack && std::abs(a.Y1 - b.Y1) <= slack &&
           std::abs(a.X2 - b.X2) <= slack && std::abs(a.Y2 - b.Y2) <= slack;
}

// The box once two reads 150 ms apart agree: the view has stopped moving.
inline TPixelCount SettledBox(TProgramRun& run, const TColorRange& range) {
    TPixelCount last = CountPixels(run, range, WholeWindow);
    WaitUntil(3000, [&] {
        PauseMs(150);
        const TPixelCount now = CountPixels(run, range, WholeWindow);
        const bool settled = now.Count > 0 && SameBox(now, last, 0);
        last = now;
        return settled;
    });
    return last;
}

inline void HoldKeyFor(TProgramRun& run, KeySym key, int ms) {
    HoldKey(run.Driver, key, true);
    PauseMs(ms);
    HoldKey(run.Driver, key, false);
}

// A drag slow enough that every step is seen by a frame of its own.
inline void SlowDrag(TProgramRun& run, int x1, int y1, int x2, int y2, unsigned button) {
    MovePointer(run.Driver, run.Win, x1, y1);
    PauseMs(100);
    HoldButton(run.Driver, button, true);
    PauseMs(100);
    for (int i = 1; i <= 8; i++) {
        MovePointer(run.Driver, run.Win, x1 + (x2 - x1) * i / 8, y1 + (y2 - y1) * i / 8);
        PauseMs(25);
    }
    PauseMs(100);
    HoldButton(run.Driver, button, false);
}

// Each key held for a moment moves the box; the box after the last key.
inline TPixelCount ExpectKeysMoveBox(TProgramRun& run, const TColorRange& range,
                                     std::initializer_list<KeySym> keys) {
    TPixelCount before = SettledBox(run, range);
    for (KeySym key : keys) {
        HoldKeyFor(run, key, 300);
        const TPixelCount after = SettledBox(run, range);
        EXPECT_FALSE(SameBox(after, before, 4)) << "key " << XKeysymToString(key) << " moves nothing";
        before = after;
    }
    return before;
}

// The close box leaves the program running; Esc held ends it with status 0
// within 2 s.
inline void ExpectOnlyHeldEscEnds(TProgramRun& run) {
    SendCloseRequest(run.Driver, run.Win);
    EXPECT_TRUE(StillRunningAfter(run, 500)) << "the close box ends it";
    HoldKey(run.Driver, XK_Escape, true);
    int status = -1;
    EXPECT_TRUE(WaitProgramStatus(run, 2000, status)) << "Esc held does not end it";
    HoldKey(run.Driver, XK_Escape, false);
    EXPECT_EQ(status, 0);
}
