// The client area as the X server takes it: 32-bit words in the layout of the
// window's visual, and the conversion of a page into them.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/window_system.h"

struct TPage;

inline uint32_t ScreenWord(const TScreenImage& image, uint32_t rgb) {
    if (image.Direct) return rgb;
    return (((rgb >> 16) & 0xFFu) << image.RedShift) | (((rgb >> 8) & 0xFFu) << image.GreenShift) |
           ((rgb & 0xFFu) << image.BlueShift) | image.FixedBits;
}

// A palette page's colour table as server words, one per index.
using TScreenWords = std::array<uint32_t, 256>;

// Tests set them to run the conversion that every processor has on one that
// has the wide one too, and to copy true-colour pages into the screen images
// as a display without room for an image per page has them.
namespace TavrelInternal {
extern bool PortableConversionOnly;
extern bool PagesApartFromImages;
}  // namespace TavrelInternal
using namespace TavrelInternal;

// The table is taken apart from the pixels so that it can be read while the
// page cannot change and the pixels converted later.
void MakeScreenWords(const TPage& page, const TScreenImage& image, TScreenWords& words);
// The rectangle (inside both) of a page into the image: palette pages through
// words, true-colour pages as they are.
void ConvertPagePixels(const TPage& page, const TScreenWords& words, const TClientRect& rect, TScreenImage& image);
// Both steps at once.
void ConvertPageRect(const TPage& page, const TClientRect& rect, TScreenImage& image);

// What the image shows of a palette page: the indices and the words it was
// converted from, row by row. A present then converts only the rows whose
// pixels changed, and in them only the 64-pixel blocks that did; most frames
// change a small part of the picture.
struct TScreenShadow {
    std::vector<uint8_t> Indices;   // Width x Height
    std::vector<uint8_t> RowKnown;  // 1: the row's indices are what the image shows
    TScreenWords Words{};
    int32_t Width = 0, Height = 0;
};

// Nothing is known of the image any more (a new image, or one written otherwise).
void ForgetScreenShadow(TScreenShadow& shadow);
// ConvertPagePixels, skipping the rows of a palette page that the image
// already shows with the same words. True-colour pages have no shadow: the
// whole rectangle is copied, and the caller passes what was written.
void ConvertChangedPagePixels(const TPage& page, const TScreenWords& words, const TClientRect& rect,
                              TScreenImage& image, TScreenShadow& shadow);
