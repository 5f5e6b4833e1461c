#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "raster_core.h"

namespace {

// Cosmetic dash lengths in pixels, alternately on and off.
constexpr uint32_t MakeDash(std::initializer_list<uint32_t> lengths, uint32_t& period) {
    uint32_t bits = 0, pos = 0;
    bool on = true;
    for (uint32_t len : lengths) {
        for (uint32_t i = 0; i < len; ++i, ++pos)
            if (on) bits |= 1u << pos;
        on = !on;
    }
    period = pos;
    return bits;
}

constexpr std::array<TDash, 5> BuildDashes() {
    std::array<TDash, 5> d{};
    d[DashSolid] = {1, 1};
    d[DashDot].Bits = MakeDash({3, 3}, d[DashDot].Period);
    d[DashDashDot].Bits = MakeDash({9, 6, 3, 6}, d[DashDashDot].Period);
    d[DashDash].Bits = MakeDash({18, 6}, d[DashDash].Period);
    d[DashDashDotDot].Bits = MakeDash({9, 3, 3, 3, 3, 3}, d[DashDashDotDot].Period);
    return d;
}
constexpr std::array<TDash, 5> Dashes = BuildDashes();

int64_t ClampTo64(__int128 v) {
    constexpr __int128 limit = static_cast<__int128>(1) << 62;
    return static_cast<int64_t>(std::clamp(v, -limit, limit));
}

// Floor division clamped to what the walk can use; b > 0 and within 64 bits.
int64_t FloorDiv(__int128 a, __int128 b) {
    const __int128 limit = static_cast<__int128>(1) << 62;
    int64_t rem;
    if (a > -limit * 2 && a < limit * 2) return FloorDivRem(a, static_cast<int64_t>(b), rem);
    __int128 q = a / b;
    if (a % b != 0 && a < 0) --q;
    return ClampTo64(q);
}

int64_t CeilDiv(__int128 a, __int128 b) { return -FloorDiv(-a, b); }

// The pixels of a line with the end point left out: point i (0 <= i < n) is
// i steps along the major axis and k(i) = floor((2 dmn i + dmj) / (2 dmj))
// steps along the minor one, the rounding of i dmn / dmj.
struct TLineSteps {
    bool XMajor;
    int64_t Mj0, Mn0, Dmj, Dmn;
    int Smj, Smn;
};

TLineSteps LineSteps(int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
    const int64_t adx = std::llabs(x1 - x0), ady = std::llabs(y1 - y0);
    const auto sign = [](int64_t v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); };
    TLineSteps l{};
    l.XMajor = adx >= ady;
    l.Mj0 = l.XMajor ? x0 : y0;
    l.Mn0 = l.XMajor ? y0 : x0;
    l.Dmj = std::max(adx, ady);
    l.Dmn = std::min(adx, ady);
    l.Smj = l.XMajor ? sign(x1 - x0) : sign(y1 - y0);
    l.Smn = l.XMajor ? sign(y1 - y0) : sign(x1 - x0);
    return l;
}

// Point lo of the line: major and minor coordinate and the walk's remainder.
void StepStart(const TLineSteps& l, int64_t lo, int64_t& mj, int64_t& mn, int64_t& rem) {
    const __int128 num = static_cast<__int128>(2 * l.Dmn) * lo + l.Dmj;
    const int64_t k = FloorDivRem(num, 2 * l.Dmj, rem);
    mj = l.Mj0 + l.Smj * lo;
    mn = l.Mn0 + l.Smn * k;
}

// Calls visit(x, y, i) for points lo..hi of the line.
template <class Visit>
void WalkSteps(const TLineSteps& l, int64_t lo, int64_t hi, Visit&& visit) {
    const int64_t twoMj = 2 * l.Dmj, twoMn = 2 * l.Dmn;
    int64_t mj, mn, rem;
    StepStart(l, lo, mj, mn, rem);
    for (int64_t i = lo; i <= hi; ++i) {
        if (l.XMajor)
            visit(mj, mn, i);
        else
            visit(mn, mj, i);
        mj += l.Smj;
        rem += twoMn;
        if (rem >= twoMj) {
            rem -= twoMj;
            mn += l.Smn;
        }
    }
}

