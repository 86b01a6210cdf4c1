#include "windows/win32/acCtrlWnds.h"

#include "framework/win32/WindowText.h"
#include "paint/PixelRows.h"
#include "paint/sAlphaGraph.h"
#include "paint/win32/sGraphUtils_System.h"
#include "paint/win32/sGraphUtils_Text.h"
#include "skin/win32/sMessages.h"

#include <commctrl.h>

#include <optional>

namespace qv {

namespace {

TRect WindowBounds(HWND wnd) noexcept {
    RECT r{};
    ::GetWindowRect(wnd, &r);
    return {0, 0, r.right - r.left, r.bottom - r.top};
}

}  // namespace

// ---------------------------------------------------------------- painted base

TCanvas& TacPaintedWnd::CacheCanvas() {
    TCanvas& canvas = SkinData->FCacheBmp->Canvas();
    if (TControl* owner = OwnerControl()) canvas.Font().Assign(owner->Font());
    else if (auto font = reinterpret_cast<HFONT>(::SendMessageW(CtrlHandle, WM_GETFONT, 0, 0)))
        canvas.Font().SetHandle(font);
    else canvas.Font().Assign(LoadSysFont());
    return canvas;
}

int TacPaintedWnd::TextSection() const {
    TsSkinManager* m = Manager();
    if (!m) return -1;
    if (HWND parent = ::GetParent(CtrlHandle)) {
        TacSectionInfo info;
        if (SendAMessage(parent, SKC_GETSKININDEX, reinterpret_cast<LPARAM>(&info)) &&
            m->IsValidSkinIndex(info.SkinIndex))
            return info.SkinIndex;
    }
    return m->GetSkinIndex(DlgMode ? L"DIALOG" : L"FORM");
}

void TacPaintedWnd::DrawCaption(TRect r, UINT flags) {
    const String text = WindowText(CtrlHandle);
    if (text.empty()) return;
    TCanvas& canvas = CacheCanvas();
    canvas.Brush().SetStyle(bsClear);
    ::SetBkMode(canvas.Handle(), TRANSPARENT);
    WriteTextEx(canvas, text, ::IsWindowEnabled(CtrlHandle) != FALSE, r, flags, TextSection(), false,
                SkinData->SkinManager());
}

void TacPaintedWnd::PrepareCache() {
    TsCommonData* b = SkinData;
    const TRect whole = WindowBounds(CtrlHandle);
    if (!b || whole.IsEmpty()) return;
    TCacheInfo ci;
    TBitmap* cache = ReadyCacheBmp(ci, whole.Right, whole.Bottom);
    if (!cache) return;
    if (HWND parent = ::GetParent(CtrlHandle)) {
        RECT wr{};
        ::GetWindowRect(CtrlHandle, &wr);
        POINT pos{wr.left, wr.top};
        ::ScreenToClient(parent, &pos);
        ci.X += pos.x;
        ci.Y += pos.y;
    }
    FillFromCI(Rows32(cache), whole, ci);
    PaintContent(cache, ci);
    b->BGChanged = false;
}

void TacPaintedWnd::Paint(HDC dc) {
    std::optional<PaintScope> scope;
    if (!dc) {
        scope.emplace(CtrlHandle);
        dc = scope->dc();
    }
    if (!dc) return;
    PrepareCache();
    TBitmap* cache = SkinData->FCacheBmp.get();
    if (cache && !cache->Empty())
        ::BitBlt(dc, 0, 0, cache->Width(), cache->Height(), cache->Canvas().Handle(), 0, 0, SRCCOPY);
}

void TacPaintedWnd::PassOnWithoutRedraw(TMessage& message) {
    const bool visible = ::IsWindowVisible(CtrlHandle) != FALSE;
    if (visible) ::SendMessageW(CtrlHandle, WM_SETREDRAW, FALSE, 0);
    TacMainWnd::acWndProc(message);
    if (!visible || !::IsWindow(CtrlHandle)) return;
    ::SendMessageW(CtrlHandle, WM_SETREDRAW, TRUE, 0);
    Repaint();
}

void TacPaintedWnd::acWndProc(TMessage& message) {
    TsSkinManager* m = Manager();
    if (!ManagerActive() || !m || !m->IsValidSkinIndex(SkinData->FSkinIndex) || Destroyed ||
        !PaintsStyle(::GetWindowLongPtrW(CtrlHandle, GWL_STYLE))) {
        TacMainWnd::acWndProc(message);
        return;
    }
    switch (message.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT: Paint(reinterpret_cast<HDC>(message.WParam)); return;
    case WM_ERASEBKGND: message.Result = 1; return;
    case WM_SETTEXT:
    case WM_ENABLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case BM_SETCHECK:
    case BM_SETSTATE:
    case BM_SETSTYLE: PassOnWithoutRedraw(message); return;
    default: TacMainWnd::acWndProc(message); return;
    }
}

// ---------------------------------------------------------------- statics

bool TacStaticWnd::PaintsStyle(LONG_PTR style) const noexcept {
    switch (style & SS_TYPEMASK) {
    case SS_LEFT:
    case SS_CENTER:
    case SS_RIGHT:
    case SS_SIMPLE:
    case SS_LEFTNOWORDWRAP: return true;
    default: return false;  // icons, bitmaps, frames and owner-drawn statics paint themselves
    }
}

void TacStaticWnd::PaintContent(TBitmap* cache, const TCacheInfo&) {
    const LONG_PTR style = ::GetWindowLongPtrW(CtrlHandle, GWL_STYLE);
    UINT flags = DT_EXPANDTABS;
    switch (style & SS_TYPEMASK) {
    case SS_CENTER: flags |= DT_CENTER | DT_WORDBREAK; break;
    case SS_RIGHT: flags |= DT_RIGHT | DT_WORDBREAK; break;
    case SS_LEFT: flags |= DT_WORDBREAK; break;
    default: flags |= DT_SINGLELINE; break;
    }
    if (style & SS_NOPREFIX) flags |= DT_NOPREFIX;
    if (style & SS_CENTERIMAGE) flags = (flags & ~static_cast<UINT>(DT_WORDBREAK)) | DT_SINGLELINE | DT_VCENTER;
    DrawCaption({0, 0, cache->Width(), cache->Height()}, flags);
}

// ---------------------------------------------------------------- group boxes

bool TacGroupBoxWnd::PaintsStyle(LONG_PTR style) const noexcept { return (style & BS_TYPEMASK) == BS_GROUPBOX; }

void TacGroupBoxWnd::PaintContent(TBitmap* cache, const TCacheInfo& ci) {
    const String text = WindowText(CtrlHandle);
    TRect textRect{0, 0, cache->Width(), 0};
    TCanvas& canvas = CacheCanvas();
    acDrawText(canvas.Handle(), text.empty() ? String(L"Wg") : text, textRect, DT_SINGLELINE | DT_CALCRECT);
    const int th = textRect.Height();
    const TRect frame{0, th / 2, cache->Width(), cache->Height()};
    // ci already points at the window's place in the parent's background.
    PaintItem(SkinData->FSkinIndex, SkinData->FSkinSection, ci, true, 0, frame, {0, 0}, cache, SkinData->SkinManager());
    if (text.empty()) return;
    // The caption sits on the parent's background, cut out of the frame's top edge.
    const TRect caption{6, 0, std::min(cache->Width(), 6 + textRect.Width() + 4), th};
    FillFromCI(Rows32(cache), caption, ci);
    DrawCaption({caption.Left + 2, 0, caption.Right, th}, DT_SINGLELINE | DT_LEFT);
}

// ---------------------------------------------------------------- check boxes

namespace {
bool IsRadio(LONG_PTR style) noexcept {
    const LONG_PTR type = style & BS_TYPEMASK;
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}
}  // namespace

bool TacCheckBoxWnd::PaintsStyle(LONG_PTR style) const noexcept {
    if ((style & (BS_PUSHLIKE | BS_LEFTTEXT)) != 0) return false;
    switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE: return true;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: {
        const TsSkinManager* m = Manager();
        return m && m->IsValidImgIndex(m->ConstData.RadioButtonChecked) &&
               m->IsValidImgIndex(m->ConstData.RadioButtonUnChecked);
    }
    default: return false;
    }
}

