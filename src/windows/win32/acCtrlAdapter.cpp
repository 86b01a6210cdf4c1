#include "windows/win32/acCtrlAdapter.h"

#include "windows/win32/acCtrlWnds.h"
#include "controls/win32/sBoundLabel.h"
#include "framework/win32/Buttons.h"
#include "framework/win32/StaticText.h"
#include "skin/win32/sMessages.h"
#include "skin/win32/sVclUtils.h"

#include <algorithm>

namespace qv {

namespace {

// Controls tagged so are never adapted.
constexpr std::intptr_t kNotAdapted = -98;

// Set while AddAllItems runs: wrapping sends messages that may lead back here.
bool adapterRunning = false;

bool IsFrame(const TControl* c) noexcept {
    return dynamic_cast<const TScrollingWinControl*>(c) && !dynamic_cast<const TCustomForm*>(c);
}
bool IsFrameworkLabel(const TControl* c) noexcept {
    return dynamic_cast<const TLabel*>(c) && !dynamic_cast<const TsEditLabel*>(c);
}

// Ready for hooking: a form needs no parent.
bool ReadyForHooking(TControl* c) noexcept {
    if (!dynamic_cast<TCustomForm*>(c)) return ControlIsReady(c);
    auto* form = static_cast<TCustomForm*>(c);
    return form->HandleAllocated() && !form->HasState(csLoading) && !form->HasState(csReading) &&
           !form->HasState(csDestroying);
}

bool HandlesSkin(TWinControl* c) { return c->HandleAllocated() && GetBoolMsg(c->Handle(), SKC_CTRLHANDLED); }

// The first class list (in list order) that names className, or -1.
int ThirdPartyKindOf(const TsSkinManager* m, const String& className) {
    if (!m) return -1;
    for (int k = 0; k < ThirdPartyKindCount; ++k)
        if (m->ThirdLists[static_cast<std::size_t>(k)].IndexOf(className) >= 0) return k;
    return -1;
}

// A framework static text is a system static under another class name: it is painted
// as the system's own statics are (the form's skin behind it, the text in the skin's
// colour), named in a class list or not.
constexpr int kFrameworkStaticText = ThirdPartyKindCount;

// The wrapper kind for control: its class list, else the static text's kind, else -1.
int AdaptedKindOf(const TsSkinManager* m, const TControl* control) {
    const int kind = ThirdPartyKindOf(m, control->ClassName());
    if (kind < 0 && m && dynamic_cast<const TStaticText*>(control)) return kFrameworkStaticText;
    return kind;
}

template <class T>
TacMainWnd* Make(HWND wnd, TsCommonData* b, TsSkinManager* m, const String& section) {
    return TacMainWnd::Create<T>(wnd, b, m, section);
}

TacMainWnd* MakeWrapper(int kind, HWND wnd, TsCommonData* b, TsSkinManager* m, const String& section) {
    switch (kind) {
    case ThirdButtons: return Make<TacButtonWnd>(wnd, b, m, section);
    case ThirdBitBtns: return Make<TacBitBtnWnd>(wnd, b, m, section);
    case ThirdCheckBoxes: return Make<TacCheckBoxWnd>(wnd, b, m, section);
    case ThirdComboBoxes:
    case ThirdWWEdits: return Make<TacComboLikeWnd>(wnd, b, m, section);
    case ThirdGroupBoxes: return Make<TacGroupBoxWnd>(wnd, b, m, section);
    case ThirdPanels: return Make<TacPanelWnd>(wnd, b, m, section);
    case ThirdPageControl: return Make<TacPageControlWnd>(wnd, b, m, section);
    case ThirdTabControl: return Make<TacTabControlWnd>(wnd, b, m, section);
    case ThirdToolBar: return Make<TacToolBarVCLWnd>(wnd, b, m, section);
    case ThirdStatusBar: return Make<TacStatusBarWnd>(wnd, b, m, section);
    case ThirdUpDown: return Make<TacSpinWnd>(wnd, b, m, section);
    case ThirdScrollBar: return Make<TacSBWnd>(wnd, b, m, section);
    case ThirdScrollControl: return Make<TacEditLikeWnd>(wnd, b, m, section.empty() ? String(L"PANEL_LOW") : section);
    case ThirdListViews: return Make<TacListViewWnd>(wnd, b, m, section);
    case ThirdEdits:
    case ThirdGrids:
    case ThirdTreeViews:
    case ThirdGridEh:
    case ThirdVirtualTrees: return Make<TacEditLikeWnd>(wnd, b, m, section);
    case kFrameworkStaticText: return Make<TacStaticWnd>(wnd, b, m, section);
    default: return nullptr;  // speed buttons have no window
    }
}

}  // namespace

// ---------------------------------------------------------------- items

TacAdapterItem::TacAdapterItem(TacCtrlAdapter* adapter, TWinControl* control)
    : Adapter(adapter), Ctrl(control), SkinData(std::make_unique<TsCommonData>(control, true)) {
    if (TsSkinManager* m = adapter->Manager(); m && m != DefaultManager) SkinData->FSkinManager = m;
}

TacAdapterItem::~TacAdapterItem() { ReleaseWrapper(); }

void TacAdapterItem::ReleaseWrapper() noexcept {
    if (!ScrollWnd) return;
    TacMainWnd* w = ScrollWnd;
    ScrollWnd = nullptr;
    w->Release();
}

void TacAdapterItem::ControlGone() noexcept {
    if (ScrollWnd) ScrollWnd->OwnerGone();
    SkinData->FOwnerControl = nullptr;
    SkinData->FOwnerObject = nullptr;
    Ctrl = nullptr;
}

void TacAdapterItem::DoHook(TWinControl* control) {
    if (!control || control->Tag == kNotAdapted || !ControlIsReady(control) || !control->Parent() ||
        !control->HandleAllocated() || HandlesSkin(control))
        return;
    SkinData->FOwnerControl = control;
    SkinData->FOwnerObject = control;
    Ctrl = control;
    TsSkinManager* m = Adapter->Manager();
    const int kind = AdaptedKindOf(m, control);
    if (kind < 0) return;
    ReleaseWrapper();
    ScrollWnd = MakeWrapper(kind, control->Handle(), SkinData.get(), m, SkinData->FSkinSection);
}

// ---------------------------------------------------------------- adapter

TacCtrlAdapter::TacCtrlAdapter(TCustomForm* form, TsSkinManager* manager)
    : TComponent(form), FForm(form), FManager(manager) {
    if (FManager) FManager->FreeNotification(this);
}

TacCtrlAdapter::~TacCtrlAdapter() {
    Destroying();
    RemoveAllItems();
}

TacAdapterItem* TacCtrlAdapter::ItemOf(const TWinControl* control) const noexcept {
    for (const auto& item : Items)
        if (item->Ctrl == control) return item.get();
    return nullptr;
}

bool TacCtrlAdapter::IsControlSupported(TControl* control) {
    if (!control || control->Tag == kNotAdapted) return false;
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        if (!ReadyForHooking(win) || HandlesSkin(win)) return false;
    }
    if (IsFrameworkLabel(control) || IsFrame(control) || dynamic_cast<TCustomForm*>(control)) return true;
    return AdaptedKindOf(Manager(), control) >= 0;
}

