#include "collision.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

TWorldBody Shape(int32_t n, double w, double h, double x, double y, double angle = 0) {
    TWorldBody body;
    InitBody(n, body, w, h, 1, x, y, 0, 0, 0, 0, 0, 0.2, angle);
    return body;
}

// The body must outlive the placed record, which points at it.
TPlacedBody Placed(const TWorldBody& body) {
    TPlacedBody placed;
    PlaceBody(placed, body);
    return placed;
}

void ExpectVec(const TVec2& v, double x, double y, double tolerance = 1e-12) {
    EXPECT_NEAR(v.X, x, tolerance);
    EXPECT_NEAR(v.Y, y, tolerance);
}

}  // namespace

TEST(CollidePolygons, OverlappingBoxesClipToTheIncidentFace) {
    TWorldBody a = Shape(4, 1, 1, 0, 0);
    TWorldBody b = Shape(4, 1, 1, 0.9, 0);
    int32_t edge = -1;
    EXPECT_NEAR(SearchSeparatingEdge(Placed(a), Placed(b), edge), -0.1, 1e-12);
    EXPECT_EQ(edge, 1);  // A's right face
    EXPECT_NEAR(SearchSeparatingEdge(Placed(b), Placed(a), edge), -0.1, 1e-12);
    EXPECT_EQ(edge, 3);  // B's left face

    TContactPoints c;
    ASSERT_EQ(CollideShapes(c, a, b), 2);
    ExpectVec(c[0].Position, 0.4, 0.5);
    ExpectVec(c[1].Position, 0.4, -0.5);
    for (const TContactPoint& p : c) {
        ExpectVec(p.Normal, 1, 0);
        EXPECT_NEAR(p.Separation, -0.1, 1e-12);
        EXPECT_EQ(p.NormalImpulse, 0);
        EXPECT_EQ(p.TangentImpulse, 0);
        EXPECT_EQ(p.AccumulatedBiasImpulse, 0);
    }
}

TEST(CollidePolygons, ReferenceChoiceFavoursTheFirstBody) {
    // Flat on flat: both faces are equally good, so the first body's face is
    // the reference and the points lie on the second body's face.
    TWorldBody small = Shape(4, 1, 1, 0.2, 0.45);
    TWorldBody wide = Shape(4, 10, 0.2, 0, -0.1);
    TContactPoints c;
    ASSERT_EQ(CollideShapes(c, small, wide), 2);
    for (int i = 0; i < 2; i++) {
        ExpectVec(c[i].Normal, 0, -1);
        EXPECT_NEAR(c[i].Separation, -0.05, 1e-12);
        EXPECT_NEAR(c[i].Position.Y, 0, 1e-12);
    }

    // A tilted box standing on its corner: the wide body's face is far
    // better, the reference flips to it, and the normal still points from
    // the first body to the second.
    TWorldBody tilted = Shape(4, 1, 1, 0.2, 0, 0.3);
    tilted.Position.Y = -0.05 - (WorldVertex(tilted, 0).Y - tilted.Position.Y);
    TVec2 corner = WorldVertex(tilted, 0);
    ASSERT_EQ(CollideShapes(c, tilted, wide), 1);
    ExpectVec(c[0].Normal, 0, -1);
    EXPECT_NEAR(c[0].Separation, -0.05, 1e-12);
    ExpectVec(c[0].Position, corner.X, corner.Y);
    ASSERT_EQ(CollideShapes(c, wide, tilted), 1);
    ExpectVec(c[0].Normal, 0, 1);
    EXPECT_NEAR(c[0].Separation, -0.05, 1e-12);
}

TEST(CollidePolygons, SeparatedOrEdgeToEdgeBoxes) {
    TContactPoints c;
    EXPECT_EQ(CollideShapes(c, Shape(4, 1, 1, 0, 0), Shape(4, 1, 1, 1.01, 0)), 0);
    EXPECT_EQ(CollideShapes(c, Shape(4, 1, 1, 0, 0), Shape(4, 1, 1, 1.2, 1.2, 0.785)), 0);
    // Exactly touching faces: separation 0 still makes contact.
    ASSERT_EQ(CollideShapes(c, Shape(4, 1, 1, 0, 0), Shape(4, 1, 1, 1, 0)), 2);
    EXPECT_EQ(c[0].Separation, 0);
}

TEST(CollidePolygons, SegmentCollidesWithItsTwoEdges) {
    // n = 2: a segment along its own y axis, here turned to lie flat.
    TWorldBody segment = Shape(2, 1, 2, 0, -0.05, std::numbers::pi / 2);
    TWorldBody floor = Shape(4, 4, 1, 0, -0.5);
    TContactPoints c;
    ASSERT_EQ(CollideShapes(c, floor, segment), 2);
    for (int i = 0; i < 2; i++) {
        ExpectVec(c[i].Normal, 0, 1, 1e-9);
        EXPECT_NEAR(c[i].Position.Y, -0.05, 1e-9);
        EXPECT_NEAR(c[i].Separation, -0.05, 1e-9);
    }
    EXPECT_NEAR(std::fabs(c[0].Position.X - c[1].Position.X), 2, 1e-9);
    segment.Position.Y = 0.05;
    EXPECT_EQ(CollideShapes(c, floor, segment), 0);
}

