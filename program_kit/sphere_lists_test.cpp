// The listed spheres against gluSphere drawn directly, in a context like the
// library's bitmap target (surfaceless, drawing into a framebuffer object; no
// X server): one frame of a fixed seed must come out the same to the byte.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/egl_contexts.h"
#include "random_source.h"
#include "sphere_lists.h"

namespace {

constexpr int32_t Width = 320, Height = 240;
constexpr int32_t Spheres = 90, Radii = 72;  // more radii than the cache holds

// Overlapping spheres of random colours and places; the radius of the i-th is
// the (i mod 72)-th, so that 64 are compiled, 8 drawn directly, 18 replayed.
std::vector<uint8_t> Frame(const TGlContexts& gl, GLUquadric* direct) {
    TRandomSource random;
    SeedRandom(random, 7);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60, 4.0 / 3, 1, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(3, 4, 20, 0, 0, 0, 0, 1, 0);
    for (int32_t i = 0; i < Spheres; i++) {
        glColor3ub(GLubyte(RandomBelow(random, 256)), GLubyte(RandomBelow(random, 256)), 200);
        glPushMatrix();
        glTranslated(RandomBelow(random, 1600) / 100.0 - 8, RandomBelow(random, 1200) / 100.0 - 6,
                     RandomBelow(random, 1000) / 100.0 - 5);
        const double radius = 0.3 + (i % Radii) * 0.02;
        if (direct)
            gluSphere(direct, radius, 30, 30);
        else
            DrawListedSphere(radius);
        glPopMatrix();
    }
    std::vector<uint8_t> pixels(size_t(Width) * Height * 4);
    ReadBitmapGlPixels(gl, pixels.data());
    return pixels;
}

int32_t DifferingPixels(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    int32_t count = 0;
    for (size_t i = 0; i < a.size(); i += 4) count += a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2];
    return count;
}

TEST(SphereLists, DrawWhatGluSphereDrawsPixelForPixelAndAreFreed) {
    TGlContexts gl;
    ASSERT_TRUE(CreateBitmapGlContext(gl, Width, Height)) << "no OpenGL context";
    GLUquadric* quadric = gluNewQuadric();
    const std::vector<uint8_t> direct = Frame(gl, quadric);
    const std::vector<uint8_t> compiled = Frame(gl, nullptr);
    EXPECT_EQ(SphereListCount, 64);
    const std::vector<uint8_t> replayed = Frame(gl, nullptr);
    bool allLists = true;
    for (GLuint list = 1; list <= 64; list++) allLists = allLists && glIsList(list);
    FreeSphereLists();
    bool anyList = false;
    for (GLuint list = 1; list <= 64; list++) anyList = anyList || glIsList(list);
    gluDeleteQuadric(quadric);
    DestroyGlContexts(gl);

    EXPECT_TRUE(allLists);
    EXPECT_FALSE(anyList);
    EXPECT_EQ(SphereListCount, 0);
    const std::vector<uint8_t> blank(direct.size(), 0);
    EXPECT_GT(DifferingPixels(direct, blank), Width * Height / 5);  // the spheres are there
    EXPECT_EQ(DifferingPixels(direct, compiled), 0);
    EXPECT_EQ(DifferingPixels(direct, replayed), 0);
}

}  // namespace
