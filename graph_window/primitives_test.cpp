// Drawing state and primitives on headless pages, checked pixel by pixel.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "headless_pages.h"

namespace {

constexpr int W = 200, H = 150;
constexpr uint8_t White = 15, Black = 0;

uint8_t Px(int x, int y) { return Pages[0].Pixels[static_cast<size_t>(y * W + x)]; }
uint32_t Px32(int x, int y) {
    return reinterpret_cast<const uint32_t*>(Pages[0].Pixels.data())[static_cast<size_t>(y * W + x)];
}

int CountNonZero() {
    int n = 0;
    for (uint8_t v : Pages[0].Pixels) n += v != 0;
    return n;
}


void ExpectBox(int x1, int y1, int x2, int y2) {
    const TPixelBox b = PagePixelBox();
    EXPECT_EQ(b.X1, x1);
    EXPECT_EQ(b.Y1, y1);
    EXPECT_EQ(b.X2, x2);
    EXPECT_EQ(b.Y2, y2);
}

class Primitives : public ::testing::Test {
protected:
    void SetUp() override { OpenHeadlessPages(W, H, true); }
    void TearDown() override { CloseHeadlessPages(); }
};

TEST_F(Primitives, DefaultPenSegmentsDrawBothEndPoints) {
    DrawSegment(10, 10, 20, 15);
    EXPECT_EQ(Px(10, 10), White);
    EXPECT_EQ(Px(20, 15), White);
    EXPECT_EQ(CountNonZero(), 11);
    EXPECT_EQ(PenX, 20);
    EXPECT_EQ(PenY, 15);

    OpenHeadlessPages(W, H, true);
    DrawSegment(10, 10, 10, 10);
    EXPECT_EQ(CountNonZero(), 1);
    EXPECT_EQ(Px(10, 10), White);

    // A wide pen covers its end points with round caps, a 5-wide pen 5 rows.
    OpenHeadlessPages(W, H, true);
    SetStrokeStyle(0, 0, 5);
    DrawSegment(50, 50, 80, 50);
    ExpectBox(48, 48, 82, 52);
}

TEST_F(Primitives, UserPatternLinesWalkEveryPointButTheLast) {
    SetStrokeStyle(5, 0xFFFF, 1);
    DrawSegment(0, 0, 5, 0);
    for (int x = 0; x < 5; ++x) EXPECT_EQ(Px(x, 0), White) << x;
    EXPECT_EQ(Px(5, 0), Black);

    SetStrokeStyle(5, 0xAAAA, 1);
    DrawSegment(0, 2, 8, 2);
    for (int x = 0; x <= 8; ++x) EXPECT_EQ(Px(x, 2), (x % 2 == 1) ? White : Black) << x;

    // The pattern restarts at bit 0 with each line.
    SetStrokeStyle(5, 0x0001, 1);
    MovePenTo(0, 4);
    DrawLineTo(3, 4);
    DrawLineTo(6, 4);
    EXPECT_EQ(Px(0, 4), White);
    EXPECT_EQ(Px(3, 4), White);
    EXPECT_EQ(Px(1, 4) + Px(2, 4) + Px(4, 4) + Px(5, 4) + Px(6, 4), 0);

    // Pattern 0 draws nothing but still moves the pen.
    SetStrokeStyle(5, 0, 1);
    const int before = CountNonZero();
    DrawSegment(10, 10, 50, 30);
    EXPECT_EQ(CountNonZero(), before);
    EXPECT_EQ(PenX, 50);
    EXPECT_EQ(PenY, 30);
}

TEST_F(Primitives, NullStylesDrawNoOutline) {
    SetStrokeStyle(5, 0xFFFF, 1);
    DrawCircle(50, 50, 20);
    SetStrokeStyle(6, 0, 1);
    DrawSegment(10, 10, 60, 10);
    DrawCircle(50, 50, 20);
    EXPECT_EQ(CountNonZero(), 0);
}

TEST_F(Primitives, DashedPensKeepTheirPatternAlongTheLine) {
    // One period of each dashed style, '#' drawn and '.' left.
    const struct {
        uint16_t Style;
        const char* Period;
    } dashes[] = {
        {1, "###..."},
        {2, "#########......###......"},
        {3, "##################......"},
        {4, "#########...###...###..."},
    };
    for (const auto& dash : dashes) {
        OpenHeadlessPages(W, H, true);
        SetStrokeStyle(dash.Style, 0, 1);
        DrawSegment(0, 5, 72, 5);
        const std::string period = dash.Period;
        for (int x = 0; x < 72; ++x)
            EXPECT_EQ(Px(x, 5), period[x % period.size()] == '#' ? White : Black)
                << "style " << dash.Style << " pixel " << x;
        EXPECT_EQ(Px(72, 5), White) << "the end point of a one-pixel pen, style " << dash.Style;
    }
}

TEST_F(Primitives, FillBoxTakesCornersInAnyOrderAndCopiesTheBrush) {
    FillBox(5, 5, 2, 2);
    EXPECT_EQ(CountNonZero(), 16);
    for (int y = 2; y <= 5; ++y)
        for (int x = 2; x <= 5; ++x) EXPECT_EQ(Px(x, y), White);
    SetRasterMode(1);  // exclusive-or does not apply to a box
    FillBox(2, 2, 5, 5);
    EXPECT_EQ(CountNonZero(), 16);
}

TEST_F(Primitives, ArcsRunCounterClockwiseFromStartToEnd) {
    DrawEllipseArc(50, 50, 0, 90, 10, 10);
    EXPECT_EQ(Px(60, 50), White);
    EXPECT_EQ(Px(50, 40), White);
    EXPECT_EQ(Px(40, 50), Black);
    EXPECT_EQ(Px(50, 60), Black);
    ExpectBox(50, 40, 60, 50);

    // 90 to 0 is the other three quarters.
    OpenHeadlessPages(W, H, true);
    DrawEllipseArc(50, 50, 90, 0, 10, 10);
    EXPECT_EQ(Px(40, 50), White);
    EXPECT_EQ(Px(50, 60), White);
    EXPECT_EQ(Px(57, 43), Black);

    // Equal start and end: the whole ellipse, its box centre +- radius.
    OpenHeadlessPages(W, H, true);
    DrawCircle(50, 50, 20);
    ExpectBox(30, 30, 70, 70);
    EXPECT_EQ(Px(50, 50), Black);
    OpenHeadlessPages(W, H, true);
    DrawEllipseArc(50, 50, 45, 45, 8, 4);
    ExpectBox(42, 46, 58, 54);
}

TEST_F(Primitives, EllipsesFillTheirInclusiveBox) {
    FillEllipseShape(50, 50, 0, 0);
    EXPECT_EQ(CountNonZero(), 1);
    EXPECT_EQ(Px(50, 50), White);

    OpenHeadlessPages(W, H, true);
    SetAreaFill(1, 3);
    FillEllipseShape(50, 50, 10, 5);
    ExpectBox(40, 45, 60, 55);
    EXPECT_EQ(Px(50, 50), 3);      // brush inside
    EXPECT_EQ(Px(40, 50), White);  // pen on the outline

    // A flat ellipse still reaches both ends of its box.
    OpenHeadlessPages(W, H, true);
    DrawEllipseArc(100, 50, 0, 360, 40, 1);
    EXPECT_EQ(Px(60, 50), White);
    EXPECT_EQ(Px(140, 50), White);
}

TEST_F(Primitives, ExclusiveOrTwiceRestoresThePage) {
    std::mt19937 rng(7);
    for (uint8_t& v : Pages[0].Pixels) v = static_cast<uint8_t>(rng());
    const std::vector<uint8_t> original = BytesNow(Pages[0].Pixels);
    SetRasterMode(1);
    SetDrawColor(0x5A);
    SetAreaFill(4, 0x33);
    const std::array<TPolyPoint, 5> star = {{{100, 10}, {130, 100}, {55, 45}, {145, 45}, {70, 100}}};
    for (int pass = 0; pass < 2; ++pass) {
        SetStrokeStyle(0, 0, 1);
        DrawCircle(60, 60, 25);
        DrawEllipseArc(60, 60, 30, 200, 30, 15);
        FillEllipseShape(120, 70, 30, 20);
        FillPolygonShape(5, star.data());
        SetStrokeStyle(2, 0, 1);
        FillEllipseShape(40, 100, 12, 30);
        SetStrokeStyle(0, 0, 4);
        DrawSegment(5, 140, 190, 5);
        FillEllipseShape(150, 110, 20, 20);
        FillPolygonShape(5, star.data());
    }
    EXPECT_EQ(BytesNow(Pages[0].Pixels), original);

    // A one-pixel pen adds its end point as a plain copy: drawn twice, only
    // that pixel keeps the drawing colour.
    SetStrokeStyle(0, 0, 1);
    DrawSegment(10, 10, 40, 20);
    DrawSegment(10, 10, 40, 20);
    for (size_t i = 0; i < original.size(); ++i) {
        if (i == 20 * W + 40) continue;
        ASSERT_EQ(Pages[0].Pixels[i], original[i]) << i;
    }
    EXPECT_EQ(Px(40, 20), 0x5A);
}

TEST_F(Primitives, HatchesRepeatEveryEightPixelsFromThePageOrigin) {
    for (uint16_t style = 2; style <= 7; ++style) {
        OpenHeadlessPages(W, H, true);
        SetAreaFill(style, White);
        FillBox(3, 5, 60, 60);
        for (int y = 5; y + 8 <= 60; ++y)
            for (int x = 3; x + 8 <= 60; ++x) {
                ASSERT_EQ(Px(x, y), Px(x + 8, y)) << style;
                ASSERT_EQ(Px(x, y), Px(x, y + 8)) << style;
            }
    }
    // Horizontal: row 7 of each tile; the gaps show the background only when opaque.
    OpenHeadlessPages(W, H, true);
    SetBackgroundColor(4);
    SetAreaFill(2, White);
    FillBox(0, 0, 15, 15);
    EXPECT_EQ(Px(3, 7), White);
    EXPECT_EQ(Px(3, 15), White);
    EXPECT_EQ(Px(3, 6), Black);
    SetRasterMode(16);
    FillBox(0, 0, 15, 15);
    EXPECT_EQ(Px(3, 6), 4);
    // Vertical: column 4 of each tile.
    SetAreaFill(3, White);
    FillBox(20, 20, 40, 40);
    EXPECT_EQ(Px(28, 25), White);
    EXPECT_EQ(Px(29, 25), 4);
}

TEST_F(Primitives, FillBitmapTilesAlignToThePageOrigin) {
    SetBackgroundColor(2);
    DefineFillBitmap({0x80, 0, 0, 0, 0, 0, 0, 0}, White);
    SetBackgroundColor(6);  // the bitmap keeps the background it was made with
    FillBox(3, 3, 30, 30);
    for (int y = 3; y <= 30; ++y)
        for (int x = 3; x <= 30; ++x)
            EXPECT_EQ(Px(x, y), (x % 8 == 0 && y % 8 == 0) ? White : 2) << x << "," << y;
    EXPECT_EQ(AreaFillSettings.Style, 8);
}

TEST_F(Primitives, PortsMoveTheOriginAndClip) {
    DefineDrawPort(100, 50, 150, 100, false);
    EXPECT_EQ(PenX, 0);
    EXPECT_EQ(CurrentPosX, 100);
    PlotPixel(0, 0, White);
    EXPECT_EQ(Px(100, 50), White);
    FillBox(60, 60, 70, 70);  // no clipping: reaches beyond the port
    EXPECT_EQ(Px(170, 110), White);

    OpenHeadlessPages(W, H, true);
    DefineDrawPort(10, 20, 30, 25, true);
    FillBox(-100, -100, 100, 100);
    SetStrokeStyle(0, 0, 9);
    DrawSegment(-50, -50, 90, 90);
    FillEllipseShape(5, 5, 60, 60);
    ExpectBox(10, 20, 30, 25);
    EXPECT_EQ(CountNonZero(), 21 * 6);

    OpenHeadlessPages(W, H, true);
    DefineDrawPort(10, 10, 10, 10, true);
    ClearPortArea();
    FillBox(-5, -5, 5, 5);
    EXPECT_EQ(CountNonZero(), 1);
    DefineDrawPort(10, 0, 9, 5, false);
    EXPECT_EQ(ResultCode, -7);
    EXPECT_EQ(DrawPort.X1, 10);
    EXPECT_TRUE(DrawPort.Clip);

    // The origin is added in 16 bits: -32758 + -32768 wraps to 10.
    OpenHeadlessPages(W, H, true);
    DefineDrawPort(-32768, 0, 100, 100, false);
    PlotPixel(-32758, 5, White);
    EXPECT_EQ(Px(10, 5), White);
    DrawSegment(-32758, 20, -32748, 20);
    EXPECT_EQ(Px(10, 20), White);
    EXPECT_EQ(Px(20, 20), White);
}

TEST_F(Primitives, ClearWholeWindowKeepsThePort) {
    SetBackgroundColor(9);
    DefineDrawPort(20, 20, 40, 40, true);
    MovePenTo(5, 5);
    ClearWholeWindow();
    for (uint8_t v : Pages[0].Pixels) ASSERT_EQ(v, 9);
    EXPECT_EQ(DrawPort.X1, 20);
    EXPECT_TRUE(DrawPort.Clip);
    EXPECT_EQ(PenX, 0);
    EXPECT_EQ(CurrentPosX, 20);
    EXPECT_EQ(AreaFillSettings.Color, static_cast<uint32_t>(White));
}

TEST_F(Primitives, PolygonsFillEvenOddAndNeedTwoPoints) {
    const std::array<TPolyPoint, 5> star = {{{100, 10}, {130, 100}, {55, 45}, {145, 45}, {70, 100}}};
    FillPolygonShape(1, star.data());
    EXPECT_EQ(ResultCode, -7);
    EXPECT_EQ(CountNonZero(), 0);

    SetStrokeStyle(6, 0, 1);
    SetAreaFill(1, 3);
    FillPolygonShape(5, star.data());
    EXPECT_EQ(Px(100, 60), Black);  // the centre crosses two edges
    EXPECT_EQ(Px(100, 30), 3);      // a tip crosses one

    OpenHeadlessPages(W, H, true);
    const std::array<TPolyPoint, 2> two = {{{10, 10}, {40, 25}}};
    FillPolygonShape(2, two.data());
    EXPECT_EQ(ResultCode, 0);
    EXPECT_EQ(Px(10, 10), White);
    EXPECT_EQ(Px(40, 25), White);
    const TPixelBox b = PagePixelBox();
    EXPECT_EQ(b.X1, 10);
    EXPECT_EQ(b.X2, 40);

    // A square polygon: the outline through the corners, the brush inside.
    OpenHeadlessPages(W, H, true);
    SetAreaFill(1, 3);
    const std::array<TPolyPoint, 4> square = {{{0, 0}, {4, 0}, {4, 4}, {0, 4}}};
    DefineDrawPort(10, 10, 100, 100, false);
    FillPolygonShape(4, square.data());
    EXPECT_EQ(CountNonZero(), 25);
    EXPECT_EQ(Px(12, 12), 3);
    EXPECT_EQ(Px(14, 14), White);
}

TEST_F(Primitives, RasterModesAndTheirChecks) {
    SetRasterMode(-16);
    EXPECT_EQ(ResultCode, -7);
    SetRasterMode(-1);
    EXPECT_EQ(ResultCode, -7);
    SetRasterMode(33);
    EXPECT_EQ(ResultCode, -7);
    EXPECT_EQ(CurrentPaint.Rop, RopCopyPen);
    SetRasterMode(17);
    EXPECT_EQ(ResultCode, 0);
    EXPECT_EQ(CurrentPaint.Rop, RopXorPen);
    EXPECT_TRUE(CurrentPaint.Opaque);

    // Operations on indices stay within the driver's bits; PlotPixel ignores them.
    OpenHeadlessPages(W, H, true, 16);
    SetRasterMode(5);  // not
    SetStrokeStyle(0, 0, 3);
    DrawSegment(10, 10, 20, 10);
    EXPECT_EQ(Px(15, 10), 15);
    PlotPixel(30, 30, 5);
    EXPECT_EQ(Px(30, 30), 5);
    SetRasterMode(13);  // black
    DrawSegment(10, 10, 20, 10);
    EXPECT_EQ(Px(15, 10), 0);
    SetRasterMode(14);  // white: every bit of a 16-colour index
    DrawSegment(10, 10, 20, 10);
    EXPECT_EQ(Px(15, 10), 15);
}

TEST_F(Primitives, TrueColourStoresRgbWords) {
    OpenHeadlessPages(W, H, false);
    SetDrawColor(0x0000FF);  // red as a colour value: red lowest
    DrawSegment(0, 0, 10, 0);
    EXPECT_EQ(Px32(5, 0), 0xFF0000u);
    SetRasterMode(1);
    SetDrawColor(0xFFFFFF);
    DrawSegment(0, 0, 10, 0);
    EXPECT_EQ(Px32(5, 0), 0x00FFFFu);
    SetAreaFill(1, 0x00FF00);
    FillBox(20, 20, 22, 22);
    EXPECT_EQ(Px32(21, 21), 0x00FF00u);
    // Whole-page clears in a colour whose four bytes differ, the second over
    // a line drawn since the first.
    SetBackgroundColor(0x563412);
    ClearWholeWindow();
    DrawSegment(0, 5, W - 1, 5);
    ClearWholeWindow();
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) ASSERT_EQ(Px32(x, y), 0x123456u) << x << "," << y;
}

