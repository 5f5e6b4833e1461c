#include "poly_frame.h"

#include "frame_flip.h"
#include "frame_pacing.h"
#include "key_codes.h"
#include "poly_bodies.h"
#include "poly_contacts.h"
#include "poly_controls.h"
#include "program_input.h"
#include "program_window.h"
#include "tavrel.h"

int16_t FramePage = 0;
uint8_t PolyLastKey = 0;

namespace {

constexpr uint16_t SolidFill = 1;
}  // namespace

void DrawPolyBodies() {
    ClearWholeWindow();
    for (int32_t i = 0; i < PolyBodyCount; i++) {
        const TPolyBody& b = PolyBodies[i];
        SetAreaFill(SolidFill, static_cast<uint32_t>(b.Colour));
        FillPolygonShape(static_cast<uint16_t>(b.Sides + 1), b.ScreenPoints.data());
    }
}

void HandleInput() {
    PullBodies(MouseX(), MouseY(), MouseButtons());
    PolyLastKey = ReadKeyCode();
    ApplyPolyKey(PolyLastKey, ProgramRandom);
}

uint8_t RunPolyFrame() {
    HandleInput();
    MovePolyBodies();
    // The picture shows the bodies before this frame's collision response.
    DrawPolyBodies();
    CollidePolyBodies();
    // From the second frame on the page just drawn is shown at once.
    FlipFramePageDrawFirst(FramePage);
    return PolyLastKey;
}

void RunSimulation() {
    UpdateCompounds();
    TransformVertices();
    ProjectToScreen();
    uint8_t key;
    do {
        key = RunPolyFrame();
        PaceFrame();
    } while (key != KeyEsc);
}

int PolyBodiesMain() {
    if (!OpenProgramWindow("polygon_impact", 3, 4, PolyImpactCaption)) return 1;
    PolyWindowWidth = 640;
    PolyWindowHeight = 480;
    FramePage = 0;
    SeedRandom(ProgramRandom, PolyFixedSeed);
    StartPolyBodies(ProgramRandom);
    RunSimulation();
    CloseGraphWindow();
    return 0;
}
