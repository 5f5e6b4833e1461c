// Key presses of the X server as the window messages the keyboard unit reads.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>

struct TWindowMessage {
    uint32_t Message, WParam, LParam;
};

struct TKeyMessages {
    int Count = 0;
    TWindowMessage Items[4];
};

// One key press: the key-down (or system-key-down while Alt is held) with its
// virtual-key code, then the character it types, if any, as one byte of the
// window's 8-bit code page. Also records the modifier state that the key
// translation reads while these messages are handled.
void TranslateKeyPress(const XKeyEvent& event, TKeyMessages& out);
