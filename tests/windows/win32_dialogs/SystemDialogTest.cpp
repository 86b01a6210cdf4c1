// System dialogs under the skin: the engine's message box as the system receives it, and
// real ownerless message boxes and open-file dialogs taken by the dialog-frame wrapper
// the way the automatic skinning takes them (a thread hook that wraps an ownerless
// "#32770" when it is created), driven from thread timers while they run modally.
#include "controls/win32_skinned/SkinnedWindow.h"
#include "GdiObjects.h"

#include "windows/win32/acBtnWnd.h"
#include "skin/win32/sVclUtils.h"
#include "windows/win32/acDialogWnd.h"
#include "windows/acFrameGeometry.h"
#include "windows/win32/sDialogs.h"

#include <cderr.h>

#include <functional>
#include <vector>

namespace qv {
namespace {

// ---------------------------------------------------------------- the request

struct RecordedBox {
    MSGBOXPARAMSW Params{};
    String Caption, Text;
    bool CaptionIsNull = false;
    int LeftDuringCall = 0, TopDuringCall = 0;
};
RecordedBox gRecorded;

int WINAPI RecordBox(const MSGBOXPARAMSW* params) {
    gRecorded.Params = *params;
    gRecorded.Text = params->lpszText;
    gRecorded.CaptionIsNull = params->lpszCaption == nullptr;
    gRecorded.Caption = params->lpszCaption ? params->lpszCaption : L"";
    gRecorded.LeftDuringCall = DlgLeft;
    gRecorded.TopDuringCall = DlgTop;
    return IDRETRY;
}

class RecordedMessageBox : public ::testing::Test {
protected:
    void SetUp() override { saved = std::exchange(acMessageBoxIndirect, &RecordBox); }
    void TearDown() override {
        acMessageBoxIndirect = saved;
        acErrorBox = nullptr;
    }
    TacMessageBoxIndirect saved = nullptr;
};

TEST_F(RecordedMessageBox, TypesAndButtonsBecomeTheSystemStyleUnderTheEngineCaption) {
    struct Case {
        TMsgDlgType Type;
        TMsgDlgButtons Buttons;
        UINT Style;
        const wchar_t* Caption;
    };
    const Case cases[] = {
        {mtWarning, mbOK, MB_ICONWARNING | MB_OK, L"Warning"},
        {mtError, mbOKCancel, MB_ICONERROR | MB_OKCANCEL, L"Error"},
        {mtInformation, mbOK | mbYes, MB_ICONINFORMATION | MB_OK, L"Information"},  // OK wins
        {mtConfirmation, mbYesNo, MB_ICONQUESTION | MB_YESNO, L"Confirm"},
        {mtConfirmation, mbYesNoCancel, MB_ICONQUESTION | MB_YESNOCANCEL, L"Confirm"},
        {mtWarning, mbAbortIgnore, MB_ICONWARNING | MB_ABORTRETRYIGNORE, L"Warning"},
        {mtWarning, mbIgnore | mbYes, MB_ICONWARNING | MB_ABORTRETRYIGNORE, L"Warning"},  // before Yes
        {mtError, mbRetry | mbCancel, MB_ICONERROR | MB_RETRYCANCEL, L"Error"},
        {mtCustom, mbNo | mbHelp, MB_YESNO | MB_HELP, L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sMessageDlg(L"text", c.Type, c.Buttons, 7), IDRETRY) << "the box's own result comes back";
        EXPECT_EQ(gRecorded.Params.dwStyle, c.Style) << "type " << c.Type << ", buttons " << c.Buttons;
        EXPECT_FALSE(gRecorded.CaptionIsNull) << "a null caption shows the system's \"Error\"";
        EXPECT_EQ(gRecorded.Caption, c.Caption) << "type " << c.Type;
        EXPECT_EQ(gRecorded.Params.dwContextHelpId, 7u);
        EXPECT_NE(gRecorded.Params.hwndOwner, nullptr);
        EXPECT_EQ(gRecorded.Params.lpfnMsgBoxCallback, &MsgBoxCallback);
        EXPECT_EQ(gRecorded.Text, L"text");
    }
    // A caption given replaces the type's, an empty one included.
    sMessageDlgPosHelp(String(L"Mine"), L"t", mtWarning, mbOK, 0, -1, -1, String());
    EXPECT_EQ(gRecorded.Caption, L"Mine");
    sMessageDlgPosHelp(String(), L"t", mtWarning, mbOK, 0, -1, -1, String());
    EXPECT_EQ(gRecorded.Caption, L"");
    EXPECT_FALSE(gRecorded.CaptionIsNull);
}

TEST_F(RecordedMessageBox, PositionHoldsOnlyDuringTheCallAndTheEngineErrorIsThisBox) {
    sMessageDlgPosHelp(std::nullopt, L"t", mtInformation, mbOK, 0, 120, 140, String());
    EXPECT_EQ(gRecorded.LeftDuringCall, 120);
    EXPECT_EQ(gRecorded.TopDuringCall, 140);
    EXPECT_EQ(DlgLeft, -1);
    EXPECT_EQ(DlgTop, -1);
    EXPECT_EQ(Application().ModalLevel(), 0) << "the modal window was announced as ended";

    InstallDialogSeams();
    ShowError(L"Skin does not exists.");
    EXPECT_EQ(gRecorded.Params.dwStyle, static_cast<UINT>(MB_ICONERROR | MB_OK));
    EXPECT_EQ(gRecorded.Caption, L"Error");
    EXPECT_EQ(gRecorded.Text, L"Skin does not exists.");
}

// ---------------------------------------------------------------- real dialogs

// With QUORVEL_HOLD_DIALOG_MS set, a dialog under test stays up that long before it is
// answered, so that a picture of it can be taken (docs/, see the README).
void HoldForPictures() {
    if (const char* ms = std::getenv("QUORVEL_HOLD_DIALOG_MS")) test::PumpFor(std::atoi(ms));
}

// Brings the real pointer to p in two moves, one pixel right of p first, and answers
// true once it has rested at p. Under Wine a click given without a position of its own is
// sometimes taken where the pointer was one move earlier; both positions lie on the
// target, so the click lands there either way.
bool PointerBroughtTo(POINT p, int& phase, DWORD& since) {
    const POINT stops[2] = {{p.x + 1, p.y}, p};
    POINT at{};
    ::GetCursorPos(&at);
    const POINT want = stops[phase];
    if (since == 0) test::MovePointer(want.x, want.y);
    if (std::abs(at.x - want.x) > 1 || std::abs(at.y - want.y) > 1) {
        since = 1;
        return false;
    }
    if (since <= 1) since = ::GetTickCount();
    if (::GetTickCount() - since < 150) return false;
    since = 0;
    return ++phase == 2;
}

// Window callbacks are plain CALLBACK functions: a lambda would have the wrong calling
// convention in the 32-bit build.
struct ClassSearch {
    const wchar_t* Name;
    HWND Found = nullptr;
};
BOOL CALLBACK FindByClass(HWND child, LPARAM data) {
    auto* search = reinterpret_cast<ClassSearch*>(data);
    wchar_t name[64] = {};
    ::GetClassNameW(child, name, 64);
    if (String(name) != search->Name) return TRUE;
    search->Found = child;
    return FALSE;
}
BOOL CALLBACK CollectWindow(HWND wnd, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(wnd);
    return TRUE;
}
BOOL CALLBACK FindVisibleDialog(HWND wnd, LPARAM out) {
    wchar_t name[16] = {};
    ::GetClassNameW(wnd, name, 16);
    if (String(name) != L"#32770" || !::IsWindowVisible(wnd)) return TRUE;
    *reinterpret_cast<HWND*>(out) = wnd;
    return FALSE;
}
void CALLBACK CloseShownMenu(HWND, UINT, UINT_PTR, DWORD) {
    if (HWND menu = ::FindWindowW(L"#32768", nullptr); menu && ::IsWindowVisible(menu)) ::EndMenu();
}
int WINAPI OwnerlessBox(const MSGBOXPARAMSW* params) {
    MSGBOXPARAMSW p = *params;
    p.hwndOwner = nullptr;
    return ::MessageBoxIndirectW(&p);
}

// The first descendant of parent with the window class, or nullptr.
HWND FindDescendantOf(HWND parent, const wchar_t* className) {
    ClassSearch search{className};
    ::EnumChildWindows(parent, &FindByClass, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

// Stands in for the automatic skinning: wraps the children of a dialog that have no
// wrapper yet, each time the dialog wrapper asks (push buttons with the button wrapper,
// every other child with the base wrapper).
class ChildWrapper : public IacDialogProvider {
public:
    explicit ChildWrapper(HWND dialog) : Dialog(dialog) {}
    bool InitHwndControls() override {
        ++Calls;
        std::vector<HWND> children;
        ::EnumChildWindows(Dialog, &CollectWindow, reinterpret_cast<LPARAM>(&children));
        for (HWND child : children) {
            if (!::IsWindow(child) || WrapperOf(child)) continue;
            wchar_t name[16] = {};
            ::GetClassNameW(child, name, 16);
            const LONG_PTR type = ::GetWindowLongPtrW(child, GWL_STYLE) & BS_TYPEMASK;
            if (String(name) == L"Button" && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON))
                Wrappers.push_back(TacMainWnd::Create<TacButtonWnd>(child, nullptr, nullptr, String(), false));
            else
                Wrappers.push_back(
                    TacMainWnd::Create<TacMainWnd>(child, nullptr, nullptr, String(L"TRANSPARENT"), false));
        }
        return true;
    }
    HWND Dialog;
    int Calls = 0;
    std::vector<TacMainWnd*> Wrappers;
};

struct TakenDialog {
    TacDialogWnd* Wrapper = nullptr;
    std::unique_ptr<ChildWrapper> Children;
};

class SystemDialogs : public test::SkinnedWindow {
protected:
    void SetUp() override {
        test::SkinnedWindow::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_GE(manager->GetSkinIndex(L"DIALOG"), 0);
        self = this;
        hook = ::SetWindowsHookExW(WH_CBT, &TakeOwnerlessDialogs, nullptr, ::GetCurrentThreadId());
        ASSERT_NE(hook, nullptr);
    }
    void TearDown() override {
        if (hook) ::UnhookWindowsHookEx(hook);
        self = nullptr;
        ReleaseTaken();
        UseLatestCommonDialogs = true;
        test::SkinnedWindow::TearDown();
    }
    void ReleaseTaken() {
        for (TakenDialog& d : taken) {
            for (TacMainWnd* w : d.Children->Wrappers) w->Release();
            d.Wrapper->Release();
        }
        taken.clear();
    }

    // The rule of the automatic skinning: a top-level dialog that has no owner.
    static LRESULT CALLBACK TakeOwnerlessDialogs(int code, WPARAM wParam, LPARAM lParam) {
        const LRESULT next = ::CallNextHookEx(nullptr, code, wParam, lParam);
        if (code == HCBT_CREATEWND && self) {
            const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam)->lpcs;
            const HWND wnd = reinterpret_cast<HWND>(wParam);
            wchar_t name[16] = {};
            ::GetClassNameW(wnd, name, 16);
            if (String(name) == L"#32768") ++self->menusShown;
            if (String(name) == L"#32770" && !(create->style & WS_CHILD) && !create->hwndParent) {
                TakenDialog d;
                d.Wrapper = TacMainWnd::Create<TacDialogWnd>(wnd, nullptr, self->manager, String(L"DIALOG"), false);
                d.Children = std::make_unique<ChildWrapper>(wnd);
                d.Wrapper->Provider = d.Children.get();
                self->taken.push_back(std::move(d));
            }
        }
        return next;
    }

    // Runs step on a thread timer every 20 ms while a modal dialog of this thread runs;
    // step returns true once done.
    // A dialog still open after 20 s is ended and the test fails instead of hanging.
    template <class Run>
    void WhileRunning(std::function<bool()> step, Run&& run) {
        current = std::move(step);
        deadline = ::GetTickCount() + 20000;
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, &Tick);
        run();
        ::KillTimer(nullptr, timer);
        current = nullptr;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        static bool inStep = false;  // a step that pumps messages meets the next tick
        if (inStep || !self || !self->current) return;
        if (static_cast<int>(::GetTickCount() - self->deadline) > 0) {
            ADD_FAILURE() << "the dialog did not get through its steps in time";
            ::EndMenu();
            if (HWND dlg = OpenDialog()) ::EndDialog(dlg, IDCANCEL);
            self->deadline = ::GetTickCount() + 20000;
            return;
        }
        inStep = true;
        if (self->current()) self->current = [] { return true; };
        inStep = false;
    }

