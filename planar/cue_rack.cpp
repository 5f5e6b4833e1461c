#include "cue_rack.h"

#include <cmath>
#include <numbers>

#include "extended_ops.h"
#include "key_codes.h"
#include "vector_angle.h"

std::array<TRackBall, RackBallCapacity> RackBalls;
int32_t RackBallCount = 0;
std::array<TOneSidedWall, RackWallCapacity> RackWalls;
int32_t RackWallCount = 0;
double TimeStep = 0.2;
int32_t EventKind = EventWall;
int32_t EventA = -1, EventB = -1;
double BestFraction = 0.2;
double EventNormalX = 0, EventNormalY = 0;

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;
constexpr long double TurnDegreesPerSecond = 250;

// Takes a fraction when it is within the look-ahead and strictly earlier
// than the best so far: on a tie the event met first stays.
void OfferEvent(long double t, int32_t kind, int32_t a, int32_t b, long double nx, long double ny) {
    if (!(t >= 0 && t <= 1 && t < BestFraction)) return;
    BestFraction = Rounded(t);
    EventKind = kind;
    EventA = a;
    EventB = b;
    EventNormalX = Rounded(nx);
    EventNormalY = Rounded(ny);
}

// Two balls cannot meet before the best fraction so far when on one axis
// their gap is wider than that part of their relative travel can close.
// Tested in double with a margin that rounding never crosses, this leaves the
// exact test for the few near pairs.
bool PairClearlyApart(const TRackBall& bi, const TRackBall& bj) {
    const double reach = bi.R + bj.R + 0.001;
    const double closing = BestFraction * TimeStep * 1.000001;
    return std::fabs(bi.X - bj.X) - closing * std::fabs(bi.VX - bj.VX) > reach ||
           std::fabs(bi.Y - bj.Y) - closing * std::fabs(bi.VY - bj.VY) > reach;
}

void OfferPair(int32_t i, int32_t j) {
    const TRackBall& bi = RackBalls[i];
    const TRackBall& bj = RackBalls[j];
    if (PairClearlyApart(bi, bj)) return;
    const long double rs = static_cast<long double>(bi.R) + bj.R;
    const long double dx = static_cast<long double>(bi.X) - bj.X;
    const long double dy = static_cast<long double>(bi.Y) - bj.Y;
    const long double ts = TimeStep;
    const long double travelX = ts * bi.VX - ts * bj.VX;
    const long double travelY = ts * bi.VY - ts * bj.VY;
    const long double dd = dx * dx + dy * dy;
    if (dd < rs * rs) return;  // overlapping balls pass through each other
    const long double a = travelX * travelX + travelY * travelY;
    const long double b = travelX * dx + travelY * dy;
    const long double disc = b * b - a * (dd - rs * rs);
    if (disc < 0 || a == 0) return;
    const long double t = (-b - std::sqrt(disc)) / a;
    // Balls of no size on one spot have no line of centres.
    const long double length = std::sqrt(dd);
    const long double nx = length == 0 ? 0 : dx / length, ny = length == 0 ? 0 : dy / length;
    OfferEvent(t, EventPair, i, j, nx, ny);
}

void OfferWall(int32_t i, int32_t w) {
    const TRackBall& ball = RackBalls[i];
    const TOneSidedWall& wall = RackWalls[w];
    const long double ts = TimeStep;
    const long double travelX = ts * ball.VX, travelY = ts * ball.VY;
    const long double s = wall.NX * (static_cast<long double>(wall.X1) - ball.X) +
                          wall.NY * (static_cast<long double>(wall.Y1) - ball.Y);
    if (ball.R > std::fabs(s)) return;  // reaching over the line: passes through
    const long double side = s < 0 ? -1 : 1;
    const long double qx = ball.X + side * ball.R * wall.NX;
    const long double qy = ball.Y + side * ball.R * wall.NY;
    if (wall.NX * travelX + wall.NY * travelY > 0) return;
    const long double ex = static_cast<long double>(wall.X2) - wall.X1;
    const long double ey = static_cast<long double>(wall.Y2) - wall.Y1;
    const long double fx = wall.X1 - qx, fy = wall.Y1 - qy;
    const long double den = ex * travelY - ey * travelX;
    if (den == 0) return;
    const long double t = (ex * fy - ey * fx) / den;
    if (t > 1) return;
    OfferEvent(t, EventWall, i, w, wall.NX, wall.NY);
}
}  // namespace

void AddRackBall(int32_t colour, double x, double y, double vx, double vy, double radius, double mass) {
    if (RackBallCount >= RackBallCapacity) return;
    RackBalls[RackBallCount] = TRackBall{x, y, vx, vy, mass, radius, colour};
    RackBallCount++;
}

void AddRackWall(double x1, double y1, double x2, double y2) {
    // The table holds eleven; a twelfth would be written past it.
    if (RackWallCount >= RackWallCapacity) return;
    const long double a = VectorAngle(Rounded(static_cast<long double>(x2) - x1),
                                      Rounded(static_cast<long double>(y2) - y1)) - Pi / 2;
    RackWalls[RackWallCount] = TOneSidedWall{x1, y1, x2, y2, Rounded(std::cos(a)), Rounded(std::sin(a))};
    RackWallCount++;
}

