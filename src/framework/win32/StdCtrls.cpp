#include "framework/win32/StdCtrls.h"

#include "framework/SysUtils.h"

#include <algorithm>

namespace qv {

bool IsAccel(wchar_t key, const String& caption) noexcept {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] == L'&') {
            ++i;
            continue;
        }  // "&&" is a plain ampersand
        return ::CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(key))) ==
               ::CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(caption[i + 1])));
    }
    return false;
}

// ---------------------------------------------------------------- TButton

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    ControlStyle = csSetCaption | csDoubleClicks;
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
}

TButton::~TButton() = default;

void TButton::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, L"BUTTON");
    params.Style |= WS_TABSTOP | (FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

void TButton::CreateWnd() {
    TWinControl::CreateWnd();
    FActive = FDefault;
}

void TButton::SetDefault(bool on) {
    if (FDefault == on) return;
    FDefault = on;
    if (!HandleAllocated()) return;
    // A focused button stays the one shown as default; otherwise this one is it now.
    TCustomForm* form = GetParentForm(this);
    TWinControl* active = form ? form->ActiveControl() : nullptr;
    if (!dynamic_cast<TButton*>(active)) SetButtonStyle(on);
}

void TButton::SetButtonStyle(bool isDefault) {
    FActive = isDefault;
    if (!HandleAllocated()) return;
    const LONG_PTR style = ::GetWindowLongPtrW(FHandle, GWL_STYLE);
    if ((style & BS_TYPEMASK) == BS_OWNERDRAW) {
        Invalidate();
        return;
    }
    const UINT wanted = isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if (static_cast<UINT>(style & BS_TYPEMASK) != wanted) ::SendMessageW(FHandle, BM_SETSTYLE, wanted, TRUE);
}

void TButton::SetImages(TImageList* images) {
    if (FImages == images) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = images;
    if (FImages) FImages->FreeNotification(this);
    Invalidate();
}

void TButton::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == FImages) FImages = nullptr;
}

void TButton::Click() {
    if (ModalResult != mrNone)
        if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(ModalResult);
    TWinControl::Click();
}

void TButton::CMDialogKey(TMessage& message) {
    const WPARAM key = message.WParam;
    const bool plain = (::GetKeyState(VK_MENU) & 0x8000) == 0 && (::GetKeyState(VK_CONTROL) & 0x8000) == 0;
    if (plain && ((key == VK_RETURN && FActive) || (key == VK_ESCAPE && Cancel)) && CanFocus()) {
        Click();
        message.Result = 1;
        return;
    }
    TWinControl::WndProc(message);
}

void TButton::CMFocusChanged(TMessage& message) {
    // The focused button is the default one while it has the focus; with the focus on
    // anything else the Default button is.
    auto* focused = reinterpret_cast<TWinControl*>(message.LParam);
    if (dynamic_cast<TButton*>(focused)) SetButtonStyle(focused == this);
    else SetButtonStyle(FDefault);
    TWinControl::WndProc(message);
}

void TButton::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CM_DIALOGKEY: CMDialogKey(message); return;
    case CM_FOCUSCHANGED: CMFocusChanged(message); return;
    case CN_COMMAND:
        if (HIWORD(message.WParam) == BN_CLICKED) {
            // A disabled button runs nothing, even when another program's BM_CLICK makes
            // the system button report a click.
            if (Enabled()) Click();
            return;
        }
        break;
    case WM_LBUTTONDBLCLK:
        // A second click that comes quickly is still a click, not a double click.
        message.Msg = WM_LBUTTONDOWN;
        break;
    default: break;
    }
    TWinControl::WndProc(message);
}

// ---------------------------------------------------------------- TListBoxStrings

int TListBoxStrings::Count() const {
    if (!FListBox.ItemsInWindow()) return FListBox.FSavedItems.Count();
    const LRESULT count = ::SendMessageW(FListBox.ListHandle(), LB_GETCOUNT, 0, 0);
    return count == LB_ERR ? 0 : static_cast<int>(count);
}

String TListBoxStrings::Strings(int index) const {
    const int count = Count();
    if (index < 0 || index >= count) throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
    if (!FListBox.ItemsInWindow()) return FListBox.FSavedItems.Strings(index);
    const HWND wnd = FListBox.ListHandle();
    const LRESULT length = ::SendMessageW(wnd, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR) throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
    String text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = ::SendMessageW(wnd, LB_GETTEXT, static_cast<WPARAM>(index),
                                          reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<std::size_t>(copied));
    return text;
}

