#include "controls/win32/sListBox.h"

#include "controls/win32/acManagerSource.h"
#include "framework/win32/Application.h"
#include "framework/win32/Graphics.h"
#include "framework/win32/Handles.h"
#include "paint/sGraphUtils.h"
#include "paint/win32/sGraphUtils_Text.h"
#include "skin/win32/sMessages.h"
#include "skin/win32/sVclUtils.h"

#include <algorithm>
#include <optional>

namespace qv {

namespace {

constexpr UINT kItemTextFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP | DT_EXPANDTABS;

bool Loading(const TComponent* c) noexcept { return c->HasState(csLoading) || c->HasState(csReading); }

// Turns redraw off for the span of a call and back on after it.
class RedrawOff {
public:
    explicit RedrawOff(HWND wnd) noexcept : FWnd(wnd) { ::SendMessageW(FWnd, WM_SETREDRAW, FALSE, 0); }
    ~RedrawOff() {
        if (::IsWindow(FWnd)) ::SendMessageW(FWnd, WM_SETREDRAW, TRUE, 0);
    }
    RedrawOff(const RedrawOff&) = delete;
    RedrawOff& operator=(const RedrawOff&) = delete;

private:
    HWND FWnd;
};

}  // namespace

TsCustomListBox::TsCustomListBox(TComponent* owner) : TListBox(owner) {
    FCommonData = std::make_unique<TsCtrlSkinData>(this, true);
    FCommonData->SetCOC(8);
    if (FCommonData->FSkinSection.empty()) FCommonData->FSkinSection = L"EDIT";
    FBoundLabel = std::make_unique<TsBoundLabel>(this, FCommonData.get());
    ControlStyle &= ~static_cast<TControlStyle>(csOpaque);
    DoubleBuffered = false;
}

TsCustomListBox::~TsCustomListBox() {
    Destroying();
    ReleaseWrapper();
}

void TsCustomListBox::AfterConstruction() {
    TListBox::AfterConstruction();
    FCommonData->Loaded();
}

void TsCustomListBox::Loaded() {
    TListBox::Loaded();
    FCommonData->Loaded();
    RefreshEditScrolls();
}

void TsCustomListBox::SetAutoHideScroll(bool value) {
    if (FAutoHideScroll == value) return;
    FAutoHideScroll = value;
    if (!Loading(this) && HandleAllocated()) RecreateWnd();
}

void TsCustomListBox::SetDisabledKind(TsDisabledKind value) {
    if (FDisabledKind == value) return;
    FDisabledKind = value;
    FCommonData->Invalidate();
}

void TsCustomListBox::CreateParams(TCreateParams& params) {
    TListBox::CreateParams(params);
    if (Style() == lbStandard) params.Style |= LBS_OWNERDRAWFIXED;
    if (!FAutoHideScroll) params.Style |= LBS_DISABLENOSCROLL;
}

int TsCustomListBox::TextRowHeight() {
    const TSize size = MeasureScreenText(L"A", Font().Handle(), DT_SINGLELINE | DT_NOPREFIX, 0);
    return std::clamp(static_cast<int>(size.cy), 1, 255);
}

// Rows take the height of "A" in the list's font, from the window's creation on (the font
// of a list described with its own font is set before the window exists).
void TsCustomListBox::ApplyRowHeight() {
    if (Style() != lbStandard) return;
    const int height = TextRowHeight();
    SetItemHeight(height);
    if (HandleAllocated()) ::SendMessageW(FHandle, LB_SETITEMHEIGHT, 0, height);
}

void TsCustomListBox::CreateWnd() {
    ApplyRowHeight();
    TListBox::CreateWnd();
    ApplyRowHeight();
    FCommonData->Loaded();
    RefreshEditScrolls();
}

void TsCustomListBox::DestroyWnd() {
    ReleaseWrapper();
    TListBox::DestroyWnd();
}

void TsCustomListBox::ReleaseWrapper() noexcept {
    if (!FListSW) return;
    TacEditWnd* wrapper = FListSW;
    FListSW = nullptr;
    wrapper->Release();
}

void TsCustomListBox::RefreshEditScrolls() {
    // Only a list that has its window takes a wrapper: asking for the window here would
    // make it in the middle of loading.
    if (!HandleAllocated() || HasState(csDestroying)) return;
    if (FCommonData->Skinned()) {
        if (FListSW && FListSW->Destroyed) ReleaseWrapper();
        if (!FListSW)
            FListSW = TacMainWnd::Create<TacEditWnd>(FHandle, FCommonData.get(), FCommonData->FSkinManager,
                                                     FCommonData->FSkinSection, true);
    } else {
        ReleaseWrapper();
    }
}

TPoint TsCustomListBox::ClientOffset() {
    RECT wr{};
    ::GetWindowRect(FHandle, &wr);
    POINT origin{0, 0};
    ::ClientToScreen(FHandle, &origin);
    return {origin.x - wr.left, origin.y - wr.top};
}

int TsCustomListBox::HorzOffset() {
    if (::GetWindowLongPtrW(FHandle, GWL_STYLE) & LBS_MULTICOLUMN) return 0;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_POS;
    return ::GetScrollInfo(FHandle, SB_HORZ, &si) ? si.nPos : 0;
}

// ---------------------------------------------------------------- items

TBitmap* TsCustomListBox::ItemBitmap(int width, int height) {
    try {
        if (!FItemBmp) FItemBmp = TryCreateBmp32(width, height);
        else FItemBmp->SetSize(width, height);
    } catch (...) {
        FItemBmp.reset();
    }
    if (!FItemBmp) return nullptr;
    TCanvas& canvas = FItemBmp->Canvas();
    if (!FItemFont.SameAs(Font()) || !canvas.HandleAllocated()) {
        FItemFont.Assign(Font());
        canvas.Font().Assign(Font());
    }
    return FItemBmp.get();
}

void TsCustomListBox::DrawSkinnedItem(const DRAWITEMSTRUCT& dis, bool fromPaint) {
    TsCommonData* b = FCommonData.get();
    TsSkinManager* m = b->GetSkinManager();
    const int h = HorzOffset();
    TRect r{dis.rcItem.left, dis.rcItem.top, dis.rcItem.right, dis.rcItem.bottom};
    // A request the system made itself (selection or focus change) comes scrolled.
    if (!fromPaint) r = {r.Left + h, r.Top, r.Right + h, r.Bottom};
    if (r.IsEmpty() || !m) return;
    TBitmap* bmp = ItemBitmap(r.Width(), r.Height());
    if (!bmp) return;
    TBitmap* cache = b->FCacheBmp.get();
    const TPoint edge = ClientOffset();
    const TCacheInfo ci = (cache && !cache->Empty())
                              ? MakeCacheInfo(cache, r.Left + edge.X - (fromPaint ? h : 2 * h), r.Top + edge.Y)
                              : TCacheInfo{nullptr, 0, 0, ColorToRGB(Color()), false};
    if (ci.Ready)
        ::BitBlt(bmp->Canvas().Handle(), 0, 0, r.Width(), r.Height(), cache->Canvas().Handle(), ci.X, ci.Y, SRCCOPY);
    else FillRect32(bmp, {0, 0, r.Width(), r.Height()}, ci.FillColor);
    const int index = static_cast<int>(static_cast<std::int32_t>(dis.itemID));
    const bool selected = (dis.itemState & ODS_SELECTED) != 0;
    const bool focused = (dis.itemState & ODS_FOCUS) != 0;
    if (OnDrawItem) DrawItemByHandler(bmp, r, index, selected, focused);
    else DrawItemFace(bmp, {0, 0, r.Width(), r.Height()}, ci, index, selected, focused);
    // ci already stands at the row's place in the cache: the row fades against those pixels.
    if (!Enabled())
        BmpDisabledKind(bmp, FDisabledKind, Parent() ? GetControlColor(Parent()) : ColorToRGB(clBtnFace), ci, {0, 0});
    ::BitBlt(dis.hDC, r.Left - h, r.Top, r.Width(), r.Height(), bmp->Canvas().Handle(), 0, 0, SRCCOPY);
}

// The application's handler draws with item coordinates on the item bitmap; the canvas
// is given back whatever the handler does.
void TsCustomListBox::DrawItemByHandler(TBitmap* bmp, const TRect& r, int index, bool selected, bool focused) {
    struct CanvasScope {
        TCanvas& C;
        HDC Dc;
        CanvasScope(TCanvas& target, HDC targetDc) noexcept : C(target), Dc(targetDc) {}
        CanvasScope(const CanvasScope&) = delete;
        CanvasScope& operator=(const CanvasScope&) = delete;
        ~CanvasScope() {
            ::SetWindowOrgEx(Dc, 0, 0, nullptr);
            C.SetHandle(nullptr);
        }
    };
    TsSkinManager* m = FCommonData->GetSkinManager();
    TCanvas& list = Canvas();
    HDC dc = bmp->Canvas().Handle();
    ::SetWindowOrgEx(dc, r.Left, r.Top, nullptr);
    list.SetHandle(dc);
    CanvasScope scope{list, dc};
    list.Font().Assign(Font());
    list.Brush().SetColor(selected ? m->GetHighLightColor(focused) : Color());
    list.Font().SetColor(selected ? m->GetHighLightFontColor(focused) : Font().Color());
    OnDrawItem(this, index, r, static_cast<TOwnerDrawState>((selected ? odSelected : 0) | (focused ? odFocused : 0)));
}

// The skin's face of an item: the selection section (or the highlight colour) behind a
// selected item, the text in the section's colours and a focus rectangle without one.
void TsCustomListBox::DrawItemFace(TBitmap* bmp, const TRect& whole, const TCacheInfo& ci, int index, bool selected,
                                   bool focused) {
    TsCommonData* b = FCommonData.get();
    TacSkinSource* src = b->SkinManager();
    TsSkinManager* m = b->GetSkinManager();
    TCanvas& canvas = bmp->Canvas();
    UINT flags = kItemTextFlags;
    if (::GetWindowLongPtrW(FHandle, GWL_EXSTYLE) & WS_EX_RTLREADING) flags |= DT_RIGHT | DT_RTLREADING;
    const int selection = m->GetSkinIndex(L"SELECTION");
    if (selected) {
        if (selection >= 0) PaintItem(selection, L"SELECTION", ci, true, focused ? 1 : 0, whole, {0, 0}, bmp, src);
        else FillRect32(bmp, whole, m->GetHighLightColor(focused));
    }
    if (index >= 0 && index < Count()) {
        const String text = Items()[index];
        TRect textRect{1, 0, whole.Right - 1, whole.Bottom};
        if (selected && selection >= 0) {
            acWriteTextEx(canvas, text, true, textRect, flags, selection, focused, src);
        } else {
            TColor colour = Font().Color();
            const TsGeneralData& gd = m->gd[static_cast<std::size_t>(b->FSkinIndex)];
            if (selected) colour = m->GetHighLightFontColor(focused);
            else if (!b->FCustomFont)
                colour = (b->ControlIsActive() && gd.States > 1) ? gd.Props[1].FontColor.Color
                                                                 : gd.Props[0].FontColor.Color;
            canvas.Font().SetColor(colour);
            canvas.Brush().SetStyle(bsClear);
            canvas.DrawText(textRect, text, flags);
        }
    }
    if (focused && selection < 0) {
        const RECT fr{0, 0, whole.Right, whole.Bottom};
        ::DrawFocusRect(canvas.Handle(), &fr);
    }
}

void TsCustomListBox::CNDrawItem(TMessage& message) {
    const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
    if (dis) DrawSkinnedItem(*dis, FInPaintListBox);
    message.Result = 1;
}

void TsCustomListBox::PaintListBox(TMessage& message) {
    TsCommonData* b = FCommonData.get();
    // A DC in the word parameter (WM_PRINTCLIENT) is painted on as it is; otherwise the
    // paint pair runs whatever happens.
    std::optional<PaintScope> paint;
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    if (!dc) {
        paint.emplace(FHandle);
        dc = paint->dc();
    }
    message.Result = 0;
    b->FUpdating = b->GetUpdating();
    if (b->FUpdating || !dc) return;
    if (b->BGChanged && FListSW) FListSW->PrepareCache();
    RECT client{};
    ::GetClientRect(FHandle, &client);
    if (client.right <= 0 || client.bottom <= 0) return;
    // The rows are composed off screen and reach the window in one copy: no row is seen
    // half drawn, and a copy to the window costs more under Wine than a whole row.
    HDC target = dc;
    try {
        if (!FFrameBmp) FFrameBmp = TryCreateBmp32(client.right, client.bottom);
        else FFrameBmp->SetSize(client.right, client.bottom);
    } catch (...) {
        FFrameBmp.reset();
    }
    if (FFrameBmp) dc = FFrameBmp->Canvas().Handle();
    FillUncovered(dc, client, PaintRows(dc, client));
    if (dc != target) ::BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
}

// Draws every row from the top index down to the client's bottom on dc; answers the part
// the rows cover: the last row's left and bottom and the narrowest right.
TRect TsCustomListBox::PaintRows(HDC dc, const RECT& client) {
    const int count = Count();
    const int selected = ItemIndex();
    const bool hasFocus = ::GetFocus() == FHandle;
    const int caret = static_cast<int>(::SendMessageW(FHandle, LB_GETCARETINDEX, 0, 0));
    TRect covered{0, 0, client.right, 0};
    struct InPaintFlag {
        bool& Flag;
        explicit InPaintFlag(bool& flag) noexcept : Flag(flag) {}
        InPaintFlag(const InPaintFlag&) = delete;
        InPaintFlag& operator=(const InPaintFlag&) = delete;
        ~InPaintFlag() { Flag = false; }
    } inPaint{FInPaintListBox};
    FInPaintListBox = true;
    for (int i = std::max(TopIndex(), 0); i < count; ++i) {
        RECT ir{};
        if (::SendMessageW(FHandle, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&ir)) == LB_ERR)
            break;
        if (ir.top >= client.bottom) break;
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_LISTBOX;
        dis.CtlID = static_cast<UINT>(::GetDlgCtrlID(FHandle));
        dis.itemID = static_cast<UINT>(i);
        dis.itemAction = ODA_DRAWENTIRE;
        const bool itemSelected = MultiSelect() ? ::SendMessageW(FHandle, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0
                                                : i == selected;
        dis.itemState = (itemSelected ? ODS_SELECTED : 0) |
                        ((hasFocus && i == (MultiSelect() ? caret : selected)) ? ODS_FOCUS : 0);
        dis.hwndItem = FHandle;
        dis.hDC = dc;
        dis.rcItem = ir;
        dis.itemData = static_cast<ULONG_PTR>(::SendMessageW(FHandle, LB_GETITEMDATA, static_cast<WPARAM>(i), 0));
        TMessage draw{CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis), 1};
        CNDrawItem(draw);
        covered.Bottom = ir.bottom;
        covered.Right = std::min<int>(covered.Right, ir.right);
        covered.Left = ir.left;
    }
    return covered;
}

