// tavrel: one graphics window on a thread of its own, four off-screen pages,
// palette and true colour, pens, brushes, primitives, text, OpenGL contexts,
// a PC-style key queue and the mouse state.
//
// Every routine runs on the program thread. Failures are reported only through
// ResultCode (0 success, -1 window not open, -2 bad driver, -3 mode larger than
// the screen, -4 window not created, -5 face missing or face table full,
// -6 empty face slot, -7 invalid argument, -8 palette operation in true colour,
// -9 no OpenGL context, -10 window already open).
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "coords.h"

// ---- Result code and window -------------------------------------------------

extern std::atomic<int16_t> ResultCode;

// Driver 1, 2, 3: palette of 2, 16, 256 colours; 9: true colour; 0: the desktop
// picks (driver and mode are written back as 9 and 10). Mode 4 is 640 x 480,
// mode 6 is 800 x 600. An empty caption gives "Tavrel 1.1".
void OpenGraphWindow(int16_t& driver, int16_t& mode, const char* caption);
void CloseGraphWindow();
bool GraphWindowIsOpen();
// Whether an X server answered at start-up; without one no window can open.
bool DisplayReachable();
int16_t GetRightEdge();
int16_t GetBottomEdge();
void SelectDrawPage(uint16_t page);
void SelectShownPage(uint16_t page);

// ---- Colours ----------------------------------------------------------------

// Named colour i holds the colour value that stands for NamedColorRGB[i] in the
// current mode: 12 black, 59 dark grey, 105 green, 122 light blue, 125 light
// cyan, 128 light green, 131 light red, 207 red, 250 white, 253 yellow.
extern std::array<uint32_t, 256> NamedColors;

struct TPaletteTable {
    uint16_t Size;
    std::array<uint32_t, 256> Colors;  // 0x00BBGGRR
};

void SplitColorRGB(uint32_t color, uint16_t& red, uint16_t& green, uint16_t& blue);
uint32_t GetTopColorValue();
void FetchStandardPalette(TPaletteTable& table);
void ApplyPalette(const TPaletteTable& table);

// ---- Drawing state ----------------------------------------------------------

void DefineDrawPort(int16_t x1, int16_t y1, int16_t x2, int16_t y2, bool clip);
void SetAspectScale(uint16_t x, uint16_t y);
void SetRasterMode(int16_t mode);
void SetBackgroundColor(uint32_t color);
void SetDrawColor(uint32_t color);
void SetStrokeStyle(uint16_t style, uint16_t pattern, uint16_t thickness);
void SetAreaFill(uint16_t style, uint32_t color);
void DefineFillBitmap(const std::array<uint8_t, 8>& pattern, uint32_t color);

// ---- Primitives -------------------------------------------------------------

struct TPolyPoint {
    int32_t X, Y;
};

void ClearWholeWindow();
void ClearPortArea();
void MovePenTo(int16_t x, int16_t y);
void DrawLineTo(int16_t x, int16_t y);
void DrawSegment(int16_t x1, int16_t y1, int16_t x2, int16_t y2);
void PlotPixel(int16_t x, int16_t y, uint32_t color);
void DrawCircle(int16_t x, int16_t y, uint16_t radius);
void DrawEllipseArc(int16_t x, int16_t y, uint16_t start, uint16_t end, uint16_t xRadius,
                    uint16_t yRadius);
void FillBox(int16_t x1, int16_t y1, int16_t x2, int16_t y2);
void FillPolygonShape(uint16_t count, const TPolyPoint* points);
void FillEllipseShape(int16_t x, int16_t y, uint16_t xRadius, uint16_t yRadius);

// ---- Text -------------------------------------------------------------------

int16_t RegisterFontFace(const char* face);
void SelectTextFont(uint16_t font, uint16_t direction, uint16_t size);
void SetTextAnchor(uint16_t horizontal, uint16_t vertical);
void SetTextSpacing(uint16_t characterExtra, uint16_t breakExtra);
void DrawTextAtPen(const char* s);
void DrawTextAt(int16_t x, int16_t y, const char* s);

// ---- OpenGL -----------------------------------------------------------------

void SelectGlTarget(bool toWindow);
void SetRefreshMode(uint16_t operation);

// ---- Keyboard and mouse -----------------------------------------------------

// Key codes: a typed character is its byte (Esc 27, Enter 13, Backspace 8,
// Tab 9, Ctrl+letter 1..26); other keys are the byte 0 followed by a PC
// extended key code (arrows 72 80 75 77, F1..F10 59..68, Alt+F4 and the close
// box 107). On X:
// - Ctrl+Tab gives the single byte 30 and no Tab character.
// - Delete gives 0, 83 only: X types no character 127 for it.
// - Ctrl+Alt+F1..F12 never reach a program: the X server keeps them for
//   switching consoles.
bool KeyWaiting();
uint8_t WaitKeyByte();
void PauseMilliseconds(uint16_t ms);

// Whether a key is held down right now, by virtual-key code (arrows 37..40,
// Esc 27, letters 'A'..'Z', digits, ...). For programs that poll held keys.
// Shift (16), Ctrl (17) and Alt (18) count either key of the pair. Polls made
// within the same millisecond share one query of the X server's keyboard.
bool KeyIsHeld(int32_t virtualKey);

// The mouse state as of the last pointer event of the window: buttons (bit 0
// left, 1 right, 2 middle), Shift (bit 3) and Ctrl (bit 4), and the position
// in client pixels. While a button is held, X keeps reporting the pointer when
// it leaves the window: positions left of or above the client read negative,
// right of or below it past the edges, and a release outside the window clears
// its bit, so no button stays "held" that nobody holds. The wheel reports
// client positions too.
uint16_t GetMouseButtonState();
int16_t GetMousePosX();
int16_t GetMousePosY();

// Milliseconds since some fixed moment; the programs seed their random source
// from it.
uint32_t TickCount();
