#include "terrain_sim.h"

#include <algorithm>
#include <cmath>

#include "coords.h"
#include "extended_ops.h"

std::array<std::array<THeightCell, HeightGridSize>, HeightGridSize> HeightGrid{};
std::array<TTerrainBall, TerrainBallCount> TerrainBalls{};
TTerrainVariant TerrainVariant = TerrainWireVariant;
int32_t FrameCount = 0;
double TimeOfImpact = 0;

namespace {

using TExt = long double;

constexpr double Gravity = 9.81;
constexpr double BallMass = 0.25;
constexpr double Restitution = 1.0;
constexpr int32_t LastFilled = HeightGridSize - 2;  // 48

// A grid coordinate's cell: nearest integer, ties to even, 16 bits kept in
// terrain_balls_gl.
int32_t CellIndex(double g) {
    if (TerrainVariant.SixteenBit) return RealToCoord(g - 0.5);
    return SafeRound(g - 0.5);
}

// The far corner's index. Beyond the grid any index reads 0.0, so the top
// of the 32-bit range stays where it is instead of overflowing.
int32_t NextIndex(int32_t index) { return index == INT32_MAX ? index : index + 1; }

bool InsideField(double g) { return g >= 0 && g <= HeightGridSize; }

void RespondPair(TTerrainBall& a, TTerrainBall& b) {
    TVec3 n;
    VecSub(n, a.Pos, b.Pos);
    VecNormalize(n);
    const TExt ui = VecDot(a.Vel, n), uj = VecDot(b.Vel, n);
    const TExt p = 2 * (ui - uj) / (BallMass + BallMass);
    a.Vel = {Rounded(a.Vel.X - BallMass * p * n.X), Rounded(a.Vel.Y - BallMass * p * n.Y),
             Rounded(a.Vel.Z - BallMass * p * n.Z)};
    b.Vel = {Rounded(b.Vel.X + BallMass * p * n.X), Rounded(b.Vel.Y + BallMass * p * n.Y),
             Rounded(b.Vel.Z + BallMass * p * n.Z)};
}

// Whether the pair meets within this step. An overlapping pair answers only
// while it approaches: answered again while separating, it is turned back
// into itself and the two stick together for hundreds of steps.
bool PairMeets(const TTerrainBall& a, const TTerrainBall& b) {
    TimeOfImpact = 0;
    TVec3 dp, dv;
    VecSub(dp, b.Pos, a.Pos);
    VecSub(dv, b.Vel, a.Vel);
    const TExt reach = TExt(a.Radius) + b.Radius;
    const TExt c = VecDot(dp, dp) - reach * reach;
    const TExt bb = VecDot(dv, dp);
    if (c < 0) return bb < 0;
    const TExt aa = VecDot(dv, dv);
    if (aa < 1e-5L || bb >= 0) return false;
    const TExt disc = bb * bb - aa * c;
    if (disc < 0) return false;
    TimeOfImpact = static_cast<double>((-bb - std::sqrt(disc)) / aa);
    return TimeOfImpact < TerrainVariant.TimeStep;
}

void MoveOverTerrain(TTerrainBall& ball) {
    const double h = TerrainHeightAt(ball.Pos.X, ball.Pos.Z);
    const double gx = static_cast<double>(TExt(ball.Pos.X) + 25);
    const double gz = static_cast<double>(25 - TExt(ball.Pos.Z));
    TVec3 n{0, 1, 0};
    if (InsideField(gx) && InsideField(gz)) {
        // The edge itself (exactly 50) rounds to the cell past the grid.
        const int32_t row = std::min(CellIndex(gx), HeightGridSize - 1);
        const int32_t column = std::min(CellIndex(gz), HeightGridSize - 1);
        n = HeightGrid[row][column].Normal;
        // Row and column 49 have no normal: flat, as the ground beyond.
        if (n.X == 0 && n.Y == 0 && n.Z == 0) n = {0, 1, 0};
    } else {
        VecScale(ball.Vel, ball.Vel, -1);
    }
    if (ball.Pos.Y <= TExt(ball.Radius) + h) {
        // Reflected only while it moves into the surface; set onto it always.
        const TExt d = VecDot(ball.Vel, n);
        if (d < 0)
            ball.Vel = {Rounded((ball.Vel.X - 2 * d * n.X) * Restitution),
                        Rounded((ball.Vel.Y - 2 * d * n.Y) * Restitution),
                        Rounded((ball.Vel.Z - 2 * d * n.Z) * Restitution)};
        ball.Pos.Y = static_cast<double>(TExt(ball.Radius) + h);
    }
    const TExt dt = TerrainVariant.TimeStep;
    VecSet(ball.Acc, 0, -Gravity, 0);
    ball.Pos = {static_cast<double>(ball.Pos.X + dt * ball.Vel.X + 0.5L * ball.Acc.X * dt * dt),
                static_cast<double>(ball.Pos.Y + dt * ball.Vel.Y + 0.5L * ball.Acc.Y * dt * dt),
                static_cast<double>(ball.Pos.Z + dt * ball.Vel.Z + 0.5L * ball.Acc.Z * dt * dt)};
    ball.Vel = {static_cast<double>(ball.Vel.X + dt * ball.Acc.X),
                static_cast<double>(ball.Vel.Y + dt * ball.Acc.Y),
                static_cast<double>(ball.Vel.Z + dt * ball.Acc.Z)};
}

}  // namespace

