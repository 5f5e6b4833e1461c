// Opening a program's window, and the one line a program prints when it
// cannot: a program that cannot show anything must say why and end, never
// loop on in a window nobody sees.
#pragma once

#include <array>
#include <cstdint>

// Opens the window with OpenGraphWindow. On failure (the window did not open,
// or needsOpenGl and no OpenGL context came with it) a half-open window is
// closed, one line naming the program and the fault goes to stderr, and the
// result is false: the program then exits with status 1.
bool OpenProgramWindow(const char* program, int16_t driver, int16_t mode, const char* caption,
                       bool needsOpenGl = false);

// The failure line without its newline. code is the library's result code of
// the open, mode the mode asked for (the text names its size),
// displayReached whether an X server answered at all, display $DISPLAY.
using TMessageText = std::array<char, 256>;
void FormatOpenFailure(TMessageText& text, const char* program, int16_t code, int16_t mode,
                       bool displayReached, const char* display);
