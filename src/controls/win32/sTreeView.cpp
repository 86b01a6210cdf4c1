#include "controls/win32/sTreeView.h"

#include "controls/win32/acManagerSource.h"
#include "framework/win32/Handles.h"
#include "framework/win32/Application.h"
#include "paint/sAlphaGraph.h"
#include "paint/sGraphUtils.h"
#include "paint/win32/sGraphUtils_Text.h"
#include "skin/win32/sMessages.h"
#include "skin/win32/sVclUtils.h"

namespace qv {

namespace {

bool Designing(const TComponent* c) noexcept { return c->HasState(csDesigning); }

// Sets the tree's background only when it differs: the system repaints the whole tree on
// every TVM_SETBKCOLOR.
void SetTreeBackground(HWND tree, TColor colour) {
    const COLORREF want = ColorToGdi(colour);
    if (static_cast<COLORREF>(::SendMessageW(tree, TVM_GETBKCOLOR, 0, 0)) != want)
        ::SendMessageW(tree, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(want));
}

}  // namespace

// ---------------------------------------------------------------- TacTreeViewWnd

TacTreeViewWnd::TacTreeViewWnd(HWND wnd, TsCommonData* binding, TsSkinManager* manager, const String& section,
                               bool repaint)
    : TacEditWnd(wnd, binding, manager, section, repaint) {}

void TacTreeViewWnd::SetSkinParams() {
    ParamsChanged = true;
    TsCommonData* b = SkinData;
    TsSkinManager* m = b ? b->GetSkinManager() : nullptr;
    TColor colour = ColorToRGB(clWindow);
    if (!DlgMode) {
        if (!m || !m->IsValidSkinIndex(b->FSkinIndex)) return;
        const TsGeneralData& gd = m->gd[static_cast<std::size_t>(b->FSkinIndex)];
        const int s = (gd.States > 1 && b->ControlIsActive()) ? 1 : 0;
        colour = gd.Props[static_cast<std::size_t>(s)].Color;
        if (TControl* owner = OwnerControl(); owner && !b->FCustomFont) {
            const TColor fc = gd.Props[static_cast<std::size_t>(s)].FontColor.Color;
            if (owner->Font().Color() != fc) owner->Font().SetColor(fc);
        }
    }
    if (b && !b->FCustomColor) SetTreeBackground(CtrlHandle, colour);
}

void TacTreeViewWnd::RestoreStdParams() {
    TacEditWnd::RestoreStdParams();
    if (::IsWindowVisible(CtrlHandle)) SetTreeBackground(CtrlHandle, ColorToRGB(clWindow));
}

void TacTreeViewWnd::WMEraseBkgnd(TMessage& message) {
    TsCommonData* b = SkinData;
    b->FUpdating = b->GetUpdating();
    message.Result = 0;
    if (b->FUpdating) return;
    if (b->BGChanged) PrepareCache();
    TColor colour = ColorToRGB(clWindow);
    TsSkinManager* m = b->GetSkinManager();
    if (!DlgMode && m && m->IsValidSkinIndex(b->FSkinIndex))
        colour = m->gd[static_cast<std::size_t>(b->FSkinIndex)].Color;
    // The DC the message brings, or the window's own for as long as the fill takes.
    const WindowDC own(message.WParam ? nullptr : CtrlHandle);
    HDC dc = message.WParam ? reinterpret_cast<HDC>(message.WParam) : own.get();
    RECT r{};
    ::GetWindowRect(CtrlHandle, &r);
    if (dc) FillDC(dc, {0, 0, r.right - r.left, r.bottom - r.top}, colour);
}

void TacTreeViewWnd::acWndProc(TMessage& message) {
    if (!SkinData || !ManagerActive() || Destroyed) {
        TacEditWnd::acWndProc(message);
        return;
    }
    if (message.Msg == WM_ERASEBKGND) {
        WMEraseBkgnd(message);
        return;
    }
    TacEditWnd::acWndProc(message);
    if (message.Msg == WM_LBUTTONUP && ::GetCapture() == CtrlHandle) ::ReleaseCapture();
}

// ---------------------------------------------------------------- TsTreeView

TsTreeView::TsTreeView(TComponent* owner) : TTreeView(owner) {
    FCommonData = std::make_unique<TsCtrlSkinData>(this, true);
    FCommonData->SetCOC(96);
    if (FCommonData->FSkinSection.empty()) FCommonData->FSkinSection = L"EDIT";
    FBoundLabel = std::make_unique<TsBoundLabel>(this, FCommonData.get());
}

TsTreeView::~TsTreeView() {
    Destroying();
    ReleaseWrapper();
}

void TsTreeView::AfterConstruction() {
    TTreeView::AfterConstruction();
    FCommonData->Loaded();
}

void TsTreeView::Loaded() {
    TTreeView::Loaded();
    FCommonData->Loaded();
    RefreshTreeScrolls();
}

void TsTreeView::CreateWnd() {
    TTreeView::CreateWnd();
    FCommonData->Loaded();
    RefreshTreeScrolls();
}

void TsTreeView::DestroyWnd() {
    ReleaseWrapper();
    TTreeView::DestroyWnd();
}

void TsTreeView::ReleaseWrapper() noexcept {
    if (!FListSW) return;
    TacTreeViewWnd* wrapper = FListSW;
    FListSW = nullptr;
    wrapper->Release();
}

void TsTreeView::RefreshTreeScrolls() {
    if (!HandleAllocated() || HasState(csDestroying)) return;
    if (FCommonData->Skinned()) {
        if (FListSW && FListSW->Destroyed) ReleaseWrapper();
        if (!FListSW)
            FListSW = TacMainWnd::Create<TacTreeViewWnd>(FHandle, FCommonData.get(), FCommonData->FSkinManager,
                                                         FCommonData->FSkinSection, true);
    } else {
        ReleaseWrapper();
    }
}

bool TsTreeView::IsCustomDrawn(TCustomDrawStage stage) const {
    if (stage == cdPostPaint && !Designing(this) && FCommonData->Skinned()) return true;
    return TTreeView::IsCustomDrawn(stage);
}

bool TsTreeView::CustomDrawItem(TTreeNode* node, TCustomDrawState state, TCustomDrawStage stage, bool& paintImages) {
    const bool defaultDraw = TTreeView::CustomDrawItem(node, state, stage, paintImages);
    if (!defaultDraw || Designing(this)) return defaultDraw;
    if (stage != cdPostPaint || !FCommonData->Skinned() || node != Selected()) return defaultDraw;
    const bool focused = HandleAllocated() && ::GetFocus() == FHandle;
    if (!focused && HideSelection()) return defaultDraw;
    PaintSelectedNode(node, state);
    return false;
}

void TsTreeView::PaintSelectedNode(TTreeNode* node, TCustomDrawState state) {
    const TRect r = node->DisplayRect(true);
    TsSkinManager* m = FCommonData->GetSkinManager();
    if (r.IsEmpty() || !m) return;
    const auto bmp = TryCreateBmp32(r.Width(), r.Height());
    if (!bmp) return;
    const TCacheInfo ci{nullptr, 0, 0, ColorToRGB(Color()), false};
    const bool treeFocused = ::GetFocus() == FHandle;
    // The system marks the selected node focused whether or not the tree has the focus.
    const bool focused = (state & cdsFocused) && treeFocused;
    const int selection = m->GetSkinIndex(L"SELECTION");
    const TRect whole{0, 0, r.Width(), r.Height()};
    if (selection < 0) FillRect32(bmp.get(), whole, m->GetHighLightColor(focused));
    else
        PaintItem(selection, L"SELECTION", ci, true, treeFocused ? 1 : 0, whole, {0, 0}, bmp.get(),
                  FCommonData->SkinManager());
    TCanvas& canvas = bmp->Canvas();
    canvas.Font().Assign(Canvas().Font());
    TRect text{2, 0, whole.Right - 1, whole.Bottom};
    constexpr UINT kFlags = 0x964;  // single line, centred vertically, tabs, no clip, no prefix
    if (selection < 0) {
        canvas.Font().SetColor(m->GetHighLightFontColor(focused));
        canvas.Brush().SetStyle(bsClear);
        canvas.DrawText(text, node->Text(), kFlags);
        if (treeFocused) {
            const RECT fr{0, 0, whole.Right, whole.Bottom};
            ::DrawFocusRect(canvas.Handle(), &fr);
        }
    } else {
        acWriteTextEx(canvas, node->Text(), true, text, kFlags, selection, treeFocused, FCommonData->SkinManager());
    }
    if (!Enabled())
        BmpDisabledKind(bmp.get(), dkBlended, Parent() ? GetControlColor(Parent()) : clBtnFace, ci,
                        {r.Left + 3, r.Top + 3});
    ::BitBlt(Canvas().Handle(), r.Left, r.Top, r.Width(), r.Height(), canvas.Handle(), 0, 0, SRCCOPY);
}

bool TsTreeView::SkinCommand(TMessage& message) {
    TsCommonData* b = FCommonData.get();
    const bool own = message.LParam == reinterpret_cast<LPARAM>(b->GetSkinManager());
    switch (message.WParamHi()) {
    case SKC_NEWSKIN:
        if (!own) return false;
        CommonWndProc(message, b);
        RefreshTreeScrolls();
        return true;
    case SKC_REMOVESKIN:
        if (!own) return false;
        ReleaseWrapper();
        CommonWndProc(message, b);
        if (!b->FCustomColor) SetColor(clWindow);
        if (!b->FCustomFont) Font().SetColor(clWindowText);
        if (HandleAllocated()) SetTreeBackground(FHandle, ColorToRGB(clWindow));
        return true;
    case SKC_REFRESH:
        if (!own) return false;
        if (b->Skinned()) {
            const TsGeneralData& gd = b->GetSkinManager()->gd[static_cast<std::size_t>(b->FSkinIndex)];
            if (!b->FCustomColor && Color() != gd.Color) SetColor(gd.Color);
            if (!b->FCustomFont && Font().Color() != gd.FontColor[0]) Font().SetColor(gd.FontColor[0]);
        }
        RefreshTreeScrolls();
        return true;
    case SKC_PARENTUPDATED:
        if (!b->FUpdating) return false;
        b->FUpdating = false;
        if (HandleAllocated()) ::SendMessageW(FHandle, WM_NCPAINT, 0, 0);
        return true;
    case SKC_CTRLHANDLED: message.Result = 1; return true;
    case SKC_GETAPPLICATION: message.Result = reinterpret_cast<LRESULT>(&Application()); return true;
    default: return false;
    }
}

void TsTreeView::WndProc(TMessage& message) {
    if (message.Msg == SM_ALPHACMD && SkinCommand(message)) return;
    TsCommonData* b = FCommonData.get();
    if (ControlIsReady(this) && b->Skinned()) {
        switch (message.Msg) {
        case WM_MOVE: b->BGChanged = true; break;
        case WM_SETREDRAW: b->FUpdating = message.WParam == 0; break;
        case CM_VISIBLECHANGED:
        case CM_ENABLEDCHANGED: b->BGChanged = true; break;
        default: break;
        }
        if (CommonWndProc(message, b)) return;
        TTreeView::WndProc(message);
        if (message.Msg == CM_SHOWINGCHANGED) RefreshTreeScrolls();
    } else {
        TTreeView::WndProc(message);
    }
    if (FBoundLabel &&
        (message.Msg == WM_SIZE || message.Msg == WM_WINDOWPOSCHANGED || message.Msg == CM_VISIBLECHANGED))
        FBoundLabel->AlignLabel();
}

}  // namespace qv
