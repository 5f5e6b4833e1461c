// Keys, close requests and the pointer sent to a real window through XTest,
// as the program thread sees them; and key events built on the X server's own
// keyboard mapping, translated and handed to the keyboard unit as the window
// thread does.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "graph_unit.h"
#include "keyboard_unit.h"
#include "platform/x11_keys.h"
#include "test_support/key_queue_bytes.h"
#include "test_support/program_test.h"
#include "test_support/test_window.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr const char* Caption = "input units";

class InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(OpenXDriver(x));
        window = OpenTestWindow(x, 3, 6, Caption);
        ASSERT_NE(window, 0u);
        FocusWindow(x, window);
        XSync(x.Dpy, False);
    }
    void TearDown() override {
        CloseXDriver(x);
        CloseGraphWindow();
    }

    // The bytes that arrive, read as a program reads them.
    Bytes Arrived(size_t expected) {
        Bytes out;
        WaitUntil(SignalWaitMs, [&] {
            while (out.size() < expected && KeyWaiting()) out.push_back(WaitKeyByte());
            return out.size() >= expected;
        });
        return out;
    }

    Bytes PressAndRead(KeySym key, unsigned modifiers, size_t expected) {
        PressKey(x, key, modifiers);
        return Arrived(expected);
    }

    TXDriver x;
    Window window = 0;
};

