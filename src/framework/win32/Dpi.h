// The program's DPI awareness and the DPI of windows and monitors. Every DPI function of
// the system is looked up when first needed, so the program still starts on systems
// without them (Windows 7 knows only the system DPI); each answer is checked and a DPI
// of 0 or beyond 480 counts as 96.
#pragma once
#include "framework/DpiScale.h"

#include <windows.h>

namespace qv {

enum class TDpiAwareness { Unaware, System, PerMonitor };

// Makes the process per-monitor aware where it is not already (the manifest asks for
// that; a system that ignored it is asked again at run time, version 2 first) and
// returns the awareness the thread has afterwards.
TDpiAwareness EnsurePerMonitorDpiAwareness() noexcept;
// The awareness of the calling thread; System where the system cannot say.
TDpiAwareness CurrentDpiAwareness() noexcept;

// The DPI of the whole system (the primary display's setting).
int SystemDpi() noexcept;
// The DPI of a monitor, or the system DPI where monitors have none of their own.
int DpiForMonitor(HMONITOR monitor) noexcept;
// The DPI a top-level window has: its own where the system keeps one, else the DPI of
// the monitor it is on, else the system DPI.
int DpiForWindow(HWND wnd) noexcept;
// The DPI of the monitor that holds point (where a window about to open will be).
int DpiForPoint(POINT point) noexcept;

// The system's non-client metrics (caption, menu and message fonts...) at dpi; where the
// system cannot give them for a DPI, its own ones with the font heights scaled from the
// system DPI. False when it gives none.
bool NonClientMetricsForDpi(NONCLIENTMETRICSW& metrics, int dpi) noexcept;

}  // namespace qv
