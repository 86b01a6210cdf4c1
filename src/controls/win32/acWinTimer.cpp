#include "controls/win32/acWinTimer.h"

#include "framework/win32/Application.h"

#include <map>

namespace qv {

namespace {
std::map<UINT_PTR, TacWindowTimer*>& Timers() {
    static std::map<UINT_PTR, TacWindowTimer*> timers;
    return timers;
}
}  // namespace

TacWindowTimer::~TacWindowTimer() {
    FEnabled = false;
    Update();
}

void TacWindowTimer::SetEnabled(bool value) {
    if (FEnabled == value) return;
    FEnabled = value;
    Update();
}

void TacWindowTimer::SetInterval(unsigned value) {
    if (FInterval == value) return;
    FInterval = value;
    Update();
}

void TacWindowTimer::Update() {
    if (FId) {
        ::KillTimer(nullptr, FId);
        Timers().erase(FId);
        FId = 0;
    }
    if (FEnabled && FInterval != 0) {
        FId = ::SetTimer(nullptr, 0, FInterval, &TacWindowTimer::TimerProc);
        if (FId) Timers()[FId] = this;
    }
}

void CALLBACK TacWindowTimer::TimerProc(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    try {
        auto it = Timers().find(id);
        if (it == Timers().end() || !it->second->FEnabled) return;
        if (auto handler = it->second->OnTimer) handler();
    } catch (...) {
        Application().HandleException();
    }
}

}  // namespace qv
