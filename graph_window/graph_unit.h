// State of the graphics unit shared by the library's own files; programs see
// only tavrel.h. The window thread and the program thread both read the flags
// below, hence the atomics; everything about pages is guarded by DrawLock,
// apart from the shown page that the window thread reads while PresentLock
// marks it (PresentingPage).
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

#include "page_bytes.h"
#include "platform/window_system.h"
#include "tavrel.h"

// A page: the client size, rows top-down. Palette mode keeps one index per
// byte (below DeviceColorCount); true colour keeps one 32-bit 0x00RRGGBB word
// per pixel, the X server's own layout: the page can be the very memory the
// server reads it from.
struct TPage {
    TPageBytes Pixels;
    std::array<uint32_t, 256> ColorTable{};  // 0x00RRGGBB, the page's own colours
    // While BlankKnown, every pixel outside Drawn holds Blank: clearing the
    // whole page to Blank again need only fill Drawn, which is much less
    // memory than the page when little is drawn. Program thread only.
    bool BlankKnown = false;
    uint32_t Blank = 0;
    TClientRect Drawn{0, 0, -1, -1};
    // What was written since the page's screen image last took it in: a
    // true-colour page kept apart from its image copies only this, so a page
    // shown again unchanged costs the put alone. Guarded by DrawLock.
    TClientRect Written{0, 0, -1, -1};
};

constexpr int PageCount = 4;

// The library's own globals live in a namespace of their own, so that a
// program's globals of the same names never meet them at link time; the
// library's files, which include these headers, use them unqualified.
namespace TavrelInternal {
extern std::atomic<bool> WindowReady;
extern int16_t GraphDriver, GraphMode;
extern int32_t ScreenWidth, ScreenHeight;
extern uint8_t ScreenBitsPerPixel;  // of the desktop, read with the screen size
extern int32_t WindowOuterWidth, WindowOuterHeight;
extern bool WindowFramed;  // false: a window without frame or caption
extern uint8_t BitsPerPixel;
extern bool PaletteMode;
extern uint16_t DeviceColorCount;
extern int32_t ClientMaxX, ClientMaxY;

extern std::array<TPage, PageCount> Pages;
extern int32_t PageWidth, PageHeight;  // ClientMaxX + 1, ClientMaxY + 1
extern int32_t PageBytesPerPixel;      // 1 in palette mode, 4 in true colour
extern std::array<uint32_t, 256> PageColorTable;  // 0x00RRGGBB
extern std::atomic<uint16_t> DrawPage, ShownPage;
extern std::atomic<bool> RefreshMode, DirectDraw;

extern std::recursive_mutex DrawLock;

// Held by the window thread while it reads the shown page without DrawLock:
// while it converts the page, or, for a page that lives in its screen image,
// until the server has taken the put. PresentingPage is that page, set while
// DrawLock is held and NoPresentingPage otherwise. Whoever is about to write
// into a page, the draw page included, holding DrawLock, waits for
// PresentLock when the page is PresentingPage (AwaitPresentOf). Lock order:
// DrawLock, then PresentLock.
extern std::mutex PresentLock;
constexpr int16_t NoPresentingPage = -1;
extern std::atomic<int16_t> PresentingPage;

// Size of the palette last applied: the modulus of colour values in palette mode.
extern uint16_t ActivePaletteSize;

// The window's logical palette (palette mode): Size entries in use, 0x00BBGGRR.
extern TPaletteTable WindowPalette;
}  // namespace TavrelInternal
using namespace TavrelInternal;
void CreateSystemPalette();
void LoadTrueColorNames();      // true colour: named colour i := NamedColorRGB[i]
void MapColorNamesToPalette();  // palette mode: nearest WindowPalette entry
uint8_t NearestPaletteIndex(const TPaletteTable& palette, uint32_t rgb);

// A colour value as the platform's colour reference: in palette mode a
// palette-index reference (0x1000000 + index), in true colour 0x00BBGGRR.
inline uint32_t ColorToDeviceRef(uint32_t color) {
    if (PaletteMode) return 0x1000000u + (ActivePaletteSize ? color % ActivePaletteSize : 0u);
    return color;
}

// A colour reference as the word stored in a page: the index byte in palette
// mode, 0x00RRGGBB in true colour.
inline uint32_t DeviceRefToPixel(uint32_t ref) {
    if (PaletteMode) return ref & 0xFFu;
    return ((ref & 0xFFu) << 16) | (ref & 0xFF00u) | ((ref >> 16) & 0xFFu);
}

// With DrawLock held, before writing into a page: waits while the window
// thread or the server reads that page for the screen.
inline void AwaitPresentOf(uint16_t page) {
    if (PresentingPage.load() == int16_t(page)) {
        PresentLock.lock();
        PresentLock.unlock();
    }
}

// The pixels drawing goes to: Pages[DrawPage].
inline TPage& DrawPageRef() { return Pages[DrawPage.load(std::memory_order_relaxed)]; }

// The eight messages that the window procedure hands to the mouse unit.
inline bool IsMouseMessage(uint32_t message) {
    switch (message) {
        case MsgMouseMove:
        case MsgLButtonDown:
        case MsgLButtonUp:
        case MsgRButtonDown:
        case MsgRButtonUp:
        case MsgMButtonDown:
        case MsgMButtonUp:
        case MsgMouseWheel: return true;
        default: return false;
    }
}

using TMessageHook = uint32_t (*)(uint32_t window, uint32_t message, uint32_t wParam,
                                  uint32_t lParam);
namespace TavrelInternal {
extern TMessageHook KeyboardHook, MouseHook;
}  // namespace TavrelInternal
using namespace TavrelInternal;

// The window procedure: the window thread hands it every message above.
uint32_t GraphWindowProc(uint32_t window, uint32_t message, uint32_t wParam, uint32_t lParam);

// Mode and driver tables to the layout variables (sets -3 or -2).
void PickDefaultMode(int16_t& driver, int16_t& mode);
void ComputeWindowLayout();

// Ask the window thread to put the rectangle (client pixels, inclusive) of the
// shown page on the screen, what was written of the page converted first.
// Cheap: requests are merged and the window thread presents at most once per
// wake-up. Does nothing without a window.
void RequestShownRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
// The same after writes into the shown page that Written may lack (tests
// fill pages directly): the whole page counts as written.
void InvalidateClientRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
void InvalidateWholeClient();

// Unit start-up and shutdown, run around the program body in this order.
void InitGraphUnit();
void DoneGraphUnit();
void InitKeyboardUnit();
void InitMouseUnit();

// Steps of opening and closing the window that belong to other units.
void InstallStandardFaces();  // text: registers the four standard faces
void ResetDrawState();        // drawing defaults, palette included
void CreateGlContexts();      // window and bitmap OpenGL contexts
void ReleaseGlContexts();     // makes none current and destroys both
