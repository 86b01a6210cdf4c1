// Free notification between components: a partner hears of the other's end, and a link
// taken back is gone on both sides.
#include "framework/Classes.h"

#include <gtest/gtest.h>

#include <memory>

namespace qv {
namespace {

class Watcher : public TComponent {
public:
    using TComponent::TComponent;
    TComponent* Watched = nullptr;
    int Removals = 0;

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation != opRemove) return;
        ++Removals;
        if (component == Watched) Watched = nullptr;
    }
};

TEST(FreeNotification, PartnerHearsOfTheEndAndARemovedLinkIsGoneOnBothSides) {
    auto watcher = std::make_unique<Watcher>(nullptr);
    auto first = std::make_unique<TComponent>(nullptr);
    auto second = std::make_unique<TComponent>(nullptr);
    watcher->Watched = first.get();
    watcher->FreeNotification(first.get());
    // Switching to another partner, as a control switching image lists does.
    watcher->RemoveFreeNotification(first.get());
    watcher->Watched = second.get();
    watcher->FreeNotification(second.get());
    first.reset();  // no longer linked: the watcher hears nothing
    EXPECT_EQ(watcher->Removals, 0);
    EXPECT_EQ(watcher->Watched, second.get());
    second.reset();
    EXPECT_EQ(watcher->Removals, 1);
    EXPECT_EQ(watcher->Watched, nullptr);
    // The watcher's own end is safe for a partner that went first.
    auto third = std::make_unique<TComponent>(nullptr);
    third->FreeNotification(watcher.get());
    watcher.reset();
    third.reset();
}

}  // namespace
}  // namespace qv
