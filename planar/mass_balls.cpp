#include "mass_balls.h"

#include <cmath>

std::array<TMassBall, TwoBallCapacity> TwoBalls{};
std::array<TMassBall, GasCapacity> GasParticles{};

namespace {

using TExt = long double;

constexpr double GasRadius = 10;
constexpr double GasSpeed = 30;

}  // namespace

double ImpactTime(const TMassBall& i, const TMassBall& j, const TImpactRule& rule) {
    const TExt dx = TExt(i.X) - j.X, dy = TExt(i.Y) - j.Y, s = TExt(i.R) + j.R;
    const TExt d2 = dx * dx + dy * dy;
    if (d2 < s * s) return -1;
    const TExt dvx = TExt(i.VX) - j.VX, dvy = TExt(i.VY) - j.VY;
    const TExt a = dvx * dvx + dvy * dvy;
    const TExt b = dvx * dx + dvy * dy;
    const TExt c = d2 - s * s;
    const TExt disc = b * b - a * c;
    const bool meets = rule.GrazingCounts ? disc >= 0 : disc > 0;
    if (!meets || a == 0) return -2;
    const double t = static_cast<double>((-b - std::sqrt(disc)) / a);
    return t > 1 || t < 0 ? -2 : t;
}

bool ImpactDue(double t, const TImpactRule& rule) {
    if (rule.ZeroTimeCounts) return t >= 0 && t <= rule.TimeStep;
    return t > 0 && t < rule.TimeStep;
}

void CollideElastic(TMassBall& i, TMassBall& j) {
    TExt nx = TExt(i.X) - j.X, ny = TExt(i.Y) - j.Y;
    const TExt length = std::sqrt(nx * nx + ny * ny);
    if (length != 0) {
        nx /= length;
        ny /= length;
    } else {
        nx = 1;  // no line of centres: any fixed one keeps the numbers finite
        ny = 0;
    }
    const TExt rvx = TExt(i.VX) - j.VX, rvy = TExt(i.VY) - j.VY;
    const TExt p = nx * rvx + ny * rvy;
    const TExt vnx = p * nx, vny = p * ny;
    const TExt vtx = rvx - vnx, vty = rvy - vny;
    const TExt q = TExt(i.M) / j.M;
    const TExt keep = (q - 1) / (q + 1), hand = 2 * q / (1 + q);
    i.VX = static_cast<double>(keep * vnx + vtx + j.VX);
    i.VY = static_cast<double>(keep * vny + vty + j.VY);
    j.VX = static_cast<double>(j.VX + hand * vnx);
    j.VY = static_cast<double>(j.VY + hand * vny);
}

void MoveMassBall(TMassBall& b, double timeStep) {
    b.X = static_cast<double>(b.X + TExt(timeStep) * b.VX);
    b.Y = static_cast<double>(b.Y + TExt(timeStep) * b.VY);
}

void BounceOffEdges(TMassBall& b, double right, double bottom) {
    const TExt r = b.R;
    if ((b.X <= r && b.VX < 0) || (b.X >= right - r && b.VX > 0)) b.VX = -b.VX;
    if ((b.Y <= r && b.VY < 0) || (b.Y >= bottom - r && b.VY > 0)) b.VY = -b.VY;
}

void PlaceTwoBalls(double right, double bottom, TRandomSource& random) {
    TwoBalls[0] = {0.5 * right, 0.5 * bottom, 0, 0, 5, 5};
    TwoBalls[0].VX = RandomBelow(random, 10);
    TwoBalls[0].VY = RandomBelow(random, 10);
    TwoBalls[1] = {0.25 * right, 0.5 * bottom, 45, 0, 40, 40};
}

void StepTwoBalls(double right, double bottom) {
    for (int32_t k = 0; k < 2; k++) {
        MoveMassBall(TwoBalls[k], TwoBallRule.TimeStep);
        BounceOffEdges(TwoBalls[k], right, bottom);
    }
    if (ImpactDue(ImpactTime(TwoBalls[0], TwoBalls[1], TwoBallRule), TwoBallRule))
        CollideElastic(TwoBalls[0], TwoBalls[1]);
}

void SteerBigBall(uint8_t key) {
    TMassBall& b = TwoBalls[1];
    TExt factor = 0, angle = 0;
    switch (key) {
        case 72: factor = 1.01L; break;
        case 80: factor = 0.99L; break;
        case 77: angle = 5 * M_PIl / 180; break;
        case 75: angle = -5 * M_PIl / 180; break;
        default: return;
    }
    if (factor != 0) {
        b.VX = static_cast<double>(factor * b.VX);
        b.VY = static_cast<double>(factor * b.VY);
        return;
    }
    const TExt c = std::cos(angle), s = std::sin(angle);
    const TExt vx = b.VX, vy = b.VY;
    b.VX = static_cast<double>(c * vx - s * vy);
    b.VY = static_cast<double>(s * vx + c * vy);
}

bool PlaceGasParticles(double right, double bottom, TRandomSource& random) {
    constexpr double r = GasRadius;
    // Grid points are (extent - 2R) / 10 apart: closer than 2R below 220.
    if (!(right >= 220 && bottom >= 220)) return false;
    for (int32_t k = 0; k < GasParticleCount; k++) {
        TExt x = 0, y = 0;
        bool free = false;
        while (!free) {
            const int32_t r1 = RandomBelow(random, 10);
            const int32_t r2 = RandomBelow(random, 10);
            x = (TExt(right) - 2 * r) * r1 / 10 + r;
            y = (TExt(bottom) - 2 * r) * r2 / 10 + r;
            free = true;
            for (int32_t j = 0; j < k && free; j++) {
                const TExt dx = x - GasParticles[j].X, dy = y - GasParticles[j].Y;
                free = !(std::sqrt(dx * dx + dy * dy) < r + GasParticles[j].R);
            }
        }
        const TExt angle = M_PIl * RandomBelow(random, 10) / 10;
        GasParticles[k] = {static_cast<double>(x), static_cast<double>(y),
                           static_cast<double>(GasSpeed * std::cos(angle)),
                           static_cast<double>(GasSpeed * std::sin(angle)), r, 1};
    }
    return true;
}

void StepGas(TMassBall* particles, int32_t count, double right, double bottom) {
    for (int32_t i = 0; i < count - 1; i++)
        for (int32_t j = i + 1; j < count; j++)
            if (ImpactDue(ImpactTime(particles[i], particles[j], GasRule), GasRule))
                CollideElastic(particles[i], particles[j]);
    for (int32_t k = 0; k < count; k++) {
        MoveMassBall(particles[k], GasRule.TimeStep);
        BounceOffEdges(particles[k], right, bottom);
    }
}
