// The main window at the display's DPI and through DPI changes sent to it: client size,
// every button's place, the fonts, the window rectangle and the GDI objects it holds.
// Run in a session of another DPI (QUORVEL_WINE_DPI=144 or 192) the first test checks
// the layout a user at that setting gets; the second goes through 144 and 192 anywhere.
#include "GdiObjects.h"
#include "app/win32/formmain.h"
#include "framework/DpiScale.h"
#include "framework/SysUtils.h"
#include "framework/win32/Dpi.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace qv {
namespace {

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

TRect WindowRectOf(HWND wnd) {
    RECT r{};
    ::GetWindowRect(wnd, &r);
    return {r.left, r.top, r.right, r.bottom};
}

// A control's rectangle in its form's client area.
TRect RectInForm(TWinControl* control, HWND form) {
    RECT r{};
    ::GetWindowRect(control->Handle(), &r);
    ::MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

int FontHeightOf(HFONT font) {
    LOGFONTW lf{};
    ::GetObjectW(font, sizeof lf, &lf);
    return lf.lfHeight;
}

void ExpectNear(const TRect& got, const TRect& want, int tolerance, const char* what) {
    EXPECT_NEAR(got.Left, want.Left, tolerance) << what;
    EXPECT_NEAR(got.Top, want.Top, tolerance) << what;
    EXPECT_NEAR(got.Right, want.Right, tolerance) << what;
    EXPECT_NEAR(got.Bottom, want.Bottom, tolerance) << what;
}

class MainWindowDpi : public ::testing::Test {
protected:
    void SetUp() override {
        // A list folder that does not exist: the window opens with an empty list and
        // nothing is ever written.
        const String folder = L"C:\\qv-dpi-none-" + IntToStr(::GetCurrentProcessId());
        ::SetEnvironmentVariableW(L"QUORVEL_LIST_FOLDER", folder.c_str());
        Form = NewForm<TForm_quorvel>(nullptr);
        Form->Show();
        Pump();
    }
    void TearDown() override {
        delete Form;
        Pump();
        ::SetEnvironmentVariableW(L"QUORVEL_LIST_FOLDER", nullptr);
    }
    // The designed rectangles at 96 DPI ({left, top, right, bottom} in the client area).
    struct Designed {
        TWinControl* Control;
        TRect At96;
        const char* Name;
        bool AtBottom;          // placed from the client area's bottom edge
        bool OwnWidth = false;  // keeps its own width instead of reaching the right edge
    };
    std::vector<Designed> Buttons() {
        return {{Form->sBitBtn_Addfilenametolist, {3, 3, 326, 74}, "add file", false},
                {Form->sBitBtn_AddFoldernameToList, {3, 80, 326, 151}, "add folder", false},
                {Form->sBitBtn_FilenameToClipboard, {3, 366, 326, 443}, "copy", true},
                {Form->sBitBtn_Clearbox, {2, 448, 122, 491}, "clear", true, true},
                {Form->sBitBtn_DeleteItem, {126, 448, 328, 491}, "delete", true}};
    }
    // Buttons and fonts as designed, scaled for dpi; right edges keep their scaled
    // distance to the client area's right edge, and the bottom row to its bottom (a
    // window that took a suggested rectangle has a frame that did not scale with it).
    void ExpectLayoutFor(int dpi) {
        SCOPED_TRACE(dpi);
        HWND wnd = Form->Handle();
        RECT client{};
        ::GetClientRect(wnd, &client);
        const auto s = [dpi](int v) { return ScaleForDpi(v, dpi); };
        for (const Designed& b : Buttons()) {
            const int right = b.OwnWidth ? s(b.At96.Left) + s(b.At96.Right - b.At96.Left)
                                         : client.right - s(329 - b.At96.Right);
            const int top = b.AtBottom ? client.bottom - s(494 - b.At96.Top) : s(b.At96.Top);
            const TRect want{s(b.At96.Left), top, right, top + s(b.At96.Bottom - b.At96.Top)};
            // Each margin rounds by itself, so two of them above a control add up to 2 px.
            ExpectNear(RectInForm(b.Control, wnd), want, 2, b.Name);
        }
        EXPECT_EQ(FontHeightOf(Form->Font().Handle()), s(-11));
        EXPECT_EQ(FontHeightOf(Form->sListBox1->Font().Handle()), s(-11));
        EXPECT_EQ(FontHeightOf(Form->sBitBtn_DeleteItem->Font().Handle()), s(-11));
        EXPECT_EQ(Form->Constraints().MinWidth(), s(279));
        EXPECT_EQ(Form->Constraints().MinHeight(), s(425));
    }
    TForm_quorvel* Form = nullptr;
};

TEST_F(MainWindowDpi, OpensLaidOutForTheDisplaysDpi) {
    const int dpi = SystemDpi();
    std::printf("display DPI %d\n", dpi);
    EXPECT_EQ(Form->Dpi(), dpi);
    RECT client{};
    ::GetClientRect(Form->Handle(), &client);
    EXPECT_NEAR(client.right, ScaleForDpi(329, dpi), 1);
    EXPECT_NEAR(client.bottom, ScaleForDpi(494, dpi), 1);
    ExpectLayoutFor(dpi);
}

TEST_F(MainWindowDpi, DpiChangesTakeTheSuggestedRectangleRelayOutAndComeBackWithoutDriftOrGdiGrowth) {
    HWND wnd = Form->Handle();
    const int start = Form->Dpi();
    const TRect startRect = WindowRectOf(wnd);
    // What the system suggests: the window's size at the new DPI, its corner kept.
    auto change = [&](int dpi) {
        RECT suggested{startRect.Left, startRect.Top,
                       startRect.Left + ScaleBetweenDpi(startRect.Right - startRect.Left, dpi, start),
                       startRect.Top + ScaleBetweenDpi(startRect.Bottom - startRect.Top, dpi, start)};
        ::SendMessageW(wnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        Pump();
        const TRect got = WindowRectOf(wnd);
        EXPECT_EQ(got, (TRect{suggested.left, suggested.top, suggested.right, suggested.bottom})) << dpi;
        EXPECT_EQ(Form->Dpi(), dpi);
    };
    for (int dpi : {144, 192}) {
        change(dpi);
        ExpectLayoutFor(dpi);
    }
    change(start);
    ExpectLayoutFor(start);
    ExpectNear(WindowRectOf(wnd), startRect, 1, "window after 144, 192 and back");

    const long before = test::LiveGdiObjects();
    for (int cycle = 0; cycle < 20; ++cycle)
        for (int dpi : {144, 192, start}) change(dpi);
    const long after = test::LiveGdiObjects();
    std::printf("live GDI objects: %ld before 20 cycles of DPI changes, %ld after\n", before, after);
    EXPECT_LE(after, before);
    ExpectLayoutFor(start);
}

TEST_F(MainWindowDpi, ADpiOfNothingOrBeyond480IsTakenAs96) {
    const TRect r = WindowRectOf(Form->Handle());
    RECT suggested{r.Left, r.Top, r.Right, r.Bottom};
    ::SendMessageW(Form->Handle(), WM_DPICHANGED, MAKEWPARAM(0, 0), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(Form->Dpi(), 96);
    ::SendMessageW(Form->Handle(), WM_DPICHANGED, MAKEWPARAM(960, 960), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(Form->Dpi(), 96);
    Pump();
    EXPECT_EQ(FontHeightOf(Form->Font().Handle()), -11);
}

}  // namespace
}  // namespace qv
