// The graphics unit's window: start-up and shutdown, the layout of a mode and
// driver, opening and closing on the program thread, and the page selection.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "graph_unit.h"
#include "platform/window_system.h"

namespace {

std::array<char, 256> WindowCaption{};
constexpr const char* DefaultCaption = "Tavrel 1.1";
// Long enough for a busy desktop to map and focus a window.
constexpr int ShowTimeoutMs = 5000;

void CloseAtExit() { DoneGraphUnit(); }

// Registered after every static object of the process exists, so that it
// runs before their destructors: the window thread still paints from the
// pages while the window is being closed.
void RegisterCloseAtExit() {
    static bool registered = false;
    if (!registered) registered = std::atexit(CloseAtExit) == 0;
}

void ModeClientSize(int16_t mode, int32_t frameWidth, int32_t frameHeight, int32_t& width, int32_t& height) {
    struct TModeSize {
        int16_t Mode;
        int32_t Width, Height;
    };
    static constexpr TModeSize fixed[] = {{1, 320, 200}, {2, 640, 200},  {3, 640, 350},  {4, 640, 480},
                                          {5, 720, 350}, {6, 800, 600}, {7, 1024, 768}, {8, 1280, 1024}};
    for (const TModeSize& m : fixed) {
        if (m.Mode == mode) {
            width = m.Width;
            height = m.Height;
            return;
        }
    }
    switch (mode) {
    case 10:  // the outer size becomes 0: the system chooses
        width = -frameWidth;
        height = -frameHeight;
        return;
    case 11:
        width = ScreenWidth - frameWidth;
        height = ScreenHeight - frameHeight;
        return;
    case 12:
        width = ScreenWidth;
        height = ScreenHeight;
        return;
    default:
        // Mode 13 would take a size nothing ever sets: like any value outside
        // the table it asks for more than a screen holds.
        width = height = 65535;
        return;
    }
}

}  // namespace

void PickDefaultMode(int16_t& driver, int16_t& mode) {
    driver = 9;
    mode = 10;
}

void ComputeWindowLayout() {
    const int32_t frameWidth = 2 * DialogFrameWidth;
    const int32_t frameHeight = 2 * DialogFrameHeight + CaptionHeight;
    int32_t width = 0, height = 0;
    ModeClientSize(GraphMode, frameWidth, frameHeight, width, height);
    WindowOuterWidth = width + frameWidth;
    WindowOuterHeight = height + frameHeight;
    if (WindowOuterWidth <= ScreenWidth && WindowOuterHeight <= ScreenHeight) {
        WindowFramed = true;
    } else if (width <= ScreenWidth && height <= ScreenHeight) {
        WindowOuterWidth = width;
        WindowOuterHeight = height;
        WindowFramed = false;
    } else {
        ResultCode = -3;
        return;
    }
    switch (GraphDriver) {
    case 1: BitsPerPixel = 1; break;
    case 2: BitsPerPixel = 4; break;
    case 3: BitsPerPixel = 8; break;
    case 9: BitsPerPixel = ScreenBitsPerPixel; break;
    default: ResultCode = -2; return;
    }
    PaletteMode = GraphDriver != 9;
    if (PaletteMode) DeviceColorCount = uint16_t(1u << BitsPerPixel);
}

