// The engine's mathematics on hand-made bodies: segment crossings at their
// ends, contacts, the impulse and its separation test, fixed bodies, bounces
// off the window edges and the two kinds of four-sided body.
#include <gtest/gtest.h>

#include <algorithm>

#include "rigid_engine.h"

namespace {

constexpr double Right = 799, Bottom = 599;

void ClearTables() {
    RigidBodies = {};
    CrowdBodies = {};
    RigidGravity = 256;
    RigidFrameTime = 0.01;
}

TEST(IntersectSegments, CrossingPointAndEndsIncludedOnlyAtTheStart) {
    TBodyPoint p{-1, -1};
    EXPECT_TRUE(IntersectSegments({0, 0}, {10, 0}, {4, -5}, {4, 5}, p));
    EXPECT_DOUBLE_EQ(p.X, 4);
    EXPECT_DOUBLE_EQ(p.Y, 0);
    // The first segment's end point (t = 1) is not on it; the next edge,
    // which starts there (t = 0), has it.
    EXPECT_FALSE(IntersectSegments({0, 0}, {10, 0}, {10, -5}, {10, 5}, p));
    EXPECT_TRUE(IntersectSegments({10, 0}, {20, 0}, {10, -5}, {10, 5}, p));
    EXPECT_DOUBLE_EQ(p.X, 10);
    EXPECT_DOUBLE_EQ(p.Y, 0);
    // The same for the second segment (u = 1 out, u = 0 in).
    EXPECT_FALSE(IntersectSegments({0, 0}, {10, 0}, {6, -5}, {6, 0}, p));
    EXPECT_TRUE(IntersectSegments({0, 0}, {10, 0}, {6, 0}, {6, 5}, p));
    EXPECT_DOUBLE_EQ(p.X, 6);
}

TEST(IntersectSegments, ParallelCollinearAndDegenerateNeverCross) {
    TBodyPoint p{-1, -1};
    EXPECT_FALSE(IntersectSegments({0, 0}, {10, 0}, {0, 1}, {10, 1}, p));
    EXPECT_FALSE(IntersectSegments({0, 0}, {10, 0}, {5, 0}, {15, 0}, p));
    EXPECT_FALSE(IntersectSegments({3, 3}, {3, 3}, {0, 0}, {6, 6}, p));
    EXPECT_FALSE(IntersectSegments({0, 0}, {10, 10}, {20, 0}, {30, -10}, p));  // lines cross outside
    EXPECT_DOUBLE_EQ(p.X, -1);  // untouched without a crossing
}

TEST(AddRigidBody, BoxScenariosMakesRectanglesAndFixedBodiesStayAtRest) {
    ClearTables();
    AddRigidBody(3, 4, 1, 30, 10, 100, 200, 5, 6, 7, 0.5, 0.99);
    const TRigidBody& b = RigidBodies[3];
    EXPECT_EQ(b.Fixed, 1);
    EXPECT_EQ(b.Sides, 4);
    EXPECT_EQ(b.X, 100);
    EXPECT_EQ(b.Y, 200);
    EXPECT_EQ(b.Angle, 0.5);
    EXPECT_EQ(b.DampingFactor, 0.99);
    EXPECT_EQ(b.Mass, 300);
    EXPECT_DOUBLE_EQ(b.Inertia, 25000);  // (900 + 100) * 300 / 12
    EXPECT_EQ(b.VelocityX, 0);
    EXPECT_EQ(b.VelocityY, 0);
    EXPECT_EQ(b.AngularVelocity, 0);
    const double corners[4][2] = {{-15, -5}, {15, -5}, {15, 5}, {-15, 5}};
    for (int j = 0; j < 4; j++) {
        EXPECT_EQ(b.Vertices[j].X, corners[j][0]) << j;
        EXPECT_EQ(b.Vertices[j].Y, corners[j][1]) << j;
    }
    AddRigidBody(4, 3, 0, 20, 10, 0, 0, 5, 6, 7, 0, 0.998);
    EXPECT_EQ(RigidBodies[4].VelocityX, 5);
    EXPECT_EQ(RigidBodies[4].VelocityY, 6);
    EXPECT_EQ(RigidBodies[4].AngularVelocity, 7);
    EXPECT_DOUBLE_EQ(RigidBodies[4].Vertices[0].X, 10);
    EXPECT_NEAR(RigidBodies[4].Vertices[1].X, -5, 1e-12);
    EXPECT_NEAR(RigidBodies[4].Vertices[1].Y, 4.330127018922193, 1e-12);  // sin 120° * 5
}

TEST(AddRigidBody, PolygonDragMakesDiamondsAndAlwaysSetsVelocities) {
    ClearTables();
    AddRigidBody(100, 4, 30, 10, 50, 60, 5, 6, 7, 0.25, 0.998);
    const TCrowdBody& b = CrowdBodies[100];
    const double corners[4][2] = {{15, 0}, {0, 5}, {-15, 0}, {0, -5}};
    for (int j = 0; j < 4; j++) {
        EXPECT_NEAR(b.Vertices[j].X, corners[j][0], 1e-12) << j;
        EXPECT_NEAR(b.Vertices[j].Y, corners[j][1], 1e-12) << j;
    }
    EXPECT_EQ(b.VelocityX, 5);
    EXPECT_EQ(b.VelocityY, 6);
    EXPECT_EQ(b.AngularVelocity, 7);
    EXPECT_EQ(b.Mass, 300);
}

// Writing past a table or past the eleven vertices of a record would corrupt
// its neighbours: such calls change nothing.
TEST(AddRigidBody, IndexOutsideTheTableOrTooManySidesChangesNothing) {
    ClearTables();
    AddRigidBody(69, 4, 0, 20, 20, 1, 2, 0, 0, 0, 0, 0.998);
    AddRigidBody(70, 4, 0, 20, 20, 9, 9, 0, 0, 0, 0, 0.998);
    AddRigidBody(-1, 4, 0, 20, 20, 9, 9, 0, 0, 0, 0, 0.998);
    AddRigidBody(68, 11, 0, 20, 20, 9, 9, 0, 0, 0, 0, 0.998);
    AddRigidBody(101, 4, 20, 20, 9, 9, 0, 0, 0, 0, 0.998);
    AddRigidBody(5, 2, 20, 20, 9, 9, 0, 0, 0, 0, 0.998);
    EXPECT_EQ(RigidBodies[69].X, 1);
    EXPECT_EQ(RigidBodies[68].Sides, 0);
    EXPECT_EQ(CrowdBodies[5].Sides, 0);
    EXPECT_EQ(CrowdBodies[100].Sides, 0);
}

// A 20 x 20 box at (100, 100) and a triangle whose first vertex lies on the
// box's left edge at (90, 100): one crossing only.
TEST(CollidePair, ACornerTouchGivesOneCrossingAndNoImpulse) {
    ClearTables();
    AddRigidBody(0, 4, 0, 20, 20, 100, 100, -40, 0, 0, 0, 1);
    AddRigidBody(1, 3, 0, 20, 20, 80, 100, 40, 0, 0, 0, 1);
    double cx, cy, nx, ny;
    EXPECT_EQ(IntersectBodies(RigidBodies[0], RigidBodies[1], cx, cy, nx, ny), 1);
    EXPECT_EQ(cx, 90);
    EXPECT_EQ(cy, 100);
    EXPECT_EQ(nx, 0);
    EXPECT_EQ(ny, 0);
    CollidePair(RigidBodies[0], RigidBodies[1], 1.0);
    EXPECT_EQ(RigidBodies[0].VelocityX, -40);
    EXPECT_EQ(RigidBodies[1].VelocityX, 40);
    EXPECT_EQ(RigidBodies[0].AngularVelocity, 0);
    EXPECT_EQ(RigidBodies[1].AngularVelocity, 0);
}

// Box a 20 x 20 at (100, 100), box b 20 x 40 at (115, 100): b's left edge
// (x = 105) crosses a's top and bottom edges, so the normal is (-1, 0), the
// centre (105, 100), and no lever arm turns either body. Masses 400 and 800:
// J = 2 * 100 / (1/400 + 1/800) = 53333.3.
TEST(CollidePair, HeadOnBoxesExchangeTheElasticImpulse) {
    ClearTables();
    AddRigidBody(0, 4, 0, 20, 20, 100, 100, 50, 0, 0, 0, 1);
    AddRigidBody(1, 4, 0, 20, 40, 115, 100, -50, 0, 0, 0, 1);
    double cx, cy, nx, ny;
    EXPECT_EQ(IntersectBodies(RigidBodies[0], RigidBodies[1], cx, cy, nx, ny), 2);
    EXPECT_EQ(cx, 105);
    EXPECT_EQ(cy, 100);
    EXPECT_EQ(nx, -1);
    EXPECT_EQ(ny, 0);
    CollidePair(RigidBodies[0], RigidBodies[1], 1.0);
    EXPECT_NEAR(RigidBodies[0].VelocityX, -83.333333333333, 1e-9);
    EXPECT_NEAR(RigidBodies[1].VelocityX, 16.666666666667, 1e-9);
    EXPECT_EQ(RigidBodies[0].VelocityY, 0);
    EXPECT_EQ(RigidBodies[0].AngularVelocity, 0);
    EXPECT_EQ(RigidBodies[1].AngularVelocity, 0);
}

TEST(CollidePair, BodiesMovingApartAreNotPushedAgain) {
    ClearTables();
    AddRigidBody(0, 4, 0, 20, 20, 100, 100, -50, 0, 0, 0, 1);
    AddRigidBody(1, 4, 0, 20, 40, 115, 100, 50, 0, 0, 0, 1);
    CollidePair(RigidBodies[0], RigidBodies[1], 1.0);
    EXPECT_EQ(RigidBodies[0].VelocityX, -50);
    EXPECT_EQ(RigidBodies[1].VelocityX, 50);
}

TEST(CollidePair, FarApartBodiesAreLeftAlone) {
    ClearTables();
    AddRigidBody(0, 4, 0, 20, 20, 100, 100, 50, 0, 0, 0, 1);
    AddRigidBody(1, 4, 0, 20, 20, 200, 100, -50, 0, 0, 0, 1);
    CollidePair(RigidBodies[0], RigidBodies[1], 1.0);
    EXPECT_EQ(RigidBodies[0].VelocityX, 50);
    EXPECT_EQ(RigidBodies[1].VelocityX, -50);
}

// A 20 x 20 box (mass 400) falling at 100 px/s, 5 px into a fixed 200 x 20
// floor (mass 4000) at (100, 110): normal (0, -1), no lever arm, restitution
// 0, so J = 100 / (1/400 + 1/4000) and the box's change, -90.909 px/s, comes
// twice: 100 - 181.818 = -81.818 px/s. The floor keeps zero velocity.
TEST(CollidePair, AFixedFloorTakesNoRestitutionAndDoublesTheImpulse) {
    for (bool floorFirst : {false, true}) {
        ClearTables();
        const int floor = floorFirst ? 0 : 1, box = floorFirst ? 1 : 0;
        AddRigidBody(floor, 4, 1, 200, 20, 100, 110, 0, 0, 0, 0, 1);
        AddRigidBody(box, 4, 0, 20, 20, 100, 95, 0, 100, 0, 0, 1);
        CollidePair(RigidBodies[0], RigidBodies[1], 1.0);
        EXPECT_NEAR(RigidBodies[box].VelocityY, -81.818181818182, 1e-9) << floorFirst;
        EXPECT_NEAR(RigidBodies[box].VelocityX, 0, 1e-12);
        EXPECT_EQ(RigidBodies[floor].VelocityX, 0);
        EXPECT_EQ(RigidBodies[floor].VelocityY, 0);
        EXPECT_EQ(RigidBodies[floor].AngularVelocity, 0);
    }
}

// The same pair with neither body fixed: one impulse with restitution 1,
// J = 200 / (1/400 + 1/4000); the box goes from 100 to -81.818 px/s and
// the floor from 0 to 18.182 px/s.
TEST(ApplyPairImpulse, WorksOnTheCallersVelocities) {
    ClearTables();
    AddRigidBody(0, 4, 20, 20, 100, 95, 0, 0, 0, 0, 1);
    AddRigidBody(1, 4, 200, 20, 100, 110, 0, 0, 0, 0, 1);
    double vax = 0, vay = 100, wa = 0, vbx = 0, vby = 0, wb = 0;
    ApplyPairImpulse(CrowdBodies[0], CrowdBodies[1], 1.0, 100, 100, 0, -1, vax, vay, wa, vbx, vby,
                     wb);
    EXPECT_NEAR(vay, -81.818181818182, 1e-9);
    EXPECT_NEAR(vby, 18.181818181818, 1e-9);
    EXPECT_EQ(CrowdBodies[0].VelocityY, 0);  // the records are the caller's business
}

// Gravity off and no damping, so that only the bounce acts: 5 sub-steps of
// 0.002 s.
TEST(StepRigidFrame, EdgeBouncesTurnTheVelocityButLeaveThePosition) {
    ClearTables();
    RigidGravity = 0;
    AddRigidBody(0, 4, 0, 20, 20, 5, 300, -30, 0, 0, 0, 1);     // left edge
    AddRigidBody(1, 4, 0, 20, 20, 795, 100, 30, 0, 0, 0, 1);    // right edge
    AddRigidBody(2, 4, 0, 20, 20, 400, 596, 0, 30, 0, 0, 1);    // bottom
    AddRigidBody(3, 4, 0, 20, 20, 600, 4, 0, -30, 0, 0, 1);     // top
    StepRigidFrame(RigidBodies.data(), 3, Right, Bottom);
    // First sub-step: moved 0.06 outwards, then turned; four sub-steps back.
    EXPECT_NEAR(RigidBodies[0].X, 5.18, 1e-12);
    EXPECT_EQ(RigidBodies[0].VelocityX, 30);
    EXPECT_NEAR(RigidBodies[1].X, 794.82, 1e-12);
    EXPECT_EQ(RigidBodies[1].VelocityX, -30);
    EXPECT_NEAR(RigidBodies[2].Y, 595.82, 1e-12);
    EXPECT_EQ(RigidBodies[2].VelocityY, -30);
    EXPECT_NEAR(RigidBodies[3].Y, 4.18, 1e-12);
    EXPECT_EQ(RigidBodies[3].VelocityY, 30);
}

TEST(StepRigidFrame, GravityAndDampingInEachSubStep) {
    ClearTables();
    AddRigidBody(0, 4, 20, 20, 400, 300, 10, 0, 2, 0, 0.5);
    StepRigidFrame(CrowdBodies.data(), 0, Right, Bottom);
    // Each sub-step adds 0.512 px/s, then halves: v = (v + 0.512) / 2.
    EXPECT_NEAR(CrowdBodies[0].VelocityY, 0.496, 1e-12);
    EXPECT_NEAR(CrowdBodies[0].VelocityX, 0.3125, 1e-12);
    EXPECT_NEAR(CrowdBodies[0].AngularVelocity, 0.0625, 1e-12);
    // x: 400 + 0.002 (10 + 5 + 2.5 + 1.25 + 0.625)
    EXPECT_NEAR(CrowdBodies[0].X, 400.03875, 1e-12);
}

// A 100 x 10 bar stood on end by its angle: it spans only 10 px across, but
// bounces by its unrotated half width of 50; and 39 px from the bottom it
// reaches 11 px past it, yet bounces only within half its unrotated height.
TEST(StepRigidFrame, RotatedBodiesBounceByUnrotatedExtents) {
    ClearTables();
    RigidGravity = 0;
    const double upright = 1.5707963267948966;
    AddRigidBody(0, 4, 0, 100, 10, 40, 300, -10, 0, 0, upright, 1);
    AddRigidBody(1, 4, 0, 100, 10, 400, 560, 0, 10, 0, upright, 1);
    StepRigidFrame(RigidBodies.data(), 1, Right, Bottom);
    EXPECT_EQ(RigidBodies[0].VelocityX, 10);
    EXPECT_NEAR(RigidBodies[0].X, 40.06, 1e-12);
    EXPECT_EQ(RigidBodies[1].VelocityY, 10);
    EXPECT_NEAR(RigidBodies[1].Y, 560.1, 1e-12);
}

TEST(StepRigidFrame, FixedBodiesNeverMoveEvenWithAVelocity) {
    ClearTables();
    AddRigidBody(0, 4, 1, 799, 100, 399.5, 579, 0, 0, 0, 0, 0.998);
    RigidBodies[0].VelocityX = 300;  // as a drag leaves it
    RigidBodies[0].AngularVelocity = 1;
    for (int k = 0; k < 10; k++) StepRigidFrame(RigidBodies.data(), 0, Right, Bottom);
    EXPECT_EQ(RigidBodies[0].X, 399.5);
    EXPECT_EQ(RigidBodies[0].Y, 579);
    EXPECT_EQ(RigidBodies[0].Angle, 0);
    EXPECT_EQ(RigidBodies[0].VelocityX, 300);
}

// A box 2 px above the floor at 150 px/s is turned back within a sub-step's
// travel of the floor's top; the floor stays where it is.
TEST(StepRigidFrame, ABoxFallingOnTheFloorBouncesBackUp) {
    ClearTables();
    AddRigidBody(0, 4, 1, 799, 100, 399.5, 579, 0, 0, 0, 0, 0.998);
    AddRigidBody(1, 4, 0, 20, 20, 399.5, 517, 0, 150, 0, 0, 1);  // bottom at 527, floor top 529
    double lowest = 0;
    bool bounced = false;
    for (int k = 0; k < 20; k++) {
        StepRigidFrame(RigidBodies.data(), 1, Right, Bottom);
        lowest = std::max(lowest, RigidBodies[1].Y);
        bounced = bounced || RigidBodies[1].VelocityY < 0;
    }
    EXPECT_TRUE(bounced);
    EXPECT_LT(lowest, 521);  // never more than 2 px into the floor
    EXPECT_EQ(RigidBodies[0].Y, 579);
}

TEST(PickNearestBody, StrictlyBelowTheBestValueAndTheFirstOfEqualOnes) {
    ClearTables();
    AddRigidBody(0, 4, 1, 20, 20, 100, 100, 0, 0, 0, 0, 1);
    AddRigidBody(1, 4, 0, 20, 20, 300, 300, 0, 0, 0, 0, 1);
    AddRigidBody(2, 4, 0, 20, 20, 300, 300, 0, 0, 0, 0, 1);
    EXPECT_EQ(PickNearestBody(RigidBodies.data(), 2, 130, 110, 1000, -1), -1);  // 900 + 100
    EXPECT_EQ(PickNearestBody(RigidBodies.data(), 2, 130, 109, 1000, -1), 0);   // 981, fixed too
    EXPECT_EQ(PickNearestBody(RigidBodies.data(), 2, 310, 310, 1000, 0), 1);
    EXPECT_EQ(PickNearestBody(RigidBodies.data(), 2, 500, 500, 1000, 2), 2);  // none: kept
}

}  // namespace
