// The rasterizer on surfaces inside larger buffers: guard bytes before, after
// and between the rows catch any write outside the surface or its clip.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "raster.h"

namespace {

struct TGuardedSurface {
    static constexpr int Margin = 24;  // pixels of guard on every side
    std::vector<uint32_t> Buffer;      // words keep 32-bit pixels aligned
    TSurface Surface;
    int Bpp;

    TGuardedSurface(int width, int height, int bpp) : Bpp(bpp) {
        const int stride = (width + 2 * Margin) * bpp;
        Buffer.assign(static_cast<size_t>(stride * (height + 2 * Margin) / 4 + 1), 0xA5A5A5A5u);
        auto* bytes = reinterpret_cast<uint8_t*>(Buffer.data());
        Surface.Pixels = bytes + Margin * stride + Margin * bpp;
        Surface.Width = width;
        Surface.Height = height;
        Surface.Stride = stride;
        Surface.BytesPerPixel = bpp;
        Surface.ValueMask = bpp == 1 ? 0x0Fu : 0xFFFFFFu;
        Surface.Clip = {0, 0, width - 1, height - 1};
    }

    // Byte offset of a surface pixel in the buffer, or -1 for guard bytes.
    bool InClip(size_t byte) const {
        const auto* base = reinterpret_cast<const uint8_t*>(Buffer.data());
        const ptrdiff_t off = static_cast<ptrdiff_t>(byte) - (Surface.Pixels - base);
        const ptrdiff_t row = off >= 0 ? off / Surface.Stride : -1;
        const ptrdiff_t col = off >= 0 ? (off % Surface.Stride) / Bpp : -1;
        const TClipRect& c = Surface.Clip;
        return row >= c.Y1 && row <= c.Y2 && col >= c.X1 && col <= c.X2;
    }
};

// Clipped lines start their walk where the clip begins: the pixels they set
// must be exactly the full walk's points inside the clip.
TEST(Raster, ClippedLinesSetExactlyTheFullWalksPoints) {
    std::mt19937 rng(5);
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    TPen pen;
    pen.Pixel = 7;
    for (int i = 0; i < 300; ++i) {
        TGuardedSurface g(64, 48, 1);
        const int x1 = pick(0, 63), y1 = pick(0, 47);
        g.Surface.Clip = {x1, y1, pick(x1, 63), pick(y1, 47)};
        // Through a point of the clip, from far outside to far outside (or ending inside).
        const int32_t px = pick(g.Surface.Clip.X1, g.Surface.Clip.X2),
                      py = pick(g.Surface.Clip.Y1, g.Surface.Clip.Y2);
        const int32_t dx = pick(-100, 100), dy = pick(-100, 100), k = pick(0, 3) == 0 ? 0 : pick(1, 50);
        const int32_t ax = px - dx * pick(1, 50), ay = py - dy * pick(1, 50), bx = px + dx * k,
                      by = py + dy * k;
        StrokeSurfaceLine(g.Surface, ax, ay, bx, by, pen, TPaint{});
        std::vector<uint8_t> expected(64 * 48, 0xA5);
        std::pair<std::vector<uint8_t>*, const TClipRect*> target{&expected, &g.Surface.Clip};
        WalkLinePoints(
            ax, ay, bx, by,
            [](int32_t x, int32_t y, void* data) {
                auto& [image, clip] = *static_cast<std::pair<std::vector<uint8_t>*, const TClipRect*>*>(data);
                if (x >= clip->X1 && x <= clip->X2 && y >= clip->Y1 && y <= clip->Y2)
                    (*image)[static_cast<size_t>(y * 64 + x)] = 7;
            },
            &target);
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                ASSERT_EQ(g.Surface.Pixels[y * g.Surface.Stride + x],
                          expected[static_cast<size_t>(y * 64 + x)])
                    << x << "," << y << " line " << ax << "," << ay << " - " << bx << "," << by;
    }
}

// Edges that start above the clip join the row walk part way down, and the
// outline is cut where it leaves the clip: a triangle reaching out of the
// clip's top and left, filled with 3 and outlined with 15.
TEST(Raster, PolygonPartlyOutsideTheClipKeepsItsRowsAndOutline) {
    TGuardedSurface g(14, 10, 1);
    g.Surface.Clip = {2, 2, 9, 6};
    for (int y = 0; y < 10; ++y) std::memset(g.Surface.Pixels + y * g.Surface.Stride, 0, 14);
    const std::array<TPolyPoint, 3> tri = {{{0, 0}, {12, 8}, {0, 8}}};
    TPen pen;
    pen.Pixel = 15;
    TBrush brush;
    brush.Pixel = 3;
    FillSurfacePolygon(g.Surface, tri.data(), 3, pen, brush, TPaint{});
    const char* const expected[10] = {
        "..............",  //
        "..............",  //
        "..3F..........",  //
        "..33FF........",  //
        "..3333F.......",  //
        "..33333FF.....",  //
        "..3333333F....",  //
        "..............",  //
        "..............",  //
        "..............",
    };
    for (int y = 0; y < 10; ++y) {
        std::string row;
        for (int x = 0; x < 14; ++x) {
            const uint8_t v = g.Surface.Pixels[y * g.Surface.Stride + x];
            row += v == 0 ? '.' : (v == 3 ? '3' : (v == 15 ? 'F' : '?'));
        }
        EXPECT_EQ(row, expected[y]) << "row " << y;
    }
    for (size_t b = 0; b < g.Buffer.size() * 4; ++b)
        if (!g.InClip(b)) {
            const auto* bytes = reinterpret_cast<const uint8_t*>(g.Buffer.data());
            const ptrdiff_t off = static_cast<ptrdiff_t>(b) - (g.Surface.Pixels - bytes);
            const bool onSurface = off >= 0 && off < 10 * g.Surface.Stride && off % g.Surface.Stride < 14;
            ASSERT_EQ(bytes[b], onSurface ? 0 : 0xA5) << "byte " << b;
        }
}

TEST(Raster, LineWalkVisitsEveryPointButTheLast) {
    using TPoints = std::vector<std::pair<int32_t, int32_t>>;
    auto walk = [](int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
        TPoints points;
        WalkLinePoints(
            x1, y1, x2, y2,
            [](int32_t x, int32_t y, void* data) { static_cast<TPoints*>(data)->push_back({x, y}); },
            &points);
        return points;
    };
    EXPECT_EQ(walk(0, 0, 5, 2), (TPoints{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}));
    EXPECT_EQ(walk(3, 3, 1, -2), (TPoints{{3, 3}, {3, 2}, {2, 1}, {2, 0}, {1, -1}}));
    EXPECT_EQ(walk(7, 1, 2, 1), (TPoints{{7, 1}, {6, 1}, {5, 1}, {4, 1}, {3, 1}}));
    EXPECT_TRUE(walk(3, 3, 3, 3).empty());
}

TEST(Raster, WidePensHaveTheirWidth) {
    for (uint16_t width : {2, 3, 4, 7, 10}) {
        TGuardedSurface g(64, 64, 1);
        TPen pen;
        pen.Pixel = 3;
        pen.Width = width;
        StrokeSurfaceLine(g.Surface, 20, 32, 40, 32, pen, TPaint{});
        int rows = 0;
        for (int y = 0; y < 64; ++y) rows += g.Surface.Pixels[y * g.Surface.Stride + 30] == 3;
        EXPECT_EQ(rows, width);
    }
}

// Random primitives, states and clips, 32-bit coordinates included: only
// bytes inside the clip may change.
void RandomPrimitives(int bpp) {
    std::mt19937 rng(bpp * 977u);
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const auto coord = [&]() -> int32_t {
        switch (pick(0, 4)) {
            case 0: return static_cast<int32_t>(rng());
            case 1: return pick(-40000, 40000);
            default: return pick(-30, 100);
        }
    };
    TGuardedSurface g(70, 50, bpp);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 70 * bpp; ++x) g.Surface.Pixels[y * g.Surface.Stride + x] = 0x05;
    std::vector<uint32_t> before;
    std::vector<TPolyPoint> poly(20);
    for (int i = 0; i < 4000; ++i) {
        const int x1 = pick(0, 69), y1 = pick(0, 49);
        g.Surface.Clip = {x1, y1, std::min(69, x1 + pick(-1, 40)), std::min(49, y1 + pick(-1, 40))};
        TPen pen;
        pen.Pixel = static_cast<uint32_t>(rng()) & g.Surface.ValueMask;
        pen.Dash = static_cast<uint8_t>(pick(0, 5));
        pen.Width = static_cast<uint16_t>(pick(0, 6) == 0 ? pick(0, 200) : pick(0, 4));
        TBrush brush;
        brush.Kind = static_cast<uint8_t>(pick(0, 3));
        brush.Pixel = static_cast<uint32_t>(rng()) & g.Surface.ValueMask;
        brush.Hatch = HatchRows[static_cast<size_t>(pick(0, 5))];
        for (uint32_t& v : brush.Tile) v = static_cast<uint32_t>(rng()) & g.Surface.ValueMask;
        TPaint paint;
        paint.Rop = static_cast<uint8_t>(pick(0, 15));
        paint.Opaque = pick(0, 1);
        paint.BackPixel = static_cast<uint32_t>(rng()) & g.Surface.ValueMask;
        before = g.Buffer;
        const int32_t rx = pick(0, 8) == 0 ? pick(0, 65535) : pick(0, 60);
        const int32_t ry = pick(0, 8) == 0 ? pick(0, 65535) : pick(0, 60);
        switch (pick(0, 5)) {
            case 0: StrokeSurfaceLine(g.Surface, coord(), coord(), coord(), coord(), pen, paint); break;
            case 1:
                StrokeSurfaceArc(g.Surface, coord() % 40000, coord() % 40000, rx, ry, pick(-50, 50),
                                 pick(-50, 50), pick(-50, 50), pick(-50, 50), pen, paint);
                break;
            case 2:
                FillSurfaceEllipse(g.Surface, coord() % 40000, coord() % 40000, rx, ry, pen, brush, paint);
                break;
            case 3: {
                const int n = pick(1, 20);
                for (auto& p : poly) p = {coord(), coord()};
                FillSurfacePolygon(g.Surface, poly.data(), n, pen, brush, paint);
                break;
            }
            case 4: FillSurfaceRect(g.Surface, {coord(), coord(), coord(), coord()}, brush, paint); break;
            default: PutSurfacePixel(g.Surface, coord(), coord(), pen.Pixel); break;
        }
        const auto* now = reinterpret_cast<const uint8_t*>(g.Buffer.data());
        const auto* old = reinterpret_cast<const uint8_t*>(before.data());
        for (size_t b = 0; b < g.Buffer.size() * 4; ++b) {
            if (now[b] == old[b] || g.InClip(b)) continue;
            FAIL() << "byte " << b << " outside the clip changed at step " << i;
        }
        if (bpp == 1) {
            // Raster operations keep 16-colour indices within 4 bits.
            for (int y = g.Surface.Clip.Y1; y <= g.Surface.Clip.Y2; ++y)
                for (int x = g.Surface.Clip.X1; x <= g.Surface.Clip.X2; ++x) {
                    const uint8_t v = g.Surface.Pixels[y * g.Surface.Stride + x];
                    ASSERT_LE(v, 0x0F) << "a value beyond the driver's bits";
                }
        }
    }
}

