// The program around the dots: its window, frame order and drawing.
#include "dots_segments.h"
#include "frame_flip.h"
#include "frame_pacing.h"
#include "program_input.h"
#include "program_window.h"
#include "reflection_page.h"
#include "tavrel.h"

namespace {

constexpr uint8_t DotColor = 128;       // light green
constexpr uint8_t MirroredColor = 253;  // yellow
constexpr uint8_t SegmentColor = 250;   // white

void DrawDots() {
    for (int32_t i = 0; i < DotCapacity; i++) {
        if (DotLooks[i] == DotHidden) continue;
        SetDrawColor(NamedColors[DotLooks[i] == DotMirrored ? MirroredColor : DotColor]);
        DrawCircle(RealToCoord(Dots[i].X), RealToCoord(Dots[i].Y), DotSize);
    }
}

void DrawSegments() {
    SetDrawColor(NamedColors[SegmentColor]);
    for (const TUserSegment& s : UserSegments)
        if (s.State == 1)
            DrawSegment(RealToCoord(s.X1), RealToCoord(s.Y1), RealToCoord(s.X2), RealToCoord(s.Y2));
}

}  // namespace

bool RunDotsFrame() {
    // The pointer as it was before this frame's drawing.
    const int32_t x = MouseX(), y = MouseY();
    const uint16_t buttons = MouseButtons();
    FlipFramePage(FramePage);
    ClearWholeWindow();
    MoveDots(GetRightEdge(), GetBottomEdge());
    DrawDots();
    DrawSegments();
    HandleDotPresses(buttons, x, y);
    return KeyWaiting();
}

int DotsAndSegmentsMain() {
    if (!OpenProgramWindow("dots_and_segments", 3, 6, "LINII SI BILE")) return 1;
    FramePage = 0;
    ResetDotsAndSegments();
    while (!RunDotsFrame()) PaceFrame();
    CloseGraphWindow();
    return 0;
}
