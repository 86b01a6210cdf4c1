#include "win32/MessagePump.h"

#include "framework/win32/Application.h"

#include <algorithm>

namespace qv::test {
namespace {

// How long a wait sleeps at most before it looks at the condition again.
constexpr DWORD kPollMs = 5;

// Milliseconds left until end (GetTickCount wraps: the difference is what counts).
int RemainingMs(DWORD end) { return static_cast<int>(end - ::GetTickCount()); }

// Sleeps a poll interval (at most ms). A plain sleep, not a wait on the message queue:
// under Wine that wait also takes the display's pending pointer events into the thread,
// and the real-pointer tests then saw late moves they did not see before.
void WaitForInput(int ms) { ::Sleep(std::min(static_cast<DWORD>(std::max(ms, 0)), kPollMs)); }

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
