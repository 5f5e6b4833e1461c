// The simulator's infinity. The two programs differ only in its value, so each
// links a build of the core made with its own IMPULSE_HUGE_REAL (see
// CMakeLists.txt); the definition comes with the library target, which keeps
// every file of one program on the same value.
#pragma once

#ifndef IMPULSE_HUGE_REAL
#error "link impulse_core or impulse_core_basic: they define IMPULSE_HUGE_REAL"
#endif

#define IMPULSE_JOIN_SUFFIX(x, s) x##s
#define IMPULSE_LONG_LITERAL(x) IMPULSE_JOIN_SUFFIX(x, L)

// Every comparison uses the extended value; results that are stored get the
// double one.
constexpr long double HugeReal = IMPULSE_LONG_LITERAL(IMPULSE_HUGE_REAL);
constexpr double HugeRealStored = IMPULSE_HUGE_REAL;

// A body made with the mass HugeRealStored must come out static.
static_assert(static_cast<long double>(HugeRealStored) >= HugeReal);
