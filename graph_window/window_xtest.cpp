// The window against a real X server: opening and closing, its size, place
// and decorations, the messages its procedure hands to the hooks, and what
// happens without a display.
// gtest before Xlib: Xlib's macros (None, Bool) break gtest's templates.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <dirent.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "graph_unit.h"
#include "platform/x11_window.h"
#include "test_support/program_test.h"
#include "test_support/test_window.h"

namespace {

constexpr int WaitMs = SignalWaitMs;

int OpenDescriptorCount() {
    int count = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (readdir(dir)) ++count;
        closedir(dir);
    }
    return count;
}

// Shared memory segments this process created that still exist.
int OwnShmSegments() {
    std::ifstream in("/proc/sysvipc/shm");
    std::string line;
    std::getline(in, line);  // header
    int count = 0;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        long key, shmid, perms, size, cpid;
        if (fields >> key >> shmid >> perms >> size >> cpid && cpid == getpid()) ++count;
    }
    return count;
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(OpenXDriver(x_)); }
    void TearDown() override {
        if (GraphWindowIsOpen()) CloseGraphWindow();
        KeyboardHook = savedKeyboard_;
        MouseHook = savedMouse_;
        CloseXDriver(x_);
    }
    Window Open(int16_t driver, int16_t mode, const char* caption) {
        const Window w = OpenTestWindow(x_, driver, mode, caption);
        EXPECT_NE(w, 0u) << "result " << ResultCode;
        return w;
    }
    TXDriver x_;
    TMessageHook savedKeyboard_ = KeyboardHook, savedMouse_ = MouseHook;
};

TEST_F(WindowTest, HundredOpenCloseCyclesReleaseEverything) {
    const int descriptors = OpenDescriptorCount();
    for (int i = 0; i < 100; ++i) {
        int16_t driver = i % 2 ? 9 : 3, mode = i % 3 ? 4 : 1;
        OpenGraphWindow(driver, mode, "cycles");
        ASSERT_EQ(ResultCode, 0) << i;
        ASSERT_TRUE(GraphWindowIsOpen());
        SelectShownPage(uint16_t(i % 4));  // a present in flight while closing
        CloseGraphWindow();
        ASSERT_EQ(ResultCode, 0) << i;
        ASSERT_FALSE(GraphWindowIsOpen());
    }
    EXPECT_EQ(OpenDescriptorCount(), descriptors);
    EXPECT_EQ(OwnShmSegments(), 0);
    EXPECT_TRUE(WaitWindowGone(x_, "cycles", WaitMs));
}

TEST_F(WindowTest, SecondOpenIsRefusedAndLeavesTheFirst) {
    Open(3, 6, "first");
    int event, error, major;
    // One shared image per page.
    EXPECT_EQ(OwnShmSegments(), XQueryExtension(x_.Dpy, "MIT-SHM", &major, &event, &error) ? 4 : 0);
    int16_t driver = 0, mode = 4;
    OpenGraphWindow(driver, mode, "second");
    EXPECT_EQ(ResultCode, -10);
    EXPECT_EQ(driver, 0);  // refused before the default is picked
    EXPECT_TRUE(GraphWindowIsOpen());
    EXPECT_EQ(GetRightEdge(), 799);
    EXPECT_EQ(FindWindowByCaption(x_, "second", 100), 0u);
    EXPECT_NE(FindWindowByCaption(x_, "first", 100), 0u);
}

TEST_F(WindowTest, FramedWindowIsCentredAndNotResizable) {
    const Window w = Open(3, 6, "framed");
    EXPECT_EQ(GetRightEdge(), 799);
    EXPECT_EQ(GetBottomEdge(), 599);
    int x, y, width, height;
    ASSERT_TRUE(GetWindowGeometry(x_, w, x, y, width, height));
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    const int outerW = 800 + 2 * DialogFrameWidth, outerH = 600 + 2 * DialogFrameHeight + CaptionHeight;
    EXPECT_EQ(x, (1280 - outerW) / 2);
    EXPECT_EQ(y, (1024 - outerH) / 2);
    XSizeHints hints{};
    long supplied = 0;
    ASSERT_TRUE(XGetWMNormalHints(x_.Dpy, w, &hints, &supplied));
    EXPECT_TRUE((hints.flags & (PMinSize | PMaxSize)) == (PMinSize | PMaxSize));
    EXPECT_EQ(hints.min_width, 800);
    EXPECT_EQ(hints.max_width, 800);
    EXPECT_EQ(hints.min_height, 600);
    EXPECT_EQ(hints.max_height, 600);
    const Atom motif = XInternAtom(x_.Dpy, "_MOTIF_WM_HINTS", False);
    int propertyCount = 0;
    Atom* properties = XListProperties(x_.Dpy, w, &propertyCount);
    for (int i = 0; i < propertyCount; ++i) EXPECT_NE(properties[i], motif);
    if (properties) XFree(properties);
    CloseGraphWindow();
    EXPECT_EQ(GetRightEdge(), 799);  // kept after the close
    Open(3, 4, "small");
    EXPECT_EQ(GetRightEdge(), 639);
    EXPECT_EQ(GetBottomEdge(), 479);
}

