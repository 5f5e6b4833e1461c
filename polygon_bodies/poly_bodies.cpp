#include "poly_bodies.h"

#include <cmath>

#include "coords.h"
#include "extended_ops.h"

std::array<TPolyBody, PolyMaxBodies + 1> PolyBodies{};
int32_t PolyBodyCount = 0;

double PolyDrag = 0;
double PolyGravity = 1e-5;
double PolyCorrection = 0.9;
double PolyRestitution = 1.0;
double PolyRestThreshold = 0.01;
double PolySlip = 0;
int32_t PolySideCount = 3;

int32_t PolyWindowWidth = 640;
int32_t PolyWindowHeight = 480;

namespace {

constexpr long double Pi = 3.141592653589793238462643383279502884L;
constexpr double Jitter = 1e-4;
constexpr double MinEdgeLength = 1e-5;

// Cosine and sine in extended precision. The x87 instruction is many times
// faster than the library's extended routines, whose argument reduction
// dominates once angles have grown past a few turns; it takes arguments
// below 2^63, far beyond any angle a run reaches.
void ExtendedCosSin(long double angle, long double& c, long double& s) {
#if defined(__i386__) || defined(__x86_64__)
    if (std::fabs(angle) < 0x1p62L) {
        asm("fsincos" : "=t"(c), "=u"(s) : "0"(angle));
        return;
    }
#endif
    c = std::cos(angle);
    s = std::sin(angle);
}

}  // namespace

double RandomFraction(TRandomSource& random, double x) {
    return Rounded(RandomBelow(random, 1000) * (static_cast<long double>(x) / 1000));
}

double Hypot(double a, double b) {
    const long double la = a, lb = b;
    return Rounded(std::sqrt(la * la + lb * lb));
}

void AddPolygonBodies(TRandomSource& random, int32_t count, int32_t sides, double radius,
                      double stretch) {
    const int32_t n = PolyBodyCount;
    TPolyBody& first = PolyBodies[n];
    first.X = 0.5;
    first.Y = 0.5;
    if (radius < 1e-5)
        radius = 0.1;
    else if (radius > 2)
        radius = 2;
    const long double r = radius;
    const double mass = Rounded(Pi * r * r * stretch * 100);
    const double inertiaFactor = Rounded(r * r * stretch);
    if (sides < 2) sides = 2;
    if (sides >= 10) sides = 9;
    if (count < 0) count = 0;
    if (n + count > PolyMaxBodies) count = PolyMaxBodies - n;
    first.Colour = 0;
    first.HalfSize = Rounded(static_cast<long double>(stretch) * r);
    first.Mass = mass;
    first.InertiaFactor = inertiaFactor;
    // One record more than count: the last becomes the next template.
    for (int32_t i = n; i <= n + count; i++) {
        TPolyBody& b = PolyBodies[i];
        // Every record starts from the first one as it stands now, spin
        // included, so spins accumulate along the column.
        if (i != n) b = first;
        b.Colour = i % 6 + 9;
        if (i > n) {
            b.Y = Rounded(PolyBodies[i - 1].Y + 2 * r);
            b.X = PolyBodies[i - 1].X;
        }
        if (b.Y + r > PolyWorldHeight) {
            b.Y = 0.5;
            b.X = Rounded(PolyBodies[i - 1].X + 2 * r * stretch);
        }
        b.Sides = sides;
        for (int32_t j = 0; j < sides; j++) {
            const long double r1 = RandomFraction(random, Jitter);
            const long double r2 = RandomFraction(random, Jitter);
            const long double r3 = RandomFraction(random, Jitter);
            const long double r4 = RandomFraction(random, Jitter);
            // Half a step past zero; only x is stretched, and its sign makes
            // the vertices run clockwise.
            b.LocalX[j] = Rounded(std::cos((r1 + j + 0.5L) * 2 * Pi / sides) * ((1 - r2) * r) *
                                  -static_cast<long double>(stretch));
            b.LocalY[j] = Rounded(std::sin((r3 + j + 0.5L) * 2 * Pi / sides) * ((1 - r4) * r));
        }
        for (int32_t j = 0; j < sides; j++) {
            const int32_t k = j + 1 < sides ? j + 1 : 0;
            const double length = Hypot(b.LocalX[j] - b.LocalX[k], b.LocalY[j] - b.LocalY[k]);
            b.EdgeLength[j] = length < MinEdgeLength ? MinEdgeLength : length;
        }
        b.AngularVelocity = Rounded(static_cast<long double>(b.AngularVelocity) +
                                    RandomFraction(random, static_cast<double>(Pi * 1e-4L)));
    }
    PolyBodyCount += count;
}

