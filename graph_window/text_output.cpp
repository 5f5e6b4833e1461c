#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <mutex>

#include "draw_state.h"
#include "platform/font_engine.h"

namespace {

// A face slot: the name and its NUL cut to 31 characters; length 0 is free.
struct TFaceSlot {
    uint8_t Length = 0;
    std::array<char, 31> Chars{};
};

std::array<TFaceSlot, 15> FaceTable;

constexpr std::array<const char*, 4> StandardFaces = {"Courier New", "MS Sans Serif", "Times New Roman",
                                                      "Arial"};

struct TTextState {
    int32_t Font = -1;  // of the font engine; -1: nothing can be written
    int32_t Direction = 0;
    bool Underline = false;
    uint16_t Horizontal = 0, Vertical = 0;  // 0 left, 1 centre, 2 right; 0 top, 1 bottom, 2 baseline
    uint16_t CharacterExtra = 0, BreakExtra = 0;
};
TTextState Text;

// The string as the library takes it: at most 255 characters.
size_t TextLength(const char* s) { return s ? strnlen(s, 255) : 0; }

struct TPoint2 {
    double X, Y;
};

// A filled quadrilateral in one colour, copied: the text cell and underline.
void FillQuad(const TSurface& s, const std::array<TPoint2, 4>& q, uint32_t pixel) {
    std::array<TPolyPoint, 4> p;
    for (size_t i = 0; i < 4; ++i)
        p[i] = {static_cast<int32_t>(std::lround(std::clamp(q[i].X, -1e9, 1e9))),
                static_cast<int32_t>(std::lround(std::clamp(q[i].Y, -1e9, 1e9)))};
    TPen none;
    none.Dash = DashNone;
    TBrush brush;
    brush.Pixel = pixel;
    FillSurfacePolygon(s, p.data(), 4, none, brush, TPaint{});
}

}  // namespace

int16_t RegisterFontFace(const char* face) {
    int16_t result = -1;
    ResultCode = 0;
    if (!WindowReady) {
        ResultCode = -1;
        return -1;
    }
    char name[256] = {};
    std::memcpy(name, face ? face : "", TextLength(face));
    {
        std::lock_guard lock(DrawLock);
        if (FontFaceIsPresent(name)) {
            for (size_t slot = 0; slot < FaceTable.size(); ++slot) {
                if (FaceTable[slot].Length != 0) continue;
                // The name and its NUL, cut to 31 characters.
                const size_t stored = std::min<size_t>(std::strlen(name) + 1, 31);
                FaceTable[slot].Chars.fill(0);
                std::memcpy(FaceTable[slot].Chars.data(), name, stored);
                FaceTable[slot].Length = static_cast<uint8_t>(stored);
                result = static_cast<int16_t>(slot);
                break;
            }
        }
    }
    if (result == -1) ResultCode = -5;
    return result;
}

void InstallStandardFaces() {
    for (TFaceSlot& slot : FaceTable) slot = TFaceSlot{};
    for (const char* face : StandardFaces) {
        RegisterFontFace(face);
        if (ResultCode != 0) return;
    }
}

void SelectTextFont(uint16_t font, uint16_t direction, uint16_t size) {
    if (!EnterDrawCall()) return;
    const size_t slot = font % 16;
    if (slot == 15 || FaceTable[slot].Length == 0) {
        ResultCode = -6;
        return;
    }
    TFontRequest request{};
    std::memcpy(request.Face, FaceTable[slot].Chars.data(), FaceTable[slot].Length);
    // Size 0 asks the platform for its default height.
    request.Height = size <= 5 ? size * 8 : size;
    if (request.Height == 0) request.Height = 16;
    request.Weight = 400 + 300 * ((font / 16) % 16);
    request.Italic = font / 4096 != 0;
    request.Underline = (font / 256) % 16 != 0;
    request.Direction = direction;
    std::lock_guard lock(DrawLock);
    Text.Font = OpenTextFont(request);
    Text.Direction = direction;
    Text.Underline = request.Underline;
}

void SetTextAnchor(uint16_t horizontal, uint16_t vertical) {
    if (!EnterDrawCall()) return;
    if (horizontal > 2 || vertical > 2) {
        ResultCode = -7;
        return;
    }
    Text.Horizontal = horizontal;
    Text.Vertical = vertical;
}

void SetTextSpacing(uint16_t characterExtra, uint16_t breakExtra) {
    if (!EnterDrawCall()) return;
    Text.CharacterExtra = characterExtra;
    Text.BreakExtra = breakExtra;
}

