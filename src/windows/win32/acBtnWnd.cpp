#include "windows/win32/acBtnWnd.h"
#include "framework/ScopedValue.h"

#include "controls/win32/acGlow.h"
#include "controls/win32/acImgListDraw.h"
#include "framework/win32/Handles.h"
#include "paint/sGlyphDraw.h"
#include "paint/sGraphUtils.h"
#include "paint/win32/sGraphUtils_Text.h"
#include "skin/win32/sMessages.h"

#include <algorithm>
#include <optional>

namespace qv {

const TFont& LoadSysFont() {
    static TFont font;
    static bool loaded = false;
    if (!loaded) {
        loaded = true;
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
            // The font takes a copy of what the handle describes.
            if (const UniqueFont handle(::CreateFontIndirectW(&metrics.lfMessageFont)); handle)
                font.SetHandle(handle.get());
    }
    return font;
}

namespace {

TRect Moved(TRect r, int d) noexcept { return {r.Left + d, r.Top + d, r.Right + d, r.Bottom + d}; }

bool CursorInside(HWND wnd) noexcept {
    POINT p{};
    RECT r{};
    return ::GetCursorPos(&p) && ::GetWindowRect(wnd, &r) && ::PtInRect(&r, p);
}

}  // namespace

// ---------------------------------------------------------------- TacBtnWnd

TacBtnWnd::TacBtnWnd(HWND wnd, TsCommonData* binding, TsSkinManager* manager, const String& section, bool repaint)
    : TacMainWnd(wnd, binding, manager, section.empty() ? String(L"BUTTON") : section, repaint) {}

int TacBtnWnd::Width() const noexcept {
    RECT r{};
    ::GetWindowRect(CtrlHandle, &r);
    return r.right - r.left;
}

int TacBtnWnd::Height() const noexcept {
    RECT r{};
    ::GetWindowRect(CtrlHandle, &r);
    return r.bottom - r.top;
}

bool TacBtnWnd::Down() const noexcept { return (::SendMessageW(CtrlHandle, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }

bool TacBtnWnd::IsDefaultButton() const noexcept {
    const LONG_PTR style = ::GetWindowLongPtrW(CtrlHandle, GWL_STYLE);
    if (OwnerControl()) return (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    return (style & 1) != 0;
}

int TacBtnWnd::CurrentState() {
    if (FStateOfCache >= 0) return FStateOfCache;
    if (Down()) return 2;
    if (!::IsWindowEnabled(CtrlHandle)) return 0;
    if (::GetFocus() == CtrlHandle || (DefaultManager && DefaultManager->FActiveControl == CtrlHandle)) return 1;
    return IsDefaultButton() ? 1 : 0;
}

TCanvas& TacBtnWnd::CacheCanvas() {
    TCanvas& canvas = SkinData->FCacheBmp->Canvas();
    if (TControl* owner = OwnerControl()) canvas.Font().Assign(owner->Font());
    else canvas.Font().Assign(LoadSysFont());
    return canvas;
}

// Word breaking applies with or without the multi-line style: a caption wider than the
// button wraps instead of running over its edges.
UINT TacBtnWnd::CaptionFlags() const noexcept {
    UINT flags = DT_CENTER | DT_EXPANDTABS | DT_WORDBREAK;
    if ((::GetWindowLongPtrW(CtrlHandle, GWL_EXSTYLE) & WS_EX_RTLREADING) != 0) flags |= DT_RTLREADING;
    return flags;
}

int TacBtnWnd::MaxCaptionWidth() {
    if (Caption.empty()) return 0;
    const int glyph = GlyphSize().cx;
    if (glyph > 0) return std::max(0, Width() - glyph);
    return Width() - 2;
}

// Measured with the flags the caption is drawn with (prefix characters included), so a
// caption with an accelerator sits where it is drawn.
TSize TacBtnWnd::TextRectSize() {
    TRect r{0, 0, MaxCaptionWidth(), 0};
    if (Caption.empty()) return {0, 0};
    TCanvas& canvas = CacheCanvas();
    acDrawText(canvas.Handle(), Caption, r, CaptionFlags() | DT_CALCRECT);
    return {r.Width(), r.Height()};
}

TRect TacBtnWnd::CaptionRect() {
    const TSize text = TextRectSize();
    const int w = Width(), h = Height();
    const int left = (w - text.cx) / 2, top = (h - text.cy) / 2;
    const TRect r{left - 1, top, w - left + 2, h - top};
    return CurrentState() == 2 ? Moved(r, 1) : r;
}

void TacBtnWnd::DoDrawText(TRect r, UINT flags) {
    acWriteTextEx(CacheCanvas(), Caption, ::IsWindowEnabled(CtrlHandle) != FALSE, r, flags, SkinData,
                  CurrentState() != 0, SkinData->SkinManager());
}

void TacBtnWnd::DrawCaption() {
    TCanvas& canvas = CacheCanvas();
    canvas.Brush().SetStyle(bsClear);
    const TRect r = CaptionRect();
    ::SetBkMode(canvas.Handle(), TRANSPARENT);
    DoDrawText(r, CaptionFlags());
    TsSkinManager* m = Manager();
    const bool focused = (::SendMessageW(CtrlHandle, BM_GETSTATE, 0, 0) & BST_FOCUS) != 0;
    if (::IsWindowEnabled(CtrlHandle) && focused && !Caption.empty() && m &&
        m->IsValidSkinIndex(SkinData->FSkinIndex) && m->gd[SkinData->FSkinIndex].ShowFocus)
        FocusRect(CacheCanvas(), {r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1}, clBtnFace, clBlack);
}

void TacBtnWnd::PrepareCache() {
    TsCommonData* b = SkinData;
    TsSkinManager* m = Manager();
    if (!b || !m || !m->IsValidSkinIndex(b->FSkinIndex)) return;
    const int w = Width(), h = Height();
    if (w <= 0 || h <= 0) return;
    POINT pos{0, 0};
    if (HWND parent = ::GetParent(CtrlHandle)) {
        RECT wr{};
        ::GetWindowRect(CtrlHandle, &wr);
        pos = {wr.left, wr.top};
        ::ScreenToClient(parent, &pos);
        ParentWnd = parent;
    }
    TCacheInfo ci;
    TBitmap* cache = ReadyCacheBmp(ci, w, h);
    if (!cache) return;
    // The state is asked of the system once per face; caption and glyph use that answer.
    FStateOfCache = -1;  // so CurrentState asks the system
    const ScopedValue<int> cachedState(FStateOfCache, CurrentState());
    FFaceOfCache = FaceNow();
    if (FStateOfCache == 2) ClearGlows(false);  // a pressed button shows no glow
    PaintItem(b->FSkinIndex, b->FSkinSection, ci, true, FStateOfCache, {0, 0, w, h}, {pos.x, pos.y}, cache,
              b->SkinManager());
    DrawCaption();
    DrawGlyph();
    if (!::IsWindowEnabled(CtrlHandle)) {
        // 40 % of the face over 60 % of what lies behind it.
        if (ci.Ready && ci.Bmp)
            BlendTransRectangle(cache, 0, 0, ci.Bmp,
                                {ci.X + pos.x, ci.Y + pos.y, ci.X + pos.x + w - 1, ci.Y + pos.y + h - 1}, 0.4);
        else BlendTransBitmap(cache, 0.4, ci.FillColor);
    }
    b->BGChanged = false;
}

TacBtnWnd::FaceKey TacBtnWnd::FaceNow() {
    FaceKey key;
    key.State = CurrentState();
    key.Enabled = ::IsWindowEnabled(CtrlHandle) != FALSE;
    key.Focused = (::SendMessageW(CtrlHandle, BM_GETSTATE, 0, 0) & BST_FOCUS) != 0;
    ::GetWindowRect(CtrlHandle, &key.Place);
    if (HWND parent = ::GetParent(CtrlHandle))
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&key.Place), 2);
    return key;
}

bool TacBtnWnd::CacheFitsWindow() const noexcept {
    const TBitmap* cache = SkinData->FCacheBmp.get();
    return cache && !cache->Empty() && cache->Width() == Width() && cache->Height() == Height();
}

bool TacBtnWnd::FaceIsCurrent() { return !SkinData->BGChanged && CacheFitsWindow() && FaceNow() == FFaceOfCache; }

// A state change fades from the face the screen shows: the cache (or a step of a fade
// from it) until a paint rebuilds it, so a repaint still pending does not stop the fade.
void TacBtnWnd::ChangeFace(TacAnimatEvent event, bool halve) {
    TsCommonData* b = SkinData;
    b->FUpdating = false;
    b->BGChanged = !CacheFitsWindow();
    DoChangePaint(FadeTimer, b, CtrlHandle, halve, fdUp, FadeAllowed(event));
}

// Hover, press and release fade when the skin's button effects include the event.
bool TacBtnWnd::FadeAllowed(TacAnimatEvent event) const noexcept {
    return EventEnabled(event, AnimEvent(aeGlobalDef), Manager());
}

void TacBtnWnd::RestoreStdParams() {
    StopFading(FadeTimer, SkinData);
    TacMainWnd::RestoreStdParams();
}

void TacBtnWnd::Paint(HDC dc) {
    TsCommonData* b = SkinData;
    const bool printing = dc && (dc == b->PrintDC || (b->CtrlSkinState & SkinStatePrinting) != 0);
    // A DC in the message (WM_PRINTCLIENT, a print) is painted as it is; otherwise the
    // update region is painted and validated, always pairing BeginPaint with EndPaint.
    std::optional<PaintScope> scope;
    if (!dc) {
        scope.emplace(CtrlHandle);
        dc = scope->dc();
    }
    if (!dc) return;
    if (InAnimationProcess && !printing) return;
    b->FUpdating = b->GetUpdating();
    if (b->FUpdating) return;
    if (FadeTimer && !printing) return;  // the fade shows its own steps; its end paints the face
    if (!FaceIsCurrent()) PrepareCache();
    if (b->FCacheBmp && !b->FCacheBmp->Empty())
        ::BitBlt(dc, 0, 0, b->FCacheBmp->Width(), b->FCacheBmp->Height(), b->FCacheBmp->Canvas().Handle(), 0, 0,
                 SRCCOPY);
}

void TacBtnWnd::PassOnWithoutRedraw(TMessage& message) {
    const bool visible = ::IsWindowVisible(CtrlHandle) != FALSE;
    if (visible) ::SendMessageW(CtrlHandle, WM_SETREDRAW, FALSE, 0);
    TacMainWnd::acWndProc(message);
    if (visible && ::IsWindow(CtrlHandle)) ::SendMessageW(CtrlHandle, WM_SETREDRAW, TRUE, 0);
}

void TacBtnWnd::MouseEnter(TMessage& message) {
    TsCommonData* b = SkinData;
    if (b->FMouseAbove || !DefaultManager || DefaultManager->FActiveControl != CtrlHandle || !CursorInside(CtrlHandle))
        return;
    (void)message;
    b->FMouseAbove = true;
    ChangeFace(aeMouseEnter, false);
}

void TacBtnWnd::MouseLeave() {
    TsCommonData* b = SkinData;
    if (!b->FMouseAbove) return;
    b->HideGlow();
    ClearGlows(false);
    b->FMouseAbove = false;
    ChangeFace(aeMouseLeave, false);
}

// The system sets the pushed state here on press and release (and again whenever the
// captured pointer crosses the edge); a change fades from the face shown before it.
void TacBtnWnd::BMSetState(TMessage& message) {
    if (!::IsWindowVisible(CtrlHandle)) {
        TacMainWnd::acWndProc(message);
        return;
    }
    const bool wasDown = Down();
    PassOnWithoutRedraw(message);
    const bool down = Down();
    if (down == wasDown) Repaint();
    else ChangeFace(down ? aeMouseDown : aeMouseUp, true);
}

void TacBtnWnd::WMMouseMove(TMessage& message) {
    TacMainWnd::acWndProc(message);
    if (!DefaultManager || DefaultManager->HasState(csDesigning) || !::IsWindowEnabled(CtrlHandle)) return;
    if (CursorInside(CtrlHandle)) {
        DefaultManager->SetActiveControl(CtrlHandle);
        // A bare window is never told the pointer left unless it asks.
        if (!FTrackingLeave) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, CtrlHandle, 0};
            FTrackingLeave = ::TrackMouseEvent(&track) != FALSE;
        }
    } else if (DefaultManager->FActiveControl == CtrlHandle) {
        DefaultManager->SetActiveControl(nullptr);
    }
}

