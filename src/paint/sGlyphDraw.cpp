// Keyed glyphs: transparent colour, blend, grey tint and reflection.
#include "paint/sGlyphDraw.h"

#include <algorithm>
#include <cstdint>

namespace qv {

namespace {

// The pixel at (x, y) of an 8, 24 or 32-bit bitmap as 0x00RRGGBB (alpha ignored).
std::uint32_t ReadRgb(const TBitmap& bmp, int x, int y) noexcept {
    const std::uint8_t* row = bmp.ScanLine(y);
    switch (bmp.PixelFormat()) {
    case pf8bit: return bmp.Palette()[row[x]] & 0xFFFFFF;
    case pf24bit: return row[x * 3] | (row[x * 3 + 1] << 8) | (static_cast<std::uint32_t>(row[x * 3 + 2]) << 16);
    default: return row[x * 4] | (row[x * 4 + 1] << 8) | (static_cast<std::uint32_t>(row[x * 4 + 2]) << 16);
    }
}

bool Readable(const TBitmap* bmp) noexcept {
    if (!bmp || bmp->Empty()) return false;
    const TPixelFormat f = bmp->PixelFormat();
    return f == pf8bit || f == pf24bit || f == pf32bit;
}

struct Tint {
    bool On;
    int C[3];  // B, G, R factors
    explicit Tint(TColor grayed) noexcept : On(grayed != acNoTint), C{} {
        const auto c = static_cast<std::uint32_t>(ColorToRGB(grayed));
        C[0] = (c >> 16) & 0xFF;
        C[1] = (c >> 8) & 0xFF;
        C[2] = c & 0xFF;
    }
};

// count glyph pixels, read(i) giving the i-th as 0x00RRGGBB, laid over d.
template <class Read>
void LayPixels(std::uint8_t* d, int count, Read read, std::uint32_t key, bool keyed, int opacity,
               const Tint& tint) noexcept {
    for (int i = 0; i < count; ++i, d += 4) {
        const std::uint32_t rgb = read(i);
        if (keyed && rgb == key) continue;
        int c[3] = {static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF), static_cast<int>(rgb >> 16)};
        if (tint.On) {
            const int grey = (c[0] + c[1] + c[2]) / 3;
            for (int ch = 0; ch < 3; ++ch) c[ch] = grey * tint.C[ch] / 255;
        }
        for (int ch = 0; ch < 3; ++ch)
            d[ch] = static_cast<std::uint8_t>((c[ch] * opacity + d[ch] * (255 - opacity) + 127) / 255);
    }
}

// One row of glyph pixels laid over one row of the destination; the source row and its
// pixel format are looked at once per row.
void LayRow(std::uint8_t* d, const TBitmap& src, int srcX, int srcY, int count, std::uint32_t key, bool keyed,
            int opacity, const Tint& tint) noexcept {
    const std::uint8_t* row = src.ScanLine(srcY);
    switch (src.PixelFormat()) {
    case pf8bit: {
        const auto& palette = src.Palette();
        const std::uint8_t* p = row + srcX;
        LayPixels(
            d, count, [&](int i) { return palette[p[i]] & 0xFFFFFF; }, key, keyed, opacity, tint);
        break;
    }
    case pf24bit: {
        const std::uint8_t* p = row + srcX * 3;
        LayPixels(
            d, count,
            [&](int i) {
                const std::uint8_t* q = p + i * 3;
                return q[0] | (q[1] << 8) | (static_cast<std::uint32_t>(q[2]) << 16);
            },
            key, keyed, opacity, tint);
        break;
    }
    default: {
        const std::uint8_t* p = row + srcX * 4;
        LayPixels(
            d, count,
            [&](int i) {
                const std::uint8_t* q = p + i * 4;
                return q[0] | (q[1] << 8) | (static_cast<std::uint32_t>(q[2]) << 16);
            },
            key, keyed, opacity, tint);
        break;
    }
    }
}

}  // namespace

