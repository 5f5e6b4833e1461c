#include "mass_ball_frames.h"

#include <cstdio>

#include "coords.h"
#include "frame_flip.h"
#include "frame_pacing.h"
#include "key_codes.h"
#include "program_input.h"
#include "program_window.h"
#include "tavrel.h"

namespace {

int16_t FramePage = 0;
}  // namespace

void DrawMassBall(const TMassBall& b) {
    SetDrawColor(NamedColors[207]);
    DrawCircle(RealToCoord(b.X), RealToCoord(b.Y), static_cast<uint16_t>(RealToCoord(b.R)));
    SetDrawColor(NamedColors[250]);
    DrawSegment(RealToCoord(b.X), RealToCoord(b.Y), RealToCoord(b.X + b.VX),
                RealToCoord(b.Y + b.VY));
}

uint8_t TwoBallFrame(uint16_t pauseMs) {
    FlipFramePageDrawFirst(FramePage);
    ClearWholeWindow();
    PauseMilliseconds(pauseMs);
    DrawMassBall(TwoBalls[0]);
    DrawMassBall(TwoBalls[1]);
    StepTwoBalls(GetRightEdge(), GetBottomEdge());
    const uint8_t key = ReadKeyCode();
    SteerBigBall(key);
    return key;
}

int TwoBallCollisionMain() {
    if (!OpenProgramWindow("two_ball_collision", 3, 6, "CIOCNIRI DE BILE")) return 1;
    SeedRandom(ProgramRandom, TickCount());
    FramePage = 0;
    PlaceTwoBalls(GetRightEdge(), GetBottomEdge(), ProgramRandom);
    while (TwoBallFrame(50) != KeyEsc) {
    }
    CloseGraphWindow();
    return 0;
}

bool GasFrame() {
    FlipFramePageDrawFirst(FramePage);
    ClearWholeWindow();
    for (int32_t k = 0; k < GasParticleCount; k++) DrawMassBall(GasParticles[k]);
    StepGas(GasParticles.data(), GasParticleCount, GetRightEdge(), GetBottomEdge());
    return KeyWaiting();
}

int ParticleGasMain() {
    if (!OpenProgramWindow("particle_gas", 3, 6, "PARTICULE")) return 1;
    FramePage = 0;
    SeedRandom(ProgramRandom, TickCount());
    if (!PlaceGasParticles(GetRightEdge(), GetBottomEdge(), ProgramRandom)) {
        std::fprintf(stderr, "particle_gas: the window is too small to place the particles\n");
        CloseGraphWindow();
        return 1;
    }
    while (!GasFrame()) PaceFrame();
    CloseGraphWindow();
    return 0;
}
