#include "framework/Classes.h"

#include <algorithm>
#include <cwctype>

namespace qv {

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying();
    // Tell partners first, while this object is still whole enough to be compared.
    std::vector<TComponent*> partners;
    partners.swap(FFreeNotifies);
    for (TComponent* p : partners) {
        p->RemoveFreeNotification(this);
        p->Notification(this, opRemove);
    }
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::Loaded() { FComponentState &= ~static_cast<TComponentState>(csLoading); }

int TComponent::ComponentIndex() const noexcept {
    if (!FOwner) return -1;
    auto& list = FOwner->FComponents;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(const String& name) const noexcept {
    if (name.empty()) return nullptr;
    for (TComponent* c : FComponents) {
        const String& n = c->Name();
        if (n.size() == name.size() && std::equal(n.begin(), n.end(), name.begin(), [](wchar_t a, wchar_t b) {
                return std::towupper(a) == std::towupper(b);
            }))
            return c;
    }
    return nullptr;
}

void TComponent::FreeNotification(TComponent* other) {
    if (!other || other == this) return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), other) == FFreeNotifies.end())
        FFreeNotifies.push_back(other);
    if (std::find(other->FFreeNotifies.begin(), other->FFreeNotifies.end(), this) == other->FFreeNotifies.end())
        other->FFreeNotifies.push_back(this);
}

// Undoes FreeNotification on both sides: a link left on the other side would tell this
// object of the other's end after this one is gone.
void TComponent::RemoveFreeNotification(TComponent* other) noexcept {
    if (!other) return;
    FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), other), FFreeNotifies.end());
    auto& theirs = other->FFreeNotifies;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::InsertComponent(TComponent* component) {
    if (!component || component->FOwner == this) return;
    if (component->FOwner) component->FOwner->RemoveComponent(component);
    FComponents.push_back(component);
    component->FOwner = this;
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) noexcept {
    auto it = std::find(FComponents.begin(), FComponents.end(), component);
    if (it == FComponents.end()) return;
    FComponents.erase(it);
    component->FOwner = nullptr;
    if (!HasState(csDestroying)) Notification(component, opRemove);
}

void TComponent::DestroyComponents() noexcept {
    while (!FComponents.empty()) {
        TComponent* c = FComponents.back();
        c->FOwner = nullptr;  // so its destructor does not search our list
        FComponents.pop_back();
        if (!HasState(csDestroying)) Notification(c, opRemove);
        delete c;
    }
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove) RemoveFreeNotification(component);
}

}  // namespace qv
