// The framework's standard dialogs: the open-file dialog wrapper and (below) the
// message dialogs built as framework forms.
#pragma once
#include "framework/Classes.h"
#include "framework/Types.h"
#include "framework/win32/Forms.h"
#include "framework/win32/StdCtrls.h"

#include <windows.h>
#include <commdlg.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace qv {

// When true, the open-file dialog is the system's newest implementation; when false the
// classic explorer-style "#32770" dialog, which the skin engine can take over. On Windows
// Vista and later a GetOpenFileNameW call without a hook shows the newer shell dialog
// (other window classes inside, no hook notifications); giving the dialog a hook
// procedure keeps the classic explorer dialog. Under Wine both are the classic dialog.
extern bool UseLatestCommonDialogs;

enum TOpenOption : std::uint32_t {
    ofReadOnly = 1u << 0,
    ofOverwritePrompt = 1u << 1,
    ofHideReadOnly = 1u << 2,
    ofNoChangeDir = 1u << 3,
    ofShowHelp = 1u << 4,
    ofNoValidate = 1u << 5,
    ofAllowMultiSelect = 1u << 6,
    ofExtensionDifferent = 1u << 7,
    ofPathMustExist = 1u << 8,
    ofFileMustExist = 1u << 9,
    ofCreatePrompt = 1u << 10,
    ofShareAware = 1u << 11,
    ofNoReadOnlyReturn = 1u << 12,
    ofNoTestFileCreate = 1u << 13,
    ofNoNetworkButton = 1u << 14,
    ofNoDereferenceLinks = 1u << 15,
    ofEnableIncludeNotify = 1u << 16,
    ofEnableSizing = 1u << 17,
    ofDontAddToRecent = 1u << 18,
    ofForceShowHidden = 1u << 19,
};
using TOpenOptions = std::uint32_t;  // TOpenOption bits

// The system's open-file dialog (always explorer style).
class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* owner);
    TOpenDialog(const TOpenDialog&) = delete;
    TOpenDialog& operator=(const TOpenDialog&) = delete;
    ~TOpenDialog() override;

    // Shows the dialog modally; true when the user confirmed. Files then holds the chosen
    // files (full paths) in the dialog's order and FileName the first of them.
    virtual bool Execute();
    bool Execute(HWND parentWnd);

    TOpenOptions Options = ofHideReadOnly | ofEnableSizing;
    String Title;
    // "Description|pattern|Description|pattern..."; empty shows every file.
    String Filter;
    int FilterIndex = 1;  // 1-based, updated by Execute
    String InitialDir;
    String FileName;    // the preset name; the chosen (first) file after Execute
    String DefaultExt;  // without the dot
    // The dialog's owner; none means the thread's active window.
    HWND ParentWnd = nullptr;

    const std::vector<String>& Files() const noexcept { return FFiles; }

    // Characters the name buffer holds at first. It grows just before the dialog acts
    // on OK when the typed or selected names may not fit, and otherwise when the system
    // reports that the selection did not fit (the dialog is then shown again).
    int InitialBufferLength = 8192;

    // Splits a result buffer as the dialog fills it: either one full path, or (when the
    // name offset points just past the first null) a folder followed by names, each
    // ended by a null, with an empty name after the last. `length` is the buffer's size
    // in characters; nothing past it is read.
    static std::vector<String> ParseFileList(const wchar_t* buffer, std::size_t length, std::size_t fileOffset);

protected:
    // Shows the system dialog once (GetOpenFileNameW); the caller reads
    // CommDlgExtendedError when it returns false.
    virtual bool RunDialog(OPENFILENAMEW& ofn);

private:
    void FillRequest(OPENFILENAMEW& ofn, HWND parentWnd, std::vector<wchar_t>& filter, std::vector<wchar_t>& buffer,
                     bool classic) const;
    void TakeAnswer(const OPENFILENAMEW& ofn);

    std::vector<String> FFiles;
};

// ---- message dialogs ----

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn : std::uint32_t {
    mbYes = 1u << 0,
    mbNo = 1u << 1,
    mbOK = 1u << 2,
    mbCancel = 1u << 3,
    mbAbort = 1u << 4,
    mbRetry = 1u << 5,
    mbIgnore = 1u << 6,
    mbAll = 1u << 7,
    mbNoToAll = 1u << 8,
    mbYesToAll = 1u << 9,
    mbHelp = 1u << 10,
    mbClose = 1u << 11,
};
using TMsgDlgButtons = std::uint32_t;  // TMsgDlgBtn bits
constexpr TMsgDlgButtons mbYesNo = mbYes | mbNo;
constexpr TMsgDlgButtons mbYesNoCancel = mbYes | mbNo | mbCancel;
constexpr TMsgDlgButtons mbOKCancel = mbOK | mbCancel;
constexpr TMsgDlgButtons mbAbortRetryIgnore = mbAbort | mbRetry | mbIgnore;
constexpr TMsgDlgButtons mbAbortIgnore = mbAbort | mbIgnore;

// The framework's message dialog: an icon for its type, the text in a static text window
// named "Message" (readable by other programs) and one push button per requested button, named after its kind ("OK",
// "Cancel", "Yes", ...). Window class "TMessageForm".
class TMessageForm : public TForm {
public:
    explicit TMessageForm(TComponent* owner);
    TMessageForm(const TMessageForm&) = delete;
    TMessageForm& operator=(const TMessageForm&) = delete;
    ~TMessageForm() override;
    String ClassName() const override { return L"TMessageForm"; }

    TMsgDlgType DialogType() const noexcept { return FDialogType; }

protected:
    void PaintWindow(HDC dc) override;

private:
    friend std::unique_ptr<TMessageForm> CreateMessageDialog(const String&, TMsgDlgType, TMsgDlgButtons, const String*);
    TMsgDlgType FDialogType = mtCustom;
    HICON FIcon = nullptr;  // a shared system icon: not destroyed
    TRect FIconRect;
};

// The caption of a dialog type: "Warning", "Error", "Information", "Confirmation";
// the application title for mtCustom.
String MessageDialogCaption(TMsgDlgType type);

// Builds (does not show) a message dialog, centred on the screen and sized to its text.
// caption, when given, replaces the type's caption.
std::unique_ptr<TMessageForm> CreateMessageDialog(const String& msg, TMsgDlgType type, TMsgDlgButtons buttons,
                                                  const String* caption = nullptr);

// Shows a message dialog modally and returns the modal result of the button pressed;
// Escape presses the Cancel button (No, then OK, stand in when there is none) and the
// close box answers mrCancel.
int MessageDlg(const String& msg, TMsgDlgType type, TMsgDlgButtons buttons, int helpCtx = 0);

// A message with one OK button, captioned with the application title.
void ShowMessage(const String& msg);

// Shows an exception's text as an error message dialog captioned with the application
// title. Installed as the application's ShowExceptionMessage when this unit is linked.
void ShowExceptionMessageDialog(const String& text);

}  // namespace qv
