// Stand-ins for steps that other units provide; each goes when its unit lands.
#include <X11/Xlib.h>

#include "graph_unit.h"

void InstallStandardFaces() {}
void ResetDrawState() {}

// Window unit.
Window GraphXWindow = 0;
bool GraphWindowIsOpen() { return WindowReady; }
void SelectShownPage(uint16_t page) { ShownPage = page > 3 ? 0 : page; }

// Drawing state.
TDrawPort DrawPort{};
void DefineDrawPort(int16_t x1, int16_t y1, int16_t x2, int16_t y2, bool clip) {
    DrawPort = TDrawPort{x1, y1, x2, y2, clip};
}