void TacCtrlAdapter::AddAllItems(TWinControl* owner) {
    TsSkinManager* m = Manager();
    if (!m || (m->SkinningRules() & srThirdParty) == 0 || adapterRunning) return;
    adapterRunning = true;
    try {
        AddAll(owner ? owner : FForm);
    } catch (...) {
        adapterRunning = false;
        throw;
    }
    adapterRunning = false;
}

void TacCtrlAdapter::AddAll(TWinControl* owner) {
    if (!owner) return;
    for (int i = 0; i < owner->ComponentCount(); ++i)
        if (auto* c = dynamic_cast<TControl*>(owner->Components(i)); c && IsControlSupported(c)) AddSupported(c);
    for (int i = 0; i < owner->ControlCount(); ++i)
        if (TControl* c = owner->Controls(i); IsControlSupported(c)) AddSupported(c);
    for (int i = 0; i < owner->ControlCount(); ++i)
        if (auto* child = dynamic_cast<TWinControl*>(owner->Controls(i));
            child && child->HandleAllocated() && child->Parent())
            AddAll(child);
}

void TacCtrlAdapter::AddSupported(TControl* control) {
    if (auto* win = dynamic_cast<TWinControl*>(control)) AddNewItem(win);
    else if (IsFrameworkLabel(control)) AdaptLabel(control);
    else if (dynamic_cast<TSpeedButton*>(control)) AddSpeedButton(control);
}

