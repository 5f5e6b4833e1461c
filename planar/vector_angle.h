// The direction angle of a vector, shared by the mirror programs and the rack.
#pragma once

// Radians, computed in extended precision: dx = 0 gives pi/2 for dy > 0 and
// 3 pi/2 otherwise (the zero vector too); dx > 0 gives atan(dy/dx), dx < 0
// pi + atan(dy/dx). With y pointing down the angle grows clockwise on screen.
double VectorAngle(double dx, double dy);
