#include "framework/win32/ExtCtrls.h"

#include "framework/win32/Frame3D.h"

#include <algorithm>

namespace qv {
namespace {

// rect shrunk by inset on every side; it never turns inside out.
TRect Deflated(const TRect& rect, int inset) noexcept {
    TRect r{rect.Left + inset, rect.Top + inset, rect.Right - inset, rect.Bottom - inset};
    if (r.Right < r.Left) r.Right = r.Left;
    if (r.Bottom < r.Top) r.Bottom = r.Top;
    return r;
}

}  // namespace

TPanel::TPanel(TComponent* owner) : TCustomControl(owner) {
    ControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csOpaque | csDoubleClicks |
                   csReplicatable;
    SetBounds(0, 0, 185, 41);
    SetColor(clBtnFace);
}

TPanel::~TPanel() { Destroying(); }

void TPanel::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    if (FBorderStyle == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

int TPanel::FrameInset() const noexcept {
    int inset = FBorderWidth;
    if (FBevelOuter != bvNone) inset += FBevelWidth;
    if (FBevelInner != bvNone) inset += FBevelWidth;
    return inset;
}

void TPanel::AdjustClientRect(TRect& rect) {
    TCustomControl::AdjustClientRect(rect);
    rect = Deflated(rect, FrameInset());
}

void TPanel::FrameChanged() {
    Realign();
    Invalidate();
}

void TPanel::SetBevelInner(TPanelBevel bevel) {
    if (bevel == FBevelInner) return;
    FBevelInner = bevel;
    FrameChanged();
}

void TPanel::SetBevelOuter(TPanelBevel bevel) {
    if (bevel == FBevelOuter) return;
    FBevelOuter = bevel;
    Perform(CM_BORDERCHANGED, 0, 0);
    FrameChanged();
}

void TPanel::SetBevelWidth(int width) {
    width = std::max(width, 1);
    if (width == FBevelWidth) return;
    FBevelWidth = width;
    FrameChanged();
}

void TPanel::SetBorderWidth(int width) {
    width = std::max(width, 0);
    if (width == FBorderWidth) return;
    FBorderWidth = width;
    FrameChanged();
}

void TPanel::SetBorderStyle(TBorderStyle style) {
    style = style == bsSingle ? bsSingle : bsNone;
    if (style == FBorderStyle) return;
    FBorderStyle = style;
    // The edge is part of the window's frame: the window is made again with it, and
    // its smaller (or larger) client area takes the children along.
    if (HandleAllocated()) RecreateWnd();
    Perform(CM_BORDERCHANGED, 0, 0);
    FrameChanged();
}

void TPanel::SetAlignment(TAlignment alignment) {
    if (alignment == FAlignment) return;
    FAlignment = alignment;
    Invalidate();
}

void TPanel::SetVerticalAlignment(TVerticalAlignment alignment) {
    if (alignment == FVerticalAlignment) return;
    FVerticalAlignment = alignment;
    Invalidate();
}

void TPanel::SetShowCaption(bool on) {
    if (on == FShowCaption) return;
    FShowCaption = on;
    Invalidate();
}

void TPanel::SetParentBackground(bool on) {
    if (on == ParentBackground) return;
    ParentBackground = on;
    Invalidate();
}

UINT TPanel::CaptionFlags() const noexcept {
    UINT flags = DT_EXPANDTABS | DT_SINGLELINE;
    switch (FAlignment) {
    case taLeftJustify: flags |= DT_LEFT; break;
    case taRightJustify: flags |= DT_RIGHT; break;
    case taCenter: flags |= DT_CENTER; break;
    }
    switch (FVerticalAlignment) {
    case taAlignTop: flags |= DT_TOP; break;
    case taAlignBottom: flags |= DT_BOTTOM; break;
    case taVerticalCenter: flags |= DT_VCENTER; break;
    }
    return flags;
}

void TPanel::PaintBevel(HDC dc, TRect& rect, TPanelBevel bevel) {
    switch (bevel) {
    case bvNone: break;
    case bvLowered: Frame3D(dc, rect, clBtnShadow, clBtnHighlight, FBevelWidth); break;
    case bvRaised: Frame3D(dc, rect, clBtnHighlight, clBtnShadow, FBevelWidth); break;
    case bvSpace:
        // The band shows the background already painted under it.
        rect = Deflated(rect, FBevelWidth);
        break;
    }
}

void TPanel::PaintCaption(HDC dc, const TRect& rect) {
    const String text = Caption();
    if (text.empty() || rect.IsEmpty()) return;
    SelectScope selectFont(dc, Font().Handle());
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ColorToGdi(Enabled() ? Font().Color() : clGrayText));
    RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, CaptionFlags());
    ::SetBkMode(dc, oldMode);
}

void TPanel::PaintParentBackground(HDC dc, const TRect& rect) {
    TWinControl* parent = Parent();
    if (!parent || !parent->HandleAllocated()) {
        FillRectColor(dc, rect, Color());
        return;
    }
    // The parent paints its background into our DC, moved so that its pixels land
    // where they lie behind us.
    SavedDC saved(dc);
    ::IntersectClipRect(dc, rect.Left, rect.Top, rect.Right, rect.Bottom);
    POINT origin{0, 0};
    ::MapWindowPoints(Handle(), parent->Handle(), &origin, 1);
    ::OffsetViewportOrgEx(dc, -origin.x, -origin.y, nullptr);
    ::SendMessageW(parent->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ::SendMessageW(parent->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
}

void TPanel::Paint() {
    HDC dc = Canvas().Handle();
    if (!dc) return;
    const TRect client = ClientRect();
    if (ParentBackground) PaintParentBackground(dc, client);
    else FillRectColor(dc, client, Color());
    TRect r = client;
    PaintBevel(dc, r, FBevelOuter);
    r = Deflated(r, FBorderWidth);
    PaintBevel(dc, r, FBevelInner);
    if (FShowCaption) PaintCaption(dc, r);
}

void TPanel::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_ERASEBKGND:
        // Paint covers the whole client area.
        message.Result = 1;
        return;
    case WM_PRINTCLIENT:
        // Other windows (children painting our background, screenshots) ask for our
        // face in their own DC.
        if (message.WParam) {
            PaintWindow(reinterpret_cast<HDC>(message.WParam));
            PaintControls(reinterpret_cast<HDC>(message.WParam), nullptr);
        }
        message.Result = 0;
        return;
    case CM_TEXTCHANGED:
    case CM_ENABLEDCHANGED:
        TCustomControl::WndProc(message);
        Invalidate();
        return;
    default: break;
    }
    TCustomControl::WndProc(message);
}

}  // namespace qv
