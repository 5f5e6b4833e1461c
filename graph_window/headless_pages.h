// Pages without a window, for tests and benchmarks of the drawing routines:
// the graph unit's state as an open window leaves it, minus the window itself.
// Never call while a real window is open.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "draw_state.h"

inline void OpenHeadlessPages(int32_t width, int32_t height, bool palette, uint16_t colors = 256) {
    WindowReady = true;
    PaletteMode = palette;
    DeviceColorCount = palette ? colors : 0;
    ActivePaletteSize = palette ? colors : 0;
    BitsPerPixel = palette ? (colors == 2 ? 1 : (colors == 16 ? 4 : 8)) : 32;
    ClientMaxX = width - 1;
    ClientMaxY = height - 1;
    PageWidth = width;
    PageHeight = height;
    PageBytesPerPixel = palette ? 1 : 4;
    for (TPage& page : Pages) {
        page.Pixels.assign(static_cast<size_t>(width * height * PageBytesPerPixel), 0);
        page.BlankKnown = true;  // all zeros, as a new window's pages
        page.Blank = 0;
        page.Drawn = {0, 0, -1, -1};
    }
    DrawPage = 0;
    ShownPage = 1;
    RefreshMode = false;
    DirectDraw = false;
    // White and black as the standard palette and true colour hold them.
    NamedColors[250] = palette ? (colors == 2 ? 1u : 15u) : 0xFFFFFFu;
    NamedColors[12] = 0;
    PortClipRegion = false;
    FillPatternDefined = false;
    ApplyDrawDefaults();
}

inline void CloseHeadlessPages() { WindowReady = false; }

// What the bytes hold now, to compare with later.
inline std::vector<uint8_t> BytesNow(const TPageBytes& bytes) { return {bytes.begin(), bytes.end()}; }

// The box around the non-zero pixels of palette page 0 (empty: X1 > X2).
struct TPixelBox {
    int32_t X1, Y1, X2, Y2;
    int32_t Width() const { return X2 - X1 + 1; }
    int32_t Height() const { return Y2 - Y1 + 1; }
};

inline TPixelBox PagePixelBox() {
    TPixelBox b{PageWidth, PageHeight, -1, -1};
    for (int32_t y = 0; y < PageHeight; ++y)
        for (int32_t x = 0; x < PageWidth; ++x)
            if (Pages[0].Pixels[static_cast<size_t>(y * PageWidth + x)] != 0)
                b = {std::min(b.X1, x), std::min(b.Y1, y), std::max(b.X2, x), std::max(b.Y2, y)};
    return b;
}
