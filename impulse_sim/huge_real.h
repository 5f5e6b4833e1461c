// The simulator's infinity. The two programs differ only in its value: each
// chooses it once at start-up, before it builds a scene.
#pragma once

struct THugeReal {
    long double Value;  // every comparison uses the extended value
    double Stored;      // results that are stored get the double one
};

constexpr THugeReal FullHugeReal{1e30L, 1e30};   // impulse_sim
constexpr THugeReal BasicHugeReal{1e40L, 1e40};  // impulse_sim_basic

// A body made with the mass Stored must come out static.
static_assert(static_cast<long double>(FullHugeReal.Stored) >= FullHugeReal.Value);
static_assert(static_cast<long double>(BasicHugeReal.Stored) >= BasicHugeReal.Value);

// FullHugeReal's until UseHugeReal chooses.
extern long double HugeReal;
extern double HugeRealStored;

void UseHugeReal(const THugeReal& huge);
