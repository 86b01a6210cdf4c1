// Speed buttons in a group, the scroll box's bars and scrolling, and the edit box.
#include "framework/win32/Buttons.h"
#include "framework/win32/Edit.h"
#include "framework/win32/ExtCtrls.h"
#include "framework/win32/Forms.h"
#include "framework/win32/ScrollBox.h"

#include "win32/TestWindows.h"
#include "WindowCapture.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

class SpeedButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form.reset(NewForm<TForm>(nullptr));
        Form->SetBounds(100, 100, 300, 200);
        for (int i = 0; i < 2; ++i) {
            Buttons[i] = new TSpeedButton(Form.get());
            Buttons[i]->SetParent(Form.get());
            Buttons[i]->SetBounds(10 + 40 * i, 10, 30, 30);
            Buttons[i]->SetGroupIndex(1);
            Buttons[i]->OnClick = [this, i](TComponent*) { ++Clicks[i]; };
        }
        Form->HandleNeeded();
    }
    // A left click at the middle of button i, through the form's window.
    void ClickOn(int i) {
        const LPARAM at = MAKELPARAM(Buttons[i]->Left() + 15, Buttons[i]->Top() + 15);
        ::SendMessageW(Form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageW(Form->Handle(), WM_LBUTTONUP, 0, at);
    }
    std::uint32_t TopLeftPixel(int i) {
        TBitmap bitmap(Form->ClientWidth(), Form->ClientHeight(), pf32bit);
        Form->PaintTo(bitmap.Canvas().Handle(), 0, 0);
        ::GdiFlush();
        return RGBAt(bitmap, Buttons[i]->Left(), Buttons[i]->Top());
    }
    std::unique_ptr<TForm> Form;
    TSpeedButton* Buttons[2] = {};
    int Clicks[2] = {};
};

}  // namespace

TEST_F(SpeedButtonTest, AGroupKeepsOneButtonDown) {
    ClickOn(0);
    EXPECT_TRUE(Buttons[0]->Down());
    EXPECT_EQ(Clicks[0], 1);
    ClickOn(1);
    EXPECT_TRUE(Buttons[1]->Down());
    EXPECT_FALSE(Buttons[0]->Down()) << "pressing one button of the group did not release the other";
    // Without AllowAllUp the down button stays down when clicked again.
    ClickOn(1);
    EXPECT_TRUE(Buttons[1]->Down());
    EXPECT_EQ(Clicks[1], 2);
    // With it (shared by the group) it comes up.
    Buttons[0]->SetAllowAllUp(true);
    ClickOn(1);
    EXPECT_FALSE(Buttons[1]->Down());

    // A button outside any group never stays down; a release outside is no click.
    Buttons[0]->SetGroupIndex(0);
    ClickOn(0);
    EXPECT_FALSE(Buttons[0]->Down());
    const LPARAM inside = MAKELPARAM(Buttons[0]->Left() + 15, Buttons[0]->Top() + 15);
    ::SendMessageW(Form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, inside);
    ::SendMessageW(Form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(250, 150));
    EXPECT_EQ(Clicks[0], 2);
}

TEST_F(SpeedButtonTest, DownButtonsLookSunkenAndFlatOnesShowNoEdge) {
    EXPECT_EQ(TopLeftPixel(0), PixelOfColor(clBtnHighlight)) << "raised edge";
    Buttons[0]->SetDown(true);
    EXPECT_EQ(TopLeftPixel(0), PixelOfColor(clBtnShadow)) << "sunken edge";
    Buttons[1]->SetFlat(true);
    Form->SetColor(clLime);
    EXPECT_EQ(TopLeftPixel(1), PixelOfColor(clLime)) << "a flat button away from the mouse shows its parent";
}

TEST(ScrollBox, BarsFollowTheContentAndScrollTheChildren) {
    std::unique_ptr<TForm> form(NewForm<TForm>(nullptr));
    auto* box = new TScrollBox(form.get());
    box->SetParent(form.get());
    box->SetBorderStyle(bsNone);
    box->SetBounds(0, 0, 100, 100);
    auto* tall = new TPanel(form.get());
    tall->SetParent(box);
    tall->SetBounds(0, 0, 50, 300);
    const HWND wnd = box->Handle();
    EXPECT_EQ(ClassNameOf(wnd), L"TScrollBox");
    box->UpdateScrollBars();

    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    ASSERT_TRUE(::GetScrollInfo(wnd, SB_VERT, &info));
    EXPECT_EQ(info.nMax, 299);
    EXPECT_EQ(static_cast<int>(info.nPage), box->ClientHeight());
    EXPECT_NE(::GetWindowLongPtrW(wnd, GWL_STYLE) & WS_VSCROLL, 0) << "no vertical bar for content 300 high";
    EXPECT_EQ(::GetWindowLongPtrW(wnd, GWL_STYLE) & WS_HSCROLL, 0) << "a horizontal bar for content that fits";

    // The bar moves the child, window and all.
    ::SendMessageW(wnd, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(box->ScrollPos().Y, box->LineSize);
    EXPECT_EQ(tall->Top(), -box->LineSize);
    ::SendMessageW(wnd, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(box->ScrollPos().Y, 300 - box->ClientHeight()) << "scrolled past the end";
    RECT r{};
    ::GetWindowRect(tall->Handle(), &r);
    ::MapWindowPoints(nullptr, wnd, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.top, -(300 - box->ClientHeight()));
    EXPECT_EQ(r.bottom, box->ClientHeight());

    // Content that shrinks to fit scrolls back and loses its bar.
    tall->SetHeight(50);
    box->UpdateScrollBars();
    EXPECT_EQ(box->ScrollPos().Y, 0);
    EXPECT_EQ(tall->Top(), 0);
    EXPECT_EQ(::GetWindowLongPtrW(wnd, GWL_STYLE) & WS_VSCROLL, 0);
}

TEST(Edit, TextIsTheWindowsAndChangesAreReported) {
    std::unique_ptr<TForm> form(NewForm<TForm>(nullptr));
    auto* edit = new TEdit(form.get());
    edit->SetParent(form.get());
    int changes = 0;
    edit->OnChange = [&](TComponent*) { ++changes; };
    edit->SetText(L"C:\\Users");
    const HWND wnd = edit->Handle();
    EXPECT_EQ(ClassNameOf(wnd), L"TEdit");
    EXPECT_EQ(TextOf(wnd), L"C:\\Users");
    EXPECT_EQ(changes, 1);

    // Typing goes through the system's edit and reports each change.
    edit->SetSelStart(2);
    edit->SetSelLength(1);
    EXPECT_EQ(edit->SelText(), L"\\");
    ::SendMessageW(wnd, WM_CHAR, L'/', 1);
    EXPECT_EQ(edit->Text(), L"C:/Users");
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(edit->Modified());

    // The length limit holds for typing.
    edit->SetMaxLength(8);
    edit->SetSelStart(8);
    ::SendMessageW(wnd, WM_CHAR, L'x', 1);
    EXPECT_EQ(edit->Text(), L"C:/Users");

    // The text survives a new window (password characters need one).
    edit->SetPasswordChar(L'*');
    EXPECT_NE(edit->Handle(), nullptr);
    EXPECT_EQ(TextOf(edit->Handle()), L"C:/Users");
    EXPECT_EQ(::SendMessageW(edit->Handle(), EM_GETPASSWORDCHAR, 0, 0), L'*');
}
