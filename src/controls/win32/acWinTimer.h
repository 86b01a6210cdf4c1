// A window-message timer owned by a C++ object: SetTimer without a window, the tick
// routed to OnTimer through the timer id. Runs on the thread that created it.
#pragma once
#include <windows.h>

#include <functional>

namespace qv {

class TacWindowTimer {
public:
    TacWindowTimer() = default;
    ~TacWindowTimer();
    TacWindowTimer(const TacWindowTimer&) = delete;
    TacWindowTimer& operator=(const TacWindowTimer&) = delete;

    bool Enabled() const noexcept { return FEnabled; }
    void SetEnabled(bool value);
    unsigned Interval() const noexcept { return FInterval; }
    void SetInterval(unsigned value);
    std::function<void()> OnTimer;

private:
    void Update();
    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD) noexcept;
    bool FEnabled = false;
    unsigned FInterval = 1000;
    UINT_PTR FId = 0;
};

}  // namespace qv
