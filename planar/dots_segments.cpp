#include "dots_segments.h"

#include <cmath>
#include <numbers>

#include "extended_ops.h"
#include "min_max.h"
#include "vector_angle.h"

std::array<TDot, DotCapacity> Dots;
std::array<TUserSegment, SegmentCapacity> UserSegments;
int32_t PendingSegment = -1;
uint16_t PreviousButtons = 0;
std::array<TDotLook, DotCapacity> DotLooks;

void ResetDotsAndSegments() {
    Dots.fill(TDot{0, 0, 0, 0, 0});
    UserSegments.fill(TUserSegment{0, 0, 0, 0, 0});
    DotLooks.fill(DotHidden);
    PendingSegment = -1;
    PreviousButtons = 0;
}

// Most segments are far from a dot. These tests in double, with a margin
// that rounding never crosses, leave the exact tests for the few near ones.
bool ClearlyApart(const TDot& dot, const TUserSegment& segment) {
    if (MinOf(segment.X1, segment.X2) >= dot.X + (DotSize + 1) ||
        MaxOf(segment.X1, segment.X2) <= dot.X - (DotSize + 1))
        return true;
    // |cross| / length is the distance, and length <= |ex| + |ey|.
    const double ex = segment.X2 - segment.X1, ey = segment.Y2 - segment.Y1;
    const double cross = ex * (segment.Y1 - dot.Y) - (segment.X1 - dot.X) * ey;
    return std::fabs(cross) > (DotSize + 0.5) * (std::fabs(ex) + std::fabs(ey)) + 1;
}

bool MirrorDotOffSegment(TDot& dot, const TUserSegment& segment) {
    if (ClearlyApart(dot, segment)) return false;
    const long double x = dot.X, y = dot.Y;
    if (!(MinOf(segment.X1, segment.X2) < x + DotSize && MaxOf(segment.X1, segment.X2) > x - DotSize))
        return false;
    const long double ex = static_cast<long double>(segment.X2) - segment.X1;
    const long double ey = static_cast<long double>(segment.Y2) - segment.Y1;
    const long double length = std::sqrt(ex * ex + ey * ey);
    // Both ends on one pixel: no line to measure a distance from.
    if (length == 0) return false;
    const long double d = (ex * (segment.Y1 - y) - (segment.X1 - x) * ey) / length;
    if (!(std::fabs(d) < DotSize)) return false;
    const long double u = static_cast<long double>(VectorAngle(Rounded(ex), Rounded(ey))) +
                          std::numbers::pi_v<long double>;
    const long double c = std::cos(u), s = std::sin(u);
    const long double p = c * dot.VX + s * dot.VY;
    dot.VX = Rounded(2 * p * c - dot.VX);
    dot.VY = Rounded(2 * p * s - dot.VY);
    return true;
}

void MoveDots(int32_t rightEdge, int32_t bottomEdge) {
    for (int32_t i = 0; i < DotCapacity; i++) {
        TDot& dot = Dots[i];
        DotLooks[i] = DotHidden;
        if (dot.Active != 1) continue;
        DotLooks[i] = DotPlain;
        dot.X = Rounded(static_cast<long double>(dot.X) + dot.VX);
        dot.Y = Rounded(static_cast<long double>(dot.Y) + dot.VY);
        for (const TUserSegment& segment : UserSegments)
            if (segment.State == 1 && MirrorDotOffSegment(dot, segment)) DotLooks[i] = DotMirrored;
        const long double x = dot.X, y = dot.Y;
        if (y + DotSize > bottomEdge || y + DotSize < 0 || x + DotSize > rightEdge || x + DotSize < 0)
            dot.Active = 0;
    }
}

void HandleDotPresses(uint16_t buttons, int32_t x, int32_t y) {
    const bool changed = buttons != PreviousButtons;
    if (buttons == 1 && changed) {
        for (TDot& dot : Dots)
            if (dot.Active == 0) {
                dot = TDot{static_cast<double>(x), static_cast<double>(y), 0, 0.5, 1};
                break;
            }
    }
    if (buttons == 2 && changed) {
        for (int32_t i = 0; i < SegmentCapacity; i++) {
            TUserSegment& segment = UserSegments[i];
            if (i != PendingSegment && segment.State != 0) continue;
            if (i == PendingSegment) {
                segment.X2 = x;
                segment.Y2 = y;
                segment.State = 1;
                PendingSegment = -1;
            } else {
                segment.X1 = x;
                segment.Y1 = y;
                segment.State = 0;
                PendingSegment = i;
            }
            break;
        }
    }
    PreviousButtons = buttons;
}
