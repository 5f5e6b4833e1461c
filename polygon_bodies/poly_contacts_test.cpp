// Contacts and their response on bodies placed by hand in the middle of the
// box, away from the walls unless a wall is the point.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "poly_bodies.h"
#include "poly_contacts.h"
#include "poly_test_bodies.h"

namespace {

TEST(EdgeDistanceTest, PositiveOutsideNegativeInside) {
    PlaceSquare(0, 20, 15);
    QuietBodies(1);
    const TPolyBody& b = PolyBodies[0];
    EXPECT_EQ(EdgeDistance(b, 0, 18, 15), 1.0);    // left of the left edge
    EXPECT_EQ(EdgeDistance(b, 0, 20, 15), -1.0);   // the centre
    EXPECT_EQ(EdgeDistance(b, 1, 20, 17.5), 1.5);  // above the top edge
    EXPECT_EQ(EdgeDistance(b, 2, 20.25, 15), -0.75);
    EXPECT_EQ(EdgeDistance(b, 3, 20, 13.75), 0.25);  // the last edge closes to vertex 0
    EXPECT_EQ(EdgeDistance(b, 3, 25, 14), 0.0);      // on the line, beyond the edge
}

TEST(FindContactTest, TheDeepestVertexAlongTheCrossedEdge) {
    PlaceDiamond(0, 18.1, 15);  // its right vertex 0.1 inside the square
    PlaceSquare(1, 20, 15);
    QuietBodies(2);
    TPolyContact c{};
    ASSERT_EQ(FindContact(0, 1, c), 1);
    EXPECT_EQ(c.VertexBody, 0);
    EXPECT_EQ(c.EdgeBody, 1);
    EXPECT_NEAR(c.PointX, 19.1, 1e-12);
    EXPECT_EQ(c.PointY, 15.0);
    EXPECT_EQ(c.NX, 1.0);
    EXPECT_EQ(c.NY, 0.0);
    EXPECT_NEAR(c.Depth, 0.1, 1e-12);
    // Either order finds it: the second pass takes the vertices of b.
    TPolyContact d{};
    ASSERT_EQ(FindContact(1, 0, d), 1);
    EXPECT_EQ(d.VertexBody, 0);
    EXPECT_EQ(d.EdgeBody, 1);
}

TEST(FindContactTest, NoContactOnOrJustOutsideAnEdgeLine) {
    for (double right : {19.0, 18.999995}) {
        SCOPED_TRACE(right);
        PlaceDiamond(0, right - 1, 15);
        PlaceSquare(1, 20, 15);
        QuietBodies(2);
        TPolyContact c;
        std::memset(&c, 0x5A, sizeof c);
        TPolyContact untouched = c;
        EXPECT_EQ(FindContact(0, 1, c), 0);
        EXPECT_EQ(std::memcmp(&c, &untouched, sizeof c), 0);
    }
}

// Half sizes of 0.4 each: centres 1.9 apart never touch, though the
// polygons overlap; along y the same.
TEST(FindContactTest, CentresBeyondTheHalfSizesNeverTouch) {
    PlaceBody(0, 18.1, 15, 0.4, {{-1, 0}, {0, 1}, {1, 0}, {0, -1}});
    PlaceBody(1, 20, 15, 0.4, {{-1, -1}, {-1, 1}, {1, 1}, {1, -1}});
    QuietBodies(2);
    TPolyContact c{};
    EXPECT_EQ(FindContact(0, 1, c), 0);
    PlaceBody(0, 20, 13.1, 0.4, {{-1, 0}, {0, 1}, {1, 0}, {0, -1}});
    QuietBodies(2);
    EXPECT_EQ(FindContact(0, 1, c), 0);
    PolyBodies[0].HalfSize = 1.6;
    EXPECT_EQ(FindContact(0, 1, c), 1);
}

// At a corner the nearest edge line can be the wrong one: here the vertex is
// nearer the top edge's line, but its neighbour lies deeper behind that edge,
// so the contact takes the side edge.
TEST(FindContactTest, CornerTakesTheEdgeNoNeighbourLiesBehind) {
    PlaceSquare(1, 20, 15);
    // A thin sliver whose tip (vertex 2) is inside near the top-left corner,
    // the rest of it reaching in deeper below the top edge's line.
    PlaceBody(0, 18.9, 15.5, 3, {{-1.0, 0.35}, {-1.0, 0.55}, {0.2, 0.45}});
    QuietBodies(2);
    TPolyContact c{};
    ASSERT_EQ(FindContact(0, 1, c), 1);
    EXPECT_EQ(c.VertexBody, 0);
    EXPECT_EQ(c.NX, 1.0);
    EXPECT_EQ(c.NY, 0.0);
    EXPECT_NEAR(c.Depth, 0.1, 1e-12);
}

// A vertex whose distances are not numbers takes no edge: no contact, rather
// than the search's seed reported as a contact 99999 deep.
TEST(FindContactTest, AVertexThatTookNoEdgeMakesNoContact) {
    PlaceDiamond(0, 18.1, 15);
    PlaceSquare(1, 20, 15);
    QuietBodies(2);
    for (int j = 0; j < 4; j++) PolyBodies[1].WorldX[j] = std::nan("");
    TPolyContact c{};
    c.Depth = -7;
    EXPECT_EQ(FindContact(0, 1, c), 0);
    EXPECT_EQ(c.Depth, -7.0);
}

TEST(PairResponse, EqualMassesHeadOnSwapVelocities) {
    PlaceDiamond(0, 18.1, 15);
    PlaceSquare(1, 20, 15);
    QuietBodies(2);
    PolyBodies[0].VelocityX = 0.1;
    PolyBodies[1].VelocityX = -0.05;
    ResolveCollisions();
    EXPECT_NEAR(PolyBodies[0].VelocityX, -0.05, 1e-15);
    EXPECT_NEAR(PolyBodies[1].VelocityX, 0.1, 1e-15);
    EXPECT_EQ(PolyBodies[0].VelocityY, 0.0);
    EXPECT_EQ(PolyBodies[0].AngularVelocity, 0.0);
    EXPECT_EQ(PolyBodies[1].AngularVelocity, 0.0);
    // Each moves by 0.9 of the depth shared by the masses.
    EXPECT_NEAR(PolyBodies[0].X, 18.055, 1e-12);
    EXPECT_NEAR(PolyBodies[1].X, 20.045, 1e-12);
}

TEST(PairResponse, RestitutionZeroLeavesACommonNormalVelocity) {
    PlaceDiamond(0, 18.1, 15);
    PlaceSquare(1, 20, 15);
    QuietBodies(2);
    PolyRestitution = 0;
    PolyBodies[0].VelocityX = 0.1;
    ResolveCollisions();
    EXPECT_NEAR(PolyBodies[0].VelocityX, 0.05, 1e-15);
    EXPECT_NEAR(PolyBodies[1].VelocityX, 0.05, 1e-15);
}

// Slow along the normal, the tangential velocity difference is divided by
// 1 + slip: with slip -0.5 it doubles, shared by the masses.
TEST(PairResponse, SlipScalesTheTangentialDifferenceWhenBarelyClosing) {
    PlaceDiamond(0, 18.1, 15);
    PlaceSquare(1, 20, 15);
    QuietBodies(2);
    PolySlip = -0.5;
    PolyBodies[0].VelocityY = 0.02;
    ResolveCollisions();
    EXPECT_NEAR(PolyBodies[0].VelocityY, 0.03, 1e-15);
    EXPECT_NEAR(PolyBodies[1].VelocityY, -0.01, 1e-15);
    PlaceDiamond(0, 18.1, 15);
    PlaceSquare(1, 20, 15);
    QuietBodies(2);
    PolySlip = -0.5;
    PolyBodies[0].VelocityX = 0.02;  // closing faster than the threshold
    PolyBodies[0].VelocityY = 0.02;
    ResolveCollisions();
    EXPECT_NEAR(PolyBodies[0].VelocityY, 0.02, 1e-15);
    EXPECT_EQ(PolyBodies[1].VelocityY, 0.0);
}

// A contact off the line of the centres sets both bodies turning.
TEST(PairResponse, AnOffCentreContactTurnsBothBodies) {
    PlaceDiamond(0, 18.1, 15.5);
    PlaceSquare(1, 20, 15);
    QuietBodies(2);
    PolyBodies[0].VelocityX = 0.1;
    ResolveCollisions();
    // Lever arms: 0 for the diamond, -0.5 for the square; Q = 0.25.
    EXPECT_NEAR(PolyBodies[0].VelocityX, 0.1 / 9, 1e-15);
    EXPECT_NEAR(PolyBodies[1].VelocityX, 0.8 / 9, 1e-15);
    EXPECT_EQ(PolyBodies[0].AngularVelocity, 0.0);
    EXPECT_NEAR(PolyBodies[1].AngularVelocity, -0.4 / 9, 1e-15);
}

// Pair (0, 1) moves and speeds body 0 before pair (0, 2) is tested: the
// momentum passes along the row as in a cradle.
TEST(PairResponse, LaterPairsSeeWhatEarlierPairsLeft) {
    PlaceSquare(0, 20, 15);
    PlaceDiamond(1, 18.1, 15);
    PlaceDiamond(2, 21.9, 15);
    QuietBodies(3);
    PolyBodies[1].VelocityX = 0.1;
    ResolveCollisions();
    EXPECT_NEAR(PolyBodies[1].VelocityX, 0.0, 1e-15);
    EXPECT_NEAR(PolyBodies[0].VelocityX, 0.0, 1e-15);
    EXPECT_NEAR(PolyBodies[2].VelocityX, 0.1, 1e-15);
    EXPECT_NEAR(PolyBodies[0].X, 20.0, 1e-12);
    EXPECT_NEAR(PolyBodies[1].X, 18.055, 1e-12);
    EXPECT_NEAR(PolyBodies[2].X, 21.945, 1e-12);
}

// A body wider than the box touches both side walls: the right one acts.
TEST(WallResponse, TheRightWallWins) {
    PlaceBody(0, 20, 15, 21, {{-21, -0.5}, {-21, 0.5}, {21, 0.5}, {21, -0.5}});
    QuietBodies(1);
    PolyBodies[0].VelocityX = 0.2;
    ResolveCollisions();
    EXPECT_NEAR(PolyBodies[0].X, 19.1, 1e-12);
    EXPECT_NEAR(PolyBodies[0].VelocityX, -0.12, 1e-15);
    EXPECT_NEAR(PolyBodies[0].AngularVelocity, 0.16, 1e-15);
    EXPECT_EQ(PolyBodies[0].Y, 15.0);
    EXPECT_EQ(PolyBodies[0].VelocityY, 0.0);
}

TEST(WallResponse, LeftWallReflectsAndNoImpulseAtZero) {
    PlaceSquare(0, 0.75, 15);  // 0.25 past the left wall, the edge upright
    QuietBodies(1);
    PolyBodies[0].VelocityX = -0.1;
    ResolveCollisions();
    EXPECT_NEAR(PolyBodies[0].X, 0.975, 1e-12);
    // Lever arm 1 (the lowest-index vertex of least x is the bottom-left).
    EXPECT_NEAR(PolyBodies[0].VelocityX, 0.0, 1e-15);
    EXPECT_NEAR(PolyBodies[0].AngularVelocity, 0.1, 1e-15);

    PlaceSquare(0, 1, 15);  // a vertex exactly at x = 0
    QuietBodies(1);
    PolyBodies[0].VelocityX = -0.1;
    ResolveCollisions();
    EXPECT_EQ(PolyBodies[0].X, 1.0);
    EXPECT_EQ(PolyBodies[0].VelocityX, -0.1);
}

// Floor and ceiling divide the sideways velocity by 1 + slip.
TEST(WallResponse, SlipMinusHalfDoublesVelocityXAtFloorAndCeiling) {
    for (double y : {0.9, 29.1}) {
        SCOPED_TRACE(y);
        for (double slip : {0.0, -0.5}) {
            PlaceDiamond(0, 20, y);
            QuietBodies(1);
            PolySlip = slip;
            PolyBodies[0].VelocityX = 0.1;
            ResolveCollisions();
            EXPECT_NEAR(PolyBodies[0].VelocityX, slip == 0 ? 0.1 : 0.2, 1e-15);
            EXPECT_NEAR(PolyBodies[0].Y, y < 15 ? 0.99 : 29.01, 1e-12);
        }
    }
}

TEST(BoxResponse, DragThenGravity) {
    PlaceSquare(0, 20, 15);
    QuietBodies(1);
    PolyDrag = 2;
    PolyGravity = 1e-5;
    PolyBodies[0].VelocityX = 0.3;
    PolyBodies[0].VelocityY = 0.4;
    ResolveCollisions();
    EXPECT_NEAR(PolyBodies[0].VelocityX, 0.15, 1e-15);
    EXPECT_NEAR(PolyBodies[0].VelocityY, 0.19999, 1e-15);
}

// A centre off the box (moved by a pair correction after the transform) is
// put back on its edge, and the body loses a tenth of its velocities.
TEST(BoxResponse, AClampCostsATenth) {
    PlaceSquare(0, 20, 15);
    QuietBodies(1);
    PolyGravity = 1e-5;
    PolyBodies[0].X = 40.25;
    PolyBodies[0].Y = -0.5;
    PolyBodies[0].VelocityX = 0.1;
    PolyBodies[0].VelocityY = -0.2;
    PolyBodies[0].AngularVelocity = 0.03;
    ResolveCollisions();
    EXPECT_EQ(PolyBodies[0].X, 40.0);
    EXPECT_EQ(PolyBodies[0].Y, 0.0);
    EXPECT_NEAR(PolyBodies[0].VelocityX, 0.09, 1e-15);
    EXPECT_NEAR(PolyBodies[0].VelocityY, -0.180009, 1e-15);
    EXPECT_NEAR(PolyBodies[0].AngularVelocity, 0.027, 1e-15);
}

// Speeds and spins that restitution above 1 or negative slip pump up stop
// at 1000 per frame instead of growing to infinity. Not a number, or infinite
// along a line (the drag makes that inf / inf), the body stops: a NaN would
// spread to every body it touched.
TEST(BoxResponse, SpeedsAndSpinStayFiniteAndWithinAThousandPerFrame) {
    const double inf = HUGE_VAL;
    // The speeds and the spin set to c[0] come out as c[1] and c[2].
    const double cases[][3] = {{5e3, 1000, 1000}, {-1e300, -1000, -1000}, {inf, 0, 1000},
                               {-inf, 0, -1000},  {std::nan(""), 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        PlaceSquare(0, 20, 15);
        QuietBodies(1);
        PolyBodies[0].VelocityX = PolyBodies[0].VelocityY = PolyBodies[0].AngularVelocity = c[0];
        ResolveCollisions();
        EXPECT_EQ(PolyBodies[0].VelocityX, c[1]);
        EXPECT_EQ(PolyBodies[0].VelocityY, c[1]);
        EXPECT_EQ(PolyBodies[0].AngularVelocity, c[2]);
    }
}

}  // namespace
