// Pages and palettes as the X server shows them: the shown page reaches the
// screen through its own colour table, page flips and palette changes repaint.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "graph_unit.h"
#include "palette_tables.h"
#include "platform/x11_window.h"
#include "test_support/program_test.h"
#include "test_support/test_window.h"

namespace {

constexpr int WaitMs = SignalWaitMs;

uint32_t ScreenRGB(int r, int g, int b) { return uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b); }

// Fills a page the way a primitive writes it: under the lock, once the window
// thread is no longer converting that page, then a repaint request (which
// shows it only when it is the shown page).
void FillPage(int page, uint32_t value) {
    {
        std::lock_guard<std::recursive_mutex> lock(DrawLock);
        AwaitPresentOf(uint16_t(page));
        auto& pixels = Pages[page].Pixels;
        if (PaletteMode) {
            std::fill(pixels.begin(), pixels.end(), uint8_t(value));
        } else {
            for (size_t i = 0; i + 3 < pixels.size(); i += 4) std::memcpy(&pixels[i], &value, 4);
        }
    }
    InvalidateWholeClient();
}

void ApplyStandardPalette() {
    TPaletteTable table{};
    FetchStandardPalette(table);
    ApplyPalette(table);
    ASSERT_EQ(ResultCode, 0);
}

// Waits until the window thread has finished a present begun after this call.
// The first present seen may have been under way already; one that ends after
// it was begun after the call.
bool WaitNextPresent() {
    for (int round = 0; round < 2; ++round) {
        const uint32_t before = PresentCount;
        InvalidateWholeClient();
        if (!WaitUntil(WaitMs, [before] { return PresentCount != before; })) return false;
    }
    return true;
}

class PagesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(OpenXDriver(x_)); }
    void TearDown() override {
        if (GraphWindowIsOpen()) CloseGraphWindow();
        CloseXDriver(x_);
    }
    void Open(int16_t driver, int16_t mode, const char* caption) {
        window_ = OpenTestWindow(x_, driver, mode, caption);
        ASSERT_NE(window_, 0u) << "result " << ResultCode;
    }
    // Both corners and the middle show rgb (a put may reach the server in
    // strips, so each is waited for).
    void ExpectScreen(uint32_t rgb) {
        const int points[3][2] = {{0, 0}, {GetRightEdge() / 2, GetBottomEdge() / 2}, {GetRightEdge(), GetBottomEdge()}};
        for (const auto& p : points)
            EXPECT_TRUE(WaitWindowPixel(x_, window_, p[0], p[1], rgb, WaitMs))
                << std::hex << ReadWindowPixel(x_, window_, p[0], p[1]) << " wanted " << rgb;
    }
    TXDriver x_;
    Window window_ = 0;
};

TEST_F(PagesTest, ShownPageReachesTheScreenAndFlips) {
    Open(3, 6, "flip");
    ApplyStandardPalette();
    FillPage(0, 1);  // blue
    ExpectScreen(ScreenRGB(0, 0, 168));
    SelectDrawPage(1);
    FillPage(1, 40);  // red, on the hidden page
    ASSERT_TRUE(WaitNextPresent());
    ExpectScreen(ScreenRGB(0, 0, 168));
    EXPECT_EQ(DrawPage, 1);  // the paint left the draw page alone
    SelectShownPage(1);
    EXPECT_EQ(ResultCode, 0);
    ExpectScreen(ScreenRGB(252, 0, 0));
    SelectShownPage(4);  // page 0
    ExpectScreen(ScreenRGB(0, 0, 168));
}

// Pages taking turns keep their own screen images: what was drawn on a page
// while it was hidden shows when it is shown again, beside what it kept.
TEST_F(PagesTest, PageShownAgainShowsWhatWasDrawnWhileHidden) {
    Open(3, 6, "turns");
    ApplyStandardPalette();
    FillPage(0, 1);  // blue
    ExpectScreen(ScreenRGB(0, 0, 168));
    SelectDrawPage(1);
    FillPage(1, 40);  // red
    SelectShownPage(1);
    ExpectScreen(ScreenRGB(252, 0, 0));
    {
        // The lower half of the hidden page 0 turns green.
        std::lock_guard<std::recursive_mutex> lock(DrawLock);
        AwaitPresentOf(0);
        auto& pixels = Pages[0].Pixels;
        std::fill(pixels.begin() + std::ptrdiff_t(pixels.size() / 2), pixels.end(), uint8_t(2));
    }
    SelectShownPage(0);
    EXPECT_TRUE(WaitWindowPixel(x_, window_, GetRightEdge(), GetBottomEdge(), ScreenRGB(0, 168, 0), WaitMs));
    EXPECT_TRUE(WaitWindowPixel(x_, window_, 0, 0, ScreenRGB(0, 0, 168), WaitMs));
    EXPECT_EQ(ReadWindowPixel(x_, window_, 0, GetBottomEdge() / 2 - 1), ScreenRGB(0, 0, 168));
    EXPECT_EQ(ReadWindowPixel(x_, window_, 0, GetBottomEdge() / 2 + 1), ScreenRGB(0, 168, 0));
    SelectShownPage(1);  // unchanged since it was last shown
    ExpectScreen(ScreenRGB(252, 0, 0));
    SelectShownPage(0);
    EXPECT_TRUE(WaitWindowPixel(x_, window_, GetRightEdge(), GetBottomEdge(), ScreenRGB(0, 168, 0), WaitMs));
    EXPECT_EQ(ReadWindowPixel(x_, window_, 0, 0), ScreenRGB(0, 0, 168));
}

