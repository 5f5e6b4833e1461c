#include "sphere_lists.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <array>
#include <cstddef>

int32_t SphereListCount = 0;

namespace {

constexpr GLint SphereSlices = 30, SphereStacks = 30;

struct TSphereList {
    double Radius;
    GLuint List;
};

std::array<TSphereList, SphereListCapacity> SphereLists{};
GLUquadric* SphereQuadric = nullptr;

GLuint CompiledList(double radius) {
    for (int32_t i = 0; i < SphereListCount; i++)
        if (SphereLists[size_t(i)].Radius == radius) return SphereLists[size_t(i)].List;
    if (SphereListCount == SphereListCapacity) return 0;
    const GLuint list = glGenLists(1);
    if (list == 0) return 0;  // no context, or out of memory: draw directly
    // A closed sphere's back faces lie behind its front faces wherever they
    // show, so culling them leaves the picture as it was and halves the
    // triangles a software renderer sets up and fills.
    glNewList(list, GL_COMPILE);
    glPushAttrib(GL_ENABLE_BIT);
    glEnable(GL_CULL_FACE);
    gluSphere(SphereQuadric, radius, SphereSlices, SphereStacks);
    glPopAttrib();
    glEndList();
    SphereLists[size_t(SphereListCount++)] = {radius, list};
    return list;
}

}  // namespace

void DrawListedSphere(double radius) {
    if (!SphereQuadric) SphereQuadric = gluNewQuadric();
    if (!SphereQuadric) return;
    if (const GLuint list = CompiledList(radius))
        glCallList(list);
    else
        gluSphere(SphereQuadric, radius, SphereSlices, SphereStacks);
}

void FreeSphereLists() {
    for (int32_t i = 0; i < SphereListCount; i++) glDeleteLists(SphereLists[size_t(i)].List, 1);
    SphereListCount = 0;
    if (SphereQuadric) gluDeleteQuadric(SphereQuadric);
    SphereQuadric = nullptr;
}
