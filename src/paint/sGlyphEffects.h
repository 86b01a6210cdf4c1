// Glyph and text effects that work on pixels alone: the Gaussian blur of 8-bit masks, the
// glow colour laid through such a mask, glyphs drawn with their own alpha, and text
// shortening with an ellipsis.
#pragma once
#include "framework/Bitmap.h"
#include "framework/Types.h"
#include "paint/sCacheInfo.h"

#include <array>
#include <functional>

namespace qv {

struct TKernel {
    int Size = 0;                      // the radius actually used, at most 100
    std::array<float, 201> Weights{};  // indexed −100..100 through Weight()
    float& Weight(int i) noexcept { return Weights[static_cast<std::size_t>(i) + 100]; }
    float Weight(int i) const noexcept { return Weights[static_cast<std::size_t>(i) + 100]; }
};

// Weights of a Gaussian with standard deviation Radius, cut where the tails add up to
// less than MaxData / (2 × DataGranularity), normalised over −Size..Size.
void MakeGaussianKernel(TKernel& K, double Radius, double MaxData, double DataGranularity) noexcept;
// One line of Count bytes, Step bytes apart, blurred in place (scratch holds Count floats).
void BlurRow8(std::uint8_t* Line, int Count, std::ptrdiff_t Step, const TKernel& K) noexcept;
// Blurs an 8-bit bitmap in place, rows then columns; other bitmaps are left alone.
void Blur8(TBitmap* Bmp, double Radius) noexcept;

// The glow step: each mask value m other than 255 moves the destination pixel under it
// towards Color, (d − g) × m div 255 + g, and raises its alpha by (255 − m) × (255 − A) div 255.
// The mask's origin lies at (X, Y) of the destination.
void ApplyGlowMask(TBitmap* DstBmp, const TBitmap* MaskBmp, int X, int Y, TColor Color) noexcept;

// Draws SrcRect of a glyph with its own alpha onto DstRect of Dst.
constexpr TColor acNoTint = 0x1FFFFFFF;

// Opacity (0..255, of the glyph's own) of row Row under a glyph GlyphHeight rows high in
// its reflection: a third of the glyph's at the first row, falling by 255 / (half the
// glyph's height) per row, so the reflection ends after about a sixth of the height --
// the room the push button leaves under its glyph. 0 past the end.
constexpr int ReflectionOpacity(int Row, int GlyphHeight) noexcept {
    const int half = GlyphHeight / 2 > 0 ? GlyphHeight / 2 : 1;
    const int v = 85 - Row * 255 / half;
    return Row < 0 || v < 0 ? 0 : v;
}

void CopyBmp32(TRect DstRect, TRect SrcRect, TBitmap* Dst, TBitmap* Src, const TCacheInfo& CI, bool UpdateTrans,
               TColor GrayedColor, int Blend, bool Reflected) noexcept;

// The text shortened with "..." until TextWidth says it fits MaxLength pixels; empty
// when not even the first character and "..." fit.
String CutText(const String& Text, int MaxLength, const std::function<int(const String&)>& TextWidth);

}  // namespace qv