void TacCheckBoxWnd::PaintContent(TBitmap* cache, const TCacheInfo& ci) {
    const int h = cache->Height();
    const LRESULT check = ::SendMessageW(CtrlHandle, BM_GETCHECK, 0, 0);
    const int state = check == BST_CHECKED ? 1 : check == BST_INDETERMINATE ? 2 : 0;
    const bool enabled = ::IsWindowEnabled(CtrlHandle) != FALSE;
    int boxWidth = CheckWidth(SkinData->SkinManager());
    if (IsRadio(::GetWindowLongPtrW(CtrlHandle, GWL_STYLE))) {
        const TsSkinManager* m = Manager();
        const TsMaskData& md = m->ma[static_cast<std::size_t>(state == 1 ? m->ConstData.RadioButtonChecked
                                                                         : m->ConstData.RadioButtonUnChecked)];
        boxWidth = WidthOfImage(md);
        DrawSkinGlyph(cache, {0, (h - HeightOfImage(md)) / 2}, 0, enabled ? 1 : 2, md, ci);
    } else {
        acDrawCheck({0, 0, boxWidth, h}, state, enabled, cache, ci, SkinData->SkinManager());
    }
    const TRect text{boxWidth + 4, 0, cache->Width(), h};
    DrawCaption(text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if ((::SendMessageW(CtrlHandle, BM_GETSTATE, 0, 0) & BST_FOCUS) != 0) {
        TRect measured{0, 0, text.Width(), h};
        acDrawText(CacheCanvas().Handle(), WindowText(CtrlHandle), measured, DT_SINGLELINE | DT_CALCRECT);
        const int top = (h - measured.Height()) / 2;
        FocusRect(CacheCanvas(),
                  {text.Left - 1, top - 1, text.Left + measured.Width() + 1, top + measured.Height() + 1}, clBtnFace,
                  clBlack);
    }
}

}  // namespace qv

