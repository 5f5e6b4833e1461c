#include "box_balls_controls.h"

#include <numbers>

#include "box_scenes.h"
#include "tavrel.h"
#include "view3d.h"

double SceneScale = GlSceneScale;
bool Running = true;
bool ShowVectors = false;
int32_t PrevMouseX = 0, PrevMouseY = 0;
int32_t PrevMouseButtons = 0;

double CamYaw = 400, CamPitch = 60, CamDist = 500;
int32_t CamFov = 90;
double CamAspect = 1.0;

namespace {

constexpr double KeyTurnRadians = 250 * BoxTimeStep * std::numbers::pi / 180;
constexpr double CamDistStep = 10;
}  // namespace

void ResetBoxControls(double sceneScale) {
    SceneScale = sceneScale;
    Running = true;
    ShowVectors = false;
    PrevMouseX = 0;
    PrevMouseY = 0;
    PrevMouseButtons = 0;
    CamDragReset();
}

void ResetOrbitCamera() {
    CamYaw = 400;
    CamPitch = 60;
    CamDist = 500;
    CamFov = 90;
    CamAspect = 1.0;
}

void DispatchBoxKey(uint8_t key, bool orbitKeys) {
    TBoxBall& last = BoxBalls[size_t(BallCount > 0 ? BallCount - 1 : 0)];
    switch (key) {
        case KeyEnter: ShowVectors = !ShowVectors; break;
        case KeySpace: Running = !Running; break;
        case BoxKeyNearer:
            if (orbitKeys && CamDist - CamDistStep > 0) CamDist -= CamDistStep;
            break;
        case BoxKeyFarther:
            if (orbitKeys) CamDist += CamDistStep;
            break;
        case BoxKeyTurnXyDown: RotatePair(last.Vel.X, last.Vel.Y, -KeyTurnRadians); break;
        case BoxKeyTurnXyUp: RotatePair(last.Vel.X, last.Vel.Y, KeyTurnRadians); break;
        case BoxKeyTurnXzDown: RotatePair(last.Vel.X, last.Vel.Z, -KeyTurnRadians); break;
        case BoxKeyTurnXzUp: RotatePair(last.Vel.X, last.Vel.Z, KeyTurnRadians); break;
        default: break;
    }
}

void HandleLeftClick(int32_t buttons) {
    const double l = SceneScale;
    if (buttons == 1 && PrevMouseButtons == 0)
        AddBoxBall(3 * l, l, 0, -100, 0, 0, l / 3, (l / 3) * (l / 3), NamedColors[207]);
    PrevMouseButtons = buttons;
}

void OrbitByDrag(int32_t x, int32_t y, int32_t buttons) {
    if (buttons == 2) {
        CamYaw += x - PrevMouseX;
        CamPitch += y - PrevMouseY;
    }
    PrevMouseX = x;
    PrevMouseY = y;
}
