// Glyphs without an alpha channel (8, 24 or 32 bits with the alpha ignored) drawn into a
// 32-bit picture: one pixel colour is transparent, the rest is laid over the picture,
// faded by a blend percent, tinted grey and optionally reflected below.
#pragma once
#include "framework/Bitmap.h"
#include "framework/Types.h"
#include "paint/sGlyphEffects.h"

namespace qv {

// Lays SrcRect of Src over DstRect of Dst (the smaller of the two sizes), leaving out
// the pixels whose colour is TransColor (clNone: none left out). Each other pixel is
// reduced to its grey level times GrayedColor's channels / 255 unless GrayedColor is
// acNoTint, then laid with Opacity (0..255): d = (s × o + d × (255 − o) + 127) div 255.
// With Reflected a faded mirror image is drawn under DstRect (see ReflectionOpacity).
// Clipped to both pictures; destination alpha is kept.
void DrawKeyedGlyph(TBitmap* Dst, TRect DstRect, const TBitmap* Src, TRect SrcRect, TColor TransColor, int Opacity,
                    TColor GrayedColor, bool Reflected) noexcept;

// Only the reflection DrawKeyedGlyph draws under DstRect, for a glyph laid by other means.
void DrawKeyedReflection(TBitmap* Dst, TRect DstRect, const TBitmap* Src, TRect SrcRect, TColor TransColor, int Opacity,
                         TColor GrayedColor) noexcept;

// The colour of a glyph's bottom-left pixel (its transparent colour, as the framework's
// buttons take it); clNone for an empty glyph.
TColor GlyphTransColor(const TBitmap& Glyph) noexcept;

// The sub-image a glyph of NumGlyphs images side by side shows, in the framework's
// order (up, disabled, pressed, down): disabled with an image of its own → 1; pressed
// (State 2) → 3 when Down and there are four, else 2 when there are three or more;
// every other case → 0.
int GlyphSubImage(int NumGlyphs, int State, bool Down, bool Enabled) noexcept;

// A button glyph of NumGlyphs images side by side drawn at R of DstBmp for State (0
// normal, 1 hot, 2 pressed; R already carries the pressed offset). The glyph's
// bottom-left pixel colour is transparent. Blend (percent) fades the glyph in the normal
// state; a disabled glyph without an image of its own is faded by at least 50 % when
// DisabledBlended. GrayedColor tints the glyph (acNoTint: none), except a disabled glyph
// drawn from its own disabled image, which is shown as it is.
void DrawGlyphEx(const TBitmap* Glyph, TBitmap* DstBmp, TRect R, bool Reflected, bool Down, int Blend, int State,
                 bool DisabledBlended, bool Enabled, int NumGlyphs, TColor GrayedColor) noexcept;

}  // namespace qv
