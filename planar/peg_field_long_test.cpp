// A full field left to itself for a long time.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "peg_field.h"
#include "test_support/long_runs.h"

namespace {

constexpr int32_t Right = 799, Bottom = 599;

// How far the drop reaches into the deepest peg it overlaps.
double DeepestOverlap(const TDrop& drop) {
    double deepest = 0;
    for (const TPeg& peg : Pegs)
        if (std::fabs(drop.X - peg.X) < 50 && std::fabs(drop.Y - peg.Y) < 50)
            deepest = std::max(deepest, drop.R + peg.R - std::hypot(drop.X - peg.X, drop.Y - peg.Y));
    return deepest;
}

TEST(PegFieldOverTime, AHundredDropsForAHundredThousandFrames) {
    TRandomSource random{};
    SeedRandom(random, 11);  // a field where drops do get deep into pegs
    SetUpPegField(Right, Bottom, random);
    for (int i = 0; i < DropCapacity; i++) {
        HandlePegPress(1, Right, random);
        HandlePegPress(0, Right, random);
    }
    ASSERT_EQ(DropCount, 100);
    std::array<int32_t, DropCapacity> framesDeep{};
    int32_t longestDeep = 0;
    double fastest = 0;
    int64_t contacts = 0;
    for (int32_t frame = 0; frame < LongRun(100000); frame++) {
        BurstCounter = 0;
        RunPegSubSteps(Right, Bottom, random, false);
        contacts += BurstCounter > 0;
        for (int32_t k = 0; k < DropCount; k++) {
            const TDrop& drop = Drops[k];
            ASSERT_TRUE(std::isfinite(drop.X) && std::isfinite(drop.Y) && std::isfinite(drop.VX) &&
                        std::isfinite(drop.VY))
                << "drop " << k << " in frame " << frame;
            fastest = std::max(fastest, std::hypot(drop.VX, drop.VY));
            framesDeep[k] = DeepestOverlap(drop) > 3 ? framesDeep[k] + 1 : 0;
            longestDeep = std::max(longestDeep, framesDeep[k]);
        }
    }
    // A fall through the whole window reaches 0.25 px per sub-step.
    EXPECT_LT(fastest, 0.3);
    EXPECT_LT(longestDeep, 100);
    EXPECT_GT(contacts, 1000);  // the drops did meet the pegs
}

}  // namespace
