#include "ball_heap_sim.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(HeapContact, PushApartAndHandOverVelocity) {
    TFallingBall a{100, 100, 0, 0, 1, 0}, b{119, 100, 0, 0, -1, 0};
    TouchHeapPair(a, b);
    EXPECT_DOUBLE_EQ(a.VX, -0.98);
    EXPECT_DOUBLE_EQ(b.VX, 0.98);
    TFallingBall apart{0, 0, 0, 0, 1, 0}, far{20, 0, 0, 0, -1, 0};  // exactly 2R: no touch
    TouchHeapPair(apart, far);
    EXPECT_EQ(apart.VX, 1);
    TFallingBall same1{50, 50, 0, 0, 0.5, 0}, same2{50, 50, 0, 0, 0, 0};
    TouchHeapPair(same1, same2);
    EXPECT_DOUBLE_EQ(same2.X - same1.X, 40);
}

TEST(HeapStart, GridRowsOfTwentySixAndTheFloor) {
    PlaceHeapBalls(799, 599);
    EXPECT_EQ(HeapBallCount, 256);
    EXPECT_EQ(HeapBalls[0].X, 10);
    EXPECT_EQ(HeapBalls[25].X, 760);
    EXPECT_EQ(HeapBalls[26].X, 10);
    EXPECT_EQ(HeapBalls[26].Y, 40);
    EXPECT_EQ(HeapLimits.Bottom, 589);
    TFallingBall resting{300, 589, 0, 0, 0, 0};
    MoveHeapBall(resting);
    EXPECT_EQ(resting.Y, 589);
    EXPECT_DOUBLE_EQ(resting.VY, -0.99 * 0.004);
}

TEST(HeapInput, DragTiesAddsAndAFullTable) {
    PlaceHeapBalls(799, 599);
    // (25, 10) is as near ball 0 (10, 10) as ball 1 (40, 10): the lower wins.
    HeapBalls[0].VX = 0.5;
    DragNearestHeapBall(25, 10);
    EXPECT_EQ(HeapBalls[0].X, 25);
    EXPECT_EQ(HeapBalls[1].X, 40);
    EXPECT_EQ(HeapBalls[0].VX, 0.5);
    TRandomSource random{};
    AddHeapBall(799, 599, random);
    EXPECT_EQ(HeapBallCount, 257);
    EXPECT_GE(HeapBalls[256].X, 399.5);
    EXPECT_LE(HeapBalls[256].X, 408.5);
    EXPECT_EQ(HeapBalls[256].Y, 299.5);
    while (HeapBallCount < HeapCapacity) AddHeapBall(799, 599, random);
    AddHeapBall(799, 599, random);
    EXPECT_EQ(HeapBallCount, 8193);
}

// Cells of 20 pixels. Pairs 15 apart into each of the eight neighbour cells
// (diagonals straddling a corner, two with a ball on it), within one cell and
// in the border cells that hold balls beyond the window: each is found and
// pushed apart to 25 along its line.
TEST(HeapPairPass, FindsTouchingPairsInEveryNeighbourCell) {
    PlaceHeapBalls(799, 599);
    const double pairs[][8] = {
        // a (x, y), b (x, y), a and b after the pass
        {92.5, 110, 107.5, 110, 87.5, 110, 112.5, 110},   // b to the right
        {207.5, 110, 192.5, 110, 212.5, 110, 187.5, 110}, // left
        {310, 92.5, 310, 107.5, 310, 87.5, 310, 112.5},   // below
        {410, 107.5, 410, 92.5, 410, 112.5, 410, 87.5},   // above
        {91, 288, 100, 300, 88, 284, 103, 304},           // below right, b on the corner
        {200, 300, 191, 288, 203, 304, 188, 284},         // above left, a on the corner
        {304.5, 294, 295.5, 306, 307.5, 290, 292.5, 310}, // below left
        {395.5, 306, 404.5, 294, 392.5, 310, 407.5, 290}, // above right
        {-50, -40, -35, -40, -55, -40, -30, -40},         // one cell, beyond the top left
        {795, 595, 804, 607, 792, 591, 807, 611},         // into the last cells
    };
    HeapBallCount = 0;
    for (const auto& p : pairs) {
        HeapBalls[HeapBallCount++] = {p[0], p[1], 0, 0, 0, 0};
        HeapBalls[HeapBallCount++] = {p[2], p[3], 0, 0, 0, 0};
    }
    HeapPairPass();
    for (int k = 0; k < HeapBallCount; k++) {
        const double* after = &pairs[k / 2][4 + 2 * (k % 2)];
        EXPECT_EQ(HeapBalls[k].X, after[0]) << "pair " << k / 2;
        EXPECT_EQ(HeapBalls[k].Y, after[1]) << "pair " << k / 2;
    }
}

void HeapFrame() {
    HeapPairPass();
    for (int k = 0; k < HeapBallCount; k++) MoveHeapBall(HeapBalls[k]);
}

TEST(HeapOverTime, SettlesInsideAndAddsStayFinite) {
    PlaceHeapBalls(799, 599);
    for (int frame = 0; frame < 30000; frame++) HeapFrame();
    double fastest = 0;
    for (int k = 0; k < HeapBallCount; k++) {
        const TFallingBall& b = HeapBalls[k];
        EXPECT_GE(b.X, 10);  // false for NaN too
        EXPECT_LE(b.X, 789);
        EXPECT_GE(b.Y, 10);
        EXPECT_LE(b.Y, 589);
        fastest = std::max(fastest, std::hypot(b.VX, b.VY));
    }
    EXPECT_LT(fastest, 0.05);
    TRandomSource random{};
    while (HeapBallCount < 1000) {
        AddHeapBall(799, 599, random);
        HeapFrame();
    }
    for (int k = 0; k < HeapBallCount; k++)
        ASSERT_TRUE(std::isfinite(HeapBalls[k].X) && std::isfinite(HeapBalls[k].VY)) << k;
}

}  // namespace
