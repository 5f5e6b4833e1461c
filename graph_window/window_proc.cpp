// The window procedure: what the window thread does with each message of the
// graphics window, and the paint that brings the shown page to the screen.
#include <algorithm>
#include <array>

#include "graph_unit.h"
#include "platform/window_system.h"
#include "screen_image.h"

namespace TavrelInternal {
bool PagesApartFromImages = false;
}  // namespace TavrelInternal

namespace {

// Window thread only: what each screen image shows. A true-colour image
// holds the page ImagePages names but for that page's Written; -1: none.
std::array<TScreenShadow, MaxScreenImages> ScreenShadows;
std::array<int16_t, MaxScreenImages> ImagePages;
// True-colour pages live in their screen images, one each: a present puts
// the page itself. Set as the pages are made, window thread only.
bool PagesInImages = false;

uint32_t CallHook(TMessageHook hook, uint32_t window, uint32_t message, uint32_t wParam, uint32_t lParam) {
    return hook ? hook(window, message, wParam, lParam) : 0;
}

// Every page needs an image of its own, in the page's layout and size, for
// the server to read it from; else pages are copied into the images.
bool PagesFitImages() {
    static_assert(MaxScreenImages >= PageCount);
    if (PaletteMode || PagesApartFromImages || ScreenImageCount < PageCount) return false;
    for (size_t i = 0; i < size_t(PageCount); ++i) {
        const TScreenImage& image = ScreenImages[i];
        if (!image.Words || !image.Direct || image.Width != PageWidth || image.Height != PageHeight ||
            image.WordsPerRow != PageWidth)
            return false;
    }
    return true;
}

// Made after the screen images, released before them.
void CreatePageBitmaps() {
    PageWidth = ClientMaxX + 1;
    PageHeight = ClientMaxY + 1;
    PageBytesPerPixel = PaletteMode ? 1 : 4;
    PagesInImages = PagesFitImages();
    const size_t bytes = size_t(PageWidth) * size_t(PageHeight) * size_t(PageBytesPerPixel);
    for (size_t i = 0; i < Pages.size(); ++i) {
        TPage& page = Pages[i];
        if (PagesInImages) {
            page.Pixels.Borrow(reinterpret_cast<uint8_t*>(ScreenImages[i].Words), bytes);
            std::fill(page.Pixels.begin(), page.Pixels.end(), uint8_t{0});
        } else {
            page.Pixels.assign(bytes, 0);
        }
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
        page.Pixels.clear();
        page.ColorTable.fill(0);
        page.BlankKnown = false;
    }
    PagesInImages = false;
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

// Marks the shown page as being read, holding `reading` (PresentLock), and
// tells which screen image holds it for the put. A page that lives in its
// image stays marked until the put has completed; palette pages convert the
// rectangle's changed blocks, other true-colour pages copy what was written
// since the image took them in, and are released once that is done. The
// page is chosen under DrawLock, so a paint never sees a half-done page
// selection; the rest runs outside it, and drawing on the page or selecting
// it for drawing waits for `reading`. A flip that shows the draw page and
// then selects the other one does not wait at all.
int32_t TakeShownPage(const TClientRect& r, int32_t width, int32_t height, std::unique_lock<std::mutex>& reading) {
    std::unique_lock<std::recursive_mutex> draw(DrawLock);
    const uint16_t shown = ShownPage.load() % PageCount;
    TPage& page = Pages[shown];
    reading = std::unique_lock<std::mutex>(PresentLock);
    PresentingPage = int16_t(shown);
    if (PagesInImages) return shown;
    // Pages that take turns keep their own images: a page shown again puts
    // the rows it kept without converting them.
    const int32_t index = shown % std::max(ScreenImageCount, 1);
    TScreenImage& image = ScreenImages[size_t(index)];
    TScreenWords words{};
    if (PaletteMode) MakeScreenWords(page, image, words);
    const TClientRect convert = PaletteMode ? r : TakeWrittenRect(page, shown, index, width, height);
    draw.unlock();
    ConvertChangedPagePixels(page, words, convert, image, ScreenShadows[size_t(index)]);
    PresentingPage = NoPresentingPage;
    reading.unlock();
    return index;
}

// One put request from one image: a window never shows half of one frame
// and half of the next.
uint32_t OnPaint() {
    TClientRect r;
    if (!TakeUpdateRect(r) || ScreenImageCount == 0) return 0;
    const int32_t width = std::min(PageWidth, ScreenImages[0].Width);
    const int32_t height = std::min(PageHeight, ScreenImages[0].Height);
    r.X2 = std::min(r.X2, width - 1);
    r.Y2 = std::min(r.Y2, height - 1);
    if (r.X1 > r.X2 || r.Y1 > r.Y2) return 0;
    std::unique_lock<std::mutex> reading;
    PutScreenRect(TakeShownPage(r, width, height, reading), r);
    FinishScreenPuts();
    if (reading.owns_lock()) PresentingPage = NoPresentingPage;
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
