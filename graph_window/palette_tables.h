// The library's constant colour tables, derived at compile time: the RGB of the
// 256 named colours and the palette a palette-mode window starts with. Colours
// are 0x00BBGGRR (red lowest), the form colour values take in true colour.
#pragma once

#include <array>
#include <cstdint>

constexpr uint32_t PackRGB(uint32_t red, uint32_t green, uint32_t blue) {
    return red | (green << 8) | (blue << 16);
}

// ---- Named colours ----------------------------------------------------------

struct TListedColor {
    uint8_t Index;
    uint32_t RGB;
};

// The entries the library and the programs refer to.
constexpr std::array<TListedColor, 11> ListedNamedColors{{
    {0, PackRGB(240, 248, 255)},
    {12, PackRGB(0, 0, 0)},
    {59, PackRGB(84, 84, 84)},
    {105, PackRGB(0, 128, 0)},
    {122, PackRGB(173, 216, 230)},
    {125, PackRGB(224, 255, 255)},
    {128, PackRGB(144, 238, 144)},
    {131, PackRGB(255, 128, 128)},
    {207, PackRGB(255, 0, 0)},
    {250, PackRGB(255, 255, 255)},
    {253, PackRGB(255, 255, 0)},
}};

constexpr std::array<uint32_t, 256> DeriveNamedColorRGB() {
    std::array<uint32_t, 256> table{};
    std::array<bool, 256> listed{};
    for (const TListedColor& c : ListedNamedColors) {
        table[c.Index] = c.RGB;
        listed[c.Index] = true;
    }
    // The rest walk a grid whose levels no listed entry uses, so that all 256
    // stay distinct by construction (6 x 6 x 7 points, 245 of them used).
    constexpr std::array<uint8_t, 6> redGreenLevels{20, 60, 100, 140, 180, 220};
    constexpr std::array<uint8_t, 7> blueLevels{10, 45, 80, 115, 150, 185, 225};
    int k = 0;
    for (int i = 0; i < 256; ++i) {
        if (listed[i]) continue;
        table[i] = PackRGB(redGreenLevels[k % 6], redGreenLevels[(k / 6) % 6], blueLevels[k / 36]);
        ++k;
    }
    return table;
}

inline constexpr std::array<uint32_t, 256> NamedColorRGB = DeriveNamedColorRGB();

// ---- Standard palette -------------------------------------------------------

// The classic 256-colour adapter palette in 6-bit units: 16 base colours, 16
// greys, nine hue wheels of 24 entries, 8 blacks; every component times 4.
constexpr std::array<uint32_t, 256> DeriveStandardPalette() {
    struct TRgb6 {
        uint8_t R, G, B;
    };
    struct TWheel {
        uint8_t High, Low, Step1, Step2, Step3;
    };
    constexpr std::array<TRgb6, 16> baseColors{{{0, 0, 0},    {0, 0, 42},   {0, 42, 0},
                                                {0, 42, 42},  {42, 0, 0},   {42, 0, 42},
                                                {42, 21, 0},  {42, 42, 42}, {21, 21, 21},
                                                {21, 21, 63}, {21, 63, 21}, {21, 63, 63},
                                                {63, 21, 21}, {63, 21, 63}, {63, 63, 21},
                                                {63, 63, 63}}};
    constexpr std::array<uint8_t, 16> greys{0, 5, 8, 11, 14, 17, 20, 24, 28, 32, 36, 40, 45, 50, 56, 63};
    constexpr std::array<TWheel, 9> wheels{{{63, 0, 16, 31, 47},
                                            {63, 31, 39, 47, 55},
                                            {63, 45, 49, 54, 58},
                                            {28, 0, 7, 14, 21},
                                            {28, 14, 17, 21, 24},
                                            {28, 20, 22, 24, 26},
                                            {16, 0, 4, 8, 12},
                                            {16, 8, 10, 12, 14},
                                            {16, 11, 12, 13, 15}}};

    std::array<TRgb6, 256> rule{};  // entries 248 to 255 stay black
    for (int i = 0; i < 16; ++i) {
        rule[i] = baseColors[i];
        rule[16 + i] = {greys[i], greys[i], greys[i]};
    }
    int n = 32;
    for (const TWheel& w : wheels) {
        const std::array<uint8_t, 4> rising{w.Low, w.Step1, w.Step2, w.Step3};
        const std::array<uint8_t, 4> falling{w.High, w.Step3, w.Step2, w.Step1};
        const uint8_t h = w.High, l = w.Low;
        for (uint8_t v : rising) rule[n++] = {v, l, h};   // blue high, red rises
        for (uint8_t v : falling) rule[n++] = {h, l, v};  // red high, blue falls
        for (uint8_t v : rising) rule[n++] = {h, v, l};   // red high, green rises
        for (uint8_t v : falling) rule[n++] = {v, h, l};  // green high, red falls
        for (uint8_t v : rising) rule[n++] = {l, h, v};   // green high, blue rises
        for (uint8_t v : falling) rule[n++] = {l, v, h};  // blue high, green falls
    }

    auto scaled = [](TRgb6 c) { return PackRGB(c.R * 4u, c.G * 4u, c.B * 4u); };
    std::array<uint32_t, 256> palette{};
    for (int i = 0; i < 256; ++i) palette[i] = scaled(rule[i]);

    // Where the standard table departs from the rule: two entries of its own,
    // and the last wheel shifted down by one (the rule's entry 232 is lost).
    palette[9] = PackRGB(132, 132, 252);
    palette[65] = PackRGB(252, 156, 252);
    for (int i = 232; i <= 246; ++i) palette[i] = scaled(rule[i + 1]);
    palette[247] = 0;
    return palette;
}

inline constexpr std::array<uint32_t, 256> StandardPalette = DeriveStandardPalette();
