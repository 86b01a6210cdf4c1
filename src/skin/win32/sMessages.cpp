#include "skin/win32/sMessages.h"

#include "skin/sSkinManagerBase.h"

namespace qv {

TMessage MakeAlphaMessage(std::uint16_t command, LPARAM lParam, std::uint16_t argument) noexcept {
    return TMessage{SM_ALPHACMD, static_cast<WPARAM>(MakeAlphaWParam(command, argument)), lParam, 0};
}

LRESULT SendAMessage(HWND handle, int command, LPARAM lParam) {
    return ::SendMessageW(handle, SM_ALPHACMD,
                          static_cast<WPARAM>(MakeAlphaWParam(static_cast<std::uint16_t>(command))), lParam);
}

LRESULT SendAMessage(TControl* control, int command, LPARAM lParam) {
    if (!control) return 0;
    auto* windowed = dynamic_cast<TWinControl*>(control);
    const WPARAM wParam = static_cast<WPARAM>(MakeAlphaWParam(static_cast<std::uint16_t>(command)));
    if (!windowed) return control->Perform(SM_ALPHACMD, wParam, lParam);
    if (windowed->HasState(csDestroying) || !windowed->HandleAllocated()) return 0;
    return ::SendMessageW(windowed->Handle(), SM_ALPHACMD, wParam, lParam);
}

bool GetBoolMsg(TControl* control, int command) { return (SendAMessage(control, command, 0) & 0xFF) != 0; }

bool GetBoolMsg(HWND handle, int command) { return SendAMessage(handle, command, 0) == 1; }

void SetParentUpdated(TWinControl* control) {
    if (!control || InAnimationProcess) return;
    const TMessage m = MakeAlphaMessage(SKC_PARENTUPDATED);
    for (int i = 0; i < control->ControlCount(); ++i) {
        TControl* child = control->Controls(i);
        if (dynamic_cast<TGraphicControl*>(child) || child->HasState(csDestroying)) continue;
        auto* windowed = dynamic_cast<TWinControl*>(child);
        if (windowed && windowed->HandleAllocated() && windowed->Showing())
            ::SendMessageW(windowed->Handle(), m.Msg, m.WParam, m.LParam);
        else child->Perform(m.Msg, m.WParam, m.LParam);
    }
}

namespace {

// Direct child windows of parent, collected first so that windows created or destroyed
// while the message is delivered do not disturb the walk.
std::vector<HWND> ChildWindows(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

}  // namespace

void SetParentUpdated(HWND handle) {
    if (!handle) return;
    for (HWND child : ChildWindows(handle))
        if (::IsWindow(child) && (::GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD))
            SendAMessage(child, SKC_PARENTUPDATED);
}

TColor GetControlColor(TControl* control) {
    if (!control) return clFuchsia;
    TColor color;
    if (SendAMessage(control, SKC_CTRLHANDLED) == 1)
        color = static_cast<TColor>(SendAMessage(control, SKC_GETCOLOR, clFuchsia));
    else color = control->Color();
    return ColorToRGB(color);
}

TColor GetControlColor(HWND handle) {
    if (!handle) return clFuchsia;
    return ColorToRGB(static_cast<TColor>(SendAMessage(handle, SKC_GETCOLOR, 0)));
}

void AlphaBroadCast(TWinControl* control, TMessage& message) {
    if (!control) return;
    // The count is read again on every step: a receiver may add or remove children.
    for (int i = 0; i < control->ControlCount(); ++i) {
        TControl* child = control->Controls(i);
        if (child->HasState(csDestroying)) break;
        auto* windowed = dynamic_cast<TWinControl*>(child);
        if (!windowed || !windowed->HandleAllocated()) {
            message.Result = child->Perform(message.Msg, message.WParam, message.LParam);
        } else if (GetBoolMsg(child, SKC_CTRLHANDLED)) {
            message.Result = ::SendMessageW(windowed->Handle(), message.Msg, message.WParam, message.LParam);
        } else {
            AlphaBroadCast(windowed, message);
        }
    }
}

void AlphaBroadCast(HWND handle, TMessage& message) {
    if (!handle) return;
    for (HWND child : ChildWindows(handle))
        if (::IsWindow(child) && ::GetParent(child) == handle)
            message.Result = ::SendMessageW(child, message.Msg, message.WParam, message.LParam);
}

}  // namespace qv
