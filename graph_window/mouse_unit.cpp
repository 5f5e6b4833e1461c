#include "mouse_unit.h"

#include "graph_unit.h"

namespace TavrelInternal {
std::atomic<uint16_t> MouseButtonWord{0};
std::atomic<int16_t> MouseX{0}, MouseY{0};
}  // namespace TavrelInternal

namespace {

// Bits of the button word: left, right, middle, Shift, Ctrl.
uint16_t ButtonWordOf(uint32_t flags) {
    return static_cast<uint16_t>(((flags & MkLButton) ? 1u : 0u) | ((flags & MkRButton) ? 2u : 0u) |
                                 ((flags & MkMButton) ? 4u : 0u) | ((flags & MkShift) ? 8u : 0u) |
                                 ((flags & MkControl) ? 16u : 0u));
}

}  // namespace

uint32_t MouseMessageHook(uint32_t, uint32_t message, uint32_t wParam, uint32_t lParam) {
    if (!IsMouseMessage(message)) return 0;
    // Every one replaces the whole state with what it carries.
    MouseButtonWord.store(ButtonWordOf(wParam), std::memory_order_relaxed);
    MouseX.store(static_cast<int16_t>(lParam & 0xFFFFu), std::memory_order_relaxed);
    MouseY.store(static_cast<int16_t>(lParam >> 16), std::memory_order_relaxed);
    return 0;
}

void InitMouseUnit() { MouseHook = MouseMessageHook; }

uint16_t GetMouseButtonState() { return MouseButtonWord.load(std::memory_order_relaxed); }
int16_t GetMousePosX() { return MouseX.load(std::memory_order_relaxed); }
int16_t GetMousePosY() { return MouseY.load(std::memory_order_relaxed); }
