// TWinControl: the window behind a control, its message routing and painting.
#include "framework/win32/Application.h"
#include "framework/win32/Controls.h"
#include "framework/win32/Forms.h"

#include "framework/SysUtils.h"

#include <map>

namespace qv {
namespace {

// The window property that leads from a window to its framework object.
const wchar_t* ControlProperty() noexcept {
    static const ATOM atom = ::GlobalAddAtomW(L"QuorvelControl");
    return reinterpret_cast<const wchar_t*>(static_cast<ULONG_PTR>(atom));
}

// Default procedures of the classes we registered, by class name: a window gets its
// object only at WM_NCCREATE, and the messages before that (WM_GETMINMAXINFO) must
// still reach the system class behind a superclass.
std::map<String, WNDPROC>& ClassDefaultProcs() {
    static std::map<String, WNDPROC> procs;
    return procs;
}

WNDPROC DefaultProcOf(HWND wnd) {
    wchar_t name[256];
    int n = ::GetClassNameW(wnd, name, 256);
    if (n > 0) {
        auto it = ClassDefaultProcs().find(String(name, n));
        if (it != ClassDefaultProcs().end() && it->second) return it->second;
    }
    return ::DefWindowProcW;
}

// Child window identifiers: WM_MEASUREITEM names its control only by identifier.
UINT NextChildId() noexcept {
    static UINT next = 0x100;
    UINT id = next++;
    if (next >= 0xF000) next = 0x100;
    return id;
}

}  // namespace

TWinControl::TWinControl(TComponent* owner) : TControl(owner) { FBrush.SetColor(FColor); }

TWinControl::~TWinControl() {
    Destroying();
    if (GMouseWindow == this) GMouseWindow = nullptr;
    if (TCustomForm* form = GetParentForm(this); form && form != this) form->ControlGone(this);
    DestroyHandle();
    DestroyComponents();
    // Children owned by someone else stay alive; they only lose their parent.
    for (TControl* c : FControls) c->FParent = nullptr;
    FControls.clear();
    FTabList.clear();
    FMouseControl = FCaptureControl = nullptr;
    if (FParent) FParent->RemoveControl(this);
}

// ---- handle ----

HWND TWinControl::Handle() {
    HandleNeeded();
    return FHandle;
}

void TWinControl::HandleNeeded() {
    if (FHandle) return;
    if (FParent) FParent->HandleNeeded();
    CreateHandle();
}

void TWinControl::CreateHandle() {
    if (FHandle) return;
    ControlState |= csCreating;
    try {
        CreateWnd();
    } catch (...) {
        ControlState &= ~static_cast<TControlState>(csCreating);
        throw;
    }
    ControlState &= ~static_cast<TControlState>(csCreating);
    // Z-order of the children follows the list.
    for (TControl* c : FControls)
        if (auto* w = dynamic_cast<TWinControl*>(c); w && w->Visible()) w->HandleNeeded();
    UpdateShowing();
}

void TWinControl::CreateParams(TCreateParams& params) {
    params.Caption = FText;
    params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (ControlStyle & csAcceptsControls) params.Style |= WS_CLIPCHILDREN;
    if (FVisible) params.Style |= WS_VISIBLE;
    if (!Enabled()) params.Style |= WS_DISABLED;
    if (FTabStop) params.Style |= WS_TABSTOP;
    params.X = FLeft;
    params.Y = FTop;
    params.Width = FWidth;
    params.Height = FHeight;
    params.WndParent = FParent ? FParent->Handle() : nullptr;
    params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    params.WindowClass.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    params.WindowClass.hInstance = ::GetModuleHandleW(nullptr);
    params.WinClassName = ClassName();
    params.DefWndProc = ::DefWindowProcW;
}

void TWinControl::CreateSubClass(TCreateParams& params, const wchar_t* systemClassName) {
    WNDCLASSW system{};
    if (!::GetClassInfoW(nullptr, systemClassName, &system))
        throw Exception(L"Window class not found: " + String(systemClassName));
    params.DefWndProc = system.lpfnWndProc;
    params.WindowClass = system;
    params.WindowClass.hInstance = ::GetModuleHandleW(nullptr);
    // The system class's own class styles; CS_GLOBALCLASS belongs to the system's copy.
    params.WindowClass.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
}

void TWinControl::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    if (params.WinClassName.empty()) params.WinClassName = ClassName();
    if (!params.DefWndProc) params.DefWndProc = ::DefWindowProcW;
    if ((params.Style & WS_CHILD) && !params.WndParent)
        throw Exception(L"Control '" + Name() + L"' has no parent window");
    FDefWndProc = params.DefWndProc;

    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSW existing{};
    if (!::GetClassInfoW(instance, params.WinClassName.c_str(), &existing)) {
        WNDCLASSW wc = params.WindowClass;
        wc.lpfnWndProc = &TWinControl::StaticWndProc;
        wc.hInstance = instance;
        wc.lpszClassName = params.WinClassName.c_str();
        wc.lpszMenuName = nullptr;
        if (!::RegisterClassW(&wc)) throw Exception(L"Cannot register window class " + params.WinClassName);
        ClassDefaultProcs()[params.WinClassName] = params.DefWndProc;
    }
    CreateWindowHandle(params);
    if (!FHandle) throw Exception(L"Error creating window " + params.WinClassName);
    ::SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), 0);
}

