#include "win32/MessagePump.h"

#include "framework/win32/Application.h"

#include <algorithm>

namespace qv::test {
namespace {

// How long a wait sleeps at most before it looks at the condition again.
constexpr DWORD kPollMs = 5;

// Milliseconds left until end (GetTickCount wraps: the difference is what counts).
int RemainingMs(DWORD end) { return static_cast<int>(end - ::GetTickCount()); }

// Sleeps until a message arrives for this thread or up to ms milliseconds pass.
void WaitForInput(int ms) {
    const DWORD wait = std::min(static_cast<DWORD>(std::max(ms, 0)), kPollMs);
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
}

// The enumeration callback: the system calls it with its own convention (stdcall on
// 32-bit Windows), which a lambda does not have.
BOOL CALLBACK MarkIfToPaint(HWND child, LPARAM flag) {
    if (!::GetUpdateRect(child, nullptr, FALSE)) return TRUE;
    *reinterpret_cast<bool*>(flag) = false;
    return FALSE;
}

}  // namespace

void PumpPending() { Application().ProcessMessages(); }

bool PumpUntil(const std::function<bool()>& done, int limitMs) {
    const DWORD end = ::GetTickCount() + static_cast<DWORD>(limitMs);
    for (;;) {
        PumpPending();
        if (done()) return true;
        const int left = RemainingMs(end);
        if (left <= 0) return false;
        WaitForInput(left);
    }
}

void PumpFor(int ms) {
    const DWORD end = ::GetTickCount() + static_cast<DWORD>(ms);
    for (int left = RemainingMs(end); left > 0; left = RemainingMs(end)) {
        PumpPending();
        WaitForInput(left);
    }
    PumpPending();
}

bool NothingToPaint(HWND top) {
    if (::GetUpdateRect(top, nullptr, FALSE)) return false;
    bool clean = true;
    ::EnumChildWindows(top, &MarkIfToPaint, reinterpret_cast<LPARAM>(&clean));
    return clean;
}

}  // namespace qv::test
