#include "program_input.h"

#include "tavrel.h"

uint8_t ReadKeyCode() {
    if (!KeyWaiting()) return 0;
    uint8_t key = WaitKeyByte();
    if (key == 0) key = WaitKeyByte();
    return key;
}

int32_t MouseX() { return GetMousePosX(); }
int32_t MouseY() { return GetMousePosY(); }
uint16_t MouseButtons() { return GetMouseButtonState(); }
