// box_scenarios as a user meets it: its window by caption, the scenarios
// told apart by their outline colours, Enter, a mouse drag, the close box,
// Esc, and a start without a display.
#include <cstdlib>

#include "rigid_program_xtest.h"

namespace {

constexpr const char* Caption = "INTERACTIUNEA CORPURILOR RIGIDE";
constexpr TPixelRect Whole{0, 0, 799, 599};

// Outline colours as the screen shows them: body i is drawn with palette
// entry 40 + i of the standard palette (6-bit levels times 4).
constexpr uint32_t FloorRed = 0xFC0000;      // entry 40, the floor (body 0)
constexpr uint32_t Entry41 = 0xFC4000;       // body 1: a triangle, a ramp or a box
constexpr uint32_t Entry49 = 0x00FC40;       // body 9: the top of a stack
constexpr uint32_t Entry50 = 0x00FC7C;       // body 10
constexpr uint32_t Entry85 = 0xFCB4E8;       // body 45: the top of the pyramid

// The scenario on the screen, -1 while it cannot be told:
// 4 alone has body 45; the wide body 1 is scenario 0's triangle (reaching the
// left edge) or scenario 1's top ramp; a stack (body 9 and no body 10) stands
// on a flat floor (2) or on a tilted one (3), whose top rises from y 589 to 470.
int ShownScenario(TProgramRun& run) {
    if (CountPixels(run, ExactColor(Entry85), Whole).Count > 0) return 4;
    const TPixelCount first = CountPixels(run, ExactColor(Entry41), Whole);
    if (first.Count > 0 && first.X2 - first.X1 > 250) return first.X1 < 20 ? 0 : 1;
    if (CountPixels(run, ExactColor(Entry49), Whole).Count > 0 &&
        CountPixels(run, ExactColor(Entry50), Whole).Count == 0) {
        const TPixelCount floor = CountPixels(run, ExactColor(FloorRed), {0, 400, 799, 599});
        return floor.Y1 < 520 ? 3 : 2;
    }
    return -1;
}

int WaitForScenario(TProgramRun& run) {
    int shown = -1;
    WaitUntil(SignalWaitMs, [&] { return (shown = ShownScenario(run)) >= 0; });
    return shown;
}

class BoxScenarios : public RigidProgramTest {
protected:
    void Start(const std::vector<std::string>& env = {}) { StartProgram(Caption, env); }

    // Enter until the scenario is one of the wanted.
    int EnterUntil(std::initializer_list<int> wanted) {
        for (int tries = 0; tries < 40; tries++) {
            const int shown = WaitForScenario(Run);
            for (int w : wanted)
                if (shown == w) return shown;
            PressKey(Run.Driver, XK_Return);
            Pause(150);
        }
        return -1;
    }

    // A stack or the pyramid, and where its top box is: the outline colour
    // of that box, its pixels.
    void FindTopBox(uint32_t& color, TPixelCount& box) {
        const int scenario = EnterUntil({2, 4});
        ASSERT_GE(scenario, 0);
        color = scenario == 4 ? Entry85 : Entry49;
        Pause(300);
        box = CountPixels(Run, ExactColor(color), Whole);
        ASSERT_GT(box.Count, 40);
    }

