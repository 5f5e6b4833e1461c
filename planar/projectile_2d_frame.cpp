#include "projectile_2d_frame.h"

#include "coords.h"
#include "frame_flip.h"
#include "frame_pacing.h"
#include "program_input.h"
#include "program_window.h"
#include "tavrel.h"
#include "throw_2d.h"

namespace {

int16_t FramePage = 0;
uint16_t PreviousButtons = 0;

void DrawThrowBall(double x, double y, double r) {
    SetDrawColor(NamedColors[207]);
    SetAreaFill(1, NamedColors[207]);
    const uint16_t radius = static_cast<uint16_t>(RealToCoord(r));
    FillEllipseShape(RealToCoord(x), RealToCoord(y), radius, radius);
}

}  // namespace

bool AimFrame() {
    FlipFramePageDrawFirst(FramePage);
    ClearWholeWindow();
    const int32_t x = MouseX(), y = MouseY();
    const uint16_t b = MouseButtons();
    if (b == 1 && b != PreviousButtons) AimPress(Throw2D, x, y);
    if (Throw2D.Stage > 0) {
        DrawThrowBall(Throw2D.PX, Throw2D.PY, Throw2D.R);
        SetDrawColor(NamedColors[250]);
        DrawSegment(RealToCoord(Throw2D.PX), RealToCoord(Throw2D.PY), static_cast<int16_t>(x),
                    static_cast<int16_t>(y));
    }
    PreviousButtons = b;
    return Throw2D.Stage == 2 || KeyWaiting();
}

void WaitButtonsReleased() {
    // A short sleep between polls: waiting flat out would keep a core busy
    // for as long as the button is held.
    while (MouseButtons() != 0 && !KeyWaiting()) PauseMilliseconds(1);
}

TFlightEnd FlightFrame(uint16_t pauseMs) {
    FlipFramePageDrawFirst(FramePage);
    ClearWholeWindow();
    const uint16_t b = MouseButtons();
    StepThrow(Throw2D, GetRightEdge(), GetBottomEdge());
    DrawThrowBall(Throw2D.QX, Throw2D.QY, Throw2D.R);
    PauseMilliseconds(pauseMs);
    const bool key = KeyWaiting();
    if (!key && b == 0) return TFlightEnd::Flying;
    return key || b == 2 ? TFlightEnd::EndProgram : TFlightEnd::NewThrow;
}

int Projectile2DMain() {
    if (!OpenProgramWindow("projectile_2d", 3, 6, "ARUNCAREA PE OBLICA")) return 1;
    FramePage = 0;
    PreviousButtons = 0;
    for (;;) {
        SetUpThrow(Throw2D);
        while (!AimFrame()) PaceFrame();
        WaitButtonsReleased();
        TFlightEnd end = TFlightEnd::Flying;
        while ((end = FlightFrame(10)) == TFlightEnd::Flying) {
        }
        if (end == TFlightEnd::EndProgram) break;
    }
    CloseGraphWindow();
    return 0;
}
