// The smaller and the larger of two reals. Equal arguments give b: the disc
// billiard programs depend on that, down to the sign of a zero.
#pragma once

inline double MinOf(double a, double b) { return a < b ? a : b; }
inline double MaxOf(double a, double b) { return a > b ? a : b; }
