// The mode and driver tables on screens of known sizes, and the routines that
// refuse to work without a window.
#include <gtest/gtest.h>

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

TEST_F(LayoutTest, FixedModesThatFitAreFramed) {
    const struct {
        int16_t Mode;
        int32_t W, H;
    } modes[] = {{1, 320, 200}, {2, 640, 200}, {3, 640, 350}, {4, 640, 480},
                 {5, 720, 350}, {6, 800, 600}, {7, 1024, 768}};
    for (const auto& m : modes) {
        ASSERT_EQ(Layout(3, m.Mode), 0) << m.Mode;
        EXPECT_TRUE(WindowFramed) << m.Mode;
        EXPECT_EQ(WindowOuterWidth, m.W + FrameWidth) << m.Mode;
        EXPECT_EQ(WindowOuterHeight, m.H + FrameHeight) << m.Mode;
    }
}

TEST_F(LayoutTest, ClientThatOnlyFitsWithoutFrameIsFrameless) {
    ASSERT_EQ(Layout(3, 8), 0);
    EXPECT_FALSE(WindowFramed);
    EXPECT_EQ(WindowOuterWidth, 1280);
    EXPECT_EQ(WindowOuterHeight, 1024);
    Screen(1024, 768);
    EXPECT_EQ(Layout(3, 8), -3);
    ASSERT_EQ(Layout(3, 7), 0);
    EXPECT_FALSE(WindowFramed);
}

TEST_F(LayoutTest, ScreenSizedModes) {
    ASSERT_EQ(Layout(9, 12), 0);
    EXPECT_FALSE(WindowFramed);
    EXPECT_EQ(WindowOuterWidth, 1280);
    EXPECT_EQ(WindowOuterHeight, 1024);
    ASSERT_EQ(Layout(9, 11), 0);
    EXPECT_TRUE(WindowFramed);
    EXPECT_EQ(WindowOuterWidth, 1280);
    EXPECT_EQ(WindowOuterHeight, 1024);
    ASSERT_EQ(Layout(9, 10), 0);  // the system places and sizes it
    EXPECT_TRUE(WindowFramed);
    EXPECT_EQ(WindowOuterWidth, 0);
    EXPECT_EQ(WindowOuterHeight, 0);
}

TEST_F(LayoutTest, ModesOutsideTheTableAreTooLargeWhateverTheDriver) {
    for (int16_t mode : {int16_t(9), int16_t(0), int16_t(-1), int16_t(13), int16_t(14), int16_t(32767)}) {
        EXPECT_EQ(Layout(3, mode), -3) << mode;
        EXPECT_EQ(Layout(5, mode), -3) << mode;
    }
}

TEST_F(LayoutTest, DriverTable) {
    ASSERT_EQ(Layout(1, 6), 0);
    EXPECT_TRUE(PaletteMode);
    EXPECT_EQ(BitsPerPixel, 1);
    EXPECT_EQ(DeviceColorCount, 2);
    ASSERT_EQ(Layout(2, 6), 0);
    EXPECT_EQ(BitsPerPixel, 4);
    EXPECT_EQ(DeviceColorCount, 16);
    ASSERT_EQ(Layout(3, 6), 0);
    EXPECT_EQ(BitsPerPixel, 8);
    EXPECT_EQ(DeviceColorCount, 256);
    ASSERT_EQ(Layout(9, 6), 0);
    EXPECT_FALSE(PaletteMode);
    EXPECT_EQ(BitsPerPixel, 32);
    for (int16_t driver : {int16_t(0), int16_t(4), int16_t(8), int16_t(10), int16_t(-3)})
        EXPECT_EQ(Layout(driver, 6), -2) << driver;
}

TEST_F(LayoutTest, WithoutAScreenOnlyTheSelfSizingModesPassTheLayout) {
    Screen(0, 0);
    for (int16_t mode = 1; mode <= 9; ++mode) EXPECT_EQ(Layout(3, mode), -3) << mode;
    EXPECT_EQ(Layout(9, 10), 0);
    EXPECT_EQ(Layout(9, 12), 0);
}

TEST(DefaultMode, IsTrueColourSizedBySystem) {
    int16_t driver = 0, mode = 3;
    PickDefaultMode(driver, mode);
    EXPECT_EQ(driver, 9);
    EXPECT_EQ(mode, 10);
}

TEST(WithoutWindow, EveryWindowOperationSaysNotOpen) {
    ASSERT_FALSE(GraphWindowIsOpen());
    SelectDrawPage(1);
    EXPECT_EQ(ResultCode, -1);
    SelectShownPage(1);
    EXPECT_EQ(ResultCode, -1);
    CloseGraphWindow();
    EXPECT_EQ(ResultCode, -1);
    InvalidateWholeClient();  // nothing to repaint, nothing to crash
    EXPECT_EQ(NamedColors[250], 0u);
}

}  // namespace