void SetUpRack(int32_t rightEdge, int32_t bottomEdge, int32_t cueColour, TRandomSource& random) {
    const long double w = rightEdge, h = bottomEdge;
    RackBallCount = 0;
    RackWallCount = 0;
    TimeStep = 0.2;
    for (int32_t row = 9; row >= 2; row--)
        for (int32_t col = 1; col <= row - 1; col++)
            AddRackBall(row + 6, Rounded(0.35L * w + (5 - row) * 27),
                        Rounded(0.5L * h + 31 * col - 31 * row / 2.0L), 0, 0, 15, 50);
    AddRackBall(cueColour, Rounded(0.65L * w), Rounded(0.5L * h), -50, RandomBelow(random, 5), 10, 50);
    AddRackWall(Rounded(0.15L * w), Rounded(0.1L * h), Rounded(0.15L * w), Rounded(0.95L * h));
    AddRackWall(Rounded(0.73L * w), Rounded(0.95L * h), Rounded(0.73L * w), Rounded(0.1L * h));
    AddRackWall(Rounded(0.95L * w), Rounded(0.45L * h), Rounded(0.05L * w), Rounded(0.2L * h));
    AddRackWall(Rounded(0.05L * w), Rounded(0.75L * h), Rounded(0.95L * w), Rounded(0.65L * h));
}

void FindEarliestEvent() {
    EventKind = EventWall;
    BestFraction = TimeStep;
    EventA = EventB = -1;
    for (int32_t i = 0; i < RackBallCount; i++) {
        for (int32_t j = i + 1; j < RackBallCount; j++) OfferPair(i, j);
        for (int32_t w = 0; w < RackWallCount; w++) OfferWall(i, w);
    }
}

void AdvanceRackBalls() {
    const long double f = static_cast<long double>(TimeStep) * BestFraction;
    for (int32_t i = 0; i < RackBallCount; i++) {
        TRackBall& ball = RackBalls[i];
        ball.X = Rounded(ball.X + f * ball.VX * TimeStep);
        ball.Y = Rounded(ball.Y + f * ball.VY * TimeStep);
    }
}

void ResolveRackEvent() {
    if (EventA < 0) return;
    TRackBall& a = RackBalls[EventA];
    if (EventKind == EventWall) {
        const long double nx = EventNormalX, ny = EventNormalY;
        const long double along = nx * a.VX + ny * a.VY;
        a.VX = Rounded(a.VX - 2 * along * nx);
        a.VY = Rounded(a.VY - 2 * along * ny);
        return;
    }
    TRackBall& b = RackBalls[EventB];
    const long double mr = static_cast<long double>(a.M) / b.M;
    const long double rvx = static_cast<long double>(a.VX) - b.VX;
    const long double rvy = static_cast<long double>(a.VY) - b.VY;
    long double nx = EventNormalX, ny = EventNormalY;
    const long double length = std::sqrt(nx * nx + ny * ny);
    if (length != 0) {
        nx /= length;
        ny /= length;
    }
    const long double along = nx * rvx + ny * rvy;
    const long double vnx = along * nx, vny = along * ny;
    const long double vtx = rvx - vnx, vty = rvy - vny;
    const long double keep = (mr - 1) / (mr + 1), give = 2 * mr / (1 + mr);
    a.VX = Rounded(keep * vnx + vtx + b.VX);
    a.VY = Rounded(keep * vny + vty + b.VY);
    b.VX = Rounded(b.VX + give * vnx);
    b.VY = Rounded(b.VY + give * vny);
}

void SteerCueBall(uint8_t key, int32_t rightEdge, int32_t bottomEdge) {
    if (RackBallCount == 0) return;
    TRackBall& cue = RackBalls[RackBallCount - 1];
    const long double ts = TimeStep;
    const long double vx = cue.VX, vy = cue.VY;
    switch (key) {
        case KeyUp:
            // The push's direction comes from the ball's place, so a ball at
            // rest moves too.
            cue.VX = Rounded(vx + std::cos(cue.X - rightEdge - vx) * 10 * ts);
            cue.VY = Rounded(vy + std::sin(cue.Y - bottomEdge - vy) * 10 * ts);
            break;
        case KeyLeft:
        case KeyRight: {
            const long double a = (key == KeyLeft ? -1 : 1) * ts * TurnDegreesPerSecond * Pi / 180;
            cue.VX = Rounded(std::cos(a) * vx - std::sin(a) * vy);
            cue.VY = Rounded(std::sin(a) * vx + std::cos(a) * vy);
            break;
        }
        case KeyDown:
            cue.VX = Rounded(0.9L * vx);
            cue.VY = Rounded(0.9L * vy);
            break;
        default: break;
    }
}

long double RackKineticEnergy() {
    long double energy = 0;
    for (int32_t i = 0; i < RackBallCount; i++) {
        const TRackBall& b = RackBalls[i];
        energy += 0.5L * b.M * (static_cast<long double>(b.VX) * b.VX + static_cast<long double>(b.VY) * b.VY);
    }
    return energy;
}
