#include "disc_billiard.h"

#include <cmath>

#include "extended_ops.h"
#include "min_max.h"

std::array<TDisc, DiscCapacity> Discs{};

namespace {

// e^(-0.1 dt), the same for both components; remembered for the one time
// step a program uses.
long double DampingFactor(double timeStep) {
    static double factorStep = 0.0;
    static long double factor = 1.0L;
    if (timeStep != factorStep) {
        factor = expl(-0.1L * timeStep);
        factorStep = timeStep;
    }
    return factor;
}

double ClampedSpeed(double v) { return MinOf(MaxOf(v, -SpeedLimit), SpeedLimit); }

}  // namespace

void DriveCueDisc(int32_t mouseX, int32_t mouseY, double timeStep) {
    TDisc& cue = Discs[0];
    cue.VX = Rounded((static_cast<long double>(mouseX) - cue.X) / timeStep);
    cue.VY = Rounded((static_cast<long double>(mouseY) - cue.Y) / timeStep);
}

void StepDisc(TDisc& disc, double timeStep, double w, double h) {
    disc.X = Rounded(disc.X + static_cast<long double>(timeStep) * disc.VX);
    disc.Y = Rounded(disc.Y + static_cast<long double>(timeStep) * disc.VY);
    const long double damping = DampingFactor(timeStep);
    disc.VX = Rounded(disc.VX * damping);
    disc.VY = Rounded(disc.VY * damping);
    // Mirrored about the line Radius from the edge, not clamped; each test
    // sees the position the one before left, so a corner mirrors both ways.
    const long double r = disc.Radius;
    if (disc.X - r < 0) {
        disc.X = Rounded(2 * r - disc.X);
        disc.VX = std::fabs(disc.VX);
    }
    if (disc.Y - r < 0) {
        disc.Y = Rounded(2 * r - disc.Y);
        disc.VY = std::fabs(disc.VY);
    }
    if (disc.X + r > w) {
        disc.X = Rounded(2 * (w - r) - disc.X);
        disc.VX = -std::fabs(disc.VX);
    }
    if (disc.Y + r > h) {
        disc.Y = Rounded(2 * (h - r) - disc.Y);
        disc.VY = -std::fabs(disc.VY);
    }
}

void ResolveDiscOverlap(TDisc& k, TDisc& j, double timeStep, bool clamp) {
    // Most pairs are far apart: a margin of 1e-7 keeps this quick test from
    // ever turning away a pair that the exact test below would take.
    const double reach = k.Radius + j.Radius;
    const double ddx = j.X - k.X, ddy = j.Y - k.Y;
    if (ddx * ddx + ddy * ddy > reach * reach * 1.0000001) return;

    const long double dx = static_cast<long double>(j.X) - k.X;
    const long double dy = static_cast<long double>(j.Y) - k.Y;
    const long double distance = sqrtl(dx * dx + dy * dy);
    const long double o = distance - (static_cast<long double>(k.Radius) + j.Radius);
    if (!(o < 0)) return;  // touching discs do not interact
    // Coincident centres have no direction between them: push along x rather
    // than divide by zero, which would spread NaN to every disc met later.
    long double nx = 1, ny = 0;
    if (distance > 0) {
        nx = dx / distance;
        ny = dy / distance;
    }
    const long double rk2 = static_cast<long double>(k.Radius) * k.Radius;
    const long double rj2 = static_cast<long double>(j.Radius) * j.Radius;
    const long double s = rj2 + rk2;
    const long double kShare = rj2 / s, jShare = rk2 / s;
    k.X = Rounded(k.X + o * nx / 2);
    k.VX = Rounded(k.VX + kShare * o * nx / timeStep);
    k.Y = Rounded(k.Y + o * ny / 2);
    k.VY = Rounded(k.VY + kShare * o * ny / timeStep);
    j.X = Rounded(j.X - o * nx / 2);
    j.VX = Rounded(j.VX - jShare * o * nx / timeStep);
    j.Y = Rounded(j.Y - o * ny / 2);
    j.VY = Rounded(j.VY - jShare * o * ny / timeStep);
    if (clamp) {
        k.VX = ClampedSpeed(k.VX);
        k.VY = ClampedSpeed(k.VY);
        j.VX = ClampedSpeed(j.VX);
        j.VY = ClampedSpeed(j.VY);
    }
}

void StartRandomDiscs(const TBilliardSettings& settings, int32_t w, int32_t h,
                      TRandomSource& random) {
    for (int32_t k = 0; k < settings.DiscCount; k++) {
        TDisc& disc = Discs[k];
        disc.X = RandomBelow(random, w);
        disc.Y = RandomBelow(random, h);
        disc.Radius = RandomBelow(random, 32) + 8;
        disc.VX = RandomBelow(random, 64);
        disc.VY = RandomBelow(random, 64);
        disc.Colour = settings.Colouring == TDiscColouring::FromIndex ? k + 32
                                                                      : RandomBelow(random, 14) + 1;
    }
}

void LayOutRack(int32_t w, int32_t h, TRandomSource& random) {
    Discs = {};
    constexpr long double radius = 12;
    for (int32_t k = 0; k < RackBilliard.DiscCount; k++) {
        // Columns of six (cue and 1..5), four, three, two and one.
        const int32_t a = k > 5, b = k > 9, c = k > 12, d = k > 14;
        TDisc& disc = Discs[k];
        disc.X = Rounded(static_cast<long double>(w) / 10 +
                         (a + b + c + d) * 2 * radius * sqrtl(3) / 2);
        disc.Y = Rounded(static_cast<long double>(h) / 2 +
                         ((k - 3) - 4.5L * a - 3.5L * b - 2.5L * c - 1.5L * d) * 2 * radius);
        disc.Radius = radius;
        disc.Colour = RandomBelow(random, 7) + 9;
    }
}

void AdvanceDiscs(const TBilliardSettings& settings, double w, double h, TDrawDisc drawDisc) {
    const int32_t n = settings.DiscCount;
    const double dt = settings.TimeStep;
    for (int32_t i = 0; i < n; i++) {
        const int32_t k = settings.LoopDownwards ? n - 1 - i : i;
        StepDisc(Discs[k], dt, w, h);
        if (settings.AllPartners) {
            for (int32_t j = 0; j < n; j++)
                if (j != k) ResolveDiscOverlap(Discs[k], Discs[j], dt, settings.Clamp);
        } else {
            for (int32_t j = k - 1; j >= 0; j--)
                ResolveDiscOverlap(Discs[k], Discs[j], dt, settings.Clamp);
        }
        if (drawDisc) drawDisc(Discs[k]);
    }
}