void TWinControl::CreateWindowHandle(const TCreateParams& params) {
    HMENU id = (params.Style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(NextChildId())) : nullptr;
    HWND wnd = ::CreateWindowExW(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(), params.Style,
                                 params.X, params.Y, params.Width, params.Height, params.WndParent, id,
                                 ::GetModuleHandleW(nullptr), this);
    if (wnd) FHandle = wnd;
}

void TWinControl::DestroyHandle() {
    if (!FHandle) return;
    ControlState |= csDestroyingHandle;
    // Children windows go with ours; their objects hear it through WM_NCDESTROY.
    DestroyWnd();
    ControlState &= ~static_cast<TControlState>(csDestroyingHandle);
}

void TWinControl::DestroyWnd() {
    // Keep the text: after this it lives only in FText.
    if (FHandle) FText = GetText();
    DestroyWindowHandle();
}

// The window the mouse moved over last; it is told when the mouse leaves it.
TWinControl* TWinControl::GMouseWindow = nullptr;

void TWinControl::MouseLeft() {
    FTrackingMouse = false;
    SetGraphicMouseControl(nullptr);
    if (FMouseInClient) Perform(CM_MOUSELEAVE, 0, 0);
}

void TWinControl::DestroyWindowHandle() {
    if (GMouseWindow == this) GMouseWindow = nullptr;
    if (!FHandle) return;
    ::DestroyWindow(FHandle);
    FHandle = nullptr;
    FShowing = false;
    FTrackingMouse = false;
}

void TWinControl::RecreateWnd() {
    if (!FHandle) return;
    ControlState |= csRecreating;
    DestroyHandle();
    ControlState &= ~static_cast<TControlState>(csRecreating);
    UpdateControlState();
    if (!FHandle && (IsTopLevel() ? FVisible : (FParent && FParent->HandleAllocated()))) HandleNeeded();
}

TWinControl* TWinControl::FindControl(HWND wnd) noexcept {
    if (!wnd) return nullptr;
    return static_cast<TWinControl*>(::GetPropW(wnd, ControlProperty()));
}

TWinControl* TWinControl::FindControlOrParent(HWND wnd) noexcept {
    for (; wnd; wnd = ::GetParent(wnd))
        if (TWinControl* c = FindControl(wnd)) return c;
    return nullptr;
}

