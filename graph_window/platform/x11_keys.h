// Key presses of the X server as the window messages the keyboard unit reads,
// and the held-key state, both through the one key-symbol table.
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

// The virtual-key code of a key symbol, 0 for keys without one.
int32_t VirtualKeyOfKeySym(KeySym sym);

// The byte a key types as the window system's character message would carry
// it: `sym` and `text` (`count` bytes) are what XLookupString gave. -1 when
// the key types nothing.
int CharacterOfKey(KeySym sym, const char* text, int count, bool ctrl);
