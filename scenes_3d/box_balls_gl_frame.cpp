#include "box_balls_gl_frame.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <numbers>

#include "box_balls_controls.h"
#include "box_scenes.h"
#include "frame_pacing.h"
#include "program_input.h"
#include "program_window.h"
#include "sphere_lists.h"
#include "tavrel.h"

namespace {

void Vertex3f(const TVec3& v) { glVertex3f(float(v.X), float(v.Y), float(v.Z)); }
void Vertex3d(const TVec3& v) { glVertex3d(v.X, v.Y, v.Z); }

void PollHeldArrows() {
    if (KeyIsHeld(VkUp)) CamPitch -= 1;
    if (KeyIsHeld(VkDown)) CamPitch += 1;
    if (KeyIsHeld(VkLeft)) CamYaw -= 1;
    if (KeyIsHeld(VkRight)) CamYaw += 1;
}

void SetOrbitView() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(CamFov, CamAspect, CamDist / 8, CamDist * 7);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glLoadIdentity();
    const double y = CamYaw * std::numbers::pi / 180, p = CamPitch * std::numbers::pi / 180;
    const double d = CamDist;
    gluLookAt(-d * std::sin(y) * std::cos(p), d * std::sin(p), d * std::cos(y) * std::cos(p), 0, d / 2, 0,
              0, std::cos(p), 0);
}
}  // namespace

void BeginBoxBallsGl(TRandomSource& random) {
    ResetOrbitCamera();
    ResetBoxControls(GlSceneScale);
    ResetBoxBalls(BoxBallsGlPhysics);
    AddSceneBalls(PickBoxScene(random), GlSceneScale);
    AddBoxWalls(GlSceneScale);
}

void DrawBoxSceneGL() {
    for (int32_t i = 0; i < BallCount; i++) {
        const TBoxBall& b = BoxBalls[size_t(i)];
        uint16_t red = 0, green = 0, blue = 0;
        SplitColorRGB(b.Colour, red, green, blue);
        glColor3f(red / 256.0f, green / 256.0f, blue / 256.0f);
        glPushMatrix();
        glTranslatef(float(b.Pos.X), float(b.Pos.Y), float(b.Pos.Z));
        DrawListedSphere(b.Radius);
        glPopMatrix();
        if (ShowVectors) {
            TVec3 tip;
            VecAdd(tip, b.Pos, b.Vel);
            glColor3f(1, 1, 1);
            glBegin(GL_LINES);
            Vertex3d(b.Pos);
            Vertex3d(tip);
            glEnd();
        }
    }
    for (int32_t w = 0; w < WallCount; w++) {
        const TBoxWall& wall = BoxWalls[size_t(w)];
        TWallCorners c;
        BoxWallCorners(wall, c);
        if (ShowVectors) {
            TVec3 m, tip;
            WallNormalLine(wall, c, m, tip);
            glColor3f(1, 1, 0);
            glBegin(GL_LINES);
            Vertex3d(m);
            Vertex3d(tip);
            glEnd();
        }
        glBegin(GL_QUADS);
        glColor3f(0.3f, 0.3f, 0.3f);
        Vertex3f(c[0]);
        glColor3f(0.1f, 0.1f, 0.1f);
        Vertex3f(c[1]);
        glColor3f(0.5f, 0.5f, 0.5f);
        Vertex3f(c[2]);
        glColor3f(0.8f, 0.8f, 0.8f);
        Vertex3f(c[3]);
        glEnd();
    }
}

uint8_t RunBoxBallsGlFrame() {
    const uint8_t key = ReadKeyCode();
    DispatchBoxKey(key, true);
    PollHeldArrows();
    const int32_t x = MouseX(), y = MouseY(), buttons = MouseButtons();
    OrbitByDrag(x, y, buttons);
    SetOrbitView();
    DrawBoxSceneGL();
    EventDepth = 0;
    if (Running) EventStep(BoxTimeStep);
    HandleLeftClick(buttons);
    glFlush();
    SetRefreshMode(2);
    return key;
}

int BoxBallsGLMain() {
    if (!OpenProgramWindow("box_balls_gl", 3, 6, BoxBallsCaption, true)) return 1;
    SeedRandom(ProgramRandom, TickCount());
    SelectGlTarget(true);
    BeginBoxBallsGl(ProgramRandom);
    while (RunBoxBallsGlFrame() != KeyEsc) PaceFrame();
    FreeSphereLists();
    SelectGlTarget(false);
    CloseGraphWindow();
    return 0;
}
