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

// One outline point in pen: thin pens walk their dash pattern along it.
struct TOutlinePen {
    const TRasterTarget& T;
    TDash Dash;
    uint32_t Pos = 0;

    void Point(int64_t x, int64_t y) {
        const TClipRect& c = T.Surface->Clip;
        if (T.Pen->Width > 1) {
            const int64_t reach = T.Pen->Width / 2 + 1;
            if (x + reach >= c.X1 && x - reach <= c.X2 && y + reach >= c.Y1 && y - reach <= c.Y2)
                WideDot(T, x, y);
            return;
        }
        if (((Dash.Bits >> Pos) & 1u) && InsideClip(c, x, y))
            TargetPenPixel(T, static_cast<int32_t>(x), static_cast<int32_t>(y));
        if (++Pos == Dash.Period) Pos = 0;
    }
};

double Angle0To2Pi(double a) {
    constexpr double twoPi = 6.283185307179586476925286766559;
    while (a < 0) a += twoPi;
    while (a >= twoPi) a -= twoPi;
    return a;
}

void OutlineArc(const TRasterTarget& t, int64_t cx, int64_t cy, int64_t sx, int64_t sy, int64_t ex,
                int64_t ey) {
    TOutlinePen pen{t, DashPattern(t.Pen->Dash)};
    if (sx == ex && sy == ey) {
        ForEachOutlinePoint([&](int64_t x, int64_t y) { pen.Point(cx + x, cy - y); });
        return;
    }
    const double start = Angle0To2Pi(std::atan2(static_cast<double>(sy), static_cast<double>(sx)));
    const double sweep =
        Angle0To2Pi(std::atan2(static_cast<double>(ey), static_cast<double>(ex)) - start) + 1e-12;
    // In drawing order: the points from the start radial up to angle 2 pi, then
    // those from angle 0 on.
    for (int pass = 0; pass < 2; ++pass) {
        ForEachOutlinePoint([&](int64_t x, int64_t y) {
            const double a = Angle0To2Pi(std::atan2(static_cast<double>(y), static_cast<double>(x)));
            if ((a >= start) != (pass == 0)) return;
            if (Angle0To2Pi(a - start) <= sweep) pen.Point(cx + x, cy - y);
        });
    }
}

// ---- Polygons ---------------------------------------------------------------

// The x of an edge on the current row is Fl + Fn / Dy, stepping by Q + R / Dy.
// (Fl and Fn apart from Q and R: paired, the compiler vectorises the step
// and every row then stalls on loading what it just stored.)
struct TEdge {
    int64_t X0, Y0, Y1, Dx, Dy;  // from (X0, Y0) down to Y1; Dy > 0
    int64_t Fl, Q, Fn, R;
};

std::vector<TEdge> Edges;
std::vector<size_t> Active;
std::vector<int64_t> Crossings;

// Even-odd interior sampled at the pixel's own coordinates: a pixel is inside
// when it lies left-inclusive, right-exclusive between a pair of crossings of
// edges that are top-inclusive, bottom-exclusive.
void PolygonInterior(const TRasterTarget& t, const TPolyPoint* p, int32_t n) {
    const TClipRect& c = t.Surface->Clip;
    Edges.clear();
    int64_t yMin = INT64_MAX, yMax = INT64_MIN;
    for (int32_t i = 0; i < n; ++i) {
        const TPolyPoint& a = p[i];
        const TPolyPoint& b = p[(i + 1) % n];
        if (a.Y == b.Y) continue;
        const bool down = a.Y < b.Y;
        const TPolyPoint& top = down ? a : b;
        const TPolyPoint& bot = down ? b : a;
        Edges.push_back({top.X, top.Y, bot.Y, int64_t{bot.X} - top.X, int64_t{bot.Y} - top.Y, 0, 0, 0, 0});
        yMin = std::min<int64_t>(yMin, top.Y);
        yMax = std::max<int64_t>(yMax, bot.Y);
    }
    if (Edges.empty()) return;
    const int64_t first = std::max<int64_t>(yMin, c.Y1), last = std::min<int64_t>(yMax - 1, c.Y2);
    if (first > last) return;
    std::sort(Edges.begin(), Edges.end(), [](const TEdge& a, const TEdge& b) { return a.Y0 < b.Y0; });
    // Plain locals in the row loop: through the global vectors every store
    // would make the compiler reload the others.
    Active.resize(Edges.size());
    Crossings.resize(Edges.size());
    TEdge* const edges = Edges.data();
    size_t* const active = Active.data();
    int64_t* const cross = Crossings.data();
    const size_t edgeCount = Edges.size();
    size_t activeCount = 0, next = 0;
    for (int64_t y = first; y <= last; ++y) {
        for (; next < edgeCount && edges[next].Y0 <= y; ++next) {
            TEdge& e = edges[next];
            if (e.Y1 <= y) continue;
            e.Fl = e.X0 + FloorDivRem(static_cast<__int128>(e.Dx) * (y - e.Y0), e.Dy, e.Fn);
            e.Q = FloorDivRem(e.Dx, e.Dy, e.R);
            active[activeCount++] = next;
        }
        size_t n = 0;
        for (size_t i = 0; i < activeCount;) {
            TEdge& e = edges[active[i]];
            if (e.Y1 <= y) {
                active[i] = active[--activeCount];
                continue;
            }
            cross[n++] = e.Fl + (e.Fn > 0 ? 1 : 0);  // first sample at or right of the edge
            e.Fl += e.Q;
            e.Fn += e.R;
            if (e.Fn >= e.Dy) {
                e.Fn -= e.Dy;
                ++e.Fl;
            }
            ++i;
        }
        if (n > 16) {
            std::sort(cross, cross + n);
        } else {
            for (size_t i = 1; i < n; ++i) {
                const int64_t v = cross[i];
                size_t j = i;
                for (; j > 0 && cross[j - 1] > v; --j) cross[j] = cross[j - 1];
                cross[j] = v;
            }
        }
        for (size_t i = 0; i + 1 < n; i += 2) {
            const int64_t x1 = std::max<int64_t>(cross[i], c.X1);
            const int64_t x2 = std::min<int64_t>(cross[i + 1] - 1, c.X2);
            if (x1 <= x2)
                TargetClippedRun(t, static_cast<int32_t>(y), static_cast<int32_t>(x1),
                               static_cast<int32_t>(x2), MaskBrush);
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
