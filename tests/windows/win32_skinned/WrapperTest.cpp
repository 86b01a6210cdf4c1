// Window wrappers on bare system windows: subclassing and giving the window back (also
// when somebody subclassed it after the wrapper), messages the wrapper keeps from the
// window, freeing a wrapper from inside its own message, and the faces a wrapped push
// button shows on screen in each state.
#include "controls/win32_skinned/SkinnedWindow.h"

#include "GdiObjects.h"

#include "windows/win32/acBtnWnd.h"
#include "windows/win32/acCtrlWnds.h"
#include "controls/win32/acGlow.h"
#include "controls/win32/sPanel.h"

#include <commctrl.h>

#include <algorithm>

namespace qv {
namespace {

// A subclass that counts the messages it sees and passes everything on.
struct Recorder {
    static inline WNDPROC Next = nullptr;
    static inline int UpdateUiState = 0;
    static inline int SetText = 0;
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_UPDATEUISTATE) ++UpdateUiState;
        if (msg == WM_SETTEXT) ++SetText;
        return ::CallWindowProcW(Next, wnd, msg, wp, lp);
    }
    static void Install(HWND wnd) {
        UpdateUiState = SetText = 0;
        Next = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
    }
    static void Remove(HWND wnd) { ::SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Next)); }
};

LONG_PTR ProcOf(HWND wnd) { return ::GetWindowLongPtrW(wnd, GWLP_WNDPROC); }

String TextOf(HWND wnd) {
    wchar_t text[64] = {};
    ::GetWindowTextW(wnd, text, 64);
    return text;
}

void LeftButton(bool down) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &in, sizeof in);
}

class Wrapper : public test::SkinnedWindow {
protected:
    HWND BareButton(int left, int top, int width, int height, DWORD style = BS_PUSHBUTTON,
                    const wchar_t* text = L"Bare") {
        HWND wnd = ::CreateWindowExW(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, left, top, width,
                                     height, form->Handle(), nullptr, nullptr, nullptr);
        EXPECT_NE(wnd, nullptr);
        return wnd;
    }
};

TEST_F(Wrapper, UnwrappingGivesBackTheWindowProcedureAndRemovesTheProperty) {
    ShowAndPaint();
    HWND wnd = BareButton(10, 10, 100, 30);
    const LONG_PTR original = ProcOf(wnd);
    TacMainWnd* w = TacMainWnd::Create<TacBtnWnd>(wnd, nullptr, manager, String());
    EXPECT_EQ(::GetPropW(wnd, acWrapperProp), w);
    EXPECT_NE(ProcOf(wnd), original);
    EXPECT_EQ(::SendMessageW(wnd, SM_ALPHACMD, MakeAlphaWParam(SKC_CTRLHANDLED), 0), 1);
    EXPECT_EQ(w->SkinData->FSkinSection, L"BUTTON");

    UninitializeACWnd(wnd, true, false, w);
    EXPECT_EQ(w, nullptr);
    EXPECT_EQ(ProcOf(wnd), original);
    EXPECT_EQ(::GetPropW(wnd, acWrapperProp), nullptr);
    EXPECT_EQ(::SendMessageW(wnd, SM_ALPHACMD, MakeAlphaWParam(SKC_CTRLHANDLED), 0), 0);
    ::DestroyWindow(wnd);
}

