#include "controls/win32/acPaintBridge.h"

#include "paint/win32/sGraphUtils_Text.h"

namespace qv {

bool acGetBGInfo(TacBGInfo& info, HWND handle, bool pleaseDraw, TacSkinSource* source) noexcept {
    return GetBGInfo(info, handle, pleaseDraw, source);
}

void acFillDC(HDC dc, const TRect& r, TColor color) noexcept { FillDC(dc, r, color); }

void acWriteSkinText(TCanvas& canvas, const String& text, bool enabled, const TRect& r, UINT flags,
                     TacCtrlPaintData* binding, bool hot) {
    acWriteTextEx(canvas, text, enabled, r, flags, binding, hot, binding ? binding->SkinManager() : nullptr);
}

void acFocusRect(TCanvas& canvas, const TRect& r, TColor light, TColor dark) { FocusRect(canvas, r, light, dark); }

}  // namespace qv
