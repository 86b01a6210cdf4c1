// TTreeView: the system tree view ("SysTreeView32" superclassed as "TTreeView") with
// its nodes as objects. Node texts live in the window, so other programs read them
// with TVM_GETITEM; the node objects keep everything too, so the nodes survive the
// window being made again.
#pragma once
#include "framework/win32/Canvas.h"
#include "framework/win32/Controls.h"
#include "framework/win32/ImgList.h"
#include "framework/win32/StdCtrls.h"

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <unordered_set>
#include <vector>

namespace qv {

class TTreeView;
class TTreeNodes;

class TTreeNode {
public:
    TTreeNode(TTreeNodes& owner, TTreeNode* parent);
    ~TTreeNode();
    TTreeNode(const TTreeNode&) = delete;
    TTreeNode& operator=(const TTreeNode&) = delete;

    TTreeNodes& Owner() const noexcept { return FOwner; }
    TTreeView& TreeView() const noexcept;
    // The item in the tree's window; none while the window does not exist.
    HTREEITEM ItemId() const noexcept { return FItemId; }

    String Text() const;
    void SetText(const String& text);
    void* Data() const noexcept { return FData; }
    void SetData(void* data) noexcept { FData = data; }
    int ImageIndex() const noexcept { return FImageIndex; }
    void SetImageIndex(int index);
    int SelectedIndex() const noexcept { return FSelectedIndex; }
    void SetSelectedIndex(int index);

    // Whether the node shows an expand button, with or without children yet (a node
    // whose children are added when it is first expanded sets this itself).
    bool HasChildren() const noexcept { return FHasChildren; }
    void SetHasChildren(bool on);
    bool Expanded() const;
    void SetExpanded(bool on);
    void Expand(bool recurse);
    void Collapse(bool recurse);
    bool Selected() const;
    void SetSelected(bool on);
    // Scrolls and expands the parents so the node can be seen.
    void MakeVisible();
    // The node's rectangle in the tree's client area (only its text with textOnly);
    // empty when it is not visible.
    TRect DisplayRect(bool textOnly) const;

    TTreeNode* Parent() const noexcept { return FParent; }
    int Count() const noexcept { return static_cast<int>(FChildren.size()); }
    TTreeNode* Item(int index) const;  // EListError out of range
    TTreeNode* GetFirstChild() const noexcept { return FChildren.empty() ? nullptr : FChildren.front().get(); }
    TTreeNode* GetLastChild() const noexcept { return FChildren.empty() ? nullptr : FChildren.back().get(); }
    TTreeNode* GetNextSibling() const noexcept;
    TTreeNode* GetPrevSibling() const noexcept;
    // The next node in display order of a fully expanded tree (depth first).
    TTreeNode* GetNext() const noexcept;
    int Index() const noexcept;  // among its siblings
    int Level() const noexcept;  // 0 for root nodes
    int AbsoluteIndex() const noexcept;

    // Removes the node and its children (from the window too).
    void Delete();
    void DeleteChildren();

    // Starts editing the node's label in place; EndEdit ends it, keeping the typed text
    // unless cancel.
    void EditText();
    void EndEdit(bool cancel);

private:
    friend class TTreeNodes;
    friend class TTreeView;
    // Puts the node (and its children) into the window after insertAfter.
    void InsertIntoWindow(HWND tree, HTREEITEM insertAfter);
    void WriteItem(UINT mask);
    // Forgets the window's items, keeping their text and expanded state first when
    // keepState (the window goes, the nodes stay).
    void Detach(bool keepState);

    TTreeNodes& FOwner;
    TTreeNode* FParent;
    std::vector<std::unique_ptr<TTreeNode>> FChildren;
    HTREEITEM FItemId = nullptr;
    String FText;
    void* FData = nullptr;
    int FImageIndex = -1;
    int FSelectedIndex = -1;
    bool FHasChildren = false;
    bool FExpanded = false;  // kept while there is no window
};

// The nodes of a tree view. Count and Item run over every node, depth first.
class TTreeNodes {
public:
    explicit TTreeNodes(TTreeView& owner) noexcept : FOwner(owner) {}
    ~TTreeNodes();
    TTreeNodes(const TTreeNodes&) = delete;
    TTreeNodes& operator=(const TTreeNodes&) = delete;

