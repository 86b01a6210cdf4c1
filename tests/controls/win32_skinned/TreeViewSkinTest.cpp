// The skinned tree read back from the screen: the selected node's text with the
// SELECTION face (hot while the tree has the focus), the background in the EDIT colour,
// and no paint after paint while the tree rests.
#include "SkinnedWindow.h"

#include "controls/win32/sTreeView.h"

namespace qv {
namespace {

class SkinnedTree : public test::SkinnedWindow {
protected:
    void SetUp() override {
        test::SkinnedWindow::SetUp();
        if (HasFatalFailure()) return;
        tree = Place<TsTreeView>(10, 10, 220, 180);
        tree->SetHideSelection(false);
        TTreeNode* root = tree->Items().Add(nullptr, L"Desktop");
        for (const wchar_t* name : {L"Documents", L"Pictures", L"Music"}) tree->Items().AddChild(root, name);
        root->Expand(false);
        AddFocusSink(260, 10);
        ShowAndPaint();
        ASSERT_NE(tree->ListSW(), nullptr);
        node = root->Item(1);
        tree->SetSelected(node);
        WaitForNode(Section(L"SELECTION").Color);
    }
    // The middle of the node's text rectangle (its right end, past the text), in the
    // tree's window picture.
    std::uint32_t NodeColour(const TBitmap& shot) {
        const TRect r = node->DisplayRect(true);
        RECT w{};
        ::GetWindowRect(tree->Handle(), &w);
        POINT origin{0, 0};
        ::ClientToScreen(tree->Handle(), &origin);
        return test::Rgb(shot, origin.x - w.left + r.Right - 2, origin.y - w.top + (r.Top + r.Bottom) / 2);
    }
    const TsGeneralData& Section(const wchar_t* name) {
        return manager->gd[static_cast<std::size_t>(manager->GetSkinIndex(name))];
    }
    // Pumps until the screen shows about the colour at the node, or gives up (the checks
    // after it tell what the screen shows instead).
    void WaitForNode(TColor colour) {
        test::PumpUntil([&] {
            return static_cast<bool>(
                test::Near(NodeColour(*test::CaptureScreenOf(tree->Handle())), test::Rgb(colour), 3));
        });
    }

    TsTreeView* tree = nullptr;
    TTreeNode* node = nullptr;
};

TEST_F(SkinnedTree, SelectedNodeShowsTheSelectionFaceHotOnlyWhileTheTreeHasTheFocus) {
    auto shot = test::CaptureScreenOf(tree->Handle());
    EXPECT_TRUE(test::Near(NodeColour(*shot), test::Rgb(Section(L"SELECTION").Color), 3));
    tree->SetFocus();
    WaitForNode(Section(L"SELECTION").HotColor);
    shot = test::CaptureScreenOf(tree->Handle());
    EXPECT_TRUE(test::Near(NodeColour(*shot), test::Rgb(Section(L"SELECTION").HotColor), 3));
    // The background is the EDIT colour, set once on the tree.
    EXPECT_EQ(static_cast<COLORREF>(::SendMessageW(tree->Handle(), TVM_GETBKCOLOR, 0, 0)),
              static_cast<COLORREF>(Section(L"EDIT").Color));
    EXPECT_TRUE(test::Near(test::Rgb(*shot, 200, 160), test::Rgb(Section(L"EDIT").Color), 3));
}

TEST_F(SkinnedTree, ARestingTreeDoesNotPaintAgainAndAgain) {
    struct Counter {
        static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM a, LPARAM b) {
            if (m == WM_PAINT || m == WM_NCPAINT) ++Paints();
            return ::CallWindowProcW(Old(), w, m, a, b);
        }
        static int& Paints() {
            static int n = 0;
            return n;
        }
        static WNDPROC& Old() {
            static WNDPROC p = nullptr;
            return p;
        }
    };
    Counter::Old() = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(tree->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Counter::Proc)));
    // Until everything asked for is painted; then the tree rests.
    EXPECT_TRUE(test::PumpUntil([&] { return !::GetUpdateRect(tree->Handle(), nullptr, FALSE); }));
    Application().ProcessMessages();
    Counter::Paints() = 0;
    test::PumpFor(400);  // proves that no paint comes by itself: nothing to wait for
    EXPECT_EQ(Counter::Paints(), 0);
    ::SetWindowLongPtrW(tree->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Counter::Old()));
}

}  // namespace
}  // namespace qv
