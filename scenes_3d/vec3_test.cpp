#include "vec3.h"

#include <gtest/gtest.h>

namespace {

void ExpectVec(const TVec3& v, double x, double y, double z) {
    EXPECT_EQ(v.X, x);
    EXPECT_EQ(v.Y, y);
    EXPECT_EQ(v.Z, z);
}

TEST(Vec3, LengthAndNormalisation) {
    TVec3 v{0, 3, 4};
    EXPECT_EQ(VecLength(v), 5);
    VecNormalize(v);
    ExpectVec(v, 0, 0.6, 0.8);
    TVec3 zero{0, 0, 0};
    VecNormalize(zero);
    ExpectVec(zero, 0, 0, 0);
    TVec3 tiny{1e-150, 0, 0};  // no tolerance: still made unit length
    VecNormalize(tiny);
    ExpectVec(tiny, 1, 0, 0);
}

TEST(Vec3, CrossOrderAndSelf) {
    TVec3 out{};
    const TVec3 x{1, 0, 0}, y{0, 1, 0};
    VecCross(out, x, y);
    ExpectVec(out, 0, 0, 1);
    VecCross(out, y, x);
    ExpectVec(out, 0, 0, -1);
    const TVec3 a{2, -3, 5};
    VecCross(out, a, a);
    ExpectVec(out, 0, 0, 0);
}

TEST(Vec3, OutMayBeAnInput) {
    const TVec3 b{0.5, -1, 2};
    TVec3 a{1, 2, 3};
    VecAdd(a, a, b);
    ExpectVec(a, 1.5, 1, 5);
    a = {1, 2, 3};
    VecSub(a, a, b);
    ExpectVec(a, 0.5, 3, 1);
    a = {1, 2, 3};
    VecScale(a, a, -1);
    ExpectVec(a, -1, -2, -3);
    VecScale(a, a, 0);
    EXPECT_EQ(VecLength(a), 0);
    a = {1, 2, 3};
    VecCross(a, a, b);  // (2*2 - 3*-1, 3*0.5 - 1*2, 1*-1 - 2*0.5)
    ExpectVec(a, 7, -0.5, -2);
    VecSet(a, 4, 5, 6);
    EXPECT_EQ(VecDot(a, b), 4 * 0.5 - 5 + 12);
}

}  // namespace
