// The binding's share of a control's messages: the engine's commands it answers for the
// control, the window messages that make its cache stale, and the copies of the cache
// onto a device context around opaque children.
#include "controls/win32/sCommonData.h"

#include "controls/win32/acGlow.h"
#include "controls/win32/acManagerSource.h"
#include "framework/win32/Application.h"
#include "framework/win32/Buttons.h"
#include "framework/win32/Handles.h"
#include "paint/sBorders.h"
#include "paint/win32/sGraphUtils_DC.h"
#include "skin/win32/sMessages.h"
#include "skin/win32/sStyleSimply.h"
#include "skin/win32/sVclUtils.h"

#include <algorithm>

namespace qv {

namespace {

bool Destroying(const TComponent* c) noexcept { return c && c->HasState(csDestroying); }
bool Designing(const TComponent* c) noexcept { return c && c->HasState(csDesigning); }

}  // namespace

// ---------------------------------------------------------------- commands

namespace {

void DropCache(TsCommonData* b, TWinControl* win) {
    if (win)
        for (int i = 0; i < win->ControlCount(); ++i)
            if (auto* child = dynamic_cast<TWinControl*>(win->Controls(i)); child && child->HandleAllocated())
                SendAMessage(child->Handle(), SKC_DROPCACHE);
    if (b->FCacheBmp) b->FCacheBmp->SetSize(0, 0);
    b->BGChanged = true;
    b->FUpdating = true;
}

// The colour behind a control (command 21).
TColor ColourBehind(TsCommonData* b) {
    TControl* owner = b->FOwnerControl;
    if (!b->Skinned()) return ColorOfControl(owner);
    const TsGeneralData& gd = b->GetSkinManager()->gd[b->FSkinIndex];
    if (gd.Transparency == 0) return gd.Color;
    TColor parent = ColorOfControl(owner);
    if (owner->Parent()) {
        parent = static_cast<TColor>(SendAMessage(owner->Parent(), SKC_GETCOLOR));
        if (parent == clFuchsia) parent = ColorOfControl(owner->Parent());
    }
    if (gd.Transparency == 100) return parent;
    return MixTransparentColor(parent, gd.Color, gd.Transparency);
}

}  // namespace

// The handlers of the engine's commands (SKC_*) and the window messages. Those that
// return bool return true when the message is answered and goes no further.
namespace {

void SKCNewSkin(TsCommonData* b) {
    b->UpdateIndexes();
    b->UpdateSkinState(false);
    RestrictDrawing = false;
}

void SKCRemoveSkin(TsCommonData* b, TsSkinManager* m, TWinControl* win) {
    if (m && Destroying(m) && b->FSkinManager == m) b->FSkinManager = nullptr;
    b->FBorderIndex = b->FSkinIndex = b->FTexture = b->FHotTexture = -1;
    b->FUpdating = true;
    if (b->FCacheBmp) b->FCacheBmp->SetSize(0, 0);
    if (b->FOwnerControl && InKindSet(sEditCtrls, b->FCOC)) {
        if (!b->FCustomColor) b->FOwnerControl->SetColor(clWindow);
        if (!b->FCustomFont) b->FOwnerControl->Font().SetColor(clWindowText);
        if (win && win->HandleAllocated()) ::RedrawWindow(win->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    } else if (win) {
        for (int i = 0; i < win->ControlCount(); ++i)
            if (auto* label = dynamic_cast<TLabel*>(win->Controls(i))) label->Font().SetColor(clWindowText);
    }
}

void SKCRefresh(TsCommonData* b) {
    b->BGChanged = true;
    b->FUpdating = false;
    b->UpdateCtrlColors(true);
    b->UpdateSkinState(false);
}

void SKCUpdateSection(TsCommonData* b) {
    if (UpperCased(b->FSkinSection) == GlobalSectionName) {
        RestrictDrawing = false;
        b->Invalidate();
    }
}

bool SKCRepaintIfMoved(TMessage& message, TsCommonData* b, TsSkinManager* m) {
    if (b->FSkinIndex < 0 || !m || !m->IsValidSkinIndex(b->FSkinIndex)) return false;
    const TsGeneralData& gd = m->gd[b->FSkinIndex];
    if (gd.Transparency == 100 && b->FOwnerControl && b->FOwnerControl->Parent())
        message.Result = GetBoolMsg(b->FOwnerControl->Parent(), SKC_REPAINTIFMOVED) ? 1 : 0;
    else message.Result = (gd.GradientPercent + gd.ImagePercent > 0 || b->RepaintIfMoved()) ? 1 : 0;
    return true;
}

void SKCParentMoved(const TMessage& message, TsCommonData* b, TWinControl* win) {
    const bool repaint = b->RepaintIfMoved();
    b->BGChanged = b->BGChanged || repaint;
    if (win && win->HandleAllocated()) {
        if (message.WParamLo() == 1)
            ::RedrawWindow(win->Handle(), nullptr, nullptr,
                           RDW_ALLCHILDREN | RDW_NOERASE | RDW_NOINTERNALPAINT | RDW_INVALIDATE);
        if (repaint)
            for (int i = 0; i < win->ControlCount(); ++i)
                if (!Destroying(win->Controls(i))) SendAMessage(win->Controls(i), SKC_PARENTMOVED);
    }
}

bool SKCGetColor(TMessage& message, TsCommonData* b) {
    if (!b->FOwnerControl) return false;
    message.Result = static_cast<LRESULT>(static_cast<std::uint32_t>(ColourBehind(b)));
    return true;
}

void SKCSetPrintDC(TMessage& message, TsCommonData* b) {
    if (message.LParam) b->CtrlSkinState |= SkinStatePrinting;
    else b->CtrlSkinState &= static_cast<std::uint16_t>(~SkinStatePrinting);
    b->PrintDC = reinterpret_cast<HDC>(message.LParam);
    message.Result = 1;
}

}  // namespace

bool SkinCommand(TMessage& message, TsCommonData* b) {
    if (!b || message.Msg != SM_ALPHACMD) return false;
    TsSkinManager* m = b->GetSkinManager();
    const bool ownManager = message.LParam == reinterpret_cast<LPARAM>(m);
    auto* win = dynamic_cast<TWinControl*>(b->FOwnerControl);
    switch (message.WParamHi()) {
    case SKC_NEWSKIN:
        if (ownManager) SKCNewSkin(b);
        return false;
    case SKC_REMOVESKIN:
        if (ownManager) SKCRemoveSkin(b, m, win);
        return false;
    case SKC_REFRESH:
        if (ownManager) SKCRefresh(b);
        return false;
    case SKC_CTRLHANDLED: message.Result = 1; return true;
    case SKC_SETUPDATING: b->FUpdating = message.WParamLo() == 1; return false;
    case SKC_SETURGENT: b->UrgentPainting = message.WParamLo() == 1; return false;
    case SKC_ISUPDATING: message.Result = (b->BGChanged || b->FUpdating) ? 1 : 0; return true;
    case SKC_ISHALFVISIBLE: message.Result = b->HalfVisible ? 1 : 0; return true;
    case SKC_UPDATESECTION: SKCUpdateSection(b); return false;
    case SKC_SETSECTION:
        if (message.LParam) b->SetSkinSection(reinterpret_cast<TsCommonData*>(message.LParam)->FSkinSection);
        return false;
    case SKC_BGCHANGED: b->BGChanged = true; return false;
    case SKC_REPAINTIFMOVED: return SKCRepaintIfMoved(message, b, m);
    case SKC_PARENTMOVED: SKCParentMoved(message, b, win); return false;
    case SKC_GETCOLOR: return SKCGetColor(message, b);
    case SKC_SETHALFVISIBLE: b->HalfVisible = true; return false;
    case SKC_GETSKININDEX:
        if (message.LParam) *reinterpret_cast<int*>(message.LParam) = b->FSkinIndex;
        message.Result = 1;
        return true;
    case SKC_DROPCACHE:
        if (b->FCacheBmp) DropCache(b, win);
        return false;
    case SKC_GETBGINFO:
        if (message.LParam)
            b->InitBGInfo(*reinterpret_cast<TacBGInfo*>(message.LParam), 0,
                          win && win->HandleAllocated() ? win->Handle() : nullptr);
        message.Result = 1;
        return true;
    case SKC_SKINSTATE:
        if (message.LParam == 1) b->UpdateSkinState(true);
        message.Result = b->CtrlSkinState;
        return true;
    case SKC_GETCOMMONDATA: message.Result = reinterpret_cast<LRESULT>(b); return true;
    case SKC_SETPRINTDC: SKCSetPrintDC(message, b); return true;
    case SKC_GETAPPLICATION:
        // Answered here: the control's default handling would answer 0 over it.
        message.Result = reinterpret_cast<LRESULT>(&Application());
        return true;
    default: return false;
    }
}

namespace {

void WMMove(TsCommonData* b, TControl* owner) {
    if (b->RepaintIfMoved()) {
        b->BGChanged = true;
        if (owner) {
            const TMessage m = MakeAlphaMessage(SKC_PARENTMOVED, 0, 1);
            owner->Perform(m.Msg, m.WParam, m.LParam);
        }
    }
    b->HideGlow();
}

void WMSize(TsCommonData* b, TWinControl* win) {
    if (b->Skinned()) {
        b->BGChanged = true;
        if (win && b->GetSkinManager()->gd[b->FSkinIndex].GradientPercent >= 1)
            for (int i = 0; i < win->ControlCount(); ++i) {
                TControl* child = win->Controls(i);
                if (!Destroying(child) && (child->Anchors() & (akRight | akBottom)) == 0) {
                    TMessage m = MakeAlphaMessage(SKC_PARENTMOVED, 0, 1);
                    child->Perform(m.Msg, m.WParam, m.LParam);
                }
            }
    }
    b->HideGlow();
}

void WMSetFocus(TsCommonData* b, TWinControl* win) {
    if (!win || !win->CanFocus() || !win->TabStop()) return;
    b->BGChanged = true;
    b->FFocused = true;
    if (b->Skinned() && InKindSet(sEditCtrls, b->FCOC) && b->GetSkinManager()->gd[b->FSkinIndex].States > 1 &&
        win->HandleAllocated())
        ::RedrawWindow(win->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void WMKillFocus(TsCommonData* b, TWinControl* win) {
    if (!win || !win->CanFocus() || !win->TabStop()) return;
    b->BGChanged = true;
    b->FFocused = false;
    if (InKindSet(sEditCtrls, b->FCOC) && win->Visible() && win->HandleAllocated())
        ::RedrawWindow(win->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void CMEnabledChanged(TsCommonData* b, TControl* owner) {
    b->FMouseAbove = b->FFocused = false;
    if (owner && !owner->Enabled()) b->HideGlow();
}

void CMVisibleChanged(const TMessage& message, TsCommonData* b, TControl* owner, TWinControl* win) {
    if (!ac_OptimizeMemory || !owner || Destroying(owner) || !b->FCacheBmp) return;
    if (message.WParam != 0) {
        b->FUpdating = false;
    } else {
        b->FCacheBmp->SetSize(0, 0);
        if (win)
            for (int i = 0; i < win->ControlCount(); ++i) {
                TControl* child = win->Controls(i);
                if (auto* wc = dynamic_cast<TWinControl*>(child)) {
                    if (wc->HandleAllocated()) SendAMessage(wc->Handle(), SKC_DROPCACHE);
                } else {
                    SendAMessage(child, SKC_DROPCACHE);
                }
            }
    }
    b->BGChanged = true;
}

void CMMouseEnter(const TMessage& message, TsCommonData* b, TControl* owner, TWinControl* win) {
    if (Designing(owner) || !b->Skinned()) return;
    if (win)
        for (int i = 0; i < win->ControlCount(); ++i) {
            TControl* child = win->Controls(i);
            if (reinterpret_cast<LPARAM>(child) == message.LParam || !dynamic_cast<TSpeedButton*>(child)) continue;
            auto* cb = reinterpret_cast<TsCommonData*>(SendAMessage(child, SKC_GETCOMMONDATA));
            if (cb && cb->FMouseAbove) child->Perform(CM_MOUSELEAVE);
        }
    if (!InKindSet(sForbidMouse, b->FCOC)) b->FMouseAbove = true;
    if (win && win->HandleAllocated() && b->GetSkinManager()) b->GetSkinManager()->FActiveControl = win->Handle();
    if (!InKindSet(sCanNotBeHot, b->FCOC) && !(b->FCOC >= 92 && b->FCOC <= 94)) b->ShowGlowingIfNeeded();
    if (InKindSet(sEditCtrls, b->FCOC) && b->GetSkinManager()->gd[b->FSkinIndex].States > 1) {
        b->BGChanged = true;
        if (win && win->HandleAllocated()) ::SendMessageW(win->Handle(), WM_NCPAINT, 0, 0);
    }
}

void CMMouseLeave(TsCommonData* b, TControl* owner, TWinControl* win) {
    if (Designing(owner) || !b->Skinned()) return;
    if (!InKindSet(sForbidMouse, b->FCOC)) b->FMouseAbove = false;
    if (!InKindSet(sCanNotBeHot, b->FCOC) && !(b->FCOC >= 92 && b->FCOC <= 94)) ClearGlows();
    if (InKindSet(sEditCtrls, b->FCOC) && owner && owner->Visible()) {
        b->BGChanged = true;
        if (win && win->HandleAllocated()) ::SendMessageW(win->Handle(), WM_NCPAINT, 0, 0);
    }
}

}  // namespace

bool CommonWndProc(TMessage& message, TsCommonData* b) {
    if (!b) return false;
    if (message.Msg == SM_ALPHACMD) return SkinCommand(message, b);
    TControl* owner = b->FOwnerControl;
    auto* win = dynamic_cast<TWinControl*>(owner);
    switch (message.Msg) {
    case WM_MOVE: WMMove(b, owner); break;
    case WM_SIZE: WMSize(b, win); break;
    case WM_SETFOCUS: WMSetFocus(b, win); break;
    case WM_KILLFOCUS: WMKillFocus(b, win); break;
    case WM_FONTCHANGE:
    case CM_ENABLEDCHANGED: CMEnabledChanged(b, owner); break;
    case WM_UPDATEUISTATE:
        if (b->Skinned()) return true;
        break;
    case WM_PARENTNOTIFY:
        if (win && LOWORD(message.WParam) == WM_CREATE) AddToAdapter(win);
        break;
    case CM_VISIBLECHANGED: CMVisibleChanged(message, b, owner, win); break;
    case CM_MOUSEENTER: CMMouseEnter(message, b, owner, win); break;
    case CM_MOUSELEAVE: CMMouseLeave(b, owner, win); break;
    case CM_SHOWINGCHANGED:
        if (owner && owner->Visible()) b->Loaded();
        break;
    default: break;
    }
    return false;
}

// ---------------------------------------------------------------- cache copies

void CopyWinControlCache(TWinControl* control, TsCommonData* b, const TRect& srcRect, int dy, int dx,
                         bool updateCorners, HDC dc, const TRect& dstRect) {
    if (!b || !b->FCacheBmp || b->FCacheBmp->Empty() || !dc) return;
    if (updateCorners) UpdateCorners(b, 0);
    const SavedDC saved(dc);
    ::IntersectClipRect(dc, dstRect.Left, dstRect.Top, dstRect.Right, dstRect.Bottom);
    if (control)
        for (int i = 0; i < control->ControlCount(); ++i) {
            TControl* child = control->Controls(i);
            if (!child->Visible() || IsExcludedGraphicKind(child)) continue;
            const TRect r = child->BoundsRect();
            if (r.Right <= dstRect.Left || r.Left >= dstRect.Right || r.Bottom <= dstRect.Top ||
                r.Top >= dstRect.Bottom)
                continue;
            const bool graphic = dynamic_cast<TWinControl*>(child) == nullptr;
            // With StdTransparency the container paints over its windowless children.
            if (graphic && StdTransparency) continue;
            if ((child->ControlStyle & csOpaque) != 0 || Designing(child) || graphic)
                ::ExcludeClipRect(dc, r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy);
        }
    ::BitBlt(dc, dstRect.Left, dstRect.Top, dstRect.Width(), dstRect.Height(), b->FCacheBmp->Canvas().Handle(),
             srcRect.Left, srcRect.Top, SRCCOPY);
}

void CopyHwndCache(HWND hwnd, TsCommonData* b, const TRect& srcRect, int dy, int dx, bool updateCorners, HDC dc,
                   const TRect& dstRect) {
    if (!b || !b->FCacheBmp || b->FCacheBmp->Empty() || !dc) return;
    if (updateCorners) UpdateCorners(b, 0);
    const SavedDC saved(dc);
    ::IntersectClipRect(dc, dstRect.Left, dstRect.Top, dstRect.Right, dstRect.Bottom);
    RECT pr{};
    ::GetWindowRect(hwnd, &pr);
    for (HWND child = ::GetWindow(hwnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child)) continue;
        RECT cr{};
        ::GetWindowRect(child, &cr);
        ::OffsetRect(&cr, dx - pr.left, dy - pr.top);
        const LONG_PTR style = ::GetWindowLongPtrW(child, GWL_STYLE);
        const LONG_PTR exStyle = ::GetWindowLongPtrW(child, GWL_EXSTYLE);
        if ((style & 7) == 7 && (exStyle & WS_EX_CLIENTEDGE) == 0) {
            const int top = static_cast<int>(SendAMessage(child, SKC_GETTOPBANDHEIGHT));
            int wl = 0, wr = 0, wb = 0;
            if (TsSkinManager* m = b->GetSkinManager()) {
                const int gi = m->GetSkinIndex(L"GROUPBOX");
                const int mi = gi >= 0 ? m->GetMaskIndex(gi, L"GROUPBOX", L"BORDERSMASK") : -1;
                if (m->IsValidImgIndex(mi)) wl = m->ma[mi].WL, wr = m->ma[mi].WR, wb = m->ma[mi].WB;
            }
            ::ExcludeClipRect(dc, cr.left, cr.top, cr.right, cr.top + top);
            ::ExcludeClipRect(dc, cr.left, cr.top, cr.left + wl, cr.bottom);
            ::ExcludeClipRect(dc, cr.right - wr, cr.top, cr.right, cr.bottom);
            ::ExcludeClipRect(dc, cr.left, cr.bottom - wb, cr.right, cr.bottom);
        } else {
            ::ExcludeClipRect(dc, cr.left, cr.top, cr.right, cr.bottom);
        }
    }
    ::BitBlt(dc, dstRect.Left, dstRect.Top, dstRect.Width(), dstRect.Height(), b->FCacheBmp->Canvas().Handle(),
             srcRect.Left, srcRect.Top, SRCCOPY);
}

}  // namespace qv
