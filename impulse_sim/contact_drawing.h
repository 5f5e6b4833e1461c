// Marks contact points on the draw page. StepWorld calls the hook for every
// pair that touches; a front end that shows contact points sets it, and
// headless runs (tests, benchmarks) leave it empty and draw nothing.
#pragma once

#include <cstdint>

#include "collision.h"

using TContactDrawHook = void (*)(const TContactPoints& contacts, int32_t count);
extern TContactDrawHook ContactDrawHook;
