// What the X files of the platform layer share: the window thread's
// connection and window, the requests of the program thread, and the steps
// each file provides to the others.
#pragma once

#include <X11/Xlib.h>

#include <atomic>
#include <cstdint>

#include "platform/x11_window.h"

namespace XPlatform {

// Window thread only, apart from what the comments say.
extern Display* WindowDisplay;
extern int32_t ClientWidth, ClientHeight;
extern Atom WmProtocols, WmDeleteWindow;
extern bool QuitPosted;
extern uint16_t QuitCode;
extern TWindowProc WindowProc;  // set before the thread starts

// The error handler runs on whichever thread's connection failed: it compares
// against this copy of WindowDisplay and records for the window thread, which
// reads the code after an XSync.
extern std::atomic<Display*> WatchedDisplay;
extern std::atomic<int> WindowXError;

// Shared with the program thread. The eventfd lives from StartWindowThread to
// JoinWindowThread, both on the program thread.
extern int WakeFd;
extern std::atomic<bool> UserMessagePosted, ShowPosted;
// Set by the window thread once the shown window is mapped and has the focus.
extern std::atomic<bool> WindowMapped, WindowFocused;

// Connection (x11_connection.cpp).
void InitXlibOnce();

// Events and the message loop (x11_events.cpp).
void Wake();
uint32_t Dispatch(uint32_t message, uint32_t wParam, uint32_t lParam);
void ForgetPaintRequests();
// Requests of the program thread, X events and the paint of the merged update
// rectangle (at most one per wake-up), until the quit request. Returns the
// quit request's code.
uint16_t RunMessageLoop();

// The image (x11_image.cpp): made for the window's visual, released before
// the window.
bool CreateScreenImage(Visual* visual, int depth);
void ReleaseScreenImage();

}  // namespace XPlatform
