// A machine without OpenGL: the EGL loader is pointed at no driver before the
// first EGL call of the process, so this test runs in its own executable.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdlib>

#include "gl_unit.h"
#include "graph_unit.h"
#include "test_support/xdriver.h"

namespace {

constexpr const char* Caption = "no gl";

TEST(GlUnavailable, TheWindowOpensWithMinus9AndDrawsIn2D) {
    setenv("__EGL_VENDOR_LIBRARY_FILENAMES", "/nonexistent", 1);
    TXDriver x;
    ASSERT_TRUE(OpenXDriver(x));
    int16_t driver = 3, mode = 6;
    OpenGraphWindow(driver, mode, Caption);
    EXPECT_EQ(ResultCode, -9);
    ASSERT_TRUE(GraphWindowIsOpen());
    EXPECT_FALSE(GlAvailable);
    const Window window = FindWindowByCaption(x, Caption, SignalWaitMs);
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(WaitWindowMapped(x, window, SignalWaitMs));

    for (bool toWindow : {true, false, true}) {
        ResultCode = 0;
        SelectGlTarget(toWindow);
        EXPECT_EQ(ResultCode, -9);
        EXPECT_FALSE(GlTargetIsWindow);
    }
    // The program's OpenGL calls have no context and go nowhere.
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    SetRefreshMode(2);
    EXPECT_EQ(ResultCode, 0);

    SetAreaFill(1, NamedColors[207]);
    FillBox(10, 10, 100, 100);
    EXPECT_EQ(ResultCode, 0);
    EXPECT_TRUE(WaitWindowPixel(x, window, 50, 50, PageColorTable[NamedColors[207]], SignalWaitMs));

    CloseXDriver(x);
    CloseGraphWindow();
    EXPECT_EQ(ResultCode, 0);
}

}  // namespace
