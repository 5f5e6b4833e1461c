#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "extended_ops.h"
#include "frame_pacing.h"
#include "key_codes.h"
#include "program_input.h"
#include "program_window.h"
#include "sphere_lists.h"
#include "tavrel.h"
#include "terrain_frames.h"
#include "terrain_sim.h"

TTerrainOrbit TerrainOrbit{0, 40, 60, 90, 1.0};
int16_t TerrainPrevMouseX = 0, TerrainPrevMouseY = 0;

namespace {

void CornerVertex(int32_t r, int32_t c, int32_t row, int32_t column, long double k) {
    glColor3f(float(c / 100.0L + k), float(r / 100.0L + k), float((r + c) / 100.0L + k));
    glVertex3f(float(row - 25), float(GetHeight(row, column)), float(25 - column));
}

void DrawTerrainGl() {
    for (int32_t c = 0; c < HeightGridSize - 1; c++)
        for (int32_t r = 0; r < HeightGridSize - 1; r++) {
            glBegin(GL_QUADS);
            CornerVertex(r, c, r, c, 0.3L);
            CornerVertex(r, c, r + 1, c, 0.1L);
            CornerVertex(r, c, r + 1, c + 1, 0.5L);
            CornerVertex(r, c, r, c + 1, 0.8L);
            glEnd();
        }
    for (const TTerrainBall& ball : TerrainBalls) {
        uint16_t red = 0, green = 0, blue = 0;
        SplitColorRGB(uint32_t(int16_t(ball.Colour)), red, green, blue);
        glColor3f(float(red) / 256, float(green) / 256, float(blue) / 256);
        glPushMatrix();
        glTranslatef(float(ball.Pos.X), float(ball.Pos.Y), float(ball.Pos.Z));
        DrawListedSphere(ball.Radius);
        glPopMatrix();
        for (int32_t k = 1; k < TrailLength; k++) {
            glColor3f(1, 1, 1);
            glBegin(GL_LINES);
            glVertex3d(ball.Trail[k - 1].X, ball.Trail[k - 1].Y, ball.Trail[k - 1].Z);
            glVertex3d(ball.Trail[k].X, ball.Trail[k].Y, ball.Trail[k].Z);
            glEnd();
        }
    }
}

void SetTerrainView() {
    const TTerrainOrbit& o = TerrainOrbit;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(o.Fov, o.Aspect, o.Dist / 8, o.Dist * 7);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glLoadIdentity();
    const long double y = o.Yaw * M_PIl / 180, p = o.Pitch * M_PIl / 180;
    gluLookAt(Rounded(-o.Dist * std::sin(y) * std::cos(p)), Rounded(o.Dist * std::sin(p)),
              Rounded(o.Dist * std::cos(y) * std::cos(p)), 0, o.Dist / 2, 0, 0, Rounded(std::cos(p)),
              0);
}

}  // namespace

void SteerTerrainOrbit(bool up, bool down, bool left, bool right, int32_t x, int32_t y,
                       uint16_t buttons) {
    TTerrainOrbit& o = TerrainOrbit;
    // Up and Down together still cancel at the nearest distance.
    double dist = o.Dist;
    if (up) dist -= 0.5;
    if (down) dist += 0.5;
    if (dist > 0) o.Dist = dist;
    if (left) o.Yaw -= 1;
    if (right) o.Yaw += 1;
    const int16_t px = int16_t(x), py = int16_t(y);
    if (buttons == 2) {
        o.Yaw += px - TerrainPrevMouseX;
        o.Pitch += py - TerrainPrevMouseY;
    }
    TerrainPrevMouseX = px;
    TerrainPrevMouseY = py;
}

void BeginTerrainGl() {
    TerrainOrbit = {0, 40, 60, 90, 1.0};
    TerrainPrevMouseX = TerrainPrevMouseY = 0;
    TerrainVariant = TerrainGlVariant;
    FrameCount = 0;
    BuildHeightGrid();
    PlaceTerrainBalls();
}

void EndTerrainGl() { FreeSphereLists(); }

bool RunTerrainGlFrame() {
    SteerTerrainOrbit(KeyIsHeld(VkUp), KeyIsHeld(VkDown), KeyIsHeld(VkLeft),
                      KeyIsHeld(VkRight), MouseX(), MouseY(), MouseButtons());
    StepTerrainScene();
    SetTerrainView();
    DrawTerrainGl();
    AdvanceTrails();
    glFlush();
    SetRefreshMode(2);
    return KeyIsHeld(VkEscape);
}

int TerrainBallsGlMain() {
    if (!OpenProgramWindow("terrain_balls_gl", 3, 6, "BILE 3D", true)) return 1;
    SelectGlTarget(true);
    BeginTerrainGl();
    while (!RunTerrainGlFrame()) PaceFrame();
    EndTerrainGl();
    SelectGlTarget(false);
    CloseGraphWindow();
    return 0;
}
