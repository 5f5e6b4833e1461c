#include <algorithm>
#include <cmath>
#include <vector>

#include "raster_core.h"

namespace {

struct TQuadPoint {
    int64_t X, Y;
};

// One quarter of the ellipse outline with y upwards, from (rx, 0) to (0, ry),
// every point once: the midpoint algorithm on the decision values times 4.
std::vector<TQuadPoint> Quadrant;

template <typename T>
void BuildQuadrant(int64_t rx, int64_t ry) {
    Quadrant.clear();
    if (ry == 0) {
        for (int64_t x = rx; x >= 0; --x) Quadrant.push_back({x, 0});
        return;
    }
    const T rx2 = static_cast<T>(rx) * rx, ry2 = static_cast<T>(ry) * ry;
    int64_t x = 0, y = ry;
    while (ry2 * x < rx2 * y) {
        Quadrant.push_back({x, y});
        const T d = 4 * ry2 * (x + 1) * (x + 1) + rx2 * (2 * y - 1) * (2 * y - 1) - 4 * rx2 * ry2;
        ++x;
        if (d >= 0) --y;
    }
    while (y >= 0) {
        Quadrant.push_back({x, y});
        const T d = ry2 * (2 * x + 1) * (2 * x + 1) + 4 * rx2 * (y - 1) * (y - 1) - 4 * rx2 * ry2;
        --y;
        if (d <= 0) ++x;
    }
    // Flat ellipses leave the region-2 walk short of the box: the box is inclusive.
    for (int64_t last = Quadrant.back().X; last < rx;) Quadrant.push_back({++last, 0});
    std::reverse(Quadrant.begin(), Quadrant.end());
}

void PrepareQuadrant(int64_t rx, int64_t ry) {
    if (std::max(rx, ry) <= 16383)
        BuildQuadrant<int64_t>(rx, ry);
    else
        BuildQuadrant<__int128>(rx, ry);
}

// Every outline point (offsets, y upwards) once, counter-clockwise from angle 0.
template <class Visit>
void ForEachOutlinePoint(Visit&& visit) {
    const size_t m = Quadrant.size();
    for (size_t i = 0; i < m; ++i) visit(Quadrant[i].X, Quadrant[i].Y);
    for (size_t i = m; i-- > 0;)
        if (Quadrant[i].X > 0) visit(-Quadrant[i].X, Quadrant[i].Y);
    for (size_t i = 0; i < m; ++i)
        if (Quadrant[i].Y > 0) visit(-Quadrant[i].X, -Quadrant[i].Y);
    for (size_t i = m; i-- > 0;)
        if (Quadrant[i].X > 0 && Quadrant[i].Y > 0) visit(Quadrant[i].X, -Quadrant[i].Y);
}

bool InsideClip(const TClipRect& c, int64_t x, int64_t y) {
    return x >= c.X1 && x <= c.X2 && y >= c.Y1 && y <= c.Y2;
}

// ---- Wide outlines ------------------------------------------------------------

// A wide pen's disc at each outline point costs a run per row it reaches, so
// a shape far larger than the clip, or a pen far wider, would cost millions
// of runs. The points whose disc reaches the clip are gathered first, each
// unbroken stretch of them in drawing order, and drawn within a bounded work.
std::vector<TQuadPoint> WidePoints;
std::vector<size_t> WideStretchEnds;  // one past the last point of each stretch

// Runs that stamping every disc may cost before chords take over.
constexpr int64_t WideRunBudget = 250000;

// Pixel (X, Y) lies in the disc at (x, y) when (X + off - x)^2 + (Y + off - y)^2
// <= r^2; the disc is convex, so holding the clip's corners it holds the clip.
bool DiscCoversClip(const TClipRect& c, int64_t x, int64_t y, uint16_t width) {
    const double r = width / 2.0, off = (width % 2 == 0) ? 0.5 : 0.0;
    for (const int64_t cornerX : {c.X1, c.X2})
        for (const int64_t cornerY : {c.Y1, c.Y2}) {
            const double dx = static_cast<double>(cornerX - x) + off, dy = static_cast<double>(cornerY - y) + off;
            if (dx * dx + dy * dy > r * r) return false;
        }
    return true;
}

// Whether the points between first and first + steps stay within half a pixel
// of the chord joining those two: the chord's sweep then draws what their discs
// would, but for single pixels on the rim. Checked at the quarter points; an
// outline stretch of an ellipse is convex, so they are the farthest.
bool ChordFits(const TQuadPoint* p, size_t first, size_t steps) {
    const TQuadPoint& a = p[first];
    const TQuadPoint& b = p[first + steps];
    const double dx = static_cast<double>(b.X - a.X), dy = static_cast<double>(b.Y - a.Y);
    const double len2 = dx * dx + dy * dy;
    for (const size_t q : {steps / 4, steps / 2, steps * 3 / 4}) {
        const TQuadPoint& m = p[first + q];
        const double cross = dx * static_cast<double>(m.Y - a.Y) - dy * static_cast<double>(m.X - a.X);
        if (cross * cross > 0.25 * len2) return false;
    }
    return true;
}

void DrawWideStretch(const TRasterTarget& t, const TQuadPoint* p, size_t n, bool chords) {
    if (!chords || n == 1) {
        for (size_t i = 0; i < n; ++i) WideDot(t, p[i].X, p[i].Y);
        return;
    }
    // Each chord as long as it fits, found between a length that fits and
    // one that does not.
    size_t steps = 1;
    for (size_t first = 0; first + 1 < n; first += steps) {
        const size_t left = n - 1 - first;
        size_t fits = 1, fails = 0;
        for (size_t k = std::min(steps * 2, left);; k = std::min(k * 2, left)) {
            if (!ChordFits(p, first, k)) {
                fails = k;
                break;
            }
            fits = k;
            if (k == left) break;
        }
        while (fails > fits + 1) {
            const size_t mid = fits + (fails - fits) / 2;
            (ChordFits(p, first, mid) ? fits : fails) = mid;
        }
        steps = fits;
        WideLine(t, p[first].X, p[first].Y, p[first + steps].X, p[first + steps].Y);
    }
}

void DrawWidePoints(const TRasterTarget& t) {
    const TClipRect& c = t.Surface->Clip;
    const uint16_t width = t.Pen->Width;
    for (const TQuadPoint& p : WidePoints) {
        if (DiscCoversClip(c, p.X, p.Y, width)) {
            for (int32_t y = c.Y1; y <= c.Y2; ++y) TargetRun(t, y, c.X1, c.X2, MaskPen);
            return;
        }
    }
    const int64_t rowsEach = std::min<int64_t>(width + 3, int64_t{c.Y2} - c.Y1 + 1);
    const bool chords = static_cast<int64_t>(WidePoints.size()) * rowsEach > WideRunBudget;
    size_t first = 0;
    for (const size_t end : WideStretchEnds) {
        DrawWideStretch(t, WidePoints.data() + first, end - first, chords);
        first = end;
    }
}

// One outline point in pen: thin pens walk their dash pattern along it; wide
// pens gather the points whose disc reaches the clip, for DrawWidePoints.
struct TOutlinePen {
    const TRasterTarget& T;
    TDash Dash;
    uint32_t Pos = 0;
    bool InStretch = false;

