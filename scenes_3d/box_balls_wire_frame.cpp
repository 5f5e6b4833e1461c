#include "box_balls_wire_frame.h"

#include "box_balls_controls.h"
#include "box_scenes.h"
#include "frame_pacing.h"
#include "program_input.h"
#include "program_window.h"
#include "tavrel.h"
#include "view3d.h"

int16_t FramePage = 0;

namespace {

void ProjectLine(const TVec3& a, const TVec3& b) { ClipProjectLine(a.X, a.Y, a.Z, b.X, b.Y, b.Z); }
}  // namespace

void BeginBoxBallsWire() {
    FramePage = 0;
    UseViewVariant(BoxBallsWireView);
    CamSetupFromEye(BoxBallsWireStartEye);
    ResetBoxControls(WireSceneScale);
    ResetBoxBalls(BoxBallsWirePhysics);
    AddThrownColumn(WireSceneScale);
    AddBoxWalls(WireSceneScale);
}

void DrawBoxSceneWire() {
    for (int32_t w = 0; w < WallCount; w++) {
        const TBoxWall& wall = BoxWalls[size_t(w)];
        TWallCorners c;
        BoxWallCorners(wall, c);
        SetDrawColor(NamedColors[250]);
        if (ShowVectors) {
            TVec3 m, tip;
            WallNormalLine(wall, c, m, tip);
            ProjectLine(m, tip);
        }
        for (size_t k = 0; k < c.size(); k++) ProjectLine(c[k], c[(k + 1) % c.size()]);
    }
    for (int32_t i = 0; i < BallCount; i++) {
        const TBoxBall& b = BoxBalls[size_t(i)];
        SetDrawColor(b.Colour);
        WireSphere(b.Pos.X, b.Pos.Y, b.Pos.Z, b.Radius);
        if (ShowVectors) {
            TVec3 tip;
            VecAdd(tip, b.Pos, b.Vel);
            ProjectLine(b.Pos, tip);
        }
    }
}

uint8_t RunBoxBallsWireFrame() {
    CamMoveHeld();
    const int32_t x = MouseX(), y = MouseY(), buttons = MouseButtons();
    CamTurnByDrag(x, y, buttons);
    SelectDrawPage(uint16_t(FramePage));
    FramePage = int16_t(1 - FramePage);
    SelectShownPage(uint16_t(FramePage));
    ClearWholeWindow();
    DrawBoxSceneWire();
    EventDepth = 0;
    if (Running) EventStep(BoxTimeStep);
    const uint8_t key = ReadKeyCode();
    DispatchBoxKey(key, false);
    HandleLeftClick(buttons);
    return key;
}

int BoxBallsWireMain() {
    if (!OpenProgramWindow("box_balls_wire", 3, 6, BoxBallsCaption)) return 1;
    BeginBoxBallsWire();
    while (RunBoxBallsWireFrame() != KeyEsc) PaceFrame();
    CloseGraphWindow();
    return 0;
}
