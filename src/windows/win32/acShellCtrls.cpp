#include "windows/win32/acShellCtrls.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <array>
#include <vector>

namespace qv {

namespace {

struct RootFolderEntry {
    const wchar_t* Name;
    int Csidl;
};

constexpr std::array<RootFolderEntry, 23> kRootFolders{{
    {L"rfDesktop", CSIDL_DESKTOP},
    {L"rfMyComputer", CSIDL_DRIVES},
    {L"rfNetwork", CSIDL_NETWORK},
    {L"rfRecycleBin", CSIDL_BITBUCKET},
    {L"rfAppData", CSIDL_APPDATA},
    {L"rfCommonDesktopDirectory", CSIDL_COMMON_DESKTOPDIRECTORY},
    {L"rfCommonPrograms", CSIDL_COMMON_PROGRAMS},
    {L"rfCommonStartMenu", CSIDL_COMMON_STARTMENU},
    {L"rfCommonStartup", CSIDL_COMMON_STARTUP},
    {L"rfControlPanel", CSIDL_CONTROLS},
    {L"rfDesktopDirectory", CSIDL_DESKTOPDIRECTORY},
    {L"rfFavorites", CSIDL_FAVORITES},
    {L"rfFonts", CSIDL_FONTS},
    {L"rfInternet", CSIDL_INTERNET},
    {L"rfPersonal", CSIDL_PERSONAL},
    {L"rfPrinters", CSIDL_PRINTERS},
    {L"rfPrintHood", CSIDL_PRINTHOOD},
    {L"rfPrograms", CSIDL_PROGRAMS},
    {L"rfRecent", CSIDL_RECENT},
    {L"rfSendTo", CSIDL_SENDTO},
    {L"rfStartMenu", CSIDL_STARTMENU},
    {L"rfStartup", CSIDL_STARTUP},
    {L"rfTemplates", CSIDL_TEMPLATES},
}};

// A name the shell handed out in a STRRET; StrRetToStrW frees what the STRRET owns.
String TakeStrRet(STRRET& ret, LPCITEMIDLIST pidl) {
    wchar_t* text = nullptr;
    if (FAILED(::StrRetToStrW(&ret, pidl, &text))) return {};
    const UniqueCoTaskMem<wchar_t> owned(text);
    return owned ? String(owned.get()) : String();
}

String NameOf(IShellFolder* folder, LPCITEMIDLIST pidl, SHGDNF flags) {
    if (!folder) return {};
    STRRET ret{};
    if (FAILED(folder->GetDisplayNameOf(pidl, flags, &ret))) return {};
    return TakeStrRet(ret, pidl);
}

// The identifier list of the parent: the list without its last item.
UniquePidl ParentPidl(LPCITEMIDLIST full) {
    UniquePidl parent = ClonePidl(full);
    if (parent) ::ILRemoveLastID(parent.get());
    return parent;
}

int ShellIcon(LPCITEMIDLIST pidl, UINT extra) {
    SHFILEINFOW info{};
    if (!::SHGetFileInfoW(reinterpret_cast<LPCWSTR>(pidl), 0, &info, sizeof info,
                          SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | extra))
        return -1;
    return info.iIcon;
}

// The system's small-icon image list: shared by the whole process, never destroyed.
HIMAGELIST SystemSmallImages() {
    SHFILEINFOW info{};
    return reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
}

// The hourglass while the shell enumerates a folder.
class WaitCursor {
public:
    WaitCursor() noexcept : FOld(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { ::SetCursor(FOld); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR FOld;
};

UINT RefreshAfterRenameMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"Quorvel.ShellTree.RefreshAfterRename");
    return message;
}

String ShellMessage(HRESULT hr) { return SysErrorMessage(static_cast<int>(hr)); }

}  // namespace

String RootFolderName(TacRootFolder folder) { return kRootFolders.at(static_cast<std::size_t>(folder)).Name; }

bool RootFolderFromName(const String& name, TacRootFolder& folder) noexcept {
    for (std::size_t i = 0; i < kRootFolders.size(); ++i)
        if (SameText(name, kRootFolders[i].Name)) {
            folder = static_cast<TacRootFolder>(i);
            return true;
        }
    return false;
}

int RootFolderCsidl(TacRootFolder folder) noexcept {
    const auto i = static_cast<std::size_t>(folder);
    return i < kRootFolders.size() ? kRootFolders[i].Csidl : CSIDL_DESKTOP;
}

UniquePidl ClonePidl(LPCITEMIDLIST pidl) {
    UniquePidl copy(pidl ? ::ILClone(pidl) : nullptr);
    if (pidl && !copy) throw EOutOfResources(L"Not enough memory for a shell item");
    return copy;
}

ComRef<IShellFolder> DesktopFolder() {
    ComRef<IShellFolder> desktop;
    const HRESULT hr = ::SHGetDesktopFolder(desktop.put());
    if (FAILED(hr)) throw Exception(ShellMessage(hr));
    return desktop;
}

// ---------------------------------------------------------------- TacShellFolder

TacShellFolder::TacShellFolder(UniquePidl full) : FFullPIDL(std::move(full)) {
    if (ILIsEmpty(FFullPIDL.get())) {
        // The desktop is its own parent: its relative list is the empty one too.
        FParent = DesktopFolder();
        FPIDL = ClonePidl(FFullPIDL.get());
        return;
    }
    LPCITEMIDLIST last = nullptr;
    const HRESULT hr = ::SHBindToParent(FFullPIDL.get(), IID_IShellFolder, reinterpret_cast<void**>(FParent.put()),
                                        &last);
    if (FAILED(hr)) throw Exception(ShellMessage(hr));
    FPIDL = ClonePidl(last);
}

TacShellFolder::TacShellFolder(TacShellFolder& parent, UniquePidl relative) : FPIDL(std::move(relative)) {
    IShellFolder* folder = parent.ShellFolder();
    if (!folder) throw Exception(L"The folder cannot be opened");
    folder->AddRef();
    FParent.reset(folder);
    FFullPIDL.reset(::ILCombine(parent.AbsoluteID(), FPIDL.get()));
    if (!FFullPIDL) throw EOutOfResources(L"Not enough memory for a shell item");
}

IShellFolder* TacShellFolder::ShellFolder() {
    if (FIShellFolder) return FIShellFolder.get();
    if (ILIsEmpty(FFullPIDL.get())) {
        FIShellFolder = DesktopFolder();
    } else if (FParent) {
        if (FAILED(FParent->BindToObject(FPIDL.get(), nullptr, IID_IShellFolder,
                                         reinterpret_cast<void**>(FIShellFolder.put()))))
            FIShellFolder.reset();
    }
    return FIShellFolder.get();
}

String TacShellFolder::PathName() const { return NameOf(DesktopFolder().get(), FFullPIDL.get(), SHGDN_FORPARSING); }

String TacShellFolder::DisplayName() const {
    if (ILIsEmpty(FFullPIDL.get())) return NameOf(FParent.get(), FFullPIDL.get(), SHGDN_NORMAL);
    return NameOf(FParent.get(), FPIDL.get(), SHGDN_INFOLDER);
}

ULONG TacShellFolder::Attributes(ULONG mask) const {
    if (ILIsEmpty(FFullPIDL.get()) || !FParent) return 0;
    LPCITEMIDLIST items[] = {FPIDL.get()};
    SFGAOF attributes = mask;
    if (FAILED(FParent->GetAttributesOf(1, items, &attributes))) return 0;
    return attributes & mask;
}

bool TacShellFolder::IsFileSystemFolder() const { return DirectoryExists(PathName()); }

bool TacShellFolder::Rename(HWND owner, const String& name) {
    if (!FParent || ILIsEmpty(FFullPIDL.get())) return false;
    LPITEMIDLIST renamed = nullptr;
    const HRESULT hr = FParent->SetNameOf(owner, FPIDL.get(), name.c_str(), SHGDN_INFOLDER, &renamed);
    UniquePidl relative(renamed);
    if (FAILED(hr) || !relative) {
        // Some folders cannot rename their items (the desktop, under some systems): a
        // file-system folder is renamed on the disk and its new item parsed back by the
        // same parent, so the node keeps the kind of identifier its siblings have.
        const String old = PathName();
        if (!DirectoryExists(old) || name.find_first_of(L"\\/:*?\"<>|") != String::npos) return false;
        if (!::MoveFileW(old.c_str(), (ExtractFilePath(old) + name).c_str())) return false;
        LPITEMIDLIST parsed = nullptr;
        if (FAILED(FParent->ParseDisplayName(owner, nullptr, const_cast<wchar_t*>(name.c_str()), nullptr, &parsed,
                                             nullptr)))
            parsed = nullptr;
        relative.reset(parsed);
        if (!relative) return false;
    }
    // The old lists name an item that is gone: keep the one the shell returned.
    UniquePidl parent = ParentPidl(FFullPIDL.get());
    UniquePidl full(::ILCombine(parent.get(), relative.get()));
    if (!full) throw EOutOfResources(L"Not enough memory for a shell item");
    FPIDL = std::move(relative);
    FFullPIDL = std::move(full);
    FIShellFolder.reset();
    return true;
}

// ---------------------------------------------------------------- TsShellTreeView

TsShellTreeView::TsShellTreeView(TComponent* owner) : TsTreeView(owner) {}

TsShellTreeView::~TsShellTreeView() {
    // The nodes go with the tree without notice: drop the folders (and the interfaces
    // they hold) now, while COM is surely still up for the caller.
    FFolders.clear();
}

void TsShellTreeView::CreateWnd() {
    TsTreeView::CreateWnd();
    ApplyShellImages();
    if (Indent > 0) ::SendMessageW(FHandle, TVM_SETINDENT, static_cast<WPARAM>(Indent), 0);
}

void TsShellTreeView::ApplyShellImages() {
    // Set on the window directly: the framework's image list would destroy a list that
    // belongs to the whole process.
    if (UseShellImages && HandleAllocated())
        ::SendMessageW(FHandle, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(SystemSmallImages()));
}

TacShellFolder* TsShellTreeView::Folders(TTreeNode* node) const {
    auto it = FFolders.find(node);
    return it == FFolders.end() ? nullptr : it->second.get();
}

TacShellFolder* TsShellTreeView::SelectedFolder() { return Folders(Selected()); }

TacShellFolder* TsShellTreeView::GetFolder(int absoluteIndex) { return Folders(Items().Item(absoluteIndex)); }

String TsShellTreeView::Path() {
    TacShellFolder* folder = SelectedFolder();
    return folder ? folder->PathName() : String();
}

void TsShellTreeView::Delete(TTreeNode* node) { FFolders.erase(node); }

TTreeNode* TsShellTreeView::AddFolderNode(TTreeNode* parent, std::unique_ptr<TacShellFolder> folder,
                                          const String& text) {
    TTreeNode* node = Items().AddChildObject(parent, text, folder.get());
    TacShellFolder* f = folder.get();
    FFolders[node] = std::move(folder);
    const int image = ShellIcon(f->AbsoluteID(), 0);
    const int open = ShellIcon(f->AbsoluteID(), SHGFI_OPENICON);
    node->SetImageIndex(image);
    node->SetSelectedIndex(open >= 0 ? open : image);
    return node;
}

void TsShellTreeView::SetRoot(const String& root) {
    if (Items().GetFirstNode() && SameText(root, FRoot)) return;
    ComRef<IShellFolder> desktop = DesktopFolder();
    UniquePidl full;
    String text;
    TacRootFolder special{};
    if (RootFolderFromName(root, special)) {
        LPITEMIDLIST pidl = nullptr;
        const HRESULT hr = ::SHGetSpecialFolderLocation(nullptr, RootFolderCsidl(special), &pidl);
        full.reset(pidl);
        if (FAILED(hr) || !full) throw Exception(ShellMessage(hr));
        text = NameOf(desktop.get(), full.get(), SHGDN_NORMAL);
    } else {
        LPITEMIDLIST pidl = nullptr;
        const HRESULT hr = desktop->ParseDisplayName(nullptr, nullptr, const_cast<wchar_t*>(root.c_str()), nullptr,
                                                     &pidl, nullptr);
        full.reset(pidl);
        if (FAILED(hr) || !full) throw Exception(ShellMessage(hr));
        text = ExtractFileName(ExcludeTrailingPathDelimiter(root));
        if (text.empty()) text = root;  // a drive's root
    }
    auto folder = std::make_unique<TacShellFolder>(std::move(full));
    Items().BeginUpdate();
    try {
        Items().Clear();
        FRoot = root;
        TTreeNode* top = AddFolderNode(nullptr, std::move(folder), text);
        // Expanding enumerates the children and corrects the mark from their count.
        top->SetHasChildren(true);
        top->Expand(false);
        SetSelected(top);
    } catch (...) {
        Items().EndUpdate();
        throw;
    }
    Items().EndUpdate();
}

bool TsShellTreeView::CanExpand(TTreeNode* node) {
    if (node->HasChildren() && node->Count() == 0) PopulateNode(node);
    return TsTreeView::CanExpand(node);
}

void TsShellTreeView::PopulateNode(TTreeNode* node) {
    TacShellFolder* parent = Folders(node);
    IShellFolder* folder = parent ? parent->ShellFolder() : nullptr;
    if (!folder) {
        node->SetHasChildren(false);
        return;
    }
    WaitCursor wait;
    SHCONTF flags = SHCONTF_FOLDERS;
    if (IncludeHidden) flags |= SHCONTF_INCLUDEHIDDEN;
    if (IncludeNonFolders) flags |= SHCONTF_NONFOLDERS;
    ComRef<IEnumIDList> items;
    // S_FALSE (nothing to enumerate) may come with no enumerator at all.
    const HRESULT hr = folder->EnumObjects(HandleAllocated() ? FHandle : nullptr, flags, items.put());
    std::vector<std::unique_ptr<TacShellFolder>> children;
    if (hr == S_OK && items) {
        LPITEMIDLIST pidl = nullptr;
        ULONG fetched = 0;
        while (items->Next(1, &pidl, &fetched) == S_OK && fetched == 1) {
            UniquePidl relative(pidl);
            pidl = nullptr;
            auto child = std::make_unique<TacShellFolder>(*parent, std::move(relative));
            bool canAdd = true;
            if (OnAddFolder) OnAddFolder(this, child.get(), canAdd);
            if (canAdd) children.push_back(std::move(child));
        }
    }
    // The folder's own order (column 0), as the shell's windows show it.
    std::stable_sort(children.begin(), children.end(), [folder](const auto& a, const auto& b) {
        const HRESULT order = folder->CompareIDs(0, a->RelativeID(), b->RelativeID());
        return SUCCEEDED(order) && static_cast<short>(HRESULT_CODE(order)) < 0;
    });
    Items().BeginUpdate();
    for (auto& child : children) {
        const ULONG attributes = child->Attributes(SFGAO_HASSUBFOLDER | SFGAO_SHARE);
        const String text = child->DisplayName();
        TTreeNode* added = AddFolderNode(node, std::move(child), text);
        if (attributes & SFGAO_HASSUBFOLDER) added->SetHasChildren(true);
        if ((attributes & SFGAO_SHARE) && added->ItemId()) {
            TVITEMW item{};
            item.mask = TVIF_HANDLE | TVIF_STATE;
            item.hItem = added->ItemId();
            item.state = INDEXTOOVERLAYMASK(1);  // overlay 0 of the shell's list
            item.stateMask = TVIS_OVERLAYMASK;
            ::SendMessageW(FHandle, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        }
    }
    Items().EndUpdate();
    node->SetHasChildren(node->Count() > 0);
}

TTreeNode* TsShellTreeView::ChildOf(TTreeNode* parent, LPCITEMIDLIST full) {
    for (TTreeNode* child = parent->GetFirstChild(); child; child = child->GetNextSibling()) {
        TacShellFolder* folder = Folders(child);
        if (folder && (::ILIsEqual(folder->AbsoluteID(), full) || ::ILIsParent(folder->AbsoluteID(), full, FALSE)))
            return child;
    }
    return nullptr;
}

void TsShellTreeView::SetPath(const String& path) {
    String wanted = path;
    // Virtual folders ("::{...}") are parsed as they are; anything else as a full path.
    if (wanted.rfind(L"::", 0) != 0) {
        wchar_t buffer[32768];
        const DWORD length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(std::size(buffer)), buffer, nullptr);
        if (length > 0 && length < std::size(buffer)) wanted.assign(buffer, length);
    }
    LPITEMIDLIST pidl = nullptr;
    const HRESULT hr = DesktopFolder()->ParseDisplayName(nullptr, nullptr, const_cast<wchar_t*>(wanted.c_str()),
                                                         nullptr, &pidl, nullptr);
    UniquePidl target(pidl);
    if (FAILED(hr) || !target) throw Exception(L"Error Setting Path");
    if (TacShellFolder* selected = SelectedFolder(); selected && ::ILIsEqual(selected->AbsoluteID(), target.get()))
        return;
    TTreeNode* node = Items().GetFirstNode();
    if (!node) return;
    // Down the chain of the target's ancestors; a path outside the root selects the
    // deepest node on the way (the root itself when nothing matches).
    while (TacShellFolder* folder = Folders(node)) {
        if (::ILIsEqual(folder->AbsoluteID(), target.get())) break;
        node->Expand(false);
        TTreeNode* next = ChildOf(node, target.get());
        if (!next) break;
        node = next;
    }
    SetSelected(node);
    node->MakeVisible();
}

void TsShellTreeView::Refresh(TTreeNode* node) {
    if (!node) return;
    const bool expanded = node->Expanded();
    Items().BeginUpdate();
    try {
        node->DeleteChildren();
        node->SetHasChildren(true);
        PopulateNode(node);
        if (expanded) node->Expand(false);
    } catch (...) {
        Items().EndUpdate();
        throw;
    }
    Items().EndUpdate();
}

bool TsShellTreeView::EndLabelEdit(TTreeNode* node, const String& text) {
    TacShellFolder* folder = Folders(node);
    if (!folder || text.empty()) return false;
    if (!folder->Rename(HandleAllocated() ? FHandle : nullptr, text)) return false;
    TsTreeView::EndLabelEdit(node, text);
    // The system is still finishing the edit of this item: refreshing the parent now
    // would delete it under the system's feet, so the refresh waits for a posted message.
    if (TTreeNode* parent = node->Parent()) {
        FRenamedParent = parent->ItemId();
        FRenamedPIDL = ClonePidl(folder->AbsoluteID());
        ::PostMessageW(FHandle, RefreshAfterRenameMessage(), 0, 0);
    }
    return true;
}

void TsShellTreeView::RefreshAfterRename() {
    TTreeNode* parent = Items().GetNode(std::exchange(FRenamedParent, nullptr));
    UniquePidl renamed = std::move(FRenamedPIDL);
    if (!parent || !renamed) return;
    Refresh(parent);
    for (TTreeNode* child = parent->GetFirstChild(); child; child = child->GetNextSibling())
        if (TacShellFolder* folder = Folders(child); folder && ::ILIsEqual(folder->AbsoluteID(), renamed.get())) {
            SetSelected(child);
            break;
        }
}

void TsShellTreeView::WndProc(TMessage& message) {
    if (message.Msg == RefreshAfterRenameMessage()) {
        RefreshAfterRename();
        return;
    }
    TsTreeView::WndProc(message);
}

}  // namespace qv
