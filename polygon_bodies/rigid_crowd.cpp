#include "rigid_crowd.h"

#include "extended_ops.h"
#include "frame_flip.h"
#include "frame_pacing.h"
#include "key_codes.h"
#include "program_input.h"
#include "program_window.h"
#include "tavrel.h"

int32_t SelectedBody = -1;
int32_t CrowdPickSize = 50;
int16_t FramePage = 0;
int32_t PreviousMouseX = 0, PreviousMouseY = 0;
uint16_t PreviousButtons = 0;

namespace {

constexpr long double SpinPerFrameTime = 8;  // angular velocity gained per second of drag
constexpr uint8_t WhiteName = 250;

}  // namespace

void StartCrowd(TRandomSource& random, double rightEdge, double bottomEdge) {
    FramePage = 0;
    PreviousMouseX = PreviousMouseY = 0;
    PreviousButtons = 0;
    SelectedBody = -1;
    RigidFrameTime = DefaultRigidFrameTime;
    RigidGravity = DefaultRigidGravity;
    CrowdPickSize = 50;
    BuildCrowdColumn(rightEdge, bottomEdge, random);
}

void DragCrowdBody(int32_t x, int32_t y, uint16_t buttons) {
    if ((buttons & 1) == 0) return;
    if ((PreviousButtons & 1) == 0) {
        const int32_t half = CrowdPickSize / 2;
        SelectedBody = PickNearestBody(CrowdBodies.data(), CrowdLastIndex, x, y, half * half,
                                       SelectedBody);
    }
    if (SelectedBody < 0) return;
    TCrowdBody& body = CrowdBodies[SelectedBody];
    body.VelocityX = Rounded((x - Ext(PreviousMouseX)) / RigidFrameTime);
    body.VelocityY = Rounded((y - Ext(PreviousMouseY)) / RigidFrameTime);
    body.AngularVelocity = Rounded(body.AngularVelocity + SpinPerFrameTime * RigidFrameTime);
}

uint8_t RunCrowdFrame() {
    FlipFramePage(FramePage);
    const int32_t x = MouseX(), y = MouseY();
    const uint16_t buttons = MouseButtons();
    DragCrowdBody(x, y, buttons);
    StepRigidFrame(CrowdBodies.data(), CrowdLastIndex, GetRightEdge(), GetBottomEdge());
    // The program's own pace; tests and benchmarks run it flat out.
    if (FramePacingOn) PauseMilliseconds(RigidCrowdPauseMs);
    ClearWholeWindow();
    SetDrawColor(NamedColors[WhiteName]);
    for (const TCrowdBody& body : CrowdBodies) DrawBodyOutline(body);
    const uint8_t key = ReadKeyCode();
    PreviousMouseX = x;
    PreviousMouseY = y;
    PreviousButtons = buttons;
    return key;
}

int RigidCrowdMain() {
    if (!OpenProgramWindow("polygon_drag", 3, 6, RigidCrowdCaption)) return 1;
    SeedRandom(ProgramRandom, TickCount());
    StartCrowd(ProgramRandom, GetRightEdge(), GetBottomEdge());
    while (RunCrowdFrame() != KeyEsc) {
    }
    CloseGraphWindow();
    return 0;
}