// What the rows leave uncovered shows the cache, not an erased background.
void TsCustomListBox::FillUncovered(HDC dc, const RECT& client, const TRect& covered) {
    TBitmap* cache = FCommonData->FCacheBmp.get();
    if (!cache || cache->Empty()) return;
    const TPoint edge = ClientOffset();
    HDC src = cache->Canvas().Handle();
    auto fill = [&](int l, int t, int r, int btm) {
        if (r > l && btm > t) ::BitBlt(dc, l, t, r - l, btm - t, src, l + edge.X, t + edge.Y, SRCCOPY);
    };
    fill(0, covered.Bottom, client.right, client.bottom);
    if (covered.Bottom > 0) {
        fill(covered.Right, 0, client.right, covered.Bottom);
        fill(0, 0, covered.Left, covered.Bottom);
    }
}

// ---------------------------------------------------------------- messages

void TsCustomListBox::SkinCommand(TMessage& message) {
    TsSkinManager* own = FCommonData->GetSkinManager();
    const bool ownManager = message.LParam == reinterpret_cast<LPARAM>(own);
    switch (message.WParamHi()) {
    case SKC_NEWSKIN:
        if (ownManager) {
            CommonWndProc(message, FCommonData.get());
            RefreshEditScrolls();
            if (HandleAllocated() && FListSW)
                ::RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE);
            return;
        }
        break;
    case SKC_REMOVESKIN:
        if (ownManager) {
            ReleaseWrapper();
            CommonWndProc(message, FCommonData.get());
            if (!FCommonData->FCustomColor) SetColor(clWindow);
            if (HandleAllocated()) ::RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE);
            return;
        }
        break;
    case SKC_REFRESH:
        if (ownManager) {
            CommonWndProc(message, FCommonData.get());
            if (!InAnimationProcess && HandleAllocated())
                ::RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE);
            return;
        }
        break;
    case SKC_CTRLHANDLED: message.Result = 1; return;
    case SKC_GETDISABLEDKIND:  // the wrapper fades border and background by the list's kind
        if (message.LParam) *reinterpret_cast<TsDisabledKind*>(message.LParam) = FDisabledKind;
        message.Result = 1;
        return;
    case SKC_GETCOLOR:
        if (!FCommonData->Skinned()) {
            message.Result = static_cast<LRESULT>(static_cast<std::uint32_t>(ColorToRGB(Color())));
            return;
        }
        break;
    case SKC_GETAPPLICATION: message.Result = reinterpret_cast<LRESULT>(&Application()); return;
    default: break;
    }
    if (CommonWndProc(message, FCommonData.get())) return;
    TListBox::WndProc(message);
}