// Narrows lo..hi to the points whose pixels lie inside the clip, exactly,
// without walking the points outside.
bool ClipSteps(const TLineSteps& l, const TClipRect& c, int64_t& lo, int64_t& hi) {
    const int64_t cmj1 = l.XMajor ? c.X1 : c.Y1, cmj2 = l.XMajor ? c.X2 : c.Y2;
    const int64_t cmn1 = l.XMajor ? c.Y1 : c.X1, cmn2 = l.XMajor ? c.Y2 : c.X2;
    if (l.Smj > 0) {
        lo = std::max(lo, cmj1 - l.Mj0);
        hi = std::min(hi, cmj2 - l.Mj0);
    } else {
        lo = std::max(lo, l.Mj0 - cmj2);
        hi = std::min(hi, l.Mj0 - cmj1);
    }
    int64_t ka = l.Smn >= 0 ? cmn1 - l.Mn0 : l.Mn0 - cmn2;
    const int64_t kb = l.Smn >= 0 ? cmn2 - l.Mn0 : l.Mn0 - cmn1;
    if (l.Dmn == 0) return ka <= 0 && kb >= 0 && lo <= hi;
    if (kb < 0) return false;
    ka = std::max<int64_t>(ka, 0);
    const __int128 twoMj = 2 * static_cast<__int128>(l.Dmj), twoMn = 2 * static_cast<__int128>(l.Dmn);
    lo = std::max(lo, CeilDiv(twoMj * ka - l.Dmj, twoMn));
    hi = std::min(hi, FloorDiv(twoMj * (static_cast<__int128>(kb) + 1) - l.Dmj - 1, twoMn));
    return lo <= hi;
}

// Solves lo <= coef * q + constant <= hi for q.
bool LinearRange(double coef, double constant, double lo, double hi, double& qlo, double& qhi) {
    if (coef == 0) {
        if (constant < lo || constant > hi) return false;
        qlo = -HUGE_VAL;
        qhi = HUGE_VAL;
        return true;
    }
    double a = (lo - constant) / coef, b = (hi - constant) / coef;
    if (a > b) std::swap(a, b);
    qlo = a;
    qhi = b;
    return true;
}

}  // namespace

TDash DashPattern(uint8_t dash) { return dash < Dashes.size() ? Dashes[dash] : Dashes[DashSolid]; }

void ThinLine(const TRasterTarget& t, int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint32_t& dashPos) {
    const TDash dash = DashPattern(t.Pen->Dash);
    const TLineSteps l = LineSteps(x0, y0, x1, y1);
    const uint32_t start = dashPos;
    if (dash.Period > 1) dashPos = static_cast<uint32_t>((start + static_cast<uint64_t>(l.Dmj)) % dash.Period);
    int64_t lo = 0, hi = l.Dmj - 1;
    const TClipRect& c = t.Surface->Clip;
    // Lines wholly inside the clip, the usual case, skip the clip's divisions.
    const bool inside = std::min(x0, x1) >= c.X1 && std::max(x0, x1) <= c.X2 && std::min(y0, y1) >= c.Y1 &&
                        std::max(y0, y1) <= c.Y2;
    if (l.Dmj == 0 || (!inside && (ClipEmpty(c) || !ClipSteps(l, c, lo, hi)))) return;
    uint32_t pos = dash.Period > 1 ? static_cast<uint32_t>((start + static_cast<uint64_t>(lo)) % dash.Period) : 0;
    const auto walk = [&](auto put) {
        WalkSteps(l, lo, hi, [&](int64_t x, int64_t y, int64_t) {
            if ((dash.Bits >> pos) & 1u) put(x, y);
            if (++pos == dash.Period) pos = 0;
        });
    };
    const TSurface& s = *t.Surface;
    if (t.ToMask || t.Paint->Rop != RopCopyPen) {
        walk([&](int64_t x, int64_t y) {
            TargetPenPixel(t, static_cast<int32_t>(x), static_cast<int32_t>(y));
        });
    } else if (s.BytesPerPixel == 1 && dash.Period == 1) {
        // The common case, stepping a pointer: lines are most of what programs draw.
        int64_t mj, mn, rem;
        if (lo == 0) {
            mj = l.Mj0;
            mn = l.Mn0;
            rem = l.Dmj;
        } else {
            StepStart(l, lo, mj, mn, rem);
        }
        uint8_t* p = s.Pixels + (l.XMajor ? mn * s.Stride + mj : mj * s.Stride + mn);
        const ptrdiff_t stepMj = l.XMajor ? l.Smj : l.Smj * s.Stride;
        const ptrdiff_t stepMn = l.XMajor ? l.Smn * s.Stride : l.Smn;
        const int64_t twoMj = 2 * l.Dmj, twoMn = 2 * l.Dmn;
        const auto v = static_cast<uint8_t>(t.Pen->Pixel);
        const ptrdiff_t stepBoth = stepMj + stepMn;
        rem -= twoMj;  // kept below 0: the minor step is due when it reaches 0
        for (int64_t i = lo; i <= hi; ++i) {
            *p = v;
            // The minor step without a branch: on slanted lines it is taken
            // at no predictable rhythm.
            rem += twoMn;
            const int64_t over = rem - twoMj;
            ptrdiff_t advance = stepMj;
#if defined(__x86_64__)
            // Compilers turn the selection back into a branch.
            asm("test %[rem], %[rem]\n\t"
                "cmovns %[over], %[rem]\n\t"
                "cmovns %[both], %[advance]"
                : [rem] "+r"(rem), [advance] "+r"(advance)
                : [over] "r"(over), [both] "r"(stepBoth)
                : "cc");
#else
            if (rem >= 0) {
                rem = over;
                advance = stepBoth;
            }
#endif
            p += advance;
        }
    } else if (s.BytesPerPixel == 1) {
        const auto v = static_cast<uint8_t>(t.Pen->Pixel);
        walk([&](int64_t x, int64_t y) { s.Pixels[y * s.Stride + x] = v; });
    } else {
        const uint32_t v = t.Pen->Pixel;
        walk([&](int64_t x, int64_t y) { reinterpret_cast<uint32_t*>(s.Pixels + y * s.Stride)[x] = v; });
    }
}

