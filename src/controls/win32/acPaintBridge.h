// The text and DC helpers of the painting layer, reached through this small bridge: the
// painting layer's text header declares its own copy of the command message number,
// which cannot share a translation unit with the skin layer's declaration.
#pragma once
#include "framework/win32/Canvas.h"
#include "paint/sCacheInfo.h"
#include "paint/sGraphUtils_Item.h"

namespace qv {

bool acGetBGInfo(TacBGInfo& info, HWND handle, bool pleaseDraw, TacSkinSource* source) noexcept;
void acFillDC(HDC dc, const TRect& r, TColor color) noexcept;
void acWriteSkinText(TCanvas& canvas, const String& text, bool enabled, const TRect& r, UINT flags,
                     TacCtrlPaintData* binding, bool hot);
void acFocusRect(TCanvas& canvas, const TRect& r, TColor light, TColor dark);

}  // namespace qv