TEST_F(Primitives, AspectFactorsScaleRadii) {
    SetAspectScale(20000, 10000);
    DrawCircle(50, 50, 10);
    ExpectBox(45, 40, 55, 60);
    SetAspectScale(0, 10000);  // no division by zero: that axis stays unscaled
    DrawCircle(50, 50, 10);
    ExpectBox(40, 40, 60, 60);
}

TEST_F(Primitives, WithoutAWindowNothingIsDrawn) {
    CloseHeadlessPages();
    SetDrawColor(3);
    EXPECT_EQ(ResultCode, -1);
    EXPECT_EQ(DrawColor, 3u);
    DrawSegment(1, 1, 50, 50);
    EXPECT_EQ(ResultCode, -1);
    FillBox(0, 0, 10, 10);
    EXPECT_EQ(ResultCode, -1);
    const std::array<TPolyPoint, 3> tri = {{{0, 0}, {9, 0}, {0, 9}}};
    FillPolygonShape(3, tri.data());
    EXPECT_EQ(ResultCode, -1);
    ClearWholeWindow();
    EXPECT_EQ(ResultCode, -1);
    EXPECT_EQ(CountNonZero(), 0);
}

// Thousands of random primitives with random state near the 16-bit limits,
// on a page with bytes after it: nothing outside the clipping port or the
// page changes.
TEST_F(Primitives, WholeWindowClearsLeaveNothingOfWhatWasDrawn) {
    const auto expectAll = [](uint8_t value, const char* when) {
        for (size_t k = 0; k < Pages[0].Pixels.size(); ++k)
            ASSERT_EQ(Pages[0].Pixels[k], value) << when << ", pixel " << k % W << "," << k / W;
    };
    SetStrokeStyle(0, 0, 9);
    DrawSegment(-20, 30, 60, 160);
    SetStrokeStyle(0, 0, 7);
    DrawCircle(150, 20, 40);
    SetStrokeStyle(5, 0xA5A5, 1);
    DrawSegment(0, 149, 199, 100);
    SetStrokeStyle(2, 0, 1);
    DrawSegment(0, 0, 199, 0);
    FillEllipseShape(100, 75, 30, 20);
    const TPolyPoint triangle[] = {{5, 5}, {190, 60}, {40, 140}};
    FillPolygonShape(3, triangle);
    PlotPixel(199, 149, 11);
    ClearWholeWindow();
    expectAll(0, "black over all of it");

    // A clear in another colour fills everything; the same colour again only
    // what was drawn since, inside a clipping port or not.
    SetBackgroundColor(9);
    ClearWholeWindow();
    expectAll(9, "first clear in 9");
    DefineDrawPort(150, 100, 190, 140, true);
    SetStrokeStyle(0, 0, 3);
    DrawSegment(-200, -200, 200, 200);
    ClearWholeWindow();
    expectAll(9, "second clear in 9");
    SetAreaFill(4, 12);  // a hatch over the whole page is no clear
    FillBox(-150, -100, 50, 50);
    DefineDrawPort(0, 0, W - 1, H - 1, false);
    FillBox(0, 0, W - 1, H - 1);
    ClearWholeWindow();
    expectAll(9, "after a hatched page");
    SetBackgroundColor(0);
    ClearWholeWindow();
    expectAll(0, "back to black");

    // Random drawing of every kind between clears in two colours.
    std::mt19937 rng(777);
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const auto coord = [&]() { return static_cast<int16_t>(pick(0, 9) == 0 ? pick(-32768, 32767) : pick(-60, 260)); };
    std::vector<TPolyPoint> poly(8);
    for (int i = 0; i < 3000; ++i) {
        DefineDrawPort(static_cast<int16_t>(pick(-20, 100)), static_cast<int16_t>(pick(-20, 80)),
                       static_cast<int16_t>(pick(100, 220)), static_cast<int16_t>(pick(80, 170)), pick(0, 1) == 1);
        SetRasterMode(static_cast<int16_t>(pick(0, 31)));
        SetStrokeStyle(static_cast<uint16_t>(pick(0, 6)), static_cast<uint16_t>(rng()),
                       static_cast<uint16_t>(pick(0, 8) == 0 ? pick(0, 40) : pick(1, 6)));
        SetAreaFill(static_cast<uint16_t>(pick(0, 9)), static_cast<uint32_t>(rng()));
        SetDrawColor(static_cast<uint32_t>(pick(1, 255)));
        switch (pick(0, 6)) {
            case 0: DrawSegment(coord(), coord(), coord(), coord()); break;
            case 1:
                DrawEllipseArc(coord(), coord(), static_cast<uint16_t>(pick(0, 720)),
                               static_cast<uint16_t>(pick(0, 720)), static_cast<uint16_t>(pick(0, 150)),
                               static_cast<uint16_t>(pick(0, 150)));
                break;
            case 2: FillBox(coord(), coord(), coord(), coord()); break;
            case 3: FillEllipseShape(coord(), coord(), static_cast<uint16_t>(pick(0, 150)), static_cast<uint16_t>(pick(0, 150))); break;
            case 4:
                for (auto& p : poly) p = {coord(), coord()};
                FillPolygonShape(static_cast<uint16_t>(pick(2, 8)), poly.data());
                break;
            case 5: PlotPixel(coord(), coord(), static_cast<uint32_t>(pick(1, 255))); break;
            default: break;
        }
        if (i % 7 == 6) {
            const uint8_t background = pick(0, 3) == 0 ? 9 : 0;
            SetBackgroundColor(background);
            ClearWholeWindow();
            expectAll(background, "random drawing");
            if (HasFatalFailure()) return;
        }
    }
}

