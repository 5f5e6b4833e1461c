#include "rigid_engine.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "extended_ops.h"

std::array<TRigidBody, RigidTableSize> RigidBodies{};
int32_t LastBodyIndex = 0;
std::array<TCrowdBody, CrowdTableSize> CrowdBodies{};

double RigidGravity = DefaultRigidGravity;
double RigidFrameTime = DefaultRigidFrameTime;
bool RigidQuickRejects = true;

namespace {

// Two doubles a vector: the sides of two vertices at once.
typedef double TDoublePair __attribute__((vector_size(16)));
// Vertices 0..Sides (the last repeats the first), padded to whole vectors.
constexpr int32_t ShapeLanes = 12;

// A body's vertices in the window, made once per sub-step (nothing moves while
// the pairs are handled), by coordinate, with the extents of the whole. Entries
// past Sides repeat vertex 0, so edge j always ends at entry j + 1.
struct TWorldShape {
    int32_t Sides;
    bool Outward;  // vertices turn so that the inside is left of each edge (y up)
    alignas(16) std::array<double, ShapeLanes> PointX, PointY;
    double MinX, MaxX, MinY, MaxY;
    double MinSum, MaxSum, MinDifference, MaxDifference;  // of x + y and x - y
};

struct TContact {
    double CenterX, CenterY, NormalX, NormalY;
};

// What an impulse changes, before it is added to the six velocities.
struct TPairChange {
    long double AX, AY, AW, BX, BY, BW;
};

constexpr int32_t ShapeCapacity = CrowdTableSize > RigidTableSize ? CrowdTableSize : RigidTableSize;
std::array<TWorldShape, ShapeCapacity> Shapes;
// The bounding test's inputs in float, four to a vector; padded so that the
// last vector of a row reads defined values.
constexpr int32_t ReachPadded = (ShapeCapacity + 3) / 4 * 4;
alignas(16) std::array<float, ReachPadded> CenterXOf, CenterYOf, ReachOf;
std::array<int32_t, ShapeCapacity + 4> NearIndex;
// Float positions are exact enough to keep every pair that can touch up to
// this distance from the origin; a body farther out (or not finite) is
// treated as near everything.
constexpr float FloatReachLimit = 1e7f;

// Extents farther apart than this cannot hold a crossing. Far above the
// rounding of a crossing near an edge's end, so nothing the exhaustive test
// would find is lost.
constexpr double ExtentMargin = 1e-3;
// Sides computed in double count only this far from the line, relative to the
// lengths involved: a million times their rounding, and that of the exact
// test, so that what they reject the exact test would reject too.
constexpr double SideMargin = 1e-9;

int32_t SidesInUse(int32_t sides) { return sides < 0 ? 0 : sides > MaxBodySides ? MaxBodySides : sides; }

template <class TBody>
TBodyPoint PlacedVertex(const TBody& body, const TBodyPoint& v, long double c, long double s) {
    return {Rounded(Ext(body.X) + v.X * c - v.Y * s), Rounded(Ext(body.Y) + v.Y * c + v.X * s)};
}

template <class TBody>
void MakeShape(const TBody& body, TWorldShape& shape) {
    const long double c = std::cos(body.Angle), s = std::sin(body.Angle);
    const int32_t n = SidesInUse(body.Sides);
    shape.Sides = n;
    // Positive extents make the rectangle and the ellipse polygon turn that way.
    shape.Outward = body.Width > 0 && body.Height > 0;
    shape.PointX[0] = body.X;  // a body without vertices stands at its centre
    shape.PointY[0] = body.Y;
    for (int32_t j = 0; j < n; j++) {
        const TBodyPoint p = PlacedVertex(body, body.Vertices[j], c, s);
        shape.PointX[j] = p.X;
        shape.PointY[j] = p.Y;
    }
    for (int32_t j = n; j < ShapeLanes; j++) {
        shape.PointX[j] = shape.PointX[0];
        shape.PointY[j] = shape.PointY[0];
    }
    double minX = shape.PointX[0], maxX = minX, minY = shape.PointY[0], maxY = minY;
    double minSum = minX + minY, maxSum = minSum, minDifference = minX - minY,
           maxDifference = minDifference;
    for (int32_t j = 1; j < n; j++) {
        const TBodyPoint p{shape.PointX[j], shape.PointY[j]};
        minX = p.X < minX ? p.X : minX;
        maxX = p.X > maxX ? p.X : maxX;
        minY = p.Y < minY ? p.Y : minY;
        maxY = p.Y > maxY ? p.Y : maxY;
        const double sum = p.X + p.Y, difference = p.X - p.Y;
        minSum = sum < minSum ? sum : minSum;
        maxSum = sum > maxSum ? sum : maxSum;
        minDifference = difference < minDifference ? difference : minDifference;
        maxDifference = difference > maxDifference ? difference : maxDifference;
    }
    shape.MinX = minX;
    shape.MaxX = maxX;
    shape.MinY = minY;
    shape.MaxY = maxY;
    shape.MinSum = minSum;
    shape.MaxSum = maxSum;
    shape.MinDifference = minDifference;
    shape.MaxDifference = maxDifference;
}

// numerator / den is surely negative or at least 1 (NaN is left to the
// division).
bool OutsideUnit(long double numerator, long double den) {
    return den > 0 ? numerator < 0 || numerator >= den : numerator > 0 || numerator <= den;
}

bool Apart(double minA, double maxA, double minB, double maxB) {
    return minA > maxB + ExtentMargin || minB > maxA + ExtentMargin;
}

// Sums and differences are rounded: the margin grows with them.
bool ApartRounded(double minA, double maxA, double minB, double maxB) {
    const double margin = ExtentMargin * (1 + 1e-9 * (std::fabs(minA) + std::fabs(maxA)));
    return minA > maxB + margin || minB > maxA + margin;
}

// Apart along x, y or either diagonal.
bool ShapesApart(const TWorldShape& a, const TWorldShape& b) {
    return Apart(a.MinX, a.MaxX, b.MinX, b.MaxX) || Apart(a.MinY, a.MaxY, b.MinY, b.MaxY) ||
           ApartRounded(a.MinSum, a.MaxSum, b.MinSum, b.MaxSum) ||
           ApartRounded(a.MinDifference, a.MaxDifference, b.MinDifference, b.MaxDifference);
}

double Larger(double a, double b) { return a > b ? a : b; }

// How far the points within the extents reach from p, along x plus along y.
double ReachFrom(const TBodyPoint& p, double minX, double maxX, double minY, double maxY) {
    return Larger(std::fabs(minX - p.X), std::fabs(maxX - p.X)) +
           Larger(std::fabs(minY - p.Y), std::fabs(maxY - p.Y));
}

// Both ends clearly on one side of the line: no crossing.
bool OneSide(double s1, double s2, double margin) {
    return (s1 > margin && s2 > margin) || (s1 < -margin && s2 < -margin);
}

enum class TEdgeReach { Misses, Meets, Separates };

// Edge i of a against the whole of b: Misses when their extents are apart;
// Separates when b lies wholly beyond the edge's line (a lies behind it);
// else Meets, with the sides of b's vertices from that line (positive on a's
// side) and how far from 0 a side must be to count.
[[gnu::always_inline]] inline TEdgeReach EdgeSides(const TWorldShape& a, int32_t i, const TWorldShape& b,
                     std::array<double, ShapeLanes>& side, double& margin) {
    const TBodyPoint p1{a.PointX[i], a.PointY[i]};
    const TBodyPoint p2{a.PointX[i + 1], a.PointY[i + 1]};
    if (Apart(p1.X < p2.X ? p1.X : p2.X, p1.X < p2.X ? p2.X : p1.X, b.MinX, b.MaxX) ||
        Apart(p1.Y < p2.Y ? p1.Y : p2.Y, p1.Y < p2.Y ? p2.Y : p1.Y, b.MinY, b.MaxY))
        return TEdgeReach::Misses;
    const double dx12 = p2.X - p1.X, dy12 = p2.Y - p1.Y;
    margin = SideMargin * (std::fabs(dx12) + std::fabs(dy12)) *
             (ReachFrom(p1, b.MinX, b.MaxX, b.MinY, b.MaxY) + 1);
    const TDoublePair ax = {dx12, dx12}, ay = {dy12, dy12};
    const TDoublePair x1 = {p1.X, p1.X}, y1 = {p1.Y, p1.Y};
    TDoublePair nearest = {-std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity()};
    const int32_t lanes = (b.Sides + 2) & ~1;  // vertices 0..Sides, in whole vectors
    for (int32_t k = 0; k < lanes; k += 2) {
        TDoublePair bx, by;
        std::memcpy(&bx, &b.PointX[k], sizeof bx);
        std::memcpy(&by, &b.PointY[k], sizeof by);
        const TDoublePair s = ax * (by - y1) - ay * (bx - x1);
        std::memcpy(&side[k], &s, sizeof s);
        nearest = s > nearest ? s : nearest;
    }
    if (a.Outward && nearest[0] < -margin && nearest[1] < -margin) return TEdgeReach::Separates;
    return TEdgeReach::Meets;
}

// Every edge of a against every edge of b in index order; the normal comes
// from the first two crossings, the centre from all of them. With quick
// rejects, an edge of a outside b's extents, and an edge pair with one edge
// clearly on one side of the other's line, are passed over: they cannot cross;
// and bodies one of a's edges separates have none.
int32_t CrossShapes(const TWorldShape& a, const TWorldShape& b, bool quick, TContact& contact) {
    contact = {0, 0, 0, 0};
    // Sides of b's vertices from the lines of a's edges that reach b.
    alignas(16) std::array<std::array<double, ShapeLanes>, MaxBodySides> side;
    std::array<double, MaxBodySides> sideMargin;
    uint32_t reaching = (1u << a.Sides) - 1;
    if (quick) {
        reaching = 0;
        for (int32_t i = 0; i < a.Sides; i++) {
            const TEdgeReach reach = EdgeSides(a, i, b, side[i], sideMargin[i]);
            if (reach == TEdgeReach::Separates) return 0;
            if (reach == TEdgeReach::Meets) reaching |= 1u << i;
        }
    }
    int32_t count = 0;
    long double sumX = 0, sumY = 0, normalX = 0, normalY = 0;
    TBodyPoint first{};
    for (; reaching != 0; reaching &= reaching - 1) {
        const int32_t i = std::countr_zero(reaching);
        const TBodyPoint p1{a.PointX[i], a.PointY[i]};
        const TBodyPoint p2{a.PointX[i + 1], a.PointY[i + 1]};
        for (int32_t j = 0; j < b.Sides; j++) {
            const TBodyPoint p3{b.PointX[j], b.PointY[j]};
            const TBodyPoint p4{b.PointX[j + 1], b.PointY[j + 1]};
            if (quick) {
                if (OneSide(side[i][j], side[i][j + 1], sideMargin[i])) continue;
                const double dx34 = p4.X - p3.X, dy34 = p4.Y - p3.Y;
                const double reach = Larger(std::fabs(p1.X - p3.X), std::fabs(p2.X - p3.X)) +
                                     Larger(std::fabs(p1.Y - p3.Y), std::fabs(p2.Y - p3.Y));
                const double margin34 = SideMargin * (std::fabs(dx34) + std::fabs(dy34)) * (reach + 1);
                if (OneSide(dx34 * (p1.Y - p3.Y) - dy34 * (p1.X - p3.X),
                            dx34 * (p2.Y - p3.Y) - dy34 * (p2.X - p3.X), margin34))
                    continue;
            }
            TBodyPoint p;
            if (!IntersectSegments(p1, p2, p3, p4, p)) continue;
            if (count == 0) {
                first = p;
            } else if (count == 1) {
                normalX = Ext(first.Y) - p.Y;
                normalY = Ext(p.X) - first.X;
            }
            sumX += p.X;
            sumY += p.Y;
            count++;
        }
    }
    if (count > 0) {
        contact.CenterX = Rounded(sumX / count);
        contact.CenterY = Rounded(sumY / count);
        const long double length = std::sqrt(normalX * normalX + normalY * normalY);
        if (length > 0) {
            normalX /= length;
            normalY /= length;
        }
        contact.NormalX = Rounded(normalX);
        contact.NormalY = Rounded(normalY);
    }
    return count;
}

// Only pairs this close can touch; no vertex needed.
template <class TBody>
bool WithinReach(const TBody& a, const TBody& b) {
    const long double dx = Ext(b.X) - a.X, dy = Ext(b.Y) - a.Y;
    return !(dx * dx + dy * dy > Ext(a.Width) * a.Width + Ext(a.Height) * a.Height +
                                     Ext(b.Width) * b.Width + Ext(b.Height) * b.Height);
}

template <class TBody>
TPairChange PairImpulse(const TBody& a, const TBody& b, double restitution, double centerX,
                        double centerY, double normalX, double normalY, double vax, double vay,
                        double wa, double vbx, double vby, double wb) {
    const long double nx = normalX, ny = normalY;
    const long double rax = Ext(centerX) - a.X, ray = Ext(centerY) - a.Y;
    const long double rbx = Ext(centerX) - b.X, rby = Ext(centerY) - b.Y;
    const long double ca = rax * ny - ray * nx;
    const long double cb = rbx * ny - rby * nx;
    const long double vrx = (vax - ray * wa) - (vbx - rby * wb);
    const long double vry = (vay + rax * wa) - (vby + rbx * wb);
    const long double ta = ca / a.Inertia;
    const long double tb = cb / b.Inertia;
    const long double j = -(1 + Ext(restitution)) * (nx * vrx + ny * vry) /
                          (1 / Ext(a.Mass) + ta * ca + tb * cb + 1 / Ext(b.Mass));
    const long double ja = j / a.Mass, jb = j / b.Mass;
    return {ja * nx, ja * ny, ta * j, -(jb * nx), -(jb * ny), -(tb * j)};
}

void AddChange(double& vx, double& vy, double& w, long double x, long double y, long double turn) {
    vx = Rounded(vx + x);
    vy = Rounded(vy + y);
    w = Rounded(w + turn);
}

void AddToA(const TPairChange& d, double& vx, double& vy, double& w) { AddChange(vx, vy, w, d.AX, d.AY, d.AW); }
void AddToB(const TPairChange& d, double& vx, double& vy, double& w) { AddChange(vx, vy, w, d.BX, d.BY, d.BW); }

// From the crossings on: the impulse, the separation test, fixed bodies.
template <class TBody>
void RespondToContact(TBody& a, TBody& b, double restitution, const TContact& c) {
    if (FixedOf(a) + FixedOf(b) > 0) restitution = 0;
    double vax = a.VelocityX, vay = a.VelocityY, wa = a.AngularVelocity;
    double vbx = b.VelocityX, vby = b.VelocityY, wb = b.AngularVelocity;
    const TPairChange d = PairImpulse(a, b, restitution, c.CenterX, c.CenterY, c.NormalX, c.NormalY,
                                      vax, vay, wa, vbx, vby, wb);
    AddToA(d, vax, vay, wa);
    AddToB(d, vbx, vby, wb);
    // Bodies already moving apart are not pushed again.
    if (!((Ext(a.X) - b.X) * (Ext(vax) - a.VelocityX) + (Ext(a.Y) - b.Y) * (Ext(vay) - a.VelocityY) > 0))
        return;
    if (FixedOf(a) == 1) {
        vax = vay = wa = 0;
        AddToB(d, vbx, vby, wb);
    }
    if (FixedOf(b) == 1) {
        vbx = vby = wb = 0;
        AddToA(d, vax, vay, wa);
    }
    a.VelocityX = vax;
    a.VelocityY = vay;
    a.AngularVelocity = wa;
    b.VelocityX = vbx;
    b.VelocityY = vby;
    b.AngularVelocity = wb;
}

template <class TBody>
void MoveBody(TBody& b, long double h, double rightEdge, double bottomEdge) {
    b.X = Rounded(b.X + h * b.VelocityX);
    b.Y = Rounded(b.Y + h * b.VelocityY);
    b.Angle = Rounded(b.Angle + h * b.AngularVelocity);
    b.VelocityY = Rounded(b.VelocityY + Ext(RigidGravity) * h);
    // By the unrotated extents, and only the velocity: the body may overshoot
    // and comes back in the next sub-steps.
    const long double halfWidth = Ext(b.Width) / 2, halfHeight = Ext(b.Height) / 2;
    if (b.X < halfWidth) b.VelocityX = std::fabs(b.VelocityX);
    if (b.X > rightEdge - halfWidth) b.VelocityX = -std::fabs(b.VelocityX);
    if (b.Y < halfHeight) b.VelocityY = std::fabs(b.VelocityY);
    if (b.Y > bottomEdge - halfHeight) b.VelocityY = -std::fabs(b.VelocityY);
    b.VelocityX = Rounded(Ext(b.VelocityX) * b.DampingFactor);
    b.VelocityY = Rounded(Ext(b.VelocityY) * b.DampingFactor);
    b.AngularVelocity = Rounded(Ext(b.AngularVelocity) * b.DampingFactor);
}

// The bodies j below i that pass the bounding test, into NearIndex. In
// float: its rounding matters only for pairs about twice as far apart as any
// that can touch. Pairs with a NaN, which cannot cross, are left out.
int32_t NearBodies(int32_t i) {
    int32_t count = 0;
#if defined(__SSE2__)
    const __m128 x = _mm_set1_ps(CenterXOf[i]), y = _mm_set1_ps(CenterYOf[i]);
    const __m128 reach = _mm_set1_ps(ReachOf[i]);
    for (int32_t j = 0; j < i; j += 4) {
        const __m128 dx = _mm_sub_ps(_mm_load_ps(&CenterXOf[j]), x);
        const __m128 dy = _mm_sub_ps(_mm_load_ps(&CenterYOf[j]), y);
        const __m128 distance = _mm_add_ps(_mm_mul_ps(dx, dx), _mm_mul_ps(dy, dy));
        uint32_t mask = static_cast<uint32_t>(
            _mm_movemask_ps(_mm_cmple_ps(distance, _mm_add_ps(reach, _mm_load_ps(&ReachOf[j])))));
        if (i - j < 4) mask &= (1u << (i - j)) - 1;
        while (mask != 0) {
            NearIndex[count++] = j + std::countr_zero(mask);
            mask &= mask - 1;
        }
    }
#else
    for (int32_t j = 0; j < i; j++) {
        const float dx = CenterXOf[j] - CenterXOf[i], dy = CenterYOf[j] - CenterYOf[i];
        NearIndex[count] = j;
        count += dx * dx + dy * dy <= ReachOf[i] + ReachOf[j];
    }
#endif
    return count;
}

// All pairs (i from 1, j below i), each seeing the velocities the pairs
// before it left.
template <class TBody>
void CollideAllPairs(TBody* bodies, int32_t lastIndex) {
    if (!RigidQuickRejects) {
        for (int32_t i = 1; i <= lastIndex; i++)
            for (int32_t j = 0; j < i; j++) CollidePair(bodies[i], bodies[j], 1.0);
        return;
    }
    for (int32_t k = 0; k <= lastIndex; k++) {
        const TBody& body = bodies[k];
        MakeShape(body, Shapes[k]);
        const bool inReach = std::fabs(body.X) < FloatReachLimit && std::fabs(body.Y) < FloatReachLimit;
        CenterXOf[k] = inReach ? static_cast<float>(body.X) : 0;
        CenterYOf[k] = inReach ? static_cast<float>(body.Y) : 0;
        ReachOf[k] = inReach ? static_cast<float>(body.Width * body.Width + body.Height * body.Height)
                             : std::numeric_limits<float>::infinity();
    }
    for (int32_t i = 1; i <= lastIndex; i++) {
        const int32_t nearCount = NearBodies(i);
        for (int32_t k = 0; k < nearCount; k++) {
            const int32_t j = NearIndex[k];
            if (ShapesApart(Shapes[i], Shapes[j])) continue;
            TContact contact;
            if (CrossShapes(Shapes[i], Shapes[j], true, contact) == 0) continue;
            RespondToContact(bodies[i], bodies[j], 1.0, contact);
        }
    }
}

void AddEllipsePolygon(TBodyVertices& vertices, int32_t sides, double width, double height) {
    for (int32_t j = 0; j < sides; j++) {
        const long double a = j * 2 * std::numbers::pi_v<long double> / sides;
        vertices[j] = {Rounded(std::cos(a) * width / 2), Rounded(std::sin(a) * height / 2)};
    }
}

template <class TBody>
void FillBody(TBody& b, int32_t sides, double width, double height, double x, double y,
              double damping, double angle) {
    b.Sides = sides;
    b.X = x;
    b.Y = y;
    b.DampingFactor = damping;
    b.Mass = Rounded(Ext(width) * height);
    b.Inertia = Rounded((Ext(width) * width + Ext(height) * height) * b.Mass / 12);
    b.Width = width;
    b.Height = height;
    b.Angle = angle;
}

bool CanAdd(int32_t index, int32_t capacity, int32_t sides) {
    return index >= 0 && index < capacity && sides >= 3 && sides <= MaxBodySides;
}

}  // namespace

