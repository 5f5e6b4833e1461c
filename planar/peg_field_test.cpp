#include <gtest/gtest.h>

#include <cmath>

#include "peg_field.h"

namespace {

constexpr int32_t Right = 799, Bottom = 599;

class PegsTest : public ::testing::Test {
protected:
    TRandomSource Random{};
    void SetUp() override {
        SeedRandom(Random, 7);
        SetUpPegField(Right, Bottom, Random);
    }
    // Every peg out of the way but those a test places.
    void ClearPegs() {
        for (TPeg& peg : Pegs) peg = TPeg{-5000, -5000, 30};
    }
};

TEST_F(PegsTest, PegsAndPreparedDrops) {
    for (const TPeg& peg : Pegs) {
        EXPECT_EQ(peg.R, 30);
        EXPECT_GE(peg.X, 0);
        EXPECT_LE(peg.X, 798);
        EXPECT_GE(peg.Y, 100);  // below the window's top by 100, maybe below its bottom
        EXPECT_LE(peg.Y, 698);
        EXPECT_EQ(peg.X, std::floor(peg.X));
    }
    for (const TDrop& drop : Drops) {
        EXPECT_EQ(drop.Y, -10);
        EXPECT_EQ(drop.VX, 0);
        EXPECT_EQ(drop.VY, 0);
        EXPECT_EQ(drop.AX, 0);
        EXPECT_EQ(drop.AY, 0.00005);
        EXPECT_EQ(drop.R, 10);
    }
    EXPECT_EQ(DropCount, 0);
    EXPECT_EQ(BurstCounter, 0);
}

TEST_F(PegsTest, ADropFallingOnAPegsTopLeavesStraightUp) {
    ClearPegs();
    Pegs[3] = TPeg{400, 300, 30};
    TDrop drop{400, 260.5, 0, 0.2, 0, 0.00005, 10};
    double angle = 0;
    ASSERT_TRUE(BounceDropOffPeg(drop, angle));
    EXPECT_NEAR(angle, 4.71238898038469, 1e-15);  // straight up from the centre
    EXPECT_NEAR(drop.VX, 0, 1e-15);
    EXPECT_NEAR(drop.VY, -0.2, 1e-15);
    // Sideways on its flank: the horizontal part turns.
    TDrop side{439.5, 300, -0.1, 0.05, 0, 0.00005, 10};
    ASSERT_TRUE(BounceDropOffPeg(side, angle));
    EXPECT_NEAR(side.VX, 0.1, 1e-15);
    EXPECT_NEAR(side.VY, 0.05, 1e-15);
}

TEST_F(PegsTest, TheLowerNumberedOfTwoTouchedPegsActs) {
    ClearPegs();
    Pegs[10] = TPeg{400, 300, 30};  // below the drop
    Pegs[20] = TPeg{365, 262, 30};  // left of it
    TDrop drop{400, 262, 0.1, 0.1, 0, 0.00005, 10};
    EXPECT_EQ(FirstOverlappingPeg(drop), 10);
    double angle = 0;
    ASSERT_TRUE(BounceDropOffPeg(drop, angle));
    EXPECT_NEAR(drop.VX, 0.1, 1e-15);
    EXPECT_NEAR(drop.VY, -0.1, 1e-15);
    // The same drop against peg 20 alone turns sideways instead.
    Pegs[10] = TPeg{-5000, -5000, 30};
    TDrop alone{400, 262, -0.1, 0.1, 0, 0.00005, 10};
    ASSERT_TRUE(BounceDropOffPeg(alone, angle));
    EXPECT_NEAR(alone.VX, 0.1, 1e-15);
    EXPECT_NEAR(alone.VY, 0.1, 1e-15);
}

TEST_F(PegsTest, ADropLeavingAPegIsNotTurnedBack) {
    ClearPegs();
    Pegs[0] = TPeg{400, 300, 30};
    TDrop leaving{400, 265, 0.02, -0.2, 0, 0.00005, 10};
    double angle = 0;
    EXPECT_FALSE(BounceDropOffPeg(leaving, angle));
    EXPECT_EQ(leaving.VX, 0.02);
    EXPECT_EQ(leaving.VY, -0.2);
    // Moving along the surface, neither in nor out: left alone too.
    TDrop grazing{400, 265, 0.2, 0, 0, 0.00005, 10};
    EXPECT_FALSE(BounceDropOffPeg(grazing, angle));
    EXPECT_EQ(grazing.VX, 0.2);
    // Deep inside a peg and moving away, a drop is never caught: it leaves
    // within a few frames, bursting nowhere.
    DropCount = 1;
    Drops[0] = TDrop{400, 280, 0, -0.2, 0, 0.00005, 10};
    BurstCounter = 0;
    RunPegSubSteps(Right, Bottom, Random, false);
    EXPECT_EQ(BurstCounter, 0);
    EXPECT_LT(Drops[0].Y, 274);
}

TEST_F(PegsTest, AContactRestartsTheBurstWhereTheDropWas) {
    ClearPegs();
    Pegs[0] = TPeg{400, 300, 30};
    DropCount = 1;
    Drops[0] = TDrop{400, 259.9, 0, 0.2, 0, 0.00005, 10};
    RunPegSubSteps(Right, Bottom, Random, false);
    EXPECT_EQ(BurstCounter, 30);
    EXPECT_EQ(BurstX, 400);
    EXPECT_NEAR(BurstY, 260.1, 1e-12);  // the first position found overlapping
    EXPECT_LT(Drops[0].VY, 0);
}

TEST_F(PegsTest, ADropFallingOutStartsAgainAboveTheTop) {
    ClearPegs();
    DropCount = 1;
    Drops[0] = TDrop{123, 598.95, 0, 0.1, 0, 0.00005, 10};
    RunPegSubSteps(Right, Bottom, Random, false);
    EXPECT_GT(Drops[0].Y, -10);
    EXPECT_LT(Drops[0].Y, -9);  // restarted, then about 30 sub-steps of fall
    EXPECT_GE(Drops[0].X, 0);
    EXPECT_LE(Drops[0].X, 798);
    EXPECT_EQ(Drops[0].AY, 0.00005);
}

TEST_F(PegsTest, ALeftPressAddsADropOnTheTopEdgeUpToAHundred) {
    HandlePegPress(1, Right, Random);
    ASSERT_EQ(DropCount, 1);
    EXPECT_EQ(Drops[0].Y, 0);
    EXPECT_EQ(Drops[0].VY, 0);
    EXPECT_EQ(Drops[0].AY, 0.00005);
    EXPECT_EQ(Drops[0].R, 10);
    HandlePegPress(1, Right, Random);  // held
    HandlePegPress(1 | 8, Right, Random);
    HandlePegPress(3, Right, Random);
    HandlePegPress(2, Right, Random);
    EXPECT_EQ(DropCount, 1);
    for (int i = 0; i < 150; i++) {
        HandlePegPress(1, Right, Random);
        HandlePegPress(0, Right, Random);
    }
    EXPECT_EQ(DropCount, 100);
}

}  // namespace
