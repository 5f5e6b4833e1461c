#include "keyboard_unit.h"

#include <gtest/gtest.h>

#include <vector>

#include "graph_unit.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Drain() {
    Bytes out;
    while (KeyQueueHead != KeyQueueTail) {
        out.push_back(KeyQueueSlots[KeyQueueHead]);
        KeyQueueHead = StepKeyQueueIndex(KeyQueueHead);
    }
    return out;
}

// The bytes first to last.
Bytes ByteRun(uint8_t first, uint8_t last) {
    Bytes out;
    for (int b = first; b <= last; ++b) out.push_back(static_cast<uint8_t>(b));
    return out;
}

constexpr uint32_t None = 0, Shift = KeyModShift, Ctrl = KeyModControl, Alt = KeyModAlt;

Bytes Translate(int32_t vk, uint32_t modifiers) {
    ResetKeyQueue();
    KeyModifierState = modifiers;
    TranslateVirtualKey(vk);
    KeyModifierState = 0;
    return Drain();
}

struct TRow {
    int32_t Vk;
    uint32_t Modifiers;
    Bytes Expected;
};

void ExpectRows(const std::vector<TRow>& rows) {
    for (const TRow& row : rows)
        EXPECT_EQ(Translate(row.Vk, row.Modifiers), row.Expected)
            << "vk " << row.Vk << " modifiers " << row.Modifiers;
}

TEST(KeyTranslation, NavigationKeys) {
    ExpectRows({
        {38, None, {0, 72}},   {40, None, {0, 80}},   {37, None, {0, 75}},   {39, None, {0, 77}},
        {38, Ctrl, {0, 141}},  {38, Alt, {0, 152}},   {40, Ctrl, {0, 145}},  {40, Alt, {0, 160}},
        {37, Ctrl, {0, 115}},  {37, Alt, {0, 155}},   {39, Ctrl, {0, 116}},  {39, Alt, {0, 157}},
        {33, None, {0, 73}},   {33, Ctrl, {0, 132}},  {33, Alt, {0, 153}},   {34, None, {0, 81}},
        {34, Ctrl, {0, 118}},  {34, Alt, {0, 161}},   {35, None, {0, 79}},   {35, Ctrl, {0, 117}},
        {35, Alt, {0, 165}},   {36, None, {0, 71}},   {36, Ctrl, {0, 119}},  {36, Alt, {0, 164}},
        {45, None, {0, 82}},   {45, Ctrl, {0, 146}},  {45, Alt, {0, 162}},   {46, None, {0, 83}},
        {46, Ctrl, {0, 147}},  {46, Alt, {0, 163}},   {12, None, {0, 76}},   {12, Ctrl, {0, 143}},
        {12, Alt, {0, 76}},    {93, None, {0, 151}},  {93, Ctrl | Alt, {0, 151}},
        // Ctrl is tested before Alt; Shift does not count.
        {38, Ctrl | Alt, {0, 141}}, {38, Shift, {0, 72}},
    });
}

TEST(KeyTranslation, KeysThatGiveOnlyWithModifiers) {
    ExpectRows({
        {8, None, {}},        {8, Ctrl, {}},          {8, Alt, {0, 14}},      {8, Ctrl | Alt, {0, 14}},
        {9, None, {}},        {9, Shift, {}},         {9, Ctrl, {30}},        {9, Alt, {}},
        {13, None, {}},       {13, Ctrl, {}},         {13, Alt, {0, 166}},    {32, None, {}},
        {32, Alt, {0, 11}},   {32, Ctrl | Alt, {0, 11}},
        {19, None, {0, 12}},  {19, Ctrl, {}},         {19, Alt, {0, 169}},    {19, Ctrl | Alt, {0, 169}},
        {106, None, {}},      {106, Ctrl, {0, 149}},  {106, Alt, {0, 70}},    {107, None, {}},
        {107, Ctrl, {0, 144}}, {107, Alt, {0, 78}},   {107, Ctrl | Alt, {0, 144}},
        {109, Ctrl, {0, 142}}, {109, Alt, {0, 74}},   {110, Ctrl, {0, 150}},  {110, Alt, {0, 114}},
        {111, Ctrl, {0, 148}}, {111, Alt, {0, 69}},   {109, None, {}},        {110, None, {}},
        {111, None, {}},
    });
}