void AddRigidBody(int32_t index, int32_t sides, int32_t fixed, double width, double height, double x,
                  double y, double vx, double vy, double angularVelocity, double angle,
                  double damping) {
    if (!CanAdd(index, RigidTableSize, sides)) return;
    TRigidBody& b = RigidBodies[index];
    b.Fixed = fixed;
    FillBody(b, sides, width, height, x, y, damping, angle);
    if (fixed == 0) {
        b.VelocityX = vx;
        b.VelocityY = vy;
        b.AngularVelocity = angularVelocity;
    }
    if (sides == 4) {
        const double w = width / 2, h = height / 2;
        b.Vertices[0] = {-w, -h};
        b.Vertices[1] = {w, -h};
        b.Vertices[2] = {w, h};
        b.Vertices[3] = {-w, h};
    } else {
        AddEllipsePolygon(b.Vertices, sides, width, height);
    }
}

void AddRigidBody(int32_t index, int32_t sides, double width, double height, double x, double y,
                  double vx, double vy, double angularVelocity, double angle, double damping) {
    if (!CanAdd(index, CrowdTableSize, sides)) return;
    TCrowdBody& b = CrowdBodies[index];
    FillBody(b, sides, width, height, x, y, damping, angle);
    b.VelocityX = vx;
    b.VelocityY = vy;
    b.AngularVelocity = angularVelocity;
    AddEllipsePolygon(b.Vertices, sides, width, height);
}

