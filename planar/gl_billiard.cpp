#include "gl_billiard.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "disc_billiard.h"
#include "program_input.h"
#include "random_source.h"
#include "sphere_lists.h"
#include "tavrel.h"

double CamPitch = 90, CamYaw = 0, CamDist = 500;
double TableCentreX = 0, TableCentreY = 0, TableZ = 0;
int32_t GlMouseX = 0, GlMouseY = 0, PrevMouseX = 0, PrevMouseY = 0;

namespace {

TBitmapImage Texture;

constexpr double DegreesToRadians = 3.14159265358979323846 / 180;
constexpr double RimHeight = 40;

struct TTableVertex {
    float S, T;
    int8_t X, Y;  // -1 or 1: the side of the table centre
    bool Raised;  // at the rim's top edge, RimHeight nearer the eye
};

// Top, then the rims at x = -cx, x = cx, y = -cy and y = cy.
constexpr TTableVertex TableQuads[20] = {
    {0, 0, -1, -1, false}, {10, 0, 1, -1, false}, {10, 10, 1, 1, false}, {0, 10, -1, 1, false},
    {0, 0, -1, 1, true},   {10, 0, -1, -1, true}, {10, 1, -1, -1, false}, {0, 1, -1, 1, false},
    {0, 0, 1, -1, true},   {10, 0, 1, 1, true},   {10, 1, 1, 1, false},   {0, 1, 1, -1, false},
    {0, 0, -1, -1, true},  {10, 0, 1, -1, true},  {10, 1, 1, -1, false},  {0, 1, -1, -1, false},
    {0, 0, -1, 1, true},   {10, 0, 1, 1, true},   {10, 1, 1, 1, false},   {0, 1, -1, 1, false},
};

void DrawTable() {
    // No colour of its own: the texture is modulated by the last colour set.
    glBegin(GL_QUADS);
    for (const TTableVertex& v : TableQuads) {
        glTexCoord2f(v.S, v.T);
        glVertex3f(static_cast<float>(v.X * TableCentreX), static_cast<float>(v.Y * TableCentreY),
                   static_cast<float>(v.Raised ? TableZ - RimHeight : TableZ));
    }
    glEnd();
}

void DrawSphere(const TDisc& disc) {
    uint16_t red, green, blue;
    SplitColorRGB(static_cast<uint32_t>(disc.Colour), red, green, blue);
    glColor3f(red / 256.0f, green / 256.0f, blue / 256.0f);
    glPushMatrix();
    glTranslatef(static_cast<float>(disc.X - TableCentreX), static_cast<float>(disc.Y - TableCentreY),
                 static_cast<float>(TableZ - disc.Radius));
    DrawListedSphere(disc.Radius);
    glPopMatrix();
}

void TurnCamera() {
    PrevMouseX = GlMouseX;
    PrevMouseY = GlMouseY;
    GlMouseX = MouseX();
    GlMouseY = MouseY();
    // The left button alone, one degree per pixel, without limits.
    if (MouseButtons() == 1) {
        CamYaw += GlMouseX - PrevMouseX;
        CamPitch += GlMouseY - PrevMouseY;
    }
}

}  // namespace

TCameraPlacement PlaceCamera(double yawDegrees, double pitchDegrees, double distance) {
    const double y = yawDegrees * DegreesToRadians, p = pitchDegrees * DegreesToRadians;
    const double sinY = std::sin(y), cosY = std::cos(y), sinP = std::sin(p), cosP = std::cos(p);
    // (0, cos p, 0) less its part along the line of sight is cos^2 p times
    // this vector: the same view where cos p is not 0, and defined where it is.
    return {-distance * sinY * cosP, distance * sinP, distance * cosY * cosP,
            sinY * sinP,             cosP,            -cosY * sinP};
}

bool StartGlBilliard(uint32_t seed, TFaultText& fault) {
    SelectGlTarget(true);
    SeedRandom(ProgramRandom, seed);
    CamPitch = 90;
    CamYaw = 0;
    CamDist = 500;
    TableCentreX = GetRightEdge() / 2.0;
    TableCentreY = GetBottomEdge() / 2.0;
    TableZ = TableCentreX;
    GlMouseX = GlMouseY = PrevMouseX = PrevMouseY = 0;
    if (!ReadBitmapFile(TextureFileName, Texture, fault)) return false;
    glEnable(GL_TEXTURE_2D);
    // Rows stay padded to 4 bytes as in the file: OpenGL's default unpack
    // alignment reads them so.
    SwapBitmapToRgb(Texture);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, Texture.Width, Texture.Height, GL_RGB, GL_UNSIGNED_BYTE,
                      Texture.Pixels());
    StartRandomDiscs(GlBilliard, GetRightEdge(), GetBottomEdge(), ProgramRandom);
    return true;
}

bool RunGlBilliardFrame() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(100, 1.1, CamDist / 8, CamDist * 7);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glLoadIdentity();
    const TCameraPlacement c = PlaceCamera(CamYaw, CamPitch, CamDist);
    gluLookAt(c.EyeX, c.EyeY, c.EyeZ, 0, 0, 0, c.UpX, c.UpY, c.UpZ);
    DrawTable();
    TurnCamera();
    // The pointer's window position, not projected into the scene.
    DriveCueDisc(GlMouseX, GlMouseY, GlBilliard.TimeStep);
    AdvanceDiscs(GlBilliard, GetRightEdge(), GetBottomEdge(), DrawSphere);
    glFlush();
    SetRefreshMode(2);
    return KeyWaiting();
}

void EndGlBilliard() {
    Texture = TBitmapImage{};
    FreeSphereLists();
}
