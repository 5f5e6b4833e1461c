#include "collision.h"

#include <cmath>
#include <cstring>

namespace {

TContactPoint NewContact(const TVec2& position, const TVec2& normal, double separation) {
    TContactPoint c{};
    c.Position = position;
    c.Normal = normal;
    c.Separation = separation;
    return c;
}

// The body-frame edge normals of the shape in a slot. A shape changes only
// when another body is put into the slot, so the normals are worked out again
// only when the vertices differ from those they were worked out from.
struct TShapeMemo {
    int32_t VertexCount;  // 0: nothing remembered
    std::array<TVec2, MaxBodyVertices> Vertices;
    std::array<TVec2, MaxBodyVertices> Normals;
    double Reach, ConeCos;  // as in TPlacedBody
};

// Slot 0 and anything outside the table are worked out afresh every time.
std::array<TShapeMemo, WorldCapacity + 1> ShapeMemos{};

bool ShapeRemembered(const TShapeMemo& memo, const TWorldBody& body) {
    return memo.VertexCount == body.VertexCount &&
           std::memcmp(memo.Vertices.data(), body.Vertices.data(),
                       sizeof(TVec2) * static_cast<size_t>(body.VertexCount)) == 0;
}

void EdgeNormals(std::array<TVec2, MaxBodyVertices>& normals, const TWorldBody& body) {
    for (int32_t i = 0; i < body.VertexCount; i++) normals[i] = EdgeNormal(body, i);
}

// Reach, rounded up a little.
double ShapeReach(const TWorldBody& body) {
    long double most = 0;
    for (int32_t i = 0; i < body.VertexCount; i++)
        most = std::fmax(most, Dot(body.Vertices[i], body.Vertices[i]));
    return static_cast<double>(std::sqrt(most) * (1 + 1e-12L));
}

// The narrow phase's hill climb starts at the vertex s farthest towards the
// other body, so the direction d to that body lies between the normals of the
// two edges at s, within half their angle of one of them. ConeCos bounds the
// cosine of that half angle from below, with room for rounding; only strictly
// convex counter-clockwise shapes without very short edges get one.
double ShapeConeCos(const TWorldBody& body, double reach) {
    int32_t n = body.VertexCount;
    if (n < 3 || !std::isfinite(reach)) return 0;
    std::array<TVecL, MaxBodyVertices> normals;
    for (int32_t i = 0; i < n; i++) {
        const TVec2& a = body.Vertices[i];
        const TVec2& b = body.Vertices[NextVertex(body, i)];
        TVecL e = {static_cast<long double>(b.X) - a.X, static_cast<long double>(b.Y) - a.Y};
        long double length = std::sqrt(e.X * e.X + e.Y * e.Y);
        if (!(length >= 1e-6L * reach)) return 0;
        normals[i] = {e.Y / length, -e.X / length};
        // Every other vertex well inside this edge.
        for (int32_t j = 0; j < n; j++) {
            if (j == i || j == NextVertex(body, i)) continue;
            TVecL r = {static_cast<long double>(body.Vertices[j].X) - a.X,
                       static_cast<long double>(body.Vertices[j].Y) - a.Y};
            if (!(normals[i].X * r.X + normals[i].Y * r.Y < -1e-9L * reach)) return 0;
        }
    }
    long double least = 1;
    for (int32_t i = 0; i < n; i++) {
        const TVecL& u = normals[PreviousVertex(body, i)];
        const TVecL& v = normals[i];
        least = std::fmin(least, std::sqrt(std::fmax(0, (1 + u.X * v.X + u.Y * v.Y) / 2)));
    }
    return static_cast<double>(std::fmax(0, least - 1e-6L));
}

// to = M v, written where it is kept.
void TurnInto(TVec2& to, const TMat22& m, const TVec2& v) {
    StoreRounded(to.X, ExtMul(Ext(m.M11), v.X) + ExtMul(Ext(m.M12), v.Y));
    StoreRounded(to.Y, ExtMul(Ext(m.M21), v.X) + ExtMul(Ext(m.M22), v.Y));
}

}  // namespace

