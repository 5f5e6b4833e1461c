// The conversion of page pixels into the server's words: the bulk of a
// present, run on the window thread for every paint.
#include "screen_image.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include <algorithm>
#include <bit>
#include <cstring>

#include "byte_blocks.h"
#include "graph_unit.h"

namespace TavrelInternal {
bool PortableConversionOnly = false;
}  // namespace TavrelInternal

namespace {

// Byte k of a word loaded from eight consecutive page bytes.
constexpr uint32_t ByteShift(int k) {
    return std::endian::native == std::endian::little ? uint32_t(8 * k) : uint32_t(56 - 8 * k);
}

// Eight indices come in with one load; the table lookups of a group are
// independent, so they overlap instead of waiting on one another.
void ConvertPaletteRowScalar(const uint8_t* src, uint32_t* dst, int32_t count, const TScreenWords& words) {
    int32_t x = 0;
    for (; x + 8 <= count; x += 8) {
        uint64_t group;
        std::memcpy(&group, src + x, sizeof group);
        for (int k = 0; k < 8; ++k) dst[x + k] = words[(group >> ByteShift(k)) & 0xFFu];
    }
    for (; x < count; ++x) dst[x] = words[src[x]];
}

#if defined(__x86_64__)
// The table held in registers as four planes, byte k of every word, looked
// up 64 indices at a time with byte permutes: the scalar loop is bound by
// one store per pixel, this by a few shuffles per 64.
struct TWordPlanes {
    alignas(64) uint8_t Bytes[4][256];
};

void MakeWordPlanes(const TScreenWords& words, TWordPlanes& planes) {
    for (int i = 0; i < 256; ++i)
        for (int k = 0; k < 4; ++k) planes.Bytes[k][i] = uint8_t(words[size_t(i)] >> (8 * k));
}

// TopSame: the top byte is the same in every word, as on the usual visuals
// (0, or the alpha of a 32-bit one), and needs no lookup.
// With `seen`, the indices the image already shows: a block of 64 that
// matches them is skipped (the compare costs one instruction on indices
// loaded anyway), and the others are copied into it. The last short block
// is left to the caller then.
template <bool TopSame>
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) int32_t ConvertPaletteRowWide(const uint8_t* src,
                                                                                     uint32_t* dst, int32_t count,
                                                                                     const TWordPlanes& planes,
                                                                                     const TScreenWords& words,
                                                                                     uint8_t* seen) {
    constexpr int looked = TopSame ? 3 : 4;
    __m512i plane[4][4];
    for (int k = 0; k < looked; ++k)
        for (int q = 0; q < 4; ++q) plane[k][q] = _mm512_load_si512(planes.Bytes[k] + 64 * q);
    const __m512i top = _mm512_set1_epi8(char(planes.Bytes[3][0]));
    // The byte and word interleaves below work within 128-bit lanes: index
    // s = 16 L + 4 m + q ends up as word 16 m + 4 L + q, so the indices are
    // put in that order first.
    alignas(64) uint8_t order[64];
    for (int s = 0; s < 64; ++s) order[s] = uint8_t(((s >> 2) & 3) * 16 + (s >> 4) * 4 + (s & 3));
    const __m512i reorder = _mm512_load_si512(order);
    int32_t x = 0;
    for (; x + 64 <= count; x += 64) {
        const __m512i indices = _mm512_loadu_si512(src + x);
        if (seen) {
            if (_mm512_cmpneq_epi8_mask(indices, _mm512_loadu_si512(seen + x)) == 0) continue;
            _mm512_storeu_si512(seen + x, indices);
        }
        // (The zero-masking form: the plain one leaves GCC warning about its undefined source.)
        const __m512i index = _mm512_maskz_permutexvar_epi8(~__mmask64{0}, reorder, indices);
        const __mmask64 high = _mm512_movepi8_mask(index);  // indices 128 to 255
        __m512i b[4];
        b[3] = top;
        for (int k = 0; k < looked; ++k) {
            const __m512i low = _mm512_permutex2var_epi8(plane[k][0], index, plane[k][1]);
            const __m512i upper = _mm512_permutex2var_epi8(plane[k][2], index, plane[k][3]);
            b[k] = _mm512_mask_blend_epi8(high, low, upper);
        }
        const __m512i lo01 = _mm512_unpacklo_epi8(b[0], b[1]), hi01 = _mm512_unpackhi_epi8(b[0], b[1]);
        const __m512i lo23 = _mm512_unpacklo_epi8(b[2], b[3]), hi23 = _mm512_unpackhi_epi8(b[2], b[3]);
        _mm512_storeu_si512(dst + x, _mm512_unpacklo_epi16(lo01, lo23));
        _mm512_storeu_si512(dst + x + 16, _mm512_unpackhi_epi16(lo01, lo23));
        _mm512_storeu_si512(dst + x + 32, _mm512_unpacklo_epi16(hi01, hi23));
        _mm512_storeu_si512(dst + x + 48, _mm512_unpackhi_epi16(hi01, hi23));
    }
    if (x < count && !seen) ConvertPaletteRowScalar(src + x, dst + x, count - x, words);
    return x;
}

