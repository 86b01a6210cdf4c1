#include "skin/win32/sStyleSimply.h"

#include "framework/win32/Application.h"
#include "skin/win32/sMessages.h"
#include "skin/win32/sSkinManager.h"

#include <algorithm>

namespace qv {

TacWindowSkinning acWindowSkinning;
std::vector<TCustomForm*> HookedComponents;

namespace {

// A form pointer taken from a list is used only while the form still exists.
bool FormAlive(TCustomForm* form) {
    TScreen& screen = Screen();
    for (int i = 0; i < screen.FormCount(); ++i)
        if (screen.Forms(i) == form) return true;
    return false;
}

// The form itself: as a window message when its window exists, otherwise through its
// message method (a form that has not been shown yet still hears about the skin).
void DeliverToForm(TCustomForm* form, TMessage& message) {
    if (form->HandleAllocated())
        message.Result = ::SendMessageW(form->Handle(), message.Msg, message.WParam, message.LParam);
    else message.Result = form->Perform(message.Msg, message.WParam, message.LParam);
}

void DeliverToMDIClient(TCustomForm* form, TMessage& message) {
    if (form->FormStyle != fsMDIForm || !form->HandleAllocated()) return;
    if (HWND client = ::FindWindowExW(form->Handle(), nullptr, L"MDICLIENT", nullptr))
        message.Result = ::SendMessageW(client, message.Msg, message.WParam, message.LParam);
}

bool ApplicationMinimised() {
    TCustomForm* main = Application().MainForm();
    return main && main->HandleAllocated() && ::IsIconic(main->Handle());
}

// Plain top-level forms of the hooked list whose frame skinner belongs to manager.
template <class Action>
void ForManagedForms(TsSkinManager& manager, bool plainOnly, Action action) {
    for (std::size_t i = 0; i < HookedComponents.size(); ++i) {
        TCustomForm* form = HookedComponents[i];
        if (!FormAlive(form) || form->HasState(csDestroying)) continue;
        if (plainOnly && form->FormStyle == fsMDIChild) continue;
        if (form->Parent() || !form->HandleAllocated() || !::IsWindowVisible(form->Handle())) continue;
        IacFormProvider* provider = GetFormProvider(form);
        if (!provider || provider->ProviderSkinManager() != &manager) continue;
        action(form, *provider);
    }
}

}  // namespace

IacFormProvider* GetFormProvider(TCustomForm* form) {
    if (!form || !form->HandleAllocated()) return nullptr;
    return reinterpret_cast<IacFormProvider*>(SendAMessage(form->Handle(), SKC_GETPROVIDER));
}

void IntSkinForm(TCustomForm* form) {
    if (form) HookedComponents.push_back(form);
}

void IntUnSkinForm(TCustomForm* form) {
    auto it = std::find(HookedComponents.begin(), HookedComponents.end(), form);
    if (it == HookedComponents.end()) return;
    *it = HookedComponents.back();
    HookedComponents.pop_back();
}

void SendToProvider(TCustomForm* form, TMessage& message) {
    if (!form) return;
    for (int i = 0; i < form->ComponentCount(); ++i) {
        TComponent* c = form->Components(i);
        if (c->HasState(csDestroying)) continue;
        if (auto* provider = dynamic_cast<IacFormProvider*>(c)) {
            provider->ProviderMessage(message);
            return;
        }
    }
}

void AppBroadCastS(TMessage& message) {
    TApplication& app = Application();
    for (int i = app.ComponentCount() - 1; i >= 0; --i) {
        if (i >= app.ComponentCount()) continue;  // a receiver freed forms
        auto* form = dynamic_cast<TCustomForm*>(app.Components(i));
        if (!form || form->FormStyle == fsMDIChild) continue;
        if (form->HasState(csDestroying) || form->HasState(csLoading)) continue;
        if (GetBoolMsg(form, SKC_CTRLHANDLED)) continue;  // reached through HookedComponents
        DeliverToForm(form, message);
        AlphaBroadCast(form, message);
        DeliverToMDIClient(form, message);
    }
    SendToHooked(message);
}

void SendToHooked(TMessage& message) {
    for (std::size_t i = 0; i < HookedComponents.size(); ++i) {
        TCustomForm* form = HookedComponents[i];
        if (!FormAlive(form) || form->HasState(csDestroying)) continue;
        DeliverToForm(form, message);
        AlphaBroadCast(form, message);
        DeliverToMDIClient(form, message);
    }
    if (acWindowSkinning.SkinnedDialogs)
        for (HWND dialog : acWindowSkinning.SkinnedDialogs())
            if (::IsWindow(dialog) && ::IsWindowVisible(dialog))
                message.Result = ::SendMessageW(dialog, message.Msg, message.WParam, message.LParam);
}

void LockForms(TsSkinManager& manager) {
    if (ApplicationMinimised()) return;
    if (manager.IsDefault() && manager.AnimEffects.SkinChanging.Active) InAnimationProcess = true;
    ForManagedForms(manager, true, [](TCustomForm* form, IacFormProvider& provider) {
        provider.BeginSkinChange();
        provider.FormLocked = true;
        ::SendMessageW(form->Handle(), WM_SETREDRAW, FALSE, 0);
    });
}

void UnLockForms(TsSkinManager& manager, bool repaint) {
    if (ApplicationMinimised()) return;
    if (manager.IsDefault()) InAnimationProcess = false;
    std::vector<std::pair<TCustomForm*, IacFormProvider*>> locked;
    ForManagedForms(manager, true, [&](TCustomForm* form, IacFormProvider& provider) {
        if (!provider.FormLocked) return;
        ::SendMessageW(form->Handle(), WM_SETREDRAW, TRUE, 0);
        locked.emplace_back(form, &provider);
    });
    for (auto& [form, provider] : locked) {
        if (repaint) provider->EndSkinChange(manager.AnimEffects.SkinChanging.Active, manager.AnimEffects.SkinChanging);
        provider->FormLocked = false;
    }
}

void CopyExForms(TsSkinManager& manager) {
    if (ApplicationMinimised()) return;
    if (manager.IsDefault() && manager.AnimEffects.SkinChanging.Active) InAnimationProcess = true;
    ForManagedForms(manager, false, [](TCustomForm*, IacFormProvider& provider) { provider.SnapshotForSkinChange(); });
}

}  // namespace qv
