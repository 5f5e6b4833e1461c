// The window system as the graphics unit sees it: the screen, the window on
// its own thread, the messages that thread hands to the window procedure, the
// image through which pages reach the screen, and the OpenGL contexts. No
// type of the window system shows here; the platform layer gets what it
// needs of the library (layout, window procedure, page size) through these
// routines and never includes the library's own headers.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

// ---- Messages -------------------------------------------------------------------

// Window messages handed to the window procedure, numbered as the keyboard
// and mouse units' tables are written.
enum : uint32_t {
    MsgCreate = 1,
    MsgDestroy = 2,
    MsgPaint = 15,
    MsgClose = 16,
    MsgKeyDown = 256,
    MsgChar = 258,
    MsgSysKeyDown = 260,
    MsgSysChar = 262,
    MsgUser = 1024,
    MsgMouseMove = 512,
    MsgLButtonDown = 513,
    MsgLButtonUp = 514,
    MsgRButtonDown = 516,
    MsgRButtonUp = 517,
    MsgMButtonDown = 519,
    MsgMButtonUp = 520,
    MsgMouseWheel = 522,
};

// Button and modifier flags of a mouse message's wParam.
enum : uint32_t { MkLButton = 1, MkRButton = 2, MkShift = 4, MkControl = 8, MkMButton = 16 };

using TWindowProc = uint32_t (*)(uint32_t window, uint32_t message, uint32_t wParam, uint32_t lParam);

// Modifier state as the window system's key event carried it, set before the
// key's messages are handed over, so that the key translation reads it in
// place of asking the system.
enum : uint32_t { KeyModShift = 0x1, KeyModControl = 0x4, KeyModAlt = 0x8 };
namespace TavrelInternal {
extern uint32_t KeyModifierState;
}  // namespace TavrelInternal
using namespace TavrelInternal;

// ---- Screen image -----------------------------------------------------------------

// A rectangle of client pixels, corners included.
struct TClientRect {
    int32_t X1, Y1, X2, Y2;
};

// Grows r to cover the rectangle (corners included); an empty r becomes it.
inline void WidenClientRect(TClientRect& r, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    const bool none = r.X1 > r.X2 || r.Y1 > r.Y2;
    r.X1 = none || x1 < r.X1 ? x1 : r.X1;
    r.Y1 = none || y1 < r.Y1 ? y1 : r.Y1;
    r.X2 = none || x2 > r.X2 ? x2 : r.X2;
    r.Y2 = none || y2 > r.Y2 ? y2 : r.Y2;
}

// The window thread's image of the client area in the server's layout: 32-bit
// words, word = red << RedShift | green << GreenShift | blue << BlueShift |
// FixedBits. Direct means that word is the 0x00RRGGBB value itself.
struct TScreenImage {
    uint32_t* Words = nullptr;
    int32_t WordsPerRow = 0;
    int32_t Width = 0, Height = 0;
    uint32_t RedShift = 16, GreenShift = 8, BlueShift = 0, FixedBits = 0;
    bool Direct = true;
};

// The window thread's images of the client area: one per page where the
// server lets us have them, so that a page shown again is put without
// converting the rows it kept since it was last shown (true-colour pages
// then live in them); else the first alone.
constexpr int32_t MaxScreenImages = 4;
namespace TavrelInternal {
extern std::array<TScreenImage, MaxScreenImages> ScreenImages;
extern int32_t ScreenImageCount;
// Presents completed by the window thread since the process started.
extern std::atomic<uint32_t> PresentCount;
}  // namespace TavrelInternal
using namespace TavrelInternal;

// ---- Program thread -----------------------------------------------------------------

// The frame a window manager puts around a framed window, as the layout
// counts it: outer = client + 2 x side frame across, client + 2 x frame +
// caption down. Chosen so that a 1280 x 1024 client does not fit a 1280 x 1024
// screen framed but 1024 x 768 does.
constexpr int32_t DialogFrameWidth = 3;
constexpr int32_t DialogFrameHeight = 3;
constexpr int32_t CaptionHeight = 22;

// Size and bits per pixel of the default screen through a short-lived
// connection; false (values untouched) when no X display can be reached.
bool QueryScreen(int32_t& width, int32_t& height, uint8_t& bitsPerPixel);

// Where and how large the window is made: OuterWidth 0 lets the system
// choose; Framed false makes a window without frame or caption.
struct TWindowLayout {
    int32_t ScreenWidth, ScreenHeight;
    int32_t OuterWidth, OuterHeight;
    bool Framed;
};

// Starts the window thread, which creates the window and hands MsgCreate to
// proc, or fails (WindowCreateFailed) and ends.
bool StartWindowThread(const char* caption, const TWindowLayout& layout, TWindowProc proc);
// True once the window thread gave up creating the window; it has then ended.
bool WindowCreateFailed();
// Waits for the window thread to end and releases what the start took; the
// result is the code the quit request carried.
uint16_t JoinWindowThread();
// The close request: the window thread dispatches MsgUser, which destroys the
// window and ends its loop.
void PostUserMessage();
// Maps the window, raises it and gives it the input focus; true once the
// server reports both, false when that takes longer than timeoutMs.
bool ShowGraphWindow(int timeoutMs);
// Asks the window thread to paint the rectangle (any corners), clipped to a
// client of width x height. Requests are merged; the window thread paints at
// most once per wake-up.
void RequestPaint(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t width, int32_t height);

// ---- Window thread (from the window procedure) ---------------------------------------

void GetClientSize(int32_t& width, int32_t& height);
// Takes the pending update rectangle (clipped to the client); false when
// nothing is to be painted.
bool TakeUpdateRect(TClientRect& rect);
// Hands that rectangle of screen image `image` to the server for the window;
// it may not be written again before FinishScreenPuts.
void PutScreenRect(int32_t image, const TClientRect& rect);
// Waits until the server has every put rectangle and counts the present.
void FinishScreenPuts();
// Dispatches MsgDestroy, then destroys the window.
void DestroyGraphWindow();
// Ends the message loop once the current message is handled.
void PostQuitRequest(uint16_t code);

// ---- OpenGL (program thread) -------------------------------------------------------------

// The double-buffered context of the window, and the context without a
// surface whose drawing goes to a frame buffer of width x height, read back
// with ReadBitmapGl. Each returns false, leaving what it could not create.
bool CreateWindowGl();
bool CreateBitmapGl(int32_t width, int32_t height);
bool MakeWindowGlCurrent();
bool MakeBitmapGlCurrent();
void SwapWindowGl();
// The bitmap frame buffer as bytes B, G, R, A, bottom row first.
void ReadBitmapGl(uint8_t* pixels);
// Makes no context current, destroys both and drops the program thread's
// connection.
void ReleaseGl();
