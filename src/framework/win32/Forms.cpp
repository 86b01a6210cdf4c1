// TCustomForm: top-level windows, their showing, closing and modal loop.
#include "framework/win32/Forms.h"

#include "framework/ScopedValue.h"
#include "framework/SysUtils.h"
#include "framework/win32/Application.h"
#include "framework/win32/Dpi.h"

#include <algorithm>
#include <cstdlib>

namespace qv {

// ---- TDescriptionReader ----

TDescriptionReader::TDescriptionReader(TComponent& root) {
    root.BeginLoading();
    FLoaded.push_back(&root);
}

TDescriptionReader::~TDescriptionReader() {
    if (FFinished) return;
    // Reading failed: the components keep no reading state (they are freed with
    // their owner by whoever handles the failure).
    for (TComponent* c : FLoaded) c->EndReading();
}

void TDescriptionReader::Add(TComponent* component, const String& name) {
    if (!name.empty()) component->SetName(name);
    component->BeginLoading();
    FLoaded.push_back(component);
}

void TDescriptionReader::Finish() {
    if (FFinished) return;
    FFinished = true;
    for (TComponent* c : FLoaded) c->EndReading();
    for (TComponent* c : FLoaded) c->Loaded();
}

// ---- TCustomForm ----

TCustomForm::TCustomForm(TComponent* owner) : TScrollingWinControl(owner) {
    ControlStyle |= csAcceptsControls;
    FVisible = false;
    FParentColor = false;
    FParentFont = false;
    FColor = clBtnFace;
    Brush().SetColor(FColor);
    FWidth = 320;
    FHeight = 240;
    Screen().AddForm(this);
}

TCustomForm::~TCustomForm() {
    Destroying();
    try {
        if (OnDestroy) OnDestroy(this);
    } catch (...) {
        Application().HandleException(std::current_exception());
    }
    if (FormState & fsModal) Application().ModalFinished();
    FActiveControl = FFocusedControl = nullptr;
    DestroyHandle();
    DestroyComponents();
    Screen().RemoveForm(this);
}

void TCustomForm::AfterConstruction() {
    if (FCreated) return;
    FCreated = true;
    FormState |= fsCreating;
    {
        TDescriptionReader reader(*this);
        ReadDescription(reader);
        reader.Finish();
    }
    FormState &= ~static_cast<TFormState>(fsCreating);
    // Laid out for the monitor it opens on: the one of its window when it has one, else
    // the monitor in the middle of the work area.
    if (HandleAllocated()) {
        ScaleForDpi(DpiForWindow(FHandle));
    } else {
        const TRect area = Screen().WorkAreaRect();
        ScaleForDpi(DpiForPoint({(area.Left + area.Right) / 2, (area.Top + area.Bottom) / 2}));
    }
    DoCreate();
    // A description that made the form visible shows it now.
    if (FVisible) {
        FVisible = false;
        SetVisible(true);
    }
}

void TCustomForm::DoCreate() {
    if (OnCreate) OnCreate(this);
}
void TCustomForm::DoShow() {
    if (OnShow) OnShow(this);
}
void TCustomForm::DoHide() {
    if (OnHide) OnHide(this);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
    if (style == FBorderStyle) return;
    const TRect client = ClientRect();
    FBorderStyle = style;
    // The client area keeps its size; the outer size follows the new frame.
    TSize frame = FrameSize();
    SetBounds(FLeft, FTop, client.Right + frame.cx, client.Bottom + frame.cy);
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons icons) {
    if (icons == FBorderIcons) return;
    FBorderIcons = icons;
    RecreateWnd();
}

void TCustomForm::FormStyles(DWORD& style, DWORD& exStyle) const noexcept {
    style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    exStyle = 0;
    switch (FBorderStyle) {
    case bsNone: style |= WS_POPUP; break;
    case bsSingle: style |= WS_CAPTION; break;
    case bsSizeable: style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
        style |= WS_POPUP | WS_CAPTION;
        exStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    case bsToolWindow:
        style |= WS_CAPTION;
        exStyle |= WS_EX_TOOLWINDOW;
        break;
    case bsSizeToolWin:
        style |= WS_CAPTION | WS_THICKFRAME;
        exStyle |= WS_EX_TOOLWINDOW;
        break;
    }
    if (FBorderStyle != bsNone) {
        if (FBorderIcons & biSystemMenu) style |= WS_SYSMENU;
        const bool minMax = FBorderStyle == bsSingle || FBorderStyle == bsSizeable;
        if (minMax && (FBorderIcons & biMinimize)) style |= WS_MINIMIZEBOX;
        if (minMax && (FBorderIcons & biMaximize)) style |= WS_MAXIMIZEBOX;
        if ((FBorderIcons & biHelp) && !(FBorderIcons & (biMinimize | biMaximize))) exStyle |= WS_EX_CONTEXTHELP;
    }
    if (FormStyle == fsStayOnTop) exStyle |= WS_EX_TOPMOST;
}

void TCustomForm::CreateParams(TCreateParams& params) {
    TScrollingWinControl::CreateParams(params);
    FormStyles(params.Style, params.ExStyle);
    if (!Enabled()) params.Style |= WS_DISABLED;
    TApplication& app = Application();
    // With the main form on the task bar the main form has no owner and its own
    // button; other forms belong to the main form. Otherwise every form belongs to the
    // hidden application window.
    if (app.MainFormOnTaskBar) {
        if (app.MainForm() == this) {
            params.WndParent = nullptr;
            params.ExStyle |= WS_EX_APPWINDOW;
        } else if (app.MainForm() && app.MainForm()->HandleAllocated()) {
            params.WndParent = app.MainForm()->Handle();
        } else {
            params.WndParent = app.Handle();
        }
    } else {
        params.WndParent = app.Handle();
    }
    params.WindowClass.style = CS_DBLCLKS;
    params.WindowClass.hIcon = Icon;
}

void TCustomForm::CreateWnd() {
    TScrollingWinControl::CreateWnd();
    // A window that opened on a monitor of another DPI than the form was laid out for.
    ScaleForDpi(DpiForWindow(FHandle));
    if (Icon) {
        ::SendMessageW(FHandle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(Icon));
        return;
    }
    // The main form without an icon of its own shows the program's, in its title bar and
    // on its task-bar button, each in the size drawn for it.
    TApplication& app = Application();
    if (app.MainForm() != this) return;
    if (HICON big = app.Icon()) ::SendMessageW(FHandle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    if (HICON smallIcon = app.SmallIcon())
        ::SendMessageW(FHandle, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
}

void TCustomForm::ScaleForDpi(int dpi) { ChangeScale(SaneDpi(dpi), FDpi); }

void TCustomForm::ChangeScale(int toDpi, int fromDpi) {
    if (toDpi == fromDpi) return;
    // Sizes are read first: new size limits re-apply the bounds they hold.
    const TRect client = ClientRect();
    const TSize outer{FWidth, FHeight};
    DisableAlign();
    try {
        ScaleChildren(toDpi, fromDpi);
        ScaleLengthsAroundBounds(toDpi, fromDpi);
        FDpi = toDpi;
        // A DPI change brings the window's whole rectangle with it.
        if (!FTakingSuggestedRect) ScaleWindowSize(client, outer, toDpi, fromDpi);
    } catch (...) {
        EnableAlign();
        throw;
    }
    EnableAlign();
}

// The frame does not grow in proportion, so it is the client area that scales, or the
// outer size where that is the designed one.
void TCustomForm::ScaleWindowSize(const TRect& client, TSize outer, int toDpi, int fromDpi) {
    if (ScaleOuterSize) {
        SetBounds(FLeft, FTop, FClientWidth.Rescale(outer.cx, fromDpi, toDpi),
                  FClientHeight.Rescale(outer.cy, fromDpi, toDpi));
        return;
    }
    SetClientWidth(FClientWidth.Rescale(client.Right, fromDpi, toDpi));
    SetClientHeight(FClientHeight.Rescale(client.Bottom, fromDpi, toDpi));
}

TSize TCustomForm::FrameSize() {
    DWORD style, exStyle;
    if (FHandle) {
        style = static_cast<DWORD>(::GetWindowLongW(FHandle, GWL_STYLE));
        exStyle = static_cast<DWORD>(::GetWindowLongW(FHandle, GWL_EXSTYLE));
    } else {
        FormStyles(style, exStyle);
    }
    RECT r{0, 0, 100, 100};
    ::AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return {(r.right - r.left) - 100, (r.bottom - r.top) - 100};
}

TRect TCustomForm::ClientRect() {
    if (FHandle) return TScrollingWinControl::ClientRect();
    TSize frame = FrameSize();
    return {0, 0, std::max(0, FWidth - frame.cx), std::max(0, FHeight - frame.cy)};
}

void TCustomForm::SetClientWidth(int v) { SetWidth(v + FrameSize().cx); }
void TCustomForm::SetClientHeight(int v) { SetHeight(v + FrameSize().cy); }

void TCustomForm::SetBounds(int left, int top, int width, int height) {
    TScrollingWinControl::SetBounds(left, top, width, height);
}

void TCustomForm::SetVisible(bool visible) {
    if (HasState(csLoading) || (FormState & fsCreating)) {
        FVisible = visible;
        return;
    }
    TScrollingWinControl::SetVisible(visible);
}

void TCustomForm::ShowHandle(bool show) {
    if (!FHandle) return;
    const bool visibleNow = ::IsWindowVisible(FHandle) != FALSE;
    if (show == visibleNow) return;
    if (show) {
        if (!FPositioned) ApplyPosition();
        DoShow();
        ::ShowWindow(FHandle, SW_SHOW);
        // No window manager may raise it for us.
        ::SetWindowPos(FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        ::SetActiveWindow(FHandle);
    } else {
        DoHide();
        ::ShowWindow(FHandle, SW_HIDE);
    }
}

void TCustomForm::ApplyPosition() {
    FPositioned = true;
    TRect area = Screen().WorkAreaRect();
    TCustomForm* around = nullptr;
    switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter: break;
    case poMainFormCenter: around = Application().MainForm(); break;
    case poOwnerFormCenter:
        around = dynamic_cast<TCustomForm*>(Owner());
        if (!around) around = Application().MainForm();
        break;
    default: return;
    }
    if (around == this) around = nullptr;
    if (around && around->HandleAllocated()) area = around->BoundsRect();
    const int x = area.Left + (area.Right - area.Left - FWidth) / 2;
    const int y = area.Top + (area.Bottom - area.Top - FHeight) / 2;
    SetBounds(x, y, FWidth, FHeight);
}

void TCustomForm::AlignControls(TControl* aControl, TRect& rect) {
    TScrollingWinControl::AlignControls(aControl, rect);
}

// ---- focus ----

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (control == FActiveControl) return;
    if (control && (GetParentForm(control) != this || control == this)) throw Exception(L"Invalid active control");
    FActiveControl = control;
    if (control && FActive && control->CanFocus()) control->SetFocus();
}

void TCustomForm::FocusControl(TWinControl* control) {
    if (!control) return;
    FActiveControl = control;
    if (FShowing && control->CanFocus()) ::SetFocus(control->Handle());
}

bool TCustomForm::SetFocusedControl(TWinControl* control) {
    if (control == FFocusedControl) return true;
    TWinControl* old = FFocusedControl;
    FFocusedControl = control;
    if (control && control != this) FActiveControl = control;
    if (old && old != this) old->Perform(CM_EXIT, 0, 0);
    if (control && control != this && FFocusedControl == control) control->Perform(CM_ENTER, 0, 0);
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
    return true;
}

void TCustomForm::ControlGone(TWinControl* control) noexcept {
    if (!control) return;
    if (FActiveControl && control->ContainsControl(FActiveControl)) FActiveControl = nullptr;
    if (FFocusedControl && control->ContainsControl(FFocusedControl)) FFocusedControl = nullptr;
}

// ---- closing and modal showing ----

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::DoClose(TCloseAction& action) {
    if (OnClose) OnClose(this, action);
}

void TCustomForm::Close() {
    if (FormState & fsModal) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone) return;
    if (Application().MainForm() == this) {
        Application().Terminate();
    } else if (action == caHide) {
        Hide();
    } else if (action == caMinimize) {
        if (FHandle) ::ShowWindow(FHandle, SW_MINIMIZE);
    } else {
        Release();
    }
}

void TCustomForm::CloseModal() {
    TCloseAction action = caNone;
    if (CloseQuery()) {
        action = caHide;
        DoClose(action);
    }
    if (action == caNone) FModalResult = mrNone;
}

namespace {

struct DisabledWindows {
    HWND Except;
    std::vector<HWND> Windows;
};

BOOL CALLBACK DisableThreadWindow(HWND wnd, LPARAM data) noexcept {
    auto* d = reinterpret_cast<DisabledWindows*>(data);
    if (wnd != d->Except && ::IsWindowVisible(wnd) && ::IsWindowEnabled(wnd)) {
        d->Windows.push_back(wnd);
        ::EnableWindow(wnd, FALSE);
    }
    return TRUE;
}

}  // namespace

TModalResult TCustomForm::ShowModal() {
    if (FVisible || !Enabled() || (FormState & fsModal)) throw Exception(L"Cannot make a visible window modal");
    if (::GetCapture()) ::SendMessageW(::GetCapture(), WM_CANCELMODE, 0, 0);
    ::ReleaseCapture();
    TApplication& app = Application();
    app.ModalStarted();
    FormState |= fsModal;
    HWND previousActive = ::GetActiveWindow();
    DisabledWindows disabled{Handle(), {}};
    ::EnumThreadWindows(::GetCurrentThreadId(), &DisableThreadWindow, reinterpret_cast<LPARAM>(&disabled));
    auto restore = [&] {
        for (HWND w : disabled.Windows)
            if (::IsWindow(w)) ::EnableWindow(w, TRUE);
        disabled.Windows.clear();
    };
    try {
        Show();
        FModalResult = mrNone;
        do {
            app.HandleMessage();
            if (app.Terminated()) FModalResult = mrCancel;
            else if (FModalResult != mrNone) CloseModal();
        } while (FModalResult == mrNone);
    } catch (...) {
        restore();
        FormState &= ~static_cast<TFormState>(fsModal);
        app.ModalFinished();
        throw;
    }
    restore();
    Hide();
    FormState &= ~static_cast<TFormState>(fsModal);
    if (previousActive && ::IsWindow(previousActive)) ::SetActiveWindow(previousActive);
    app.ModalFinished();
    return FModalResult;
}

void TCustomForm::Release() { ::PostMessageW(Handle(), CM_RELEASE, 0, 0); }

void TCustomForm::BringToFrontOfThread() {
    if (FHandle) ::SetWindowPos(FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// ---- messages ----

void TCustomForm::WndProc(TMessage& message) { TScrollingWinControl::WndProc(message); }

void TCustomForm::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_GETMINMAXINFO: WMGetMinMaxInfo(message); return;
    case WM_WINDOWPOSCHANGING: WMWindowPosChanging(message); return;
    case WM_ACTIVATE: WMActivate(message); return;
    case WM_CLOSE: WMClose(message); return;
    case WM_DPICHANGED: WMDpiChanged(message); return;
    case WM_SIZE:
        DefWndProc(message);
        if (OnResize) OnResize(this);
        return;
    case CM_DIALOGKEY: CMDialogKey(message); return;
    case CM_RELEASE: return;  // the window procedure frees the form afterwards
    default: TScrollingWinControl::Dispatch(message);
    }
}

void TCustomForm::WMGetMinMaxInfo(TMessage& message) {
    DefWndProc(message);
    auto* info = reinterpret_cast<MINMAXINFO*>(message.LParam);
    const TSizeConstraints& c = Constraints();
    if (c.MinWidth() > 0) info->ptMinTrackSize.x = c.MinWidth();
    if (c.MinHeight() > 0) info->ptMinTrackSize.y = c.MinHeight();
    if (c.MaxWidth() > 0) info->ptMaxTrackSize.x = c.MaxWidth();
    if (c.MaxHeight() > 0) info->ptMaxTrackSize.y = c.MaxHeight();
    // The rectangle a DPI change suggests is taken whole, also where it is larger than
    // the screen the system measures the window against.
    if (FTakingSuggestedRect) {
        info->ptMaxTrackSize.x = std::max<LONG>(info->ptMaxTrackSize.x, FSuggestedSize.cx);
        info->ptMaxTrackSize.y = std::max<LONG>(info->ptMaxTrackSize.y, FSuggestedSize.cy);
    }
}

// Size limits hold for every resize of the window, and with ScreenSnap a form that
// comes within SnapBuffer pixels of a work-area edge is put against that edge.
void TCustomForm::WMWindowPosChanging(TMessage& message) {
    DefWndProc(message);
    auto* pos = reinterpret_cast<WINDOWPOS*>(message.LParam);
    if (!(pos->flags & SWP_NOSIZE)) {
        int w = pos->cx, h = pos->cy;
        Constraints().Apply(w, h);
        pos->cx = w;
        pos->cy = h;
    }
    if (ScreenSnap && !FTakingSuggestedRect && !(pos->flags & SWP_NOMOVE) && !::IsIconic(FHandle) &&
        !::IsZoomed(FHandle)) {
        const int w = (pos->flags & SWP_NOSIZE) ? FWidth : pos->cx;
        const int h = (pos->flags & SWP_NOSIZE) ? FHeight : pos->cy;
        TRect area = Screen().WorkAreaRect();
        if (HMONITOR monitor = ::MonitorFromWindow(FHandle, MONITOR_DEFAULTTONEAREST)) {
            MONITORINFO mi{};
            mi.cbSize = sizeof mi;
            if (::GetMonitorInfoW(monitor, &mi))
                area = {mi.rcWork.left, mi.rcWork.top, mi.rcWork.right, mi.rcWork.bottom};
        }
        if (std::abs(pos->x - area.Left) < SnapBuffer) pos->x = area.Left;
        else if (std::abs(pos->x + w - area.Right) < SnapBuffer) pos->x = area.Right - w;
        if (std::abs(pos->y - area.Top) < SnapBuffer) pos->y = area.Top;
        else if (std::abs(pos->y + h - area.Bottom) < SnapBuffer) pos->y = area.Bottom - h;
    }
}

void TCustomForm::WMActivate(TMessage& message) {
    const bool active = LOWORD(message.WParam) != WA_INACTIVE;
    FActive = active;
    if (active) {
        Screen().FActiveForm = this;
        if (OnActivate) OnActivate(this);
        // Focus goes back to the active control, or to the first one in tab order.
        TWinControl* target = FActiveControl;
        if (!target || !target->CanFocus()) target = FindNextControl(nullptr, true, true, false);
        if (target && target->CanFocus() && !::IsIconic(FHandle)) {
            ::SetFocus(target->Handle());
            message.Result = 0;
            return;
        }
    } else if (OnDeactivate) {
        OnDeactivate(this);
    }
    DefWndProc(message);
}

void TCustomForm::WMClose(TMessage&) { Close(); }

// The new DPI comes in the word parameter (the window's own DPI is not asked again while
// it changes); the window takes exactly the suggested rectangle and is laid out for the
// new DPI with drawing held, then painted once.
void TCustomForm::WMDpiChanged(TMessage& message) {
    message.Result = 0;
    const int dpi = SaneDpi(LOWORD(message.WParam));
    const auto* suggested = reinterpret_cast<const RECT*>(message.LParam);
    ::SendMessageW(FHandle, WM_SETREDRAW, FALSE, 0);
    DisableAlign();
    {
        const ScopedValue taking(FTakingSuggestedRect, true);
        ChangeScale(dpi, FDpi);
        if (suggested) FSuggestedSize = {suggested->right - suggested->left, suggested->bottom - suggested->top};
        if (suggested)
            ::SetWindowPos(FHandle, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                           suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    EnableAlign();
    ::SendMessageW(FHandle, WM_SETREDRAW, TRUE, 0);
    ::RedrawWindow(FHandle, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

// Tab and Shift+Tab move through the tab order, arrows among the siblings of the
// active control; other keys are offered to every control (Enter and Escape reach the
// default and cancel buttons).
void TCustomForm::CMDialogKey(TMessage& message) {
    const WORD key = static_cast<WORD>(message.WParam);
    const bool alt = (HIWORD(message.LParam) & KF_ALTDOWN) != 0;
    const bool ctrl = ::GetKeyState(VK_CONTROL) < 0;
    if (key == VK_TAB && !ctrl && !alt) {
        SelectNext(FActiveControl, ::GetKeyState(VK_SHIFT) >= 0, true);
        message.Result = 1;
        return;
    }
    if ((key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) && FActiveControl &&
        FActiveControl->Parent()) {
        const bool forward = key == VK_RIGHT || key == VK_DOWN;
        if (TWinControl* next = FActiveControl->Parent()->FindNextControl(FActiveControl, forward, false, true))
            next->SetFocus();
        message.Result = 1;
        return;
    }
    TScrollingWinControl::Dispatch(message);
}

void TCustomForm::CMShowingChanged(TMessage&) {}

bool TCustomForm::KeyPreviewHandles(TMessage&) { return false; }

}  // namespace qv