// A clear in the page's own colour writes only what differs, and rows after
// mostly different ones without looking: either way the rectangle ends in
// the colour and nothing else changes.
TEST(Raster, RefillLeavesTheRectangleInItsColourAndNothingElse) {
    for (const int bpp : {1, 4}) {
        TGuardedSurface g(150, 40, bpp);
        const uint32_t colour = bpp == 1 ? 0x09u : 0x123456u;
        std::mt19937 rng(11);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 150; ++x) {
                // Rows 12 to 25 differ all over; the rest only here and there.
                const bool junk = (y >= 12 && y <= 25) || rng() % 29 == 0;
                PutSurfacePixel(g.Surface, x, y, junk ? uint32_t(rng()) & g.Surface.ValueMask : colour);
            }
        const std::vector<uint32_t> before = g.Buffer;
        RefillSurfaceRect(g.Surface, {3, 2, 140, 35}, colour);
        const auto* now = reinterpret_cast<const uint8_t*>(g.Buffer.data());
        const auto* old = reinterpret_cast<const uint8_t*>(before.data());
        g.Surface.Clip = {3, 2, 140, 35};
        for (size_t b = 0; b < g.Buffer.size() * 4; ++b)
            if (!g.InClip(b)) {
                ASSERT_EQ(now[b], old[b]) << "byte " << b << " outside, " << bpp << " bytes a pixel";
            }
        for (int y = 2; y <= 35; ++y)
            for (int x = 3; x <= 140; ++x) {
                uint32_t pixel = 0;
                std::memcpy(&pixel, g.Surface.Pixels + y * g.Surface.Stride + x * bpp, size_t(bpp));
                ASSERT_EQ(pixel, colour) << x << "," << y << ", " << bpp << " bytes a pixel";
            }
    }
}

TEST(Raster, RandomPrimitivesNeverWriteOutsideTheClipOnPalettePages) { RandomPrimitives(1); }
TEST(Raster, RandomPrimitivesNeverWriteOutsideTheClipOnTrueColourPages) { RandomPrimitives(4); }

}  // namespace
