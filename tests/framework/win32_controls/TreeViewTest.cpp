// The tree view keeps its node texts in its window, where other programs read them.
#include "framework/SysUtils.h"
#include "framework/win32/ComCtrls.h"
#include "framework/win32/Forms.h"

#include "win32/TestWindows.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

// Reads an item the way another process would: TVM_GETITEM on the window handle.
String ItemText(HWND tree, HTREEITEM item) {
    wchar_t buffer[256] = {};
    TVITEMW tv{};
    tv.mask = TVIF_TEXT | TVIF_HANDLE;
    tv.hItem = item;
    tv.pszText = buffer;
    tv.cchTextMax = 256;
    if (!::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) return L"<none>";
    return buffer;
}

HTREEITEM Next(HWND tree, HTREEITEM item, UINT how) {
    return reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
}

// "a(b c(d))" for the window's whole tree: texts depth first, children in brackets.
String Outline(HWND tree, HTREEITEM first) {
    String out;
    for (HTREEITEM item = first; item; item = Next(tree, item, TVGN_NEXT)) {
        if (!out.empty()) out += L" ";
        out += ItemText(tree, item);
        if (HTREEITEM child = Next(tree, item, TVGN_CHILD)) out += L"(" + Outline(tree, child) + L")";
    }
    return out;
}

String Outline(HWND tree) { return Outline(tree, Next(tree, nullptr, TVGN_ROOT)); }

class TreeViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form.reset(NewForm<TForm>(nullptr));
        Form->SetBounds(100, 100, 300, 300);
        Tree = new TTreeView(Form.get());
        Tree->SetParent(Form.get());
        Tree->SetBounds(10, 10, 250, 250);
    }
    std::unique_ptr<TForm> Form;
    TTreeView* Tree = nullptr;
};

}  // namespace

TEST_F(TreeViewTest, NodesAreReadableFromOutsideInTheirOrder) {
    TTreeNode* desktop = Tree->Items().AddChild(nullptr, L"Desktop");
    TTreeNode* docs = Tree->Items().AddChild(desktop, L"Documents");
    Tree->Items().AddChild(desktop, L"Pictures \u6587");
    Tree->Items().AddChildFirst(desktop, L"Computer");
    Tree->Items().AddChild(docs, L"Letters");
    Tree->Items().Add(desktop, L"Network");
    Tree->Items().Insert(desktop, L"First root");
    const HWND wnd = Tree->Handle();
    EXPECT_EQ(ClassNameOf(wnd), L"TTreeView");
    EXPECT_EQ(Outline(wnd), L"First root Desktop(Computer Documents(Letters) Pictures \u6587) Network");
    EXPECT_EQ(Tree->Items().Count(), 7);
    EXPECT_EQ(Tree->Items().Item(3)->Text(), L"Documents");
    EXPECT_EQ(docs->Level(), 1);
    EXPECT_EQ(docs->Index(), 1);
    EXPECT_EQ(docs->AbsoluteIndex(), 3);
    EXPECT_TRUE(desktop->HasChildren());
    EXPECT_THROW(Tree->Items().Item(7), EListError);

    docs->SetText(L"My Documents");
    EXPECT_EQ(ItemText(wnd, docs->ItemId()), L"My Documents");
    docs->Delete();
    EXPECT_EQ(Outline(wnd), L"First root Desktop(Computer Pictures \u6587) Network");
    EXPECT_EQ(Tree->Items().Count(), 5);

    // An item deleted by another program takes its node along.
    TTreeNode* network = Tree->Items().GetFirstNode()->GetNextSibling()->GetNextSibling();
    ASSERT_EQ(network->Text(), L"Network");
    ::SendMessageW(wnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(network->ItemId()));
    EXPECT_EQ(Tree->Items().Count(), 4);
    EXPECT_EQ(Tree->Items().RootCount(), 2);
}

TEST_F(TreeViewTest, NodesDataExpansionAndSelectionSurviveANewWindow) {
    int payload = 42;
    TTreeNode* root = Tree->Items().AddChildObject(nullptr, L"Root", &payload);
    TTreeNode* child = Tree->Items().AddChild(root, L"Child");
    Tree->Items().AddChild(child, L"Grandchild");
    root->Expand(false);
    Tree->SetSelected(child);
    EXPECT_TRUE(root->Expanded());
    EXPECT_FALSE(child->Expanded());
    EXPECT_TRUE(child->Selected());

    Tree->SetShowLines(false);  // the window is made again
    const HWND wnd = Tree->Handle();
    EXPECT_EQ(::GetWindowLongPtrW(wnd, GWL_STYLE) & TVS_HASLINES, 0);
    EXPECT_EQ(Outline(wnd), L"Root(Child(Grandchild))");
    EXPECT_EQ(Tree->Selected(), child);
    EXPECT_TRUE(root->Expanded());
    EXPECT_FALSE(child->Expanded());
    EXPECT_EQ(Tree->Items().GetFirstNode()->Data(), &payload);
}