template <class TBody>
int32_t WorldVertices(const TBody& body, TBodyVertices& points) {
    const long double c = std::cos(body.Angle), s = std::sin(body.Angle);
    const int32_t n = SidesInUse(body.Sides);
    for (int32_t j = 0; j < n; j++) points[j] = PlacedVertex(body, body.Vertices[j], c, s);
    return n;
}

bool IntersectSegments(const TBodyPoint& p1, const TBodyPoint& p2, const TBodyPoint& p3,
                       const TBodyPoint& p4, TBodyPoint& point) {
    const long double dx12 = Ext(p2.X) - p1.X, dy12 = Ext(p2.Y) - p1.Y;
    const long double dx43 = Ext(p3.X) - p4.X, dy43 = Ext(p3.Y) - p4.Y;
    const long double den = dx12 * dy43 - dy12 * dx43;
    if (den == 0) return false;
    const long double dx31 = Ext(p3.X) - p1.X, dy31 = Ext(p3.Y) - p1.Y;
    const long double tNumerator = dx31 * dy43 - dy31 * dx43;
    const long double uNumerator = dx12 * dy31 - dy12 * dx31;
    // A quotient's sign is its operands' (none of these underflows), and one
    // at least 1 stays so when rounded: most misses need no division.
    if (OutsideUnit(tNumerator, den) || OutsideUnit(uNumerator, den)) return false;
    const long double t = tNumerator / den;
    if (!(t >= 0 && t < 1)) return false;
    const long double u = uNumerator / den;
    if (!(u >= 0 && u < 1)) return false;
    point = {Rounded(p1.X + t * dx12), Rounded(p1.Y + t * dy12)};
    return true;
}

