// Layout of a TWinControl's children by Align, and their tab order.
#include "framework/win32/Controls.h"
#include "framework/win32/Forms.h"

#include <algorithm>

namespace qv {

void TWinControl::Realign() {
    TRect r = ClientRect();
    AdjustClientRect(r);
    AlignControls(nullptr, r);
}

void TWinControl::EnableAlign() {
    if (FAlignLevel > 0) --FAlignLevel;
    if (FAlignLevel == 0 && (ControlState & csAlignmentNeeded)) Realign();
}

void TWinControl::ChangeScale(int toDpi, int fromDpi) {
    if (toDpi == fromDpi) return;
    // The children are laid out once, at the end, with every length at the new DPI.
    DisableAlign();
    try {
        ScaleChildren(toDpi, fromDpi);
        TControl::ChangeScale(toDpi, fromDpi);
    } catch (...) {
        EnableAlign();
        throw;
    }
    EnableAlign();
}

void TWinControl::ScaleChildren(int toDpi, int fromDpi) {
    for (TControl* c : FControls) c->ChangeScale(toDpi, fromDpi);
}

// Places the aligned children inside rect, shrinking it as it goes: top-aligned
// controls from the top down, then bottom-aligned from the bottom up, then left, right,
// and client-aligned controls take what is left. Within one kind the order is by
// position (topmost first for alTop, lowest first for alBottom, ...), ties in list
// order, so a description's stored positions decide the stacking. Margins count when
// AlignWithMargins is on; each control keeps its own height (top/bottom) or width
// (left/right) within its Constraints.
void TWinControl::AlignControls(TControl*, TRect& rect) {
    if (FAlignLevel > 0 || FInAlign || HasState(csLoading) || HasState(csDestroying)) {
        ControlState |= csAlignmentNeeded;
        return;
    }
    FInAlign = true;
    ControlState &= ~static_cast<TControlState>(csAlignmentNeeded);
    try {
        for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
            std::vector<TControl*> list;
            for (TControl* c : FControls)
                if (c->Align() == align && c->Visible()) list.push_back(c);
            std::stable_sort(list.begin(), list.end(), [align](TControl* a, TControl* b) {
                switch (align) {
                case alTop: return a->Top() < b->Top();
                case alBottom: return a->Top() + a->Height() > b->Top() + b->Height();
                case alLeft: return a->Left() < b->Left();
                case alRight: return a->Left() + a->Width() > b->Left() + b->Width();
                default: return false;
                }
            });
            for (TControl* c : list) AlignOne(c, align, rect);
        }
    } catch (...) {
        FInAlign = false;
        throw;
    }
    FInAlign = false;
}

void TWinControl::AlignOne(TControl* control, TAlign align, TRect& rect) {
    int ml = 0, mt = 0, mr = 0, mb = 0;
    if (control->AlignWithMargins()) {
        ml = control->Margins().Left();
        mt = control->Margins().Top();
        mr = control->Margins().Right();
        mb = control->Margins().Bottom();
    }
    const int availableWidth = std::max(0, rect.Right - rect.Left - ml - mr);
    const int availableHeight = std::max(0, rect.Bottom - rect.Top - mt - mb);
    switch (align) {
    case alTop:
        control->SetBounds(rect.Left + ml, rect.Top + mt, availableWidth, control->Height());
        rect.Top += control->Height() + mt + mb;
        break;
    case alBottom: {
        int h = control->Height(), w = availableWidth;
        control->Constraints().Apply(w, h);
        control->SetBounds(rect.Left + ml, rect.Bottom - mb - h, availableWidth, h);
        rect.Bottom -= control->Height() + mt + mb;
        break;
    }
    case alLeft:
        control->SetBounds(rect.Left + ml, rect.Top + mt, control->Width(), availableHeight);
        rect.Left += control->Width() + ml + mr;
        break;
    case alRight: {
        int w = control->Width(), h = availableHeight;
        control->Constraints().Apply(w, h);
        control->SetBounds(rect.Right - mr - w, rect.Top + mt, w, availableHeight);
        rect.Right -= control->Width() + ml + mr;
        break;
    }
    case alClient: control->SetBounds(rect.Left + ml, rect.Top + mt, availableWidth, availableHeight); break;
    default: break;
    }
    if (rect.Bottom < rect.Top) rect.Bottom = rect.Top;
    if (rect.Right < rect.Left) rect.Right = rect.Left;
}

// ---- tab order ----

int TWinControl::TabOrder() const noexcept {
    if (!FParent) return -1;
    const auto& list = FParent->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    // While a description is read, later controls do not exist yet: the wanted order
    // is kept and put in place once the controls are loaded.
    if (HasState(csLoading)) {
        FTabOrderWanted = order;
        if (FParent) FParent->FixupTabList();
        return;
    }
    if (!FParent) return;
    auto& list = FParent->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    list.erase(it);
    if (order < 0) order = 0;
    if (order > static_cast<int>(list.size())) order = static_cast<int>(list.size());
    list.insert(list.begin() + order, this);
}

void TWinControl::FixupTabList() {
    std::vector<std::pair<int, TWinControl*>> keyed;
    keyed.reserve(FTabList.size());
    bool anyLoading = false;
    for (size_t i = 0; i < FTabList.size(); ++i) {
        TWinControl* c = FTabList[i];
        keyed.emplace_back(c->FTabOrderWanted >= 0 ? c->FTabOrderWanted : static_cast<int>(i), c);
        if (c->HasState(csLoading)) anyLoading = true;
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (size_t i = 0; i < keyed.size(); ++i) FTabList[i] = keyed[i].second;
    if (!anyLoading)
        for (TWinControl* c : FTabList) c->FTabOrderWanted = -1;
}

void TWinControl::SetTabStop(bool on) {
    if (on == FTabStop) return;
    FTabStop = on;
    if (FHandle) {
        LONG style = ::GetWindowLongW(FHandle, GWL_STYLE);
        ::SetWindowLongW(FHandle, GWL_STYLE, on ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
    }
    Perform(CM_TABSTOPCHANGED, 0, 0);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) {
    for (TWinControl* c : FTabList) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    const int n = static_cast<int>(list.size());
    if (n == 0) return nullptr;
    int index = -1;
    if (current) {
        auto it = std::find(list.begin(), list.end(), current);
        if (it != list.end()) index = static_cast<int>(it - list.begin());
    }
    if (index < 0) index = goForward ? n - 1 : 0;
    for (int step = 0; step < n; ++step) {
        index = goForward ? (index + 1) % n : (index + n - 1) % n;
        TWinControl* c = list[index];
        if (c == current) return nullptr;
        if (checkTabStop && !c->TabStop()) continue;
        if (checkParent && c->Parent() != this) continue;
        if (c->CanFocus()) return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
    if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop)) next->SetFocus();
}

}  // namespace qv
