// The scenes of both programs run for 20,000 frames, with and without a
// click every 20 frames: balls stay finite and in the box, energy stays
// what it was since the last ball came, and box_balls_gl rarely runs out of
// events in a frame.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "box_balls_controls.h"
#include "box_scenes.h"
#include "test_support/long_runs.h"

namespace {

constexpr int32_t Frames = LongRun(20000);

long double Energy() {
    long double e = 0;
    for (int32_t i = 0; i < BallCount; i++) {
        const TBoxBall& b = BoxBalls[size_t(i)];
        const long double v2 = (long double)b.Vel.X * b.Vel.X + (long double)b.Vel.Y * b.Vel.Y +
                               (long double)b.Vel.Z * b.Vel.Z;
        e += b.Mass * (v2 / 2 + 9.82L * b.Pos.Y);
    }
    return e;
}

struct TRunResult {
    int32_t LimitFrames = 0;
    double WorstEnergyDrift = 0;  // relative, between clicks
};

// Runs the scene already built; the box spans -4L..4L and 0..8L.
TRunResult RunScene(double l, bool clicks) {
    TRunResult r;
    ResetBoxControls(l);
    long double reference = Energy();
    for (int32_t frame = 1; frame <= Frames; frame++) {
        EventDepth = 0;
        EventStep(BoxTimeStep);
        if (EventDepth > MaxEventDepth) r.LimitFrames++;
        const int32_t before = BallCount;
        HandleLeftClick(clicks && frame % 20 == 0 ? 1 : 0);
        const long double e = Energy();
        if (BallCount != before) reference = e;
        const double drift = double(std::fabs(e - reference) / reference);
        if (drift > r.WorstEnergyDrift) r.WorstEnergyDrift = drift;
        for (int32_t i = 0; i < BallCount; i++) {
            const TVec3& p = BoxBalls[size_t(i)].Pos;
            const bool inside = p.X >= -4 * l && p.X <= 4 * l && p.Z >= -4 * l && p.Z <= 4 * l &&
                                p.Y >= 0 && p.Y <= 8 * l;
            if (!inside || !std::isfinite(BoxBalls[size_t(i)].Vel.X) ||
                !std::isfinite(BoxBalls[size_t(i)].Vel.Y) || !std::isfinite(BoxBalls[size_t(i)].Vel.Z)) {
                ADD_FAILURE() << "ball " << i << " at frame " << frame << ": " << p.X << ", " << p.Y
                              << ", " << p.Z;
                return r;
            }
        }
    }
    return r;
}

class BoxRunTest : public ::testing::TestWithParam<bool> {};

TEST_P(BoxRunTest, GlScenesStayInTheBoxWithTheirEnergy) {
    const struct {
        TBoxScene Scene;
        int32_t Balls;
    } scenes[] = {{TBoxScene::BigBallUnderGrid, 65}, {TBoxScene::RowHitByOne, 15}, {TBoxScene::LeaningColumn, 70}};
    for (const auto& [scene, balls] : scenes) {
        ResetBoxBalls(BoxBallsGlPhysics);
        AddSceneBalls(scene, GlSceneScale);
        AddBoxWalls(GlSceneScale);
        const TRunResult r = RunScene(GlSceneScale, GetParam());
        EXPECT_LT(r.LimitFrames, Frames / 100) << int(scene);
        EXPECT_LT(r.WorstEnergyDrift, 1e-6) << int(scene);
        EXPECT_EQ(BallCount, GetParam() ? 101 : balls);
        std::printf("scene %d: %d frames at the event limit, energy drift %.3g\n", int(scene), r.LimitFrames,
                    r.WorstEnergyDrift);
    }
}

TEST_P(BoxRunTest, WireColumnStaysInTheBoxWithItsEnergy) {
    ResetBoxBalls(BoxBallsWirePhysics);
    AddThrownColumn(WireSceneScale);
    AddBoxWalls(WireSceneScale);
    const TRunResult r = RunScene(WireSceneScale, GetParam());
    EXPECT_LT(r.WorstEnergyDrift, 1e-6);
    EXPECT_EQ(BallCount, GetParam() ? 51 : 40);
}

INSTANTIATE_TEST_SUITE_P(Clicks, BoxRunTest, ::testing::Values(false, true));

}  // namespace
