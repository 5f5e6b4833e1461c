#include "test_support/program_test.h"

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>
#include <utility>

namespace {

std::string NewErrorPath() {
    static int counter = 0;
    const char* dir = std::getenv("TMPDIR");
    std::string base = dir && dir[0] ? dir : "/tmp";
    return base + "/program_test_" + std::to_string(getpid()) + "_" + std::to_string(++counter) +
           ".err";
}

bool InRange(uint32_t p, const TColorRange& r) {
    uint8_t red = uint8_t(p >> 16), green = uint8_t(p >> 8), blue = uint8_t(p);
    return red >= r.RedLow && red <= r.RedHigh && green >= r.GreenLow && green <= r.GreenHigh &&
           blue >= r.BlueLow && blue <= r.BlueHigh;
}

bool EndsWithZero(TProgramRun& run, std::string& why) {
    int status = -1;
    if (!WaitProgramStatus(run, SignalWaitMs, status)) {
        why = "still running " + std::to_string(SignalWaitMs / 1000) + " s after the key";
        return false;
    }
    if (status == 0) return true;
    why = "status " + std::to_string(status) + ", stderr: " + ProgramErrors(run);
    return false;
}

}  // namespace

int64_t SteadyNowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool WaitUntilStep(int64_t startNs, int timeoutMs) {
    if (SteadyNowNs() - startNs > int64_t(timeoutMs) * 1000000) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(15));
    return true;
}

bool StartProgramOnly(TProgramRun& run, const char* path, const std::vector<std::string>& setEnv,
                      const std::vector<std::string>& unsetEnv) {
    if (run.ErrorPath.empty()) run.ErrorPath = NewErrorPath();
    TProgramOptions options;
    options.Args = {path};
    options.SetEnv = setEnv;
    options.UnsetEnv = unsetEnv;
    options.StderrPath = run.ErrorPath;
    return StartProgram(run.Child, options);
}

bool StartProgramWindow(TProgramRun& run, const char* path, const char* caption, std::string& why,
                        const std::vector<std::string>& setEnv, int timeoutMs) {
    if (!run.Driver.Dpy && !OpenXDriver(run.Driver)) {
        why = "no X server with XTest to drive";
        return false;
    }
    if (!StartProgramOnly(run, path, setEnv)) {
        why = std::string("cannot start ") + path;
        return false;
    }
    // A program that ended has no window to wait for.
    int status = -1;
    bool ended = false;
    WaitUntil(timeoutMs, [&] {
        run.Win = FindWindowByCaption(run.Driver, caption, 0);
        ended = !run.Win && WaitProgramStatus(run, 0, status);
        return run.Win || ended;
    });
    if (!run.Win) {
        why = std::string("no window \"") + caption + "\" (windows there: " + TopLevelCaptions(run.Driver) +
              "); " + (ended ? "the program ended with status " + std::to_string(status)
                             : "the program still runs after " + std::to_string(timeoutMs / 1000) + " s") +
              "; stderr: " + ProgramErrors(run);
        return false;
    }
    if (!WaitWindowMapped(run.Driver, run.Win, timeoutMs)) {
        why = std::string("window \"") + caption + "\" never mapped";
        return false;
    }
    FocusWindow(run.Driver, run.Win);
    return true;
}

void EndProgramRun(TProgramRun& run) {
    StopProgram(run.Child);
    CloseXDriver(run.Driver);
    if (!run.ErrorPath.empty()) unlink(run.ErrorPath.c_str());
    run.Win = 0;
}

bool WaitProgramStatus(TProgramRun& run, int timeoutMs, int& status) {
    return WaitProgramExit(run.Child, timeoutMs, status);
}

bool StillRunningAfter(TProgramRun& run, int ms) {
    int status = 0;
    return !WaitProgramExit(run.Child, ms, status);
}

