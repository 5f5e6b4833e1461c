#include "platform/x11_window.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ipc.h>
#include <sys/resource.h>
#include <sys/shm.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "graph_unit.h"
#include "platform/gl_visual.h"
#include "platform/x11_keys.h"

Window GraphXWindow = 0;
std::atomic<uint32_t> PresentCount{0};
TScreenImage ScreenImage;

namespace {

// Window thread only, apart from what the comments say.
Display* WindowDisplay = nullptr;
Colormap OwnColormap = 0;  // created for a visual other than the default
GC WindowGC = nullptr;
XImage* Image = nullptr;
XShmSegmentInfo ShmInfo{};
bool ShmAttached = false;
bool WindowDestroyed = false;
bool QuitPosted = false;
uint16_t QuitCode = 0;
Atom WmProtocols = 0, WmDeleteWindow = 0;
int32_t ClientWidth = 0, ClientHeight = 0;
std::thread WindowThread;

// The error handler runs on whichever thread's connection failed: it compares
// against this copy of WindowDisplay and records for the window thread, which
// reads the code after an XSync.
std::atomic<Display*> WatchedDisplay{nullptr};
std::atomic<int> WindowXError{0};

// Shared with the program thread. The eventfd lives from StartWindowThread to
// JoinWindowThread, both on the program thread.
int WakeFd = -1;
std::atomic<bool> UserMessagePosted{false}, ShowPosted{false};
// Set by the window thread once the shown window is mapped and has the focus.
std::atomic<bool> WindowMapped{false}, WindowFocused{false};
std::mutex UpdateLock;
bool UpdatePending = false;  // guarded by UpdateLock
TClientRect UpdateRect{};    // guarded by UpdateLock

// X errors are asynchronous and the default handler ends the process; a
// library must not. Errors of the window's connection are recorded for the
// checks after XSync, the rest ignored.
int RecordXError(Display* display, XErrorEvent* event) {
    if (display == WatchedDisplay) WindowXError = event->error_code;
    return 0;
}

// A lost connection cannot be ridden out: every later call on it fails
// again, and an orderly exit would close the window on the dead connection
// from whichever thread met the loss while the other still uses it. So the
// first thread to meet it says so and ends the process at once; the
// programs keep no files that an exit handler would have to save.
int DisplayWentAway(Display*) {
    static std::atomic<bool> told{false};
    if (!told.exchange(true)) {
        char line[160];
        const int n = std::snprintf(line, sizeof line, "%s: the X display went away\n",
                                    program_invocation_short_name);
        if (n > 0 && write(STDERR_FILENO, line, std::min<size_t>(size_t(n), sizeof line - 1)) < 0) {
            // Nothing more can be done about a lost message on the way out.
        }
        _exit(1);
    }
    // The other thread is already ending the process.
    for (;;) pause();
}

void InitXlibOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        XInitThreads();
        XSetErrorHandler(RecordXError);
        XSetIOErrorHandler(DisplayWentAway);
    });
}

void Wake() {
    const uint64_t one = 1;
    if (write(WakeFd, &one, sizeof one) < 0) {
        // The counter can only be full if nobody reads it; the thread wakes anyway.
    }
}

// Merges a rectangle (any corners) into the pending update, clipped to the
// client; true when it made the pending update non-empty.
bool MergeUpdateRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t width, int32_t height) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, width - 1);
    y2 = std::min(y2, height - 1);
    if (x1 > x2 || y1 > y2) return false;
    std::lock_guard<std::mutex> lock(UpdateLock);
    if (!UpdatePending) {
        UpdateRect = {x1, y1, x2, y2};
        UpdatePending = true;
        return true;
    }
    UpdateRect.X1 = std::min(UpdateRect.X1, x1);
    UpdateRect.Y1 = std::min(UpdateRect.Y1, y1);
    UpdateRect.X2 = std::max(UpdateRect.X2, x2);
    UpdateRect.Y2 = std::max(UpdateRect.Y2, y2);
    return false;
}

bool UpdateIsPending() {
    std::lock_guard<std::mutex> lock(UpdateLock);
    return UpdatePending;
}

uint32_t Dispatch(uint32_t message, uint32_t wParam, uint32_t lParam) {
    return GraphWindowProc(uint32_t(GraphXWindow), message, wParam, lParam);
}

// ---- Window creation ----------------------------------------------------------

struct TPlacement {
    int32_t X, Y, Width, Height;
    bool ByUser;  // the layout chose the place; otherwise the window manager may
};

