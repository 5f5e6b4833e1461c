#include "font_engine.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

namespace {

// No Linux system has "MS Sans Serif"; give it the metric-compatible free sans
// face, bound as strongly as the name itself.
constexpr const char* LibraryFontConfig = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <alias binding="same">
    <family>MS Sans Serif</family>
    <accept><family>Liberation Sans</family></accept>
  </alias>
</fontconfig>
)";

// Glyphs larger than this are not worth rendering (and would take memory and
// time without bound for sizes near 65535).
constexpr int32_t MaxRenderedHeight = 2048;

// cp1252 bytes 0x80 to 0x9F; the rest of the code page is Latin-1.
constexpr std::array<uint16_t, 32> Cp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

struct TCachedFont {
    TFontRequest Key{};
    std::vector<char> File;
    FT_Face Face = nullptr;
    TFontMetrics Metrics{};
    std::array<TGlyphInfo, 256> Glyphs{};
    std::array<bool, 256> Rendered{};
    std::vector<TGlyphRun> Runs;
    uint64_t LastUse = 0;
};

constexpr size_t FontCacheSize = 8;

struct TFontEngine {
    bool Tried = false;
    FcConfig* Config = nullptr;
    FT_Library Library = nullptr;
    std::array<TCachedFont, FontCacheSize> Fonts;
    uint64_t UseCounter = 0;
};
TFontEngine Engine;

bool StartFontEngine() {
    if (Engine.Tried) return Engine.Config && Engine.Library;
    Engine.Tried = true;
    Engine.Config = FcInitLoadConfigAndFonts();
    if (Engine.Config)
        FcConfigParseAndLoadFromMemory(Engine.Config, reinterpret_cast<const FcChar8*>(LibraryFontConfig),
                                       FcTrue);
    if (FT_Init_FreeType(&Engine.Library) != 0) Engine.Library = nullptr;
    return Engine.Config && Engine.Library;
}

bool SameKey(const TFontRequest& a, const TFontRequest& b) {
    return std::strcmp(a.Face, b.Face) == 0 && a.Height == b.Height && a.Weight == b.Weight &&
           a.Italic == b.Italic && a.Underline == b.Underline && a.Direction == b.Direction;
}

// The file fontconfig picks for the family, weight and slant.
bool MatchFontFile(const TFontRequest& r, std::vector<char>& file, int& index) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(r.Face));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(std::clamp(r.Weight, 1, 1000)));
    FcPatternAddInteger(pattern, FC_SLANT, r.Italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(Engine.Config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(Engine.Config, pattern, &result);
    FcPatternDestroy(pattern);
    bool found = false;
    FcChar8* path = nullptr;
    if (match && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) {
        const size_t n = std::strlen(reinterpret_cast<const char*>(path));
        file.assign(reinterpret_cast<const char*>(path), reinterpret_cast<const char*>(path) + n + 1);
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch) index = 0;
        found = true;
    }
    if (match) FcPatternDestroy(match);
    return found;
}

// Sizes the face so that its cell (the Windows ascent plus descent of the
// OS/2 table, the font's own extent otherwise) is the requested height.
void SizeFace(TCachedFont& f) {
    FT_Face face = f.Face;
    const double upem = face->units_per_EM ? face->units_per_EM : 2048;
    double ascent = face->ascender, descent = -face->descender;
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        os2 && os2->usWinAscent + os2->usWinDescent > 0) {
        ascent = os2->usWinAscent;
        descent = os2->usWinDescent;
    }
    if (ascent + descent <= 0) ascent = upem;
    const int32_t height = std::clamp(f.Key.Height, 1, MaxRenderedHeight);
    const double em = height * upem / (ascent + descent);
    FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(em * 64)), 72, 72);
    const double scale = em / upem;
    f.Metrics.Ascent = static_cast<int32_t>(std::lround(ascent * scale));
    f.Metrics.Descent = height - f.Metrics.Ascent;
    f.Metrics.UnderlineOffset = static_cast<int32_t>(std::lround(-face->underline_position * scale));
    f.Metrics.UnderlineThickness =
        std::max(1, static_cast<int32_t>(std::lround(face->underline_thickness * scale)));
    if (f.Key.Direction % 360 != 0) {
        const double a = (f.Key.Direction % 360) * 3.14159265358979323846 / 180.0;
        FT_Matrix m;
        m.xx = static_cast<FT_Fixed>(std::lround(std::cos(a) * 65536));
        m.xy = static_cast<FT_Fixed>(std::lround(-std::sin(a) * 65536));
        m.yx = static_cast<FT_Fixed>(std::lround(std::sin(a) * 65536));
        m.yy = m.xx;
        FT_Set_Transform(face, &m, nullptr);
    }
}

