// Fonts for the text routines: fontconfig finds faces (with the library's own
// aliases loaded on top of the system's), FreeType renders glyphs once per font,
// one bit per pixel (palette pages cannot blend), into runs of pixels that the
// text routines copy onto pages.
// Not thread-safe: the library calls it with DrawLock held.
#pragma once

#include <cstdint>

// Whether fontconfig binds the family to an installed face by its own name or
// a metric-compatible alias; the generic fallback does not count.
bool FontFaceIsPresent(const char* family);

struct TFontRequest {
    char Face[32];   // NUL-terminated
    int32_t Height;  // character cell in pixels
    int32_t Weight;  // 100 .. 1000
    bool Italic;
    bool Underline;
    int32_t Direction;  // degrees, counter-clockwise on the screen
};

struct TFontMetrics {
    int32_t Ascent, Descent;  // Ascent + Descent = the cell height
    int32_t UnderlineOffset;  // below the baseline
    int32_t UnderlineThickness;
};

// A horizontal run of set pixels relative to the glyph's origin on the screen
// (the origin on the baseline, y downwards).
struct TGlyphRun {
    int16_t Dx, Dy, Length;
};

struct TGlyphInfo {
    uint32_t FirstRun, RunCount;
    int32_t Advance;  // along the baseline, whole pixels
};

// A font made for the request (cached), or -1 when no face could be loaded.
int32_t OpenTextFont(const TFontRequest& request);
TFontMetrics TextFontMetrics(int32_t font);
const char* TextFontFile(int32_t font);  // the face's file
// The glyph of one byte of the 8-bit code page (cp1252), rendered on first use.
// Runs stay valid until the next glyph is rendered or font opened.
TGlyphInfo TextGlyph(int32_t font, uint8_t code);
const TGlyphRun* TextGlyphRuns(int32_t font);
