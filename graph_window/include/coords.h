// Real coordinates reach the library's 16-bit arguments through here: nearest
// integer with halves to even, saturated so that NaN and huge values never
// reach an integer conversion, then the low 16 bits.
#pragma once

#include <cmath>
#include <cstdint>

constexpr double CoordLimit = 2147483647.0;

inline int32_t SafeRound(double v) {
    if (std::isnan(v)) return 0;
    if (std::fabs(v) > CoordLimit) return v > 0 ? 2147483647 : -2147483647;
    return static_cast<int32_t>(std::nearbyint(v));  // default rounding: ties to even
}

inline int16_t RealToCoord(double v) {
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(SafeRound(v))));
}
