// Owning wrappers for GDI and USER handles. Each way of getting a handle has its own
// wrapper, so the release call always matches the call that produced the handle.
// Kernel handles are in KernelHandles.h, COM memory and references in ComHandles.h.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <utility>

namespace qv {

// The value that means "no handle" for Traits: Traits::Invalid() where the API has one
// of its own (INVALID_HANDLE_VALUE for files), the null handle otherwise.
template <class Handle, class Traits>
Handle NoHandle() noexcept {
    if constexpr (requires { Traits::Invalid(); }) return Traits::Invalid();
    else return Handle{};
}

// Move-only owner of one handle; Traits::Close(handle) releases it.
template <class Handle, class Traits>
class UniqueHandle {
public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle h) noexcept : FHandle(h) {}
    UniqueHandle(UniqueHandle&& other) noexcept : FHandle(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Handle get() const noexcept { return FHandle; }
    Handle release() noexcept { return std::exchange(FHandle, None()); }
    void reset(Handle h = None()) noexcept {
        Handle old = std::exchange(FHandle, h);
        if (old != None() && old != h) Traits::Close(old);
    }
    explicit operator bool() const noexcept { return FHandle != None(); }

private:
    static Handle None() noexcept { return NoHandle<Handle, Traits>(); }

    Handle FHandle = None();
};

struct GdiObjectTraits {
    static void Close(HGDIOBJ h) noexcept { ::DeleteObject(h); }
};
struct MemoryDCTraits {
    static void Close(HDC h) noexcept { ::DeleteDC(h); }
};
struct IconTraits {
    static void Close(HICON h) noexcept { ::DestroyIcon(h); }
};
struct WindowTraits {
    static void Close(HWND h) noexcept { ::DestroyWindow(h); }
};
struct GlobalMemoryTraits {
    static void Close(HGLOBAL h) noexcept { ::GlobalFree(h); }
};
struct MenuTraits {
    static void Close(HMENU h) noexcept { ::DestroyMenu(h); }
};
struct ImageListTraits {
    static void Close(HIMAGELIST h) noexcept { ::ImageList_Destroy(h); }
};

using UniqueGdiObject = UniqueHandle<HGDIOBJ, GdiObjectTraits>;
using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectTraits>;
using UniqueFont = UniqueHandle<HFONT, GdiObjectTraits>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectTraits>;
using UniquePen = UniqueHandle<HPEN, GdiObjectTraits>;
using UniqueRegion = UniqueHandle<HRGN, GdiObjectTraits>;
using UniqueMemoryDC = UniqueHandle<HDC, MemoryDCTraits>;  // CreateCompatibleDC
using UniqueIcon = UniqueHandle<HICON, IconTraits>;
using UniqueWindow = UniqueHandle<HWND, WindowTraits>;
using UniqueGlobal = UniqueHandle<HGLOBAL, GlobalMemoryTraits>;
using UniqueMenu = UniqueHandle<HMENU, MenuTraits>;                 // CreateMenu, CreatePopupMenu; not GetSystemMenu
using UniqueImageList = UniqueHandle<HIMAGELIST, ImageListTraits>;  // ImageList_Create

// A window's device context from GetDC, released with ReleaseDC(window, dc): the
// wrapper keeps the window because the release needs it.
struct WindowDCTraits {
    static HDC Get(HWND wnd) noexcept { return ::GetDC(wnd); }
    static void Release(HWND wnd, HDC dc) noexcept { ::ReleaseDC(wnd, dc); }
};

template <class Traits>
class BasicWindowDC {
public:
    BasicWindowDC() noexcept = default;
    explicit BasicWindowDC(HWND wnd) noexcept : FWnd(wnd), FDC(Traits::Get(wnd)) {}
    BasicWindowDC(BasicWindowDC&& other) noexcept
        : FWnd(std::exchange(other.FWnd, HWND{})), FDC(std::exchange(other.FDC, HDC{})) {}
    BasicWindowDC& operator=(BasicWindowDC&& other) noexcept {
        if (this != &other) {
            reset();
            FWnd = std::exchange(other.FWnd, HWND{});
            FDC = std::exchange(other.FDC, HDC{});
        }
        return *this;
    }
    BasicWindowDC(const BasicWindowDC&) = delete;
    BasicWindowDC& operator=(const BasicWindowDC&) = delete;
    ~BasicWindowDC() { reset(); }

    HDC get() const noexcept { return FDC; }
    HWND window() const noexcept { return FWnd; }
    void reset() noexcept {
        if (FDC) Traits::Release(FWnd, FDC);
        FDC = HDC{};
        FWnd = HWND{};
    }
    explicit operator bool() const noexcept { return FDC != HDC{}; }

private:
    HWND FWnd{};
    HDC FDC{};
};
using WindowDC = BasicWindowDC<WindowDCTraits>;

// The whole window's device context (frame and caption included) from GetWindowDC.
struct WholeWindowDCTraits {
    static HDC Get(HWND wnd) noexcept { return ::GetWindowDC(wnd); }
    static void Release(HWND wnd, HDC dc) noexcept { ::ReleaseDC(wnd, dc); }
};
using WholeWindowDC = BasicWindowDC<WholeWindowDCTraits>;

// BeginPaint ... EndPaint for one WM_PAINT. Not movable: the PAINTSTRUCT is the pair's
// shared state.
struct PaintTraits {
    static HDC Begin(HWND wnd, PAINTSTRUCT& ps) noexcept { return ::BeginPaint(wnd, &ps); }
    static void End(HWND wnd, const PAINTSTRUCT& ps) noexcept { ::EndPaint(wnd, &ps); }
};

template <class Traits>
class BasicPaintScope {
public:
    explicit BasicPaintScope(HWND wnd) noexcept : FWnd(wnd) { FDC = Traits::Begin(wnd, FPaint); }
    BasicPaintScope(const BasicPaintScope&) = delete;
    BasicPaintScope& operator=(const BasicPaintScope&) = delete;
    ~BasicPaintScope() {
        if (FDC) Traits::End(FWnd, FPaint);
    }

