#include "vec_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>
#include <utility>

// The HugeReal cases hold for each program's value.
TEST(VecOp, NormalizesAndGuardsZeroAndHugeVectors) {
    TVec2 v;
    double r;
    VecOp({3, -4}, {}, 'N', 0, v, r);
    EXPECT_DOUBLE_EQ(r, 5);
    EXPECT_DOUBLE_EQ(v.X, 0.6);
    EXPECT_DOUBLE_EQ(v.Y, -0.8);

    for (const auto& [huge, value] : {std::pair{FullHugeReal, 1e30}, std::pair{BasicHugeReal, 1e40}}) {
        UseHugeReal(huge);
        VecOp({0, 0}, {}, 'N', 0, v, r);
        EXPECT_EQ(r, 0);
        EXPECT_EQ(v.X, value);
        EXPECT_EQ(v.Y, value);

        // A component at HugeReal or beyond gives nothing, whichever it is.
        for (TVec2 big : {TVec2{value, 1}, TVec2{1, -value}, TVec2{INFINITY, 0}, TVec2{NAN, 0}}) {
            VecOp(big, {}, 'N', 0, v, r);
            EXPECT_EQ(r, 0) << value;
            EXPECT_EQ(v.X, 0) << value;
            EXPECT_EQ(v.Y, 0) << value;
        }
        VecOp({value / 2, 0}, {}, 'N', 0, v, r);
        EXPECT_DOUBLE_EQ(r, value / 2);
        EXPECT_DOUBLE_EQ(v.X, 1);
    }
    UseHugeReal(FullHugeReal);
}

TEST(VecOp, ScaleFactorZeroSelectsTheScalarProducts) {
    TVec2 v;
    double r;
    VecOp({1, 2}, {3, 4}, '*', 0, v, r);
    EXPECT_EQ(r, 11);
    EXPECT_EQ(v.X, 0);
    EXPECT_EQ(v.Y, 0);
    VecOp({1, 2}, {3, 4}, '*', 2, v, r);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(v.X, 2);
    EXPECT_EQ(v.Y, 4);
    VecOp({1, 2}, {3, 4}, 'x', 0, v, r);
    EXPECT_EQ(r, -2);
    VecOp({1, 2}, {3, 4}, 'x', 3, v, r);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(v.X, 6);
    EXPECT_EQ(v.Y, -3);
    VecOp({1, 2}, {3, 4}, '?', 1, v, r);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(v.X, 0);
    EXPECT_EQ(v.Y, 0);
}

TEST(MatOp, InverseRotationAndSingularMatrix) {
    TMat22 m;
    MatOp({2, 1, 1, 1}, {}, 'I', 0, m);
    EXPECT_DOUBLE_EQ(m.M11, 1);
    EXPECT_DOUBLE_EQ(m.M12, -1);
    EXPECT_DOUBLE_EQ(m.M21, -1);
    EXPECT_DOUBLE_EQ(m.M22, 2);

    // Singular: the adjugate times HugeReal.
    for (const auto& [huge, value] : {std::pair{FullHugeReal, 1e30}, std::pair{BasicHugeReal, 1e40}}) {
        UseHugeReal(huge);
        MatOp({1, 2, 2, 4}, {}, 'I', 0, m);
        EXPECT_DOUBLE_EQ(m.M11, 4 * value);
        EXPECT_DOUBLE_EQ(m.M12, -2 * value);
        EXPECT_DOUBLE_EQ(m.M21, -2 * value);
        EXPECT_DOUBLE_EQ(m.M22, value);
    }
    UseHugeReal(FullHugeReal);

    MatOp({}, {}, 'A', std::numbers::pi / 2, m);
    TVec2 w;
    MatVec({1, 0}, m, '*', w);  // body x axis turned a quarter: world y
    EXPECT_NEAR(w.X, 0, 1e-15);
    EXPECT_NEAR(w.Y, 1, 1e-15);
    MatVec(w, m, 'x', w);  // and back
    EXPECT_NEAR(w.X, 1, 1e-15);
    EXPECT_NEAR(w.Y, 0, 1e-15);
}

TEST(RealRoutines, EqualArgumentsGiveTheSecond) {
    EXPECT_TRUE(std::signbit(MinOf(0.0, -0.0)));
    EXPECT_FALSE(std::signbit(MinOf(-0.0, 0.0)));
    EXPECT_TRUE(std::signbit(MaxOf(0.0, -0.0)));
    // A NaN first argument loses every comparison.
    EXPECT_EQ(MinOf(NAN, 3), 3);
    EXPECT_EQ(MaxOf(NAN, 3), 3);
    EXPECT_EQ(ClampReal(5, -1, 1), 1);
    EXPECT_EQ(SignOf(-0.0), 0);
    EXPECT_EQ(SignOf(NAN), 0);
}

TEST(RandomSource, UniformRangeAndRepeatableSeeds) {
    TRandomSource random;
    SeedRandom(random, 1234);
    std::set<int32_t> seen;
    for (int i = 0; i < 2000; i++) {
        int32_t k = RandomBelow(random, 9);
        ASSERT_GE(k, 0);
        ASSERT_LT(k, 9);
        seen.insert(k);
    }
    EXPECT_EQ(seen.size(), 9u);
    EXPECT_EQ(RandomBelow(random, 0), 0);
    EXPECT_EQ(RandomBelow(random, -5), 0);
    EXPECT_EQ(RandomBelow(random, 1), 0);

    TRandomSource a, b;
    SeedRandom(a, 77);
    SeedRandom(b, 77);
    for (int i = 0; i < 10; i++) EXPECT_EQ(RandomBelow(a, 1000), RandomBelow(b, 1000));
    SeedRandom(b, 78);
    int same = 0;
    for (int i = 0; i < 10; i++) same += RandomBelow(a, 1000) == RandomBelow(b, 1000);
    EXPECT_LT(same, 3);
}

TEST(RandomSource, RandomBetweenStaysOnThousandthSteps) {
    TRandomSource random;
    SeedRandom(random, 5);
    double least = 1e9, most = -1e9;
    for (int i = 0; i < 20000; i++) {
        double x = RandomBetween(-15, 15, random);
        least = std::min(least, x);
        most = std::max(most, x);
        double k = (x + 15) / 30 * 1000;
        ASSERT_NEAR(k, std::round(k), 1e-9);
    }
    EXPECT_DOUBLE_EQ(least, -15);
    EXPECT_DOUBLE_EQ(most, -15 + 30 * 0.999);
}
