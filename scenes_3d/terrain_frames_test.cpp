// The two terrain programs' camera steering and the wire frame's segments,
// headless: the view draws into a recorder on 800 x 600 palette pages.
#include <gtest/gtest.h>

#include <vector>

#include "headless_pages.h"
#include "terrain_frames.h"
#include "terrain_sim.h"
#include "view3d.h"

namespace {

TEST(TerrainOrbitTest, HeldKeysMoveTheOrbitAndUpStopsBeforeTheCentre) {
    BeginTerrainGl();
    EXPECT_EQ(TerrainOrbit.Yaw, 0);
    EXPECT_EQ(TerrainOrbit.Pitch, 40);
    EXPECT_EQ(TerrainOrbit.Dist, 60);
    EXPECT_EQ(TerrainOrbit.Fov, 90);
    EXPECT_EQ(TerrainOrbit.Aspect, 1.0);
    EXPECT_EQ(TerrainVariant.TimeStep, 0.005);
    SteerTerrainOrbit(true, true, true, true, 0, 0, 0);  // pairs cancel
    EXPECT_EQ(TerrainOrbit.Dist, 60);
    EXPECT_EQ(TerrainOrbit.Yaw, 0);
    SteerTerrainOrbit(false, true, false, true, 0, 0, 0);
    EXPECT_EQ(TerrainOrbit.Dist, 60.5);
    EXPECT_EQ(TerrainOrbit.Yaw, 1);
    SteerTerrainOrbit(false, false, true, false, 0, 0, 0);
    EXPECT_EQ(TerrainOrbit.Yaw, 0);
    for (int frame = 0; frame < 500; frame++) SteerTerrainOrbit(true, false, false, false, 0, 0, 0);
    EXPECT_EQ(TerrainOrbit.Dist, 0.5);
    SteerTerrainOrbit(true, true, false, false, 0, 0, 0);
    EXPECT_EQ(TerrainOrbit.Dist, 0.5);
    SteerTerrainOrbit(false, true, false, false, 0, 0, 0);
    EXPECT_EQ(TerrainOrbit.Dist, 1);
    EndTerrainGl();
}

TEST(TerrainOrbitTest, OnlyTheRightButtonAloneTurnsOneDegreePerPixel) {
    BeginTerrainGl();
    SteerTerrainOrbit(false, false, false, false, 10, 5, 2);
    EXPECT_EQ(TerrainOrbit.Yaw, 10);
    EXPECT_EQ(TerrainOrbit.Pitch, 45);
    // Left with right (3), Shift with right (10): no turn, pointer followed.
    SteerTerrainOrbit(false, false, false, false, 40, 25, 3);
    SteerTerrainOrbit(false, false, false, false, 70, 45, 10);
    EXPECT_EQ(TerrainOrbit.Yaw, 10);
    EXPECT_EQ(TerrainOrbit.Pitch, 45);
    SteerTerrainOrbit(false, false, false, false, 70, 45, 2);
    EXPECT_EQ(TerrainOrbit.Yaw, 10);
    // Left of and above the window the pointer reads negative, not 65,5xx.
    SteerTerrainOrbit(false, false, false, false, -5, -10, 2);
    EXPECT_EQ(TerrainOrbit.Yaw, -65);
    EXPECT_EQ(TerrainOrbit.Pitch, -10);
    EXPECT_EQ(TerrainPrevMouseX, -5);
    // Angles grow without limits.
    for (int frame = 0; frame < 400; frame++) SteerTerrainOrbit(false, false, false, true, -5, -10, 0);
    EXPECT_EQ(TerrainOrbit.Yaw, 335);
    EndTerrainGl();
}

struct TSegment {
    int16_t X1, Y1, X2, Y2;
    uint32_t Color;
};
std::vector<TSegment> Recorded;

void RecordSegment(int16_t x1, int16_t y1, int16_t x2, int16_t y2) {
    Recorded.push_back({x1, y1, x2, y2, DrawColor});
}

bool NoKeyHeld(int32_t) { return false; }

class TerrainWireTest : public ::testing::Test {
protected:
    void SetUp() override {
        OpenHeadlessPages(800, 600, true);
        NamedColors[59] = 8;  // any colour apart from the balls' and the trails'
        Recorded.clear();
        ViewSegmentSink = RecordSegment;
        ViewKeyHeld = NoKeyHeld;
        BeginTerrainWire();
    }
    void TearDown() override {
        ViewSegmentSink = DrawSegment;
        ViewKeyHeld = KeyIsHeld;
        CloseHeadlessPages();
    }
};

TEST_F(TerrainWireTest, GridThenEachSphereWithItsTrail) {
    EXPECT_EQ(TerrainVariant.TimeStep, 0.02);
    DrawTerrainWire();
    ASSERT_EQ(Recorded.size(), 18724u);
    for (size_t k = 0; k < 9604; k++) ASSERT_EQ(Recorded[k].Color, 8u) << k;
    // A cell's four edges in order: A-B, B-C, A-D, D-C.
    const TSegment &ab = Recorded[0], &bc = Recorded[1], &ad = Recorded[2], &dc = Recorded[3];
    EXPECT_TRUE(bc.X1 == ab.X2 && bc.Y1 == ab.Y2);
    EXPECT_TRUE(ad.X1 == ab.X1 && ad.Y1 == ab.Y1);
    EXPECT_TRUE(dc.X1 == ad.X2 && dc.Y1 == ad.Y2);
    EXPECT_TRUE(dc.X2 == bc.X2 && dc.Y2 == bc.Y2);
    EXPECT_FALSE(ab.X1 == ab.X2 && ab.Y1 == ab.Y2);
    EXPECT_FALSE(ad.X2 == bc.X2 && ad.Y2 == bc.Y2);
    for (int32_t ball = 0; ball < 20; ball++) {
        const size_t first = 9604 + size_t(ball) * 456;
        EXPECT_EQ(Recorded[first].Color, uint32_t(32 + ball));
        EXPECT_EQ(Recorded[first + 440].Color, uint32_t(32 + ball));
        for (size_t k = first + 441; k < first + 456; k++) {
            EXPECT_EQ(Recorded[k].Color, 15u);  // white in the palette
            // Right after the start every trail segment has no length.
            EXPECT_EQ(Recorded[k].X1, Recorded[k].X2);
            EXPECT_EQ(Recorded[k].Y1, Recorded[k].Y2);
        }
    }
}

TEST_F(TerrainWireTest, ANearlyLevelViewDrawsNoLineAcrossThePage) {
    // Beside the field, just above it, looking along -z: everything lies to
    // the left of the centre, the nearest row at the near plane itself.
    CamEye = {-60, 0.5, 26};
    CamRight = {-1, 0, 0};
    CamUp = {0, 1, 0};
    CamFwd = {0, 0, -1};
    DrawTerrainWire();
    ASSERT_GT(Recorded.size(), 10000u);
    for (const TSegment& s : Recorded) {
        ASSERT_LT(s.X1, 400);
        ASSERT_LT(s.X2, 400);
    }
}

TEST_F(TerrainWireTest, ARightDragTurnsOnlyWhileThePointerMoves) {
    CamTurnByDrag(100, 100, 0);
    const TVec3 fwd = CamFwd;
    CamTurnByDrag(100, 100, 2);  // pressed, not moved
    EXPECT_EQ(CamFwd.X, fwd.X);
    EXPECT_EQ(CamFwd.Z, fwd.Z);
    // Shift with the right button: no turn, but the pointer is followed.
    CamTurnByDrag(356, 100, 10);
    CamTurnByDrag(356, 100, 2);
    EXPECT_EQ(CamFwd.X, fwd.X);
    // 256 pixels across: a radian of yaw. The start looks along
    // (0, -25, -23) / 33.970576, right along (-1, 0, 0).
    CamTurnByDrag(612, 100, 2);
    EXPECT_NEAR(CamFwd.X, -0.841471, 1e-6);
    EXPECT_NEAR(CamFwd.Y, -0.397625, 1e-6);
    EXPECT_NEAR(CamFwd.Z, -0.365815, 1e-6);
}

}  // namespace
