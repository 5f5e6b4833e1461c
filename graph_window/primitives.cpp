#include <algorithm>
#include <cmath>
#include <mutex>
#include <vector>

#include "draw_state.h"

namespace {

int32_t PatternBitIndex = 0;

struct TPatternWalk {
    const TSurface* Surface;
    uint32_t Pattern;
    uint32_t Pixel;
    int32_t MinX, MinY, MaxX, MaxY;  // what the walk set, for the window
};

// The per-point step of a user-pattern line: the points come in port
// coordinates, each taken to the page as a pixel would be.
void PatternLinePixelCallback(int32_t x, int32_t y, void* data) {
    auto& walk = *static_cast<TPatternWalk*>(data);
    if ((walk.Pattern >> PatternBitIndex) & 1u) {
        const int32_t px = PortToPage(x, PortOriginX), py = PortToPage(y, PortOriginY);
        PutSurfacePixel(*walk.Surface, px, py, walk.Pixel);
        walk.MinX = std::min(walk.MinX, px);
        walk.MinY = std::min(walk.MinY, py);
        walk.MaxX = std::max(walk.MaxX, px);
        walk.MaxY = std::max(walk.MaxY, py);
    }
    PatternBitIndex = (PatternBitIndex + 1) % 16;
}

// Radius after the aspect factor, kept to 16 bits. A factor of 0 would divide
// by zero; such an axis is left unscaled.
int32_t AspectRadius(uint16_t radius, int32_t aspect) {
    if (UnitAspect || aspect == 0) return radius;
    return static_cast<uint16_t>(static_cast<int32_t>(radius) * 10000 / aspect);
}

int32_t RoundLong(long double v) { return static_cast<int32_t>(std::nearbyintl(v)); }

// The radial of an arc: cos and sin of the angle (pi / 180 in extended
// precision) times the radii, to the nearest integer. The quarter turns that
// every circle uses are taken exactly: the rounding gives the same, and the
// extended-precision functions cost more than the whole circle.
void ArcRadial(uint16_t degrees, uint16_t xRadius, uint16_t yRadius, int32_t& dx, int32_t& dy) {
    switch (degrees) {
        case 0:
        case 360:
            dx = xRadius;
            dy = 0;
            return;
        case 90:
            dx = 0;
            dy = yRadius;
            return;
        case 180:
            dx = -xRadius;
            dy = 0;
            return;
        case 270:
            dx = 0;
            dy = -yRadius;
            return;
        default: break;
    }
    constexpr long double degree = 3.14159265358979323846264338327950288L / 180.0L;
    dx = RoundLong(std::cos(degrees * degree) * xRadius);
    dy = RoundLong(std::sin(degrees * degree) * yRadius);
}

// How far a pen reaches beyond the points it is drawn through.
int64_t PenReach() { return CurrentPen.Width / 2 + 1; }

}  // namespace

void ClearWholeWindow() {
    const TDrawPort kept = DrawPort;
    DefineDrawPort(0, 0, static_cast<int16_t>(ClientMaxX), static_cast<int16_t>(ClientMaxY), false);
    if (ResultCode != 0) return;
    ClearPortArea();
    DefineDrawPort(kept.X1, kept.Y1, kept.X2, kept.Y2, kept.Clip);
}

void ClearPortArea() {
    MovePenTo(0, 0);
    if (ResultCode != 0) return;
    const TAreaFillSettings kept = AreaFillSettings;
    SetAreaFill(1, BackgroundColor);
    FillBox(0, 0, PortExtentX, PortExtentY);
    SetAreaFill(kept.Style, kept.Color);
}

void MovePenTo(int16_t x, int16_t y) {
    if (!EnterDrawCall()) return;
    PenX = x;
    PenY = y;
    CurrentPosX = x + PortOriginX;
    CurrentPosY = y + PortOriginY;
}

void DrawLineTo(int16_t x, int16_t y) {
    if (!EnterDrawCall()) return;
    const int32_t tx = PortToPage(x, PortOriginX), ty = PortToPage(y, PortOriginY);
    if (StrokeSettings.Style != 5) {
        // The line stops short of its end; a one-pixel pen adds the end point,
        // in the same hold of the lock (short segments are mostly lock).
        // Style 6 draws nothing at all, not even that point.
        const bool endPoint = StrokeSettings.Thickness == 1 && StrokeSettings.Style != 6;
        const uint32_t endPixel = endPoint ? ColorToPagePixel(DrawColor) : 0;
        std::lock_guard lock(DrawLock);
        const TSurface s = DrawPageSurface();
        StrokeSurfaceLine(s, CurrentPosX, CurrentPosY, tx, ty, CurrentPen, CurrentPaint);
        if (CurrentPen.Dash != DashNone)
            ShowDrawnArea(std::min(CurrentPosX, tx) - PenReach(), std::min(CurrentPosY, ty) - PenReach(),
                          std::max(CurrentPosX, tx) + PenReach(), std::max(CurrentPosY, ty) + PenReach());
        if (endPoint) {
            PutSurfacePixel(s, tx, ty, endPixel);
            ShowDrawnArea(tx, ty, tx, ty);
        }
    } else {
        std::lock_guard lock(DrawLock);
        const TSurface s = DrawPageSurface();
        TPatternWalk walk{
            &s,       StrokeSettings.Pattern, ColorToPagePixel(DrawColor), INT32_MAX, INT32_MAX, INT32_MIN,
            INT32_MIN};
        PatternBitIndex = 0;
        WalkLinePoints(PenX, PenY, x, y, PatternLinePixelCallback, &walk);
        ShowDrawnArea(walk.MinX, walk.MinY, walk.MaxX, walk.MaxY);
    }
    MovePenTo(x, y);
}