TEST_F(TreeViewTest, ExpandingAndSelectionEventsCanRefuse) {
    TTreeNode* lazy = Tree->Items().AddChild(nullptr, L"Lazy");
    lazy->SetHasChildren(true);  // children come when it is first expanded
    TTreeNode* other = Tree->Items().AddChild(nullptr, L"Other");
    int expanding = 0, changes = 0;
    bool allowExpand = true, allowChange = true;
    Tree->OnExpanding = [&](TComponent*, TTreeNode* node, bool& allow) {
        ++expanding;
        allow = allowExpand;
        if (allow && node->Count() == 0) Tree->Items().AddChild(node, L"Loaded");
    };
    Tree->OnChanging = [&](TComponent*, TTreeNode*, bool& allow) { allow = allowChange; };
    Tree->OnChange = [&](TComponent*, TTreeNode*) { ++changes; };
    const HWND wnd = Tree->Handle();

    // The user (or another program) expanding through the window asks OnExpanding.
    allowExpand = false;
    ::SendMessageW(wnd, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(lazy->ItemId()));
    // Programmatic expansion asks it once too.
    lazy->Expand(false);
    EXPECT_FALSE(lazy->Expanded());
    EXPECT_EQ(lazy->Count(), 0);
    allowExpand = true;
    lazy->Expand(false);
    EXPECT_TRUE(lazy->Expanded());
    EXPECT_EQ(Outline(wnd), L"Lazy(Loaded) Other");
    EXPECT_GE(expanding, 2);

    Tree->SetSelected(other);
    EXPECT_EQ(changes, 1);
    allowChange = false;
    ::SendMessageW(wnd, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(lazy->ItemId()));
    EXPECT_EQ(Tree->Selected(), other) << "OnChanging refused, the selection moved anyway";
}

TEST_F(TreeViewTest, CustomDrawSeesEveryVisibleNodeAndCanTakeOverOne) {
    Tree->Items().AddChild(nullptr, L"One");
    TTreeNode* two = Tree->Items().AddChild(nullptr, L"Two");
    std::vector<String> pre, post;
    Tree->OnAdvancedCustomDrawItem = [&](TTreeView*, TTreeNode* node, TCustomDrawState, TCustomDrawStage stage, bool&,
                                         bool& defaultDraw) {
        (stage == cdPrePaint ? pre : post).push_back(node->Text());
        if (node == two && stage == cdPrePaint) defaultDraw = false;
    };
    Form->Show();
    ::RedrawWindow(Tree->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(pre, (std::vector<String>{L"One", L"Two"}));
    EXPECT_EQ(post, (std::vector<String>{L"One"})) << "a node whose drawing was taken over still got post-paint";
}

namespace {

// A tree that keeps its own record per node and refuses label texts starting with "x".
class RecordingTree : public TTreeView {
public:
    using TTreeView::TTreeView;
    std::vector<String> Deleted;

protected:
    void Delete(TTreeNode* node) override { Deleted.push_back(node->Text()); }
    bool EndLabelEdit(TTreeNode* node, const String& text) override {
        return !text.empty() && text[0] != L'x' && TTreeView::EndLabelEdit(node, text);
    }
};

}  // namespace

TEST_F(TreeViewTest, DeletionReportsEverySubtreeNodeDeepestFirstAndALabelEditCanBeRefused) {
    auto* tree = new RecordingTree(Form.get());
    tree->SetParent(Form.get());
    tree->SetBounds(10, 10, 250, 250);
    TTreeNode* a = tree->Items().AddChild(nullptr, L"a");
    TTreeNode* b = tree->Items().AddChild(a, L"b");
    tree->Items().AddChild(b, L"c");
    tree->Items().AddChild(a, L"d");
    TTreeNode* e = tree->Items().AddChild(nullptr, L"e");
    Form->Show();

    // A label typed in place: refused text leaves the old label, accepted text is kept,
    // in the window and in the node.
    for (const wchar_t* typed : {L"xno", L"yes"}) {
        e->EditText();
        ASSERT_TRUE(tree->IsEditing());
        HWND edit = reinterpret_cast<HWND>(::SendMessageW(tree->Handle(), TVM_GETEDITCONTROL, 0, 0));
        ::SetWindowTextW(edit, typed);
        e->EndEdit(false);
        EXPECT_FALSE(tree->IsEditing());
    }
    EXPECT_EQ(ItemText(tree->Handle(), e->ItemId()), L"yes");
    EXPECT_EQ(e->Text(), L"yes");

    b->Delete();
    EXPECT_EQ(tree->Deleted, (std::vector<String>{L"c", L"b"}));
    tree->Deleted.clear();
    tree->Items().Clear();
    EXPECT_EQ(tree->Deleted, (std::vector<String>{L"d", L"a", L"yes"}));
}
