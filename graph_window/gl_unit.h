// The OpenGL side of the graphics unit: which contexts exist and which one is
// the target. Program thread only.
#pragma once

#include <cstdint>

#include "graph_unit.h"

namespace TavrelInternal {
extern bool GlAvailable;       // both contexts were created
extern bool GlTargetIsWindow;  // the last SelectGlTarget chose the window
}  // namespace TavrelInternal
using namespace TavrelInternal;

// What the bitmap context drew (bytes B, G, R, A, bottom row first, the page's
// size) into a page: true colour as 0x00RRGGBB, palette pages as the index of
// the nearest of the page's first `paletteSize` colours (0: true colour).
void CopyGlPixelsToPage(const uint8_t* pixels, int32_t width, int32_t height, uint16_t paletteSize,
                        TPage& page);
// The same for only the pixels that differ from `previous`, the frame as of
// the last copy: what OpenGL left alone keeps the page's own drawing.
void CopyChangedGlPixelsToPage(const uint8_t* pixels, const uint8_t* previous, int32_t width, int32_t height,
                               uint16_t paletteSize, TPage& page);
