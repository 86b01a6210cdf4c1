// Painting one skin section in a state onto a rectangle of a 32-bit bitmap (background,
// colour, gradient, texture, corner images, border mask, hue and saturation), the
// texture placements, and the small fill, blend and layout helpers around it.
#pragma once
#include "framework/Bitmap.h"
#include "framework/Types.h"
#include "paint/PixelRows.h"
#include "paint/acRegion.h"
#include "model/acSkinSource.h"
#include "paint/sCacheInfo.h"

#include <cstdint>
#include <memory>

namespace qv {

// What the painting routines need of a control's skin binding. The binding implements it.
class TacCtrlPaintData {
public:
    virtual ~TacCtrlPaintData() = default;
    virtual TacSkinSource* SkinManager() const noexcept = 0;
    virtual int SkinIndex() const noexcept = 0;
    virtual const String& SkinSection() const noexcept = 0;
    virtual int BorderIndex() const noexcept = 0;
    virtual int Texture() const noexcept = 0;
    virtual int HotTexture() const noexcept = 0;
    // The colour the control paints instead of its section's, as RGB (the owner form's or
    // control's colour when the binding has FCustomColor set); clFuchsia when none.
    virtual TColor CustomColor() const noexcept = 0;
    virtual int HUEOffset() const noexcept = 0;
    virtual int Saturation() const noexcept = 0;

    // The control's cache bitmap (made by InitCacheBmp) and where it sits in its parent.
    virtual TBitmap* CacheBmp() noexcept = 0;
    virtual void InitCacheBmp() noexcept {}
    virtual bool HasOwnerControl() const noexcept = 0;
    virtual TPoint OwnerPosition() const noexcept = 0;
    // Asks the owner's parent (or the parent window) for the background behind the control.
    virtual bool GetParentBGInfo(TacBGInfo& BGInfo, bool PleaseDraw) noexcept = 0;
    // The control's background colour in a state (RGB).
    virtual TColor GetBGColor(int State) const noexcept = 0;

