// Screen reading and input with held buttons for the box-ball programs'
// end-to-end tests. The programs read the keys and the button word once a
// frame, so a press lasts until its effect shows.
#pragma once

#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "test_support/program_test.h"

namespace box_xtest {

constexpr const char* Caption = "BILE IN CUTIE";
constexpr int Width = 800, Height = 600;

inline void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

template <class Test>
int CountWhere(const std::vector<uint32_t>& pixels, Test test) {
    int n = 0;
    for (uint32_t p : pixels) n += test(p) ? 1 : 0;
    return n;
}

inline int CountRgb(const std::vector<uint32_t>& pixels, uint32_t rgb) {
    return CountWhere(pixels, [rgb](uint32_t p) { return p == rgb; });
}

// True when the picture changes from the reading before.
inline bool ChangesFrom(TProgramRun& run, const std::vector<uint32_t>& before) {
    return WaitUntil(SignalWaitMs, [&] { return WindowShot(run) != before; });
}

// How long a picture must stay the same before no frame is left to come:
// eight times the mean gap between the changes of the running scene (so a
// loaded machine waits longer), and at least 150 ms. A paused scene gives
// no positive sign of a frame that changed nothing.
inline int SettleGapMs = 1000;

inline void MeasureSettleGap(TProgramRun& run) {
    const int64_t start = SteadyNowNs();
    for (int i = 0; i < 5; i++)
        if (!ChangesFrom(run, WindowShot(run))) return;
    SettleGapMs = std::max(150, int(8 * (SteadyNowNs() - start) / 5 / 1000000));
}

// True once two readings taken the settle gap apart are equal.
inline bool SettlesStill(TProgramRun& run) {
    return WaitUntil(SignalWaitMs, [&] {
        std::vector<uint32_t> a = WindowShot(run);
        Sleep(SettleGapMs);
        return !a.empty() && a == WindowShot(run);
    });
}

// A left press held until a new red ball shows: the programs look at the
// button word once a frame.
inline bool ClickAddsRed(TProgramRun& run, uint32_t red, int pixels) {
    MovePointer(run.Driver, run.Win, 400, 300);
    const int before = CountRgb(WindowShot(run), red);
    return HoldButtonUntil(run, 1, [&] { return CountRgb(WindowShot(run), red) > before + pixels; });
}

// A right-button drag in steps from (x1, y1), where frames have seen the
// pointer at rest: a turn counts the pointer's motion since the frame before,
// so a jump there before the press would count too. Each step of a drag that
// turns is waited for, so the last frame with the button down saw the end.
inline void SlowRightDrag(TProgramRun& run, int x1, int y1, int x2, int y2, bool turns = true) {
    HoldButton(run.Driver, 3, true);
    for (int i = 1; i <= 4; i++) {
        const std::vector<uint32_t> before = WindowShot(run);
        MovePointer(run.Driver, run.Win, x1 + (x2 - x1) * i / 4, y1 + (y2 - y1) * i / 4);
        if (turns)
            EXPECT_TRUE(ChangesFrom(run, before)) << "a right drag does not turn";
        else
            Sleep(SettleGapMs);
    }
    HoldButton(run.Driver, 3, false);
}

// Puts the pointer at (x, y) in a still picture and waits until frames have
// seen it there: the frames that show the effect of the key there, and of
// the key back, read the pointer after it moved.
inline void PointerRestsAt(TProgramRun& run, int x, int y, KeySym there, KeySym back) {
    MovePointer(run.Driver, run.Win, x, y);
    for (KeySym key : {there, back}) {
        const std::vector<uint32_t> before = WindowShot(run);
        PressKey(run.Driver, key);
        ASSERT_TRUE(ChangesFrom(run, before)) << XKeysymToString(key) << " changes nothing";
    }
}

// A right drag that ends 60 px left of the window turns by its signed
// 160 px; the same drag back inside the window undoes it. Read unsigned, the
// first would turn by some 65,000 px. There and back are keys whose effects
// show and undo each other.
inline void ExpectDragOutAndBackUndone(TProgramRun& run, KeySym there, KeySym back) {
    ASSERT_TRUE(SettlesStill(run));
    const std::vector<uint32_t> before = WindowShot(run);
    PointerRestsAt(run, 100, 300, there, back);
    SlowRightDrag(run, 100, 300, -60, 300);
    ASSERT_TRUE(SettlesStill(run));
    EXPECT_NE(WindowShot(run), before);
    PointerRestsAt(run, 400, 300, there, back);
    SlowRightDrag(run, 400, 300, 560, 300);
    ASSERT_TRUE(SettlesStill(run));
    EXPECT_EQ(WindowShot(run), before);
}

// Holds the key until the picture changes.
inline bool HeldKeyChangesPicture(TProgramRun& run, KeySym key) {
    const std::vector<uint32_t> before = WindowShot(run);
    return HoldKeyUntil(run, key, [&] { return WindowShot(run) != before; });
}

inline void ExpectEscEndsWithZero(TProgramRun& run) {
    std::string why;
    EXPECT_TRUE(KeyEndsWithZero(run, XK_Escape, why)) << why;
}

inline void ExpectCloseBoxKeepsItRunning(TProgramRun& run) {
    SendCloseRequest(run.Driver, run.Win);
    EXPECT_TRUE(StillRunningAfter(run, 500));
}

}  // namespace box_xtest
