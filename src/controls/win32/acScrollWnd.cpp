#include "controls/win32/acScrollWnd.h"

#include "controls/win32/acManagerSource.h"
#include "framework/win32/Handles.h"
#include "paint/sAlphaGraph.h"
#include "paint/win32/sGraphUtils_Text.h"
#include "skin/win32/sMessages.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

namespace qv {

TacScrollWnd* TacScrollWnd::hwndCurSB = nullptr;

TacScrollInfo TacScrollBar::Info() const noexcept {
    return TacScrollInfo{ScrollInfo.nMin, ScrollInfo.nMax, ScrollInfo.nPage, ScrollInfo.nPos, ScrollInfo.nTrackPos};
}

namespace {

SCROLLINFO ReadScrollInfo(HWND wnd, int bar) noexcept {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    if (!::GetScrollInfo(wnd, bar, &si)) {
        si = SCROLLINFO{};
        si.cbSize = sizeof si;
    }
    return si;
}

bool SameInfo(const SCROLLINFO& a, const SCROLLINFO& b) noexcept {
    return a.nMin == b.nMin && a.nMax == b.nMax && a.nPage == b.nPage && a.nPos == b.nPos;
}

RECT WindowRectOf(HWND wnd) noexcept {
    RECT r{};
    ::GetWindowRect(wnd, &r);
    return r;
}

TacScrollPart Part(const wchar_t* section, int index, int mask, int bg, int bgHot, int glyph = -1) noexcept {
    TacScrollPart p;
    p.Section = section;
    p.Index = index;
    p.Mask = mask;
    p.BG = bg;
    p.BGHot = bgHot;
    p.Glyph = glyph;
    return p;
}

}  // namespace

TacScrollWnd::TacScrollWnd(HWND wnd, TsCommonData* binding, TsSkinManager* manager, const String& section, bool repaint)
    : TacMainWnd(wnd, binding, manager, section, repaint) {
    sBarHorz.nBarType = 0;
    sBarVert.nBarType = 1;
    sBarHorz.sw = sBarVert.sw = this;
}

TacScrollWnd::~TacScrollWnd() {
    // No timer or capture outlives the wrapper that would answer it.
    if (CtrlHandle && ::IsWindow(CtrlHandle)) {
        for (UINT_PTR id : {acScrollFirstRepeatTimer, acScrollRepeatTimer, acScrollHoverTimer})
            ::KillTimer(CtrlHandle, id);
        if (::GetCapture() == CtrlHandle && uCurrentScrollPortion != spNone) ::ReleaseCapture();
    }
    if (hwndCurSB == this) hwndCurSB = nullptr;
}

// ---------------------------------------------------------------- set-up

void TacScrollWnd::InitBars() {
    const LONG_PTR style = ::GetWindowLongPtrW(CtrlHandle, GWL_STYLE);
    fLeftScrollbar = (::GetWindowLongPtrW(CtrlHandle, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
    sBarHorz.fScrollFlags = (style & WS_HSCROLL) ? sfStyleWantsBar : 0;
    sBarVert.fScrollFlags = (style & WS_VSCROLL) ? sfStyleWantsBar : 0;
    sBarHorz.nArrowLength = sBarVert.nArrowLength = -1;
    sBarHorz.nArrowWidth = sBarVert.nArrowWidth = -1;
    sBarHorz.nMinThumbSize = sBarVert.nMinThumbSize = 10;
    ReadBars();
}

void TacScrollWnd::Subclass() {
    InitBars();
    TacMainWnd::Subclass();
    // The non-client area is measured again with the skinned bars in place.
    Ac_RedrawNonClient(CtrlHandle, true);
}

bool TacScrollWnd::ReadBars() {
    const SCROLLINFO h = ReadScrollInfo(CtrlHandle, SB_HORZ), v = ReadScrollInfo(CtrlHandle, SB_VERT);
    bool changed = !SameInfo(h, sBarHorz.ScrollInfo) || !SameInfo(v, sBarVert.ScrollInfo);
    sBarHorz.ScrollInfo = h;
    sBarVert.ScrollInfo = v;
    changed = ReadArrowStates(sBarHorz) || changed;
    return ReadArrowStates(sBarVert) || changed;
}

// Each arrow's state as the system keeps it (EnableScrollBar disables one or both).
bool TacScrollWnd::ReadArrowStates(TacScrollBar& bar) const {
    std::uint16_t arrows = 0;
    SCROLLBARINFO sbi{};
    sbi.cbSize = sizeof sbi;
    if (::GetScrollBarInfo(CtrlHandle, bar.Vertical() ? OBJID_VSCROLL : OBJID_HSCROLL, &sbi)) {
        if (sbi.rgstate[1] & STATE_SYSTEM_UNAVAILABLE) arrows |= sfArrowBeforeDisabled;
        if (sbi.rgstate[5] & STATE_SYSTEM_UNAVAILABLE) arrows |= sfArrowAfterDisabled;
    }
    const auto kept = static_cast<std::uint16_t>(bar.fScrollFlags & ~(sfArrowBeforeDisabled | sfArrowAfterDisabled));
    const bool changed = (bar.fScrollFlags & (sfArrowBeforeDisabled | sfArrowAfterDisabled)) != arrows;
    bar.fScrollFlags = static_cast<std::uint16_t>(kept | arrows);
    return changed;
}

void TacScrollWnd::UpdateScrolls(bool repaint) {
    if (!::IsWindowVisible(CtrlHandle) || (SkinData && SkinData->FUpdating)) return;
    ReadBars();
    if (repaint && !InAnimationProcess) {
        const WholeWindowDC dc(CtrlHandle);
        if (dc) Ac_NCPaint(dc.get());
    }
}

void TacScrollWnd::RefreshScrolls() {
    if (!::IsWindowVisible(CtrlHandle) || (SkinData && SkinData->FUpdating)) return;
    if (ReadBars() && !InAnimationProcess) {
        const WholeWindowDC dc(CtrlHandle);
        if (dc) Ac_NCPaint(dc.get());
    }
}

// ---------------------------------------------------------------- metrics

TacScrollSkin TacScrollWnd::ScrollSkin(bool vertical) const {
    TacScrollSkin s;
    TsSkinManager* m = Manager();
    if (!m) return s;
    const TConstantSkinData& d = m->ConstData;
    if (vertical) {
        s.Track1 = Part(L"SCROLLBAR1V", d.IndexScrollBar1V, d.MaskScrollBar1V, d.BGScrollBar1V, d.BGHotScrollBar1V);
        s.Track2 = Part(L"SCROLLBAR2V", d.IndexScrollBar2V, d.MaskScrollBar2V, d.BGScrollBar2V, d.BGHotScrollBar2V);
        s.BtnBefore = Part(L"SCROLLBTNTOP", d.IndexScrollTop, d.MaskScrollTop, d.IndexBGScrollTop,
                           d.IndexBGHotScrollTop, d.MaskArrowTop);
        s.BtnAfter = Part(L"SCROLLBTNBOTTOM", d.IndexScrollBottom, d.MaskScrollBottom, d.IndexBGScrollBottom,
                          d.IndexBGHotScrollBottom, d.MaskArrowBottom);
        s.Thumb = Part(L"SCROLLSLIDERV", d.IndexSliderVert, d.MaskSliderVert, d.ScrollSliderBGVert,
                       d.ScrollSliderBGHotVert, d.MaskSliderGlyphVert);
    } else {
        s.Track1 = Part(L"SCROLLBAR1H", d.IndexScrollBar1H, d.MaskScrollBar1H, d.BGScrollBar1H, d.BGHotScrollBar1H);
        s.Track2 = Part(L"SCROLLBAR2H", d.IndexScrollBar2H, d.MaskScrollBar2H, d.BGScrollBar2H, d.BGHotScrollBar2H);
        s.BtnBefore = Part(L"SCROLLBTNLEFT", d.IndexScrollLeft, d.MaskScrollLeft, d.IndexBGScrollLeft,
                           d.IndexBGHotScrollLeft, d.MaskArrowLeft);
        s.BtnAfter = Part(L"SCROLLBTNRIGHT", d.IndexScrollRight, d.MaskScrollRight, d.IndexBGScrollRight,
                          d.IndexBGHotScrollRight, d.MaskArrowRight);
        s.Thumb = Part(L"SCROLLSLIDERH", d.IndexSliderHorz, d.MaskSliderHorz, d.ScrollSliderBGHorz,
                       d.ScrollSliderBGHotHorz, d.MaskSliderGlyphHorz);
    }
    return s;
}

int TacScrollWnd::GetScrollMetric(const TacScrollBar& bar, int metric, bool useSkin) const {
    if (metric == 0) {
        // Sections carry no flag of their own: the skin counts when the manager's is on.
        int frame = 0;
        if (useSkin && ManagerActive())
            frame = ScrollSkinArrowFrame(ScrollSkin(bar.Vertical()), bar.Vertical(), ManagerSource(Manager()));
        return ScrollArrowLength(bar.nArrowLength, frame);
    }
    return ScrollBarThickness(bar.nArrowWidth, ::GetSystemMetrics(bar.Vertical() ? SM_CXVSCROLL : SM_CYHSCROLL));
}

TRect TacScrollWnd::BarRect(const TacScrollBar& bar) const {
    if (!bar.fScrollVisible) return {};
    const RECT wr = WindowRectOf(CtrlHandle);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    const int hThick = sBarHorz.fScrollVisible ? GetScrollMetric(sBarHorz, 1) : 0;
    const int vThick = sBarVert.fScrollVisible ? GetScrollMetric(sBarVert, 1) : 0;
    if (bar.Vertical()) {
        const int left = fLeftScrollbar ? cxLeftEdge : w - cxRightEdge - vThick;
        return {left, cyTopEdge, left + vThick, h - cyBottomEdge - hThick};
    }
    const int left = cxLeftEdge + (fLeftScrollbar ? vThick : 0);
    const int right = w - cxRightEdge - (fLeftScrollbar ? 0 : vThick);
    return {left, h - cyBottomEdge - hThick, right, h - cyBottomEdge};
}

bool TacScrollWnd::Ac_IsScrollbarActive(const TacScrollBar& bar) const {
    if ((bar.fScrollFlags & (sfArrowBeforeDisabled | sfArrowAfterDisabled)) ==
        (sfArrowBeforeDisabled | sfArrowAfterDisabled))
        return false;
    if ((bar.fScrollFlags & sfActivityFromRange) && !ScrollRangeScrollable(bar.Info())) return false;
    SCROLLBARINFO sbi{};
    sbi.cbSize = sizeof sbi;
    if (::GetScrollBarInfo(CtrlHandle, bar.Vertical() ? OBJID_VSCROLL : OBJID_HSCROLL, &sbi))
        return (sbi.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) == 0;
    const LONG_PTR style = ::GetWindowLongPtrW(CtrlHandle, GWL_STYLE);
    return (style & (bar.Vertical() ? WS_VSCROLL : WS_HSCROLL)) != 0;
}

int TacScrollWnd::PortionAt(const TacScrollBar& bar, POINT p) const {
    const TRect r = BarRect(bar);
    if (r.IsEmpty()) return spNone;
    const int btn = GetScrollMetric(bar, 0);
    if (bar.Vertical()) {
        if (p.x < r.Left || p.x >= r.Right) return spNone;
        return Ac_GetScrollPortion(bar.Info(), p.y - r.Top, r.Height(), btn, bar.nMinThumbSize);
    }
    if (p.y < r.Top || p.y >= r.Bottom) return spNone;
    return Ac_GetScrollPortion(bar.Info(), p.x - r.Left, r.Width(), btn, bar.nMinThumbSize);
}

POINT TacScrollWnd::CursorInWindow() const {
    POINT p{};
    ::GetCursorPos(&p);
    const RECT wr = WindowRectOf(CtrlHandle);
    return {p.x - wr.left, p.y - wr.top};
}

// ---------------------------------------------------------------- painting

TCacheInfo TacScrollWnd::BarBackground(const TRect& barRect) {
    if (SkinData && SkinData->FCacheBmp && !SkinData->FCacheBmp->Empty())
        return MakeCacheInfo(SkinData->FCacheBmp.get(), barRect.Left, barRect.Top);
    TCacheInfo ci;
    ci.FillColor = SkinData ? SkinData->GetBGColor(0, CtrlHandle) : ColorToRGB(clBtnFace);
    return ci;
}

void TacScrollWnd::DrawBar(TacScrollBar& bar, HDC dc) {
    const TRect r = BarRect(bar);
    if (r.Width() <= 1 || r.Height() <= 1) return;
    const TacScrollSkin skin = ScrollSkin(bar.Vertical());
    TacSkinSource* src = ManagerSource(Manager());
    if (!src || !src->IsValidSkinIndex(skin.Track1.Index)) return;
    bar.ScrollInfo = ReadScrollInfo(CtrlHandle, bar.Vertical() ? SB_VERT : SB_HORZ);
    try {
        if (!FBarBmp) FBarBmp = TryCreateBmp32(r.Width(), r.Height());
        else FBarBmp->SetSize(r.Width(), r.Height());
    } catch (...) {
        FBarBmp.reset();
    }
    TBitmap* bmp = FBarBmp.get();
    if (!bmp) return;
    const int index = bar.nBarType;
    TacBarLook look;
    look.PressedPortion = uCurrentScrollbar == index ? uScrollTimerPortion : spNone;
    look.HotPortion = (hwndCurSB == this && uMouseOverScrollbar == index) ? uHitTestPortion : spNone;
    look.Enabled = Ac_IsScrollbarActive(bar) && ::IsWindowEnabled(CtrlHandle);
    look.BeforeEnabled = (bar.fScrollFlags & sfArrowBeforeDisabled) == 0;
    look.AfterEnabled = (bar.fScrollFlags & sfArrowAfterDisabled) == 0;
    look.TrackedThumbStart = (fThumbTracking && uCurrentScrollbar == index) ? nTrackedStart : -1;
    PaintScrollBar(bmp, bar.Vertical(), bar.Info(), skin, src, BarBackground(r), GetScrollMetric(bar, 0),
                   bar.nMinThumbSize, look);
    ::BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), bmp->Canvas().Handle(), 0, 0, SRCCOPY);
}

void TacScrollWnd::PaintCorner(HDC dc) {
    const TRect v = BarRect(sBarVert), h = BarRect(sBarHorz);
    const TRect corner{v.Left, h.Top, v.Right, h.Bottom};
    if (corner.IsEmpty()) return;
    // Neither the list nor the tree shows a size grip: the square shows the background.
    const TCacheInfo ci = BarBackground(corner);
    if (ci.Ready)
        ::BitBlt(dc, corner.Left, corner.Top, corner.Width(), corner.Height(), ci.Bmp->Canvas().Handle(), ci.X, ci.Y,
                 SRCCOPY);
    else FillDC(dc, corner, ci.FillColor);
}

void TacScrollWnd::Ac_NCPaint(HDC dc) {
    if (!dc || !::IsWindowVisible(CtrlHandle) || (SkinData && SkinData->FUpdating)) return;
    if (SkinData && SkinData->BGChanged) PrepareCache();
    if (sBarHorz.fScrollVisible) DrawBar(sBarHorz, dc);
    if (sBarVert.fScrollVisible) DrawBar(sBarVert, dc);
    if (sBarHorz.fScrollVisible && sBarVert.fScrollVisible) PaintCorner(dc);
}

void TacScrollWnd::RedrawBar(TacScrollBar& bar) {
    if (!::IsWindowVisible(CtrlHandle)) return;
    const WholeWindowDC dc(CtrlHandle);
    if (dc) DrawBar(bar, dc.get());
}

// ---------------------------------------------------------------- non-client size and hit test

void TacScrollWnd::WMNCCalcSize(TMessage& message) {
    RECT* client = message.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(message.LParam)->rgrc[0]
                                  : reinterpret_cast<RECT*>(message.LParam);
    const RECT proposed = *client;
    // The system must reserve no space for bars of its own: the style bits present now
    // are taken away while it measures and given back exactly (a bar the system hid
    // stays hidden).
    const LONG_PTR style = ::GetWindowLongPtrW(CtrlHandle, GWL_STYLE);
    const LONG_PTR bits = style & (WS_HSCROLL | WS_VSCROLL);
    if (bits) {
        bPreventStyleChange = true;
        ::SetWindowLongPtrW(CtrlHandle, GWL_STYLE, style & ~bits);
    }
    CallPrevWndProc(message);
    if (bits) {
        ::SetWindowLongPtrW(CtrlHandle, GWL_STYLE, ::GetWindowLongPtrW(CtrlHandle, GWL_STYLE) | bits);
        bPreventStyleChange = false;
    }
    cxLeftEdge = client->left - proposed.left;
    cxRightEdge = proposed.right - client->right;
    cyTopEdge = client->top - proposed.top;
    cyBottomEdge = proposed.bottom - client->bottom;
    const int hThick = GetScrollMetric(sBarHorz, 1), vThick = GetScrollMetric(sBarVert, 1);
    sBarHorz.fScrollVisible = (bits & WS_HSCROLL) && client->bottom - client->top >= hThick;
    if (sBarHorz.fScrollVisible) client->bottom -= hThick;
    sBarVert.fScrollVisible = (bits & WS_VSCROLL) && client->right - client->left >= vThick;
    if (sBarVert.fScrollVisible) {
        if (fLeftScrollbar) client->left += vThick;
        else client->right -= vThick;
    }
}

void TacScrollWnd::WMNCHitTest(TMessage& message) {
    const RECT wr = WindowRectOf(CtrlHandle);
    const POINT p{GET_X_LPARAM(message.LParam) - wr.left, GET_Y_LPARAM(message.LParam) - wr.top};
    auto inside = [&](const TRect& r) { return p.x >= r.Left && p.x < r.Right && p.y >= r.Top && p.y < r.Bottom; };
    if (sBarHorz.fScrollVisible && inside(BarRect(sBarHorz))) {
        message.Result = Ac_IsScrollbarActive(sBarHorz) ? HTHSCROLL : HTNOWHERE;
        return;
    }
    if (sBarVert.fScrollVisible && inside(BarRect(sBarVert))) {
        message.Result = Ac_IsScrollbarActive(sBarVert) ? HTVSCROLL : HTNOWHERE;
        return;
    }
    CallPrevWndProc(message);
}

// ---------------------------------------------------------------- mouse

void TacScrollWnd::SendPortionScroll(int portion) {
    // Portions 0..3 are the line and page codes of both directions.
    if (portion >= spArrowBefore && portion <= spPageAfter)
        SendScrollMessage(CtrlHandle, uScrollTimerMsg, static_cast<UINT>(portion), 0);
}

void TacScrollWnd::WMNCLButtonDown(TMessage& message) {
    if (message.WParam != HTVSCROLL && message.WParam != HTHSCROLL) {
        PassOn(message);
        return;
    }
    const int index = message.WParam == HTVSCROLL ? 1 : 0;
    TacScrollBar& bar = BarOf(index);
    const RECT wr = WindowRectOf(CtrlHandle);
    const POINT p{GET_X_LPARAM(message.LParam) - wr.left, GET_Y_LPARAM(message.LParam) - wr.top};
    // Every press on a bar is ours, also an ignored one: passed on, it would start the
    // system's own modal scroll loop.
    message.Result = 0;
    EndInteraction(true);
    bar.ScrollInfo = ReadScrollInfo(CtrlHandle, index == 1 ? SB_VERT : SB_HORZ);
    const int portion = PortionAt(bar, p);
    if (portion == spNone || !Ac_IsScrollbarActive(bar)) return;
    if ((portion == spArrowBefore && (bar.fScrollFlags & sfArrowBeforeDisabled)) ||
        (portion == spArrowAfter && (bar.fScrollFlags & sfArrowAfterDisabled)))
        return;
    hwndCurSB = this;
    uScrollTimerMsg = index == 1 ? WM_VSCROLL : WM_HSCROLL;
    uCurrentScrollbar = index;
    uCurrentScrollPortion = uScrollTimerPortion = portion;
    ::SetCapture(CtrlHandle);
    if (portion == spThumb) {
        const TRect r = BarRect(bar);
        const int length = bar.Vertical() ? r.Height() : r.Width();
        const TacThumb t = Ac_CalcThumbSize(bar.Info(), 0, length, GetScrollMetric(bar, 0), bar.nMinThumbSize);
        nThumbSize = t.Size;
        nThumbPos = nThumbPos0 = nTrackedStart = t.Start;
        rcThumbBounds = RECT{r.Left, r.Top, r.Right, r.Bottom};
        nThumbMouseOffset = (bar.Vertical() ? p.y - r.Top : p.x - r.Left) - t.Start;
        nLastSBPos = bar.ScrollInfo.nPos;
        fThumbTracking = true;
        RedrawBar(bar);
        return;
    }
    RedrawBar(bar);
    SendPortionScroll(portion);
    uScrollTimerId = acScrollFirstRepeatTimer;
    ::SetTimer(CtrlHandle, acScrollFirstRepeatTimer, acScrollFirstRepeatDelay, nullptr);
}

void TacScrollWnd::WMMouseMove(TMessage& message) {
    if (!Pressing()) {
        PassOn(message);
        return;
    }
    TacScrollBar& bar = BarOf(uCurrentScrollbar);
    POINT p{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
    ::ClientToScreen(CtrlHandle, &p);
    const RECT wr = WindowRectOf(CtrlHandle);
    p.x -= wr.left;
    p.y -= wr.top;
    if (fThumbTracking) {
        const TRect r = BarRect(bar);
        const int length = bar.Vertical() ? r.Height() : r.Width();
        const int along = bar.Vertical() ? p.y - r.Top : p.x - r.Left;
        const int btn = GetScrollMetric(bar, 0);
        const TacScrollInfo info = bar.Info();
        nTrackedStart = nThumbPos = ThumbDragStart(info, along, nThumbMouseOffset, length, btn, bar.nMinThumbSize);
        const int pos = ThumbDragPosition(info, nTrackedStart, length, btn, bar.nMinThumbSize);
        if (pos != nLastSBPos) {
            nLastSBPos = pos;
            SendScrollMessage(CtrlHandle, uScrollTimerMsg, SB_THUMBTRACK, pos);
        }
        RedrawBar(bar);
        return;
    }
    const int shown = PortionAt(bar, p) == uCurrentScrollPortion ? uCurrentScrollPortion : spNone;
    if (shown != uScrollTimerPortion) {
        uScrollTimerPortion = shown;
        RedrawBar(bar);
    }
}

void TacScrollWnd::WMLButtonUp(TMessage& message) {
    if (!Pressing()) {
        PassOn(message);
        return;
    }
    message.Result = 0;
    EndInteraction(true);
}

void TacScrollWnd::EndInteraction(bool sendEnd) {
    if (uCurrentScrollPortion == spNone) return;
    // The state is cleared before the capture goes, so WM_CAPTURECHANGED finds nothing
    // left to end.
    const int index = uCurrentScrollbar;
    const UINT msg = uScrollTimerMsg;
    const bool thumb = fThumbTracking;
    uCurrentScrollPortion = uScrollTimerPortion = spNone;
    uCurrentScrollbar = -1;
    uScrollTimerMsg = 0;
    fThumbTracking = false;
    nTrackedStart = -1;
    ::KillTimer(CtrlHandle, acScrollFirstRepeatTimer);
    ::KillTimer(CtrlHandle, acScrollRepeatTimer);
    uScrollTimerId = 0;
    if (::GetCapture() == CtrlHandle) ::ReleaseCapture();
    if (sendEnd && ::IsWindow(CtrlHandle)) {
        if (thumb) SendScrollMessage(CtrlHandle, msg, SB_THUMBPOSITION, nLastSBPos);
        SendScrollMessage(CtrlHandle, msg, SB_ENDSCROLL, 0);
    }
    if (index >= 0 && ::IsWindow(CtrlHandle)) RedrawBar(BarOf(index));
}

void TacScrollWnd::ScrollCurrentPortion() {
    TacScrollBar& bar = BarOf(uCurrentScrollbar);
    bar.ScrollInfo = ReadScrollInfo(CtrlHandle, bar.Vertical() ? SB_VERT : SB_HORZ);
    const int under = PortionAt(bar, CursorInWindow());
    const int shown = under == uCurrentScrollPortion ? under : spNone;
    if (shown != uScrollTimerPortion) {
        uScrollTimerPortion = shown;
        RedrawBar(bar);
    }
    if (shown != spNone) SendPortionScroll(shown);
}

void TacScrollWnd::WMNCMouseMove(TMessage& message) {
    HoverBar(message);
    PassOn(message);
}

void TacScrollWnd::HoverBar(const TMessage& message) {
    const int index = message.WParam == HTVSCROLL ? 1 : message.WParam == HTHSCROLL ? 0 : -1;
    if (index < 0 || fThumbTracking) return;
    hwndCurSB = this;
    if (index == uMouseOverScrollbar) return;
    TacScrollBar& bar = BarOf(index);
    const TRect r = BarRect(bar);
    const RECT wr = WindowRectOf(CtrlHandle);
    MouseOverRect = RECT{wr.left + r.Left, wr.top + r.Top, wr.left + r.Right, wr.top + r.Bottom};
    uMouseOverScrollbar = index;
    uLastHitTestPortion = spNone;
    uHitTestPortion = PortionAt(bar, CursorInWindow());
    uMouseOverId = acScrollHoverTimer;
    ::SetTimer(CtrlHandle, acScrollHoverTimer, acScrollHoverDelay, nullptr);
    UpdateScrolls(true);
}

void TacScrollWnd::WMTimer(TMessage& message) {
    if (message.WParam != acScrollFirstRepeatTimer && message.WParam != acScrollRepeatTimer &&
        message.WParam != acScrollHoverTimer) {
        PassOn(message);
        return;
    }
    switch (message.WParam) {
    case acScrollFirstRepeatTimer:
        // The first repeat comes 300 ms after the press; the following ones every 55 ms.
        ::KillTimer(CtrlHandle, acScrollFirstRepeatTimer);
        uScrollTimerId = acScrollRepeatTimer;
        ::SetTimer(CtrlHandle, acScrollRepeatTimer, acScrollRepeatDelay, nullptr);
        if (uCurrentScrollPortion != spNone) ScrollCurrentPortion();
        break;
    case acScrollRepeatTimer:
        if (uCurrentScrollPortion != spNone) ScrollCurrentPortion();
        else ::KillTimer(CtrlHandle, acScrollRepeatTimer);
        break;
    case acScrollHoverTimer: {
        if (fThumbTracking) break;
        POINT p{};
        ::GetCursorPos(&p);
        if (uMouseOverScrollbar >= 0 && ::PtInRect(&MouseOverRect, p)) {
            const int portion = PortionAt(BarOf(uMouseOverScrollbar), CursorInWindow());
            if (portion != uHitTestPortion) {
                uLastHitTestPortion = uHitTestPortion;
                uHitTestPortion = portion;
                RedrawBar(BarOf(uMouseOverScrollbar));
            }
            break;
        }
        ::KillTimer(CtrlHandle, acScrollHoverTimer);
        uMouseOverId = 0;
        uMouseOverScrollbar = -1;
        uHitTestPortion = uLastHitTestPortion = spNone;
        UpdateScrolls(true);
        break;
    }
    default: break;
    }
}

void TacScrollWnd::WMCaptureChanged(TMessage& message) {
    // Losing the mouse (a message box, a window switch) ends a press as a release would.
    if (reinterpret_cast<HWND>(message.LParam) != CtrlHandle) EndInteraction(true);
    PassOn(message);
}

void TacScrollWnd::WMCancelMode(TMessage& message) {
    EndInteraction(true);
    PassOn(message);
}

void TacScrollWnd::WMNCPaint(TMessage& message) {
    // The system's frame without its bars, then ours.
    const LONG_PTR style = ::GetWindowLongPtrW(CtrlHandle, GWL_STYLE);
    const LONG_PTR bits = style & (WS_HSCROLL | WS_VSCROLL);
    if (bits) ::SetWindowLongPtrW(CtrlHandle, GWL_STYLE, style & ~bits);
    CallPrevWndProc(message);
    if (bits) ::SetWindowLongPtrW(CtrlHandle, GWL_STYLE, ::GetWindowLongPtrW(CtrlHandle, GWL_STYLE) | bits);
    UpdateScrolls(true);
}

void TacScrollWnd::WMDestroy(TMessage& message) {
    EndInteraction(false);
    EndHover();
    PassOn(message);
}

bool TacScrollWnd::Live() const noexcept { return ManagerActive() && !Destroyed; }

void TacScrollWnd::PassOn(TMessage& message) {
    const bool live = Live();
    TacMainWnd::acWndProc(message);
    if (live && !Destroyed) AfterMessage(message.Msg);
}

// ---------------------------------------------------------------- dispatch

void TacScrollWnd::acWndProc(TMessage& message) {
    switch (message.Msg) {
    case SM_ALPHACMD: SkinCommand(message); return;
    case WM_DESTROY:
    case WM_NCDESTROY: WMDestroy(message); return;
    default: break;
    }
    if (!Live()) {
        TacMainWnd::acWndProc(message);
        return;
    }
    switch (message.Msg) {
    case WM_NCCALCSIZE: WMNCCalcSize(message); return;
    case WM_NCHITTEST: WMNCHitTest(message); return;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: WMNCLButtonDown(message); return;
    case WM_LBUTTONUP: WMLButtonUp(message); return;
    case WM_MOUSEMOVE: WMMouseMove(message); return;
    case WM_NCMOUSEMOVE: WMNCMouseMove(message); return;
    case WM_TIMER: WMTimer(message); return;
    case WM_CAPTURECHANGED: WMCaptureChanged(message); return;
    case WM_CANCELMODE: WMCancelMode(message); return;
    case WM_NCPAINT: WMNCPaint(message); return;
    default: PassOn(message); return;
    }
}

bool TacScrollWnd::SkinCommand(TMessage& message) {
    const WORD command = message.WParamHi();
    // The skin goes: a press or hover under way ends here (the manager is already off).
    if (command == SKC_REMOVESKIN) EndHover();
    // A left bar is painted over by the system while the window scrolls itself.
    if (Live() && fLeftScrollbar && (command == SKC_BEFORESCROLL || command == SKC_AFTERSCROLL)) {
        const bool before = command == SKC_BEFORESCROLL;
        ::SendMessageW(CtrlHandle, WM_SETREDRAW, before ? FALSE : TRUE, 0);
        if (!before) ::InvalidateRect(CtrlHandle, nullptr, TRUE);
        return true;
    }
    PassOn(message);
    return true;
}

void TacScrollWnd::EndHover() {
    EndInteraction(false);
    if (CtrlHandle && ::IsWindow(CtrlHandle)) ::KillTimer(CtrlHandle, acScrollHoverTimer);
    uMouseOverId = 0;
    uMouseOverScrollbar = -1;
    uHitTestPortion = uLastHitTestPortion = spNone;
    if (hwndCurSB == this) hwndCurSB = nullptr;
}

void TacScrollWnd::AfterMessage(UINT msg) {
    switch (msg) {
    case WM_NCCALCSIZE:
    case WM_NCHITTEST:
    case WM_NCPAINT:
    case WM_PAINT:
    case WM_ERASEBKGND:
    case WM_NCDESTROY:
    case WM_DESTROY:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_SETCURSOR:
    case WM_CTLCOLORLISTBOX: return;
    default: break;
    }
    if (!::IsWindow(CtrlHandle)) return;
    // The system paints its own bar straight into the window whenever the control sets its
    // scroll facts with redraw: paint ours again when they changed. This covers the end of
    // a batch (the redraw switch turned back on) and the list's own timer that scrolls it
    // while a selection is dragged past its edge.
    RefreshScrolls();
}

// ---------------------------------------------------------------- scroll messages

void SendScrollMessage(HWND wnd, UINT msg, UINT code, int pos) {
    // The message and code travel in the command's long parameter (its word parameter
    // carries the command code).
    const LPARAM word = static_cast<LPARAM>((static_cast<std::uintptr_t>(msg) << 16) | (code & 0xFFFF));
    const LRESULT scrollsItself = ::SendMessageW(wnd, SM_ALPHACMD, MakeAlphaWParam(SKC_BEFORESCROLL), word);
    const WPARAM wParam = MAKEWPARAM(code, static_cast<WORD>(std::clamp(pos, 0, 0xFFFF)));
    if (scrollsItself != 1 && (code == SB_THUMBTRACK || code == SB_THUMBPOSITION)) {
        // The control reads the track position from the bar: put it there first.
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_POS;
        si.nPos = pos;
        ::SetScrollInfo(wnd, msg == WM_VSCROLL ? SB_VERT : SB_HORZ, &si, FALSE);
    }
    ::SendMessageW(wnd, msg, wParam, 0);
    ::SendMessageW(wnd, SM_ALPHACMD, MakeAlphaWParam(SKC_AFTERSCROLL), word);
}

}  // namespace qv
