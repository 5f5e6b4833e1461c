// The one random source of a program: uniform integers in 0..n-1. Programs
// seed ProgramRandom from the tick counter; tests seed a source of their own
// with a constant so that random scenes repeat.
#pragma once

#include <cstdint>

struct TRandomSource {
    uint64_t State;
};

inline TRandomSource ProgramRandom{};

inline void SeedRandom(TRandomSource& random, uint32_t seed) { random.State = seed; }

// Uniform in 0..n-1; 0 when n is not positive. The 64-bit mixing step keeps
// neighbouring seeds (consecutive tick counts) from giving similar sequences.
inline int32_t RandomBelow(TRandomSource& random, int32_t n) {
    random.State += 0x9E3779B97F4A7C15ull;
    uint64_t z = random.State;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    if (n <= 0) return 0;
    return static_cast<int32_t>(((z >> 32) * static_cast<uint64_t>(n)) >> 32);
}
