// Components: objects owned by their owner and freed with it, with the loading states
// a form description goes through. Portable: no <windows.h>.
#pragma once
#include "framework/Types.h"

#include <cstdint>
#include <vector>

namespace qv {

enum TComponentStateFlag : std::uint32_t {
    csLoading = 1u << 0,     // the owner's description is being read
    csReading = 1u << 1,     // this component's properties are being read
    csDestroying = 1u << 2,  // the destructor has begun
    csDesigning = 1u << 3,
    csFreeNotification = 1u << 4,
};
using TComponentState = std::uint32_t;

enum TOperation { opInsert, opRemove };

class TComponent {
public:
    explicit TComponent(TComponent* owner);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const noexcept { return FOwner; }
    const String& Name() const noexcept { return FName; }
    void SetName(const String& name) { FName = name; }
    TComponentState ComponentState() const noexcept { return FComponentState; }
    bool HasState(TComponentStateFlag flag) const noexcept { return (FComponentState & flag) != 0; }

    int ComponentCount() const noexcept { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int index) const { return FComponents.at(index); }
    int ComponentIndex() const noexcept;
    TComponent* FindComponent(const String& name) const noexcept;

    // Reading a description: BeginLoading sets csLoading and csReading, the reader then
    // assigns the properties, EndReading clears csReading, and once every component of
    // the description is read Loaded clears csLoading (overrides call the base first).
    void BeginLoading() noexcept { FComponentState |= csLoading | csReading; }
    void EndReading() noexcept { FComponentState &= ~static_cast<TComponentState>(csReading); }
    virtual void Loaded();

    // Called after construction finished (the most derived constructor has run).
    virtual void AfterConstruction() {}

    // Ask to be told (Notification with opRemove) when other is destroyed.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other) noexcept;

    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component) noexcept;

    // Frees every owned component, last first.
    void DestroyComponents() noexcept;

    // Opaque value for the program's use.
    std::intptr_t Tag = 0;

protected:
    // Sent to the owner (and to free-notification partners) when a component is
    // inserted or removed.
    virtual void Notification(TComponent* component, TOperation operation);
    void SetState(TComponentStateFlag flag, bool on) noexcept {
        if (on) FComponentState |= flag;
        else FComponentState &= ~static_cast<TComponentState>(flag);
    }
    // Derived destructors call this first so that overrides see csDestroying.
    void Destroying() noexcept { FComponentState |= csDestroying; }

private:
    TComponent* FOwner = nullptr;
    String FName;
    TComponentState FComponentState = 0;
    std::vector<TComponent*> FComponents;    // owned
    std::vector<TComponent*> FFreeNotifies;  // not owned
};

}  // namespace qv
