// The X11 side of the graphics window: the screen query at start-up, the
// window thread with its own X connection, the window and its message loop
// (X events become the window procedure's messages), and the image through
// which the shown page reaches the screen (MIT-SHM, plain XPutImage without it).
#pragma once

#include <X11/Xlib.h>

#include <atomic>
#include <cstdint>

#include "screen_image.h"

// The frame a window manager puts around a framed window, as the layout
// counts it: outer = client + 2 x side frame across, client + 2 x frame +
// caption down. Chosen so that a 1280 x 1024 client does not fit a 1280 x 1024
// screen framed but 1024 x 768 does.
constexpr int32_t DialogFrameWidth = 3;
constexpr int32_t DialogFrameHeight = 3;
constexpr int32_t CaptionHeight = 22;

// The graph window's X id, for other connections of the process (the OpenGL
// surface). Valid while WindowReady.
extern Window GraphXWindow;

// Presents completed by the window thread since the process started.
extern std::atomic<uint32_t> PresentCount;

// The window thread's image of the client area.
extern TScreenImage ScreenImage;

// ---- Program thread ---------------------------------------------------------

// XOpenDisplay($DISPLAY) for every connection of the process; rides out the
// moment a resetting server refuses connections. nullptr without a server.
Display* OpenXConnection();

// Size and bits per pixel of the default screen through a short-lived
// connection; false (values untouched) when no X display can be reached.
bool QueryScreen(int32_t& width, int32_t& height, uint8_t& bitsPerPixel);

// Starts the window thread, which creates the window from the layout variables
// and raises WindowReady from the create message, or sets -4 and ends.
bool StartWindowThread(const char* caption);
// Waits for the window thread to end and releases what the start took.
void JoinWindowThread();
// The close request: the window thread dispatches MsgUser, which destroys the
// window and ends its loop.
void PostUserMessage();
// Maps the window, raises it and gives it the input focus; true once the
// server reports both, false when that takes longer than timeoutMs.
bool ShowGraphWindow(int timeoutMs);

// ---- Window thread (from the window procedure) --------------------------------

void GetClientSize(int32_t& width, int32_t& height);
// Takes the pending update rectangle (clipped to the client); false when
// nothing is to be painted.
bool TakeUpdateRect(TClientRect& rect);
// Hands that rectangle of ScreenImage to the server for the window; it may not
// be written again before FinishScreenPuts.
void PutScreenRect(const TClientRect& rect);
// Waits until the server has every put rectangle and counts the present.
void FinishScreenPuts();
// Dispatches MsgDestroy, then destroys the X window.
void DestroyGraphWindow();
// Ends the message loop once the current message is handled.
void PostQuitRequest(uint16_t code);
