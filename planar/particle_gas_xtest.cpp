// particle_gas as a user meets it.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include "test_support/program_test.h"

namespace {

constexpr uint32_t Red = 0xFC0000;  // standard palette 207
constexpr TPixelRect Whole{0, 0, 799, 599};

struct TGasRun {
    TProgramRun Run;
    ~TGasRun() { EndProgramRun(Run); }
};

TEST(ParticleGas, AHundredRedCirclesAndAKeyEndsIt) {
    TGasRun gas;
    std::string why;
    ASSERT_TRUE(StartProgramWindow(gas.Run, PROGRAM_PATH, "PARTICULE", why)) << why;
    // A radius-10 circle has about 56 outline pixels: 100 of them, some crossing.
    EXPECT_TRUE(WaitForPixels(gas.Run, ExactColor(Red), Whole,
                              [](const TPixelCount& c) { return c.Count > 4000; }));
    EXPECT_TRUE(KeyEndsWithZero(gas.Run, XK_a, why)) << why;
}

TEST(ParticleGas, TheCloseBoxEndsIt) {
    TGasRun gas;
    std::string why;
    ASSERT_TRUE(StartProgramWindow(gas.Run, PROGRAM_PATH, "PARTICULE", why)) << why;
    SendCloseRequest(gas.Run.Driver, gas.Run.Win);
    int status = -1;
    ASSERT_TRUE(WaitProgramStatus(gas.Run, SignalWaitMs, status));
    EXPECT_EQ(status, 0);
}

TEST(ParticleGas, WithoutADisplayOneLineAndStatusOne) {
    std::string why;
    EXPECT_TRUE(FailsWithoutDisplay(PROGRAM_PATH, "particle_gas", why)) << why;
}

}  // namespace
