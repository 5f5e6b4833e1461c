// Extended precision for the simulations: they keep doubles and compute every
// intermediate in long double (80-bit on x86), rounding once where a value is
// kept. Rounded is that rounding for plain expressions.
//
// The rest is arithmetic on stored doubles for hot loops, one x87 instruction
// each. Left to itself the compiler loads doubles early, keeps them and the
// intermediates in the eight x87 registers and spills the overflow as 80-bit
// values, which costs several times the
// arithmetic. These read a double right where it is used and store a result
// right where it is kept, so that only true intermediates live in registers.
// Each is exactly the plain expression named beside it: the same operation,
// rounded to extended precision, so results do not change.
#pragma once

// A value as it is kept: every stored result is a double.
inline double Rounded(long double x) { return static_cast<double>(x); }

#if defined(__i386__) || defined(__x86_64__)

// static_cast<long double>(x)
inline long double Ext(const double& x) {
    long double r;
    asm("fldl %1" : "=t"(r) : "m"(x));
    return r;
}

// a + b
inline long double ExtAdd(long double a, const double& b) {
    asm("faddl %1" : "+t"(a) : "m"(b));
    return a;
}

// a - b
inline long double ExtSub(long double a, const double& b) {
    asm("fsubl %1" : "+t"(a) : "m"(b));
    return a;
}

// b - a
inline long double ExtSubFrom(long double a, const double& b) {
    asm("fsubrl %1" : "+t"(a) : "m"(b));
    return a;
}

// a * b
inline long double ExtMul(long double a, const double& b) {
    asm("fmull %1" : "+t"(a) : "m"(b));
    return a;
}

// to = static_cast<double>(x)
inline void StoreRounded(double& to, long double x) { asm("fstpl %0" : "=m"(to) : "t"(x) : "st"); }

#else

inline long double Ext(const double& x) { return x; }
inline long double ExtAdd(long double a, const double& b) { return a + b; }
inline long double ExtSub(long double a, const double& b) { return a - b; }
inline long double ExtSubFrom(long double a, const double& b) { return b - a; }
inline long double ExtMul(long double a, const double& b) { return a * b; }
inline void StoreRounded(double& to, long double x) { to = static_cast<double>(x); }

#endif

// to = static_cast<double>(x), and the value kept.
inline long double KeptIn(double& to, long double x) {
    StoreRounded(to, x);
    return Ext(to);
}

// static_cast<long double>(static_cast<double>(x))
inline long double Kept(long double x) {
    double kept;
    return KeptIn(kept, x);
}
