// Screen reading and input with held buttons for the box-ball programs'
// end-to-end tests. The programs read the button word once a frame, so a
// click must last longer than a frame to be seen.
#pragma once

#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "test_support/program_test.h"

namespace box_xtest {

constexpr const char* Caption = "BILE IN CUTIE";
constexpr int Width = 800, Height = 600;

inline void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

inline std::vector<uint32_t> Shot(TProgramRun& run) {
    std::vector<uint32_t> pixels;
    ReadWindowPixels(run.Driver, run.Win, 0, 0, Width, Height, pixels);
    return pixels;
}

template <class Test>
int CountWhere(const std::vector<uint32_t>& pixels, Test test) {
    int n = 0;
    for (uint32_t p : pixels) n += test(p) ? 1 : 0;
    return n;
}

inline int CountRgb(const std::vector<uint32_t>& pixels, uint32_t rgb) {
    return CountWhere(pixels, [rgb](uint32_t p) { return p == rgb; });
}

// True once two readings taken gapMs apart are equal.
inline bool SettlesStill(TProgramRun& run, int gapMs = 150, int timeoutMs = 3000) {
    return WaitUntil(timeoutMs, [&] {
        std::vector<uint32_t> a = Shot(run);
        Sleep(gapMs);
        return !a.empty() && a == Shot(run);
    });
}

// True when the picture changes within timeoutMs from the reading before.
inline bool ChangesFrom(TProgramRun& run, const std::vector<uint32_t>& before, int timeoutMs = 3000) {
    return WaitUntil(timeoutMs, [&] { return Shot(run) != before; });
}

inline void LongClick(TProgramRun& run, int x, int y, unsigned button = 1) {
    MovePointer(run.Driver, run.Win, x, y);
    Sleep(60);
    HoldButton(run.Driver, button, true);
    Sleep(120);
    HoldButton(run.Driver, button, false);
    Sleep(60);
}

// A right-button drag in slow steps, so that every step is seen.
// Generous pauses at either end, and the release only once the picture has
// stopped turning: a busy machine may draw a frame only every few tens of
// milliseconds, and a frame that never saw the pointer at rest at either end
// turns the view by a different amount.
inline void SlowRightDrag(TProgramRun& run, int x1, int y1, int x2, int y2) {
    MovePointer(run.Driver, run.Win, x1, y1);
    Sleep(250);
    HoldButton(run.Driver, 3, true);
    Sleep(60);
    for (int i = 1; i <= 8; i++) {
        MovePointer(run.Driver, run.Win, x1 + (x2 - x1) * i / 8, y1 + (y2 - y1) * i / 8);
        Sleep(40);
    }
    SettlesStill(run);
    HoldButton(run.Driver, 3, false);
    Sleep(60);
}

// A right drag that ends 60 px left of the window turns by its signed
// 160 px; the same drag back inside the window undoes it. Read unsigned, the
// first would turn by some 65,000 px.
inline void ExpectDragOutAndBackUndone(TProgramRun& run) {
    ASSERT_TRUE(SettlesStill(run));
    const std::vector<uint32_t> before = Shot(run);
    SlowRightDrag(run, 100, 300, -60, 300);
    ASSERT_TRUE(SettlesStill(run));
    EXPECT_NE(Shot(run), before);
    SlowRightDrag(run, 400, 300, 560, 300);
    ASSERT_TRUE(SettlesStill(run));
    EXPECT_EQ(Shot(run), before);
}

inline void HoldKeyFor(TProgramRun& run, KeySym key, int ms) {
    HoldKey(run.Driver, key, true);
    Sleep(ms);
    HoldKey(run.Driver, key, false);
}

inline void ExpectEscEndsWithZero(TProgramRun& run) {
    PressKey(run.Driver, XK_Escape);
    int status = -1;
    ASSERT_TRUE(WaitProgramStatus(run, 2000, status)) << "still running 2 s after Esc";
    EXPECT_EQ(status, 0);
}

inline void ExpectCloseBoxKeepsItRunning(TProgramRun& run) {
    SendCloseRequest(run.Driver, run.Win);
    EXPECT_TRUE(StillRunningAfter(run, 500));
}

inline void ExpectNoDisplayGivesOneLine(const char* path) {
    int status = -1;
    std::string errors;
    ASSERT_TRUE(RunWithoutDisplay(path, 5000, status, errors));
    EXPECT_EQ(status, 1);
    ASSERT_FALSE(errors.empty());
    EXPECT_EQ(errors.find('\n'), errors.size() - 1) << errors;
}

}  // namespace box_xtest
