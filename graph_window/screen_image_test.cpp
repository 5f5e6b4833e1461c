// The conversion of a page into the server's words, for the visual layouts a
// server may have, without a server.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "graph_unit.h"
#include "screen_image.h"

namespace {

constexpr uint32_t Untouched = 0xDEADBEEF;

class ScreenImageTest : public ::testing::Test {
protected:
    // A 4 x 3 page and an image with a padding word after every row.
    void SetUp() override {
        PageWidth = 4;
        PageHeight = 3;
        words_.assign(5 * 3, Untouched);
        image_.Words = words_.data();
        image_.WordsPerRow = 5;
        image_.Width = 4;
        image_.Height = 3;
    }
    void TearDown() override {
        PaletteMode = false;
        PageWidth = PageHeight = 0;
    }
    void UsePaletteMode(bool palette) {
        PaletteMode = palette;
        page_.Pixels.assign(size_t(4 * 3 * (palette ? 1 : 4)), 0);
    }
    void SetPixel(int x, int y, uint32_t value) {
        if (PaletteMode)
            page_.Pixels[size_t(y * 4 + x)] = uint8_t(value);
        else
            std::memcpy(&page_.Pixels[size_t(y * 4 + x) * 4], &value, 4);
    }
    // Server word at (x, y) after the conversion.
    uint32_t At(int x, int y) const { return words_[size_t(y * 5 + x)]; }
    // A visual with blue lowest and alpha in the top byte.
    void UseReversedVisualWithAlpha() {
        image_.RedShift = 0;
        image_.GreenShift = 8;
        image_.BlueShift = 16;
        image_.FixedBits = 0xFF000000;
        image_.Direct = false;
    }

    TPage page_;
    TScreenImage image_;
    std::vector<uint32_t> words_;
};

TEST_F(ScreenImageTest, PalettePageGoesThroughItsOwnTable) {
    UsePaletteMode(true);
    page_.ColorTable[1] = 0x112233;
    page_.ColorTable[255] = 0xAABBCC;
    SetPixel(1, 1, 1);
    SetPixel(2, 2, 255);
    ConvertPageRect(page_, {1, 1, 2, 2}, image_);
    EXPECT_EQ(At(1, 1), 0x112233u);
    EXPECT_EQ(At(2, 2), 0xAABBCCu);
    EXPECT_EQ(At(2, 1), 0u);  // index 0, entry 0 black
    // Outside the rectangle and the row padding stay as they were.
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            const bool inside = x >= 1 && x <= 2 && y >= 1;
            EXPECT_EQ(At(x, y) == Untouched, !inside) << x << "," << y;
        }
    }
}

TEST_F(ScreenImageTest, TrueColourPageIsCopied) {
    UsePaletteMode(false);
    SetPixel(0, 0, 0x123456);
    SetPixel(3, 2, 0xFEDCBA);
    ConvertPageRect(page_, {0, 0, 3, 2}, image_);
    EXPECT_EQ(At(0, 0), 0x123456u);
    EXPECT_EQ(At(3, 2), 0xFEDCBAu);
    EXPECT_EQ(At(4, 0), Untouched);
}

TEST_F(ScreenImageTest, OtherVisualLayoutsGetTheirWords) {
    UseReversedVisualWithAlpha();
    UsePaletteMode(true);
    page_.ColorTable[7] = 0x112233;
    SetPixel(0, 0, 7);
    ConvertPageRect(page_, {0, 0, 0, 0}, image_);
    EXPECT_EQ(At(0, 0), 0xFF332211u);
    UsePaletteMode(false);
    SetPixel(3, 2, 0x445566);
    ConvertPageRect(page_, {3, 2, 3, 2}, image_);
    EXPECT_EQ(At(3, 2), 0xFF665544u);
}

}  // namespace