    // The visible top-level "#32770" of this thread, or nullptr.
    static HWND OpenDialog() {
        HWND found = nullptr;
        ::EnumThreadWindows(::GetCurrentThreadId(), &FindVisibleDialog, reinterpret_cast<LPARAM>(&found));
        return found;
    }
    static TacDialogWnd* DialogWrapper(HWND wnd) { return dynamic_cast<TacDialogWnd*>(WrapperOf(wnd)); }
    // The centre of a title button on the screen.
    static POINT ButtonCentre(HWND wnd, int kind) {
        RECT wr{};
        ::GetWindowRect(wnd, &wr);
        const TRect r = DialogWrapper(wnd)->TitleButtonRect(kind);
        return {wr.left + (r.Left + r.Right) / 2, wr.top + (r.Top + r.Bottom) / 2};
    }

    static inline SystemDialogs* self = nullptr;
    HHOOK hook = nullptr;
    std::vector<TakenDialog> taken;
    std::function<bool()> current;
    int menusShown = 0;
    DWORD deadline = 0;
};

// A Yes/No box offers no answer for Close (Windows greys it in the box's system menu,
// Wine does not); neither its skinned close nor Alt+F4 may end it with IDCANCEL, which
// the caller never asked for. An OK/Cancel box closed the same way answers Cancel, which
// shows that the click reaches the button.
TEST_F(SystemDialogs, SkinnedCloseFollowsTheCloseStateOfTheBoxSystemMenu) {
    struct Case {
        UINT Style;
        bool CloseWorks;
        int Result;
    };
    for (const Case c : {Case{MB_YESNO, false, IDYES}, Case{MB_OKCANCEL, true, IDCANCEL}}) {
        int step = 0;
        DWORD clickedAt = 0;
        HWND box = nullptr;
        POINT target{};
        DWORD rested = 0;
        int phase = 0;
        int result = 0;
        TBitmap* image = nullptr;
        TPoint mark;
        WhileRunning(
            [&]() -> bool {
                switch (step) {
                case 0: {
                    box = OpenDialog();
                    TacDialogWnd* w = box ? DialogWrapper(box) : nullptr;
                    if (!w || !w->Initialized) return false;
                    EXPECT_EQ(::GetWindowLongPtrW(box, GWL_STYLE) & WS_SYSMENU, 0) << "the wrapper draws the buttons";
                    EXPECT_TRUE(w->HasCloseButton());
                    EXPECT_EQ(w->CloseEnabled(), c.CloseWorks);
                    EXPECT_EQ(w->BorderStyle, acbsDialog);
                    EXPECT_EQ(w->TitleSection, L"DIALOGTITLE");
                    EXPECT_FALSE(w->TitleButtonRect(tbClose).IsEmpty());
                    target = ButtonCentre(box, tbClose);
                    // A frame paint, and below the pointer over a button, copy the window
                    // image as it is: a mark left in its client part stays.
                    ::SendMessageW(box, WM_NCPAINT, 1, 0);
                    image = &w->FrameImage();
                    mark = {image->Width() / 2, image->Height() / 2};
                    image->SetPixel32(mark.X, mark.Y, 0x00123456);
                    ::SendMessageW(box, WM_NCPAINT, 1, 0);
                    EXPECT_EQ(image->Pixel32(mark.X, mark.Y) & 0xFFFFFF, 0x123456u) << "frame paint built the image";
                    // A greyed close answers as the caption does.
                    EXPECT_EQ(::SendMessageW(box, WM_NCHITTEST, 0, MAKELPARAM(target.x, target.y)),
                              c.CloseWorks ? HTCLOSE : HTCAPTION);
                    step = 1;
                    return false;
                }
                case 1:
                    if (!PointerBroughtTo(target, phase, rested)) return false;
                    EXPECT_EQ(image->Pixel32(mark.X, mark.Y) & 0xFFFFFF, 0x123456u) << "a hot button built the image";
                    test::MouseButton(true);
                    test::MouseButton(false);
                    clickedAt = ::GetTickCount();
                    step = 2;
                    return false;
                case 2:
                    if (::GetTickCount() - clickedAt < 400) return false;
                    if (::IsWindow(box)) ::SendMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);  // Alt+F4
                    if (::IsWindow(box)) ::PostMessageW(box, WM_COMMAND, IDYES, 0);
                    step = 3;
                    return true;
                default: return true;
                }
            },
            [&] { result = ::MessageBoxW(nullptr, L"Keep the list?", L"Question", c.Style); });
        EXPECT_EQ(step, c.CloseWorks ? 2 : 3) << "closed by the click only when Close works";
        EXPECT_EQ(result, c.Result) << "style " << c.Style;
    }
}

