// Colour values, the named colours and the palette of a palette-mode window.
#include <algorithm>

#include "graph_unit.h"
#include "palette_tables.h"

namespace TavrelInternal {
TPaletteTable WindowPalette{};
}  // namespace TavrelInternal

namespace {

uint32_t RedOf(uint32_t c) { return c & 0xFFu; }
uint32_t GreenOf(uint32_t c) { return (c >> 8) & 0xFFu; }
uint32_t BlueOf(uint32_t c) { return (c >> 16) & 0xFFu; }

// 0x00BBGGRR as the 0x00RRGGBB word of a page's colour table.
uint32_t ToTableWord(uint32_t c) { return (RedOf(c) << 16) | (GreenOf(c) << 8) | BlueOf(c); }

}  // namespace

uint8_t NearestPaletteIndex(const TPaletteTable& palette, uint32_t rgb) {
    uint32_t best = 0;
    uint32_t bestDistance = UINT32_MAX;
    const uint32_t size = std::min<uint32_t>(palette.Size, 256);
    for (uint32_t i = 0; i < size; ++i) {
        const int32_t dr = int32_t(RedOf(palette.Colors[i])) - int32_t(RedOf(rgb));
        const int32_t dg = int32_t(GreenOf(palette.Colors[i])) - int32_t(GreenOf(rgb));
        const int32_t db = int32_t(BlueOf(palette.Colors[i])) - int32_t(BlueOf(rgb));
        const uint32_t distance = uint32_t(dr * dr + dg * dg + db * db);
        if (distance < bestDistance) {  // strict: the first of equals wins
            best = i;
            bestDistance = distance;
        }
    }
    return uint8_t(best);
}

void CreateSystemPalette() {
    WindowPalette.Size = DeviceColorCount;
    WindowPalette.Colors.fill(0);
}

void LoadTrueColorNames() { NamedColors = NamedColorRGB; }

void MapColorNamesToPalette() {
    for (int i = 0; i < 256; ++i) NamedColors[i] = NearestPaletteIndex(WindowPalette, NamedColorRGB[i]);
}

void FetchStandardPalette(TPaletteTable& table) {
    table.Size = PaletteMode ? DeviceColorCount : 256;
    std::copy_n(StandardPalette.begin(), std::min<int>(table.Size, 256), table.Colors.begin());
    if (GraphDriver == 1) {
        table.Colors[0] = 0x000000;
        table.Colors[1] = 0xFFFFFF;
    }
}

void ApplyPalette(const TPaletteTable& table) {
    ResultCode = 0;
    if (!WindowReady) {
        ResultCode = -1;
        return;
    }
    if (!PaletteMode) {
        ResultCode = -8;
        return;
    }
    // A palette without entries would leave nothing to take colour values
    // modulo, so it is refused like an oversized one.
    if (table.Size > DeviceColorCount || table.Size == 0) {
        ResultCode = -7;
        return;
    }
    const uint16_t size = table.Size;
    for (uint16_t i = 0; i < size; ++i) PageColorTable[i] = ToTableWord(table.Colors[i]);
    for (uint16_t i = size; i < DeviceColorCount; ++i) PageColorTable[i] = PageColorTable[0];
    {
        std::lock_guard<std::recursive_mutex> lock(DrawLock);
        WindowPalette.Size = size;
        std::copy_n(table.Colors.begin(), size, WindowPalette.Colors.begin());
        // Only the draw page takes the table now; the others when next
        // selected for drawing.
        std::copy_n(PageColorTable.begin(), DeviceColorCount, DrawPageRef().ColorTable.begin());
        MapColorNamesToPalette();
    }
    InvalidateWholeClient();
    ActivePaletteSize = size;
}

void SplitColorRGB(uint32_t color, uint16_t& red, uint16_t& green, uint16_t& blue) {
    if (PaletteMode) {
        const uint32_t index = ActivePaletteSize ? color % ActivePaletteSize : 0;
        color = WindowPalette.Colors[index];
    }
    red = uint16_t(RedOf(color));
    green = uint16_t(GreenOf(color));
    blue = uint16_t(BlueOf(color));
}

uint32_t GetTopColorValue() {
    if (PaletteMode) return uint32_t(ActivePaletteSize) - 1;
    return 0xFFFFFF;
}
