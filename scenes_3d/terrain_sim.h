// Balls rolling and bouncing on a bumpy height field, shared by
// terrain_balls_gl and terrain_balls_wire: a 50 x 50 grid of heights
// cos(column) + sin(row) with a normal per cell, and twenty balls that meet
// by time of impact and leave trails. y is up; one unit is one grid spacing.
#pragma once

#include <array>
#include <cstdint>

#include "vec3.h"

struct THeightCell {
    double Height;
    TVec3 Normal;  // unit and upward; zero in row and column 49, never filled
};

constexpr int32_t HeightGridSize = 50;
extern std::array<std::array<THeightCell, HeightGridSize>, HeightGridSize> HeightGrid;

constexpr int32_t TrailLength = 16;
struct TTerrainBall {
    TVec3 Pos;
    TVec3 Vel;  // per second
    TVec3 Acc;
    double Radius;
    int32_t Colour;  // a palette index
    std::array<TVec3, TrailLength> Trail;  // [0] the latest, older above
};

constexpr int32_t TerrainBallCount = 20;
extern std::array<TTerrainBall, TerrainBallCount> TerrainBalls;

// What the two programs' simulations differ in: the step, and whether cell
// indices and the frame counter keep only 16 bits.
struct TTerrainVariant {
    double TimeStep;
    bool SixteenBit;
};
constexpr TTerrainVariant TerrainGlVariant{0.005, true};
constexpr TTerrainVariant TerrainWireVariant{0.02, false};

extern TTerrainVariant TerrainVariant;
extern int32_t FrameCount;
extern double TimeOfImpact;

double Lerp(double a, double b, double t);
// 0.0 outside rows and columns 0 to 49.
double GetHeight(int32_t row, int32_t column);
// Heights, then normals, of rows and columns 0 to 48.
void BuildHeightGrid();
// The ring of twenty balls at height 20, at rest, trails on their centres.
void PlaceTerrainBalls();
double TerrainHeightAt(double x, double z);
// The pair pass, then each ball's surface and motion.
void StepTerrainScene();
// Records the positions after the frame was drawn; shifts every fourth frame.
void AdvanceTrails();