void TacBtnWnd::acWndProc(TMessage& message) {
    TsCommonData* b = SkinData;
    if (!b || !ManagerActive() || !b->Skinned() || Destroyed) {
        TacMainWnd::acWndProc(message);
        return;
    }
    switch (message.Msg) {
    case SM_ALPHACMD:
        if (!SkinCommand(message)) TacMainWnd::acWndProc(message);
        return;
    case WM_MOVE: WMMove(message); return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: WMFocus(message); return;
    case BM_SETSTATE: BMSetState(message); return;
    case WM_ENABLE:
    case WM_SETTEXT:
    case BM_SETSTYLE: FaceChanged(message); return;
    case WM_SETFONT: WMSetFont(message); return;
    case WM_DESTROY: WMDestroy(message); return;
    case WM_PAINT: WMPaint(message); return;
    case WM_PRINTCLIENT: Paint(reinterpret_cast<HDC>(message.WParam)); return;
    case WM_ERASEBKGND:
    case WM_NCPAINT:
    case WM_UPDATEUISTATE: message.Result = 1; return;
    case WM_MOUSEHOVER: WMMouseHover(message); return;
    case WM_MOUSELEAVE: WMMouseLeave(message); return;
    case WM_MOUSEMOVE: WMMouseMove(message); return;
    default: TacMainWnd::acWndProc(message); return;
    }
}

