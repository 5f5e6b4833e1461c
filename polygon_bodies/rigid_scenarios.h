// The five scenarios of box_scenarios and the column of polygon_drag, built
// into the engine's tables for a window with the given right and bottom edges.
#pragma once

#include <cstdint>

#include "random_source.h"
#include "rigid_engine.h"

constexpr int32_t RigidScenarioCount = 5;

// Fills RigidBodies with scenario number (0..4) and sets LastBodyIndex; the
// table must be cleared first. Body 0 is always the fixed floor.
void BuildRigidScenario(int32_t number, double rightEdge, double bottomEdge, TRandomSource& random);

// Fills CrowdBodies: 101 random polygons in a column over the window's
// middle, body i 40 i pixels higher than body 0, the top one far above.
void BuildCrowdColumn(double rightEdge, double bottomEdge, TRandomSource& random);
