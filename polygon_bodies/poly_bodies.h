// Rotating convex polygons in a closed 40 x 30 box (x right, y up). There is
// no time step: one frame moves every body by its velocity once, so
// velocities are world units per frame and spins radians per frame.
#pragma once

#include <array>
#include <cstdint>

#include "random_source.h"
#include "tavrel.h"

constexpr double PolyWorldWidth = 40;
constexpr double PolyWorldHeight = 30;
constexpr int32_t PolyMaxBodies = 50;
constexpr int32_t PolyMaxVertices = 11;

struct TPolyBody {
    int32_t Sides;   // vertices and edges, 2 to 9
    int32_t Colour;  // fill: palette index 9 to 14
    double HalfSize;
    double Mass;
    double InertiaFactor;  // moment of inertia / mass
    double VelocityX, VelocityY;
    double AngularVelocity;  // counter-clockwise positive
    double X, Y;
    double Angle;
    double SavedX, SavedY;  // as of the last SaveBodyPoses
    double GroupX, GroupY;  // as of the last UpdateCompounds
    double GroupMass, GroupInertia;
    // Clockwise in the y-up world, so that an edge's signed distance is
    // positive outside.
    std::array<double, PolyMaxVertices> LocalX, LocalY;
    std::array<double, PolyMaxVertices> WorldX, WorldY;
    std::array<double, PolyMaxVertices> EdgeLength;            // never below 1e-5
    std::array<TPolyPoint, PolyMaxVertices + 1> ScreenPoints;  // entry Sides closes the outline
};

// Entries 0 to PolyBodyCount-1 are the bodies; entry PolyBodyCount is the
// template the next creation starts from, never simulated or drawn.
extern std::array<TPolyBody, PolyMaxBodies + 1> PolyBodies;
extern int32_t PolyBodyCount;  // only grows

// The run-time parameters, changed by keys.
extern double PolyDrag;
extern double PolyGravity;  // world units per frame squared
extern double PolyCorrection;
extern double PolyRestitution;
extern double PolyRestThreshold;
extern double PolySlip;
extern int32_t PolySideCount;

// The window's size in pixels, for the projection and the pointer.
extern int32_t PolyWindowWidth;
extern int32_t PolyWindowHeight;

// A value in [0, x) in steps of x/1000.
double RandomFraction(TRandomSource& random, double x);
double Hypot(double a, double b);

// Appends count jittered bodies stacked in columns from (0.5, 0.5); count,
// sides and radius are clamped rather than refused.
void AddPolygonBodies(TRandomSource& random, int32_t count, int32_t sides, double radius,
                      double stretch);

// The start: an empty table, the parameters at their start values and five
// triangles of radius 2 stretched three times along x.
void StartPolyBodies(TRandomSource& random);

void SaveBodyPoses();
void IntegrateBodies();
void UpdateCompounds();
void TransformVertices();
void ProjectToScreen();

// A frame's simulation falls in two halves around the drawing: the motion
// (poses saved, integration, groups, vertices, screen points), then the
// collision response about the poses saved after the motion.
void MovePolyBodies();
void CollidePolyBodies();