namespace {

void DrawKeyed(TBitmap* Dst, TRect DstRect, const TBitmap* Src, TRect SrcRect, TColor TransColor, int Opacity,
               TColor GrayedColor, bool Glyph, bool Reflection) noexcept {
    if (!Dst || Dst->Empty() || Dst->PixelFormat() != pf32bit || !Readable(Src)) return;
    Opacity = std::clamp(Opacity, 0, 255);
    const int glyphW = std::min(DstRect.Width(), SrcRect.Width());
    const int glyphH = std::min(DstRect.Height(), SrcRect.Height());
    if (glyphW <= 0 || glyphH <= 0) return;
    // Columns clipped to both pictures; rows are checked one by one, since the
    // reflection reads the glyph's rows bottom up.
    int dx = DstRect.Left, sx = SrcRect.Left, w = glyphW;
    if (sx < 0) {
        dx -= sx;
        w += sx;
        sx = 0;
    }
    if (dx < 0) {
        sx -= dx;
        w += dx;
        dx = 0;
    }
    w = std::min({w, Src->Width() - sx, Dst->Width() - dx});
    if (w <= 0) return;
    const bool keyed = TransColor != clNone;
    const auto kc = static_cast<std::uint32_t>(ColorToRGB(TransColor));
    const std::uint32_t key = ((kc & 0xFF) << 16) | (kc & 0xFF00) | ((kc >> 16) & 0xFF);
    const Tint tint(GrayedColor);
    auto rowFits = [&](int dy, int sy) { return dy >= 0 && dy < Dst->Height() && sy >= 0 && sy < Src->Height(); };
    for (int j = 0; Glyph && j < glyphH; ++j) {
        const int dy = DstRect.Top + j, sy = SrcRect.Top + j;
        if (rowFits(dy, sy)) LayRow(Dst->ScanLine(dy) + dx * 4, *Src, sx, sy, w, key, keyed, Opacity, tint);
    }
    if (!Reflection) return;
    for (int j = 0; j < glyphH; ++j) {
        const int fade = ReflectionOpacity(j, glyphH);
        if (fade <= 0) break;
        const int dy = DstRect.Top + glyphH + j, sy = SrcRect.Top + glyphH - 1 - j;
        if (rowFits(dy, sy))
            LayRow(Dst->ScanLine(dy) + dx * 4, *Src, sx, sy, w, key, keyed, Opacity * fade / 255, tint);
    }
}

}  // namespace

void DrawKeyedGlyph(TBitmap* Dst, TRect DstRect, const TBitmap* Src, TRect SrcRect, TColor TransColor, int Opacity,
                    TColor GrayedColor, bool Reflected) noexcept {
    DrawKeyed(Dst, DstRect, Src, SrcRect, TransColor, Opacity, GrayedColor, true, Reflected);
}

void DrawKeyedReflection(TBitmap* Dst, TRect DstRect, const TBitmap* Src, TRect SrcRect, TColor TransColor, int Opacity,
                         TColor GrayedColor) noexcept {
    DrawKeyed(Dst, DstRect, Src, SrcRect, TransColor, Opacity, GrayedColor, false, true);
}

TColor GlyphTransColor(const TBitmap& Glyph) noexcept {
    if (!Readable(&Glyph)) return clNone;
    const std::uint32_t rgb = ReadRgb(Glyph, 0, Glyph.Height() - 1);
    return static_cast<TColor>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

int GlyphSubImage(int NumGlyphs, int State, bool Down, bool Enabled) noexcept {
    if (!Enabled) return NumGlyphs > 1 ? 1 : 0;
    if (State == 2) {
        if (Down && NumGlyphs > 3) return 3;
        if (NumGlyphs > 2) return 2;
    }
    return 0;
}

void DrawGlyphEx(const TBitmap* Glyph, TBitmap* DstBmp, TRect R, bool Reflected, bool Down, int Blend, int State,
                 bool DisabledBlended, bool Enabled, int NumGlyphs, TColor GrayedColor) noexcept {
    if (!Readable(Glyph)) return;
    NumGlyphs = std::max(1, NumGlyphs);
    const int w = Glyph->Width() / NumGlyphs;
    if (w <= 0) return;
    const int index = GlyphSubImage(NumGlyphs, State, Down, Enabled);
    // A disabled image of the glyph's own is the whole disabled look.
    const bool ownDisabled = !Enabled && index == 1;
    int blend = State == 0 ? std::clamp(Blend, 0, 100) : 0;
    if (!Enabled && DisabledBlended && !ownDisabled) blend = std::max(blend, 50);
    if (ownDisabled) blend = 0;
    const TRect src{index * w, 0, index * w + w, Glyph->Height()};
    DrawKeyedGlyph(DstBmp, R, Glyph, src, GlyphTransColor(*Glyph), (100 - blend) * 255 / 100,
                   ownDisabled ? acNoTint : GrayedColor, Reflected);
}

}  // namespace qv