LRESULT CALLBACK TWinControl::StaticWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    auto* self = FindControl(wnd);
    if (!self && msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        self = static_cast<TWinControl*>(cs->lpCreateParams);
        if (self) {
            ::SetPropW(wnd, ControlProperty(), self);
            self->FHandle = wnd;
        }
    }
    if (!self) return ::CallWindowProcW(DefaultProcOf(wnd), wnd, msg, wParam, lParam);

    TMessage m{msg, wParam, lParam, 0};
    try {
        if (self->WindowProc) self->WindowProc(m);
        else self->WndProc(m);
    } catch (...) {
        // Never unwind into user32: the application shows the error and goes on.
        Application().HandleException(std::current_exception());
    }
    if (msg == WM_NCDESTROY) {
        ::RemovePropW(wnd, ControlProperty());
        if (self->FHandle == wnd) {
            self->FHandle = nullptr;
            self->FShowing = false;
            self->FTrackingMouse = false;
        }
    } else if (msg == CM_RELEASE) {
        // Release: the form is freed after the messages posted before this one.
        if (auto* form = dynamic_cast<TCustomForm*>(self)) delete form;
    }
    return m.Result;
}

// ---- showing ----

void TWinControl::UpdateControlState() { UpdateShowing(); }

void TWinControl::UpdateShowing() {
    const bool showing = FVisible && (FParent ? FParent->FShowing : IsTopLevel()) && !HasState(csDestroying);
    if (showing) HandleNeeded();
    if (showing == FShowing) {
        if (FHandle) ShowHandle(showing);
        return;
    }
    if (showing) {
        ShowHandle(true);
        FShowing = true;
        Perform(CM_SHOWINGCHANGED, 0, 0);
        for (TControl* c : FControls)
            if (auto* w = dynamic_cast<TWinControl*>(c)) w->UpdateShowing();
    } else {
        FShowing = false;
        for (TControl* c : FControls)
            if (auto* w = dynamic_cast<TWinControl*>(c)) w->UpdateShowing();
        if (FHandle) ShowHandle(false);
        Perform(CM_SHOWINGCHANGED, 0, 0);
    }
}

void TWinControl::ShowHandle(bool show) {
    if (!FHandle) return;
    const bool visibleNow = (::GetWindowLongW(FHandle, GWL_STYLE) & WS_VISIBLE) != 0;
    if (visibleNow == show) return;
    ::SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWinControl::SetZOrderOfWindow() {}

bool TWinControl::IsShowing() { return FShowing; }

// ---- children ----

void TWinControl::InsertControl(TControl* control) {
    if (!control || control->FParent == this) return;
    if (auto* w = dynamic_cast<TWinControl*>(control); w && w->ContainsControl(this))
        throw Exception(L"A control cannot be placed inside itself");
    FControls.push_back(control);
    if (auto* w = dynamic_cast<TWinControl*>(control)) FTabList.push_back(w);
    control->FParent = this;
    if (control->ParentFont()) control->Perform(CM_PARENTFONTCHANGED, 0, 0);
    if (control->ParentColor()) control->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    if (auto* w = dynamic_cast<TWinControl*>(control)) {
        if (FHandle && w->Visible()) w->HandleNeeded();
        w->UpdateControlState();
    } else {
        control->Invalidate();
    }
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 1);
    control->RequestAlign();
}

void TWinControl::RemoveControl(TControl* control) noexcept {
    auto it = std::find(FControls.begin(), FControls.end(), control);
    if (it == FControls.end()) return;
    if (FMouseControl == control) FMouseControl = nullptr;
    if (FCaptureControl == control) FCaptureControl = nullptr;
    control->Invalidate();
    if (auto* w = dynamic_cast<TWinControl*>(control)) {
        if (TCustomForm* form = GetParentForm(this)) form->ControlGone(w);
        // Its window belongs under our window; it is made again under a new parent.
        try {
            w->DestroyHandle();
        } catch (...) {
        }
        std::erase(FTabList, w);
    }
    FControls.erase(it);
    control->FParent = nullptr;
    if (!HasState(csDestroying)) {
        try {
            Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 0);
            if (control->Align() != alNone) Realign();
        } catch (...) {
        }
    }
}

