// The frames and program bodies of two_ball_collision and particle_gas.
#pragma once

#include <cstdint>

#include "mass_balls.h"

// Red outline, white velocity line.
void DrawMassBall(const TMassBall& b);

// One frame of two_ball_collision, pausing pauseMs after the clear (50 in
// the program); returns the frame's key, 0 when none.
uint8_t TwoBallFrame(uint16_t pauseMs);
int TwoBallCollisionMain();

// One frame of particle_gas; true when a key waits, which ends it.
bool GasFrame();
int ParticleGasMain();
