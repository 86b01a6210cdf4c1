// Pixel primitives on 32-bit bitmaps and the drawing of skin masks: fast accessors,
// fills, colour blends, copies that honour the key colour or an alpha mask, the
// nine-piece border mask, glyph masks and region-cutting borders.
// All routines clip to their bitmaps and do nothing for a missing, empty or non-32-bit
// bitmap, an empty rectangle or an invalid mask.
#pragma once
#include "framework/Bitmap.h"
#include "framework/Types.h"
#include "paint/PixelRows.h"
#include "paint/acRegion.h"
#include "paint/sCacheInfo.h"
#include "paint/sColor.h"
#include "model/sMaskData.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace qv {

class TacSkinSource;

// ---- fast accessors ----
class TacFast32 {
public:
    // False (and FWidth 0) for a bitmap less than 2 rows high or 1 column wide; throws
    // EAssertionFailed "Bitmap format is not supported" for one that is not 32-bit.
    bool Attach(TBitmap* Bmp);
    void FillBitmap(TColor Color) noexcept;
    void FillRect(TRect R, TColor Color) noexcept;
    // No bounds check: the caller checks. Colour-value byte order; A is byte 3.
    TsColor GetPixel(int X, int Y) const noexcept;
    void SetPixel(int X, int Y, TsColor Value) noexcept;
    int Width() const noexcept { return FWidth; }
    int Height() const noexcept { return FHeight; }

    TBitmap* FBitmap = nullptr;
    int FWidth = 0, FHeight = 0;
    std::uint8_t* FStart = nullptr;
    std::ptrdiff_t FDelta = 0;
};

class TacFastSum32 {
public:
    // False when either bitmap is less than 2 × 2 (or not 32-bit).
    bool Attach(TBitmap* BmpSrc, TBitmap* BmpDst) noexcept;
    // dst = (dst × Alpha + src × (255 − Alpha) + 127) shr 8 on every byte of
    // DstX1..DstX2−1 × DstY1..DstY2−1, reading from (SrcX1, SrcY1).
    void BlendBitmapsRect() noexcept;

    TBitmap* FBmpSrc = nullptr;
    TBitmap* FBmpDst = nullptr;
    int FWidthDst = 0, FHeightDst = 0;
    std::uint8_t* FStartSrc = nullptr;
    std::uint8_t* FStartDst = nullptr;
    std::ptrdiff_t FDeltaSrc = 0, FDeltaDst = 0;
    std::uint8_t Alpha = 0;
    int DstX1 = 0, DstY1 = 0, DstX2 = 0, DstY2 = 0;
    int SrcX1 = 0, SrcY1 = 0, SrcX2 = 0, SrcY2 = 0;
};

// ---- bitmaps ----
// A new 32-bit bitmap (zeroed); the caller owns it. TryCreateBmp32 gives nullptr instead
// of throwing when the memory or the DIB section cannot be had.
std::unique_ptr<TBitmap> CreateBmp32(int Width, int Height);
std::unique_ptr<TBitmap> TryCreateBmp32(int Width, int Height) noexcept;
// A new bitmap of the same size and pixel format.
std::unique_ptr<TBitmap> CreateBmpLike(TBitmap* Bmp);

// ---- fills and colour blends ----
void FillLongword(void* Address, std::size_t Count, std::uint32_t Value) noexcept;
void FillRect32(TBitmap* Bmp, TRect R, TColor Color) noexcept;
// Right and Bottom inclusive. B, G, R = p × old + (1 − p) × colour, p = Transparency/100.
void BlendColorRect(TBitmap* Bmp, TRect R, int Transparency, TColor Color) noexcept;
void BlendColorRect(PixelRows bmp, TRect R, int Transparency, TColor Color) noexcept;
void FillDCBorder32(TBitmap* Bmp, TRect aRect, int wl, int wt, int wr, int wb, TColor Color) noexcept;
void FillTransPixels32(TBitmap* DstBmp, TBitmap* SrcBmp, TRect DstRect, TPoint SrcPoint, int MaskIndex,
                       TacSkinSource* SkinManager, int MaskPos) noexcept;