TEST_F(WindowTest, ScreenSizedClientHasNoDecorations) {
    const Window w = Open(3, 8, "frameless");
    int x, y, width, height;
    ASSERT_TRUE(GetWindowGeometry(x_, w, x, y, width, height));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(width, 1280);
    EXPECT_EQ(height, 1024);
    const Atom motif = XInternAtom(x_.Dpy, "_MOTIF_WM_HINTS", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    ASSERT_EQ(XGetWindowProperty(x_.Dpy, w, motif, 0, 5, False, motif, &type, &format, &count, &after, &data),
              Success);
    ASSERT_EQ(count, 5u);
    const long* values = reinterpret_cast<const long*>(data);
    EXPECT_EQ(values[0] & 2, 2);  // decorations given ...
    EXPECT_EQ(values[2], 0);      // ... and none
    XFree(data);
}

TEST_F(WindowTest, EmptyCaptionAndDefaultDriver) {
    int16_t driver = 0, mode = 6;
    OpenGraphWindow(driver, mode, "");
    ASSERT_EQ(ResultCode, 0);
    EXPECT_EQ(driver, 9);
    EXPECT_EQ(mode, 10);
    EXPECT_FALSE(PaletteMode);
    const Window w = FindWindowByCaption(x_, "Tavrel 1.1", WaitMs);
    ASSERT_NE(w, 0u);
    int x, y, width, height;
    ASSERT_TRUE(GetWindowGeometry(x_, w, x, y, width, height));
    EXPECT_EQ(GetRightEdge() + 1, width);
    EXPECT_EQ(GetBottomEdge() + 1, height);
}

TEST_F(WindowTest, PageSelectionAndDirectDraw) {
    Open(3, 1, "pages");
    EXPECT_EQ(DrawPage, 0);
    EXPECT_EQ(ShownPage, 0);
    EXPECT_TRUE(RefreshMode);
    EXPECT_TRUE(DirectDraw);
    for (const TPage& p : Pages) EXPECT_EQ(p.Pixels.size(), 320u * 200u);
    SelectDrawPage(7);
    EXPECT_EQ(ResultCode, 0);
    EXPECT_EQ(DrawPage, 0);
    SelectDrawPage(1);
    EXPECT_FALSE(DirectDraw);
    SelectShownPage(1);
    EXPECT_TRUE(DirectDraw);
    SelectShownPage(4);
    EXPECT_EQ(ShownPage, 0);
    EXPECT_FALSE(DirectDraw);
    RefreshMode = false;
    SelectShownPage(1);
    EXPECT_FALSE(DirectDraw);
    CloseGraphWindow();
    EXPECT_EQ(ResultCode, 0);
    CloseGraphWindow();
    EXPECT_EQ(ResultCode, -1);
    SelectDrawPage(0);
    EXPECT_EQ(ResultCode, -1);
    for (const TPage& p : Pages) EXPECT_TRUE(p.Pixels.empty());
}

// What the window procedure hands to the hooks, in order.
struct THookCall {
    char Hook;  // 'k' or 'm'
    uint32_t Message, WParam, LParam;
};
std::mutex CallsLock;
std::vector<THookCall> Calls;

// Key messages belong to the keyboard unit's tests; the modifiers held around
// clicks would produce some.
uint32_t RecordKeyboard(uint32_t, uint32_t message, uint32_t wParam, uint32_t lParam) {
    std::lock_guard<std::mutex> lock(CallsLock);
    if (message != MsgKeyDown && message != MsgChar && message != MsgSysKeyDown)
        Calls.push_back({'k', message, wParam, lParam});
    return 0;
}
uint32_t RecordMouse(uint32_t, uint32_t message, uint32_t wParam, uint32_t lParam) {
    std::lock_guard<std::mutex> lock(CallsLock);
    if (message != MsgMouseMove) Calls.push_back({'m', message, wParam, lParam});
    return 0;
}

std::vector<THookCall> TakeCalls() {
    std::lock_guard<std::mutex> lock(CallsLock);
    std::vector<THookCall> taken;
    taken.swap(Calls);
    return taken;
}

// Waits until the hooks have seen count calls (mouse moves not counted).
std::vector<THookCall> WaitCalls(size_t count) {
    WaitUntil(WaitMs, [count] {
        std::lock_guard<std::mutex> lock(CallsLock);
        return Calls.size() >= count;
    });
    return TakeCalls();
}

uint32_t Point(int x, int y) { return (uint32_t(y) << 16) | uint32_t(x); }

TEST_F(WindowTest, HooksSeeCreateCloseMouseAndDestroy) {
    KeyboardHook = RecordKeyboard;
    MouseHook = RecordMouse;
    TakeCalls();
    const Window w = Open(3, 4, "hooks");
    std::vector<THookCall> calls = TakeCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].Hook, 'm');
    EXPECT_EQ(calls[0].Message, MsgCreate);
    EXPECT_EQ(calls[1].Hook, 'k');
    EXPECT_EQ(calls[1].Message, MsgCreate);

    // The close box only reaches the keyboard hook; the window stays.
    SendCloseRequest(x_, w);
    calls = WaitCalls(1);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].Hook, 'k');
    EXPECT_EQ(calls[0].Message, MsgClose);
    EXPECT_TRUE(GraphWindowIsOpen());
    EXPECT_TRUE(WaitWindowMapped(x_, w, 100));

    // Buttons carry the state after the event, in client coordinates.
    ClickAt(x_, w, 10, 20);
    ClickAt(x_, w, 30, 40, 3, ShiftMask);
    ClickAt(x_, w, 50, 60, 2, ControlMask);
    calls = WaitCalls(6);
    ASSERT_EQ(calls.size(), 6u);
    const THookCall expected[6] = {{'m', MsgLButtonDown, MkLButton, Point(10, 20)},
                                   {'m', MsgLButtonUp, 0, Point(10, 20)},
                                   {'m', MsgRButtonDown, MkRButton | MkShift, Point(30, 40)},
                                   {'m', MsgRButtonUp, MkShift, Point(30, 40)},
                                   {'m', MsgMButtonDown, MkMButton | MkControl, Point(50, 60)},
                                   {'m', MsgMButtonUp, MkControl, Point(50, 60)}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(calls[i].Message, expected[i].Message) << i;
        EXPECT_EQ(calls[i].WParam, expected[i].WParam) << i;
        EXPECT_EQ(calls[i].LParam, expected[i].LParam) << i;
    }

    // The wheel: one message per notch, client coordinates like the rest.
    ClickAt(x_, w, 70, 80, 4);
    ClickAt(x_, w, 70, 80, 5);
    calls = WaitCalls(2);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].Message, MsgMouseWheel);
    EXPECT_EQ(calls[0].WParam, 120u << 16);
    EXPECT_EQ(calls[0].LParam, Point(70, 80));
    EXPECT_EQ(calls[1].WParam >> 16, 0x10000u - 120);

    CloseGraphWindow();
    calls = TakeCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].Hook, 'm');
    EXPECT_EQ(calls[0].Message, MsgDestroy);
    EXPECT_EQ(calls[1].Hook, 'k');
    EXPECT_EQ(calls[1].Message, MsgDestroy);
}

