#include "windows/win32/acPathDialog.h"

#include "windows/win32/sDialogs.h"

#include "framework/SysUtils.h"
#include "framework/win32/Application.h"
#include "framework/win32/Dialogs.h"
#include "framework/win32/Handles.h"

#include <windows.h>
#include <shellapi.h>

#include <climits>
#include <memory>

namespace qv {

namespace {

constexpr int kGripSize = 16;
constexpr int kRootButtonHeight = 70;
constexpr int kRootColumnWidth = 101;

// COM for the shell's folder objects, balanced only when this call initialised it.
// Declared before the form so every interface the tree holds is released first.
class ComScope {
public:
    ComScope() noexcept : FResult(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(FResult)) ::CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT FResult;
};

// The current directory is the process's; a chooser that was told to change it does,
// but nothing else here should.
bool IsDirectory(const String& path) { return !path.empty() && DirectoryExists(path); }

}  // namespace

String GetUniName(const String& parent) {
    String base = parent;
    if (!base.empty() && base.back() == L'/') base.back() = L'\\';
    base = IncludeTrailingPathDelimiter(base);
    // The number follows the words directly: "New folder1", "New folder2", ...
    for (int i = 1; i < INT_MAX; ++i) {
        const String candidate = base + L"New folder" + IntToStr(i);
        if (!DirectoryExists(candidate)) return candidate;
    }
    return {};
}

// ---------------------------------------------------------------- TPathDialogForm

TPathDialogForm::TPathDialogForm(TComponent* owner) : TForm(owner) {}

// The form description, property by property as stored: one long list reads best whole.
// NOLINTNEXTLINE(readability-function-size): the dialog's description, one property a line
void TPathDialogForm::ReadDescription(TDescriptionReader& reader) {
    SetName(L"PathDialogForm");
    SetCaption(L"Select directory");
    // The stored size is the outer one; the minimum too.
    SetBounds(0, 0, 350, 420);
    ScaleOuterSize = true;
    Constraints().SetMinWidth(275);
    Constraints().SetMinHeight(250);
    SetPosition(poScreenCenter);
    // Close only: a minimised modal chooser would leave a disabled window and nothing to click.
    SetBorderIcons(biSystemMenu);
    SetColor(clBtnFace);
    Font().SetName(L"Tahoma");
    Font().SetHeight(-11);

    sLabel1 = reader.Create<TLabel>(this, L"sLabel1");
    sLabel1->SetParent(this);
    sLabel1->SetBounds(8, 3, 40, 13);
    sLabel1->SetVisible(false);

    sShellTreeView1 = reader.Create<TsShellTreeView>(this, L"sShellTreeView1");
    sShellTreeView1->SetParent(this);
    sShellTreeView1->SetBounds(8, 20, 321, 319);
    sShellTreeView1->SetTabOrder(0);
    sShellTreeView1->Indent = 19;
    sShellTreeView1->SetShowRoot(false);
    sShellTreeView1->SetHideSelection(false);
    sShellTreeView1->SkinData()->SetSkinSection(L"EDIT");
    sShellTreeView1->IncludeHidden = true;
    sShellTreeView1->IncludeNonFolders = false;
    sShellTreeView1->UseShellImages = true;
    sShellTreeView1->BoundLabel()->SetActive(true);
    sShellTreeView1->BoundLabel()->SetText(L" ");
    sShellTreeView1->BoundLabel()->SetIndent(4);
    sShellTreeView1->BoundLabel()->SetLayout(sclTopLeft);
    sShellTreeView1->OnChange = [this](TComponent* sender, TTreeNode* node) { sShellTreeView1Change(sender, node); };

    auto button = [&](TsBitBtn*& field, const wchar_t* name, int left, const wchar_t* caption, int tabOrder,
                      void (TPathDialogForm::*click)(TComponent*)) {
        field = reader.Create<TsBitBtn>(this, name);
        field->SetParent(this);
        field->SetBounds(left, 344, 75, 25);
        field->SetCaption(caption);
        field->SetTabOrder(tabOrder);
        field->SkinData()->SetSkinSection(L"BUTTON");
        field->SetShowFocus(false);
        field->OnClick = [this, click](TComponent* sender) { (this->*click)(sender); };
    };
    button(sBitBtn1, L"sBitBtn1", 173, L"OK", 1, &TPathDialogForm::sBitBtn1Click);
    sBitBtn1->SetDefault(true);
    sBitBtn1->ModalResult = mrOk;
    button(sBitBtn2, L"sBitBtn2", 250, L"Cancel", 2, &TPathDialogForm::sBitBtn2Click);
    sBitBtn2->Cancel = true;
    sBitBtn2->ModalResult = mrCancel;
    button(sBitBtn3, L"sBitBtn3", 12, L"Create", 3, &TPathDialogForm::sBitBtn3Click);
    sBitBtn3->SetEnabled(false);

    sScrollBox1 = reader.Create<TScrollBox>(this, L"sScrollBox1");
    sScrollBox1->SetParent(this);
    sScrollBox1->SetBounds(8, 20, kRootColumnWidth, 318);
    sScrollBox1->SetVisible(false);

    sSkinProvider1 = reader.Create<TsSkinProvider>(this, L"sSkinProvider1");
    sSkinProvider1->SetSkinSection(L"DIALOG");
    sSkinProvider1->GripMode = gmRightBottom;
    sSkinProvider1->ShowAppIcon = false;
}

void TPathDialogForm::InitLngCaptions() {
    SetCaption(L"Select directory");
    sLabel1->SetCaption(L"Root :");
    sBitBtn1->SetCaption(L"OK");
    sBitBtn2->SetCaption(L"Cancel");
    sBitBtn3->SetCaption(L"Create");
}

void TPathDialogForm::sShellTreeView1Change(TComponent*, TTreeNode*) {
    // Virtual folders (the computer, the network) have no directory to return or to
    // create a folder in.
    TacShellFolder* folder = sShellTreeView1->SelectedFolder();
    const bool real = folder && folder->IsFileSystemFolder();
    sBitBtn1->SetEnabled(real);
    sBitBtn3->SetEnabled(real);
}

void TPathDialogForm::sBitBtn1Click(TComponent*) {
    if (!sShellTreeView1->IsEditing()) return;
    // Enter on the button while a name is typed: take the name, stay open.
    SetModalResult(mrNone);
    if (TTreeNode* node = sShellTreeView1->Selected()) node->EndEdit(false);
    sShellTreeView1->SetFocus();
}

void TPathDialogForm::sBitBtn2Click(TComponent*) {
    // Escape (or Cancel) while a name is typed drops the typing, not the dialog.
    if (!sShellTreeView1->IsEditing()) return;
    SetModalResult(mrNone);
    if (TTreeNode* node = sShellTreeView1->Selected()) node->EndEdit(true);
    sShellTreeView1->SetFocus();
}

void TPathDialogForm::sBitBtn3Click(TComponent*) {
    TTreeNode* parent = sShellTreeView1->Selected();
    TacShellFolder* folder = sShellTreeView1->Folders(parent);
    if (!parent || !folder) return;
    const String name = GetUniName(folder->PathName());
    if (name.empty() || !::CreateDirectoryW(name.c_str(), nullptr) || !DirectoryExists(name)) {
        sMessageDlg(L"Directory " + name + L" can`t be created!", mtError, mbOK, 0);
        return;
    }
    sShellTreeView1->Refresh(parent);
    sShellTreeView1->RefreshTreeScrolls();
    TTreeNode* created = nullptr;
    for (TTreeNode* child = parent->GetFirstChild(); child; child = child->GetNextSibling())
        if (TacShellFolder* f = sShellTreeView1->Folders(child); f && SameText(f->PathName(), name)) {
            created = child;
            break;
        }
    if (!created) {
        sShellTreeView1->SetPath(name);
        created = sShellTreeView1->Selected();
    }
    if (!created) return;
    sShellTreeView1->SetSelected(created);
    sShellTreeView1->SetFocus();
    created->Expand(false);
    // Last: selecting, focusing or setting a path would end the edit again.
    created->EditText();
}

void TPathDialogForm::GenerateButtons() {
    const TacRootFolder roots[] = {rfDesktop, rfMyComputer, rfPersonal, rfNetwork};
    int top = 0;
    for (TacRootFolder root : roots) {
        LPITEMIDLIST pidl = nullptr;
        if (FAILED(::SHGetSpecialFolderLocation(nullptr, RootFolderCsidl(root), &pidl)) || !pidl) continue;
        UniquePidl item(pidl);
        SHFILEINFOW info{};
        ::SHGetFileInfoW(reinterpret_cast<LPCWSTR>(item.get()), 0, &info, sizeof info,
                         SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_ICON | SHGFI_LARGEICON);
        auto* button = new TsBitBtn(sScrollBox1);
        button->AfterConstruction();
        button->SetParent(sScrollBox1);
        button->SetBounds(0, top, qv::ScaleForDpi(kRootColumnWidth - 4, Dpi()),
                          qv::ScaleForDpi(kRootButtonHeight, Dpi()));
        button->SetAlign(alTop);
        button->SkinData()->SetSkinSection(L"TOOLBUTTON");
        button->SetShowFocus(false);
        button->SetLayout(blGlyphTop);
        button->SetCaption(info.szDisplayName);
        button->Tag = static_cast<intptr_t>(root);
        if (const UniqueIcon icon(info.hIcon); icon) {
            // The glyph is a copy of the shell's icon on the button's colour.
            TBitmap& glyph = button->Glyph();
            glyph.SetPixelFormat(pf32bit);
            glyph.SetSize(32, 32);
            glyph.Canvas().Brush().SetColor(clBtnFace);
            glyph.Canvas().FillRect({0, 0, 32, 32});
            ::DrawIconEx(glyph.Canvas().Handle(), 0, 0, icon.get(), 32, 32, 0, nullptr, DI_NORMAL);
            button->GlyphChanged();
        }
        button->OnClick = [this](TComponent* sender) { BtnOnClick(sender); };
        FRootButtons.push_back(button);
        top += qv::ScaleForDpi(kRootButtonHeight, Dpi());
    }
}

void TPathDialogForm::BtnOnClick(TComponent* sender) {
    const auto root = static_cast<TacRootFolder>(sender->Tag);
    sShellTreeView1->SetRoot(RootFolderName(root));
}

void TPathDialogForm::UpdateAnchors() {
    sShellTreeView1->SetAnchors(akLeft | akTop | akRight | akBottom);
    sScrollBox1->SetAnchors(akLeft | akTop | akBottom);
    sBitBtn1->SetAnchors(akRight | akBottom);
    sBitBtn2->SetAnchors(akRight | akBottom);
    sBitBtn3->SetAnchors(akLeft | akBottom);
    const TRect client = ClientRect();
    FAnchors.clear();
    for (TControl* c :
         {static_cast<TControl*>(sShellTreeView1), static_cast<TControl*>(sScrollBox1),
          static_cast<TControl*>(sBitBtn1), static_cast<TControl*>(sBitBtn2), static_cast<TControl*>(sBitBtn3)})
        FAnchors.push_back(
            {c, c->Anchors(), client.Right - (c->Left() + c->Width()), client.Bottom - (c->Top() + c->Height())});
    sShellTreeView1->RefreshTreeScrolls();
}

void TPathDialogForm::ChangeScale(int toDpi, int fromDpi) {
    for (Anchor& a : FAnchors) {
        a.RightGap = a.RightAtDpi.Rescale(a.RightGap, fromDpi, toDpi);
        a.BottomGap = a.BottomAtDpi.Rescale(a.BottomGap, fromDpi, toDpi);
    }
    TForm::ChangeScale(toDpi, fromDpi);
}

void TPathDialogForm::FollowAnchors() {
    const TRect client = ClientRect();
    for (const Anchor& a : FAnchors) {
        int left = a.Control->Left(), top = a.Control->Top();
        int width = a.Control->Width(), height = a.Control->Height();
        const int right = client.Right - a.RightGap, bottom = client.Bottom - a.BottomGap;
        if (a.Anchors & akRight) {
            if (a.Anchors & akLeft) width = std::max(0, right - left);
            else left = right - width;
        }
        if (a.Anchors & akBottom) {
            if (a.Anchors & akTop) height = std::max(0, bottom - top);
            else top = bottom - height;
        }
        a.Control->SetBounds(left, top, width, height);
    }
}

// The provider draws the skin's grip but answers only for the frame: the corner of the
// client area answers as the grip here, skinned or not. Without a skin the system's grip
// is drawn there too.
bool TPathDialogForm::SkinnedFrame() const { return sSkinProvider1 && sSkinProvider1->SkinData()->Skinned(); }

void TPathDialogForm::WMNCHitTest(TMessage& message) {
    TForm::WndProc(message);
    if (message.Result != HTCLIENT) return;
    POINT p{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
    ::ScreenToClient(FHandle, &p);
    RECT client{};
    ::GetClientRect(FHandle, &client);
    if (p.x >= client.right - kGripSize && p.y >= client.bottom - kGripSize) message.Result = HTBOTTOMRIGHT;
}

void TPathDialogForm::PaintGrip() {
    if (SkinnedFrame()) return;
    RECT client{};
    ::GetClientRect(FHandle, &client);
    RECT grip{client.right - kGripSize, client.bottom - kGripSize, client.right, client.bottom};
    const WindowDC dc(FHandle);
    ::DrawFrameControl(dc.get(), &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
}

void TPathDialogForm::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_NCHITTEST: WMNCHitTest(message); return;
    case WM_SIZE:
        TForm::WndProc(message);
        FollowAnchors();
        ::InvalidateRect(FHandle, nullptr, TRUE);
        return;
    case WM_PAINT:
        TForm::WndProc(message);
        PaintGrip();
        return;
    default: break;
    }
    TForm::WndProc(message);
}

// ---------------------------------------------------------------- TsPathDialog

bool TsPathDialog::Execute() {
    String start = Path;
    if (start == L"." || !IsDirectory(start)) start.clear();
    if (!NoChangeDir && !start.empty()) ::SetCurrentDirectoryW(start.c_str());

    ComScope com;
    std::unique_ptr<TPathDialogForm> form(NewForm<TPathDialogForm>(nullptr));
    form->InitLngCaptions();
    form->sBitBtn3->SetVisible((DialogOptions & sdoCreateButton) != 0);
    if (ShowRootBtns) {
        // The column takes the tree's place on the left; the form grows by the column,
        // and the tree and the right-hand buttons keep their distances to the right edge.
        const int dpi = form->Dpi();
        const int shift = ScaleForDpi(kRootColumnWidth + 4, dpi);
        const int widen = ScaleForDpi(kRootColumnWidth + 4, dpi) + ::GetSystemMetrics(SM_CXFRAME);
        form->sScrollBox1->SetVisible(true);
        form->sLabel1->SetVisible(true);
        form->SetWidth(form->Width() + widen);
        TsShellTreeView* t = form->sShellTreeView1;
        t->SetBounds(t->Left() + shift, t->Top(), t->Width() + widen - shift, t->Height());
        form->sBitBtn1->SetLeft(form->sBitBtn1->Left() + widen);
        form->sBitBtn2->SetLeft(form->sBitBtn2->Left() + widen);
        form->GenerateButtons();
    } else {
        form->sScrollBox1->SetVisible(false);
        form->sLabel1->SetVisible(false);
    }
    form->UpdateAnchors();
    TsShellTreeView* tree = form->sShellTreeView1;
    // An empty label would show the tree's name: the stored single space stays then.
    if (!Caption.empty()) tree->BoundLabel()->SetText(Caption);
    tree->SetRoot(Root);
    if (!start.empty()) tree->SetPath(start);
    else if (TTreeNode* first = tree->Items().GetFirstNode()) tree->SetSelected(first);
    form->sShellTreeView1Change(tree, tree->Selected());

    if (form->ShowModal() != mrOk) return false;
    // A folder removed while the dialog was open is no answer: Path stays as it was.
    const String chosen = tree->Path();
    if (!IsDirectory(chosen)) return false;
    Path = chosen;
    return true;
}

}  // namespace qv
