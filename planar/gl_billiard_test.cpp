// The orbit camera as GLU turns it into a modelview matrix, in a context of
// its own without any window.
#include "gl_billiard.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "platform/egl_contexts.h"

namespace {

using TMatrix = std::array<double, 16>;  // column-major, as GL keeps it

class Camera : public ::testing::Test {
protected:
    // The library's context for bitmaps: its display stays initialized for
    // the whole run, so the driver is not unloaded before the leak check and
    // what it keeps stays attributable to it.
    static inline TGlContexts Gl;

    static void SetUpTestSuite() { CreateBitmapGlContext(Gl, 1, 1); }
    static void TearDownTestSuite() { DestroyGlContexts(Gl); }
    void SetUp() override { ASSERT_TRUE(MakeBitmapGlCurrent(Gl)) << "no OpenGL context without a window"; }

    static TMatrix LookAt(double eyeX, double eyeY, double eyeZ, double upX, double upY, double upZ) {
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(eyeX, eyeY, eyeZ, 0, 0, 0, upX, upY, upZ);
        TMatrix m;
        glGetDoublev(GL_MODELVIEW_MATRIX, m.data());
        return m;
    }
    static TMatrix Placed(double yaw, double pitch) {
        const TCameraPlacement c = PlaceCamera(yaw, pitch, 500);
        return LookAt(c.EyeX, c.EyeY, c.EyeZ, c.UpX, c.UpY, c.UpZ);
    }
    // The call with the up vector (0, cos pitch, 0).
    static TMatrix Literal(double yaw, double pitch) {
        const double y = yaw * 3.14159265358979323846 / 180, p = pitch * 3.14159265358979323846 / 180;
        return LookAt(-500 * std::sin(y) * std::cos(p), 500 * std::sin(p), 500 * std::cos(y) * std::cos(p), 0,
                      std::cos(p), 0);
    }
};

void ExpectRows(const TMatrix& m, const std::array<double, 9>& rows, const char* what) {
    for (int r = 0; r < 3; r++)
        for (int c = 0; c < 3; c++) EXPECT_NEAR(m[size_t(c * 4 + r)], rows[size_t(r * 3 + c)], 1e-6) << what;
}

TEST_F(Camera, AwayFromTheTopTheViewIsThatOfTheUprightUpVector) {
    const double yaws[] = {0, 30, 135, 200, -75};
    const double pitches[] = {89, 60, 10, -45, -89, 91, 150, 269};
    for (double yaw : yaws)
        for (double pitch : pitches) {
            const TMatrix placed = Placed(yaw, pitch), literal = Literal(yaw, pitch);
            // GLU works in single precision; the translation is 500 times larger.
            for (size_t i = 0; i < 16; i++)
                EXPECT_NEAR(placed[i], literal[i], i >= 12 ? 1e-4 : 2e-6) << "yaw " << yaw << " pitch " << pitch << " [" << i << "]";
        }
}

TEST_F(Camera, StraightAboveOrBelowTheViewIsTheLimitNotDegenerate) {
    // Pitch 90, yaw 0: looking down -y with -z at the top of the screen.
    ExpectRows(Placed(0, 90), {1, 0, 0, 0, 0, -1, 0, 1, 0}, "pitch 90");
    // Pitch 270: looking up +y, +z at the top.
    ExpectRows(Placed(0, 270), {1, 0, 0, 0, 0, 1, 0, -1, 0}, "pitch 270");
    // Yaw 90 turns the picture about the line of sight.
    ExpectRows(Placed(90, 90), {0, 0, 1, 1, 0, 0, 0, 1, 0}, "yaw 90 pitch 90");
    // The eye 500 above the centre.
    const TMatrix m = Placed(0, 90);
    EXPECT_NEAR(m[14], -500, 1e-3);
}

TEST(CameraStart, TheEyeStandsFiveHundredAboveTheCentre) {
    const TCameraPlacement c = PlaceCamera(0, 90, 500);
    EXPECT_NEAR(c.EyeX, 0, 1e-12);
    EXPECT_NEAR(c.EyeY, 500, 1e-12);
    EXPECT_NEAR(c.EyeZ, 0, 1e-12);
    EXPECT_NEAR(c.UpX, 0, 1e-12);
    EXPECT_NEAR(c.UpY, 0, 1e-12);
    EXPECT_NEAR(c.UpZ, -1, 1e-12);
}

}  // namespace
