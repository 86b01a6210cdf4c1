#include "controls/win32/sPanel.h"

#include "framework/win32/Application.h"
#include "framework/win32/Handles.h"
#include "paint/sBorders.h"
#include "paint/sGraphUtils.h"
#include "paint/win32/sGraphUtils_DC.h"
#include "paint/win32/sGraphUtils_Text.h"
#include "skin/win32/sMessages.h"
#include "skin/win32/sStyleSimply.h"
#include "skin/win32/sVclUtils.h"

namespace qv {

namespace {

const wchar_t* DefaultSectionOfBevel(TPanelBevel bevel) noexcept {
    switch (bevel) {
    case bvNone: return L"CHECKBOX";
    case bvLowered: return L"PANEL_LOW";
    default: return L"PANEL";
    }
}

}  // namespace

TsPanel::TsPanel(TComponent* owner) : TPanel(owner) {
    FCommonData = std::make_unique<TsCommonData>(this, true);
    FCommonData->SetCOC(51);
}

TsPanel::~TsPanel() { Destroying(); }

void TsPanel::AfterConstruction() {
    TPanel::AfterConstruction();
    FCommonData->Loaded();
}

void TsPanel::Loaded() {
    TPanel::Loaded();
    FCommonData->Loaded();
    FOldBevel = BevelOuter();
}

void TsPanel::Paint() {
    TPanel::Paint();
    if (FOnPaint && IsShowing()) FOnPaint(this, Canvas());
}

void TsPanel::PrepareCache() {
    TsCommonData* b = FCommonData.get();
    b->InitCacheBmp();
    TBitmap* cache = b->FCacheBmp.get();
    if (!cache || cache->Empty()) return;
    PaintSkinControl(b, true, 0, {0, 0, Width(), Height()}, {Left(), Top()}, cache, false);
    const int inset = FrameInset();
    WriteText({inset, inset, Width() - inset, Height() - inset}, &cache->Canvas(), nullptr);
    if (FOnPaint) FOnPaint(this, cache->Canvas());
    b->BGChanged = false;
}

void TsPanel::WriteText(const TRect& r, TCanvas* canvas, HDC dc) {
    if (!ShowCaption() || Caption().empty()) return;
    TCanvas temp;
    if (!canvas) {
        if (!dc) return;
        temp.SetHandle(dc);
        canvas = &temp;
    }
    canvas->Font().Assign(Font());
    canvas->Brush().SetStyle(bsClear);
    const UINT align = Alignment() == taLeftJustify ? DT_LEFT : Alignment() == taRightJustify ? DT_RIGHT : DT_CENTER;
    TRect rect = r;
    UINT flags = align | DT_EXPANDTABS;
    if (VerticalAlignment() == taVerticalCenter) {
        flags |= DT_VCENTER | DT_WORDBREAK;
        TRect measured = rect;
        canvas->DrawText(measured, Caption(), flags | DT_CALCRECT);
        const int textHeight = measured.Height();
        rect.Top = (r.Height() - textHeight) / 2 + BorderWidth();
        rect.Bottom = rect.Top + textHeight;
    } else {
        flags |= DT_SINGLELINE;
        if (VerticalAlignment() == taAlignBottom) flags |= DT_BOTTOM;
    }
    acWriteTextEx(*canvas, Caption(), Enabled(), rect, flags, FCommonData.get(), false, FCommonData->SkinManager());
    if (canvas == &temp) temp.SetHandle(nullptr);
}

void TsPanel::OurPaint(HDC dc, bool sendUpdated) {
    TsCommonData* b = FCommonData.get();
    if (!IsShowing() || !b->Skinned()) return;
    if (!dc) dc = Canvas().Handle();
    const TRect whole{0, 0, Width(), Height()};
    if ((b->IsCached() && !b->FCustomColor) || InAnimationProcess) {
        b->FUpdating = b->GetUpdating();
        if (b->FUpdating) return;
        const bool rebuild = b->HalfVisible || b->BGChanged;
        if (!b->RepaintIfMoved()) {
            b->HalfVisible = false;
        } else {
            RECT clip{};
            ::GetClipBox(dc, &clip);
            b->HalfVisible = clip.right - clip.left < Width() || clip.bottom - clip.top < Height();
        }
        if (rebuild && !b->UrgentPainting) PrepareCache();
        CopyWinControlCache(this, b, whole, 0, 0, false, dc, whole);
    } else {
        PaintDirect(dc);
    }
    PaintControls(dc);
    if (sendUpdated) SetParentUpdated(this);
}

// The windowless children are painted over the face just copied or filled. A DC that
// shows nothing of the panel (an empty clip box) paints nothing: the panel only learns
// that it is partly hidden, so that its next paint rebuilds the face. Painting a child
// may ask the panel for its background again; such a nested call paints nothing.
void TsPanel::PaintControls(HDC dc) {
    if (FPaintingControls || !dc) return;
    RECT clip{};
    if (::GetClipBox(dc, &clip) == NULLREGION || ::IsRectEmpty(&clip)) {
        SendAMessage(this, SKC_SETHALFVISIBLE);
        return;
    }
    FPaintingControls = true;
    try {
        TPanel::PaintControls(dc, nullptr);
    } catch (...) {
        FPaintingControls = false;
        throw;
    }
    FPaintingControls = false;
}

// The background under the panel's children: through the panel's own painting when it
// keeps no face, else from the face (rebuilt when stale), or the panel's colour.
void TsPanel::WMEraseBkgnd(TMessage& message) {
    TsCommonData* b = FCommonData.get();
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    message.Result = 1;
    const bool ownDC = message.LParam < 0 || static_cast<WPARAM>(message.LParam) != message.WParam;
    if (ownDC && !b->IsCached() && !b->FUpdating) {
        OurPaint(dc, true);
        return;
    }
    if (!dc) return;
    if (b->BGChanged) PrepareCache();
    const TRect whole{0, 0, Width(), Height()};
    if (b->IsCached()) CopyWinControlCache(this, b, whole, 0, 0, false, dc, whole);
    else FillDC(dc, whole, GetControlColor(this));
}

// The panel keeps no face of its own: its border ring is drawn from the mask, the inside
// is filled with the section colour (mixed with the parent's colour by the section's
// transparency) or, for a fully transparent section over a cached parent, copied from
// the parent's cache. Graphic children are clipped out while filling.
void TsPanel::PaintDirect(HDC dc) {
    TsCommonData* b = FCommonData.get();
    b->FUpdating = false;
    const int border = b->SkinBorderMaxWidth();
    SavedDC saved(dc);
    ExcludeControls(dc, this, actGraphic, 0, 0);
    TacBGInfo bg;
    if (b->FCustomColor) {
        bg.BgType = btFill;
        bg.Color = Color();
    } else {
        GetBGInfo(bg, Parent(), false);
    }
    b->InitCacheBmp();
    HDC cacheDC = b->FCacheBmp && !b->FCacheBmp->Empty() ? b->FCacheBmp->Canvas().Handle() : nullptr;
    const int transparency = b->FCustomColor ? 0 : b->GetSkinManager()->gd[b->FSkinIndex].Transparency;
    if (transparency == 100 && bg.BgType == btCache) PaintSeeThrough(dc, bg, border);
    else PaintFilled(dc, bg, transparency, border, cacheDC);
    if (!b->FUpdating) PaintContents(dc);
}

// A fully transparent section over a cached parent: the border ring from the mask, the
// inside copied from the parent's cache.
void TsPanel::PaintSeeThrough(HDC dc, const TacBGInfo& bg, int border) {
    TsCommonData* b = FCommonData.get();
    b->FUpdating = b->GetUpdating();
    if (b->FUpdating) return;
    const TRect whole{0, 0, Width(), Height()};
    const TRect r = border > 0 ? PaintBorderFast(dc, whole, border, b, 0) : whole;
    if (bg.Bmp && !bg.Bmp->Empty())
        ::BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), bg.Bmp->Canvas().Handle(), bg.Offset.X + Left() + r.Left,
                 bg.Offset.Y + Top() + r.Top, SRCCOPY);
}

