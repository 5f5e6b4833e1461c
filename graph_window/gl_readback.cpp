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

void CopyChangedGlPixelsToPage(const uint8_t* pixels, const uint8_t* previous, int32_t width, int32_t height,
                               uint16_t paletteSize, TPage& page) {
    const size_t bytesPerPixel = paletteSize ? 1 : 4;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (width <= 0 || height <= 0 || page.Pixels.size() < count * bytesPerPixel) return;
    if (paletteSize) UseTable(page.ColorTable, paletteSize > 256 ? 256 : paletteSize);
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    for (int32_t y = 0; y < height; ++y) {
        const size_t offset = static_cast<size_t>(height - 1 - y) * rowBytes;
        const uint8_t* source = pixels + offset;
        const uint8_t* before = previous ? previous + offset : nullptr;
        if (before && std::memcmp(source, before, rowBytes) == 0) continue;
        uint8_t* row = page.Pixels.data() + static_cast<size_t>(y) * width * bytesPerPixel;
        for (int32_t x = 0; x < width; ++x, source += 4) {
            if (before) {
                // Alpha never reaches the page.
                const bool same = source[0] == before[0] && source[1] == before[1] && source[2] == before[2];
                before += 4;
                if (same) continue;
            }
            const uint32_t rgb = (uint32_t{source[2]} << 16) | (uint32_t{source[1]} << 8) | source[0];
            if (paletteSize) {
                row[x] = CachedNearest(rgb);
            } else {
                std::memcpy(row + x * 4, &rgb, 4);
            }
        }
    }
}

void CopyGlPixelsToPage(const uint8_t* pixels, int32_t width, int32_t height, uint16_t paletteSize,
                        TPage& page) {
    CopyChangedGlPixelsToPage(pixels, nullptr, width, height, paletteSize, page);
}
