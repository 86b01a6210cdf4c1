#include "paint/win32/sGraphUtils_DC.h"

#include "framework/win32/Controls.h"
#include "framework/win32/Handles.h"
#include "paint/acTexturePlacement.h"
#include "paint/sAlphaGraph.h"
#include "paint/sBorders.h"
#include "paint/win32/sGraphUtils_Text.h"

#include <algorithm>

namespace qv {

bool StdTransparency = false;

namespace {

// A message to a control: through its window when it has one, else straight to its
// message method.
LRESULT Deliver(TControl* control, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (auto* wc = dynamic_cast<TWinControl*>(control); wc && wc->HandleAllocated())
        return ::SendMessageW(wc->Handle(), msg, wParam, lParam);
    return control->Perform(msg, wParam, lParam);
}

}  // namespace

void PaintItem(int SkinIndex, const String& SkinSection, TCacheInfo ci, bool Filling, int State, TRect R, TPoint pP,
               HDC DC, TacSkinSource* SkinManager) noexcept {
    if (!DC || R.IsEmpty()) return;
    auto tmp = TryCreateBmp32(R.Width(), R.Height());
    if (!tmp) return;
    PaintItem(SkinIndex, SkinSection, ci, Filling, State, {0, 0, R.Width(), R.Height()}, pP, tmp.get(), SkinManager);
    try {
        HDC source = tmp->Canvas().Handle();
        SavedDC saved(DC);
        ::BitBlt(DC, R.Left, R.Top, R.Width(), R.Height(), source, 0, 0, SRCCOPY);
    } catch (...) {
        // Without a DC for the bitmap nothing reaches the target.
    }
}

TRect PaintBorderFast(HDC DC, TRect aRect, int MinBorderWidth, TacCtrlPaintData* SkinData, int State) noexcept {
    if (!SkinData) return aRect;
    TBitmap* cache = SkinData->CacheBmp();
    HDC cacheDC = nullptr;
    try {
        if (cache && !cache->Empty()) cacheDC = cache->Canvas().Handle();
    } catch (...) {
        cacheDC = nullptr;
    }
    const bool ownDC = DC && DC == cacheDC;
    TacSkinSource* src = SkinData->SkinManager();
    const bool hasMask = src && src->IsValidImgIndex(SkinData->BorderIndex()) &&
                         src->IsValidSkinIndex(SkinData->SkinIndex());
    const TRect client = PaintBorderFast(ownDC ? cache : nullptr, aRect, MinBorderWidth, SkinData, State);
    if (ownDC || !DC || MinBorderWidth <= 0) return client;
    if (hasMask) {
        cache = SkinData->CacheBmp();  // the call may have made it
        try {
            if (cache && !cache->Empty())
                BitBltBorder(DC, aRect.Left, aRect.Top, aRect.Width(), aRect.Height(), cache->Canvas().Handle(),
                             aRect.Left, aRect.Top, MinBorderWidth);
        } catch (...) {
        }
    } else {
        const int b = MinBorderWidth;
        FillDCBorder(DC, aRect, b, b, b, b, SkinData->GetBGColor(State));
    }
    return client;
}

bool GetBGInfo(TacBGInfo& BGInfo, TControl* Control, bool PleaseDraw) noexcept {
    const bool callerWantedDrawing = BGInfo.PleaseDraw;
    BGInfo.BgType = btUnknown;
    BGInfo.PleaseDraw = PleaseDraw;
    if (!Control) return false;
    try {
        Deliver(Control, SM_ALPHACMD, MAKEWPARAM(0, SKC_GETBGINFO), reinterpret_cast<LPARAM>(&BGInfo));
        if (BGInfo.BgType != btUnknown) return true;
        HDC dc = BGInfo.DrawDC;
        if (callerWantedDrawing) {
            // The control draws itself: its origin is moved onto the asker's and the
            // drawing clipped to the asked rectangle.
            if (!dc) return false;
            SavedDC saved(dc);
            POINT old;
            ::OffsetViewportOrgEx(dc, -BGInfo.Offset.X, -BGInfo.Offset.Y, &old);
            BGInfo.R = OffsetRect(BGInfo.R, BGInfo.Offset.X, BGInfo.Offset.Y);
            ::IntersectClipRect(dc, BGInfo.R.Left, BGInfo.R.Top, BGInfo.R.Right, BGInfo.R.Bottom);
            Deliver(Control, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
            Deliver(Control, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
            return false;
        }
        BGInfo.BgType = btFill;
        const LRESULT answer = Deliver(Control, SM_ALPHACMD, MAKEWPARAM(0, SKC_GETCOLOR), 0);
        BGInfo.Color = answer != 0 ? static_cast<TColor>(answer) : ColorToRGB(Control->Color());
        if (BGInfo.PleaseDraw && BGInfo.Bmp && dc) FillDC(dc, BGInfo.R, BGInfo.Color);
    } catch (...) {
        // A control that fails to answer leaves the request as it stands.
    }
    return false;
}

void ExcludeControls(HDC DC, TWinControl* Ctrl, TacCtrlType /*CtrlType*/, int OffsetX, int OffsetY) noexcept {
    if (!DC || !Ctrl || StdTransparency) return;
    for (int i = 0; i < Ctrl->ControlCount(); ++i) {
        TControl* child = Ctrl->Controls(i);
        if (!child || !child->Visible() || dynamic_cast<TWinControl*>(child)) continue;
        const TRect r = child->BoundsRect();
        ::ExcludeClipRect(DC, r.Left + OffsetX, r.Top + OffsetY, r.Right + OffsetX, r.Bottom + OffsetY);
    }
}

namespace {

// srcRect of Graphic placed into aRect of Canvas by fill mode.
TRect PlaceOnCanvas(TCanvas& Canvas, TRect aRect, TBitmap& Graphic, TRect srcRect, int FillMode) noexcept {
    constexpr TRect none{0, 0, -1, -1};
    srcRect = IntersectRect(srcRect, {0, 0, Graphic.Width(), Graphic.Height()});
    const int tw = srcRect.Width(), th = srcRect.Height();
    if (aRect.IsEmpty() || tw <= 0 || th <= 0) return aRect;
    try {
        HDC dst = Canvas.Handle();
        HDC src = Graphic.Canvas().Handle();
        SavedDC saved(dst);
        ::SetStretchBltMode(dst, COLORONCOLOR);
        auto tile = [&](TRect area) {
            for (int x = area.Left; x < area.Right; x += tw)
                for (int y = area.Top; y < area.Bottom; y += th)
                    ::BitBlt(dst, x, y, std::min(tw, area.Right - x), std::min(th, area.Bottom - y), src, srcRect.Left,
                             srcRect.Top, SRCCOPY);
        };
        auto stretch = [&](TRect area) {
            ::StretchBlt(dst, area.Left, area.Top, area.Width(), area.Height(), src, srcRect.Left, srcRect.Top, tw, th,
                         SRCCOPY);
        };
        return PlaceTexture(aRect, tw, th, FillMode, tile, stretch);
    } catch (...) {
        return none;
    }
}

}  // namespace

void TileBitmap(TCanvas& Canvas, TRect aRect, TBitmap& Graphic) noexcept {
    PlaceOnCanvas(Canvas, aRect, Graphic, {0, 0, Graphic.Width(), Graphic.Height()}, fmTiled);
}

void TileBitmap(TCanvas& Canvas, TRect& aRect, TBitmap& Graphic, const TsMaskData& MaskData, int FillMode) noexcept {
    const TRect state{MaskData.R.Left, MaskData.R.Top, MaskData.R.Left + WidthOfImage(MaskData),
                      MaskData.R.Top + HeightOfImage(MaskData)};
    aRect = PlaceOnCanvas(Canvas, aRect, Graphic, state, FillMode);
}

}  // namespace qv
