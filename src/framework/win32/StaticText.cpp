#include "framework/win32/StaticText.h"

namespace qv {

TStaticText::TStaticText(TComponent* owner) : TWinControl(owner) {
    ControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    SetBounds(0, 0, 65, 17);
}

TStaticText::~TStaticText() {
    Destroying();
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
}

void TStaticText::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, L"STATIC");
    switch (FAlignment) {
    case taLeftJustify: params.Style |= FWordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP; break;
    case taRightJustify: params.Style |= SS_RIGHT; break;
    case taCenter: params.Style |= SS_CENTER; break;
    }
    if (!FShowAccelChar) params.Style |= SS_NOPREFIX;
    if (FBorderStyle == sbsSingle) params.Style |= WS_BORDER;
    if (FBorderStyle == sbsSunken) params.ExStyle |= WS_EX_STATICEDGE;
}

void TStaticText::SetAlignment(TAlignment alignment) {
    if (alignment == FAlignment) return;
    FAlignment = alignment;
    RecreateWnd();
}

void TStaticText::SetWordWrap(bool on) {
    if (on == FWordWrap) return;
    FWordWrap = on;
    RecreateWnd();
}

void TStaticText::SetShowAccelChar(bool on) {
    if (on == FShowAccelChar) return;
    FShowAccelChar = on;
    RecreateWnd();
}

void TStaticText::SetBorderStyle(TStaticBorderStyle style) {
    if (style == FBorderStyle) return;
    FBorderStyle = style;
    RecreateWnd();
}

void TStaticText::SetFocusControl(TWinControl* control) {
    if (FFocusControl == control) return;
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = control;
    if (control) control->FreeNotification(this);
}

void TStaticText::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == FFocusControl) FFocusControl = nullptr;
}

void TStaticText::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CM_DIALOGCHAR:
        if (FFocusControl && Enabled() && FShowAccelChar && IsAccel(static_cast<wchar_t>(message.WParam), Caption()) &&
            FFocusControl->CanFocus()) {
            FFocusControl->SetFocus();
            message.Result = 1;
            return;
        }
        break;
    case CM_TEXTCHANGED:
        TWinControl::WndProc(message);
        Invalidate();
        return;
    default: break;
    }
    TWinControl::WndProc(message);
}

}  // namespace qv
