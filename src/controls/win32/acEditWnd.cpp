#include "controls/win32/acEditWnd.h"

#include "controls/win32/acManagerSource.h"
#include "framework/win32/Handles.h"
#include "framework/win32/Messages.h"
#include "paint/sAlphaGraph.h"
#include "paint/sGraphUtils.h"
#include "paint/win32/sGraphUtils_Text.h"
#include "skin/win32/sMessages.h"
#include "skin/win32/sSkinManager.h"

namespace qv {

namespace {

bool OwnCommand(const TMessage& message, TsSkinManager* manager) noexcept {
    return message.LParam == reinterpret_cast<LPARAM>(manager);
}

TSize WindowSize(HWND wnd) noexcept {
    RECT r{};
    ::GetWindowRect(wnd, &r);
    return {r.right - r.left, r.bottom - r.top};
}

// Where the window stands in its parent's client area.
TPoint PositionInParent(HWND wnd) noexcept {
    RECT r{};
    ::GetWindowRect(wnd, &r);
    POINT p{r.left, r.top};
    if (HWND parent = ::GetParent(wnd)) ::ScreenToClient(parent, &p);
    return {p.x, p.y};
}

}  // namespace

bool MayBeHot(TsCommonData* b) noexcept {
    TsSkinManager* m = b ? b->GetSkinManager() : nullptr;
    if (!m || !m->IsValidSkinIndex(b->FSkinIndex) || !m->IsValidImgIndex(b->FBorderIndex)) return false;
    return m->ma[static_cast<std::size_t>(b->FBorderIndex)].ImageCount > 1 ||
           m->gd[static_cast<std::size_t>(b->FSkinIndex)].States > 1;
}

// ---------------------------------------------------------------- TacBaseWnd

void TacBaseWnd::RepaintFrame() {
    if (CtrlHandle && ::IsWindowVisible(CtrlHandle)) ::SendMessageW(CtrlHandle, WM_NCPAINT, 0, 0);
}

void TacBaseWnd::acWndProc(TMessage& message) {
    if (!ManagerActive() || Destroyed) {
        TacScrollWnd::acWndProc(message);
        return;
    }
    switch (message.Msg) {
    case SM_ALPHACMD:
        if (!SkinCommand(message)) TacScrollWnd::acWndProc(message);
        return;
    case WM_SIZE:
    case WM_EXITSIZEMOVE: WMSize(message); return;
    case WM_HSCROLL:
    case WM_VSCROLL: WMScroll(message); return;
    case WM_ENABLE:
    case CM_ENABLEDCHANGED: WMEnable(message); return;
    default: TacScrollWnd::acWndProc(message); return;
    }
}

bool TacBaseWnd::SkinCommand(TMessage& message) {
    if (message.WParamHi() != SKC_REFRESH || !OwnCommand(message, Manager())) return false;
    TacScrollWnd::acWndProc(message);
    RepaintFrame();
    return true;
}

void TacBaseWnd::WMSize(TMessage& message) {
    if (SkinData) SkinData->BGChanged = true;
    TacScrollWnd::acWndProc(message);
    UpdateScrolls(true);
}

void TacBaseWnd::WMScroll(TMessage& message) {
    TacScrollWnd::acWndProc(message);
    UpdateScrolls(true);
}

void TacBaseWnd::WMEnable(TMessage& message) {
    TacScrollWnd::acWndProc(message);
    RepaintFrame();
}

// ---------------------------------------------------------------- TacEditWnd

TacEditWnd::TacEditWnd(HWND wnd, TsCommonData* binding, TsSkinManager* manager, const String& section, bool repaint)
    : TacBaseWnd(wnd, binding, manager, section.empty() ? String(L"EDIT") : section, repaint) {}

void TacEditWnd::SaveStdParams() {
    if (TControl* owner = OwnerControl()) {
        StdColor = owner->Color();
        StdFontColor = owner->Font().Color();
    }
}

void TacEditWnd::RestoreStdParams() {
    TControl* owner = OwnerControl();
    if (!owner || !SkinData) return;
    if (!SkinData->FCustomColor && StdColor != clNone && owner->Color() != StdColor) owner->SetColor(StdColor);
    if (!SkinData->FCustomFont && StdFontColor != clNone && owner->Font().Color() != StdFontColor)
        owner->Font().SetColor(StdFontColor);
}

void TacEditWnd::SetSkinParams() {
    TacBaseWnd::SetSkinParams();
    TsCommonData* b = SkinData;
    if (bPreventStyleChange || !b) return;
    TsSkinManager* m = b->GetSkinManager();
    TControl* owner = OwnerControl();
    if (!m || !m->IsValidSkinIndex(b->FSkinIndex)) {
        FrameColor = 0;
        return;
    }
    b->FUpdating = true;
    if (owner) {
        const TsGeneralData& gd = m->gd[static_cast<std::size_t>(b->FSkinIndex)];
        const int s = (b->ControlIsActive() && gd.States > 1) ? 1 : 0;
        // Colours are set only when they change: a change repaints the control.
        if (!b->FCustomColor) {
            Color = b->GetBGColor(s);
            if (owner->Color() != Color) owner->SetColor(Color);
        }
        if (!b->FCustomFont) {
            const TColor fc = gd.Props[static_cast<std::size_t>(s)].FontColor.Color;
            if (owner->Font().Color() != fc) owner->Font().SetColor(fc);
        }
    }
    b->BGChanged = true;
    b->FUpdating = false;
}

void TacEditWnd::ApplySkinParamsOnce() {
    if (FParamsApplied) return;
    FParamsApplied = true;
    SetSkinParams();
}

int TacEditWnd::FrameState() const {
    TsCommonData* b = SkinData;
    const bool active = b->FFocused || b->FMouseAbove || ::GetFocus() == CtrlHandle;
    return active && MayBeHot(b) && ::IsWindowEnabled(CtrlHandle) ? 1 : 0;
}

void TacEditWnd::MeasureClient() {
    RECT c{};
    ::GetClientRect(CtrlHandle, &c);
    FClientRect = {c.left, c.top, c.right, c.bottom};
}

void TacEditWnd::PrepareCache() {
    TsCommonData* b = SkinData;
    if (!b || !b->BGChanged || !b->Skinned()) return;
    const TSize size = WindowSize(CtrlHandle);
    if (b->FOwnerControl) b->InitCacheBmp();
    else {
        if (!b->FCacheBmp) b->FCacheBmp = TryCreateBmp32(size.cx, size.cy);
        else if (b->FCacheBmp->Width() != size.cx || b->FCacheBmp->Height() != size.cy) {
            try {
                b->FCacheBmp->SetSize(size.cx, size.cy);
            } catch (...) {
                b->FCacheBmp.reset();
            }
        }
    }
    TBitmap* cache = b->FCacheBmp.get();
    if (!cache || cache->Empty() || cache->PixelFormat() != pf32bit) return;
    TacBGInfo info;
    if (!b->GetParentBGInfo(info, false)) {
        info.BgType = btFill;
        info.Color = ::GetParent(CtrlHandle) ? GetControlColor(::GetParent(CtrlHandle)) : ColorToRGB(clBtnFace);
    }
    if (info.BgType == btNotReady) {
        b->FUpdating = true;
        return;
    }
    const TCacheInfo ci = BGInfoToCI(info);
    const TPoint pos = b->FOwnerControl ? b->OwnerPosition() : PositionInParent(CtrlHandle);
    const TRect whole{0, 0, cache->Width(), cache->Height()};
    TsSkinManager* m = b->GetSkinManager();
    if (DlgMode && m->SkinData.BorderColor != clFuchsia) {
        FillRect32(cache, whole, ColorToRGB(clWindow));
        FillDCBorder32(cache, whole, 1, 1, 1, 1, m->SkinData.BorderColor);
    } else {
        PaintItem(b, ci, true, FrameState(), whole, pos, cache, true);
    }
    if (!::IsWindowEnabled(CtrlHandle)) {
        TsDisabledKind kind = dkBlended;
        ::SendMessageW(CtrlHandle, SM_ALPHACMD, MakeAlphaWParam(SKC_GETDISABLEDKIND), reinterpret_cast<LPARAM>(&kind));
        BmpDisabledKind(cache, kind, ci.Ready ? clFuchsia : ci.FillColor, ci, pos);
    }
    b->BGChanged = false;
}

void TacEditWnd::CopyBorderRing(HDC dc) {
    TsCommonData* b = SkinData;
    if (!b || !b->FCacheBmp || b->FCacheBmp->Empty()) return;
    const TSize size = WindowSize(CtrlHandle);
    HDC src = b->FCacheBmp->Canvas().Handle();
    const int w = size.cx, h = size.cy;
    const TRect bands[] = {{0, 0, w, cyTopEdge},
                           {0, h - cyBottomEdge, w, h},
                           {0, cyTopEdge, cxLeftEdge, h - cyBottomEdge},
                           {w - cxRightEdge, cyTopEdge, w, h - cyBottomEdge}};
    for (const TRect& r : bands)
        if (!r.IsEmpty()) ::BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), src, r.Left, r.Top, SRCCOPY);
}

