// The skinned frame keeps the window's behaviour under real input: a press on close that
// is released elsewhere does nothing, a full click closes, a double click on the title
// maximizes and restores, dragging the title moves the window, the system menu comes
// up once, skinned, from Alt+Space and from a right click on the title, an unavailable
// Close holds, and a window made anew is skinned like the first.
#include "windows/win32_frame/FrameWindow.h"

#include "controls/win32_skinned/SkinnedList.h"

#include <vector>

namespace qv {
namespace {

// A left-button event with the pointer at p in the same input event, so that it
// reports p even where the X pointer lags behind injected moves (during a capture, or
// just after the window moved under it).
void ButtonAt(TPoint p, DWORD button) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>(p.X * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1));
    in.mi.dy = static_cast<LONG>(p.Y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | button;
    ::SendInput(1, &in, sizeof in);
}

void ReleaseAt(TPoint p) { ButtonAt(p, MOUSEEVENTF_LEFTUP); }

// Lets the double-click time pass, so that the next click pairs with none before it: the
// time itself is what is waited for.
void OutlastDoubleClick() { test::PumpFor(static_cast<int>(::GetDoubleClickTime()) + 50); }

// Pumps until this thread has taken a key's press and release (the toggle bit of its
// state flips at the press and the key reads up again), then what they brought.
template <class F>
void TakeKey(WORD vk, F send) {
    const SHORT toggled = ::GetKeyState(vk) & 1;
    send();
    EXPECT_TRUE(
        test::PumpUntil([&] { return (::GetKeyState(vk) & 1) != toggled && (::GetKeyState(vk) & 0x8000) == 0; }));
    Application().ProcessMessages();
}

// Counts the menus that come up while a modal menu loop runs, reads the first one's
// items and closes each one from a thread timer.
struct MenuWatch {
    static inline int Shown = 0;
    static inline UINT RestoreState = 0, MaximizeState = 0, CloseState = 0;
    static inline HWND LastMenu = nullptr;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        const HWND menu = ::FindWindowW(L"#32768", nullptr);
        if (!menu || !::IsWindowVisible(menu) || menu == LastMenu) return;
        LastMenu = menu;
        if (Shown++ == 0) {
            const auto popup = reinterpret_cast<HMENU>(::SendMessageW(menu, MN_GETHMENU, 0, 0));
            RestoreState = ::GetMenuState(popup, SC_RESTORE, MF_BYCOMMAND);
            MaximizeState = ::GetMenuState(popup, SC_MAXIMIZE, MF_BYCOMMAND);
            CloseState = ::GetMenuState(popup, SC_CLOSE, MF_BYCOMMAND);
        }
        ::EndMenu();
    }
    UINT_PTR Timer;
    MenuWatch() : Timer(::SetTimer(nullptr, 0, 30, &Tick)) {
        Shown = 0;
        LastMenu = nullptr;
        RestoreState = MaximizeState = CloseState = 0;
    }
    ~MenuWatch() { ::KillTimer(nullptr, Timer); }
};

// Sends the queued steps of a drag one per tick of a thread timer: the system's move loop
// runs inside the press and keeps dispatching timer messages while it reads the input.
struct DragDriver {
    static inline std::vector<TPoint> Steps;
    static inline std::size_t Next = 0;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (Next < Steps.size()) test::MovePointer(Steps[Next].X, Steps[Next].Y);
        else if (Next == Steps.size()) test::MouseButton(false);
        ++Next;
    }
    UINT_PTR Timer;
    explicit DragDriver(std::vector<TPoint> steps) {
        Steps = std::move(steps);
        Next = 0;
        Timer = ::SetTimer(nullptr, 0, 40, &Tick);
    }
    bool Done() const { return Next > Steps.size(); }
    ~DragDriver() { ::KillTimer(nullptr, Timer); }
};

