#include "framework/win32/ComCtrls.h"

#include "framework/SysUtils.h"

#include <algorithm>
#include <cstring>

namespace qv {

namespace {

EListError IndexError(int index) { return EListError(L"Tree view index out of range (" + IntToStr(index) + L")"); }

}  // namespace

// ---------------------------------------------------------------- TTreeNode

TTreeNode::TTreeNode(TTreeNodes& owner, TTreeNode* parent) : FOwner(owner), FParent(parent) {
    FOwner.FLive.insert(this);
}

TTreeNode::~TTreeNode() { FOwner.FLive.erase(this); }

TTreeView& TTreeNode::TreeView() const noexcept { return FOwner.Owner(); }

String TTreeNode::Text() const {
    if (!FItemId) return FText;
    // The window's text is the truth: label editing and other programs change it there.
    wchar_t buffer[1024] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT | TVIF_HANDLE;
    item.hItem = FItemId;
    item.pszText = buffer;
    item.cchTextMax = static_cast<int>(std::size(buffer));
    if (!::SendMessageW(TreeView().FHandle, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return FText;
    // Texts longer than the buffer are ours in full.
    const String text(buffer);
    return text.size() + 1 >= std::size(buffer) ? FText : text;
}

void TTreeNode::SetText(const String& text) {
    FText = text;
    WriteItem(TVIF_TEXT);
}

void TTreeNode::SetImageIndex(int index) {
    FImageIndex = index;
    WriteItem(TVIF_IMAGE);
}

void TTreeNode::SetSelectedIndex(int index) {
    FSelectedIndex = index;
    WriteItem(TVIF_SELECTEDIMAGE);
}

void TTreeNode::SetHasChildren(bool on) {
    FHasChildren = on;
    WriteItem(TVIF_CHILDREN);
}

void TTreeNode::WriteItem(UINT mask) {
    if (!FItemId) return;
    TVITEMW item{};
    item.mask = mask | TVIF_HANDLE;
    item.hItem = FItemId;
    item.pszText = const_cast<wchar_t*>(FText.c_str());
    item.iImage = FImageIndex;
    item.iSelectedImage = FSelectedIndex;
    item.cChildren = FHasChildren ? 1 : 0;
    ::SendMessageW(TreeView().FHandle, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

bool TTreeNode::Expanded() const {
    if (!FItemId) return FExpanded;
    const auto state = static_cast<UINT>(
        ::SendMessageW(TreeView().FHandle, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(FItemId), TVIS_EXPANDED));
    return (state & TVIS_EXPANDED) != 0;
}

void TTreeNode::SetExpanded(bool on) {
    if (on) Expand(false);
    else Collapse(false);
}

void TTreeNode::Expand(bool recurse) {
    TTreeView& tree = TreeView();
    if (!Expanded() && (FHasChildren || !FChildren.empty()) && tree.CanExpand(this)) {
        // OnExpanding was asked above: the window's own notification is not passed on.
        if (FItemId) {
            tree.FManualNotify = true;
            ::SendMessageW(tree.FHandle, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(FItemId));
            tree.FManualNotify = false;
        } else {
            FExpanded = true;
        }
        tree.Expand(this);
    }
    if (recurse)
        for (std::size_t i = 0; i < FChildren.size(); ++i) FChildren[i]->Expand(true);
}

void TTreeNode::Collapse(bool recurse) {
    TTreeView& tree = TreeView();
    if (Expanded() && tree.CanCollapse(this)) {
        if (FItemId) {
            tree.FManualNotify = true;
            ::SendMessageW(tree.FHandle, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(FItemId));
            tree.FManualNotify = false;
        } else {
            FExpanded = false;
        }
        tree.Collapse(this);
    }
    if (recurse)
        for (std::size_t i = 0; i < FChildren.size(); ++i) FChildren[i]->Collapse(true);
}

bool TTreeNode::Selected() const {
    TTreeView& tree = TreeView();
    if (!FItemId) return tree.FSavedSelected == this;
    return reinterpret_cast<HTREEITEM>(::SendMessageW(tree.FHandle, TVM_GETNEXTITEM, TVGN_CARET, 0)) == FItemId;
}

void TTreeNode::SetSelected(bool on) {
    if (on) TreeView().SetSelected(this);
    else if (Selected()) TreeView().SetSelected(nullptr);
}

void TTreeNode::MakeVisible() {
    if (FItemId) ::SendMessageW(TreeView().FHandle, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(FItemId));
}

TRect TTreeNode::DisplayRect(bool textOnly) const {
    if (!FItemId) return {};
    RECT r{};
    // The message reads the item handle itself from the rectangle's first bytes.
    // NOLINTNEXTLINE(bugprone-sizeof-expression)
    std::memcpy(&r, &FItemId, sizeof(FItemId));  // the item goes in, the rectangle comes out
    if (!::SendMessageW(TreeView().FHandle, TVM_GETITEMRECT, textOnly ? TRUE : FALSE, reinterpret_cast<LPARAM>(&r)))
        return {};
    return {r.left, r.top, r.right, r.bottom};
}

TTreeNode* TTreeNode::Item(int index) const {
    if (index < 0 || index >= Count()) throw IndexError(index);
    return FChildren[static_cast<std::size_t>(index)].get();
}

int TTreeNode::Index() const noexcept {
    const auto& siblings = FOwner.SiblingsOf(FParent);
    for (std::size_t i = 0; i < siblings.size(); ++i)
        if (siblings[i].get() == this) return static_cast<int>(i);
    return -1;
}

TTreeNode* TTreeNode::GetNextSibling() const noexcept {
    const auto& siblings = FOwner.SiblingsOf(FParent);
    const int index = Index();
    return index >= 0 && static_cast<std::size_t>(index) + 1 < siblings.size() ? siblings[index + 1].get() : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const noexcept {
    const auto& siblings = FOwner.SiblingsOf(FParent);
    const int index = Index();
    return index > 0 ? siblings[index - 1].get() : nullptr;
}

TTreeNode* TTreeNode::GetNext() const noexcept {
    if (!FChildren.empty()) return FChildren.front().get();
    for (const TTreeNode* n = this; n; n = n->FParent)
        if (TTreeNode* next = n->GetNextSibling()) return next;
    return nullptr;
}

int TTreeNode::Level() const noexcept {
    int level = 0;
    for (TTreeNode* p = FParent; p; p = p->FParent) ++level;
    return level;
}

int TTreeNode::AbsoluteIndex() const noexcept {
    int index = 0;
    for (TTreeNode* n = FOwner.GetFirstNode(); n; n = n->GetNext(), ++index)
        if (n == this) return index;
    return -1;
}

void TTreeNode::Delete() { FOwner.Delete(this); }

void TTreeNode::DeleteChildren() {
    while (!FChildren.empty()) FOwner.Delete(FChildren.back().get());
}

void TTreeNode::EditText() {
    if (FItemId) ::SendMessageW(TreeView().FHandle, TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(FItemId));
}

void TTreeNode::EndEdit(bool cancel) {
    TTreeView& tree = TreeView();
    if (tree.HandleAllocated()) ::SendMessageW(tree.FHandle, TVM_ENDEDITLABELNOW, cancel ? TRUE : FALSE, 0);
}

void TTreeNode::InsertIntoWindow(HWND tree, HTREEITEM insertAfter) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = FParent ? FParent->FItemId : TVI_ROOT;
    insert.hInsertAfter = insertAfter;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
    insert.item.pszText = const_cast<wchar_t*>(FText.c_str());
    insert.item.lParam = reinterpret_cast<LPARAM>(this);
    insert.item.iImage = FImageIndex;
    insert.item.iSelectedImage = FSelectedIndex;
    insert.item.cChildren = FHasChildren ? 1 : 0;
    FItemId = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    if (!FItemId) throw EOutOfResources(L"Not enough memory for the tree view item");
    HTREEITEM last = TVI_FIRST;
    for (auto& child : FChildren) {
        child->InsertIntoWindow(tree, last);
        last = child->FItemId;
    }
    if (FExpanded) ::SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(FItemId));
}

void TTreeNode::Detach(bool keepState) {
    if (FItemId && keepState) {
        FText = Text();
        FExpanded = Expanded();
    }
    for (auto& child : FChildren) child->Detach(keepState);
    FItemId = nullptr;
}

// ---------------------------------------------------------------- TTreeNodes

TTreeNodes::~TTreeNodes() = default;

std::vector<std::unique_ptr<TTreeNode>>& TTreeNodes::SiblingsOf(TTreeNode* parent) noexcept {
    return parent ? parent->FChildren : FRoots;
}

TTreeNode* TTreeNodes::InsertNode(TTreeNode* parent, std::size_t index, const String& text, void* data) {
    // The window first: making it puts the nodes there so far into it.
    const HWND tree = FOwner.TreeHandle();
    auto& siblings = SiblingsOf(parent);
    index = std::min(index, siblings.size());
    auto node = std::make_unique<TTreeNode>(*this, parent);
    node->FText = text;
    node->FData = data;
    TTreeNode* result = node.get();
    siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(index), std::move(node));
    if (tree && (!parent || parent->FItemId)) {
        HTREEITEM after = index == 0 ? TVI_FIRST : siblings[index - 1]->FItemId;
        try {
            result->InsertIntoWindow(tree, after);
        } catch (...) {
            siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(index));
            throw;
        }
    }
    // A parent shows its button once it has a child.
    if (parent && !parent->FHasChildren) parent->SetHasChildren(true);
    return result;
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const String& text) { return AddObject(sibling, text, nullptr); }

TTreeNode* TTreeNodes::AddObject(TTreeNode* sibling, const String& text, void* data) {
    TTreeNode* parent = sibling ? sibling->Parent() : nullptr;
    return InsertNode(parent, SiblingsOf(parent).size(), text, data);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* sibling, const String& text) {
    return InsertNode(sibling ? sibling->Parent() : nullptr, 0, text, nullptr);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const String& text) { return AddChildObject(parent, text, nullptr); }

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* parent, const String& text, void* data) {
    return InsertNode(parent, SiblingsOf(parent).size(), text, data);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* parent, const String& text) {
    return InsertNode(parent, 0, text, nullptr);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* sibling, const String& text) {
    if (!sibling) return Add(nullptr, text);
    return InsertNode(sibling->Parent(), static_cast<std::size_t>(sibling->Index()), text, nullptr);
}

void TTreeNodes::NotifyDeletion(TTreeNode* node) {
    for (auto& child : node->FChildren) NotifyDeletion(child.get());
    FOwner.Delete(node);
}

void TTreeNodes::Forget(TTreeNode* node, bool notify) {
    TTreeView& tree = FOwner;
    if (tree.FSavedSelected) {
        for (TTreeNode* p = tree.FSavedSelected; p; p = p->Parent())
            if (p == node) tree.FSavedSelected = nullptr;
    }
    auto& siblings = SiblingsOf(node->Parent());
    auto it = std::find_if(siblings.begin(), siblings.end(), [node](const auto& n) { return n.get() == node; });
    if (it == siblings.end()) return;
    if (notify) NotifyDeletion(node);
    std::unique_ptr<TTreeNode> gone = std::move(*it);
    siblings.erase(it);
}

void TTreeNodes::Delete(TTreeNode* node) {
    if (!node || &node->FOwner != this) return;
    TTreeNode* parent = node->Parent();
    // The tree hears of the nodes while their items still exist.
    NotifyDeletion(node);
    if (node->FItemId && FOwner.HandleAllocated()) {
        ++FOwner.FDeleting;
        ::SendMessageW(FOwner.FHandle, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node->FItemId));
        --FOwner.FDeleting;
    }
    Forget(node, false);
    if (parent && parent->FChildren.empty()) parent->SetHasChildren(false);
}