    // Caption facts.
    virtual int COC() const noexcept { return 0; }
    virtual bool IsWindowed() const noexcept { return true; }
    virtual bool ParentFont() const noexcept { return false; }
    virtual bool HasParent() const noexcept { return true; }
    virtual bool HasCustomFont() const noexcept { return false; }
    // The section whose font colours a transparent control uses in a state (0 normal,
    // above 0 hot): its parent's; -1: its own.
    virtual int GetFontIndex(int /*State*/) const noexcept { return -1; }
};

// Texture fill modes: a texture's mask DrawMode taken as a number.
enum TacFillMode {
    fmTiled = 0,
    fmStretched,
    fmTiledHorz,
    fmTiledVert,
    fmStretchHorz,
    fmStretchVert,
    fmTileHorBtm,
    fmTileVertRight,
    fmStretchHorBtm,
    fmStretchVertRight,
    fmDisTiled,
    fmDiscHorTop,
    fmDiscVertLeft,
    fmDiscHorBottom,
    fmDiscVertRight
};
constexpr TacFillMode acFillModes[15] = {fmTiled,         fmStretched,        fmTiledHorz,    fmTiledVert,
                                         fmStretchHorz,   fmStretchVert,      fmTileHorBtm,   fmTileVertRight,
                                         fmStretchHorBtm, fmStretchVertRight, fmDisTiled,     fmDiscHorTop,
                                         fmDiscVertLeft,  fmDiscHorBottom,    fmDiscVertRight};

// ---- painting a section ----
void PaintItem(int SkinIndex, const String& SkinSection, TCacheInfo ci, bool Filling, int State, TRect R, TPoint pP,
               TBitmap* ItemBmp, TacSkinSource* SkinManager, int BGIndex = -1, int BGHotIndex = -1) noexcept;
void PaintItem(TacCtrlPaintData* SkinData, TCacheInfo ci, bool Filling, int State, TRect R, TPoint pP, TBitmap* ItemBmp,
               bool UpdateCorners, int OffsetX = 0, int OffsetY = 0) noexcept;
void PaintItemFast(int SkinIndex, int MaskIndex, int BGIndex, int BGHotIndex, const String& SkinSection, TCacheInfo& ci,
                   bool Filling, int State, TRect R, TPoint pP, TBitmap* ItemBmp, TacSkinSource* SkinManager) noexcept;
void PaintItemBG(int SkinIndex, const String& SkinSection, const TCacheInfo& ci, int State, TRect R, TPoint pP,
                 TBitmap* ItemBmp, TacSkinSource* SkinManager, int TextureIndex = -1, int HotTextureIndex = -1,
                 TColor CustomColor = clFuchsia) noexcept;
void PaintItemBG(TacCtrlPaintData* SkinData, const TCacheInfo& ci, int State, TRect R, TPoint pP, TBitmap* ItemBmp,
                 int OffsetX = 0, int OffsetY = 0) noexcept;
void PaintItemBGFast(int SkinIndex, int BGIndex, int BGHotIndex, const String& SkinSection, const TCacheInfo& ci,
                     int State, TRect R, TPoint pP, TBitmap* ItemBmp, TacSkinSource* SkinManager) noexcept;
// Parent: whoever answers for the background behind the control (its owner's parent);
// SkinData's GetParentBGInfo is asked.
void PaintSkinControl(TacCtrlPaintData* SkinData, bool Filling, int State, TRect R, TPoint pP, TBitmap* ItemBmp,
                      bool UpdateCorners, int OffsetX = 0, int OffsetY = 0) noexcept;
void PaintControlByTemplate(TBitmap* DstBmp, TBitmap* SrcBmp, TRect DstRect, TRect SrcRect, TRect BorderWidths,
                            TRect BorderMaxWidths, TRect DrawModes, bool StretchCenter,
                            bool FillCenter = true) noexcept;

// ---- textures ----
// Places srcRect of Src into aRect of Dst by fill mode and returns in aRect what is left
// for the plain colour (Right −1 when nothing).
void TileBitmap(TBitmap* Dst, TRect& aRect, TBitmap* Src, TRect SrcRect, int FillMode) noexcept;
void TileBitmap(PixelRows dst, TRect& aRect, PixelRows src, TRect srcRect, int FillMode) noexcept;
// A masked texture in mode 0 or 10; false (nothing drawn) in any other mode.
bool TileMasked(TBitmap* Bmp, TRect& aRect, const TCacheInfo& CI, const TsMaskData& MaskData, int FillMode) noexcept;

// ---- small operations ----
void SumBmpRect(TBitmap* DstBmp, TBitmap* SrcBmp, int AlphaValue, TRect SrcRect, TPoint DstPoint) noexcept;
void SumBmpRect(PixelRows dst, PixelRows src, int AlphaValue, TRect SrcRect, TPoint DstPoint) noexcept;
TColor MixColors(TColor Color1, TColor Color2, double PercentOfColor1) noexcept;
TColor AverageColor(TColor ColorBegin, TColor ColorEnd) noexcept;
// Channel 0..3 (B, G, R, A) of every pixel of the 32-bit bitmap into the 8-bit one, or
// back; both must have the same size.
void CopyChannel(TBitmap* Bmp32, TBitmap* Bmp8, int Channel, bool From32To8) noexcept;
// The key-coloured runs of a border mask's top or bottom corners as one-row rectangles.
void AddRgn(TAOR& AOR, int Width, const TsMaskData& MaskData, int VertOffset, bool Bottom);

// Glyph and caption placement of a button. Layout: 0 glyph left, 1 right, 2 top,
// 3 bottom; Alignment: 0 left, 1 right, 2 centre; BiDiFlags bit 2: right-to-left reading.
void CalcButtonLayout(TRect Client, TPoint GlyphSize, TPoint TextRectSize, int Layout, int Alignment, int Margin,
                      int Spacing, TPoint& GlyphPos, TRect& TextBounds, int BiDiFlags) noexcept;

// Puts the background of CI into r of dst: the parent's pixels (ready) or the colour.
void FillFromCI(PixelRows dst, TRect r, const TCacheInfo& CI) noexcept;

}  // namespace qv
