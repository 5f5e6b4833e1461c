#include "poly_contacts.h"

#include <cmath>

#include "extended_ops.h"

namespace {

constexpr double OutsideTolerance = 1e-5;
constexpr double NoDistance = -99999;
constexpr double MinMassSum = 1e-5;
constexpr double ClampKeeps = 0.9;

int32_t NextVertex(const TPolyBody& body, int32_t j) { return j + 1 < body.Sides ? j + 1 : 0; }
int32_t PreviousVertex(const TPolyBody& body, int32_t j) { return j > 0 ? j - 1 : body.Sides - 1; }

// Relative error allowed for in plain double arithmetic before it may stand
// in for the extended computation: a hundred times the worst case.
constexpr double DoubleSlack = 1e-13;

// Whether the point lies more than the tolerance outside some edge, told
// apart in doubles only where no rounding can make the answer differ: most
// vertices of a pair are plainly outside, and the scan of such a vertex ends
// the same way whichever edge shows it. False leaves it to the exact scan.
// The search starts at edge first (neighbouring vertices tend to lie outside
// the same edge) and leaves there the edge that showed it.
bool PlainlyOutside(const TPolyBody& body, double px, double py, int32_t& first) {
    int32_t j = first;
    for (int32_t n = 0; n < body.Sides; n++) {
        const int32_t k = NextVertex(body, j);
        const double p1 = (body.WorldY[j] - body.WorldY[k]) * (px - body.WorldX[j]);
        const double p2 = (body.WorldX[k] - body.WorldX[j]) * (py - body.WorldY[j]);
        const double limit = OutsideTolerance * body.EdgeLength[j];
        if (p1 + p2 - limit > DoubleSlack * (std::fabs(p1) + std::fabs(p2) + limit)) {
            first = j;
            return true;
        }
        j = k;
    }
    return false;
}

// Most pairs are far apart: doubles tell, unless the gap is too close to
// call.
inline bool PlainlyApart(const TPolyBody& a, const TPolyBody& b) {
    const double reach = a.HalfSize + b.HalfSize;
    const double gapX = std::fabs(b.X - a.X), gapY = std::fabs(b.Y - a.Y);
    const double gap = gapX > gapY ? gapX : gapY;
    return gap - reach > DoubleSlack * (gap + reach);
}

// The deepest vertex of p inside q, when deeper than best: best and contact
// take it.
void FindDeepestVertex(int32_t p, int32_t q, double& best, TPolyContact& contact) {
    const TPolyBody& vertexBody = PolyBodies[p];
    const TPolyBody& edgeBody = PolyBodies[q];
    int32_t outsideEdge = 0;
    for (int32_t k = 0; k < vertexBody.Sides; k++) {
        const double px = vertexBody.WorldX[k], py = vertexBody.WorldY[k];
        if (PlainlyOutside(edgeBody, px, py, outsideEdge)) continue;
        double m1 = NoDistance, m2 = NoDistance;
        int32_t e1 = -1, e2 = -1;
        bool outside = false;
        for (int32_t e = 0; e < edgeBody.Sides; e++) {
            const double d = EdgeDistance(edgeBody, e, px, py);
            if (d > OutsideTolerance) {
                outside = true;
                break;
            }
            if (d > m1) {
                m2 = m1;
                e2 = e1;
                m1 = d;
                e1 = e;
            } else if (d > m2) {
                m2 = d;
                e2 = e;
            }
        }
        // A vertex that took no edge (distances that are not numbers) would
        // otherwise report the seed as a contact along an edge never chosen.
        if (outside || e1 < 0) continue;
        if (edgeBody.Sides > 2) {
            // At a corner the nearest edge may be the wrong one: prefer the
            // edge that neither neighbour lies deeper behind.
            const int32_t prev = PreviousVertex(vertexBody, k), next = NextVertex(vertexBody, k);
            const double prevX = vertexBody.WorldX[prev], prevY = vertexBody.WorldY[prev];
            const double nextX = vertexBody.WorldX[next], nextY = vertexBody.WorldY[next];
            const bool keep = EdgeDistance(edgeBody, e1, prevX, prevY) >= m1 &&
                              EdgeDistance(edgeBody, e1, nextX, nextY) >= m1;
            if (!keep && e2 >= 0 && EdgeDistance(edgeBody, e2, prevX, prevY) > m2 &&
                EdgeDistance(edgeBody, e2, nextX, nextY) > m2) {
                e1 = e2;
                m1 = m2;
            }
        }
        if (m1 < best) {
            best = m1;
            const int32_t e1n = NextVertex(edgeBody, e1);
            const long double length = edgeBody.EdgeLength[e1];
            contact.VertexBody = p;
            contact.EdgeBody = q;
            contact.PointX = px;
            contact.PointY = py;
            contact.Depth = -m1;
            contact.NX = Rounded(
                (static_cast<long double>(edgeBody.WorldY[e1n]) - edgeBody.WorldY[e1]) / length);
            contact.NY = Rounded(
                (static_cast<long double>(edgeBody.WorldX[e1]) - edgeBody.WorldX[e1n]) / length);
        }
    }
}

// The impulse with rotation of one wall or of the floor or ceiling: v is the
// velocity across it, r the lever arm of the touching vertex.
void WallImpulse(TPolyBody& b, double& v, long double r, long double e) {
    const long double k = static_cast<long double>(b.GroupInertia) / b.GroupMass;
    const long double q = r * r / k;
    const long double vOld = v, wOld = b.AngularVelocity;
    v = Rounded(((q - e) * vOld - (e + 1) * r * wOld) / (q + 1));
    b.AngularVelocity = Rounded(wOld + (v - vOld) * r / k);
}

// How far the body reaches past the far wall at limit (positive) or the
// near wall at 0 (negative), and where along the wall; false when it
// touches neither, or a vertex lies exactly on the near wall.
bool WallPenetration(double least, double most, double limit, double atLeast, double atMost,
                     double& pen, double& at) {
    pen = 0;
    if (most > limit) {
        pen = Rounded(static_cast<long double>(most) - limit);
        at = atMost;
    } else if (least <= 0) {
        pen = least;
        at = atLeast;
    }
    return pen != 0;
}

void ResolveWalls(TPolyBody& b, long double e) {
    // Both scans read the vertices as transformed this frame: the side
    // correction does not move them.
    double minX = PolyWorldWidth, maxX = 0, yMin = 0, yMax = 0;
    double minY = PolyWorldHeight, maxY = 0, xMin = 0, xMax = 0;
    for (int32_t j = 0; j < b.Sides; j++) {
        const double x = b.WorldX[j], y = b.WorldY[j];
        if (x < minX) {
            minX = x;
            yMin = y;
        }
        if (x > maxX) {
            maxX = x;
            yMax = y;
        }
        if (y < minY) {
            minY = y;
            xMin = x;
        }
        if (y > maxY) {
            maxY = y;
            xMax = x;
        }
    }
    // The right wall first: a body touching both is pushed by the right one.
    double pen = 0, at = 0;
    if (WallPenetration(minX, maxX, PolyWorldWidth, yMin, yMax, pen, at)) {
        WallImpulse(b, b.VelocityX, static_cast<long double>(b.GroupY) - at, e);
        b.X = Rounded(b.X - static_cast<long double>(pen) * PolyCorrection);
    }
    if (WallPenetration(minY, maxY, PolyWorldHeight, xMin, xMax, pen, at)) {
        WallImpulse(b, b.VelocityY, static_cast<long double>(at) - b.GroupX, e);
        b.Y = Rounded(b.Y - static_cast<long double>(pen) * PolyCorrection);
        const long double vx = b.VelocityX;
        b.VelocityX = Rounded(vx - vx * (1 - 1 / (1 + static_cast<long double>(PolySlip))));
    }
}

// One impulse with restitution along the contact normal, the position
// correction, and the tangential slip term when the bodies barely close.
void ResolvePair(const TPolyContact& c, long double e) {
    TPolyBody& a = PolyBodies[c.VertexBody];
    TPolyBody& b = PolyBodies[c.EdgeBody];
    const long double nx = c.NX, ny = c.NY;
    const long double una = a.VelocityX * nx + a.VelocityY * ny;
    const long double unb = b.VelocityX * nx + b.VelocityY * ny;
    const long double ca = (c.PointX - static_cast<long double>(a.SavedX)) * ny -
                           (c.PointY - static_cast<long double>(a.SavedY)) * nx;
    const long double cb = (c.PointX - static_cast<long double>(b.SavedX)) * ny -
                           (c.PointY - static_cast<long double>(b.SavedY)) * nx;
    const long double ma = a.Mass, mb = b.Mass, ka = a.InertiaFactor, kb = b.InertiaFactor;
    const long double q = (ma * ka * cb * cb + mb * kb * ca * ca) / (ka * kb);
    const long double m = ma + mb;
    const long double ur = a.AngularVelocity * ca - b.AngularVelocity * cb;
    const long double va = ((1 + e) * mb * (unb - ur) + (ma + q - mb * e) * una) / (m + q);
    const long double vb = ((1 + e) * ma * (ur + una) + (mb + q - ma * e) * unb) / (m + q);
    a.AngularVelocity = Rounded(a.AngularVelocity + (va - una) * ca / ka);
    b.AngularVelocity = Rounded(b.AngularVelocity + (vb - unb) * cb / kb);
    a.VelocityX = Rounded(a.VelocityX + (va - una) * nx);
    a.VelocityY = Rounded(a.VelocityY + (va - una) * ny);
    b.VelocityX = Rounded(b.VelocityX + (vb - unb) * nx);
    b.VelocityY = Rounded(b.VelocityY + (vb - unb) * ny);
    // The lighter body moves further.
    const long double shift = PolyCorrection * static_cast<long double>(c.Depth) / m;
    a.X = Rounded(a.X - shift * mb * nx);
    a.Y = Rounded(a.Y - shift * mb * ny);
    b.X = Rounded(b.X + shift * ma * nx);
    b.Y = Rounded(b.Y + shift * ma * ny);
    if (PolyRestThreshold > std::fabs(una - unb)) {
        const long double ta = a.VelocityY * nx - a.VelocityX * ny;
        const long double tb = b.VelocityY * nx - b.VelocityX * ny;
        const long double dt = (ta - tb) * (1 - 1 / (1 + static_cast<long double>(PolySlip))) / m;
        a.VelocityX = Rounded(a.VelocityX + dt * mb * ny);
        a.VelocityY = Rounded(a.VelocityY - dt * mb * nx);
        b.VelocityX = Rounded(b.VelocityX - dt * ma * ny);
        b.VelocityY = Rounded(b.VelocityY + dt * ma * nx);
    }
}

double BoundedSpeed(double v) {
    if (v > PolySpeedLimit) return PolySpeedLimit;
    if (v < -PolySpeedLimit) return -PolySpeedLimit;
    return v == v ? v : 0;
}

void DragGravityAndBox(TPolyBody& b) {
    const long double f =
        1 / (PolyDrag * static_cast<long double>(Hypot(b.VelocityX, b.VelocityY)) + 1);
    b.VelocityY = Rounded(b.VelocityY * f);
    b.VelocityX = Rounded(b.VelocityX * f);
    b.VelocityY = Rounded(static_cast<long double>(b.VelocityY) - PolyGravity);
    bool clamped = false;
    if (b.X < 0) {
        b.X = 0;
        clamped = true;
    } else if (b.X > PolyWorldWidth) {
        b.X = PolyWorldWidth;
        clamped = true;
    }
    if (b.Y < 0) {
        b.Y = 0;
        clamped = true;
    } else if (b.Y > PolyWorldHeight) {
        b.Y = PolyWorldHeight;
        clamped = true;
    }
    if (clamped) {
        b.VelocityX = Rounded(b.VelocityX * static_cast<long double>(ClampKeeps));
        b.VelocityY = Rounded(b.VelocityY * static_cast<long double>(ClampKeeps));
        b.AngularVelocity = Rounded(b.AngularVelocity * static_cast<long double>(ClampKeeps));
    }
    b.VelocityX = BoundedSpeed(b.VelocityX);
    b.VelocityY = BoundedSpeed(b.VelocityY);
    b.AngularVelocity = BoundedSpeed(b.AngularVelocity);
}

}  // namespace