// A framework label shows the form's skin through it, in the skin's text colour.
void TacCtrlAdapter::AdaptLabel(TControl* label) {
    label->ControlStyle &= ~static_cast<TControlStyle>(csOpaque);
    if (TsSkinManager* m = Manager()) label->Font().SetColor(m->GetGlobalFontColor());
}

void TacCtrlAdapter::AddSpeedButton(TControl* button) {
    const String section = static_cast<TSpeedButton*>(button)->Flat() ? L"SPEEDBUTTON_SMALL" : L"SPEEDBUTTON";
    for (TacGraphItem& item : GraphItems)
        if (item.Ctrl == button) {
            item.Section = section;
            return;
        }
    GraphItems.push_back({button, section});
    button->FreeNotification(this);
}

void TacCtrlAdapter::AddNewItem(TWinControl* control, const String& section) {
    if (!control || control->Tag == kNotAdapted || !control->Parent() || HandlesSkin(control)) return;
    String chosen = section;
    if (OnSkinItem) {
        bool allow = true;
        OnSkinItem(control, allow, chosen);
        if (!allow) return;
    }
    // Frames and embedded forms are skinned by their own frame skinners, not by items.
    if (IsFrame(control) || dynamic_cast<TCustomForm*>(control)) return;
    TacAdapterItem* item = ItemOf(control);
    const bool isNew = item == nullptr;
    if (isNew) {
        Items.push_back(std::make_unique<TacAdapterItem>(this, control));
        item = Items.back().get();
        control->FreeNotification(this);
    } else if (item->ScrollWnd && !item->ScrollWnd->Destroyed) {
        return;  // wrapped already
    }
    if (!chosen.empty()) item->SkinData->FSkinSection = UpperCased(chosen);
    item->DoHook(control);
    if (isNew && !item->ScrollWnd) {
        control->RemoveFreeNotification(this);
        Items.pop_back();
    }
}

void TacCtrlAdapter::RemoveAllItems() {
    TsSkinManager* m = Manager();
    std::vector<std::unique_ptr<TacAdapterItem>> items;
    items.swap(Items);
    for (auto& item : items) {
        if (item->ScrollWnd && item->Ctrl && item->Ctrl->HandleAllocated() && !item->ScrollWnd->Destroyed)
            ::SendMessageW(item->Ctrl->Handle(), SM_ALPHACMD, MakeAlphaWParam(SKC_REMOVESKIN),
                           reinterpret_cast<LPARAM>(m));
        item->ReleaseWrapper();
        if (item->Ctrl) item->Ctrl->RemoveFreeNotification(this);
    }
    for (TacGraphItem& g : GraphItems) g.Ctrl->RemoveFreeNotification(this);
    GraphItems.clear();
}

void TacCtrlAdapter::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == FManager) FManager = nullptr;
    for (auto it = Items.begin(); it != Items.end(); ++it)
        if ((*it)->Ctrl == component) {
            (*it)->ControlGone();
            Items.erase(it);
            break;
        }
    std::erase_if(GraphItems, [component](const TacGraphItem& g) { return g.Ctrl == component; });
}

}  // namespace qv
