// Collisions of the polygon bodies: vertex against edge between bodies, and
// the four walls of the box.
#pragma once

#include <cstdint>

#include "poly_bodies.h"

struct TPolyContact {
    int32_t VertexBody;  // the body whose vertex lies inside the other
    int32_t EdgeBody;    // the body whose edge the vertex has crossed
    double PointX, PointY;
    double NX, NY;  // unit normal of the crossed edge, pointing into the edge body
    double Depth;   // positive
};

// Signed distance of (px, py) from the line of edge j of body: positive
// outside, since the vertices run clockwise.
double EdgeDistance(const TPolyBody& body, int32_t j, double px, double py);

// The deepest vertex of either body inside the other: 1 and the contact, or
// 0 with contact untouched.
int32_t FindContact(int32_t a, int32_t b, TPolyContact& contact);

// Walls, then every pair in index order, then drag, gravity and the box.
void ResolveCollisions();

// Far beyond anything visible, yet far from overflow: restitution above 1 or
// negative slip feed energy in without end.
constexpr double PolySpeedLimit = 1e3;
