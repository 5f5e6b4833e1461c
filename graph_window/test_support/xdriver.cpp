#include "test_support/xdriver.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "platform/x11_window.h"

extern char** environ;

namespace {

// The drivers' connections; a test may drive from a second thread too.
constexpr int DriverCapacity = 8;
std::array<std::atomic<Display*>, DriverCapacity> DriverDisplays{};
std::atomic<XErrorHandler> PreviousHandler{nullptr};

// A failed request of a driver (a window that vanished under a test) must
// fail the test's check, not end the process; other connections keep whatever
// handler they had.
int DriverErrorHandler(Display* display, XErrorEvent* event) {
    for (const std::atomic<Display*>& d : DriverDisplays)
        if (d.load() == display) return 0;
    const XErrorHandler previous = PreviousHandler.load();
    return previous ? previous(display, event) : 0;
}

bool AddDriverDisplay(Display* display) {
    for (std::atomic<Display*>& d : DriverDisplays) {
        Display* empty = nullptr;
        if (d.compare_exchange_strong(empty, display)) return true;
    }
    return false;
}

void RemoveDriverDisplay(Display* display) {
    for (std::atomic<Display*>& d : DriverDisplays) {
        Display* mine = display;
        d.compare_exchange_strong(mine, nullptr);
    }
}

using TClock = std::chrono::steady_clock;

bool Expired(TClock::time_point start, int timeoutMs) {
    return TClock::now() - start > std::chrono::milliseconds(timeoutMs);
}

void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

std::string CaptionOf(Display* d, Window w) {
    char* name = nullptr;
    if (!XFetchName(d, w, &name) || !name) return {};
    std::string caption = name;
    XFree(name);
    return caption;
}

// Calls visit with each top-level window and its caption (also one level
// below the root's children, where a window manager's frame holds it) until
// it returns true; that window, or 0.
template <class Visit>
Window WalkTopLevel(Display* d, Visit visit) {
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count)) return 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        if (visit(children[i], CaptionOf(d, children[i]))) {
            found = children[i];
            break;
        }
        Window r, p, *inner = nullptr;
        unsigned innerCount = 0;
        if (XQueryTree(d, children[i], &r, &p, &inner, &innerCount)) {
            for (unsigned j = 0; j < innerCount && !found; ++j)
                if (visit(inner[j], CaptionOf(d, inner[j]))) found = inner[j];
            if (inner) XFree(inner);
        }
    }
    if (children) XFree(children);
    return found;
}

Window SearchCaption(Display* d, const char* caption) {
    return WalkTopLevel(d, [caption](Window, const std::string& name) { return name == caption; });
}

// Queues the key event without waiting for the server.
void FakeKey(TXDriver& driver, KeySym key, bool down) {
    const KeyCode code = XKeysymToKeycode(driver.Dpy, key);
    if (code) XTestFakeKeyEvent(driver.Dpy, code, down ? True : False, CurrentTime);
}

void FakeModifiers(TXDriver& driver, unsigned modifiers, bool down) {
    if (modifiers & ShiftMask) FakeKey(driver, XK_Shift_L, down);
    if (modifiers & ControlMask) FakeKey(driver, XK_Control_L, down);
    if (modifiers & Mod1Mask) FakeKey(driver, XK_Alt_L, down);
}

void HoldModifiers(TXDriver& driver, unsigned modifiers, bool down) {
    FakeModifiers(driver, modifiers, down);
    XSync(driver.Dpy, False);
}

uint32_t MaskedComponent(unsigned long pixel, unsigned long mask) {
    if (!mask) return 0;
    int shift = 0;
    while (!(mask & (1ul << shift))) ++shift;
    return uint32_t((pixel & mask) >> shift) & 0xFFu;
}

}  // namespace

bool OpenXDriver(TXDriver& driver) {
    XInitThreads();
    driver.Dpy = OpenXConnection();
    if (!driver.Dpy) return false;
    int event, error, major, minor;
    if (!XTestQueryExtension(driver.Dpy, &event, &error, &major, &minor) ||
        !AddDriverDisplay(driver.Dpy)) {
        CloseXDriver(driver);
        return false;
    }
    XErrorHandler previous = XSetErrorHandler(DriverErrorHandler);
    if (previous != DriverErrorHandler) PreviousHandler = previous;
    return true;
}

