// Shapes and pens far larger than the page: the pixels a reasonable size
// would give, and nothing outside the port. (Their time is watched by
// bench/huge_shapes_bench.)
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "headless_pages.h"

namespace {

constexpr int W = 800, H = 600;
constexpr uint8_t Pen = 9, Brush = 3;

uint8_t Px(int x, int y) { return Pages[0].Pixels[static_cast<size_t>(y * W + x)]; }

class HugeShapes : public ::testing::Test {
protected:
    void SetUp() override {
        OpenHeadlessPages(W, H, true);
        SetDrawColor(Pen);
        SetAreaFill(1, Brush);
    }
    void TearDown() override { CloseHeadlessPages(); }
};

TEST_F(HugeShapes, APenWiderThanThePageCoversThePort) {
    SetStrokeStyle(0, 0, 65535);
    DefineDrawPort(100, 100, 499, 399, true);
    FillEllipseShape(200, 150, 30, 20);
    EXPECT_EQ(Px(100, 100), Pen);
    EXPECT_EQ(Px(499, 399), Pen);
    EXPECT_EQ(Px(300, 250), Pen);  // over the interior too: the pen wins
    EXPECT_EQ(Px(99, 100), 0);
    EXPECT_EQ(Px(500, 399), 0);
    EXPECT_EQ(Px(499, 400), 0);
}

// A circle of radius 1000 around the page centre with a pen 1500 wide: a ring
// from 250 to 1750 pixels out, so a hollow of 250 pixels in the middle.
TEST_F(HugeShapes, AWideRingLeavesItsHollow) {
    SetStrokeStyle(0, 0, 1500);
    DrawCircle(400, 300, 1000);
    EXPECT_EQ(Px(400, 300), 0);
    EXPECT_EQ(Px(400 + 200, 300), 0);
    EXPECT_EQ(Px(400, 300 - 240), 0);
    EXPECT_EQ(Px(400 + 260, 300), Pen);
    EXPECT_EQ(Px(400, 300 + 270), Pen);
    EXPECT_EQ(Px(0, 0), Pen);
    EXPECT_EQ(Px(799, 599), Pen);
}

// Every disc of the pen reaches past the page centre, none covers the page.
TEST_F(HugeShapes, DiscsThatEachReachThePageFromFarAway) {
    SetStrokeStyle(0, 0, 60000);
    DrawCircle(400, 300, 30000);
    EXPECT_EQ(Px(400, 300), Pen);
    EXPECT_EQ(Px(0, 0), Pen);
    EXPECT_EQ(Px(799, 0), Pen);
}

// A ring whose stroke crosses the page: the band of pixels between 9850 and
// 10150 from a centre far below.
TEST_F(HugeShapes, AHugeCircleCrossesThePageAsABand) {
    SetStrokeStyle(0, 0, 300);
    DrawCircle(400, 10300, 10000);  // the top of the ring at y 300
    EXPECT_EQ(Px(400, 300), Pen);
    EXPECT_EQ(Px(400, 160), Pen);
    EXPECT_EQ(Px(400, 440), Pen);
    EXPECT_EQ(Px(400, 140), 0);
    EXPECT_EQ(Px(400, 460), 0);
}

// Huge radii, pens and aspect factors at random, with ports: nothing outside
// the port changes.
TEST_F(HugeShapes, RandomHugeCallsStayInsideThePort) {
    std::mt19937 rng(777);
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int i = 0; i < 60; ++i) {
        const int16_t x1 = static_cast<int16_t>(pick(0, 700)), y1 = static_cast<int16_t>(pick(0, 500));
        DefineDrawPort(x1, y1, static_cast<int16_t>(x1 + pick(0, 99)), static_cast<int16_t>(y1 + pick(0, 99)), true);
        SetStrokeStyle(0, 0, static_cast<uint16_t>(pick(0, 1) ? 65535 : pick(2, 3000)));
        SetRasterMode(static_cast<int16_t>(pick(0, 1) ? 0 : pick(1, 15)));
        SetAspectScale(static_cast<uint16_t>(pick(0, 2) ? 10000 : pick(1, 65535)), 10000);
        const std::vector<uint8_t> before = BytesNow(Pages[0].Pixels);
        const auto c = [&] { return static_cast<int16_t>(pick(-32768, 32767)); };
        const auto r = [&] { return static_cast<uint16_t>(pick(0, 65535)); };
        switch (pick(0, 2)) {
            case 0: DrawCircle(c(), c(), r()); break;
            case 1: FillEllipseShape(c(), c(), r(), r()); break;
            default:
                DrawEllipseArc(c(), c(), static_cast<uint16_t>(pick(0, 360)), static_cast<uint16_t>(pick(0, 360)),
                               r(), r());
                break;
        }
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                if (x >= DrawPort.X1 && x <= DrawPort.X2 && y >= DrawPort.Y1 && y <= DrawPort.Y2) continue;
                ASSERT_EQ(Px(x, y), before[static_cast<size_t>(y * W + x)]) << x << "," << y << ", call " << i;
            }
    }
}

}  // namespace
