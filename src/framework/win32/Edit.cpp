#include "framework/win32/Edit.h"

#include <algorithm>

namespace qv {

TEdit::TEdit(TComponent* owner) : TWinControl(owner) {
    ControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
}

TEdit::~TEdit() { Destroying(); }

void TEdit::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, L"EDIT");
    params.Style |= WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT;
    if (FReadOnly) params.Style |= ES_READONLY;
    if (FPasswordChar) params.Style |= ES_PASSWORD;
    if (FBorderStyle == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TEdit::CreateWnd() {
    FCreating = true;
    try {
        TWinControl::CreateWnd();
    } catch (...) {
        FCreating = false;
        throw;
    }
    FCreating = false;
    ::SendMessageW(FHandle, EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
    if (FPasswordChar) ::SendMessageW(FHandle, EM_SETPASSWORDCHAR, FPasswordChar, 0);
}

void TEdit::SetMaxLength(int length) {
    length = std::max(length, 0);
    if (length == FMaxLength) return;
    FMaxLength = length;
    if (HandleAllocated()) ::SendMessageW(FHandle, EM_LIMITTEXT, static_cast<WPARAM>(length), 0);
}

void TEdit::SetReadOnly(bool on) {
    if (on == FReadOnly) return;
    FReadOnly = on;
    if (HandleAllocated()) ::SendMessageW(FHandle, EM_SETREADONLY, on ? TRUE : FALSE, 0);
}

void TEdit::SetPasswordChar(wchar_t ch) {
    if (ch == FPasswordChar) return;
    FPasswordChar = ch;
    // Whether characters are hidden at all is a style the window takes only when made.
    RecreateWnd();
}

void TEdit::SetBorderStyle(TBorderStyle style) {
    style = style == bsSingle ? bsSingle : bsNone;
    if (style == FBorderStyle) return;
    FBorderStyle = style;
    RecreateWnd();
}

int TEdit::SelStart() {
    DWORD start = 0, end = 0;
    ::SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(start);
}

void TEdit::SetSelStart(int start) {
    ::SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(start));
}

int TEdit::SelLength() {
    DWORD start = 0, end = 0;
    ::SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TEdit::SetSelLength(int length) {
    const int start = SelStart();
    ::SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(start + std::max(length, 0)));
}

String TEdit::SelText() {
    const String text = GetText();
    const auto start = static_cast<std::size_t>(std::clamp(SelStart(), 0, static_cast<int>(text.size())));
    const auto length = static_cast<std::size_t>(std::max(SelLength(), 0));
    return text.substr(start, length);
}

void TEdit::SetSelText(const String& text) {
    ::SendMessageW(Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

void TEdit::SelectAll() { ::SendMessageW(Handle(), EM_SETSEL, 0, -1); }

bool TEdit::Modified() { return HandleAllocated() && ::SendMessageW(FHandle, EM_GETMODIFY, 0, 0) != 0; }

void TEdit::SetModified(bool on) {
    if (HandleAllocated()) ::SendMessageW(FHandle, EM_SETMODIFY, on ? TRUE : FALSE, 0);
}

void TEdit::Change() {
    if (OnChange) OnChange(this);
}

void TEdit::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CN_COMMAND:
        // The window's first text (set while it is made) is no change.
        if (HIWORD(message.WParam) == EN_CHANGE && !FCreating) Change();
        return;
    case CM_TEXTCHANGED:
        // With a window, EN_CHANGE reports the change; without one, this is all there is.
        TWinControl::WndProc(message);
        if (!HandleAllocated()) Change();
        return;
    case WM_SETFOCUS:
        TWinControl::WndProc(message);
        if (AutoSelect && !(::GetKeyState(VK_LBUTTON) & 0x8000)) SelectAll();
        return;
    default: break;
    }
    TWinControl::WndProc(message);
}

}  // namespace qv