void CloseXDriver(TXDriver& driver) {
    if (!driver.Dpy) return;
    RemoveDriverDisplay(driver.Dpy);
    XCloseDisplay(driver.Dpy);
    driver.Dpy = nullptr;
}

Window FindWindowByCaption(TXDriver& driver, const char* caption, int timeoutMs) {
    const TClock::time_point start = TClock::now();
    for (;;) {
        if (const Window w = SearchCaption(driver.Dpy, caption)) return w;
        if (Expired(start, timeoutMs)) return 0;
        Pause(10);
    }
}

std::string TopLevelCaptions(TXDriver& driver) {
    std::string list;
    WalkTopLevel(driver.Dpy, [&list](Window, const std::string& name) {
        if (!name.empty()) list += (list.empty() ? "\"" : ", \"") + name + "\"";
        return false;
    });
    return list.empty() ? "none" : list;
}

bool WaitWindowGone(TXDriver& driver, const char* caption, int timeoutMs) {
    const TClock::time_point start = TClock::now();
    while (SearchCaption(driver.Dpy, caption)) {
        if (Expired(start, timeoutMs)) return false;
        Pause(10);
    }
    return true;
}

bool WaitWindowMapped(TXDriver& driver, Window window, int timeoutMs) {
    const TClock::time_point start = TClock::now();
    for (;;) {
        XWindowAttributes a;
        if (XGetWindowAttributes(driver.Dpy, window, &a) && a.map_state == IsViewable) return true;
        if (Expired(start, timeoutMs)) return false;
        Pause(5);
    }
}

bool GetWindowGeometry(TXDriver& driver, Window window, int& x, int& y, int& width, int& height) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(driver.Dpy, window, &a)) return false;
    Window child;
    if (!XTranslateCoordinates(driver.Dpy, window, a.root, 0, 0, &x, &y, &child)) return false;
    width = a.width;
    height = a.height;
    return true;
}

void FocusWindow(TXDriver& driver, Window window) {
    XSetInputFocus(driver.Dpy, window, RevertToParent, CurrentTime);
    XSync(driver.Dpy, False);
}

