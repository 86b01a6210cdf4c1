// Multi-stop gradients painted in the vertical, horizontal and triangle modes from a
// section's prepared gradient array.
#pragma once
#include "framework/Bitmap.h"
#include "framework/Types.h"
#include "paint/PixelRows.h"
#include "model/sGradientData.h"

#include <cstdint>
#include <vector>

namespace qv {

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
