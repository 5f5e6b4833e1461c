// The bitmap context renders into the draw page: a refresh brings in what
// OpenGL drew since the last one and leaves every other pixel of the page as
// two-dimensional drawing made it.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstring>

#include "gl_unit.h"
#include "graph_unit.h"
#include "test_support/test_window.h"

namespace {

class GlBitmapTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(OpenXDriver(x));
        const Window window = OpenTestWindow(x, 9, 6, "gl bitmap");
        if (ResultCode == -9 || (window && !GlAvailable)) GTEST_SKIP() << "no OpenGL here: the window opened with -9";
        ASSERT_NE(window, 0u) << "result " << ResultCode;
        SelectDrawPage(1);
    }
    void TearDown() override {
        CloseXDriver(x);
        CloseGraphWindow();
    }
    static uint32_t At(int32_t px, int32_t py) {
        uint32_t word;
        std::memcpy(&word, &Pages[1].Pixels[(size_t(py) * size_t(PageWidth) + size_t(px)) * 4], 4);
        return word;
    }
    // Colour values of true colour are 0x00BBGGRR.
    static void Box(uint32_t color, int16_t x1, int16_t y1, int16_t x2, int16_t y2) {
        SetAreaFill(1, color);
        FillBox(x1, y1, x2, y2);
    }
    // A red square in the lower-left corner of the frame buffer, nothing else
    // (OpenGL rows count from the bottom: page rows 400 to 599).
    static void RedCorner() {
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, 200, 200);
        glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
        glFinish();
    }

    TXDriver x;
};

TEST_F(GlBitmapTest, ARefreshWithoutOpenGlDrawingKeepsTheBox) {
    Box(0xFFFFFF, 100, 100, 199, 199);
    SetRefreshMode(2);
    EXPECT_EQ(At(100, 100), 0xFFFFFFu);
    EXPECT_EQ(At(199, 199), 0xFFFFFFu);
}

TEST_F(GlBitmapTest, OpenGlPixelsArriveBesideTheTwoDimensionalOnes) {
    Box(0x00FF00, 700, 20, 779, 99);  // upper right: the square stays away
    RedCorner();
    SetRefreshMode(2);
    EXPECT_EQ(At(20, 580), 0xFF0000u);
    EXPECT_EQ(At(199, 400), 0xFF0000u);
    EXPECT_EQ(At(200, 400), 0u);
    EXPECT_EQ(At(199, 399), 0u);
    EXPECT_EQ(At(700, 20), 0x00FF00u);
    EXPECT_EQ(At(779, 99), 0x00FF00u);

    // Drawn over the square after the refresh: the next refresh, with the
    // frame buffer unchanged, leaves it.
    Box(0xFF0000, 10, 500, 59, 549);  // blue, inside the square
    SetRefreshMode(2);
    EXPECT_EQ(At(10, 500), 0x0000FFu);
    EXPECT_EQ(At(20, 580), 0xFF0000u);

    // A clear of the frame buffer is OpenGL drawing everywhere it changes a pixel.
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    SetRefreshMode(2);
    EXPECT_EQ(At(20, 580), 0u);
    EXPECT_EQ(At(700, 20), 0x00FF00u);  // black before and after the clear: untouched
}

}  // namespace
