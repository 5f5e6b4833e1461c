#include "keyboard_unit.h"

#include "graph_unit.h"

namespace TavrelInternal {
std::array<uint8_t, KeyQueueSize + 1> KeyQueueSlots{};
std::atomic<int32_t> KeyQueueHead{0}, KeyQueueTail{0};
// A process-wide lock rather than one made per window: a reader that is just
// entering it while the window goes away never meets a destroyed lock.
std::recursive_mutex KeyboardLock;
}  // namespace TavrelInternal

namespace {

// Keys whose rule is "first modifier, second modifier, else", 0 meaning that
// nothing is queued. Most rows test Ctrl before Alt; AltFirst rows the reverse.
struct TKeyRule {
    uint8_t VirtualKey;
    bool AltFirst;
    uint8_t Ctrl, Alt, Plain;
};

constexpr std::array<TKeyRule, 21> KeyRules{{
    {8, true, 0, 14, 0},          // Backspace
    {12, false, 143, 76, 76},     // Clear
    {13, true, 0, 166, 0},        // Enter
    {19, true, 0, 169, 12},       // Pause
    {32, true, 0, 11, 0},         // Space
    {33, false, 132, 153, 73},    // Page Up
    {34, false, 118, 161, 81},    // Page Down
    {35, false, 117, 165, 79},    // End
    {36, false, 119, 164, 71},    // Home
    {37, false, 115, 155, 75},    // Left
    {38, false, 141, 152, 72},    // Up
    {39, false, 116, 157, 77},    // Right
    {40, false, 145, 160, 80},    // Down
    {45, false, 146, 162, 82},    // Insert
    {46, false, 147, 163, 83},    // Delete
    {93, false, 151, 151, 151},   // Application menu
    {106, false, 149, 70, 0},     // Keypad *
    {107, false, 144, 78, 0},     // Keypad +
    {109, false, 142, 74, 0},     // Keypad -
    {110, false, 150, 114, 0},    // Keypad .
    {111, false, 148, 69, 0},     // Keypad /
}};

// PC scan codes of the letters A to Z, the Alt+letter codes.
constexpr std::array<uint8_t, 26> LetterScanCodes{30, 48, 46, 32, 18, 33, 34, 35, 23,
                                                  36, 37, 38, 50, 49, 24, 25, 16, 19,
                                                  31, 20, 22, 47, 17, 45, 21, 44};

void QueueCode(uint8_t code) {
    if (code != 0) QueueExtendedKey(code);
}

}  // namespace

void ResetKeyQueue() {
    std::lock_guard<std::recursive_mutex> hold(KeyboardLock);
    KeyQueueHead = 1;
    KeyQueueTail = 1;
}

int32_t StepKeyQueueIndex(int32_t index) { return index >= KeyQueueSize ? 1 : index + 1; }

void QueueKeyByte(uint8_t b) {
    std::lock_guard<std::recursive_mutex> hold(KeyboardLock);
    int32_t tail = KeyQueueTail;
    KeyQueueSlots[tail] = b;
    tail = StepKeyQueueIndex(tail);
    KeyQueueTail = tail;
    if (tail != KeyQueueHead) return;
    // Full: the new byte stays, the oldest key goes, with its code byte when it
    // is an extended pair.
    int32_t head = KeyQueueHead;
    if (KeyQueueSlots[head] == 0) head = StepKeyQueueIndex(head);
    KeyQueueHead = StepKeyQueueIndex(head);
}

void QueueExtendedKey(uint8_t code) {
    QueueKeyByte(0);
    QueueKeyByte(code);
}

void TranslateVirtualKey(int32_t vk) {
    const bool shift = KeyModifierState & KeyModShift;
    const bool ctrl = KeyModifierState & KeyModControl;
    const bool alt = KeyModifierState & KeyModAlt;
    if (vk == 9) {
        if (ctrl) QueueKeyByte(30);
        return;
    }
    if (vk >= 112 && vk <= 121) {  // F1 to F10
        QueueCode(static_cast<uint8_t>(shift ? vk - 28 : ctrl ? vk - 18 : alt ? vk - 8 : vk - 53));
        return;
    }
    if (vk == 122 || vk == 123) {  // F11, F12
        QueueCode(static_cast<uint8_t>(shift ? vk + 13 : ctrl ? vk + 15 : alt ? vk + 17 : vk + 11));
        return;
    }
    if (vk >= 48 && vk <= 57) {  // main-keyboard digits: Ctrl and Alt each give a pair
        if (ctrl) QueueCode(static_cast<uint8_t>(vk == 48 ? 10 : vk - 48));
        if (alt) QueueCode(static_cast<uint8_t>(vk == 48 ? 129 : vk + 71));
        return;
    }
    if (vk >= 65 && vk <= 90) {
        if (alt) QueueCode(LetterScanCodes[vk - 65]);
        return;
    }
    for (const TKeyRule& rule : KeyRules) {
        if (rule.VirtualKey != vk) continue;
        if (rule.AltFirst)
            QueueCode(alt ? rule.Alt : ctrl ? rule.Ctrl : rule.Plain);
        else
            QueueCode(ctrl ? rule.Ctrl : alt ? rule.Alt : rule.Plain);
        return;
    }
}

uint32_t KeyboardMessageHook(uint32_t, uint32_t message, uint32_t wParam, uint32_t) {
    switch (message) {
        case MsgCreate: ResetKeyQueue(); break;  // keys of an earlier window are lost
        case MsgClose: QueueExtendedKey(107); break;
        case MsgKeyDown:
            if (wParam != 16 && wParam != 17) TranslateVirtualKey(static_cast<int32_t>(wParam));
            break;
        case MsgChar: QueueKeyByte(static_cast<uint8_t>(wParam & 0xFFu)); break;
        case MsgSysKeyDown:
            if (wParam != 18) TranslateVirtualKey(static_cast<int32_t>(wParam));
            break;
        default: break;
    }
    return 0;
}

void InitKeyboardUnit() { KeyboardHook = KeyboardMessageHook; }

bool KeyWaiting() { return KeyQueueHead != KeyQueueTail; }

uint8_t WaitKeyByte() {
    if (!GraphWindowIsOpen()) return 0;
    while (KeyQueueHead == KeyQueueTail) PauseMilliseconds(10);
    std::lock_guard<std::recursive_mutex> hold(KeyboardLock);
    const int32_t head = KeyQueueHead;
    const uint8_t b = KeyQueueSlots[head];
    KeyQueueHead = StepKeyQueueIndex(head);
    return b;
}
