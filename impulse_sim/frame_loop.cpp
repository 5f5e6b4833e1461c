// The scene and frame loops of both programs; what tells them apart comes in
// with the style.
#include <cstdio>
#include <cstdlib>

#include "front_end.h"
#include "graph_unit.h"
#include "world.h"
#include "world_drawing.h"

namespace {

void DrawWorld() {
    for (int32_t i = 1; i <= WorldBodyCount; i++)
        DrawBody(WorldBodies[i], NamedColors[DynamicBodyColor]);
    for (int32_t i = 1; i <= WorldJointCount; i++)
        DrawJoint(WorldJoints[i], NamedColors[JointColor]);
}

uint8_t ReadKey() {
    if (!KeyWaiting()) return 0;
    uint8_t key = WaitKeyByte();
    if (key == 0) key = WaitKeyByte();
    return key;
}

// Without this check a window that never opened would leave an endless loop
// drawing into nothing, with no way to stop it but a signal.
bool OpenSimulatorWindow(const TFrontEndStyle& style) {
    int16_t driver = 3, mode = 6;
    OpenGraphWindow(driver, mode, SimulatorCaption);
    int16_t code = ResultCode;
    // Without OpenGL (-9) the window still draws in two dimensions.
    if (GraphWindowIsOpen() && (code == 0 || code == -9)) return true;
    // A missing face leaves the window created but hidden.
    if (GraphWindowIsOpen()) CloseGraphWindow();
    TMessageText text;
    // The unit reads the screen size at start-up; 0 means no X server answered.
    FormatOpenFailure(text, style.ProgramName, code, ScreenWidth > 0, std::getenv("DISPLAY"));
    std::fprintf(stderr, "%s\n", text.data());
    return false;
}

}  // namespace

uint8_t RunFrame(const TFrontEndStyle& style) {
    SelectShownPage(static_cast<uint16_t>(FramePage));
    FramePage = static_cast<int16_t>(1 - FramePage);
    SelectDrawPage(static_cast<uint16_t>(FramePage));
    if (!style.ClearAfterStep) ClearWholeWindow();
    StepWorld(StepDuration);
    if (style.ClearAfterStep) ClearWholeWindow();
    DrawWorld();
    if (style.MouseDragging) {
        int16_t x = GetMousePosX();
        int16_t y = GetMousePosY();
        // The left button alone: with Shift, Ctrl or another button held
        // nothing moves.
        if (GetMouseButtonState() == 1) DragNearestBody(x, y);
    }
    uint8_t key = ReadKey();
    DispatchKey(key);
    DrawStatusLine();
    return key;
}

int RunSimulator(const TFrontEndStyle& style) {
    if (!OpenSimulatorWindow(style)) return 1;
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
