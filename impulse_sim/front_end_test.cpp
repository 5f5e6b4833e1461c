#include "front_end.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "headless_pages.h"
#include "scenes.h"
#include "world_drawing.h"

namespace {

class FrontEnd : public ::testing::Test {
protected:
    void SetUp() override {
        OpenHeadlessPages(800, 600, true);
        SceneNumber = 1;
        BeginScene(7);
    }
    void TearDown() override { CloseHeadlessPages(); }

    static void Press(uint8_t key, int times = 1) {
        for (int i = 0; i < times; i++) DispatchKey(key);
    }
};

TEST_F(FrontEnd, ZoomAndIterationsStayInTheirRanges) {
    Press(KeyUp, 9);
    EXPECT_EQ(ViewZoom, 34);
    Press('H', 2);  // the typed character of the same value zooms as well
    EXPECT_EQ(ViewZoom, MaxViewZoom);
    Press(KeyDown, 40);
    EXPECT_EQ(ViewZoom, MinViewZoom);

    Press(KeyRight, 39);
    EXPECT_EQ(SolverIterations, 49);
    Press(KeyRight, 5);
    EXPECT_EQ(SolverIterations, MaxIterations);
    Press(KeyLeft, 60);
    EXPECT_EQ(SolverIterations, MinIterations);
}

TEST_F(FrontEnd, EachToggleFlipsItsOwnSwitch) {
    struct {
        uint8_t Key;
        bool* Switch;
    } toggles[] = {{'a', &AccumulateImpulses}, {'c', &WarmStarting},
                   {'p', &PositionCorrection}, {'s', &SplitImpulses}};
    for (const auto& t : toggles) {
        bool before[4] = {AccumulateImpulses, WarmStarting, PositionCorrection, SplitImpulses};
        Press(t.Key);
        bool after[4] = {AccumulateImpulses, WarmStarting, PositionCorrection, SplitImpulses};
        for (int i = 0; i < 4; i++)
            EXPECT_EQ(after[i], toggles[i].Switch == t.Switch ? !before[i] : before[i])
                << "key " << t.Key << ", switch " << i;
    }
}

TEST_F(FrontEnd, ProjectileKeys) {
    Press(KeySpace);
    ASSERT_TRUE(ProjectileActive);
    ASSERT_EQ(WorldBodyCount, 3);
    Press(KeySpace);  // replaces the first throw
    EXPECT_EQ(WorldBodyCount, 3);

    TVec2 v = WorldBodies[3].Velocity;
    Press('m');
    Press('x', 3);
    Press('z');
    EXPECT_DOUBLE_EQ(WorldBodies[3].Velocity.Y, v.Y + 10);
    EXPECT_DOUBLE_EQ(WorldBodies[3].Velocity.X, v.X + 2);

    Press('b');  // the projectile stays as an ordinary body
    EXPECT_FALSE(ProjectileActive);
    Press('m');
    EXPECT_DOUBLE_EQ(WorldBodies[3].Velocity.Y, v.Y + 10);
    Press(KeySpace);
    EXPECT_EQ(WorldBodyCount, 4);
}

TEST_F(FrontEnd, AFullWorldTakesNoProjectile) {
    while (WorldBodyCount < WorldCapacity) {
        Press(KeySpace);
        Press('b');
    }
    TVec2 v = WorldBodies[WorldCapacity].Velocity;
    Press(KeySpace);
    EXPECT_FALSE(ProjectileActive);  // the last body is not a projectile
    Press('m');
    EXPECT_DOUBLE_EQ(WorldBodies[WorldCapacity].Velocity.Y, v.Y);
}

TEST_F(FrontEnd, RestartKeepsSettingsAndSceneStartRestoresDefaults) {
    SceneNumber = 5;
    BeginScene(7);
    Press(KeyRight, 3);
    Press(KeyDown, 2);
    Press('c');
    Press('a');
    Press(KeySpace);
    WorldBodies[2].Position = {50, 50};
    Press('r');
    EXPECT_EQ(WorldBodyCount, 29);
    EXPECT_FALSE(ProjectileActive);
    EXPECT_EQ(WorldBodies[2].Position.Y, 0.75);
    EXPECT_EQ(SolverIterations, 13);
    EXPECT_EQ(ViewZoom, 23);
    EXPECT_TRUE(WarmStarting);
    EXPECT_FALSE(AccumulateImpulses);

    ASSERT_TRUE(EndsFrameLoop(KeyF1));
    SceneNumber = SceneAfterKey(SceneNumber, KeyF1);
    BeginScene(8);
    EXPECT_EQ(SceneNumber, 5);
    EXPECT_EQ(SolverIterations, DefaultIterations);
    EXPECT_EQ(ViewZoom, DefaultViewZoom);
    EXPECT_TRUE(PositionCorrection && AccumulateImpulses);
    EXPECT_FALSE(WarmStarting || SplitImpulses);
}

TEST(SceneKeys, EnterAndBackspaceWrapAndOnlyFourKeysEndTheFrameLoop) {
    EXPECT_EQ(SceneAfterKey(1, KeyEnter), 2);
    EXPECT_EQ(SceneAfterKey(SceneCount, KeyEnter), 1);
    EXPECT_EQ(SceneAfterKey(1, KeyBackspace), SceneCount);
    EXPECT_EQ(SceneAfterKey(6, KeyBackspace), 5);
    for (int key = 0; key < 256; key++)
        EXPECT_EQ(EndsFrameLoop(static_cast<uint8_t>(key)),
                  key == 27 || key == 13 || key == 59 || key == 8)
            << key;
}

// Bodies, settings and view as the keys of a frame may change them.
struct TFrontState {
    std::vector<TWorldBody> Bodies;
    int32_t Joints, Iterations;
    bool Switches[4], Projectile;
    double Zoom, OriginX, OriginY;
    int32_t Scene;
};

TFrontState FrontState() {
    return {{WorldBodies.begin() + 1, WorldBodies.begin() + 1 + WorldBodyCount},
            WorldJointCount,
            SolverIterations,
            {AccumulateImpulses, WarmStarting, PositionCorrection, SplitImpulses},
            ProjectileActive,
            ViewZoom,
            ViewOriginX,
            ViewOriginY,
            SceneNumber};
}

bool SameState(const TFrontState& a, const TFrontState& b) {
    return a.Bodies.size() == b.Bodies.size() &&
           std::memcmp(a.Bodies.data(), b.Bodies.data(), a.Bodies.size() * sizeof(TWorldBody)) == 0 &&
           a.Joints == b.Joints && a.Iterations == b.Iterations &&
           std::equal(std::begin(a.Switches), std::end(a.Switches), std::begin(b.Switches)) &&
           a.Projectile == b.Projectile && a.Zoom == b.Zoom && a.OriginX == b.OriginX &&
           a.OriginY == b.OriginY && a.Scene == b.Scene;
}

// Every key value but the listed ones, the close request 107 among them,
// leaves a world with a live projectile exactly as it was.
TEST_F(FrontEnd, UnlistedKeysChangeNothing) {
    Press(KeySpace);
    Press(KeyRight, 2);
    ASSERT_TRUE(ProjectileActive);
    const std::set<int> acting = {32, 72, 80, 77, 75, 'a', 'c', 'p', 's', 'b', 'm', 'x', 'z', 'r'};
    const TFrontState before = FrontState();
    for (int key = 0; key < 256; key++) {
        if (acting.count(key)) continue;
        Press(static_cast<uint8_t>(key));
        EXPECT_TRUE(SameState(FrontState(), before)) << "key " << key;
    }
}

TEST_F(FrontEnd, StatusLineOfSceneOneAtStart) {
    TStatusText text;
    FormatStatusLine(text);
    EXPECT_STREQ(text.data(),
                 "Corpuri=2, Iteratii=10, Start cald=Nu, Pozitie corectata=Da, "
                 "Acumulare impuls=Da, Sparge impuls=Nu");
}

TEST_F(FrontEnd, DragMovesTheNearestBodyStaticOnesIncluded) {
    // Scene 1: the ground's centre at (0, -10), the box at (0, 4).
    const double pixel = 1 / ViewZoom;
    DragNearestBody(WindowX(0.3), WindowY(3));
    TVec2 p = WorldBodies[2].Position;
    EXPECT_NEAR(p.X, 0.3, pixel);
    EXPECT_NEAR(p.Y, 3, pixel);
    DragNearestBody(WindowX(2), WindowY(-7));
    EXPECT_NEAR(WorldBodies[1].Position.X, 2, pixel);
    EXPECT_NEAR(WorldBodies[1].Position.Y, -7, pixel);
}

}  // namespace

