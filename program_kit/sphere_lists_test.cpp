// Listed spheres against gluSphere drawn directly, in the library's kind of bitmap context
// (surfaceless, into a framebuffer object): one frame of a fixed seed, the same to the byte.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/egl_contexts.h"
#include "random_source.h"
#include "sphere_lists.h"

namespace {

// 90 overlapping spheres; the i-th has the (i mod 72)-th radius, so that 64
// are compiled, 8 drawn directly (the cache is full) and 18 replayed.
std::vector<uint8_t> Frame(const TGlContexts& gl, GLUquadric* direct) {
    TRandomSource random{7};
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60, 4.0 / 3, 1, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(3, 4, 20, 0, 0, 0, 0, 1, 0);
    for (int32_t i = 0; i < 90; i++) {
        glColor3ub(GLubyte(RandomBelow(random, 256)), GLubyte(RandomBelow(random, 256)), 200);
        glPushMatrix();
        glTranslated(RandomBelow(random, 16) - 8, RandomBelow(random, 12) - 6, RandomBelow(random, 10) - 5);
        const double radius = 0.3 + (i % 72) * 0.02;
        direct ? gluSphere(direct, radius, 30, 30) : DrawListedSphere(radius);
        glPopMatrix();
    }
    std::vector<uint8_t> pixels(size_t(gl.Width) * gl.Height * 4);
    ReadBitmapGlPixels(gl, pixels.data());
    return pixels;
}

TEST(SphereLists, DrawWhatGluSphereDrawsPixelForPixelAndAreFreed) {
    TGlContexts gl;
    ASSERT_TRUE(CreateBitmapGlContext(gl, 320, 240)) << "no OpenGL context";
    GLUquadric* quadric = gluNewQuadric();
    const std::vector<uint8_t> direct = Frame(gl, quadric), compiled = Frame(gl, nullptr);
    EXPECT_EQ(SphereListCount, 64);
    EXPECT_TRUE(glIsList(1) && glIsList(64));
    EXPECT_TRUE(Frame(gl, nullptr) == direct);  // replayed
    FreeSphereLists();
    EXPECT_EQ(SphereListCount, 0);
    EXPECT_FALSE(glIsList(1) || glIsList(64));
    gluDeleteQuadric(quadric);
    DestroyGlContexts(gl);
    EXPECT_TRUE(compiled == direct);
    // The spheres are there: over a tenth of the pixels are not the clear colour (0, 0, 0, 0).
    EXPECT_LT(std::count(direct.begin(), direct.end(), 0), 320 * 240 * 4 * 9 / 10);
}

}  // namespace
