// The engine's dialogs on top of the system's: the open-file dialog component the main
// window uses, and the engine's message box (a system message box mapped from the
// framework's dialog types and buttons, with the engine's captions and a help callback).
#pragma once
#include "framework/win32/Dialogs.h"

#include <windows.h>

#include <array>
#include <optional>

namespace qv {

// How a file dialog shows zip archives. Kept for stored descriptions; nothing reads it.
enum TsZipShowing { zsAsFolder, zsAsFile };

// The framework's open-file dialog. Skinned, like every system dialog, only when it has
// no owner window (Execute with an owner keeps the system's look).
class TsOpenDialog : public TOpenDialog {
public:
    using TOpenDialog::TOpenDialog;
    TsZipShowing ZipShowing = zsAsFolder;
};

// The engine's captions of its message boxes, indexed by TMsgDlgType; the custom type's
// is empty (an empty title, not the system's default "Error").
extern const std::array<const wchar_t*, 5> Captions;

// The system call that shows a message box; a test may put a recorder in its place.
using TacMessageBoxIndirect = int(WINAPI*)(const MSGBOXPARAMSW* params);
extern TacMessageBoxIndirect acMessageBoxIndirect;

// The message-box style for a dialog type and a set of buttons: its icon, the first
// button set that covers the request, and MB_HELP for a help button.
UINT MessageBoxStyle(TMsgDlgType type, TMsgDlgButtons buttons) noexcept;

// A message box with the type's caption, placed by the system; the pressed button's
// result (IDOK, IDCANCEL, ...).
int sMessageDlg(const String& msg, TMsgDlgType type, TMsgDlgButtons buttons, int helpCtx = 0);
// The same with a caption (none: the type's), a screen position (-1, -1: the system's
// placement; a skinned box is moved there) and a help file for the help button.
int sMessageDlgPosHelp(const std::optional<String>& caption, const String& msg, TMsgDlgType type,
                       TMsgDlgButtons buttons, int helpCtx, int x, int y, const String& helpFile);

// The message box's help callback: shows the topic of the box's help context from the
// help file the box was opened with.
void CALLBACK MsgBoxCallback(LPHELPINFO info);

// Makes the skin engine's error box (ShowError) the engine's message box. Idempotent.
void InstallDialogSeams() noexcept;

}  // namespace qv
