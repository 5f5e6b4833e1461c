// The library's software rasterizer: plain routines over a surface record, so
// that the drawing routines can run on a page and the tests on any buffer.
// Coordinates are surface pixels; every write is cut to the surface's clip.
#pragma once

#include <array>
#include <cstdint>

#include "tavrel.h"

// A rectangle with inclusive corners; empty when X1 > X2 or Y1 > Y2.
struct TClipRect {
    int32_t X1, Y1, X2, Y2;
};

inline bool ClipEmpty(const TClipRect& r) { return r.X1 > r.X2 || r.Y1 > r.Y2; }

inline TClipRect IntersectClip(const TClipRect& a, const TClipRect& b) {
    return {a.X1 > b.X1 ? a.X1 : b.X1, a.Y1 > b.Y1 ? a.Y1 : b.Y1, a.X2 < b.X2 ? a.X2 : b.X2,
            a.Y2 < b.Y2 ? a.Y2 : b.Y2};
}

struct TSurface {
    uint8_t* Pixels = nullptr;
    int32_t Width = 0, Height = 0;
    int32_t Stride = 0;            // bytes from one row to the next
    int32_t BytesPerPixel = 1;     // 1: a palette index per byte; 4: a 0x00RRGGBB word
    uint32_t ValueMask = 0xFF;     // raster operations keep their results within these bits
    TClipRect Clip{0, 0, -1, -1};  // never larger than the surface
};

// Raster operations, numbered as SetRasterMode takes them.
enum : uint8_t {
    RopCopyPen,
    RopXorPen,
    RopMergePen,
    RopMaskPen,
    RopNotCopyPen,
    RopNot,
    RopNotXorPen,
    RopNotMergePen,
    RopNotMaskPen,
    RopMaskNotPen,
    RopMergeNotPen,
    RopMaskPenNot,
    RopMergePenNot,
    RopBlack,
    RopWhite,
    RopNop
};

// How pens and brushes meet the pixels already there.
struct TPaint {
    uint8_t Rop = RopCopyPen;
    bool Opaque = false;  // hatch gaps and the text cell take BackPixel
    uint32_t BackPixel = 0;
};

// Stroke kinds: the cosmetic dash patterns, in the numbering of the stroke
// styles, and no outline at all.
enum : uint8_t { DashSolid, DashDot, DashDashDot, DashDash, DashDashDotDot, DashNone };

struct TPen {
    uint32_t Pixel = 0;
    uint8_t Dash = DashSolid;  // only pens of width 0 or 1 are dashed
    uint16_t Width = 1;        // above 1: solid, round ends
};

enum : uint8_t { BrushHollow, BrushSolid, BrushHatch, BrushTile };

struct TBrush {
    uint8_t Kind = BrushSolid;
    uint32_t Pixel = 0;               // solid colour, hatch lines
    std::array<uint8_t, 8> Hatch{};   // hatch rows, bit 7 leftmost
    std::array<uint32_t, 64> Tile{};  // 8 x 8 pixels of a tile brush, row by row
};

// The six hatches in the order of fill styles 2 to 7.
namespace TavrelInternal {
extern const std::array<std::array<uint8_t, 8>, 6> HatchRows;
}  // namespace TavrelInternal
using namespace TavrelInternal;

// One pixel, copied whatever the raster operation.
void PutSurfacePixel(const TSurface& s, int32_t x, int32_t y, uint32_t pixel);

// A rectangle filled with the brush, copied whatever the raster operation.
void FillSurfaceRect(const TSurface& s, TClipRect r, const TBrush& brush, const TPaint& paint);
// The same with a solid colour over pixels that mostly hold it already.
void RefillSurfaceRect(const TSurface& s, TClipRect r, uint32_t pixel);

// A line with the pen. Pens of width 0 or 1 stop short of the end point and
// carry their dash pattern from one pixel to the next; wider pens are solid
// with round ends and include both end points.
void StrokeSurfaceLine(const TSurface& s, int32_t x0, int32_t y0, int32_t x1, int32_t y1, const TPen& pen,
                       const TPaint& paint);

// The points of the line from (x0, y0) towards (x1, y1), the end point excluded,
// in order, unclipped: at most 65535 points for 16-bit coordinates.
void WalkLinePoints(int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                    void (*visit)(int32_t x, int32_t y, void* data), void* data);

// The outline of the ellipse centred at (cx, cy) whose pixels reach cx - rx to
// cx + rx and cy - ry to cy + ry, counter-clockwise on the screen from the
// radial through (sx, sy) to the radial through (ex, ey), both given relative to
// the centre with y upwards; the whole ellipse when the two coincide.
void StrokeSurfaceArc(const TSurface& s, int32_t cx, int32_t cy, int32_t rx, int32_t ry, int32_t sx,
                      int32_t sy, int32_t ex, int32_t ey, const TPen& pen, const TPaint& paint);

// The ellipse filled with the brush and outlined with the pen.
void FillSurfaceEllipse(const TSurface& s, int32_t cx, int32_t cy, int32_t rx, int32_t ry, const TPen& pen,
                        const TBrush& brush, const TPaint& paint);

// The closed polygon filled with the brush by the alternate (even-odd) rule and
// outlined with the pen. Vertices may lie anywhere in the 32-bit range.
void FillSurfacePolygon(const TSurface& s, const TPolyPoint* points, int32_t count, const TPen& pen,
                        const TBrush& brush, const TPaint& paint);

// A horizontal run of one colour, copied; used for glyphs.
void CopySurfaceRun(const TSurface& s, int32_t y, int32_t x1, int32_t x2, uint32_t pixel);
