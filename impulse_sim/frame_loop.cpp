// The scene and frame loops of both programs; what tells them apart comes in
// with the style.
#include "frame_flip.h"
#include "front_end.h"
#include "program_input.h"
#include "program_window.h"
#include "world.h"
#include "world_drawing.h"

namespace {

void DrawWorld() {
    for (int32_t i = 1; i <= WorldBodyCount; i++)
        DrawBody(WorldBodies[i], NamedColors[DynamicBodyColor]);
    for (int32_t i = 1; i <= WorldJointCount; i++)
        DrawJoint(WorldJoints[i], NamedColors[JointColor]);
}

}  // namespace

uint8_t RunFrame(const TFrontEndStyle& style) {
    FlipFramePage(FramePage);
    if (!style.ClearAfterStep) ClearWholeWindow();
    StepWorld(StepDuration);
    if (style.ClearAfterStep) ClearWholeWindow();
    DrawWorld();
    if (style.MouseDragging) {
        int32_t x = MouseX();
        int32_t y = MouseY();
        // The left button alone: with Shift, Ctrl or another button held
        // nothing moves.
        if (MouseButtons() == 1) DragNearestBody(x, y);
    }
    uint8_t key = ReadKeyCode();
    DispatchKey(key);
    DrawStatusLine();
    return key;
}

int RunSimulator(const TFrontEndStyle& style) {
    UseHugeReal(style.Huge);
    if (!OpenProgramWindow(style.ProgramName, 3, 6, SimulatorCaption)) return 1;
    FramePage = 0;
    SceneNumber = 1;
    for (;;) {
        BeginScene(TickCount());
        uint8_t key;
        do {
            key = RunFrame(style);
            PauseMilliseconds(style.PauseMs);
        } while (!EndsFrameLoop(key));
        if (key == KeyEsc) break;
        SceneNumber = SceneAfterKey(SceneNumber, key);
    }
    CloseGraphWindow();
    return 0;
}
