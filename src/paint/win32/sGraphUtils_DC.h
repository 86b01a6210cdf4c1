// The device-context forms of the painting routines: a section painted onto a DC, the
// border of a control drawn onto a DC, textures tiled on a canvas, the background request
// to a control, and clipping a container's windowless children out of its painting.
#pragma once
#include "framework/Bitmap.h"
#include "framework/Types.h"
#include "framework/win32/Canvas.h"
#include "model/acSkinSource.h"
#include "paint/sCacheInfo.h"
#include "paint/sGraphUtils_Item.h"
#include "model/sMaskData.h"

#include <windows.h>

namespace qv {

class TControl;
class TWinControl;

// On: containers paint over their windowless children (nothing is excluded).
extern bool StdTransparency;

enum TacCtrlType { actGraphic };

// Paints the section into a temporary 32-bit bitmap the size of R and copies it to R of
// DC; the DC's state is saved and restored.
void PaintItem(int SkinIndex, const String& SkinSection, TCacheInfo ci, bool Filling, int State, TRect R, TPoint pP,
               HDC DC, TacSkinSource* SkinManager) noexcept;

// Draws the control's border mask into its cache bitmap and onto DC (the frame band of
// MinBorderWidth, or the plain band without a mask); returns the client area.
TRect PaintBorderFast(HDC DC, TRect aRect, int MinBorderWidth, TacCtrlPaintData* SkinData, int State) noexcept;

// Asks a control for the background behind it (the window form is in sGraphUtils_Text.h).
bool GetBGInfo(TacBGInfo& BGInfo, TControl* Control, bool PleaseDraw) noexcept;

// Removes from DC's clipping the rectangles (moved by the offsets) of Ctrl's visible
// windowless children.
void ExcludeControls(HDC DC, TWinControl* Ctrl, TacCtrlType CtrlType, int OffsetX, int OffsetY) noexcept;

// Tiles Graphic over aRect, the last row and column cut.
void TileBitmap(TCanvas& Canvas, TRect aRect, TBitmap& Graphic) noexcept;
// Places the first state image of MaskData (cut from Graphic) by fill mode and returns in
// aRect what is left for the plain colour (Right −1 when nothing).
void TileBitmap(TCanvas& Canvas, TRect& aRect, TBitmap& Graphic, const TsMaskData& MaskData, int FillMode) noexcept;

}  // namespace qv
