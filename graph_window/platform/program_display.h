// The program thread's own connection to the X server, for the OpenGL window
// context and the held-key query. Xlib connections are not shared between
// threads here: the window thread has its own.
#pragma once

#include <X11/Xlib.h>

// Opened on first use; nullptr when no X server can be reached (asked again on
// the next call). Program thread only.
Display* ProgramDisplay();
// Closed when the window closes; the next use opens a new one.
void CloseProgramDisplay();
