// 100,000 frames with 50 bodies while the keys walk every parameter through
// all the values it can reach, restitution 2 and slip near -0.9 without drag
// among them: every value stays a finite number and every centre stays in
// the box after each response.
#include <gtest/gtest.h>

#include <cmath>

#include "poly_bodies.h"
#include "poly_contacts.h"
#include "poly_controls.h"

namespace {

::testing::AssertionResult SoundBodies(int64_t frame) {
    for (int32_t i = 0; i < PolyBodyCount; i++) {
        const TPolyBody& b = PolyBodies[i];
        const double values[] = {b.X, b.Y, b.VelocityX, b.VelocityY, b.AngularVelocity, b.Angle};
        for (double v : values)
            if (!std::isfinite(v))
                return ::testing::AssertionFailure()
                       << "frame " << frame << ", body " << i << ": " << v;
        for (int32_t j = 0; j < b.Sides; j++)
            if (!std::isfinite(b.WorldX[j]) || !std::isfinite(b.WorldY[j]))
                return ::testing::AssertionFailure()
                       << "frame " << frame << ", body " << i << " vertex " << j;
        if (b.X < 0 || b.X > 40 || b.Y < 0 || b.Y > 30)
            return ::testing::AssertionFailure()
                   << "frame " << frame << ", body " << i << " at " << b.X << ", " << b.Y;
        if (std::fabs(b.VelocityX) > 1000 || std::fabs(b.VelocityY) > 1000 ||
            std::fabs(b.AngularVelocity) > 1000)
            return ::testing::AssertionFailure()
                   << "frame " << frame << ", body " << i << " too fast";
    }
    return ::testing::AssertionSuccess();
}

TEST(PolyOverTime, FiniteAndInTheBoxThroughEveryParameterSetting) {
    TRandomSource random;
    SeedRandom(random, 5);
    StartPolyBodies(random);
    PolyWindowWidth = 640;
    PolyWindowHeight = 480;
    UpdateCompounds();
    TransformVertices();
    ProjectToScreen();
    const char keys[] = "fgrsv";
    int32_t presses = 0;
    double fastest = 0;
    for (int64_t frame = 0; frame < 100000; frame++) {
        // A body every 200 frames up to 50, then a parameter key every 100
        // frames in turn: each key is pressed about 180 times, enough for
        // two full cycles of slip and threshold, sixteen of drag, and
        // restitution at 2 for most of the run.
        if (frame < 9000) {
            if (frame % 200 == 0) ApplyPolyKey('a', random);
        } else if (frame < 95000) {
            if (frame % 100 == 0) ApplyPolyKey(static_cast<uint8_t>(keys[presses++ % 5]), random);
        } else if (frame == 95000) {
            // The worst end: no drag, restitution 2, slip -0.89.
            while (PolyDrag != 0) ApplyPolyKey('f', random);
            while (PolySlip > -0.885) ApplyPolyKey('s', random);
        }
        MovePolyBodies();
        CollidePolyBodies();
        ASSERT_TRUE(SoundBodies(frame));
        for (int32_t i = 0; i < PolyBodyCount; i++)
            fastest = std::fmax(fastest, std::fabs(PolyBodies[i].VelocityX));
    }
    EXPECT_EQ(PolyBodyCount, 50);
    EXPECT_EQ(PolyRestitution, 2.0);
    // The energy fed in does reach the bound.
    EXPECT_EQ(fastest, 1000.0);
}

}  // namespace
