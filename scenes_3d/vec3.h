// The vector of the three-dimensional programs and the eight routines they
// share. Out comes first; operands follow in the formula's order. Out may be
// one of the inputs: inputs are copied before Out is written. Arithmetic is
// in extended precision, each stored component rounded to double.
#pragma once

struct TVec3 {
    double X, Y, Z;
};

void VecScale(TVec3& out, const TVec3& v, double s);
void VecAdd(TVec3& out, const TVec3& a, const TVec3& b);
void VecSub(TVec3& out, const TVec3& a, const TVec3& b);
// a x b
void VecCross(TVec3& out, const TVec3& a, const TVec3& b);
void VecSet(TVec3& out, double x, double y, double z);
double VecDot(const TVec3& a, const TVec3& b);
double VecLength(const TVec3& v);
// Divides by the length; a vector of length exactly 0 is left as it is.
void VecNormalize(TVec3& v);
