// A control's border mask in its cache bitmap: the parent's background put into the
// key-coloured pixels of the four corners, and the fast border painting of panels,
// frames and scroll areas.
#pragma once
#include "framework/Bitmap.h"
#include "framework/Types.h"
#include "paint/sCacheInfo.h"
#include "paint/sGraphUtils_Item.h"

namespace qv {

// Puts the parent's background into the key pixels of the corner pieces of the
// control's border mask (state clamped), in the control's cache bitmap.
void UpdateCorners(TacCtrlPaintData* SkinData, int State) noexcept;
// R2 of the control's border mask image onto R1 of Bmp: where the image pixel is the key,
// the destination takes the background of BGInfo (the parent's pixel at the offset, or
// its colour). For masks with an alpha mask beneath.
void CopyMasterCorner(TRect R1, TRect R2, TBitmap* Bmp, const TacBGInfo& BGInfo, TacCtrlPaintData* SkinData) noexcept;
// The same for plain masks: SrcRect (exclusive Right and Bottom) of SrcBmp placed at
// (X, Y) of the control's cache bitmap.
void CopyTransCorner(TBitmap* SrcBmp, int X, int Y, TRect SrcRect, const TacBGInfo& BGInfo,
                     TacCtrlPaintData* SkinData) noexcept;

// Draws the control's border mask into its cache bitmap and returns the client area.
// Target is where the border ends up: the cache bitmap itself, another bitmap (the
// frame band is copied or filled there) or nullptr (the caller copies it, as the DC form
// does).
TRect PaintBorderFast(TBitmap* Target, TRect aRect, int MinBorderWidth, TacCtrlPaintData* SkinData, int State) noexcept;

}  // namespace qv
