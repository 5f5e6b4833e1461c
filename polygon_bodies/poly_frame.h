// The frame loop, drawing and program body of polygon_impact.
#pragma once

#include <cstdint>

#include "key_codes.h"

extern int16_t FramePage;    // 0 or 1
extern uint8_t PolyLastKey;  // the key code read this frame, 0 when none

constexpr char PolyImpactCaption[] = "IMPACT";
// Never seeded from the clock: every run starts from the same jitter.
constexpr uint32_t PolyFixedSeed = 1;

// Clears the draw page and fills every body in its colour, outlined in the
// drawing colour.
void DrawPolyBodies();
// The mouse pull and one key.
void HandleInput();
// One frame: input, motion, drawing, collisions, page flip. Returns the key
// code read.
uint8_t RunPolyFrame();
// Frames until one has read Esc, paced to 60 a second.
void RunSimulation();
// The program: 1 when the window does not open.
int PolyBodiesMain();