class FrameInput : public test::FrameWindow {
protected:
    void SetUp() override {
        test::FrameWindow::SetUp();
        // No click of an earlier test may pair with the first one here.
        test::MovePointer(900, 700);
        OutlastDoubleClick();
    }
    void ShowActive() {
        ShowSkinned(bsSizeable);
        ::SetForegroundWindow(Wnd());
        ::SetActiveWindow(Wnd());
        EXPECT_TRUE(test::PumpUntil([&] { return ::GetForegroundWindow() == Wnd() && provider->FormActive(); }));
    }
    TPoint ScreenCentre(const TRect& r) {
        const RECT w = WindowRect();
        return {w.left + (r.Left + r.Right) / 2, w.top + (r.Top + std::min(r.Bottom, provider->HeaderHeight())) / 2};
    }
    TPoint TitlePoint() {
        const RECT w = WindowRect();
        return {w.left + provider->Buttons()[tbMin].Rect.Left - 40, w.top + provider->HeaderHeight() / 2};
    }
    bool PointerAt(TPoint p) {
        test::MovePointer(p.X, p.Y);
        return test::PumpUntil(
            [&] {
                POINT c{};
                ::GetCursorPos(&c);
                return c.x == p.X && c.y == p.Y;
            },
            2000);
    }
    void DoubleClickTitle() {
        const TPoint p = TitlePoint();
        ASSERT_TRUE(PointerAt(p));
        for (int i = 0; i < 2; ++i) {
            ButtonAt(p, MOUSEEVENTF_LEFTDOWN);
            ButtonAt(p, MOUSEEVENTF_LEFTUP);
        }
    }
};

