// The processor's floating-point control words. Driver code that loads while
// an OpenGL context is created may change precision, rounding or exception
// masks; the library puts back what the program had.
#pragma once

#include <cstdint>

struct TFpControl {
    uint16_t X87 = 0;     // x87 control word
    uint32_t Mxcsr = 0;   // SSE control and status
};

TFpControl SaveFpControl();
// Clears pending exceptions, then loads the saved words again.
void RestoreFpControl(const TFpControl& saved);
