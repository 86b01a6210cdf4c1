#include "controls/win32/sBitBtn.h"
#include "framework/ScopedValue.h"

#include "controls/win32/acGlow.h"
#include "framework/win32/Application.h"
#include "paint/acRegion.h"
#include "paint/win32/acRegionHandle.h"
#include "paint/sBorders.h"
#include "paint/sGraphUtils.h"
#include "paint/win32/sGraphUtils_Text.h"
#include "skin/win32/sMessages.h"
#include "skin/win32/sStyleSimply.h"
#include "skin/win32/sVclUtils.h"

#include <algorithm>
#include <optional>

namespace qv {

namespace {
bool bFocusChanging = false;

// Redraw switched off around the framework's focus handling, which would paint the
// system face for a moment. Switching redraw off validates the window and drops any
// invalidation made meanwhile, so a repaint that was pending before, or a face that
// became stale during the call, is asked for again afterwards.
template <class F>
void WithoutRedraw(TWinControl* c, TsCommonData* binding, F&& f) {
    if (!c->HandleAllocated()) {
        f();
        return;
    }
    const HWND h = c->Handle();
    const bool pending = ::GetUpdateRect(h, nullptr, FALSE) != 0;
    ::SendMessageW(h, WM_SETREDRAW, 0, 0);
    f();
    if (!::IsWindow(h)) return;
    ::SendMessageW(h, WM_SETREDRAW, 1, 0);
    if (pending || binding->BGChanged) ::InvalidateRect(h, nullptr, FALSE);
}
}  // namespace

TsBitBtn::TsBitBtn(TComponent* owner) : TBitBtn(owner) {
    FCommonData = std::make_unique<TsCtrlSkinData>(this, true);
    FCommonData->SetCOC(94);
    ControlStyle &= ~static_cast<TControlStyle>(csOpaque);
    SetWordWrap(true);
    FImageChangeLink.OnChange = [this](TImageList&) { Invalidate(); };
}

TsBitBtn::~TsBitBtn() {
    Destroying();
    StopFading(FadeTimer, FCommonData.get());
    if (FImages) FImages->UnRegisterChanges(&FImageChangeLink);
    DropRegion();
}

void TsBitBtn::AfterConstruction() {
    TBitBtn::AfterConstruction();
    FCommonData->FCacheBmp->Canvas().Font().Assign(Font());
    FCommonData->Loaded();
}

void TsBitBtn::Loaded() {
    TBitBtn::Loaded();
    FCommonData->FCacheBmp->Canvas().Font().Assign(Font());
    FCommonData->Loaded();
    if (UsableImages() && !Glyph().Empty()) Glyph().SetSize(0, 0);
}

bool TsBitBtn::IsSkinnedActive() const noexcept { return FCommonData->Skinned(true); }

// ---------------------------------------------------------------- setters

void TsBitBtn::Invalidate() {
    if (OldLayout != Layout()) FCommonData->BGChanged = true;
    TBitBtn::Invalidate();
}

void TsBitBtn::SetDown(bool value) {
    if (FDown == value) return;
    FDown = value;
    RegionChanged = true;
    FCommonData->BGChanged = true;
    RepaintNow();
}
void TsBitBtn::SetBlend(int value) {
    value = std::clamp(value, 0, 100);
    if (FBlend != value) {
        FBlend = value;
        FCommonData->Invalidate();
    }
}
#define QV_SETTER(Name, Field, Type) \
    void TsBitBtn::Set##Name(Type value) { \
        if ((Field) != value) { \
            (Field) = value; \
            FCommonData->Invalidate(); \
        } \
    }