void StartPolyBodies(TRandomSource& random) {
    PolyBodies.fill(TPolyBody{});
    PolyDrag = 0;
    PolyGravity = 1e-5;
    PolyCorrection = 0.9;
    PolyRestitution = 1.0;
    PolyRestThreshold = 0.01;
    PolySlip = 0;
    PolyBodyCount = 0;
    PolySideCount = 3;
    AddPolygonBodies(random, 5, PolySideCount, 2.0, 3.0);
}

void SaveBodyPoses() {
    for (int32_t i = 0; i < PolyBodyCount; i++) {
        PolyBodies[i].SavedX = PolyBodies[i].X;
        PolyBodies[i].SavedY = PolyBodies[i].Y;
    }
}

void IntegrateBodies() {
    for (int32_t i = 0; i < PolyBodyCount; i++) {
        TPolyBody& b = PolyBodies[i];
        const long double w = b.AngularVelocity;
        // The rotation about the recorded group centre takes x as it stood
        // before the step: with the new x a body in free flight would drift
        // sideways by its velocity times its spin every frame.
        const long double oldX = b.X;
        b.X = Rounded(oldX + b.VelocityX + (b.GroupY - static_cast<long double>(b.Y)) * w);
        b.Y = Rounded(b.Y + static_cast<long double>(b.VelocityY) + (oldX - b.GroupX) * w);
        b.Angle = Rounded(static_cast<long double>(b.Angle) + w);
    }
}

void UpdateCompounds() {
    for (int32_t i = 0; i < PolyBodyCount; i++) {
        TPolyBody& b = PolyBodies[i];
        b.GroupX = b.X;
        b.GroupY = b.Y;
        b.GroupMass = b.Mass;
        b.GroupInertia = Rounded(static_cast<long double>(b.Mass) * b.InertiaFactor);
    }
}

void TransformVertices() {
    for (int32_t i = 0; i < PolyBodyCount; i++) {
        TPolyBody& b = PolyBodies[i];
        const long double angle = b.Angle;
        long double c, s;
        ExtendedCosSin(angle, c, s);
        const long double x = b.X, y = b.Y;
        for (int32_t j = 0; j < b.Sides; j++) {
            b.WorldX[j] = Rounded(x + c * b.LocalX[j] - s * b.LocalY[j]);
            b.WorldY[j] = Rounded(y + s * b.LocalX[j] + c * b.LocalY[j]);
        }
    }
}

void ProjectToScreen() {
    const long double scaleX = static_cast<long double>(PolyWindowWidth) / PolyWorldWidth;
    const long double scaleY = static_cast<long double>(PolyWindowHeight) / PolyWorldHeight;
    for (int32_t i = 0; i < PolyBodyCount; i++) {
        TPolyBody& b = PolyBodies[i];
        for (int32_t j = 0; j < b.Sides; j++) {
            b.ScreenPoints[j].X = SafeRound(Rounded(b.WorldX[j] * scaleX));
            b.ScreenPoints[j].Y = SafeRound(Rounded((PolyWorldHeight - b.WorldY[j]) * scaleY));
        }
        b.ScreenPoints[b.Sides] = b.ScreenPoints[0];
    }
}

void MovePolyBodies() {
    SaveBodyPoses();
    IntegrateBodies();
    UpdateCompounds();
    TransformVertices();
    ProjectToScreen();
}
