// box_balls_gl: the box drawn with OpenGL, balls as shaded spheres, seen by
// an orbit camera; one of three random scenes.
#pragma once

#include <cstdint>

#include "random_source.h"

// Camera, switches, tables and the scene drawn from random.
void BeginBoxBallsGl(TRandomSource& random);
void DrawBoxSceneGL();
// Keys, held arrows, mouse, drawing, step, click, swap; returns the key.
uint8_t RunBoxBallsGlFrame();
// The program: window, scene, frames; the exit status.
int BoxBallsGLMain();
