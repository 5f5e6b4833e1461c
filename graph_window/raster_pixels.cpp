#include <emmintrin.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "byte_blocks.h"
#include "raster_core.h"

const std::array<std::array<uint8_t, 8>, 6> TavrelInternal::HatchRows = {{
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF},  // horizontal
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},  // vertical
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0xFF},  // cross
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // rising diagonal
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // falling diagonal
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // diagonal cross
}};

uint32_t ApplyRop(uint8_t rop, uint32_t p, uint32_t d, uint32_t m) {
    switch (rop) {
        case RopCopyPen: return p;
        case RopXorPen: return (p ^ d) & m;
        case RopMergePen: return (p | d) & m;
        case RopMaskPen: return p & d;
        case RopNotCopyPen: return ~p & m;
        case RopNot: return ~d & m;
        case RopNotXorPen: return ~(p ^ d) & m;
        case RopNotMergePen: return ~(p | d) & m;
        case RopNotMaskPen: return ~(p & d) & m;
        case RopMaskNotPen: return ~p & d & m;
        case RopMergeNotPen: return (~p | d) & m;
        case RopMaskPenNot: return p & ~d & m;
        case RopMergePenNot: return (p | ~d) & m;
        case RopBlack: return 0;
        case RopWhite: return m;
        default: return d;
    }
}

static inline uint8_t* RowStart(const TSurface& s, int32_t y) {
    return s.Pixels + static_cast<ptrdiff_t>(y) * s.Stride;
}

// A run of 32-bit words of one value at the speed of memset: memset itself
// when the four bytes agree (black, white grey levels), otherwise a string
// store or wide stores without a per-word test, whatever the optimisation
// level.
static void FillWords(uint32_t* d, size_t n, uint32_t pixel) {
    if ((pixel & 0xFFu) * 0x01010101u == pixel) {
        std::memset(d, static_cast<int>(pixel & 0xFFu), n * 4);
        return;
    }
#if defined(__x86_64__)
    // Long runs as one string store, which the processor writes a line at a
    // time without reading the lines first, as memset does.
    if (n >= 1024) {
        asm volatile("rep stosl" : "+D"(d), "+c"(n) : "a"(pixel) : "memory");
        return;
    }
#endif
    size_t i = 0;
    for (; i < n && (reinterpret_cast<uintptr_t>(d + i) & 15u) != 0; ++i) d[i] = pixel;
    const __m128i four = _mm_set1_epi32(static_cast<int>(pixel));
    for (; i + 16 <= n; i += 16) {
        _mm_store_si128(reinterpret_cast<__m128i*>(d + i), four);
        _mm_store_si128(reinterpret_cast<__m128i*>(d + i + 4), four);
        _mm_store_si128(reinterpret_cast<__m128i*>(d + i + 8), four);
        _mm_store_si128(reinterpret_cast<__m128i*>(d + i + 12), four);
    }
    for (; i < n; ++i) d[i] = pixel;
}

void PutSurfacePixel(const TSurface& s, int32_t x, int32_t y, uint32_t pixel) {
    if (x < s.Clip.X1 || x > s.Clip.X2 || y < s.Clip.Y1 || y > s.Clip.Y2) return;
    CopySurfaceRun(s, y, x, x, pixel);
}

void CopySurfaceRun(const TSurface& s, int32_t y, int32_t x1, int32_t x2, uint32_t pixel) {
    if (y < s.Clip.Y1 || y > s.Clip.Y2) return;
    x1 = std::max(x1, s.Clip.X1);
    x2 = std::min(x2, s.Clip.X2);
    if (x1 > x2) return;
    RopSurfaceRun(s, y, x1, x2, pixel, RopCopyPen);
}

void RopSurfaceRun(const TSurface& s, int32_t y, int32_t x1, int32_t x2, uint32_t pixel, uint8_t rop) {
    uint8_t* row = RowStart(s, y);
    const int32_t n = x2 - x1 + 1;
    if (s.BytesPerPixel == 1) {
        uint8_t* d = row + x1;
        if (rop == RopCopyPen) {
            std::memset(d, static_cast<int>(pixel), static_cast<size_t>(n));
        } else {
            for (int32_t i = 0; i < n; ++i)
                d[i] = static_cast<uint8_t>(ApplyRop(rop, pixel, d[i], s.ValueMask));
        }
    } else {
        uint32_t* d = reinterpret_cast<uint32_t*>(row) + x1;
        if (rop == RopCopyPen) {
            FillWords(d, static_cast<size_t>(n), pixel);
        } else {
            for (int32_t i = 0; i < n; ++i) d[i] = ApplyRop(rop, pixel, d[i], s.ValueMask);
        }
    }
}