// The border ring from the mask, the inside filled with the section colour mixed with
// the parent's by the transparency; a transparent section whose mask paints its centre
// is painted whole in the cache and copied.
void TsPanel::PaintFilled(HDC dc, const TacBGInfo& bg, int transparency, int border, HDC cacheDC) {
    TsCommonData* b = FCommonData.get();
    TsSkinManager* m = b->GetSkinManager();
    const TRect whole{0, 0, Width(), Height()};
    const TColor own = b->FCustomColor ? Color() : m->gd[b->FSkinIndex].Color;
    const TColor parentFill = bg.BgType == btCache ? GetControlColor(Parent()) : bg.Color;
    const TColor c = transparency <= 0     ? own
                     : transparency >= 100 ? parentFill
                                           : MixColors(parentFill, own, transparency / 100.0);
    if (border <= 0) {
        FillDC(dc, whole, c);
        return;
    }
    const bool maskValid = m->IsValidImgIndex(b->FBorderIndex);
    if (transparency >= 100 && (!maskValid || (m->ma[b->FBorderIndex].DrawMode & dmDrawCentre) != 0)) {
        PaintBorderFast(cacheDC, whole, 0, b, 0);
        if (cacheDC) ::BitBlt(dc, 0, 0, Width(), Height(), cacheDC, 0, 0, SRCCOPY);
    } else {
        FillDC(dc, PaintBorderFast(dc, whole, border, b, 0), c);
    }
}

