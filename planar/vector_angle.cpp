#include "vector_angle.h"

#include <cmath>
#include <numbers>

#include "extended_ops.h"

double VectorAngle(double dx, double dy) {
    constexpr long double pi = std::numbers::pi_v<long double>;
    if (dx == 0) return Rounded(dy > 0 ? pi / 2 : 3 * pi / 2);
    long double slope = std::atan(static_cast<long double>(dy) / dx);
    // NaN falls through to here and stays NaN.
    return Rounded(dx > 0 ? slope : pi + slope);
}