void TTreeNodes::Clear() {
    for (auto& root : FRoots) NotifyDeletion(root.get());
    if (FOwner.HandleAllocated()) {
        ++FOwner.FDeleting;
        ::SendMessageW(FOwner.FHandle, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
        --FOwner.FDeleting;
    }
    FOwner.FSavedSelected = nullptr;
    FRoots.clear();
}

int TTreeNodes::Count() const noexcept {
    int count = 0;
    for (TTreeNode* n = GetFirstNode(); n; n = n->GetNext()) ++count;
    return count;
}

TTreeNode* TTreeNodes::Item(int index) const {
    if (index >= 0) {
        int i = 0;
        for (TTreeNode* n = GetFirstNode(); n; n = n->GetNext(), ++i)
            if (i == index) return n;
    }
    throw IndexError(index);
}

TTreeNode* TTreeNodes::GetNode(HTREEITEM item) const {
    if (!item || !FOwner.HandleAllocated()) return nullptr;
    TVITEMW tv{};
    tv.mask = TVIF_PARAM | TVIF_HANDLE;
    tv.hItem = item;
    if (!::SendMessageW(FOwner.FHandle, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) return nullptr;
    // Only items we inserted carry a node; check it is still one of ours.
    auto* node = reinterpret_cast<TTreeNode*>(tv.lParam);
    return FLive.count(node) && node->FItemId == item ? node : nullptr;
}

void TTreeNodes::BeginUpdate() {
    if (FUpdateCount++ == 0 && FOwner.HandleAllocated()) ::SendMessageW(FOwner.FHandle, WM_SETREDRAW, FALSE, 0);
}

void TTreeNodes::EndUpdate() {
    if (FUpdateCount == 0) return;
    if (--FUpdateCount == 0 && FOwner.HandleAllocated()) {
        ::SendMessageW(FOwner.FHandle, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(FOwner.FHandle, nullptr, TRUE);
    }
}

// ---------------------------------------------------------------- TTreeView

TTreeView::TTreeView(TComponent* owner) : TWinControl(owner) {
    ControlStyle = csCaptureMouse | csClickEvents | csDoubleClicks;
    SetBounds(0, 0, 121, 97);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
    FCanvas.SetControl(this);
    FImageChangeLink.OnChange = [this](TImageList&) { ApplyImageList(); };
}

TTreeView::~TTreeView() {
    Destroying();
    if (FImages) {
        FImages->UnRegisterChanges(&FImageChangeLink);
        FImages->RemoveFreeNotification(this);
    }
    // The window goes first, its items with it; then the node objects.
    FDetached = true;
    DestroyHandle();
    FItems.FRoots.clear();
}

HWND TTreeView::TreeHandle() const {
    auto* self = const_cast<TTreeView*>(this);
    if (self->HandleAllocated()) return FHandle;
    if (HasState(csDestroying) || (ControlState & csDestroyingHandle) || !Parent()) return nullptr;
    self->HandleNeeded();
    return FHandle;
}

void TTreeView::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TREEVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);
    CreateSubClass(params, WC_TREEVIEWW);
    params.Style |= WS_TABSTOP;
    if (FShowLines) params.Style |= TVS_HASLINES;
    if (FShowButtons) params.Style |= TVS_HASBUTTONS;
    if (FShowRoot) params.Style |= TVS_LINESATROOT;
    if (!FHideSelection) params.Style |= TVS_SHOWSELALWAYS;
    if (!FReadOnly) params.Style |= TVS_EDITLABELS;
    if (FBorderStyle == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TTreeView::CreateWnd() {
    TWinControl::CreateWnd();
    FDetached = false;
    ::SendMessageW(FHandle, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToGdi(Color())));
    ::SendMessageW(FHandle, TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(ColorToGdi(Font().Color())));
    ApplyImageList();
    HTREEITEM last = TVI_FIRST;
    for (auto& root : FItems.FRoots) {
        root->InsertIntoWindow(FHandle, last);
        last = root->FItemId;
    }
    if (FSavedSelected && FSavedSelected->FItemId)
        ::SendMessageW(FHandle, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(FSavedSelected->FItemId));
    FSavedSelected = nullptr;
}

void TTreeView::SaveNodes() {
    if (!FHandle || FDetached) return;
    FSavedSelected = Selected();
    for (auto& root : FItems.FRoots) root->Detach(true);
    FDetached = true;
}

TTreeNode* TTreeView::Selected() {
    if (!HandleAllocated()) return FSavedSelected;
    return FItems.GetNode(reinterpret_cast<HTREEITEM>(::SendMessageW(FHandle, TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

void TTreeView::SetSelected(TTreeNode* node) {
    if (node && &node->Owner() != &FItems) return;
    HWND tree = TreeHandle();
    if (!tree || (node && !node->FItemId)) {
        FSavedSelected = node;
        return;
    }
    ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node ? node->FItemId : nullptr));
}

TTreeNode* TTreeView::GetNodeAt(int x, int y) {
    if (!HandleAllocated()) return nullptr;
    TVHITTESTINFO hit{};
    hit.pt = {x, y};
    ::SendMessageW(FHandle, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (!(hit.flags & (TVHT_ONITEM | TVHT_ONITEMBUTTON | TVHT_ONITEMINDENT | TVHT_ONITEMRIGHT))) return nullptr;
    return FItems.GetNode(hit.hItem);
}

void TTreeView::SetImages(TImageList* images) {
    if (images == FImages) return;
    if (FImages) {
        FImages->UnRegisterChanges(&FImageChangeLink);
        FImages->RemoveFreeNotification(this);
    }
    FImages = images;
    if (FImages) {
        FImages->RegisterChanges(&FImageChangeLink);
        FImages->FreeNotification(this);
    }
    ApplyImageList();
}

void TTreeView::ApplyImageList() {
    if (!HandleAllocated()) return;
    ::SendMessageW(FHandle, TVM_SETIMAGELIST, TVSIL_NORMAL,
                   reinterpret_cast<LPARAM>(FImages ? FImages->Handle() : nullptr));
}

void TTreeView::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == FImages) {
        FImages = nullptr;
        ApplyImageList();
    }
}

void TTreeView::SetStyleFlag(bool& field, bool on) {
    if (field == on) return;
    field = on;
    RecreateWnd();
}

void TTreeView::SetShowLines(bool on) { SetStyleFlag(FShowLines, on); }
void TTreeView::SetShowButtons(bool on) { SetStyleFlag(FShowButtons, on); }
void TTreeView::SetShowRoot(bool on) { SetStyleFlag(FShowRoot, on); }
void TTreeView::SetHideSelection(bool on) { SetStyleFlag(FHideSelection, on); }
void TTreeView::SetReadOnly(bool on) { SetStyleFlag(FReadOnly, on); }

void TTreeView::SetBorderStyle(TBorderStyle style) {
    if (style == FBorderStyle) return;
    FBorderStyle = style;
    RecreateWnd();
}

void TTreeView::FullExpand() {
    for (TTreeNode* n = FItems.GetFirstNode(); n; n = n->GetNextSibling()) n->Expand(true);
}

void TTreeView::FullCollapse() {
    for (TTreeNode* n = FItems.GetFirstNode(); n; n = n->GetNextSibling()) n->Collapse(true);
}

bool TTreeView::CanExpand(TTreeNode* node) {
    bool allow = true;
    if (OnExpanding) OnExpanding(this, node, allow);
    return allow;
}

bool TTreeView::CanCollapse(TTreeNode* node) {
    bool allow = true;
    if (OnCollapsing) OnCollapsing(this, node, allow);
    return allow;
}

bool TTreeView::CanChange(TTreeNode* node) {
    bool allow = true;
    if (OnChanging) OnChanging(this, node, allow);
    return allow;
}

void TTreeView::Change(TTreeNode* node) {
    if (OnChange) OnChange(this, node);
}
void TTreeView::Expand(TTreeNode* node) {
    if (OnExpanded) OnExpanded(this, node);
}
void TTreeView::Collapse(TTreeNode* node) {
    if (OnCollapsed) OnCollapsed(this, node);
}

bool TTreeView::EndLabelEdit(TTreeNode* node, const String& text) {
    node->FText = text;
    return true;
}

bool TTreeView::IsEditing() const {
    return HandleAllocated() && ::SendMessageW(FHandle, TVM_GETEDITCONTROL, 0, 0) != 0;
}

bool TTreeView::IsCustomDrawn(TCustomDrawStage stage) const {
    if (stage == cdPrePaint) return OnCustomDrawItem || OnAdvancedCustomDrawItem;
    return static_cast<bool>(OnAdvancedCustomDrawItem);
}

bool TTreeView::CustomDrawItem(TTreeNode* node, TCustomDrawState state, TCustomDrawStage stage, bool& paintImages) {
    bool defaultDraw = true;
    if (stage == cdPrePaint && OnCustomDrawItem) OnCustomDrawItem(this, node, state, defaultDraw);
    if (defaultDraw && OnAdvancedCustomDrawItem)
        OnAdvancedCustomDrawItem(this, node, state, stage, paintImages, defaultDraw);
    return defaultDraw;
}

void TTreeView::CustomDraw(TMessage& message) {
    auto* draw = reinterpret_cast<NMTVCUSTOMDRAW*>(message.LParam);
    NMCUSTOMDRAW& nm = draw->nmcd;
    message.Result = CDRF_DODEFAULT;
    switch (nm.dwDrawStage) {
    case CDDS_PREPAINT:
        if (IsCustomDrawn(cdPrePaint) || IsCustomDrawn(cdPostPaint)) message.Result = CDRF_NOTIFYITEMDRAW;
        return;
    case CDDS_ITEMPREPAINT:
    case CDDS_ITEMPOSTPAINT: {
        const TCustomDrawStage stage = nm.dwDrawStage == CDDS_ITEMPREPAINT ? cdPrePaint : cdPostPaint;
        if (!IsCustomDrawn(stage)) {
            if (stage == cdPrePaint && IsCustomDrawn(cdPostPaint)) message.Result = CDRF_NOTIFYPOSTPAINT;
            return;
        }
        TTreeNode* node = FItems.GetNode(reinterpret_cast<HTREEITEM>(nm.dwItemSpec));
        if (!node) return;
        TCustomDrawState state = 0;
        if (nm.uItemState & CDIS_SELECTED) state |= cdsSelected;
        if (nm.uItemState & CDIS_GRAYED) state |= cdsGrayed;
        if (nm.uItemState & CDIS_DISABLED) state |= cdsDisabled;
        if (nm.uItemState & CDIS_CHECKED) state |= cdsChecked;
        if (nm.uItemState & CDIS_FOCUS) state |= cdsFocused;
        if (nm.uItemState & CDIS_DEFAULT) state |= cdsDefault;
        if (nm.uItemState & CDIS_HOT) state |= cdsHot;
        if (nm.uItemState & CDIS_MARKED) state |= cdsMarked;
        if (nm.uItemState & CDIS_INDETERMINATE) state |= cdsIndeterminate;
        bool defaultDraw = true;
        {
            const TCanvasDC lent(FCanvas, nm.hdc);
            FCanvas.Font().Assign(Font());
            FCanvas.Brush().SetColor(Color());
            if (state & cdsSelected) {
                FCanvas.Font().SetColor(clHighlightText);
                FCanvas.Brush().SetColor(clHighlight);
            }
            bool paintImages = true;
            defaultDraw = CustomDrawItem(node, state, stage, paintImages);
            if (stage == cdPrePaint) {
                // The handler's colours become the node's text colours.
                draw->clrText = ColorToGdi(FCanvas.Font().Color());
                draw->clrTextBk = ColorToGdi(FCanvas.Brush().Color());
            }
        }
        if (!defaultDraw) message.Result = CDRF_SKIPDEFAULT;
        else if (stage == cdPrePaint && IsCustomDrawn(cdPostPaint)) message.Result = CDRF_NOTIFYPOSTPAINT;
        return;
    }
    default: return;
    }
}

// The window's notifications; each sets message.Result, which is 0 unless it says otherwise.
void TTreeView::CNNotify(TMessage& message) {
    const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
    message.Result = 0;
    switch (header->code) {
    case NM_CUSTOMDRAW: CustomDraw(message); return;
    case TVN_SELCHANGINGW:
    case TVN_SELCHANGINGA: TVNSelChanging(message); return;
    case TVN_SELCHANGEDW:
    case TVN_SELCHANGEDA: TVNSelChanged(message); return;
    case TVN_ITEMEXPANDINGW:
    case TVN_ITEMEXPANDINGA: TVNItemExpanding(message); return;
    case TVN_ITEMEXPANDEDW:
    case TVN_ITEMEXPANDEDA: TVNItemExpanded(message); return;
    case TVN_DELETEITEMW:
    case TVN_DELETEITEMA: TVNDeleteItem(message); return;
    case TVN_ENDLABELEDITW: TVNEndLabelEdit(message); return;
    default: return;
    }
}

void TTreeView::TVNSelChanging(TMessage& message) {
    const auto* tv = reinterpret_cast<const NMTREEVIEWW*>(message.LParam);
    TTreeNode* node = FItems.GetNode(tv->itemNew.hItem);
    if (!FDetached && FDeleting == 0 && !CanChange(node)) message.Result = TRUE;
}

void TTreeView::TVNSelChanged(TMessage& message) {
    if (FDetached) return;
    const auto* tv = reinterpret_cast<const NMTREEVIEWW*>(message.LParam);
    Change(FItems.GetNode(tv->itemNew.hItem));
}

void TTreeView::TVNItemExpanding(TMessage& message) {
    if (FManualNotify || FDetached) return;
    const auto* tv = reinterpret_cast<const NMTREEVIEWW*>(message.LParam);
    TTreeNode* node = FItems.GetNode(tv->itemNew.hItem);
    if (!node) return;
    const bool allowed = tv->action == TVE_EXPAND ? CanExpand(node) : CanCollapse(node);
    message.Result = allowed ? FALSE : TRUE;
}

void TTreeView::TVNItemExpanded(TMessage& message) {
    if (FManualNotify || FDetached) return;
    const auto* tv = reinterpret_cast<const NMTREEVIEWW*>(message.LParam);
    if (TTreeNode* node = FItems.GetNode(tv->itemNew.hItem)) {
        if (tv->action == TVE_EXPAND) Expand(node);
        else Collapse(node);
    }
}

// An item another program deleted takes its node along; our own deletions and the
// window's end keep the nodes.
void TTreeView::TVNDeleteItem(TMessage& message) {
    if (FDetached || FDeleting > 0 || HasState(csDestroying)) return;
    const auto* tv = reinterpret_cast<const NMTREEVIEWW*>(message.LParam);
    auto* node = reinterpret_cast<TTreeNode*>(tv->itemOld.lParam);
    if (!FItems.FLive.count(node) || node->FItemId != tv->itemOld.hItem) return;
    // The node goes with its children (the window deletes theirs as well).
    node->Detach(false);
    TTreeNode* parent = node->Parent();
    FItems.Forget(node);
    if (parent && parent->FChildren.empty()) parent->FHasChildren = false;
}

void TTreeView::TVNEndLabelEdit(TMessage& message) {
    const auto* info = reinterpret_cast<const NMTVDISPINFOW*>(message.LParam);
    if (!info->item.pszText) return;  // cancelled
    TTreeNode* node = FItems.GetNode(info->item.hItem);
    if (!node) return;
    message.Result = EndLabelEdit(node, info->item.pszText) ? TRUE : FALSE;
}

void TTreeView::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CN_NOTIFY: CNNotify(message); return;
    case WM_DESTROY: SaveNodes(); break;
    case CM_COLORCHANGED:
        if (HandleAllocated()) ::SendMessageW(FHandle, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToGdi(Color())));
        break;
    case CM_FONTCHANGED:
        if (HandleAllocated())
            ::SendMessageW(FHandle, TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(ColorToGdi(Font().Color())));
        break;
    default: break;
    }
    TWinControl::WndProc(message);
}

}  // namespace qv
