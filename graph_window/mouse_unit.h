// The mouse unit's state and hook. The window thread writes the three values
// one after the other and the program thread reads them without a lock, so a
// reader may pair the button word of one message with the position of the next.
#pragma once

#include <atomic>
#include <cstdint>

namespace TavrelInternal {
extern std::atomic<uint16_t> MouseButtonWord;
extern std::atomic<int16_t> MouseX, MouseY;
}  // namespace TavrelInternal
using namespace TavrelInternal;

uint32_t MouseMessageHook(uint32_t window, uint32_t message, uint32_t wParam, uint32_t lParam);
