// Colour and pixel filters on colour values and 32-bit bitmaps (bytes B, G, R, A; key
// pixel 0x00FF00FF): hue and saturation shifts, grey scale, blends, fading, alpha fill,
// and the filtered resampler. Entry points taking TBitmap* do nothing for a missing,
// empty or non-32-bit bitmap; each has a core on pixel views.
#pragma once
#include "framework/Bitmap.h"
#include "framework/SysUtils.h"
#include "framework/Types.h"
#include "paint/PixelRows.h"
#include "paint/sColor.h"

#include <cstdint>
#include <vector>

namespace qv {

// ---- single colours ----
// Hue shifted by Delta degrees; C is in pixel order (sBGRA), Color a colour value.
TsColor ChangeHue(int Delta, TsColor C) noexcept;
TColor ChangeHue(int Delta, TColor Color) noexcept;
// Saturation shifted by Delta percent (−100 gives grey).
TColor ChangeSaturation(TColor Color, int Delta) noexcept;
TsColor ChangeSaturation(int Delta, TsColor C) noexcept;

// ---- whole bitmaps (key pixels and grey pixels are left as they are) ----
void ChangeBmpHUE(TBitmap* Bmp, int Value) noexcept;
void ChangeBmpHUE(PixelRows bmp, int Value) noexcept;
void ChangeBmpSaturation(TBitmap* Bmp, int Value) noexcept;
void ChangeBmpSaturation(PixelRows bmp, int Value) noexcept;

// R, G, B become (R + G + B) div 3; A unchanged. GrayScaleTrans leaves pixels equal to
// TransColor (a colour value, compared as a whole pixel word with A 0).
void GrayScale(TBitmap* Bmp) noexcept;
void GrayScale(PixelRows bmp) noexcept;
void GrayScaleTrans(TBitmap* Bmp, TColor TransColor) noexcept;
void GrayScaleTrans(PixelRows bmp, TColor TransColor) noexcept;

// SrcRect (Right and Bottom inclusive) of Src laid over Dst at (X, Y), pixels equal to
// TransColor left out: channel = s − (s − d) × Blend, rounded. Destination A kept.
void BlendTransRectangle(TBitmap* Dst, int X, int Y, TBitmap* Src, TRect SrcRect, double Blend,
                         TColor TransColor = clFuchsia) noexcept;
void BlendTransRectangle(PixelRows dst, int X, int Y, PixelRows src, TRect SrcRect, double Blend,
                         TColor TransColor = clFuchsia) noexcept;

// Every non-key pixel: channel = Blend × (own − colour) + colour, rounded. A kept.
void BlendTransBitmap(TBitmap* Bmp, double Blend, TColor Color) noexcept;
void BlendTransBitmap(PixelRows bmp, double Blend, TColor Color) noexcept;

// Equal sizes only: channel = (colour × (256 − m) + own × m) shr 8, m the mask's channel.
void BlendBmpByMask(TBitmap* SrcBmp, TBitmap* MskBmp, TColor BlendColor) noexcept;
void BlendBmpByMask(PixelRows src, PixelRows msk, TColor BlendColor) noexcept;

// Moves aRect towards Color (Transparency percent of the picture stays) with an edge of
// Blur rings and rounded corners of Radius pixels.
void FadeBmp(TBitmap* FadedBmp, TRect aRect, int Transparency, TColor Color, int Blur, int Radius) noexcept;
void FadeBmp(PixelRows bmp, TRect aRect, int Transparency, TColor Color, int Blur, int Radius) noexcept;

// Equal sizes only: every byte of SrcBmp = (own × a + other × (255 − a) + 127) shr 8,
// a = the low byte of Color.
void SumBitmaps(TBitmap* SrcBmp, TBitmap* MskBmp, TColor Color) noexcept;
void SumBitmaps(PixelRows src, PixelRows other, TColor Color) noexcept;

// Equal sizes only: channel = (src2 × (256 − w) + src1 × w) shr 8, w the mask's same
// channel or Percent (0..256) when MskBmp is missing. Result A kept.
void SumBitmapsByMask(TBitmap* ResultBmp, TBitmap* Src1, TBitmap* Src2, TBitmap* MskBmp, int Percent) noexcept;
void SumBitmapsByMask(PixelRows result, PixelRows src1, PixelRows src2, PixelRows msk, int Percent) noexcept;

// Sets A of every pixel in R (clipped) to Value; with SkipFuchsia key pixels keep theirs.
void FillAlphaRect(TBitmap* Bmp, TRect R, std::uint8_t Value, bool SkipFuchsia = false) noexcept;
void FillAlphaRect(PixelRows bmp, TRect R, std::uint8_t Value, bool SkipFuchsia = false) noexcept;

// ---- filtered resampling ----
enum TFilterType { ftBox = 0, ftTriangle, ftHermite, ftBell, ftSpline, ftLanczos3, ftMitchell };

// Support radius of each filter.
double FilterSupport(TFilterType Filter) noexcept;
// The filter's value at x (the signed distance; only the box filter looks at the sign).
double FilterValue(TFilterType Filter, double x) noexcept;

struct TContributor {
    int Pixel;   // source position × Delta (a byte offset in the line)
    int Weight;  // 16.16 fixed point
};
struct TCList {
    int Count = 0;
    std::vector<TContributor> Data;
};
using TCLists = std::vector<TCList>;

// Contributor lists for resampling a line of MaxSize source pixels to Size pixels.
void CreateContributors(TCLists& Contrib, int Size, int MaxSize, TFilterType Filter, int Delta);
void FreeContributors(TCLists& Contrib) noexcept;
// One resampled line of Count pixels: destination pixel i at dstLine + i × dstDelta.
void DRAWLINE24PAS(int Count, const TCLists& Contributes, const std::uint8_t* srcLine, std::uint8_t* dstLine,
                   std::ptrdiff_t dstDelta) noexcept;
void DRAWLINE32PAS(int Count, const TCLists& Contributes, const std::uint8_t* srcLine, std::uint8_t* dstLine,
                   std::ptrdiff_t dstDelta) noexcept;

// Resamples Src into Dst (made Width × Height, 32-bit for a 32-bit source, else 24-bit).
// Nothing for Height (or Width) 0 or less; throws EInvalidGraphic "Source bitmap is too
// small" for a missing source or one smaller than 2 × 2. Param is not used.
void Stretch(TBitmap* Src, TBitmap* Dst, int Width, int Height, TFilterType Filter, double Param = 0);

}  // namespace qv
