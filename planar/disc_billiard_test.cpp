#include "disc_billiard.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "test_support/long_runs.h"

namespace {

constexpr double Dt = 0.001;
constexpr double W = 639, H = 479;

TDisc Disc(double x, double y, double radius, double vx = 0, double vy = 0) {
    return {x, y, radius, vx, vy, 1};
}

TEST(DiscContact, TouchingDiscsAndTouchingCushionsAreLeftAlone) {
    TDisc k = Disc(100, 100, 10, 5, -5), j = Disc(130, 100, 20, -7, 3);
    ResolveDiscOverlap(k, j, Dt, true);
    EXPECT_EQ(k.X, 100);
    EXPECT_EQ(k.VX, 5);
    EXPECT_EQ(j.X, 130);
    EXPECT_EQ(j.VX, -7);
    EXPECT_EQ(j.VY, 3);

    TDisc low = Disc(10, 10, 10), high = Disc(629, 469, 10);
    StepDisc(low, Dt, W, H);
    StepDisc(high, Dt, W, H);
    EXPECT_EQ(low.X, 10);
    EXPECT_EQ(low.Y, 10);
    EXPECT_EQ(high.X, 629);
    EXPECT_EQ(high.Y, 469);
}

TEST(DiscContact, RadiiTenAndTwentyOverlappingByThreeShareEightyTwenty) {
    TDisc k = Disc(100, 100, 10), j = Disc(127, 100, 20);
    ResolveDiscOverlap(k, j, Dt, false);
    EXPECT_DOUBLE_EQ(k.X, 98.5);
    EXPECT_DOUBLE_EQ(j.X, 128.5);
    EXPECT_NEAR(k.VX, -2400, 1e-9);  // 0.8 x 3 px in 1 ms, the small disc
    EXPECT_NEAR(j.VX, 600, 1e-9);    // 0.2 x 3 px in 1 ms
    EXPECT_EQ(k.Y, 100);
    EXPECT_EQ(j.Y, 100);
    EXPECT_EQ(k.VY, 0);
    EXPECT_EQ(j.VY, 0);

    // Along a diagonal, the normal from k towards j: 3-4-5.
    TDisc a = Disc(0, 0, 10), b = Disc(12, 16, 15);  // 20 apart, overlap 5
    ResolveDiscOverlap(a, b, 0.5, false);
    EXPECT_NEAR(a.X, -1.5, 1e-12);
    EXPECT_NEAR(a.Y, -2, 1e-12);
    EXPECT_NEAR(b.X, 13.5, 1e-12);
    EXPECT_NEAR(b.Y, 18, 1e-12);
    // Shares 225/325 and 100/325 of 5 px over half a second.
    EXPECT_NEAR(a.VX, -4.153846153846154, 1e-12);
    EXPECT_NEAR(b.VY, 2.461538461538462, 1e-12);
}

TEST(DiscContact, TheClampLimitsOnlyPairsThatOverlapped) {
    TDisc k = Disc(100, 100, 10), j = Disc(110, 100, 10);  // overlap 10: 5000 px/s each
    ResolveDiscOverlap(k, j, Dt, true);
    EXPECT_EQ(k.VX, -4096);
    EXPECT_EQ(j.VX, 4096);

    TDisc free = Disc(100, 100, 10), loose = Disc(110, 100, 10);
    ResolveDiscOverlap(free, loose, Dt, false);
    EXPECT_NEAR(free.VX, -5000, 1e-9);
    EXPECT_NEAR(loose.VX, 5000, 1e-9);

    TDisc fast = Disc(100, 100, 10, 9000, -9000), apart = Disc(300, 100, 10, -6000);
    ResolveDiscOverlap(fast, apart, Dt, true);
    EXPECT_EQ(fast.VX, 9000);
    EXPECT_EQ(fast.VY, -9000);
    EXPECT_EQ(apart.VX, -6000);
}

TEST(DiscContact, CoincidentCentresPartAlongXAndStayFinite) {
    TDisc k = Disc(100, 100, 10), j = Disc(100, 100, 10);
    ResolveDiscOverlap(k, j, Dt, true);
    EXPECT_DOUBLE_EQ(k.X, 90);
    EXPECT_DOUBLE_EQ(j.X, 110);
    EXPECT_EQ(k.Y, 100);
    EXPECT_EQ(k.VX, -4096);
    EXPECT_EQ(j.VX, 4096);

    // The cue put on a resting disc's centre, then ten frames.
    TRandomSource random;
    SeedRandom(random, 7);
    StartRandomDiscs(FlatBilliard, 639, 479, random);
    Discs[5].VX = Discs[5].VY = 0;
    Discs[0].X = Discs[5].X;
    Discs[0].Y = Discs[5].Y;
    for (int frame = 0; frame < 10; frame++) {
        DriveCueDisc(static_cast<int32_t>(Discs[5].X), static_cast<int32_t>(Discs[5].Y), Dt);
        AdvanceDiscs(FlatBilliard, W, H, nullptr);
    }
    for (int32_t k2 = 0; k2 < 50; k2++) {
        EXPECT_TRUE(std::isfinite(Discs[k2].X) && std::isfinite(Discs[k2].Y)) << k2;
        EXPECT_TRUE(std::isfinite(Discs[k2].VX) && std::isfinite(Discs[k2].VY)) << k2;
    }
}

TEST(DiscStep, MovesThenDampsByTheTenthPowerOfTheStep) {
    TDisc d = Disc(100, 200, 10, 100, -50);
    StepDisc(d, Dt, W, H);
    EXPECT_DOUBLE_EQ(d.X, 100.1);
    EXPECT_DOUBLE_EQ(d.Y, 199.95);
    EXPECT_NEAR(d.VX, 99.990000499983334, 1e-12);  // 100 e^-0.0001
    EXPECT_NEAR(d.VY, -49.995000249991667, 1e-12);
}

TEST(DiscStep, CushionsMirrorThePositionAndTurnTheVelocityInwards) {
    // Low x: moving away or towards, VX leaves non-negative and the position
    // is mirrored about x = Radius.
    TDisc away = Disc(5, 100, 10, 100), towards = Disc(5, 100, 10, -100);
    StepDisc(away, Dt, W, H);
    StepDisc(towards, Dt, W, H);
    EXPECT_DOUBLE_EQ(away.X, 14.9);
    EXPECT_DOUBLE_EQ(towards.X, 15.1);
    EXPECT_NEAR(away.VX, 99.990000499983334, 1e-12);
    EXPECT_NEAR(towards.VX, 99.990000499983334, 1e-12);

    // High x and high y: mirrored about W - Radius and H - Radius.
    TDisc high = Disc(635, 475, 10, 200, 300);
    StepDisc(high, Dt, W, H);
    EXPECT_DOUBLE_EQ(high.X, 622.8);  // 2 (639 - 10) - 635.2
    EXPECT_DOUBLE_EQ(high.Y, 462.7);  // 2 (479 - 10) - 475.3
    EXPECT_LT(high.VX, 0);
    EXPECT_LT(high.VY, 0);

    // A corner mirrors both ways in one step.
    TDisc corner = Disc(3, 4, 10);
    StepDisc(corner, Dt, W, H);
    EXPECT_DOUBLE_EQ(corner.X, 17);
    EXPECT_DOUBLE_EQ(corner.Y, 16);

    // Mirrored, not clamped: a disc 30 px past the edge comes back 30 px in.
    TDisc deep = Disc(-20, 100, 10);
    StepDisc(deep, Dt, W, H);
    EXPECT_DOUBLE_EQ(deep.X, 40);
}

TEST(CueRule, TheCueLandsOnThePointer) {
    Discs[0] = Disc(100, 100, 20, 3, 3);
    DriveCueDisc(250, 40, Dt);
    EXPECT_NEAR(Discs[0].VX, 150000, 1e-6);
    EXPECT_NEAR(Discs[0].VY, -60000, 1e-6);
    StepDisc(Discs[0], Dt, W, H);
    EXPECT_DOUBLE_EQ(Discs[0].X, 250);
    EXPECT_DOUBLE_EQ(Discs[0].Y, 40);

    // rack_billiard's step: 20 times the distance.
    Discs[0] = Disc(79.9, 227.5, 12);
    DriveCueDisc(100, 300, 0.05);
    EXPECT_NEAR(Discs[0].VX, 402, 1e-9);
    EXPECT_NEAR(Discs[0].VY, 1450, 1e-9);
}

TEST(Rack, SixteenDiscsInColumnsOfSixFourThreeTwoOne) {
    TRandomSource random;
    SeedRandom(random, 0);
    LayOutRack(799, 599, random);
    EXPECT_DOUBLE_EQ(Discs[0].X, 79.9);
    EXPECT_DOUBLE_EQ(Discs[0].Y, 227.5);  // H / 2 - 72
    EXPECT_DOUBLE_EQ(Discs[5].Y, 347.5);
    EXPECT_NEAR(Discs[6].X, 100.684609690826528, 1e-12);  // one column: 12 sqrt 3 to the right
    EXPECT_DOUBLE_EQ(Discs[6].Y, 263.5);
    EXPECT_NEAR(Discs[15].X, 163.038438763306102, 1e-12);
    EXPECT_DOUBLE_EQ(Discs[15].Y, 299.5);
    EXPECT_DOUBLE_EQ(Discs[12].Y, 323.5);
    for (int32_t k = 0; k < 16; k++) {
        EXPECT_EQ(Discs[k].Radius, 12);
        EXPECT_EQ(Discs[k].VX, 0);
        EXPECT_EQ(Discs[k].VY, 0);
        EXPECT_GE(Discs[k].Colour, 9);
        EXPECT_LE(Discs[k].Colour, 15);
    }
    EXPECT_EQ(Discs[16].Radius, 0);

    // The same colours from the same source state.
    std::vector<int32_t> first;
    for (int32_t k = 0; k < 16; k++) first.push_back(Discs[k].Colour);
    SeedRandom(random, 0);
    LayOutRack(799, 599, random);
    for (int32_t k = 0; k < 16; k++) EXPECT_EQ(Discs[k].Colour, first[size_t(k)]);
}

TEST(RandomStart, ValuesInTheirRangesAndColoursByProgram) {
    TRandomSource random;
    SeedRandom(random, 3);
    StartRandomDiscs(GlBilliard, 639, 479, random);
    for (int32_t k = 0; k < 50; k++) {
        const TDisc& d = Discs[k];
        EXPECT_TRUE(d.X >= 0 && d.X <= 638 && d.Y >= 0 && d.Y <= 478) << k;
        EXPECT_TRUE(d.Radius >= 8 && d.Radius <= 39) << k;
        EXPECT_TRUE(d.VX >= 0 && d.VX <= 63 && d.VY >= 0 && d.VY <= 63) << k;
        EXPECT_EQ(d.Colour, k + 32);
    }
    SeedRandom(random, 3);
    StartRandomDiscs(FlatBilliard, 639, 479, random);
    for (int32_t k = 0; k < 50; k++) EXPECT_TRUE(Discs[k].Colour >= 1 && Discs[k].Colour <= 14) << k;
}

std::vector<int32_t> DrawnOrder;
void RecordDisc(const TDisc& disc) { DrawnOrder.push_back(static_cast<int32_t>(&disc - Discs.data())); }

TEST(DiscLoop, FlatDrawsFromFortyNineDownGlFromZeroUp) {
    TRandomSource random;
    SeedRandom(random, 5);
    StartRandomDiscs(FlatBilliard, 639, 479, random);
    DrawnOrder.clear();
    AdvanceDiscs(FlatBilliard, W, H, RecordDisc);
    ASSERT_EQ(DrawnOrder.size(), 50u);
    EXPECT_EQ(DrawnOrder.front(), 49);
    EXPECT_EQ(DrawnOrder.back(), 0);
    DrawnOrder.clear();
    AdvanceDiscs(GlBilliard, W, H, RecordDisc);
    ASSERT_EQ(DrawnOrder.size(), 50u);
    EXPECT_EQ(DrawnOrder.front(), 0);
    EXPECT_EQ(DrawnOrder.back(), 49);
}

// 100,000 frames with the pointer wandering over the table and a little past
// its edges, jumping now and then.
void RunLong(const TBilliardSettings& settings, double w, double h, bool velocitiesBounded) {
    TRandomSource random;
    SeedRandom(random, 2024);
    if (settings.DiscCount == 16)
        LayOutRack(static_cast<int32_t>(w), static_cast<int32_t>(h), random);
    else
        StartRandomDiscs(settings, static_cast<int32_t>(w), static_cast<int32_t>(h), random);
    int32_t x = 100, y = 100;
    const double grow = settings.DiscCount == 16 ? 12 : 39;
    for (int32_t frame = 0; frame < LongRun(100000); frame++) {
        if (RandomBelow(random, 200) == 0) {
            x = RandomBelow(random, static_cast<int32_t>(w) + 40) - 20;
            y = RandomBelow(random, static_cast<int32_t>(h) + 40) - 20;
        } else {
            x += RandomBelow(random, 21) - 10;
            y += RandomBelow(random, 21) - 10;
            if (x < -20 || x > w + 20) x = static_cast<int32_t>(w / 2);
            if (y < -20 || y > h + 20) y = static_cast<int32_t>(h / 2);
        }
        DriveCueDisc(x, y, settings.TimeStep);
        AdvanceDiscs(settings, w, h, nullptr);
        for (int32_t k = 0; k < settings.DiscCount; k++) {
            const TDisc& d = Discs[k];
            ASSERT_TRUE(std::isfinite(d.X) && std::isfinite(d.Y) && std::isfinite(d.VX) &&
                        std::isfinite(d.VY))
                << "disc " << k << " frame " << frame;
            ASSERT_TRUE(d.X >= -grow && d.X <= w + grow && d.Y >= -grow && d.Y <= h + grow)
                << "disc " << k << " at " << d.X << ", " << d.Y << " frame " << frame;
            if (velocitiesBounded && k > 0) {
                ASSERT_TRUE(std::fabs(d.VX) <= 4096 && std::fabs(d.VY) <= 4096)
                    << "disc " << k << " frame " << frame;
            }
        }
    }
}

TEST(LongRun, FlatStaysFiniteBoundedAndOnTheTable) { RunLong(FlatBilliard, 639, 479, true); }
TEST(LongRun, GlStaysFiniteBoundedAndOnTheTable) { RunLong(GlBilliard, 639, 479, true); }
TEST(LongRun, RackStaysFiniteAndOnTheTable) { RunLong(RackBilliard, 799, 599, false); }

}  // namespace
