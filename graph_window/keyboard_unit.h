// The keyboard unit's queue and hook, shared with the platform layer and the
// tests. Programs use KeyWaiting, WaitKeyByte and PauseMilliseconds of tavrel.h.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

#include "platform/window_system.h"

// A ring of 32 byte slots numbered 1 to 32 (slot 0 is never used). Empty when
// head equals tail, so it holds at most 31 bytes. Both indices are 0 until the
// first window empties the queue. Only the window thread moves the tail; the
// head moves on both threads, always under KeyboardLock; the reader's
// emptiness tests load the indices without the lock.
constexpr int32_t KeyQueueSize = 32;
namespace TavrelInternal {
extern std::array<uint8_t, KeyQueueSize + 1> KeyQueueSlots;
extern std::atomic<int32_t> KeyQueueHead, KeyQueueTail;
extern std::recursive_mutex KeyboardLock;
}  // namespace TavrelInternal
using namespace TavrelInternal;

// TranslateVirtualKey reads the modifiers from KeyModifierState, which the
// window system sets from the key event before handing its messages over.

void ResetKeyQueue();
int32_t StepKeyQueueIndex(int32_t index);
void QueueKeyByte(uint8_t b);
void QueueExtendedKey(uint8_t code);
void TranslateVirtualKey(int32_t virtualKey);
uint32_t KeyboardMessageHook(uint32_t window, uint32_t message, uint32_t wParam, uint32_t lParam);