void SendCloseRequest(TXDriver& driver, Window window) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = window;
    e.xclient.message_type = XInternAtom(driver.Dpy, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = long(XInternAtom(driver.Dpy, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(driver.Dpy, window, False, NoEventMask, &e);
    XSync(driver.Dpy, False);
}

void HoldKey(TXDriver& driver, KeySym key, bool down) {
    FakeKey(driver, key, down);
    XSync(driver.Dpy, False);
}

// The whole press goes out in one request batch, so the server takes it in
// one go: a program reading the keyboard state between two of its events
// (on a loaded machine the driver may be held up there) would see the key
// held.
void HoldKeys(TXDriver& driver, std::initializer_list<KeySym> keys, bool down) {
    for (KeySym key : keys) FakeKey(driver, key, down);
    XSync(driver.Dpy, False);
}

void PressKey(TXDriver& driver, KeySym key, unsigned modifiers) {
    FakeModifiers(driver, modifiers, true);
    FakeKey(driver, key, true);
    FakeKey(driver, key, false);
    FakeModifiers(driver, modifiers, false);
    XSync(driver.Dpy, False);
}

void MovePointer(TXDriver& driver, Window window, int x, int y) {
    int rootX = 0, rootY = 0;
    Window child;
    XTranslateCoordinates(driver.Dpy, window, DefaultRootWindow(driver.Dpy), x, y, &rootX, &rootY, &child);
    XTestFakeMotionEvent(driver.Dpy, DefaultScreen(driver.Dpy), rootX, rootY, CurrentTime);
    XSync(driver.Dpy, False);
}

void HoldButton(TXDriver& driver, unsigned button, bool down) {
    XTestFakeButtonEvent(driver.Dpy, button, down ? True : False, CurrentTime);
    XSync(driver.Dpy, False);
}

void ClickAt(TXDriver& driver, Window window, int x, int y, unsigned button, unsigned modifiers) {
    MovePointer(driver, window, x, y);
    HoldModifiers(driver, modifiers, true);
    HoldButton(driver, button, true);
    // As long as a person's click, and as far from the next one: programs
    // that poll the button word once a frame miss a press released within
    // the same frame, and a release followed by a press within it.
    Pause(120);
    HoldButton(driver, button, false);
    HoldModifiers(driver, modifiers, false);
    Pause(120);
}

void DragPointer(TXDriver& driver, Window window, int x1, int y1, int x2, int y2, unsigned button, int steps) {
    if (steps < 1) steps = 1;
    MovePointer(driver, window, x1, y1);
    HoldButton(driver, button, true);
    for (int i = 1; i <= steps; ++i) {
        MovePointer(driver, window, x1 + (x2 - x1) * i / steps, y1 + (y2 - y1) * i / steps);
        Pause(5);
    }
    HoldButton(driver, button, false);
}

bool ReadWindowPixels(TXDriver& driver, Window window, int x, int y, int width, int height,
                      std::vector<uint32_t>& pixels) {
    XWindowAttributes a;
    if (width < 1 || height < 1 || !XGetWindowAttributes(driver.Dpy, window, &a)) return false;
    if (x < 0 || y < 0 || x + width > a.width || y + height > a.height) return false;
    XImage* image = XGetImage(driver.Dpy, window, x, y, unsigned(width), unsigned(height), AllPlanes, ZPixmap);
    if (!image) return false;
    pixels.resize(size_t(width) * size_t(height));
    for (int row = 0; row < height; ++row) {
        for (int col = 0; col < width; ++col) {
            const unsigned long p = XGetPixel(image, col, row);
            pixels[size_t(row) * size_t(width) + size_t(col)] = (MaskedComponent(p, a.visual->red_mask) << 16) |
                                                                (MaskedComponent(p, a.visual->green_mask) << 8) |
                                                                MaskedComponent(p, a.visual->blue_mask);
        }
    }
    XDestroyImage(image);
    return true;
}

uint32_t ReadWindowPixel(TXDriver& driver, Window window, int x, int y) {
    std::vector<uint32_t> pixel;
    return ReadWindowPixels(driver, window, x, y, 1, 1, pixel) ? pixel[0] : 0xFFFFFFFFu;
}

bool WaitWindowPixel(TXDriver& driver, Window window, int x, int y, uint32_t rgb, int timeoutMs) {
    const TClock::time_point start = TClock::now();
    while (ReadWindowPixel(driver, window, x, y) != rgb) {
        if (Expired(start, timeoutMs)) return false;
        Pause(5);
    }
    return true;
}

bool StartProgram(TChildProgram& child, const TProgramOptions& options) {
    if (options.Args.empty()) return false;
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        bool dropped = false;
        for (const std::string& u : options.UnsetEnv) dropped = dropped || u == name;
        for (const std::string& s : options.SetEnv) dropped = dropped || s.substr(0, s.find('=')) == name;
        if (!dropped) env.push_back(entry);
    }
    env.insert(env.end(), options.SetEnv.begin(), options.SetEnv.end());

    std::vector<char*> argv, envp;
    for (const std::string& a : options.Args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!options.StdoutPath.empty())
        posix_spawn_file_actions_addopen(&actions, 1, options.StdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (!options.StderrPath.empty())
        posix_spawn_file_actions_addopen(&actions, 2, options.StderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (failed) return false;
    child.Pid = pid;
    return true;
}

bool WaitProgramExit(TChildProgram& child, int timeoutMs, int& exitCode) {
    if (child.Pid <= 0) return false;
    const TClock::time_point start = TClock::now();
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(child.Pid, &status, WNOHANG);
        if (done == child.Pid) {
            exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            child.Pid = -1;
            return true;
        }
        if (done < 0 || Expired(start, timeoutMs)) return false;
        Pause(5);
    }
}

void StopProgram(TChildProgram& child) {
    if (child.Pid <= 0) return;
    kill(child.Pid, SIGKILL);
    int status = 0;
    waitpid(child.Pid, &status, 0);
    child.Pid = -1;
}
