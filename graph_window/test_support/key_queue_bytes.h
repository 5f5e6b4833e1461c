// The keyboard unit's queue as a test reads it: every queued byte in order,
// taken straight from the ring without waiting.
#pragma once

#include <cstdint>
#include <vector>

#include "keyboard_unit.h"

using TKeyBytes = std::vector<uint8_t>;

inline TKeyBytes DrainKeyQueue() {
    TKeyBytes out;
    while (KeyQueueHead != KeyQueueTail) {
        out.push_back(KeyQueueSlots[KeyQueueHead]);
        KeyQueueHead = StepKeyQueueIndex(KeyQueueHead);
    }
    return out;
}