bool TacBtnWnd::SkinCommand(TMessage& message) {
    switch (message.WParamHi()) {
    case SKC_MOUSEENTER: MouseEnter(message); return true;
    case SKC_MOUSELEAVE: MouseLeave(); return true;
    case SKC_STOPFADING:
        StopFading(FadeTimer, SkinData);
        // The last blend step rounds each byte down by one; show the exact face.
        ::InvalidateRect(CtrlHandle, nullptr, FALSE);
        return true;
    case SKC_NEWSKIN:
    case SKC_REFRESH:
    case SKC_REMOVESKIN: StopFading(FadeTimer, SkinData); return false;
    default: return false;
    }
}

void TacBtnWnd::WMMove(TMessage& message) {
    TsCommonData* b = SkinData;
    const TsGeneralData& gd = Manager()->gd[b->FSkinIndex];
    if (gd.Transparency > 0 || (gd.HotTransparency > 0 && b->FMouseAbove)) {
        b->BGChanged = true;
        Repaint();
    }
    TacMainWnd::acWndProc(message);
}

void TacBtnWnd::WMFocus(TMessage& message) {
    if (!::IsWindowEnabled(CtrlHandle)) {
        TacMainWnd::acWndProc(message);
        return;
    }
    PassOnWithoutRedraw(message);
    SkinData->FFocused = message.Msg == WM_SETFOCUS;
    SkinData->BGChanged = true;
    ::RedrawWindow(CtrlHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

// WM_ENABLE, WM_SETTEXT and BM_SETSTYLE: the system paints its own face at once when
// the style changes.
void TacBtnWnd::FaceChanged(TMessage& message) {
    StopFading(FadeTimer, SkinData);
    SkinData->BGChanged = true;
    if (!::IsWindowVisible(CtrlHandle)) {
        TacMainWnd::acWndProc(message);
        return;
    }
    PassOnWithoutRedraw(message);
    Repaint();
}

void TacBtnWnd::WMSetFont(TMessage& message) {
    SkinData->BGChanged = true;
    TacMainWnd::acWndProc(message);
}

void TacBtnWnd::WMDestroy(TMessage& message) {
    StopFading(FadeTimer, SkinData);
    TacMainWnd::acWndProc(message);
}

void TacBtnWnd::WMPaint(TMessage& message) {
    if (!::IsWindowVisible(CtrlHandle) && (SkinData->CtrlSkinState & SkinStatePrinting) == 0) {
        TacMainWnd::acWndProc(message);
        return;
    }
    if (!ParamsChanged) SetSkinParams();
    Paint(reinterpret_cast<HDC>(message.WParam));
}

void TacBtnWnd::WMMouseHover(TMessage& message) {
    ::SendMessageW(CtrlHandle, SM_ALPHACMD, MakeAlphaWParam(SKC_MOUSEENTER), reinterpret_cast<LPARAM>(Manager()));
    TacMainWnd::acWndProc(message);
}

void TacBtnWnd::WMMouseLeave(TMessage& message) {
    FTrackingLeave = false;
    if (DefaultManager && DefaultManager->FActiveControl == CtrlHandle) DefaultManager->SetActiveControl(nullptr);
    MouseLeave();  // also when the hover was taken away without telling this button
    TacMainWnd::acWndProc(message);
}

// ---------------------------------------------------------------- TacButtonWnd

TacButtonWnd::TacButtonWnd(HWND wnd, TsCommonData* binding, TsSkinManager* manager, const String& section, bool repaint)
    : TacBtnWnd(wnd, binding, manager, section, repaint),
      Btn(binding ? dynamic_cast<TButton*>(binding->FOwnerControl) : nullptr) {}

namespace {
bool InList(const TImageList* list, int index) noexcept { return list && index >= 0 && index < list->Count(); }
}  // namespace

bool TacButtonWnd::HaveImage() const noexcept { return Btn && InList(Btn->Images(), Btn->ImageIndex); }

TSize TacButtonWnd::GlyphSize() {
    if (!HaveImage()) return {0, 0};
    return {Btn->Images()->Width(), Btn->Images()->Height()};
}

int TacButtonWnd::GlyphIndex() {
    int state = 0;
    if (!::IsWindowEnabled(CtrlHandle)) state = 4;
    else if (CurrentState() == 2) state = 2;
    else if (::GetFocus() == CtrlHandle) state = 3;
    else state = CurrentState();
    const int byState[5] = {Btn->ImageIndex, Btn->HotImageIndex, Btn->PressedImageIndex, Btn->SelectedImageIndex,
                            Btn->DisabledImageIndex};
    if (state > 0 && InList(Btn->Images(), byState[state])) return byState[state];
    return Btn->ImageIndex;
}

TRect TacButtonWnd::GlyphRect() {
    if (!HaveImage()) return {0, 0, 0, 0};
    const int iw = Btn->Images()->Width(), ih = Btn->Images()->Height(), w = Width(), h = Height();
    const TRect& mg = Btn->ImageMargins;
    int x = (w - iw) / 2, y = (h - ih) / 2;
    switch (Btn->ImageAlignment) {
    case TButton::iaLeft: x = mg.Left + 3; break;
    case TButton::iaRight: x = w - mg.Right - 3 - iw; break;
    case TButton::iaTop: y = mg.Top + 3; break;
    case TButton::iaBottom: y = h - mg.Bottom - 3 - ih; break;
    case TButton::iaCenter: break;
    }
    const TRect r{x, y, x + iw, y + ih};
    return CurrentState() == 2 ? Moved(r, 1) : r;
}

TRect TacButtonWnd::CaptionRect() {
    if (Btn) CacheCanvas();
    const TSize text = TextRectSize();
    const int tw = text.cx, th = text.cy, w = Width(), h = Height();
    int left = (w - tw) / 2, right = w - left, top = (h - th) / 2, bottom = h - top;
    if (HaveImage() && Btn->ImageAlignment != TButton::iaCenter) {
        const int iw = Btn->Images()->Width(), ih = Btn->Images()->Height();
        const TRect& mg = Btn->ImageMargins;
        switch (Btn->ImageAlignment) {
        case TButton::iaLeft: {
            const int b = mg.Left + iw + 3;
            left = b + (w - b - tw) / 2;
            right = left + tw;
            break;
        }
        case TButton::iaRight: {
            const int b = mg.Right + iw + 3;
            left = (w - b - tw) / 2;
            right = left + tw;
            break;
        }
        case TButton::iaTop: {
            const int b = mg.Top + ih + 3;
            top = b + (h - b - th) / 2;
            bottom = top + th;
            break;
        }
        case TButton::iaBottom: {
            const int b = mg.Bottom + ih + 3;
            top = (h - b - th) / 2;
            bottom = top + th;
            break;
        }
        case TButton::iaCenter: break;
        }
    }
    const TRect r{left - 1, top, right + 2, bottom};
    return CurrentState() == 2 ? Moved(r, 1) : r;
}

void TacButtonWnd::DrawGlyph() {
    if (!HaveImage()) return;
    TImageList* images = Btn->Images();
    const TRect r = GlyphRect();
    if (images->AlphaImages())
        DrawAlphaImgList(images, SkinData->FCacheBmp.get(), r, GlyphIndex(), 0, acNoTint, 0, 1, false);
    else DrawPlainImgList(images, SkinData->FCacheBmp.get(), r, GlyphIndex(), 0, 1, false, 0.0, false);
}

}  // namespace qv
