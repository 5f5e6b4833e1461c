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
    void SetUp() override { UseSize(4, 3); }
    void UseSize(int32_t width, int32_t height) {
        PageWidth = width;
        PageHeight = height;
        words_.assign(size_t((width + 1) * height), Untouched);
        image_.Words = words_.data();
        image_.WordsPerRow = width + 1;
        image_.Width = width;
        image_.Height = height;
    }
    void TearDown() override {
        PaletteMode = false;
        PageWidth = PageHeight = 0;
    }
    void UsePaletteMode(bool palette) {
        PaletteMode = palette;
        page_.Pixels.assign(size_t(PageWidth * PageHeight * (palette ? 1 : 4)), 0);
    }
    void SetPixel(int x, int y, uint32_t value) {
        if (PaletteMode)
            page_.Pixels[size_t(y * PageWidth + x)] = uint8_t(value);
        else
            std::memcpy(&page_.Pixels[size_t(y * PageWidth + x) * 4], &value, 4);
    }
    // Server word at (x, y) after the conversion.
    uint32_t At(int x, int y) const { return words_[size_t(y * image_.WordsPerRow + x)]; }
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

// Rows are converted several pixels at a time: every pixel of a rectangle that
// starts and ends off those groups, and none beside it, gets its own entry.
TEST_F(ScreenImageTest, WideRectanglesConvertEveryPixelOnce) {
    UseSize(37, 4);
    UsePaletteMode(true);
    for (int i = 0; i < 256; ++i) page_.ColorTable[size_t(i)] = 0x10000u * uint32_t(i) + 0x0101u * uint32_t(255 - i);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 37; ++x) SetPixel(x, y, uint32_t(y * 37 + x) * 7 % 256);
    for (const TClientRect r : {TClientRect{3, 1, 33, 2}, TClientRect{0, 0, 36, 3}, TClientRect{5, 3, 12, 3}}) {
        words_.assign(words_.size(), Untouched);
        ConvertPageRect(page_, r, image_);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x <= 37; ++x) {
                const bool inside = x >= r.X1 && x <= r.X2 && y >= r.Y1 && y <= r.Y2;
                const uint32_t want = inside ? page_.ColorTable[page_.Pixels[size_t(y * 37 + x)]] : Untouched;
                ASSERT_EQ(At(x, y), want) << x << "," << y << " of " << r.X1 << ".." << r.X2;
            }
        }
    }
}

// Rows of 64 pixels and more take the table in registers: every index, rows
// starting and ending off the groups of 64, and visuals whose top byte is
// the same in every word or differs from word to word.
TEST_F(ScreenImageTest, LongRowsConvertEveryIndexOnEveryVisual) {
    UseSize(200, 3);
    UsePaletteMode(true);
    for (int i = 0; i < 256; ++i) page_.ColorTable[size_t(i)] = 0x10000u * uint32_t(i) + 0x0101u * uint32_t(255 - i);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 200; ++x) SetPixel(x, y, uint32_t(y * 200 + x) * 7 % 256);
    struct TCase {
        uint32_t Red, Green, Blue, Fixed;
        bool Direct;
        uint32_t First, Second, Last;  // the words of (0, 0), (1, 0) and (199, 2)
    };
    const TCase cases[] = {
        {16, 8, 0, 0, true, 0x0000FFFFu, 0x0007F8F8u, 0x00619E9Eu},
        {0, 8, 16, 0xFF000000u, false, 0xFFFFFF00u, 0xFFF8F807u, 0xFF9E9E61u},
        {24, 16, 8, 0, false, 0x00FFFF00u, 0x07F8F800u, 0x619E9E00u},
    };
    for (const TCase& c : cases) {
        image_.RedShift = c.Red;
        image_.GreenShift = c.Green;
        image_.BlueShift = c.Blue;
        image_.FixedBits = c.Fixed;
        image_.Direct = c.Direct;
        words_.assign(words_.size(), Untouched);
        ConvertPageRect(page_, {0, 0, 199, 2}, image_);
        EXPECT_EQ(At(0, 0), c.First);
        EXPECT_EQ(At(1, 0), c.Second);
        EXPECT_EQ(At(199, 2), c.Last);
        for (const TClientRect r : {TClientRect{5, 1, 150, 1}, TClientRect{64, 0, 191, 2}, TClientRect{0, 0, 199, 2}}) {
            words_.assign(words_.size(), Untouched);
            ConvertPageRect(page_, r, image_);
            for (int y = 0; y < 3; ++y) {
                for (int x = 0; x <= 200; ++x) {
                    const bool inside = x >= r.X1 && x <= r.X2 && y >= r.Y1 && y <= r.Y2;
                    const uint32_t rgb = inside ? page_.ColorTable[page_.Pixels[size_t(y * 200 + x)]] : 0;
                    const uint32_t word = (((rgb >> 16) & 0xFFu) << c.Red) | (((rgb >> 8) & 0xFFu) << c.Green) |
                                          ((rgb & 0xFFu) << c.Blue) | c.Fixed;
                    ASSERT_EQ(At(x, y), inside ? word : Untouched) << x << "," << y << " of " << r.X1 << ".." << r.X2;
                }
            }
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