bool TWinControl::ContainsControl(TControl* control) const noexcept {
    for (TControl* c = control; c; c = c->Parent())
        if (c == this) return true;
    return false;
}

TControl* TWinControl::ControlAtPos(TPoint p, bool allowDisabled, bool allowWinControls) {
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        if (!allowWinControls && dynamic_cast<TWinControl*>(c)) continue;
        if (!c->Visible() || (!allowDisabled && !c->Enabled())) continue;
        if (PtInRect(c->BoundsRect(), p)) return c;
    }
    return nullptr;
}

// ---- geometry and text ----

TRect TWinControl::ClientRect() {
    if (FHandle) {
        RECT r{};
        ::GetClientRect(FHandle, &r);
        return {r.left, r.top, r.right, r.bottom};
    }
    return {0, 0, FWidth, FHeight};
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    Constraints().Apply(width, height);
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
    const bool resized = width != FWidth || height != FHeight;
    UpdateBoundsRect({left, top, left + width, top + height});
    if (FHandle) ::SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    BoundsChanged();
    if (resized) Realign();
    RequestAlign();
}

void TWinControl::WMWindowPosChanged(TMessage& message) {
    DefWndProc(message);
    auto* pos = reinterpret_cast<WINDOWPOS*>(message.LParam);
    if (!FHandle || (pos->flags & SWP_NOSIZE && pos->flags & SWP_NOMOVE)) return;
    RECT r{};
    ::GetWindowRect(FHandle, &r);
    if (HWND parent = ::GetParent(FHandle); parent && (::GetWindowLongW(FHandle, GWL_STYLE) & WS_CHILD))
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    const bool resized = (r.right - r.left) != FWidth || (r.bottom - r.top) != FHeight;
    const bool moved = r.left != FLeft || r.top != FTop;
    if (!resized && !moved) return;
    UpdateBoundsRect({r.left, r.top, r.right, r.bottom});
    if (resized) {
        Realign();
        RequestAlign();
    }
}