bool WidePermutes() {
    static const bool has = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                            __builtin_cpu_supports("avx512vbmi");
    return has;
}
#endif

// A palette page's rows through one table: its planes are made once for all
// the rows of a present.
struct TRowConverter {
    const TScreenWords& Words;
#if defined(__x86_64__)
    bool Wide = WidePermutes() && !PortableConversionOnly;
    bool TopSame = false;
    TWordPlanes Planes;
#endif

    explicit TRowConverter(const TScreenWords& words) : Words(words) {
#if defined(__x86_64__)
        if (Wide) {
            MakeWordPlanes(words, Planes);
            TopSame = std::memcmp(Planes.Bytes[3], Planes.Bytes[3] + 1, 255) == 0;
        }
#endif
    }

    // Converts the row, or with `seen` its 64-pixel blocks that differ from
    // it, as far as the wide path goes; returns how far that is.
    int32_t WideRow(const uint8_t* src, uint32_t* dst, int32_t count, uint8_t* seen) const {
#if defined(__x86_64__)
        if (Wide && count >= 64) {
            return TopSame ? ConvertPaletteRowWide<true>(src, dst, count, Planes, Words, seen)
                           : ConvertPaletteRowWide<false>(src, dst, count, Planes, Words, seen);
        }
#endif
        (void)src, (void)dst, (void)count, (void)seen;
        return 0;
    }

    void Row(const uint8_t* src, uint32_t* dst, int32_t count) const {
        if (WideRow(src, dst, count, nullptr) == 0) ConvertPaletteRowScalar(src, dst, count, Words);
    }
};

// The visual's layout without a test per pixel.
void ConvertTrueColourRow(const uint32_t* src, uint32_t* dst, int32_t count, const TScreenImage& image) {
    const uint32_t red = image.RedShift, green = image.GreenShift, blue = image.BlueShift;
    const uint32_t fixed = image.FixedBits;
    for (int32_t x = 0; x < count; ++x) {
        const uint32_t rgb = src[x];
        dst[x] = (((rgb >> 16) & 0xFFu) << red) | (((rgb >> 8) & 0xFFu) << green) | ((rgb & 0xFFu) << blue) | fixed;
    }
}

// A frame redrawn whole mostly repeats the one before it: the rows a moving
// shape crosses differ only where it was and is. Converting just the blocks
// that changed keeps the rest of the image's lines out of this core's cache,
// which is what makes the server's read of them slow.
bool SameSpan(const uint8_t* a, const uint8_t* b, int32_t count) {
    return count == ByteBlock ? SameByteBlock(a, b) : std::memcmp(a, b, size_t(count)) == 0;
}

