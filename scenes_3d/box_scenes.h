// The box and the starting balls of the two box-ball programs. The box spans
// x and z from -4L to 4L and y from 0 to 8L, L being the scene's unit.
#pragma once

#include <array>
#include <cstdint>

#include "box_balls.h"
#include "random_source.h"

constexpr double GlSceneScale = 150;
constexpr double WireSceneScale = 50;

enum class TBoxScene : uint8_t {
    BigBallUnderGrid,  // A: 65 balls
    RowHitByOne,       // B: 15 balls
    LeaningColumn,     // C: 70 balls
};

// Empty tables, gravity (0, -9.82, 0) and the variant's limits.
void ResetBoxBalls(const TBoxBallsVariant& variant);
// A when a draw in 0..9 is over 5, else B when a second one is, else C.
TBoxScene PickBoxScene(TRandomSource& random);
void AddSceneBalls(TBoxScene scene, double l);
// The 40 balls of the wire program, thrown up in a column.
void AddThrownColumn(double l);
// Floor, ceiling, z = -4L, z = 4L, x = 4L, x = -4L, normals inwards.
void AddBoxWalls(double l);

// Drawing of a wall: its corners Point - U - V, Point + U - V, Point + U + V,
// Point - U + V, and its normal line, 80 long from the centre (c1 + c3) / 2.
using TWallCorners = std::array<TVec3, 4>;
void BoxWallCorners(const TBoxWall& wall, TWallCorners& c);
void WallNormalLine(const TBoxWall& wall, const TWallCorners& c, TVec3& from, TVec3& to);