QV_SETTER(Grayed, FGrayed, bool)
QV_SETTER(ShowCaption, FShowCaption, bool)
QV_SETTER(ShowFocus, FShowFocus, bool)
QV_SETTER(Alignment, FAlignment, TAlignment)
QV_SETTER(TextAlignment, FTextAlignment, TAlignment)
QV_SETTER(DrawOverBorder, FDrawOverBorder, bool)
QV_SETTER(Reflected, FReflected, bool)
QV_SETTER(ImageIndex, FImageIndex, int)
QV_SETTER(Offset, FOffset, int)
QV_SETTER(DisabledKind, FDisabledKind, TsDisabledKind)
QV_SETTER(DisabledGlyphKind, FDisabledGlyphKind, TsDisabledGlyphKind)
#undef QV_SETTER

void TsBitBtn::SetImages(TImageList* value) {
    if (FImages == value) return;
    if (FImages) {
        FImages->UnRegisterChanges(&FImageChangeLink);
        FImages->RemoveFreeNotification(this);
    }
    FImages = value;
    if (FImages) {
        FImages->RegisterChanges(&FImageChangeLink);
        FImages->FreeNotification(this);
    }
    FCommonData->Invalidate();
}

void TsBitBtn::Notification(TComponent* component, TOperation operation) {
    TBitBtn::Notification(component, operation);
    if (operation == opRemove && component == FImages) FImages = nullptr;
}

void TsBitBtn::SetButtonStyle(bool isDefault) {
    TBitBtn::SetButtonStyle(isDefault);
    if (IsFocused != isDefault) {
        IsFocused = isDefault;
        FCommonData->Invalidate();
    }
}

// ---------------------------------------------------------------- state and layout

