#include "box_balls.h"

#include <cmath>

#include "extended_ops.h"

std::array<TBoxBall, BoxBallCapacity> BoxBalls;
int32_t BallCount = 0;
int32_t BallLimit = BoxBallsGlPhysics.BallLimit;
std::array<TBoxWall, BoxWallCapacity> BoxWalls;
int32_t WallCount = 0;
TVec3 BoxGravity{0, -9.82, 0};
int32_t EventDepth = 0;
int32_t MaxEventDepth = BoxBallsGlPhysics.MaxEventDepth;

void UseBoxBallsVariant(const TBoxBallsVariant& variant) {
    BallLimit = variant.BallLimit;
    MaxEventDepth = variant.MaxEventDepth;
}

void AddBoxBall(double x, double y, double z, double vx, double vy, double vz, double radius,
                double mass, uint32_t colour) {
    if (BallCount > BallLimit || BallCount >= BoxBallCapacity) return;
    TBoxBall& b = BoxBalls[static_cast<size_t>(BallCount)];
    VecSet(b.Pos, x, y, z);
    VecSet(b.Vel, vx, vy, vz);
    b.Radius = radius;
    b.Mass = mass;
    b.Colour = colour;
    BallCount++;
}

void AddBoxWall(double x, double y, double z, const TVec3& u, const TVec3& v) {
    TBoxWall& w = BoxWalls[static_cast<size_t>(WallCount)];
    VecSet(w.Point, x, y, z);
    w.U = u;
    w.V = v;
    VecCross(w.Normal, u, v);
    VecNormalize(w.Normal);
    WallCount++;
}