String TWinControl::GetText() {
    if (!FHandle) return FText;
    const int length = ::GetWindowTextLengthW(FHandle);
    String text(static_cast<size_t>(length) + 1, L'\0');
    const int got = ::GetWindowTextW(FHandle, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

void TWinControl::SetText(const String& text) {
    if (text == GetText()) return;
    FText = text;
    if (FHandle) ::SetWindowTextW(FHandle, text.c_str());
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TWinControl::SetParent(TWinControl* parent) { TControl::SetParent(parent); }

// ---- painting ----

void TWinControl::Invalidate() {
    if (FHandle) ::InvalidateRect(FHandle, nullptr, (ControlStyle & csOpaque) ? FALSE : TRUE);
}

void TWinControl::Update() {
    if (FHandle) ::UpdateWindow(FHandle);
}

void TWinControl::Repaint() {
    if (!FHandle) return;
    ::RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void TWinControl::PaintWindow(HDC dc) {
    TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
    DefWndProc(m);
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
    auto it = FControls.begin();
    if (first) it = std::find(FControls.begin(), FControls.end(), first);
    for (; it != FControls.end(); ++it) {
        auto* g = dynamic_cast<TGraphicControl*>(*it);
        if (!g || !g->Visible()) continue;
        RECT r{g->Left(), g->Top(), g->Left() + g->Width(), g->Top() + g->Height()};
        if (::RectVisible(dc, &r)) g->PaintOn(dc);
    }
}

void TWinControl::PaintHandler(TMessage& message) {
    if (message.WParam) {
        auto dc = reinterpret_cast<HDC>(message.WParam);
        PaintWindow(dc);
        PaintControls(dc, nullptr);
        return;
    }
    PaintScope paint(FHandle);
    HDC dc = paint.dc();
    if (!dc) return;
    if (!DoubleBuffered) {
        PaintWindow(dc);
        PaintControls(dc, nullptr);
        return;
    }
    // Paint everything into a bitmap first and copy it out once: no flicker.
    TRect client = ClientRect();
    UniqueMemoryDC memory(::CreateCompatibleDC(dc));
    UniqueBitmap buffer(::CreateCompatibleBitmap(dc, client.Right, client.Bottom));
    if (!memory || !buffer) {
        PaintWindow(dc);
        PaintControls(dc, nullptr);
        return;
    }
    SelectScope select(memory.get(), buffer.get());
    FBufferedErase = true;
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory.get()), 0);
    FBufferedErase = false;
    PaintWindow(memory.get());
    PaintControls(memory.get(), nullptr);
    ::BitBlt(dc, 0, 0, client.Right, client.Bottom, memory.get(), 0, 0, SRCCOPY);
}

void TWinControl::WMPaint(TMessage& message) {
    const bool ownClass = FDefWndProc == ::DefWindowProcW;
    bool graphicChildren = false;
    for (TControl* c : FControls)
        if (dynamic_cast<TGraphicControl*>(c)) graphicChildren = true;
    if (!ownClass && !graphicChildren && !DoubleBuffered) {
        DefWndProc(message);
        return;
    }
    PaintHandler(message);
}

void TWinControl::WMEraseBkgnd(TMessage& message) {
    const bool ownClass = FDefWndProc == ::DefWindowProcW;
    if (!ownClass) {
        DefWndProc(message);
        return;
    }
    // A double-buffered window erases only into its paint buffer.
    if (DoubleBuffered && !FBufferedErase) {
        message.Result = 1;
        return;
    }
    RECT r{};
    ::GetClientRect(FHandle, &r);
    if (HBRUSH brush = FBrush.Handle()) ::FillRect(reinterpret_cast<HDC>(message.WParam), &r, brush);
    message.Result = 1;
}

void TWinControl::PaintTo(HDC dc, int x, int y) {
    if (!FHandle) return;
    SavedDC saved(dc);
    ::OffsetViewportOrgEx(dc, x, y, nullptr);
    ::IntersectClipRect(dc, 0, 0, FWidth, FHeight);
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    for (TControl* c : FControls) {
        auto* w = dynamic_cast<TWinControl*>(c);
        if (w && w->Visible()) w->PaintTo(dc, w->Left(), w->Top());
    }
}

// ---- messages ----

void TWinControl::DefWndProc(TMessage& message) {
    if (!FHandle) {
        message.Result = 0;
        return;
    }
    message.Result = ::CallWindowProcW(FDefWndProc ? FDefWndProc : ::DefWindowProcW, FHandle, message.Msg,
                                       message.WParam, message.LParam);
}

void TWinControl::DefaultHandler(TMessage& message) {
    // The framework's own notifications mean nothing to the system's procedures.
    if (message.Msg >= CM_BASE && message.Msg < 0xC000) {
        message.Result = 0;
        return;
    }
    DefWndProc(message);
}

void TWinControl::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_MOUSEMOVE:
        if (GMouseWindow != this) {
            // The mouse left the previous window even if its WM_MOUSELEAVE is late (Wine
            // polls for it): tell that window now, so enter and leave always pair up.
            TWinControl* previous = GMouseWindow;
            GMouseWindow = this;
            if (previous) previous->MouseLeft();
        }
        if (!FTrackingMouse && FHandle) {
            TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, FHandle, 0};
            FTrackingMouse = ::TrackMouseEvent(&tme) != FALSE;
            if (!FMouseInClient) Perform(CM_MOUSEENTER, 0, 0);
        }
        if (RouteMouseToGraphicChild(message)) return;
        break;
    case WM_MOUSELEAVE:
        if (GMouseWindow == this) GMouseWindow = nullptr;
        MouseLeft();
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        if (RouteMouseToGraphicChild(message)) return;
        break;
    case WM_SETFOCUS: {
        TCustomForm* form = GetParentForm(this);
        if (form && form != this && !form->SetFocusedControl(this)) return;
        break;
    }
    default: break;
    }
    TControl::WndProc(message);
}

