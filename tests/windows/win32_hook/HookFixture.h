// A skinned form whose manager installs the window-creation hook, in-memory dialog
// templates to feed the hook real system dialogs, and the check that no test leaves a
// hook, a provider or a menu wrapper behind for the next one.
#pragma once
#include "controls/win32_skinned/SkinnedWindow.h"
#include "windows/win32/acDials.h"

#include <commctrl.h>

#include <vector>

namespace qv::test {

// One child of a dialog template: a predefined class (0x80 button, 0x82 static) or a
// class name.
struct DialogItem {
    WORD Atom = 0;
    const wchar_t* ClassName = nullptr;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    short X = 0, Y = 0, Cx = 60, Cy = 14;
    WORD Id = 0;
    const wchar_t* Text = L"";
};

// DLGTEMPLATE and DLGITEMTEMPLATE records, each item DWORD-aligned, as the system reads them.
class DialogTemplate {
public:
    explicit DialogTemplate(DWORD style, const std::vector<DialogItem>& items = {}) {
        Align(4);
        const DLGTEMPLATE head{style, 0, static_cast<WORD>(items.size()), 10, 10, 160, 90};
        Put(&head, sizeof head);
        Word(0);  // no menu
        Word(0);  // the dialog class
        Text(L"Hooked");
        for (const DialogItem& item : items) AddItem(item);
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(FBytes.data()); }

private:
    void AddItem(const DialogItem& item) {
        Align(4);
        const DLGITEMTEMPLATE rec{
            item.Style | WS_CHILD | WS_VISIBLE, item.ExStyle, item.X, item.Y, item.Cx, item.Cy, item.Id};
        Put(&rec, sizeof rec);
        if (item.ClassName) {
            Text(item.ClassName);
        } else {
            Word(0xFFFF);
            Word(item.Atom);
        }
        Text(item.Text);
        Word(0);  // no creation data
    }
    void Align(std::size_t n) {
        while (FBytes.size() % n) FBytes.push_back(0);
    }
    void Put(const void* p, std::size_t n) {
        const auto* b = static_cast<const std::uint8_t*>(p);
        FBytes.insert(FBytes.end(), b, b + n);
    }
    void Word(WORD w) { Put(&w, sizeof w); }
    void Text(const wchar_t* s) {
        do Word(static_cast<WORD>(*s));
        while (*s++);
    }
    std::vector<std::uint8_t> FBytes;
};

inline constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE;

// A modeless dialog that adds a toolbar to itself while it initialises when lParam is 1.
inline INT_PTR CALLBACK HookedDialogProc(HWND wnd, UINT msg, WPARAM, LPARAM lParam) {
    if (msg != WM_INITDIALOG) return FALSE;
    if (lParam == 1)
        ::CreateWindowExW(0, TOOLBARCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, wnd, nullptr, nullptr,
                          nullptr);
    return TRUE;
}

inline HWND OpenDialog(const DialogTemplate& t, HWND owner = nullptr, bool withToolbar = false) {
    HWND wnd = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), t.Get(), owner, HookedDialogProc,
                                            withToolbar ? 1 : 0);
    // A shown dialog is taken, or not, when it is activated; then whatever that queued.
    if (::IsWindowVisible(wnd)) PumpUntil([&] { return ::GetActiveWindow() == wnd; });
    Application().ProcessMessages();
    return wnd;
}

// The window procedure is the class's own: nothing stands in front of it.
inline bool OwnProcedure(HWND wnd) {
    return ::GetWindowLongPtrW(wnd, GWLP_WNDPROC) == static_cast<LONG_PTR>(::GetClassLongPtrW(wnd, GCLP_WNDPROC));
}

class HookedWindow : public SkinnedWindow {
protected:
    void SetUp() override {
        InstallWindowSkinningSeams();
        ::InitCommonControls();
        SkinnedWindow::SetUp();
        ASSERT_NE(HookCallback, nullptr) << "the default manager installs the hook with its skin";
    }
    void TearDown() override {
        for (HWND w : dialogs)
            if (::IsWindow(w)) ::DestroyWindow(w);
        SkinnedWindow::TearDown();
        // The manager went with the form: its skin is removed and nothing may be left
        // that a later test would meet.
        ASSERT_EQ(HookCallback, nullptr);
        ASSERT_EQ(DefaultManager, nullptr);
        for (TacProvider* p : acSupportedList) ASSERT_EQ(p, nullptr);
        ASSERT_TRUE(MnuArray.empty());
    }
    HWND Dialog(const DialogTemplate& t, HWND owner = nullptr, bool withToolbar = false) {
        dialogs.push_back(OpenDialog(t, owner, withToolbar));
        return dialogs.back();
    }
    std::vector<HWND> dialogs;
};

}  // namespace qv::test