TEST_F(Primitives, RandomPrimitivesStayInsideThePortAndPage) {
    std::mt19937 rng(12345);
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const auto coord = [&]() -> int16_t {
        switch (pick(0, 3)) {
            case 0: return static_cast<int16_t>(pick(-32768, 32767));
            case 1: return static_cast<int16_t>(pick(0, 1) ? pick(32700, 32767) : pick(-32768, -32700));
            default: return static_cast<int16_t>(pick(-50, 250));
        }
    };
    const auto radius = [&]() -> uint16_t {
        return static_cast<uint16_t>(pick(0, 9) == 0 ? pick(0, 65535) : pick(0, 120));
    };
    constexpr size_t guard = 4096;
    Pages[0].Pixels.assign(W * H + guard, 0xEE);
    std::fill_n(Pages[0].Pixels.begin(), W * H, 0);
    std::vector<TPolyPoint> poly(12);
    for (int i = 0; i < 6000; ++i) {
        const int16_t px1 = static_cast<int16_t>(pick(-30, 220)), py1 = static_cast<int16_t>(pick(-30, 170));
        const int16_t px2 = static_cast<int16_t>(px1 + pick(0, 60)),
                      py2 = static_cast<int16_t>(py1 + pick(0, 60));
        DefineDrawPort(pick(0, 20) == 0 ? coord() : px1, py1, px2, py2, pick(0, 1) == 1);
        SetRasterMode(static_cast<int16_t>(pick(0, 31)));
        SetStrokeStyle(static_cast<uint16_t>(pick(0, 6)), static_cast<uint16_t>(rng()),
                       static_cast<uint16_t>(pick(0, 8) == 0 ? pick(0, 300) : pick(0, 6)));
        SetAreaFill(static_cast<uint16_t>(pick(0, 9)), static_cast<uint32_t>(rng()));
        SetDrawColor(static_cast<uint32_t>(rng()));
        SetAspectScale(pick(0, 5) == 0 ? static_cast<uint16_t>(pick(0, 65535)) : 10000, 10000);
        const std::vector<uint8_t> before = BytesNow(Pages[0].Pixels);
        switch (pick(0, 7)) {
            case 0: DrawSegment(coord(), coord(), coord(), coord()); break;
            case 1: DrawCircle(coord(), coord(), radius()); break;
            case 2:
                DrawEllipseArc(coord(), coord(), static_cast<uint16_t>(pick(0, 720)),
                               static_cast<uint16_t>(pick(0, 720)), radius(), radius());
                break;
            case 3: FillBox(coord(), coord(), coord(), coord()); break;
            case 4: FillEllipseShape(coord(), coord(), radius(), radius()); break;
            case 5: {
                const auto n = static_cast<uint16_t>(pick(2, 12));
                const bool huge = pick(0, 3) == 0;
                for (auto& p : poly)
                    p = {huge ? static_cast<int32_t>(rng()) : coord(),
                         huge ? static_cast<int32_t>(rng()) : coord()};
                FillPolygonShape(n, poly.data());
                break;
            }
            case 6: PlotPixel(coord(), coord(), static_cast<uint32_t>(rng())); break;
            default: ClearPortArea(); break;
        }
        for (size_t k = W * H; k < before.size(); ++k)
            ASSERT_EQ(Pages[0].Pixels[k], 0xEE) << "guard, step " << i;
        if (!DrawPort.Clip) continue;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                if (x >= DrawPort.X1 && x <= DrawPort.X2 && y >= DrawPort.Y1 && y <= DrawPort.Y2) continue;
                ASSERT_EQ(Pages[0].Pixels[static_cast<size_t>(y * W + x)],
                          before[static_cast<size_t>(y * W + x)])
                    << "outside the port at " << x << "," << y << ", step " << i;
            }
    }
}

}  // namespace
