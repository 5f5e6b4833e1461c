// For tests of the library and its units: the graph window opened and seen on
// the X server.
#pragma once

#include <cstdint>

#include "test_support/xdriver.h"

// OpenGraphWindow, then the window found by its caption and waited for until
// it is viewable; 0 when the open failed (ResultCode tells) or the window did
// not show within timeoutMs.
Window OpenTestWindow(TXDriver& driver, int16_t graphDriver, int16_t mode, const char* caption,
                      int timeoutMs = SignalWaitMs);
