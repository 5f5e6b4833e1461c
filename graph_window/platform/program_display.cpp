#include "platform/program_display.h"

namespace {
Display* OpenDisplay = nullptr;
}

Display* ProgramDisplay() {
    if (!OpenDisplay) OpenDisplay = XOpenDisplay(nullptr);
    return OpenDisplay;
}

void CloseProgramDisplay() {
    if (OpenDisplay) XCloseDisplay(OpenDisplay);
    OpenDisplay = nullptr;
}
