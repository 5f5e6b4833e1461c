// The colour tables and the palette arithmetic, without a window.
#include <gtest/gtest.h>

#include <set>

#include "graph_unit.h"
#include "palette_tables.h"

namespace {

struct TEntry {
    int Index;
    uint32_t R, G, B;
};

void ExpectEntries(const std::array<uint32_t, 256>& table, std::initializer_list<TEntry> entries) {
    for (const TEntry& e : entries) EXPECT_EQ(table[e.Index], PackRGB(e.R, e.G, e.B)) << "entry " << e.Index;
}

TEST(StandardPalette, BaseColoursGreysAndWheels) {
    ExpectEntries(StandardPalette, {{0, 0, 0, 0},       {1, 0, 0, 168},      {6, 168, 84, 0},
                                    {8, 84, 84, 84},    {10, 84, 252, 84},   {15, 252, 252, 252},
                                    {16, 0, 0, 0},      {23, 96, 96, 96},    {31, 252, 252, 252}});
    // First wheel: one entry of each group and the turns between them.
    ExpectEntries(StandardPalette, {{32, 0, 0, 252},   {33, 64, 0, 252},  {35, 188, 0, 252}, {36, 252, 0, 252},
                                    {39, 252, 0, 64},  {40, 252, 0, 0},   {44, 252, 252, 0}, {47, 64, 252, 0},
                                    {48, 0, 252, 0},   {52, 0, 252, 252}, {55, 0, 64, 252}});
    // The first entry of every other wheel (blue high, the rest low), and
    // some inside wheels 2, 3 and 8.
    ExpectEntries(StandardPalette, {{56, 124, 124, 252}, {80, 180, 180, 252}, {104, 0, 0, 112},
                                    {128, 56, 56, 112},  {152, 80, 80, 112},   {176, 0, 0, 64},
                                    {200, 32, 32, 64},   {224, 44, 44, 64},    {66, 252, 188, 124},
                                    {103, 180, 196, 252}, {215, 40, 64, 32}});
}

TEST(StandardPalette, DepartsFromTheRuleWhereListed) {
    ExpectEntries(StandardPalette, {{9, 132, 132, 252},    // the rule: 84, 84, 252
                                    {65, 252, 156, 252},   // the rule: 252, 156, 124
                                    {231, 64, 44, 48},     // still the rule's own
                                    {232, 64, 48, 44},     // the rule's 233
                                    {246, 44, 48, 64}});   // the rule's 247
    for (int i = 224; i < 256; ++i) EXPECT_NE(StandardPalette[i], PackRGB(64, 44, 44)) << i;
    for (int i = 247; i < 256; ++i) EXPECT_EQ(StandardPalette[i], 0u) << i;
}

TEST(NamedColorTable, ListedEntriesAndAllDistinct) {
    ExpectEntries(NamedColorRGB, {{0, 240, 248, 255},   {12, 0, 0, 0},         {59, 84, 84, 84},
                                  {105, 0, 128, 0},     {122, 173, 216, 230},  {125, 224, 255, 255},
                                  {128, 144, 238, 144}, {131, 255, 128, 128},  {207, 255, 0, 0},
                                  {250, 255, 255, 255}, {253, 255, 255, 0}});
    const std::set<uint32_t> distinct(NamedColorRGB.begin(), NamedColorRGB.end());
    EXPECT_EQ(distinct.size(), 256u);
    for (uint32_t c : NamedColorRGB) EXPECT_EQ(c >> 24, 0u);
}

// SplitColorRGB's three components packed again, for comparing at once.
uint32_t Split(uint32_t color) {
    uint16_t r, g, b;
    SplitColorRGB(color, r, g, b);
    return PackRGB(r, g, b);
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
    EXPECT_EQ(Split(NamedColors[207]), PackRGB(252, 0, 0));
    EXPECT_EQ(NamedColors[12], 0u);
    EXPECT_EQ(NamedColors[250], 15u);  // 15 and 31 are both 252 grey: the first wins
    EXPECT_EQ(NamedColors[253], 44u);
    EXPECT_EQ(GetTopColorValue(), 255u);
}

TEST_F(PaletteModeTest, ColourValuesWrapAtThePaletteSize) {
    UseDriver(3);
    EXPECT_EQ(Split(256 + 1), PackRGB(0, 0, 168));  // entry 1
    EXPECT_EQ(Split(0xFFFFFF), 0u);                // entry 255, black
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
    EXPECT_EQ(Split(NamedColors[207]), PackRGB(255, 0, 0));
    EXPECT_EQ(Split(0x123456), 0x123456u);
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