TEST_F(PagesTest, PartOfThePageRepaintsOnlyThatRectangle) {
    Open(3, 4, "rectangle");
    ApplyStandardPalette();
    FillPage(0, 2);  // green
    ExpectScreen(ScreenRGB(0, 168, 0));
    {
        std::lock_guard<std::recursive_mutex> lock(DrawLock);
        AwaitPresentOf(0);
        std::fill(Pages[0].Pixels.begin(), Pages[0].Pixels.end(), uint8_t(4));
    }
    InvalidateClientRect(-50, 400, 9, 99999);  // clipped to x 0..9, y 400..479
    EXPECT_TRUE(WaitWindowPixel(x_, window_, 9, 479, ScreenRGB(168, 0, 0), WaitMs));
    EXPECT_EQ(ReadWindowPixel(x_, window_, 0, 400), ScreenRGB(168, 0, 0));
    EXPECT_EQ(ReadWindowPixel(x_, window_, 10, 479), ScreenRGB(0, 168, 0));
    EXPECT_EQ(ReadWindowPixel(x_, window_, 9, 399), ScreenRGB(0, 168, 0));
}

TEST_F(PagesTest, TrueColourPagesShowTheirValues) {
    Open(9, 4, "true colour");
    FillPage(0, 0x123456);
    ExpectScreen(0x123456);
    SelectDrawPage(2);
    FillPage(2, 0xFEDCBA);
    SelectShownPage(2);
    ExpectScreen(0xFEDCBA);
    TPaletteTable table{};
    FetchStandardPalette(table);
    ApplyPalette(table);
    EXPECT_EQ(ResultCode, -8);
}

TEST_F(PagesTest, PaletteChangeRepaintsWithTheNewColours) {
    Open(3, 4, "palette");
    ApplyStandardPalette();
    FillPage(0, 5);
    ExpectScreen(ScreenRGB(168, 0, 168));

    TPaletteTable table{};
    FetchStandardPalette(table);
    table.Colors[5] = PackRGB(10, 200, 30);
    ApplyPalette(table);
    ASSERT_EQ(ResultCode, 0);
    ExpectScreen(ScreenRGB(10, 200, 30));
    uint16_t r, g, b;
    SplitColorRGB(5, r, g, b);
    EXPECT_EQ(g, 200);

    // Refused tables change nothing.
    TPaletteTable refused = table;
    refused.Colors[5] = PackRGB(1, 2, 3);
    refused.Size = 257;
    ApplyPalette(refused);
    EXPECT_EQ(ResultCode, -7);
    refused.Size = 0;
    ApplyPalette(refused);
    EXPECT_EQ(ResultCode, -7);
    SplitColorRGB(5, r, g, b);
    EXPECT_EQ(g, 200);
    EXPECT_EQ(GetTopColorValue(), 255u);
    ASSERT_TRUE(WaitNextPresent());
    ExpectScreen(ScreenRGB(10, 200, 30));

    // A smaller palette: values wrap at its size, indices past it show entry 0.
    table.Size = 4;
    table.Colors[0] = PackRGB(0, 0, 0xFF);
    ApplyPalette(table);
    ASSERT_EQ(ResultCode, 0);
    EXPECT_EQ(GetTopColorValue(), 3u);
    ExpectScreen(ScreenRGB(0, 0, 0xFF));
    for (uint32_t c : NamedColors) EXPECT_LT(c, 4u);
}

TEST_F(PagesTest, PagesTakeTheTableWhenSelectedForDrawing) {
    Open(3, 4, "tables");
    ApplyStandardPalette();
    FillPage(0, 1);
    SelectDrawPage(1);  // carries the standard table from now on
    FillPage(1, 1);
    TPaletteTable table{};
    FetchStandardPalette(table);
    table.Colors[1] = PackRGB(200, 100, 50);
    ApplyPalette(table);  // reaches page 1 only
    ExpectScreen(ScreenRGB(0, 0, 168));
    SelectShownPage(1);
    ExpectScreen(ScreenRGB(200, 100, 50));
    SelectDrawPage(0);
    SelectShownPage(0);
    ExpectScreen(ScreenRGB(200, 100, 50));
}

}  // namespace
