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

inline void StartScene(int32_t scene, const TSwitches& s, uint32_t seed = 1) {
    ClearWorld();
    SetWorld({0, -9.8}, 10, s.PositionCorrection, s.WarmStarting, s.SplitImpulses,
             s.AccumulateImpulses);
    TRandomSource random;
    SeedRandom(random, seed);
    BuildScene(scene, random);
}
