// The program around the peg field: its window, frame order and drawing.
#include <cmath>

#include "extended_ops.h"
#include "frame_flip.h"
#include "peg_field.h"
#include "program_input.h"
#include "program_window.h"
#include "reflection_page.h"
#include "tavrel.h"

namespace {

constexpr uint8_t PegColor = 207;    // red
constexpr uint8_t DropColor = 122;   // light blue, the arrows too
constexpr uint8_t BurstColor = 105;  // green
constexpr int32_t BurstRays = 13;    // every half radian below 6.2
constexpr uint16_t PausePerFrameMs = 10;

void DrawRound(double x, double y, double r) {
    DrawCircle(RealToCoord(x), RealToCoord(y), static_cast<uint16_t>(RealToCoord(r)));
}

void DrawBurst() {
    if (BurstCounter <= 0) return;
    SetDrawColor(NamedColors[BurstColor]);
    for (int32_t ray = 0; ray < BurstRays; ray++) {
        const long double theta = 0.5L * ray;
        DrawSegment(RealToCoord(BurstX), RealToCoord(BurstY),
                    RealToCoord(Rounded(BurstX + BurstCounter * std::cos(theta))),
                    RealToCoord(Rounded(BurstY + BurstCounter * std::sin(theta))));
    }
    BurstCounter--;
}

}  // namespace

void RunPegFrame() {
    FlipFramePage(FramePage);
    ClearWholeWindow();
    const uint16_t buttons = MouseButtons();
    const int32_t right = GetRightEdge(), bottom = GetBottomEdge();
    SetDrawColor(NamedColors[PegColor]);
    for (const TPeg& peg : Pegs) DrawRound(peg.X, peg.Y, peg.R);
    SetDrawColor(NamedColors[DropColor]);
    RunPegSubSteps(right, bottom, ProgramRandom, true);
    for (int32_t k = 0; k < DropCount; k++) DrawRound(Drops[k].X, Drops[k].Y, Drops[k].R);
    DrawBurst();
    HandlePegPress(buttons, right, ProgramRandom);
}

int PegParticlesMain() {
    if (!OpenProgramWindow("peg_particles", 3, 6, "PARTICULE IN BALANS")) return 1;
    FramePage = 0;
    SeedRandom(ProgramRandom, TickCount());
    SetUpPegField(GetRightEdge(), GetBottomEdge(), ProgramRandom);
    do {
        RunPegFrame();
        PauseMilliseconds(PausePerFrameMs);
    } while (!KeyWaiting());
    CloseGraphWindow();
    return 0;
}
