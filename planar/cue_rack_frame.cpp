// The program around the rack: its window, frame order and drawing.
#include "cue_rack.h"
#include "extended_ops.h"
#include "frame_flip.h"
#include "frame_pacing.h"
#include "key_codes.h"
#include "program_input.h"
#include "program_window.h"
#include "tavrel.h"

namespace {

constexpr uint8_t White = 250;
constexpr double TickLength = 15;

int16_t RackPage = 0;

void Line(long double x1, long double y1, long double x2, long double y2) {
    DrawSegment(RealToCoord(Rounded(x1)), RealToCoord(Rounded(y1)), RealToCoord(Rounded(x2)),
                RealToCoord(Rounded(y2)));
}

void DrawRack() {
    for (int32_t i = 0; i < RackBallCount; i++) {
        const TRackBall& b = RackBalls[i];
        SetDrawColor(static_cast<uint32_t>(b.Colour));
        DrawCircle(RealToCoord(b.X), RealToCoord(b.Y), static_cast<uint16_t>(RealToCoord(b.R)));
        // One second's travel.
        SetDrawColor(NamedColors[White]);
        Line(b.X, b.Y, static_cast<long double>(b.X) + b.VX, static_cast<long double>(b.Y) + b.VY);
    }
    for (int32_t i = 0; i < RackWallCount; i++) {
        const TOneSidedWall& w = RackWalls[i];
        SetDrawColor(NamedColors[White]);
        Line(w.X1, w.Y1, w.X2, w.Y2);
        // A tick on the side the wall acts on.
        const long double mx = (static_cast<long double>(w.X1) + w.X2) / 2;
        const long double my = (static_cast<long double>(w.Y1) + w.Y2) / 2;
        Line(mx, my, mx + TickLength * w.NX, my + TickLength * w.NY);
    }
}
}  // namespace

uint8_t RunRackFrame() {
    FlipFramePage(RackPage);
    ClearWholeWindow();
    DrawRack();
    FindEarliestEvent();
    AdvanceRackBalls();
    ResolveRackEvent();
    const uint8_t key = ReadKeyCode();
    SteerCueBall(key, GetRightEdge(), GetBottomEdge());
    return key;
}

int CueRackEventsMain() {
    if (!OpenProgramWindow("cue_rack_events", 3, 6, "FIZICA BILELOR")) return 1;
    RackPage = 0;
    SeedRandom(ProgramRandom, TickCount());
    SetUpRack(GetRightEdge(), GetBottomEdge(), static_cast<int32_t>(NamedColors[White]), ProgramRandom);
    // The close box queues a key that is not Esc: only Esc ends.
    while (RunRackFrame() != KeyEsc) PaceFrame();
    CloseGraphWindow();
    return 0;
}