// Runs of changed blocks go through the converter together, so that its
// wide path sees long stretches.
void ConvertChangedBlocks(const TRowConverter& convert, const uint8_t* src, uint8_t* seen, uint32_t* dst,
                          int32_t count) {
    int32_t x = convert.WideRow(src, dst, count, seen);
    while (x < count) {
        const int32_t n = std::min(ByteBlock, count - x);
        if (SameSpan(src + x, seen + x, n)) {
            x += n;
            continue;
        }
        int32_t end = x + n;
        while (end < count) {
            const int32_t m = std::min(ByteBlock, count - end);
            if (SameSpan(src + end, seen + end, m)) break;
            end += m;
        }
        convert.Row(src + x, dst + x, end - x);
        std::memcpy(seen + x, src + x, size_t(end - x));
        x = end;
    }
}

}  // namespace

void MakeScreenWords(const TPage& page, const TScreenImage& image, TScreenWords& words) {
    for (size_t i = 0; i < words.size(); ++i) words[i] = ScreenWord(image, page.ColorTable[i]);
}

void ConvertPagePixels(const TPage& page, const TScreenWords& words, const TClientRect& r, TScreenImage& image) {
    const int32_t count = r.X2 - r.X1 + 1;
    const TRowConverter convert(words);
    for (int32_t y = r.Y1; y <= r.Y2; ++y) {
        uint32_t* dst = image.Words + size_t(y) * size_t(image.WordsPerRow) + size_t(r.X1);
        const size_t first = size_t(y) * size_t(PageWidth) + size_t(r.X1);
        if (PaletteMode) {
            convert.Row(page.Pixels.data() + first, dst, count);
        } else if (image.Direct) {
            std::memcpy(dst, page.Pixels.data() + first * 4, size_t(count) * 4);
        } else {
            ConvertTrueColourRow(reinterpret_cast<const uint32_t*>(page.Pixels.data()) + first, dst, count, image);
        }
    }
}

void ConvertPageRect(const TPage& page, const TClientRect& rect, TScreenImage& image) {
    TScreenWords words;
    if (PaletteMode) MakeScreenWords(page, image, words);
    ConvertPagePixels(page, words, rect, image);
}

void ForgetScreenShadow(TScreenShadow& shadow) {
    shadow.Width = shadow.Height = 0;
    std::vector<uint8_t>().swap(shadow.Indices);
    std::vector<uint8_t>().swap(shadow.RowKnown);
}

void ConvertChangedPagePixels(const TPage& page, const TScreenWords& words, const TClientRect& r,
                              TScreenImage& image, TScreenShadow& shadow) {
    if (!PaletteMode) {
        ConvertPagePixels(page, words, r, image);
        return;
    }
    if (shadow.Width != image.Width || shadow.Height != image.Height || shadow.Words != words) {
        shadow.Width = image.Width;
        shadow.Height = image.Height;
        shadow.Words = words;
        shadow.Indices.assign(size_t(image.Width) * size_t(image.Height), 0);
        shadow.RowKnown.assign(size_t(image.Height), 0);
    }
    const int32_t count = r.X2 - r.X1 + 1;
    const TRowConverter convert(words);
    const bool wholeRows = r.X1 == 0 && r.X2 == image.Width - 1;
    for (int32_t y = r.Y1; y <= r.Y2; ++y) {
        const uint8_t* src = page.Pixels.data() + size_t(y) * size_t(PageWidth) + size_t(r.X1);
        uint8_t* seen = shadow.Indices.data() + size_t(y) * size_t(shadow.Width) + size_t(r.X1);
        uint32_t* dst = image.Words + size_t(y) * size_t(image.WordsPerRow) + size_t(r.X1);
        if (shadow.RowKnown[size_t(y)]) {
            if (std::memcmp(src, seen, size_t(count)) != 0) ConvertChangedBlocks(convert, src, seen, dst, count);
            continue;
        }
        convert.Row(src, dst, count);
        std::memcpy(seen, src, size_t(count));
        // Part of an unknown row converted leaves the rest of it unknown.
        if (wholeRows) shadow.RowKnown[size_t(y)] = 1;
    }
}
