// Automatic skinning: a window-creation hook on the user-interface thread looks at every
// top-level window the thread creates or activates and puts it under the skin when the
// rules allow. A framework form gets a frame skinner made at run time; a bare system
// dialog ("#32770" without an owner) gets a dialog-frame wrapper and one wrapper per
// child window, chosen by the child's window class; popup menus get a menu wrapper.
// Everything here runs on the user-interface thread only.
#pragma once
#include "controls/win32/acScrollWnd.h"
#include "windows/win32/acDialogWnd.h"
#include "framework/win32/Forms.h"
#include "skin/win32/sSkinManager.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace qv {

class TsSkinProvider;

// ---------------------------------------------------------------- the class table

enum class TacChildKind : std::uint8_t {
    None,
    EdgeStatic,
    IconStatic,
    TextStatic,
    TransPanel,
    Panel,
    SilentPanel,
    Edit,
    GroupBox,
    CheckBox,
    PushButton,
    ComboBox,
    ComboList,
    ComboBoxEx,
    Sizer,
    TabControl,
    ListView,
    Spin,
    TrackBar,
    ListBox,
    Link,
    ToolBar,
    TreeView
};
struct TacChildRule {
    TacChildKind Kind = TacChildKind::None;
    const wchar_t* Section = nullptr;
};
// The wrapper kind and default section of a dialog's child window (lower-case class
// name, style, extended style, visible); Kind None: the child keeps its own look.
TacChildRule ChildRuleFor(const String& lowerClass, LONG_PTR style, LONG_PTR exStyle, bool visible) noexcept;

// ---------------------------------------------------------------- wrappers made here

// A skinned popup menu window ("#32768"); it keeps its visual style.
class TacMnuWnd : public TacScrollWnd {
public:
    TacMnuWnd(HWND wnd, TsSkinManager* manager) : TacScrollWnd(wnd, nullptr, manager, L"MAINMENU", false) {}
    bool IsMenuWrapper() const noexcept override { return true; }
};

// ---------------------------------------------------------------- providers

// One per automatically skinned top-level window. For a framework form it is a
// component of the form (it dies with it) and its frame skinner (sp) is the form's too;
// for a system dialog it belongs to the hook and owns the dialog's wrappers.
class TacProvider : public TComponent, public IacDialogProvider {
public:
    explicit TacProvider(TComponent* owner);
    TacProvider(const TacProvider&) = delete;
    TacProvider& operator=(const TacProvider&) = delete;
    ~TacProvider() override;

    // Gives form a frame skinner made at run time.
    void InitForm(TCustomForm* form);
    // Wraps dialog wnd and its children; false when the dialog was not taken.
    bool InitSkin(HWND wnd);
    // Wraps every child of wnd not wrapped yet, descendants before their parents.
    bool InitHwndControls(HWND wnd);
    // The same for the dialog (asked by its frame wrapper when children appear).
    bool InitHwndControls() override { return !CtrlHandle || InitHwndControls(CtrlHandle); }
    // Wraps child by the class table; false only when child is no window.
    bool AddControl(HWND child);
    TacMainWnd* FindCtrlInList(HWND child) const noexcept;
    // Prints every visible child of wnd into dc at its place in wnd.
    void PrintHwndControls(HWND wnd, HDC dc);
    // The dialog is gone (its wrapper saw WM_NCDESTROY).
    bool DialogGone() const noexcept;

    TCustomForm* FForm = nullptr;
    bool BiDiLeft = false;
    HWND CtrlHandle = nullptr;
    TsSkinProvider* sp = nullptr;             // the form's run-time frame skinner (the form owns it)
    TacDialogWnd* ListSW = nullptr;           // the dialog's frame wrapper, owned
    std::vector<TacMainWnd*> acSkinnedCtrls;  // child wrappers, owned

private:
    bool WrapTree(HWND wnd);
    void DropGoneWrappers() noexcept;
    void PrintChildren(HWND wnd, HWND dialog, HDC dc);
    void FreeWrappers() noexcept;
    bool FWrapping = false;
};

// ---------------------------------------------------------------- module state

extern HHOOK HookCallback;
// Non-owning; an entry becomes nullptr when its provider dies (never erased while a walk
// may run).
extern std::vector<TacProvider*> acSupportedList;
extern std::vector<TacMnuWnd*> MnuArray;
// Where the next skinned system dialog is moved: DlgLeft and DlgTop (acDialogWnd.h).
// How many skinned system dialogs may be visible before a further one without a
// toolbar is left alone.
extern int ac_DialogsLevel;
// Class names of forms never skinned automatically (exact, case-sensitive).
extern std::vector<String> ThirdPartySkipForms;

LRESULT CALLBACK SkinHookCBT(int code, WPARAM wParam, LPARAM lParam);
// True when wnd is taken care of: skinned now, already skinned, or met again later.
bool AddSupportedForm(HWND wnd, const CREATESTRUCTW* params = nullptr);
String GetWndClassName(HWND wnd);
TacProvider* FindFormInList(HWND wnd) noexcept;
TCustomForm* FindFormOnScreen(HWND wnd) noexcept;
int VisibleDlgCount() noexcept;
bool ControlExists(HWND wnd, const String& lowerClass);
// Creates (active manager) or frees the dialog-frame wrapper of wnd.
void InitDialog(HWND wnd, TacDialogWnd*& wrapper, TacProvider* provider);
// Frees the providers of destroyed dialogs and the wrappers of destroyed menus.
void CleanArray();
void ClearMnuArray() noexcept;

// The hook's life on the manager's side.
void InstallSkinHook(TsSkinManager& manager);
void UnInstallSkinHook(TsSkinManager& manager);
// The manager's hook on the application window; true when consumed.
bool MainWindowHook(TsSkinManager& manager, TMessage& message);

// Plugs the hook, the application-window hook and the list of skinned dialogs into the
// skin manager. Idempotent; call before the first form is created.
void InstallWindowSkinningSeams();

}  // namespace qv
