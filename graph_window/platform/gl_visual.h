// The X visual the window must be created with so that its OpenGL context can
// render to it.
#pragma once

#include <X11/Xlib.h>

// VisualID of the chosen configuration on this screen, or 0 when OpenGL is not
// available (the window then takes the screen's default visual).
VisualID GlWindowVisual(Display* display, int screen);
