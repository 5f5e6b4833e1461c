// Every scene under every combination of the four solver switches for a
// simulated minute: nothing becomes NaN or infinite, and nothing leaves a
// box of 1 km around the origin.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "scene_run.h"

namespace {

bool BodiesFiniteAndNear(int32_t& offender) {
    for (int32_t i = 1; i <= WorldBodyCount; i++) {
        const TWorldBody& b = WorldBodies[i];
        double values[] = {b.Position.X, b.Position.Y, b.Velocity.X,
                           b.Velocity.Y, b.Angle,      b.AngularVelocity};
        bool finite = std::all_of(std::begin(values), std::end(values),
                                  [](double v) { return std::isfinite(v); });
        if (!finite || std::fabs(b.Position.X) > 500 || std::fabs(b.Position.Y) > 500) {
            offender = i;
            return false;
        }
    }
    return true;
}

// A seed whose first draw gives the cradle bobs n vertices.
uint32_t SeedForCradleShape(int32_t n) {
    for (uint32_t seed = 0;; seed++) {
        TRandomSource random;
        SeedRandom(random, seed);
        if (RandomBelow(random, 9) + 1 == n) return seed;
    }
}

}  // namespace

TEST(SceneStability, FiniteAndNearUnderEverySwitchCombination) {
    for (int32_t scene = 1; scene <= SceneCount; scene++) {
        for (int32_t combination = 0; combination < 16; combination++) {
            TSwitches s = {(combination & 1) != 0, (combination & 2) != 0, (combination & 4) != 0,
                           (combination & 8) != 0};
            // The cradle goes through all nine bob shapes, circles and segments
            // among them.
            uint32_t seed =
                scene == 11 ? SeedForCradleShape(combination % 9 + 1) : 100 + combination;
            StartScene(scene, s, seed);
            int32_t offender = 0;
            int32_t k = 0;
            for (; k < 60 * StepsPerSecond; k++) {
                StepWorld(StepDuration);
                if (!BodiesFiniteAndNear(offender)) break;
            }
            EXPECT_EQ(offender, 0) << "scene " << scene << ", switches " << combination << ", body "
                                   << offender << " at step " << k;
        }
    }
}
