// The frame and program body of projectile_3d.
#pragma once

#include <cstdint>

// The camera and the throw as at the start.
void BeginProjectile3D(uint32_t seed);
// The frame's turn: a half turn in the first frame, then the right drag
// alone (button word exactly 2) by the pointer's move, 256 pixels a radian.
void TurnProjectileCamera(int32_t x, int32_t y, uint16_t buttons);
// One frame; true when Esc is held at its end.
bool RunProjectile3DFrame();
int Projectile3DMain();