void PlaceBody(TPlacedBody& placed, const TWorldBody& body) {
    placed.Body = &body;
    placed.Rot = BodyRotation(body);
    int32_t n = body.VertexCount;
    // WorldVertex: the position plus the turned vertex, rounded as each is kept.
    for (int32_t i = 0; i < n; i++) {
        TVec2& w = placed.WorldVertices[i];
        TurnInto(w, placed.Rot, body.Vertices[i]);
        StoreRounded(w.X, ExtAdd(Ext(body.Position.X), w.X));
        StoreRounded(w.Y, ExtAdd(Ext(body.Position.Y), w.Y));
    }
    if (n == 1) return;  // a circle has no edges
    if (body.Index >= 1 && body.Index <= WorldCapacity && n >= 2 && n <= MaxBodyVertices) {
        TShapeMemo& memo = ShapeMemos[body.Index];
        if (!ShapeRemembered(memo, body)) {
            memo.VertexCount = n;
            memo.Vertices = body.Vertices;
            EdgeNormals(memo.Normals, body);
            memo.Reach = ShapeReach(body);
            memo.ConeCos = ShapeConeCos(body, memo.Reach);
        }
        placed.Normals = memo.Normals;
        placed.Reach = memo.Reach;
        placed.ConeCos = memo.ConeCos;
    } else {
        EdgeNormals(placed.Normals, body);
        placed.Reach = ShapeReach(body);
        placed.ConeCos = ShapeConeCos(body, placed.Reach);
    }
    if (!std::isfinite(body.Position.X) || !std::isfinite(body.Position.Y) ||
        !std::isfinite(body.Angle) || !std::isfinite(placed.Reach))
        placed.Reach = -1;
    for (int32_t i = 0; i < n; i++) TurnInto(placed.WorldNormals[i], placed.Rot, placed.Normals[i]);
}

// With d the direction from a to b and a's cone bound c, the separation along
// the better of the two first edges of a's climb is at least
// |d| c - reach a - reach b: the search finds it positive and stops at once.
// Likewise with b's climb, which runs when a's finds no gap. The margins
// cover the rounding of the search, which stays below 1e-13 of the scale
// (positions and reaches) while |d| is at least 1e-6 of it and nothing comes
// near overflow. A bound with margins this wide needs no extended precision.
bool SurelyApart(const TPlacedBody& a, const TPlacedBody& b) {
    double cone = MaxOf(a.ConeCos, b.ConeCos);
    if (!(cone > 0 && a.Reach >= 0 && b.Reach >= 0)) return false;
    const TVec2& pa = a.Body->Position;
    const TVec2& pb = b.Body->Position;
    double reaches = a.Reach + b.Reach;
    double scale = std::fabs(pa.X) + std::fabs(pa.Y) + std::fabs(pb.X) + std::fabs(pb.Y) + reaches;
    if (!(scale <= 1e100)) return false;
    double dx = pb.X - pa.X, dy = pb.Y - pa.Y;
    double distanceSq = dx * dx + dy * dy;
    double least = 1e-6 * scale;
    double needed = reaches * (1 + 1e-9) + 1e-9 * scale;
    return distanceSq >= least * least && distanceSq * (cone * cone) > needed * needed;
}

namespace {

// FaceSeparation, inlined into the climb, with the intermediate vectors kept
// in memory, where the extended operations read them.
inline double FaceSeparationOf(const TPlacedBody& p1, const TPlacedBody& p2, int32_t edge) {
    const TVec2& normal = p1.WorldNormals[edge];
    const TMat22& r = p2.Rot;
    TVec2 inP2;
    StoreRounded(inP2.X, ExtMul(Ext(r.M11), normal.X) + ExtMul(Ext(r.M21), normal.Y));
    StoreRounded(inP2.Y, ExtMul(Ext(r.M12), normal.X) + ExtMul(Ext(r.M22), normal.Y));
    int32_t support = 0;
    long double least = HugeReal;
    const TWorldBody& b2 = *p2.Body;
    for (int32_t i = 0; i < b2.VertexCount; i++) {
        long double d = Dot(inP2, b2.Vertices[i]);
        if (d < least) {
            least = d;
            support = i;
        }
    }
    TVec2 gap;
    const TVec2& from = p1.WorldVertices[edge];
    const TVec2& to = p2.WorldVertices[support];
    StoreRounded(gap.X, ExtSub(Ext(to.X), from.X));
    StoreRounded(gap.Y, ExtSub(Ext(to.Y), from.Y));
    double separation;
    StoreRounded(separation, Dot(normal, gap));
    return separation;
}

}  // namespace

double FaceSeparation(const TPlacedBody& p1, const TPlacedBody& p2, int32_t edge) {
    return FaceSeparationOf(p1, p2, edge);
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
    double sPrevious = FaceSeparationOf(p1, p2, previous);
    if (sPrevious > 0) {
        edge = previous;
        return sPrevious;
    }
    double sNext = FaceSeparationOf(p1, p2, start);
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
        double s = FaceSeparationOf(p1, p2, candidate);
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
    if (SurelyApart(a, b)) return 0;
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
