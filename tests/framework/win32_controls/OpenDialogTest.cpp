// The open-file dialog driven through its name field, as a user would type names.
#include "framework/win32/Dialogs.h"

#include "win32/TestWindows.h"

#include <gtest/gtest.h>

#include <cwchar>

using namespace qv;
using namespace qv::test;

namespace {

// Types `text` into the dialog's name field (an Edit inside the combo box 0x47C) and
// presses the button `command` (IDOK or IDCANCEL).
void AnswerFileDialog(HWND dialog, const String& text, int command) {
    if (HWND combo = ::GetDlgItem(dialog, 0x47C))
        if (HWND edit = FindDescendant(combo, L"Edit")) ::SetWindowTextW(edit, text.c_str());
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
}

String Quoted(const std::vector<String>& names) {
    String text;
    for (const String& name : names) text += L"\"" + name + L"\" ";
    return text;
}

// Restores the common-dialog switch after a test that changes it.
struct SwitchScope {
    bool Saved = UseLatestCommonDialogs;
    ~SwitchScope() { UseLatestCommonDialogs = Saved; }
};

}  // namespace

class OpenDialogBothImplementations : public ::testing::TestWithParam<bool> {};

TEST_P(OpenDialogBothImplementations, ReturnsTheChosenFilesInTheDialogsOrder) {
    SwitchScope restore;
    UseLatestCommonDialogs = GetParam();
    TempFolder folder;
    for (const wchar_t* name : {L"alpha.txt", L"beta.txt", L"gamma \u00e9t\u00e9.txt"}) folder.CreateFile(name);

    TOpenDialog dialog(nullptr);
    dialog.Options = ofHideReadOnly | ofAllowMultiSelect | ofEnableSizing;
    dialog.Title = L"Select a filename to add to this list";
    dialog.InitialDir = folder.Path();
    String seenTitle;
    bool hasHookChild = false;
    ModalAnswerer answerer(L"#32770", [&](HWND wnd) {
        seenTitle = TextOf(wnd);
        hasHookChild = FindDescendant(wnd, L"#32770") != nullptr;
        AnswerFileDialog(wnd, Quoted({L"gamma \u00e9t\u00e9.txt", L"alpha.txt", L"beta.txt"}), IDOK);
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(answerer.Answered(), 1);
    EXPECT_EQ(seenTitle, L"Select a filename to add to this list");
    // The classic implementation runs with a hook, whose child dialog the explorer-style
    // dialog creates inside itself.
    if (!UseLatestCommonDialogs) {
        EXPECT_TRUE(hasHookChild);
    }
    const std::vector<String> expected = {folder.Path() + L"\\gamma \u00e9t\u00e9.txt", folder.Path() + L"\\alpha.txt",
                                          folder.Path() + L"\\beta.txt"};
    EXPECT_EQ(dialog.Files(), expected);
    EXPECT_EQ(dialog.FileName, expected.front());
}

INSTANTIATE_TEST_SUITE_P(LatestAndClassic, OpenDialogBothImplementations, ::testing::Values(true, false));

TEST(OpenDialog, CancelReturnsFalseAndNoFiles) {
    TempFolder folder;
    folder.CreateFile(L"one.txt");
    TOpenDialog dialog(nullptr);
    dialog.Options |= ofAllowMultiSelect;
    dialog.InitialDir = folder.Path();
    ModalAnswerer answerer(L"#32770", [&](HWND wnd) { AnswerFileDialog(wnd, L"one.txt", IDCANCEL); });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_TRUE(dialog.Files().empty());
}

TEST(OpenDialog, SingleFileReplacesALongerPresetName) {
    TempFolder folder;
    folder.CreateFile(L"b.txt");
    TOpenDialog dialog(nullptr);
    dialog.Options |= ofAllowMultiSelect;
    dialog.InitialDir = folder.Path();
    // A preset longer than the answer: its tail stays in the buffer after the answer's
    // null and must not be read as a second name.
    dialog.FileName = L"a-preset-name-much-longer-than-the-answer.txt";
    ModalAnswerer answerer(L"#32770", [&](HWND wnd) { AnswerFileDialog(wnd, folder.Path() + L"\\b.txt", IDOK); });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Files(), std::vector<String>{folder.Path() + L"\\b.txt"});
}

TEST(OpenDialog, HundredsOfLongNamesGrowTheBufferAndKeepTheirOrder) {
    TempFolder folder;
    std::vector<String> names;
    for (int i = 0; i < 300; ++i) {
        wchar_t name[128];
        // Descending numbers so that the dialog's order is not the sorted order.
        std::swprintf(name, 128, L"a rather long file name for the selection buffer number %04d.txt", 299 - i);
        names.push_back(name);
        folder.CreateFile(name);
    }
    TOpenDialog dialog(nullptr);
    dialog.Options |= ofAllowMultiSelect;
    dialog.InitialDir = folder.Path();
    dialog.InitialBufferLength = 4096;  // far below the ~20000 characters needed
    ModalAnswerer answerer(L"#32770", [&](HWND wnd) { AnswerFileDialog(wnd, Quoted(names), IDOK); });
    ASSERT_TRUE(dialog.Execute());
    // The buffer grew while the dialog was open: the user was asked once.
    EXPECT_EQ(answerer.Answered(), 1);
    ASSERT_EQ(dialog.Files().size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        ASSERT_EQ(dialog.Files()[i], folder.Path() + L"\\" + names[i]) << "at " << i;
}

TEST(OpenDialogParse, BufferForms) {
    // Several names after a folder, ended by an empty name.
    const wchar_t several[] = L"C:\\dir\0b.txt\0a.txt\0\0garbage\0";
    EXPECT_EQ(TOpenDialog::ParseFileList(several, std::size(several), 7),
              (std::vector<String>{L"C:\\dir\\b.txt", L"C:\\dir\\a.txt"}));
    // A root folder keeps its one delimiter.
    const wchar_t root[] = L"C:\\\0x.txt\0y.txt\0\0";
    EXPECT_EQ(TOpenDialog::ParseFileList(root, std::size(root), 4), (std::vector<String>{L"C:\\x.txt", L"C:\\y.txt"}));
    // One full path: the rest of the buffer is left over from a longer preset.
    const wchar_t one[] = L"C:\\dir\\f.txt\0r-preset.txt\0\0";
    EXPECT_EQ(TOpenDialog::ParseFileList(one, std::size(one), 7), (std::vector<String>{L"C:\\dir\\f.txt"}));
    // A buffer without any terminator is read no further than its length.
    const wchar_t unterminated[] = {L'C', L':', L'\\', L'a', L'\0', L'b', L'c'};
    EXPECT_EQ(TOpenDialog::ParseFileList(unterminated, std::size(unterminated), 5),
              (std::vector<String>{L"C:\\a\\bc"}));
    EXPECT_TRUE(TOpenDialog::ParseFileList(L"", 1, 0).empty());
}
