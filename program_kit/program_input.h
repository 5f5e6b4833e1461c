// Keys and the mouse as the programs read them.
#pragma once

#include <cstdint>

// The next key's code when one waits, else 0: a typed character is its byte;
// a navigation, function or modified key (a 0 byte and a code) gives the code.
uint8_t ReadKeyCode();

// The pointer in window pixels, signed: while a button is held X goes on
// reporting the pointer outside the window, left of or above it as negative
// values, which read unsigned would jump by 65,536 pixels.
int32_t MouseX();
int32_t MouseY();
// The button word: bit 0 left, 1 right, 2 middle, 3 Shift, 4 Ctrl.
uint16_t MouseButtons();