    TOutlinePen(const TRasterTarget& t, TDash dash) : T(t), Dash(dash) {
        WidePoints.clear();
        WideStretchEnds.clear();
    }

    void Point(int64_t x, int64_t y) {
        const TClipRect& c = T.Surface->Clip;
        if (T.Pen->Width > 1) {
            const int64_t reach = T.Pen->Width / 2 + 1;
            const bool near = x + reach >= c.X1 && x - reach <= c.X2 && y + reach >= c.Y1 && y - reach <= c.Y2;
            if (near) {
                WidePoints.push_back({x, y});
            } else if (InStretch) {
                WideStretchEnds.push_back(WidePoints.size());
            }
            InStretch = near;
            return;
        }
        if (((Dash.Bits >> Pos) & 1u) && InsideClip(c, x, y))
            TargetPenPixel(T, static_cast<int32_t>(x), static_cast<int32_t>(y));
        if (++Pos == Dash.Period) Pos = 0;
    }

    void Finish() {
        if (T.Pen->Width <= 1) return;
        if (InStretch) WideStretchEnds.push_back(WidePoints.size());
        DrawWidePoints(T);
    }
};

// A measure of the direction (x, y) from 0 up to 4 that grows with its angle
// from the positive x axis, as the angle does from 0 up to 2 pi: enough to
// order directions, without the cost of a trigonometric call per outline
// point. Directions of the same ray give the same value exactly.
double PseudoAngle(double y, double x) {
    if (x == 0 && y == 0) return 0;
    const double p = y / (std::fabs(x) + std::fabs(y));
    const double q = x >= 0 ? p : 2 - p;
    return q < 0 ? q + 4 : q;
}

double Wrap0To4(double a) {
    while (a < 0) a += 4;
    while (a >= 4) a -= 4;
    return a;
}

void OutlineArc(const TRasterTarget& t, int64_t cx, int64_t cy, int64_t sx, int64_t sy, int64_t ex,
                int64_t ey) {
    TOutlinePen pen(t, DashPattern(t.Pen->Dash));
    if (sx == ex && sy == ey) {
        ForEachOutlinePoint([&](int64_t x, int64_t y) { pen.Point(cx + x, cy - y); });
        pen.Finish();
        return;
    }
    const double start = PseudoAngle(static_cast<double>(sy), static_cast<double>(sx));
    const double sweep = Wrap0To4(PseudoAngle(static_cast<double>(ey), static_cast<double>(ex)) - start) + 1e-12;
    // In drawing order: the points from the start radial up to angle 2 pi, then
    // those from angle 0 on.
    for (int pass = 0; pass < 2; ++pass) {
        ForEachOutlinePoint([&](int64_t x, int64_t y) {
            const double a = PseudoAngle(static_cast<double>(y), static_cast<double>(x));
            if ((a >= start) != (pass == 0)) return;
            if (Wrap0To4(a - start) <= sweep) pen.Point(cx + x, cy - y);
        });
    }
    pen.Finish();
}

// ---- Polygons ---------------------------------------------------------------

// An edge from (X0, Y0) down to Y1, Dy > 0, as the polygon gives it.
struct TEdge {
    int64_t X0, Y0, Y1, Dx, Dy;
};

// An edge crossing the current row: its x there is X + Fn / Dy, stepping by
// Q + R / Dy from row to row, until row Y1.
struct TActiveEdge {
    int64_t X, Fn, Q, R, Dy, Y1;
};

std::vector<TEdge> Edges;
std::vector<TActiveEdge> Active;
std::vector<int64_t> Crossings;

// Crossings in ascending order: almost always two, often a handful.
inline void SortCrossings(int64_t* cross, size_t n) {
    if (n == 2) {
        const int64_t a = cross[0], b = cross[1];
        cross[0] = std::min(a, b);
        cross[1] = std::max(a, b);
    } else if (n > 16) {
        std::sort(cross, cross + n);
    } else {
        for (size_t i = 1; i < n; ++i) {
            const int64_t v = cross[i];
            size_t j = i;
            for (; j > 0 && cross[j - 1] > v; --j) cross[j] = cross[j - 1];
            cross[j] = v;
        }
    }
}

// Even-odd interior sampled at the pixel's own coordinates: a pixel is inside
// when it lies left-inclusive, right-exclusive between a pair of crossings of
// edges that are top-inclusive, bottom-exclusive.
void PolygonInterior(const TRasterTarget& t, const TPolyPoint* p, int32_t n) {
    const TClipRect& c = t.Surface->Clip;
    Edges.clear();
    int64_t yMin = INT64_MAX, yMax = INT64_MIN;
    for (int32_t i = 0; i < n; ++i) {
        const TPolyPoint& a = p[i];
        const TPolyPoint& b = p[i + 1 < n ? i + 1 : 0];
        if (a.Y == b.Y) continue;
        const bool down = a.Y < b.Y;
        const TPolyPoint& top = down ? a : b;
        const TPolyPoint& bot = down ? b : a;
        Edges.push_back({top.X, top.Y, bot.Y, int64_t{bot.X} - top.X, int64_t{bot.Y} - top.Y});
        yMin = std::min<int64_t>(yMin, top.Y);
        yMax = std::max<int64_t>(yMax, bot.Y);
    }
    if (Edges.empty()) return;
    const int64_t first = std::max<int64_t>(yMin, c.Y1), last = std::min<int64_t>(yMax - 1, c.Y2);
    if (first > last) return;
    std::sort(Edges.begin(), Edges.end(), [](const TEdge& a, const TEdge& b) { return a.Y0 < b.Y0; });
    // Plain locals in the row loop: through the global vectors every store
    // would make the compiler reload the others.
    if (Active.size() < Edges.size()) {
        Active.resize(Edges.size());
        Crossings.resize(Edges.size());
    }
    const TEdge* const edges = Edges.data();
    TActiveEdge* const active = Active.data();
    int64_t* const cross = Crossings.data();
    const size_t edgeCount = Edges.size();
    const TSurface& s = *t.Surface;
    // Solid copies on palette pages, the usual fill, set bytes directly.
    const bool bytes = !t.ToMask && t.Paint->Rop == RopCopyPen && s.BytesPerPixel == 1 &&
                       t.Brush->Kind == BrushSolid;
    const int value = static_cast<int>(static_cast<uint8_t>(t.Brush->Pixel));
    size_t activeCount = 0, next = 0;
    for (int64_t y = first; y <= last; ++y) {
        for (; next < edgeCount && edges[next].Y0 <= y; ++next) {
            const TEdge& e = edges[next];
            if (e.Y1 <= y) continue;
            TActiveEdge& a = active[activeCount++];
            if (e.Y0 == y) {
                a.X = e.X0;
                a.Fn = 0;
            } else {
                a.X = e.X0 + FloorDivRem(static_cast<__int128>(e.Dx) * (y - e.Y0), e.Dy, a.Fn);
            }
            a.Q = FloorDivRem(e.Dx, e.Dy, a.R);
            a.Dy = e.Dy;
            a.Y1 = e.Y1;
        }
        size_t count = 0;
        for (size_t i = 0; i < activeCount;) {
            TActiveEdge& e = active[i];
            if (e.Y1 <= y) {
                e = active[--activeCount];
                continue;
            }
            cross[count++] = e.X + (e.Fn > 0 ? 1 : 0);  // first sample at or right of the edge
            // The carry without a branch: which way it goes is a coin toss per row.
            const int64_t fn = e.Fn + e.R;
            const int64_t carry = fn >= e.Dy ? 1 : 0;
            e.Fn = fn - (e.Dy & -carry);
            e.X += e.Q + carry;
            ++i;
        }
        SortCrossings(cross, count);
        uint8_t* const row = bytes ? s.Pixels + static_cast<ptrdiff_t>(y) * s.Stride : nullptr;
        for (size_t i = 0; i + 1 < count; i += 2) {
            const int64_t x1 = std::max<int64_t>(cross[i], c.X1);
            const int64_t x2 = std::min<int64_t>(cross[i + 1] - 1, c.X2);
            if (x1 > x2) continue;
            if (bytes)
                std::memset(row + x1, value, static_cast<size_t>(x2 - x1 + 1));
            else
                TargetRun(t, static_cast<int32_t>(y), static_cast<int32_t>(x1), static_cast<int32_t>(x2),
                          MaskBrush);
        }
    }
}

}  // namespace

