#include "frame_pacing.h"

#include <chrono>
#include <thread>

bool FramePacingOn = true;

namespace {

using TClock = std::chrono::steady_clock;

TClock::time_point PacingStart;
int64_t PacedFrames = -1;  // -1: not counting

TClock::time_point FrameTime(int64_t frame) {
    return PacingStart + std::chrono::nanoseconds(frame * 1000000000 / PacedFramesPerSecond);
}

}  // namespace

void ResetFramePacing() { PacedFrames = -1; }

void PaceFrame() {
    if (!FramePacingOn) return;
    TClock::time_point now = TClock::now();
    if (PacedFrames < 0 || now > FrameTime(PacedFrames + 2)) {
        PacingStart = now;
        PacedFrames = 0;
    }
    PacedFrames++;
    std::this_thread::sleep_until(FrameTime(PacedFrames));
}
