// The window procedure: what the window thread does with each message of the
// graphics window, and the paint that converts the shown page for the screen.
#include <algorithm>
#include <array>

#include "graph_unit.h"
#include "platform/window_system.h"
#include "screen_image.h"

namespace {

// Window thread only: what each screen image shows. A true-colour image
// holds the page ImagePages names but for that page's Written; -1: none.
std::array<TScreenShadow, MaxScreenImages> ScreenShadows;
std::array<int16_t, MaxScreenImages> ImagePages;

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
        page.BlankKnown = true;
        page.Blank = 0;
        page.Drawn = {0, 0, -1, -1};
        page.Written = {0, 0, PageWidth - 1, PageHeight - 1};
    }
    PageColorTable.fill(0);
}

void ReleasePageBitmaps() {
    std::lock_guard<std::recursive_mutex> lock(DrawLock);
    for (TPage& page : Pages) {
        std::vector<uint8_t>().swap(page.Pixels);
        page.ColorTable.fill(0);
        page.BlankKnown = false;
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
    for (TScreenShadow& shadow : ScreenShadows) ForgetScreenShadow(shadow);  // new images
    ImagePages.fill(-1);
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

// True colour: what the image lacks of the page, within the image's extent
// of width x height; taken under DrawLock. A page alone on its image, shown
// again, lacks only what was written since.
TClientRect TakeWrittenRect(TPage& page, uint16_t shown, int32_t index, int32_t width, int32_t height) {
    TClientRect w = page.Written;
    if (ImagePages[size_t(index)] != int16_t(shown)) w = {0, 0, width - 1, height - 1};
    ImagePages[size_t(index)] = int16_t(shown);
    page.Written = {0, 0, -1, -1};
    return {w.X1, w.Y1, std::min(w.X2, width - 1), std::min(w.Y2, height - 1)};
}

// Brings the shown page's screen image up to date for the update rectangle
// and tells which image that is: palette pages convert the rectangle's
// changed blocks, true-colour pages what was written since the image took
// them in. The page is chosen under DrawLock, so a paint never sees a
// half-done page selection. The conversion runs outside DrawLock:
// PresentLock marks the page as being read, and drawing on it or selecting
// it for drawing waits for it. A flip that shows the draw page and then
// selects the other one need not wait for the whole conversion.
int32_t ConvertShownPage(const TClientRect& r, int32_t width, int32_t height) {
    std::unique_lock<std::recursive_mutex> draw(DrawLock);
    const uint16_t shown = ShownPage.load() % PageCount;
    TPage& page = Pages[shown];
    // Pages that take turns keep their own images: a page shown again puts
    // the rows it kept without converting them.
    const int32_t index = shown % std::max(ScreenImageCount, 1);
    TScreenImage& image = ScreenImages[size_t(index)];
    TScreenShadow& shadow = ScreenShadows[size_t(index)];
    TScreenWords words{};
    if (PaletteMode) MakeScreenWords(page, image, words);
    const TClientRect convert = PaletteMode ? r : TakeWrittenRect(page, shown, index, width, height);
    std::lock_guard<std::mutex> present(PresentLock);
    PresentingPage = int16_t(shown);
    draw.unlock();
    ConvertChangedPagePixels(page, words, convert, image, shadow);
    PresentingPage = NoPresentingPage;
    return index;
}

// The put to the server runs after the page is released, in one request: a
// window never shows half of one frame and half of the next.
uint32_t OnPaint() {
    TClientRect r;
    if (!TakeUpdateRect(r) || ScreenImageCount == 0) return 0;
    const int32_t width = std::min(PageWidth, ScreenImages[0].Width);
    const int32_t height = std::min(PageHeight, ScreenImages[0].Height);
    r.X2 = std::min(r.X2, width - 1);
    r.Y2 = std::min(r.Y2, height - 1);
    if (r.X1 > r.X2 || r.Y1 > r.Y2) return 0;
    PutScreenRect(ConvertShownPage(r, width, height), r);
    FinishScreenPuts();
    return 0;
}

}  // namespace

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