namespace {

TVec3 DriftOf(const TBoxBall& b, double t) {
    const long double t2 = static_cast<long double>(t) * t / 2;
    return {Rounded(b.Vel.X * static_cast<long double>(t) + BoxGravity.X * t2),
            Rounded(b.Vel.Y * static_cast<long double>(t) + BoxGravity.Y * t2),
            Rounded(b.Vel.Z * static_cast<long double>(t) + BoxGravity.Z * t2)};
}

double PairTime(const TBoxBall& p, const TBoxBall& q, const TVec3& driftP, const TVec3& driftQ) {
    const long double r = static_cast<long double>(p.Radius) + q.Radius;
    TVec3 d, m;
    VecSub(d, p.Pos, q.Pos);
    VecSub(m, driftP, driftQ);
    const long double a = VecDot(d, d), b = VecDot(m, m), c = VecDot(d, m);
    const long double disc = 4 * c * c - 4 * b * (a - r * r);
    if (disc < 0) return NoContact;
    if (b == 0) return NoContact;
    return Rounded((-2 * c - std::sqrt(disc)) / (2 * b));
}

double WallTime(const TBoxBall& ball, const TBoxWall& wall, const TVec3& drift) {
    TVec3 d;
    VecSub(d, ball.Pos, wall.Point);
    if (VecDot(d, wall.Normal) < 0) return NoContact;
    TVec3 q, gap;
    VecScale(q, wall.Normal, ball.Radius);
    VecAdd(q, wall.Point, q);
    VecSub(gap, ball.Pos, q);
    const double beyond = VecDot(gap, wall.Normal);
    // A ball reflected a rounding inside the radius plane must not be turned
    // back through the wall: only motion towards the plane makes an event.
    if (beyond <= 0) return VecDot(ball.Vel, wall.Normal) < 0 ? 0.0 : NoContact;
    const double dn = VecDot(drift, wall.Normal);
    if (std::fabs(dn) < 1e-7) return ParallelToWall;
    if (dn > 0) return NoContact;
    return Rounded(-static_cast<long double>(beyond) / dn);
}

// The box a ball's centre sweeps over a step, widened by its radius and a
// margin far above rounding: balls whose boxes stay apart cannot meet
// within the step, so the exact test can be skipped for them.
struct TSweptBox {
    double Low[3], High[3];
};

constexpr double SweepMargin = 1e-6;

TSweptBox SweptBox(const TBoxBall& b, const TVec3& drift) {
    const double from[3] = {b.Pos.X, b.Pos.Y, b.Pos.Z};
    const double by[3] = {drift.X, drift.Y, drift.Z};
    TSweptBox box;
    const double widen = b.Radius + SweepMargin;
    for (int k = 0; k < 3; k++) {
        const double to = from[k] + by[k];
        box.Low[k] = (from[k] < to ? from[k] : to) - widen;
        box.High[k] = (from[k] < to ? to : from[k]) + widen;
    }
    return box;
}

// NaN compares false everywhere, so NaN boxes never count as apart.
bool SweptBoxesApart(const TSweptBox& p, const TSweptBox& q) {
    return p.High[0] < q.Low[0] || q.High[0] < p.Low[0] || p.High[1] < q.Low[1] ||
           q.High[1] < p.Low[1] || p.High[2] < q.Low[2] || q.High[2] < p.Low[2];
}

std::array<TVec3, BoxBallCapacity> StepDrift;
std::array<TSweptBox, BoxBallCapacity> StepBox;

enum class TEventKind { None, BallBall, BallWall };

struct TEvent {
    TEventKind Kind = TEventKind::None;
    int32_t I = 0, Other = 0;
    double Time = 2.0;
    TVec3 Normal{};
};

TEvent FindEarliestEvent(double dt) {
    for (int32_t i = 0; i < BallCount; i++) {
        StepDrift[size_t(i)] = DriftOf(BoxBalls[size_t(i)], dt);
        StepBox[size_t(i)] = SweptBox(BoxBalls[size_t(i)], StepDrift[size_t(i)]);
    }
    TEvent e;
    for (int32_t i = 0; i < BallCount; i++) {
        const TBoxBall& p = BoxBalls[size_t(i)];
        for (int32_t j = i + 1; j < BallCount; j++) {
            if (SweptBoxesApart(StepBox[size_t(i)], StepBox[size_t(j)])) continue;
            const double s = PairTime(p, BoxBalls[size_t(j)], StepDrift[size_t(i)], StepDrift[size_t(j)]);
            if (0 <= s && s < 1 && s < e.Time) {
                e = {TEventKind::BallBall, i, j, s, {}};
                VecSub(e.Normal, p.Pos, BoxBalls[size_t(j)].Pos);
                VecNormalize(e.Normal);
            }
        }
        for (int32_t w = 0; w < WallCount; w++) {
            const double s = WallTime(p, BoxWalls[size_t(w)], StepDrift[size_t(i)]);
            if (0 <= s && s < 1 && s < e.Time) e = {TEventKind::BallWall, i, w, s, BoxWalls[size_t(w)].Normal};
        }
    }
    return e;
}

void AdvanceAll(double h) {
    const long double hl = h, h2 = hl * hl / 2;
    const TVec3 g = BoxGravity;
    for (int32_t i = 0; i < BallCount; i++) {
        TBoxBall& b = BoxBalls[size_t(i)];
        b.Pos = {Rounded(b.Pos.X + b.Vel.X * hl + g.X * h2), Rounded(b.Pos.Y + b.Vel.Y * hl + g.Y * h2),
                 Rounded(b.Pos.Z + b.Vel.Z * hl + g.Z * h2)};
        b.Vel = {Rounded(b.Vel.X + g.X * hl), Rounded(b.Vel.Y + g.Y * hl), Rounded(b.Vel.Z + g.Z * hl)};
    }
}

void Respond(const TEvent& e) {
    const TVec3& n = e.Normal;
    TBoxBall& p = BoxBalls[size_t(e.I)];
    if (e.Kind == TEventKind::BallWall) {
        const long double vn2 = 2 * static_cast<long double>(VecDot(p.Vel, n));
        p.Vel = {Rounded(p.Vel.X - vn2 * n.X), Rounded(p.Vel.Y - vn2 * n.Y), Rounded(p.Vel.Z - vn2 * n.Z)};
        return;
    }
    TBoxBall& q = BoxBalls[size_t(e.Other)];
    const long double push = 2 * (static_cast<long double>(VecDot(p.Vel, n)) - VecDot(q.Vel, n)) /
                             (static_cast<long double>(p.Mass) + q.Mass);
    const long double pq = push * q.Mass, pp = push * p.Mass;
    p.Vel = {Rounded(p.Vel.X - pq * n.X), Rounded(p.Vel.Y - pq * n.Y), Rounded(p.Vel.Z - pq * n.Z)};
    q.Vel = {Rounded(q.Vel.X + pp * n.X), Rounded(q.Vel.Y + pp * n.Y), Rounded(q.Vel.Z + pp * n.Z)};
}

}  // namespace

TVec3 BallDriftOffset(int32_t ball, double t) { return DriftOf(BoxBalls[size_t(ball)], t); }

void RotatePair(double& a, double& b, double angle) {
    const long double c = std::cos(static_cast<long double>(angle));
    const long double s = std::sin(static_cast<long double>(angle));
    const long double oldA = a, oldB = b;
    a = Rounded(oldA * c - oldB * s);
    b = Rounded(oldA * s + oldB * c);
}

double BallBallContactTime(int32_t i, int32_t j, double dt) {
    const TBoxBall& p = BoxBalls[size_t(i)];
    const TBoxBall& q = BoxBalls[size_t(j)];
    return PairTime(p, q, DriftOf(p, dt), DriftOf(q, dt));
}

double BallWallContactTime(int32_t i, int32_t w, double dt) {
    const TBoxBall& b = BoxBalls[size_t(i)];
    return WallTime(b, BoxWalls[size_t(w)], DriftOf(b, dt));
}

// The recursion of "advance to the event, respond, step the rest" as a loop:
// each pass counts as one call against the frame's limit.
void EventStep(double dt) {
    for (;;) {
        EventDepth++;
        if (EventDepth > MaxEventDepth) return;
        const TEvent e = FindEarliestEvent(dt);
        AdvanceAll(e.Kind == TEventKind::None ? dt : Rounded(static_cast<long double>(e.Time) * dt));
        if (e.Kind == TEventKind::None) return;
        Respond(e);
        dt = Rounded((1 - static_cast<long double>(e.Time)) * dt);
    }
}