    TTreeView& Owner() const noexcept { return FOwner; }

    // The last (Add) or first (AddFirst) node among sibling's siblings; a root node
    // when sibling is none.
    TTreeNode* Add(TTreeNode* sibling, const String& text);
    TTreeNode* AddObject(TTreeNode* sibling, const String& text, void* data);
    TTreeNode* AddFirst(TTreeNode* sibling, const String& text);
    // The last (AddChild) or first (AddChildFirst) child of parent; a root node when
    // parent is none.
    TTreeNode* AddChild(TTreeNode* parent, const String& text);
    TTreeNode* AddChildObject(TTreeNode* parent, const String& text, void* data);
    TTreeNode* AddChildFirst(TTreeNode* parent, const String& text);
    // A node just before sibling (the last root node when sibling is none).
    TTreeNode* Insert(TTreeNode* sibling, const String& text);

    void Delete(TTreeNode* node);
    void Clear();

    int Count() const noexcept;
    TTreeNode* Item(int index) const;  // EListError out of range
    TTreeNode* GetFirstNode() const noexcept { return FRoots.empty() ? nullptr : FRoots.front().get(); }
    int RootCount() const noexcept { return static_cast<int>(FRoots.size()); }
    // The node of a window item, or none for items that are not ours.
    TTreeNode* GetNode(HTREEITEM item) const;

    void BeginUpdate();
    void EndUpdate();

private:
    friend class TTreeNode;
    friend class TTreeView;
    // Creates a node under parent (none: root) at position index of its siblings.
    TTreeNode* InsertNode(TTreeNode* parent, std::size_t index, const String& text, void* data);
    std::vector<std::unique_ptr<TTreeNode>>& SiblingsOf(TTreeNode* parent) noexcept;
    // Removes node from its siblings (destroying it) without touching the window.
    void Forget(TTreeNode* node, bool notify = true);
    // Tells the tree about every node of the subtree (deepest first) before it goes.
    void NotifyDeletion(TTreeNode* node);

