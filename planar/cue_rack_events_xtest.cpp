// cue_rack_events as a user meets it: the table, the rack and the cue ball,
// steered with the arrow keys, read back from the screen.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <string>

#include "mirror_program_test.h"
#include "test_support/program_test.h"

namespace {

constexpr const char* Caption = "FIZICA BILELOR";
constexpr TPixelRect Whole{0, 0, 799, 599};
// The rack's palette colours 15..8 as the standard palette shows them; 15 is
// white, as are the cue ball, the velocity lines and the walls.
constexpr uint32_t RackColours[8] = {0xFCFCFC, 0xFCFC54, 0xFC54FC, 0xFC5454,
                                     0x54FCFC, 0x54FC54, 0x8484FC, 0x545454};
constexpr TColorRange White = ExactColor(0xFCFCFC);

// The cue ball starts at (519.35, 299.5) and rolls left at about 24 px/s;
// on its row only the cue ball and its line are white between the rack
// (right of x 376) and the right wall (x 583).
constexpr TPixelRect CueRow{380, 290, 575, 309};

class RackProgram : public MirrorProgramTest {
protected:
    // The cue ball's centre x: its right edge is the row's rightmost white.
    int CueX() { return CountPixels(Run, White, CueRow).X2 - 10; }
    // White within a box below (or above) the cue ball, where its velocity
    // line lies once turned.
    TPixelCount LineBelow(int cueX) { return CountPixels(Run, White, {cueX - 45, 316, cueX + 5, 345}); }
    TPixelCount LineAbove(int cueX) { return CountPixels(Run, White, {cueX - 45, 254, cueX + 5, 283}); }
};

TEST_F(RackProgram, TheTableTheRackAndTheCueSteeredByTheArrows) {
    Start(Caption);
    // The left wall at x 119.85, from y 59.9 to 569.05.
    EXPECT_TRUE(WaitForPixels(Run, White, {118, 0, 121, 599}, [](const TPixelCount& c) {
        return c.Count >= 500 && c.Y1 == 60 && c.Y2 == 569;
    })) << "no left wall";
    for (uint32_t rgb : RackColours)
        EXPECT_GE(CountPixels(Run, ExactColor(rgb), {150, 170, 380, 430}).Count, 60) << std::hex << rgb;
    // The cue ball with one second's travel drawn left of it: 21 + 40 wide.
    TPixelCount row = CountPixels(Run, White, CueRow);
    EXPECT_GE(row.X2 - row.X1, 58);
    EXPECT_LE(row.X2 - row.X1, 62);
    EXPECT_GE(row.X2, 500);

    EXPECT_EQ(LineBelow(CueX()).Count, 0);
    PressKey(Run.Driver, XK_Left);  // turned 50 degrees: down and left on the screen
    EXPECT_TRUE(WaitUntil(SignalWaitMs, [&] { return LineBelow(CueX()).Count >= 10; })) << "Left did not turn the line";
    PressKey(Run.Driver, XK_Right);
    EXPECT_TRUE(WaitUntil(SignalWaitMs, [&] { return LineBelow(CueX()).Count == 0; }));
    PressKey(Run.Driver, XK_Right);
    EXPECT_TRUE(WaitUntil(SignalWaitMs, [&] { return LineAbove(CueX()).Count >= 10; })) << "Right did not turn the line";
    PressKey(Run.Driver, XK_Left);
    EXPECT_TRUE(WaitUntil(SignalWaitMs, [&] { return LineAbove(CueX()).Count == 0; }));

    for (int i = 0; i < 5; i++) PressKey(Run.Driver, XK_Down);  // 0.9 to the fifth: 0.59
    EXPECT_TRUE(WaitUntil(SignalWaitMs, [&] {
        TPixelCount c = CountPixels(Run, White, CueRow);
        return c.X2 - c.X1 <= 44 && c.X2 - c.X1 >= 36;
    })) << "Down did not shorten the line";

    // The close box is not Esc.
    SendCloseRequest(Run.Driver, Run.Win);
    EXPECT_TRUE(StillRunningAfter(Run, 500));
    std::string why;
    EXPECT_TRUE(KeyEndsWithZero(Run, XK_Escape, why)) << why;
}

TEST(RackProgramWithoutDisplay, SaysSoOnOneLineAndExitsWithOne) {
    std::string why;
    EXPECT_TRUE(FailsWithoutDisplay(PROGRAM_PATH, "cue_rack_events", why)) << why;
}

}  // namespace
