// What the provider does with the mouse and the keyboard on its frame: hit testing, hot
// and pressed title buttons, the system menu, activation, maximizing into the work area.
#include "framework/win32/Application.h"
#include "windows/win32/sSkinProvider.h"

#include <windowsx.h>

namespace qv {

namespace {

constexpr int kHTBottomRight = 17;

TPoint ScreenPoint(LPARAM lParam) noexcept { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

TPoint CursorPoint() noexcept {
    POINT p{};
    ::GetCursorPos(&p);
    return {p.x, p.y};
}

// The keyboard's request for a context menu (the menu key, Shift+F10) carries both
// coordinates as -1; a 64-bit LPARAM holds them as 0xFFFFFFFF, not as -1.
bool FromKeyboard(LPARAM lParam) noexcept { return GET_X_LPARAM(lParam) == -1 && GET_Y_LPARAM(lParam) == -1; }

bool IsButtonCode(int code) noexcept {
    return code == acHTMinButton || code == acHTMaxButton || code == acHTClose || code == acHTHelp;
}

TsCaptionButton* ButtonOf(TacTitleButtons& buttons, int code) noexcept {
    for (TsCaptionButton& b : buttons)
        if (b.HitCode == code && b.ImageIndex >= 0) return &b;
    return nullptr;
}

}  // namespace

// ---------------------------------------------------------------- hit testing

TacHitFacts TsSkinProvider::HitFacts() const noexcept {
    TacHitFacts f;
    const HWND wnd = const_cast<TCustomForm*>(FForm)->Handle();
    f.Sizeable = (::GetWindowLongPtrW(wnd, GWL_STYLE) & WS_THICKFRAME) != 0;
    f.Maximized = ::IsZoomed(wnd) != FALSE;
    f.IconRect = IconRect();
    TsSkinManager* m = ProviderSkinManager();
    if (GripVisible() && m && m->IsValidImgIndex(m->ConstData.GripRightBottom)) {
        const TacFrameMetrics metrics = Metrics();
        const TsMaskData& md = m->ma[static_cast<std::size_t>(m->ConstData.GripRightBottom)];
        f.GripRect = {metrics.CaptionWidth - metrics.BorderWidth - WidthOfImage(md),
                      metrics.Height - metrics.BorderHeight - HeightOfImage(md), metrics.CaptionWidth, metrics.Height};
    }
    return f;
}

int TsSkinProvider::HTProcess(TPoint screen) const noexcept {
    if (!FForm->HandleAllocated()) return 0;
    RECT wr{};
    ::GetWindowRect(const_cast<TCustomForm*>(FForm)->Handle(), &wr);
    return FrameHitTest(Metrics(), FButtons, HitFacts(), {screen.X - wr.left, screen.Y - wr.top});
}

void TsSkinProvider::WMNCHitTest(TMessage& m) {
    if (CaptionHeight() <= 0) {
        CallOld(m);
        return;
    }
    const int code = HTProcess(ScreenPoint(m.LParam));
    if (FrameKeepsHitCode(code) || (code == kHTBottomRight && GripVisible())) {
        m.Result = code;
        return;
    }
    CallOld(m);
}

// ---------------------------------------------------------------- hot and pressed buttons

void TsSkinProvider::SetHotHT(int code, bool repaint) {
    if (code == FCurrentHT) return;
    if (TsCaptionButton* old = ButtonOf(FButtons, FCurrentHT)) old->State = 0;
    FCurrentHT = code;
    if (TsCaptionButton* b = ButtonOf(FButtons, code)) {
        // While a button is held, only that one shows pressed, and only under the pointer.
        if (FPressedHT == 0) b->State = 1;
        else b->State = code == FPressedHT ? 2 : 0;
    }
    if (repaint) RepaintButtons();
}

void TsSkinProvider::SetPressedHT(int code) {
    for (TsCaptionButton& b : FButtons) b.State = 0;
    FCurrentHT = code;
    FPressedHT = 0;
    TsCaptionButton* b = ButtonOf(FButtons, code);
    if (b && b->Enabled) {
        b->State = 2;
        FPressedHT = code;
    }
    RepaintButtons();
}

void TsSkinProvider::TrackNcLeave() noexcept {
    if (FTrackingLeave) return;
    TRACKMOUSEEVENT t{sizeof t, TME_LEAVE | TME_NONCLIENT, FForm->Handle(), 0};
    FTrackingLeave = ::TrackMouseEvent(&t) != FALSE;
}

void TsSkinProvider::WMNCMouseMove(TMessage& m) {
    if (TsSkinManager* manager = ProviderSkinManager()) manager->SetActiveControl(FForm->Handle());
    TrackNcLeave();
    // Where the pointer is now, not where it was when the message was queued: a late
    // move must not light a button the pointer has already left.
    SetHotHT(HTProcess(CursorPoint()));
    CallOld(m);
}

void TsSkinProvider::WMNCMouseLeave(TMessage& m) {
    FTrackingLeave = false;
    if (FPressedHT == 0) SetHotHT(0);
    CallOld(m);
}

void TsSkinProvider::WMMouseMove(TMessage& m) {
    // With the capture held, the pointer over the frame reports here in client terms.
    if (FPressedHT != 0) SetHotHT(HTProcess(CursorPoint()));
    else if (FCurrentHT != 0) SetHotHT(0);
    CallOld(m);
}

void TsSkinProvider::WMNCLButtonDown(TMessage& m) {
    const int code = static_cast<int>(m.WParam);
    const HWND wnd = FForm->Handle();
    if (IsButtonCode(code) || code >= acHTUserButton) {
        SetPressedHT(code);
        // The capture brings the release here wherever it happens.
        if (FPressedHT != 0) ::SetCapture(wnd);
        m.Result = 0;
        return;
    }
    if (code == acHTSysMenu) {
        ::SetActiveWindow(wnd);
        const TRect icon = IconRect();
        RECT wr{};
        ::GetWindowRect(wnd, &wr);
        DropSysMenu(wr.left + icon.Left, wr.top + icon.Bottom);
        m.Result = 0;
        return;
    }
    if (code == acHTCaption && ::IsZoomed(wnd)) {
        ::SetActiveWindow(wnd);
        m.Result = 0;
        return;
    }
    SetHotHT(0);
    CallOld(m);
}

void TsSkinProvider::WMLButtonUp(TMessage& m) {
    if (FPressedHT == 0) {
        CallOld(m);
        return;
    }
    m.Result = 0;
    ReleaseButton(CursorPoint());
}

void TsSkinProvider::ReleaseButton(TPoint screen) {
    const int pressed = FPressedHT;
    const int under = HTProcess(screen);
    FPressedHT = 0;
    for (TsCaptionButton& b : FButtons) b.State = 0;
    FCurrentHT = under == pressed ? under : 0;
    if (TsCaptionButton* b = ButtonOf(FButtons, FCurrentHT)) b->State = 1;
    if (::GetCapture() == FForm->Handle()) ::ReleaseCapture();
    RepaintButtons();
    if (under == pressed) RunButtonCommand(pressed);  // last: the form may be gone after it
}

void TsSkinProvider::RunButtonCommand(int code) {
    const HWND wnd = FForm->Handle();
    WPARAM command = 0;
    switch (code) {
    case acHTClose: command = SC_CLOSE; break;
    case acHTMaxButton: command = ::IsZoomed(wnd) ? SC_RESTORE : SC_MAXIMIZE; break;
    case acHTMinButton: command = ::IsIconic(wnd) ? SC_RESTORE : SC_MINIMIZE; break;
    case acHTHelp: command = SC_CONTEXTHELP; break;
    default: return;
    }
    FCurrentHT = 0;
    for (TsCaptionButton& b : FButtons) b.State = 0;
    ::SendMessageW(wnd, WM_SYSCOMMAND, command, 0);
}

void TsSkinProvider::WMCaptureChanged(TMessage& m) {
    if (FPressedHT != 0 && reinterpret_cast<HWND>(m.LParam) != FForm->Handle()) {
        // Another window took the mouse: the press ends without a command.
        FPressedHT = 0;
        FCurrentHT = 0;
        for (TsCaptionButton& b : FButtons) b.State = 0;
        RepaintButtons();
    }
    CallOld(m);
}

void TsSkinProvider::WMNCLButtonDblClk(TMessage& m) {
    const int code = static_cast<int>(m.WParam);
    const HWND wnd = FForm->Handle();
    if (code == acHTCaption) {
        const LONG_PTR style = ::GetWindowLongPtrW(wnd, GWL_STYLE);
        if (style & WS_MAXIMIZEBOX) {
            const bool restore = ::IsZoomed(wnd) || ::IsIconic(wnd);
            ::SendMessageW(wnd, WM_SYSCOMMAND, restore ? SC_RESTORE : SC_MAXIMIZE, 0);
        }
        m.Result = 0;
        return;
    }
    if (code == acHTSysMenu) {
        // As on the system's frame: a double click on the icon closes only when Close is allowed.
        if (CloseAllowed()) ::SendMessageW(wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        m.Result = 0;
        return;
    }
    if (IsButtonCode(code)) {  // the second click of a quick pair is a press like the first
        WMNCLButtonDown(m);
        return;
    }
    CallOld(m);
}

// ---------------------------------------------------------------- the system menu

void TsSkinProvider::WMNCRButtonDown(TMessage& m) {
    if (m.WParam == acHTCaption || m.WParam == acHTSysMenu) {
        m.Result = 0;
        return;
    }
    CallOld(m);
}

// Consumed on the caption and the icon: passed on, the system would follow with a
// context-menu request and show its own menu as well.
void TsSkinProvider::WMNCRButtonUp(TMessage& m) {
    if (m.WParam == acHTCaption || m.WParam == acHTSysMenu) {
        const TPoint p = ScreenPoint(m.LParam);
        DropSysMenu(p.X, p.Y);
        m.Result = 0;
        return;
    }
    CallOld(m);
}

void TsSkinProvider::WMContextMenu(TMessage& m) {
    if (!FromKeyboard(m.LParam)) {
        const int code = HTProcess(ScreenPoint(m.LParam));
        if (code == acHTCaption || code == acHTSysMenu) {
            m.Result = 0;
            return;
        }
    }
    CallOld(m);
}

void TsSkinProvider::WMPopupSystemMenu(TMessage& m) {
    const TPoint p = ScreenPoint(m.LParam);
    DropSysMenu(p.X, p.Y);
    m.Result = 0;
}

bool TsSkinProvider::CloseAllowed() const noexcept { return !FSystemMenu || FSystemMenu->CloseEnabled(); }

void TsSkinProvider::WMSysCommand(TMessage& m) {
    // Alt+F4 follows the close button: the window no longer has the system menu whose
    // greyed Close would hold it.
    if ((m.WParam & 0xFFF0) == SC_CLOSE && !CloseAllowed()) {
        m.Result = 0;
        return;
    }
    // Alt+Space: the system would show nothing once WS_SYSMENU is gone.
    if ((m.WParam & 0xFFF0) == SC_KEYMENU && m.LParam == L' ') {
        const HWND wnd = FForm->Handle();
        RECT wr{};
        ::GetWindowRect(wnd, &wr);
        const TRect icon = IconRect();
        const TacFrameMetrics metrics = Metrics();
        const int x = wr.left + (icon.IsEmpty() ? metrics.BorderWidth : icon.Left);
        const int y = wr.top + (icon.IsEmpty() ? metrics.HeaderHeight : icon.Bottom);
        DropSysMenu(x, y);
        m.Result = 0;
        return;
    }
    CallOld(m);
}

// ---------------------------------------------------------------- activation and size

void TsSkinProvider::WMNCActivate(TMessage& m) {
    FFormActive = m.WParam != 0;
    if ((FFormActive ? 1 : 0) != FPaintedActive) FCommonData->BGChanged = true;
    // -1: the system changes its activation state but paints no caption of its own.
    m.LParam = -1;
    CallOld(m);
    RepaintNC();
    m.Result = TRUE;
}

void TsSkinProvider::WMSetText(TMessage& m) {
    CallOld(m);  // the system paints its own caption here; the frame goes back over it
    FGlows.Clear();
    RepaintNC();
}

// The system frame's width for the maximized placement. A minimized window has no
// frame to measure (under Wine its client is the whole window), and a window restored
// to maximized is asked while it still has its minimized rectangle: the width measured
// last on a window with a frame holds, or the system's frame for the window's style
// when none was measured yet.
int TsSkinProvider::MaximizedFrameWidth() noexcept {
    const HWND wnd = FForm->Handle();
    if (!::IsIconic(wnd))
        if (const int measured = Metrics().SysBorderWidth; measured > 0) FMaximizedFrameWidth = measured;
    if (FMaximizedFrameWidth > 0) return FMaximizedFrameWidth;
    RECT frame{};
    ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrW(wnd, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrW(wnd, GWL_EXSTYLE)));
    return -frame.left;
}

void TsSkinProvider::WMGetMinMaxInfo(TMessage& m) {
    const HWND wnd = FForm->Handle();
    auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
    const LONG_PTR style = ::GetWindowLongPtrW(wnd, GWL_STYLE);
    if (info && FForm->BorderStyle() != bsNone && !(style & WS_CHILD)) {
        MONITORINFO mi{};
        mi.cbSize = sizeof mi;
        if (::GetMonitorInfoW(::MonitorFromWindow(wnd, MONITOR_DEFAULTTONEAREST), &mi)) {
            // The system frame lies just outside the work area, wherever the task bar is.
            const int b = MaximizedFrameWidth();
            info->ptMaxPosition = {mi.rcWork.left - mi.rcMonitor.left - b, mi.rcWork.top - mi.rcMonitor.top - b};
            info->ptMaxSize = {mi.rcWork.right - mi.rcWork.left + 2 * b, mi.rcWork.bottom - mi.rcWork.top + 2 * b};
        }
    }
    CallOld(m);
}

void TsSkinProvider::WMSize(TMessage& m) {
    FCommonData->BGChanged = true;
    FRgnChanged = true;
    CallOld(m);
    UpdateButtons();
    if (GripVisible()) ::InvalidateRect(FForm->Handle(), nullptr, TRUE);
}

void TsSkinProvider::WMWindowPosChanged(TMessage& m) {
    CallOld(m);
    const auto* pos = reinterpret_cast<const WINDOWPOS*>(m.LParam);
    if (pos && !(pos->flags & SWP_NOSIZE) && FRgnChanged && ::IsWindowVisible(FForm->Handle())) {
        UpdateRgn(::IsZoomed(FForm->Handle()) != FALSE);
        ::RedrawWindow(FForm->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    }
}

void TsSkinProvider::WMStyleChanged(TMessage& m) {
    CallOld(m);
    if (m.WParam != static_cast<WPARAM>(GWL_STYLE)) return;
    const auto* change = reinterpret_cast<const STYLESTRUCT*>(m.LParam);
    // The framework sets the style again when the border icons change: take the system
    // menu away once more.
    if (change && (change->styleNew & WS_SYSMENU) && FPrepared) {
        FSystemMenu->ReadItems();
        FHaveSysMenu = true;
        ::SetWindowLongPtrW(FForm->Handle(), GWL_STYLE, static_cast<LONG_PTR>(change->styleNew & ~WS_SYSMENU));
    }
    UpdateButtons();
    RepaintNC();
}

}  // namespace qv
