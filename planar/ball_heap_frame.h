// The frame and program body of ball_heap.
#pragma once

#include <cstdint>

// One frame; returns its key, 0 when none.
uint8_t BallHeapFrame();
int BallHeapMain();
