#include "platform/program_display.h"

#include "platform/x11_window.h"

namespace {
Display* OpenDisplay = nullptr;
}

Display* ProgramDisplay() {
    if (!OpenDisplay) OpenDisplay = OpenXConnection();
    return OpenDisplay;
}

void CloseProgramDisplay() {
    if (OpenDisplay) XCloseDisplay(OpenDisplay);
    OpenDisplay = nullptr;
}