TEST(SearchSeparatingEdge, BackwardClimbWrapsFromEdgeZero) {
    // The other body lies beyond P1's vertex 0, so the climb starts there,
    // and the best edge is reached by stepping back from edge 0 to the last.
    TWorldBody p1 = Shape(8, 2, 2, 0, 0);
    TVec2 v0 = p1.Vertices[0];
    TVec2 normalLast = EdgeNormal(p1, 7);
    // A small box beyond edge 7, overlapping it slightly.
    TWorldBody p2 = Shape(4, 0.2, 0.2, v0.X * 0.5 + p1.Vertices[7].X * 0.5 + normalLast.X * 0.05,
                          v0.Y * 0.5 + p1.Vertices[7].Y * 0.5 + normalLast.Y * 0.05,
                          std::atan2(normalLast.Y, normalLast.X));
    int32_t edge = -1;
    double s = SearchSeparatingEdge(Placed(p1), Placed(p2), edge);
    EXPECT_EQ(edge, 7);
    EXPECT_NEAR(s, FaceSeparation(Placed(p1), Placed(p2), 7), 1e-15);
    EXPECT_LT(s, 0);
}

TEST(ClipEdgePoints, KeepsTheInnerPartOfTheSegment) {
    TEdgePoints in = {TVec2{-1, 0}, TVec2{3, 0}}, out{};
    ASSERT_EQ(ClipEdgePoints(out, in, {1, 0}, 1), 2);
    ExpectVec(out[0], -1, 0);
    ExpectVec(out[1], 1, 0);
    EXPECT_EQ(ClipEdgePoints(out, in, {1, 0}, -2), 0);
    EXPECT_EQ(ClipEdgePoints(out, in, {1, 0}, 5), 2);
}

TEST(CollideCircles, TouchingAndConcentric) {
    TWorldBody a = Shape(1, 2, 2, 0, 0);
    TWorldBody b = Shape(1, 1, 1, 1.5, 0);
    TContactPoints c;
    ASSERT_EQ(CollideShapes(c, a, b), 1);
    EXPECT_EQ(c[0].Separation, 0);
    ExpectVec(c[0].Normal, 1, 0);
    ExpectVec(c[0].Position, 1, 0);

    b.Position = {1.5000001, 0};
    EXPECT_EQ(CollideShapes(c, a, b), 0);

    b.Position = {0, 0};
    ASSERT_EQ(CollideShapes(c, a, b), 1);
    ExpectVec(c[0].Normal, 0, 1);
    EXPECT_EQ(c[0].Separation, -1.5);
    ExpectVec(c[0].Position, 0, -0.5);
}

TEST(CollideCirclePolygon, SameContactFromEitherSlot) {
    TWorldBody circle = Shape(1, 1, 1, 0.3, 0.9);
    TWorldBody box = Shape(4, 2, 1, 0, 0, 0.1);
    TContactPoints first, second;
    ASSERT_EQ(CollideShapes(first, circle, box), 1);
    ASSERT_EQ(CollideShapes(second, box, circle), 1);
    EXPECT_EQ(first[0].Position.X, second[0].Position.X);
    EXPECT_EQ(first[0].Position.Y, second[0].Position.Y);
    EXPECT_EQ(first[0].Separation, second[0].Separation);
    EXPECT_EQ(first[0].Normal.X, -second[0].Normal.X);
    EXPECT_EQ(first[0].Normal.Y, -second[0].Normal.Y);
    // Body 1 is the circle above the box: the normal points down into it.
    EXPECT_LT(first[0].Normal.Y, -0.9);
    EXPECT_LT(first[0].Separation, 0);
}

TEST(CollideCirclePolygon, BeyondAnyEdgeMeansNoContact) {
    // A circle off the box's corner: within its radius of the top edge's
    // line but more than its radius beyond the right edge's.
    TWorldBody box = Shape(4, 2, 2, 0, 0);
    TPlacedBody placedBox = Placed(box);
    TContactPoints c;
    EXPECT_EQ(CollideCirclePolygon(c, Shape(1, 1, 1, 1.6, 1.2), placedBox), 0);
    EXPECT_EQ(CollideCirclePolygon(c, Shape(1, 1, 1, 1.4, 1.2), placedBox), 1);
    EXPECT_NEAR(c[0].Separation, -0.1, 1e-12);
    ExpectVec(c[0].Normal, 1, 0);
}
