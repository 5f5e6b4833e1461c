#include "throw_2d.h"

#include <cmath>

TThrow2D Throw2D{};

namespace {

using TExt = long double;

}  // namespace

void SetUpThrow(TThrow2D& t) {
    t.T = 0;
    t.R = 20;
    t.Stage = 0;
    t.GX = 0;
    t.GY = 9.81;
}

void AimPress(TThrow2D& t, double x, double y) {
    if (t.Stage == 0) {
        t.PX = x;
        t.PY = y;
        t.Stage = 1;
    } else if (t.Stage == 1) {
        t.VX = static_cast<double>(TExt(x) - t.PX);
        t.VY = static_cast<double>(TExt(y) - t.PY);
        t.Stage = 2;
    }
}

void StepThrow(TThrow2D& t, double rightEdge, double bottomEdge) {
    t.QX = t.PX;
    t.QY = t.PY;
    const TExt time = t.T;
    t.VX = static_cast<double>(t.VX + time * t.GX);
    t.VY = static_cast<double>(t.VY + time * t.GY);
    t.PX = static_cast<double>(t.PX + time * t.VX + t.GX * time * time / 2);
    t.PY = static_cast<double>(t.PY + time * t.VY + t.GY * time * time / 2);
    t.T = static_cast<double>(time + ThrowTimeStep);
    if (t.PX >= rightEdge - t.R || t.PX <= t.R) {
        t.VX = static_cast<double>(-0.5L * t.VX);
        t.PX = t.QX;
    }
    if (t.PY >= bottomEdge - t.R || t.PY <= t.R) {
        t.VY = static_cast<double>(-0.5L * t.VY);
        t.PY = t.QY;
    }
    if (std::fabs(t.VX) < 0.1) t.VX = 0;
    if (std::fabs(t.VY) < 0.1) t.VY = 0;
}
