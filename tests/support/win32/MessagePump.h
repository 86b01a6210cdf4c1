// Running this thread's messages from a test, as the program's own loop runs them: what is
// queued now, for a time, or until a condition holds. Under Wine a fixed wait is where a
// flaky run comes from, so a test waits for the condition it needs and uses PumpFor only
// where the time itself is the point (proving that nothing comes within it).
#pragma once
#include <windows.h>

#include <functional>

namespace qv::test {

// Dispatches every message queued for this thread, then returns.
void PumpPending();

// Pumps, checks done(), and sleeps a few milliseconds (a condition may change outside the
// queue), until done() holds or limitMs passed. Returns whether done() held.
bool PumpUntil(const std::function<bool()>& done, int limitMs = 5000);

// Pumps for about ms milliseconds, every few milliseconds.
void PumpFor(int ms);

// No window of the tree under top has a part left to paint.
bool NothingToPaint(HWND top);

}  // namespace qv::test
