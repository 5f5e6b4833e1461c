#include "keyboard_unit.h"

#include <gtest/gtest.h>

#include <vector>

#include "graph_unit.h"
#include "test_support/key_queue_bytes.h"

namespace {

using Bytes = TKeyBytes;

// The bytes first to last.
Bytes ByteRun(uint8_t first, uint8_t last) {
    Bytes out;
    for (int b = first; b <= last; ++b) out.push_back(static_cast<uint8_t>(b));
    return out;
}

constexpr uint32_t Ctrl = KeyModControl, Alt = KeyModAlt;

TEST(KeyQueue, ThirtyOneBytesFitAndTheOldestKeyMakesRoom) {
    ResetKeyQueue();
    for (uint8_t b : ByteRun(1, 31)) QueueKeyByte(b);
    EXPECT_EQ(DrainKeyQueue(), ByteRun(1, 31));

    ResetKeyQueue();
    for (uint8_t b : ByteRun(1, 32)) QueueKeyByte(b);
    EXPECT_EQ(DrainKeyQueue(), ByteRun(2, 32));
}

TEST(KeyQueue, AnExtendedPairIsDroppedWhole) {
    ResetKeyQueue();
    QueueExtendedKey(72);
    for (uint8_t b : ByteRun(1, 29)) QueueKeyByte(b);  // 31 bytes: full
    QueueKeyByte(99);
    Bytes expected = ByteRun(1, 29);
    expected.push_back(99);
    EXPECT_EQ(DrainKeyQueue(), expected);
}

TEST(KeyQueue, ALoneZeroIsDroppedWithTheByteAfterIt) {
    ResetKeyQueue();
    QueueKeyByte(0);  // a character message carrying 0
    QueueKeyByte('a');
    for (uint8_t b : ByteRun(1, 29)) QueueKeyByte(b);
    QueueKeyByte(0);  // full: the lone 0 goes with the 'a' after it
    Bytes expected = ByteRun(1, 29);
    expected.push_back(0);
    EXPECT_EQ(DrainKeyQueue(), expected);
}

TEST(KeyQueue, KeepsOrderAcrossTheWrap) {
    ResetKeyQueue();
    for (int round = 0; round < 5; ++round) {
        for (uint8_t b : ByteRun(100, 119)) QueueKeyByte(b);
        EXPECT_EQ(DrainKeyQueue(), ByteRun(100, 119));
    }
}

TEST(KeyboardHook, MessagesReachTheQueue) {
    InitKeyboardUnit();
    ASSERT_EQ(KeyboardHook, &KeyboardMessageHook);
    QueueKeyByte(5);
    EXPECT_EQ(KeyboardHook(0, MsgCreate, 0, 0), 0u);
    EXPECT_TRUE(DrainKeyQueue().empty());  // a new window starts with an empty queue

    KeyboardHook(0, MsgClose, 0, 0);
    KeyboardHook(0, MsgChar, 0x161, 0);  // only the low byte
    KeyModifierState = Ctrl;
    KeyboardHook(0, MsgKeyDown, 17, 0);
    KeyboardHook(0, MsgKeyDown, 9, 0);
    KeyModifierState = Alt;
    KeyboardHook(0, MsgSysKeyDown, 18, 0);
    KeyboardHook(0, MsgSysKeyDown, 115, 0);
    KeyboardHook(0, MsgSysChar, 'x', 0);
    KeyboardHook(0, MsgMouseMove, 0, 0);
    KeyModifierState = 0;
    KeyboardHook(0, MsgDestroy, 0, 0);
    EXPECT_EQ(DrainKeyQueue(), (Bytes{0, 107, 0x61, 30, 0, 107}));
}

TEST(KeyboardUnit, WaitWithoutWindowReturnsAtOnceAndTakesNothing) {
    ASSERT_FALSE(GraphWindowIsOpen());
    ResetKeyQueue();
    QueueKeyByte(27);
    EXPECT_TRUE(KeyWaiting());
    EXPECT_EQ(WaitKeyByte(), 0);
    EXPECT_TRUE(KeyWaiting());
    EXPECT_EQ(DrainKeyQueue(), Bytes{27});
    EXPECT_FALSE(KeyWaiting());
}

}  // namespace