// The brush's pixel at one place, or false where a transparent hatch shows
// what is below.
static inline bool BrushPixelAt(const TBrush& b, const TPaint& paint, int32_t x, int32_t y, uint32_t& out) {
    if (b.Kind == BrushTile) {
        out = b.Tile[static_cast<size_t>((y & 7) * 8 + (x & 7))];
        return true;
    }
    if ((b.Hatch[static_cast<size_t>(y & 7)] >> (7 - (x & 7))) & 1u) {
        out = b.Pixel;
        return true;
    }
    out = paint.BackPixel;
    return paint.Opaque;
}

void BrushSurfaceRun(const TSurface& s, int32_t y, int32_t x1, int32_t x2, const TBrush& brush,
                     const TPaint& paint, uint8_t rop) {
    if (brush.Kind == BrushHollow) return;
    if (brush.Kind == BrushSolid) {
        RopSurfaceRun(s, y, x1, x2, brush.Pixel, rop);
        return;
    }
    uint8_t* row = RowStart(s, y);
    uint32_t v;
    for (int32_t x = x1; x <= x2; ++x) {
        if (!BrushPixelAt(brush, paint, x, y, v)) continue;
        if (s.BytesPerPixel == 1) {
            row[x] = static_cast<uint8_t>(ApplyRop(rop, v, row[x], s.ValueMask));
        } else {
            uint32_t* d = reinterpret_cast<uint32_t*>(row) + x;
            *d = ApplyRop(rop, v, *d, s.ValueMask);
        }
    }
}

void FillSurfaceRect(const TSurface& s, TClipRect r, const TBrush& brush, const TPaint& paint) {
    r = IntersectClip(r, s.Clip);
    if (ClipEmpty(r) || brush.Kind == BrushHollow) return;
    if (brush.Kind == BrushSolid && r.X1 == 0 && r.X2 == s.Width - 1 && s.Stride == s.Width * s.BytesPerPixel) {
        // Whole rows of a packed surface: one block, as fast as memset gets.
        const size_t count = static_cast<size_t>(r.Y2 - r.Y1 + 1) * static_cast<size_t>(s.Width);
        if (s.BytesPerPixel == 1)
            std::memset(RowStart(s, r.Y1), static_cast<int>(brush.Pixel), count);
        else
            FillWords(reinterpret_cast<uint32_t*>(RowStart(s, r.Y1)), count, brush.Pixel);
        return;
    }
    for (int32_t y = r.Y1; y <= r.Y2; ++y) BrushSurfaceRun(s, y, r.X1, r.X2, brush, paint, RopCopyPen);
}

// Each 64-byte block is read first and written only if it differs: a page
// cleared every frame is mostly blank already, and lines left unwritten stay
// cheap for the window thread to read when the page is shown. Where most of
// a row differed, the next fifteen rows are filled without looking (reading
// first would make a clear of a page drawn all over much slower).
void RefillSurfaceRect(const TSurface& s, TClipRect r, uint32_t pixel) {
    r = IntersectClip(r, s.Clip);
    if (ClipEmpty(r)) return;
    constexpr int32_t UnlookedRows = 15;
    alignas(64) std::array<uint8_t, ByteBlock> pattern;
    if (s.BytesPerPixel == 1)
        pattern.fill(uint8_t(pixel));
    else
        for (int32_t i = 0; i < ByteBlock; i += 4) std::memcpy(pattern.data() + i, &pixel, 4);
    TBrush solid;
    solid.Pixel = pixel;
    const size_t rowBytes = size_t(r.X2 - r.X1 + 1) * size_t(s.BytesPerPixel);
    for (int32_t y = r.Y1; y <= r.Y2;) {
        uint8_t* row = RowStart(s, y) + size_t(r.X1) * size_t(s.BytesPerPixel);
        size_t at = 0, written = 0;
        for (; at + ByteBlock <= rowBytes; at += ByteBlock) {
            if (SameByteBlock(row + at, pattern.data())) continue;
            std::memcpy(row + at, pattern.data(), ByteBlock);
            ++written;
        }
        if (at < rowBytes) std::memcpy(row + at, pattern.data(), rowBytes - at);
        ++y;
        if (2 * written <= at / ByteBlock) continue;
        const int32_t last = std::min(r.Y2, y + UnlookedRows - 1);
        if (last >= y) FillSurfaceRect(s, {r.X1, y, r.X2, last}, solid, TPaint{});
        y = last + 1;
    }
}

