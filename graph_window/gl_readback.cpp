#include <cstring>

#include "gl_unit.h"

namespace {

// A rendered frame holds few distinct colours compared with its pixels, so
// each colour's match is remembered (direct-mapped, exact keys) for the colour
// table it was made with.
constexpr uint32_t CacheSize = 1u << 16;
constexpr uint32_t CacheValid = 1u << 24;
// The page's table stays in its own channel order: the distance is the same
// when colour and table are both read the other way round.
struct TNearestCache {
    TPaletteTable Table{};
    std::array<uint32_t, CacheSize> Keys{};  // rgb | CacheValid
    std::array<uint8_t, CacheSize> Entries{};
};
TNearestCache Nearest;

void UseTable(const std::array<uint32_t, 256>& table, uint16_t size) {
    if (size == Nearest.Table.Size && std::memcmp(table.data(), Nearest.Table.Colors.data(), size * 4u) == 0)
        return;
    Nearest.Table.Colors = table;
    Nearest.Table.Size = size;
    Nearest.Keys.fill(0);
}

uint8_t CachedNearest(uint32_t rgb) {
    const uint32_t slot = (rgb * 2654435761u) >> 16;
    if (Nearest.Keys[slot] != (rgb | CacheValid)) {
        Nearest.Keys[slot] = rgb | CacheValid;
        Nearest.Entries[slot] = NearestPaletteIndex(Nearest.Table, rgb);
    }
    return Nearest.Entries[slot];
}

}  // namespace

void CopyGlPixelsToPage(const uint8_t* pixels, int32_t width, int32_t height, uint16_t paletteSize,
                        TPage& page) {
    const size_t bytesPerPixel = paletteSize ? 1 : 4;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (width <= 0 || height <= 0 || page.Pixels.size() < count * bytesPerPixel) return;
    if (paletteSize) UseTable(page.ColorTable, paletteSize > 256 ? 256 : paletteSize);
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* source = pixels + static_cast<size_t>(height - 1 - y) * width * 4;
        uint8_t* row = page.Pixels.data() + static_cast<size_t>(y) * width * bytesPerPixel;
        for (int32_t x = 0; x < width; ++x, source += 4) {
            const uint32_t rgb = (uint32_t{source[2]} << 16) | (uint32_t{source[1]} << 8) | source[0];
            if (paletteSize) {
                row[x] = CachedNearest(rgb);
            } else {
                std::memcpy(row + x * 4, &rgb, 4);
            }
        }
    }
}
