// The end-to-end test of a program: start the real executable, find its
// window by caption, drive it with XTest keys and pointer events (xdriver.h),
// read its window back and collect its exit status and standard error.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "test_support/xdriver.h"

struct TProgramRun {
    TXDriver Driver;
    TChildProgram Child;
    Window Win = 0;
    std::string ErrorPath;  // the program's standard error goes here
};

// Connects the driver, starts path (its standard error captured), waits for
// the window of that caption to be mapped and focuses it. False, with the
// reason in why, when any of that fails within timeoutMs or the program ends
// first: why then names the windows that are there, the program's exit status
// and its standard error.
bool StartProgramWindow(TProgramRun& run, const char* path, const char* caption,
                        std::string& why, const std::vector<std::string>& setEnv = {},
                        int timeoutMs = SignalWaitMs);
// Starts path without waiting for a window (for runs meant to fail).
bool StartProgramOnly(TProgramRun& run, const char* path, const std::vector<std::string>& setEnv = {},
                      const std::vector<std::string>& unsetEnv = {});
// Stops the program if it still runs, closes the driver, removes the file.
void EndProgramRun(TProgramRun& run);

// True when the program ended within timeoutMs; status is its exit status or
// 128 + the signal that ended it.
bool WaitProgramStatus(TProgramRun& run, int timeoutMs, int& status);
// True when the program is still running after ms milliseconds: for what must
// not happen, best after a positive signal that the program took in the event.
bool StillRunningAfter(TProgramRun& run, int ms);
// What the program wrote to standard error so far.
std::string ProgramErrors(const TProgramRun& run);

// A rectangle of window pixels, corners included.
struct TPixelRect {
    int X1, Y1, X2, Y2;
};

// A colour range per channel, inclusive, of 0x00RRGGBB pixels.
struct TColorRange {
    uint8_t RedLow, RedHigh, GreenLow, GreenHigh, BlueLow, BlueHigh;
};
constexpr TColorRange ExactColor(uint32_t rgb) {
    return {uint8_t(rgb >> 16), uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb >> 8),
            uint8_t(rgb), uint8_t(rgb)};
}

struct TPixelCount {
    int Count = 0;
    int X1 = 1 << 30, Y1 = 1 << 30, X2 = -1, Y2 = -1;  // the bounding box of the matches
    int CenterX() const { return (X1 + X2) / 2; }
    int CenterY() const { return (Y1 + Y2) / 2; }
};

// The pixels of the range within rect; Count -1 when the window cannot be read.
TPixelCount CountPixels(TProgramRun& run, const TColorRange& range, const TPixelRect& rect);

// Polls until condition() is true or timeoutMs pass; true when it held.
template <class Condition>
bool WaitUntil(int timeoutMs, Condition condition);

// Polls the window until condition(count) holds for the pixels of range in rect.
template <class Condition>
bool WaitForPixels(TProgramRun& run, const TColorRange& range, const TPixelRect& rect,
                   Condition condition, int timeoutMs = SignalWaitMs) {
    return WaitUntil(timeoutMs, [&] { return condition(CountPixels(run, range, rect)); });
}

// Holds the key down until condition() holds, then lets it up: programs poll
// held keys and buttons once a frame, and a frame comes late on a loaded
// machine. False when the condition never held.
template <class Condition>
bool HoldKeyUntil(TProgramRun& run, KeySym key, Condition condition, int timeoutMs = SignalWaitMs);
// The same for a pointer button.
template <class Condition>
bool HoldButtonUntil(TProgramRun& run, unsigned button, Condition condition, int timeoutMs = SignalWaitMs);

// The whole window's pixels; empty when it cannot be read.
std::vector<uint32_t> WindowShot(TProgramRun& run);
// Waits until the picture has changed three times. The frame behind the last
// change began after an earlier one was shown, so it read the keys, the
// pointer and the buttons as they are now, however slowly the program runs.
// For pictures that keep moving.
bool WaitNewFrames(TProgramRun& run);

// Runs path with DISPLAY unset: true when it ended within timeoutMs with
// status and its standard error in errors.
bool RunWithoutDisplay(const char* path, int timeoutMs, int& status, std::string& errors);
// The close box of a program that ignores it: still running 300 ms later.
// Where a key has a visible effect, a test sends that key after the close
// request and waits for its effect instead: the program has read past it.
bool CloseBoxKeepsItRunning(TProgramRun& run);
// A key press (an X key symbol) that must end the program with status 0;
// false with the reason in why otherwise.
bool KeyEndsWithZero(TProgramRun& run, unsigned long keySym, std::string& why);
// The same for a key held down until the program has ended.
bool HeldKeyEndsWithZero(TProgramRun& run, unsigned long keySym, std::string& why);

// What every program must do without a display: end with status 1 and one
// line on stderr that names the program and asks for a display. False with
// the reason in why otherwise.
bool FailsWithoutDisplay(const char* path, const char* program, std::string& why);
// What a program that needs OpenGL must do without an EGL driver: end with
// status 1 and the one line "<program>: cannot open the window: OpenGL is
// unavailable". False with the reason in why otherwise.
bool FailsWithoutOpenGl(const char* path, const char* program, std::string& why);

// ---- template definitions

bool WaitUntilStep(int64_t startNs, int timeoutMs);  // sleeps a poll interval; false past the time
int64_t SteadyNowNs();

template <class Condition>
bool WaitUntil(int timeoutMs, Condition condition) {
    int64_t start = SteadyNowNs();
    for (;;) {
        if (condition()) return true;
        if (!WaitUntilStep(start, timeoutMs)) return condition();
    }
}

template <class Press, class Condition>
bool HoldUntil(Press press, Condition condition, int timeoutMs) {
    press(true);
    const bool held = WaitUntil(timeoutMs, condition);
    press(false);
    return held;
}

template <class Condition>
bool HoldKeyUntil(TProgramRun& run, KeySym key, Condition condition, int timeoutMs) {
    return HoldUntil([&](bool down) { HoldKey(run.Driver, key, down); }, condition, timeoutMs);
}

template <class Condition>
bool HoldButtonUntil(TProgramRun& run, unsigned button, Condition condition, int timeoutMs) {
    return HoldUntil([&](bool down) { HoldButton(run.Driver, button, down); }, condition, timeoutMs);
}
