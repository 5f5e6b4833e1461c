// The cubes as six flat-coloured quads each and the box as twelve white
// lines, from the orbit camera; no lighting, the depth test sorts the faces.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "cube_program.h"
#include "extended_ops.h"

namespace {

struct TCubeFace {
    float Red, Green, Blue;
    // Corner signs along the cube's axes 0, 1, 2, in drawing order.
    std::array<std::array<int8_t, 3>, 4> Corners;
};

constexpr std::array<TCubeFace, 6> CubeFaces{{
    {1, 1, 0, {{{-1, 1, 1}, {1, 1, 1}, {1, -1, 1}, {-1, -1, 1}}}},          // +A2 yellow
    {1, 0, 1, {{{-1, 1, -1}, {1, 1, -1}, {1, -1, -1}, {-1, -1, -1}}}},      // -A2 magenta
    {1, 0, 0, {{{-1, 1, 1}, {1, 1, 1}, {1, 1, -1}, {-1, 1, -1}}}},          // +A1 red
    {0, 1, 1, {{{1, 1, 1}, {1, -1, 1}, {1, -1, -1}, {1, 1, -1}}}},          // +A0 cyan
    {0, 1, 0, {{{1, -1, 1}, {-1, -1, 1}, {-1, -1, -1}, {1, -1, -1}}}},      // -A1 green
    {0, 0, 1, {{{-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1}, {-1, -1, -1}}}},      // -A0 blue
}};

constexpr long double DegToRad = 3.14159265358979323846264L / 180;

// Corner of a cube: C + h (s0 A0 + s1 A1 + s2 A2), kept as doubles.
void CubeCorner(const TCube& cube, const std::array<int8_t, 3>& signs, TVec3& out) {
    const TVec3 &a0 = cube.Axis.Rows[0], &a1 = cube.Axis.Rows[1], &a2 = cube.Axis.Rows[2];
    const long double h = CubeHalfEdge;
    out.X = Rounded(cube.Pos.X + h * (signs[0] * static_cast<long double>(a0.X) + signs[1] * a1.X + signs[2] * a2.X));
    out.Y = Rounded(cube.Pos.Y + h * (signs[0] * static_cast<long double>(a0.Y) + signs[1] * a1.Y + signs[2] * a2.Y));
    out.Z = Rounded(cube.Pos.Z + h * (signs[0] * static_cast<long double>(a0.Z) + signs[1] * a1.Z + signs[2] * a2.Z));
}

void BoxEdge(double x1, double y1, double z1, double x2, double y2, double z2) {
    glVertex3d(x1, y1, z1);
    glVertex3d(x2, y2, z2);
}

}  // namespace

void SetCubeCamera() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(CamFov, ViewAspect, NearPlane, FarPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glLoadIdentity();
    const long double theta = CamYaw * DegToRad, phi = CamPitch * DegToRad;
    const long double reach = 2.0L * CamDist;
    gluLookAt(Rounded(-reach * std::sin(theta) * std::cos(phi)), Rounded(reach * std::sin(phi)),
              Rounded(reach * std::cos(theta) * std::cos(phi)), 0, 0, 0, 0, Rounded(std::cos(phi)), 0);
}

void DrawCubeFaces(int32_t i) {
    const TCube& cube = Cubes[i];
    glBegin(GL_QUADS);
    for (const TCubeFace& face : CubeFaces) {
        glColor3f(face.Red, face.Green, face.Blue);
        for (const auto& signs : face.Corners) {
            TVec3 corner;
            CubeCorner(cube, signs, corner);
            glVertex3f(static_cast<float>(corner.X), static_cast<float>(corner.Y),
                       static_cast<float>(corner.Z));
        }
    }
    glEnd();
}

void DrawBoxFrame() {
    const double x0 = BoxMin.X, y0 = BoxMin.Y, z0 = BoxMin.Z;
    const double x1 = BoxMax.X, y1 = BoxMax.Y, z1 = BoxMax.Z;
    glColor3f(1, 1, 1);
    glBegin(GL_LINES);
    for (double z : {z0, z1}) {
        BoxEdge(x0, y0, z, x0, y1, z);
        BoxEdge(x0, y1, z, x1, y1, z);
        BoxEdge(x1, y1, z, x1, y0, z);
        BoxEdge(x1, y0, z, x0, y0, z);
    }
    BoxEdge(x0, y0, z0, x0, y0, z1);
    BoxEdge(x0, y1, z0, x0, y1, z1);
    BoxEdge(x1, y1, z0, x1, y1, z1);
    BoxEdge(x1, y0, z0, x1, y0, z1);
    glEnd();
}
