#include <cstring>

#include "gl_unit.h"

namespace {

// Nearest palette entry by squared distance in RGB; the first of equals wins.
uint8_t NearestEntry(uint32_t rgb, const std::array<uint32_t, 256>& table, uint16_t size) {
    const int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    int best = 0;
    int bestDistance = 1 << 30;
    for (int i = 0; i < size; ++i) {
        const int dr = r - static_cast<int>((table[i] >> 16) & 0xFF);
        const int dg = g - static_cast<int>((table[i] >> 8) & 0xFF);
        const int db = b - static_cast<int>(table[i] & 0xFF);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return static_cast<uint8_t>(best);
}

// A rendered frame holds few distinct colours compared with its pixels, so
// each colour's match is remembered (direct-mapped, exact keys) for the colour
// table it was made with.
constexpr uint32_t CacheSize = 1u << 16;
constexpr uint32_t CacheValid = 1u << 24;
struct TNearestCache {
    std::array<uint32_t, 256> Table{};
    uint16_t Size = 0;
    std::array<uint32_t, CacheSize> Keys{};  // rgb | CacheValid
    std::array<uint8_t, CacheSize> Entries{};
};
TNearestCache Nearest;

void UseTable(const std::array<uint32_t, 256>& table, uint16_t size) {
    if (size == Nearest.Size && std::memcmp(table.data(), Nearest.Table.data(), size * 4u) == 0) return;
    Nearest.Table = table;
    Nearest.Size = size;
    Nearest.Keys.fill(0);
}

uint8_t CachedNearest(uint32_t rgb) {
    const uint32_t slot = (rgb * 2654435761u) >> 16;
    if (Nearest.Keys[slot] != (rgb | CacheValid)) {
        Nearest.Keys[slot] = rgb | CacheValid;
        Nearest.Entries[slot] = NearestEntry(rgb, Nearest.Table, Nearest.Size);
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
