// The frames and program body of projectile_2d.
#pragma once

#include <cstdint>

// One aiming frame; true when the flight begins.
bool AimFrame();
// Waits until no button is held, or until a key waits.
void WaitButtonsReleased();
enum class TFlightEnd { Flying, NewThrow, EndProgram };
// One flight frame, pausing pauseMs (10 in the program) after drawing.
TFlightEnd FlightFrame(uint16_t pauseMs);
int Projectile2DMain();
