// Thirty equal rigid cubes in a closed box, pushed apart and off the walls by
// penalty springs sampled at a lattice of points in each cube; every touching
// point also damps the relative velocity there. Time is counted in frames:
// one call of the three steps per frame, no time step. The world is Y-down:
// gravity acts along +Y and the floor is the face Y = BoxMax.Y.
#pragma once

#include <array>
#include <cstdint>

#include "vec3.h"

// Rows: for a cube, its body X, Y and Z axes in world coordinates.
struct TMat3 {
    std::array<TVec3, 3> Rows;
};

struct TCube {
    TVec3 Pos;         // centre, world coordinates
    TVec3 Vel;         // units per frame
    TVec3 Impulse;     // gathered this frame; unit mass
    TVec3 Omega;       // axis times radians per frame
    TVec3 AngImpulse;  // gathered this frame: sum of lever arm x impulse
    TMat3 Axis;
};

constexpr int32_t CubeCount = 30;
// The cube the mouse shot launches: it meets the other cubes but never the
// walls, so it may leave the box.
constexpr int32_t ShotCube = 29;
constexpr double CubeHalfEdge = 6;
// Centres at least this far apart cannot touch (twice the half diagonal).
constexpr double ContactReach = 20.784;
// A centre at least this far from every face keeps the cube off the walls.
constexpr double WallReach = 10.392;
constexpr int32_t LatticeSide = 5;  // points along each edge: Round(Subdiv) + 1

extern std::array<TCube, CubeCount> Cubes;

// Set once before the first frame.
extern TVec3 BoxMin;
extern TVec3 BoxMax;
extern double Stiffness;    // spring impulse per unit of depth, point and frame
extern double Damping;      // share of the relative point velocity taken out
extern double CubeGravity;  // impulse per frame along +Y
extern double Subdiv;       // lattice divisions per edge

// Out := (row 0 . V, row 1 . V, row 2 . V): world to body axes.
void MatMulVec(const TMat3& m, const TVec3& v, TVec3& out);
// Out := V.X row 0 + V.Y row 1 + V.Z row 2: body to world axes.
void MatTransMulVec(const TMat3& m, const TVec3& v, TVec3& out);

// The impulse J acting at the world point P.
void ApplyImpulse(TCube& cube, const TVec3& j, const TVec3& p);
// The velocity of the cube's material point at P.
void PointVelocity(const TCube& cube, const TVec3& p, TVec3& out);
// V turned about W by about |W| radians (right-hand rule) in passes of at
// most pi/8 that keep the length. Out is left as it was when V or W is zero.
void RotateVector(const TVec3& v, const TVec3& w, TVec3& out);

// Lattice point (a, b, c), each 0..LatticeSide-1, in body coordinates.
void LatticePoint(int32_t a, int32_t b, int32_t c, TVec3& out);

// The gates of the contact and wall passes: centres strictly closer than
// ContactReach; a centre strictly closer than WallReach to some face.
bool CubesWithinReach(int32_t i, int32_t j);
bool NearAWall(const TVec3& centre);

// The spring of a point at body coordinates q inside a cube, in its body
// axes: out through the face nearest along the axis of q's largest
// coordinate, in proportion to the depth below that face.
void ContactPush(const TVec3& q, TVec3& f);

// The penalty contacts of all ordered cube pairs from this frame's states:
// only Impulse and AngImpulse change.
void GatherCubeContacts();
// The wall forces on cube i (0..28).
void ApplyWallForces(int32_t i);
// Turns cube i's gathered impulses into motion and moves it; leaves the next
// frame's gravity impulse.
void IntegrateCube(int32_t i);

// What a frame does to cube i after the contacts: walls, then integration.
void AdvanceCube(int32_t i);
// A whole simulation frame without drawing.
void StepCubes();
