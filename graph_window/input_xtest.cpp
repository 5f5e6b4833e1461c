// Keys, close requests and the pointer sent to a real window through XTest,
// as the program thread sees them.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "graph_unit.h"
#include "test_support/test_window.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

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

    // The bytes that arrive within a short time, read as a program reads them.
    Bytes Arrived(size_t expected) {
        Bytes out;
        const auto deadline = Clock::now() + std::chrono::seconds(2);
        while (out.size() < expected && Clock::now() < deadline) {
            if (KeyWaiting())
                out.push_back(WaitKeyByte());
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return out;
    }

    Bytes PressAndRead(KeySym key, unsigned modifiers, size_t expected) {
        PressKey(x, key, modifiers);
        // A key that queues nothing is followed by one that does, so that its
        // absence shows.
        if (expected == 0) PressKey(x, XK_z, 0);
        Bytes got = Arrived(expected == 0 ? 1 : expected);
        if (expected == 0 && got == Bytes{'z'}) got.clear();
        return got;
    }

    template <typename Condition>
    bool WaitFor(Condition condition) {
        const auto deadline = Clock::now() + std::chrono::seconds(2);
        while (!condition()) {
            if (Clock::now() > deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }

    TXDriver x;
    Window window = 0;
};

TEST_F(InputTest, KeysReachTheQueueAsPcCodes) {
    const struct {
        KeySym Key;
        unsigned Modifiers;
        Bytes Expected;
    } rows[] = {
        {XK_Up, 0, {0, 72}},
        {XK_Down, 0, {0, 80}},
        {XK_Left, 0, {0, 75}},
        {XK_Right, 0, {0, 77}},
        {XK_Escape, 0, {27}},
        {XK_Return, 0, {13}},
        {XK_a, 0, {'a'}},
        {XK_F1, ShiftMask, {0, 84}},
        {XK_F12, 0, {0, 134}},
        {XK_F12, Mod1Mask, {0, 140}},
        {XK_Tab, ControlMask, {30}},
        {XK_5, ControlMask | Mod1Mask, {0, 5, 0, 124}},
        {XK_x, Mod1Mask, {0, 45}},
        {XK_Pause, 0, {0, 12}},
        {XK_Pause, ControlMask, {}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(PressAndRead(row.Key, row.Modifiers, row.Expected.size()), row.Expected)
            << XKeysymToString(row.Key) << " with modifiers " << row.Modifiers;
    EXPECT_FALSE(KeyWaiting());
}

TEST_F(InputTest, AHeldKeyRepeats) {
    HoldKey(x, XK_Down, true);
    XSync(x.Dpy, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(900));  // past the server's repeat delay
    HoldKey(x, XK_Down, false);
    const Bytes got = Arrived(6);
    ASSERT_GE(got.size(), 4u);
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
    ASSERT_TRUE(WaitFor([] { return KeyWaiting(); }));
    CloseGraphWindow();
    EXPECT_TRUE(KeyWaiting());      // what was queued stays
    EXPECT_EQ(WaitKeyByte(), 0);    // but no longer reaches the program
    EXPECT_TRUE(KeyWaiting());
}

TEST_F(InputTest, ButtonsModifiersAndPosition) {
    MovePointer(x, window, 100, 50);
    ASSERT_TRUE(WaitFor([] { return GetMousePosX() == 100 && GetMousePosY() == 50; }));
    EXPECT_EQ(GetMouseButtonState(), 0);

    HoldButton(x, 1, true);
    EXPECT_TRUE(WaitFor([] { return GetMouseButtonState() == 1; }));
    MovePointer(x, window, 120, 60);
    EXPECT_TRUE(WaitFor([] { return GetMousePosX() == 120 && GetMouseButtonState() == 1; }));
    HoldButton(x, 1, false);
    EXPECT_TRUE(WaitFor([] { return GetMouseButtonState() == 0; }));

    // Shift and Ctrl show only with a mouse message.
    HoldKey(x, XK_Shift_L, true);
    XSync(x.Dpy, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(GetMouseButtonState(), 0);
    HoldButton(x, 1, true);
    EXPECT_TRUE(WaitFor([] { return GetMouseButtonState() == (1 | 8); }));
    HoldButton(x, 1, false);
    EXPECT_TRUE(WaitFor([] { return GetMouseButtonState() == 8; }));
    HoldKey(x, XK_Shift_L, false);

    HoldKey(x, XK_Control_L, true);
    HoldButton(x, 3, true);
    EXPECT_TRUE(WaitFor([] { return GetMouseButtonState() == (2 | 16); }));
    HoldButton(x, 2, true);
    EXPECT_TRUE(WaitFor([] { return GetMouseButtonState() == (2 | 4 | 16); }));
    HoldButton(x, 2, false);
    HoldButton(x, 3, false);
    HoldKey(x, XK_Control_L, false);
    MovePointer(x, window, 130, 70);
    EXPECT_TRUE(WaitFor([] { return GetMouseButtonState() == 0 && GetMousePosX() == 130; }));
}

TEST_F(InputTest, TheWheelCarriesClientCoordinates) {
    int left, top, width, height;
    ASSERT_TRUE(GetWindowGeometry(x, window, left, top, width, height));
    ASSERT_TRUE(left != 0 || top != 0);  // else client and screen would agree
    MovePointer(x, window, 200, 150);
    ASSERT_TRUE(WaitFor([] { return GetMousePosX() == 200 && GetMousePosY() == 150; }));
    MouseHook(0, MsgMouseMove, 0, 0);  // forget the motion's position
    HoldButton(x, 4, true);
    HoldButton(x, 4, false);
    EXPECT_TRUE(WaitFor([] { return GetMousePosX() == 200 && GetMousePosY() == 150; }));
}

TEST_F(InputTest, HeldKeysReadDownWhileHeld) {
    for (const auto& [key, vk] : {std::pair{XK_Left, 37}, std::pair{XK_Escape, 27}, std::pair{XK_a, 65},
                                  std::pair{XK_KP_Enter, 13}}) {
        EXPECT_FALSE(KeyIsHeld(vk));
        HoldKey(x, key, true);
        EXPECT_TRUE(WaitFor([vk = vk] { return KeyIsHeld(vk); })) << vk;
        HoldKey(x, key, false);
        EXPECT_TRUE(WaitFor([vk = vk] { return !KeyIsHeld(vk); })) << vk;
    }
    EXPECT_FALSE(KeyIsHeld(0));
    EXPECT_FALSE(KeyIsHeld(-5));
    EXPECT_FALSE(KeyIsHeld(100000));
}

TEST(HeldKeys, WithoutAnXServerNothingIsHeld) {
    const char* saved = std::getenv("DISPLAY");
    const std::string display = saved ? saved : "";
    setenv("DISPLAY", ":65000", 1);
    EXPECT_FALSE(KeyIsHeld(27));
    setenv("DISPLAY", display.c_str(), 1);
}

}  // namespace