double EdgeDistance(const TPolyBody& body, int32_t j, double px, double py) {
    const int32_t k = NextVertex(body, j);
    const long double xj = body.WorldX[j], yj = body.WorldY[j];
    return Rounded(((yj - body.WorldY[k]) * (px - xj) + (body.WorldX[k] - xj) * (py - yj)) /
                   body.EdgeLength[j]);
}

int32_t FindContact(int32_t a, int32_t b, TPolyContact& contact) {
    const TPolyBody& ba = PolyBodies[a];
    const TPolyBody& bb = PolyBodies[b];
    if (PlainlyApart(ba, bb)) return 0;
    const long double reach = static_cast<long double>(ba.HalfSize) + bb.HalfSize;
    if (std::fabs(static_cast<long double>(bb.X) - ba.X) > reach ||
        std::fabs(static_cast<long double>(bb.Y) - ba.Y) > reach)
        return 0;
    double best = 0;
    FindDeepestVertex(a, b, best, contact);
    FindDeepestVertex(b, a, best, contact);
    return best != 0 ? 1 : 0;
}

void ResolveCollisions() {
    const long double e = PolyRestitution;
    for (int32_t i = 0; i < PolyBodyCount; i++) ResolveWalls(PolyBodies[i], e);
    TPolyContact contact;
    for (int32_t i = 0; i < PolyBodyCount; i++) {
        for (int32_t j = i + 1; j < PolyBodyCount; j++) {
            // Spares the far pairs the call.
            if (PlainlyApart(PolyBodies[i], PolyBodies[j])) continue;
            if (!FindContact(i, j, contact)) continue;
            const TPolyBody& a = PolyBodies[contact.VertexBody];
            const TPolyBody& b = PolyBodies[contact.EdgeBody];
            // No response, and none for this body's remaining partners.
            if (static_cast<long double>(a.Mass) + b.Mass < MinMassSum) break;
            ResolvePair(contact, e);
        }
    }
    for (int32_t i = 0; i < PolyBodyCount; i++) DragGravityAndBox(PolyBodies[i]);
}

void CollidePolyBodies() {
    SaveBodyPoses();
    ResolveCollisions();
}
