// TacThreadedTimer: the timer component the form animations build on. Despite its name
// it runs on the user-interface thread: an inner window timer ticks, and a tick that
// arrives while a handler is still running (through a nested message loop) is dropped.
#pragma once
#include "controls/win32/acWinTimer.h"
#include "framework/win32/Controls.h"

#include <memory>

namespace qv {

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TacThreadedTimer : public TComponent {
public:
    explicit TacThreadedTimer(TComponent* owner);
    // Created disabled for owner; with changeEvent the tick calls TimeHandler.
    static TacThreadedTimer* CreateOwned(TComponent* owner, bool changeEvent);
    TacThreadedTimer(const TacThreadedTimer&) = delete;
    TacThreadedTimer& operator=(const TacThreadedTimer&) = delete;
    ~TacThreadedTimer() override;

    bool Enabled() const noexcept { return FEnabled; }
    void SetEnabled(bool value);
    unsigned Interval() const noexcept { return FInterval; }
    void SetInterval(unsigned value);
    const TNotifyEvent& OnTimer() const noexcept { return FOnTimer; }
    void SetOnTimer(TNotifyEvent value);
    TThreadPriority ThreadPriority() const noexcept { return FThreadPriority; }
    void SetThreadPriority(TThreadPriority value);
    void Reset();
    // Whether the inner timer is running now.
    bool Ticking() const noexcept { return FTimerThread && FTimerThread->Enabled(); }

    virtual void Timer();
    virtual void TimeHandler() {}

    bool Executing = false;
    TComponent* FOwner = nullptr;
    bool InHandler = false;

protected:
    void Tick();
    void StartTimer();
    void KillTimer();
    void UpdateTimer();

    bool FEnabled = false;
    unsigned FInterval = 1000;
    TNotifyEvent FOnTimer;
    std::unique_ptr<TacWindowTimer> FTimerThread;
    TThreadPriority FThreadPriority = tpNormal;
};

}  // namespace qv
