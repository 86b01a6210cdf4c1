#include "controls/win32/acThdTimer.h"

#include "framework/win32/Application.h"

namespace qv {

TacThreadedTimer::TacThreadedTimer(TComponent* owner) : TComponent(owner) {
    if (!Application().Terminated()) {
        FEnabled = true;
        FInterval = 1000;
        StartTimer();
    }
}

TacThreadedTimer* TacThreadedTimer::CreateOwned(TComponent* owner, bool changeEvent) {
    auto* timer = new TacThreadedTimer(owner);
    timer->SetEnabled(false);
    timer->FOwner = owner;
    if (changeEvent) timer->SetOnTimer([timer](TComponent*) { timer->TimeHandler(); });
    return timer;
}

TacThreadedTimer::~TacThreadedTimer() {
    Destroying();
    KillTimer();
}

void TacThreadedTimer::StartTimer() {
    FTimerThread = std::make_unique<TacWindowTimer>();
    FTimerThread->SetInterval(FInterval);
    FTimerThread->OnTimer = [this] { Tick(); };
}

void TacThreadedTimer::KillTimer() {
    if (!FTimerThread) return;
    FTimerThread->SetEnabled(false);
    FTimerThread.reset();
}

void TacThreadedTimer::UpdateTimer() {
    if (!FTimerThread) return;
    FTimerThread->SetEnabled(false);
    if (FInterval != 0 && FEnabled && FOnTimer) FTimerThread->SetEnabled(true);
}

void TacThreadedTimer::SetEnabled(bool value) {
    FEnabled = value;
    UpdateTimer();
}
void TacThreadedTimer::SetInterval(unsigned value) {
    FInterval = value;
    if (FTimerThread) FTimerThread->SetInterval(value);
    UpdateTimer();
}
void TacThreadedTimer::SetOnTimer(TNotifyEvent value) {
    FOnTimer = std::move(value);
    UpdateTimer();
}
void TacThreadedTimer::SetThreadPriority(TThreadPriority value) {
    FThreadPriority = value;
    UpdateTimer();
}

void TacThreadedTimer::Reset() {
    KillTimer();
    StartTimer();
    UpdateTimer();
}

void TacThreadedTimer::Tick() {
    if (!FTimerThread || !FTimerThread->Enabled() || Executing) return;
    Executing = true;
    try {
        Timer();
    } catch (...) {
        Executing = false;
        throw;
    }
    Executing = false;
}

void TacThreadedTimer::Timer() {
    if (FOnTimer) FOnTimer(this);
}

}  // namespace qv
