// The frames of disc_billiard_flat and rack_billiard, drawn as circles on
// flipped pages. Each frame routine is one pass of the program's loop.
#pragma once

#include <cstdint>

#include "disc_billiard.h"

extern int16_t FlatPage;
extern int32_t RackPage;

// After the window opened: page 0, the random start of fifty discs.
void StartFlatBilliard(uint32_t seed);
// True when a key waits (the program then ends; the key stays unread).
bool RunFlatBilliardFrame();

// After the window opened: page 0 and the rack, coloured from the unseeded
// program source, so every run shows the same colours.
void StartRackBilliard();
// The key read this frame (0 for none); 27, Esc, ends the program.
uint8_t RunRackBilliardFrame();