// The caption and the application's own painting over the background.
void TsPanel::PaintContents(HDC dc) {
    const int inset = FrameInset();
    WriteText({inset, inset, Width() - inset, Height() - inset}, nullptr, dc);
    if (FOnPaint) {
        TCanvas canvas;
        canvas.SetHandle(dc);
        FOnPaint(this, canvas);
        canvas.SetHandle(nullptr);
    }
    FCommonData->BGChanged = false;
}

// Each handler below returns true when it has answered the message; false lets
// it go on to the common skin handling and then to the framework panel.

void TsPanel::WndProc(TMessage& message) {
    TsCommonData* b = FCommonData.get();
    if (message.Msg == SM_ALPHACMD && SkinCommandAnyState(message)) return;
    if (b->Skinned() && ControlIsReady(this)) {
        if (SkinnedMessage(message)) return;
        if (message.Msg != CM_BORDERCHANGED) {
            if (CommonWndProc(message, b)) return;
            TPanel::WndProc(message);
            AfterInheritedWndProc(message);
        }
    } else {
        UnskinnedWndProc(message);
    }
    if (message.Msg == CM_BORDERCHANGED) CMBorderChanged(message);
    if (message.Msg == CM_MOUSEENTER && FOnMouseEnter) FOnMouseEnter(this);
    if (message.Msg == CM_MOUSELEAVE && FOnMouseLeave) FOnMouseLeave(this);
}

bool TsPanel::SkinnedMessage(TMessage& message) {
    TsCommonData* b = FCommonData.get();
    switch (message.Msg) {
    case SM_ALPHACMD: return SkinCommand(message);
    case WM_SIZE: b->BGChanged = true; return false;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: TPanel::WndProc(message); return true;
    case WM_PAINT: return WMPaint(message);
    case WM_ERASEBKGND:
        if (HasState(csDesigning)) return false;
        WMEraseBkgnd(message);
        return true;
    case WM_WINDOWPOSCHANGING:
        if (b->GetSkinManager()->gd[b->FSkinIndex].Transparency != 0) b->BGChanged = true;
        return false;
    case WM_PRINT: WMPrint(message); return true;
    case CM_VISIBLECHANGED: CMVisibleChanged(message); return true;
    case CM_COLORCHANGED:
        if (b->FCustomColor) b->BGChanged = true;
        return false;
    case CM_TEXTCHANGED:
        if (!Parent()) return false;
        b->Invalidate();
        return true;
    case CM_SHOWINGCHANGED:
        if (ac_OptimizeMemory && Visible()) b->FUpdating = false;
        return false;
    default: return false;
    }
}

// Skin commands answered whether or not the panel is skinned yet.
bool TsPanel::SkinCommandAnyState(TMessage& message) {
    TsCommonData* b = FCommonData.get();
    const bool own = message.LParam == reinterpret_cast<LPARAM>(b->GetSkinManager());
    switch (message.WParamHi()) {
    case SKC_NEWSKIN:
        ControlStyle &= ~static_cast<TControlStyle>(csOpaque);
        AlphaBroadCast(this, message);
        if (own) qv::SkinCommand(message, b);
        return true;
    case SKC_REMOVESKIN:
        ControlStyle &= ~static_cast<TControlStyle>(csOpaque);
        if (own) {
            qv::SkinCommand(message, b);
            Invalidate();
        }
        AlphaBroadCast(this, message);
        return true;
    case SKC_REFRESH: SKCRefresh(message, own); return true;
    case SKC_CTRLHANDLED: message.Result = 1; return true;
    case SKC_GETBGINFO: return SKCGetBGInfo(message);
    case SKC_GETAPPLICATION: message.Result = reinterpret_cast<LRESULT>(&Application()); return true;
    default: return false;
    }
}

