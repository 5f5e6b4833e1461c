// Under a real X server: while the draw page is shown and refresh is on, what
// the primitives and text draw reaches the screen without a page flip; a hidden
// draw page shows only once it is shown. And an open without the standard
// fonts fails with -5 but leaves a window that closes normally.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>

#include "graph_unit.h"
#include "test_support/test_window.h"

namespace {

constexpr int WaitMs = 3000;

uint32_t ScreenRGB(uint32_t color) {
    uint16_t r, g, b;
    SplitColorRGB(color, r, g, b);
    return uint32_t{r} << 16 | uint32_t{g} << 8 | b;
}

bool AnyPixelIn(TXDriver& x, Window w, int x1, int y1, int x2, int y2, uint32_t rgb) {
    std::vector<uint32_t> pixels;
    for (int waited = 0; waited < WaitMs; waited += 10) {
        if (ReadWindowPixels(x, w, x1, y1, x2 - x1 + 1, y2 - y1 + 1, pixels) &&
            std::find(pixels.begin(), pixels.end(), rgb) != pixels.end())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(DirectDraw, ShownPageDrawingAppearsWithoutAFlip) {
    TXDriver x;
    ASSERT_TRUE(OpenXDriver(x));
    const Window w = OpenTestWindow(x, 3, 4, "direct draw");
    ASSERT_NE(w, 0u);
    ASSERT_TRUE(DirectDraw);
    const uint32_t red = ScreenRGB(NamedColors[207]), yellow = ScreenRGB(NamedColors[253]);

    SetAreaFill(1, NamedColors[207]);
    FillBox(10, 10, 60, 60);
    EXPECT_TRUE(WaitWindowPixel(x, w, 30, 30, red, WaitMs));
    SetDrawColor(NamedColors[253]);
    DrawSegment(100, 20, 200, 20);
    EXPECT_TRUE(WaitWindowPixel(x, w, 200, 20, yellow, WaitMs));
    DrawCircle(300, 300, 40);
    EXPECT_TRUE(WaitWindowPixel(x, w, 340, 300, yellow, WaitMs));
    DrawTextAt(400, 100, "Direct");
    EXPECT_TRUE(AnyPixelIn(x, w, 400, 100, 470, 115, yellow));

    // Drawing on a hidden page leaves the screen alone until that page is shown.
    SelectDrawPage(1);
    EXPECT_FALSE(DirectDraw);
    ClearWholeWindow();
    FillBox(100, 100, 150, 150);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(ReadWindowPixel(x, w, 120, 120), ScreenRGB(NamedColors[12]));
    SelectShownPage(1);
    EXPECT_TRUE(WaitWindowPixel(x, w, 120, 120, red, WaitMs));
    EXPECT_TRUE(WaitWindowPixel(x, w, 30, 30, ScreenRGB(NamedColors[12]), WaitMs));

    CloseGraphWindow();
    CloseXDriver(x);
}

// In the child: no fonts, so the open stops at the faces with the window
// left open; the close still works.
void OpenWithoutFonts(const std::string& config) {
    setenv("FONTCONFIG_FILE", config.c_str(), 1);
    int16_t driver = 3;
    int16_t mode = 4;
    OpenGraphWindow(driver, mode, "no fonts");
    const bool failed = ResultCode == -5 && GraphWindowIsOpen();
    CloseGraphWindow();
    std::exit(failed && ResultCode == 0 && !GraphWindowIsOpen() ? 0 : 1);
}

// Fontconfig reads its configuration once per process: a process of its own.
TEST(DirectDraw, OpenWithoutTheStandardFacesFailsWithMinusFive) {
    char dir[] = "/tmp/tavrel_nofonts_XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string file = std::string(dir) + "/fonts.conf";
    std::ofstream(file) << "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(OpenWithoutFonts(file), ::testing::ExitedWithCode(0), "");
    unlink(file.c_str());
    rmdir(dir);
}

}  // namespace
