#include "peg_field.h"

#include <cmath>
#include <numbers>

#include "extended_ops.h"
#include "tavrel.h"
#include "vector_angle.h"

std::array<TPeg, PegCount> Pegs;
std::array<TDrop, DropCapacity> Drops;
int32_t DropCount = 0;
int32_t BurstCounter = 0;
double BurstX = 0, BurstY = 0;
uint16_t PegPreviousButtons = 0;

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;

TDrop PreparedDrop(int32_t rightEdge, TRandomSource& random) {
    return TDrop{static_cast<double>(RandomBelow(random, rightEdge)), -10, 0, 0, 0, 0.00005, 10};
}

long double Distance(long double dx, long double dy) { return std::sqrt(dx * dx + dy * dy); }

// A peg is moved out of sight only when it overlaps every other slot; slots
// not yet filled count as radius 0 at the origin, so in practice none moves.
bool ClearOfSomeSlot(int32_t peg) {
    for (int32_t j = 0; j < PegCount; j++) {
        if (j == peg) continue;
        const TPeg other = j < peg ? Pegs[j] : TPeg{0, 0, 0};
        const long double d = Distance(static_cast<long double>(Pegs[peg].X) - other.X,
                                       static_cast<long double>(Pegs[peg].Y) - other.Y);
        if (d > static_cast<long double>(Pegs[peg].R) + other.R) return true;
    }
    return false;
}

void DrawSegmentAt(long double x1, long double y1, long double x2, long double y2) {
    DrawSegment(RealToCoord(Rounded(x1)), RealToCoord(Rounded(y1)), RealToCoord(Rounded(x2)),
                RealToCoord(Rounded(y2)));
}

void DrawContactArrow(const TDrop& drop, double angle) {
    const long double tipX = drop.X + 50 * std::cos(static_cast<long double>(angle));
    const long double tipY = drop.Y + 50 * std::sin(static_cast<long double>(angle));
    DrawSegmentAt(drop.X, drop.Y, tipX, tipY);
    const long double e = VectorAngle(Rounded(tipX - drop.X), Rounded(tipY - drop.Y));
    DrawSegmentAt(tipX, tipY, tipX + 10 * std::cos(e + 1.3L * Pi), tipY + 10 * std::sin(e + 1.3L * Pi));
    DrawSegmentAt(tipX, tipY, tipX + 10 * std::cos(e - 1.3L * Pi), tipY + 10 * std::sin(e - 1.3L * Pi));
}

}  // namespace

void SetUpPegField(int32_t rightEdge, int32_t bottomEdge, TRandomSource& random) {
    for (int32_t i = 0; i < PegCount; i++) {
        Pegs[i].X = RandomBelow(random, rightEdge);
        Pegs[i].Y = RandomBelow(random, bottomEdge) + 100;
        Pegs[i].R = 30;
        if (!ClearOfSomeSlot(i)) {
            Pegs[i].X = -1000.0;
            Pegs[i].Y = -100.0;
        }
    }
    for (TDrop& drop : Drops) drop = PreparedDrop(rightEdge, random);
    DropCount = 0;
    BurstCounter = 0;
    BurstX = BurstY = 0;
    PegPreviousButtons = 0;
}

int32_t FirstOverlappingPeg(const TDrop& drop) {
    for (int32_t j = 0; j < PegCount; j++) {
        const TPeg& peg = Pegs[j];
        // Most pegs are far off on one axis alone; the margin keeps rounding
        // out of that shortcut.
        const double reach = drop.R + peg.R + 1;
        if (std::fabs(drop.X - peg.X) > reach || std::fabs(drop.Y - peg.Y) > reach) continue;
        const long double d =
            Distance(static_cast<long double>(drop.X) - peg.X, static_cast<long double>(drop.Y) - peg.Y);
        if (static_cast<long double>(drop.R) + peg.R > d) return j;
    }
    return -1;
}

bool BounceDropOffPeg(TDrop& drop, double& angle) {
    const int32_t j = FirstOverlappingPeg(drop);
    if (j < 0) return false;
    const long double dx = static_cast<long double>(drop.X) - Pegs[j].X;
    const long double dy = static_cast<long double>(drop.Y) - Pegs[j].Y;
    // A drop already leaving the peg is left alone: mirrored again it would
    // turn back in and stay caught inside.
    if (!(dx * drop.VX + dy * drop.VY < 0)) return false;
    angle = VectorAngle(Rounded(dx), Rounded(dy));
    const long double tx = std::cos(angle + Pi / 2), ty = std::sin(angle + Pi / 2);
    const long double p = tx * drop.VX + ty * drop.VY;
    drop.VX = Rounded(2 * p * tx - drop.VX);
    drop.VY = Rounded(2 * p * ty - drop.VY);
    return true;
}

void RunPegSubSteps(int32_t rightEdge, int32_t bottomEdge, TRandomSource& random, bool drawArrows) {
    for (int32_t step = 0; step < SubSteps; step++) {
        for (int32_t k = 0; k < DropCount; k++) {
            TDrop& drop = Drops[k];
            double angle;
            if (BounceDropOffPeg(drop, angle)) {
                if (drawArrows) DrawContactArrow(drop, angle);
                BurstX = drop.X;
                BurstY = drop.Y;
                BurstCounter = BurstFrames;
            }
            drop.X = Rounded(static_cast<long double>(drop.X) + drop.VX);
            drop.Y = Rounded(static_cast<long double>(drop.Y) + drop.VY);
            drop.VX = Rounded(static_cast<long double>(drop.VX) + drop.AX);
            drop.VY = Rounded(static_cast<long double>(drop.VY) + drop.AY);
            if (drop.Y > bottomEdge) drop = PreparedDrop(rightEdge, random);
        }
    }
}

void HandlePegPress(uint16_t buttons, int32_t rightEdge, TRandomSource& random) {
    if (buttons == 1 && buttons != PegPreviousButtons && DropCount < DropCapacity) {
        Drops[DropCount].X = RandomBelow(random, rightEdge);
        Drops[DropCount].Y = 0;
        DropCount++;
    }
    PegPreviousButtons = buttons;
}
