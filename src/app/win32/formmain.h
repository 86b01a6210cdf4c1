// The main window: the path list with its command buttons, the two dialogs and the
// skin manager.
#pragma once
#include "controls/win32/sBitBtn.h"
#include "controls/win32/sListBox.h"
#include "controls/win32/sPanel.h"
#include "framework/StringList.h"
#include "framework/win32/Buttons.h"
#include "framework/win32/Dialogs.h"
#include "framework/win32/ExtCtrls.h"
#include "framework/win32/Forms.h"
#include "framework/win32/StdCtrls.h"
#include "skin/win32/sSkinManager.h"
#include "windows/win32/acPathDialog.h"
#include "windows/win32/sDialogs.h"

namespace qv {

class TForm_quorvel : public TForm {
public:
    explicit TForm_quorvel(TComponent* owner);
    String ClassName() const override { return L"TForm_quorvel"; }

    TsBitBtn* sBitBtn_Addfilenametolist = nullptr;
    TsBitBtn* sBitBtn_AddFoldernameToList = nullptr;
    TsListBox* sListBox1 = nullptr;
    TsBitBtn* sBitBtn_FilenameToClipboard = nullptr;
    TsPanel* sPanel1 = nullptr;
    TsBitBtn* sBitBtn_Clearbox = nullptr;
    TsBitBtn* sBitBtn_DeleteItem = nullptr;
    TsOpenDialog* sOpenDialog1 = nullptr;
    TsPathDialog* sPathDialog1 = nullptr;
    TsSkinManager* sSkinManager1 = nullptr;

    void FormCreate(TComponent* sender);
    void sBitBtn_AddfilenametolistClick(TComponent* sender);
    void sBitBtn_AddFoldernameToListClick(TComponent* sender);
    void sBitBtn_DeleteItemClick(TComponent* sender);
    void sBitBtn_ClearboxClick(TComponent* sender);
    void sBitBtn_FilenameToClipboardClick(TComponent* sender);
    void sListBox1DblClick(TComponent* sender);
    // Ctrl+C and Ctrl+Insert copy the selected path as the copy button does; Delete
    // deletes it as the delete button does (with the same question).
    void sListBox1KeyDown(TComponent* sender, WORD& key, TShiftState shift);
    void AddStringToListBox(const String& text);
    void SaveData();
    void CopyToClipboard();
    // Inserts every path of a shell drop (HDROP) at the top, saving after each.
    void AcceptFiles(TMessage& message);

    // The encoding later saves use: the one of the file read at start-up (ANSI when
    // there was none), switched to UTF-8 once the list holds text ANSI cannot keep.
    TTextEncoding ListEncoding() const noexcept { return FListEncoding; }

protected:
    void ReadDescription(TDescriptionReader& reader) override;
    void WndProc(TMessage& message) override;
    // A recreated window is registered as a drop target again.
    void CreateWnd() override;

private:
    TTextEncoding FListEncoding = teAnsi;
    // Set when the list file existed at start-up but could not be read, or not as valid
    // text: the first save then moves that file aside instead of overwriting a list the
    // user never saw whole.
    bool FListFileUnread = false;
    bool FAcceptsFiles = false;
};

}  // namespace qv
