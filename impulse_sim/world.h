// The world of the impulse simulator: global tables of bodies, pin joints and
// the contact pairs of the last step, all indexed from 1 (slot 0 is never
// used), the solver settings, and the fixed-step update.
#pragma once

#include <array>
#include <cstdint>

#include "body.h"
#include "collision.h"
#include "solver.h"

// The simulated time of one frame.
constexpr double StepDuration = 1.0 / 60.0;

extern std::array<TWorldBody, WorldCapacity + 1> WorldBodies;
extern int32_t WorldBodyCount;
extern std::array<TPinJoint, WorldCapacity + 1> WorldJoints;
extern int32_t WorldJointCount;
extern std::array<TContactPair, WorldCapacity + 1> WorldContactPairs;
extern int32_t WorldContactPairCount;

extern TVec2 WorldGravity;
extern int32_t SolverIterations;
extern bool PositionCorrection;  // bias that removes penetration and joint gaps
extern bool WarmStarting;        // joints start from last step's impulse
extern bool SplitImpulses;       // penetration removed through pseudo velocities
extern bool AccumulateImpulses;  // contact impulses clamped as running totals

void SetWorld(const TVec2& gravity, int32_t iterations, bool positionCorrection, bool warmStarting,
              bool splitImpulses, bool accumulateImpulses);
// Both return false, and change nothing, when the table is full.
bool AddWorldBody(const TWorldBody& body);
bool AddWorldJoint(const TPinJoint& joint);
// Empties the body and joint tables; nothing else is reset.
void ClearWorld();
void StepWorld(double dt);