TEST_F(FrameInput, PressOnCloseReleasedElsewhereDoesNothingAndAClickCloses) {
    ShowActive();
    int closes = 0;
    form->OnClose = [&](TComponent*, TCloseAction& action) {
        ++closes;
        action = caHide;
    };
    const TsCaptionButton& close = provider->Buttons()[tbClose];
    const RECT w = WindowRect();
    // Released over the client area, then over the title beside the buttons.
    for (const TPoint away : {TPoint{w.left + 100, w.top + 120}, TitlePoint()}) {
        ASSERT_TRUE(PointerAt(ScreenCentre(close.Rect)));
        ButtonAt(ScreenCentre(close.Rect), MOUSEEVENTF_LEFTDOWN);
        ASSERT_TRUE(test::PumpUntil([&] { return close.State == 2; }, 2000)) << "pressed";
        ASSERT_TRUE(PointerAt(away));
        EXPECT_TRUE(test::PumpUntil([&] { return close.State == 0; }, 2000)) << "the pointer left the pressed button";
        ReleaseAt(away);
        EXPECT_TRUE(test::PumpUntil([&] { return ::GetCapture() != Wnd(); }, 2000)) << "the release ends the capture";
        Application().ProcessMessages();  // a close the release queued would come now
        EXPECT_EQ(closes, 0);
        EXPECT_TRUE(::IsWindowVisible(Wnd()));
        // Under Xvfb the X pointer can lag behind injected moves while the capture holds
        // it and jump back when it ends; the pointer is put where the test wants it.
        ASSERT_TRUE(PointerAt(away));
        EXPECT_TRUE(test::PumpUntil([&] { return close.State == 0; }, 2000));
        OutlastDoubleClick();
    }
    // Another window takes the mouse while close is held: the press ends without a command.
    ASSERT_TRUE(PointerAt(ScreenCentre(close.Rect)));
    ButtonAt(ScreenCentre(close.Rect), MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(test::PumpUntil([&] { return close.State == 2; }, 2000));
    TForm* other = NewForm<TForm>(nullptr);
    other->HandleNeeded();
    ::SetCapture(other->Handle());
    EXPECT_EQ(close.State, 0) << "the press ends when the capture goes";
    test::MouseButton(false);
    EXPECT_TRUE(test::PumpUntil([] { return (::GetKeyState(VK_LBUTTON) & 0x8000) == 0; })) << "the release came";
    Application().ProcessMessages();
    ::ReleaseCapture();
    delete other;
    EXPECT_EQ(closes, 0);
    OutlastDoubleClick();

    // Hovering afterwards shows hot, not pressed; a full click closes.
    ASSERT_TRUE(PointerAt(ScreenCentre(close.Rect)));
    ASSERT_TRUE(test::PumpUntil([&] { return close.State == 1; }, 2000));
    ButtonAt(ScreenCentre(close.Rect), MOUSEEVENTF_LEFTDOWN);
    ButtonAt(ScreenCentre(close.Rect), MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(test::PumpUntil([&] { return closes == 1; }, 2000)) << "a full click on close closes";
    EXPECT_FALSE(::IsWindowVisible(Wnd()));
}

TEST_F(FrameInput, DoubleClickOnTitleMaximizesAndRestoresAndDraggingMoves) {
    ShowActive();
    const RECT before = WindowRect();
    DoubleClickTitle();
    EXPECT_TRUE(test::PumpUntil([&] { return ::IsZoomed(Wnd()) != FALSE; }, 2000)) << "maximized";
    OutlastDoubleClick();
    DoubleClickTitle();
    EXPECT_TRUE(test::PumpUntil([&] { return ::IsZoomed(Wnd()) == FALSE; }, 2000)) << "restored";
    test::PumpUntil([&] { return WindowRect().left == before.left && WindowRect().right == before.right; });
    const RECT restored = WindowRect();
    EXPECT_EQ(restored.left, before.left);
    EXPECT_EQ(restored.right, before.right);
    OutlastDoubleClick();

    const TPoint p = TitlePoint();
    ASSERT_TRUE(PointerAt(p));
    DragDriver drag({{p.X + 10, p.Y + 5}, {p.X + 20, p.Y + 10}, {p.X + 30, p.Y + 15}, {p.X + 40, p.Y + 20}});
    ButtonAt(p, MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(test::PumpUntil([&] { return drag.Done(); }, 4000));
    test::PumpUntil([&] { return ::GetCapture() == nullptr && WindowRect().left - before.left >= 30; });
    Application().ProcessMessages();
    // Wine's move loop starts from the first pointer move it sees, as it does for a frame
    // the system draws; Windows starts from the press. Either way the window follows.
    const RECT moved = WindowRect();
    EXPECT_GE(moved.left - before.left, 30);
    EXPECT_LE(moved.left - before.left, 40);
    EXPECT_EQ(moved.left - before.left, 2 * (moved.top - before.top));
}

TEST_F(FrameInput, SystemMenuComesOnceFromAltSpaceAndFromTheTitle) {
    ShowActive();
    {
        MenuWatch watch;
        ::SendMessageW(Wnd(), WM_SYSCOMMAND, SC_KEYMENU, L' ');
        test::PumpUntil([] { return MenuWatch::Shown > 0; });
        Application().ProcessMessages();  // a second menu, should one be queued, comes now
        EXPECT_EQ(MenuWatch::Shown, 1) << "Alt+Space";
        EXPECT_NE(MenuWatch::RestoreState & MF_GRAYED, 0u) << "a normal window cannot be restored";
        EXPECT_EQ(MenuWatch::MaximizeState & MF_GRAYED, 0u);
        EXPECT_EQ(MenuWatch::CloseState & MF_GRAYED, 0u);
    }
    {
        MenuWatch watch;
        ASSERT_TRUE(PointerAt(TitlePoint()));
        test::RightClick();
        ASSERT_TRUE(test::PumpUntil([&] { return MenuWatch::Shown > 0; }, 3000));
        test::PumpFor(300);  // proves that no second menu comes: nothing to wait for
        EXPECT_EQ(MenuWatch::Shown, 1) << "a right click on the title brings one menu, not the system's as well";
    }
    EXPECT_TRUE(::IsWindowVisible(Wnd()));
}

// A form whose system menu greys Close, or has none, keeps it unavailable under the
// skin: the close button, a double click on the title icon and Alt+F4 all leave the form
// open, as the icon does on the system's own frame.
TEST_F(FrameInput, GreyedOrMissingCloseHoldsForTheIconDoubleClickAndAltF4) {
    form->SetBorderStyle(bsSizeable);
    form->HandleNeeded();
    const HMENU sysMenu = ::GetSystemMenu(Wnd(), FALSE);
    ::EnableMenuItem(sysMenu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    ShowActive();
    int closes = 0;
    form->OnClose = [&](TComponent*, TCloseAction& action) {
        ++closes;
        action = caHide;
    };
    const TPoint icon = ScreenCentre(provider->IconRect());
    auto doubleClickIcon = [&](bool closeAvailable) {
        provider->SystemMenu()->ReadItems();
        provider->RepaintNC();
        EXPECT_EQ(provider->Buttons()[tbClose].Enabled, closeAvailable);
        const int closesBefore = closes;
        ::SendMessageW(Wnd(), WM_NCLBUTTONDBLCLK, HTSYSMENU, MAKELPARAM(icon.X, icon.Y));
        if (closeAvailable) test::PumpUntil([&] { return closes > closesBefore; });
        Application().ProcessMessages();  // a close the double click queued comes now
    };
    doubleClickIcon(false);
    EXPECT_EQ(closes, 0) << "a double click on the icon, Close greyed";

    ASSERT_TRUE(test::PumpUntil([&] { return ::GetForegroundWindow() == Wnd(); }, 2000));
    TakeKey(VK_F4, [] {
        for (const auto& [vk, down] : {std::pair{VK_MENU, true}, {VK_F4, true}, {VK_F4, false}, {VK_MENU, false}})
            test::Key(static_cast<WORD>(vk), down);
    });
    EXPECT_EQ(closes, 0) << "Alt+F4, Close greyed";

    ::DeleteMenu(sysMenu, SC_CLOSE, MF_BYCOMMAND);
    doubleClickIcon(false);
    EXPECT_EQ(closes, 0) << "a double click on the icon, no Close item";

    ::AppendMenuW(sysMenu, MF_STRING, SC_CLOSE, L"Close");
    doubleClickIcon(true);
    EXPECT_EQ(closes, 1) << "a double click on the icon, Close available";
}

// A new border style makes the form's window anew: the frame skinner takes the new window
// over as it took the first, with the skinned title, no system menu left to the system,
// and its own system menu dropped for the new window.
TEST_F(FrameInput, AWindowMadeAnewIsSkinnedAndDropsItsSystemMenu) {
    ShowActive();
    form->SetBorderStyle(bsSingle);
    ::SetForegroundWindow(Wnd());
    ::SetActiveWindow(Wnd());
    ::RedrawWindow(Wnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ASSERT_TRUE(test::PumpUntil([&] { return provider->FormActive(); }));
    EXPECT_EQ(::GetWindowLongPtrW(Wnd(), GWL_STYLE) & WS_SYSMENU, 0) << "the system keeps the frame's buttons";
    const TacFrameMetrics m = provider->Metrics();
    const RECT w = WindowRect();
    const TPoint title = TitlePoint();
    const TPoint p{title.X - w.left, title.Y - w.top};
    const std::uint32_t want = test::GradientRow(*manager, manager->GetSkinIndex(L"FORMTITLE"), true,
                                                 m.BorderHeight + m.CaptionHeight, p.Y);
    test::PumpUntil([&] { return static_cast<bool>(test::Near(test::Rgb(*WindowPixels(), p.X, p.Y), want, 2)); });
    EXPECT_TRUE(test::Near(test::Rgb(*WindowPixels(), p.X, p.Y), want, 2)) << "the skinned title";

    MenuWatch watch;
    ::SendMessageW(Wnd(), WM_SYSCOMMAND, SC_KEYMENU, L' ');
    test::PumpUntil([] { return MenuWatch::Shown > 0; });
    Application().ProcessMessages();
    EXPECT_EQ(MenuWatch::Shown, 1) << "Alt+Space on the new window";
}

// The context-menu key and Shift+F10 send WM_CONTEXTMENU with both coordinates -1, which
// a 64-bit LPARAM holds as 0xFFFFFFFF. The form hears the request even where the point
// (-1, -1) lies on its title, as it does when the window is maximized.
TEST_F(FrameInput, KeyboardContextMenuReachesTheFormAlsoWhenMaximized) {
    static int heard;  // the method stays in the form's chain until the form goes
    heard = 0;
    TCustomForm* f = form.get();
    form->WindowProc = [f](TMessage& m) {
        if (m.Msg == WM_CONTEXTMENU) ++heard;
        f->WndProc(m);
    };
    ShowActive();
    ::ShowWindow(Wnd(), SW_MAXIMIZE);
    test::PumpUntil([&] { return ::IsZoomed(Wnd()) && provider->HTProcess({-1, -1}) == acHTCaption; });
    ASSERT_EQ(provider->HTProcess({-1, -1}), acHTCaption) << "(-1, -1) is not on the title here";
    const auto wnd = reinterpret_cast<WPARAM>(Wnd());
    ::SendMessageW(Wnd(), WM_CONTEXTMENU, wnd, MAKELPARAM(-1, -1));
    EXPECT_EQ(heard, 1) << "both coordinates -1 in the low half";
    ::SendMessageW(Wnd(), WM_CONTEXTMENU, wnd, -1);
    EXPECT_EQ(heard, 2) << "an LPARAM of -1";
}

}  // namespace
}  // namespace qv