template <class TBody>
int32_t IntersectBodies(const TBody& a, const TBody& b, double& centerX, double& centerY,
                        double& normalX, double& normalY) {
    TWorldShape shapeA, shapeB;
    MakeShape(a, shapeA);
    MakeShape(b, shapeB);
    TContact c;
    const int32_t count = CrossShapes(shapeA, shapeB, false, c);
    centerX = c.CenterX;
    centerY = c.CenterY;
    normalX = c.NormalX;
    normalY = c.NormalY;
    return count;
}

template <class TBody>
void ApplyPairImpulse(const TBody& a, const TBody& b, double restitution, double centerX,
                      double centerY, double normalX, double normalY, double& vax, double& vay,
                      double& wa, double& vbx, double& vby, double& wb) {
    const TPairChange d = PairImpulse(a, b, restitution, centerX, centerY, normalX, normalY, vax,
                                      vay, wa, vbx, vby, wb);
    AddToA(d, vax, vay, wa);
    AddToB(d, vbx, vby, wb);
}

template <class TBody>
void CollidePair(TBody& a, TBody& b, double restitution) {
    if (!WithinReach(a, b)) return;
    TContact c;
    if (IntersectBodies(a, b, c.CenterX, c.CenterY, c.NormalX, c.NormalY) == 0) return;
    RespondToContact(a, b, restitution, c);
}

