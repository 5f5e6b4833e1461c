#include "body.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <utility>

#include "world.h"

namespace {

TWorldBody MakeBody(int32_t n, double w, double h, double mass) {
    TWorldBody body;
    InitBody(n, body, w, h, mass, 1, 2, 3, 4, 5, 6, 7, 0.3, 0.25);
    return body;
}

}  // namespace

TEST(InitBody, CircleKeepsRadiusAndBoxInertia) {
    TWorldBody c = MakeBody(1, 2, 2, 3);
    EXPECT_EQ(c.VertexCount, 1);
    EXPECT_EQ(c.Width, 1);
    EXPECT_EQ(c.Height, 2);
    EXPECT_EQ(c.Vertices[0].X, 1);
    EXPECT_EQ(c.Vertices[0].Y, 0);
    EXPECT_DOUBLE_EQ(c.Inertia, 8 * 3 / 12.0);
    EXPECT_DOUBLE_EQ(c.InvInertia, 12 / 24.0);
    EXPECT_DOUBLE_EQ(c.InvMass, 1 / 3.0);
}

// What makes a body static depends on each program's HugeReal.
TEST(InitBody, HugeMassMakesAStaticBody) {
    for (const auto& [huge, value] : {std::pair{FullHugeReal, 1e30}, std::pair{BasicHugeReal, 1e40}}) {
        UseHugeReal(huge);
        for (double mass : {value, value * 10, static_cast<double>(INFINITY)}) {
            TWorldBody s = MakeBody(4, 1, 1, mass);
            EXPECT_EQ(s.InvMass, 0) << value;
            EXPECT_EQ(s.InvInertia, 0) << value;
            EXPECT_EQ(s.Inertia, value);
        }
        TWorldBody d = MakeBody(4, 1, 1, value / 10);
        EXPECT_GT(d.InvMass, 0) << value;
        EXPECT_GT(d.InvInertia, 0) << value;
    }
    // 1e35 is static to impulse_sim only.
    EXPECT_GT(MakeBody(4, 1, 1, 1e35).InvMass, 0);
    UseHugeReal(FullHugeReal);
    EXPECT_EQ(MakeBody(4, 1, 1, 1e35).InvMass, 0);
}

TEST(InitBody, ShapesOfEveryVertexCount) {
    TWorldBody box = MakeBody(4, 2, 1, 1);
    EXPECT_EQ(box.Vertices[0].X, -1);
    EXPECT_EQ(box.Vertices[0].Y, -0.5);
    EXPECT_EQ(box.Vertices[2].X, 1);
    EXPECT_EQ(box.Vertices[2].Y, 0.5);

    TWorldBody triangle = MakeBody(3, 2, 4, 1);
    EXPECT_NEAR(triangle.Vertices[0].X, -1, 1e-15);
    EXPECT_NEAR(triangle.Vertices[0].Y, 0, 1e-15);

    TWorldBody segment = MakeBody(2, 1, 3, 1);
    EXPECT_NEAR(segment.Vertices[0].X, 0, 1e-15);
    EXPECT_NEAR(segment.Vertices[0].Y, -1.5, 1e-15);
    EXPECT_NEAR(segment.Vertices[1].Y, 1.5, 1e-15);

    // Vertex i of an inscribed polygon lies at the angle (2i + 3) pi / n,
    // counter-clockwise.
    TWorldBody seven = MakeBody(7, 2, 2, 1);
    for (int32_t i = 0; i < 7; i++) {
        double a = (2 * i + 3) * std::numbers::pi / 7;
        EXPECT_NEAR(seven.Vertices[i].X, std::cos(a), 1e-12);
        EXPECT_NEAR(seven.Vertices[i].Y, std::sin(a), 1e-12);
    }
    for (int32_t i = 0; i < 7; i++)
        EXPECT_GT(Cross(seven.Vertices[i], seven.Vertices[NextVertex(seven, i)]), 0);
    EXPECT_EQ(seven.Vertices[7].X, 0);
}

TEST(InitBody, VertexCountOutsideTheRecordIsClamped) {
    EXPECT_EQ(MakeBody(40, 1, 1, 1).VertexCount, MaxBodyVertices);
    EXPECT_EQ(MakeBody(0, 1, 1, 1).VertexCount, 1);
    EXPECT_EQ(MakeBody(-3, 1, 1, 1).VertexCount, 1);
}

TEST(BodyRotation, FollowsTheAngleOfTheBodyInItsSlot) {
    ClearWorld();
    AddWorldBody(MakeBody(4, 1, 1, 1));
    TWorldBody& b = WorldBodies[1];
    EXPECT_NEAR(BodyRotation(b).M21, std::sin(0.25), 1e-15);
    b.Angle = 1;
    EXPECT_NEAR(BodyRotation(b).M21, std::sin(1.0), 1e-15);
    EXPECT_NEAR(BodyRotation(b).M12, -std::sin(1.0), 1e-15);
    // A new body in the same slot.
    ClearWorld();
    TWorldBody other = MakeBody(4, 1, 1, 1);
    other.Angle = -0.5;
    AddWorldBody(other);
    EXPECT_NEAR(BodyRotation(WorldBodies[1]).M21, std::sin(-0.5), 1e-15);
    // A body outside the world has no slot to remember it by.
    other.Index = 0;
    other.Angle = 2;
    EXPECT_NEAR(BodyRotation(other).M21, std::sin(2.0), 1e-15);
}
