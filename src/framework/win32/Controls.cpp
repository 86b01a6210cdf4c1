// TControl, TGraphicControl, TCustomControl and the small records of controls.
#include "framework/win32/Controls.h"

#include "framework/win32/Forms.h"

namespace qv {

// ---- TMargins / TSizeConstraints ----

void TMargins::SetBounds(int left, int top, int right, int bottom) {
    if (left == FLeft && top == FTop && right == FRight && bottom == FBottom) return;
    FLeft = left;
    FTop = top;
    FRight = right;
    FBottom = bottom;
    if (FControl && FControl->AlignWithMargins()) FControl->RequestAlign();
}

void TSizeConstraints::SetMinWidth(int v) {
    if (v != FMinWidth) {
        FMinWidth = v < 0 ? 0 : v;
        Changed();
    }
}
void TSizeConstraints::SetMinHeight(int v) {
    if (v != FMinHeight) {
        FMinHeight = v < 0 ? 0 : v;
        Changed();
    }
}
void TSizeConstraints::SetMaxWidth(int v) {
    if (v != FMaxWidth) {
        FMaxWidth = v < 0 ? 0 : v;
        Changed();
    }
}
void TSizeConstraints::SetMaxHeight(int v) {
    if (v != FMaxHeight) {
        FMaxHeight = v < 0 ? 0 : v;
        Changed();
    }
}

void TSizeConstraints::Apply(int& width, int& height) const noexcept {
    if (FMaxWidth > 0 && width > FMaxWidth) width = FMaxWidth;
    if (FMinWidth > 0 && width < FMinWidth) width = FMinWidth;
    if (FMaxHeight > 0 && height > FMaxHeight) height = FMaxHeight;
    if (FMinHeight > 0 && height < FMinHeight) height = FMinHeight;
}

void TSizeConstraints::Changed() {
    // Re-applying the bounds brings the control inside its new limits.
    if (FControl) FControl->SetBounds(FControl->Left(), FControl->Top(), FControl->Width(), FControl->Height());
}

// ---- helpers ----

TShiftState KeyboardShiftState() noexcept {
    TShiftState s = 0;
    if (::GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (::GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (::GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

static TShiftState MouseShiftState(WPARAM keys) noexcept {
    TShiftState s = 0;
    if (keys & MK_SHIFT) s |= ssShift;
    if (keys & MK_CONTROL) s |= ssCtrl;
    if (keys & MK_LBUTTON) s |= ssLeft;
    if (keys & MK_RBUTTON) s |= ssRight;
    if (keys & MK_MBUTTON) s |= ssMiddle;
    if (::GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

TCustomForm* GetParentForm(TControl* control) noexcept {
    while (control && control->Parent()) control = control->Parent();
    return dynamic_cast<TCustomForm*>(control);
}

// ---- TControl ----

TControl::TControl(TComponent* owner) : TComponent(owner) {
    WindowProc = [this](TMessage& m) { WndProc(m); };
    FFont.OnChange = [this] { FontChanged(); };
}

TControl::~TControl() {
    Destroying();
    if (FParent) FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == FParent) return;
    if (parent == this) throw std::invalid_argument("A control cannot be its own parent");
    if (FParent) FParent->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    FConstraints.Apply(width, height);
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
    // A graphic control repaints where it was and where it is now.
    if (FParent && FVisible) Invalidate();
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    if (FParent && FVisible) Invalidate();
    BoundsChanged();
    RequestAlign();
}

void TControl::ChangeScale(int toDpi, int fromDpi) {
    if (toDpi == fromDpi) return;
    // The bounds are read first: new size limits re-apply the bounds they hold.
    const int left = FLeft, top = FTop, width = FWidth, height = FHeight;
    ScaleLengthsAroundBounds(toDpi, fromDpi);
    auto scaled = [&](TScaledLength slot, int v) { return FDpiLengths[slot].Rescale(v, fromDpi, toDpi); };
    SetBounds(scaled(slLeft, left), scaled(slTop, top), scaled(slWidth, width), scaled(slHeight, height));
}

void TControl::ScaleLengthsAroundBounds(int toDpi, int fromDpi) {
    auto scaled = [&](TScaledLength slot, int v) { return FDpiLengths[slot].Rescale(v, fromDpi, toDpi); };
    if (!FParentFont) {
        FFont.PixelsPerInch = toDpi;
        FFont.SetHeight(scaled(slFont, FFont.Height()));
    }
    FMargins.SetBounds(scaled(slMarginLeft, FMargins.Left()), scaled(slMarginTop, FMargins.Top()),
                       scaled(slMarginRight, FMargins.Right()), scaled(slMarginBottom, FMargins.Bottom()));
    // Lower limits first when shrinking and upper ones first when growing, so the limits
    // never cross on the way.
    const int minW = scaled(slMinWidth, FConstraints.MinWidth()), minH = scaled(slMinHeight, FConstraints.MinHeight());
    const int maxW = scaled(slMaxWidth, FConstraints.MaxWidth()), maxH = scaled(slMaxHeight, FConstraints.MaxHeight());
    if (toDpi > fromDpi) {
        FConstraints.SetMaxWidth(maxW);
        FConstraints.SetMaxHeight(maxH);
    }
    FConstraints.SetMinWidth(minW);
    FConstraints.SetMinHeight(minH);
    FConstraints.SetMaxWidth(maxW);
    FConstraints.SetMaxHeight(maxH);
}

void TControl::UpdateBoundsRect(const TRect& r) {
    FLeft = r.Left;
    FTop = r.Top;
    FWidth = r.Right - r.Left;
    FHeight = r.Bottom - r.Top;
}

TRect TControl::ClientRect() { return {0, 0, FWidth, FHeight}; }

TPoint TControl::ClientOrigin() {
    if (auto* win = dynamic_cast<TWinControl*>(this); win && win->HandleAllocated()) {
        POINT p{0, 0};
        ::ClientToScreen(win->FHandle, &p);
        return {p.x, p.y};
    }
    if (!FParent) return {FLeft, FTop};
    TPoint o = FParent->ClientOrigin();
    return {o.X + FLeft, o.Y + FTop};
}

void TControl::SetVisible(bool visible) {
    if (visible == FVisible) return;
    VisibleChanging();
    if (!visible && FParent && FParent->FMouseControl == this) FParent->SetGraphicMouseControl(nullptr);
    Invalidate();  // the area it covered (graphic controls)
    FVisible = visible;
    Perform(CM_VISIBLECHANGED, visible ? 1 : 0, 0);
    RequestAlign();
}

void TControl::Show() {
    if (FParent) FParent->Show();
    SetVisible(true);
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == FEnabled) return;
    FEnabled = enabled;
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

String TControl::GetText() { return FText; }

void TControl::SetText(const String& text) {
    if (text == FText) return;
    FText = text;
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetColor(TColor color) {
    if (color == FColor && !FParentColor) return;
    FColor = color;
    FParentColor = false;
    Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool on) {
    if (on == FParentColor) return;
    FParentColor = on;
    if (on && FParent) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetParentFont(bool on) {
    if (on == FParentFont) return;
    FParentFont = on;
    if (on && FParent) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::FontChanged() {
    // Changing the font directly ends taking it from the parent.
    if (!FUpdatingParentFont) FParentFont = false;
    Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetAlign(TAlign align) {
    if (align == FAlign) return;
    FAlign = align;
    RequestAlign();
}

void TControl::SetAlignWithMargins(bool on) {
    if (on == FAlignWithMargins) return;
    FAlignWithMargins = on;
    RequestAlign();
}

void TControl::SetCursor(TCursor cursor) {
    if (cursor == FCursor) return;
    FCursor = cursor;
    Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::RequestAlign() {
    if (FParent && (FAlign != alNone || FParent->HasState(csLoading))) FParent->Realign();
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    if (WindowProc) WindowProc(m);
    else WndProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage& message) {
    const UINT msg = message.Msg;
    const bool buttonDown = msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN ||
                            msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
    const bool buttonUp = msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP;
    // Events of a press come before the control's own handling of it, events of a
    // release after it: a system button must see its release (and send its click)
    // before the capture is given back.
    if (buttonDown || msg == WM_MOUSEMOVE) MouseMessage(message);
    Dispatch(message);
    if (buttonUp) MouseMessage(message);
}

void TControl::MouseMessage(TMessage& message) {
    const int x = message.XPos(), y = message.YPos();
    TShiftState shift = MouseShiftState(message.WParam);
    switch (message.Msg) {
    case WM_MOUSEMOVE: MouseMove(shift, x, y); break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (message.Msg == WM_LBUTTONDBLCLK && (ControlStyle & csDoubleClicks)) {
            shift |= ssDouble;
            DblClick();
        }
        if (ControlStyle & csCaptureMouse) SetMouseCapture(true);
        if (ControlStyle & csClickEvents) ControlState |= csClicked;
        ControlState |= csLButtonDown;
        MouseDown(mbLeft, shift, x, y);
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: MouseDown(mbRight, shift, x, y); break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: MouseDown(mbMiddle, shift, x, y); break;
    case WM_LBUTTONUP: {
        const bool clicked = (ControlState & csClicked) != 0;
        ControlState &= ~static_cast<TControlState>(csClicked | csLButtonDown);
        if (ControlStyle & csCaptureMouse) SetMouseCapture(false);
        if (clicked && PtInRect(ClientRect(), TPoint{x, y})) Click();
        MouseUp(mbLeft, shift, x, y);
        break;
    }
    case WM_RBUTTONUP: MouseUp(mbRight, shift, x, y); break;
    case WM_MBUTTONUP: MouseUp(mbMiddle, shift, x, y); break;
    default: break;
    }
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}
void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case CM_MOUSEENTER: CMMouseEnter(message); return;
    case CM_MOUSELEAVE: CMMouseLeave(message); return;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(message); return;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(message); return;
    default: DefaultHandler(message);
    }
}

void TControl::DefaultHandler(TMessage& message) { message.Result = 0; }

// The control itself gets CM_MOUSEENTER with LParam 0; its parents then get it with
// LParam = the control entered, so a container knows which child the mouse is over.
void TControl::CMMouseEnter(TMessage& message) {
    if (message.LParam == 0) {
        FMouseInClient = true;
        if (OnMouseEnter) OnMouseEnter(this);
    }
    if (FParent) FParent->Perform(CM_MOUSEENTER, 0, message.LParam ? message.LParam : reinterpret_cast<LPARAM>(this));
}

void TControl::CMMouseLeave(TMessage& message) {
    if (message.LParam == 0) {
        FMouseInClient = false;
        if (OnMouseLeave) OnMouseLeave(this);
    }
    if (FParent) FParent->Perform(CM_MOUSELEAVE, 0, message.LParam ? message.LParam : reinterpret_cast<LPARAM>(this));
}

void TControl::CMParentFontChanged(TMessage&) {
    if (!FParentFont || !FParent) return;
    FUpdatingParentFont = true;
    try {
        FFont.Assign(FParent->Font());
    } catch (...) {
        FUpdatingParentFont = false;
        throw;
    }
    FUpdatingParentFont = false;
}

void TControl::CMParentColorChanged(TMessage&) {
    if (!FParentColor || !FParent) return;
    FColor = FParent->Color();
    Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::Invalidate() {
    if (!FParent || !FParent->HandleAllocated() || !FVisible) return;
    RECT r{FLeft, FTop, FLeft + FWidth, FTop + FHeight};
    ::InvalidateRect(FParent->Handle(), &r, (ControlStyle & csOpaque) ? FALSE : TRUE);
}

void TControl::Update() {
    if (FParent) FParent->Update();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

void TControl::BringToFront() {
    if (!FParent) return;
    auto& list = FParent->FControls;
    std::erase(list, this);
    list.push_back(this);
    if (auto* win = dynamic_cast<TWinControl*>(this); win && win->HandleAllocated())
        ::SetWindowPos(win->FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
}

void TControl::SendToBack() {
    if (!FParent) return;
    auto& list = FParent->FControls;
    std::erase(list, this);
    list.insert(list.begin(), this);
    if (auto* win = dynamic_cast<TWinControl*>(this); win && win->HandleAllocated())
        ::SetWindowPos(win->FHandle, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
}

bool TControl::MouseCapture() {
    if (auto* win = dynamic_cast<TWinControl*>(this)) return win->HandleAllocated() && ::GetCapture() == win->FHandle;
    return FParent && FParent->FCaptureControl == this && FParent->HandleAllocated() &&
           ::GetCapture() == FParent->FHandle;
}

void TControl::SetMouseCapture(bool on) {
    if (on == MouseCapture()) return;
    if (auto* win = dynamic_cast<TWinControl*>(this)) {
        if (on) ::SetCapture(win->Handle());
        else ::ReleaseCapture();
        return;
    }
    if (!FParent) return;
    if (on) {
        FParent->FCaptureControl = this;
        ::SetCapture(FParent->Handle());
    } else {
        FParent->FCaptureControl = nullptr;
        ::ReleaseCapture();
    }
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (FParent) {
        if (FParentFont) Perform(CM_PARENTFONTCHANGED, 0, 0);
        if (FParentColor) Perform(CM_PARENTCOLORCHANGED, 0, 0);
    }
    RequestAlign();
}

bool TControl::IsShowing() { return FVisible && FParent && FParent->IsShowing(); }

// ---- TGraphicControl ----

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) { FCanvas.SetControl(this); }

TGraphicControl::~TGraphicControl() { FCanvas.FreeHandle(); }

void TGraphicControl::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case CM_VISIBLECHANGED:
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
    case CM_COLORCHANGED:
    case CM_FONTCHANGED: Invalidate(); break;
    default: break;
    }
    TControl::Dispatch(message);
}

void TGraphicControl::PaintOn(HDC dc) {
    FCanvas.FreeHandle();
    SavedDC saved(dc);
    ::OffsetViewportOrgEx(dc, Left(), Top(), nullptr);
    ::IntersectClipRect(dc, 0, 0, Width(), Height());
    const TCanvasDC lent(FCanvas, dc);
    Paint();
}

// ---- TCustomControl ----

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) { FCanvas.SetControl(this); }

TCustomControl::~TCustomControl() { FCanvas.FreeHandle(); }

void TCustomControl::PaintWindow(HDC dc) {
    FCanvas.FreeHandle();
    const TCanvasLock locked(FCanvas);
    const TCanvasDC lent(FCanvas, dc);
    Paint();
}

}  // namespace qv
