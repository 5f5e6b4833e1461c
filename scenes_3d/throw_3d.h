// The ball of projectile_3d: thrown from the centre of a cube of edge 100,
// falling and bouncing off its faces with 99 % of the reversed component.
#pragma once

#include <array>

#include "random_source.h"
#include "vec3.h"

extern TVec3 BallPos, BallPrevPos, BallVel, ThrowGravity;
extern double ThrowTimeStep3D;
extern double BallRadius;
extern std::array<TVec3, 8> CubeCorners;

// The ball at the centre with a velocity of three whole numbers 1 to 10
// (draws in X, Y, Z order).
void ThrowBall3D(TRandomSource& random);
// Gravity, the move, and per axis X, Y, Z a bounce that restores the whole
// previous position.
void StepThrownBall();
