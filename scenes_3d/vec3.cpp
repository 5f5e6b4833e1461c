#include "vec3.h"

#include <cmath>

namespace {

using TExt = long double;

void Store(TVec3& out, TExt x, TExt y, TExt z) {
    out.X = static_cast<double>(x);
    out.Y = static_cast<double>(y);
    out.Z = static_cast<double>(z);
}

}  // namespace

void VecScale(TVec3& out, const TVec3& v, double s) {
    const TVec3 a = v;
    Store(out, TExt(a.X) * s, TExt(a.Y) * s, TExt(a.Z) * s);
}

void VecAdd(TVec3& out, const TVec3& a, const TVec3& b) {
    const TVec3 p = a, q = b;
    Store(out, TExt(p.X) + q.X, TExt(p.Y) + q.Y, TExt(p.Z) + q.Z);
}

void VecSub(TVec3& out, const TVec3& a, const TVec3& b) {
    const TVec3 p = a, q = b;
    Store(out, TExt(p.X) - q.X, TExt(p.Y) - q.Y, TExt(p.Z) - q.Z);
}

void VecCross(TVec3& out, const TVec3& a, const TVec3& b) {
    const TVec3 p = a, q = b;
    Store(out, TExt(p.Y) * q.Z - TExt(p.Z) * q.Y, TExt(p.Z) * q.X - TExt(p.X) * q.Z,
          TExt(p.X) * q.Y - TExt(p.Y) * q.X);
}

void VecSet(TVec3& out, double x, double y, double z) { out = {x, y, z}; }

double VecDot(const TVec3& a, const TVec3& b) {
    return static_cast<double>(TExt(a.X) * b.X + TExt(a.Y) * b.Y + TExt(a.Z) * b.Z);
}

double VecLength(const TVec3& v) {
    // The square root of the dot product as returned, rounded to double.
    return static_cast<double>(std::sqrt(TExt(VecDot(v, v))));
}

void VecNormalize(TVec3& v) {
    const double length = VecLength(v);
    if (length == 0) return;
    Store(v, TExt(v.X) / length, TExt(v.Y) / length, TExt(v.Z) / length);
}
