// Balls flying under gravity in a box of wall planes, colliding elastically
// with each other and the walls. Collisions are events: the earliest contact
// within a step is solved for, every ball advanced to it, the pair's
// velocities changed, and the rest of the step done the same way, up to a
// number of events per frame.
#pragma once

#include <array>
#include <cstdint>

#include "vec3.h"

struct TBoxBall {
    TVec3 Pos;
    TVec3 Vel;
    double Mass;
    double Radius;
    uint32_t Colour;
};

// A wall rectangle: centre, half-edge vectors, and Normal = U x V normalised,
// pointing into the box. Collisions see the whole plane.
struct TBoxWall {
    TVec3 Point;
    TVec3 U, V;
    TVec3 Normal;
};

// What tells the two programs' simulations apart.
struct TBoxBallsVariant {
    int32_t BallLimit;  // a ball is added while BallCount is at most this
    int32_t MaxEventDepth;
};

constexpr TBoxBallsVariant BoxBallsGlPhysics{100, 100};
constexpr TBoxBallsVariant BoxBallsWirePhysics{50, 3};

constexpr int32_t BoxBallCapacity = 101;
constexpr int32_t BoxWallCapacity = 11;

extern std::array<TBoxBall, BoxBallCapacity> BoxBalls;
extern int32_t BallCount;
extern int32_t BallLimit;
extern std::array<TBoxWall, BoxWallCapacity> BoxWalls;
extern int32_t WallCount;
extern TVec3 BoxGravity;
// EventStep calls within the frame; the program zeroes it before each frame.
extern int32_t EventDepth;
extern int32_t MaxEventDepth;

// Takes the variant's ball limit and event limit.
void UseBoxBallsVariant(const TBoxBallsVariant& variant);

// Silent when the table is full.
void AddBoxBall(double x, double y, double z, double vx, double vy, double vz, double radius,
                double mass, uint32_t colour);
// No capacity test: callers add at most BoxWallCapacity walls.
void AddBoxWall(double x, double y, double z, const TVec3& u, const TVec3& v);

// Vel T + BoxGravity T^2 / 2.
TVec3 BallDriftOffset(int32_t ball, double t);
// (a, b) turned by angle radians, both from the old values.
void RotatePair(double& a, double& b, double angle);

constexpr double NoContact = -2.0;
constexpr double ParallelToWall = 2.0;

// The fraction of the step dt at which the balls first touch, NoContact when
// they do not meet (or already overlap, or move apart).
double BallBallContactTime(int32_t i, int32_t j, double dt);
// The fraction of the step at which the ball's surface reaches the wall
// plane while it moves towards it; 0 when it is already within its radius
// of the plane and moving in; NoContact when its centre is behind the plane
// or it moves away; ParallelToWall when it moves along the plane.
double BallWallContactTime(int32_t i, int32_t w, double dt);

// Advances all balls by dt seconds, handling the collisions within it.
void EventStep(double dt);
