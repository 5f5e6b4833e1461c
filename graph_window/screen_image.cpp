// The conversion of page pixels into the server's words: the bulk of a
// present, run on the window thread for every paint.
#include "screen_image.h"

#include <bit>
#include <cstring>

#include "graph_unit.h"

namespace {

// Byte k of a word loaded from eight consecutive page bytes.
constexpr uint32_t ByteShift(int k) {
    return std::endian::native == std::endian::little ? uint32_t(8 * k) : uint32_t(56 - 8 * k);
}

// Eight indices come in with one load; the table lookups of a group are
// independent, so they overlap instead of waiting on one another.
void ConvertPaletteRow(const uint8_t* src, uint32_t* dst, int32_t count, const TScreenWords& words) {
    int32_t x = 0;
    for (; x + 8 <= count; x += 8) {
        uint64_t group;
        std::memcpy(&group, src + x, sizeof group);
        for (int k = 0; k < 8; ++k) dst[x + k] = words[(group >> ByteShift(k)) & 0xFFu];
    }
    for (; x < count; ++x) dst[x] = words[src[x]];
}

// The visual's layout without a test per pixel.
void ConvertTrueColourRow(const uint32_t* src, uint32_t* dst, int32_t count, const TScreenImage& image) {
    const uint32_t red = image.RedShift, green = image.GreenShift, blue = image.BlueShift;
    const uint32_t fixed = image.FixedBits;
    for (int32_t x = 0; x < count; ++x) {
        const uint32_t rgb = src[x];
        dst[x] = (((rgb >> 16) & 0xFFu) << red) | (((rgb >> 8) & 0xFFu) << green) | ((rgb & 0xFFu) << blue) | fixed;
    }
}

}  // namespace

void MakeScreenWords(const TPage& page, const TScreenImage& image, TScreenWords& words) {
    for (size_t i = 0; i < words.size(); ++i) words[i] = ScreenWord(image, page.ColorTable[i]);
}

void ConvertPagePixels(const TPage& page, const TScreenWords& words, const TClientRect& r, TScreenImage& image) {
    const int32_t count = r.X2 - r.X1 + 1;
    for (int32_t y = r.Y1; y <= r.Y2; ++y) {
        uint32_t* dst = image.Words + size_t(y) * size_t(image.WordsPerRow) + size_t(r.X1);
        const size_t first = size_t(y) * size_t(PageWidth) + size_t(r.X1);
        if (PaletteMode) {
            ConvertPaletteRow(page.Pixels.data() + first, dst, count, words);
        } else if (image.Direct) {
            std::memcpy(dst, page.Pixels.data() + first * 4, size_t(count) * 4);
        } else {
            ConvertTrueColourRow(reinterpret_cast<const uint32_t*>(page.Pixels.data()) + first, dst, count, image);
        }
    }
}

void ConvertPageRect(const TPage& page, const TClientRect& rect, TScreenImage& image) {
    TScreenWords words;
    if (PaletteMode) MakeScreenWords(page, image, words);
    ConvertPagePixels(page, words, rect, image);
}

void ForgetScreenShadow(TScreenShadow& shadow) {
    shadow.Width = shadow.Height = 0;
    std::vector<uint8_t>().swap(shadow.Indices);
    std::vector<uint8_t>().swap(shadow.RowKnown);
}

void ConvertChangedPagePixels(const TPage& page, const TScreenWords& words, const TClientRect& r,
                              TScreenImage& image, TScreenShadow& shadow) {
    if (!PaletteMode) {
        ConvertPagePixels(page, words, r, image);
        return;
    }
    if (shadow.Width != image.Width || shadow.Height != image.Height || shadow.Words != words) {
        shadow.Width = image.Width;
        shadow.Height = image.Height;
        shadow.Words = words;
        shadow.Indices.assign(size_t(image.Width) * size_t(image.Height), 0);
        shadow.RowKnown.assign(size_t(image.Height), 0);
    }
    const int32_t count = r.X2 - r.X1 + 1;
    const bool wholeRows = r.X1 == 0 && r.X2 == image.Width - 1;
    for (int32_t y = r.Y1; y <= r.Y2; ++y) {
        const uint8_t* src = page.Pixels.data() + size_t(y) * size_t(PageWidth) + size_t(r.X1);
        uint8_t* seen = shadow.Indices.data() + size_t(y) * size_t(shadow.Width) + size_t(r.X1);
        if (shadow.RowKnown[size_t(y)] && std::memcmp(src, seen, size_t(count)) == 0) continue;
        ConvertPaletteRow(src, image.Words + size_t(y) * size_t(image.WordsPerRow) + size_t(r.X1), count, words);
        std::memcpy(seen, src, size_t(count));
        // Part of an unknown row converted leaves the rest of it unknown.
        if (wholeRows) shadow.RowKnown[size_t(y)] = 1;
    }
}
