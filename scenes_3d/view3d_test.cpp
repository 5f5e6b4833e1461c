// The software view against a recorder in place of DrawSegment, on headless
// 800 x 600 pages (right edge 799, bottom edge 599).
#include <gtest/gtest.h>

#include <vector>

#include "headless_pages.h"
#include "view3d.h"
#include "vec3_expect.h"

namespace {

struct TSegment {
    int16_t X1, Y1, X2, Y2;
    bool operator==(const TSegment&) const = default;
};

std::vector<TSegment> Recorded;

void RecordSegment(int16_t x1, int16_t y1, int16_t x2, int16_t y2) { Recorded.push_back({x1, y1, x2, y2}); }

std::vector<int32_t> HeldKeys;

bool HeldFromList(int32_t key) {
    for (int32_t k : HeldKeys)
        if (k == key) return true;
    return false;
}

class View3dTest : public ::testing::Test {
protected:
    void SetUp() override {
        OpenHeadlessPages(800, 600, true);
        Recorded.clear();
        HeldKeys.clear();
        ViewSegmentSink = RecordSegment;
        ViewKeyHeld = HeldFromList;
        UseViewVariant(BoxBallsWireView);
        CamEye = {0, 0, 0};
        CamRight = {1, 0, 0};
        CamUp = {0, 1, 0};
        CamFwd = {0, 0, 1};
    }
    void TearDown() override { CloseHeadlessPages(); }
};

TEST_F(View3dTest, ProjectionRoundsHalvesToEvenAboutTheWindowCentre) {
    ClipProjectLine(100, 0, 399.5, -100, 50, 399.5);
    ClipProjectLine(0, 0, 1000, 0, 0, 51);
    ASSERT_EQ(Recorded.size(), 2u);
    EXPECT_EQ(Recorded[0], (TSegment{500, 300, 300, 350}));
    EXPECT_EQ(Recorded[1], (TSegment{400, 300, 400, 300}));
}

TEST_F(View3dTest, FlippedYIsMirroredAboutTheBottomEdge) {
    UseViewVariant(TerrainBallsWireView);
    ClipProjectLine(0, 0, 1000, 100, 50, 399.5);
    ASSERT_EQ(Recorded.size(), 1u);
    EXPECT_EQ(Recorded[0], (TSegment{400, 299, 500, 249}));
}

TEST_F(View3dTest, NearPlaneTestsAreStrictAndCutEndsKeepInterpolatedCoordinates) {
    // Both nearer than 50: nothing.
    ClipProjectLine(0, 0, 49.999, 100, 0, 10);
    EXPECT_TRUE(Recorded.empty());
    // One end exactly at 50: drawn as it is (k = 7.99 there).
    ClipProjectLine(0, 0, 50, 100, 0, 399.5);
    // Depth 0 to 100: cut half way, at (50, 10, 50), from either end.
    ClipProjectLine(0, 10, 0, 100, 10, 100);
    ClipProjectLine(100, 10, 100, 0, 10, 0);
    ASSERT_EQ(Recorded.size(), 3u);
    EXPECT_EQ(Recorded[0], (TSegment{400, 300, 500, 300}));
    EXPECT_EQ(Recorded[1], (TSegment{799, 379, 799, 339}));
    EXPECT_EQ(Recorded[2], (TSegment{799, 339, 799, 379}));
}

TEST_F(View3dTest, FarOffEndsAreHeldAtTheGuardBandInsteadOfWrapping) {
    // 10000 to the side at depth 100 projects to x 40349.5, past 32767.
    ClipProjectLine(0, 0, 100, 10000, 0, 100);
    ClipProjectLine(0, 0, 100, -10000, 0, 100);
    ClipProjectLine(0, 0, 100, 0, 10000, 100);
    ASSERT_EQ(Recorded.size(), 3u);
    EXPECT_EQ(Recorded[0], (TSegment{400, 300, 16384, 300}));
    EXPECT_EQ(Recorded[1], (TSegment{400, 300, -16384, 300}));
    EXPECT_EQ(Recorded[2], (TSegment{400, 300, 400, 16384}));
    // A segment 65,536 pixels off to the right would wrap onto x 400; it lies
    // wholly outside the band and draws nothing.
    Recorded.clear();
    ClipProjectLine(16404.63, 0, 100, 16404.63, 50, 100);
    EXPECT_TRUE(Recorded.empty());
}

TEST_F(View3dTest, WireSpheresHaveTheirSegmentCountsAndJoinNewPointToPrevious) {
    WireSphere(0, 0, 1000, 100);
    ASSERT_EQ(Recorded.size(), 441u);
    // First circle: theta 0 at (0, 0, 1100), then 18 degrees on.
    EXPECT_EQ(Recorded[0], (TSegment{411, 300, 400, 300}));
    Recorded.clear();
    UseViewVariant(Projectile3dView);
    WireSphere(0, 0, 1000, 100);
    EXPECT_EQ(Recorded.size(), 380u);
}

TEST_F(View3dTest, StartEyesLookAtTheOrigin) {
    CamSetupFromEye(BoxBallsWireStartEye);
    ExpectVec(CamEye, 1, -100, 100, 1e-15);
    ExpectVec(CamFwd, -0.007070891041799029, 0.7070891041799029, -0.7070891041799029, 1e-15);
    ExpectVec(CamRight, -0.9999500037496876, 0, 0.009999500037496875, 1e-15);
    ExpectVec(CamUp, 0.0070705375237605705, 0.7071244577512947, 0.707053752376057, 1e-15);
    CamSetupFromEye(TerrainBallsWireStartEye);
    ExpectVec(CamEye, 0, 25, 23, 1e-15);
    ExpectVec(CamFwd, 0, -0.7359310117618296, -0.6770565308208832, 1e-15);
    ExpectVec(CamRight, -1, 0, 0, 1e-15);
    ExpectVec(CamUp, 0, 0.6770565308208832, -0.7359310117618296, 1e-15);
}

TEST_F(View3dTest, HeldKeysMoveTheEyeAlongTheAxes) {
    CamMoveHeld();
    ExpectVec(CamEye, 0, 0, 0, 1e-15);
    HeldKeys = {0x26, 0x25, 0x5A};  // Up, Left, Z
    CamMoveHeld();
    ExpectVec(CamEye, -5.5, 5.5, 5.5, 1e-15);
    HeldKeys = {0x28, 0x41, 0x27};  // Down, A, Right
    CamMoveHeld();
    CamMoveHeld();
    ExpectVec(CamEye, 5.5, -5.5, -5.5, 1e-15);
}

TEST_F(View3dTest, TurnsComeFromTheOldAxes) {
    CamTurn(0, 0, 0);
    ExpectVec(CamRight, 1, 0, 0, 1e-15);
    ExpectVec(CamUp, 0, 1, 0, 1e-15);
    ExpectVec(CamFwd, 0, 0, 1, 1e-15);
    // A 256-pixel drag to the right: one radian of yaw.
    CamTurn(0, 0, 256 * DragRadiansPerPixel);
    ExpectVec(CamRight, 0.5403023058681398, 0, -0.8414709848078965, 1e-15);
    ExpectVec(CamUp, 0, 1, 0, 1e-15);
    ExpectVec(CamFwd, 0.8414709848078965, 0, 0.5403023058681398, 1e-15);
    // Then a quarter turn of pitch about the new right axis.
    CamTurn(0, 1.5707963267948966, 0);
    ExpectVec(CamRight, 0.5403023058681398, 0, -0.8414709848078965, 1e-15);
    ExpectVec(CamUp, -0.8414709848078965, 0, -0.5403023058681398, 1e-15);
    ExpectVec(CamFwd, 0, 1, 0, 1e-15);
}

TEST_F(View3dTest, OrthonormalizeLeavesTheForwardAxis) {
    CamRight = {2, 0, 0};
    CamUp = {0, 5, 0};
    CamFwd = {0, 0, 2};
    CamOrthonormalize();
    ExpectVec(CamRight, 1, 0, 0, 1e-15);
    ExpectVec(CamUp, 0, 2, 0, 1e-15);
    ExpectVec(CamFwd, 0, 0, 2, 1e-15);
}

}  // namespace