void TListBoxStrings::Put(int index, const String& s) {
    const int selected = FListBox.ItemIndex();
    Delete(index);
    Insert(index, s);
    if (selected == index) FListBox.SetItemIndex(index);
}

int TListBoxStrings::Add(const String& s) {
    if (FListBox.FSorted && FListBox.ItemsInWindow()) {
        const LRESULT index = ::SendMessageW(FListBox.ListHandle(), LB_ADDSTRING, 0,
                                             reinterpret_cast<LPARAM>(s.c_str()));
        if (index < 0) throw EOutOfResources(L"Not enough memory for the list box item");
        FListBox.ApplyItemHeight(static_cast<int>(index));
        return static_cast<int>(index);
    }
    const int index = Count();
    Insert(index, s);
    return index;
}

void TListBoxStrings::Insert(int index, const String& s) {
    const int count = Count();
    if (index < 0 || index > count) throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
    if (!FListBox.ItemsInWindow()) {
        FListBox.FSavedItems.Insert(index, s);
        return;
    }
    const LRESULT result = ::SendMessageW(FListBox.ListHandle(), LB_INSERTSTRING,
                                          static_cast<WPARAM>(index == count ? -1 : index),
                                          reinterpret_cast<LPARAM>(s.c_str()));
    if (result < 0) throw EOutOfResources(L"Not enough memory for the list box item");
    FListBox.ApplyItemHeight(static_cast<int>(result));
}

