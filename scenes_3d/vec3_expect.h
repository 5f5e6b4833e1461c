// A vector compared component by component in tests.
#pragma once

#include <gtest/gtest.h>

#include "vec3.h"

inline void ExpectVec(const TVec3& v, double x, double y, double z, double tolerance = 1e-12) {
    EXPECT_NEAR(v.X, x, tolerance);
    EXPECT_NEAR(v.Y, y, tolerance);
    EXPECT_NEAR(v.Z, z, tolerance);
}