TEST_F(Wrapper, ASubclasserThatHookedInAfterTheWrapperKeepsAWorkingChain) {
    ShowAndPaint();
    HWND wnd = BareButton(10, 10, 100, 30);
    TacMainWnd* w = TacMainWnd::Create<TacBtnWnd>(wnd, nullptr, manager, String());
    Recorder::Install(wnd);
    const LONG_PTR later = ProcOf(wnd);

    UninitializeACWnd(wnd, true, false, w);  // the wrapper is freed, its link stays
    EXPECT_EQ(ProcOf(wnd), later) << "the later subclass must stay installed";
    EXPECT_EQ(::GetPropW(wnd, acWrapperProp), nullptr);
    ::SetWindowTextW(wnd, L"after");
    EXPECT_EQ(Recorder::SetText, 1);
    EXPECT_EQ(TextOf(wnd), L"after") << "the message reached the button's own procedure";
    EXPECT_EQ(::SendMessageW(wnd, SM_ALPHACMD, MakeAlphaWParam(SKC_CTRLHANDLED), 0), 0) << "nobody answers for a skin";

    // The later subclasser leaves too: the chain it puts back still ends at the button.
    Recorder::Remove(wnd);
    ::SetWindowTextW(wnd, L"again");
    EXPECT_EQ(TextOf(wnd), L"again");
    // A new wrapper takes the link left in the chain.
    TacMainWnd* again = TacMainWnd::Create<TacBtnWnd>(wnd, nullptr, manager, String());
    EXPECT_EQ(WrapperOf(wnd), again);
    EXPECT_EQ(::SendMessageW(wnd, SM_ALPHACMD, MakeAlphaWParam(SKC_CTRLHANDLED), 0), 1);
    ::DestroyWindow(wnd);  // the window goes first: the wrapper is told and frees nothing twice
    EXPECT_TRUE(again->Destroyed);
    again->Release();
}

TEST_F(Wrapper, UpdateUiStateNeverReachesTheWrappedWindow) {
    ShowAndPaint();
    HWND wnd = BareButton(10, 10, 100, 30);
    Recorder::Install(wnd);  // under the wrapper: sees what the wrapper passes on
    TacMainWnd* w = TacMainWnd::Create<TacMainWnd>(wnd, nullptr, manager, L"BUTTON");
    ::SendMessageW(wnd, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    ::SendMessageW(wnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    ::SetWindowTextW(wnd, L"x");
    EXPECT_EQ(Recorder::UpdateUiState, 0);
    EXPECT_EQ(Recorder::SetText, 1);
    UninitializeACWnd(wnd, true, false, w);
    ::DestroyWindow(wnd);
}

// A wrapper that frees itself from inside one of its messages and goes on using itself.
class SelfReleasing : public TacMainWnd {
public:
    SelfReleasing(HWND wnd, TsSkinManager* m, bool* freed) : TacMainWnd(wnd, nullptr, m, L"BUTTON"), FFreed(freed) {}
    ~SelfReleasing() override { *FFreed = true; }
    void acWndProc(TMessage& message) override {
        if (message.Msg == WM_APP) {
            Release();
            DepthSeen = DispatchDepth();  // still alive here
            message.Result = *FFreed ? 0 : 42;
            return;
        }
        TacMainWnd::acWndProc(message);
    }
    int DepthSeen = 0;

private:
    bool* FFreed;
};

TEST_F(Wrapper, ReleasingItselfInsideAMessageFreesTheWrapperWhenTheMessageReturns) {
    ShowAndPaint();
    HWND wnd = BareButton(10, 10, 100, 30);
    const LONG_PTR original = ProcOf(wnd);
    bool freed = false;
    TacMainWnd::Create<SelfReleasing>(wnd, manager, &freed);
    EXPECT_EQ(::SendMessageW(wnd, WM_APP, 0, 0), 42);
    EXPECT_TRUE(freed);
    EXPECT_EQ(ProcOf(wnd), original);
    EXPECT_EQ(::GetPropW(wnd, acWrapperProp), nullptr);
    ::DestroyWindow(wnd);
}

// Records the visual-style calls in place of the system's (whose effect cannot be seen
// where no visual style is active).
std::vector<std::pair<String, String>> themeCalls;
HRESULT WINAPI RecordTheme(HWND, LPCWSTR app, LPCWSTR ids) {
    themeCalls.emplace_back(app ? app : L"<null>", ids ? ids : L"<null>");
    return S_OK;
}

TEST_F(Wrapper, VisualStyleIsSwitchedOffWhileWrappedAndBackAfterwards) {
    auto& calls = themeCalls;
    calls.clear();
    const TacSetWindowTheme saved = acSetWindowTheme;
    acSetWindowTheme = &RecordTheme;
    ShowAndPaint();
    HWND wnd = BareButton(10, 10, 100, 30);
    TacMainWnd* w = TacMainWnd::Create<TacBtnWnd>(wnd, nullptr, manager, String());
    TacMainWnd* dialog = TacMainWnd::Create<TacMainWnd>(form->Handle(), nullptr, manager, L"DIALOG");
    ASSERT_EQ(calls.size(), 1u) << "a DIALOG wrapper keeps the window's style";
    EXPECT_EQ(calls[0], std::make_pair(String(L" "), String(L" ")));
    w->Release();
    dialog->Release();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1], std::make_pair(String(L"<null>"), String(L"<null>")));
    acSetWindowTheme = saved;
    ::DestroyWindow(wnd);
}