void DrawSegment(int16_t x1, int16_t y1, int16_t x2, int16_t y2) {
    MovePenTo(x1, y1);
    if (ResultCode != 0) return;
    DrawLineTo(x2, y2);
}

void PlotPixel(int16_t x, int16_t y, uint32_t color) {
    if (!EnterDrawCall()) return;
    const uint32_t pixel = ColorToPagePixel(color);
    const int32_t px = PortToPage(x, PortOriginX), py = PortToPage(y, PortOriginY);
    std::lock_guard lock(DrawLock);
    PutSurfacePixel(DrawPageSurface(), px, py, pixel);
    ShowDrawnArea(px, py, px, py);
}

void DrawCircle(int16_t x, int16_t y, uint16_t radius) { DrawEllipseArc(x, y, 0, 360, radius, radius); }

void DrawEllipseArc(int16_t x, int16_t y, uint16_t start, uint16_t end, uint16_t xRadius, uint16_t yRadius) {
    if (!EnterDrawCall()) return;
    const int32_t cx = PortToPage(x, PortOriginX), cy = PortToPage(y, PortOriginY);
    int32_t sdx, sdy, edx, edy;
    ArcRadial(start, xRadius, yRadius, sdx, sdy);
    ArcRadial(end, xRadius, yRadius, edx, edy);
    const int32_t rx = AspectRadius(xRadius, AspectX), ry = AspectRadius(yRadius, AspectY);
    std::lock_guard lock(DrawLock);
    StrokeSurfaceArc(DrawPageSurface(), cx, cy, rx, ry, sdx, sdy, edx, edy, CurrentPen, CurrentPaint);
    ShowDrawnArea(int64_t{cx} - rx - PenReach(), int64_t{cy} - ry - PenReach(), int64_t{cx} + rx + PenReach(),
                  int64_t{cy} + ry + PenReach());
}

void FillBox(int16_t x1, int16_t y1, int16_t x2, int16_t y2) {
    if (!EnterDrawCall()) return;
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    const TClipRect r{PortToPage(x1, PortOriginX), PortToPage(y1, PortOriginY), PortToPage(x2, PortOriginX),
                      PortToPage(y2, PortOriginY)};
    std::lock_guard lock(DrawLock);
    const TSurface s = DrawPageSurface();
    TPage& page = DrawPageRef();
    const TClipRect filled = IntersectClip(r, s.Clip);
    const bool wholePage = s.Pixels && CurrentBrush.Kind == BrushSolid && filled.X1 == 0 && filled.Y1 == 0 &&
                           filled.X2 == s.Width - 1 && filled.Y2 == s.Height - 1;
    if (wholePage && page.BlankKnown && page.Blank == CurrentBrush.Pixel)
        RefillSurfaceRect(s, {page.Drawn.X1, page.Drawn.Y1, page.Drawn.X2, page.Drawn.Y2}, CurrentBrush.Pixel);
    else
        FillSurfaceRect(s, r, CurrentBrush, CurrentPaint);
    ShowDrawnArea(r.X1, r.Y1, r.X2, r.Y2);
    if (wholePage) {
        page.BlankKnown = true;
        page.Blank = CurrentBrush.Pixel;
        page.Drawn = {0, 0, -1, -1};
    }
}

void FillPolygonShape(uint16_t count, const TPolyPoint* points) {
    if (!EnterDrawCall()) return;
    if (count < 2 || points == nullptr) {
        ResultCode = -7;
        return;
    }
    static std::vector<TPolyPoint> copy;
    copy.resize(count);
    int64_t minX = INT64_MAX, minY = INT64_MAX, maxX = INT64_MIN, maxY = INT64_MIN;
    for (size_t i = 0; i < count; ++i) {
        // 32-bit arithmetic, wrapping like the platform's.
        copy[i].X =
            static_cast<int32_t>(static_cast<uint32_t>(points[i].X) + static_cast<uint32_t>(PortOriginX));
        copy[i].Y =
            static_cast<int32_t>(static_cast<uint32_t>(points[i].Y) + static_cast<uint32_t>(PortOriginY));
        minX = std::min<int64_t>(minX, copy[i].X);
        minY = std::min<int64_t>(minY, copy[i].Y);
        maxX = std::max<int64_t>(maxX, copy[i].X);
        maxY = std::max<int64_t>(maxY, copy[i].Y);
    }
    std::lock_guard lock(DrawLock);
    FillSurfacePolygon(DrawPageSurface(), copy.data(), count, CurrentPen, CurrentBrush, CurrentPaint);
    ShowDrawnArea(minX - PenReach(), minY - PenReach(), maxX + PenReach(), maxY + PenReach());
}

void FillEllipseShape(int16_t x, int16_t y, uint16_t xRadius, uint16_t yRadius) {
    if (!EnterDrawCall()) return;
    const int32_t cx = PortToPage(x, PortOriginX), cy = PortToPage(y, PortOriginY);
    const int32_t rx = AspectRadius(xRadius, AspectX), ry = AspectRadius(yRadius, AspectY);
    std::lock_guard lock(DrawLock);
    FillSurfaceEllipse(DrawPageSurface(), cx, cy, rx, ry, CurrentPen, CurrentBrush, CurrentPaint);
    ShowDrawnArea(int64_t{cx} - rx - PenReach(), int64_t{cy} - ry - PenReach(), int64_t{cx} + rx + PenReach(),
                  int64_t{cy} + ry + PenReach());
}