void StrokeSurfaceArc(const TSurface& s, int32_t cx, int32_t cy, int32_t rx, int32_t ry, int32_t sx,
                      int32_t sy, int32_t ex, int32_t ey, const TPen& pen, const TPaint& paint) {
    if (pen.Dash == DashNone || rx < 0 || ry < 0 || ClipEmpty(s.Clip)) return;
    const int64_t reach = std::max<int64_t>(rx, ry) + pen.Width;
    if (cx + reach < s.Clip.X1 || cx - reach > s.Clip.X2 || cy + reach < s.Clip.Y1 || cy - reach > s.Clip.Y2)
        return;
    const bool viaMask = pen.Width > 1 && ShapeNeedsMask(paint);
    if (viaMask) MaskBegin(s);
    const TRasterTarget t{&s, &pen, nullptr, &paint, viaMask};
    PrepareQuadrant(rx, ry);
    OutlineArc(t, cx, cy, sx, sy, ex, ey);
    if (viaMask) MaskApply(s, pen, TBrush{}, paint);
}

void FillSurfaceEllipse(const TSurface& s, int32_t cx, int32_t cy, int32_t rx, int32_t ry, const TPen& pen,
                        const TBrush& brush, const TPaint& paint) {
    if (rx < 0 || ry < 0 || ClipEmpty(s.Clip)) return;
    const int64_t reach = std::max<int64_t>(rx, ry) + pen.Width;
    if (cx + reach < s.Clip.X1 || cx - reach > s.Clip.X2 || cy + reach < s.Clip.Y1 || cy - reach > s.Clip.Y2)
        return;
    const bool viaMask = ShapeNeedsMask(paint);
    if (viaMask) MaskBegin(s);
    const TRasterTarget t{&s, &pen, &brush, &paint, viaMask};
    PrepareQuadrant(rx, ry);
    // The interior: on each row, the pixels strictly inside the outline.
    if (brush.Kind != BrushHollow) {
        for (size_t i = 0; i < Quadrant.size(); ++i) {
            if (i + 1 < Quadrant.size() && Quadrant[i + 1].Y == Quadrant[i].Y) continue;
            const int64_t half = Quadrant[i].X - 1, y = Quadrant[i].Y;
            if (half < 0) continue;
            const int64_t x1 = std::max<int64_t>(cx - half, s.Clip.X1),
                          x2 = std::min<int64_t>(cx + half, s.Clip.X2);
            if (x1 > x2) continue;
            for (int64_t row : {cy - y, cy + y}) {
                if (row >= s.Clip.Y1 && row <= s.Clip.Y2)
                    TargetClippedRun(t, static_cast<int32_t>(row), static_cast<int32_t>(x1),
                                   static_cast<int32_t>(x2), MaskBrush);
                if (y == 0) break;
            }
        }
    }
    if (pen.Dash != DashNone) OutlineArc(t, cx, cy, 1, 0, 1, 0);
    if (viaMask) MaskApply(s, pen, brush, paint);
}

void FillSurfacePolygon(const TSurface& s, const TPolyPoint* points, int32_t count, const TPen& pen,
                        const TBrush& brush, const TPaint& paint) {
    if (count < 1 || ClipEmpty(s.Clip)) return;
    const bool viaMask = ShapeNeedsMask(paint);
    if (viaMask) MaskBegin(s);
    const TRasterTarget t{&s, &pen, &brush, &paint, viaMask};
    if (brush.Kind != BrushHollow) PolygonInterior(t, points, count);
    if (pen.Dash != DashNone) {
        uint32_t dashPos = 0;
        for (int32_t i = 0; i < count; ++i) {
            const TPolyPoint& a = points[i];
            const TPolyPoint& b = points[(i + 1) % count];
            if (pen.Width > 1)
                WideLine(t, a.X, a.Y, b.X, b.Y);
            else
                ThinLine(t, a.X, a.Y, b.X, b.Y, dashPos);
        }
    }
    if (viaMask) MaskApply(s, pen, brush, paint);
}
