// Keys in the main window's path list, pressed through the real keyboard input: Ctrl+C
// and Ctrl+Insert copy the selected path as the copy button does, Delete deletes it
// through the same question as the delete button.
#include "win32/MessagePump.h"
#include "win32/TestWindows.h"
#include "app/FileBytes.h"
#include "app/win32/PathListFile.h"
#include "app/win32/formmain.h"
#include "framework/win32/Clipbrd.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace qv {
namespace {

using test::ReadBytes;
using test::WriteBytes;

// Presses the keys in order and releases them in reverse, then pumps until this thread
// has taken them all (the first key's toggle bit flips at its press and it reads up
// again after its release, which comes last) and what they brought.
void Keys(std::initializer_list<WORD> down) {
    const WORD first = *down.begin();
    const SHORT toggled = ::GetKeyState(first) & 1;
    std::vector<INPUT> in;
    for (WORD vk : down) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = vk;
        in.push_back(i);
    }
    for (auto it = down.end(); it != down.begin();) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = *--it;
        i.ki.dwFlags = KEYEVENTF_KEYUP;
        in.push_back(i);
    }
    ::SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
    EXPECT_TRUE(test::PumpUntil([&] {
        return (::GetKeyState(first) & 1) != toggled && (::GetKeyState(first) & 0x8000) == 0;
    })) << "the keys were not taken";
    test::PumpPending();
}

class ListKeyboard : public ::testing::Test {
protected:
    void SetUp() override {
        FList = ListFileName();
        ::DeleteFileW(FList.c_str());
        WriteBytes(FList, "C:\\a\r\nC:\\b\r\nC:\\c\r\n");
        Form = NewForm<TForm_quorvel>(nullptr);
        Form->Show();
        ::SetWindowPos(Form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        test::PumpUntil([&] { return ::GetActiveWindow() == Form->Handle(); });
        test::PumpPending();
        Form->sListBox1->SetItemIndex(1);
        Form->sListBox1->SetFocus();
        test::PumpUntil([&] { return ::GetFocus() == Form->sListBox1->Handle(); });
        ASSERT_EQ(::GetFocus(), Form->sListBox1->Handle());
    }
    void TearDown() override {
        delete Form;
        test::PumpPending();  // what the closed form queued
        ::DeleteFileW(FList.c_str());
    }
    int Count() { return Form->sListBox1->Items().Count(); }

    String FList;
    TForm_quorvel* Form = nullptr;
};

TEST_F(ListKeyboard, CtrlCAndCtrlInsertCopyTheSelectedPathAsTheCopyButtonDoes) {
    for (WORD key : {WORD{'C'}, WORD{VK_INSERT}}) {
        Clipboard().SetAsText(L"something else");
        String message;
        auto ok = test::PressOnMessageForms(L"OK", &message);
        Keys({VK_CONTROL, key});
        EXPECT_TRUE(test::PumpUntil([&] { return ok.Answered() == 1; })) << key;
        EXPECT_EQ(Clipboard().AsText(), L"C:\\b") << key;
        EXPECT_EQ(message, L"Copied to Clipboard: C:\\b") << key;
    }
    // C alone types into the list (the list's own search), it copies nothing.
    Clipboard().SetAsText(L"untouched");
    auto none = test::PressOnMessageForms(L"OK", nullptr);
    Keys({'C'});
    EXPECT_EQ(none.Answered(), 0);
    EXPECT_EQ(Clipboard().AsText(), L"untouched");
    EXPECT_EQ(Count(), 3);
}

TEST_F(ListKeyboard, DeleteAsksFirstAndRemovesTheSelectedPathOnlyOnOk) {
    String question;
    {
        auto cancel = test::PressOnMessageForms(L"Cancel", &question);
        Keys({VK_DELETE});
        EXPECT_TRUE(test::PumpUntil([&] { return cancel.Answered() == 1; }));
    }
    EXPECT_EQ(question, L"This will delete the selected filename from the list.  Are you sure?");
    EXPECT_EQ(Count(), 3);
    Form->sListBox1->SetFocus();
    {
        auto ok = test::PressOnMessageForms(L"OK", nullptr);
        Keys({VK_DELETE});
        EXPECT_TRUE(test::PumpUntil([&] { return ok.Answered() == 1; }));
    }
    ASSERT_EQ(Count(), 2);
    EXPECT_EQ(Form->sListBox1->Items()[0], L"C:\\a");
    EXPECT_EQ(Form->sListBox1->Items()[1], L"C:\\c");
    EXPECT_EQ(ReadBytes(FList), "C:\\a\r\nC:\\c\r\n");
}

}  // namespace
}  // namespace qv