// The whole translation is checked headless; these rows go the whole way.
TEST_F(InputTest, KeysReachTheQueueAsPcCodes) {
    const struct {
        KeySym Key;
        unsigned Modifiers;
        Bytes Expected;
    } rows[] = {
        {XK_KP_Right, 0, {0, 77}},  // the keypad with Num Lock off
        {XK_j, Mod1Mask, {0, 36}},
        {XK_F1, ShiftMask, {0, 84}},
        {XK_a, 0, {'a'}},
        {XK_Escape, 0, {27}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(PressAndRead(row.Key, row.Modifiers, row.Expected.size()), row.Expected)
            << XKeysymToString(row.Key) << " with modifiers " << row.Modifiers;
    EXPECT_FALSE(KeyWaiting());
}

TEST_F(InputTest, AHeldKeyRepeats) {
    HoldKey(x, XK_Down, true);
    XSync(x.Dpy, False);
    const Bytes got = Arrived(6);  // past the server's repeat delay
    HoldKey(x, XK_Down, false);
    ASSERT_EQ(got.size(), 6u);
    for (size_t i = 0; i + 1 < got.size(); i += 2) EXPECT_EQ(got[i + 1], 80) << i;
}

TEST_F(InputTest, CloseRequestsQueueAKeyAndLeaveTheWindowOpen) {
    SendCloseRequest(x, window);
    EXPECT_EQ(Arrived(2), (Bytes{0, 107}));
    EXPECT_EQ(PressAndRead(XK_F4, Mod1Mask, 2), (Bytes{0, 107}));
    EXPECT_TRUE(GraphWindowIsOpen());
    EXPECT_NE(FindWindowByCaption(x, Caption, 100), 0u);
}

TEST_F(InputTest, AWaitingReaderGetsTheKeyAndTheWindowAfterItsCloseNone) {
    std::thread sender([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        TXDriver other;
        if (!OpenXDriver(other)) return;
        PressKey(other, XK_Home, 0);
        CloseXDriver(other);
    });
    EXPECT_EQ(WaitKeyByte(), 0);  // waits for the key
    EXPECT_EQ(WaitKeyByte(), 71);
    sender.join();

    PressKey(x, XK_b, 0);
    ASSERT_TRUE(WaitUntil(SignalWaitMs, [] { return KeyWaiting(); }));
    CloseGraphWindow();
    EXPECT_TRUE(KeyWaiting());      // what was queued stays
    EXPECT_EQ(WaitKeyByte(), 0);    // but no longer reaches the program
    EXPECT_TRUE(KeyWaiting());
}

TEST_F(InputTest, ButtonsModifiersAndPosition) {
    MovePointer(x, window, 100, 50);
    ASSERT_TRUE(WaitUntil(SignalWaitMs, [] { return GetMousePosX() == 100 && GetMousePosY() == 50; }));
    EXPECT_EQ(GetMouseButtonState(), 0);

    HoldButton(x, 1, true);
    EXPECT_TRUE(WaitUntil(SignalWaitMs, [] { return GetMouseButtonState() == 1; }));
    MovePointer(x, window, 120, 60);
    EXPECT_TRUE(WaitUntil(SignalWaitMs, [] { return GetMousePosX() == 120 && GetMouseButtonState() == 1; }));
    HoldButton(x, 1, false);
    EXPECT_TRUE(WaitUntil(SignalWaitMs, [] { return GetMouseButtonState() == 0; }));

    // Shift and Ctrl show only with a mouse message: once a key typed after
    // Shift arrived, the window has seen the Shift press.
    HoldKey(x, XK_Shift_L, true);
    PressKey(x, XK_z, 0);
    EXPECT_EQ(Arrived(1), Bytes{'Z'});
    EXPECT_EQ(GetMouseButtonState(), 0);
    HoldButton(x, 1, true);
    EXPECT_TRUE(WaitUntil(SignalWaitMs, [] { return GetMouseButtonState() == (1 | 8); }));
    HoldButton(x, 1, false);
    EXPECT_TRUE(WaitUntil(SignalWaitMs, [] { return GetMouseButtonState() == 8; }));
    HoldKey(x, XK_Shift_L, false);

    HoldKey(x, XK_Control_L, true);
    HoldButton(x, 3, true);
    EXPECT_TRUE(WaitUntil(SignalWaitMs, [] { return GetMouseButtonState() == (2 | 16); }));
    HoldButton(x, 2, true);
    EXPECT_TRUE(WaitUntil(SignalWaitMs, [] { return GetMouseButtonState() == (2 | 4 | 16); }));
    HoldButton(x, 2, false);
    HoldButton(x, 3, false);
    HoldKey(x, XK_Control_L, false);
    MovePointer(x, window, 130, 70);
    EXPECT_TRUE(WaitUntil(SignalWaitMs, [] { return GetMouseButtonState() == 0 && GetMousePosX() == 130; }));
}

TEST_F(InputTest, TheWheelCarriesClientCoordinates) {
    int left, top, width, height;
    ASSERT_TRUE(GetWindowGeometry(x, window, left, top, width, height));
    ASSERT_TRUE(left != 0 || top != 0);  // else client and screen would agree
    MovePointer(x, window, 200, 150);
    ASSERT_TRUE(WaitUntil(SignalWaitMs, [] { return GetMousePosX() == 200 && GetMousePosY() == 150; }));
    MouseHook(0, MsgMouseMove, 0, 0);  // forget the motion's position
    HoldButton(x, 4, true);
    HoldButton(x, 4, false);
    EXPECT_TRUE(WaitUntil(SignalWaitMs, [] { return GetMousePosX() == 200 && GetMousePosY() == 150; }));
}

TEST_F(InputTest, HeldKeysReadDownWhileHeld) {
    for (const auto& [key, vk] : {std::pair{XK_Left, 37}, std::pair{XK_Escape, 27}, std::pair{XK_a, 65},
                                  std::pair{XK_KP_Enter, 13}}) {
        EXPECT_FALSE(KeyIsHeld(vk));
        HoldKey(x, key, true);
        EXPECT_TRUE(WaitUntil(SignalWaitMs, [vk = vk] { return KeyIsHeld(vk); })) << vk;
        // Codes that no key has, and another key, read up meanwhile.
        EXPECT_FALSE(KeyIsHeld(0));
        EXPECT_FALSE(KeyIsHeld(-5));
        EXPECT_FALSE(KeyIsHeld(100000));
        EXPECT_FALSE(KeyIsHeld(vk == 37 ? 39 : 37));
        HoldKey(x, key, false);
        EXPECT_TRUE(WaitUntil(SignalWaitMs, [vk = vk] { return !KeyIsHeld(vk); })) << vk;
    }
}

TEST(HeldKeys, WithoutAnXServerNothingIsHeld) {
    // Esc is down on the server the test runs on, which the program cannot reach.
    TXDriver x;
    ASSERT_TRUE(OpenXDriver(x));
    HoldKey(x, XK_Escape, true);
    XSync(x.Dpy, False);
    const char* saved = std::getenv("DISPLAY");
    const std::string display = saved ? saved : "";
    setenv("DISPLAY", ":65000", 1);
    EXPECT_FALSE(KeyIsHeld(27));
    setenv("DISPLAY", display.c_str(), 1);
    HoldKey(x, XK_Escape, false);
    CloseXDriver(x);
}

// Key events built on the server's keyboard mapping, handed to the keyboard
// unit without a window.
class KeyPressTest : public ::testing::Test {
protected:
    void SetUp() override {
        display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr);
        ResetKeyQueue();
    }
    void TearDown() override {
        if (display) XCloseDisplay(display);
    }

    // What one press leaves in the queue.
    Bytes Queued(KeySym sym, unsigned int state) {
        XKeyEvent event{};
        event.type = KeyPress;
        event.display = display;
        event.window = DefaultRootWindow(display);
        event.root = event.window;
        event.keycode = XKeysymToKeycode(display, sym);
        event.state = state;
        EXPECT_NE(event.keycode, 0u) << "no key for " << XKeysymToString(sym);
        TKeyMessages messages;
        TranslateKeyPress(event, messages);
        for (int i = 0; i < messages.Count; ++i)
            KeyboardMessageHook(0, messages.Items[i].Message, messages.Items[i].WParam,
                                messages.Items[i].LParam);
        return DrainKeyQueue();
    }

    Display* display = nullptr;
};

TEST_F(KeyPressTest, CharactersBesideTheKeys) {
    EXPECT_EQ(Queued(XK_a, ShiftMask), Bytes{'A'});
    EXPECT_EQ(Queued(XK_x, Mod1Mask), (Bytes{0, 45}));  // Alt: no character
    EXPECT_EQ(Queued(XK_a, ControlMask), Bytes{1});
    EXPECT_EQ(Queued(XK_2, ControlMask | ShiftMask), (Bytes{0, 2, 0}));  // Ctrl pair for 2, then NUL
    EXPECT_EQ(Queued(XK_Tab, ShiftMask), Bytes{9});
    EXPECT_EQ(Queued(XK_Tab, ControlMask), Bytes{30});
    EXPECT_EQ(Queued(XK_Escape, 0), Bytes{27});
    EXPECT_EQ(Queued(XK_BackSpace, 0), Bytes{8});
    EXPECT_EQ(Queued(XK_BackSpace, Mod1Mask), (Bytes{0, 14}));
    EXPECT_EQ(Queued(XK_Delete, 0), (Bytes{0, 83}));
    EXPECT_EQ(Queued(XK_space, 0), Bytes{' '});
    EXPECT_EQ(Queued(XK_F4, Mod1Mask), (Bytes{0, 107}));
}

TEST_F(KeyPressTest, TheKeypadFollowsNumLock) {
    const unsigned int numLock = Mod2Mask;  // where the usual mapping puts Num Lock
    EXPECT_EQ(Queued(XK_KP_Up, 0), (Bytes{0, 72}));
    EXPECT_EQ(Queued(XK_KP_Right, 0), (Bytes{0, 77}));
    EXPECT_EQ(Queued(XK_KP_Down, 0), (Bytes{0, 80}));
    EXPECT_EQ(Queued(XK_KP_Up, numLock), Bytes{'8'});
    EXPECT_EQ(Queued(XK_KP_Right, numLock), Bytes{'6'});
    EXPECT_EQ(Queued(XK_KP_Up, numLock | ShiftMask), (Bytes{0, 72}));
    EXPECT_EQ(Queued(XK_KP_Enter, 0), Bytes{13});
    EXPECT_EQ(Queued(XK_KP_Multiply, 0), Bytes{'*'});
    EXPECT_EQ(Queued(XK_KP_Add, ControlMask | Mod1Mask), (Bytes{0, 144}));
    EXPECT_EQ(Queued(XK_KP_Divide, Mod1Mask), (Bytes{0, 69}));
}

}  // namespace
