// The page toggle of the dots and pegs frame loops.
#pragma once

#include <cstdint>

inline int16_t FramePage = 0;
