// The skinned window's system menu: a pop-up that mirrors the window's own system menu
// (restore, move, size, minimize, maximize, the application's own items, close), shown
// and enabled by the window's styles and state, sending the chosen command to the window
// as WM_SYSCOMMAND. Used by the form frame skinner and by the system-dialog wrapper,
// which both take WS_SYSMENU away so that the system draws no buttons of its own.
#pragma once
#include "framework/Types.h"
#include "framework/win32/Handles.h"

#include <windows.h>

#include <vector>

namespace qv {

// Which items show and which are enabled.
struct TacSysMenuState {
    bool VisibleMax = false, VisibleMin = false, VisibleSize = false, VisibleClose = true;
    bool EnabledMax = false, EnabledMin = false, EnabledMove = true, EnabledRestore = false, EnabledSize = false;
    bool EnabledClose = true;
};

// The state for a window style (WS_MAXIMIZEBOX, WS_MINIMIZEBOX and WS_THICKFRAME stay
// meaningful after WS_SYSMENU is gone), its minimized and maximized state, and whether
// its close command is allowed.
TacSysMenuState SysMenuStateOf(LONG_PTR style, bool minimized, bool maximized, bool closeEnabled) noexcept;

class TsSystemMenu {
public:
    struct TItem {
        String Name;      // "acIR", "acIM", ... for the standard items
        String Caption;   // the text before the tab
        String ShortCut;  // the text after it
        UINT Command = 0;
        bool Visible = true;
        bool Enabled = true;
    };

    explicit TsSystemMenu(HWND wnd);
    ~TsSystemMenu();
    TsSystemMenu(const TsSystemMenu&) = delete;
    TsSystemMenu& operator=(const TsSystemMenu&) = delete;

    // Reads the item texts and the close command's state from the window's own system
    // menu. Call while the window still has WS_SYSMENU.
    void ReadItems();
    // Whether the system menu allowed SC_CLOSE when the items were read.
    bool CloseEnabled() const noexcept { return FCloseEnabled; }
    // Shows and enables the items for the window's present state.
    void UpdateItems(const TacSysMenuState& state) noexcept;
    void UpdateItems() noexcept;
    const std::vector<TItem>& Items() const noexcept { return FItems; }

    // Shows the menu with its top-left at the screen point and sends the chosen command
    // to the window. Returns the command (0 when the menu was dismissed). The window may
    // be gone when this returns.
    UINT Drop(int x, int y);
    // The same for a state the caller worked out (a dialog whose title buttons follow
    // the style it had before WS_SYSMENU was taken).
    UINT Drop(int x, int y, const TacSysMenuState& state);

private:
    UniqueMenu BuildPopup() const;
    UINT Show(int x, int y);
    HWND FWnd;
    std::vector<TItem> FItems;
    bool FCloseEnabled = true;
};

}  // namespace qv
