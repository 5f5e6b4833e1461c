#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "gl_unit.h"
#include "headless_pages.h"

namespace {

// A 3 x 2 frame as the GL reads it: bottom row first, bytes B, G, R, A.
std::vector<uint8_t> Frame(const std::vector<uint32_t>& topDownRgb, int32_t width, int32_t height) {
    std::vector<uint8_t> out(static_cast<size_t>(width) * height * 4);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t rgb = topDownRgb[y * width + x];
            uint8_t* p = &out[((height - 1 - y) * width + x) * 4];
            p[0] = rgb & 0xFF;
            p[1] = (rgb >> 8) & 0xFF;
            p[2] = (rgb >> 16) & 0xFF;
            p[3] = 0xFF;
        }
    return out;
}

TEST(GlReadback, TrueColourRowsComeTopDownWithoutAlpha) {
    const std::vector<uint32_t> rgb{0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0, 0xFFFFFF};
    TPage page;
    page.Pixels.assign(3 * 2 * 4, 0xEE);
    CopyGlPixelsToPage(Frame(rgb, 3, 2).data(), 3, 2, 0, page);
    for (size_t i = 0; i < rgb.size(); ++i) {
        uint32_t word;
        std::memcpy(&word, &page.Pixels[i * 4], 4);
        EXPECT_EQ(word, rgb[i]) << i;
    }
}

TEST(GlReadback, PalettePixelsTakeTheNearestEntryOfThePagesTable) {
    TPage page;
    page.Pixels.assign(3 * 2, 0xEE);
    page.ColorTable.fill(0xFFFFFF);
    page.ColorTable[0] = 0x000000;
    page.ColorTable[1] = 0xFF0000;
    page.ColorTable[2] = 0x00FF00;
    page.ColorTable[3] = 0x0000FF;
    page.ColorTable[4] = 0xFF0000;  // a duplicate: the first entry wins
    const std::vector<uint32_t> rgb{0xF01010, 0x10E010, 0x0000C0, 0x202020, 0xFFFFFF, 0x808080};
    // With 4 entries, white and grey have no entry of their own.
    CopyGlPixelsToPage(Frame(rgb, 3, 2).data(), 3, 2, 4, page);
    EXPECT_EQ(BytesNow(page.Pixels), (std::vector<uint8_t>{1, 2, 3, 0, 1, 1}));
    CopyGlPixelsToPage(Frame(rgb, 3, 2).data(), 3, 2, 256, page);
    EXPECT_EQ(BytesNow(page.Pixels), (std::vector<uint8_t>{1, 2, 3, 0, 5, 5}));

    // A changed table is matched afresh, not from what was remembered.
    page.ColorTable[7] = 0xF01010;
    page.ColorTable[8] = 0x808080;
    CopyGlPixelsToPage(Frame(rgb, 3, 2).data(), 3, 2, 256, page);
    EXPECT_EQ(BytesNow(page.Pixels), (std::vector<uint8_t>{7, 2, 3, 0, 5, 8}));
}

TEST(GlReadback, ManyColoursStayExact) {
    // More distinct colours than the remembered matches can hold at once.
    const int32_t width = 512, height = 256;
    std::vector<uint32_t> rgb(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<uint32_t>(i * 97) & 0xFFFFFF;
    TPage page;
    page.Pixels.assign(rgb.size(), 0);
    for (int i = 0; i < 256; ++i) page.ColorTable[i] = static_cast<uint32_t>(i) * 0x010101;  // greys
    const std::vector<uint8_t> frame = Frame(rgb, width, height);
    for (int pass = 0; pass < 2; ++pass) {
        CopyGlPixelsToPage(frame.data(), width, height, 256, page);
        for (size_t i = 0; i < rgb.size(); i += 331) {
            const int sum = ((rgb[i] >> 16) & 0xFF) + ((rgb[i] >> 8) & 0xFF) + (rgb[i] & 0xFF);
            // The nearest grey to (r, g, b) is the one nearest their mean.
            const int mean = sum / 3 + (sum % 3 == 2 ? 1 : 0);
            ASSERT_EQ(page.Pixels[i], mean) << i << " pass " << pass;
        }
    }
}

TEST(GlReadback, APageOfAnotherSizeIsLeftAlone) {
    TPage page;
    page.Pixels.assign(5, 9);
    const std::vector<uint8_t> frame(3 * 2 * 4, 0);
    CopyGlPixelsToPage(frame.data(), 3, 2, 256, page);
    EXPECT_EQ(BytesNow(page.Pixels), std::vector<uint8_t>(5, 9));
}

}  // namespace
