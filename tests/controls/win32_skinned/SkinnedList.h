// A skinned list of 200 paths on the skinned test form, the real pointer and keyboard
// driven through SendInput, and a recorder of the scroll messages the list receives.
#pragma once
#include "SkinnedWindow.h"

#include "controls/win32/sListBox.h"
#include "paint/acScrollMath.h"

#include <map>

namespace qv::test {

inline void Wheel(int delta) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.mouseData = static_cast<DWORD>(delta);
    in.mi.dwFlags = MOUSEEVENTF_WHEEL;
    ::SendInput(1, &in, sizeof in);
}

inline void Key(WORD vk, bool down) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    ::SendInput(1, &in, sizeof in);
}

inline String PathOf(int i) {
    wchar_t text[64];
    std::swprintf(text, 64, L"C:\\Projects\\Quorvel\\notes-%03d.txt", i);
    return text;
}

// Counts the scroll messages (by code) and the frame releases that reach a window, in
// front of everything else.
class ScrollRecorder {
public:
    explicit ScrollRecorder(HWND wnd) : FWnd(wnd) {
        Current() = this;
        FOld = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ScrollRecorder::Proc)));
    }
    ~ScrollRecorder() {
        if (::IsWindow(FWnd)) ::SetWindowLongPtrW(FWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FOld));
        Current() = nullptr;
    }
    ScrollRecorder(const ScrollRecorder&) = delete;
    ScrollRecorder& operator=(const ScrollRecorder&) = delete;
    int Count(UINT code) const {
        const auto it = FCodes.find(code);
        return it == FCodes.end() ? 0 : it->second;
    }
    // Releases of the left button over the window's frame (its bars): a press the bar
    // ignores is over once its release came.
    int NcReleases() const { return FNcReleases; }
    int LastPosition(UINT code) const {
        const auto it = FLastPos.find(code);
        return it == FLastPos.end() ? -1 : it->second;
    }

private:
    static ScrollRecorder*& Current() {
        static ScrollRecorder* current = nullptr;
        return current;
    }
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        ScrollRecorder* self = Current();
        if (msg == WM_NCLBUTTONUP) ++self->FNcReleases;
        if (msg == WM_VSCROLL) {
            ++self->FCodes[LOWORD(wParam)];
            self->FLastPos[LOWORD(wParam)] = HIWORD(wParam);
        }
        return ::CallWindowProcW(self->FOld, wnd, msg, wParam, lParam);
    }
    HWND FWnd;
    WNDPROC FOld = nullptr;
    std::map<UINT, int> FCodes, FLastPos;
    int FNcReleases = 0;
};

class SkinnedList : public SkinnedWindow {
protected:
    void SetUp() override {
        SkinnedWindow::SetUp();
        if (HasFatalFailure()) return;
        list = Place<TsListBox>(10, 10, 240, 200);
        for (int i = 0; i < kItems; ++i) list->Items().Add(PathOf(i));
        AddFocusSink(280, 10);
        MovePointer(1000, 700);
        ShowAndPaint();
        ASSERT_NE(list->ListSW(), nullptr);
    }
    void TearDown() override {
        MouseButton(false);
        SkinnedWindow::TearDown();
    }
    // The vertical bar on the screen.
    RECT BarOnScreen() const {
        const TRect r = list->ListSW()->BarRect(list->ListSW()->sBarVert);
        RECT w{};
        ::GetWindowRect(list->Handle(), &w);
        return {w.left + r.Left, w.top + r.Top, w.left + r.Right, w.top + r.Bottom};
    }
    TacScrollInfo VertInfo() const {
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_ALL;
        ::GetScrollInfo(list->Handle(), SB_VERT, &si);
        return {si.nMin, si.nMax, si.nPage, si.nPos, si.nTrackPos};
    }
    int ArrowLength() const { return list->ListSW()->GetScrollMetric(list->ListSW()->sBarVert, 0); }
    TacThumb ThumbNow() const {
        const RECT b = BarOnScreen();
        return Ac_CalcThumbSize(VertInfo(), b.top, b.bottom - b.top, ArrowLength(), 10);
    }
    // What the screen shows at a screen point.
    static std::uint32_t ScreenRgb(int x, int y) {
        HDC screen = ::GetDC(nullptr);
        const COLORREF c = ::GetPixel(screen, x, y);
        ::ReleaseDC(nullptr, screen);
        return (static_cast<std::uint32_t>(GetRValue(c)) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }
    // The track's colour in the skin (what a system bar would not show).
    std::uint32_t TrackColour() const { return Rgb(manager->gd[manager->ConstData.IndexScrollBar2V].Color); }

    static constexpr int kItems = 200;
    TsListBox* list = nullptr;
};

}  // namespace qv::test
