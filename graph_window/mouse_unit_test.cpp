#include "mouse_unit.h"

#include <gtest/gtest.h>

#include <array>

#include "graph_unit.h"

namespace {

uint32_t Position(int16_t x, int16_t y) {
    return (static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16) | static_cast<uint16_t>(x);
}

TEST(MouseUnit, EveryMouseMessageReplacesTheWholeState) {
    InitMouseUnit();
    ASSERT_EQ(MouseHook, &MouseMessageHook);
    EXPECT_EQ(MouseHook(0, MsgLButtonDown, MkLButton | MkShift, Position(10, 20)), 0u);
    EXPECT_EQ(GetMouseButtonState(), 1 | 8);
    EXPECT_EQ(GetMousePosX(), 10);
    EXPECT_EQ(GetMousePosY(), 20);

    MouseHook(0, MsgLButtonUp, MkShift, Position(11, 21));
    EXPECT_EQ(GetMouseButtonState(), 8);

    // Every flag goes to its own bit; others are ignored.
    MouseHook(0, MsgMouseMove, MkRButton | MkMButton | MkControl | 0x20 | 0x10000, Position(1, 2));
    EXPECT_EQ(GetMouseButtonState(), 2 | 4 | 16);
    MouseHook(0, MsgRButtonDown, MkRButton, Position(3, 4));
    MouseHook(0, MsgRButtonUp, 0, Position(3, 4));
    MouseHook(0, MsgMButtonDown, MkMButton, Position(3, 4));
    EXPECT_EQ(GetMouseButtonState(), 4);
    MouseHook(0, MsgMButtonUp, 0, Position(5, 6));
    EXPECT_EQ(GetMouseButtonState(), 0);
    EXPECT_EQ(GetMousePosX(), 5);
    EXPECT_EQ(GetMousePosY(), 6);
}

TEST(MouseUnit, PositionsLeftOfOrAboveTheClientAreReadNegative) {
    MouseMessageHook(0, MsgMouseWheel, MkLButton, Position(-3, -32768));
    EXPECT_EQ(GetMousePosX(), -3);
    EXPECT_EQ(GetMousePosY(), -32768);
    EXPECT_EQ(GetMouseButtonState(), 1);
}

TEST(MouseUnit, OtherMessagesChangeNothing) {
    MouseMessageHook(0, MsgMouseMove, MkLButton, Position(7, 8));
    for (uint32_t message : std::array<uint32_t, 8>{MsgCreate, MsgDestroy, MsgKeyDown, MsgChar, 515, 518, 521, 523})
        MouseMessageHook(0, message, MkRButton, Position(100, 100));
    EXPECT_EQ(GetMouseButtonState(), 1);
    EXPECT_EQ(GetMousePosX(), 7);
    EXPECT_EQ(GetMousePosY(), 8);
}

}  // namespace
