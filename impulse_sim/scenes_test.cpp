#include "scenes.h"

#include <gtest/gtest.h>

#include <cmath>

#include "world.h"

namespace {

TRandomSource Seeded(uint32_t seed) {
    TRandomSource random;
    SeedRandom(random, seed);
    return random;
}

void Build(int32_t scene, uint32_t seed = 1) {
    ClearWorld();
    SetWorld({0, -9.8}, 10, true, false, false, true);
    TRandomSource random = Seeded(seed);
    BuildScene(scene, random);
}

}  // namespace

TEST(BuildScene, BodyAndJointCounts) {
    const int32_t bodies[] = {0, 2, 11, 11, 9, 29, 2, 5, 16, 18, 16, 11, 0};
    const int32_t joints[] = {0, 0, 0, 0, 0, 0, 1, 1, 16, 4, 15, 9, 0};
    for (int32_t scene = 0; scene <= SceneCount + 1; scene++) {
        Build(scene);
        EXPECT_EQ(WorldBodyCount, bodies[scene]) << "scene " << scene;
        EXPECT_EQ(WorldJointCount, joints[scene]) << "scene " << scene;
    }
    Build(-1);
    EXPECT_EQ(WorldBodyCount, 0);
}

TEST(BuildScene, GroundAndLayout) {
    Build(1);
    const TWorldBody& ground = WorldBodies[1];
    EXPECT_EQ(ground.InvMass, 0);
    EXPECT_EQ(ground.Position.Y + ground.Vertices[2].Y, 0);  // top face at y = 0
    EXPECT_EQ(WorldBodies[2].Mass, 100);

    Build(5);
    // Top of the pyramid: row 6, alone.
    EXPECT_DOUBLE_EQ(WorldBodies[29].Position.X, -3 + 0.5625 * 6);
    EXPECT_DOUBLE_EQ(WorldBodies[29].Position.Y, 0.75 + 1.125 * 6);
    EXPECT_DOUBLE_EQ(WorldBodies[8].Position.X, -3 + 6 * 1.125);  // end of row 0

    Build(3, 42);
    for (int i = 2; i <= 11; i++) {
        EXPECT_GE(WorldBodies[i].Position.X, -0.1);
        EXPECT_LT(WorldBodies[i].Position.X, 0.1);
    }

    Build(8);
    EXPECT_EQ(WorldJoints[16].Body1, 16);
    EXPECT_EQ(WorldJoints[16].Body2, 1);

    Build(2);
    EXPECT_NEAR(WorldBodies[11].Friction, 0.05, 1e-15);
    for (int i = 1; i <= 6; i++) EXPECT_EQ(WorldBodies[i].InvMass, 0);
}

TEST(BuildScene, SoftChainSprings) {
    Build(10);
    EXPECT_EQ(WorldJoints[1].Body1, 1);
    EXPECT_EQ(WorldJoints[1].Body2, 2);
    EXPECT_EQ(WorldJoints[15].Body1, 15);
    EXPECT_EQ(WorldJoints[15].Body2, 16);
    for (int i = 1; i <= 15; i++) {
        EXPECT_NEAR(WorldJoints[i].JointCompliance, 0.0021875, 1e-6);
        EXPECT_NEAR(WorldJoints[i].GapFeedback, 0.2303, 1e-4);
    }
}

TEST(BuildScene, CradleBobsShareOneShape) {
    bool sawCircles = false;
    for (uint32_t seed = 0; seed < 40; seed++) {
        Build(11, seed);
        ASSERT_EQ(WorldBodyCount, 11);
        int32_t n = WorldBodies[3].VertexCount;
        for (int i = 3; i <= 11; i++) EXPECT_EQ(WorldBodies[i].VertexCount, n);
        EXPECT_EQ(WorldBodies[3].Angle, -1.6);
        if (n != 1) continue;
        sawCircles = true;
        // Radius 0.5, one metre apart: neighbours touch.
        EXPECT_EQ(WorldBodies[5].Width, 0.5);
        EXPECT_EQ(WorldBodies[5].Position.X - WorldBodies[4].Position.X, 1);
    }
    EXPECT_TRUE(sawCircles);
}

TEST(LaunchProjectile, ReplacesThePreviousProjectile) {
    Build(1);
    TRandomSource random = Seeded(9);
    ASSERT_TRUE(LaunchProjectile(false, random));
    EXPECT_EQ(WorldBodyCount, 3);
    const TWorldBody& p = WorldBodies[3];
    EXPECT_EQ(p.Mass, 50);
    EXPECT_EQ(p.Position.Y, 15);
    EXPECT_DOUBLE_EQ(p.Velocity.X, -1.5 * p.Position.X);
    EXPECT_EQ(p.Velocity.Y, -22.5);
    EXPECT_EQ(p.Friction, 0.2);
    double firstX = p.Position.X;
    ASSERT_TRUE(LaunchProjectile(true, random));
    EXPECT_EQ(WorldBodyCount, 3);
    EXPECT_NE(WorldBodies[3].Position.X, firstX);
    ASSERT_TRUE(LaunchProjectile(false, random));  // the last one was let go
    EXPECT_EQ(WorldBodyCount, 4);
}

TEST(LaunchProjectile, FullWorldRefusesItAndKeepsItsBodies) {
    Build(1);
    TWorldBody box;
    InitBody(4, box, 1, 1, 1, 7, 7, 0, 0, 0, 0, 0, 0.2, 0);
    while (WorldBodyCount < WorldCapacity) AddWorldBody(box);
    TRandomSource random = Seeded(3);
    EXPECT_FALSE(LaunchProjectile(false, random));
    EXPECT_EQ(WorldBodyCount, WorldCapacity);
    EXPECT_EQ(WorldBodies[WorldCapacity].Position.X, 7);
    // A projectile that is there can still be replaced.
    EXPECT_TRUE(LaunchProjectile(true, random));
    EXPECT_EQ(WorldBodyCount, WorldCapacity);
    EXPECT_EQ(WorldBodies[WorldCapacity].Mass, 50);

    // A stale flag on an empty world takes no slot below 1.
    ClearWorld();
    EXPECT_TRUE(LaunchProjectile(true, random));
    EXPECT_EQ(WorldBodyCount, 1);
}

TEST(LaunchProjectile, ShapesAndRanges) {
    TRandomSource random = Seeded(11);
    for (int i = 0; i < 200; i++) {
        ClearWorld();
        ASSERT_TRUE(LaunchProjectile(false, random));
        const TWorldBody& p = WorldBodies[1];
        EXPECT_GE(p.VertexCount, 1);
        EXPECT_LE(p.VertexCount, 9);
        EXPECT_GE(p.Position.X, -15);
        EXPECT_LT(p.Position.X, 15);
        EXPECT_GE(p.Height, 0.8);
        EXPECT_LT(p.Height, 1.5);
        EXPECT_GE(p.Angle, -1.5);
        EXPECT_LT(p.Angle, 1.5);
        EXPECT_GE(p.AngularVelocity, -20);
        EXPECT_LT(p.AngularVelocity, 20);
    }
}