TEST_F(Wrapper, FiveHundredWrapPaintUnwrapCyclesLeaveNoGdiObjectBehind) {
    ShowAndPaint();
    HWND wnd = BareButton(10, 10, 120, 34);
    auto cycle = [&] {
        TacMainWnd* w = TacMainWnd::Create<TacBtnWnd>(wnd, nullptr, manager, String());
        ::RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        ::SendMessageW(wnd, WM_SETFOCUS, 0, 0);
        UninitializeACWnd(wnd, true, false, w);
    };
    cycle();  // fonts and caches made once
    const long before = test::LiveGdiObjects();
    for (int i = 0; i < 500; ++i) cycle();
    const long after = test::LiveGdiObjects();
    EXPECT_LE(after - before, 4) << "before " << before << ", after " << after;
    ::DestroyWindow(wnd);
}

// ---------------------------------------------------------------- faces on screen

class WrappedButtonFaces : public Wrapper {
protected:
    void SetUp() override {
        Wrapper::SetUp();
        AddFocusSink(10, 200);
        test::MovePointer(2, 700);
        ShowAndPaint();
        section = manager->GetSkinIndex(L"BUTTON");
        ASSERT_GE(section, 0);
    }
    void TearDown() override {
        test::MovePointer(2, 700);
        ClearGlows();
        Wrapper::TearDown();
    }
    static std::uint32_t Centre(HWND wnd, int x = 6) {
        RECT r{};
        ::GetWindowRect(wnd, &r);
        const auto shot = test::CaptureScreenOf(wnd);
        return test::Rgb(*shot, x, (r.bottom - r.top) / 2);
    }
    // Pumps until the screen shows about want halfway down a window, or gives up; the
    // result tells what it shows.
    static ::testing::AssertionResult CentreShows(HWND wnd, std::uint32_t want) {
        test::PumpUntil([&] { return static_cast<bool>(test::Near(Centre(wnd), want, 2)); });
        return test::Near(Centre(wnd), want, 2);
    }
    std::uint32_t Normal(int h) { return test::GradientRow(*manager, section, false, h, h / 2); }
    std::uint32_t Hot(int h) { return test::GradientRow(*manager, section, true, h, h / 2); }
    int section = -1;
};