    // Holds the left button at (x, y) and takes the pointer to (x2, y2) in
    // steps, leaving it held.
    void GrabAndMove(int x, int y, int x2, int y2) {
        MovePointer(Run.Driver, Run.Win, x, y);
        Pause(60);
        HoldButton(Run.Driver, 1, true);
        Pause(60);
        for (int i = 1; i <= 10; i++) {
            MovePointer(Run.Driver, Run.Win, x + (x2 - x) * i / 10, y + (y2 - y) * i / 10);
            Pause(25);
        }
    }
};

TEST_F(BoxScenarios, TheFloorLiesAlongRow529AndEnterChangesTheScenario) {
    Start();
    const int first = EnterUntil({0, 1, 2, 4});  // a flat floor
    ASSERT_GE(first, 0) << "no scenario with a flat floor showed";
    // Bodies resting on it cover some of its top edge.
    const TPixelCount top = CountPixels(Run, ExactColor(FloorRed), {0, 529, 799, 529});
    EXPECT_GT(top.Count, 550);
    EXPECT_EQ(top.X1, 0);
    EXPECT_EQ(top.X2, 799);
    EXPECT_EQ(CountPixels(Run, ExactColor(FloorRed), {0, 440, 799, 528}).Count, 0);
    // Its sides run down from the top edge at x 0 and 799.
    EXPECT_GT(CountPixels(Run, ExactColor(FloorRed), {0, 530, 0, 599}).Count, 60);
    EXPECT_GT(CountPixels(Run, ExactColor(FloorRed), {799, 530, 799, 599}).Count, 60);

    int next = first;
    for (int tries = 0; tries < 30 && next == first; tries++) {
        PressKey(Run.Driver, XK_Return);
        Pause(150);
        next = WaitForScenario(Run);
    }
    EXPECT_NE(next, first) << "Enter never brought another scenario";
    EXPECT_GE(next, 0);
    EXPECT_TRUE(StillRunningAfter(Run, 100));
    EndWithEsc();
}

TEST_F(BoxScenarios, ATiltedFloorShowsInScenario3) {
    Start();
    ASSERT_EQ(EnterUntil({3}), 3);
    // Turned by 0.15 about (399.5, 579): the top edge runs from about
    // (12, 470) on the left down to (802, 589) past the right edge.
    const TPixelCount floor = CountPixels(Run, ExactColor(FloorRed), {0, 400, 799, 599});
    EXPECT_NEAR(floor.Y1, 470, 3);
    EXPECT_EQ(CountPixels(Run, ExactColor(FloorRed), {0, 529, 799, 529}).Count < 100, true);
    EndWithEsc();
}

TEST_F(BoxScenarios, ADragCarriesTheTopBoxAlong) {
    Start();
    uint32_t top = 0;
    TPixelCount box;
    ASSERT_NO_FATAL_FAILURE(FindTopBox(top, box));
    const int x = box.CenterX(), y = box.CenterY();
    GrabAndMove(x, y, x + 150, y - 120);
    EXPECT_TRUE(WaitForPixels(Run, ExactColor(top), Whole, [&](const TPixelCount& c) {
        return c.Count > 40 && std::abs(c.CenterX() - (x + 150)) <= 4 &&
               std::abs(c.CenterY() - (y - 120)) <= 4;
    })) << "the box does not follow the pointer";
    HoldButton(Run.Driver, 1, false);
    // Let go, it falls.
    EXPECT_TRUE(WaitForPixels(Run, ExactColor(top), Whole, [&](const TPixelCount& c) {
        return c.Count > 0 && c.CenterY() > y - 60;
    }));
    EndWithEsc();
}

// Past the window's left edge the pointer reads negative. Read unsigned it
// was 65,536 px away, and the box, flung there, could not follow the pointer
// back.
TEST_F(BoxScenarios, ADragOutOfTheWindowAndBackKeepsTheBoxWithThePointer) {
    Start();
    uint32_t top = 0;
    TPixelCount box;
    ASSERT_NO_FATAL_FAILURE(FindTopBox(top, box));
    GrabAndMove(box.CenterX(), box.CenterY(), -40, 200);
    Pause(200);
    // Held out there, the box stays at the left edge, where the bounce keeps it.
    const TPixelCount held = CountPixels(Run, ExactColor(top), Whole);
    EXPECT_GT(held.Count, 0) << "the box left the window";
    EXPECT_LT(held.CenterX(), 80);
    for (int i = 1; i <= 10; i++) {
        MovePointer(Run.Driver, Run.Win, -40 + 24 * i, 200);
        Pause(25);
    }
    EXPECT_TRUE(WaitForPixels(Run, ExactColor(top), Whole, [&](const TPixelCount& c) {
        return c.Count > 40 && std::abs(c.CenterX() - 200) <= 100 && std::abs(c.CenterY() - 200) <= 30;
    })) << "the box did not come back with the pointer";
    HoldButton(Run.Driver, 1, false);
    EndWithEsc();
}

TEST_F(BoxScenarios, TheCloseBoxLeavesItRunning) {
    Start();
    ASSERT_GE(WaitForScenario(Run), 0);
    SendCloseRequest(Run.Driver, Run.Win);
    EXPECT_TRUE(StillRunningAfter(Run, 500));
    EXPECT_GT(CountPixels(Run, ExactColor(FloorRed), Whole).Count, 0);
    EndWithEsc();
}

TEST_F(BoxScenarios, RunsWithoutOpenGl) {
    Start({"__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent"});
    EXPECT_GE(WaitForScenario(Run), 0);
    EndWithEsc();
}

TEST(BoxScenariosWithoutDisplay, SaysSoInOneLineAndEndsWithStatus1) {
    std::string why;
    EXPECT_TRUE(FailsWithoutDisplay(PROGRAM_PATH, "box_scenarios", why)) << why;
}

}  // namespace