void WideLine(const TRasterTarget& t, int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
    const TClipRect& c = t.Surface->Clip;
    if (ClipEmpty(c)) return;
    // Even widths cannot centre on a pixel: the pen sits half a pixel up-left.
    const double r = t.Pen->Width / 2.0 + 1e-9;
    const double off = (t.Pen->Width % 2 == 0) ? 0.5 : 0.0;
    const double ax = static_cast<double>(x0), ay = static_cast<double>(y0);
    const double bx = static_cast<double>(x1), by = static_cast<double>(y1);
    const double top = std::floor(std::min(ay, by) - r - off);
    const double bottom = std::ceil(std::max(ay, by) + r - off);
    const int32_t yFirst = static_cast<int32_t>(std::max<double>(top, c.Y1));
    const int32_t yLast = static_cast<int32_t>(std::min<double>(bottom, c.Y2));
    const double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy, len = std::sqrt(len2);
    for (int32_t y = yFirst; y <= yLast; ++y) {
        const double py = y + off;
        double lo = HUGE_VAL, hi = -HUGE_VAL;
        for (const auto& [cx, cy] : {std::pair{ax, ay}, std::pair{bx, by}}) {
            const double h2 = r * r - (py - cy) * (py - cy);
            if (h2 < 0) continue;
            const double h = std::sqrt(h2);
            lo = std::min(lo, cx - h);
            hi = std::max(hi, cx + h);
        }
        double ulo, uhi, vlo, vhi;
        if (len2 > 0 && LinearRange(dx, (py - ay) * dy, 0, len2, ulo, uhi) &&
            LinearRange(dy, -(py - ay) * dx, -r * len, r * len, vlo, vhi)) {
            const double qlo = std::max(ulo, vlo), qhi = std::min(uhi, vhi);
            if (qlo <= qhi) {
                lo = std::min(lo, qlo + ax);
                hi = std::max(hi, qhi + ax);
            }
        }
        if (lo > hi) continue;
        const double xa = std::max<double>(std::ceil(lo - off), c.X1 - 1.0);
        const double xb = std::min<double>(std::floor(hi - off), c.X2 + 1.0);
        TargetRun(t, y, static_cast<int32_t>(xa), static_cast<int32_t>(xb), MaskPen);
    }
}

void WideDot(const TRasterTarget& t, int64_t x, int64_t y) { WideLine(t, x, y, x, y); }

void StrokeSurfaceLine(const TSurface& s, int32_t x0, int32_t y0, int32_t x1, int32_t y1, const TPen& pen,
                       const TPaint& paint) {
    if (pen.Dash == DashNone) return;
    const TRasterTarget t{&s, &pen, nullptr, &paint, false};
    if (pen.Width > 1) {
        WideLine(t, x0, y0, x1, y1);  // convex: every pixel once, no mask needed
        return;
    }
    uint32_t dashPos = 0;
    ThinLine(t, x0, y0, x1, y1, dashPos);
}

void WalkLinePoints(int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                    void (*visit)(int32_t x, int32_t y, void* data), void* data) {
    const TLineSteps l = LineSteps(x0, y0, x1, y1);
    if (l.Dmj == 0) return;
    WalkSteps(l, 0, l.Dmj - 1, [&](int64_t x, int64_t y, int64_t) {
        visit(static_cast<int32_t>(x), static_cast<int32_t>(y), data);
    });
}
