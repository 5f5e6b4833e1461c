#include "ball_heap_frame.h"

#include "ball_heap_sim.h"
#include "coords.h"
#include "frame_flip.h"
#include "frame_pacing.h"
#include "key_codes.h"
#include "program_input.h"
#include "program_window.h"
#include "tavrel.h"

namespace {

int16_t FramePage = 0;
uint16_t PreviousButtons = 0;
}  // namespace

uint8_t BallHeapFrame() {
    FlipFramePageDrawFirst(FramePage);
    ClearWholeWindow();
    const int32_t x = MouseX(), y = MouseY();
    const uint16_t b = MouseButtons();
    // Held, not only pressed: the ball stays under the pointer.
    if (b == 1) DragNearestHeapBall(x, y);
    const uint8_t key = ReadKeyCode();
    if (key == KeySpace || (b == 2 && b != PreviousButtons))
        AddHeapBall(GetRightEdge(), GetBottomEdge(), ProgramRandom);
    HeapPairPass();
    const uint16_t radius = static_cast<uint16_t>(HeapRadius);
    for (int32_t k = 0; k < HeapBallCount; k++) {
        MoveHeapBall(HeapBalls[k]);
        DrawCircle(RealToCoord(HeapBalls[k].X), RealToCoord(HeapBalls[k].Y), radius);
    }
    PreviousButtons = b;
    return key;
}

int BallHeapMain() {
    if (!OpenProgramWindow("ball_heap", 3, 6, "BILE")) return 1;
    FramePage = 0;
    PreviousButtons = 0;
    // Never seeded: added balls take the same offsets in every run.
    PlaceHeapBalls(GetRightEdge(), GetBottomEdge());
    while (BallHeapFrame() != KeyEsc) PaceFrame();
    CloseGraphWindow();
    return 0;
}
