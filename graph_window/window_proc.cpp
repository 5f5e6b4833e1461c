// The window procedure: what the window thread does with each message of the
// graphics window, and the paint that converts the shown page for the screen.
#include <algorithm>
#include <cstring>

#include "graph_unit.h"
#include "platform/x11_window.h"

namespace {

uint32_t CallHook(TMessageHook hook, uint32_t window, uint32_t message, uint32_t wParam, uint32_t lParam) {
    return hook ? hook(window, message, wParam, lParam) : 0;
}

void CreatePageBitmaps() {
    PageWidth = ClientMaxX + 1;
    PageHeight = ClientMaxY + 1;
    PageBytesPerPixel = PaletteMode ? 1 : 4;
    const size_t bytes = size_t(PageWidth) * size_t(PageHeight) * size_t(PageBytesPerPixel);
    for (TPage& page : Pages) {
        page.Pixels.assign(bytes, 0);
        page.ColorTable.fill(0);
    }
    PageColorTable.fill(0);
}

void ReleasePageBitmaps() {
    std::lock_guard<std::recursive_mutex> lock(DrawLock);
    for (TPage& page : Pages) {
        std::vector<uint8_t>().swap(page.Pixels);
        page.ColorTable.fill(0);
    }
    PageColorTable.fill(0);
}

uint32_t OnCreate(uint32_t window, uint32_t wParam, uint32_t lParam) {
    int32_t width = 0, height = 0;
    GetClientSize(width, height);
    ClientMaxX = width - 1;
    ClientMaxY = height - 1;
    if (PaletteMode) CreateSystemPalette();
    CreatePageBitmaps();
    CallHook(MouseHook, window, MsgCreate, wParam, lParam);
    CallHook(KeyboardHook, window, MsgCreate, wParam, lParam);
    WindowReady = true;  // last: everything the program thread uses is in place
    return 0;
}

uint32_t OnDestroy(uint32_t window, uint32_t wParam, uint32_t lParam) {
    CallHook(MouseHook, window, MsgDestroy, wParam, lParam);
    CallHook(KeyboardHook, window, MsgDestroy, wParam, lParam);
    ReleasePageBitmaps();
    if (PaletteMode) {
        WindowPalette.Size = 0;
        PaletteMode = false;
    }
    PostQuitRequest(0);
    return 0;
}

// Only the conversion holds the lock, so that it never shows a half-drawn
// page selection; the put to the server runs after it is released.
uint32_t OnPaint() {
    TClientRect r;
    if (!TakeUpdateRect(r)) return 0;
    r.X2 = std::min(r.X2, std::min(PageWidth, ScreenImage.Width) - 1);
    r.Y2 = std::min(r.Y2, std::min(PageHeight, ScreenImage.Height) - 1);
    if (r.X1 > r.X2 || r.Y1 > r.Y2) return 0;
    {
        std::lock_guard<std::recursive_mutex> lock(DrawLock);
        ConvertPageRect(Pages[ShownPage.load() % PageCount], r, ScreenImage);
    }
    PutScreenRect(r);
    return 0;
}

}  // namespace

void ConvertPageRect(const TPage& page, const TClientRect& r, TScreenImage& image) {
    const int32_t count = r.X2 - r.X1 + 1;
    if (PaletteMode) {
        uint32_t words[256];
        for (int i = 0; i < 256; ++i) words[i] = ScreenWord(image, page.ColorTable[i]);
        for (int32_t y = r.Y1; y <= r.Y2; ++y) {
            const uint8_t* src = page.Pixels.data() + size_t(y) * size_t(PageWidth) + size_t(r.X1);
            uint32_t* dst = image.Words + size_t(y) * size_t(image.WordsPerRow) + size_t(r.X1);
            for (int32_t x = 0; x < count; ++x) dst[x] = words[src[x]];
        }
        return;
    }
    for (int32_t y = r.Y1; y <= r.Y2; ++y) {
        const uint8_t* row = page.Pixels.data() + (size_t(y) * size_t(PageWidth) + size_t(r.X1)) * 4;
        uint32_t* dst = image.Words + size_t(y) * size_t(image.WordsPerRow) + size_t(r.X1);
        if (image.Direct) {
            std::memcpy(dst, row, size_t(count) * 4);
            continue;
        }
        const uint32_t* src = reinterpret_cast<const uint32_t*>(row);
        for (int32_t x = 0; x < count; ++x) dst[x] = ScreenWord(image, src[x]);
    }
}

uint32_t GraphWindowProc(uint32_t window, uint32_t message, uint32_t wParam, uint32_t lParam) {
    switch (message) {
    case MsgCreate:
        return OnCreate(window, wParam, lParam);
    case MsgDestroy:
        return OnDestroy(window, wParam, lParam);
    case MsgPaint:
        return OnPaint();
    // The close box only asks: the keyboard unit turns it into a key.
    case MsgClose:
    case MsgKeyDown:
    case MsgChar:
    case MsgSysKeyDown:
        return CallHook(KeyboardHook, window, message, wParam, lParam);
    case MsgSysChar:
        return 0;
    case MsgUser:
        DestroyGraphWindow();
        return 0;
    default:
        return IsMouseMessage(message) ? CallHook(MouseHook, window, message, wParam, lParam) : 0;
    }
}
