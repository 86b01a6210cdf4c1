#include "windows/win32/acDialogWnd.h"

#include "framework/win32/Handles.h"
#include "framework/win32/Messages.h"
#include "framework/win32/WindowText.h"
#include "paint/win32/acRegionHandle.h"
#include "skin/win32/sMessages.h"
#include "windows/win32/acFramePaint.h"
#include "windows/win32/acSystemMenu.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

namespace qv {

int DlgLeft = -1, DlgTop = -1;

namespace {

// The window-relative position of a screen point.
TPoint ToWindow(HWND wnd, POINT screen) noexcept {
    RECT wr{};
    ::GetWindowRect(wnd, &wr);
    return {screen.x - wr.left, screen.y - wr.top};
}

UINT CommandOf(int button, bool zoomed) noexcept {
    switch (button) {
    case tbClose: return SC_CLOSE;
    case tbMax: return zoomed ? SC_RESTORE : SC_MAXIMIZE;
    case tbMin: return SC_MINIMIZE;
    case tbHelp: return SC_CONTEXTHELP;
    default: return 0;
    }
}

int ButtonOfHitCode(int code) noexcept {
    switch (code) {
    case HTCLOSE: return tbClose;
    case HTMAXBUTTON: return tbMax;
    case HTMINBUTTON: return tbMin;
    case HTHELP: return tbHelp;
    default: return -1;
    }
}

}  // namespace

// The frame's working state: geometry, title buttons, the window image and the pointer's
// interaction with the buttons.
struct TacDialogWnd::TFrameState {
    TacFrameMetrics Metrics;
    TacTitleButtons Buttons;
    TacTitleButtonShow Show;
    int TitleBtnsWidth = 0;
    HICON Icon = nullptr;  // the dialog's own (shared): never destroyed here
    TRect IconRect;
    TBitmap Image;         // the whole window as painted (TempBmp)
    TBitmap UnderButtons;  // the title band under the buttons, for a state change
    int PaintedActive = -1;
    String PaintedText;
    TacCaptionGlows Glows;
    UniqueBrush BackBrush;  // unwrapped children's background: the frame section's colour
    TColor BackColor = clNone;
    TAOR ArOR;
    TSize RegionSize{-1, -1};
    HMENU SysMenu = nullptr;             // the system's copy, read for the state of its close item
    std::unique_ptr<TsSystemMenu> Menu;  // the wrapper's own, dropped instead of the system's
    int Pressed = -1;                    // the title button held down
    bool TrackingLeave = false;
    bool InNcPaint = false;
    bool Wrapping = false;
    bool Moved = false;
    bool SysMenuTaken = false;  // WS_SYSMENU was removed by InitParams
    bool Destroying = false;
};

TacDialogWnd::TacDialogWnd(HWND wnd, TsCommonData* binding, TsSkinManager* manager, const String& section, bool repaint)
    : TacScrollWnd(wnd, binding, manager, section, repaint), F(std::make_unique<TFrameState>()) {
    // The position asked for belongs to this dialog alone.
    MoveToLeft = DlgLeft;
    MoveToTop = DlgTop;
    DlgLeft = DlgTop = -1;
}

TacDialogWnd::~TacDialogWnd() {
    if (F->Pressed >= 0 && CtrlHandle && ::GetCapture() == CtrlHandle) ::ReleaseCapture();
}

// ---------------------------------------------------------------- styles

bool TacDialogWnd::HasCloseButton() const noexcept { return (dwStyle & WS_SYSMENU) != 0; }

bool TacDialogWnd::CloseEnabled() const noexcept {
    if (!HasCloseButton()) return false;
    if (CtrlHandle && (::GetClassLongPtrW(CtrlHandle, GCL_STYLE) & CS_NOCLOSE)) return false;
    // Closing a dialog answers IDCANCEL. A Yes/No or Abort/Retry/Ignore box offers no such
    // answer, so Close is off there, or a click would end the box with a result the
    // caller never asked for. Windows greys Close in such a box's system menu; Wine
    // leaves it enabled, so the buttons are looked at too.
    if (OffersAnswersButNoCancel()) return false;
    if (!F->SysMenu || !::IsMenu(F->SysMenu)) return true;
    const UINT state = ::GetMenuState(F->SysMenu, SC_CLOSE, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

bool TacDialogWnd::OffersAnswersButNoCancel() const noexcept {
    auto shown = [this](int id) {
        HWND button = ::GetDlgItem(CtrlHandle, id);
        return button && (::GetWindowLongPtrW(button, GWL_STYLE) & WS_VISIBLE) != 0;
    };
    return (shown(IDYES) || shown(IDNO) || shown(IDABORT)) && !shown(IDCANCEL);
}

void TacDialogWnd::InitParams() {
    if (FInInitParams || !CtrlHandle || !::IsWindow(CtrlHandle)) return;
    FInInitParams = true;
    const LONG_PTR style = ::GetWindowLongPtrW(CtrlHandle, GWL_STYLE);
    // A second pass (the style changed) must not lose the system menu the first removed.
    dwStyle = style | (F->SysMenuTaken ? WS_SYSMENU : 0);
    dwExStyle = ::GetWindowLongPtrW(CtrlHandle, GWL_EXSTYLE);
    if ((dwStyle & WS_POPUP) && (dwStyle & WS_CAPTION) != WS_CAPTION) BorderStyle = acbsNone;
    else if (dwStyle & WS_THICKFRAME) BorderStyle = acbsSizeable;
    else if (dwStyle & DS_MODALFRAME) BorderStyle = acbsDialog;
    else BorderStyle = acbsSizeable;
    SystemMenu();  // its items are read while the window still has its system menu
    if (style & WS_SYSMENU) {
        // Read while the menu still belongs to a window with a system menu.
        F->SysMenu = ::GetSystemMenu(CtrlHandle, FALSE);
        F->SysMenuTaken = true;
        ::SetWindowLongPtrW(CtrlHandle, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_SYSMENU));
    }
    UpdateIconsIndexes();
    F->Icon = reinterpret_cast<HICON>(::SendMessageW(CtrlHandle, WM_GETICON, ICON_SMALL, 0));
    if (!F->Icon) F->Icon = reinterpret_cast<HICON>(::GetClassLongPtrW(CtrlHandle, GCLP_HICONSM));
    if (SkinData) SkinData->BGChanged = true;
    Initialized = true;
    FInInitParams = false;
}

void TacDialogWnd::UpdateIconsIndexes() {
    TsSkinManager* m = Manager();
    if (!m) return;
    TacTitleButtonShow& show = F->Show;
    show.Large = BorderStyle == acbsSingle || BorderStyle == acbsSizeable;
    show.SysMenu = HasCloseButton();
    show.Max = HasMaxButton();
    show.Min = HasMinButton();
    show.Help = HasHelpButton();
    show.Maximized = CtrlHandle && ::IsZoomed(CtrlHandle);
    show.MinRestores = CtrlHandle && ::IsIconic(CtrlHandle);
    ChooseTitleButtonImages(*m, show, F->Buttons);
    TitleSection = L"FORMTITLE";
    if (!show.Large && m->GetSkinIndex(L"DIALOGTITLE") >= 0) TitleSection = L"DIALOGTITLE";
    TitleIndex = m->GetSkinIndex(TitleSection);
    FCaptionSkinIndex = m->GetSkinIndex(L"CAPTION");
}

// ---------------------------------------------------------------- painting

void TacDialogWnd::PrepareCache() {
    TsSkinManager* m = Manager();
    if (!m || !SkinData || !CtrlHandle || !::IsWindow(CtrlHandle)) return;
    const TacFrameFacts facts = FrameFacts();
    F->Metrics = FrameMetrics(facts);
    LayoutTitle(*m, facts);
    PaintFrame(*m, facts.Maximized);
    CopyClientToCache(facts);
    UpdateRegion();
}

TacFrameFacts TacDialogWnd::FrameFacts() const {
    RECT wr{}, cr{};
    ::GetWindowRect(CtrlHandle, &wr);
    ::GetClientRect(CtrlHandle, &cr);
    POINT origin{0, 0};
    ::ClientToScreen(CtrlHandle, &origin);
    const LONG_PTR style = ::GetWindowLongPtrW(CtrlHandle, GWL_STYLE);
    TacFrameFacts facts;
    facts.Window = {wr.right - wr.left, wr.bottom - wr.top};
    facts.Client = {cr.right, cr.bottom};
    facts.ClientOrigin = {origin.x - wr.left, origin.y - wr.top};
    facts.ThickFrame = (style & WS_THICKFRAME) != 0;
    facts.Border = (style & (WS_BORDER | WS_DLGFRAME)) != 0 || (dwExStyle & WS_EX_DLGMODALFRAME) != 0;
    facts.Caption = (style & WS_CAPTION) == WS_CAPTION;
    facts.ToolWindow = (dwExStyle & WS_EX_TOOLWINDOW) != 0;
    facts.Minimized = ::IsIconic(CtrlHandle) != FALSE;
    facts.Maximized = ::IsZoomed(CtrlHandle) != FALSE;
    facts.SysCaption = ::GetSystemMetrics(facts.ToolWindow ? SM_CYSMCAPTION : SM_CYCAPTION);
    return facts;
}

// The title buttons' state and places and the icon's place for the present metrics.
void TacDialogWnd::LayoutTitle(TsSkinManager& m, const TacFrameFacts& facts) {
    const TacFrameMetrics& fm = F->Metrics;
    F->Show.Maximized = facts.Maximized;
    F->Show.MinRestores = facts.Minimized;
    F->Buttons[tbClose].Enabled = CloseEnabled();
    TacTitleButtonSpacing spacing;
    spacing.Right = m.SkinData.BIRightMargin;
    spacing.Space = m.SkinData.BISpacing;
    spacing.VAlign = m.SkinData.BIVAlign;
    F->TitleBtnsWidth = fm.CaptionHeight > 0 ? LayoutTitleButtons(m, fm, F->Show, spacing, F->Buttons) : 0;
    F->IconRect = (F->Icon && fm.CaptionHeight > 0 && HasCloseButton())
                      ? TitleIconRect(fm, 0, TitleIconSize(fm.CaptionHeight))
                      : TRect{};
}

void TacDialogWnd::PaintFrame(TsSkinManager& m, bool maximized) {
    const TacFramePaint p = FramePaint(m, maximized);
    PaintFrameImage(F->Image, p, F->Glows, &F->UnderButtons);
    F->PaintedActive = FFormActive ? 1 : 0;
    F->PaintedText = p.Text;
}

bool TacDialogWnd::ImageCurrent() const {
    if (!SkinData || SkinData->BGChanged || F->Image.Empty() || F->PaintedActive != (FFormActive ? 1 : 0)) return false;
    RECT wr{};
    ::GetWindowRect(CtrlHandle, &wr);
    return F->Image.Width() == wr.right - wr.left && F->Image.Height() == wr.bottom - wr.top &&
           F->PaintedText == WindowText(CtrlHandle);
}

TBitmap& TacDialogWnd::FrameImage() noexcept { return F->Image; }

TacFramePaint TacDialogWnd::FramePaint(TsSkinManager& m, bool maximized) const {
    const TacFrameMetrics& fm = F->Metrics;
    TacFramePaint p;
    p.Manager = &m;
    p.FormIndex = SkinData->FSkinIndex;
    p.TitleIndex = fm.CaptionHeight > 0 ? TitleIndex : -1;
    p.CaptionIndex = FCaptionSkinIndex;
    p.Active = FFormActive;
    p.Metrics = fm;
    p.Text = WindowText(CtrlHandle);
    p.RightToLeft = (dwExStyle & WS_EX_RTLREADING) != 0;
    p.Icon = F->IconRect.IsEmpty() ? nullptr : F->Icon;
    p.IconRect = F->IconRect;
    p.Buttons = &F->Buttons;
    p.TitleBtnsWidth = F->TitleBtnsWidth;
    p.Maximized = maximized;
    return p;
}

// The client part of the window image is what the children see behind them.
void TacDialogWnd::CopyClientToCache(const TacFrameFacts& facts) {
    TBitmap* cache = SkinData->FCacheBmp.get();
    if (!cache || facts.Client.cx <= 0 || facts.Client.cy <= 0 || F->Image.Empty()) return;
    cache->SetSize(facts.Client.cx, facts.Client.cy);
    const int x0 = std::clamp<int>(facts.ClientOrigin.X, 0, F->Image.Width());
    const int cols = std::min(facts.Client.cx, F->Image.Width() - x0);
    for (int y = 0; y < facts.Client.cy; ++y) {
        const int sy = facts.ClientOrigin.Y + y;
        if (sy < 0 || sy >= F->Image.Height() || cols <= 0) continue;
        std::memcpy(cache->ScanLine(y), F->Image.ScanLine(sy) + static_cast<std::ptrdiff_t>(x0) * 4,
                    static_cast<std::size_t>(cols) * 4);
    }
    SkinData->BGChanged = false;
}

void TacDialogWnd::UpdateRegion() {
    TsSkinManager* m = Manager();
    if (!m || !SkinData) return;
    const TacFrameMetrics& fm = F->Metrics;
    const TSize size{fm.CaptionWidth, fm.Height};
    const TsMaskData* formMask = m->IsValidImgIndex(SkinData->FBorderIndex) ? &m->ma[SkinData->FBorderIndex] : nullptr;
    const int titleMaskIndex = TitleIndex >= 0 ? m->GetMaskIndex(TitleIndex, TitleSection, L"BORDERSMASK") : -1;
    const TsMaskData* titleMask = (fm.CaptionHeight > 0 && m->IsValidImgIndex(titleMaskIndex)) ? &m->ma[titleMaskIndex]
                                                                                               : nullptr;
    TAOR cut = ::IsZoomed(CtrlHandle) ? TAOR{} : FrameArOR(formMask, titleMask, size.cx, size.cy);
    if (size.cx == F->RegionSize.cx && size.cy == F->RegionSize.cy && cut == F->ArOR) return;
    F->ArOR = std::move(cut);
    F->RegionSize = size;
    TacRegion region = ::IsZoomed(CtrlHandle) ? TacRegion(MaximizedRegionBox(fm, size))
                                              : RegionFromArOR(F->ArOR, {0, 0}, size.cx, size.cy);
    UniqueRegion rgn = RegionHandle(region);
    if (!rgn) return;
    // On success the window owns the region.
    if (::SetWindowRgn(CtrlHandle, rgn.get(), ::IsWindowVisible(CtrlHandle))) rgn.release();
}

void TacDialogWnd::PaintAll() {
    if (!CtrlHandle || !::IsWindow(CtrlHandle)) return;
    if (!ImageCurrent()) PrepareCache();
    WholeWindowDC dc(CtrlHandle);
    if (!dc || F->Image.Empty()) return;
    const LONG_PTR style = ::GetWindowLongPtrW(CtrlHandle, GWL_STYLE);
    CopyFrameStrips(dc.get(), F->Image, F->Metrics, F->Metrics.CaptionHeight > 0);
    if (style & (WS_HSCROLL | WS_VSCROLL)) Ac_NCPaint(dc.get());
}

void TacDialogWnd::RepaintFrame() {
    if (CtrlHandle && ::IsWindowVisible(CtrlHandle)) PaintAll();
}

bool TacDialogWnd::CanPaintFrame() const noexcept {
    TsSkinManager* m = Manager();
    return Initialized && SkinData && m && m->IsValidSkinIndex(SkinData->FSkinIndex) && !SkinData->FUpdating;
}

// ---------------------------------------------------------------- messages

void TacDialogWnd::acWndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_DESTROY:
    case WM_NCDESTROY: WMDestroy(message); return;
    case SM_ALPHACMD:
        if (!SkinCommand(message)) TacScrollWnd::acWndProc(message);
        return;
    default: break;
    }
    if (!ManagerActive()) {
        TacScrollWnd::acWndProc(message);
        return;
    }
    switch (message.Msg) {
    case WM_SHOWWINDOW: WMShowWindow(message); return;
    case WM_STYLECHANGED: WMStyleChanged(message); return;
    case WM_NCPAINT: WMNCPaint(message); return;
    case WM_NCACTIVATE: WMNCActivate(message); return;
    case WM_SETTEXT: WMSetText(message); return;
    case WM_NCHITTEST: WMNCHitTest(message); return;
    case WM_NCLBUTTONDOWN: WMNCLButtonDown(message); return;
    case WM_NCLBUTTONDBLCLK: WMNCLButtonDblClk(message); return;
    case WM_NCMOUSEMOVE: WMNCMouseMove(message); return;
    case WM_NCMOUSELEAVE: WMNCMouseLeave(message); return;
    case WM_MOUSEMOVE: WMMouseMove(message); return;
    case WM_LBUTTONUP: WMLButtonUp(message); return;
    case WM_CAPTURECHANGED: WMCaptureChanged(message); return;
    case WM_CONTEXTMENU: WMContextMenu(message); return;
    case WM_POPUPSYSTEMMENU: WMPopupSystemMenu(message); return;
    case WM_SYSCOMMAND: WMSysCommand(message); return;
    case WM_ERASEBKGND: WMEraseBkgnd(message); return;
    case WM_PRINT: WMPrint(message); return;
    case WM_PAINT: WMPaint(message); return;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: WMCtlColor(message); return;
    case WM_SIZE: WMSize(message); return;
    // The dialog keeps the keyboard-cue state and hands it to its children (Alt, Tab).
    case WM_UPDATEUISTATE: CallPrevWndProc(message); return;
    default: TacScrollWnd::acWndProc(message); return;
    }
}

