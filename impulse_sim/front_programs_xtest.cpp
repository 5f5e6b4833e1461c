// impulse_sim and impulse_sim_basic as a user meets them: each test starts a
// program, drives it with real key and pointer events and reads its window
// back from the X server.
#include <gtest/gtest.h>

#include <X11/keysym.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "front_end.h"
#include "graph_unit.h"
#include "palette_tables.h"
#include "test_support/xdriver.h"
#include "world_drawing.h"

namespace {

constexpr int WaitMs = 5000;
constexpr int Width = 800, Height = 600;

// What a named colour looks like on the screen: the program draws in palette
// mode, so the nearest entry of the standard palette, as 0x00RRGGBB.
uint32_t ScreenColor(uint8_t named) {
    TPaletteTable standard{256, StandardPalette};
    uint32_t c = StandardPalette[NearestPaletteIndex(standard, NamedColorRGB[named])];
    return (c & 0xFFu) << 16 | (c & 0xFF00u) | (c >> 16 & 0xFFu);
}

struct TColorCount {
    int Count = 0;
    int X1 = Width, Y1 = Height, X2 = -1, Y2 = -1;
    int CenterX() const { return (X1 + X2) / 2; }
    int CenterY() const { return (Y1 + Y2) / 2; }
};

class ProgramTest : public ::testing::Test {
protected:
    TXDriver Driver;
    TChildProgram Child;
    Window Win = 0;
    std::string ErrorPath;

    void SetUp() override {
        ASSERT_TRUE(OpenXDriver(Driver)) << "needs an X server with XTest";
        ErrorPath = testing::TempDir() + "front_programs_" + std::to_string(getpid()) + ".err";
    }
    void TearDown() override {
        StopProgram(Child);
        CloseXDriver(Driver);
        unlink(ErrorPath.c_str());
    }

    void Start(const char* path, std::vector<std::string> setEnv = {}) {
        TProgramOptions options;
        options.Args = {path};
        options.SetEnv = std::move(setEnv);
        options.StderrPath = ErrorPath;
        ASSERT_TRUE(StartProgram(Child, options));
        Win = FindWindowByCaption(Driver, SimulatorCaption, WaitMs);
        ASSERT_NE(Win, 0u) << "no window";
        ASSERT_TRUE(WaitWindowMapped(Driver, Win, WaitMs));
        FocusWindow(Driver, Win);
    }

    TColorCount Count(uint8_t named, int y1 = 0, int y2 = Height - 1) {
        TColorCount c;
        std::vector<uint32_t> pixels;
        if (!ReadWindowPixels(Driver, Win, 0, y1, Width, y2 - y1 + 1, pixels)) return c;
        const uint32_t rgb = ScreenColor(named);
        for (int y = y1; y <= y2; y++)
            for (int x = 0; x < Width; x++)
                if (pixels[size_t((y - y1) * Width + x)] == rgb) {
                    c.Count++;
                    c.X1 = std::min(c.X1, x);
                    c.Y1 = std::min(c.Y1, y);
                    c.X2 = std::max(c.X2, x);
                    c.Y2 = std::max(c.Y2, y);
                }
        return c;
    }

