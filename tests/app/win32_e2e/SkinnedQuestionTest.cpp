// The program's questions and messages wear the skin: the main window, the question
// before deleting and the clipboard message each answer that their skinning is in
// place, their buttons are skinned, and the question is answered by real clicks on
// those skinned buttons.
#include "QuorvelDriver.h"
#include "paint/acSkinMessage.h"

#include <gtest/gtest.h>

namespace e2e {
namespace {

// The engine's "is this window skinned?" question (command 7 of its command message).
bool Skinned(HWND wnd) {
    DWORD_PTR answer = 0;
    return ::SendMessageTimeoutW(wnd, qv::SM_ALPHACMD, 7u << 16, 0, SMTO_ABORTIFHUNG, 3000, &answer) && answer == 1;
}

// The skinned button of a question: it carries its wrapper and answers for the skin.
HWND SkinnedButton(HWND dialog, const wchar_t* caption) {
    HWND button = FindDescendant(dialog, L"TButton", caption);
    EXPECT_NE(button, nullptr) << "no button";
    if (!button) return nullptr;
    EXPECT_NE(::GetPropW(button, L"ACSBSC"), nullptr);
    EXPECT_TRUE(Skinned(button));
    return button;
}

class SkinnedQuestions : public ::testing::Test {
protected:
    void SetUp() override { ::DeleteFileW(ListFilePath().c_str()); }
    void TearDown() override { ::DeleteFileW(ListFilePath().c_str()); }
};

TEST_F(SkinnedQuestions, TheDeleteQuestionIsSkinnedAndAnsweredByRealClicksOnItsButtons) {
    Program program;
    ASSERT_TRUE(program.Start());
    EXPECT_TRUE(Skinned(program.MainWindow())) << "the main window's frame is skinned";
    const std::vector<wstring> names{L"C:\\qv-e2e-one.txt", L"C:\\qv-e2e-two.txt"};
    ASSERT_TRUE(DropFiles(program.MainWindow(), program.Pid(), names));
    ASSERT_TRUE(WaitFor([&] { return ListFileLines().size() == 2; }));

    program.Select(0);
    program.Click(L"Delete selected Item");
    HWND question = program.WaitForTopLevel(L"TMessageForm");
    ASSERT_NE(question, nullptr);
    EXPECT_TRUE(Skinned(question)) << "the question's frame is skinned";
    ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == question; })) << "the question is not in front";
    ASSERT_TRUE(RealClick(SkinnedButton(question, L"Cancel")));
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(question); }));
    EXPECT_EQ(program.ListItems().size(), 2u) << "Cancel changes nothing";

    program.Select(0);
    program.Click(L"Delete selected Item");
    question = program.WaitForTopLevel(L"TMessageForm");
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == question; })) << "the question is not in front";
    ASSERT_TRUE(RealClick(SkinnedButton(question, L"OK")));
    ASSERT_TRUE(WaitFor([&] { return ListFileLines().size() == 1; }));
    EXPECT_EQ(program.ListItems(), std::vector<wstring>{names[0]});

    // The clipboard message is skinned the same way.
    program.Select(0);
    program.Click(L"Copy Selected Filename or Path Text to Clipboard");
    HWND message = program.WaitForTopLevel(L"TMessageForm");
    ASSERT_NE(message, nullptr);
    EXPECT_TRUE(Skinned(message));
    ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == message; })) << "the message is not in front";
    ASSERT_TRUE(RealClick(SkinnedButton(message, L"OK")));
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(message); }));
    EXPECT_TRUE(program.Close());
}

}  // namespace
}  // namespace e2e