void TacDialogWnd::WMDestroy(TMessage& message) {
    F->Destroying = true;
    EndButtonPress();
    TacScrollWnd::acWndProc(message);
}

void TacDialogWnd::WMStyleChanged(TMessage& message) {
    CallPrevWndProc(message);
    if (Initialized && !FInInitParams && message.WParam == static_cast<WPARAM>(GWL_STYLE)) {
        InitParams();
        RepaintFrame();
    }
}

void TacDialogWnd::WMSetText(TMessage& message) {
    CallPrevWndProc(message);
    F->Glows.Clear();
    RepaintFrame();
}

void TacDialogWnd::WMNCLButtonDblClk(TMessage& message) {
    if (message.WParam == HTSYSMENU && CanPaintFrame()) {
        if (CloseEnabled()) ::SendMessageW(CtrlHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
        return;
    }
    // A second quick click on a title button is a press like the first.
    if (ButtonOfHitCode(static_cast<int>(message.WParam)) >= 0 && CanPaintFrame()) {
        WMNCLButtonDown(message);
        return;
    }
    TacScrollWnd::acWndProc(message);
}

void TacDialogWnd::WMNCMouseLeave(TMessage& message) {
    F->TrackingLeave = false;
    SetHotButton(-1);
    TacScrollWnd::acWndProc(message);
}

void TacDialogWnd::WMMouseMove(TMessage& message) {
    if (F->Pressed >= 0) {
        TrackPressedButton();
        return;
    }
    SetHotButton(-1);
    TacScrollWnd::acWndProc(message);
}

void TacDialogWnd::WMCaptureChanged(TMessage& message) {
    if (F->Pressed >= 0 && reinterpret_cast<HWND>(message.LParam) != CtrlHandle) EndButtonPress();
    TacScrollWnd::acWndProc(message);
}

void TacDialogWnd::WMContextMenu(TMessage& message) {
    // A right click on the caption ends here on every system (Windows sends it after
    // WM_NCRBUTTONUP, Wine from its own loop after WM_NCRBUTTONDOWN); the system would
    // track its stock menu, so the wrapper drops its own instead.
    // Both coordinates -1 (0xFFFFFFFF in a 64-bit LPARAM): the keyboard's request.
    if (CanPaintFrame() && reinterpret_cast<HWND>(message.WParam) == CtrlHandle &&
        !(GET_X_LPARAM(message.LParam) == -1 && GET_Y_LPARAM(message.LParam) == -1)) {
        POINT p{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
        const TPoint w = ToWindow(CtrlHandle, p);
        if (w.Y >= 0 && w.Y < F->Metrics.BorderHeight + F->Metrics.CaptionHeight) {
            DropSysMenu(p.x, p.y);
            return;
        }
    }
    TacScrollWnd::acWndProc(message);
}

void TacDialogWnd::WMPopupSystemMenu(TMessage& message) {
    if (!CanPaintFrame()) {
        TacScrollWnd::acWndProc(message);
        return;
    }
    DropSysMenu(GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam));
}

void TacDialogWnd::WMSysCommand(TMessage& message) {
    // Alt+F4 and the menu's Close follow the close button.
    if ((message.WParam & 0xFFF0) == SC_CLOSE && CanPaintFrame() && !CloseEnabled()) return;
    if ((message.WParam & 0xFFF0) == SC_KEYMENU && message.LParam == L' ' && CanPaintFrame()) {
        DropSysMenuBelowIcon();
        return;
    }
    TacScrollWnd::acWndProc(message);
}

void TacDialogWnd::WMPrint(TMessage& message) {
    // A picture of the window (PrintWindow) shows the skinned frame, not the stock one.
    TacScrollWnd::acWndProc(message);
    if ((message.LParam & PRF_NONCLIENT) && CanPaintFrame()) {
        PrepareCache();
        if (!F->Image.Empty())
            CopyFrameStrips(reinterpret_cast<HDC>(message.WParam), F->Image, F->Metrics, F->Metrics.CaptionHeight > 0);
    }
}

void TacDialogWnd::WMPaint(TMessage& message) {
    if (FWMPaintForbidden) {
        ::ValidateRect(CtrlHandle, nullptr);
        message.Result = 0;
        return;
    }
    TacScrollWnd::acWndProc(message);
}

void TacDialogWnd::WMCtlColor(TMessage& message) {
    if (!CtrlColor(message)) TacScrollWnd::acWndProc(message);
}

void TacDialogWnd::WMSize(TMessage& message) {
    TacScrollWnd::acWndProc(message);
    if (SkinData) SkinData->BGChanged = true;
    if (CanPaintFrame()) {
        RepaintFrame();
        ::InvalidateRect(CtrlHandle, nullptr, TRUE);
    }
}

bool TacDialogWnd::SkinCommand(TMessage& message) {
    const bool own = message.LParam == reinterpret_cast<LPARAM>(Manager());
    switch (message.WParamHi()) {
    case SKC_NEWSKIN:
        TacScrollWnd::acWndProc(message);  // indexes, and the command to every child
        if (own && ManagerActive()) {
            F->Glows.Clear();
            F->BackBrush.reset();
            if (Initialized) UpdateIconsIndexes();
            F->RegionSize = {-1, -1};
            if (::IsWindowVisible(CtrlHandle))
                ::RedrawWindow(CtrlHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
        }
        return true;
    case SKC_REFRESH:
        if (own && Initialized) {
            UpdateIconsIndexes();
            F->Glows.Clear();
        }
        return false;
    case SKC_SETUPDATING:
        if (SkinData) SkinData->FUpdating = message.WParamLo() == 1;
        message.Result = 0;
        return true;
    case SKC_WRAPNEWCHILDREN:
        WrapNewChildren();
        message.Result = 1;
        return true;
    case SKC_REMOVESKIN:
        if (own) {
            F->Glows.Clear();
            F->BackBrush.reset();
        }
        return false;
    default: return false;
    }
}

void TacDialogWnd::WrapNewChildren() {
    if (!Provider || F->Wrapping) return;
    F->Wrapping = true;
    try {
        Provider->InitHwndControls();
    } catch (...) {
        F->Wrapping = false;
        throw;
    }
    F->Wrapping = false;
}

void TacDialogWnd::WMShowWindow(TMessage& message) {
    if (message.WParam) {
        if (!Initialized) InitParams();
        // Shown at last: whatever the dialog has, it paints from now on.
        FWMPaintForbidden = false;
    }
    CallPrevWndProc(message);
    if (message.WParam && !F->Moved && (MoveToLeft != -1 || MoveToTop != -1)) {
        // After WM_INITDIALOG, which centres a message box.
        F->Moved = true;
        RECT wr{};
        ::GetWindowRect(CtrlHandle, &wr);
        ::SetWindowPos(CtrlHandle, nullptr, MoveToLeft != -1 ? MoveToLeft : wr.left,
                       MoveToTop != -1 ? MoveToTop : wr.top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
}

void TacDialogWnd::WMNCPaint(TMessage& message) {
    WrapNewChildren();
    if (!Initialized) InitParams();
    if (!CanPaintFrame() || F->InNcPaint || !::IsWindowVisible(CtrlHandle)) {
        TacScrollWnd::acWndProc(message);
        return;
    }
    F->InNcPaint = true;
    PaintAll();
    F->InNcPaint = false;
    message.Result = 0;
}

void TacDialogWnd::WMNCActivate(TMessage& message) {
    FFormActive = message.WParam != 0;
    if (!CanPaintFrame()) {
        CallPrevWndProc(message);
        return;
    }
    // -1: the system changes the state but paints nothing.
    LPARAM noPaint = -1;
    CallPrevWndProc(CtrlHandle, message.Msg, message.WParam, noPaint);
    RepaintFrame();
    message.Result = TRUE;
}

void TacDialogWnd::WMEraseBkgnd(TMessage& message) {
    TBitmap* cache = SkinData ? SkinData->FCacheBmp.get() : nullptr;
    if (!CanPaintFrame() || !cache) {
        TacScrollWnd::acWndProc(message);
        return;
    }
    RECT cr{};
    ::GetClientRect(CtrlHandle, &cr);
    if (SkinData->BGChanged || cache->Width() != cr.right || cache->Height() != cr.bottom) PrepareCache();
    if (cache->Empty()) {
        TacScrollWnd::acWndProc(message);
        return;
    }
    ::BitBlt(reinterpret_cast<HDC>(message.WParam), 0, 0, cache->Width(), cache->Height(), cache->Canvas().Handle(), 0,
             0, SRCCOPY);
    message.Result = 1;
}

bool TacDialogWnd::CtrlColor(TMessage& message) {
    if (!CanPaintFrame()) return false;
    TsSkinManager* m = Manager();
    const TColor color = SkinData->GetBGColor(0, CtrlHandle);
    if (!F->BackBrush || F->BackColor != color) {
        F->BackBrush.reset(::CreateSolidBrush(static_cast<COLORREF>(color)));
        F->BackColor = color;
    }
    if (!F->BackBrush) return false;
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetBkColor(dc, static_cast<COLORREF>(color));
    if (m->IsValidSkinIndex(SkinData->FSkinIndex))
        ::SetTextColor(dc, static_cast<COLORREF>(
                               m->gd[static_cast<std::size_t>(SkinData->FSkinIndex)].Props[0].FontColor.Color));
    message.Result = reinterpret_cast<LRESULT>(F->BackBrush.get());
    return true;
}

// ---------------------------------------------------------------- title buttons

void TacDialogWnd::WMNCHitTest(TMessage& message) {
    if (!CanPaintFrame()) {
        TacScrollWnd::acWndProc(message);
        return;
    }
    TacScrollWnd::acWndProc(message);  // the system's answer (and the skinned scroll bars')
    if (F->Metrics.CaptionWidth <= 0) return;
    const POINT screen{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
    TacHitFacts facts;
    facts.Sizeable = (::GetWindowLongPtrW(CtrlHandle, GWL_STYLE) & WS_THICKFRAME) != 0;
    facts.Maximized = ::IsZoomed(CtrlHandle) != FALSE;
    facts.IconRect = F->IconRect;
    const int code = FrameHitTest(F->Metrics, F->Buttons, facts, ToWindow(CtrlHandle, screen));
    if (FrameKeepsHitCode(code)) message.Result = code;
    CurrentHT = static_cast<int>(message.Result);
}

void TacDialogWnd::WMNCLButtonDown(TMessage& message) {
    if (!CanPaintFrame()) {
        CallPrevWndProc(message);
        return;
    }
    const int code = static_cast<int>(message.WParam);
    if (code == HTSYSMENU) {
        // Activate first, then the wrapper's own menu; the system's would follow otherwise.
        if (::GetActiveWindow() != CtrlHandle) ::SetActiveWindow(CtrlHandle);
        DropSysMenuBelowIcon();
        return;
    }
    const int button = ButtonOfHitCode(code);
    if (button < 0 || F->Buttons[static_cast<std::size_t>(button)].ImageIndex < 0 ||
        !F->Buttons[static_cast<std::size_t>(button)].Enabled) {
        CallPrevWndProc(message);
        return;
    }
    if (::GetActiveWindow() != CtrlHandle) ::SetActiveWindow(CtrlHandle);
    F->Pressed = button;
    for (std::size_t i = 0; i < F->Buttons.size(); ++i) F->Buttons[i].State = static_cast<int>(i) == button ? 2 : 0;
    ::SetCapture(CtrlHandle);
    RepaintButton(button);
}

// Pressed while over the button, hot when the pointer left it with the button held.
void TacDialogWnd::TrackPressedButton() {
    POINT p{};
    ::GetCursorPos(&p);
    TsCaptionButton& b = F->Buttons[static_cast<std::size_t>(F->Pressed)];
    const int state = PtInRect(b.Rect, ToWindow(CtrlHandle, p)) ? 2 : 0;
    if (b.State != state) {
        b.State = state;
        RepaintButton(F->Pressed);
    }
}

void TacDialogWnd::WMLButtonUp(TMessage& message) {
    if (F->Pressed < 0) {
        TacScrollWnd::acWndProc(message);
        return;
    }
    POINT p{};
    ::GetCursorPos(&p);
    const int button = F->Pressed;
    const bool over = PtInRect(F->Buttons[static_cast<std::size_t>(button)].Rect, ToWindow(CtrlHandle, p));
    // The state is reset before the command: the command may destroy the dialog.
    EndButtonPress();
    message.Result = 0;
    if (!over || Destroyed) return;
    const UINT command = CommandOf(button, ::IsZoomed(CtrlHandle) != FALSE);
    if (command == SC_CLOSE && !CloseEnabled()) return;
    ::SendMessageW(CtrlHandle, WM_SYSCOMMAND, command, MAKELPARAM(p.x, p.y));
}

void TacDialogWnd::EndButtonPress() noexcept {
    if (F->Pressed < 0) return;
    const int button = F->Pressed;
    F->Pressed = -1;
    F->Buttons[static_cast<std::size_t>(button)].State = 0;
    if (CtrlHandle && ::GetCapture() == CtrlHandle) ::ReleaseCapture();
    if (!F->Destroying) {
        try {
            RepaintButton(button);
        } catch (...) {
            // Painting never stops the press from ending.
        }
    }
}

void TacDialogWnd::WMNCMouseMove(TMessage& message) {
    if (!CanPaintFrame()) {
        CallPrevWndProc(message);
        return;
    }
    if (!F->TrackingLeave) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE | TME_NONCLIENT, CtrlHandle, 0};
        F->TrackingLeave = ::TrackMouseEvent(&tme) != FALSE;
    }
    SetHotButton(ButtonOfHitCode(static_cast<int>(message.WParam)));
    CallPrevWndProc(message);
}

void TacDialogWnd::SetHotButton(int button) {
    if (F->Pressed >= 0) return;
    for (std::size_t i = 0; i < F->Buttons.size(); ++i) {
        TsCaptionButton& b = F->Buttons[i];
        const int state = (static_cast<int>(i) == button && b.Enabled && b.ImageIndex >= 0) ? 1 : 0;
        if (b.State != state) {
            b.State = state;
            RepaintButton(static_cast<int>(i));
        }
    }
}

TRect TacDialogWnd::TitleButtonRect(int kind) const noexcept {
    if (kind < 0 || kind >= tbCount) return {};
    const TsCaptionButton& b = F->Buttons[static_cast<std::size_t>(kind)];
    return b.ImageIndex >= 0 ? b.Rect : TRect{};
}

void TacDialogWnd::RepaintButton(int) {
    if (!CanPaintFrame() || !::IsWindowVisible(CtrlHandle)) return;
    TsSkinManager* m = Manager();
    if (!m || !ImageCurrent()) {
        RepaintFrame();
        return;
    }
    // The buttons alone change: the rest of the window image stays as it is.
    RepaintFrameButtons(F->Image, F->UnderButtons, FramePaint(*m, ::IsZoomed(CtrlHandle) != FALSE));
    WholeWindowDC dc(CtrlHandle);
    if (dc) CopyFrameStrips(dc.get(), F->Image, F->Metrics, F->Metrics.CaptionHeight > 0);
}

// ---------------------------------------------------------------- system menu

void TacDialogWnd::DropSysMenuBelowIcon() {
    RECT wr{};
    ::GetWindowRect(CtrlHandle, &wr);
    const TacFrameMetrics& fm = F->Metrics;
    if (!F->IconRect.IsEmpty()) DropSysMenu(wr.left + F->IconRect.Left, wr.top + F->IconRect.Bottom);
    else DropSysMenu(wr.left + fm.BorderWidth, wr.top + fm.BorderHeight + fm.CaptionHeight);
}

TsSystemMenu& TacDialogWnd::SystemMenu() {
    if (!F->Menu) {
        F->Menu = std::make_unique<TsSystemMenu>(CtrlHandle);
        F->Menu->ReadItems();
    }
    return *F->Menu;
}

void TacDialogWnd::DropSysMenu(int x, int y) {
    if (!CtrlHandle || !::IsWindow(CtrlHandle)) return;
    // The title buttons the dialog shows follow the style it had before WS_SYSMENU went.
    const LONG_PTR style = (HasMaxButton() ? WS_MAXIMIZEBOX : 0) | (HasMinButton() ? WS_MINIMIZEBOX : 0) |
                           (::GetWindowLongPtrW(CtrlHandle, GWL_STYLE) & WS_THICKFRAME);
    SystemMenu().Drop(x, y,
                      SysMenuStateOf(style, ::IsIconic(CtrlHandle) != FALSE, ::IsZoomed(CtrlHandle) != FALSE,
                                     CloseEnabled()));
}

// ---------------------------------------------------------------- giving the dialog back

void TacDialogWnd::RestoreStdParams() {
    if (!F->SysMenuTaken || F->Destroying || !CtrlHandle || !::IsWindow(CtrlHandle)) return;
    F->SysMenuTaken = false;
    Initialized = false;
    const LONG_PTR style = ::GetWindowLongPtrW(CtrlHandle, GWL_STYLE);
    ::SetWindowLongPtrW(CtrlHandle, GWL_STYLE, style | WS_SYSMENU);
    ::SetWindowRgn(CtrlHandle, nullptr, ::IsWindowVisible(CtrlHandle));
    F->RegionSize = {-1, -1};
    F->ArOR.clear();
}

}  // namespace qv
