#include "frame_flip.h"
#include "frame_pacing.h"
#include "key_codes.h"
#include "program_input.h"
#include "program_window.h"
#include "tavrel.h"
#include "terrain_frames.h"
#include "terrain_sim.h"
#include "view3d.h"

namespace {

int16_t FramePage = 0;

void ProjectLine(const TVec3& a, const TVec3& b) { ClipProjectLine(a.X, a.Y, a.Z, b.X, b.Y, b.Z); }

}  // namespace

void DrawTerrainWire() {
    for (int32_t c = 0; c < HeightGridSize - 1; c++)
        for (int32_t r = 0; r < HeightGridSize - 1; r++) {
            SetDrawColor(NamedColors[59]);
            const TVec3 a{double(r - 25), GetHeight(r, c), double(25 - c)};
            const TVec3 b{double(r - 24), GetHeight(r + 1, c), double(25 - c)};
            const TVec3 cc{double(r - 24), GetHeight(r + 1, c + 1), double(24 - c)};
            const TVec3 d{double(r - 25), GetHeight(r, c + 1), double(24 - c)};
            ProjectLine(a, b);
            ProjectLine(b, cc);
            ProjectLine(a, d);
            ProjectLine(d, cc);
        }
    for (const TTerrainBall& ball : TerrainBalls) {
        SetDrawColor(uint32_t(ball.Colour));
        WireSphere(ball.Pos.X, ball.Pos.Y, ball.Pos.Z, ball.Radius);
        for (int32_t k = 1; k < TrailLength; k++) {
            SetDrawColor(NamedColors[250]);
            ProjectLine(ball.Trail[k - 1], ball.Trail[k]);
        }
    }
}

void BeginTerrainWire() {
    FramePage = 0;
    UseViewVariant(TerrainBallsWireView);
    CamSetupFromEye(TerrainBallsWireStartEye);
    CamDragReset();
    TerrainVariant = TerrainWireVariant;
    FrameCount = 0;
    BuildHeightGrid();
    PlaceTerrainBalls();
}

bool RunTerrainWireFrame() {
    CamMoveHeld();
    CamTurnByDrag(MouseX(), MouseY(), MouseButtons());
    FlipFramePageDrawFirst(FramePage);
    ClearWholeWindow();
    StepTerrainScene();
    DrawTerrainWire();
    AdvanceTrails();
    return ViewKeyHeld(VkEscape);
}

int TerrainBallsWireMain() {
    if (!OpenProgramWindow("terrain_balls_wire", 3, 6, "BILE 3D")) return 1;
    BeginTerrainWire();
    while (!RunTerrainWireFrame()) PaceFrame();
    CloseGraphWindow();
    return 0;
}
