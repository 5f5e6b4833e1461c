#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "dots_segments.h"

namespace {

constexpr int32_t Right = 799, Bottom = 599;

TUserSegment Complete(double x1, double y1, double x2, double y2) { return {x1, y1, x2, y2, 1}; }

class DotsTest : public ::testing::Test {
protected:
    void SetUp() override { ResetDotsAndSegments(); }
    // A click: the word for one frame, then nothing.
    void Click(uint16_t buttons, int32_t x, int32_t y) {
        HandleDotPresses(buttons, x, y);
        HandleDotPresses(0, x, y);
    }
    auto ActiveDots() { return std::count_if(Dots.begin(), Dots.end(), [](auto& d) { return d.Active == 1; }); }
    auto CompleteSegments() {
        return std::count_if(UserSegments.begin(), UserSegments.end(), [](auto& s) { return s.State == 1; });
    }
};

TEST_F(DotsTest, AHorizontalSegmentReversesTheFallAndKeepsTheSideways) {
    TDot dot{150, 298.5, 0.25, 0.5, 1};
    EXPECT_TRUE(MirrorDotOffSegment(dot, Complete(100, 300, 200, 300)));
    EXPECT_NEAR(dot.VX, 0.25, 1e-15);
    EXPECT_NEAR(dot.VY, -0.5, 1e-15);
    // Drawn right to left: the same line, the same mirror.
    TDot back{150, 301, 0, 0.5, 1};
    EXPECT_TRUE(MirrorDotOffSegment(back, Complete(200, 300, 100, 300)));
    EXPECT_NEAR(back.VX, 0, 1e-15);
    EXPECT_NEAR(back.VY, -0.5, 1e-15);
}

TEST_F(DotsTest, FortyFiveDegreesTurnsAFallSideways) {
    TDot down{150, 150, 0, 0.5, 1};
    EXPECT_TRUE(MirrorDotOffSegment(down, Complete(100, 100, 200, 200)));
    EXPECT_NEAR(down.VX, 0.5, 1e-15);
    EXPECT_NEAR(down.VY, 0, 1e-15);
    TDot other{150, 150, 0, 0.5, 1};
    EXPECT_TRUE(MirrorDotOffSegment(other, Complete(100, 200, 200, 100)));
    EXPECT_NEAR(other.VX, -0.5, 1e-15);
    EXPECT_NEAR(other.VY, 0, 1e-15);
}

TEST_F(DotsTest, ExactlyThreeAwayOrAnExtentOnlyTouchingMirrorsNothing) {
    TDot above{150, 297, 0, 0.5, 1};
    EXPECT_FALSE(MirrorDotOffSegment(above, Complete(100, 300, 200, 300)));
    EXPECT_EQ(above.VY, 0.5);
    TDot justInside{150, 297.01, 0, 0.5, 1};
    EXPECT_TRUE(MirrorDotOffSegment(justInside, Complete(100, 300, 200, 300)));
    // On the line but beyond the ends: the extent ends at X + 3 or X - 3.
    TDot left{97, 300, 0, 0.5, 1};
    EXPECT_FALSE(MirrorDotOffSegment(left, Complete(100, 300, 200, 300)));
    TDot right{203, 300, 0, 0.5, 1};
    EXPECT_FALSE(MirrorDotOffSegment(right, Complete(100, 300, 200, 300)));
    TDot nearEnd{202.5, 300, 0, 0.5, 1};
    EXPECT_TRUE(MirrorDotOffSegment(nearEnd, Complete(100, 300, 200, 300)));
    // A vertical segment has an extent of one x.
    TDot beside{102, 150, 0.5, 0, 1};
    EXPECT_TRUE(MirrorDotOffSegment(beside, Complete(100, 100, 100, 200)));
    EXPECT_NEAR(beside.VX, -0.5, 1e-15);
}

TEST_F(DotsTest, ASegmentOfNoLengthMirrorsNothing) {
    // Alone, on the dot's own pixel.
    UserSegments[0] = Complete(150, 300, 150, 300);
    Dots[0] = TDot{150, 299.5, 0, 0.5, 1};
    MoveDots(Right, Bottom);
    EXPECT_EQ(Dots[0].VY, 0.5);
    EXPECT_EQ(DotLooks[0], DotPlain);
    // Right after a segment that mirrored the dot at distance 1: the dot
    // stays mirrored once, not twice.
    UserSegments[0] = Complete(100, 300, 200, 300);
    UserSegments[1] = Complete(150, 250, 150, 250);
    Dots[1] = TDot{150, 298.5, 0, 0.5, 1};
    MoveDots(Right, Bottom);
    EXPECT_NEAR(Dots[1].VY, -0.5, 1e-15);
    EXPECT_EQ(DotLooks[1], DotMirrored);
}

TEST_F(DotsTest, EachSegmentTouchedMirrorsOnTheVelocityTheLastOneLeft) {
    // Two segments on one line: mirrored twice, the dot falls on.
    UserSegments[0] = Complete(100, 300, 200, 300);
    UserSegments[1] = Complete(120, 300, 180, 300);
    Dots[0] = TDot{150, 298, 0, 0.5, 1};
    MoveDots(Right, Bottom);
    EXPECT_NEAR(Dots[0].VY, 0.5, 1e-15);
    EXPECT_EQ(Dots[0].Y, 298.5);  // moved first, never put back
    EXPECT_EQ(DotLooks[0], DotMirrored);
}

TEST_F(DotsTest, ADotStillNearInTheNextFrameIsMirroredAgain) {
    UserSegments[0] = Complete(100, 300, 200, 300);
    Dots[0] = TDot{150, 298, 0, 0.2, 1};
    MoveDots(Right, Bottom);  // 298.2, up
    EXPECT_NEAR(Dots[0].VY, -0.2, 1e-15);
    MoveDots(Right, Bottom);  // 298.0, still within 3: down again
    EXPECT_NEAR(Dots[0].VY, 0.2, 1e-15);
    EXPECT_EQ(DotLooks[0], DotMirrored);
}

TEST_F(DotsTest, DotsLeavingTheWindowAreFreedButDrawnOnce) {
    Dots[0] = TDot{400, 595.5, 0, 0.5, 1};    // 596 + 3 = 599: stays
    Dots[1] = TDot{400, 595.75, 0, 0.5, 1};   // 596.25 + 3 > 599
    Dots[2] = TDot{796, 100, 0.5, 0, 1};      // 796.5 + 3 > 799
    Dots[3] = TDot{-2.5, 100, -0.5, 0, 1};    // -3 + 3 = 0: stays
    Dots[4] = TDot{-2.75, 100, -0.5, 0, 1};   // -3.25 + 3 < 0
    Dots[5] = TDot{100, -2.75, 0, -0.5, 1};   // -3.25 + 3 < 0
    MoveDots(Right, Bottom);
    const int32_t active[6] = {1, 0, 0, 1, 0, 0};
    for (int i = 0; i < 6; i++) {
        EXPECT_EQ(Dots[i].Active, active[i]) << i;
        EXPECT_EQ(DotLooks[i], DotPlain) << i;
    }
    MoveDots(Right, Bottom);
    EXPECT_EQ(DotLooks[1], DotHidden);
    EXPECT_EQ(Dots[1].Y, 596.25);  // a free dot does not move
}

TEST_F(DotsTest, ALeftPressStartsTheFirstFreeDotAtThePointer) {
    Dots[0].Active = 1;
    Click(1, 120, 80);
    const TDot& d = Dots[1];
    EXPECT_EQ(std::make_tuple(d.X, d.Y, d.VX, d.VY, d.Active), std::make_tuple(120.0, 80.0, 0.0, 0.5, 1));
    // Held: one press, one dot.
    HandleDotPresses(1, 10, 10);
    HandleDotPresses(1, 20, 20);
    EXPECT_EQ(ActiveDots(), 3);
}

TEST_F(DotsTest, ModifiersOrTwoButtonsAreNoPress) {
    for (uint16_t word : {uint16_t(1 | 8), uint16_t(1 | 16), uint16_t(3), uint16_t(2 | 8), uint16_t(2 | 16),
                          uint16_t(4)})
        Click(word, 100, 100);
    EXPECT_EQ(ActiveDots(), 0);
    EXPECT_EQ(PendingSegment, -1);
    EXPECT_EQ(CompleteSegments(), 0);
    // Letting go of Shift with the left button still down is a press.
    HandleDotPresses(1 | 8, 100, 100);
    HandleDotPresses(1, 100, 100);
    EXPECT_EQ(ActiveDots(), 1);
}

TEST_F(DotsTest, TwoRightPressesMakeOneSegment) {
    Click(2, 10, 20);
    EXPECT_EQ(PendingSegment, 0);
    EXPECT_EQ(CompleteSegments(), 0);  // nothing to draw yet
    Click(2, 30, 40);
    EXPECT_EQ(PendingSegment, -1);
    const TUserSegment& s = UserSegments[0];
    EXPECT_EQ(std::make_tuple(s.X1, s.Y1, s.X2, s.Y2, s.State), std::make_tuple(10.0, 20.0, 30.0, 40.0, 1));
    Click(2, 50, 60);
    EXPECT_EQ(PendingSegment, 1);
    EXPECT_EQ(UserSegments[1].X1, 50);
}

TEST_F(DotsTest, FullTablesIgnorePresses) {
    for (int32_t i = 0; i < DotCapacity; i++) Click(1, i, 10);
    EXPECT_EQ(ActiveDots(), 150);
    Click(1, 500, 500);
    for (const TDot& d : Dots) EXPECT_NE(d.X, 500);
    for (int32_t i = 0; i < SegmentCapacity; i++) {
        Click(2, i, 0);
        Click(2, i, 100);
    }
    EXPECT_EQ(CompleteSegments(), 150);
    Click(2, 600, 600);
    EXPECT_EQ(PendingSegment, -1);
    for (const TUserSegment& s : UserSegments) EXPECT_NE(s.X1, 600);
}

}  // namespace