    HDC dc() const noexcept { return FDC; }
    const PAINTSTRUCT& paint() const noexcept { return FPaint; }

private:
    HWND FWnd;
    HDC FDC{};
    PAINTSTRUCT FPaint{};
};
using PaintScope = BasicPaintScope<PaintTraits>;

// The DC a WM_PAINT handler draws on: the one the message brought (a paint sent with
// a DC in wParam), or else BeginPaint's, ended with the scope.
class MessagePaintDC {
public:
    MessagePaintDC(HWND wnd, HDC given) noexcept : FDC(given) {
        if (!given) FDC = FPaint.emplace(wnd).dc();
    }
    MessagePaintDC(const MessagePaintDC&) = delete;
    MessagePaintDC& operator=(const MessagePaintDC&) = delete;
    ~MessagePaintDC() = default;

    HDC dc() const noexcept { return FDC; }
    bool began() const noexcept { return FPaint.has_value(); }

private:
    std::optional<PaintScope> FPaint;
    HDC FDC;
};

// Selects an object into a DC and puts the previous one back when it ends. It never
// deletes anything: selecting does not transfer ownership.
struct SelectTraits {
    static HGDIOBJ Select(HDC dc, HGDIOBJ obj) noexcept { return ::SelectObject(dc, obj); }
};

template <class Traits>
class BasicSelectScope {
public:
    BasicSelectScope(HDC dc, HGDIOBJ obj) noexcept : FDC(dc) {
        if (dc && obj) FOld = Traits::Select(dc, obj);
    }
    BasicSelectScope(const BasicSelectScope&) = delete;
    BasicSelectScope& operator=(const BasicSelectScope&) = delete;
    ~BasicSelectScope() {
        if (FDC && FOld) Traits::Select(FDC, FOld);
    }

    HGDIOBJ previous() const noexcept { return FOld; }

private:
    HDC FDC;
    HGDIOBJ FOld{};
};
using SelectScope = BasicSelectScope<SelectTraits>;

// Keeps objects selected into one DC for as long as it lives, however often a new one is
// selected in between: the first selection remembers the object the DC had, and Restore
// (or the end of the owner) puts that one back. For selections that outlive one call,
// such as a canvas's font, brush and pen.
template <class Traits>
class BasicHeldSelection {
public:
    BasicHeldSelection() noexcept = default;
    BasicHeldSelection(const BasicHeldSelection&) = delete;
    BasicHeldSelection& operator=(const BasicHeldSelection&) = delete;
    ~BasicHeldSelection() { Restore(); }

    // Selects obj into dc; a different DC than the one held gets its own back first.
    void Select(HDC dc, HGDIOBJ obj) noexcept {
        if (!dc || !obj) return;
        if (dc != FDC) Restore();
        HGDIOBJ previous = Traits::Select(dc, obj);
        if (!FOriginal && previous) {
            FDC = dc;
            FOriginal = previous;
        }
    }
    void Restore() noexcept {
        if (FDC && FOriginal) Traits::Select(FDC, FOriginal);
        FDC = HDC{};
        FOriginal = HGDIOBJ{};
    }
    bool Holding() const noexcept { return FOriginal != HGDIOBJ{}; }

private:
    HDC FDC{};
    HGDIOBJ FOriginal{};  // the DC's own object, put back by Restore
};
using HeldSelection = BasicHeldSelection<SelectTraits>;

// GlobalLock ... GlobalUnlock.
template <class T>
class GlobalLockScope {
public:
    explicit GlobalLockScope(HGLOBAL mem) noexcept
        : FMem(mem), FData(mem ? static_cast<T*>(::GlobalLock(mem)) : nullptr) {}
    GlobalLockScope(const GlobalLockScope&) = delete;
    GlobalLockScope& operator=(const GlobalLockScope&) = delete;
    ~GlobalLockScope() {
        if (FData) ::GlobalUnlock(FMem);
    }
    T* get() const noexcept { return FData; }

private:
    HGLOBAL FMem;
    T* FData;
};

// SaveDC ... RestoreDC: drawing may change the DC's clipping, origin and objects
// freely inside the scope.
class SavedDC {
public:
    explicit SavedDC(HDC dc) noexcept : FDC(dc), FSaved(dc ? ::SaveDC(dc) : 0) {}
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;
    ~SavedDC() {
        if (FSaved) ::RestoreDC(FDC, FSaved);
    }

private:
    HDC FDC;
    int FSaved;
};

}  // namespace qv