// The wrapper's own system menu comes exactly once for Alt+Space, the task bar's request
// and a right click on the caption: the system's stock menu never follows it, and none of
// them ends the box.
TEST_F(SystemDialogs, SystemMenuComesOnceForAltSpaceTaskBarAndRightClick) {
    // Closes any menu that shows; a menu runs its own modal loop inside the box's.
    const UINT_PTR closer = ::SetTimer(nullptr, 0, 50, &CloseShownMenu);
    auto menuClosed = [] {
        HWND menu = ::FindWindowW(L"#32768", nullptr);
        return !menu || !::IsWindowVisible(menu);
    };
    int step = 0;
    DWORD since = 0, rested = 0;
    int phase = 0;
    HWND box = nullptr;
    POINT caption{};
    int result = 0;
    WhileRunning(
        [&]() -> bool {
            if (step == 0) {
                box = OpenDialog();
                TacDialogWnd* w = box ? DialogWrapper(box) : nullptr;
                if (!w || !w->Initialized) return false;
                RECT wr{};
                ::GetWindowRect(box, &wr);
                caption = {wr.left + 20, wr.top + ::GetSystemMetrics(SM_CYCAPTION) / 2 + 2};
                EXPECT_EQ(::SendMessageW(box, WM_NCHITTEST, 0, MAKELPARAM(caption.x, caption.y)), HTCAPTION);
                menusShown = 0;
                ::PostMessageW(box, WM_SYSCOMMAND, SC_KEYMENU, L' ');
                step = 1;
                return false;
            }
            if (menusShown < step || !menuClosed()) return false;
            if (step == 1) ::PostMessageW(box, WM_POPUPSYSTEMMENU, 0, MAKELPARAM(caption.x, caption.y));
            if (step == 2) {
                if (!PointerBroughtTo(caption, phase, rested)) return false;
                test::RightClick();
            }
            if (step == 3) {
                if (since == 0) since = ::GetTickCount();
                if (::GetTickCount() - since < 400) return false;  // room for a second menu
                ::PostMessageW(box, WM_COMMAND, IDOK, 0);
                return true;
            }
            ++step;
            return false;
        },
        [&] { result = ::MessageBoxW(nullptr, L"Menus", L"Box", MB_OK); });
    ::KillTimer(nullptr, closer);
    EXPECT_EQ(step, 3);
    EXPECT_EQ(menusShown, 3) << "one menu for each request";
    EXPECT_EQ(result, IDOK);
}

