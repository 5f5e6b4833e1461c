// The cube scene run headless by tests and benchmarks: the program's start,
// stepped as the program steps it, with a shot into the pile now and then.
#pragma once

#include "cube_program.h"

constexpr int32_t ShotEveryFrames = 200;
// Where the shot starts: on the start camera's near plane, in front of the
// eye at (0, 0, -360).
constexpr TVec3 ShotStart{0, 0, -358};

// Cube 29 launched from ShotStart at the middle of the other cubes.
inline void ShootIntoPile() {
    TVec3 middle{0, 0, 0};
    for (int32_t i = 0; i < ShotCube; i++) VecAdd(middle, middle, Cubes[i].Pos);
    VecScale(middle, middle, 1.0 / ShotCube);
    LaunchShotCube(ShotStart, middle);
}

// The ordered pairs whose centres are within ContactReach, and the cubes
// within WallReach of a wall: what a frame samples, 125 points each.
struct TSampledWork {
    int32_t Pairs = 0, WallCubes = 0;
};

inline TSampledWork SampledWork() {
    TSampledWork work;
    for (int32_t i = 0; i < CubeCount; i++) {
        for (int32_t j = 0; j < CubeCount; j++)
            if (j != i && CubesWithinReach(i, j)) work.Pairs++;
        if (i < ShotCube && NearAWall(Cubes[i].Pos)) work.WallCubes++;
    }
    return work;
}
