// Multi-stop gradients: the gradient text of a skin section, its prepared array, and
// painting in the vertical, horizontal and triangle modes.
#pragma once
#include "framework/Bitmap.h"
#include "framework/Types.h"
#include "paint/PixelRows.h"

#include <cstdint>
#include <vector>

namespace qv {

// One piece of a gradient.
struct TsGradPie {
    TColor Color1 = 0;  // colour at the start of the piece
    TColor Color2 = 0;  // colour at the end of the piece
    int Percent = 0;    // share of the painted extent, 0..100
    int Mode1 = 0;      // 0 vertical, 1 horizontal, 2 triangles (the first piece decides)
    int Mode2 = 0;      // never set
};

using TsGradArray = std::vector<TsGradPie>;

// Replaces gradArray by the pieces of gradientStr (groups of five ";"-separated integers).
// Throws EConvertError for a word that is not an integer.
void PrepareGradArray(const String& GradientStr, TsGradArray& GradArray);

// Paints Data into aRect (clipped) of a 32-bit bitmap; every written pixel gets A 255.
void PaintGrad(TBitmap* Bmp, TRect aRect, const TsGradArray& Data, int OffsetX = 0, int OffsetY = 0) noexcept;
void PaintGrad(PixelRows bmp, TRect aRect, const TsGradArray& Data, int OffsetX = 0, int OffsetY = 0) noexcept;

// The gradient mixed per pixel with a texture tiled from the bitmap's origin:
// (gradient × (256 − TextureAlpha) + texture × TextureAlpha) shr 8. Modes 0 and 1 only.
void PaintGradTxt(TBitmap* Bmp, TRect aRect, const TsGradArray& Data, TBitmap* TextureBmp, TRect TextureRect,
                  int TextureAlpha) noexcept;
void PaintGradTxt(PixelRows bmp, TRect aRect, const TsGradArray& Data, PixelRows texture, TRect TextureRect,
                  int TextureAlpha) noexcept;

}  // namespace qv
