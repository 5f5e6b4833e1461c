// What the rasterizer's files share: pixel writes, brush spans and the
// coverage mask that lets shapes with overlapping parts touch each pixel once.
#pragma once

#include <cstdint>
#include <cstring>

#include "raster.h"

// Floor division with its remainder (0 <= rem < b), b > 0. 128-bit division
// is a library call, so page-sized values take the 64-bit path.
inline int64_t FloorDivRem(__int128 a, int64_t b, int64_t& rem) {
    if (a == static_cast<int64_t>(a)) {
        const auto a64 = static_cast<int64_t>(a);
        int64_t q = a64 / b, r = a64 % b;
        if (r < 0) {
            --q;
            r += b;
        }
        rem = r;
        return q;
    }
    __int128 q = a / b, r = a % b;
    if (r < 0) {
        --q;
        r += b;
    }
    rem = static_cast<int64_t>(r);
    return static_cast<int64_t>(q);
}

uint32_t ApplyRop(uint8_t rop, uint32_t pen, uint32_t dest, uint32_t mask);

// A run of one colour through a raster operation; y and x1..x2 inside the clip.
void RopSurfaceRun(const TSurface& s, int32_t y, int32_t x1, int32_t x2, uint32_t pixel, uint8_t rop);

// A run of the brush (tiles and hatches aligned to the surface origin).
void BrushSurfaceRun(const TSurface& s, int32_t y, int32_t x1, int32_t x2, const TBrush& brush,
                     const TPaint& paint, uint8_t rop);

// Coverage of one shape by part; the pen wins where both reach. Spans and
// points are cut to the surface's clip here.
enum : uint8_t { MaskNothing, MaskBrush, MaskPen };
void MaskBegin(const TSurface& s);
void MaskRun(int32_t y, int32_t x1, int32_t x2, uint8_t value);
void MaskApply(const TSurface& s, const TPen& pen, const TBrush& brush, const TPaint& paint);

// Where a shape's runs and points go: straight to the surface, or to the mask.
struct TRasterTarget {
    const TSurface* Surface;
    const TPen* Pen;
    const TBrush* Brush;
    const TPaint* Paint;
    bool ToMask;
};

// A clipped run of the brush (interiors, MaskBrush) or the pen (wide strokes, MaskPen).
void TargetRun(const TRasterTarget& t, int32_t y, int32_t x1, int32_t x2, uint8_t part);

// The same for a run already inside the clip; solid copies of palette pages,
// the bulk of every fill, stay in line.
inline void TargetClippedRun(const TRasterTarget& t, int32_t y, int32_t x1, int32_t x2, uint8_t part) {
    const TSurface& s = *t.Surface;
    if (!t.ToMask && t.Paint->Rop == RopCopyPen && s.BytesPerPixel == 1 && part == MaskBrush &&
        t.Brush->Kind == BrushSolid) {
        std::memset(s.Pixels + static_cast<ptrdiff_t>(y) * s.Stride + x1, static_cast<int>(t.Brush->Pixel),
                    static_cast<size_t>(x2 - x1 + 1));
        return;
    }
    TargetRun(t, y, x1, x2, part);
}
// One pen pixel already known to be inside the clip.
void TargetPenPixel(const TRasterTarget& t, int32_t x, int32_t y);

// Whether a shape with overlapping parts (fill and outline, the discs of a wide
// pen) must go through the mask: any raster operation but copy would combine
// twice where they overlap.
bool ShapeNeedsMask(const TPaint& paint);

// Dash patterns: bit i tells whether pixel i of a period is drawn.
struct TDash {
    uint32_t Bits;
    uint32_t Period;
};
TDash DashPattern(uint8_t dash);

// Thin strokes: each visible pixel of the line, end point excluded, with the
// dash position carried along (counting clipped pixels as well).
void ThinLine(const TRasterTarget& t, int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint32_t& dashPos);
// Wide strokes: the pen's disc swept along the segment, as clipped runs.
void WideLine(const TRasterTarget& t, int64_t x0, int64_t y0, int64_t x1, int64_t y1);
// The wide pen's disc at one point.
void WideDot(const TRasterTarget& t, int64_t x, int64_t y);
