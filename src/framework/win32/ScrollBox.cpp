#include "framework/win32/ScrollBox.h"

#include <algorithm>

namespace qv {

TScrollBox::TScrollBox(TComponent* owner) : TWinControl(owner) {
    ControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    SetBounds(0, 0, 185, 41);
    SetTabStop(false);
}

TScrollBox::~TScrollBox() { Destroying(); }

void TScrollBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    if (FBorderStyle == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TScrollBox::CreateWnd() {
    TWinControl::CreateWnd();
    UpdateScrollBars();
}

void TScrollBox::SetBorderStyle(TBorderStyle style) {
    style = style == bsSingle ? bsSingle : bsNone;
    if (style == FBorderStyle) return;
    FBorderStyle = style;
    RecreateWnd();
}

TSize TScrollBox::ContentSize() {
    TSize size{0, 0};
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!c->Visible() || c->Align() != alNone) continue;
        size.cx = std::max(size.cx, c->Left() + c->Width() + FScrollPos.X);
        size.cy = std::max(size.cy, c->Top() + c->Height() + FScrollPos.Y);
    }
    return size;
}

void TScrollBox::UpdateScrollBars() {
    if (!HandleAllocated() || FUpdatingBars) return;
    FUpdatingBars = true;
    // Showing one bar narrows the client area and may call for the other: two passes
    // settle it. The content stays where it is meanwhile.
    const TSize content = ContentSize();
    for (int pass = 0; pass < 2; ++pass) {
        const TRect client = ClientRect();
        const int bars[] = {SB_HORZ, SB_VERT};
        const int extents[] = {content.cx, content.cy};
        const int pages[] = {client.Right, client.Bottom};
        for (int i = 0; i < 2; ++i) {
            SCROLLINFO info{};
            info.cbSize = sizeof(info);
            info.fMask = SIF_RANGE | SIF_PAGE;
            info.nMin = 0;
            info.nMax = std::max(extents[i] - 1, 0);
            info.nPage = static_cast<UINT>(std::max(pages[i], 0));
            ::SetScrollInfo(FHandle, bars[i], &info, TRUE);
        }
    }
    // Content that now fits scrolls back into view.
    const TRect client = ClientRect();
    const TPoint limit{std::max(content.cx - client.Right, 0), std::max(content.cy - client.Bottom, 0)};
    const TPoint wanted{std::min(FScrollPos.X, limit.X), std::min(FScrollPos.Y, limit.Y)};
    FUpdatingBars = false;
    if (!(wanted == FScrollPos)) SetScrollPos(wanted);
}

void TScrollBox::SetScrollPos(TPoint pos) {
    pos.X = std::max(pos.X, 0);
    pos.Y = std::max(pos.Y, 0);
    if (HandleAllocated()) {
        const TRect client = ClientRect();
        const TSize content = ContentSize();
        pos.X = std::min(pos.X, std::max(content.cx - client.Right, 0));
        pos.Y = std::min(pos.Y, std::max(content.cy - client.Bottom, 0));
    }
    if (pos == FScrollPos) return;
    ScrollBy(FScrollPos.X - pos.X, FScrollPos.Y - pos.Y);
}

void TScrollBox::ScrollBy(int dx, int dy) {
    FScrollPos = {FScrollPos.X - dx, FScrollPos.Y - dy};
    DisableAlign();
    try {
        for (int i = 0; i < ControlCount(); ++i) {
            TControl* c = Controls(i);
            if (c->Align() != alNone) continue;
            c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
        }
    } catch (...) {
        EnableAlign();
        throw;
    }
    EnableAlign();
    if (!HandleAllocated()) return;
    ::SetScrollPos(FHandle, SB_HORZ, FScrollPos.X, TRUE);
    ::SetScrollPos(FHandle, SB_VERT, FScrollPos.Y, TRUE);
    ::InvalidateRect(FHandle, nullptr, TRUE);
}

void TScrollBox::ScrollInView(TControl* control) {
    if (!control || control->Parent() != this || !HandleAllocated()) return;
    const TRect client = ClientRect();
    TPoint pos = FScrollPos;
    if (control->Left() < 0) pos.X += control->Left();
    else if (control->Left() + control->Width() > client.Right)
        pos.X += std::min(control->Left(), control->Left() + control->Width() - client.Right);
    if (control->Top() < 0) pos.Y += control->Top();
    else if (control->Top() + control->Height() > client.Bottom)
        pos.Y += std::min(control->Top(), control->Top() + control->Height() - client.Bottom);
    SetScrollPos(pos);
}

void TScrollBox::Scroll(int bar, WPARAM request) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    ::GetScrollInfo(FHandle, bar, &info);
    int pos = bar == SB_HORZ ? FScrollPos.X : FScrollPos.Y;
    const int page = static_cast<int>(info.nPage);
    switch (LOWORD(request)) {
    case SB_LINEUP: pos -= LineSize; break;
    case SB_LINEDOWN: pos += LineSize; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = info.nTrackPos; break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = info.nMax; break;
    default: return;
    }
    SetScrollPos(bar == SB_HORZ ? TPoint{pos, FScrollPos.Y} : TPoint{FScrollPos.X, pos});
}

void TScrollBox::AlignControls(TControl* aControl, TRect& rect) {
    TWinControl::AlignControls(aControl, rect);
    UpdateScrollBars();
}

void TScrollBox::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_HSCROLL:
        if (message.LParam == 0) {  // our own bar, not a scroll bar child
            Scroll(SB_HORZ, message.WParam);
            return;
        }
        break;
    case WM_VSCROLL:
        if (message.LParam == 0) {
            Scroll(SB_VERT, message.WParam);
            return;
        }
        break;
    case WM_MOUSEWHEEL: {
        const int delta = GET_WHEEL_DELTA_WPARAM(message.WParam);
        SetScrollPos({FScrollPos.X, FScrollPos.Y - delta / WHEEL_DELTA * 3 * LineSize});
        message.Result = 0;
        return;
    }
    case WM_SIZE:
        TWinControl::WndProc(message);
        UpdateScrollBars();
        return;
    case WM_PAINT: UpdateScrollBars(); break;
    case CM_CONTROLLISTCHANGE:
        TWinControl::WndProc(message);
        UpdateScrollBars();
        return;
    default: break;
    }
    TWinControl::WndProc(message);
}

}  // namespace qv