double Lerp(double a, double b, double t) { return static_cast<double>(a + (TExt(b) - a) * t); }

double GetHeight(int32_t row, int32_t column) {
    if (TerrainVariant.SixteenBit) {
        row = static_cast<int16_t>(row);
        column = static_cast<int16_t>(column);
    }
    if (row < 0 || row >= HeightGridSize || column < 0 || column >= HeightGridSize) return 0.0;
    return HeightGrid[row][column].Height;
}

void BuildHeightGrid() {
    for (int32_t c = 0; c <= LastFilled; c++)
        for (int32_t r = 0; r <= LastFilled; r++)
            HeightGrid[r][c].Height = static_cast<double>(std::cos(TExt(c)) + std::sin(TExt(r)));
    for (int32_t c = 0; c <= LastFilled; c++)
        for (int32_t r = 0; r <= LastFilled; r++) {
            const TVec3 a{double(r - 25), GetHeight(r, c), double(25 - c)};
            const TVec3 b{double(r - 24), GetHeight(r + 1, c), double(25 - c)};
            const TVec3 d{double(r - 24), GetHeight(r + 1, c + 1), double(24 - c)};
            TVec3 ab, ad, n;
            VecSub(ab, b, a);
            VecSub(ad, d, a);
            VecCross(n, ab, ad);
            VecNormalize(n);
            HeightGrid[r][c].Normal = n;
        }
}

void PlaceTerrainBalls() {
    for (int32_t i = 0; i < TerrainBallCount; i++) {
        TTerrainBall& ball = TerrainBalls[i];
        const TExt a = 2 * i * M_PIl / 20;
        ball.Pos = {static_cast<double>(9 * std::sin(a)), 20, static_cast<double>(9 * std::cos(a))};
        ball.Vel = {0, 0, 0};
        ball.Radius = 1.0;
        ball.Colour = i + 32;
        ball.Trail.fill(ball.Pos);
    }
}

double TerrainHeightAt(double x, double z) {
    const double gx = static_cast<double>(TExt(x) + 25);
    const double gz = static_cast<double>(25 - TExt(z));
    const int32_t x0 = CellIndex(gx), z0 = CellIndex(gz);
    const int32_t x1 = NextIndex(x0), z1 = NextIndex(z0);
    const double fx = static_cast<double>(gx - TExt(x0)), fz = static_cast<double>(gz - TExt(z0));
    const double hz0 = Lerp(GetHeight(x0, z0), GetHeight(x1, z0), fx);
    const double hz1 = Lerp(GetHeight(x0, z1), GetHeight(x1, z1), fx);
    return Lerp(hz0, hz1, fz);
}

void StepTerrainScene() {
    for (int32_t i = 0; i < TerrainBallCount - 1; i++)
        for (int32_t j = i + 1; j < TerrainBallCount; j++)
            if (PairMeets(TerrainBalls[i], TerrainBalls[j])) RespondPair(TerrainBalls[i], TerrainBalls[j]);
    for (TTerrainBall& ball : TerrainBalls) MoveOverTerrain(ball);
}

void AdvanceTrails() {
    for (TTerrainBall& ball : TerrainBalls) {
        ball.Trail[0] = ball.Pos;
        if (FrameCount % 4 == 0)
            for (int32_t k = TrailLength - 1; k >= 1; k--) ball.Trail[k] = ball.Trail[k - 1];
    }
    FrameCount = TerrainVariant.SixteenBit ? static_cast<int16_t>(FrameCount + 1) : FrameCount + 1;
}