// Where the window goes: centred from the layout, or, for an outer size of 0,
// three quarters of the screen, centred, placed as the window manager likes.
TPlacement PlaceWindow(int screenWidth, int screenHeight) {
    if (WindowOuterWidth == 0) {
        const int32_t w = screenWidth * 3 / 4, h = screenHeight * 3 / 4;
        return {(screenWidth - w) / 2, (screenHeight - h) / 2, w, h, false};
    }
    TPlacement p{(ScreenWidth - WindowOuterWidth) / 2, (ScreenHeight - WindowOuterHeight) / 2,
                 WindowOuterWidth, WindowOuterHeight, true};
    if (WindowFramed) {
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

    if (!WindowFramed) {
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
    XGCValues values{};
    values.graphics_exposures = False;
    WindowGC = XCreateGC(WindowDisplay, GraphXWindow, GCGraphicsExposures, &values);
    XSync(WindowDisplay, False);
    ClientWidth = p.Width;
    ClientHeight = p.Height;
    return WindowXError == 0;
}

// Where an 8-bit component goes in a channel of the visual: its top bits, so
// that wider channels (deep colour) keep the brightness. False for channels
// narrower than 8 bits or outside 32 bits.
bool ChannelShift(unsigned long mask, uint32_t& shift) {
    int high = 31, low = 0;
    while (high >= 0 && !(mask & (1ul << high))) --high;
    while (low < 32 && !(mask & (1ul << low))) ++low;
    if ((uint64_t(mask) >> 32) || high - low + 1 < 8) return false;
    shift = uint32_t(high - 7);
    return true;
}

bool CreateShmImage(Visual* visual, int depth) {
    Image = XShmCreateImage(WindowDisplay, visual, unsigned(depth), ZPixmap, nullptr, &ShmInfo,
                            unsigned(ClientWidth), unsigned(ClientHeight));
    if (!Image) return false;
    ShmInfo.shmid = shmget(IPC_PRIVATE, size_t(Image->bytes_per_line) * size_t(Image->height), IPC_CREAT | 0600);
    if (ShmInfo.shmid >= 0) {
        ShmInfo.shmaddr = static_cast<char*>(shmat(ShmInfo.shmid, nullptr, 0));
        if (ShmInfo.shmaddr != reinterpret_cast<char*>(-1)) {
            Image->data = ShmInfo.shmaddr;
            ShmInfo.readOnly = False;
            WindowXError = 0;
            XShmAttach(WindowDisplay, &ShmInfo);
            XSync(WindowDisplay, False);
            ShmAttached = WindowXError == 0;
            if (!ShmAttached) shmdt(ShmInfo.shmaddr);
        }
        // Removed once attached: the segment goes when both sides detach.
        shmctl(ShmInfo.shmid, IPC_RMID, nullptr);
    }
    if (ShmAttached) return true;
    Image->data = nullptr;
    XDestroyImage(Image);
    Image = nullptr;
    return false;
}

// Without MIT-SHM (a remote display) a plain image in our memory.
bool CreatePlainImage(Visual* visual, int depth) {
    Image = XCreateImage(WindowDisplay, visual, unsigned(depth), ZPixmap, 0, nullptr, unsigned(ClientWidth),
                         unsigned(ClientHeight), 32, 0);
    if (!Image) return false;
    Image->data = static_cast<char*>(std::calloc(size_t(Image->bytes_per_line) * size_t(Image->height), 1));
    return Image->data != nullptr;
}

bool CreateScreenImage(Visual* visual, int depth) {
    if (!(XShmQueryExtension(WindowDisplay) && CreateShmImage(visual, depth)) && !CreatePlainImage(visual, depth))
        return false;
    TScreenImage s;
    // The conversion writes whole 32-bit words.
    if (Image->bits_per_pixel != 32 || !ChannelShift(visual->red_mask, s.RedShift) ||
        !ChannelShift(visual->green_mask, s.GreenShift) || !ChannelShift(visual->blue_mask, s.BlueShift))
        return false;
    s.Words = reinterpret_cast<uint32_t*>(Image->data);
    s.WordsPerRow = Image->bytes_per_line / 4;
    s.Width = ClientWidth;
    s.Height = ClientHeight;
    // A 32-bit visual keeps alpha in the bits no colour uses: opaque.
    const unsigned long colourBits = visual->red_mask | visual->green_mask | visual->blue_mask;
    s.FixedBits = depth == 32 ? uint32_t(~colourBits) : 0;
    s.Direct = s.RedShift == 16 && s.GreenShift == 8 && s.BlueShift == 0 && s.FixedBits == 0;
    ScreenImage = s;
    return true;
}

void ReleaseX() {
    if (Image) {
        if (ShmAttached) {
            XShmDetach(WindowDisplay, &ShmInfo);
            XSync(WindowDisplay, False);
            Image->data = nullptr;  // not ours to free: the segment is detached below
            XDestroyImage(Image);
            shmdt(ShmInfo.shmaddr);
        } else {
            XDestroyImage(Image);  // frees the calloc'ed pixels too
        }
        Image = nullptr;
        ShmAttached = false;
        ScreenImage = TScreenImage{};
    }
    if (WindowGC) XFreeGC(WindowDisplay, WindowGC);
    WindowGC = nullptr;
    if (GraphXWindow && !WindowDestroyed) XDestroyWindow(WindowDisplay, GraphXWindow);
    GraphXWindow = 0;
    if (OwnColormap) XFreeColormap(WindowDisplay, OwnColormap);
    OwnColormap = 0;
    WatchedDisplay = nullptr;
    XCloseDisplay(WindowDisplay);
    WindowDisplay = nullptr;
}

// ---- Events -------------------------------------------------------------------

// Into the foreground: without a window manager nobody else gives the focus,
// and with one the request fails while the frame is not yet viewable, so it
// is repeated until the focus arrives.
void AskForFocus() {
    XSetInputFocus(WindowDisplay, GraphXWindow, RevertToParent, CurrentTime);
}

uint32_t MouseFlags(unsigned state) {
    uint32_t flags = 0;
    if (state & Button1Mask) flags |= MkLButton;
    if (state & Button3Mask) flags |= MkRButton;
    if (state & Button2Mask) flags |= MkMButton;
    if (state & ShiftMask) flags |= MkShift;
    if (state & ControlMask) flags |= MkControl;
    return flags;
}

uint32_t PackPoint(int x, int y) { return (uint32_t(uint16_t(y)) << 16) | uint16_t(x); }

// Buttons 1 to 3 and the wheel (4 up, 5 down). The flags describe the state
// after the event, so that a release no longer holds its own button.
void DispatchButton(const XButtonEvent& e, bool press) {
    const uint32_t point = PackPoint(e.x, e.y);
    if (e.button == Button4 || e.button == Button5) {
        if (!press) return;
        const uint16_t delta = e.button == Button4 ? 120 : uint16_t(-120);
        Dispatch(MsgMouseWheel, (uint32_t(delta) << 16) | MouseFlags(e.state), point);
        return;
    }
    if (e.button < Button1 || e.button > Button3) return;
    const unsigned mask = Button1Mask << (e.button - Button1);
    const unsigned state = press ? e.state | mask : e.state & ~mask;
    static constexpr uint32_t downs[3] = {MsgLButtonDown, MsgMButtonDown, MsgRButtonDown};
    static constexpr uint32_t ups[3] = {MsgLButtonUp, MsgMButtonUp, MsgRButtonUp};
    Dispatch(press ? downs[e.button - Button1] : ups[e.button - Button1], MouseFlags(state), point);
}

void DispatchXEvent(XEvent& e) {
    switch (e.type) {
    case Expose:
        MergeUpdateRect(e.xexpose.x, e.xexpose.y, e.xexpose.x + e.xexpose.width - 1,
                        e.xexpose.y + e.xexpose.height - 1, ClientWidth, ClientHeight);
        break;
    case ClientMessage:
        if (e.xclient.message_type == WmProtocols && Atom(e.xclient.data.l[0]) == WmDeleteWindow)
            Dispatch(MsgClose, 0, 0);
        break;
    case KeyPress: {
        TKeyMessages messages;
        TranslateKeyPress(e.xkey, messages);
        for (int i = 0; i < messages.Count; ++i)
            Dispatch(messages.Items[i].Message, messages.Items[i].WParam, messages.Items[i].LParam);
        break;
    }
    case ButtonPress:
    case ButtonRelease:
        DispatchButton(e.xbutton, e.type == ButtonPress);
        break;
    case MotionNotify:
        Dispatch(MsgMouseMove, MouseFlags(e.xmotion.state), PackPoint(e.xmotion.x, e.xmotion.y));
        break;
    case MapNotify:
        WindowMapped = true;
        AskForFocus();
        break;
    case UnmapNotify:
        WindowMapped = false;
        break;
    case FocusIn:
        if (e.xfocus.detail != NotifyPointer) WindowFocused = true;
        break;
    case FocusOut:
        if (e.xfocus.detail != NotifyPointer) WindowFocused = false;
        break;
    default:
        break;
    }
}

// Requests of the program thread, X events and the paint of the merged update
// rectangle (at most one per wake-up), until the quit request. Returns the
// quit request's code.
uint16_t RunMessageLoop() {
    pollfd fds[2] = {{ConnectionNumber(WindowDisplay), POLLIN, 0}, {WakeFd, POLLIN, 0}};
    bool showing = false;  // shown, and the focus not yet there
    while (!QuitPosted) {
        if (UserMessagePosted.exchange(false)) {
            Dispatch(MsgUser, 0, 0);
            continue;
        }
        if (ShowPosted.exchange(false)) {
            XMapRaised(WindowDisplay, GraphXWindow);
            showing = true;
        }
        while (!QuitPosted && XPending(WindowDisplay) > 0) {
            XEvent e;
            XNextEvent(WindowDisplay, &e);
            DispatchXEvent(e);
        }
        if (QuitPosted) break;
        if (UpdateIsPending()) Dispatch(MsgPaint, 0, 0);
        // The put's XSync may have queued events that poll cannot see.
        if (XPending(WindowDisplay) > 0) continue;
        if (showing && WindowFocused) showing = false;
        if (showing && WindowMapped) AskForFocus();
        if (poll(fds, 2, showing ? 20 : -1) > 0 && (fds[1].revents & POLLIN)) {
            uint64_t count;
            if (read(WakeFd, &count, sizeof count) < 0) {
                // Nonblocking: nothing was there after all.
            }
        }
    }
    return QuitCode;
}

// Registering a class and creating the window become: connect, create the
// window and its image; then the create message, the loop, and the release.
void WindowThreadMain(const char* caption) {
    // Above normal where the system allows it; the window still works without.
    setpriority(PRIO_PROCESS, id_t(gettid()), getpriority(PRIO_PROCESS, id_t(gettid())) - 1);
    WindowDisplay = OpenXConnection();
    WatchedDisplay = WindowDisplay;
    if (!WindowDisplay) {
        ResultCode = -4;
        return;
    }
    Visual* visual = nullptr;
    int depth = 0;
    if (!CreateXWindow(caption, visual, depth) || !CreateScreenImage(visual, depth)) {
        ReleaseX();
        ResultCode = -4;
        return;
    }
    Dispatch(MsgCreate, 0, 0);
    const uint16_t code = RunMessageLoop();
    ReleaseX();
    ResultCode = int16_t(code);
}

}  // namespace

// ---- Program thread -------------------------------------------------------------

// A server that resets when its last client leaves refuses connections for a
// moment (EAGAIN, or a reset connection), as right after the start-up query;
// those refusals are retried.
Display* OpenXConnection() {
    for (int attempt = 0;; ++attempt) {
        errno = 0;
        if (Display* display = XOpenDisplay(nullptr)) return display;
        if ((errno != EAGAIN && errno != ECONNRESET) || attempt == 100) return nullptr;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

bool QueryScreen(int32_t& width, int32_t& height, uint8_t& bitsPerPixel) {
    InitXlibOnce();
    Display* display = OpenXConnection();
    if (!display) return false;
    const int screen = DefaultScreen(display);
    width = DisplayWidth(display, screen);
    height = DisplayHeight(display, screen);
    const int depth = DefaultDepth(display, screen);
    bitsPerPixel = uint8_t(depth);
    int count = 0;
    if (XPixmapFormatValues* formats = XListPixmapFormats(display, &count)) {
        for (int i = 0; i < count; ++i)
            if (formats[i].depth == depth) bitsPerPixel = uint8_t(formats[i].bits_per_pixel);
        XFree(formats);
    }
    XCloseDisplay(display);
    return true;
}

bool StartWindowThread(const char* caption) {
    InitXlibOnce();
    WakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (WakeFd < 0) return false;
    UserMessagePosted = false;
    ShowPosted = false;
    WindowMapped = false;
    WindowFocused = false;
    QuitPosted = false;
    WindowDestroyed = false;
    {
        std::lock_guard<std::mutex> lock(UpdateLock);
        UpdatePending = false;
    }
    WindowThread = std::thread(WindowThreadMain, caption);
    return true;
}

void JoinWindowThread() {
    if (WindowThread.joinable()) WindowThread.join();
    if (WakeFd >= 0) close(WakeFd);
    WakeFd = -1;
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

void InvalidateClientRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    if (!WindowReady || WakeFd < 0) return;
    // Only the first request of a batch wakes the thread; the rest join it.
    if (MergeUpdateRect(x1, y1, x2, y2, PageWidth, PageHeight)) Wake();
}

void InvalidateWholeClient() { InvalidateClientRect(0, 0, PageWidth - 1, PageHeight - 1); }

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

bool TakeUpdateRect(TClientRect& rect) {
    std::lock_guard<std::mutex> lock(UpdateLock);
    if (!UpdatePending) return false;
    UpdatePending = false;
    rect = UpdateRect;
    return true;
}

void PutScreenRect(const TClientRect& r) {
    const unsigned w = unsigned(r.X2 - r.X1 + 1), h = unsigned(r.Y2 - r.Y1 + 1);
    if (ShmAttached)
        XShmPutImage(WindowDisplay, GraphXWindow, WindowGC, Image, r.X1, r.Y1, r.X1, r.Y1, w, h, False);
    else
        XPutImage(WindowDisplay, GraphXWindow, WindowGC, Image, r.X1, r.Y1, r.X1, r.Y1, w, h);
    XFlush(WindowDisplay);
}

void FinishScreenPuts() {
    XSync(WindowDisplay, False);
    PresentCount.fetch_add(1);
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
