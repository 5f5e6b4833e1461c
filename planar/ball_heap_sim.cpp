#include "ball_heap_sim.h"

#include <algorithm>
#include <cmath>

std::array<TFallingBall, HeapCapacity> HeapBalls{};
int32_t HeapBallCount = 0;
THeapLimits HeapLimits{};

namespace {

using TExt = long double;

// The pass's grid: cells one diameter wide over the window, balls outside
// it counted in the nearest border cell. Rebuilt each pass by counting.
constexpr double CellSize = 2 * HeapRadius;
constexpr int32_t MaxCellsAcross = 128;
constexpr int32_t MaxCells = MaxCellsAcross * MaxCellsAcross;

int32_t CellsX = 1, CellsY = 1;
std::array<int32_t, MaxCells + 1> CellStart{};
std::array<int32_t, HeapCapacity> CellBalls{};
std::array<int32_t, HeapCapacity> BallCell{};

int32_t CellIndex(double v, int32_t cells) {
    const double c = std::floor(v / CellSize);
    if (!(c >= 0)) return 0;  // NaN as well
    return c >= cells ? cells - 1 : static_cast<int32_t>(c);
}

std::array<int32_t, MaxCells> CellFill{};

void BuildCells() {
    CellsX = std::clamp(static_cast<int32_t>(HeapLimits.Right / CellSize) + 2, 1, MaxCellsAcross);
    CellsY = std::clamp(static_cast<int32_t>(HeapLimits.Bottom / CellSize) + 2, 1, MaxCellsAcross);
    const int32_t cells = CellsX * CellsY;
    std::fill(CellStart.begin(), CellStart.begin() + cells + 1, 0);
    for (int32_t k = 0; k < HeapBallCount; k++) {
        const int32_t c =
            CellIndex(HeapBalls[k].Y, CellsY) * CellsX + CellIndex(HeapBalls[k].X, CellsX);
        BallCell[k] = c;
        CellStart[c + 1]++;
    }
    for (int32_t c = 0; c < cells; c++) {
        CellStart[c + 1] += CellStart[c];
        CellFill[c] = CellStart[c];
    }
    for (int32_t k = 0; k < HeapBallCount; k++) CellBalls[CellFill[BallCell[k]]++] = k;
}

// Back onto the limit, the velocity component turned with a loss.
void Rebound(double& position, double& velocity, double limit) {
    position = limit;
    velocity = static_cast<double>(-HeapEnergy * TExt(velocity));
}

void TouchCellPairs(int32_t a, int32_t cx, int32_t cy) {
    if (cx < 0 || cx >= CellsX || cy >= CellsY) return;
    const int32_t c = cy * CellsX + cx;
    for (int32_t m = CellStart[c]; m < CellStart[c + 1]; m++)
        TouchHeapPair(HeapBalls[a], HeapBalls[CellBalls[m]]);
}

}  // namespace

void PlaceHeapBalls(double rightEdge, double bottomEdge) {
    constexpr double r = HeapRadius;
    HeapLimits = {r, r, rightEdge - r, bottomEdge - r};
    HeapBallCount = HeapStartCount;
    double x = r, y = r;
    for (int32_t k = 0; k < HeapStartCount; k++) {
        HeapBalls[k] = {x, y, 0, 0, 0, 0};
        x += 3 * r;
        if (x > HeapLimits.Right) {
            x = r;
            y += 3 * r;
        }
    }
}

void DragNearestHeapBall(double x, double y) {
    TExt best = 1e32L;
    int32_t nearest = -1;
    for (int32_t k = 0; k < HeapBallCount; k++) {
        const TExt dx = TExt(x) - HeapBalls[k].X, dy = TExt(y) - HeapBalls[k].Y;
        const TExt d2 = dx * dx + dy * dy;
        if (d2 < best) {
            best = d2;
            nearest = k;
        }
    }
    if (nearest < 0) return;
    HeapBalls[nearest].X = x;
    HeapBalls[nearest].Y = y;
}

void AddHeapBall(double rightEdge, double bottomEdge, TRandomSource& random) {
    if (HeapBallCount >= HeapCapacity) return;  // a full table takes no more
    TFallingBall& b = HeapBalls[HeapBallCount];
    b.X = rightEdge / 2 + RandomBelow(random, 10);
    b.Y = bottomEdge / 2;
    b.VX = 0;
    b.VY = 0;
    HeapBallCount++;
}

void TouchHeapPair(TFallingBall& a, TFallingBall& b) {
    const TExt dx = TExt(b.X) - a.X, dy = TExt(b.Y) - a.Y;
    const TExt d2 = dx * dx + dy * dy;
    constexpr TExt reach = 2 * HeapRadius;
    if (!(d2 < reach * reach)) return;
    const TExt dist = std::sqrt(d2);
    // Coincident centres have no line between them: push along x.
    const TExt nx = dist > 0 ? dx / dist : 1, ny = dist > 0 ? dy / dist : 0;
    const TExt ov = reach - dist;
    a.X = static_cast<double>(a.X - ov * nx);
    a.Y = static_cast<double>(a.Y - ov * ny);
    b.X = static_cast<double>(b.X + ov * nx);
    b.Y = static_cast<double>(b.Y + ov * ny);
    const TExt pa = HeapEnergy * (a.VX * nx + a.VY * ny);
    const TExt pb = HeapEnergy * (b.VX * nx + b.VY * ny);
    a.VX = static_cast<double>(a.VX - pa * nx + pb * nx);
    a.VY = static_cast<double>(a.VY - pa * ny + pb * ny);
    b.VX = static_cast<double>(b.VX + pa * nx - pb * nx);
    b.VY = static_cast<double>(b.VY + pa * ny - pb * ny);
}

void HeapPairPass() {
    BuildCells();
    // Each pair once: a ball meets the later balls of its own cell and all
    // balls of the four cells after it (right, and the three below).
    for (int32_t cy = 0; cy < CellsY; cy++)
        for (int32_t cx = 0; cx < CellsX; cx++) {
            const int32_t c = cy * CellsX + cx;
            for (int32_t m = CellStart[c]; m < CellStart[c + 1]; m++) {
                const int32_t a = CellBalls[m];
                for (int32_t n = m + 1; n < CellStart[c + 1]; n++)
                    TouchHeapPair(HeapBalls[a], HeapBalls[CellBalls[n]]);
                TouchCellPairs(a, cx + 1, cy);
                TouchCellPairs(a, cx - 1, cy + 1);
                TouchCellPairs(a, cx, cy + 1);
                TouchCellPairs(a, cx + 1, cy + 1);
            }
        }
}

void MoveHeapBall(TFallingBall& b) {
    b.AY = HeapGravity;
    b.VX = static_cast<double>(TExt(b.VX) + b.AX);
    b.VY = static_cast<double>(TExt(b.VY) + b.AY);
    b.X = static_cast<double>(TExt(b.X) + b.VX);
    b.Y = static_cast<double>(TExt(b.Y) + b.VY);
    const THeapLimits& l = HeapLimits;
    if (b.X < l.Left) Rebound(b.X, b.VX, l.Left);
    if (b.X > l.Right) Rebound(b.X, b.VX, l.Right);
    if (b.Y < l.Top) Rebound(b.Y, b.VY, l.Top);
    if (b.Y > l.Bottom) Rebound(b.Y, b.VY, l.Bottom);
}
