#include "app/win32/formmain.h"

#include "app/win32/PathListFile.h"
#include "app/win32/Resources.h"
#include "framework/SysUtils.h"
#include "framework/win32/Application.h"
#include "framework/win32/Clipbrd.h"

#include <algorithm>
#include <cwchar>
#include <exception>
#include <utility>

#include <shellapi.h>

namespace qv {

TForm_quorvel::TForm_quorvel(TComponent* owner) : TForm(owner) {}

// The window's description: its own properties, then every component in the order the
// layout places them, each created with its loading flags set.
// NOLINTNEXTLINE(readability-function-size): the main form's description, one property a line
void TForm_quorvel::ReadDescription(TDescriptionReader& reader) {
    SetName(L"Form_quorvel");
    SetCaption(L"Marrowind Quorvel");
    SetClientWidth(329);
    SetClientHeight(494);
    Constraints().SetMinWidth(279);
    Constraints().SetMinHeight(425);
    SetPosition(poScreenCenter);
    ScreenSnap = true;
    SetColor(clBtnFace);
    Font().SetName(L"Tahoma");
    Font().SetHeight(-11);
    Font().SetColor(clWindowText);
    OnCreate = [this](TComponent* sender) { FormCreate(sender); };

    auto button = [&](TsBitBtn*& field, const wchar_t* name, TWinControl* parent, TAlign align, TRect bounds,
                      const wchar_t* caption, int tabOrder, void (TForm_quorvel::*click)(TComponent*)) {
        field = reader.Create<TsBitBtn>(this, name);
        field->SkinData()->SetSkinSection(L"BUTTON");
        field->SetParent(parent);
        field->SetBounds(bounds.Left, bounds.Top, bounds.Right, bounds.Bottom);
        field->SetAlignWithMargins(true);
        field->SetAlign(align);
        field->SetCaption(caption);
        field->SetTabOrder(tabOrder);
        field->OnClick = [this, click](TComponent* sender) { (this->*click)(sender); };
    };

    // Bounds are {left, top, width, height} as the layout leaves them at the designed size.
    button(sBitBtn_Addfilenametolist, L"sBitBtn_Addfilenametolist", this, alTop, {3, 3, 323, 71},
           L"Add filename to list", 0, &TForm_quorvel::sBitBtn_AddfilenametolistClick);
    button(sBitBtn_AddFoldernameToList, L"sBitBtn_AddFoldernameToList", this, alTop, {3, 80, 323, 71},
           L"Add folder name to list", 4, &TForm_quorvel::sBitBtn_AddFoldernameToListClick);

    sListBox1 = reader.Create<TsListBox>(this, L"sListBox1");
    sListBox1->SkinData()->SetSkinSection(L"EDIT");
    sListBox1->SetParent(this);
    sListBox1->SetBounds(5, 157, 319, 203);
    sListBox1->SetAlignWithMargins(true);
    sListBox1->Margins().SetBounds(5, 3, 5, 3);
    sListBox1->SetAlign(alClient);
    sListBox1->SetColor(15790320);
    sListBox1->SetParentFont(false);
    sListBox1->Font().SetName(L"Tahoma");
    sListBox1->Font().SetHeight(-11);
    sListBox1->Font().SetColor(clBlack);
    sListBox1->SetTabOrder(1);
    sListBox1->OnDblClick = [this](TComponent* sender) { sListBox1DblClick(sender); };
    sListBox1->OnKeyDown = [this](TComponent* sender, WORD& key, TShiftState shift) {
        sListBox1KeyDown(sender, key, shift);
    };

    button(sBitBtn_FilenameToClipboard, L"sBitBtn_FilenameToClipboard", this, alBottom, {3, 366, 323, 77},
           L"Copy Selected Filename or Path Text to Clipboard", 2, &TForm_quorvel::sBitBtn_FilenameToClipboardClick);

    sPanel1 = reader.Create<TsPanel>(this, L"sPanel1");
    sPanel1->SkinData()->SetSkinSection(L"RADIOBUTTON");
    sPanel1->SetParent(this);
    sPanel1->SetBounds(0, 446, 329, 48);
    sPanel1->SetAlign(alBottom);
    sPanel1->SetShowCaption(false);
    sPanel1->SetTabOrder(3);

    button(sBitBtn_Clearbox, L"sBitBtn_Clearbox", sPanel1, alLeft, {2, 2, 120, 43}, L"Clear the box", 1,
           &TForm_quorvel::sBitBtn_ClearboxClick);
    sBitBtn_Clearbox->Margins().SetBounds(2, 2, 2, 3);
    button(sBitBtn_DeleteItem, L"sBitBtn_DeleteItem", sPanel1, alClient, {126, 2, 202, 43}, L"Delete selected Item", 0,
           &TForm_quorvel::sBitBtn_DeleteItemClick);
    sBitBtn_DeleteItem->Margins().SetBounds(2, 2, 1, 3);

    sOpenDialog1 = reader.Create<TsOpenDialog>(this, L"sOpenDialog1");
    sOpenDialog1->Options = ofHideReadOnly | ofAllowMultiSelect | ofEnableSizing;
    sOpenDialog1->Title = L"Select a filename to add to this list";

    sPathDialog1 = reader.Create<TsPathDialog>(this, L"sPathDialog1");
    sPathDialog1->Root = L"rfDesktop";

    // The skin manager comes last: assigning its skin name loads the internal skin while
    // the description is read, and its Loaded announces the skin to every window.
    sSkinManager1 = reader.Create<TsSkinManager>(this, L"sSkinManager1");
    TsStoredSkin& internal = sSkinManager1->InternalSkins().Add();
    internal.Name = L"Android OS (internal)";
    internal.Shadow1Color = clBlack;
    internal.Shadow1Offset = 0;
    internal.Shadow1Transparency = 0;
    const TResourceBytes pack = FindResourceBytes(L"ANDROIDOS");
    internal.ReadData(pack.Data, pack.Size);
    sSkinManager1->MenuSupport.IcoLineSkin = L"ICOLINE";
    sSkinManager1->MenuSupport.ExtraLineFont = L"Tahoma";
    for (String& list : sSkinManager1->ThirdParty) list = L" ";
    sSkinManager1->ThirdParty[ThirdButtons] = L"TButton";
    sSkinManager1->SetSkinDirectory(L"c:\\Skins");
    sSkinManager1->SetSkinName(L"Android OS (internal)");
    sSkinManager1->SetSkinInfo(L"7.65");
}

void TForm_quorvel::WndProc(TMessage& message) {
    if (message.Msg == WM_DROPFILES) {
        AcceptFiles(message);
        return;
    }
    TForm::WndProc(message);
}

void TForm_quorvel::CreateWnd() {
    TForm::CreateWnd();
    if (FAcceptsFiles) ::DragAcceptFiles(FHandle, TRUE);
}

void TForm_quorvel::FormCreate(TComponent*) {
    FAcceptsFiles = true;
    ::DragAcceptFiles(Handle(), TRUE);
    const String fileName = ListFileName();
    // Saves of copies that were killed mid-save leave their temporary files behind.
    RemoveStaleTemporaries(fileName);
    if (NoListFileYet(fileName)) return;
    TStringList items;
    bool textIntact = true;
    try {
        FListEncoding = LoadPathList(fileName, items, textIntact);
    } catch (...) {
        // The window still opens: the framework's handler shows the file error.
        FListFileUnread = true;
        Application().HandleException(std::current_exception());
        return;
    }
    sListBox1->Items().Assign(items);
    if (textIntact) return;
    // The list is shown and kept in use, but the file itself goes aside at the first
    // save: writing it back would turn its broken bytes into U+FFFD for good.
    FListFileUnread = true;
    MessageDlg(L"Part of the list file \"" + fileName + L"\" is not valid text and cannot be shown as it " +
                   L"is. The file is kept as it is, under another name, when the list is next saved.",
               mtWarning, mbOK, 0);
}

void TForm_quorvel::sBitBtn_AddfilenametolistClick(TComponent*) {
    if (!sOpenDialog1->Execute(Handle()) || sOpenDialog1->Files().empty()) return;
    for (const String& file : sOpenDialog1->Files()) sListBox1->Items().Insert(0, file);
    SaveData();
}

void TForm_quorvel::sBitBtn_AddFoldernameToListClick(TComponent*) {
    if (!sPathDialog1->Execute()) return;
    sListBox1->Items().Insert(0, sPathDialog1->Path);
    SaveData();
}

void TForm_quorvel::sBitBtn_DeleteItemClick(TComponent*) {
    if (sListBox1->ItemIndex() < 0) return;
    if (MessageDlg(L"This will delete the selected filename from the list.  Are you sure?", mtConfirmation,
                   mbOK | mbCancel, 0) == mrCancel)
        return;
    // Asked again after the question: files dropped while it was open went in on top and
    // moved the selected item down, and the item the user chose is the one to go.
    const int index = sListBox1->ItemIndex();
    if (index < 0) return;
    sListBox1->Items().Delete(index);
    SaveData();
}

void TForm_quorvel::sBitBtn_ClearboxClick(TComponent*) {
    const int shown = sListBox1->Items().Count();
    if (MessageDlg(L"This will clear the list.  Are you sure?", mtConfirmation, mbOK | mbCancel, 0) == mrCancel) return;
    // Files dropped while the question was open went in on top; the user answered for
    // the list as it was shown, so those stay.
    const int dropped = std::max(sListBox1->Items().Count() - shown, 0);
    if (dropped == 0) sListBox1->Items().Clear();
    while (sListBox1->Items().Count() > dropped) sListBox1->Items().Delete(dropped);
    SaveData();
}

void TForm_quorvel::sBitBtn_FilenameToClipboardClick(TComponent*) { CopyToClipboard(); }

void TForm_quorvel::sListBox1DblClick(TComponent*) { CopyToClipboard(); }

void TForm_quorvel::sListBox1KeyDown(TComponent*, WORD& key, TShiftState shift) {
    const TShiftState mods = shift & (ssShift | ssAlt | ssCtrl);
    if (mods == ssCtrl && (key == L'C' || key == VK_INSERT)) {
        key = 0;
        CopyToClipboard();
    } else if (mods == 0 && key == VK_DELETE) {
        key = 0;
        sBitBtn_DeleteItemClick(sBitBtn_DeleteItem);
    }
}

void TForm_quorvel::AddStringToListBox(const String& text) {
    sListBox1->Items().Insert(0, text);
    SaveData();
}

void TForm_quorvel::SaveData() {
    const String fileName = ListFileName();
    TStringList items;
    sListBox1->Items().AssignTo(items);
    const TTextEncoding encoding = EncodingForSave(items, FListEncoding);
    // Keep the file we could not read: the user never saw its list. When it cannot be
    // moved aside this raises, and the list is not saved over it.
    if (FListFileUnread) MoveUnreadableListAside(fileName);
    SavePathList(fileName, std::move(items), encoding);
    FListEncoding = encoding;
    FListFileUnread = false;
}

void TForm_quorvel::CopyToClipboard() {
    const int index = sListBox1->ItemIndex();
    if (index < 0) return;
    Clipboard().SetAsText(sListBox1->Items()[index]);
    ShowMessage(L"Copied to Clipboard: " + Clipboard().AsText());
}

void TForm_quorvel::AcceptFiles(TMessage& message) {
    const HDROP drop = reinterpret_cast<HDROP>(message.WParam);
    // The drop is this window's to free whatever it holds, an empty one too.
    struct DropRelease {
        HDROP H;
        explicit DropRelease(HDROP h) noexcept : H(h) {}
        DropRelease(const DropRelease&) = delete;
        DropRelease& operator=(const DropRelease&) = delete;
        ~DropRelease() { ::DragFinish(H); }
    } release{drop};
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    message.Result = 0;
    if (static_cast<int>(count) <= 0) return;
    // A failed save must not drop the rest of the drop: every path goes into the list,
    // and the first error is reported once all of them are in.
    std::exception_ptr firstError;
    for (UINT i = 0; i < count; ++i) {
        // Ask for the length first so a long path is kept whole: a cut path names nothing.
        const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
        String path(length + 1, L'\0');
        const UINT got = ::DragQueryFileW(drop, i, path.data(), length + 1);
        path.resize(std::min(got, length));
        path.resize(std::wcslen(path.c_str()));
        // A drop from some sources reports a name that comes back empty: it names nothing.
        if (path.empty()) continue;
        try {
            AddStringToListBox(path);
        } catch (...) {
            if (!firstError) firstError = std::current_exception();
        }
    }
    if (firstError) std::rethrow_exception(firstError);
}

}  // namespace qv