void DrawTextAtPen(const char* s) {
    if (!EnterDrawCall()) return;
    const size_t length = TextLength(s);
    int64_t endX = CurrentPosX, endY = CurrentPosY;
    {
        std::lock_guard lock(DrawLock);
        if (Text.Font >= 0 && length > 0) {
            const TSurface page = DrawPageSurface();
            ForgetDrawPageBlank();
            const TFontMetrics m = TextFontMetrics(Text.Font);
            // Every character gets the extra spacing, every space the break extra.
            int64_t width = 0;
            for (size_t i = 0; i < length; ++i) {
                const auto code = static_cast<uint8_t>(s[i]);
                width += TextGlyph(Text.Font, code).Advance + Text.CharacterExtra +
                         (code == ' ' ? Text.BreakExtra : 0);
            }
            const double angle = Text.Direction * 3.14159265358979323846 / 180.0;
            const TPoint2 along{std::cos(angle), -std::sin(angle)}, down{std::sin(angle), std::cos(angle)};
            const double shift = Text.Horizontal == 0 ? 0.0 : (Text.Horizontal == 2 ? -width : -(width / 2));
            const double drop = Text.Vertical == 0 ? m.Ascent : (Text.Vertical == 1 ? -m.Descent : 0.0);
            const TPoint2 base{CurrentPosX + shift * along.X + drop * down.X,
                               CurrentPosY + shift * along.Y + drop * down.Y};
            const auto at = [&](double a, double d) {
                return TPoint2{base.X + a * along.X + d * down.X, base.Y + a * along.Y + d * down.Y};
            };
            const std::array<TPoint2, 4> cell = {at(0, -m.Ascent), at(width, -m.Ascent), at(width, m.Descent),
                                                 at(0, m.Descent)};
            if (CurrentPaint.Opaque) FillQuad(page, cell, CurrentPaint.BackPixel);
            double advance = 0;
            for (size_t i = 0; i < length; ++i) {
                const auto code = static_cast<uint8_t>(s[i]);
                const TGlyphInfo g = TextGlyph(Text.Font, code);
                const TGlyphRun* runs = TextGlyphRuns(Text.Font) + g.FirstRun;
                const TPoint2 o = at(advance, 0);
                const int64_t ox = std::lround(std::clamp(o.X, -1e9, 1e9)),
                              oy = std::lround(std::clamp(o.Y, -1e9, 1e9));
                for (uint32_t r = 0; r < g.RunCount; ++r) {
                    const int64_t y = oy + runs[r].Dy, x = ox + runs[r].Dx;
                    if (y < page.Clip.Y1 || y > page.Clip.Y2 || x > page.Clip.X2 ||
                        x + runs[r].Length <= page.Clip.X1)
                        continue;
                    CopySurfaceRun(
                        page, static_cast<int32_t>(y),
                        static_cast<int32_t>(std::max<int64_t>(x, page.Clip.X1)),
                        static_cast<int32_t>(std::min<int64_t>(x + runs[r].Length - 1, page.Clip.X2)),
                        TextPixel);
                }
                advance += g.Advance + Text.CharacterExtra + (code == ' ' ? Text.BreakExtra : 0);
            }
            if (Text.Underline) {
                const double top = m.UnderlineOffset - m.UnderlineThickness / 2;
                FillQuad(page,
                         {at(0, top), at(width, top), at(width, top + m.UnderlineThickness),
                          at(0, top + m.UnderlineThickness)},
                         TextPixel);
            }
            // The pen follows the text: past its end when left-anchored, back to
            // its start when right-anchored, unmoved when centred.
            const double moved = Text.Horizontal == 0 ? width : (Text.Horizontal == 2 ? -width : 0.0);
            endX = CurrentPosX + std::lround(moved * along.X);
            endY = CurrentPosY + std::lround(moved * along.Y);
            double x1 = cell[0].X, y1 = cell[0].Y, x2 = x1, y2 = y1;
            for (const TPoint2& p : cell) {
                x1 = std::min(x1, p.X);
                y1 = std::min(y1, p.Y);
                x2 = std::max(x2, p.X);
                y2 = std::max(y2, p.Y);
            }
            const double pad = m.Ascent + m.Descent;  // italic and rotated glyphs overhang the cell
            ShowDrawnArea(static_cast<int64_t>(std::clamp(x1 - pad, -1e9, 1e9)),
                          static_cast<int64_t>(std::clamp(y1 - pad, -1e9, 1e9)),
                          static_cast<int64_t>(std::clamp(x2 + pad, -1e9, 1e9)),
                          static_cast<int64_t>(std::clamp(y2 + pad, -1e9, 1e9)));
        }
    }
    MovePenTo(static_cast<int16_t>(endX - PortOriginX), static_cast<int16_t>(endY - PortOriginY));
}

void DrawTextAt(int16_t x, int16_t y, const char* s) {
    MovePenTo(x, y);
    if (ResultCode != 0) return;
    DrawTextAtPen(s);
}

void ResetTextState() {
    SelectTextFont(0, 0, 16);
    SetTextAnchor(0, 0);
    SetTextSpacing(0, 0);
}
