// The window a program's frame benchmark draws into, opened once as the
// program opens it (256 colours, 800 x 600). Needs an X server
// (tools/with_xvfb.sh).
#pragma once

#include "tavrel.h"

inline bool OpenFrameBenchWindow(const char* caption) {
    if (GraphWindowIsOpen()) return true;
    int16_t driver = 3, mode = 6;
    OpenGraphWindow(driver, mode, caption);
    return GraphWindowIsOpen();
}
