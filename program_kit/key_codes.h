// The key codes the programs compare, in one table: the bytes ReadKeyCode
// gives (a code after a 0 prefix counts like the typed byte, so the typed H,
// K, M and P act as the arrows), and the virtual-key codes KeyIsHeld polls.
#pragma once

#include <cstdint>

enum : uint8_t {
    KeyBackspace = 8,
    KeyEnter = 13,
    KeyEsc = 27,
    KeySpace = 32,
    KeyF1 = 59,
    KeyUp = 72,
    KeyLeft = 75,
    KeyRight = 77,
    KeyDown = 80,
    KeyCloseRequest = 107,  // the close box and Alt+F4, after a 0
};

enum : int32_t {
    VkEscape = 27,
    VkLeft = 37,
    VkUp = 38,
    VkRight = 39,
    VkDown = 40,
    VkA = 'A',
    VkZ = 'Z',
};
