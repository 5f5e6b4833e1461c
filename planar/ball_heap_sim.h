// The balls of ball_heap: they fall from a grid, push each other apart and
// bounce off the window's edges with a loss. Extents come in as arguments.
#pragma once

#include <array>
#include <cstdint>

#include "random_source.h"

struct TFallingBall {
    double X, Y;    // centre, window pixels, y downwards
    double AX, AY;  // pixels per frame squared
    double VX, VY;  // pixels per frame
};

constexpr int32_t HeapCapacity = 8193;
constexpr int32_t HeapStartCount = 256;
constexpr double HeapRadius = 10;
constexpr double HeapEnergy = 0.99;
constexpr double HeapGravity = 0.004;

extern std::array<TFallingBall, HeapCapacity> HeapBalls;
extern int32_t HeapBallCount;

struct THeapLimits {
    double Left, Top, Right, Bottom;
};
extern THeapLimits HeapLimits;

// The limits from the window's edges, and 256 balls at rest on a grid of
// pitch 3R from (R, R), rows wrapping past the right limit.
void PlaceHeapBalls(double rightEdge, double bottomEdge);
// The ball nearest (x, y), lowest index on ties, moved there; its velocity
// stays.
void DragNearestHeapBall(double x, double y);
// A new ball at rest near the middle (r in 0..9 to the right); nothing when
// the table is full.
void AddHeapBall(double rightEdge, double bottomEdge, TRandomSource& random);
// The contact of two balls: pushed apart by the whole overlap each, 99 % of
// each one's velocity along the line of centres handed to the other.
void TouchHeapPair(TFallingBall& a, TFallingBall& b);
// Every touching pair once, found through a grid of one-diameter cells so
// that the pass grows with the balls, not with their pairs.
void HeapPairPass();
// Gravity, move and the edges for ball k.
void MoveHeapBall(TFallingBall& b);
