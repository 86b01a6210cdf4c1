// The main window shows the program's icon: the title bar and the task-bar button show
// what it answers to WM_GETICON. This test program carries the program's icon resource.
// (It runs in-process: under Wine another process asking a window for its icon gets no
// answer at all.)
#include "app/win32/formmain.h"
#include "framework/win32/Application.h"
#include "win32/DrawnIcon.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace qv {
namespace {

// Width and height of an icon's colour image, {0, 0} when it has none.
SIZE IconSize(HICON icon) {
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info)) return {0, 0};
    BITMAP bm{};
    ::GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    return {bm.bmWidth, bm.bmHeight};
}

TEST(MainWindowIcon, AnswersWmGetIconWithTheProgramIconInTheLargeAndTheSmallSize) {
    TForm_quorvel* form = nullptr;
    Application().CreateForm(form);  // the main form, as the program makes it
    ASSERT_EQ(Application().MainForm(), form);
    const struct {
        WPARAM Kind;
        int Size;
    } wanted[] = {{ICON_BIG, ::GetSystemMetrics(SM_CXICON)}, {ICON_SMALL, ::GetSystemMetrics(SM_CXSMICON)}};
    for (const auto& w : wanted) {
        const auto icon = reinterpret_cast<HICON>(::SendMessageW(form->Handle(), WM_GETICON, w.Kind, 0));
        ASSERT_NE(icon, nullptr) << (w.Kind == ICON_BIG ? "ICON_BIG" : "ICON_SMALL");
        const SIZE size = IconSize(icon);
        EXPECT_EQ(size.cx, w.Size);
        EXPECT_EQ(size.cy, w.Size);
        EXPECT_TRUE(test::DrawnIcon(icon, w.Size).Shows(test::IsAmber)) << "not the program's icon";
    }
    // Without the main form on the task bar the application window's button stands for
    // the program: it carries the icon too.
    EXPECT_NE(::SendMessageW(Application().Handle(), WM_GETICON, ICON_BIG, 0), 0);
    delete form;
    EXPECT_EQ(Application().MainForm(), nullptr);
}

}  // namespace
}  // namespace qv
