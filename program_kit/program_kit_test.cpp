// The kit without a window: the failure line and frame pacing.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <ctime>
#include <string>

#include "frame_pacing.h"
#include "program_window.h"

namespace {

std::string Line(const char* program, int16_t code, int16_t mode, bool reached,
                 const char* display) {
    TMessageText text;
    FormatOpenFailure(text, program, code, mode, reached, display);
    return text.data();
}

TEST(OpenFailure, OneLineNamingProgramAndCause) {
    EXPECT_EQ(Line("polygon_impact", -3, 4, false, nullptr),
              "polygon_impact: cannot open the window: DISPLAY is not set; an X display is needed");
    EXPECT_EQ(Line("impulse_sim", -3, 6, false, ":42"),
              "impulse_sim: cannot open the window: the X display \":42\" cannot be reached; an X "
              "display is needed");
    EXPECT_EQ(Line("impulse_sim_basic", -5, 6, true, ":0"),
              "impulse_sim_basic: cannot open the window: a standard font face (Courier New, MS "
              "Sans Serif, Times New Roman, Arial) is missing");
    EXPECT_EQ(Line("cubes_gl", -9, 6, true, ":0"),
              "cubes_gl: cannot open the window: OpenGL is unavailable");
    EXPECT_EQ(Line("disc_billiard_flat", -3, 4, true, ":0"),
              "disc_billiard_flat: cannot open the window: the screen is smaller than 640 x 480");
    EXPECT_EQ(Line("box_scenarios", -3, 6, true, ":0"),
              "box_scenarios: cannot open the window: the screen is smaller than 800 x 600");
    EXPECT_EQ(Line("ball_heap", -12, 6, true, ":0"),
              "ball_heap: cannot open the window (result code -12)");
}

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// 300 empty frames take five seconds to within 2 %, sleeping between them.
TEST(FramePacing, SixtyFramesASecondWithoutBusyWaiting) {
    FramePacingOn = true;
    ResetFramePacing();
    PaceFrame();  // the first call starts the count
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ProcessCpuSeconds();
    for (int i = 0; i < 300; i++) PaceFrame();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = ProcessCpuSeconds() - cpuStart;
    EXPECT_NEAR(seconds, 5.0, 0.1);
    EXPECT_LT(cpu, 0.05 * seconds);
}

TEST(FramePacing, OffRunsFlatOut) {
    FramePacingOn = false;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 1000; i++) PaceFrame();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    FramePacingOn = true;
}

}  // namespace
