// Narrow phase: whether two bodies touch and where. Polygons by a separating
// axis search that climbs from edge to edge, a reference and an incident face
// and two clipping passes; circles by distances. Nothing is kept between
// steps, and no routine changes a body.
#pragma once

#include <array>
#include <cstdint>

#include "body.h"

struct TContactPoint {
    TVec2 Position;
    TVec2 Normal;       // unit, from body 1 towards body 2
    double Separation;  // negative while the bodies overlap
    double NormalImpulse;
    double TangentImpulse;
    double NormalMass;
    double TangentMass;
    double Bias;
    double AccumulatedBiasImpulse;
};

using TContactPoints = std::array<TContactPoint, 2>;

struct TContactPair {
    int32_t ContactCount;
    int32_t Body1, Body2;  // slots, Body1 the lower
    TContactPoints Contacts;
    double Friction;
};

using TEdgePoints = std::array<TVec2, 2>;

// A body with what the narrow phase asks of it again and again: its rotation,
// its vertices in the world and the unit outward normals of its edges, in
// its own frame and in the world. StepWorld places every body once per step.
struct TPlacedBody {
    const TWorldBody* Body;
    TMat22 Rot;
    std::array<TVec2, MaxBodyVertices> WorldVertices;
    std::array<TVec2, MaxBodyVertices> Normals;
    std::array<TVec2, MaxBodyVertices> WorldNormals;
};

void PlaceBody(TPlacedBody& placed, const TWorldBody& body);

// 0, 1 or 2 contacts, normals from body1 to body2.
int32_t CollideShapes(TContactPoints& contacts, const TWorldBody& body1, const TWorldBody& body2);
int32_t CollidePlaced(TContactPoints& contacts, const TPlacedBody& body1, const TPlacedBody& body2);
int32_t CollidePolygons(TContactPoints& contacts, const TPlacedBody& a, const TPlacedBody& b);
int32_t CollideCircles(TContactPoints& contacts, const TWorldBody& a, const TWorldBody& b);
// The normal found points from the polygon to the circle.
int32_t CollideCirclePolygon(TContactPoints& contacts, const TWorldBody& circle,
                             const TPlacedBody& polygon);

// The largest separation of p2 beyond an edge of p1; edge is set only when the
// result is not above 0.
double SearchSeparatingEdge(const TPlacedBody& p1, const TPlacedBody& p2, int32_t& edge);
double FaceSeparation(const TPlacedBody& p1, const TPlacedBody& p2, int32_t edge);
void PickIncidentEdge(TEdgePoints& points, const TPlacedBody& reference,
                      const TPlacedBody& incident, int32_t referenceEdge);
// Keeps the part of the segment on the side normal . p - offset <= 0.
int32_t ClipEdgePoints(TEdgePoints& out, const TEdgePoints& in, const TVec2& normal, double offset);
