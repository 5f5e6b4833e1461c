#include "projectile_3d_frame.h"

#include <cmath>

#include "frame_flip.h"
#include "frame_pacing.h"
#include "key_codes.h"
#include "program_input.h"
#include "program_window.h"
#include "tavrel.h"
#include "throw_3d.h"
#include "view3d.h"

namespace {

int16_t FramePage = 0;
double TurnRoll = 0, TurnPitch = M_PI, TurnYaw = 0;
bool FirstFrameDone = false;
int32_t PrevMouseX = 0, PrevMouseY = 0;

constexpr int CubeEdges[12][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6},
                                  {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};

void DrawCubeScene() {
    SetDrawColor(NamedColors[250]);
    for (const auto& edge : CubeEdges) {
        const TVec3& a = CubeCorners[edge[0]];
        const TVec3& b = CubeCorners[edge[1]];
        ClipProjectLine(a.X, a.Y, a.Z, b.X, b.Y, b.Z);
    }
    SetDrawColor(NamedColors[253]);
    WireSphere(BallPos.X, BallPos.Y, BallPos.Z, BallRadius);
}

}  // namespace

void BeginProjectile3D(uint32_t seed) {
    FramePage = 0;
    SeedRandom(ProgramRandom, seed);
    UseViewVariant(Projectile3dView);
    CamEye = {0, 0, 150};
    TurnRoll = 0;
    TurnPitch = M_PI;
    TurnYaw = 0;
    CamRight = {1, 0, 0};
    CamUp = {0, 1, 0};
    CamFwd = {0, 0, 1};
    FirstFrameDone = false;
    PrevMouseX = PrevMouseY = 0;
    ThrowBall3D(ProgramRandom);
}

void TurnProjectileCamera(int32_t x, int32_t y, uint16_t buttons) {
    if (FirstFrameDone) TurnRoll = TurnPitch = TurnYaw = 0;
    if (buttons == 2) {
        TurnYaw += (x - PrevMouseX) * DragRadiansPerPixel;
        TurnPitch += (y - PrevMouseY) * DragRadiansPerPixel;
    }
    PrevMouseX = x;
    PrevMouseY = y;
    FirstFrameDone = true;
    // The turn alone keeps the axes orthonormal here; they are never redone.
    CamTurn(TurnRoll, TurnPitch, TurnYaw);
}

bool RunProjectile3DFrame() {
    CamMoveHeld();
    TurnProjectileCamera(MouseX(), MouseY(), MouseButtons());
    FlipFramePageDrawFirst(FramePage);
    ClearWholeWindow();
    StepThrownBall();
    DrawCubeScene();
    return ViewKeyHeld(VkEscape);
}

int Projectile3DMain() {
    if (!OpenProgramWindow("projectile_3d", 3, 6, "ARUNCARE PE OBLICA IN 3D")) return 1;
    BeginProjectile3D(TickCount());
    while (!RunProjectile3DFrame()) PaceFrame();
    CloseGraphWindow();
    return 0;
}
