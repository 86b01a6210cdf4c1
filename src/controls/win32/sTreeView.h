// TsTreeView: the framework's tree view under the skin. The system keeps drawing nodes,
// lines, buttons and icons; the skin gives the background and text colours, the border
// and the scroll bars (through TacTreeViewWnd, an edit wrapper) and the selected node's
// face, drawn over the node after the system drew it.
#pragma once
#include "controls/win32/acEditWnd.h"
#include "controls/win32/sBoundLabel.h"
#include "controls/win32/sCommonData.h"
#include "framework/win32/ComCtrls.h"

#include <memory>

namespace qv {

class TsTreeView;

// The edit wrapper of a tree: the tree's background colour from the skin and its erase
// filled with it.
class TacTreeViewWnd : public TacEditWnd {
public:
    TacTreeViewWnd(HWND wnd, TsCommonData* binding, TsSkinManager* manager, const String& section = L"EDIT",
                   bool repaint = true);
    void acWndProc(TMessage& message) override;
    void SetSkinParams() override;
    void RestoreStdParams() override;

private:
    void WMEraseBkgnd(TMessage& message);
};

class TsTreeView : public TTreeView {
public:
    explicit TsTreeView(TComponent* owner);
    TsTreeView(const TsTreeView&) = delete;
    TsTreeView& operator=(const TsTreeView&) = delete;
    ~TsTreeView() override;
    String ClassName() const override { return L"TsTreeView"; }

    void AfterConstruction() override;
    void Loaded() override;

    TsCtrlSkinData* SkinData() noexcept { return FCommonData.get(); }
    TsBoundLabel* BoundLabel() noexcept { return FBoundLabel.get(); }
    TacTreeViewWnd* ListSW() const noexcept { return FListSW; }
    // Creates or drops the wrapper as the skin says (only once the window exists).
    void RefreshTreeScrolls();

protected:
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;
    // The application's handlers first; then, after the system drew the selected node,
    // the skin's face over its text.
    bool CustomDrawItem(TTreeNode* node, TCustomDrawState state, TCustomDrawStage stage, bool& paintImages) override;
    bool IsCustomDrawn(TCustomDrawStage stage) const override;

private:
    bool SkinCommand(TMessage& message);
    void PaintSelectedNode(TTreeNode* node, TCustomDrawState state);
    void ReleaseWrapper() noexcept;

    std::unique_ptr<TsCtrlSkinData> FCommonData;
    std::unique_ptr<TsBoundLabel> FBoundLabel;
    TacTreeViewWnd* FListSW = nullptr;
};

}  // namespace qv
