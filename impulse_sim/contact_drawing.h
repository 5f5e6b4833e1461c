// Marks contact points on the draw page. StepWorld calls it for every pair
// that touches; the simulator's drawing unit defines it, and headless builds
// (tests, benchmarks) link the no-op of no_contact_drawing.cpp instead.
#pragma once

#include <cstdint>

#include "collision.h"

void DrawContacts(const TContactPoints& contacts, int32_t count, uint32_t color);
