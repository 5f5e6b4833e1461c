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

// The same flip with the calls the other way round: draw on the toggle's
// page, flip the toggle, show the other page (drawn last frame).
inline void FlipFramePageDrawFirst(int16_t& framePage) {
    SelectDrawPage(static_cast<uint16_t>(framePage));
    framePage = static_cast<int16_t>(1 - framePage);
    SelectShownPage(static_cast<uint16_t>(framePage));
}
