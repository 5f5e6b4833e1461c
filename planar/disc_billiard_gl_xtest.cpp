// disc_billiard_gl as a user meets it, started in a directory of its own
// that holds the build's earth.bmp (or a damaged one, or none).
#include <gtest/gtest.h>

#include <X11/keysym.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include "billiard_screen.h"

namespace {

constexpr int Width = 640, Height = 480;

std::vector<uint8_t> EarthBytes() {
    std::ifstream in(EARTH_BMP_PATH, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct TLitCentre {
    int Count = 0;
    double X = 0, Y = 0;
};

TLitCentre LitCentre(const TScreen& s) {
    TLitCentre c;
    for (int y = 0; y < s.Height; y++)
        for (int x = 0; x < s.Width; x++)
            if (s.At(x, y)) {
                c.Count++;
                c.X += x;
                c.Y += y;
            }
    if (c.Count) {
        c.X /= c.Count;
        c.Y /= c.Count;
    }
    return c;
}

struct GlBilliard : ::testing::Test {
    TProgramRun Run;
    std::string Directory;
    char Previous[PATH_MAX] = {};

    void SetUp() override {
        ASSERT_NE(getcwd(Previous, sizeof Previous), nullptr);
        std::string pattern = testing::TempDir() + "billiard_gl_XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        char real[PATH_MAX];
        ASSERT_NE(realpath(pattern.c_str(), real), nullptr);
        Directory = real;
        // The program reads earth.bmp from the directory it is started in.
        ASSERT_EQ(chdir(Directory.c_str()), 0);
    }
    void TearDown() override {
        EndProgramRun(Run);
        unlink("earth.bmp");
        rmdir("earth.bmp");
        EXPECT_EQ(chdir(Previous), 0);
        rmdir(Directory.c_str());
    }
    void PutTexture(const std::vector<uint8_t>& bytes) {
        std::ofstream out("earth.bmp", std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    // Starts the program and expects it to end with 1 and the line.
    void ExpectRefused(const std::string& line, const std::vector<std::string>& setEnv = {}) {
        ASSERT_TRUE(StartProgramOnly(Run, PROGRAM_PATH, setEnv));
        int status = -1;
        ASSERT_TRUE(WaitProgramStatus(Run, SignalWaitMs, status)) << "still running";
        EXPECT_EQ(status, 1);
        EXPECT_EQ(ProgramErrors(Run), line + "\n");
        EndProgramRun(Run);
        Run = TProgramRun{};
    }
};

TEST_F(GlBilliard, TexturedFromTheFirstFrameALeftDragTurnsItAKeyEndsIt) {
    PutTexture(EarthBytes());
    std::string why;
    ASSERT_TRUE(StartProgramWindow(Run, PROGRAM_PATH, "BILIARD 3D", why)) << why;
    // Straight from above, the table lies below the eye: a floor across the
    // lower half, centred, in many shades of the texture and the spheres.
    TScreen s;
    EXPECT_TRUE(WaitUntil(SignalWaitMs, [&] {
        s = Grab(Run, Width, Height);
        return LitCentre(s).Count > Width * Height / 6 && DistinctColours(s) > 150;
    })) << LitCentre(s).Count << " lit pixels, " << DistinctColours(s) << " colours";
    const TLitCentre before = LitCentre(s);
    EXPECT_NEAR(before.X, 320, 40);
    EXPECT_GT(before.Y, 300);

    // 90 px to the right with the left button: a quarter turn, the table
    // then lies to the right of the eye. The turn counts from where the
    // program last saw the pointer before it saw the button, and up to where
    // it last sees it held: the program takes in each step before the next.
    MovePointer(Run.Driver, Run.Win, 200, 100);
    ASSERT_TRUE(WaitNewFrames(Run)) << "the picture stands still";
    HoldButton(Run.Driver, 1, true);
    ASSERT_TRUE(WaitNewFrames(Run)) << "the picture stands still";
    for (int i = 1; i <= 18; i++) {
        MovePointer(Run.Driver, Run.Win, 200 + 5 * i, 100);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    TLitCentre after;
    const bool turned = WaitUntil(SignalWaitMs, [&] {
        after = LitCentre(Grab(Run, Width, Height));
        return after.X > 420;
    });
    HoldButton(Run.Driver, 1, false);
    EXPECT_TRUE(turned) << "lit centre at " << after.X << ", " << after.Y;

    EXPECT_TRUE(KeyEndsWithZero(Run, XK_a, why)) << why;
    EXPECT_EQ(ProgramErrors(Run), "");
}

TEST_F(GlBilliard, TheCloseBoxEndsIt) {
    PutTexture(EarthBytes());
    std::string why;
    ASSERT_TRUE(StartProgramWindow(Run, PROGRAM_PATH, "BILIARD 3D", why)) << why;
    ASSERT_TRUE(WaitUntil(SignalWaitMs, [&] { return LitCentre(Grab(Run, Width, Height)).Count > 1000; }));
    SendCloseRequest(Run.Driver, Run.Win);
    int status = -1;
    ASSERT_TRUE(WaitProgramStatus(Run, SignalWaitMs, status));
    EXPECT_EQ(status, 0);
}

TEST_F(GlBilliard, AMissingDamagedOrLyingTextureIsNamedAndEndsWithOne) {
    const std::string start = "disc_billiard_gl: cannot use the texture earth.bmp in " + Directory + ": ";
    ExpectRefused(start + "there is no such file");

    std::vector<uint8_t> bytes = EarthBytes();
    ASSERT_EQ(bytes.size(), 98358u);
    bytes.resize(1000);
    PutTexture(bytes);
    ExpectRefused(start + "its 256 x 128 pixels need 98358 bytes but the file has 1000");

    bytes = EarthBytes();
    bytes[22] = 0;
    bytes[23] = 0x10;  // height 4096
    PutTexture(bytes);
    ExpectRefused(start + "its 256 x 4096 pixels need 3145782 bytes but the file has 98358");

    bytes.resize(30);
    PutTexture(bytes);
    ExpectRefused(start + "it has 30 bytes, fewer than the 54-byte header");

    unlink("earth.bmp");
    ASSERT_EQ(mkdir("earth.bmp", 0700), 0);
    ExpectRefused(start + "it is a directory, not a file");
}

TEST_F(GlBilliard, WithoutOpenGlItSaysSoAndEndsWithOne) {
    PutTexture(EarthBytes());
    ExpectRefused("disc_billiard_gl: cannot open the window: OpenGL is unavailable",
                  {"__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent"});
}

TEST(GlBilliardAlone, WithoutADisplayItSaysSoAndEndsWithOne) { ExpectNoDisplayLine(PROGRAM_PATH, "disc_billiard_gl"); }

}  // namespace
