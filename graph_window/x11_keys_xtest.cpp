// Key events built on the X server's own keyboard mapping, translated and
// handed to the keyboard unit as the window thread does.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <vector>

#include "keyboard_unit.h"
#include "platform/x11_keys.h"

namespace {

using Bytes = std::vector<uint8_t>;

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
        Bytes out;
        while (KeyQueueHead != KeyQueueTail) {
            out.push_back(KeyQueueSlots[KeyQueueHead]);
            KeyQueueHead = StepKeyQueueIndex(KeyQueueHead);
        }
        return out;
    }

    Display* display = nullptr;
};

TEST_F(KeyPressTest, CharactersAndKeys) {
    EXPECT_EQ(Queued(XK_a, ShiftMask), Bytes{'A'});
    EXPECT_EQ(Queued(XK_x, Mod1Mask), (Bytes{0, 45}));  // Alt: no character
    EXPECT_EQ(Queued(XK_a, ControlMask), Bytes{1});
    EXPECT_EQ(Queued(XK_2, ControlMask | ShiftMask), (Bytes{0, 2, 0}));  // Ctrl pair for 2, then NUL
    EXPECT_EQ(Queued(XK_Tab, ShiftMask), Bytes{9});
    EXPECT_EQ(Queued(XK_Escape, 0), Bytes{27});
    EXPECT_EQ(Queued(XK_BackSpace, 0), Bytes{8});
    EXPECT_EQ(Queued(XK_BackSpace, Mod1Mask), (Bytes{0, 14}));
    EXPECT_EQ(Queued(XK_Delete, 0), (Bytes{0, 83}));
    EXPECT_EQ(Queued(XK_space, 0), Bytes{' '});
    EXPECT_EQ(Queued(XK_F4, Mod1Mask), (Bytes{0, 107}));
    EXPECT_EQ(Queued(XK_Pause, ControlMask), Bytes{});
    EXPECT_EQ(Queued(XK_Pause, Mod1Mask), (Bytes{0, 169}));
}

TEST_F(KeyPressTest, TheKeypadFollowsNumLock) {
    const unsigned int numLock = Mod2Mask;  // where the usual mapping puts Num Lock
    EXPECT_EQ(Queued(XK_KP_Up, 0), (Bytes{0, 72}));
    EXPECT_EQ(Queued(XK_KP_Up, numLock), Bytes{'8'});
    EXPECT_EQ(Queued(XK_KP_Up, numLock | ShiftMask), (Bytes{0, 72}));
    EXPECT_EQ(Queued(XK_KP_Enter, 0), Bytes{13});
    EXPECT_EQ(Queued(XK_KP_Multiply, 0), Bytes{'*'});
    EXPECT_EQ(Queued(XK_KP_Add, ControlMask | Mod1Mask), (Bytes{0, 144}));
    EXPECT_EQ(Queued(XK_KP_Divide, Mod1Mask), (Bytes{0, 69}));
}

}  // namespace
