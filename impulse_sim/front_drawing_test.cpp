#include "world_drawing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "headless_pages.h"
#include "scenes.h"

namespace {

class WorldDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        OpenHeadlessPages(800, 600, true);
        ResetView();
        ProjectileActive = false;
        NamedColors[DynamicBodyColor] = 1;
        NamedColors[StaticBodyColor] = 2;
        NamedColors[ProjectileColor] = 3;
        TRandomSource random;
        SeedRandom(random, 1);
        ClearWorld();
        BuildScene(1, random);  // the ground and a box 1 x 1 at (0, 4)
    }
    void TearDown() override { CloseHeadlessPages(); }

    // The one colour on the page, 0 when there is none or more than one.
    static uint8_t PageColor() {
        uint8_t found = 0;
        for (uint8_t p : Pages[0].Pixels) {
            if (p == 0 || p == found) continue;
            if (found != 0) return 0;
            found = p;
        }
        return found;
    }
};

TEST_F(WorldDrawing, OriginMapsToTheMiddleAndFiftyPixelsAboveTheBottom) {
    EXPECT_EQ(ViewOriginX, 399.5);
    EXPECT_EQ(WindowX(0), 400);  // 399.5: halves go to even
    EXPECT_EQ(WindowX(1), 424);  // 424.5
    EXPECT_EQ(WindowY(0), 549);
    EXPECT_EQ(WindowY(2), 499);
    TVec2 w = WindowToWorld(400, 499);
    EXPECT_DOUBLE_EQ(w.X, 0.02);
    EXPECT_DOUBLE_EQ(w.Y, 2);
}

TEST_F(WorldDrawing, FarAndInvalidPointsSaturateBeforeTheLowSixteenBits) {
    EXPECT_EQ(WindowX(1e300), -1);  // 2147483647 = 0x7FFFFFFF
    EXPECT_EQ(WindowX(-1e300), 1);  // -2147483647 = 0x80000001
    EXPECT_EQ(WindowX(std::numeric_limits<double>::quiet_NaN()), 0);
    // 599 + 2147483647 does not fit 32 bits; the low 16 bits still follow it.
    EXPECT_EQ(WindowY(-1e300), static_cast<int16_t>((599 + 0x7FFFFFFFLL) & 0xFFFF));
    EXPECT_EQ(WindowY(1e300), static_cast<int16_t>((599 - 0x7FFFFFFFLL) & 0xFFFF));
}

TEST_F(WorldDrawing, BodiesTakeTheirColoursAndPlaces) {
    DrawBody(WorldBodies[2], NamedColors[DynamicBodyColor]);
    EXPECT_EQ(PageColor(), 1);
    TPixelBox box = PagePixelBox();
    // Corners at x 399.5 -+ 12.5 and heights 87.5 + 50 and 112.5 + 50.
    EXPECT_EQ(box.X1, 387);
    EXPECT_EQ(box.X2, 412);
    EXPECT_EQ(box.Y1, 599 - 162);
    EXPECT_EQ(box.Y2, 599 - 138);

    ProjectileActive = true;  // the box is the last body
    DrawBody(WorldBodies[2], NamedColors[DynamicBodyColor]);
    EXPECT_EQ(PageColor(), 3);

    ClearWholeWindow();
    DrawBody(WorldBodies[1], NamedColors[DynamicBodyColor]);  // static
    EXPECT_EQ(PageColor(), 2);
    EXPECT_EQ(PagePixelBox().Y1, 549);  // its top face is y = 0
}

TEST_F(WorldDrawing, CircleWithItsRadiusLine) {
    TWorldBody circle;
    InitBody(1, circle, 2, 2, 1, 0, 4, 0, 0, 0, 0, 0, 0.2, std::acos(-1.0) / 2);
    DrawBody(circle, NamedColors[DynamicBodyColor]);
    TPixelBox box = PagePixelBox();
    EXPECT_EQ(box.Width(), 51);  // radius 25 about x 400
    EXPECT_EQ(box.X1, 375);
    // The radius line points up: pixels inside the circle above the centre.
    EXPECT_NE(Pages[0].Pixels[static_cast<size_t>((WindowY(4) - 12) * 800 + 400)], 0);
    EXPECT_EQ(Pages[0].Pixels[static_cast<size_t>((WindowY(4) + 12) * 800 + 400)], 0);
}

TEST_F(WorldDrawing, JointRunsFromBodyOneThroughTheAnchorToBodyTwo) {
    TRandomSource random;
    SeedRandom(random, 1);
    ClearWorld();
    BuildScene(6, random);  // ground, box at (9, 11), pin at (0, 11)
    DrawJoint(WorldJoints[1], 5);
    EXPECT_EQ(PageColor(), 5);
    TPixelBox box = PagePixelBox();
    EXPECT_EQ(box.X1, 400);
    EXPECT_EQ(box.X2, WindowX(9));
    EXPECT_EQ(box.Y1, WindowY(11));
    EXPECT_EQ(box.Y2, 599);  // towards the ground's centre, below the window
}

TEST_F(WorldDrawing, ContactPointsAreSmallCircles) {
    TContactPoints contacts{};
    contacts[0].Position = {0, 0};
    contacts[1].Position = {4, 0};
    DrawContacts(contacts, 1, 6);
    EXPECT_EQ(PageColor(), 6);
    TPixelBox box = PagePixelBox();
    EXPECT_EQ(box.X1, 399);
    EXPECT_EQ(box.X2, 401);
    EXPECT_EQ(box.Y1, 548);
    EXPECT_EQ(box.Y2, 550);
    DrawContacts(contacts, 2, 6);
    EXPECT_EQ(PagePixelBox().X2, WindowX(4) + 1);
}

}  // namespace
