// The mode and driver tables on screens of known sizes, and the routines that
// refuse to work without a window.
#include <gtest/gtest.h>

#include <string>

#include "graph_unit.h"
#include "platform/x11_window.h"

namespace {

constexpr int32_t FrameWidth = 2 * DialogFrameWidth;
constexpr int32_t FrameHeight = 2 * DialogFrameHeight + CaptionHeight;

class LayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = {ScreenWidth, ScreenHeight, ScreenBitsPerPixel};
        Screen(1280, 1024);
        ScreenBitsPerPixel = 32;
    }
    void TearDown() override {
        ScreenWidth = saved_.W;
        ScreenHeight = saved_.H;
        ScreenBitsPerPixel = saved_.Bits;
        PaletteMode = false;
    }
    static void Screen(int32_t w, int32_t h) {
        ScreenWidth = w;
        ScreenHeight = h;
    }
    static int16_t Layout(int16_t driver, int16_t mode) {
        GraphDriver = driver;
        GraphMode = mode;
        ResultCode = 0;
        ComputeWindowLayout();
        return ResultCode;
    }
    struct {
        int32_t W, H;
        uint8_t Bits;
    } saved_{};
};

TEST_F(LayoutTest, ModeTableOnScreensOfSeveralSizes) {
    const struct {
        int32_t ScreenW, ScreenH;
        int16_t Driver, Mode, Code;
        bool Framed;
        int32_t OuterW, OuterH;
    } cases[] = {
        {1280, 1024, 3, 1, 0, true, 320 + FrameWidth, 200 + FrameHeight},
        {1280, 1024, 3, 2, 0, true, 640 + FrameWidth, 200 + FrameHeight},
        {1280, 1024, 3, 3, 0, true, 640 + FrameWidth, 350 + FrameHeight},
        {1280, 1024, 3, 4, 0, true, 640 + FrameWidth, 480 + FrameHeight},
        {1280, 1024, 3, 5, 0, true, 720 + FrameWidth, 350 + FrameHeight},
        {1280, 1024, 3, 6, 0, true, 800 + FrameWidth, 600 + FrameHeight},
        {1280, 1024, 3, 7, 0, true, 1024 + FrameWidth, 768 + FrameHeight},
        // Only the client fits: a window without frame or caption.
        {1280, 1024, 3, 8, 0, false, 1280, 1024},
        {1024, 768, 3, 7, 0, false, 1024, 768},
        {1024, 768, 3, 8, -3, false, 0, 0},
        // Sized from the screen, or by the system (outer size 0).
        {1280, 1024, 9, 11, 0, true, 1280, 1024},
        {1280, 1024, 9, 12, 0, false, 1280, 1024},
        {1280, 1024, 9, 10, 0, true, 0, 0},
        // Outside the table: too large, even with a bad driver.
        {1280, 1024, 3, 9, -3, false, 0, 0},
        {1280, 1024, 5, 0, -3, false, 0, 0},
        {1280, 1024, 5, -1, -3, false, 0, 0},
        {1280, 1024, 3, 13, -3, false, 0, 0},
        {1280, 1024, 3, 32767, -3, false, 0, 0},
        // No display: no fixed mode fits, the self-sizing ones pass on.
        {0, 0, 3, 1, -3, false, 0, 0},
        {0, 0, 3, 6, -3, false, 0, 0},
        {0, 0, 9, 10, 0, true, 0, 0},
        {0, 0, 9, 12, 0, false, 0, 0},
    };
    for (const auto& c : cases) {
        Screen(c.ScreenW, c.ScreenH);
        const std::string where = std::to_string(c.ScreenW) + " mode " + std::to_string(c.Mode);
        ASSERT_EQ(Layout(c.Driver, c.Mode), c.Code) << where;
        if (c.Code != 0) continue;
        EXPECT_EQ(WindowFramed, c.Framed) << where;
        EXPECT_EQ(WindowOuterWidth, c.OuterW) << where;
        EXPECT_EQ(WindowOuterHeight, c.OuterH) << where;
    }
}

TEST_F(LayoutTest, DriverTable) {
    const struct {
        int16_t Driver, Code;
        bool Palette;
        uint8_t Bits;
        uint16_t Colors;
    } cases[] = {{1, 0, true, 1, 2},    {2, 0, true, 4, 16},   {3, 0, true, 8, 256}, {9, 0, false, 32, 0},
                 {0, -2, false, 0, 0}, {4, -2, false, 0, 0}, {10, -2, false, 0, 0}, {-3, -2, false, 0, 0}};
    for (const auto& c : cases) {
        ASSERT_EQ(Layout(c.Driver, 6), c.Code) << c.Driver;
        if (c.Code != 0) continue;
        EXPECT_EQ(PaletteMode, c.Palette) << c.Driver;
        EXPECT_EQ(BitsPerPixel, c.Bits) << c.Driver;
        if (c.Palette) {
            EXPECT_EQ(DeviceColorCount, c.Colors) << c.Driver;
        }
    }
}

TEST(WithoutWindow, EveryWindowOperationSaysNotOpen) {
    ASSERT_FALSE(GraphWindowIsOpen());
    SelectDrawPage(1);
    EXPECT_EQ(ResultCode, -1);
    SelectShownPage(1);
    EXPECT_EQ(ResultCode, -1);
    CloseGraphWindow();
    EXPECT_EQ(ResultCode, -1);
    InvalidateWholeClient();  // nothing to repaint: no update waits for a window thread
    TClientRect pending{};
    EXPECT_FALSE(TakeUpdateRect(pending));
}

}  // namespace
