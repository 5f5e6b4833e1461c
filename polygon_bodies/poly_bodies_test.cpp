// Creation, motion and projection of the polygon bodies, without a window.
#include <gtest/gtest.h>

#include <cmath>

#include "poly_bodies.h"
#include "poly_contacts.h"
#include "poly_test_bodies.h"

namespace {

TRandomSource StartedBodies() {
    TRandomSource random;
    SeedRandom(random, 7);
    StartPolyBodies(random);
    return random;
}

// Five triangles of radius 2 stretched three times, pointing right, stacked
// from (0.5, 0.5) in steps of 4.
TEST(PolyStart, FiveStretchedTrianglesInOneColumn) {
    StartedBodies();
    ASSERT_EQ(PolyBodyCount, 5);
    for (int32_t i = 0; i < 5; i++) {
        const TPolyBody& b = PolyBodies[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(b.Sides, 3);
        EXPECT_EQ(b.Colour, 9 + i);
        EXPECT_EQ(b.X, 0.5);
        EXPECT_EQ(b.Y, 0.5 + 4 * i);
        EXPECT_EQ(b.HalfSize, 6.0);
        EXPECT_NEAR(b.Mass, 3769.9111843077517, 1e-9);
        EXPECT_EQ(b.InertiaFactor, 12.0);
        // Jitter moves a vertex by at most about 1.3e-3.
        const double corners[3][2] = {{-3.0, 1.7320508}, {6.0, 0.0}, {-3.0, -1.7320508}};
        for (int j = 0; j < 3; j++) {
            EXPECT_NEAR(b.LocalX[j], corners[j][0], 2e-3);
            EXPECT_NEAR(b.LocalY[j], corners[j][1], 2e-3);
        }
        EXPECT_NEAR(b.EdgeLength[0], 9.1651514, 3e-3);
        EXPECT_NEAR(b.EdgeLength[2], 3.4641016, 3e-3);
        // Each later body copies the first as it stood after its own pass,
        // spin included, and adds one draw below pi * 1e-4.
        const double base = i == 0 ? 0.0 : PolyBodies[0].AngularVelocity;
        EXPECT_GE(b.AngularVelocity, base);
        EXPECT_LT(b.AngularVelocity, base + 3.1415927e-4);
        EXPECT_EQ(b.VelocityX, 0.0);
        EXPECT_EQ(b.VelocityY, 0.0);
    }
}

TEST(PolyStart, SameJitterFromTheSameSeed) {
    StartedBodies();
    const double x = PolyBodies[3].LocalX[1], y = PolyBodies[3].LocalY[2];
    const double spin = PolyBodies[4].AngularVelocity;
    StartedBodies();
    EXPECT_EQ(PolyBodies[3].LocalX[1], x);
    EXPECT_EQ(PolyBodies[3].LocalY[2], y);
    EXPECT_EQ(PolyBodies[4].AngularVelocity, spin);
}

TEST(RandomFractionTest, ThousandthStepsBelowTheLimit) {
    TRandomSource random;
    SeedRandom(random, 3);
    bool sawNonZero = false;
    for (int i = 0; i < 2000; i++) {
        const double f = RandomFraction(random, 2.0);
        ASSERT_GE(f, 0.0);
        ASSERT_LT(f, 2.0);
        const double steps = f * 500;
        EXPECT_NEAR(steps, std::round(steps), 1e-9);
        sawNonZero = sawNonZero || f != 0;
    }
    EXPECT_TRUE(sawNonZero);
    EXPECT_EQ(Hypot(3, 4), 5.0);
}

// A column that would pass the ceiling starts again at y = 0.5, 2 radius
// stretch to the right.
TEST(AddBodies, StacksThenStartsANewColumn) {
    TRandomSource random;
    SeedRandom(random, 1);
    PolyBodies.fill(TPolyBody{});
    PolyBodyCount = 0;
    AddPolygonBodies(random, 10, 4, 2.0, 1.5);
    ASSERT_EQ(PolyBodyCount, 10);
    const double expected[11][2] = {{0.5, 0.5},  {0.5, 4.5},  {0.5, 8.5},  {0.5, 12.5},
                                    {0.5, 16.5}, {0.5, 20.5}, {0.5, 24.5}, {6.5, 0.5},
                                    {6.5, 4.5},  {6.5, 8.5},  {6.5, 12.5}};
    for (int32_t i = 0; i <= 10; i++) {
        SCOPED_TRACE(i);
        EXPECT_EQ(PolyBodies[i].X, expected[i][0]);
        EXPECT_EQ(PolyBodies[i].Y, expected[i][1]);
        EXPECT_EQ(PolyBodies[i].Sides, 4);
        EXPECT_EQ(PolyBodies[i].Colour, i % 6 + 9);
        EXPECT_EQ(PolyBodies[i].HalfSize, 3.0);
    }
}

TEST(AddBodies, ClampsRadiusSidesAndCount) {
    TRandomSource random;
    SeedRandom(random, 1);
    PolyBodies.fill(TPolyBody{});
    PolyBodyCount = 0;
    AddPolygonBodies(random, 1, 1, 0.0, 1.0);
    EXPECT_EQ(PolyBodies[0].Sides, 2);
    EXPECT_EQ(PolyBodies[0].HalfSize, 0.1);
    AddPolygonBodies(random, 1, 12, 5.0, 1.0);
    EXPECT_EQ(PolyBodies[1].Sides, 9);
    EXPECT_EQ(PolyBodies[1].HalfSize, 2.0);
    EXPECT_NEAR(PolyBodies[1].Mass, 1256.6370614359173, 1e-9);
    EXPECT_EQ(PolyBodies[1].InertiaFactor, 4.0);
    AddPolygonBodies(random, -3, 5, 1.0, 1.0);
    EXPECT_EQ(PolyBodyCount, 2);
}

// The fiftieth body leaves record 50 as the template; a further call only
// touches that record, and nothing is ever written past it.
TEST(AddBodies, NeverBeyondFiftyBodies) {
    TRandomSource random;
    SeedRandom(random, 1);
    PolyBodies.fill(TPolyBody{});
    PolyBodyCount = 0;
    AddPolygonBodies(random, 60, 6, 0.5, 1.0);
    ASSERT_EQ(PolyBodyCount, 50);
    EXPECT_EQ(PolyBodies[49].Colour, 1 + 9);
    EXPECT_EQ(PolyBodies[50].Colour, 2 + 9);
    EXPECT_EQ(PolyBodies[50].Sides, 6);
    AddPolygonBodies(random, 5, 7, 0.5, 1.0);
    EXPECT_EQ(PolyBodyCount, 50);
    EXPECT_EQ(PolyBodies[50].Sides, 7);
    EXPECT_EQ(PolyBodies[50].X, 0.5);
    EXPECT_EQ(PolyBodies[50].Y, 0.5);
    EXPECT_EQ(PolyBodies[49].Sides, 6);
}

// One body alone, by hand: a square of half side 1.
void OneSquare(double x, double y) {
    PlaceSquare(0, x, y);
    QuietBodies(1);
}

// Spinning in free flight the centre follows its velocity: the rotation
// about the recorded centre is no sideways drift.
TEST(Motion, ASpinningBodyInFreeFlightKeepsItsLine) {
    OneSquare(10, 15);
    PolyBodies[0].VelocityX = 0.05;
    PolyBodies[0].AngularVelocity = 0.01;
    for (int frame = 0; frame < 200; frame++) {
        MovePolyBodies();
        CollidePolyBodies();
    }
    EXPECT_EQ(PolyBodies[0].Y, 15.0);
    EXPECT_NEAR(PolyBodies[0].X, 20.0, 1e-9);
    EXPECT_NEAR(PolyBodies[0].Angle, 2.0, 1e-9);
    EXPECT_EQ(PolyBodies[0].VelocityX, 0.05);
    EXPECT_EQ(PolyBodies[0].AngularVelocity, 0.01);
}

// A body moved after the groups were recorded turns about the recorded
// centre: the group terms then shift it.
TEST(Motion, TurnsAboutTheRecordedCentre) {
    OneSquare(10, 15);
    PolyBodies[0].X = 10.5;
    PolyBodies[0].Y = 15.25;
    PolyBodies[0].AngularVelocity = 0.1;
    IntegrateBodies();
    EXPECT_NEAR(PolyBodies[0].X, 10.5 - 0.25 * 0.1, 1e-15);
    EXPECT_NEAR(PolyBodies[0].Y, 15.25 + 0.5 * 0.1, 1e-15);
    EXPECT_NEAR(PolyBodies[0].Angle, 0.1, 1e-15);
}

TEST(Motion, VerticesTurnCounterClockwise) {
    OneSquare(10, 15);
    PolyBodies[0].Angle = 1.5707963267948966;
    TransformVertices();
    // (-1, -1) about the centre turns to (1, -1).
    EXPECT_NEAR(PolyBodies[0].WorldX[0], 11.0, 1e-12);
    EXPECT_NEAR(PolyBodies[0].WorldY[0], 14.0, 1e-12);
    EXPECT_NEAR(PolyBodies[0].WorldX[2], 9.0, 1e-12);
    EXPECT_NEAR(PolyBodies[0].WorldY[2], 16.0, 1e-12);
}

// 16 pixels a unit, y downwards, halves to even, the first point repeated.
TEST(Projection, SixteenPixelsAUnitWithTheClosingPoint) {
    OneSquare(10, 15);
    PolyWindowWidth = 640;
    PolyWindowHeight = 480;
    TPolyBody& b = PolyBodies[0];
    b.WorldX = {0.03125, 0.09375, 40, -1.0};
    b.WorldY = {30, 29.96875, 0, std::nan("")};
    ProjectToScreen();
    const int32_t points[5][2] = {{0, 0}, {2, 0}, {640, 480}, {-16, 0}, {0, 0}};
    for (int j = 0; j < 5; j++) {
        EXPECT_EQ(b.ScreenPoints[j].X, points[j][0]) << j;
        EXPECT_EQ(b.ScreenPoints[j].Y, points[j][1]) << j;
    }
}

}  // namespace