    // Polls the screen until the condition holds for a reading.
    template <class Condition>
    bool WaitFor(uint8_t named, Condition condition, int y1 = 0, int y2 = Height - 1) {
        auto start = std::chrono::steady_clock::now();
        for (;;) {
            if (condition(Count(named, y1, y2))) return true;
            if (std::chrono::steady_clock::now() - start > std::chrono::milliseconds(WaitMs))
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    bool Running(int ms) {
        int code = 0;
        return !WaitProgramExit(Child, ms, code);
    }

    // Scene 1's box at rest on the ground: about x 387..412, y 524..549.
    static constexpr std::pair<int, int> AboveGround{30, 547};
    TColorCount LandedBox() {
        WaitFor(DynamicBodyColor, [](const TColorCount& c) { return c.Y1 >= 520; },
                AboveGround.first, AboveGround.second);
        return Count(DynamicBodyColor, AboveGround.first, AboveGround.second);
    }

    // Holds the left button on the box and takes the pointer 150 px up and to
    // the left; the button stays down. Returns where the pointer ends.
    std::pair<int, int> GrabAndMove(const TColorCount& box) {
        MovePointer(Driver, Win, box.CenterX(), box.CenterY());
        HoldButton(Driver, 1, true);
        for (int i = 1; i <= 10; i++) {
            MovePointer(Driver, Win, box.CenterX() - 15 * i, box.CenterY() - 15 * i);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return {box.CenterX() - 150, box.CenterY() - 150};
    }

    void EndWithEsc() {
        PressKey(Driver, XK_Escape);
        int code = -1;
        ASSERT_TRUE(WaitProgramExit(Child, 2000, code)) << "still running 2 s after Esc";
        EXPECT_EQ(code, 0);
    }
};

TEST_F(ProgramTest, StatusLineAndBodiesShowAndEscEnds) {
    Start(IMPULSE_SIM_PATH);
    EXPECT_TRUE(WaitFor(StatusLineColor, [](const TColorCount& c) {
        return c.Count > 100 && c.Y1 >= 5 && c.Y2 < 30 && c.X1 < 400 && c.X2 > 400;
    })) << "no yellow status line centred along the top";
    // Scene 1: a box falling onto the ground's top face at y 549. Light cyan
    // and white are one entry of the standard palette, so the ground's
    // outline is white on the screen too.
    EXPECT_TRUE(WaitFor(DynamicBodyColor, [](const TColorCount& c) {
        return c.Count > 50 && c.X1 > 380 && c.X2 < 420;
    }, 30, 547));
    EXPECT_GT(Count(DynamicBodyColor, 549, 549).Count, 700);
    EndWithEsc();
}

// Without OpenGL the window opens with -9 and draws in two dimensions all the
// same: the program must not take that for a failed open.
TEST_F(ProgramTest, RunsWithoutOpenGL) {
    Start(IMPULSE_SIM_PATH, {"__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent"});
    EXPECT_TRUE(WaitFor(StatusLineColor, [](const TColorCount& c) { return c.Count > 100; }));
    EXPECT_TRUE(Running(100));
    EndWithEsc();
}

TEST_F(ProgramTest, EnterShowsTheNextScene) {
    Start(IMPULSE_SIM_PATH);
    // Scene 1 has the ground and one box; scene 2 adds five long ramps.
    ASSERT_TRUE(WaitFor(DynamicBodyColor, [](const TColorCount& c) { return c.Count > 0; }));
    const int scene1 = Count(DynamicBodyColor).Count;
    PressKey(Driver, XK_Return);
    EXPECT_TRUE(WaitFor(DynamicBodyColor, [&](const TColorCount& c) { return c.Count > scene1 + 1500; }));
    EndWithEsc();
}

TEST_F(ProgramTest, SpaceThrowsALightGreenProjectile) {
    Start(IMPULSE_SIM_PATH);
    ASSERT_TRUE(WaitFor(StatusLineColor, [](const TColorCount& c) { return c.Count > 0; }));
    EXPECT_EQ(Count(ProjectileColor).Count, 0);
    PressKey(Driver, XK_space);
    EXPECT_TRUE(WaitFor(ProjectileColor, [](const TColorCount& c) { return c.Count > 20; }));
    EndWithEsc();
}

TEST_F(ProgramTest, LeftButtonAloneDragsTheNearestBody) {
    Start(IMPULSE_SIM_PATH);
    TColorCount box = LandedBox();
    HoldKey(Driver, XK_Shift_L, true);  // with Shift nothing moves
    GrabAndMove(box);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_NEAR(Count(DynamicBodyColor, AboveGround.first, AboveGround.second).CenterX(), box.CenterX(), 2);
    HoldButton(Driver, 1, false);
    HoldKey(Driver, XK_Shift_L, false);

    auto [x, y] = GrabAndMove(box);
    // The box is drawn before it is moved in a frame, so it shows one step's
    // fall below the pointer, growing while it is held.
    EXPECT_TRUE(WaitFor(DynamicBodyColor, [&](const TColorCount& c) {
        return std::abs(c.CenterX() - x) <= 2 && c.CenterY() >= y - 2 && c.CenterY() <= y + 10;
    }, AboveGround.first, AboveGround.second)) << "the box does not follow the pointer";
    HoldButton(Driver, 1, false);
    EndWithEsc();
}

TEST_F(ProgramTest, CloseBoxLeavesItRunning) {
    Start(IMPULSE_SIM_PATH);
    SendCloseRequest(Driver, Win);
    EXPECT_TRUE(Running(500));
    EXPECT_NE(FindWindowByCaption(Driver, SimulatorCaption, 100), 0u);
    EndWithEsc();
}

// Scene 5, the pyramid, rests on many contacts at once.
void ShowPyramid(TXDriver& driver) {
    for (int i = 0; i < 4; i++) PressKey(driver, XK_Return);
}

TEST_F(ProgramTest, FullProgramShowsContactPoints) {
    Start(IMPULSE_SIM_PATH);
    ShowPyramid(Driver);
    EXPECT_TRUE(WaitFor(ContactColor, [](const TColorCount& c) { return c.Count > 20; }));
    EndWithEsc();
}

TEST_F(ProgramTest, BasicProgramIgnoresTheMouseAndHidesContactPoints) {
    Start(IMPULSE_SIM_BASIC_PATH);
    TColorCount box = LandedBox();
    GrabAndMove(box);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    TColorCount after = Count(DynamicBodyColor, AboveGround.first, AboveGround.second);
    HoldButton(Driver, 1, false);
    EXPECT_NEAR(after.CenterX(), box.CenterX(), 2);

    ShowPyramid(Driver);
    // 28 boxes of the pyramid in white, not one contact point.
    ASSERT_TRUE(WaitFor(DynamicBodyColor, [](const TColorCount& c) { return c.Count > 2000; }));
    for (int i = 0; i < 20; i++) {
        EXPECT_EQ(Count(ContactColor).Count, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(15));
    }
    EndWithEsc();
}

TEST_F(ProgramTest, WithoutADisplayBothEndAtOnceWithAMessage) {
    for (const char* path : {IMPULSE_SIM_PATH, IMPULSE_SIM_BASIC_PATH}) {
        TProgramOptions options;
        options.Args = {path};
        options.UnsetEnv = {"DISPLAY"};
        options.StderrPath = ErrorPath;
        ASSERT_TRUE(StartProgram(Child, options));
        int code = -1;
        ASSERT_TRUE(WaitProgramExit(Child, 1000, code)) << path << " still runs";
        EXPECT_EQ(code, 1) << path;
        std::ifstream in(ErrorPath);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_NE(text.find("an X display is needed"), std::string::npos) << text;
        EXPECT_EQ(text.find('\n'), text.size() - 1) << "one line: " << text;
    }
}

}  // namespace