    TTreeView& FOwner;
    std::unordered_set<const TTreeNode*> FLive;  // every node that exists (before FRoots: outlives them)
    std::vector<std::unique_ptr<TTreeNode>> FRoots;
    int FUpdateCount = 0;
};

enum TCustomDrawStage { cdPrePaint, cdPostPaint, cdPreErase, cdPostErase };
enum TCustomDrawStateFlag : std::uint16_t {
    cdsSelected = 1,
    cdsGrayed = 2,
    cdsDisabled = 4,
    cdsChecked = 8,
    cdsFocused = 16,
    cdsDefault = 32,
    cdsHot = 64,
    cdsMarked = 128,
    cdsIndeterminate = 256,
};
using TCustomDrawState = std::uint16_t;

using TTVChangedEvent = std::function<void(TComponent* Sender, TTreeNode* Node)>;
using TTVChangingEvent = std::function<void(TComponent* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVExpandingEvent = std::function<void(TComponent* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent = std::function<void(TComponent* Sender, TTreeNode* Node, bool& AllowCollapse)>;
using TTVExpandedEvent = std::function<void(TComponent* Sender, TTreeNode* Node)>;
using TTVCustomDrawItemEvent =
    std::function<void(TTreeView* Sender, TTreeNode* Node, TCustomDrawState State, bool& DefaultDraw)>;
using TTVAdvancedCustomDrawItemEvent =
    std::function<void(TTreeView* Sender, TTreeNode* Node, TCustomDrawState State, TCustomDrawStage Stage,
                       bool& PaintImages, bool& DefaultDraw)>;

class TTreeView : public TWinControl {
public:
    explicit TTreeView(TComponent* owner);
    TTreeView(const TTreeView&) = delete;
    TTreeView& operator=(const TTreeView&) = delete;
    ~TTreeView() override;
    String ClassName() const override { return L"TTreeView"; }

    TTreeNodes& Items() noexcept { return FItems; }
    TTreeNode* Selected();
    void SetSelected(TTreeNode* node);
    // The node at a client point, or none.
    TTreeNode* GetNodeAt(int x, int y);

    // The image list the nodes' ImageIndex and SelectedIndex refer to (not owned).
    TImageList* Images() const noexcept { return FImages; }
    void SetImages(TImageList* images);

    bool ShowLines() const noexcept { return FShowLines; }
    void SetShowLines(bool on);
    bool ShowButtons() const noexcept { return FShowButtons; }
    void SetShowButtons(bool on);
    bool ShowRoot() const noexcept { return FShowRoot; }
    void SetShowRoot(bool on);
    bool HideSelection() const noexcept { return FHideSelection; }
    void SetHideSelection(bool on);
    bool ReadOnly() const noexcept { return FReadOnly; }
    void SetReadOnly(bool on);
    TBorderStyle BorderStyle() const noexcept { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle style);

    void FullExpand();
    void FullCollapse();

    TTVChangedEvent OnChange;
    TTVChangingEvent OnChanging;
    TTVExpandingEvent OnExpanding;
    TTVCollapsingEvent OnCollapsing;
    TTVExpandedEvent OnExpanded, OnCollapsed;
    // Called for every node as it is drawn, with Canvas on the drawing DC: before the
    // system draws it (setting DefaultDraw false skips the system's drawing; the
    // canvas font and brush colours become the node's text colours) and, for the
    // advanced event, after it (cdPostPaint).
    TTVCustomDrawItemEvent OnCustomDrawItem;
    TTVAdvancedCustomDrawItemEvent OnAdvancedCustomDrawItem;
    TCanvas& Canvas() noexcept { return FCanvas; }

    // Asked before a node expands or collapses; false keeps it as it is.
    virtual bool CanExpand(TTreeNode* node);
    virtual bool CanCollapse(TTreeNode* node);
    virtual bool CanChange(TTreeNode* node);

    // Whether a node's label is being edited in place now.
    bool IsEditing() const;

protected:
    friend class TTreeNode;
    friend class TTreeNodes;
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;

    virtual void Change(TTreeNode* node);
    virtual void Expand(TTreeNode* node);
    virtual void Collapse(TTreeNode* node);
    // Custom drawing of one node at one stage; returns DefaultDraw.
    virtual bool CustomDrawItem(TTreeNode* node, TCustomDrawState state, TCustomDrawStage stage, bool& paintImages);
    virtual bool IsCustomDrawn(TCustomDrawStage stage) const;
    // A label edit ended with text (not cancelled): true keeps the text as the node's,
    // false leaves the label as it was.
    virtual bool EndLabelEdit(TTreeNode* node, const String& text);
    // Called for every node of a subtree just before the nodes are destroyed, deepest
    // first, so a tree that keeps its own data per node can free it. Not called while
    // the tree itself is being destroyed.
    virtual void Delete(TTreeNode* node) { (void)node; }

    // The window when it exists (made on demand when the tree has a parent).
    HWND TreeHandle() const;

private:
    void CNNotify(TMessage& message);
    void CustomDraw(TMessage& message);
    void TVNSelChanging(TMessage& message);
    void TVNSelChanged(TMessage& message);
    void TVNItemExpanding(TMessage& message);
    void TVNItemExpanded(TMessage& message);
    void TVNDeleteItem(TMessage& message);
    void TVNEndLabelEdit(TMessage& message);
    void SaveNodes();
    void ApplyImageList();
    void SetStyleFlag(bool& field, bool on);

    TTreeNodes FItems{*this};
    TImageList* FImages = nullptr;
    TChangeLink FImageChangeLink;
    TControlCanvas FCanvas;
    TTreeNode* FSavedSelected = nullptr;  // the selection while there is no window
    bool FDetached = false;               // the window's items are going with the window
    bool FManualNotify = false;           // the framework itself expands or collapses
    bool FShowLines = true, FShowButtons = true, FShowRoot = true, FHideSelection = true;
    bool FReadOnly = false;
    TBorderStyle FBorderStyle = bsSingle;
    int FDeleting = 0;  // nodes being deleted by us
};

}  // namespace qv
