// What the keys and the mouse do to the polygon bodies.
#pragma once

#include <cstdint>

#include "random_source.h"

// Acts on a key code: "a" adds a body of the next side count (not at 50
// bodies), "f", "g", "r", "s" and "v" change drag, gravity, restitution,
// slip and the rest threshold. Every other code does nothing.
void ApplyPolyKey(uint8_t key, TRandomSource& random);

// The pointer in window pixels (negative left of or above the window) and the
// button word: the left or right button alone pulls the nearest body (the
// right one also stops its spin), any other non-zero word pulls all.
void PullBodies(int32_t mouseX, int32_t mouseY, uint16_t buttons);
