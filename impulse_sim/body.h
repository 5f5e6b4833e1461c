// The rigid body of the impulse simulator: a circle or a convex polygon of up
// to 11 vertices, in metres, y up, angles in radians.
#pragma once

#include <array>
#include <cstdint>

#include "vec_math.h"

constexpr int32_t MaxBodyVertices = 11;
// Bodies, joints and contact pairs of one world each; the tables are indexed
// from 1.
constexpr int32_t WorldCapacity = 100;

struct TWorldBody {
    int32_t Index;                                // slot in WorldBodies; 0 until added
    int32_t VertexCount;                          // 1: circle; 2..11: polygon
    std::array<TVec2, MaxBodyVertices> Vertices;  // body frame, counter-clockwise
    TVec2 Position;
    TVec2 Velocity;
    TVec2 Force;   // acts during the next step only
    double Width;  // full width; the radius of a circle
    double Height;
    TVec2 BiasVelocity;  // split-impulse pseudo velocity of one step
    double Angle;
    double AngularVelocity;
    double Torque;
    double Friction;
    double Mass;  // HugeReal or more: static
    double InvMass;
    double Inertia;
    double InvInertia;
    double BiasAngularVelocity;
};

// Fills body (a box for n = 4, a circle of diameter w for n = 1, otherwise a
// polygon inscribed in the w x h ellipse); does not add it to the world.
void InitBody(int32_t n, TWorldBody& body, double w, double h, double mass, double px, double py,
              double fx, double fy, double vx, double vy, double angVel, double friction,
              double angle);

// R(Angle) of a body. The contact search and the solver ask for it many times
// per step while the angle stays put, so it is remembered per slot.
TMat22 BodyRotation(const TWorldBody& body);

// World position of vertex i.
inline TVec2 WorldVertex(const TWorldBody& body, int32_t i) {
    return Add(body.Position, MulMat(BodyRotation(body), body.Vertices[i]));
}

inline int32_t NextVertex(const TWorldBody& body, int32_t i) {
    return i + 1 == body.VertexCount ? 0 : i + 1;
}

inline int32_t PreviousVertex(const TWorldBody& body, int32_t i) {
    return i - 1 < 0 ? body.VertexCount - 1 : i - 1;
}

// Unit outward normal, body frame, of the edge from vertex i to vertex i + 1.
inline TVec2 EdgeNormal(const TWorldBody& body, int32_t i) {
    TVec2 e = Sub(body.Vertices[NextVertex(body, i)], body.Vertices[i]);
    return Normalized({e.Y, -e.X});
}
