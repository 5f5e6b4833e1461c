// Each extended operation on a stored double must be exactly its plain
// expression: same operation, operands in the same roles, rounded the same.
#include "extended_ops.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "random_source.h"

namespace {

bool SameBits(long double a, long double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return a == b && std::signbit(a) == std::signbit(b);
}

// A double with a random 53-bit significand, sign and exponent in about
// 1e-8..1e8.
double RandomDouble(TRandomSource& random) {
    uint64_t bits = (static_cast<uint64_t>(RandomBelow(random, 1 << 30)) << 22) ^
                    static_cast<uint64_t>(RandomBelow(random, 1 << 22));
    double significand = 1 + std::ldexp(static_cast<double>(bits), -52);
    double x = std::ldexp(significand, RandomBelow(random, 54) - 27);
    return RandomBelow(random, 2) ? -x : x;
}

}  // namespace

TEST(ExtendedOps, ExactlyThePlainExpressions) {
    TRandomSource random;
    SeedRandom(random, 5);
    constexpr double inf = std::numeric_limits<double>::infinity();
    for (int32_t k = 0; k < 100000; k++) {
        double special[] = {0.0, -0.0, 1.0, inf, -inf, std::numeric_limits<double>::denorm_min()};
        double b = k < 36 ? special[k % 6] : RandomDouble(random);
        // An extended value that is no double: the product of two doubles.
        long double a = static_cast<long double>(k < 36 ? special[k / 6] : RandomDouble(random)) *
                        RandomDouble(random);
        ASSERT_TRUE(SameBits(Ext(b), static_cast<long double>(b)));
        ASSERT_TRUE(SameBits(ExtAdd(a, b), a + b)) << k;
        ASSERT_TRUE(SameBits(ExtSub(a, b), a - b)) << k;
        ASSERT_TRUE(SameBits(ExtSubFrom(a, b), b - a)) << k;
        ASSERT_TRUE(SameBits(ExtMul(a, b), a * b)) << k;
        double stored;
        StoreRounded(stored, a);
        ASSERT_EQ(std::bit_cast<uint64_t>(stored), std::bit_cast<uint64_t>(static_cast<double>(a)));
        ASSERT_TRUE(SameBits(Kept(a), static_cast<long double>(static_cast<double>(a))));
    }
}