namespace qv {

// ---------------------------------------------------------------- panels and grips

void TacPanelWnd::PaintContent(TBitmap* cache, const TCacheInfo& ci) {
    PaintItem(SkinData->FSkinIndex, SkinData->FSkinSection, ci, true, 0, {0, 0, cache->Width(), cache->Height()},
              {0, 0}, cache, SkinData->SkinManager());
}

void TacSizerWnd::PaintContent(TBitmap* cache, const TCacheInfo& ci) {
    const TsSkinManager* m = Manager();
    if (!m || !m->IsValidImgIndex(m->ConstData.GripRightBottom)) return;
    const TsMaskData& md = m->ma[static_cast<std::size_t>(m->ConstData.GripRightBottom)];
    const int w = WidthOfImage(md), h = HeightOfImage(md);
    if (w <= 0 || h <= 0) return;
    DrawSkinGlyph(cache, {cache->Width() - w, cache->Height() - h}, 0, 1, md, ci);
}

}  // namespace qv

namespace qv {

// ---------------------------------------------------------------- list views

void TacListViewWnd::SaveStdParams() {
    StdColor = static_cast<TColor>(::SendMessageW(CtrlHandle, LVM_GETBKCOLOR, 0, 0));
    StdFontColor = static_cast<TColor>(::SendMessageW(CtrlHandle, LVM_GETTEXTCOLOR, 0, 0));
}

void TacListViewWnd::RestoreStdParams() {
    if (!CtrlHandle || !::IsWindow(CtrlHandle) || StdColor == clNone) return;
    ::SendMessageW(CtrlHandle, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(StdColor));
    ::SendMessageW(CtrlHandle, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(StdColor));
    ::SendMessageW(CtrlHandle, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(StdFontColor));
    ::InvalidateRect(CtrlHandle, nullptr, TRUE);
    ParamsChanged = false;
}

void TacListViewWnd::SetSkinParams() {
    ParamsChanged = true;
    TsSkinManager* m = Manager();
    if (!m || !m->IsValidSkinIndex(SkinData->FSkinIndex)) return;
    const TsGeneralData& gd = m->gd[static_cast<std::size_t>(SkinData->FSkinIndex)];
    const auto colour = static_cast<LPARAM>(ColorToRGB(gd.Color));
    // Only a real change is sent: each one makes the list repaint.
    if (::SendMessageW(CtrlHandle, LVM_GETBKCOLOR, 0, 0) != colour) {
        ::SendMessageW(CtrlHandle, LVM_SETBKCOLOR, 0, colour);
        ::SendMessageW(CtrlHandle, LVM_SETTEXTBKCOLOR, 0, colour);
    }
    const auto text = static_cast<LPARAM>(ColorToRGB(gd.Props[0].FontColor.Color));
    if (::SendMessageW(CtrlHandle, LVM_GETTEXTCOLOR, 0, 0) != text)
        ::SendMessageW(CtrlHandle, LVM_SETTEXTCOLOR, 0, text);
}

void TacListViewWnd::acWndProc(TMessage& message) {
    if (message.Msg == SM_ALPHACMD && message.WParamHi() == SKC_NEWSKIN) ParamsChanged = false;
    if (message.Msg == WM_PAINT && !ParamsChanged && ManagerActive() && SkinData && SkinData->Skinned())
        SetSkinParams();
    TacMainWnd::acWndProc(message);
}

}  // namespace qv
