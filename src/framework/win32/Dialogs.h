// The framework's standard dialogs: the open-file dialog wrapper and (below) the
// message dialogs built as framework forms.
#pragma once
#include "framework/Classes.h"
#include "framework/Types.h"

#include <windows.h>
#include <commdlg.h>

#include <cstdint>
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
    String FileName;      // the preset name; the chosen (first) file after Execute
    String DefaultExt;    // without the dot
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
    static std::vector<String> ParseFileList(const wchar_t* buffer, std::size_t length,
                                             std::size_t fileOffset);

protected:
    // Shows the system dialog once (GetOpenFileNameW); the caller reads
    // CommDlgExtendedError when it returns false.
    virtual bool RunDialog(OPENFILENAMEW& ofn);

private:
    std::vector<String> FFiles;
};

}  // namespace qv
