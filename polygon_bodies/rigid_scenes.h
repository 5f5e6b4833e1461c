// box_scenarios: five scenarios of boxes and polygons on a fixed floor, one
// picked at random for each run; the mouse drags a body, Enter starts a new
// run, Esc ends.
#pragma once

#include <cstdint>

#include "random_source.h"
#include "rigid_scenarios.h"

constexpr const char* RigidScenesCaption = "INTERACTIUNEA CORPURILOR RIGIDE";
constexpr uint16_t RigidScenesPauseMs = 10;

extern int32_t ScenarioNumber;
extern int32_t SelectedBody;  // -1: none picked yet in this run
extern int16_t FramePage;
// The previous frame's mouse; kept across runs.
extern int32_t PreviousMouseX, PreviousMouseY;
extern uint16_t PreviousButtons;

// A new run: cleared table, engine constants, nothing picked, a random
// scenario.
void StartRigidScenario(TRandomSource& random, double rightEdge, double bottomEdge);
// The frame's mouse reading: a new press picks the nearest centre within the
// square root of 1000 pixels (else the earlier pick stays), and the picked
// body takes the pointer's motion as its velocity.
void DragRigidBody(int32_t x, int32_t y, uint16_t buttons);

// One frame in the window; the key code read, 0 when none.
uint8_t RunRigidScenesFrame();
int RigidScenesMain();