void RenderGlyph(TCachedFont& f, uint8_t code) {
    TGlyphInfo& g = f.Glyphs[code];
    g = {static_cast<uint32_t>(f.Runs.size()), 0, 0};
    f.Rendered[code] = true;
    const uint32_t ucs = (code >= 0x80 && code < 0xA0) ? Cp1252High[code - 0x80] : code;
    const FT_UInt index = FT_Get_Char_Index(f.Face, ucs);
    if (FT_Load_Glyph(f.Face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) return;
    FT_GlyphSlot slot = f.Face->glyph;
    if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) return;
    g.Advance = static_cast<int32_t>((slot->metrics.horiAdvance + 32) >> 6);
    const FT_Bitmap& b = slot->bitmap;
    if (b.pixel_mode != FT_PIXEL_MODE_MONO || b.buffer == nullptr) return;
    const int pitch = b.pitch;
    const unsigned char* top = pitch >= 0 ? b.buffer : b.buffer + static_cast<ptrdiff_t>(b.rows - 1) * -pitch;
    for (unsigned row = 0; row < b.rows; ++row) {
        const unsigned char* bits = top + static_cast<ptrdiff_t>(row) * pitch;
        for (unsigned x = 0; x < b.width;) {
            if (!((bits[x >> 3] >> (7 - (x & 7))) & 1u)) {
                ++x;
                continue;
            }
            const unsigned start = x;
            while (x < b.width && ((bits[x >> 3] >> (7 - (x & 7))) & 1u)) ++x;
            f.Runs.push_back({static_cast<int16_t>(slot->bitmap_left + static_cast<int>(start)),
                              static_cast<int16_t>(static_cast<int>(row) - slot->bitmap_top),
                              static_cast<int16_t>(x - start)});
            ++g.RunCount;
        }
    }
}

}  // namespace

bool FontFaceIsPresent(const char* family) {
    if (family == nullptr || family[0] == '\0' || !StartFontEngine()) return false;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcConfigSubstitute(Engine.Config, pattern, FcMatchPattern);
    // The family itself and its metric-compatible aliases come bound strongly
    // (or as strongly as the name); generic fallbacks come weak.
    std::vector<const FcChar8*> strong;
    FcPatternIter it;
    FcPatternIterStart(pattern, &it);
    if (FcPatternIterIsValid(pattern, &it)) {
        do {
            if (std::strcmp(FcPatternIterGetObject(pattern, &it), FC_FAMILY) != 0) continue;
            const int n = FcPatternIterValueCount(pattern, &it);
            for (int i = 0; i < n; ++i) {
                FcValue v;
                FcValueBinding binding;
                if (FcPatternIterGetValue(pattern, &it, i, &v, &binding) == FcResultMatch &&
                    v.type == FcTypeString && binding != FcValueBindingWeak)
                    strong.push_back(v.u.s);
            }
        } while (FcPatternIterNext(pattern, &it));
    }
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(Engine.Config, pattern, &result);
    bool present = false;
    FcChar8* name = nullptr;
    for (int i = 0; match && !present && FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i)
        for (const FcChar8* s : strong)
            if (FcStrCmpIgnoreCase(s, name) == 0) present = true;
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pattern);  // the strong names pointed into it
    return present;
}

int32_t OpenTextFont(const TFontRequest& request) {
    if (!StartFontEngine()) return -1;
    ++Engine.UseCounter;
    size_t victim = 0;
    for (size_t i = 0; i < Engine.Fonts.size(); ++i) {
        TCachedFont& f = Engine.Fonts[i];
        if (f.Face && SameKey(f.Key, request)) {
            f.LastUse = Engine.UseCounter;
            return static_cast<int32_t>(i);
        }
        if (f.LastUse < Engine.Fonts[victim].LastUse) victim = i;
    }
    std::vector<char> file;
    int index = 0;
    FT_Face face = nullptr;
    if (!MatchFontFile(request, file, index) || FT_New_Face(Engine.Library, file.data(), index, &face) != 0)
        return -1;
    FT_Select_Charmap(face, FT_ENCODING_UNICODE);
    TCachedFont& f = Engine.Fonts[victim];
    if (f.Face) FT_Done_Face(f.Face);
    f = TCachedFont{};
    f.Key = request;
    f.File = std::move(file);
    f.Face = face;
    f.LastUse = Engine.UseCounter;
    SizeFace(f);
    return static_cast<int32_t>(victim);
}

const char* TextFontFile(int32_t font) { return Engine.Fonts[static_cast<size_t>(font)].File.data(); }

TFontMetrics TextFontMetrics(int32_t font) { return Engine.Fonts[static_cast<size_t>(font)].Metrics; }

TGlyphInfo TextGlyph(int32_t font, uint8_t code) {
    TCachedFont& f = Engine.Fonts[static_cast<size_t>(font)];
    if (!f.Rendered[code]) RenderGlyph(f, code);
    return f.Glyphs[code];
}

const TGlyphRun* TextGlyphRuns(int32_t font) { return Engine.Fonts[static_cast<size_t>(font)].Runs.data(); }