// Mouse messages over a graphic child go to that child, in its own coordinates. The
// child that got a button press keeps getting the mouse until the button is released.
bool TWinControl::RouteMouseToGraphicChild(TMessage& message) {
    const TPoint p{message.XPos(), message.YPos()};
    TControl* target = FCaptureControl;
    if (target && ::GetCapture() != FHandle) {
        FCaptureControl = nullptr;
        target = nullptr;
    }
    if (!target) target = ControlAtPos(p);
    if (message.Msg == WM_MOUSEMOVE) SetGraphicMouseControl(ControlAtPos(p));
    if (!target) return false;
    const bool down = message.Msg == WM_LBUTTONDOWN || message.Msg == WM_LBUTTONDBLCLK;
    const bool up = message.Msg == WM_LBUTTONUP;
    if (down && (target->ControlStyle & csCaptureMouse)) {
        FCaptureControl = target;
        ::SetCapture(FHandle);
    }
    const LPARAM local = MAKELPARAM(static_cast<WORD>(p.X - target->Left()), static_cast<WORD>(p.Y - target->Top()));
    // The child's own capture handling is ours to do: it has no window.
    const TControlStyle style = target->ControlStyle;
    target->ControlStyle &= ~static_cast<TControlStyle>(csCaptureMouse);
    message.Result = target->Perform(message.Msg, message.WParam, local);
    target->ControlStyle = style;
    if (up && FCaptureControl == target) {
        FCaptureControl = nullptr;
        if (::GetCapture() == FHandle) ::ReleaseCapture();
    }
    return true;
}

void TWinControl::SetGraphicMouseControl(TControl* control) {
    if (control == FMouseControl) return;
    TControl* old = FMouseControl;
    FMouseControl = control;
    if (old) old->Perform(CM_MOUSELEAVE, 0, 0);
    if (control) control->Perform(CM_MOUSEENTER, 0, 0);
}

void TWinControl::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT: WMPaint(message); return;
    case WM_ERASEBKGND: WMEraseBkgnd(message); return;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(message); return;
    case WM_KILLFOCUS: DefWndProc(message); return;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_COMPAREITEM:
    case WM_DELETEITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: WMCommandReflect(message); return;
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORDLG:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORMSGBOX:
    case CN_CTLCOLORSCROLLBAR:
    case CN_CTLCOLORSTATIC: WMCtlColorReflect(message); return;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: CNKeyDown(message); return;
    case CN_CHAR:
    case CN_SYSCHAR: CNChar(message); return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: WMKeyDown(message); return;
    case WM_KEYUP:
    case WM_SYSKEYUP: WMKeyUp(message); return;
    case WM_CHAR: WMChar(message); return;
    case WM_SETCURSOR: WMSetCursor(message); return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR: CMDialogKeyOrChar(message); return;
    case CM_FOCUSCHANGED: CMFocusChanged(message); return;
    case CM_ENTER: DoEnter(); return;
    case CM_EXIT: DoExit(); return;
    case CM_VISIBLECHANGED: UpdateControlState(); return;
    case CM_ENABLEDCHANGED: CMEnabledChanged(); return;
    case CM_COLORCHANGED: CMColorChanged(); return;
    case CM_FONTCHANGED: CMFontChanged(); return;
    default: TControl::Dispatch(message);
    }
}

void TWinControl::WMKeyDown(TMessage& message) {
    if (!DoKeyDown(message)) DefWndProc(message);
}

void TWinControl::WMKeyUp(TMessage& message) {
    if (!DoKeyUp(message)) DefWndProc(message);
}

void TWinControl::WMChar(TMessage& message) {
    if (!DoKeyPress(message)) DefWndProc(message);
}

