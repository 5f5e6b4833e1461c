// Connections to the X server: thread support and the error handlers, set up
// once for the process; the start-up screen query.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>

#include "platform/x11_shared.h"

namespace XPlatform {

std::atomic<Display*> WatchedDisplay{nullptr};
std::atomic<int> WindowXError{0};

namespace {

// X errors are asynchronous and the default handler ends the process; a
// library must not. Errors of the window's connection are recorded for the
// checks after XSync, the rest ignored.
int RecordXError(Display* display, XErrorEvent* event) {
    if (display == WatchedDisplay) WindowXError = event->error_code;
    return 0;
}

// A lost connection cannot be ridden out: every later call on it fails
// again, and an orderly exit would close the window on the dead connection
// from whichever thread met the loss while the other still uses it. So the
// first thread to meet it says so and ends the process at once; the
// programs keep no files that an exit handler would have to save.
int DisplayWentAway(Display*) {
    static std::atomic<bool> told{false};
    if (!told.exchange(true)) {
        char line[160];
        const int n = std::snprintf(line, sizeof line, "%s: the X display went away\n",
                                    program_invocation_short_name);
        if (n > 0 && write(STDERR_FILENO, line, std::min<size_t>(size_t(n), sizeof line - 1)) < 0) {
            // Nothing more can be done about a lost message on the way out.
        }
        _exit(1);
    }
    // The other thread is already ending the process.
    for (;;) pause();
}

}  // namespace

void InitXlibOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        XInitThreads();
        XSetErrorHandler(RecordXError);
        XSetIOErrorHandler(DisplayWentAway);
    });
}

}  // namespace XPlatform

// A server that resets when its last client leaves refuses connections for a
// moment (EAGAIN, or a reset connection), as right after the start-up query;
// those refusals are retried.
Display* OpenXConnection() {
    XPlatform::InitXlibOnce();
    for (int attempt = 0;; ++attempt) {
        errno = 0;
        if (Display* display = XOpenDisplay(nullptr)) return display;
        if ((errno != EAGAIN && errno != ECONNRESET) || attempt == 100) return nullptr;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

bool QueryScreen(int32_t& width, int32_t& height, uint8_t& bitsPerPixel) {
    Display* display = OpenXConnection();
    if (!display) return false;
    const int screen = DefaultScreen(display);
    width = DisplayWidth(display, screen);
    height = DisplayHeight(display, screen);
    const int depth = DefaultDepth(display, screen);
    bitsPerPixel = uint8_t(depth);
    int count = 0;
    if (XPixmapFormatValues* formats = XListPixmapFormats(display, &count)) {
        for (int i = 0; i < count; ++i)
            if (formats[i].depth == depth) bitsPerPixel = uint8_t(formats[i].bits_per_pixel);
        XFree(formats);
    }
    XCloseDisplay(display);
    return true;
}
