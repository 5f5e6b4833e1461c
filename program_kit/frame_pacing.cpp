#include "frame_pacing.h"

#include <chrono>
#include <thread>

bool FramePacingOn = true;

namespace {

using TClock = std::chrono::steady_clock;

TClock::time_point PacingStart;
int64_t PacedFrames = -1;  // -1: not counting
constexpr int64_t MaxFramesBehind = 15;  // a quarter of a second

TClock::time_point FrameTime(int64_t frame) {
    return PacingStart + std::chrono::nanoseconds(frame * 1000000000 / PacedFramesPerSecond);
}

}  // namespace

void ResetFramePacing() { PacedFrames = -1; }

void PaceFrame() {
    if (!FramePacingOn) return;
    TClock::time_point now = TClock::now();
    // A late wake-up (a busy machine) is made up over the next frames; a
    // loop that fell far behind (it paused, or a frame took long) starts
    // counting afresh instead of racing through the frames it missed.
    if (PacedFrames < 0 || now > FrameTime(PacedFrames + MaxFramesBehind)) {
        PacingStart = now;
        PacedFrames = 0;
    }
    PacedFrames++;
    std::this_thread::sleep_until(FrameTime(PacedFrames));
}
