// The frames and program bodies of terrain_balls_wire and terrain_balls_gl.
#pragma once

#include <cstdint>

// The orbit camera of terrain_balls_gl.
struct TTerrainOrbit {
    double Yaw, Pitch, Dist;  // degrees, degrees, units
    int16_t Fov;              // degrees
    double Aspect;
};
extern TTerrainOrbit TerrainOrbit;
extern int16_t TerrainPrevMouseX, TerrainPrevMouseY;

// The scene and camera of each program as at its start.
void BeginTerrainWire();
void BeginTerrainGl();
// Frees the spheres' lists (the window's context still current).
void EndTerrainGl();
// The gl program's held keys and right drag; Up never takes the distance to
// 0 or below, where nothing would be drawn. The pointer keeps 16 bits.
void SteerTerrainOrbit(bool up, bool down, bool left, bool right, int32_t x, int32_t y,
                       uint16_t buttons);

// The wire frame's grid, spheres and trails through the software view.
void DrawTerrainWire();

// One frame each; true when Esc is held at its end.
bool RunTerrainWireFrame();
bool RunTerrainGlFrame();
int TerrainBallsWireMain();
int TerrainBallsGlMain();