namespace {

// The system cursor of a framework cursor id; null for one without a system cursor.
HCURSOR SystemCursor(TCursor cursor) {
    static const struct {
        TCursor Id;
        LPCWSTR Name;
    } cursors[] = {{crArrow, MAKEINTRESOURCEW(32512)},     {crCross, MAKEINTRESOURCEW(32515)},
                   {crIBeam, MAKEINTRESOURCEW(32513)},     {crSizeNESW, MAKEINTRESOURCEW(32643)},
                   {crSizeNS, MAKEINTRESOURCEW(32645)},    {crSizeNWSE, MAKEINTRESOURCEW(32642)},
                   {crSizeWE, MAKEINTRESOURCEW(32644)},    {crUpArrow, MAKEINTRESOURCEW(32516)},
                   {crHourGlass, MAKEINTRESOURCEW(32514)}, {crNo, MAKEINTRESOURCEW(32648)},
                   {crHandPoint, MAKEINTRESOURCEW(32649)}, {crSizeAll, MAKEINTRESOURCEW(32646)}};
    HCURSOR h = nullptr;
    for (const auto& e : cursors)
        if (e.Id == cursor) h = ::LoadCursorW(nullptr, e.Name);
    return h;
}

}  // namespace

// Over the client area the cursor of the control under the mouse (or this one's) wins.
void TWinControl::WMSetCursor(TMessage& message) {
    if (LOWORD(message.LParam) == HTCLIENT && reinterpret_cast<HWND>(message.WParam) == FHandle) {
        POINT p{};
        ::GetCursorPos(&p);
        ::ScreenToClient(FHandle, &p);
        TControl* c = ControlAtPos({p.x, p.y}, true);
        TCursor cursor = c && c->Cursor() != crDefault ? c->Cursor() : Cursor();
        if (cursor != crDefault) {
            ::SetCursor(SystemCursor(cursor));
            message.Result = 1;
            return;
        }
    }
    DefWndProc(message);
}

void TWinControl::CMEnabledChanged() {
    if (FHandle) ::EnableWindow(FHandle, Enabled());
}

void TWinControl::CMColorChanged() {
    FBrush.SetColor(FColor);
    NotifyControls(CM_PARENTCOLORCHANGED);
    Invalidate();
}

void TWinControl::CMFontChanged() {
    if (FHandle) ::SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
    NotifyControls(CM_PARENTFONTCHANGED);
    Invalidate();
}

// Notifications a parent gets about a child control go back to that child as CN_*.
void TWinControl::WMCommandReflect(TMessage& message) {
    HWND child = nullptr;
    switch (message.Msg) {
    case WM_NOTIFY: child = reinterpret_cast<NMHDR*>(message.LParam)->hwndFrom; break;
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
        if (dis->CtlType != ODT_MENU) child = dis->hwndItem;
        break;
    }
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
        if (mis->CtlType != ODT_MENU) child = ::GetDlgItem(FHandle, static_cast<int>(mis->CtlID));
        break;
    }
    case WM_COMPAREITEM: child = reinterpret_cast<COMPAREITEMSTRUCT*>(message.LParam)->hwndItem; break;
    case WM_DELETEITEM: child = reinterpret_cast<DELETEITEMSTRUCT*>(message.LParam)->hwndItem; break;
    default: child = reinterpret_cast<HWND>(message.LParam); break;
    }
    TWinControl* control = child && child != FHandle ? FindControl(child) : nullptr;
    if (!control) {
        DefWndProc(message);
        return;
    }
    message.Result = control->Perform(CN_BASE + message.Msg, message.WParam, message.LParam);
}

// A child control's colours for the system's drawing of it: its font colour on its brush.
void TWinControl::WMCtlColorReflect(TMessage& message) {
    auto dc = reinterpret_cast<HDC>(message.WParam);
    ::SetTextColor(dc, ColorToGdi(Font().Color()));
    ::SetBkColor(dc, ColorToGdi(FBrush.Color()));
    message.Result = reinterpret_cast<LRESULT>(FBrush.Handle());
}

void TWinControl::WMNotifyReflect(TMessage& message) { WMCommandReflect(message); }
void TWinControl::WMDrawItemReflect(TMessage& message) { WMCommandReflect(message); }

