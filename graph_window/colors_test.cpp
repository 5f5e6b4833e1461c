// The colour tables and the palette arithmetic, without a window.
#include <gtest/gtest.h>

#include <set>

#include "graph_unit.h"
#include "palette_tables.h"

namespace {

struct TRgb {
    uint32_t R, G, B;
};

TRgb Components(uint32_t c) { return {c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF}; }

#define EXPECT_RGB(color, r, g, b)                \
    do {                                          \
        const TRgb c_ = Components(color);        \
        EXPECT_EQ(c_.R, r##u);                    \
        EXPECT_EQ(c_.G, g##u);                    \
        EXPECT_EQ(c_.B, b##u);                    \
    } while (0)

TEST(StandardPalette, BaseColoursAndGreys) {
    EXPECT_RGB(StandardPalette[0], 0, 0, 0);
    EXPECT_RGB(StandardPalette[1], 0, 0, 168);
    EXPECT_RGB(StandardPalette[6], 168, 84, 0);
    EXPECT_RGB(StandardPalette[8], 84, 84, 84);
    EXPECT_RGB(StandardPalette[9], 132, 132, 252);  // not the rule's 84, 84, 252
    EXPECT_RGB(StandardPalette[10], 84, 252, 84);
    EXPECT_RGB(StandardPalette[15], 252, 252, 252);
    EXPECT_RGB(StandardPalette[16], 0, 0, 0);
    EXPECT_RGB(StandardPalette[23], 96, 96, 96);
    EXPECT_RGB(StandardPalette[31], 252, 252, 252);
}

TEST(StandardPalette, EachWheelRunsThroughItsSixGroups) {
    // First wheel, one entry of each group and the turns between them.
    EXPECT_RGB(StandardPalette[32], 0, 0, 252);
    EXPECT_RGB(StandardPalette[33], 64, 0, 252);
    EXPECT_RGB(StandardPalette[35], 188, 0, 252);
    EXPECT_RGB(StandardPalette[36], 252, 0, 252);
    EXPECT_RGB(StandardPalette[39], 252, 0, 64);
    EXPECT_RGB(StandardPalette[40], 252, 0, 0);
    EXPECT_RGB(StandardPalette[44], 252, 252, 0);
    EXPECT_RGB(StandardPalette[47], 64, 252, 0);
    EXPECT_RGB(StandardPalette[48], 0, 252, 0);
    EXPECT_RGB(StandardPalette[52], 0, 252, 252);
    EXPECT_RGB(StandardPalette[55], 0, 64, 252);
    // The first entry of every other wheel: blue at its high level, the rest low.
    EXPECT_RGB(StandardPalette[56], 124, 124, 252);
    EXPECT_RGB(StandardPalette[80], 180, 180, 252);
    EXPECT_RGB(StandardPalette[104], 0, 0, 112);
    EXPECT_RGB(StandardPalette[128], 56, 56, 112);
    EXPECT_RGB(StandardPalette[152], 80, 80, 112);
    EXPECT_RGB(StandardPalette[176], 0, 0, 64);
    EXPECT_RGB(StandardPalette[200], 32, 32, 64);
    EXPECT_RGB(StandardPalette[224], 44, 44, 64);
    // Inside wheels 2, 3 and 8.
    EXPECT_RGB(StandardPalette[66], 252, 188, 124);
    EXPECT_RGB(StandardPalette[103], 180, 196, 252);
    EXPECT_RGB(StandardPalette[215], 40, 64, 32);
}

TEST(StandardPalette, DepartsFromTheRuleWhereListed) {
    EXPECT_RGB(StandardPalette[65], 252, 156, 252);  // the rule gives 252, 156, 124
    EXPECT_RGB(StandardPalette[231], 64, 44, 48);    // still the rule's own entry
    EXPECT_RGB(StandardPalette[232], 64, 48, 44);    // the rule's 233
    EXPECT_RGB(StandardPalette[246], 44, 48, 64);    // the rule's 247
    for (int i = 224; i < 256; ++i) EXPECT_NE(StandardPalette[i], PackRGB(64, 44, 44)) << i;
    for (int i = 247; i < 256; ++i) EXPECT_EQ(StandardPalette[i], 0u) << i;
}

TEST(NamedColorTable, ListedEntriesAndAllDistinct) {
    EXPECT_RGB(NamedColorRGB[0], 240, 248, 255);
    EXPECT_RGB(NamedColorRGB[12], 0, 0, 0);
    EXPECT_RGB(NamedColorRGB[59], 84, 84, 84);
    EXPECT_RGB(NamedColorRGB[105], 0, 128, 0);
    EXPECT_RGB(NamedColorRGB[122], 173, 216, 230);
    EXPECT_RGB(NamedColorRGB[125], 224, 255, 255);
    EXPECT_RGB(NamedColorRGB[128], 144, 238, 144);
    EXPECT_RGB(NamedColorRGB[131], 255, 128, 128);
    EXPECT_RGB(NamedColorRGB[207], 255, 0, 0);
    EXPECT_RGB(NamedColorRGB[250], 255, 255, 255);
    EXPECT_RGB(NamedColorRGB[253], 255, 255, 0);
    const std::set<uint32_t> distinct(NamedColorRGB.begin(), NamedColorRGB.end());
    EXPECT_EQ(distinct.size(), 256u);
    for (uint32_t c : NamedColorRGB) EXPECT_EQ(c >> 24, 0u);
}

// Palette mode as a driver would set it, with its standard palette in place
// of the window's (what opening the window and applying the palette do).
class PaletteModeTest : public ::testing::Test {
protected:
    void UseDriver(int16_t driver) {
        GraphDriver = driver;
        PaletteMode = driver != 9;
        DeviceColorCount = uint16_t(1u << (driver == 1 ? 1 : driver == 2 ? 4 : 8));
        TPaletteTable table{};
        FetchStandardPalette(table);
        WindowPalette = table;
        ActivePaletteSize = table.Size;
        if (PaletteMode)
            MapColorNamesToPalette();
        else
            LoadTrueColorNames();
    }
    void TearDown() override {
        PaletteMode = false;
        ActivePaletteSize = 0;
        WindowPalette = {};
        NamedColors.fill(0);
    }
};

TEST_F(PaletteModeTest, NamedColoursTakeTheNearestStandardEntry) {
    UseDriver(3);
    EXPECT_EQ(WindowPalette.Size, 256);
    EXPECT_EQ(NamedColors[207], 40u);
    uint16_t r, g, b;
    SplitColorRGB(NamedColors[207], r, g, b);
    EXPECT_EQ(r, 252);
    EXPECT_EQ(g, 0);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(NamedColors[12], 0u);
    EXPECT_EQ(NamedColors[250], 15u);  // 15 and 31 are both 252 grey: the first wins
    EXPECT_EQ(NamedColors[253], 44u);
    EXPECT_EQ(GetTopColorValue(), 255u);
}

TEST_F(PaletteModeTest, ColourValuesWrapAtThePaletteSize) {
    UseDriver(3);
    uint16_t r, g, b;
    SplitColorRGB(256 + 1, r, g, b);  // entry 1
    EXPECT_EQ(b, 168);
    SplitColorRGB(0xFFFFFF, r, g, b);  // entry 255, black
    EXPECT_EQ(r + g + b, 0);
    EXPECT_EQ(ColorToDeviceRef(256), 0x1000000u);
    EXPECT_EQ(ColorToDeviceRef(0xFFFFFF), 0x1000000u + 255);
}

TEST_F(PaletteModeTest, SixteenColourDriver) {
    UseDriver(2);
    EXPECT_EQ(WindowPalette.Size, 16);
    EXPECT_EQ(NamedColors[250], 15u);
    for (uint32_t c : NamedColors) EXPECT_LT(c, 16u);
    EXPECT_EQ(GetTopColorValue(), 15u);
    EXPECT_EQ(ColorToDeviceRef(17), 0x1000001u);
}

TEST_F(PaletteModeTest, TwoColourDriverIsBlackAndWhite) {
    UseDriver(1);
    EXPECT_EQ(WindowPalette.Size, 2);
    EXPECT_EQ(WindowPalette.Colors[0], 0x000000u);
    EXPECT_EQ(WindowPalette.Colors[1], 0xFFFFFFu);
    for (uint32_t c : NamedColors) EXPECT_LT(c, 2u);
    EXPECT_EQ(NamedColors[250], 1u);
    EXPECT_EQ(NamedColors[12], 0u);
    EXPECT_EQ(NamedColors[59], 0u);
}

TEST_F(PaletteModeTest, TrueColourKeepsTheValues) {
    UseDriver(9);
    EXPECT_EQ(NamedColors[207], 0x0000FFu);
    uint16_t r, g, b;
    SplitColorRGB(NamedColors[207], r, g, b);
    EXPECT_EQ(r, 255);
    EXPECT_EQ(g, 0);
    EXPECT_EQ(b, 0);
    SplitColorRGB(0x123456, r, g, b);
    EXPECT_EQ(r, 0x56);
    EXPECT_EQ(g, 0x34);
    EXPECT_EQ(b, 0x12);
    EXPECT_EQ(GetTopColorValue(), 0xFFFFFFu);
    EXPECT_EQ(ColorToDeviceRef(0x123456), 0x123456u);
    TPaletteTable table{};
    FetchStandardPalette(table);
    EXPECT_EQ(table.Size, 256);
}

TEST(NearestPaletteIndex, FirstOfEqualDistances) {
    TPaletteTable p{};
    p.Size = 3;
    p.Colors = {PackRGB(10, 0, 0), PackRGB(30, 0, 0), PackRGB(20, 0, 0)};
    EXPECT_EQ(NearestPaletteIndex(p, PackRGB(25, 0, 0)), 1);  // 1 and 2 tie
    EXPECT_EQ(NearestPaletteIndex(p, PackRGB(0, 0, 0)), 0);
    p.Size = 2;  // entries past the size do not count
    EXPECT_EQ(NearestPaletteIndex(p, PackRGB(20, 0, 0)), 0);
}

TEST(ApplyPaletteWithoutWindow, RefusedAndNothingChanges) {
    TPaletteTable table{};
    table.Size = 16;
    NamedColors.fill(7);
    ApplyPalette(table);
    EXPECT_EQ(ResultCode, -1);
    EXPECT_EQ(NamedColors[0], 7u);
    NamedColors.fill(0);
}

}  // namespace
