// Two-dimensional vectors and 2x2 matrices of the impulse simulator. Values
// that are kept, in records and in named vectors alike, are doubles; the
// arithmetic that produces each of them runs in long double and is rounded
// once, when the value is kept.
#pragma once

#include <cmath>
#include <cstdint>

#include "huge_real.h"
#include "min_max.h"
#include "random_source.h"

struct TVec2 {
    double X, Y;
};

// Row order. A rotation by a is (cos a, -sin a, sin a, cos a): it takes a
// body-frame vector to the world frame.
struct TMat22 {
    double M11, M12, M21, M22;
};

// A vector that only passes from one formula to the next, so it stays in
// extended precision.
struct TVecL {
    long double X, Y;
};

// Dot and cross products of any two vectors, stored or intermediate.
template <class A, class B>
inline long double Dot(const A& a, const B& b) {
    return static_cast<long double>(a.X) * b.X + static_cast<long double>(a.Y) * b.Y;
}

template <class A, class B>
inline long double Cross(const A& a, const B& b) {
    return static_cast<long double>(a.X) * b.Y - static_cast<long double>(a.Y) * b.X;
}

inline TVec2 Add(const TVec2& a, const TVec2& b) {
    return {static_cast<double>(static_cast<long double>(a.X) + b.X),
            static_cast<double>(static_cast<long double>(a.Y) + b.Y)};
}

inline TVec2 Sub(const TVec2& a, const TVec2& b) {
    return {static_cast<double>(static_cast<long double>(a.X) - b.X),
            static_cast<double>(static_cast<long double>(a.Y) - b.Y)};
}

inline TVec2 Scale(long double s, const TVec2& a) {
    return {static_cast<double>(s * a.X), static_cast<double>(s * a.Y)};
}

// a + s b, rounded once.
inline TVec2 AddScaled(const TVec2& a, long double s, const TVec2& b) {
    return {static_cast<double>(a.X + s * b.X), static_cast<double>(a.Y + s * b.Y)};
}

// The operator-character routine of the simulator. Both outputs start at zero
// and only the one the operation names changes.
inline void VecOp(const TVec2& a, const TVec2& b, char op, double s, TVec2& v, double& r) {
    v = {0, 0};
    r = 0;
    switch (op) {
        case '+': v = Add(a, b); break;
        case '-': v = Sub(a, b); break;
        case '*':
            if (s == 0)
                r = static_cast<double>(Dot(a, b));
            else
                v = Scale(s, a);
            break;
        case 'x':
            if (s == 0)
                r = static_cast<double>(Cross(a, b));
            else
                v = {static_cast<double>(static_cast<long double>(s) * a.Y),
                     static_cast<double>(-static_cast<long double>(s) * a.X)};
            break;
        case 'N':
            // Huge components would overflow the squares; a zero vector gets a
            // direction of HugeReal so that no division by zero happens.
            if (std::fabs(a.X) < HugeReal && std::fabs(a.Y) < HugeReal) {
                long double length = std::sqrt(static_cast<long double>(a.X) * a.X +
                                               static_cast<long double>(a.Y) * a.Y);
                r = static_cast<double>(length);
                if (length == 0)
                    v = {HugeRealStored, HugeRealStored};
                else
                    v = {static_cast<double>(a.X / length), static_cast<double>(a.Y / length)};
            }
            break;
        default: break;
    }
}

// The unit vector of a, as VecOp 'N' gives it.
inline TVec2 Normalized(const TVec2& a) {
    TVec2 v;
    double r;
    VecOp(a, a, 'N', 0, v, r);
    return v;
}

inline TMat22 Rotation(double angle) {
    long double c = std::cos(static_cast<long double>(angle));
    long double s = std::sin(static_cast<long double>(angle));
    return {static_cast<double>(c), static_cast<double>(-s), static_cast<double>(s),
            static_cast<double>(c)};
}

// 'A' rotation by s, '+' sum, 'I' inverse (a zero determinant scales the
// adjugate by HugeReal instead of dividing by zero).
inline void MatOp(const TMat22& a, const TMat22& b, char op, double s, TMat22& m) {
    m = {0, 0, 0, 0};
    switch (op) {
        case 'A': m = Rotation(s); break;
        case '+':
            m = {static_cast<double>(static_cast<long double>(a.M11) + b.M11),
                 static_cast<double>(static_cast<long double>(a.M12) + b.M12),
                 static_cast<double>(static_cast<long double>(a.M21) + b.M21),
                 static_cast<double>(static_cast<long double>(a.M22) + b.M22)};
            break;
        case 'I': {
            long double det =
                static_cast<long double>(a.M11) * a.M22 - static_cast<long double>(a.M12) * a.M21;
            long double d = det == 0 ? HugeReal : 1 / det;
            m = {static_cast<double>(a.M22 * d), static_cast<double>(-a.M12 * d),
                 static_cast<double>(-a.M21 * d), static_cast<double>(a.M11 * d)};
            break;
        }
        default: break;
    }
}

// M v.
inline TVec2 MulMat(const TMat22& m, const TVec2& v) {
    return {static_cast<double>(static_cast<long double>(m.M11) * v.X +
                                static_cast<long double>(m.M12) * v.Y),
            static_cast<double>(static_cast<long double>(m.M21) * v.X +
                                static_cast<long double>(m.M22) * v.Y)};
}

// transpose(M) v: for a rotation, from the world frame back to the body frame.
inline TVec2 MulMatT(const TMat22& m, const TVec2& v) {
    return {static_cast<double>(static_cast<long double>(m.M11) * v.X +
                                static_cast<long double>(m.M21) * v.Y),
            static_cast<double>(static_cast<long double>(m.M12) * v.X +
                                static_cast<long double>(m.M22) * v.Y)};
}

// '*' gives M v, 'x' transpose(M) v.
inline void MatVec(const TVec2& v, const TMat22& m, char op, TVec2& w) {
    w = op == 'x' ? MulMatT(m, v) : MulMat(m, v);
}

inline double SignOf(double x) { return x < 0 ? -1.0 : (x > 0 ? 1.0 : 0.0); }

inline double ClampReal(double x, double lo, double hi) { return MaxOf(lo, MinOf(x, hi)); }

// a + (b - a) k / 1000 with k uniform in 0..999: b itself is never reached.
inline double RandomBetween(double a, double b, TRandomSource& random) {
    long double k = RandomBelow(random, 1000);
    return static_cast<double>(a + (static_cast<long double>(b) - a) * k / 1000);
}
