#include "gl_unit.h"

#include <mutex>
#include <vector>

#include "draw_state.h"
#include "platform/egl_contexts.h"
#include "platform/fp_control.h"
#include "platform/program_display.h"
#include "platform/x11_window.h"

bool GlAvailable = false;
bool GlTargetIsWindow = false;

namespace {

TGlContexts Gl;
// The bitmap context's frame now and as of the last copy, sized once per window.
std::vector<uint8_t> ReadbackPixels, LastReadback;

// What the bitmap context drew since the last refresh goes into the draw
// page; pixels it left alone keep whatever two-dimensional drawing put there,
// as if it rendered into the page itself.
void CopyBitmapGlToDrawPage() {
    ReadBitmapGlPixels(Gl, ReadbackPixels.data());
    {
        std::lock_guard<std::recursive_mutex> hold(DrawLock);
        CopyChangedGlPixelsToPage(ReadbackPixels.data(), LastReadback.data(), Gl.Width, Gl.Height,
                                  PaletteMode ? DeviceColorCount : uint16_t{0}, DrawPageRef());
    }
    ReadbackPixels.swap(LastReadback);
}

}  // namespace

void CreateGlContexts() {
    GlAvailable = false;
    GlTargetIsWindow = false;
    const TFpControl saved = SaveFpControl();
    Display* display = ProgramDisplay();
    const bool window = display && GraphXWindow && CreateWindowGlContext(Gl, display, GraphXWindow);
    const bool bitmap = CreateBitmapGlContext(Gl, PageWidth, PageHeight);
    RestoreFpControl(saved);
    if (window && bitmap) {
        ReadbackPixels.assign(static_cast<size_t>(Gl.Width) * static_cast<size_t>(Gl.Height) * 4, 0);
        // Whatever the new frame buffer holds is nobody's drawing yet.
        LastReadback = ReadbackPixels;
        ReadBitmapGlPixels(Gl, LastReadback.data());
        GlAvailable = true;
        SelectGlTarget(false);
        return;
    }
    // Half a pair is of no use: nothing stays current, so the program's
    // OpenGL calls go nowhere.
    DestroyGlContexts(Gl);
    ResultCode = -9;
}

void ReleaseGlContexts() {
    DestroyGlContexts(Gl);
    CloseProgramDisplay();
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
        MakeWindowGlCurrent(Gl);
    else
        MakeBitmapGlCurrent(Gl);
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
                SwapWindowGlBuffers(Gl);
            } else {
                if (GlAvailable && WindowReady) CopyBitmapGlToDrawPage();
                SelectShownPage(ShownPage);
            }
            break;
        default: break;
    }
}
