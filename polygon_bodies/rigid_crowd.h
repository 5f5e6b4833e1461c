// polygon_drag: 101 random polygons fall into the window one after another;
// the left button drags and spins one, Esc ends.
#pragma once

#include <cstdint>

#include "random_source.h"
#include "rigid_scenarios.h"

constexpr const char* RigidCrowdCaption = "SIMULATOR FIZIC";
constexpr uint16_t RigidCrowdPauseMs = 10;

extern int32_t SelectedBody;  // -1 until the first pick
extern int32_t CrowdPickSize;  // pick diameter, pixels
extern int16_t FramePage;
extern int32_t PreviousMouseX, PreviousMouseY;
extern uint16_t PreviousButtons;

// Everything as at program start, and the column of 101 bodies over the
// window's middle, reaching far above it.
void StartCrowd(TRandomSource& random, double rightEdge, double bottomEdge);
// A new left press picks the nearest centre closer than half CrowdPickSize
// (else the earlier pick stays); while the left button is down the picked
// body takes the pointer's motion as its velocity and spins up. Other buttons
// do nothing. The previous reading is the caller's to keep.
void DragCrowdBody(int32_t x, int32_t y, uint16_t buttons);

// One frame in the window; the key code read, 0 when none.
uint8_t RunCrowdFrame();
int RigidCrowdMain();
