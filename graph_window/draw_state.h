// The drawing state that primitives and text draw with: plain records that
// stand for the port, pen, brush, fill bitmap and current position.
#pragma once

#include <array>
#include <cstdint>

#include "graph_unit.h"
#include "raster.h"

struct TDrawPort {
    int16_t X1, Y1, X2, Y2;
    bool Clip;
};

struct TStrokeSettings {
    uint16_t Style, Pattern, Thickness;
};

struct TAreaFillSettings {
    uint16_t Style;
    uint32_t Color;
};

namespace TavrelInternal {
extern TDrawPort DrawPort;
extern int32_t PortOriginX, PortOriginY;
extern int16_t PortExtentX, PortExtentY;
extern bool PortClipRegion;  // a clipping port is in force
extern int32_t AspectX, AspectY;
extern bool UnitAspect;
extern uint32_t BackgroundColor, DrawColor;
extern TStrokeSettings StrokeSettings;
extern TAreaFillSettings AreaFillSettings;
extern TPen CurrentPen;
extern TBrush CurrentBrush;
extern TPaint CurrentPaint;  // raster operation, background mode and colour
extern uint32_t TextPixel;   // the text colour as stored in the page
extern bool FillPatternDefined;
extern std::array<uint32_t, 64> FillPatternBitmap;

// The pen relative to the port origin, and the same point on the page (the
// origin added without wrapping, as the current position keeps it).
extern int32_t PenX, PenY;
extern int32_t CurrentPosX, CurrentPosY;
}  // namespace TavrelInternal
using namespace TavrelInternal;

// ResultCode := 0; false (and -1) without a window.
bool EnterDrawCall();

// A colour value as the word stored in a page, within the page's bits.
uint32_t ColorToPagePixel(uint32_t color);

// Port coordinate plus origin, kept to 16 bits.
inline int16_t PortToPage(int32_t v, int32_t origin) {
    return static_cast<int16_t>(
        static_cast<uint16_t>(static_cast<uint32_t>(v) + static_cast<uint32_t>(origin)));
}

// The draw page with the clip of the page and, when clipping, of the port.
// Call with DrawLock held.
TSurface DrawPageSurface();

// Notes the part of the rectangle (page pixels, inclusive) that drawing can
// have reached among the draw page's drawn and written pixels and, while the
// draw page is shown, asks the window for it. Every write into a page reports
// its area here or calls ForgetDrawPageBlank: a true-colour page copied into
// its screen image copies nothing else.
void ShowDrawnArea(int64_t x1, int64_t y1, int64_t x2, int64_t y2);

// For writes whose reach is not known exactly (glyphs, OpenGL frames): the
// whole page counts as written.
void ForgetDrawPageBlank();

// ResetDrawState after its palette step: the defaults with the named colours
// as they are.
void ApplyDrawDefaults();

// The text defaults, part of ResetDrawState.
void ResetTextState();