void TWinControl::Broadcast(TMessage& message) {
    // A copy: a handler may change the list.
    std::vector<TControl*> children = FControls;
    for (TControl* c : children) {
        c->WindowProc ? c->WindowProc(message) : c->WndProc(message);
        if (message.Result != 0) return;
    }
}

void TWinControl::NotifyControls(UINT msg) {
    TMessage m{msg, 0, 0, 0};
    std::vector<TControl*> children = FControls;
    for (TControl* c : children) c->WindowProc ? c->WindowProc(m) : c->WndProc(m);
}

void TWinControl::CMDialogKeyOrChar(TMessage& message) {
    message.Result = 0;
    Broadcast(message);
}

void TWinControl::CMFocusChanged(TMessage& message) {
    std::vector<TControl*> children = FControls;
    for (TControl* c : children) c->Perform(CM_FOCUSCHANGED, message.WParam, message.LParam);
}

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}
void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

// ---- keyboard ----

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}
void TWinControl::KeyUp(WORD& key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
}
void TWinControl::KeyPress(wchar_t& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}

// With KeyPreview the form sees a key before the control that has the focus.
bool TWinControl::DoKeyDown(TMessage& message) {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview && form->DoKeyDown(message)) return true;
    WORD key = static_cast<WORD>(message.WParam);
    KeyDown(key, KeyboardShiftState());
    message.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyUp(TMessage& message) {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview && form->DoKeyUp(message)) return true;
    WORD key = static_cast<WORD>(message.WParam);
    KeyUp(key, KeyboardShiftState());
    message.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyPress(TMessage& message) {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview && form->DoKeyPress(message)) return true;
    wchar_t key = static_cast<wchar_t>(message.WParam);
    KeyPress(key);
    message.WParam = key;
    return key == 0;
}

bool TWinControl::IsDialogKey(WORD key, LPARAM) {
    switch (key) {
    case VK_TAB:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_EXECUTE:
    case VK_CANCEL: return true;
    default: return false;
    }
}

// Before a key message is translated: navigation and dialog keys the control does not
// want go to its form as CM_DIALOGKEY (Tab moves the focus, Enter and Escape reach the
// default and cancel buttons). Result 1 means the key was used up.
void TWinControl::CNKeyDown(TMessage& message) {
    message.Result = 0;
    const WORD key = static_cast<WORD>(message.WParam);
    if (!IsDialogKey(key, message.LParam)) return;
    if (Perform(CM_WANTSPECIALKEY, key, 0) != 0) return;
    const LRESULT code = FHandle ? ::SendMessageW(FHandle, WM_GETDLGCODE, key, 0) : 0;
    if (code & DLGC_WANTALLKEYS) return;
    if (key == VK_TAB && (code & DLGC_WANTTAB)) return;
    if ((key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) && (code & DLGC_WANTARROWS)) return;
    TCustomForm* form = GetParentForm(this);
    if (form && form->Perform(CM_DIALOGKEY, key, message.LParam) != 0) message.Result = 1;
}

// Characters a control does not take (and Alt+letter) may be accelerators of other
// controls: the form offers them around as CM_DIALOGCHAR.
void TWinControl::CNChar(TMessage& message) {
    message.Result = 0;
    if (message.Msg == CN_CHAR) {
        const LRESULT code = FHandle ? ::SendMessageW(FHandle, WM_GETDLGCODE, 0, 0) : 0;
        if (code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS)) return;
    }
    TCustomForm* form = GetParentForm(this);
    if (form && form->Perform(CM_DIALOGCHAR, message.WParam, message.LParam) != 0) message.Result = 1;
}

// ---- focus ----

bool TWinControl::Focused() { return FHandle && ::GetFocus() == FHandle; }

bool TWinControl::CanFocus() {
    TCustomForm* form = GetParentForm(this);
    if (!form) return false;
    for (TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus() {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this) {
        form->FocusControl(this);
    } else if (FHandle) {
        ::SetFocus(FHandle);
    }
}

void TWinControl::Loaded() {
    TControl::Loaded();
    if (FParent) FParent->FixupTabList();
    Realign();
}

}  // namespace qv
