// The page flip of a two-dimensional frame loop: show the page just drawn,
// then draw on the other. Programs whose frame orders the three calls
// differently call the library themselves.
#pragma once

#include <cstdint>

#include "tavrel.h"

// framePage is the program's 0/1 toggle: the page drawn last frame is shown,
// the toggle flips, and the other page becomes the draw page.
inline void FlipFramePage(int16_t& framePage) {
    SelectShownPage(static_cast<uint16_t>(framePage));
    framePage = static_cast<int16_t>(1 - framePage);
    SelectDrawPage(static_cast<uint16_t>(framePage));
}