std::string ProgramErrors(const TProgramRun& run) {
    std::ifstream in(run.ErrorPath);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TPixelCount CountPixels(TProgramRun& run, const TColorRange& range, const TPixelRect& rect) {
    TPixelCount c;
    int width = rect.X2 - rect.X1 + 1, height = rect.Y2 - rect.Y1 + 1;
    std::vector<uint32_t> pixels;
    if (width <= 0 || height <= 0 ||
        !ReadWindowPixels(run.Driver, run.Win, rect.X1, rect.Y1, width, height, pixels)) {
        c.Count = -1;
        return c;
    }
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            if (!InRange(pixels[size_t(y) * size_t(width) + size_t(x)], range)) continue;
            c.Count++;
            int px = rect.X1 + x, py = rect.Y1 + y;
            if (px < c.X1) c.X1 = px;
            if (py < c.Y1) c.Y1 = py;
            if (px > c.X2) c.X2 = px;
            if (py > c.Y2) c.Y2 = py;
        }
    return c;
}

std::vector<uint32_t> WindowShot(TProgramRun& run) {
    int x = 0, y = 0, width = 0, height = 0;
    std::vector<uint32_t> pixels;
    if (!GetWindowGeometry(run.Driver, run.Win, x, y, width, height) ||
        !ReadWindowPixels(run.Driver, run.Win, 0, 0, width, height, pixels))
        pixels.clear();
    return pixels;
}

bool WaitNewFrames(TProgramRun& run) {
    std::vector<uint32_t> last = WindowShot(run);
    int changes = 0;
    return WaitUntil(SignalWaitMs, [&] {
        std::vector<uint32_t> now = WindowShot(run);
        if (!now.empty() && now != last) {
            changes++;
            last = std::move(now);
        }
        return changes >= 3;
    });
}

bool RunWithoutDisplay(const char* path, int timeoutMs, int& status, std::string& errors) {
    TProgramRun run;
    bool ended = StartProgramOnly(run, path, {}, {"DISPLAY"}) &&
                 WaitProgramStatus(run, timeoutMs, status);
    errors = ProgramErrors(run);
    EndProgramRun(run);
    return ended;
}

bool FailsWithoutOpenGl(const char* path, const char* program, std::string& why) {
    TProgramRun run;
    int status = -1;
    const bool ended = StartProgramOnly(run, path, {"__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent"}) &&
                       WaitProgramStatus(run, SignalWaitMs, status);
    const std::string errors = ProgramErrors(run);
    EndProgramRun(run);
    if (!ended) {
        why = "still running " + std::to_string(SignalWaitMs / 1000) + " s after the start without OpenGL";
        return false;
    }
    if (status == 1 && errors == std::string(program) + ": cannot open the window: OpenGL is unavailable\n")
        return true;
    why = "status " + std::to_string(status) + ", stderr: " + errors;
    return false;
}

bool FailsWithoutDisplay(const char* path, const char* program, std::string& why) {
    int status = -1;
    std::string errors;
    if (!RunWithoutDisplay(path, SignalWaitMs, status, errors)) {
        why = "still running " + std::to_string(SignalWaitMs / 1000) + " s after the start without a display";
        return false;
    }
    const std::string start = std::string(program) + ": ";
    const bool oneLine = !errors.empty() && errors.find('\n') == errors.size() - 1;
    if (status == 1 && oneLine && errors.compare(0, start.size(), start) == 0 &&
        errors.find("an X display is needed") != std::string::npos)
        return true;
    why = "status " + std::to_string(status) + ", stderr: " + errors;
    return false;
}

bool CloseBoxKeepsItRunning(TProgramRun& run) {
    SendCloseRequest(run.Driver, run.Win);
    return StillRunningAfter(run, 300);
}

bool KeyEndsWithZero(TProgramRun& run, unsigned long keySym, std::string& why) {
    PressKey(run.Driver, KeySym(keySym));
    return EndsWithZero(run, why);
}

bool HeldKeyEndsWithZero(TProgramRun& run, unsigned long keySym, std::string& why) {
    HoldKey(run.Driver, KeySym(keySym), true);
    const bool ended = EndsWithZero(run, why);
    HoldKey(run.Driver, KeySym(keySym), false);
    return ended;
}
