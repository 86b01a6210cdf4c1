// The list box keeps its items in its window, where other programs can read them.
#include "framework/SysUtils.h"
#include "framework/win32/Forms.h"
#include "framework/win32/StdCtrls.h"

#include "win32/TestWindows.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace qv;
using namespace qv::test;

namespace {

// Reads item i the way another process would: LB_GETTEXT on the window handle.
String ItemFromOutside(HWND list, int i) {
    const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    if (length == LB_ERR) return L"<none>";
    String text(static_cast<std::size_t>(length) + 1, L'\0');
    ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::vector<String> AllFromOutside(HWND list) {
    std::vector<String> items;
    const int count = static_cast<int>(::SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) items.push_back(ItemFromOutside(list, i));
    return items;
}

class ListBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form.reset(NewForm<TForm>(nullptr));
        Form->SetBounds(100, 100, 300, 300);
        List = new TListBox(Form.get());
        List->SetParent(Form.get());
        List->SetBounds(10, 10, 200, 200);
    }
    std::unique_ptr<TForm> Form;
    TListBox* List = nullptr;
};

}  // namespace

TEST_F(ListBoxTest, ItemsLiveInTheWindowInInsertionOrder) {
    List->Items().Add(L"C:\\first");
    List->Items().Insert(0, L"C:\\newest \u6587");
    List->Items().Insert(1, L"C:\\middle");
    const HWND wnd = List->Handle();
    EXPECT_EQ(ClassNameOf(wnd), L"TListBox");
    EXPECT_EQ(AllFromOutside(wnd), (std::vector<String>{L"C:\\newest \u6587", L"C:\\middle", L"C:\\first"}));
    EXPECT_EQ(List->Items().IndexOf(L"C:\\middle"), 1);
    EXPECT_EQ(List->Items().IndexOf(L"c:\\middle"), -1) << "IndexOf must match exactly";

    // Strings another program put there are ours too.
    ::SendMessageW(wnd, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(L"from outside"));
    EXPECT_EQ(List->Items().Strings(0), L"from outside");
    EXPECT_EQ(List->Count(), 4);

    List->Items().Delete(1);
    EXPECT_EQ(AllFromOutside(wnd), (std::vector<String>{L"from outside", L"C:\\middle", L"C:\\first"}));
    EXPECT_THROW(List->Items().Strings(3), EListError);
    EXPECT_THROW(List->Items().Insert(5, L"x"), EListError);
    EXPECT_THROW(List->Items().Delete(-1), EListError);
    EXPECT_EQ(List->Count(), 3) << "a refused change changed something";
    List->Items().Clear();
    EXPECT_EQ(::SendMessageW(wnd, LB_GETCOUNT, 0, 0), 0);
}

TEST_F(ListBoxTest, ItemsAndSelectionSurviveRecreatingTheWindow) {
    TStringList source;
    for (const wchar_t* s : {L"a", L"b", L"c", L"d"}) source.Add(s);
    List->Items().Assign(source);
    List->SetItemIndex(2);
    const HWND before = List->Handle();

    List->SetStyle(lbOwnerDrawFixed);  // a style change needs a new window
    const HWND after = List->Handle();
    EXPECT_NE(before, after);
    EXPECT_EQ(AllFromOutside(after), (std::vector<String>{L"a", L"b", L"c", L"d"}));
    EXPECT_EQ(List->ItemIndex(), 2);
    EXPECT_NE(::GetWindowLongPtrW(after, GWL_STYLE) & LBS_HASSTRINGS, 0) << "owner-drawn items must stay readable";

    // The parent's window takes the list's window with it.
    Form->RecreateWnd();
    EXPECT_EQ(AllFromOutside(List->Handle()), (std::vector<String>{L"a", L"b", L"c", L"d"}));
    EXPECT_EQ(List->ItemIndex(), 2);

    TStringList copy;
    copy.SetEncoding(teUtf8);
    List->Items().AssignTo(copy);
    EXPECT_EQ(copy.Count(), 4);
    EXPECT_EQ(copy[3], L"d");
    EXPECT_EQ(copy.Encoding(), teUtf8);
}

TEST_F(ListBoxTest, SelectionAndDoubleClickNotifyTheProgram) {
    for (const wchar_t* s : {L"one", L"two", L"three"}) List->Items().Add(s);
    int clicks = 0, doubleClicks = 0;
    List->OnClick = [&](TComponent*) { ++clicks; };
    List->OnDblClick = [&](TComponent*) { ++doubleClicks; };
    Form->Show();
    const HWND wnd = List->Handle();
    const TRect second = List->ItemRect(1);
    const LPARAM at = MAKELPARAM(second.Left + 3, second.Top + 2);
    ::SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(wnd, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(List->ItemIndex(), 1);
    EXPECT_EQ(clicks, 1);
    ::SendMessageW(wnd, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    ::SendMessageW(wnd, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(doubleClicks, 1);

    List->SetItemIndex(-1);
    EXPECT_EQ(List->ItemIndex(), -1);
    EXPECT_EQ(clicks, 1) << "setting the index from code is not a click";
}

TEST_F(ListBoxTest, OwnerDrawnItemsArePaintedByTheHandler) {
    List->SetStyle(lbOwnerDrawFixed);
    List->SetItemHeight(20);
    std::vector<int> drawn;
    List->OnDrawItem = [&](TWinControl*, int index, TRect rect, TOwnerDrawState) {
        drawn.push_back(index);
        EXPECT_EQ(rect.Height(), 20);
        List->Canvas().Brush().SetColor(clRed);
        List->Canvas().FillRect(rect);
    };
    for (const wchar_t* s : {L"x", L"y"}) List->Items().Add(s);
    Form->Show();
    ::UpdateWindow(List->Handle());
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), 0), drawn.end());
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), 1), drawn.end());
    EXPECT_EQ(ItemFromOutside(List->Handle(), 1), L"y");
    EXPECT_EQ(List->ItemRect(1).Top, 20);
}

TEST(Button, DefaultStyleModalResultAndClassName) {
    std::unique_ptr<TForm> form(NewForm<TForm>(nullptr));
    auto* ok = new TButton(form.get());
    ok->SetParent(form.get());
    ok->SetDefault(true);
    ok->ModalResult = mrOk;
    auto* other = new TButton(form.get());
    other->SetParent(form.get());
    other->SetLeft(100);
    int clicked = 0;
    ok->OnClick = [&](TComponent*) { ++clicked; };

    EXPECT_EQ(ClassNameOf(ok->Handle()), L"TButton");
    EXPECT_EQ(::GetWindowLongPtrW(ok->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(::GetWindowLongPtrW(other->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);

    ::SendMessageW(ok->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicked, 1);
    EXPECT_EQ(form->ModalResult(), mrOk);

    // Focus on another button makes that one the default-looking button.
    form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(static_cast<TWinControl*>(other)));
    EXPECT_EQ(::GetWindowLongPtrW(other->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(::GetWindowLongPtrW(ok->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
}
