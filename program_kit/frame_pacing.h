// Frame pacing for loops that have no pause of their own. Their simulations
// advance one fixed step a frame, so unpaced they would run as fast as the
// processor goes (thousands of frames a second), far too fast to watch, and
// keep a core busy. Paced, they run at 60 frames a second, as a display's
// refresh would show them.
#pragma once

#include <cstdint>

constexpr int32_t PacedFramesPerSecond = 60;

// On in the programs; tests and benchmarks switch it off to run flat out.
extern bool FramePacingOn;

// Sleeps until the next frame time. Frame times are counted from the first
// call, so there is no drift; a loop that falls more than a few frames
// behind starts counting afresh instead of rushing to catch up.
void PaceFrame();
// Starts counting afresh at the next call (after a pause of the program's own).
void ResetFramePacing();
