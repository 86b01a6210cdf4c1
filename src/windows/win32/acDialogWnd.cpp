#include "windows/win32/acDialogWnd.h"

#include "skin/win32/sMessages.h"

#include <windowsx.h>

namespace qv {

int DlgLeft = -1, DlgTop = -1;

struct TacDialogWnd::TFrameState {};

TacDialogWnd::TacDialogWnd(HWND wnd, TsCommonData* binding, TsSkinManager* manager, const String& section,
                           bool repaint)
    : TacScrollWnd(wnd, binding, manager, section, repaint), F(std::make_unique<TFrameState>()) {
    // The position asked for belongs to this dialog alone.
    MoveToLeft = DlgLeft;
    MoveToTop = DlgTop;
    DlgLeft = DlgTop = -1;
}

TacDialogWnd::~TacDialogWnd() = default;

bool TacDialogWnd::HasCloseButton() const noexcept { return (dwStyle & WS_SYSMENU) != 0; }

void TacDialogWnd::InitParams() {}

void TacDialogWnd::UpdateIconsIndexes() {}

void TacDialogWnd::PaintAll() {}

void TacDialogWnd::PrepareCache() {}

void TacDialogWnd::DropSysMenu(int, int) {}

void TacDialogWnd::acWndProc(TMessage& message) { TacScrollWnd::acWndProc(message); }

}  // namespace qv
