#include "draw_state.h"

#include <algorithm>
#include <mutex>

namespace TavrelInternal {
TDrawPort DrawPort{0, 0, 0, 0, false};
int32_t PortOriginX = 0, PortOriginY = 0;
int16_t PortExtentX = 0, PortExtentY = 0;
bool PortClipRegion = false;
int32_t AspectX = 10000, AspectY = 10000;
bool UnitAspect = true;
uint32_t BackgroundColor = 0, DrawColor = 0;
TStrokeSettings StrokeSettings{0, 0, 1};
TAreaFillSettings AreaFillSettings{1, 0};
TPen CurrentPen;
TBrush CurrentBrush;
TPaint CurrentPaint;
uint32_t TextPixel = 0;
bool FillPatternDefined = false;
std::array<uint32_t, 64> FillPatternBitmap{};
int32_t PenX = 0, PenY = 0;
int32_t CurrentPosX = 0, CurrentPosY = 0;
}  // namespace TavrelInternal

bool EnterDrawCall() {
    // Only the program thread writes the code: an ordered store would wait
    // for every pixel store before it, three times a segment.
    ResultCode.store(0, std::memory_order_relaxed);
    if (WindowReady) return true;
    ResultCode = -1;
    return false;
}

static uint32_t PageValueMask() {
    if (!PaletteMode) return 0xFFFFFFu;
    return DeviceColorCount ? static_cast<uint32_t>(DeviceColorCount - 1) : 0xFFu;
}

uint32_t ColorToPagePixel(uint32_t color) {
    return DeviceRefToPixel(ColorToDeviceRef(color)) & PageValueMask();
}

TSurface DrawPageSurface() {
    TSurface s;
    AwaitPresentOf(DrawPage.load(std::memory_order_relaxed));
    TPage& page = DrawPageRef();
    const size_t need = static_cast<size_t>(std::max(PageWidth, 0)) *
                        static_cast<size_t>(std::max(PageHeight, 0)) *
                        static_cast<size_t>(std::max(PageBytesPerPixel, 0));
    // A page not (yet) of the client size is never drawn on.
    if (need == 0 || page.Pixels.size() < need || (PageBytesPerPixel != 1 && PageBytesPerPixel != 4))
        return s;
    s.Pixels = page.Pixels.data();
    s.Width = PageWidth;
    s.Height = PageHeight;
    s.BytesPerPixel = PageBytesPerPixel;
    s.Stride = PageWidth * PageBytesPerPixel;
    s.ValueMask = PageValueMask();
    s.Clip = {0, 0, PageWidth - 1, PageHeight - 1};
    if (PortClipRegion) s.Clip = IntersectClip(s.Clip, {DrawPort.X1, DrawPort.Y1, DrawPort.X2, DrawPort.Y2});
    return s;
}

void ShowDrawnArea(int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
    // The clip of DrawPageSurface, without its checks: called for every
    // primitive, also when nothing is shown.
    TClipRect c{0, 0, PageWidth - 1, PageHeight - 1};
    if (PortClipRegion) c = IntersectClip(c, {DrawPort.X1, DrawPort.Y1, DrawPort.X2, DrawPort.Y2});
    x1 = std::max<int64_t>(x1, c.X1);
    y1 = std::max<int64_t>(y1, c.Y1);
    x2 = std::min<int64_t>(x2, c.X2);
    y2 = std::min<int64_t>(y2, c.Y2);
    if (x1 > x2 || y1 > y2) return;
    TPage& page = DrawPageRef();
    if (page.BlankKnown) WidenClientRect(page.Drawn, int32_t(x1), int32_t(y1), int32_t(x2), int32_t(y2));
    WidenClientRect(page.Written, int32_t(x1), int32_t(y1), int32_t(x2), int32_t(y2));
    if (!DirectDraw || !DrawPageSurface().Pixels) return;
    RequestShownRect(int32_t(x1), int32_t(y1), int32_t(x2), int32_t(y2));
}

void ForgetDrawPageBlank() {
    TPage& page = DrawPageRef();
    page.BlankKnown = false;
    page.Written = {0, 0, PageWidth - 1, PageHeight - 1};  // nor is it known where
}

// ---- Setters ------------------------------------------------------------------

