// box_balls_wire: the box as wire rectangles and the balls as wire spheres
// through the software view, seen by the free-fly camera on two flipped
// pages; a column of 40 balls thrown up.
#pragma once

#include <cstdint>

extern int16_t FramePage;

// Camera, switches, tables and the column.
void BeginBoxBallsWire();
void DrawBoxSceneWire();
// Held keys, mouse turn, pages, drawing, step, key, click; returns the key.
uint8_t RunBoxBallsWireFrame();
// The program: window, scene, frames; the exit status.
int BoxBallsWireMain();
