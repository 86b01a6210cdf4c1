#include "windows/win32/acSystemMenu.h"

#include <algorithm>

namespace qv {

namespace {

struct TStandardItem {
    const wchar_t* Name;
    UINT Command;
    const wchar_t* Text;  // used when the system menu has no such item
};

constexpr TStandardItem kLeading[] = {
    {L"acIR", SC_RESTORE, L"Restore"},   {L"acIM", SC_MOVE, L"Move"},         {L"acIS", SC_SIZE, L"Size"},
    {L"acIN", SC_MINIMIZE, L"Minimize"}, {L"acIX", SC_MAXIMIZE, L"Maximize"},
};
constexpr TStandardItem kClose{L"acIC", SC_CLOSE, L"Close"};

// The item's text split at its tab into caption and shortcut.
void SplitText(const String& text, TsSystemMenu::TItem& item) {
    const std::size_t tab = text.find(L'\t');
    item.Caption = text.substr(0, tab);
    item.ShortCut = tab == String::npos ? String() : text.substr(tab + 1);
}

String MenuText(HMENU menu, UINT id, UINT flags) {
    wchar_t buffer[256] = {};
    const int length = ::GetMenuStringW(menu, id, buffer, 255, flags);
    return String(buffer, static_cast<std::size_t>(std::max(length, 0)));
}

TsSystemMenu::TItem StandardItem(HMENU sysMenu, const TStandardItem& s) {
    TsSystemMenu::TItem item;
    item.Name = s.Name;
    item.Command = s.Command;
    const String text = sysMenu ? MenuText(sysMenu, s.Command, MF_BYCOMMAND) : String();
    SplitText(text.empty() ? String(s.Text) : text, item);
    return item;
}

}  // namespace

TacSysMenuState SysMenuStateOf(LONG_PTR style, bool minimized, bool maximized, bool closeEnabled) noexcept {
    TacSysMenuState s;
    s.VisibleMax = (style & WS_MAXIMIZEBOX) != 0;
    s.VisibleMin = (style & WS_MINIMIZEBOX) != 0;
    s.VisibleSize = (style & WS_THICKFRAME) != 0;
    s.EnabledMax = s.VisibleMax && !maximized;
    s.EnabledMin = s.VisibleMin && !minimized;
    s.EnabledRestore = (minimized || maximized) && (s.VisibleMax || s.VisibleMin);
    s.EnabledMove = !maximized;
    s.EnabledSize = s.VisibleSize && !maximized && !minimized;
    s.EnabledClose = closeEnabled;
    return s;
}

TsSystemMenu::TsSystemMenu(HWND wnd) : FWnd(wnd) {}

TsSystemMenu::~TsSystemMenu() = default;

void TsSystemMenu::ReadItems() {
    HMENU sysMenu = FWnd ? ::GetSystemMenu(FWnd, FALSE) : nullptr;
    FItems.clear();
    for (const TStandardItem& s : kLeading) FItems.push_back(StandardItem(sysMenu, s));
    // Items the application added to its system menu keep their place before close.
    const int count = sysMenu ? ::GetMenuItemCount(sysMenu) : 0;
    for (int i = 0; i < count; ++i) {
        const UINT id = ::GetMenuItemID(sysMenu, i);
        if (id == 0 || id == static_cast<UINT>(-1) || id >= 0xF000) continue;
        TItem item;
        item.Command = id;
        SplitText(MenuText(sysMenu, static_cast<UINT>(i), MF_BYPOSITION), item);
        FItems.push_back(item);
    }
    FItems.push_back(StandardItem(sysMenu, kClose));
    // A window whose system menu greys close (a Yes/No message box) or has no close item
    // at all (taken out to keep the window open) keeps it unavailable, as the system does.
    FCloseEnabled = true;
    if (sysMenu) {
        const UINT state = ::GetMenuState(sysMenu, SC_CLOSE, MF_BYCOMMAND);
        FCloseEnabled = state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) == 0;
    }
}

void TsSystemMenu::UpdateItems(const TacSysMenuState& s) noexcept {
    for (TItem& item : FItems) {
        switch (item.Command) {
        case SC_RESTORE:
            item.Visible = s.VisibleMax || s.VisibleMin;
            item.Enabled = s.EnabledRestore;
            break;
        case SC_MOVE:
            item.Visible = true;
            item.Enabled = s.EnabledMove;
            break;
        case SC_SIZE:
            item.Visible = s.VisibleSize;
            item.Enabled = s.EnabledSize;
            break;
        case SC_MINIMIZE:
            item.Visible = s.VisibleMin;
            item.Enabled = s.EnabledMin;
            break;
        case SC_MAXIMIZE:
            item.Visible = s.VisibleMax;
            item.Enabled = s.EnabledMax;
            break;
        case SC_CLOSE:
            item.Visible = s.VisibleClose;
            item.Enabled = s.EnabledClose;
            break;
        default: break;
        }
    }
}

void TsSystemMenu::UpdateItems() noexcept {
    if (!FWnd || !::IsWindow(FWnd)) return;
    const LONG_PTR style = ::GetWindowLongPtrW(FWnd, GWL_STYLE);
    UpdateItems(SysMenuStateOf(style, ::IsIconic(FWnd) != FALSE, ::IsZoomed(FWnd) != FALSE, FCloseEnabled));
}

UniqueMenu TsSystemMenu::BuildPopup() const {
    UniqueMenu owner(::CreatePopupMenu());
    const HMENU popup = owner.get();
    if (!popup) return owner;
    bool separatorDue = false;
    for (const TItem& item : FItems) {
        if (!item.Visible) continue;
        // The close item stands apart, as in the system's own menu.
        if (item.Command == SC_CLOSE && ::GetMenuItemCount(popup) > 0) separatorDue = true;
        if (separatorDue) ::AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
        separatorDue = false;
        String text = item.Caption;
        if (!item.ShortCut.empty()) text += L"\t" + item.ShortCut;
        ::AppendMenuW(popup, MF_STRING | (item.Enabled ? 0 : MF_GRAYED), item.Command, text.c_str());
    }
    return owner;
}

UINT TsSystemMenu::Drop(int x, int y) {
    UpdateItems();
    return Show(x, y);
}

UINT TsSystemMenu::Drop(int x, int y, const TacSysMenuState& state) {
    UpdateItems(state);
    return Show(x, y);
}

UINT TsSystemMenu::Show(int x, int y) {
    if (!FWnd || !::IsWindow(FWnd)) return 0;
    UniqueMenu popup = BuildPopup();
    if (!popup) return 0;
    const HWND wnd = FWnd;
    const UINT command = static_cast<UINT>(::TrackPopupMenu(popup.get(),
                                                            TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY,
                                                            x, y, 0, wnd, nullptr));
    popup.reset();
    // The command goes out last: the window (and this menu with it) may be gone after it.
    if (command != 0 && ::IsWindow(wnd)) ::SendMessageW(wnd, WM_SYSCOMMAND, command, 0);
    return command;
}

}  // namespace qv