void DefineDrawPort(int16_t x1, int16_t y1, int16_t x2, int16_t y2, bool clip) {
    if (!EnterDrawCall()) return;
    if (x1 > x2 || y1 > y2) {
        ResultCode = -7;
        return;
    }
    DrawPort = {x1, y1, x2, y2, clip};
    PortOriginX = x1;
    PortOriginY = y1;
    PortExtentX = static_cast<int16_t>(x2 - x1);
    PortExtentY = static_cast<int16_t>(y2 - y1);
    MovePenTo(0, 0);
    std::lock_guard lock(DrawLock);
    PortClipRegion = clip;
}

void SetAspectScale(uint16_t x, uint16_t y) {
    AspectX = x;
    AspectY = y;
    UnitAspect = x == 10000 && y == 10000;
}

void SetRasterMode(int16_t mode) {
    if (!EnterDrawCall()) return;
    const int operation = mode % 16;  // C++ remainder and quotient truncate toward zero
    const int background = (mode / 16) * 16;
    if (operation < 0 || (background != 0 && background != 16)) {
        ResultCode = -7;
        return;
    }
    CurrentPaint.Rop = static_cast<uint8_t>(operation);
    CurrentPaint.Opaque = background == 16;
}

void SetBackgroundColor(uint32_t color) {
    if (!EnterDrawCall()) return;
    BackgroundColor = color;
    CurrentPaint.BackPixel = ColorToPagePixel(color);
}

void SetDrawColor(uint32_t color) {
    DrawColor = color;
    SetStrokeStyle(StrokeSettings.Style, StrokeSettings.Pattern, StrokeSettings.Thickness);
    if (ResultCode != 0) return;
    TextPixel = ColorToPagePixel(color);
}

void SetStrokeStyle(uint16_t style, uint16_t pattern, uint16_t thickness) {
    if (!EnterDrawCall()) return;
    if (style > 6) {
        ResultCode = -7;
        return;
    }
    StrokeSettings = {style, pattern, thickness};
    std::lock_guard lock(DrawLock);
    // Styles 0 to 4 are the dash kinds in the same order; 5 and 6 draw no outline.
    CurrentPen.Dash = style <= 4 ? static_cast<uint8_t>(style) : uint8_t{DashNone};
    CurrentPen.Width = thickness;
    CurrentPen.Pixel = ColorToPagePixel(DrawColor);
}

void SetAreaFill(uint16_t style, uint32_t color) {
    if (!EnterDrawCall()) return;
    if (style > 9) {
        ResultCode = -7;
        return;
    }
    TBrush brush;
    if (style == 0) color = BackgroundColor;
    brush.Pixel = ColorToPagePixel(color);
    if (style <= 1) {
        brush.Kind = BrushSolid;
    } else if (style <= 7) {
        brush.Kind = BrushHatch;
        brush.Hatch = HatchRows[style - 2];
    } else if (style == 8 && FillPatternDefined) {
        brush.Kind = BrushTile;
        brush.Tile = FillPatternBitmap;
    } else {
        brush.Kind = BrushHollow;
    }
    AreaFillSettings = {style, color};
    std::lock_guard lock(DrawLock);
    CurrentBrush = brush;
}

void DefineFillBitmap(const std::array<uint8_t, 8>& pattern, uint32_t color) {
    if (!EnterDrawCall()) return;
    const uint32_t fore = ColorToPagePixel(color), back = ColorToPagePixel(BackgroundColor);
    {
        std::lock_guard lock(DrawLock);
        for (size_t y = 0; y < 8; ++y)
            for (size_t x = 0; x < 8; ++x)
                FillPatternBitmap[y * 8 + x] = ((pattern[y] >> (7 - x)) & 1u) ? fore : back;
        FillPatternDefined = true;
    }
    SetAreaFill(8, color);
}

void ResetDrawState() {
    // A new window starts without a clipping port or fill bitmap.
    PortClipRegion = false;
    FillPatternDefined = false;
    if (PaletteMode) {
        TPaletteTable table{};
        FetchStandardPalette(table);
        ApplyPalette(table);
    } else {
        LoadTrueColorNames();
    }
    ApplyDrawDefaults();
}

void ApplyDrawDefaults() {
    StrokeSettings = {0, 0, 1};
    SetDrawColor(NamedColors[250]);
    SetBackgroundColor(NamedColors[12]);
    std::array<uint8_t, 8> allSet;
    allSet.fill(0xFF);
    DefineFillBitmap(allSet, NamedColors[250]);
    SetAreaFill(1, NamedColors[250]);
    ResetTextState();
    DefineDrawPort(0, 0, static_cast<int16_t>(ClientMaxX), static_cast<int16_t>(ClientMaxY), false);
    SetRasterMode(0);
    SetAspectScale(10000, 10000);
}