void TsPanel::SKCRefresh(TMessage& message, bool own) {
    TsCommonData* b = FCommonData.get();
    if (own) {
        qv::SkinCommand(message, b);
        if (HandleAllocated() && Visible() && !HasState(csLoading)) {
            Invalidate();
            ::RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
        }
    }
    AlphaBroadCast(this, message);
}

bool TsPanel::SKCGetBGInfo(TMessage& message) {
    TsCommonData* b = FCommonData.get();
    if (!b->Skinned() || !message.LParam) return false;
    auto& info = *reinterpret_cast<TacBGInfo*>(message.LParam);
    const bool drawn = info.PleaseDraw;
    b->InitBGInfo(info, 0, HandleAllocated() ? Handle() : nullptr);
    const TRect cr = ClientRect();
    const int inset = FrameInset();
    if ((cr.Width() < Width() || inset > 0) && info.BgType == btCache && !drawn) {
        // Children lie inside the frame: their origin is that far into the cache.
        info.Offset.X += inset;
        info.Offset.Y += inset;
    }
    message.Result = 1;
    return true;
}

bool TsPanel::SkinCommand(TMessage& message) {
    TsCommonData* b = FCommonData.get();
    switch (message.WParamHi()) {
    case SKC_PARENTUPDATED:
        if (b->FUpdating) {
            b->FUpdating = false;
            b->FUpdating = b->GetUpdating();
            if (!b->FUpdating && HandleAllocated())
                ::RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
        }
        SetParentUpdated(this);
        return true;
    case SKC_ISUPDATING:
        if (b->FUpdating) message.Result = 1;
        else if (b->FCacheBmp && b->FCacheBmp->Width() == Width() && b->FCacheBmp->Height() == Height())
            message.Result = 0;
        else message.Result = (b->IsCached() && !b->FCustomColor) ? 1 : 0;
        return true;
    default: return qv::SkinCommand(message, b);
    }
}

bool TsPanel::WMPaint(TMessage& message) {
    if (!Visible() && !HasState(csDesigning)) return false;
    {
        const MessagePaintDC paint(Handle(), reinterpret_cast<HDC>(message.WParam));
        OurPaint(paint.dc(), true);
    }
    message.Result = 0;
    return true;
}

void TsPanel::WMPrint(TMessage& message) {
    FCommonData->FUpdating = false;
    PrepareCache();
    OurPaint(reinterpret_cast<HDC>(message.WParam), false);
}

void TsPanel::CMVisibleChanged(TMessage& message) {
    FCommonData->BGChanged = true;
    FCommonData->FUpdating = false;
    TPanel::WndProc(message);
}

// What follows the framework panel's own handling of a message.
void TsPanel::AfterInheritedWndProc(const TMessage& message) {
    TsCommonData* b = FCommonData.get();
    if ((message.Msg == WM_SETFONT && !Caption().empty())) {
        b->BGChanged = true;
        b->Invalidate();
    }
    if (message.Msg == CM_ENABLEDCHANGED) b->Invalidate();
}

void TsPanel::UnskinnedWndProc(TMessage& message) {
    if (message.Msg == WM_ERASEBKGND && FOnPaint) {
        // The paint handler covers the panel: nothing is erased under it.
    } else if (message.Msg == WM_PRINT) {
        // Printed as painted: the framework's face and the paint handler, into the DC.
        if (message.WParam) {
            PaintWindow(reinterpret_cast<HDC>(message.WParam));
            TPanel::PaintControls(reinterpret_cast<HDC>(message.WParam), nullptr);
        }
        message.Result = 0;
    } else if (message.Msg != CM_BORDERCHANGED) {
        TPanel::WndProc(message);
    }
}

// A panel on its bevel's default section follows the bevel; a chosen section stays.
void TsPanel::CMBorderChanged(TMessage& message) {
    TsCommonData* b = FCommonData.get();
    if (BevelOuter() != FOldBevel) {
        if (b->FSkinSection == DefaultSectionOfBevel(FOldBevel)) b->SetSkinSection(DefaultSectionOfBevel(BevelOuter()));
        FOldBevel = BevelOuter();
    }
    TPanel::WndProc(message);
}

}  // namespace qv