void TsCustomListBox::WndProc(TMessage& message) {
    if (message.Msg == SM_ALPHACMD) {
        SkinCommand(message);
        return;
    }
    if (!FCommonData->Skinned() || !ControlIsReady(this)) {
        PassOn(message);
        return;
    }
    switch (message.Msg) {
    case WM_ERASEBKGND: WMEraseBkgnd(message); return;
    case WM_PAINT: PaintListBox(message); return;
    case CN_DRAWITEM: CNDrawItem(message); return;
    case WM_HSCROLL:
    case WM_VSCROLL: WMScroll(message); return;
    case WM_MOUSEWHEEL: WMMouseWheel(message); return;
    case WM_ENABLE: WMEnable(message); return;
    default: PassOn(message); return;
    }
}

void TsCustomListBox::WMEraseBkgnd(TMessage& message) {
    if (FCommonData->FUpdating || message.WParam) {
        message.Result = 1;
        return;
    }
    PassOn(message);
}

void TsCustomListBox::WMScroll(TMessage& message) {
    TsCommonData* b = FCommonData.get();
    // One repaint after the scroll instead of the list's own partial ones.
    {
        RedrawOff off(FHandle);
        b->FUpdating = true;
        CommonWndProc(message, b);
        TListBox::WndProc(message);
        b->FUpdating = false;
    }
    if (message.Msg == WM_VSCROLL) {
        ::RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        if (OnVScroll) OnVScroll(this);
    } else {
        ::InvalidateRect(FHandle, nullptr, FALSE);
    }
}

void TsCustomListBox::WMMouseWheel(TMessage& message) {
    {
        RedrawOff off(FHandle);
        CommonWndProc(message, FCommonData.get());
        TListBox::WndProc(message);
    }
    ::RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_NOERASE | RDW_UPDATENOW);
}

void TsCustomListBox::WMEnable(TMessage& message) {
    CommonWndProc(message, FCommonData.get());
    TListBox::WndProc(message);
    if (Visible() && !Loading(this)) {
        FCommonData->BGChanged = true;
        ::RedrawWindow(FHandle, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    }
}

void TsCustomListBox::PassOn(TMessage& message) {
    if (CommonWndProc(message, FCommonData.get())) return;
    TListBox::WndProc(message);
    switch (message.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
        if (FBoundLabel) FBoundLabel->AlignLabel();
        break;
    case WM_VSCROLL:
        if (OnVScroll) OnVScroll(this);
        break;
    case CM_FONTCHANGED:
        if (HandleAllocated() && Visible() && Style() == lbStandard) ApplyRowHeight();
        break;
    default: break;
    }
}

}  // namespace qv