TEST_F(WrappedButtonFaces, NormalHotPressedAndFocusedFacesReachTheScreen) {
    HWND wnd = BareButton(40, 40, 160, 48);
    TacMainWnd* w = TacMainWnd::Create<TacBtnWnd>(wnd, nullptr, manager, String());
    auto faded = [&] { return !static_cast<TacBtnWnd*>(w)->FadeRunning(); };
    ::RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(CentreShows(wnd, Normal(48))) << "normal";
    EXPECT_FALSE(test::Near(Normal(48), Hot(48), 20)) << "the skin must tell the two apart";

    // Hot under the real pointer, normal again once it leaves.
    RECT r{};
    ::GetWindowRect(wnd, &r);
    test::MovePointer((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ASSERT_TRUE(test::PumpUntil([&] { return w->SkinData->MouseAbove() && faded(); }));
    EXPECT_TRUE(CentreShows(wnd, Hot(48))) << "hot";

    // Pressed: the border mask's pressed frame fills the face (darker than hot, and
    // not the normal face either); the button really is down.
    LeftButton(true);
    ASSERT_TRUE(test::PumpUntil([&] { return (::SendMessageW(wnd, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0 && faded(); }));
    // Until the pressed frame is on the screen.
    test::PumpUntil(
        [&] { return !test::Near(Centre(wnd, 80), Hot(48), 12) && !test::Near(Centre(wnd, 80), Normal(48), 12); });
    const std::uint32_t pressed = Centre(wnd, 80);
    EXPECT_FALSE(test::Near(pressed, Hot(48), 12)) << "pressed centre";
    EXPECT_FALSE(test::Near(pressed, Normal(48), 12)) << "pressed centre";
    EXPECT_EQ(static_cast<TacBtnWnd*>(w)->CurrentState(), 2);
    LeftButton(false);
    ASSERT_TRUE(test::PumpUntil([&] { return (::SendMessageW(wnd, BM_GETSTATE, 0, 0) & BST_PUSHED) == 0 && faded(); }));
    EXPECT_TRUE(CentreShows(wnd, Hot(48))) << "hot again after the release";

    test::MovePointer(2, 700);
    ASSERT_TRUE(test::PumpUntil([&] { return !w->SkinData->MouseAbove() && faded(); }));
    ::SetFocus(focus->Handle());
    EXPECT_TRUE(CentreShows(wnd, Normal(48))) << "normal after the pointer left";

    // Focused: the hot face while the pointer is elsewhere.
    ::SetFocus(wnd);
    EXPECT_TRUE(CentreShows(wnd, Hot(48))) << "focused";
    ::SetFocus(focus->Handle());
    EXPECT_TRUE(CentreShows(wnd, Normal(48))) << "focus gone";
    w->Release();
    ::DestroyWindow(wnd);
}

// Each channel of mid lies between those of a and b, and mid is clearly neither.
bool Between(std::uint32_t mid, std::uint32_t a, std::uint32_t b) {
    for (int shift : {0, 8, 16}) {
        const int m = static_cast<int>((mid >> shift) & 0xFF), x = static_cast<int>((a >> shift) & 0xFF),
                  y = static_cast<int>((b >> shift) & 0xFF);
        if (m < std::min(x, y) - 2 || m > std::max(x, y) + 2) return false;
    }
    return !test::Near(mid, a, 10) && !test::Near(mid, b, 10);
}

// The real pointer over a wrapped system button cross-fades its face: half way through
// the screen shows a blend of the normal and the hot face, at the end the hot face. A
// paint with nothing changed shows the cached face as it is, without building it again.
TEST_F(WrappedButtonFaces, HoverCrossFadesFromTheNormalToTheHotFaceAndPaintsFromTheCache) {
    const TsGeneralData& gd = manager->gd[static_cast<std::size_t>(section)];
    ASSERT_TRUE(gd.FadingEnabled);
    ASSERT_GE(gd.FadingIterations, 4);
    HWND wnd = BareButton(40, 40, 160, 48);
    auto* w = static_cast<TacBtnWnd*>(TacMainWnd::Create<TacBtnWnd>(wnd, nullptr, manager, String()));
    ::RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(CentreShows(wnd, Normal(48))) << "normal";

    // The cache is what a paint shows while the face is current.
    TBitmap* cache = w->SkinData->FCacheBmp.get();
    ASSERT_NE(cache, nullptr);
    const TColor marker = static_cast<TColor>(0x00FF00);
    cache->Canvas().Brush().SetColor(marker);
    cache->Canvas().FillRect({0, 0, 20, 48});
    ::RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(CentreShows(wnd, test::Rgb(marker))) << "a current face is not built again";
    w->SkinData->BGChanged = true;  // stale: the next paint builds it
    ::RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(CentreShows(wnd, Normal(48))) << "a stale face is built again";

    RECT r{};
    ::GetWindowRect(wnd, &r);
    test::MovePointer((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ASSERT_TRUE(test::PumpUntil([&] { return w->FadeRunning(); })) << "hover starts a fade";
    TsFadeTimer* fade = w->Fade();
    EXPECT_EQ(fade->Iterations, gd.FadingIterations);
    fade->SetEnabled(false);  // the test takes the steps up to half way
    while (fade->FadeLevel <= gd.FadingIterations / 2) fade->Change();
    // Until the step's drawing reached the screen; the fade's timer is off, so no step is taken.
    test::PumpUntil([&] { return Between(Centre(wnd), Normal(48), Hot(48)); });
    ASSERT_EQ(fade->FadeLevel, 1 + gd.FadingIterations / 2);
    const auto shot = test::CaptureScreenOf(wnd);
    EXPECT_TRUE(Between(test::Rgb(*shot, 6, 24), Normal(48), Hot(48)))
        << std::hex << test::Rgb(*shot, 6, 24) << " between " << Normal(48) << " and " << Hot(48);
    fade->SetEnabled(true);
    ASSERT_TRUE(test::PumpUntil([&] { return !w->FadeRunning(); }));
    EXPECT_TRUE(CentreShows(wnd, Hot(48))) << "the fade ends on the hot face";

    test::MovePointer(2, 700);
    ASSERT_TRUE(test::PumpUntil([&] { return !w->SkinData->MouseAbove() && !w->FadeRunning(); }));
    EXPECT_TRUE(CentreShows(wnd, Normal(48))) << "and fades back once the pointer leaves";
    w->Release();
    ::DestroyWindow(wnd);
}

TEST_F(WrappedButtonFaces, TheDefaultButtonShowsHotWhileAnotherControlHasTheFocus) {
    HWND plain = BareButton(40, 40, 160, 48);
    HWND def = BareButton(40, 100, 160, 48, BS_DEFPUSHBUTTON);
    TacMainWnd* a = TacMainWnd::Create<TacBtnWnd>(plain, nullptr, manager, String());
    TacMainWnd* b = TacMainWnd::Create<TacBtnWnd>(def, nullptr, manager, String());
    ::SetFocus(focus->Handle());
    ::RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_TRUE(CentreShows(def, Hot(48)));
    EXPECT_TRUE(CentreShows(plain, Normal(48)));
    a->Release();
    b->Release();
    ::DestroyWindow(plain);
    ::DestroyWindow(def);
}

TEST_F(WrappedButtonFaces, AHiddenFocusedButtonStaysHiddenWhenItLosesTheFocus) {
    HWND wnd = BareButton(40, 40, 160, 48);
    TacMainWnd* w = TacMainWnd::Create<TacBtnWnd>(wnd, nullptr, manager, String());
    ::SetFocus(wnd);
    ::ShowWindow(wnd, SW_HIDE);
    ::SetFocus(focus->Handle());
    ::SendMessageW(wnd, WM_KILLFOCUS, 0, 0);
    ::SendMessageW(wnd, WM_ENABLE, TRUE, 0);
    Application().ProcessMessages();  // a show the messages queued would come now
    EXPECT_FALSE(::IsWindowVisible(wnd));
    w->Release();
    ::DestroyWindow(wnd);
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

// Static texts, group boxes and check boxes of a plain window painted from the skin.
class PaintedWrappers : public test::SkinnedWindow {
protected:
    HWND Child(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h) {
        HWND wnd = ::CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, panel->Handle(), nullptr,
                                     nullptr, nullptr);
        EXPECT_NE(wnd, nullptr);
        return wnd;
    }
    // Pixels of the 16 x 24 box at the left that differ between two pictures of a button.
    static int ChangedInBox(const TBitmap& now, const TBitmap& before) {
        int changed = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 16; ++x)
                if (test::Rgb(now, x, y) != test::Rgb(before, x, y)) ++changed;
        return changed;
    }
    static bool HasColour(const TBitmap& bmp, TRect r, std::uint32_t want, int tolerance) {
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (test::Near(test::Rgb(bmp, x, y), want, tolerance)) return true;
        return false;
    }
    TsPanel* panel = nullptr;
};

TEST_F(PaintedWrappers, StaticGroupBoxAndCheckBoxShowTheSkin) {
    // A skinned panel is the parent: it answers for the background behind its children.
    panel = Place<TsPanel>(0, 0, 360, 200);
    ShowAndPaint();
    HWND label = Child(L"STATIC", L"Hello there", SS_LEFT, 20, 20, 120, 20);
    HWND group = Child(L"BUTTON", L"Group", BS_GROUPBOX, 20, 60, 160, 80);
    HWND check = Child(L"BUTTON", L"Check me", BS_AUTOCHECKBOX, 200, 20, 120, 24);
    TacMainWnd* a = TacMainWnd::Create<TacStaticWnd>(label, nullptr, manager, String());
    TacMainWnd* b = TacMainWnd::Create<TacGroupBoxWnd>(group, nullptr, manager, String());
    TacMainWnd* c = TacMainWnd::Create<TacCheckBoxWnd>(check, nullptr, manager, String());
    ::RedrawWindow(panel->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const int formSection = manager->GetSkinIndex(L"FORM");
    ASSERT_GE(formSection, 0);
    const TColor textColour = manager->gd[static_cast<std::size_t>(formSection)].Props[0].FontColor.Color;
    const int groupSection = manager->GetSkinIndex(L"GROUPBOX");
    ASSERT_GE(groupSection, 0);
    const std::uint32_t groupColour = test::Rgb(manager->gd[static_cast<std::size_t>(groupSection)].Color);
    RECT fr{}, lr{};
    ::GetWindowRect(panel->Handle(), &fr);
    ::GetWindowRect(label, &lr);
    auto besideNow = [&] {
        return test::Rgb(*test::CaptureScreenOf(panel->Handle()), lr.left - fr.left - 3, lr.top - fr.top + 10);
    };
    // Until the three show their skinned faces.
    test::PumpUntil([&] {
        const auto labelNow = test::CaptureScreenOf(label);
        return test::Near(test::Rgb(*labelNow, 118, 18), besideNow(), 2) &&
               HasColour(*labelNow, {0, 0, 60, 20}, test::Rgb(textColour), 24) &&
               test::Near(test::Rgb(*test::CaptureScreenOf(group), 80, 50), groupColour, 2);
    });

    // The static: what lies behind it where there is no text, the skin's text colour in
    // the text.
    const std::uint32_t beside = besideNow();
    const auto labelShot = test::CaptureScreenOf(label);
    EXPECT_TRUE(test::Near(test::Rgb(*labelShot, 118, 18), beside, 2)) << "static background";
    EXPECT_TRUE(HasColour(*labelShot, {0, 0, 60, 20}, test::Rgb(textColour), 24)) << "static text colour";

    // The group box: the section's colour inside its frame.
    const auto groupShot = test::CaptureScreenOf(group);
    EXPECT_TRUE(test::Near(test::Rgb(*groupShot, 80, 50), groupColour, 2)) << "group box inside";

    // The check box: the box changes when it is checked, and the system draws nothing.
    const auto unchecked = test::CaptureScreenOf(check);
    ::SendMessageW(check, BM_CLICK, 0, 0);
    EXPECT_TRUE(test::PumpUntil([&] { return ::SendMessageW(check, BM_GETCHECK, 0, 0) == BST_CHECKED; }));
    test::PumpUntil([&] { return ChangedInBox(*test::CaptureScreenOf(check), *unchecked) > 4; });
    const auto checked = test::CaptureScreenOf(check);
    EXPECT_GT(ChangedInBox(*checked, *unchecked), 4) << "the check mark";
    EXPECT_TRUE(test::Near(test::Rgb(*checked, 118, 2), beside, 2)) << "check box background";

    a->Release();
    b->Release();
    c->Release();
}

TEST_F(PaintedWrappers, AListViewTakesTheSectionsColoursAndGetsItsOwnBack) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);
    panel = Place<TsPanel>(0, 0, 360, 200);
    ShowAndPaint();
    HWND list = Child(WC_LISTVIEWW, L"", LVS_LIST, 20, 20, 200, 120);
    const LRESULT ownBack = ::SendMessageW(list, LVM_GETBKCOLOR, 0, 0);
    TacMainWnd* w = TacMainWnd::Create<TacListViewWnd>(list, nullptr, manager, String());
    ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    const int edit = manager->GetSkinIndex(L"EDIT");
    ASSERT_GE(edit, 0);
    const TColor skinColour = manager->gd[static_cast<std::size_t>(edit)].Color;
    test::PumpUntil([&] {
        return static_cast<bool>(
            test::Near(test::Rgb(*test::CaptureScreenOf(list), 100, 60), test::Rgb(skinColour), 2));
    });
    ASSERT_NE(static_cast<LRESULT>(ColorToRGB(skinColour)), ownBack)
        << "the skin must differ from the list's own colour";
    EXPECT_EQ(::SendMessageW(list, LVM_GETBKCOLOR, 0, 0), static_cast<LRESULT>(ColorToRGB(skinColour)));
    const auto shot = test::CaptureScreenOf(list);
    EXPECT_TRUE(test::Near(test::Rgb(*shot, 100, 60), test::Rgb(skinColour), 2)) << "the body on screen";
    w->Release();
    EXPECT_EQ(::SendMessageW(list, LVM_GETBKCOLOR, 0, 0), ownBack);
    ::DestroyWindow(list);
}

TEST_F(PaintedWrappers, RadioButtonAndSizeGripShowTheSkinsImages) {
    panel = Place<TsPanel>(0, 0, 360, 200);
    ShowAndPaint();
    ASSERT_TRUE(manager->IsValidImgIndex(manager->ConstData.RadioButtonChecked));
    ASSERT_TRUE(manager->IsValidImgIndex(manager->ConstData.GripRightBottom));
    HWND radio = Child(L"BUTTON", L"Pick me", BS_AUTORADIOBUTTON, 20, 20, 120, 24);
    HWND grip = Child(L"SCROLLBAR", L"", SBS_SIZEGRIP, 300, 150, 20, 20);
    TacMainWnd* a = TacMainWnd::Create<TacCheckBoxWnd>(radio, nullptr, manager, String());
    TacMainWnd* b = TacMainWnd::Create<TacSizerWnd>(grip, nullptr, manager, String());
    ::RedrawWindow(panel->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    auto behindNow = [&] { return test::Rgb(*test::CaptureScreenOf(panel->Handle()), 200, 100); };
    // Until the radio and the grip show the panel behind them.
    test::PumpUntil([&] {
        return test::Near(test::Rgb(*test::CaptureScreenOf(radio), 118, 2), behindNow(), 2) &&
               test::Near(test::Rgb(*test::CaptureScreenOf(grip), 0, 0), behindNow(), 2);
    });
    const std::uint32_t behind = behindNow();

    const auto off = test::CaptureScreenOf(radio);
    EXPECT_TRUE(test::Near(test::Rgb(*off, 118, 2), behind, 2)) << "radio background";
    ::SendMessageW(radio, BM_CLICK, 0, 0);
    test::PumpUntil([&] { return ChangedInBox(*test::CaptureScreenOf(radio), *off) > 4; });
    const auto on = test::CaptureScreenOf(radio);
    EXPECT_GT(ChangedInBox(*on, *off), 4) << "the radio mark";

    // The grip: the panel's colour in the top-left corner, the grip image towards the
    // bottom-right.
    const auto gripShot = test::CaptureScreenOf(grip);
    EXPECT_TRUE(test::Near(test::Rgb(*gripShot, 0, 0), behind, 2));
    int notBehind = 0;
    for (int y = 10; y < 20; ++y)
        for (int x = 10; x < 20; ++x)
            if (!test::Near(test::Rgb(*gripShot, x, y), behind, 6)) ++notBehind;
    EXPECT_GT(notBehind, 3) << "grip dots";
    a->Release();
    b->Release();
}

}  // namespace
}  // namespace qv
