#include "collision.h"

namespace {

TContactPoint NewContact(const TVec2& position, const TVec2& normal, double separation) {
    TContactPoint c{};
    c.Position = position;
    c.Normal = normal;
    c.Separation = separation;
    return c;
}

}  // namespace

void PlaceBody(TPlacedBody& placed, const TWorldBody& body) {
    placed.Body = &body;
    placed.Rot = BodyRotation(body);
    for (int32_t i = 0; i < body.VertexCount; i++) {
        placed.WorldVertices[i] = WorldVertex(body, i);
        if (body.VertexCount == 1) break;  // a circle has no edges
        placed.Normals[i] = EdgeNormal(body, i);
        placed.WorldNormals[i] = MulMat(placed.Rot, placed.Normals[i]);
    }
}

double FaceSeparation(const TPlacedBody& p1, const TPlacedBody& p2, int32_t edge) {
    const TVec2& normal = p1.WorldNormals[edge];
    TVec2 inP2 = MulMatT(p2.Rot, normal);
    int32_t support = 0;
    long double least = HugeReal;
    for (int32_t i = 0; i < p2.Body->VertexCount; i++) {
        long double d = Dot(inP2, p2.Body->Vertices[i]);
        if (d < least) {
            least = d;
            support = i;
        }
    }
    return static_cast<double>(Dot(normal, Sub(p2.WorldVertices[support], p1.WorldVertices[edge])));
}

double SearchSeparatingEdge(const TPlacedBody& p1, const TPlacedBody& p2, int32_t& edge) {
    const TWorldBody& b1 = *p1.Body;
    TVec2 towards = MulMatT(p1.Rot, Sub(p2.Body->Position, b1.Position));
    int32_t start = 0;
    long double most = -HugeReal;
    for (int32_t i = 0; i < b1.VertexCount; i++) {
        long double d = Dot(b1.Vertices[i], towards);
        if (d > most) {
            most = d;
            start = i;
        }
    }
    int32_t previous = PreviousVertex(b1, start);
    double sPrevious = FaceSeparation(p1, p2, previous);
    if (sPrevious > 0) {
        edge = previous;
        return sPrevious;
    }
    double sNext = FaceSeparation(p1, p2, start);
    if (sNext > 0) {
        edge = start;
        return sNext;
    }
    bool backwards = sPrevious > sNext;
    int32_t best = backwards ? previous : start;
    double bestSeparation = backwards ? sPrevious : sNext;
    // Each accepted edge is strictly better than the last, so no edge is
    // visited twice and the climb ends.
    for (;;) {
        int32_t candidate = backwards ? PreviousVertex(b1, best) : NextVertex(b1, best);
        double s = FaceSeparation(p1, p2, candidate);
        if (s > 0) return s;
        if (!(s > bestSeparation)) break;
        best = candidate;
        bestSeparation = s;
    }
    edge = best;
    return bestSeparation;
}

void PickIncidentEdge(TEdgePoints& points, const TPlacedBody& reference,
                      const TPlacedBody& incident, int32_t referenceEdge) {
    TVec2 inIncident = MulMatT(incident.Rot, reference.WorldNormals[referenceEdge]);
    int32_t chosen = 0;
    long double least = HugeReal;
    for (int32_t i = 0; i < incident.Body->VertexCount; i++) {
        long double d = Dot(incident.Normals[i], inIncident);
        if (d < least) {
            least = d;
            chosen = i;
        }
    }
    points[0] = incident.WorldVertices[chosen];
    points[1] = incident.WorldVertices[NextVertex(*incident.Body, chosen)];
}

int32_t ClipEdgePoints(TEdgePoints& out, const TEdgePoints& in, const TVec2& normal,
                       double offset) {
    long double d0 = Dot(normal, in[0]) - offset;
    long double d1 = Dot(normal, in[1]) - offset;
    int32_t count = 0;
    if (d0 <= 0) out[count++] = in[0];
    if (d1 <= 0) out[count++] = in[1];
    if (d0 * d1 < 0) out[count++] = AddScaled(in[0], d0 / (d0 - d1), Sub(in[1], in[0]));
    return count;
}