void OpenGraphWindow(int16_t& driver, int16_t& mode, const char* caption) {
    ResultCode = 0;
    if (WindowReady) {
        ResultCode = -10;
        return;
    }
    if (driver == 0) PickDefaultMode(driver, mode);
    GraphDriver = driver;
    GraphMode = mode;
    ComputeWindowLayout();
    if (ResultCode != 0) return;

    const char* title = caption && caption[0] ? caption : DefaultCaption;
    std::strncpy(WindowCaption.data(), title, WindowCaption.size() - 1);
    WindowCaption.back() = '\0';

    const TWindowLayout layout{ScreenWidth, ScreenHeight, WindowOuterWidth, WindowOuterHeight, WindowFramed};
    if (!StartWindowThread(WindowCaption.data(), layout, GraphWindowProc)) {
        ResultCode = -4;
        return;
    }
    while (!WindowReady && !WindowCreateFailed()) PauseMilliseconds(10);
    if (!WindowReady) {
        JoinWindowThread();  // the thread has ended: release it
        ResultCode = -4;
        return;
    }
    RegisterCloseAtExit();

    ShownPage = 0;
    RefreshMode = true;
    SelectDrawPage(0);
    InstallStandardFaces();
    if (ResultCode != 0) return;  // open but hidden, without drawing defaults
    ResetDrawState();
    CreateGlContexts();  // -9 stays, the window opens all the same
    // A program's first frames and keys must reach a window that is there.
    if (!ShowGraphWindow(ShowTimeoutMs)) {
        CloseGraphWindow();
        ResultCode = -4;
    }
}

void CloseGraphWindow() {
    ResultCode = 0;
    if (!WindowReady) {
        ResultCode = -1;
        return;
    }
    WindowReady = false;
    ReleaseGlContexts();
    PostUserMessage();
    ResultCode = int16_t(JoinWindowThread());  // the quit request's 0
}

void RequestShownRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    if (WindowReady) RequestPaint(x1, y1, x2, y2, PageWidth, PageHeight);
}

void InvalidateClientRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    if (!WindowReady) return;
    {
        std::lock_guard<std::recursive_mutex> lock(DrawLock);
        Pages[ShownPage.load() % PageCount].Written = {0, 0, PageWidth - 1, PageHeight - 1};
    }
    RequestShownRect(x1, y1, x2, y2);
}

void InvalidateWholeClient() { InvalidateClientRect(0, 0, PageWidth - 1, PageHeight - 1); }

bool GraphWindowIsOpen() { return WindowReady; }

// The unit reads the screen size at start-up; 0 means no X server answered.
bool DisplayReachable() { return ScreenWidth > 0; }

int16_t GetRightEdge() { return int16_t(ClientMaxX); }

int16_t GetBottomEdge() { return int16_t(ClientMaxY); }

// The common start of the page selections: a window is needed, and a page
// number past the last page means page 0.
static bool AcceptPage(uint16_t& page) {
    ResultCode = 0;
    if (!WindowReady) {
        ResultCode = -1;
        return false;
    }
    if (page >= PageCount) page = 0;
    return true;
}

void SelectDrawPage(uint16_t page) {
    if (!AcceptPage(page)) return;
    {
        std::lock_guard<std::recursive_mutex> lock(DrawLock);
        // The window thread may still be converting this page for the screen:
        // neither its table nor its pixels may change before it is done.
        AwaitPresentOf(page);
        DrawPage = page;
        // Every page carries the current colours from its first drawing on.
        if (PaletteMode) std::copy_n(PageColorTable.begin(), DeviceColorCount, Pages[page].ColorTable.begin());
    }
    DirectDraw = DrawPage == ShownPage && RefreshMode;
}

void SelectShownPage(uint16_t page) {
    if (!AcceptPage(page)) return;
    ShownPage = page;
    DirectDraw = DrawPage == ShownPage && RefreshMode;
    RequestShownRect(0, 0, PageWidth - 1, PageHeight - 1);
}

void InitGraphUnit() {
    WindowReady = false;
    PaletteMode = false;
    KeyboardHook = nullptr;
    MouseHook = nullptr;
    // Without an X display the size stays 0 x 0: every mode is then larger
    // than the screen (-3), and those that size themselves from the screen
    // fail to connect (-4).
    QueryScreen(ScreenWidth, ScreenHeight, ScreenBitsPerPixel);
}

void DoneGraphUnit() {
    if (WindowReady) CloseGraphWindow();
    PageColorTable.fill(0);
}

namespace {

// The units start before the program body and in this order, without the
// program calling anything; this file is linked into every program.
struct TUnitStartup {
    TUnitStartup() {
        InitGraphUnit();
        InitKeyboardUnit();
        InitMouseUnit();
    }
};
TUnitStartup UnitStartup;

}  // namespace
