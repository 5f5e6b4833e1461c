// The ball of projectile_2d: aimed with two clicks, thrown under gravity,
// bouncing off the window's edges with half its speed.
#pragma once

#include <cstdint>

struct TThrow2D {
    double PX, PY;  // position
    double QX, QY;  // position at the start of the frame
    double VX, VY;
    double R;
    double GX, GY;
    double T;       // time since the throw
    int32_t Stage;  // 0 nothing placed, 1 ball placed, 2 velocity set
};

constexpr double ThrowTimeStep = 0.0001;

extern TThrow2D Throw2D;

// A new throw: P and V stay what the last throw left.
void SetUpThrow(TThrow2D& t);
// A left press while aiming: first places the ball, then sets the velocity
// to the vector from the ball to the pointer.
void AimPress(TThrow2D& t, double x, double y);
// One flight frame's motion, edges and the zeroing of small components.
void StepThrow(TThrow2D& t, double rightEdge, double bottomEdge);