int32_t CollidePolygons(TContactPoints& contacts, const TPlacedBody& a, const TPlacedBody& b) {
    int32_t edgeA = 0, edgeB = 0;
    double separationA = SearchSeparatingEdge(a, b, edgeA);
    if (separationA > 0) return 0;
    double separationB = SearchSeparatingEdge(b, a, edgeB);
    if (separationB > 0) return 0;

    // The bias towards A keeps the choice from flipping between steps when
    // both faces are about as good.
    bool flip = separationB > 0.98L * separationA + 0.001L;
    const TPlacedBody& reference = flip ? b : a;
    const TPlacedBody& incident = flip ? a : b;
    int32_t referenceEdge = flip ? edgeB : edgeA;

    TEdgePoints incidentPoints;
    PickIncidentEdge(incidentPoints, reference, incident, referenceEdge);

    const TWorldBody& r = *reference.Body;
    int32_t endEdge = NextVertex(r, referenceEdge);
    TVec2 side =
        Normalized(MulMat(reference.Rot, Sub(r.Vertices[endEdge], r.Vertices[referenceEdge])));
    TVec2 front = {side.Y, -side.X};
    const TVec2& faceStart = reference.WorldVertices[referenceEdge];
    const TVec2& faceEnd = reference.WorldVertices[endEdge];

    long double frontOffset = Dot(front, faceStart);
    double sideOffset1 = static_cast<double>(-Dot(side, faceStart));
    double sideOffset2 = static_cast<double>(Dot(side, faceEnd));

    TEdgePoints clip1, clip2;
    if (ClipEdgePoints(clip1, incidentPoints, {-side.X, -side.Y}, sideOffset1) < 2) return 0;
    if (ClipEdgePoints(clip2, clip1, side, sideOffset2) < 2) return 0;

    TVec2 normal = flip ? TVec2{-front.X, -front.Y} : front;
    int32_t count = 0;
    for (const TVec2& point : clip2) {
        long double separation = Dot(front, point) - frontOffset;
        if (separation <= 0)
            contacts[count++] = NewContact(point, normal, static_cast<double>(separation));
    }
    return count;
}

int32_t CollideCircles(TContactPoints& contacts, const TWorldBody& a, const TWorldBody& b) {
    TVec2 d = Sub(b.Position, a.Position);
    long double distanceSq = Dot(d, d);
    long double radiusSum = static_cast<long double>(a.Width) + b.Width;
    if (distanceSq > radiusSum * radiusSum) return 0;
    TVec2 normal;
    long double separation;
    if (distanceSq < 1e-10L) {
        // Concentric: any direction will do, so take a fixed one.
        normal = {0, 1};
        separation = -radiusSum;
    } else {
        long double distance = std::sqrt(distanceSq);
        normal = {static_cast<double>(d.X / distance), static_cast<double>(d.Y / distance)};
        separation = distance - radiusSum;
    }
    contacts[0] = NewContact(AddScaled(b.Position, -b.Width, normal), normal,
                             static_cast<double>(separation));
    return 1;
}

int32_t CollideCirclePolygon(TContactPoints& contacts, const TWorldBody& circle,
                             const TPlacedBody& polygon) {
    const TWorldBody& p = *polygon.Body;
    TVec2 centre = MulMatT(polygon.Rot, Sub(circle.Position, p.Position));
    int32_t best = 0;
    long double most = -HugeReal;
    for (int32_t i = 0; i < p.VertexCount; i++) {
        long double s = Dot(polygon.Normals[i], Sub(centre, p.Vertices[i]));
        if (s > circle.Width) return 0;
        if (s > most) {
            most = s;
            best = i;
        }
    }
    const TVec2& normal = polygon.WorldNormals[best];
    contacts[0] = NewContact(AddScaled(circle.Position, -circle.Width, normal), normal,
                             static_cast<double>(most - circle.Width));
    return 1;
}

int32_t CollidePlaced(TContactPoints& contacts, const TPlacedBody& body1,
                      const TPlacedBody& body2) {
    bool circle1 = body1.Body->VertexCount == 1;
    bool circle2 = body2.Body->VertexCount == 1;
    if (!circle1 && !circle2) return CollidePolygons(contacts, body1, body2);
    if (circle1 && circle2) return CollideCircles(contacts, *body1.Body, *body2.Body);
    if (circle2) return CollideCirclePolygon(contacts, *body2.Body, body1);
    int32_t count = CollideCirclePolygon(contacts, *body1.Body, body2);
    if (count > 0) contacts[0].Normal = {-contacts[0].Normal.X, -contacts[0].Normal.Y};
    return count;
}

int32_t CollideShapes(TContactPoints& contacts, const TWorldBody& body1, const TWorldBody& body2) {
    TPlacedBody placed1, placed2;
    PlaceBody(placed1, body1);
    PlaceBody(placed2, body2);
    return CollidePlaced(contacts, placed1, placed2);
}