enum TsDisabledKindFlag : std::uint8_t { dkBlended = 1, dkGrayed = 2 };
using TsDisabledKind = std::uint8_t;  // a set of TsDisabledKindFlag
// ParentColor stands in for the parent control's colour (used when the cache colour is
// the key colour).
void BmpDisabledKind(TBitmap* Bmp, TsDisabledKind DisabledKind, TColor ParentColor, const TCacheInfo& CI,
                     TPoint Offset) noexcept;

// ---- copies ----
// SrcRect has inclusive Right and Bottom.
void CopyTransRect(TBitmap* DstBmp, TBitmap* SrcBmp, int X, int Y, TRect SrcRect, TColor TransColor,
                   const TCacheInfo& CI, bool UpdateTrans) noexcept;
void CopyTransRect(PixelRows dst, PixelRows src, int X, int Y, TRect SrcRect, TColor TransColor, const TCacheInfo& CI,
                   bool UpdateTrans, bool dstIsParent) noexcept;
void CopyTransRectA(TBitmap* DstBmp, TBitmap* SrcBmp, int X, int Y, TRect SrcRect, TColor TransColor,
                    const TCacheInfo& CI) noexcept;
void CopyTransBitmaps(TBitmap* DstBmp, TBitmap* SrcBmp, int X, int Y, TColor TransColor) noexcept;
// R2 of Bmp2 (image rows; the mask rows lie MaskData.R.Height() div 2 below) onto R1 of Bmp1.
void CopyByMask(TRect R1, TRect R2, TBitmap* Bmp1, TBitmap* Bmp2, const TCacheInfo& CI, bool UpdateTrans,
                const TsMaskData& MaskData) noexcept;
void CopyByMask(PixelRows dst, TRect R1, PixelRows src, TRect R2, const TCacheInfo& CI, bool UpdateTrans,
                int maskRowOffset) noexcept;
// Alpha form: each channel = (dst × (256 − a) + src × a) shr 8 with the source's own A.
void CopyByMask(TRect R1, TRect R2, TBitmap* Bmp1, TBitmap* Bmp2, const TCacheInfo& CI, bool UpdateTrans) noexcept;

// ---- mask drawing ----
void DrawSkinRect(TBitmap* Bmp, TRect R, bool Filling, const TCacheInfo& ci, const TsMaskData& MaskData, int State,
                  bool UpdateCorners, TacSkinSource* SkinManager = nullptr) noexcept;
void StretchBltMask(int DstX1, int DstY1, int Dst_Width, int Dst_Height, int SrcX1, int SrcY1, int Src_Width,
                    int Src_Height, TBitmap* BmpDst, TBitmap* BmpSrc, int MaskOffset, bool NoStdStretch) noexcept;
void DrawSkinGlyph(TBitmap* Bmp, TPoint P, int State, int AddedTransparency, const TsMaskData& MaskData,
                   const TCacheInfo& CI) noexcept;
// From R1 of the image Bmp2 to R2 of Bmp1.
void BlendGlyphByMask(TRect R1, TRect R2, TBitmap* Bmp1, TBitmap* Bmp2, TColor TransColor, int AddedTransparency,
                      const TsMaskData& MaskData) noexcept;
// R2 of the mask's image (its own or the master bitmap) onto R1 of Bmp, blended by the
// mask rows under it; key pixels show the background of CI.
void CopyMasterRect(TRect R1, TRect R2, TBitmap* Bmp, const TCacheInfo& CI, const TsMaskData& MaskData) noexcept;
// Draws MaskData over the whole bitmap; the key runs of its corners are removed from
// Region (when given).
void PaintRgnBorder(TBitmap* Bmp, TacRegion* Region, bool Filling, const TsMaskData& MaskData, int State) noexcept;
// Dst and Src rectangles have exclusive right and bottom edges; a size difference
// stretches by pixel dropping.
void CopyMask(int DstX1, int DstY1, int DstX2, int DstY2, int SrcX1, int SrcY1, int SrcX2, int SrcY2, TBitmap* Bmp,
              TacRegion* Region, const TsMaskData& MaskData, bool FillRgn) noexcept;

}  // namespace qv
