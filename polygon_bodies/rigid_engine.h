// A small engine of boxes and convex polygons in window pixels (y down,
// seconds, pixels per second, radians): contacts from edge crossings, one
// impulse per touching pair, gravity in sub-steps, bounces off the window
// edges. Two body records share the mathematics: TRigidBody (box_scenarios,
// with fixed bodies) and TCrowdBody (polygon_drag, every body moves).
#pragma once

#include <array>
#include <cstdint>

struct TBodyPoint {
    double X, Y;
};

constexpr int32_t MaxBodySides = 10;
using TBodyVertices = std::array<TBodyPoint, 11>;

struct TRigidBody {
    double X, Y;
    double VelocityX, VelocityY;
    double Width, Height;  // full extents before rotation
    double Angle;
    double AngularVelocity;
    double DampingFactor;  // applied in every sub-step
    double Mass;
    double Inertia;
    int32_t Fixed;  // 1: never moves
    int32_t Sides;
    TBodyVertices Vertices;  // body frame
};

struct TCrowdBody {
    int32_t Sides;
    TBodyVertices Vertices;
    double X, Y, VelocityX, VelocityY, Width, Height, Angle, AngularVelocity, DampingFactor, Mass,
        Inertia;
};

constexpr int32_t RigidTableSize = 70;
constexpr int32_t CrowdTableSize = 101;
constexpr int32_t CrowdLastIndex = CrowdTableSize - 1;

extern std::array<TRigidBody, RigidTableSize> RigidBodies;
extern int32_t LastBodyIndex;
extern std::array<TCrowdBody, CrowdTableSize> CrowdBodies;

// Set by the programs at each start.
extern double RigidGravity;    // pixels per second squared, downwards
extern double RigidFrameTime;  // seconds a frame; the mouse drag divides by it
constexpr int32_t RigidSubSteps = 5;

constexpr double DefaultRigidGravity = 256;
constexpr double DefaultRigidFrameTime = 0.01;

// Pairs and edges that cannot cross are first passed over by their extents
// and by the side of each edge's line that the other edge lies on; off, every
// edge meets every edge, which gives the same results more slowly.
extern bool RigidQuickRejects;

inline int32_t FixedOf(const TRigidBody& body) { return body.Fixed; }
constexpr int32_t FixedOf(const TCrowdBody&) { return 0; }

// Fills RigidBodies[index]. A fixed body keeps zero velocities; four sides
// make a rectangle, other counts a polygon inscribed in the ellipse of the
// extents. An index outside the table or sides outside 3..10 change nothing.
void AddRigidBody(int32_t index, int32_t sides, int32_t fixed, double width, double height, double x,
                  double y, double vx, double vy, double angularVelocity, double angle,
                  double damping);
// Fills CrowdBodies[index]: always the ellipse polygon (four sides: a diamond).
void AddRigidBody(int32_t index, int32_t sides, double width, double height, double x, double y,
                  double vx, double vy, double angularVelocity, double angle, double damping);

// The vertices in window coordinates; the result is how many there are.
template <class TBody>
int32_t WorldVertices(const TBody& body, TBodyVertices& points);

// P1-P2 against P3-P4; each segment includes its start and excludes its end.
// Parallel or degenerate segments never cross.
bool IntersectSegments(const TBodyPoint& p1, const TBodyPoint& p2, const TBodyPoint& p3,
                       const TBodyPoint& p4, TBodyPoint& point);

// The number of edge crossings of a with b; with any, their centre, and the
// unit normal of the chord from the first crossing to the second ((0, 0)
// with a single one).
template <class TBody>
int32_t IntersectBodies(const TBody& a, const TBody& b, double& centerX, double& centerY,
                        double& normalX, double& normalY);

// The contact impulse of a and b at the centre along the normal, applied to
// the six velocities the caller holds.
template <class TBody>
void ApplyPairImpulse(const TBody& a, const TBody& b, double restitution, double centerX,
                      double centerY, double normalX, double normalY, double& vax, double& vay,
                      double& wa, double& vbx, double& vby, double& wb);

// The whole response of one pair: bounding test, crossings, impulse, kept only
// when it pushes a away from b. A fixed body takes part without restitution,
// keeps zero velocity and the other body takes the change twice.
template <class TBody>
void CollidePair(TBody& a, TBody& b, double restitution);

// One frame (RigidSubSteps sub-steps) of bodies 0..lastIndex in a window whose
// right and bottom edges are given.
template <class TBody>
void StepRigidFrame(TBody* bodies, int32_t lastIndex, double rightEdge, double bottomEdge);

// The closed outline in the current drawing colour.
template <class TBody>
void DrawBodyOutline(const TBody& body);

// The body whose centre lies nearest (x, y), with a squared distance strictly
// below best; current when none does.
template <class TBody>
int32_t PickNearestBody(const TBody* bodies, int32_t lastIndex, int32_t x, int32_t y, double best,
                        int32_t current);

#define RIGID_ENGINE_EXTERN(TBody)                                                               \
    extern template int32_t WorldVertices(const TBody&, TBodyVertices&);                          \
    extern template int32_t IntersectBodies(const TBody&, const TBody&, double&, double&, double&, \
                                            double&);                                             \
    extern template void ApplyPairImpulse(const TBody&, const TBody&, double, double, double,      \
                                          double, double, double&, double&, double&, double&,      \
                                          double&, double&);                                       \
    extern template void CollidePair(TBody&, TBody&, double);                                     \
    extern template void StepRigidFrame(TBody*, int32_t, double, double);                         \
    extern template void DrawBodyOutline(const TBody&);                                           \
    extern template int32_t PickNearestBody(const TBody*, int32_t, int32_t, int32_t, double, int32_t);
RIGID_ENGINE_EXTERN(TRigidBody)
RIGID_ENGINE_EXTERN(TCrowdBody)
#undef RIGID_ENGINE_EXTERN
