// Pages are compared and refilled in blocks of 64 bytes, one cache line: a
// block left unwritten stays cheap for another core to read.
#pragma once

#include <cstdint>
#include <cstring>

constexpr int32_t ByteBlock = 64;

// Eight word compares the compiler turns into a few vector ones, without a
// call: the blocks are many and short.
inline bool SameByteBlock(const uint8_t* a, const uint8_t* b) {
    uint64_t diff = 0;
    for (int32_t i = 0; i < ByteBlock; i += 8) {
        uint64_t u, v;
        std::memcpy(&u, a + i, 8);
        std::memcpy(&v, b + i, 8);
        diff |= u ^ v;
    }
    return diff == 0;
}
