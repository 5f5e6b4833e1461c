// The window's two OpenGL contexts on a real X server with the software
// renderer: what they draw reaches the screen and the draw page.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstring>

#include "draw_state.h"
#include "gl_unit.h"
#include "graph_unit.h"
#include "platform/fp_control.h"
#include "platform/x11_window.h"
#include "test_support/program_test.h"
#include "test_support/test_window.h"

namespace {

constexpr const char* Caption = "gl contexts";

// Blue background, a red triangle over the lower-left half.
void DrawTriangle() {
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glBegin(GL_TRIANGLES);
    glColor3f(1.0f, 0.0f, 0.0f);
    glVertex2f(-1.0f, -1.0f);
    glVertex2f(1.0f, -1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
    glFlush();
}

class GlTest : public ::testing::Test {
protected:
    void Open(int16_t driver) {
        ASSERT_TRUE(OpenXDriver(x));
        window = OpenTestWindow(x, driver, 6, Caption);
        ASSERT_NE(window, 0u);
        ASSERT_TRUE(GlAvailable);
    }
    void TearDown() override {
        CloseXDriver(x);
        CloseGraphWindow();
    }

    uint32_t PageWord(int32_t x, int32_t y) {
        const TPage& page = Pages[DrawPage];
        if (!PaletteMode) {
            uint32_t word;
            std::memcpy(&word, &page.Pixels[(static_cast<size_t>(y) * PageWidth + x) * 4], 4);
            return word;
        }
        return page.ColorTable[page.Pixels[static_cast<size_t>(y) * PageWidth + x]];
    }

    TXDriver x;
    Window window = 0;
};

TEST_F(GlTest, TheWindowContextSwapsItsFrameOntoTheScreen) {
    Open(9);
    EXPECT_FALSE(GlTargetIsWindow);
    SelectGlTarget(true);
    EXPECT_EQ(ResultCode, 0);
    EXPECT_TRUE(GlTargetIsWindow);
    // A paint of the shown page may still land on the window after a swap;
    // the next swap covers it, as in a program's frame loop.
    EXPECT_TRUE(WaitUntil(SignalWaitMs, [&] {
        DrawTriangle();
        SetRefreshMode(2);
        return ReadWindowPixel(x, window, 20, 580) == 0xFF0000 && ReadWindowPixel(x, window, 780, 20) == 0x0000FF;
    }));
    // Only the back buffer was drawn: the pages are untouched.
    EXPECT_EQ(PageWord(780, 20), PageWord(20, 580));
    SelectGlTarget(false);
    EXPECT_FALSE(GlTargetIsWindow);
}

TEST_F(GlTest, TheBitmapContextDrawsIntoTheDrawPage) {
    Open(3);
    SelectDrawPage(1);
    DrawTriangle();
    SetRefreshMode(2);
    // In palette mode each pixel is the nearest entry of the page's colours.
    const uint32_t red = PageWord(20, 580), blue = PageWord(780, 20);
    EXPECT_GT((red >> 16) & 0xFF, 0xC0u);
    EXPECT_LT(red & 0xFFFF, 0x4040u);
    EXPECT_GT(blue & 0xFF, 0xC0u);
    EXPECT_LT(blue >> 8, 0x4040u);
    EXPECT_EQ(Pages[0].Pixels[0], Pages[0].Pixels[PageWidth * 599]);  // the shown page is another

    SelectShownPage(1);
    EXPECT_TRUE(WaitWindowPixel(x, window, 20, 580, red, SignalWaitMs));
    EXPECT_TRUE(WaitWindowPixel(x, window, 780, 20, blue, SignalWaitMs));
}

TEST_F(GlTest, TrueColourPagesTakeTheRenderedColours) {
    Open(9);
    glClearColor(0.0f, 0.5f, 0.25f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    SetRefreshMode(2);
    EXPECT_EQ(PageWord(0, 0), 0x008040u);
    EXPECT_EQ(PageWord(799, 599), 0x008040u);
}

TEST_F(GlTest, RefreshModeOperations) {
    Open(3);
    ASSERT_TRUE(RefreshMode);
    SetRefreshMode(0);
    EXPECT_FALSE(RefreshMode);
    EXPECT_FALSE(DirectDraw);
    SetRefreshMode(0);
    EXPECT_FALSE(RefreshMode);
    SelectDrawPage(0);
    EXPECT_FALSE(DirectDraw);  // drawing stays off the window although page 0 is shown
    SetRefreshMode(1);
    EXPECT_TRUE(RefreshMode);
    EXPECT_TRUE(DirectDraw);
    EXPECT_EQ(ResultCode, 0);

    // Already on, or an unknown operation: nothing, not even a repaint. A
    // pixel put into the shown page without a repaint request reaches the
    // screen only with a repaint of the whole window; a one-pixel repaint
    // asked for afterwards shows once the window thread has handled
    // everything asked before it.
    ASSERT_EQ(ShownPage, 0);
    auto putPixel = [](int32_t px, int32_t py, uint8_t index) {
        std::lock_guard<std::recursive_mutex> lock(DrawLock);
        AwaitPresentOf(0);
        Pages[0].Pixels[static_cast<size_t>(py) * PageWidth + px] = index;
    };
    auto repaintPixel = [&](int32_t px, int32_t py, uint8_t index, uint32_t rgb) {
        putPixel(px, py, index);
        InvalidateClientRect(px, py, px, py);
        return WaitWindowPixel(x, window, px, py, rgb, SignalWaitMs);
    };
    ASSERT_TRUE(repaintPixel(700, 500, 44, 0xFCFC00));  // what came before has been shown
    putPixel(100, 100, 40);
    SetRefreshMode(1);
    SetRefreshMode(3);
    ASSERT_TRUE(repaintPixel(650, 450, 10, 0x54FC54));
    EXPECT_EQ(ReadWindowPixel(x, window, 100, 100), 0x000000u) << "the window was repainted";
    EXPECT_TRUE(RefreshMode);
    // Switched on again, the whole window is repainted.
    SetRefreshMode(0);
    SetRefreshMode(1);
    EXPECT_TRUE(WaitWindowPixel(x, window, 100, 100, 0xFC0000, SignalWaitMs));
}

TEST_F(GlTest, TheDrawPortSurvivesATargetSwitchWithThePenAtItsOrigin) {
    Open(3);
    DefineDrawPort(100, 50, 300, 250, true);
    for (bool toWindow : {true, false}) {
        MovePenTo(20, 30);
        SelectGlTarget(toWindow);
        EXPECT_EQ(ResultCode, 0);
        EXPECT_EQ(DrawPort.X1, 100);
        EXPECT_EQ(DrawPort.Y1, 50);
        EXPECT_EQ(DrawPort.X2, 300);
        EXPECT_EQ(DrawPort.Y2, 250);
        EXPECT_TRUE(DrawPort.Clip);
        EXPECT_EQ(PenX, 0);
        EXPECT_EQ(PenY, 0);
    }
    // The clip is in force: a fill of everything stays inside the port.
    ClearWholeWindow();
    const uint8_t background = Pages[DrawPage].Pixels[0];
    SetAreaFill(1, NamedColors[250]);
    FillBox(-1000, -1000, 1000, 1000);
    const auto at = [](int32_t x, int32_t y) { return Pages[DrawPage].Pixels[y * PageWidth + x]; };
    EXPECT_EQ(at(99, 49), background);
    EXPECT_EQ(at(301, 251), background);
    EXPECT_EQ(at(100, 50), NamedColors[250]);
    EXPECT_EQ(at(300, 250), NamedColors[250]);
}

TEST_F(GlTest, OpeningKeepsTheProgramsFloatingPointControlWords) {
    const TFpControl original = SaveFpControl();
    TFpControl program = original;
    program.X87 = static_cast<uint16_t>((original.X87 & ~0x0F00u) | 0x0E00u);  // 64 bits, toward +inf
    program.Mxcsr = (original.Mxcsr & ~0x6000u) | 0x4000u;                     // toward +inf
    RestoreFpControl(program);
    Open(3);
    const TFpControl after = SaveFpControl();
    RestoreFpControl(original);
    EXPECT_EQ(after.X87, program.X87);
    EXPECT_EQ(after.Mxcsr & 0xFFC0u, program.Mxcsr & 0xFFC0u);
}

TEST(GlClosed, NoContextAfterTheWindowCloses) {
    int16_t driver = 3, mode = 6;
    OpenGraphWindow(driver, mode, Caption);
    ASSERT_TRUE(GlAvailable);
    SelectGlTarget(true);
    CloseGraphWindow();
    EXPECT_FALSE(GlAvailable);
    SelectGlTarget(true);
    EXPECT_EQ(ResultCode, -9);
    SetRefreshMode(2);  // the window target is still chosen: no window to show
    GlTargetIsWindow = false;
    SetRefreshMode(2);
    EXPECT_EQ(ResultCode, -1);
}

}  // namespace