TEST(KeyTranslation, FunctionKeys) {
    ExpectRows({
        {112, None, {0, 59}},  {112, Shift, {0, 84}},  {112, Ctrl, {0, 94}},  {112, Alt, {0, 104}},
        {115, Alt, {0, 107}},  {121, None, {0, 68}},   {121, Shift, {0, 93}}, {121, Ctrl, {0, 103}},
        {121, Alt, {0, 113}},  {122, None, {0, 133}},  {122, Shift, {0, 135}}, {122, Ctrl, {0, 137}},
        {122, Alt, {0, 139}},  {123, None, {0, 134}},  {123, Shift, {0, 136}}, {123, Ctrl, {0, 138}},
        {123, Alt, {0, 140}},
        // Shift before Ctrl before Alt.
        {112, Shift | Ctrl | Alt, {0, 84}}, {123, Ctrl | Alt, {0, 138}},
    });
}

TEST(KeyTranslation, DigitsAndLetters) {
    ExpectRows({
        {48, None, {}},          {48, Ctrl, {0, 10}},     {48, Alt, {0, 129}},    {49, Ctrl, {0, 1}},
        {57, Ctrl, {0, 9}},      {49, Alt, {0, 120}},     {57, Alt, {0, 128}},
        {53, Ctrl | Alt, {0, 5, 0, 124}},                 {53, Shift, {}},
        {65, None, {}},          {65, Ctrl, {}},          {65, Alt, {0, 30}},     {65, Ctrl | Alt, {0, 30}},
        {77, Alt, {0, 50}},      {81, Alt, {0, 16}},      {88, Alt, {0, 45}},     {90, Alt, {0, 44}},
    });
}

TEST(KeyTranslation, KeysWithoutRule) {
    for (int32_t vk : {0, 3, 7, 16, 17, 18, 20, 27, 96, 105, 108, 124, 135, 255, 256, 1000, -1})
        for (uint32_t modifiers : {None, Shift, Ctrl, Alt, Ctrl | Alt})
            EXPECT_TRUE(Translate(vk, modifiers).empty()) << "vk " << vk << " modifiers " << modifiers;
}

TEST(KeyQueue, ThirtyOneBytesFitAndTheOldestKeyMakesRoom) {
    ResetKeyQueue();
    for (uint8_t b : ByteRun(1, 31)) QueueKeyByte(b);
    EXPECT_EQ(Drain(), ByteRun(1, 31));

    ResetKeyQueue();
    for (uint8_t b : ByteRun(1, 32)) QueueKeyByte(b);
    EXPECT_EQ(Drain(), ByteRun(2, 32));
}

TEST(KeyQueue, AnExtendedPairIsDroppedWhole) {
    ResetKeyQueue();
    QueueExtendedKey(72);
    for (uint8_t b : ByteRun(1, 29)) QueueKeyByte(b);  // 31 bytes: full
    QueueKeyByte(99);
    Bytes expected = ByteRun(1, 29);
    expected.push_back(99);
    EXPECT_EQ(Drain(), expected);
}

TEST(KeyQueue, ALoneZeroIsDroppedWithTheByteAfterIt) {
    ResetKeyQueue();
    QueueKeyByte(0);  // a character message carrying 0
    QueueKeyByte('a');
    for (uint8_t b : ByteRun(1, 29)) QueueKeyByte(b);
    QueueKeyByte(0);  // full: the lone 0 goes with the 'a' after it
    Bytes expected = ByteRun(1, 29);
    expected.push_back(0);
    EXPECT_EQ(Drain(), expected);
}

TEST(KeyQueue, KeepsOrderAcrossTheWrap) {
    ResetKeyQueue();
    for (int round = 0; round < 5; ++round) {
        for (uint8_t b : ByteRun(100, 119)) QueueKeyByte(b);
        EXPECT_EQ(Drain(), ByteRun(100, 119));
    }
}

TEST(KeyboardHook, MessagesReachTheQueue) {
    InitKeyboardUnit();
    ASSERT_EQ(KeyboardHook, &KeyboardMessageHook);
    QueueKeyByte(5);
    EXPECT_EQ(KeyboardHook(0, MsgCreate, 0, 0), 0u);
    EXPECT_TRUE(Drain().empty());  // a new window starts with an empty queue

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
    EXPECT_EQ(Drain(), (Bytes{0, 107, 0x61, 30, 0, 107}));
}

TEST(KeyboardUnit, WaitWithoutWindowReturnsAtOnceAndTakesNothing) {
    ASSERT_FALSE(GraphWindowIsOpen());
    ResetKeyQueue();
    QueueKeyByte(27);
    EXPECT_TRUE(KeyWaiting());
    EXPECT_EQ(WaitKeyByte(), 0);
    EXPECT_TRUE(KeyWaiting());
    EXPECT_EQ(Drain(), Bytes{27});
    EXPECT_FALSE(KeyWaiting());
}

}  // namespace
