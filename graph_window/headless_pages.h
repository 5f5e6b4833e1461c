// Pages without a window, for tests and benchmarks of the drawing routines:
// the graph unit's state as an open window leaves it, minus the window itself.
// Never call while a real window is open.
#pragma once

#include <cstdint>

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
    for (TPage& page : Pages) page.Pixels.assign(static_cast<size_t>(width * height * PageBytesPerPixel), 0);
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
