#include "body.h"

#include <bit>
#include <numbers>

void InitBody(int32_t n, TWorldBody& body, double w, double h, double mass, double px, double py,
              double fx, double fy, double vx, double vy, double angVel, double friction,
              double angle) {
    body = TWorldBody{};
    // The record holds 11 vertices; a count outside 1..11 would make the shape
    // routines read past them.
    if (n < 1) n = 1;
    if (n > MaxBodyVertices) n = MaxBodyVertices;
    body.VertexCount = n;
    body.Width = w;
    body.Height = h;
    body.Mass = mass;
    body.Position = {px, py};
    body.Force = {fx, fy};
    body.Velocity = {vx, vy};
    body.AngularVelocity = angVel;
    body.Friction = friction;
    body.Angle = angle;
    if (mass < HugeReal) {
        body.InvMass = static_cast<double>(1 / static_cast<long double>(mass));
        // The box formula for every shape: a circle passes its diameter as w.
        body.Inertia = static_cast<double>(
            static_cast<long double>(mass) *
            (static_cast<long double>(w) * w + static_cast<long double>(h) * h) / 12);
        body.InvInertia = static_cast<double>(1 / static_cast<long double>(body.Inertia));
    } else {
        body.Inertia = HugeRealStored;
    }
    long double halfW = static_cast<long double>(w) / 2;
    long double halfH = static_cast<long double>(h) / 2;
    if (n == 4) {
        body.Vertices[0] = {static_cast<double>(-halfW), static_cast<double>(-halfH)};
        body.Vertices[1] = {static_cast<double>(halfW), static_cast<double>(-halfH)};
        body.Vertices[2] = {static_cast<double>(halfW), static_cast<double>(halfH)};
        body.Vertices[3] = {static_cast<double>(-halfW), static_cast<double>(halfH)};
    } else if (n == 1) {
        body.Width = static_cast<double>(halfW);
        body.Vertices[0] = {static_cast<double>(halfW), 0};
    } else {
        long double step = 2 * std::numbers::pi_v<long double> / n;
        long double a = std::numbers::pi_v<long double> / n;
        for (int32_t i = 0; i < n; i++) {
            a += step;
            body.Vertices[i] = {static_cast<double>(std::cos(a) * halfW),
                                static_cast<double>(std::sin(a) * halfH)};
        }
    }
}

namespace {

struct TRotationMemo {
    uint64_t AngleBits;
    bool Valid;
    TMat22 Rot;
};

// Slot 0 and anything outside the table are worked out afresh every time.
std::array<TRotationMemo, WorldCapacity + 1> RotationMemos{};

}  // namespace

TMat22 BodyRotation(const TWorldBody& body) {
    if (body.Index < 1 || body.Index > WorldCapacity) return Rotation(body.Angle);
    uint64_t bits = std::bit_cast<uint64_t>(body.Angle);
    TRotationMemo& memo = RotationMemos[body.Index];
    if (!memo.Valid || memo.AngleBits != bits) {
        memo.Rot = Rotation(body.Angle);
        memo.AngleBits = bits;
        memo.Valid = true;
    }
    return memo.Rot;
}