int TsBitBtn::CurrentState() {
    if (FStateOfCache >= 0) return FStateOfCache;
    const bool leftHeld = (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
    bool pushed = fGlobalFlag;
    if (HandleAllocated()) pushed = pushed || (::SendMessageW(Handle(), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    if ((pushed && (FCommonData->FMouseAbove || !leftHeld)) || FDown) return 2;
    LONG_PTR style = HandleAllocated() ? ::GetWindowLongPtrW(Handle(), GWL_STYLE) : 0;
    if (IsFocused || (style & 0xF) == BS_DEFPUSHBUTTON || FCommonData->ControlIsActive() ||
        (HasState(csDesigning) && Default()))
        return 1;
    return 0;
}

bool TsBitBtn::UsableImages() const noexcept {
    return FImages && FImages->Count() > 0 && FImageIndex >= 0 && FImageIndex < FImages->Count();
}

int TsBitBtn::GlyphWidth() {
    if (UsableImages()) return FImages->Width() / std::max(1, NumGlyphs());
    return Glyph().Empty() ? 0 : Glyph().Width() / std::max(1, NumGlyphs());
}

int TsBitBtn::GlyphHeight() {
    if (UsableImages()) return FImages->Height();
    return Glyph().Empty() ? 0 : Glyph().Height();
}

int TsBitBtn::MaxCaptionWidth() {
    if (Caption().empty() || !FShowCaption) return 0;
    int w = Width() - 2 * Margin();
    if (GlyphWidth() > 0 && (Layout() == blGlyphLeft || Layout() == blGlyphRight)) w -= GlyphWidth() + Spacing();
    return w;
}

static UINT AlignFlags(TAlignment a) noexcept {
    switch (a) {
    case taLeftJustify: return DT_LEFT;
    case taRightJustify: return DT_RIGHT;
    default: return DT_CENTER;
    }
}

TSize TsBitBtn::TextRectSize() {
    TRect r{0, 0, MaxCaptionWidth(), 0};
    UINT flags = AlignFlags(FTextAlignment) | DT_VCENTER | DT_EXPANDTABS | DT_CALCRECT;
    if (WordWrap()) flags |= DT_WORDBREAK;
    TCanvas& canvas = FCommonData->FCacheBmp->Canvas();
    canvas.Font().Assign(Font());
    canvas.DrawText(r, Caption(), flags);
    return {r.Width(), r.Height()};
}

TRect TsBitBtn::ImgRect() {
    TRect r{GlyphPos.X, GlyphPos.Y, GlyphPos.X + GlyphWidth(), GlyphPos.Y + GlyphHeight()};
    if (CurrentState() == 2) r = {r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1};
    if (FReflected) {
        const int up = r.Width() / 6;
        r.Top -= up;
        r.Bottom -= up;
    }
    return r;
}

// ---------------------------------------------------------------- painting

void TsBitBtn::PrepareCache() {
    TsCommonData* b = FCommonData.get();
    TCacheInfo ci;
    b->GetParentCache(ci);
    b->InitCacheBmp();
    TBitmap* cache = b->FCacheBmp.get();
    if (!cache || cache->Empty()) return;
    TsSkinManager* m = b->GetSkinManager();
    if (!m || !m->IsValidSkinIndex(b->FSkinIndex)) return;
    // The state is asked of the system once per rebuild (the key and button-state
    // queries are slow under some systems); caption and glyph use the same answer.
    FStateOfCache = -1;  // so CurrentState asks the system
    const ScopedValue<int> cachedState(FStateOfCache, CurrentState());
    const int s = SectionState(m->gd[b->FSkinIndex], FStateOfCache);
    const TRect whole{0, 0, Width(), Height()};
    PaintItemBG(b, ci, s, whole, {Left(), Top()}, cache, s == 2 ? 1 : 0, s == 2 ? 1 : 0);
    TCacheInfo shifted = ci;
    shifted.X += Left();
    shifted.Y += Top();
    const bool borderValid = m->IsValidImgIndex(b->FBorderIndex);
    const TsMaskData* mask = borderValid ? &m->ma[b->FBorderIndex] : nullptr;
    // Draw-mode bit 2 keeps a border out of the normal state (bit 4 only says whether
    // the centre piece is drawn).
    const bool drawBorder = mask && (s > 0 || (mask->DrawMode & dmHiddenWhenNormal) == 0);
    // Region mode: a mask whose corners are meant to be cut out of the window builds the
    // window region while it draws the border. Not while a fade or an animation shows
    // intermediate faces: the region of the last settled face stays.
    std::optional<TacRegion> region;
    if (mask && RegionChanged && RegionShaped() && !InAnimationProcess && !FadeTimer) {
        DropRegion();
        region.emplace(whole);
        if (FDrawOverBorder && drawBorder) PaintRgnBorder(cache, &*region, true, *mask, s);
    } else if (FDrawOverBorder && drawBorder) {
        DrawSkinRect(cache, whole, true, shifted, *mask, s, true, b->SkinManager());
    }
    if (b->FHUEOffset != 0) ChangeBmpHUE(cache, b->FHUEOffset);
    if (b->FSaturation != 0) ChangeBmpSaturation(cache, b->FSaturation);

    LayoutContents(whole);
    if (FShowCaption) DrawCaption(nullptr);
    DrawGlyph();
    if (!FDrawOverBorder && drawBorder) {
        if (region) PaintRgnBorder(cache, &*region, true, *mask, s);
        else DrawSkinRect(cache, whole, true, shifted, *mask, s, true, b->SkinManager());
    }
    if (region) {
        FRegion = RegionHandle(*region);
        FRegionNeverSet = false;
    }
    if (!Enabled()) BmpDisabledKind(cache, FDisabledKind, GetControlColor(Parent()), ci, {Left(), Top()});
    if (FOnPaint) FOnPaint(this, cache);
    b->BGChanged = false;
}

// Where the glyph and the caption go on the face, kept for painting and hit tests.
void TsBitBtn::LayoutContents(const TRect& whole) {
    const TSize text = TextRectSize();
    TPoint glyphPos;
    TRect textBounds;
    const int alignment = FAlignment == taLeftJustify ? 0 : FAlignment == taRightJustify ? 1 : 2;
    CalcButtonLayout(whole, {GlyphWidth(), GlyphHeight()}, {text.cx, text.cy}, static_cast<int>(Layout()), alignment,
                     Margin(), Spacing(), glyphPos, textBounds, 0);
    GlyphPos = glyphPos;
    CaptionRect = textBounds;
    OldLayout = Layout();
    FOldSpacing = Spacing();
}

void TsBitBtn::DrawCaption(TCanvas* canvas) {
    TCanvas& c = canvas ? *canvas : FCommonData->FCacheBmp->Canvas();
    c.Font().Assign(Font());
    c.Brush().SetStyle(bsClear);
    TRect r = CaptionRect;
    if (CurrentState() == 2) r = {r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1};
    UINT flags = AlignFlags(FTextAlignment) | DT_VCENTER | DT_EXPANDTABS | DT_END_ELLIPSIS;
    if (WordWrap()) flags |= DT_WORDBREAK;
    if (FCommonData->Skinned()) {
        acWriteTextEx(c, Caption(), Enabled(), r, flags, FCommonData.get(), CurrentState() != 0,
                      FCommonData->SkinManager());
        TsSkinManager* m = FCommonData->GetSkinManager();
        if (Enabled() && Focused() && !Caption().empty() && m->gd[FCommonData->FSkinIndex].ShowFocus && FShowFocus &&
            FShowCaption) {
            const TRect f{r.Left - FFocusMargin, r.Top - FFocusMargin, r.Right + FFocusMargin, r.Bottom + FFocusMargin};
            FocusRect(c, f, clBtnFace, clBtnFace);
        }
    } else {
        if (!Enabled()) {
            TRect shifted{r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1};
            c.Font().SetColor(clBtnHighlight);
            c.DrawText(shifted, Caption(), flags);
            c.Font().SetColor(clBtnShadow);
        }
        c.DrawText(r, Caption(), flags);
    }
}

void TsBitBtn::OurPaintHandler(HDC dc) {
    TsCommonData* b = FCommonData.get();
    if (InAnimationProcess && (!dc || dc != b->PrintDC)) return;
    const MessagePaintDC paint(Handle(), dc);
    dc = paint.dc();
    b->FUpdating = b->GetUpdating();
    if (!b->FUpdating && !FadeTimer) {
        b->BGChanged = b->BGChanged || b->HalfVisible || (Parent() && GetBoolMsg(Parent(), SKC_ISHALFVISIBLE));
        if (Parent()) {
            const TRect pc = Parent()->ClientRect();
            b->HalfVisible = !(Left() >= pc.Left && Top() >= pc.Top && Left() + Width() <= pc.Right &&
                               Top() + Height() <= pc.Bottom);
        }
        if (FOldSpacing != Spacing()) b->BGChanged = true;
        const bool redrawRegion = FRegionNeverSet || aSkinChanging;
        FRegionNeverSet = false;
        if (RegionChanged && RegionShaped()) {
            PrepareCache();
            ApplyRegion(dc, redrawRegion);
        } else if (b->BGChanged || HasState(csDesigning)) {
            PrepareCache();
        }
        if (b->FCacheBmp && !b->FCacheBmp->Empty())
            ::BitBlt(dc, 0, 0, Width(), Height(), b->FCacheBmp->Canvas().Handle(), 0, 0, SRCCOPY);
    }
}

bool TsBitBtn::RegionShaped() {
    TsSkinManager* m = FCommonData->GetSkinManager();
    return m && m->IsValidImgIndex(FCommonData->FBorderIndex) && m->ma[FCommonData->FBorderIndex].CornerType == 2 &&
           !HasState(csDesigning);
}

void TsBitBtn::DropRegion() noexcept {
    FRegion.reset();
    FRegionNeverSet = false;
}

// Hands the region the last cache built to the window. The corners the region cuts
// show the parent, so they are filled from the parent's background first (for a DC that
// ignores the region, such as a print). When the button shrank, the parent is asked to
// repaint the corners of the old size, which the smaller window no longer covers.
void TsBitBtn::ApplyRegion(HDC dc, bool redraw) {
    TsCommonData* b = FCommonData.get();
    TsSkinManager* m = b->GetSkinManager();
    const TsMaskData& mask = m->ma[b->FBorderIndex];
    UpdateCorners(b, CurrentState());
    HDC cacheDC = b->FCacheBmp->Canvas().Handle();
    const int w = Width(), h = Height();
    const int wl = mask.WL, wt = mask.WT, wr = mask.WR, wb = mask.WB;
    ::BitBlt(dc, 0, 0, wl, wt, cacheDC, 0, 0, SRCCOPY);
    ::BitBlt(dc, w - wr, 0, wr, wt, cacheDC, w - wr, 0, SRCCOPY);
    ::BitBlt(dc, 0, h - wb, w, wb, cacheDC, 0, h - wb, SRCCOPY);
    ::BitBlt(dc, w - wr, h - wb, wr, wb, cacheDC, w - wr, h - wb, SRCCOPY);
    if (FRegion && dc != b->PrintDC && (ControlState & csAlignmentNeeded) == 0) {
        if (::SetWindowRgn(Handle(), FRegion.get(), redraw ? TRUE : FALSE))
            FRegion.release();  // the window owns it now
        RegionChanged = false;
        TCacheInfo ci;
        b->GetParentCache(ci);
        const TRect now = BoundsRect();
        if (!LastRect.IsEmpty() && (now.Width() < LastRect.Width() || now.Height() < LastRect.Height()) && !ci.Ready &&
            Parent() && Parent()->HandleAllocated()) {
            const TRect& o = LastRect;
            const RECT corners[3] = {{o.Right - wr, o.Top, o.Right, o.Top + wt},
                                     {o.Right - wr, o.Bottom - wb, o.Right, o.Bottom},
                                     {o.Left, o.Bottom - wb, o.Left + wl, o.Bottom}};
            for (const RECT& r : corners) ::InvalidateRect(Parent()->Handle(), &r, TRUE);
        }
        LastRect = now;
    }
    DropRegion();
}

void TsBitBtn::RepaintNow() {
    if (HandleAllocated()) ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

// ---------------------------------------------------------------- mouse and keys

void TsBitBtn::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    FCommonData->FUpdating = false;
    if (IsSkinnedActive() && Enabled() && !HasState(csDesigning) && button == mbLeft && !FDown) {
        FMouseClicked = true;
        RegionChanged = true;
        FPressFadePending = true;
    }
    TBitBtn::MouseDown(button, shift, x, y);
}

// The framework reports the press before the system button has seen it: the pressed
// face can only be built once the button reports itself pushed, so the press fade
// starts after the system's handling of the button-down message.
void TsBitBtn::StartPressFade() {
    FPressFadePending = false;
    if (!FMouseClicked || !IsSkinnedActive()) return;
    FCommonData->FUpdating = FCommonData->GetUpdating();
    FCommonData->BGChanged = false;  // the cache still holds the face before the press: the fade's start
    DoChangePaint(FadeTimer, FCommonData.get(), true, fdUp, EventEnabled(aeMouseDown, FAnimatEvents));
}

void TsBitBtn::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (IsSkinnedActive() && Enabled() && !HasState(csDesigning) && button == mbLeft) {
        if (!FMouseClicked) {
            StopFading(FadeTimer, FCommonData.get());
        } else {
            FMouseClicked = false;
            if (FadeTimer && FadeTimer->FadeLevel < FadeTimer->Iterations) {
                // A click quicker than the press fade still shows the pressed face.
                FadeTimer->SetEnabled(false);
                FCommonData->BGChanged = true;
                fGlobalFlag = true;
                StopFading(FadeTimer, FCommonData.get());
                RepaintNow();
                fGlobalFlag = false;
                ::Sleep(30);
            }
            FCommonData->FUpdating = false;
            RegionChanged = true;
            FCommonData->BGChanged = false;
            DoChangePaint(FadeTimer, FCommonData.get(), true, fdUp, EventEnabled(aeMouseUp, FAnimatEvents));
        }
    }
    TBitBtn::MouseUp(button, shift, x, y);
}

// Released after the system button has let go of its pushed state (and clicked), so the
// face rebuilt here is the settled one, not the pressed one.
void TsBitBtn::WMKeyUp(const TMessage& message) {
    if (message.WParam == VK_SPACE) {
        RegionChanged = true;
        FCommonData->BGChanged = true;
        RepaintNow();
    }
}

// ---------------------------------------------------------------- messages
//
// Each handler below returns true when it has answered the message; false lets
// it go on to the common skin handling and then to the framework button.

void TsBitBtn::WndProc(TMessage& message) {
    TsCommonData* b = FCommonData.get();
    if (message.Msg == WM_KILLFOCUS && HasState(csDestroying)) return;
    if (message.Msg == SM_ALPHACMD && SkinCommandAnyState(message)) return;
    if (message.Msg == CM_DIALOGCHAR && CMDialogCharAccel(message)) return;
    if (!ControlIsReady(this) || !b->Skinned(true)) {
        UnskinnedWndProc(message);
        return;
    }
    if (SkinnedMessage(message)) return;
    if (CommonWndProc(message, b)) return;
    TBitBtn::WndProc(message);
    AfterInheritedWndProc(message);
}

bool TsBitBtn::SkinnedMessage(TMessage& message) {
    switch (message.Msg) {
    case SM_ALPHACMD: return SkinCommand(message);
    case WM_MOVE: WMMove(); return false;
    case WM_SIZE:
    case WM_WINDOWPOSCHANGING: RegionChanged = true; return false;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(); return false;
    case WM_SETFOCUS:
    case CM_ENTER: WMSetFocus(message); return true;
    case WM_KILLFOCUS:
    case CM_EXIT: WMKillFocus(message); return true;
    case WM_ENABLE: return true;
    case WM_SETTEXT: return WMSetText(message);
    case WM_PAINT: return WMPaint(message);
    case WM_ERASEBKGND: return WMEraseBkgnd(message);
    case WM_UPDATEUISTATE: return WMUpdateUIState(message);
    case WM_PRINT: WMPrint(message); return true;
    case CM_DIALOGCHAR: CMDialogChar(message); return false;
    case CM_FOCUSCHANGED: return CMFocusChanged(message);
    case CM_TEXTCHANGED: return CMTextChanged();
    case CM_MOUSEENTER: CMMouseEnter(); return false;
    case CM_MOUSELEAVE: CMMouseLeave(); return false;
    case CM_UIACTIVATE: FCommonData->FUpdating = false; return false;
    case CN_DRAWITEM: CNDrawItemSkinned(message); return true;
    default: return false;
    }
}

// Skin commands answered whether or not the button is skinned yet.
bool TsBitBtn::SkinCommandAnyState(TMessage& message) {
    TsCommonData* b = FCommonData.get();
    const bool own = message.LParam == reinterpret_cast<LPARAM>(b->GetSkinManager());
    switch (message.WParamHi()) {
    case SKC_NEWSKIN:
        if (!own) return false;
        RegionChanged = true;
        StopFading(FadeTimer, b);
        CommonWndProc(message, b);
        return true;
    case SKC_REMOVESKIN:
        if (!own || HasState(csDestroying)) return false;
        StopFading(FadeTimer, b);
        CommonWndProc(message, b);
        if (HandleAllocated()) ::SetWindowRgn(Handle(), nullptr, TRUE);
        RepaintNow();
        return true;
    case SKC_REFRESH:
        if (!own) return false;
        StopFading(FadeTimer, b);
        if (HandleAllocated()) ::SetWindowRgn(Handle(), nullptr, TRUE);
        CommonWndProc(message, b);
        RegionChanged = true;
        if ((b->CtrlSkinState & SkinStatePrinting) == 0) RepaintNow();
        return true;
    case SKC_CTRLHANDLED: message.Result = 1; return true;
    case SKC_STOPFADING:
        StopFading(FadeTimer, b);
        // The last blend step rounds each byte down by one; show the exact face.
        if (HandleAllocated()) ::InvalidateRect(Handle(), nullptr, FALSE);
        return true;
    case SKC_PREPARECACHE2: PrepareCache(); return false;
    case SKC_DROPREGION: DropRegion(); return false;
    case SKC_GETAPPLICATION: message.Result = reinterpret_cast<LRESULT>(&Application()); return true;
    default: return false;
    }
}

// Before the skin is on (or the control is ready) the framework button does the
// work; only the mouse enter/leave events are raised here.
void TsBitBtn::UnskinnedWndProc(TMessage& message) {
    TsCommonData* b = FCommonData.get();
    if (message.Msg == CM_MOUSEENTER || message.Msg == CM_MOUSELEAVE) {
        if (Enabled() && !HasState(csDesigning)) {
            b->FMouseAbove = message.Msg == CM_MOUSEENTER;
            const TNotifyEvent& e = b->FMouseAbove ? FOnMouseEnter : FOnMouseLeave;
            if (e) e(this);
        }
    }
    TBitBtn::WndProc(message);
    FPressFadePending = false;
}

bool TsBitBtn::SkinCommand(TMessage& message) {
    TsCommonData* b = FCommonData.get();
    switch (message.WParamHi()) {
    case SKC_PARENTUPDATED:
        if (b->FUpdating) {
            b->FUpdating = false;
            RepaintNow();
        }
        return true;
    case SKC_SETURGENT:
        if (b->UrgentPainting) PrepareCache();
        CommonWndProc(message, b);
        return true;
    default: return false;
    }
}

void TsBitBtn::WMMove() {
    TsCommonData* b = FCommonData.get();
    const TsGeneralData& gd = b->GetSkinManager()->gd[b->FSkinIndex];
    if (gd.Transparency > 0 || (gd.HotTransparency > 0 && b->ControlIsActive())) {
        b->BGChanged = true;
        RepaintNow();
    }
}

void TsBitBtn::WMWindowPosChanged() {
    RegionChanged = true;
    FCommonData->BGChanged = true;
}

void TsBitBtn::WMSetFocus(TMessage& message) {
    TsCommonData* b = FCommonData.get();
    if (HasState(csDesigning) || !Visible()) return;
    if (Enabled() && !bFocusChanging) {
        bFocusChanging = true;
        WithoutRedraw(this, b, [&] { TBitBtn::WndProc(message); });
        bFocusChanging = false;
        if (FadeTimer) FadeTimer->Change();
        else b->Invalidate();
    }
}

void TsBitBtn::WMKillFocus(TMessage& message) {
    TsCommonData* b = FCommonData.get();
    if (!Enabled()) return;
    StopFading(FadeTimer, b);
    WithoutRedraw(this, b, [&] { TBitBtn::WndProc(message); });
    b->FFocused = false;
    b->Invalidate();
    b->HideGlow();
}

bool TsBitBtn::WMSetText(TMessage& message) {
    TsCommonData* b = FCommonData.get();
    if (!IsShowing()) return false;
    StopFading(FadeTimer, b);
    WithoutRedraw(this, b, [&] { TBitBtn::WndProc(message); });
    b->BGChanged = true;
    return true;
}

bool TsBitBtn::WMPaint(TMessage& message) {
    if (!((Visible() || HasState(csDesigning)) && Parent())) return false;
    OurPaintHandler(reinterpret_cast<HDC>(message.WParam));
    return true;
}

bool TsBitBtn::WMEraseBkgnd(TMessage& message) {
    TsCommonData* b = FCommonData.get();
    if (!Visible()) return false;
    if (message.WParam && b->FCacheBmp && !b->BGChanged && !FadeTimer)
        CopyWinControlCache(this, b, {0, 0, Width(), Height()}, 0, 0, false, reinterpret_cast<HDC>(message.WParam),
                            {0, 0, Width(), Height()});
    message.Result = 0;
    return true;
}

bool TsBitBtn::WMUpdateUIState(TMessage& message) {
    if (!Visible()) return false;
    message.Result = 0;
    return true;
}

void TsBitBtn::WMPrint(TMessage& message) {
    TsCommonData* b = FCommonData.get();
    RegionChanged = true;
    b->FUpdating = false;
    b->BGChanged = true;
    OurPaintHandler(reinterpret_cast<HDC>(message.WParam));
}

void TsBitBtn::CMDialogChar(TMessage& message) {
    TsCommonData* b = FCommonData.get();
    if (message.WParam == VK_SPACE && Focused() && Enabled()) {
        StopFading(FadeTimer, b);
        RegionChanged = true;
        b->BGChanged = true;
        b->HideGlow();
        RepaintNow();
    }
}

// The caption's underlined letter (Alt+letter, or the letter alone while no control
// takes characters) clicks the button, skinned or not.
bool TsBitBtn::CMDialogCharAccel(TMessage& message) {
    if (!IsAccel(static_cast<wchar_t>(message.WParam), Caption()) || !CanFocus()) return false;
    Click();
    message.Result = 1;
    return true;
}

bool TsBitBtn::CMFocusChanged(TMessage& message) {
    if (!Visible() || bFocusChanging) return false;
    WithoutRedraw(this, FCommonData.get(), [&] { TBitBtn::WndProc(message); });
    return true;
}

bool TsBitBtn::CMTextChanged() {
    if (!Visible() || HasState(csDestroying)) return false;
    FCommonData->Invalidate();
    return true;
}

void TsBitBtn::CMMouseEnter() {
    TsCommonData* b = FCommonData.get();
    if (Enabled() && !HasState(csDesigning) && !b->FMouseAbove && !MouseForbidden) {
        if (FOnMouseEnter) FOnMouseEnter(this);
        b->FMouseAbove = true;
        b->BGChanged = false;
        DoChangePaint(FadeTimer, b, false, fdUp, EventEnabled(aeMouseEnter, FAnimatEvents));
    }
}

void TsBitBtn::CMMouseLeave() {
    TsCommonData* b = FCommonData.get();
    if (Enabled() && !HasState(csDesigning)) {
        if (FOnMouseLeave) FOnMouseLeave(this);
        b->FMouseAbove = false;
        b->BGChanged = false;
        DoChangePaint(FadeTimer, b, false, fdUp, EventEnabled(aeMouseLeave, FAnimatEvents));
    }
}

// The owner-drawn face is painted by WM_PAINT; the system's draw request is swallowed.
void TsBitBtn::CNDrawItemSkinned(TMessage& message) {
    message.WParam = 0;
    message.LParam = 0;
    message.Result = 1;
}

// What follows the framework button's own handling of a message.
void TsBitBtn::AfterInheritedWndProc(const TMessage& message) {
    TsCommonData* b = FCommonData.get();
    switch (message.Msg) {
    case WM_SETFONT:
        if (Visible()) {
            b->FUpdating = false;
            b->Invalidate();
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (FPressFadePending) StartPressFade();
        break;
    case WM_KEYUP:
        if (!HasState(csDestroying)) WMKeyUp(message);
        break;
    case CM_CANCELMODE: b->HideGlow(); break;
    case CM_VISIBLECHANGED:
        if (Visible()) {
            b->BGChanged = true;
            b->FUpdating = false;
            RepaintNow();
        }
        break;
    case CM_ENABLEDCHANGED:
        if (!Enabled()) StopFading(FadeTimer, b);
        b->FUpdating = false;
        b->Invalidate();
        break;
    default: break;
    }
}

}  // namespace qv
