#include "throw_3d.h"

TVec3 BallPos{}, BallPrevPos{}, BallVel{}, ThrowGravity{0, -9.8, 0};
double ThrowTimeStep3D = 0.01;
double BallRadius = 5.0;
std::array<TVec3, 8> CubeCorners{{{-50, -50, -50},
                                  {50, -50, -50},
                                  {50, 50, -50},
                                  {-50, 50, -50},
                                  {-50, -50, 50},
                                  {50, -50, 50},
                                  {50, 50, 50},
                                  {-50, 50, 50}}};

void ThrowBall3D(TRandomSource& random) {
    const int32_t r1 = RandomBelow(random, 10);
    const int32_t r2 = RandomBelow(random, 10);
    const int32_t r3 = RandomBelow(random, 10);
    BallVel = {double(10 - r1), double(10 - r2), double(10 - r3)};
    ThrowGravity = {0, -9.8, 0};
    BallPos = {0, 0, 0};
    BallRadius = 5;
    ThrowTimeStep3D = 0.01;
}

void StepThrownBall() {
    const double dt = ThrowTimeStep3D;
    TVec3 change;
    VecScale(change, ThrowGravity, dt);
    VecAdd(BallVel, BallVel, change);
    BallPrevPos = BallPos;
    VecScale(change, BallVel, dt);
    VecAdd(BallPos, BallPos, change);
    VecScale(change, ThrowGravity, static_cast<double>((long double)dt * dt / 2));
    VecAdd(BallPos, BallPos, change);
    const double limit = 50 - BallRadius;
    double* position[3] = {&BallPos.X, &BallPos.Y, &BallPos.Z};
    double* velocity[3] = {&BallVel.X, &BallVel.Y, &BallVel.Z};
    for (int axis = 0; axis < 3; axis++) {
        if (*position[axis] < -limit || *position[axis] > limit) {
            *velocity[axis] = static_cast<double>(-0.99L * *velocity[axis]);
            BallPos = BallPrevPos;
        }
    }
}
