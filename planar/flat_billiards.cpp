#include "flat_billiards.h"

#include "program_input.h"
#include "random_source.h"
#include "tavrel.h"

int16_t FlatPage = 0;
int32_t RackPage = 0;

namespace {

void DrawFlatDisc(const TDisc& disc) {
    SetDrawColor(static_cast<uint32_t>(disc.Colour));
    DrawCircle(RealToCoord(disc.X), RealToCoord(disc.Y),
               static_cast<uint16_t>(RealToCoord(disc.Radius)));
}

}  // namespace

void StartFlatBilliard(uint32_t seed) {
    FlatPage = 0;
    SeedRandom(ProgramRandom, seed);
    StartRandomDiscs(FlatBilliard, GetRightEdge(), GetBottomEdge(), ProgramRandom);
}

bool RunFlatBilliardFrame() {
    SelectDrawPage(static_cast<uint16_t>(FlatPage));
    FlatPage = static_cast<int16_t>(1 - FlatPage);
    SelectShownPage(static_cast<uint16_t>(FlatPage));
    ClearWholeWindow();
    DriveCueDisc(MouseX(), MouseY(), FlatBilliard.TimeStep);
    // Drawn right after its contacts: the discs after it in the loop are
    // lower and touch only discs lower still, so each is final when drawn.
    AdvanceDiscs(FlatBilliard, GetRightEdge(), GetBottomEdge(), DrawFlatDisc);
    return KeyWaiting();
}

void StartRackBilliard() {
    RackPage = 0;
    LayOutRack(GetRightEdge(), GetBottomEdge(), ProgramRandom);
}

uint8_t RunRackBilliardFrame() {
    DriveCueDisc(MouseX(), MouseY(), RackBilliard.TimeStep);
    AdvanceDiscs(RackBilliard, GetRightEdge(), GetBottomEdge(), nullptr);
    SelectDrawPage(static_cast<uint16_t>(RackPage));
    RackPage = 1 - RackPage;
    SelectShownPage(static_cast<uint16_t>(RackPage));
    ClearWholeWindow();
    for (int32_t k = 0; k < RackBilliard.DiscCount; k++) DrawFlatDisc(Discs[k]);
    return ReadKeyCode();
}
