// The window skinning's side of the skin manager: the thread's window-creation hook, the
// hook on the application's hidden window and the list of skinned system dialogs.
#include "framework/win32/Application.h"
#include "framework/win32/Messages.h"
#include "skin/win32/sMessages.h"
#include "skin/win32/sStyleSimply.h"
#include "windows/win32/acDials.h"

namespace qv {
namespace {

// What the application window was last asked to do with its show state; the animations
// that would follow are left to the frame skinner.
enum class TacShowRequest { Ignore, Minimize, Restore };
TacShowRequest LastShowRequest = TacShowRequest::Ignore;

constexpr UINT kMenuItemBorder = 0xBCB3, kMenuWindowBorder = 0xBCB4;

bool SysCommand(TsSkinManager& manager, TMessage& message) {
    // The system keeps its own bits in the low four bits of the command.
    switch (message.WParam & 0xFFF0) {
    case SC_MINIMIZE: LastShowRequest = manager.SkinData.Active ? TacShowRequest::Minimize : LastShowRequest; break;
    case SC_RESTORE: LastShowRequest = TacShowRequest::Restore; break;
    default: LastShowRequest = TacShowRequest::Ignore; break;
    }
    return false;
}

// The taskbar's menu request: the main form's frame skinner drops its skinned system
// menu (with the program's button on the taskbar the request reaches the form itself too).
bool TaskbarMenu(TMessage& message) {
    TCustomForm* main = Application().MainForm();
    if (!main || !GetFormProvider(main)) return false;
    ::SendMessageW(main->Handle(), WM_POPUPSYSTEMMENU, message.WParam, message.LParam);
    message.Result = 0;
    return true;
}

void RepaintAllForms() {
    TScreen& screen = Screen();
    for (int i = screen.FormCount() - 1; i >= 0; --i) {
        TCustomForm* form = screen.Forms(i);
        if (form->HandleAllocated()) SendAMessage(form->Handle(), SKC_REPAINT);
    }
}

// The border of a skinned popup menu: the menu window repaints its frame.
bool MenuBorder(TsSkinManager& manager, TMessage& message) {
    if (!manager.SkinnedPopups) return false;
    for (TacMnuWnd* w : MnuArray)
        if (!w->Destroyed &&
            (message.Msg == kMenuItemBorder || w->CtrlHandle == reinterpret_cast<HWND>(message.LParam)))
            Ac_RedrawNonClient(w->CtrlHandle, false);
    return true;
}

std::vector<HWND> SkinnedDialogWindows() {
    std::vector<HWND> list;
    for (TacProvider* p : acSupportedList)
        if (p && p->ListSW && !p->DialogGone()) list.push_back(p->CtrlHandle);
    return list;
}

}  // namespace

bool MainWindowHook(TsSkinManager& manager, TMessage& message) {
    switch (message.Msg) {
    case WM_SYSCOMMAND: return SysCommand(manager, message);
    case WM_POPUPSYSTEMMENU: return TaskbarMenu(message);
    case WM_THEMECHANGED: return true;
    case CM_ACTIVATE: RepaintAllForms(); return false;
    case kMenuItemBorder:
    case kMenuWindowBorder: return MenuBorder(manager, message);
    default: return false;
    }
}

void InstallWindowSkinningSeams() {
    static bool done = false;
    if (done) return;
    done = true;
    acWindowSkinning.InstallHook = InstallSkinHook;
    acWindowSkinning.UnInstallHook = UnInstallSkinHook;
    acWindowSkinning.MainWindowHook = MainWindowHook;
    acWindowSkinning.SkinnedDialogs = SkinnedDialogWindows;
}

}  // namespace qv
