// The rack left to itself for a long time.
#include <gtest/gtest.h>

#include <cmath>

#include "cue_rack.h"
#include "test_support/long_runs.h"

namespace {

TEST(RackOverTime, AMillionFramesWithoutKeys) {
    TRandomSource random{};
    SeedRandom(random, 5);
    SetUpRack(799, 599, 250, random);
    const long double start = RackKineticEnergy();
    ASSERT_GT(start, 62500);  // the cue ball's 50 px/s at mass 50
    int64_t events = 0;
    for (int32_t frame = 0; frame < LongRun(1000000); frame++) {
        FindEarliestEvent();
        AdvanceRackBalls();
        ResolveRackEvent();
        events += EventA >= 0;
        if (frame % 1000 != 999) continue;
        for (int32_t i = 0; i < RackBallCount; i++) {
            const TRackBall& b = RackBalls[i];
            ASSERT_TRUE(std::isfinite(b.X) && std::isfinite(b.Y) && std::isfinite(b.VX) &&
                        std::isfinite(b.VY))
                << "ball " << i << " in frame " << frame;
            for (int32_t w = 0; w < RackWallCount; w++) {
                const TOneSidedWall& wall = RackWalls[w];
                const double front = wall.NX * (b.X - wall.X1) + wall.NY * (b.Y - wall.Y1);
                ASSERT_GT(front, 0) << "ball " << i << " behind wall " << w << " in frame " << frame;
            }
        }
    }
    EXPECT_NEAR(static_cast<double>(RackKineticEnergy() / start), 1, 1e-9);
    EXPECT_GT(events, LongRun(10000));
}

}  // namespace