void TListBoxStrings::Delete(int index) {
    if (index < 0 || index >= Count()) throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
    if (!FListBox.ItemsInWindow()) {
        FListBox.FSavedItems.Delete(index);
        if (FListBox.FSavedItemIndex >= FListBox.FSavedItems.Count()) FListBox.FSavedItemIndex = -1;
        return;
    }
    ::SendMessageW(FListBox.ListHandle(), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void TListBoxStrings::Clear() {
    if (!FListBox.ItemsInWindow()) {
        FListBox.FSavedItems.Clear();
        FListBox.FSavedItemIndex = -1;
        FListBox.FSavedTopIndex = 0;
        return;
    }
    ::SendMessageW(FListBox.ListHandle(), LB_RESETCONTENT, 0, 0);
}

int TListBoxStrings::IndexOf(const String& s) const {
    const int count = Count();
    for (int i = 0; i < count; ++i)
        if (Strings(i) == s) return i;
    return -1;
}

void TListBoxStrings::Assign(const TStringList& source) {
    BeginUpdate();
    try {
        Clear();
        if (FListBox.ItemsInWindow()) FListBox.AppendToWindow(source);
        else
            for (const String& item : source) Add(item);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TListBoxStrings::AssignTo(TStringList& dest) const {
    TStringList items;
    const int count = Count();
    for (int i = 0; i < count; ++i) items.Add(Strings(i));
    const TTextEncoding encoding = dest.Encoding();
    dest.Assign(items);
    dest.SetEncoding(encoding);
}

void TListBoxStrings::BeginUpdate() {
    if (FUpdateCount++ == 0 && FListBox.HandleAllocated())
        ::SendMessageW(FListBox.ListHandle(), WM_SETREDRAW, FALSE, 0);
}

void TListBoxStrings::EndUpdate() {
    if (FUpdateCount == 0) return;
    if (--FUpdateCount == 0 && FListBox.HandleAllocated()) {
        ::SendMessageW(FListBox.ListHandle(), WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(FListBox.ListHandle(), nullptr, TRUE);
    }
}

// ---------------------------------------------------------------- TListBox

TListBox::TListBox(TComponent* owner) : TWinControl(owner) {
    // Clicks and double clicks come from the window's own notifications (LBN_SELCHANGE,
    // LBN_DBLCLK), not from the mouse messages.
    ControlStyle = csSetCaption | csOpaque;
    SetBounds(0, 0, 121, 97);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
}

TListBox::~TListBox() { Destroying(); }

HWND TListBox::ListHandle() const { return const_cast<TListBox*>(this)->Handle(); }

bool TListBox::ItemsInWindow() const {
    auto* self = const_cast<TListBox*>(this);
    if (self->HandleAllocated()) return true;
    if (HasState(csDestroying) || (ControlState & csDestroyingHandle) || !Parent()) return false;
    self->HandleNeeded();
    return self->HandleAllocated();
}

void TListBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, L"LISTBOX");
    // The strings stay in the window in every style, so other programs can read them.
    params.Style |= WS_VSCROLL | WS_TABSTOP | LBS_HASSTRINGS | LBS_NOTIFY;
    if (!FIntegralHeight) params.Style |= LBS_NOINTEGRALHEIGHT;
    if (FSorted) params.Style |= LBS_SORT;
    if (FMultiSelect) params.Style |= LBS_EXTENDEDSEL;
    if (FStyle == lbOwnerDrawFixed) params.Style |= LBS_OWNERDRAWFIXED;
    if (FStyle == lbOwnerDrawVariable) params.Style |= LBS_OWNERDRAWVARIABLE;
    if (FBorderStyle == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListBox::CreateWnd() {
    TWinControl::CreateWnd();
    if (FStyle == lbOwnerDrawFixed) ::SendMessageW(FHandle, LB_SETITEMHEIGHT, 0, FItemHeight);
    if (FSavedItems.Count() > 0) {
        ::SendMessageW(FHandle, WM_SETREDRAW, FALSE, 0);
        TStringList saved;
        saved.Assign(FSavedItems);
        FSavedItems.Clear();
        try {
            AppendToWindow(saved);
        } catch (...) {
            // The items the window could take are in it; the window itself stays.
        }
        ::SendMessageW(FHandle, WM_SETREDRAW, TRUE, 0);
        ::SendMessageW(FHandle, LB_SETTOPINDEX, static_cast<WPARAM>(FSavedTopIndex), 0);
    }
    ::SendMessageW(FHandle, LB_SETCURSEL, static_cast<WPARAM>(FSavedItemIndex), 0);
    FSavedItemIndex = -1;
    FSavedTopIndex = 0;
}

void TListBox::DestroyWnd() {
    SaveItems();
    TWinControl::DestroyWnd();
}

void TListBox::SaveItems() {
    // The window's items and selection are all there is of them: keep them for the
    // next window (the items are only dropped when the list box itself goes). This runs
    // on WM_DESTROY too, since a parent's window takes its children's with it.
    if (!HandleAllocated() || HasState(csDestroying) || FSavedItems.Count() > 0) return;
    const int count = static_cast<int>(::SendMessageW(FHandle, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const LRESULT length = ::SendMessageW(FHandle, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        String text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
        const LRESULT copied = ::SendMessageW(FHandle, LB_GETTEXT, static_cast<WPARAM>(i),
                                              reinterpret_cast<LPARAM>(text.data()));
        text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
        FSavedItems.Add(text);
    }
    const LRESULT selected = ::SendMessageW(FHandle, LB_GETCURSEL, 0, 0);
    FSavedItemIndex = selected == LB_ERR ? -1 : static_cast<int>(selected);
    FSavedTopIndex = static_cast<int>(::SendMessageW(FHandle, LB_GETTOPINDEX, 0, 0));
}

int TListBox::ItemIndex() {
    if (!ItemsInWindow()) return FSavedItemIndex;
    const LRESULT index = ::SendMessageW(FHandle, LB_GETCURSEL, 0, 0);
    return index == LB_ERR ? -1 : static_cast<int>(index);
}

void TListBox::SetItemIndex(int index) {
    if (!ItemsInWindow()) {
        FSavedItemIndex = (index >= 0 && index < FSavedItems.Count()) ? index : -1;
        return;
    }
    ::SendMessageW(FHandle, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int TListBox::TopIndex() {
    if (!ItemsInWindow()) return FSavedTopIndex;
    return static_cast<int>(::SendMessageW(FHandle, LB_GETTOPINDEX, 0, 0));
}

void TListBox::SetTopIndex(int index) {
    if (!ItemsInWindow()) {
        FSavedTopIndex = std::max(index, 0);
        return;
    }
    ::SendMessageW(FHandle, LB_SETTOPINDEX, static_cast<WPARAM>(std::max(index, 0)), 0);
}

int TListBox::ItemAtPos(TPoint p, bool existing) {
    const LRESULT result = ::SendMessageW(Handle(), LB_ITEMFROMPOINT, 0, MAKELPARAM(p.X, p.Y));
    const int index = LOWORD(result);
    const bool outside = HIWORD(result) != 0;
    if (outside && existing) return -1;
    if (outside) return std::min(index + 1, Count());
    return index;
}

TRect TListBox::ItemRect(int index) {
    RECT r{};
    if (::SendMessageW(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)) == LB_ERR)
        return TRect{};
    return {r.left, r.top, r.right, r.bottom};
}

void TListBox::SetStyle(TListBoxStyle style) {
    if (FStyle == style) return;
    FStyle = style;
    if (HandleAllocated()) RecreateWnd();
}

int TListBox::ItemHeight() {
    if (FStyle == lbStandard && HandleAllocated())
        return static_cast<int>(::SendMessageW(FHandle, LB_GETITEMHEIGHT, 0, 0));
    return FItemHeight;
}

void TListBox::SetItemHeight(int height) {
    if (height <= 0 || height > 255 || height == FItemHeight) return;
    FItemHeight = height;
    if (HandleAllocated() && FStyle == lbOwnerDrawFixed) {
        ::SendMessageW(FHandle, LB_SETITEMHEIGHT, 0, height);
        Invalidate();
    }
}

void TListBox::SetBorderStyle(TBorderStyle style) {
    if (FBorderStyle == style) return;
    FBorderStyle = style;
    if (HandleAllocated()) RecreateWnd();
}

void TListBox::SetIntegralHeight(bool on) {
    if (FIntegralHeight == on) return;
    FIntegralHeight = on;
    if (HandleAllocated()) RecreateWnd();
}

void TListBox::SetSorted(bool on) {
    if (FSorted == on) return;
    FSorted = on;
    if (HandleAllocated()) RecreateWnd();
}

void TListBox::SetMultiSelect(bool on) {
    if (FMultiSelect == on) return;
    FMultiSelect = on;
    if (HandleAllocated()) RecreateWnd();
}

void TListBox::ApplyItemHeight(int index) {
    if (FStyle != lbOwnerDrawVariable || !HandleAllocated()) return;
    int height = FItemHeight;
    MeasureItem(index, height);
    ::SendMessageW(FHandle, LB_SETITEMHEIGHT, static_cast<WPARAM>(index), std::clamp(height, 1, 255));
}

void TListBox::AppendToWindow(const TStringList& items) {
    const WNDPROC proc = FDefWndProc ? FDefWndProc : ::DefWindowProcW;
    std::size_t characters = 0;
    for (const String& item : items) characters += item.size() + 1;
    ::CallWindowProcW(proc, FHandle, LB_INITSTORAGE, static_cast<WPARAM>(items.Count()),
                      static_cast<LPARAM>(characters * sizeof(wchar_t)));
    const UINT msg = FSorted ? LB_ADDSTRING : LB_INSERTSTRING;
    for (const String& item : items) {
        const LRESULT index = ::CallWindowProcW(proc, FHandle, msg, static_cast<WPARAM>(-1),
                                                reinterpret_cast<LPARAM>(item.c_str()));
        if (index < 0) throw EOutOfResources(L"Not enough memory for the list box item");
        ApplyItemHeight(static_cast<int>(index));
    }
}

void TListBox::MeasureItem(int index, int& height) {
    if (OnMeasureItem) OnMeasureItem(this, index, height);
}

void TListBox::DrawItem(int index, TRect rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    FCanvas.FillRect(rect);
    if (index >= 0 && index < Count()) FCanvas.TextOut(rect.Left + 2, rect.Top, FItems.Strings(index));
}

void TListBox::CNCommand(TMessage& message) {
    switch (HIWORD(message.WParam)) {
    case LBN_SELCHANGE: Click(); break;
    case LBN_DBLCLK: DblClick(); break;
    default: break;
    }
}

void TListBox::CNDrawItem(TMessage& message) {
    const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
    TOwnerDrawState state = 0;
    if (dis->itemState & ODS_SELECTED) state |= odSelected;
    if (dis->itemState & ODS_GRAYED) state |= odGrayed;
    if (dis->itemState & ODS_DISABLED) state |= odDisabled;
    if (dis->itemState & ODS_CHECKED) state |= odChecked;
    if (dis->itemState & ODS_FOCUS) state |= odFocused;
    if (dis->itemState & ODS_DEFAULT) state |= odDefault;
    const TRect rect{dis->rcItem.left, dis->rcItem.top, dis->rcItem.right, dis->rcItem.bottom};
    const int index = static_cast<int>(static_cast<int32_t>(dis->itemID));
    {
        const TCanvasDC lent(FCanvas, dis->hDC);
        FCanvas.Font().Assign(Font());
        FCanvas.Brush().Assign(Brush());
        FCanvas.Brush().SetColor(Color());
        if (index >= 0 && (state & odSelected)) {
            FCanvas.Brush().SetColor(clHighlight);
            FCanvas.Font().SetColor(clHighlightText);
        }
        if (index >= 0) DrawItem(index, rect, state);
        else FCanvas.FillRect(rect);
        if (state & odFocused) {
            const RECT focus = dis->rcItem;
            ::DrawFocusRect(dis->hDC, &focus);
        }
    }
    message.Result = 1;
}

void TListBox::CNMeasureItem(TMessage& message) {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
    int height = FItemHeight;
    if (FStyle == lbOwnerDrawVariable) MeasureItem(static_cast<int>(mis->itemID), height);
    mis->itemHeight = static_cast<UINT>(std::clamp(height, 1, 255));
    message.Result = 1;
}

void TListBox::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CN_COMMAND: CNCommand(message); return;
    case CN_DRAWITEM: CNDrawItem(message); return;
    case CN_MEASUREITEM: CNMeasureItem(message); return;
    case WM_DESTROY: SaveItems(); break;
    default: break;
    }
    TWinControl::WndProc(message);
}

// ---------------------------------------------------------------- TLabel

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    ControlStyle = ControlStyle | csOpaque | csSetCaption;
    SetBounds(0, 0, 65, 17);
}

TLabel::~TLabel() {
    Destroying();
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
}

void TLabel::SetFocusControl(TWinControl* control) {
    if (FFocusControl == control) return;
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = control;
    if (control) control->FreeNotification(this);
}

void TLabel::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == FFocusControl) FFocusControl = nullptr;
}

void TLabel::SetAutoSize(bool on) {
    if (FAutoSize == on) return;
    FAutoSize = on;
    AdjustBounds();
}

void TLabel::SetAlignment(TAlignment alignment) {
    if (FAlignment == alignment) return;
    FAlignment = alignment;
    Invalidate();
}

void TLabel::SetLayout(TTextLayout layout) {
    if (FLayout == layout) return;
    FLayout = layout;
    Invalidate();
}

void TLabel::SetWordWrap(bool on) {
    if (FWordWrap == on) return;
    FWordWrap = on;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetTransparent(bool on) {
    if (FTransparent == on) return;
    FTransparent = on;
    if (on) ControlStyle &= ~static_cast<TControlStyle>(csOpaque);
    else ControlStyle |= csOpaque;
    Invalidate();
}

void TLabel::SetShowAccelChar(bool on) {
    if (FShowAccelChar == on) return;
    FShowAccelChar = on;
    AdjustBounds();
    Invalidate();
}

UINT TLabel::TextFlags() const noexcept {
    UINT flags = DT_EXPANDTABS;
    switch (FAlignment) {
    case taLeftJustify: flags |= DT_LEFT; break;
    case taRightJustify: flags |= DT_RIGHT; break;
    case taCenter: flags |= DT_CENTER; break;
    }
    if (FWordWrap) flags |= DT_WORDBREAK;
    if (!FShowAccelChar) flags |= DT_NOPREFIX;
    return flags;
}

void TLabel::AdjustBounds() {
    if (!FAutoSize || HasState(csLoading) || HasState(csDestroying)) return;
    // An empty caption still has the height of one line; a wrapping label keeps its
    // width as the limit.
    const TSize text = MeasureScreenText(FText.empty() ? String(L" ") : FText, Font().Handle(), TextFlags(),
                                         FWordWrap ? Width() : 0);
    int left = Left();
    const int width = FWordWrap ? Width() : text.cx;
    if (!FWordWrap && FAlignment == taRightJustify) left += Width() - width;
    SetBounds(left, Top(), width, text.cy);
}

void TLabel::Paint() {
    TCanvas& canvas = Canvas();
    TRect client{0, 0, Width(), Height()};
    if (!FTransparent) {
        canvas.Brush().SetColor(Color());
        canvas.FillRect(client);
    }
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().Assign(Font());
    if (!Enabled()) canvas.Font().SetColor(clGrayText);
    const UINT flags = TextFlags();
    TRect textRect = client;
    if (FLayout != tlTop) {
        TRect measured = client;
        canvas.DrawText(measured, FText.empty() ? String(L" ") : FText, flags | DT_CALCRECT);
        const int free = client.Height() - measured.Height();
        const int offset = FLayout == tlBottom ? free : free / 2;
        textRect.Top += offset;
        textRect.Bottom += offset;
    }
    canvas.DrawText(textRect, FText, flags);
}

void TLabel::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        TGraphicControl::WndProc(message);
        AdjustBounds();
        Invalidate();
        return;
    case CM_DIALOGCHAR:
        if (FFocusControl && Enabled() && FShowAccelChar && IsAccel(static_cast<wchar_t>(message.WParam), FText) &&
            FFocusControl->CanFocus()) {
            FFocusControl->SetFocus();
            message.Result = 1;
            return;
        }
        break;
    default: break;
    }
    TGraphicControl::WndProc(message);
}

}  // namespace qv
