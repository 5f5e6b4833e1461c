// The window thread: its own X connection, the window made from the layout,
// the loop, and the release of all of it; and the program thread's side of
// starting, showing and ending it.
#include "platform/x11_window.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <pthread.h>
#include <sched.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/gl_visual.h"
#include "platform/x11_shared.h"

namespace TavrelInternal {
Window GraphXWindow = 0;
}  // namespace TavrelInternal

namespace XPlatform {

Display* WindowDisplay = nullptr;
int32_t ClientWidth = 0, ClientHeight = 0;
Atom WmProtocols = 0, WmDeleteWindow = 0;
bool QuitPosted = false;
uint16_t QuitCode = 0;
TWindowProc WindowProc = nullptr;

namespace {

// Window thread only.
Colormap OwnColormap = 0;  // created for a visual other than the default
bool WindowDestroyed = false;

// Set before the thread starts, read by it.
TWindowLayout Layout{};
std::thread WindowThread;
std::atomic<bool> CreateFailed{false};
std::atomic<uint16_t> ExitCode{0};

struct TPlacement {
    int32_t X, Y, Width, Height;
    bool ByUser;  // the layout chose the place; otherwise the window manager may
};

// Where the window goes: centred from the layout, or, for an outer size of 0,
// three quarters of the screen, centred, placed as the window manager likes.
TPlacement PlaceWindow(int screenWidth, int screenHeight) {
    if (Layout.OuterWidth == 0) {
        const int32_t w = screenWidth * 3 / 4, h = screenHeight * 3 / 4;
        return {(screenWidth - w) / 2, (screenHeight - h) / 2, w, h, false};
    }
    TPlacement p{(Layout.ScreenWidth - Layout.OuterWidth) / 2, (Layout.ScreenHeight - Layout.OuterHeight) / 2,
                 Layout.OuterWidth, Layout.OuterHeight, true};
    if (Layout.Framed) {
        // The window manager adds the frame around the X window, which is the client.
        p.Width -= 2 * DialogFrameWidth;
        p.Height -= 2 * DialogFrameHeight + CaptionHeight;
    }
    return p;
}

// The visual the OpenGL surface renders to, or the screen's default.
bool ChooseVisual(int screen, Visual*& visual, int& depth) {
    visual = DefaultVisual(WindowDisplay, screen);
    depth = DefaultDepth(WindowDisplay, screen);
    if (const VisualID id = GlWindowVisual(WindowDisplay, screen)) {
        XVisualInfo wanted{};
        wanted.visualid = id;
        wanted.screen = screen;
        int count = 0;
        if (XVisualInfo* info = XGetVisualInfo(WindowDisplay, VisualIDMask | VisualScreenMask, &wanted, &count)) {
            visual = info->visual;
            depth = info->depth;
            XFree(info);
        }
    }
    return visual->c_class == TrueColor;
}

void SetWindowHints(const TPlacement& p) {
    XSizeHints* size = XAllocSizeHints();
    size->flags = PMinSize | PMaxSize | PSize | (p.ByUser ? USPosition | USSize | PPosition : 0);
    size->x = p.X;
    size->y = p.Y;
    size->width = size->min_width = size->max_width = p.Width;
    size->height = size->min_height = size->max_height = p.Height;
    XSetWMNormalHints(WindowDisplay, GraphXWindow, size);
    XFree(size);

    XWMHints* wm = XAllocWMHints();
    wm->flags = InputHint | StateHint;
    wm->input = True;
    wm->initial_state = NormalState;
    XSetWMHints(WindowDisplay, GraphXWindow, wm);
    XFree(wm);

    XClassHint* cls = XAllocClassHint();
    char name[] = "tavrel", className[] = "TavrelClass";
    cls->res_name = name;
    cls->res_class = className;
    XSetClassHint(WindowDisplay, GraphXWindow, cls);
    XFree(cls);

    WmProtocols = XInternAtom(WindowDisplay, "WM_PROTOCOLS", False);
    WmDeleteWindow = XInternAtom(WindowDisplay, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(WindowDisplay, GraphXWindow, &WmDeleteWindow, 1);

    if (!Layout.Framed) {
        // flags: decorations given; decorations: none.
        const long motif[5] = {2, 0, 0, 0, 0};
        const Atom hints = XInternAtom(WindowDisplay, "_MOTIF_WM_HINTS", False);
        XChangeProperty(WindowDisplay, GraphXWindow, hints, hints, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(motif), 5);
    }
}

bool CreateXWindow(const char* caption, Visual*& visual, int& depth) {
    const int screen = DefaultScreen(WindowDisplay);
    const Window root = RootWindow(WindowDisplay, screen);
    const TPlacement p = PlaceWindow(DisplayWidth(WindowDisplay, screen), DisplayHeight(WindowDisplay, screen));
    if (p.Width < 1 || p.Height < 1 || p.Width > 32767 || p.Height > 32767) return false;
    if (!ChooseVisual(screen, visual, depth)) return false;

    XSetWindowAttributes attributes{};
    unsigned long mask = CWBackPixmap | CWBorderPixel | CWEventMask;
    attributes.background_pixmap = None;  // never erased: the pages cover the client
    attributes.border_pixel = 0;
    attributes.event_mask = ExposureMask | KeyPressMask | ButtonPressMask | ButtonReleaseMask |
                            PointerMotionMask | StructureNotifyMask | FocusChangeMask;
    if (visual != DefaultVisual(WindowDisplay, screen)) {
        OwnColormap = XCreateColormap(WindowDisplay, root, visual, AllocNone);
        attributes.colormap = OwnColormap;
        mask |= CWColormap;
    }
    WindowXError = 0;
    GraphXWindow = XCreateWindow(WindowDisplay, root, p.X, p.Y, unsigned(p.Width), unsigned(p.Height), 0, depth,
                                 InputOutput, visual, mask, &attributes);
    XStoreName(WindowDisplay, GraphXWindow, caption);
    SetWindowHints(p);
    XkbSetDetectableAutoRepeat(WindowDisplay, True, nullptr);
    XSync(WindowDisplay, False);
    ClientWidth = p.Width;
    ClientHeight = p.Height;
    return WindowXError == 0;
}

void ReleaseX() {
    ReleaseScreenImage();
    if (GraphXWindow && !WindowDestroyed) XDestroyWindow(WindowDisplay, GraphXWindow);
    GraphXWindow = 0;
    if (OwnColormap) XFreeColormap(WindowDisplay, OwnColormap);
    OwnColormap = 0;
    WatchedDisplay = nullptr;
    XCloseDisplay(WindowDisplay);
    WindowDisplay = nullptr;
}

// Registering a class and creating the window become: connect, create the
// window and its image; then the create message, the loop, and the release.
void WindowThreadMain(const char* caption) {
    // Above normal where the system allows it; the window still works without.
    setpriority(PRIO_PROCESS, id_t(gettid()), getpriority(PRIO_PROCESS, id_t(gettid())) - 1);
    {
        sched_param none{};
        pthread_setschedparam(pthread_self(), SCHED_BATCH, &none);
    }
    WindowDisplay = OpenXConnection();
    WatchedDisplay = WindowDisplay;
    if (!WindowDisplay) {
        CreateFailed = true;
        return;
    }
    Visual* visual = nullptr;
    int depth = 0;
    if (!CreateXWindow(caption, visual, depth) || !CreateScreenImage(visual, depth)) {
        ReleaseX();
        CreateFailed = true;
        return;
    }
    Dispatch(MsgCreate, 0, 0);
    const uint16_t code = RunMessageLoop();
    ReleaseX();
    ExitCode = code;
}

}  // namespace

}  // namespace XPlatform

using namespace XPlatform;

// ---- Program thread -------------------------------------------------------------

bool StartWindowThread(const char* caption, const TWindowLayout& layout, TWindowProc proc) {
    InitXlibOnce();
    WakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (WakeFd < 0) return false;
    Layout = layout;
    WindowProc = proc;
    UserMessagePosted = false;
    ShowPosted = false;
    WindowMapped = false;
    WindowFocused = false;
    QuitPosted = false;
    WindowDestroyed = false;
    CreateFailed = false;
    ExitCode = 0;
    ForgetPaintRequests();
    WindowThread = std::thread(WindowThreadMain, caption);
    return true;
}

bool WindowCreateFailed() { return CreateFailed; }

uint16_t JoinWindowThread() {
    if (WindowThread.joinable()) WindowThread.join();
    if (WakeFd >= 0) close(WakeFd);
    WakeFd = -1;
    return ExitCode;
}

void PostUserMessage() {
    UserMessagePosted = true;
    Wake();
}

bool ShowGraphWindow(int timeoutMs) {
    ShowPosted = true;
    Wake();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!(WindowMapped && WindowFocused)) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// ---- Window thread ------------------------------------------------------------

void GetClientSize(int32_t& width, int32_t& height) {
    Window root;
    int x, y;
    unsigned w = 0, h = 0, border, depth;
    if (XGetGeometry(WindowDisplay, GraphXWindow, &root, &x, &y, &w, &h, &border, &depth)) {
        width = int32_t(w);
        height = int32_t(h);
    } else {
        width = ClientWidth;
        height = ClientHeight;
    }
}

void DestroyGraphWindow() {
    Dispatch(MsgDestroy, 0, 0);
    XDestroyWindow(WindowDisplay, GraphXWindow);
    WindowDestroyed = true;
}

void PostQuitRequest(uint16_t code) {
    QuitCode = code;
    QuitPosted = true;
}
