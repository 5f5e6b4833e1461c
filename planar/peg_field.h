// Drops falling under a weak gravity through a field of round pegs, mirrored
// off the first peg they overlap. Runs headless: the window's edges and the
// random source come in.
#pragma once

#include <array>
#include <cstdint>

#include "random_source.h"

constexpr int32_t PegCount = 50;
constexpr int32_t DropCapacity = 100;
constexpr int32_t SubSteps = 31;
constexpr int32_t BurstFrames = 30;

struct TPeg {
    double X, Y, R;
};

struct TDrop {
    double X, Y, VX, VY, AX, AY, R;  // pixels, per sub-step, per sub-step squared
};

extern std::array<TPeg, PegCount> Pegs;
extern std::array<TDrop, DropCapacity> Drops;
extern int32_t DropCount;        // drops 0..DropCount-1 move and are drawn
extern int32_t BurstCounter;     // radius and frames left of the contact burst
extern double BurstX, BurstY;    // the newest contact
extern uint16_t PegPreviousButtons;

// Places the pegs (they may overlap and lie below the window), prepares all
// drops at the top and empties the field.
void SetUpPegField(int32_t rightEdge, int32_t bottomEdge, TRandomSource& random);

// The first peg the drop overlaps, -1 when none.
int32_t FirstOverlappingPeg(const TDrop& drop);

// The drop's contact with the first peg it overlaps, if it moves towards that
// peg's centre: its velocity mirrored about the surface tangent. True when it
// was; angle is then the direction from the peg's centre to the drop.
bool BounceDropOffPeg(TDrop& drop, double& angle);

// SubSteps sub-steps of drops 0..DropCount-1: contact, move, restart below the
// window. With drawArrows each contact draws its arrow in the current colour.
void RunPegSubSteps(int32_t rightEdge, int32_t bottomEdge, TRandomSource& random, bool drawArrows);

// A left press (a word of exactly 1 that differs from last frame's) adds drop
// DropCount at a random place on the top edge while there is room.
void HandlePegPress(uint16_t buttons, int32_t rightEdge, TRandomSource& random);

// One frame of the program against its window, all but the pause that ends it.
void RunPegFrame();
int PegParticlesMain();
