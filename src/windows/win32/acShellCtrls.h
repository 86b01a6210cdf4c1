// The shell's folder namespace as a skinned tree: TacShellFolder is one folder of the
// namespace (its shell interface and item identifier lists), TsShellTreeView shows the
// folders below a root, enumerating each node's children when it is first expanded.
#pragma once
#include "controls/win32/sTreeView.h"
#include "framework/SysUtils.h"
#include "framework/win32/ComHandles.h"

#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <memory>
#include <unordered_map>

namespace qv {

// Well-known roots of the tree; the names (RootFolderName) are what a Root text accepts.
enum TacRootFolder {
    rfDesktop,
    rfMyComputer,
    rfNetwork,
    rfRecycleBin,
    rfAppData,
    rfCommonDesktopDirectory,
    rfCommonPrograms,
    rfCommonStartMenu,
    rfCommonStartup,
    rfControlPanel,
    rfDesktopDirectory,
    rfFavorites,
    rfFonts,
    rfInternet,
    rfPersonal,
    rfPrinters,
    rfPrintHood,
    rfPrograms,
    rfRecent,
    rfSendTo,
    rfStartMenu,
    rfStartup,
    rfTemplates,
};

String RootFolderName(TacRootFolder folder);
// The value named by name (compared without case); false when it names none.
bool RootFolderFromName(const String& name, TacRootFolder& folder) noexcept;
// The system's special-folder identifier (CSIDL) of the same meaning.
int RootFolderCsidl(TacRootFolder folder) noexcept;

// A copy of pidl (none for none); throws EOutOfResources when memory runs out.
UniquePidl ClonePidl(LPCITEMIDLIST pidl);

// The desktop folder, the root of the shell namespace.
ComRef<IShellFolder> DesktopFolder();

// One folder of the namespace. Its parent folder's interface and its identifier lists
// are its own; the folder's own interface is bound on first use.
class TacShellFolder {
public:
    // A folder named by its absolute identifier list (the empty list is the desktop).
    explicit TacShellFolder(UniquePidl full);
    // A child of parent named by its identifier list relative to parent.
    TacShellFolder(TacShellFolder& parent, UniquePidl relative);
    TacShellFolder(const TacShellFolder&) = delete;
    TacShellFolder& operator=(const TacShellFolder&) = delete;
    ~TacShellFolder() = default;

    LPCITEMIDLIST AbsoluteID() const noexcept { return FFullPIDL.get(); }
    LPCITEMIDLIST RelativeID() const noexcept { return FPIDL.get(); }
    IShellFolder* ParentShellFolder() const noexcept { return FParent.get(); }
    // The folder's own interface, or none when the shell cannot open it.
    IShellFolder* ShellFolder();

    // The parsing name: a file-system path for real folders, a class identifier string
    // ("::{...}") for virtual ones.
    String PathName() const;
    // The name as the shell shows it inside its parent.
    String DisplayName() const;
    // The shell's attribute bits of this item among those asked for.
    ULONG Attributes(ULONG mask) const;
    bool IsFileSystemFolder() const;
    // Renames the item through the shell; on success the folder names the renamed item.
    bool Rename(HWND owner, const String& name);

private:
    ComRef<IShellFolder> FParent;
    ComRef<IShellFolder> FIShellFolder;
    UniquePidl FFullPIDL;
    UniquePidl FPIDL;
};

using TacAddFolderEvent = std::function<void(TComponent* Sender, TacShellFolder* Folder, bool& CanAdd)>;

class TsShellTreeView : public TsTreeView {
public:
    explicit TsShellTreeView(TComponent* owner);
    TsShellTreeView(const TsShellTreeView&) = delete;
    TsShellTreeView& operator=(const TsShellTreeView&) = delete;
    ~TsShellTreeView() override;
    String ClassName() const override { return L"TsShellTreeView"; }

    // A root-folder name (RootFolderName) or a path. Setting a different one (compared
    // without case) rebuilds the tree; a root the shell cannot name raises its message.
    const String& Root() const noexcept { return FRoot; }
    void SetRoot(const String& root);
    // The selected node's PathName; empty when nothing is selected.
    String Path();
    // Selects the folder of path, expanding the nodes on the way; a path the shell
    // cannot parse raises "Error Setting Path".
    void SetPath(const String& path);
    TacShellFolder* SelectedFolder();
    TacShellFolder* Folders(TTreeNode* node) const;
    TacShellFolder* GetFolder(int absoluteIndex);
    // Enumerates the node's children again (the node keeps its expanded state).
    void Refresh(TTreeNode* node);

    // Which items become nodes: folders always, hidden ones and plain files on request.
    bool IncludeHidden = true;
    bool IncludeNonFolders = false;
    // Node icons from the system's small image list.
    bool UseShellImages = true;
    int Indent = 0;  // pixels per level; 0 keeps the system's
    TacAddFolderEvent OnAddFolder;

protected:
    void CreateWnd() override;
    void WndProc(TMessage& message) override;
    bool CanExpand(TTreeNode* node) override;
    bool EndLabelEdit(TTreeNode* node, const String& text) override;
    void Delete(TTreeNode* node) override;

private:
    void PopulateNode(TTreeNode* node);
    TTreeNode* AddFolderNode(TTreeNode* parent, std::unique_ptr<TacShellFolder> folder, const String& text);
    TTreeNode* ChildOf(TTreeNode* parent, LPCITEMIDLIST full);
    void RefreshAfterRename();
    void ApplyShellImages();

    String FRoot;
    std::unordered_map<const TTreeNode*, std::unique_ptr<TacShellFolder>> FFolders;
    // A rename asks for its parent's refresh after the edit has ended.
    HTREEITEM FRenamedParent = nullptr;
    UniquePidl FRenamedPIDL;
};

}  // namespace qv