// Runs the tests of this executable matching filter in a child process with
// the given environment changes; its exit code, or -1 when it did not end.
int RunChildTests(const char* filter, std::vector<std::string> setEnv, std::vector<std::string> unsetEnv) {
    char self[4096] = {};
    if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0) return -1;
    TProgramOptions options;
    options.Args = {self, std::string("--gtest_filter=") + filter};
    options.SetEnv = std::move(setEnv);
    options.UnsetEnv = std::move(unsetEnv);
    options.StdoutPath = "/dev/null";
    TChildProgram child;
    if (!StartProgram(child, options)) return -1;
    int exitCode = -1;
    const bool ended = WaitProgramExit(child, 2 * SignalWaitMs, exitCode);
    StopProgram(child);
    return ended ? exitCode : -1;
}

TEST_F(WindowTest, WithoutADisplayOpeningFailsWithACode) {
    EXPECT_EQ(RunChildTests("NoDisplayChild.*", {"TAVREL_CHILD=1"}, {"DISPLAY"}), 0);
    EXPECT_EQ(RunChildTests("NoDisplayChild.*", {"TAVREL_CHILD=1", "DISPLAY=:4711"}, {}), 0);
}

TEST_F(WindowTest, WindowLeftOpenIsClosedAtExit) {
    EXPECT_EQ(RunChildTests("LeftOpenChild.*", {"TAVREL_CHILD=1"}, {}), 0);
    EXPECT_TRUE(WaitWindowGone(x_, "left open", WaitMs));
}

// Runs in a child: the program body returns with the window open and busy.
TEST(LeftOpenChild, ReturnsWithoutClosing) {
    if (!std::getenv("TAVREL_CHILD")) GTEST_SKIP() << "runs as a child of WindowLeftOpenIsClosedAtExit";
    int16_t driver = 3, mode = 6;
    OpenGraphWindow(driver, mode, "left open");
    ASSERT_EQ(ResultCode, 0);
    for (int i = 0; i < 50; ++i) SelectShownPage(uint16_t(i % 2));
}

// Runs in a child, with no reachable display.
TEST(NoDisplayChild, OpenFailsAndNothingCrashes) {
    if (!std::getenv("TAVREL_CHILD")) GTEST_SKIP() << "runs as a child of WithoutADisplayOpeningFailsWithACode";
    EXPECT_EQ(ScreenWidth, 0);
    EXPECT_EQ(ScreenHeight, 0);
    int16_t driver = 3, mode = 6;
    OpenGraphWindow(driver, mode, "no display");
    EXPECT_EQ(ResultCode, -3);
    driver = 0;
    OpenGraphWindow(driver, mode, "no display");
    EXPECT_EQ(ResultCode, -4);
    EXPECT_EQ(driver, 9);
    EXPECT_FALSE(GraphWindowIsOpen());
    CloseGraphWindow();
    EXPECT_EQ(ResultCode, -1);
    SelectShownPage(1);
    EXPECT_EQ(ResultCode, -1);
}

}  // namespace
