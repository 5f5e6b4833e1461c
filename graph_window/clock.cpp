#include <chrono>
#include <thread>

#include "tavrel.h"

uint32_t TickCount() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void PauseMilliseconds(uint16_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