template <class TBody>
void StepRigidFrame(TBody* bodies, int32_t lastIndex, double rightEdge, double bottomEdge) {
    if (lastIndex >= ShapeCapacity) lastIndex = ShapeCapacity - 1;
    const long double h = Ext(RigidFrameTime) / RigidSubSteps;
    for (int32_t step = 0; step < RigidSubSteps; step++) {
        CollideAllPairs(bodies, lastIndex);
        for (int32_t k = 0; k <= lastIndex; k++)
            if (FixedOf(bodies[k]) == 0) MoveBody(bodies[k], h, rightEdge, bottomEdge);
    }
}

template <class TBody>
int32_t PickNearestBody(const TBody* bodies, int32_t lastIndex, int32_t x, int32_t y, double best,
                        int32_t current) {
    long double nearest = best;
    int32_t picked = current;
    for (int32_t k = 0; k <= lastIndex; k++) {
        const long double dx = Ext(bodies[k].X) - x, dy = Ext(bodies[k].Y) - y;
        const long double distance = dx * dx + dy * dy;
        if (distance < nearest) {
            nearest = distance;
            picked = k;
        }
    }
    return picked;
}

#define RIGID_ENGINE_INSTANCES(TBody)                                                       \
    template int32_t WorldVertices(const TBody&, TBodyVertices&);                            \
    template int32_t IntersectBodies(const TBody&, const TBody&, double&, double&, double&,  \
                                     double&);                                               \
    template void ApplyPairImpulse(const TBody&, const TBody&, double, double, double,       \
                                   double, double, double&, double&, double&, double&,       \
                                   double&, double&);                                        \
    template void CollidePair(TBody&, TBody&, double);                                       \
    template void StepRigidFrame(TBody*, int32_t, double, double);                           \
    template int32_t PickNearestBody(const TBody*, int32_t, int32_t, int32_t, double, int32_t);
RIGID_ENGINE_INSTANCES(TRigidBody)
RIGID_ENGINE_INSTANCES(TCrowdBody)
