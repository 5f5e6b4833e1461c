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

struct TRgb {
    uint32_t R, G, B;
};

void ExpectEntries(const std::array<uint32_t, 256>& table, std::initializer_list<TEntry> entries) {
    for (const TEntry& e : entries) EXPECT_EQ(table[e.Index], PackRGB(e.R, e.G, e.B)) << "entry " << e.Index;
}

// The whole standard palette, entry by entry, in 8-bit units.
constexpr TRgb StandardEntries[256] = {
        {0, 0, 0}, {0, 0, 168}, {0, 168, 0}, {0, 168, 168}, {168, 0, 0}, {168, 0, 168}, {168, 84, 0}, {168, 168, 168},  // 0
        {84, 84, 84}, {132, 132, 252}, {84, 252, 84}, {84, 252, 252}, {252, 84, 84}, {252, 84, 252}, {252, 252, 84}, {252, 252, 252},  // 8
        {0, 0, 0}, {20, 20, 20}, {32, 32, 32}, {44, 44, 44}, {56, 56, 56}, {68, 68, 68}, {80, 80, 80}, {96, 96, 96},  // 16
        {112, 112, 112}, {128, 128, 128}, {144, 144, 144}, {160, 160, 160}, {180, 180, 180}, {200, 200, 200}, {224, 224, 224}, {252, 252, 252},  // 24
        {0, 0, 252}, {64, 0, 252}, {124, 0, 252}, {188, 0, 252}, {252, 0, 252}, {252, 0, 188}, {252, 0, 124}, {252, 0, 64},  // 32
        {252, 0, 0}, {252, 64, 0}, {252, 124, 0}, {252, 188, 0}, {252, 252, 0}, {188, 252, 0}, {124, 252, 0}, {64, 252, 0},  // 40
        {0, 252, 0}, {0, 252, 64}, {0, 252, 124}, {0, 252, 188}, {0, 252, 252}, {0, 188, 252}, {0, 124, 252}, {0, 64, 252},  // 48
        {124, 124, 252}, {156, 124, 252}, {188, 124, 252}, {220, 124, 252}, {252, 124, 252}, {252, 124, 220}, {252, 124, 188}, {252, 124, 156},  // 56
        {252, 124, 124}, {252, 156, 252}, {252, 188, 124}, {252, 220, 124}, {252, 252, 124}, {220, 252, 124}, {188, 252, 124}, {156, 252, 124},  // 64
        {124, 252, 124}, {124, 252, 156}, {124, 252, 188}, {124, 252, 220}, {124, 252, 252}, {124, 220, 252}, {124, 188, 252}, {124, 156, 252},  // 72
        {180, 180, 252}, {196, 180, 252}, {216, 180, 252}, {232, 180, 252}, {252, 180, 252}, {252, 180, 232}, {252, 180, 216}, {252, 180, 196},  // 80
        {252, 180, 180}, {252, 196, 180}, {252, 216, 180}, {252, 232, 180}, {252, 252, 180}, {232, 252, 180}, {216, 252, 180}, {196, 252, 180},  // 88
        {180, 252, 180}, {180, 252, 196}, {180, 252, 216}, {180, 252, 232}, {180, 252, 252}, {180, 232, 252}, {180, 216, 252}, {180, 196, 252},  // 96
        {0, 0, 112}, {28, 0, 112}, {56, 0, 112}, {84, 0, 112}, {112, 0, 112}, {112, 0, 84}, {112, 0, 56}, {112, 0, 28},  // 104
        {112, 0, 0}, {112, 28, 0}, {112, 56, 0}, {112, 84, 0}, {112, 112, 0}, {84, 112, 0}, {56, 112, 0}, {28, 112, 0},  // 112
        {0, 112, 0}, {0, 112, 28}, {0, 112, 56}, {0, 112, 84}, {0, 112, 112}, {0, 84, 112}, {0, 56, 112}, {0, 28, 112},  // 120
        {56, 56, 112}, {68, 56, 112}, {84, 56, 112}, {96, 56, 112}, {112, 56, 112}, {112, 56, 96}, {112, 56, 84}, {112, 56, 68},  // 128
        {112, 56, 56}, {112, 68, 56}, {112, 84, 56}, {112, 96, 56}, {112, 112, 56}, {96, 112, 56}, {84, 112, 56}, {68, 112, 56},  // 136
        {56, 112, 56}, {56, 112, 68}, {56, 112, 84}, {56, 112, 96}, {56, 112, 112}, {56, 96, 112}, {56, 84, 112}, {56, 68, 112},  // 144
        {80, 80, 112}, {88, 80, 112}, {96, 80, 112}, {104, 80, 112}, {112, 80, 112}, {112, 80, 104}, {112, 80, 96}, {112, 80, 88},  // 152
        {112, 80, 80}, {112, 88, 80}, {112, 96, 80}, {112, 104, 80}, {112, 112, 80}, {104, 112, 80}, {96, 112, 80}, {88, 112, 80},  // 160
        {80, 112, 80}, {80, 112, 88}, {80, 112, 96}, {80, 112, 104}, {80, 112, 112}, {80, 104, 112}, {80, 96, 112}, {80, 88, 112},  // 168
        {0, 0, 64}, {16, 0, 64}, {32, 0, 64}, {48, 0, 64}, {64, 0, 64}, {64, 0, 48}, {64, 0, 32}, {64, 0, 16},  // 176
        {64, 0, 0}, {64, 16, 0}, {64, 32, 0}, {64, 48, 0}, {64, 64, 0}, {48, 64, 0}, {32, 64, 0}, {16, 64, 0},  // 184
        {0, 64, 0}, {0, 64, 16}, {0, 64, 32}, {0, 64, 48}, {0, 64, 64}, {0, 48, 64}, {0, 32, 64}, {0, 16, 64},  // 192
        {32, 32, 64}, {40, 32, 64}, {48, 32, 64}, {56, 32, 64}, {64, 32, 64}, {64, 32, 56}, {64, 32, 48}, {64, 32, 40},  // 200
        {64, 32, 32}, {64, 40, 32}, {64, 48, 32}, {64, 56, 32}, {64, 64, 32}, {56, 64, 32}, {48, 64, 32}, {40, 64, 32},  // 208
        {32, 64, 32}, {32, 64, 40}, {32, 64, 48}, {32, 64, 56}, {32, 64, 64}, {32, 56, 64}, {32, 48, 64}, {32, 40, 64},  // 216
        {44, 44, 64}, {48, 44, 64}, {52, 44, 64}, {60, 44, 64}, {64, 44, 64}, {64, 44, 60}, {64, 44, 52}, {64, 44, 48},  // 224
        {64, 48, 44}, {64, 52, 44}, {64, 60, 44}, {64, 64, 44}, {60, 64, 44}, {52, 64, 44}, {48, 64, 44}, {44, 64, 44},  // 232
        {44, 64, 48}, {44, 64, 52}, {44, 64, 60}, {44, 64, 64}, {44, 60, 64}, {44, 52, 64}, {44, 48, 64}, {0, 0, 0},  // 240
        {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0},  // 248
};

