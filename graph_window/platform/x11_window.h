// The X side of the window system, for the platform layer's own files and for
// the tests that look at the window on the server.
#pragma once

#include <X11/Xlib.h>

#include "platform/window_system.h"

// The graph window's X id, for other connections of the process (the OpenGL
// surface, tests). Valid while the window exists.
namespace TavrelInternal {
extern Window GraphXWindow;
}  // namespace TavrelInternal
using namespace TavrelInternal;

// XOpenDisplay($DISPLAY) for every connection of the process; rides out the
// moment a resetting server refuses connections. nullptr without a server.
Display* OpenXConnection();
