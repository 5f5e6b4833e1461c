// The project's X test driver: a connection of its own to the X server that
// finds a top-level window by its caption, focuses it, sends key and pointer
// events through XTest, reads the window's pixels back and asks it to close;
// and a runner for programs as child processes.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

struct TXDriver {
    Display* Dpy = nullptr;
};

// How long a test waits for a positive signal: a window, pixels, a key's
// effect, a program's exit. A passing test returns as soon as the signal
// comes, so this only bounds a failure; it is long enough for a machine ten
// times slower than a loaded one running the sanitizer build.
constexpr int SignalWaitMs = 30000;

// Connects to $DISPLAY; false without a server or without XTest.
bool OpenXDriver(TXDriver& driver);
void CloseXDriver(TXDriver& driver);

// ---- Windows ------------------------------------------------------------------

// The top-level window whose WM_NAME is caption (also one level below the
// root's children, where a window manager's frame holds it); 0 when none
// shows up within the time.
Window FindWindowByCaption(TXDriver& driver, const char* caption, int timeoutMs);
// The captions of the top-level windows, quoted and separated by commas, for
// a failure message.
std::string TopLevelCaptions(TXDriver& driver);
// True once no top-level window has that caption any more.
bool WaitWindowGone(TXDriver& driver, const char* caption, int timeoutMs);
// True once the window is viewable.
bool WaitWindowMapped(TXDriver& driver, Window window, int timeoutMs);
// Position relative to the root window and size of the window's inside.
bool GetWindowGeometry(TXDriver& driver, Window window, int& x, int& y, int& width, int& height);
// Keys go to the focus window; focus the window under test first.
void FocusWindow(TXDriver& driver, Window window);
// What a window manager would do for the close box: WM_DELETE_WINDOW.
void SendCloseRequest(TXDriver& driver, Window window);

// ---- Keys -----------------------------------------------------------------------

// Modifiers: a mask of ShiftMask, ControlMask and Mod1Mask (Alt), held down
// around the key.
void PressKey(TXDriver& driver, KeySym key, unsigned modifiers = 0);
void HoldKey(TXDriver& driver, KeySym key, bool down);
// Several keys down (or up) in one batch, so that no keyboard-state read
// falls between them.
void HoldKeys(TXDriver& driver, std::initializer_list<KeySym> keys, bool down);

// ---- Pointer (window coordinates; button 1 left, 2 middle, 3 right, 4 and 5
// the wheel) ----------------------------------------------------------------------

void MovePointer(TXDriver& driver, Window window, int x, int y);
void HoldButton(TXDriver& driver, unsigned button, bool down);
void ClickAt(TXDriver& driver, Window window, int x, int y, unsigned button = 1, unsigned modifiers = 0);
void DragPointer(TXDriver& driver, Window window, int x1, int y1, int x2, int y2, unsigned button = 1,
                 int steps = 10);

// ---- Pixels (0x00RRGGBB) ------------------------------------------------------------

bool ReadWindowPixels(TXDriver& driver, Window window, int x, int y, int width, int height,
                      std::vector<uint32_t>& pixels);
// 0xFFFFFFFF when the pixel cannot be read.
uint32_t ReadWindowPixel(TXDriver& driver, Window window, int x, int y);
// True once the pixel reads rgb; the screen follows the program asynchronously.
bool WaitWindowPixel(TXDriver& driver, Window window, int x, int y, uint32_t rgb, int timeoutMs);

// ---- Child programs -------------------------------------------------------------------

struct TProgramOptions {
    std::vector<std::string> Args;      // Args[0] is the program's path
    std::vector<std::string> SetEnv;    // "NAME=VALUE", added to the inherited environment
    std::vector<std::string> UnsetEnv;  // "NAME", removed from it
    std::string StdoutPath, StderrPath; // empty: inherited
};

struct TChildProgram {
    pid_t Pid = -1;
};

bool StartProgram(TChildProgram& child, const TProgramOptions& options);
// True when the program ended within the time: exitCode is its exit status,
// or 128 + the signal that ended it.
bool WaitProgramExit(TChildProgram& child, int timeoutMs, int& exitCode);
// Kills the program if it still runs and reaps it.
void StopProgram(TChildProgram& child);
