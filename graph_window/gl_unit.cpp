#include "gl_unit.h"

#include <mutex>
#include <vector>

#include "draw_state.h"
#include "platform/fp_control.h"
#include "platform/window_system.h"

namespace TavrelInternal {
bool GlAvailable = false;
bool GlTargetIsWindow = false;
}  // namespace TavrelInternal

namespace {

int32_t GlWidth = 0, GlHeight = 0;  // of the bitmap target's frame buffer
// The bitmap context's frame now and as of the last copy, sized once per window.
std::vector<uint8_t> ReadbackPixels, LastReadback;

// What the bitmap context drew since the last refresh goes into the draw
// page; pixels it left alone keep whatever two-dimensional drawing put there,
// as if it rendered into the page itself.
void CopyBitmapGlToDrawPage() {
    ReadBitmapGl(ReadbackPixels.data());
    {
        std::lock_guard<std::recursive_mutex> hold(DrawLock);
        AwaitPresentOf(DrawPage.load(std::memory_order_relaxed));
        ForgetDrawPageBlank();
        CopyChangedGlPixelsToPage(ReadbackPixels.data(), LastReadback.data(), GlWidth, GlHeight,
                                  PaletteMode ? DeviceColorCount : uint16_t{0}, DrawPageRef());
    }
    ReadbackPixels.swap(LastReadback);
}

}  // namespace

void CreateGlContexts() {
    GlAvailable = false;
    GlTargetIsWindow = false;
    const TFpControl saved = SaveFpControl();
    const bool window = CreateWindowGl();
    const bool bitmap = CreateBitmapGl(PageWidth, PageHeight);
    RestoreFpControl(saved);
    if (window && bitmap) {
        GlWidth = PageWidth;
        GlHeight = PageHeight;
        ReadbackPixels.assign(static_cast<size_t>(GlWidth) * static_cast<size_t>(GlHeight) * 4, 0);
        // Whatever the new frame buffer holds is nobody's drawing yet.
        LastReadback = ReadbackPixels;
        ReadBitmapGl(LastReadback.data());
        GlAvailable = true;
        SelectGlTarget(false);
        return;
    }
    // Half a pair is of no use: nothing stays current, so the program's
    // OpenGL calls go nowhere.
    ReleaseGl();
    ResultCode = -9;
}

void ReleaseGlContexts() {
    ReleaseGl();
    GlAvailable = false;
    ReadbackPixels = std::vector<uint8_t>();
    LastReadback = std::vector<uint8_t>();
}

void SelectGlTarget(bool toWindow) {
    if (!GlAvailable) {
        ResultCode = -9;
        return;
    }
    GlTargetIsWindow = toWindow;
    std::lock_guard<std::recursive_mutex> hold(DrawLock);
    const TDrawPort kept = DrawPort;
    DefineDrawPort(0, 0, static_cast<int16_t>(ClientMaxX), static_cast<int16_t>(ClientMaxY), false);
    if (toWindow)
        MakeWindowGlCurrent();
    else
        MakeBitmapGlCurrent();
    DefineDrawPort(kept.X1, kept.Y1, kept.X2, kept.Y2, kept.Clip);
}

void SetRefreshMode(uint16_t operation) {
    switch (operation) {
        case 0:
            if (RefreshMode) {
                RefreshMode = false;
                DirectDraw = false;
            }
            break;
        case 1:
            if (!RefreshMode) {
                RefreshMode = true;
                SelectShownPage(ShownPage);
            }
            break;
        case 2:
            if (GlTargetIsWindow) {
                SwapWindowGl();
            } else {
                if (GlAvailable && WindowReady) CopyBitmapGlToDrawPage();
                SelectShownPage(ShownPage);
            }
            break;
        default: break;
    }
}
