#include "program_window.h"

#include <cstdio>
#include <cstdlib>

#include "tavrel.h"

namespace {

const char* ModeSizeText(int16_t mode) { return mode == 4 ? "640 x 480" : "800 x 600"; }

}  // namespace

void FormatOpenFailure(TMessageText& text, const char* program, int16_t code, int16_t mode,
                       bool displayReached, const char* display) {
    if (!displayReached) {
        if (display && display[0])
            std::snprintf(text.data(), text.size(),
                          "%s: cannot open the window: the X display \"%s\" cannot be reached; "
                          "an X display is needed",
                          program, display);
        else
            std::snprintf(text.data(), text.size(),
                          "%s: cannot open the window: DISPLAY is not set; an X display is needed",
                          program);
        return;
    }
    if (code == -3) {
        std::snprintf(text.data(), text.size(),
                      "%s: cannot open the window: the screen is smaller than %s", program,
                      ModeSizeText(mode));
        return;
    }
    const char* what = "";
    switch (code) {
        case -2: what = "the 256-colour mode was refused"; break;
        case -4: what = "the X server did not create it"; break;
        case -5: what = "a standard font face (Courier New, MS Sans Serif, Times New Roman, Arial) is missing"; break;
        case -9: what = "OpenGL is unavailable"; break;
        default: break;
    }
    if (what[0])
        std::snprintf(text.data(), text.size(), "%s: cannot open the window: %s", program, what);
    else
        std::snprintf(text.data(), text.size(), "%s: cannot open the window (result code %d)",
                      program, static_cast<int>(code));
}

bool OpenProgramWindow(const char* program, int16_t driver, int16_t mode, const char* caption,
                       bool needsOpenGl) {
    int16_t askedMode = mode;
    OpenGraphWindow(driver, mode, caption);
    int16_t code = ResultCode;
    // Without OpenGL (-9) the window still draws in two dimensions.
    if (GraphWindowIsOpen() && (code == 0 || (code == -9 && !needsOpenGl))) return true;
    // A missing face leaves the window created but hidden.
    if (GraphWindowIsOpen()) CloseGraphWindow();
    TMessageText text;
    FormatOpenFailure(text, program, code, askedMode, DisplayReachable(), std::getenv("DISPLAY"));
    std::fprintf(stderr, "%s\n", text.data());
    return false;
}