namespace {

// The colours a frame leaves on its draw page.
std::set<uint8_t> DrawPageColours() {
    const auto& pixels = Pages[static_cast<size_t>(FramePage)].Pixels;
    return {pixels.begin(), pixels.end()};
}

// Every role of the picture in its named colour, each given a value of its own
// (the status line needs the fonts of a real window: the end-to-end test
// reads its yellow).
TEST(FrameColours, EachRoleDrawsInItsNamedColour) {
    OpenHeadlessPages(800, 600, true);
    NamedColors[250] = 1;  // white: dynamic bodies
    NamedColors[125] = 2;  // light cyan: static bodies
    NamedColors[128] = 3;  // light green: the projectile
    NamedColors[105] = 4;  // green: joints
    NamedColors[131] = 5;  // light red: contact points
    FramePage = 0;
    SceneNumber = 6;  // the pendulum, nothing touching yet
    BeginScene(7);
    RunFrame(FullStyle);
    EXPECT_EQ(DrawPageColours(), (std::set<uint8_t>{0, 1, 2, 4}));

    SceneNumber = 1;
    BeginScene(7);
    WorldBodies[2].Position = {0, 0.4};  // the box sunk into the ground a little
    DispatchKey(KeySpace);
    RunFrame(FullStyle);
    EXPECT_EQ(DrawPageColours(), (std::set<uint8_t>{0, 1, 2, 3, 5}));
    CloseHeadlessPages();
}

}  // namespace

namespace {

// Each program chooses its HugeReal before anything else, so a run that
// cannot open its window has chosen it all the same.
TEST(ProgramStart, EachProgramChoosesItsHugeReal) {
    const char* saved = std::getenv("DISPLAY");
    const std::string display = saved ? saved : "";
    unsetenv("DISPLAY");
    EXPECT_EQ(RunSimulator(BasicStyle), 1);
    EXPECT_EQ(HugeReal, 1e40L);
    EXPECT_EQ(HugeRealStored, 1e40);
    EXPECT_EQ(RunSimulator(FullStyle), 1);
    EXPECT_EQ(HugeReal, 1e30L);
    EXPECT_EQ(HugeRealStored, 1e30);
    if (saved) setenv("DISPLAY", display.c_str(), 1);
}

}  // namespace