// A wrapper that lets go of an open box (the skin is removed) gives it back as the system
// made it: its system menu, no region, no wrapper property; the box still answers.
TEST_F(SystemDialogs, ReleasedWrapperGivesTheOpenBoxBackAsTheSystemMadeIt) {
    bool released = false;
    int result = 0;
    WhileRunning(
        [&]() -> bool {
            HWND box = OpenDialog();
            TacDialogWnd* w = box ? DialogWrapper(box) : nullptr;
            if (!w || !w->Initialized) return false;
            ::RedrawWindow(box, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
            ReleaseTaken();
            released = true;
            EXPECT_NE(::GetWindowLongPtrW(box, GWL_STYLE) & WS_SYSMENU, 0);
            HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
            EXPECT_EQ(::GetWindowRgn(box, rgn), ERROR) << "no region left";
            ::DeleteObject(rgn);
            EXPECT_EQ(::GetPropW(box, acWrapperProp), nullptr);
            ::PostMessageW(box, WM_COMMAND, IDNO, 0);
            return true;
        },
        [&] { result = ::MessageBoxW(nullptr, L"Given back", L"Box", MB_YESNO); });
    EXPECT_TRUE(released);
    EXPECT_EQ(result, IDNO);
}

// A box asked for at a position is moved there once the wrapper has it (the system
// centres it first), with its region and its client in the frame section's colour; a
// picture taken with PrintWindow shows the skinned title too.
TEST_F(SystemDialogs, BoxAskedForAtAPositionIsMovedThere) {
    const TacMessageBoxIndirect saved = std::exchange(acMessageBoxIndirect, &OwnerlessBox);
    RECT placed{};
    TacDialogWnd* wrapper = nullptr;
    std::uint32_t clientPixel = 0;
    std::pair<std::uint32_t, std::uint32_t> titlePixels;
    int regionKind = ERROR;
    WhileRunning(
        [&]() -> bool {
            HWND box = OpenDialog();
            if (!box || !(wrapper = DialogWrapper(box)) || !wrapper->Initialized) return false;
            ::GetWindowRect(box, &placed);
            // What reached the screen: the client's bottom-left corner, clear of the
            // text and the button, shows the frame section's colour.
            ::RedrawWindow(box, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            POINT corner{3, 0};
            RECT client{};
            ::GetClientRect(box, &client);
            corner.y = client.bottom - 3;
            ::ClientToScreen(box, &corner);
            const std::uint32_t dialogColour = test::Rgb(
                manager->gd[static_cast<std::size_t>(manager->GetSkinIndex(L"DIALOG"))].Props[0].Color);
            test::PumpUntil([&] {
                const auto now = test::CaptureScreenOf(box);
                return static_cast<bool>(
                    test::Near(test::Rgb(*now, corner.x - placed.left, corner.y - placed.top), dialogColour, 2));
            });
            const auto screen = test::CaptureScreenOf(box);
            clientPixel = test::Rgb(*screen, corner.x - placed.left, corner.y - placed.top);
            // A picture taken with PrintWindow shows the same title as the screen.
            TBitmap printed;
            printed.SetPixelFormat(pf32bit);
            printed.SetSize(screen->Width(), screen->Height());
            ::PrintWindow(box, printed.Canvas().Handle(), 0);
            ::GdiFlush();
            const int titleY = ::GetSystemMetrics(SM_CYCAPTION) / 2 + 2;
            titlePixels = {test::Rgb(*screen, screen->Width() / 2, titleY),
                           test::Rgb(printed, screen->Width() / 2, titleY)};
            HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
            regionKind = ::GetWindowRgn(box, rgn);
            ::DeleteObject(rgn);
            HoldForPictures();
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            return true;
        },
        [&] {
            sMessageDlgPosHelp(std::nullopt, L"This box was asked for at (37, 59).", mtInformation, mbOK, 0, 37, 59,
                               String());
        });
    acMessageBoxIndirect = saved;
    ASSERT_NE(wrapper, nullptr);
    EXPECT_EQ(placed.left, 37);
    EXPECT_EQ(placed.top, 59);
    EXPECT_EQ(DlgLeft, -1) << "a later dialog is not moved";
    EXPECT_TRUE(
        test::Near(clientPixel,
                   test::Rgb(manager->gd[static_cast<std::size_t>(manager->GetSkinIndex(L"DIALOG"))].Props[0].Color),
                   2));
    EXPECT_NE(regionKind, ERROR) << "the frame's region is set";
    EXPECT_TRUE(test::Near(titlePixels.second, titlePixels.first, 2)) << "PrintWindow shows the skinned title";
}

TEST_F(SystemDialogs, TwoHundredSkinnedBoxesLeaveNoGdiObjectOrWindowBehind) {
    auto openAndClose = [&] {
        WhileRunning(
            [&]() -> bool {
                HWND box = OpenDialog();
                TacDialogWnd* w = box ? DialogWrapper(box) : nullptr;
                if (!w || !w->Initialized) return false;
                ::RedrawWindow(box, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
                ::PostMessageW(box, WM_COMMAND, IDOK, 0);
                return true;
            },
            [] { ::MessageBoxW(nullptr, L"Counted", L"Box", MB_OK | MB_ICONINFORMATION); });
        ReleaseTaken();
    };
    auto threadWindows = [] {
        std::vector<HWND> windows;
        ::EnumThreadWindows(::GetCurrentThreadId(), &CollectWindow, reinterpret_cast<LPARAM>(&windows));
        return windows.size();
    };
    for (int i = 0; i < 3; ++i) openAndClose();  // the system's first-use caches
    const long gdi = test::LiveGdiObjects();
    const int windows = threadWindows();
    for (int i = 0; i < 200; ++i) openAndClose();
    EXPECT_LE(test::LiveGdiObjects(), gdi + 2);
    EXPECT_EQ(threadWindows(), windows);
}

// The open-file dialog: taken without an owner (frame, children wrapped, sizeable once
// the dialog makes itself sizeable), cancelled cleanly; with an owner left to the system.
TEST_F(SystemDialogs, OwnerlessOpenFileDialogIsSkinnedAndAnOwnedOneKeepsTheSystemLook) {
    UseLatestCommonDialogs = false;  // the classic dialog, as while the skin is active
    TsOpenDialog dialog(form.get());
    dialog.Options = ofHideReadOnly | ofAllowMultiSelect | ofEnableSizing;
    dialog.Title = L"Select a filename to add to this list";

    bool checked = false;
    WhileRunning(
        [&]() -> bool {
            HWND dlg = OpenDialog();
            TacDialogWnd* w = dlg ? DialogWrapper(dlg) : nullptr;
            HWND list = dlg ? FindDescendantOf(dlg, L"SysListView32") : nullptr;
            if (!w || !list || !(::GetWindowLongPtrW(dlg, GWL_STYLE) & WS_THICKFRAME)) return false;
            Application().ProcessMessages();
            ::RedrawWindow(dlg, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
            EXPECT_NE(WrapperOf(list), nullptr) << "the file list is wrapped";
            EXPECT_NE(WrapperOf(::GetDlgItem(dlg, 0x47C)), nullptr) << "the name combo box is wrapped";
            EXPECT_NE(WrapperOf(::GetDlgItem(dlg, IDOK)), nullptr) << "the Open button is wrapped";
            EXPECT_EQ(::GetWindowLongPtrW(dlg, GWL_STYLE) & WS_SYSMENU, 0);
            EXPECT_EQ(w->BorderStyle, acbsSizeable) << "read again when the dialog became sizeable";
            EXPECT_EQ(w->TitleSection, L"FORMTITLE");
            EXPECT_TRUE(w->CloseEnabled());
            checked = true;
            HoldForPictures();
            ::PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
            return true;
        },
        [&] { EXPECT_FALSE(dialog.Execute(nullptr)); });
    EXPECT_TRUE(checked);
    EXPECT_EQ(::CommDlgExtendedError(), 0u) << "cancelled, not failed";

    checked = false;
    form->Show();
    WhileRunning(
        [&]() -> bool {
            HWND dlg = OpenDialog();
            if (!dlg || !FindDescendantOf(dlg, L"SysListView32")) return false;
            EXPECT_EQ(::GetWindow(dlg, GW_OWNER), form->Handle());
            EXPECT_EQ(::GetPropW(dlg, acWrapperProp), nullptr) << "an owned dialog keeps the system look";
            EXPECT_NE(::GetWindowLongPtrW(dlg, GWL_STYLE) & WS_SYSMENU, 0);
            checked = true;
            ::PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
            return true;
        },
        [&] { EXPECT_FALSE(dialog.Execute(form->Handle())); });
    EXPECT_TRUE(checked);
}

}  // namespace
}  // namespace qv
