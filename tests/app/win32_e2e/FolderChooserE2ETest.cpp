// A folder added through the chooser as a person would: "Add folder name to list", then
// "Create" under the desktop, a name typed over the new folder's and Enter, then OK. The
// folder lands on top of the list and in the list file.
#include "QuorvelDriver.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlobj.h>

namespace e2e {
namespace {

TEST(FolderChooser, AFolderCreatedAndNamedInTheChooserGoesOnTopOfTheListAndIntoTheFile) {
    ::SetFileAttributesW(ListFilePath().c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(ListFilePath().c_str());
    wchar_t desktop[MAX_PATH] = {};
    ASSERT_EQ(::SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT,
                                 desktop),
              S_OK);
    const wstring name = L"Quorvel chooser " + std::to_wstring(::GetCurrentProcessId());
    const wstring folder = wstring(desktop) + L"\\" + name;
    wstring created;

    Program program;
    ASSERT_TRUE(program.Start());
    program.Click(L"Add folder name to list");
    HWND dialog = program.WaitForTopLevel(L"TPathDialogForm");
    ASSERT_NE(dialog, nullptr) << "the chooser did not open";
    EXPECT_EQ(WindowText(dialog), L"Select directory");
    HWND tree = FindDescendant(dialog, L"TsShellTreeView");
    ASSERT_NE(tree, nullptr);
    ASSERT_TRUE(PressButton(dialog, L"TsBitBtn", L"Create"));
    HWND edit = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        edit = reinterpret_cast<HWND>(::SendMessageW(tree, TVM_GETEDITCONTROL, 0, 0));
        return edit != nullptr;
    })) << "Create started no name edit";
    created = wstring(desktop) + L"\\" + WindowText(edit);
    EXPECT_EQ(::GetFileAttributesW(created.c_str()) & FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_DIRECTORY);
    ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    ::PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
    ::PostMessageW(edit, WM_KEYUP, VK_RETURN, 0xC0000001);
    EXPECT_TRUE(WaitFor([&] { return ::GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES; }))
        << "Enter did not rename the new folder";
    EXPECT_TRUE(::IsWindowVisible(dialog)) << "Enter while naming closed the chooser";
    EXPECT_TRUE(WaitFor([&] { return ::SendMessageW(tree, TVM_GETEDITCONTROL, 0, 0) == 0; })) << "the name edit stayed";
    ASSERT_TRUE(PressButton(dialog, L"TsBitBtn", L"OK"));
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); })) << "OK did not close the chooser";
    ASSERT_TRUE(WaitFor([&] { return !ListFileLines().empty(); }));
    EXPECT_EQ(ListFileLines().front(), folder);
    const std::vector<wstring> items = program.ListItems();
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items.front(), folder);
    EXPECT_TRUE(program.Close());
    ::RemoveDirectoryW(folder.c_str());
    ::RemoveDirectoryW(created.c_str());
    ::DeleteFileW(ListFilePath().c_str());
}

}  // namespace
}  // namespace e2e