void TacEditWnd::WMNCPaint(TMessage& message) {
    message.Result = 0;
    TsCommonData* b = SkinData;
    if (!b || !::IsWindowVisible(CtrlHandle) || InAnimationProcess || b->FUpdating) return;
    const WholeWindowDC dc(CtrlHandle);
    if (!dc) return;
    if (b->BGChanged) {
        ApplySkinParamsOnce();
        PrepareCache();
    }
    Ac_NCPaint(dc.get());
    CopyBorderRing(dc.get());
}

void TacEditWnd::WMPrint(TMessage& message) {
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    TsCommonData* b = SkinData;
    if (!dc || !b) {
        CallPrevWndProc(message);
        return;
    }
    MeasureClient();
    b->FUpdating = false;
    b->BGChanged = true;
    SetSkinParams();
    PrepareCache();
    if (message.LParam & PRF_NONCLIENT) {
        CopyBorderRing(dc);
        if (sBarHorz.fScrollVisible) DrawBar(sBarHorz, dc);
        if (sBarVert.fScrollVisible) DrawBar(sBarVert, dc);
    }
    if (message.LParam & PRF_CLIENT) {
        const SavedDC saved(dc);
        const int left = cxLeftEdge + (fLeftScrollbar && sBarVert.fScrollVisible ? GetScrollMetric(sBarVert, 1) : 0);
        ::OffsetViewportOrgEx(dc, left, cyTopEdge, nullptr);
        ::IntersectClipRect(dc, 0, 0, FClientRect.Width(), FClientRect.Height());
        ::SendMessageW(CtrlHandle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        ::SendMessageW(CtrlHandle, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    }
    message.Result = 0;
}

void TacEditWnd::acWndProc(TMessage& message) {
    if (!ManagerActive() || Destroyed || !SkinData) {
        TacBaseWnd::acWndProc(message);
        return;
    }
    switch (message.Msg) {
    case SM_ALPHACMD:
        if (!SkinCommand(message)) PassOn(message);
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: WMFocus(message); return;
    case WM_NCPAINT: WMNCPaint(message); return;
    case WM_PAINT: WMPaint(message); return;
    case WM_ERASEBKGND: WMEraseBkgnd(message); return;
    case WM_PRINT: WMPrint(message); return;
    case CM_FONTCHANGED: CMFontChanged(message); return;
    case WM_ENABLE:
    case CM_ENABLEDCHANGED:
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: StateChanged(message); return;
    default: PassOn(message); return;
    }
}

bool TacEditWnd::SkinCommand(TMessage& message) {
    TsCommonData* b = SkinData;
    switch (message.WParamHi()) {
    case SKC_NEWSKIN:
    case SKC_REMOVESKIN: ResetSkinParams(); return false;
    case SKC_REFRESH:
        ResetSkinParams();
        if (!OwnCommand(message, Manager())) return false;
        TacBaseWnd::acWndProc(message);
        ApplySkinParamsOnce();
        return true;
    case SKC_PARENTUPDATED: SKCParentUpdated(); return true;
    case SKC_CTRLHANDLED: message.Result = 1; return true;
    case SKC_PREPARECACHE2:
        MeasureClient();
        PrepareCache();
        message.Result = 1;
        return true;
    case SKC_GETSKININDEX:
        if (message.LParam) *reinterpret_cast<int*>(message.LParam) = b->FSkinIndex;
        message.Result = 1;
        return true;
    case SKC_GETBGINFO: SKCGetBGInfo(message); return true;
    default: return false;
    }
}

void TacEditWnd::SKCParentUpdated() {
    TsCommonData* b = SkinData;
    if (!b->FUpdating) return;
    b->FUpdating = false;
    b->FUpdating = b->GetUpdating();
    if (!b->FUpdating)
        ::RedrawWindow(CtrlHandle, nullptr, nullptr,
                       RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
}

void TacEditWnd::SKCGetBGInfo(TMessage& message) {
    TsCommonData* b = SkinData;
    CallPrevWndProc(message);
    auto* info = reinterpret_cast<TacBGInfo*>(message.LParam);
    if (info && info->BgType == btUnknown) {
        if (b->FCustomColor) {
            info->BgType = btFill;
            info->Color = Color;
        } else {
            b->InitBGInfo(*info, 0, CtrlHandle);
        }
    }
    message.Result = 1;
}

void TacEditWnd::WMFocus(TMessage& message) {
    TsCommonData* b = SkinData;
    TacBaseWnd::acWndProc(message);
    if (MayBeHot(b) && ::IsWindowEnabled(CtrlHandle)) {
        b->BGChanged = true;
        b->FFocused = message.Msg == WM_SETFOCUS;
        ResetSkinParams();
        RepaintFrame();  // the border shows the focused state
    }
}

void TacEditWnd::WMPaint(TMessage& message) {
    if (::IsWindowVisible(CtrlHandle)) {
        if (SkinData->FUpdating || InAnimationProcess) {
            ::ValidateRect(CtrlHandle, nullptr);
            return;
        }
        ApplySkinParamsOnce();
    }
    PassOn(message);
}

void TacEditWnd::WMEraseBkgnd(TMessage& message) {
    if (::IsWindowVisible(CtrlHandle)) {
        if (SkinData->FUpdating) return;
        ApplySkinParamsOnce();
    }
    PassOn(message);
}

void TacEditWnd::CMFontChanged(TMessage& message) {
    TacBaseWnd::acWndProc(message);
    if (!SkinData->FUpdating) ::RedrawWindow(CtrlHandle, nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE);
}

void TacEditWnd::StateChanged(TMessage& message) {
    ResetSkinParams();
    SkinData->BGChanged = true;
    PassOn(message);
}

void TacEditWnd::PassOn(TMessage& message) {
    TacBaseWnd::acWndProc(message);
    if (Destroyed || !::IsWindow(CtrlHandle)) return;
    switch (message.Msg) {
    case WM_SIZE: RepaintFrame(); break;
    // What changes the list's scroll facts: the system bar may have been painted over ours.
    case WM_SETFONT:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_LBUTTONDOWN:
    case CN_KEYDOWN:
    case CN_KEYUP:
    case WM_MOUSEWHEEL:
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_DELETESTRING:
    case LB_RESETCONTENT:
    case LB_SETCURSEL:
    case LB_SETTOPINDEX:
    case LB_SETITEMHEIGHT:
    case EM_REPLACESEL: RefreshScrolls(); break;
    case WM_MOUSEMOVE:
        if (::GetCapture() == CtrlHandle && !SkinData->FUpdating) RefreshScrolls();
        break;
    default: break;
    }
}

}  // namespace qv
