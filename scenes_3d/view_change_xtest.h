// What the end-to-end tests of the three-dimensional programs watch: the
// box around the pixels of a colour that only the camera moves (a grid, a
// cube, a terrain), and keys and drags held until frames have taken them in.
#pragma once

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <string>

#include "test_support/program_test.h"

inline constexpr TPixelRect WholeWindow{0, 0, 799, 599};

inline bool SameBox(const TPixelCount& a, const TPixelCount& b, int slack) {
    return std::abs(a.X1 - b.X1) <= slack && std::abs(a.Y1 - b.Y1) <= slack &&
           std::abs(a.X2 - b.X2) <= slack && std::abs(a.Y2 - b.Y2) <= slack;
}

// The box once frames have run after everything sent so far: the balls keep
// the picture moving, so new frames show.
inline TPixelCount SettledBox(TProgramRun& run, const TColorRange& range) {
    EXPECT_TRUE(WaitNewFrames(run)) << "the picture stands still";
    return CountPixels(run, range, WholeWindow);
}

// A drag in steps, each seen by frames of its own, from a pointer that
// frames saw at rest.
inline void SlowDrag(TProgramRun& run, int x1, int y1, int x2, int y2, unsigned button) {
    MovePointer(run.Driver, run.Win, x1, y1);
    WaitNewFrames(run);
    HoldButton(run.Driver, button, true);
    WaitNewFrames(run);
    for (int i = 1; i <= 4; i++) {
        MovePointer(run.Driver, run.Win, x1 + (x2 - x1) * i / 4, y1 + (y2 - y1) * i / 4);
        WaitNewFrames(run);
    }
    HoldButton(run.Driver, button, false);
}

// Each key held until the box moves; the box once the view stands again
// after the last key.
inline TPixelCount ExpectKeysMoveBox(TProgramRun& run, const TColorRange& range,
                                     std::initializer_list<KeySym> keys) {
    TPixelCount before = SettledBox(run, range);
    for (KeySym key : keys) {
        EXPECT_TRUE(HoldKeyUntil(run, key, [&] {
            return !SameBox(CountPixels(run, range, WholeWindow), before, 4);
        })) << "key " << XKeysymToString(key) << " moves nothing";
        before = SettledBox(run, range);
    }
    return before;
}

// The close box leaves the program running, drawing new frames; Esc held
// ends it with status 0.
inline void ExpectOnlyHeldEscEnds(TProgramRun& run) {
    SendCloseRequest(run.Driver, run.Win);
    EXPECT_TRUE(WaitNewFrames(run)) << "the close box ends it";
    std::string why;
    EXPECT_TRUE(HeldKeyEndsWithZero(run, XK_Escape, why)) << why;
}