// ---- Coverage mask ----------------------------------------------------------

namespace {
struct TMask {
    std::vector<uint8_t> Cells;
    TClipRect Area{0, 0, -1, -1};
    int32_t Width = 0;
    TClipRect Dirty{0, 0, -1, -1};
};
TMask Mask;
}  // namespace

void MaskBegin(const TSurface& s) {
    Mask.Area = s.Clip;
    Mask.Width = ClipEmpty(s.Clip) ? 0 : s.Clip.X2 - s.Clip.X1 + 1;
    const size_t need =
        ClipEmpty(s.Clip) ? 0
                          : static_cast<size_t>(Mask.Width) * static_cast<size_t>(s.Clip.Y2 - s.Clip.Y1 + 1);
    if (Mask.Cells.size() < need) Mask.Cells.assign(need, 0);
    Mask.Dirty = {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
}

void MaskRun(int32_t y, int32_t x1, int32_t x2, uint8_t value) {
    if (y < Mask.Area.Y1 || y > Mask.Area.Y2) return;
    x1 = std::max(x1, Mask.Area.X1);
    x2 = std::min(x2, Mask.Area.X2);
    if (x1 > x2) return;
    uint8_t* row =
        Mask.Cells.data() + static_cast<size_t>(y - Mask.Area.Y1) * static_cast<size_t>(Mask.Width);
    for (int32_t x = x1; x <= x2; ++x) {
        uint8_t& c = row[x - Mask.Area.X1];
        if (c < value) c = value;
    }
    Mask.Dirty = {std::min(Mask.Dirty.X1, x1), std::min(Mask.Dirty.Y1, y), std::max(Mask.Dirty.X2, x2),
                  std::max(Mask.Dirty.Y2, y)};
}

void MaskApply(const TSurface& s, const TPen& pen, const TBrush& brush, const TPaint& paint) {
    if (ClipEmpty(Mask.Dirty)) return;
    for (int32_t y = Mask.Dirty.Y1; y <= Mask.Dirty.Y2; ++y) {
        uint8_t* row =
            Mask.Cells.data() + static_cast<size_t>(y - Mask.Area.Y1) * static_cast<size_t>(Mask.Width);
        int32_t x = Mask.Dirty.X1;
        while (x <= Mask.Dirty.X2) {
            const uint8_t v = row[x - Mask.Area.X1];
            int32_t end = x;
            while (end + 1 <= Mask.Dirty.X2 && row[end + 1 - Mask.Area.X1] == v) ++end;
            if (v == MaskPen) RopSurfaceRun(s, y, x, end, pen.Pixel, paint.Rop);
            if (v == MaskBrush) BrushSurfaceRun(s, y, x, end, brush, paint, paint.Rop);
            std::memset(row + (x - Mask.Area.X1), 0, static_cast<size_t>(end - x + 1));
            x = end + 1;
        }
    }
    Mask.Dirty = {0, 0, -1, -1};
}

// ---- Targets ----------------------------------------------------------------

void TargetRun(const TRasterTarget& t, int32_t y, int32_t x1, int32_t x2, uint8_t part) {
    const TClipRect& c = t.Surface->Clip;
    if (y < c.Y1 || y > c.Y2) return;
    x1 = std::max(x1, c.X1);
    x2 = std::min(x2, c.X2);
    if (x1 > x2) return;
    if (t.ToMask)
        MaskRun(y, x1, x2, part);
    else if (part == MaskPen)
        RopSurfaceRun(*t.Surface, y, x1, x2, t.Pen->Pixel, t.Paint->Rop);
    else
        BrushSurfaceRun(*t.Surface, y, x1, x2, *t.Brush, *t.Paint, t.Paint->Rop);
}

void TargetPenPixel(const TRasterTarget& t, int32_t x, int32_t y) {
    if (t.ToMask) {
        MaskRun(y, x, x, MaskPen);
        return;
    }
    const TSurface& s = *t.Surface;
    uint8_t* row = RowStart(s, y);
    if (s.BytesPerPixel == 1) {
        row[x] = static_cast<uint8_t>(ApplyRop(t.Paint->Rop, t.Pen->Pixel, row[x], s.ValueMask));
    } else {
        uint32_t* d = reinterpret_cast<uint32_t*>(row) + x;
        *d = ApplyRop(t.Paint->Rop, t.Pen->Pixel, *d, s.ValueMask);
    }
}

bool ShapeNeedsMask(const TPaint& paint) { return paint.Rop != RopCopyPen; }
