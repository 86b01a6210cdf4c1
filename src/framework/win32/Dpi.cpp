#include "framework/win32/Dpi.h"

#include "framework/win32/Handles.h"

namespace qv {

namespace {

// The awareness contexts the system defines as fixed pseudo handles.
using DpiContext = HANDLE;
const DpiContext kPerMonitorV1 = reinterpret_cast<DpiContext>(static_cast<LONG_PTR>(-3));
const DpiContext kPerMonitorV2 = reinterpret_cast<DpiContext>(static_cast<LONG_PTR>(-4));
// DPI_AWARENESS values of GetAwarenessFromDpiAwarenessContext.
constexpr int kAwarenessUnaware = 0, kAwarenessSystem = 1, kAwarenessPerMonitor = 2;
// PROCESS_PER_MONITOR_DPI_AWARE and MDT_EFFECTIVE_DPI of the Windows 8.1 functions.
constexpr int kProcessPerMonitor = 2, kEffectiveDpi = 0;

using GetThreadContextFn = DpiContext(WINAPI*)();
using AwarenessOfContextFn = int(WINAPI*)(DpiContext);
using SetProcessContextFn = BOOL(WINAPI*)(DpiContext);
using SetProcessAwarenessFn = HRESULT(WINAPI*)(int);
using GetDpiForSystemFn = UINT(WINAPI*)();
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using ParametersForDpiFn = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

template <class Fn>
Fn Lookup(const wchar_t* module, const char* name) noexcept {
    HMODULE m = ::GetModuleHandleW(module);
    if (!m) m = ::LoadLibraryW(module);  // kept loaded for the life of the process
    return m ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(m, name))) : nullptr;
}

template <class Fn>
Fn User32(const char* name) noexcept {
    return Lookup<Fn>(L"user32.dll", name);
}

template <class Fn>
Fn Shcore(const char* name) noexcept {
    return Lookup<Fn>(L"shcore.dll", name);
}

}  // namespace

TDpiAwareness CurrentDpiAwareness() noexcept {
    static const auto threadContext = User32<GetThreadContextFn>("GetThreadDpiAwarenessContext");
    static const auto awarenessOf = User32<AwarenessOfContextFn>("GetAwarenessFromDpiAwarenessContext");
    if (!threadContext || !awarenessOf) return TDpiAwareness::System;
    // The awareness is read from the context rather than compared with the version-2
    // context: some systems report that context itself as invalid while the thread is
    // per-monitor aware all the same.
    switch (awarenessOf(threadContext())) {
    case kAwarenessUnaware: return TDpiAwareness::Unaware;
    case kAwarenessPerMonitor: return TDpiAwareness::PerMonitor;
    case kAwarenessSystem:
    default: return TDpiAwareness::System;
    }
}

TDpiAwareness EnsurePerMonitorDpiAwareness() noexcept {
    if (CurrentDpiAwareness() == TDpiAwareness::PerMonitor) return TDpiAwareness::PerMonitor;
    if (const auto setContext = User32<SetProcessContextFn>("SetProcessDpiAwarenessContext")) {
        if (!setContext(kPerMonitorV2)) setContext(kPerMonitorV1);
    } else if (const auto setAwareness = Shcore<SetProcessAwarenessFn>("SetProcessDpiAwareness")) {
        setAwareness(kProcessPerMonitor);
    }
    return CurrentDpiAwareness();
}

int SystemDpi() noexcept {
    static const auto forSystem = User32<GetDpiForSystemFn>("GetDpiForSystem");
    if (forSystem) return SaneDpi(static_cast<int>(forSystem()));
    WindowDC dc(nullptr);
    return SaneDpi(dc ? ::GetDeviceCaps(dc.get(), LOGPIXELSX) : kDesignDpi);
}

int DpiForMonitor(HMONITOR monitor) noexcept {
    static const auto forMonitor = Shcore<GetDpiForMonitorFn>("GetDpiForMonitor");
    UINT x = 0, y = 0;
    if (monitor && forMonitor && SUCCEEDED(forMonitor(monitor, kEffectiveDpi, &x, &y)))
        return SaneDpi(static_cast<int>(x));
    return SystemDpi();
}

int DpiForWindow(HWND wnd) noexcept {
    static const auto forWindow = User32<GetDpiForWindowFn>("GetDpiForWindow");
    if (wnd && forWindow) {
        const int dpi = static_cast<int>(forWindow(wnd));
        if (dpi > 0 && dpi <= kMaxDpi) return dpi;
    }
    return DpiForMonitor(wnd ? ::MonitorFromWindow(wnd, MONITOR_DEFAULTTONEAREST) : nullptr);
}

bool NonClientMetricsForDpi(NONCLIENTMETRICSW& metrics, int dpi) noexcept {
    static const auto forDpi = User32<ParametersForDpiFn>("SystemParametersInfoForDpi");
    metrics = {};
    metrics.cbSize = sizeof metrics;
    dpi = SaneDpi(dpi);
    if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi))) return true;
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return false;
    const int system = SystemDpi();
    for (LOGFONTW* font : {&metrics.lfCaptionFont, &metrics.lfSmCaptionFont, &metrics.lfMenuFont, &metrics.lfStatusFont,
                           &metrics.lfMessageFont})
        font->lfHeight = ScaleBetweenDpi(font->lfHeight, dpi, system);
    return true;
}

int DpiForPoint(POINT point) noexcept { return DpiForMonitor(::MonitorFromPoint(point, MONITOR_DEFAULTTOPRIMARY)); }

}  // namespace qv