TEST(StandardPalette, EveryEntry) {
    for (int i = 0; i < 256; ++i) {
        const TRgb& e = StandardEntries[i];
        EXPECT_EQ(StandardPalette[i], PackRGB(e.R, e.G, e.B)) << "entry " << i;
    }
}

TEST(StandardPalette, DepartsFromTheRuleWhereListed) {
    ExpectEntries(StandardPalette, {{9, 132, 132, 252},    // the rule: 84, 84, 252
                                    {65, 252, 156, 252},   // the rule: 252, 156, 124
                                    {231, 64, 44, 48},     // still the rule's own
                                    {232, 64, 48, 44},     // the rule's 233
                                    {246, 44, 48, 64}});   // the rule's 247
    for (int i = 0; i < 256; ++i) EXPECT_NE(StandardPalette[i], PackRGB(64, 44, 44)) << i;
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
    // Named colour, the standard entry nearest to it, and that entry's colour.
    const struct {
        int Named;
        uint32_t Entry;
        TRgb Screen;
    } rows[] = {
        {0, 15, {252, 252, 252}},     // ties with 31: the first wins
        {12, 0, {0, 0, 0}},
        {59, 8, {84, 84, 84}},
        {105, 120, {0, 112, 0}},
        {122, 102, {180, 216, 252}},
        {125, 15, {252, 252, 252}},   // light cyan shows as white
        {128, 71, {156, 252, 124}},   // ties with 73: the first wins
        {131, 64, {252, 124, 124}},
        {207, 40, {252, 0, 0}},
        {250, 15, {252, 252, 252}},
        {253, 44, {252, 252, 0}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(NamedColors[row.Named], row.Entry) << "named colour " << row.Named;
        EXPECT_EQ(Split(NamedColors[row.Named]), PackRGB(row.Screen.R, row.Screen.G, row.Screen.B))
            << "named colour " << row.Named;
    }
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
