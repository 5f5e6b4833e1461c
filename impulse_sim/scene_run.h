// Scenes run headless by tests and benchmarks, stepped as the programs step
// them: one StepWorld of StepDuration per frame.
#pragma once

#include "scenes.h"
#include "world.h"

constexpr int32_t StepsPerSecond = 60;

struct TSwitches {
    bool PositionCorrection, WarmStarting, SplitImpulses, AccumulateImpulses;
};

constexpr TSwitches DefaultSwitches = {true, false, false, true};

// Combination 0..15 of the four switches, one bit each in declaration order.
constexpr TSwitches SwitchCombination(int32_t bits) {
    return {(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0, (bits & 8) != 0};
}

// A seed whose first draw gives the cradle bobs n vertices.
inline uint32_t SeedForCradleShape(int32_t n) {
    for (uint32_t seed = 0;; seed++) {
        TRandomSource random;
        SeedRandom(random, seed);
        if (RandomBelow(random, 9) + 1 == n) return seed;
    }
}

inline void StartScene(int32_t scene, const TSwitches& s, uint32_t seed = 1) {
    ClearWorld();
    SetWorld({0, -9.8}, 10, s.PositionCorrection, s.WarmStarting, s.SplitImpulses,
             s.AccumulateImpulses);
    TRandomSource random;
    SeedRandom(random, seed);
    BuildScene(scene, random);
}
