// The program's scene over 20,000 frames, left alone or shot at every 200
// frames: the pile stays whole, inside the box and slow, and its axes stay
// unit length though nothing re-orthonormalises them.
#include "cube_run.h"

#include <gtest/gtest.h>

#include <cmath>

#include "test_support/long_runs.h"

namespace {

constexpr int32_t RunFrames = LongRun(20000);
constexpr int32_t RestFrom = 18000;

struct TRunWorst {
    double Speed = 0;           // of cubes 0-28, any frame
    double RestingSpeed = 0;    // of cubes 0-28, from frame RestFrom on
    double LengthError = 0;     // of the axes of all cubes, any frame
    double SquarenessError = 0; // between the axes of all cubes, any frame
    int32_t FirstBadFrame = 0;  // a NaN, or cubes 0-28 off the box
};

bool Finite(const TVec3& v) { return std::isfinite(v.X) && std::isfinite(v.Y) && std::isfinite(v.Z); }

bool InsideBox(const TVec3& p) {
    return p.X > BoxMin.X && p.X < BoxMax.X && p.Y > BoxMin.Y && p.Y < BoxMax.Y && p.Z > BoxMin.Z &&
           p.Z < BoxMax.Z;
}

void MeasureAxes(const TMat3& axis, TRunWorst& worst) {
    for (int32_t k = 0; k < 3; k++)
        for (int32_t l = k; l < 3; l++) {
            const double dot = VecDot(axis.Rows[k], axis.Rows[l]);
            if (k == l)
                worst.LengthError = std::fmax(worst.LengthError, std::fabs(dot - 1));
            else
                worst.SquarenessError = std::fmax(worst.SquarenessError, std::fabs(dot));
        }
}

TRunWorst RunScene(bool shots) {
    InitCubes();
    TRunWorst worst;
    for (int32_t frame = 1; frame <= RunFrames; frame++) {
        StepCubes();
        if (shots && frame % ShotEveryFrames == 0) ShootIntoPile();
        for (int32_t i = 0; i < CubeCount; i++) {
            const TCube& cube = Cubes[i];
            bool bad = !Finite(cube.Pos) || !Finite(cube.Vel) || !Finite(cube.Omega);
            MeasureAxes(cube.Axis, worst);
            if (i < ShotCube) {
                bad = bad || !InsideBox(cube.Pos);
                const double speed = VecLength(cube.Vel);
                worst.Speed = std::fmax(worst.Speed, speed);
                if (frame >= RestFrom) worst.RestingSpeed = std::fmax(worst.RestingSpeed, speed);
            }
            if (bad && worst.FirstBadFrame == 0) worst.FirstBadFrame = frame;
        }
    }
    return worst;
}

// Turns keep lengths to rounding. Squareness suffers more: an axis within
// 1e-7 of parallel (by the cosine) to the spin is left unturned while the
// other two turn, which skews them by up to |Omega| * 4.5e-4 in that frame.
constexpr double LengthTolerance = 1e-9;
constexpr double SquarenessTolerance = 1e-5;

TEST(CubeRun, LeftAloneThePileSettles) {
    const TRunWorst worst = RunScene(false);
    EXPECT_EQ(worst.FirstBadFrame, 0);
    EXPECT_LT(worst.Speed, 2.0);
    EXPECT_LT(worst.LengthError, LengthTolerance);
    EXPECT_LT(worst.SquarenessError, SquarenessTolerance);
    if (ShortenedRuns) return;  // the pile settles only in the whole run
    EXPECT_LT(worst.RestingSpeed, 0.05);
    // Everything ends on the floor or on other cubes, the bottom layer no
    // deeper in the floor than the springs' give.
    for (int32_t i = 0; i < ShotCube; i++) EXPECT_LT(Cubes[i].Pos.Y, 122.1) << i;
}

TEST(CubeRun, ShotsIntoThePileDoNotBreakIt) {
    const TRunWorst worst = RunScene(true);
    EXPECT_EQ(worst.FirstBadFrame, 0);
    EXPECT_LT(worst.Speed, 2.0);
    EXPECT_LT(worst.LengthError, LengthTolerance);
    EXPECT_LT(worst.SquarenessError, SquarenessTolerance);
}

}  // namespace
