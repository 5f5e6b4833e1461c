#include "rigid_scenes.h"

#include "extended_ops.h"
#include "frame_flip.h"
#include "frame_pacing.h"
#include "key_codes.h"
#include "program_input.h"
#include "program_window.h"
#include "tavrel.h"

int32_t ScenarioNumber = 0;
int32_t SelectedBody = -1;
int16_t FramePage = 0;
int32_t PreviousMouseX = 0, PreviousMouseY = 0;
uint16_t PreviousButtons = 0;

namespace {

constexpr double RigidPickReach = 1000;  // squared pixels
void DrawRigidBodies() {
    const uint32_t top = GetTopColorValue();
    const uint32_t cycle = top > 1 ? top - 1 : 1;
    for (int32_t i = 0; i <= LastBodyIndex; i++) {
        SetDrawColor(40 + static_cast<uint32_t>(i) % cycle);
        DrawBodyOutline(RigidBodies[i]);
    }
}

}  // namespace

void StartRigidScenario(TRandomSource& random, double rightEdge, double bottomEdge) {
    RigidBodies = {};
    RigidFrameTime = DefaultRigidFrameTime;
    SelectedBody = -1;
    RigidGravity = DefaultRigidGravity;
    ScenarioNumber = RandomBelow(random, RigidScenarioCount);
    BuildRigidScenario(ScenarioNumber, rightEdge, bottomEdge, random);
}

void DragRigidBody(int32_t x, int32_t y, uint16_t buttons) {
    if (buttons != 0) {
        if (PreviousButtons == 0)
            SelectedBody = PickNearestBody(RigidBodies.data(), LastBodyIndex, x, y, RigidPickReach,
                                           SelectedBody);
        if (SelectedBody >= 0) {
            TRigidBody& body = RigidBodies[SelectedBody];
            body.VelocityX = Rounded((x - Ext(PreviousMouseX)) / RigidFrameTime);
            body.VelocityY = Rounded((y - Ext(PreviousMouseY)) / RigidFrameTime);
        }
    }
    PreviousMouseX = x;
    PreviousMouseY = y;
    PreviousButtons = buttons;
}

uint8_t RunRigidScenesFrame() {
    FlipFramePage(FramePage);
    const int32_t x = MouseX(), y = MouseY();
    DragRigidBody(x, y, MouseButtons());
    StepRigidFrame(RigidBodies.data(), LastBodyIndex, GetRightEdge(), GetBottomEdge());
    // The program's own pace; tests and benchmarks run it flat out.
    if (FramePacingOn) PauseMilliseconds(RigidScenesPauseMs);
    ClearWholeWindow();
    DrawRigidBodies();
    return ReadKeyCode();
}

int RigidScenesMain() {
    if (!OpenProgramWindow("box_scenarios", 3, 6, RigidScenesCaption)) return 1;
    FramePage = 0;
    SeedRandom(ProgramRandom, TickCount());
    PreviousMouseX = PreviousMouseY = 0;
    PreviousButtons = 0;
    for (;;) {
        StartRigidScenario(ProgramRandom, GetRightEdge(), GetBottomEdge());
        uint8_t key;
        do {
            key = RunRigidScenesFrame();
        } while (key != KeyEnter && key != KeyEsc);
        if (key == KeyEsc) break;
    }
    CloseGraphWindow();
    return 0;
}
