// Balls that collide at their time of impact: the simulation of
// two_ball_collision and particle_gas. The window's extents come in as
// arguments (GetRightEdge, GetBottomEdge), so it runs without a window.
#pragma once

#include <array>
#include <cstdint>

#include "random_source.h"

struct TMassBall {
    double X, Y;    // centre, window pixels, y downwards
    double VX, VY;  // pixels per time unit
    double R;
    double M;
};

// What sets the two programs' impact tests apart.
struct TImpactRule {
    bool GrazingCounts;   // a discriminant of exactly 0 still gives a time
    bool ZeroTimeCounts;  // a response is due at t = 0 and t = TimeStep too
    double TimeStep;      // simulated time of one frame
};
constexpr TImpactRule TwoBallRule{true, false, 0.1};
constexpr TImpactRule GasRule{false, true, 0.008};

// When ball i would touch ball j, in time units: -1 when they overlap
// already, -2 when they never meet within one time unit.
double ImpactTime(const TMassBall& i, const TMassBall& j, const TImpactRule& rule);
bool ImpactDue(double t, const TImpactRule& rule);
// The elastic collision along the line of centres, seen from ball j;
// positions stay. Coincident centres take the line (1, 0).
void CollideElastic(TMassBall& i, TMassBall& j);

// Moves the ball by one frame's step.
void MoveMassBall(TMassBall& b, double timeStep);
// A ball within R of an edge has its velocity component turned back, but
// only while it still points towards that edge: turned every frame it stays
// there, a ball would be trapped in the edge band.
void BounceOffEdges(TMassBall& b, double right, double bottom);

// ---- two_ball_collision

constexpr int32_t TwoBallCapacity = 11;
extern std::array<TMassBall, TwoBallCapacity> TwoBalls;

// The small ball in the middle with a random velocity (two draws, X then
// Y), the large one at a quarter of the width.
void PlaceTwoBalls(double right, double bottom, TRandomSource& random);
// Move, edges, impact of ball 0 with ball 1.
void StepTwoBalls(double right, double bottom);
// Up and Down speed ball 1 up and down by 1 %; Right and Left turn it by
// 5 degrees (clockwise and anticlockwise on the screen). Others do nothing.
void SteerBigBall(uint8_t key);

// ---- particle_gas

constexpr int32_t GasCapacity = 101;
constexpr int32_t GasParticleCount = 100;
extern std::array<TMassBall, GasCapacity> GasParticles;

// The 100 particles on the points of a 10 x 10 grid in random order, speed
// 30 in a random direction. The grid's points lie at least 2R apart only
// from extents of 220 on; below that false, with nothing placed, where
// placing would go on for ever.
bool PlaceGasParticles(double right, double bottom, TRandomSource& random);
// Every pair of the count particles by its time of impact, then each
// particle moved and bounced.
void StepGas(TMassBall* particles, int32_t count, double right, double bottom);
