#include "cube_program.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "extended_ops.h"
#include "frame_pacing.h"
#include "key_codes.h"
#include "program_input.h"
#include "program_window.h"
#include "tavrel.h"

int32_t CamYaw = 0;
int32_t CamPitch = 180;
double CamDist = 180.0;
int32_t CamFov = 50;
int32_t PrevMouseX = 0;
int32_t PrevMouseY = 0;

namespace {

constexpr const char* ProgramName = "cubes_gl";

// Letter keys; the arrows come from the kit's table.
enum : uint8_t {
    KeyPitchUp = 'a',
    KeyPitchDown = 'z',
    KeyNarrow = 's',
    KeyWiden = 'x',
};

constexpr uint16_t LeftButtonAlone = 1;
constexpr uint16_t RightButtonAlone = 2;
constexpr int32_t AngleStep = 5;
constexpr double DistStep = 5;
constexpr double FirstLayerLift = 7.2;

void ZeroVec(TVec3& v) { VecSet(v, 0, 0, 0); }

void PlaceStartingCubes() {
    int32_t a = 0, b = 0, c = 0;
    for (int32_t i = 0; i < CubeCount; i++) {
        TCube& cube = Cubes[i];
        VecSet(cube.Pos, Rounded(12.0L * a * 1.01L),
               Rounded(BoxMax.Y - static_cast<long double>(FirstLayerLift) - 12.0L * b * 1.01L),
               Rounded(12.0L * c * 1.01L));
        ZeroVec(cube.Vel);
        ZeroVec(cube.Impulse);
        ZeroVec(cube.Omega);
        ZeroVec(cube.AngImpulse);
        VecSet(cube.Axis.Rows[0], 1, 0, 0);
        VecSet(cube.Axis.Rows[1], 0, 1, 0);
        VecSet(cube.Axis.Rows[2], 0, 0, 1);
        a += 2;
        if (a > 3) {
            a = 0;
            c += 2;
        }
        if (c > 3) {
            c = 0;
            b += 2;
        }
    }
    // The shot cube starts in mid-air, spinning about Y.
    TCube& shot = Cubes[ShotCube];
    VecSet(shot.Pos, -15, 0, 0);
    VecSet(shot.Omega, 0, Rounded(-0.1L * std::cos(3.14159265358979323846264L / 4)), 0);
}
}  // namespace

void InitCubes() {
    CamYaw = 0;
    CamPitch = 180;
    CamDist = 180.0;
    CamFov = 50;
    Subdiv = 4.0;
    Stiffness = 0.02;
    Damping = 0.01;
    CubeGravity = 0.002;
    VecSet(BoxMax, 64, 2 * 64, 64);
    VecSet(BoxMin, -64, -64, -64);
    PlaceStartingCubes();
}

void ApplyCubeKey(uint8_t key) {
    switch (key) {
        case KeyUp:
            // The eye must stay off the point it looks at.
            if (CamDist - DistStep > 0) CamDist -= DistStep;
            break;
        case KeyDown: CamDist += DistStep; break;
        case KeyLeft: CamYaw -= AngleStep; break;
        case KeyRight: CamYaw += AngleStep; break;
        case KeyPitchUp: CamPitch += AngleStep; break;
        case KeyPitchDown: CamPitch -= AngleStep; break;
        case KeyNarrow:
            if (CamFov - 1 >= MinFov) CamFov -= 1;
            break;
        case KeyWiden:
            if (CamFov + 1 <= MaxFov) CamFov += 1;
            break;
        default: break;
    }
}

void ApplyCubeMouse(int32_t x, int32_t y, uint16_t buttons) {
    if ((x != PrevMouseX || y != PrevMouseY) && buttons == LeftButtonAlone) {
        CamPitch += y - PrevMouseY;
        CamYaw -= x - PrevMouseX;
    }
    PrevMouseX = x;
    PrevMouseY = y;
    // C++'s remainder keeps the dividend's sign: -365 gives -5.
    CamPitch %= 360;
    CamYaw %= 360;
}

void LaunchShotCube(const TVec3& nearPoint, const TVec3& farPoint) {
    TVec3 direction;
    VecSub(direction, farPoint, nearPoint);
    VecNormalize(direction);
    VecScale(direction, direction, ShotSpeed);
    TCube& shot = Cubes[ShotCube];
    shot.Pos = nearPoint;
    shot.Vel = direction;
    ZeroVec(shot.Omega);
}

bool ShootCubeThrough(const TGlMatrix& modelView, const TGlMatrix& projection,
                      const TGlViewport& viewport, int32_t x, int32_t y) {
    if (y == 0) y = 1;
    const GLint view[4] = {viewport[0], viewport[1], viewport[2], viewport[3]};
    const double windowX = x;
    const double windowY = static_cast<double>(static_cast<int64_t>(viewport[3]) - y - 1);
    TVec3 nearPoint, farPoint;
    // A singular view (the eye on the point it looks at) gives no ray, and
    // the outputs are then left unwritten.
    if (gluUnProject(windowX, windowY, 0, modelView.data(), projection.data(), view, &nearPoint.X,
                     &nearPoint.Y, &nearPoint.Z) != GL_TRUE)
        return false;
    if (gluUnProject(windowX, windowY, 1, modelView.data(), projection.data(), view, &farPoint.X,
                     &farPoint.Y, &farPoint.Z) != GL_TRUE)
        return false;
    for (double v : {nearPoint.X, nearPoint.Y, nearPoint.Z, farPoint.X, farPoint.Y, farPoint.Z})
        if (!std::isfinite(v)) return false;
    TVec3 direction;
    VecSub(direction, farPoint, nearPoint);
    for (double v : {direction.X, direction.Y, direction.Z})
        if (!std::isfinite(v)) return false;
    LaunchShotCube(nearPoint, farPoint);
    return true;
}

bool ShootCube(int32_t x, int32_t y) {
    TGlMatrix modelView{}, projection{};
    GLint view[4] = {0, 0, 0, 0};
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView.data());
    glGetDoublev(GL_PROJECTION_MATRIX, projection.data());
    glGetIntegerv(GL_VIEWPORT, view);
    return ShootCubeThrough(modelView, projection, {view[0], view[1], view[2], view[3]}, x, y);
}

bool RunCubesFrame() {
    ApplyCubeKey(ReadKeyCode());
    const int32_t x = MouseX();
    const int32_t y = MouseY();
    const uint16_t buttons = MouseButtons();
    ApplyCubeMouse(x, y, buttons);
    GatherCubeContacts();
    SetCubeCamera();
    for (int32_t i = 0; i < CubeCount; i++) {
        AdvanceCube(i);
        DrawCubeFaces(i);
    }
    DrawBoxFrame();
    glFlush();
    SetRefreshMode(2);
    if (buttons == RightButtonAlone) ShootCube(x, y);
    // Only Esc held down ends the program; a queued Esc is just a key.
    return KeyIsHeld(VkEscape);
}

int CubesGLMain() {
    if (!OpenProgramWindow(ProgramName, 3, 6, CubesCaption, true)) return 1;
    SelectGlTarget(true);
    InitCubes();
    while (!RunCubesFrame()) PaceFrame();
    SelectGlTarget(false);
    CloseGraphWindow();
    return 0;
}
