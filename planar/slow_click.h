// A click as the mirror programs' end-to-end tests give it.
#pragma once

#include <chrono>
#include <thread>

#include "test_support/program_test.h"

// The programs read the buttons once a frame: a click held for less than a
// frame may pass unseen, as it would for a user.
inline void SlowClick(TProgramRun& run, int x, int y, unsigned button) {
    MovePointer(run.Driver, run.Win, x, y);
    HoldButton(run.Driver, button, true);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    HoldButton(run.Driver, button, false);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
}
