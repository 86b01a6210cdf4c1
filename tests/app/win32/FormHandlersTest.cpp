// The main window's handlers driven in-process: dropped files, the confirmations, the
// clipboard message, and a list file that cannot be read at start-up.
#include "../../framework/win32_controls/TestWindows.h"
#include "app/SaveCounter.h"
#include "app/PathListFile.h"
#include "app/formmain.h"
#include "framework/SysUtils.h"
#include "framework/win32/Clipbrd.h"

#include "app/FileBytes.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>


namespace qv {
namespace {

using test::ReadBytes;
using test::WriteBytes;

// A shell drop of wide paths, as the system hands it to WM_DROPFILES.
HDROP MakeDrop(const std::vector<String>& paths) {
    size_t chars = 1;
    for (const String& p : paths) chars += p.size() + 1;
    HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    auto* names = reinterpret_cast<wchar_t*>(drop + 1);
    for (const String& p : paths) {
        std::copy(p.begin(), p.end(), names);
        names += p.size() + 1;
    }
    ::GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

// Answers every framework message box of this thread by pressing the named button.
test::ModalAnswerer PressOnMessageForms(const String& caption, String* textSeen = nullptr) {
    return test::ModalAnswerer(L"TMessageForm", [caption, textSeen](HWND form) {
        if (textSeen) {
            HWND message = test::FindDescendant(form, L"TStaticText");
            *textSeen = message ? test::TextOf(message) : String();
        }
        HWND child = nullptr;
        while ((child = ::FindWindowExW(form, child, L"TButton", nullptr)) != nullptr)
            if (test::TextOf(child) == caption) ::PostMessageW(child, BM_CLICK, 0, 0);
    });
}

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

class MainWindowHandlers : public ::testing::Test {
protected:
    void SetUp() override {
        FList = ListFileName();
        Clean();
    }
    void TearDown() override {
        delete Form;
        Pump();
        Clean();
    }
    void Clean() {
        for (const String& name : {FList, FList + L".unread"}) {
            ::SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(name.c_str());
        }
    }
    void Open() {
        Form = NewForm<TForm_quorvel>(nullptr);
        Form->Show();
        Pump();
    }
    std::vector<String> Items() {
        std::vector<String> items;
        for (int i = 0; i < Form->sListBox1->Items().Count(); ++i) items.push_back(Form->sListBox1->Items()[i]);
        return items;
    }
    void Click(TBitBtn* button) { ::SendMessageW(button->Handle(), BM_CLICK, 0, 0); }

    String FList;
    TForm_quorvel* Form = nullptr;
};

TEST_F(MainWindowHandlers, DroppedItemsGoOnTopOneByOneWithASaveEachAndLongPathsStayWhole) {
    WriteBytes(FList, "C:\\earlier\r\n");
    Open();
    const String longPath = L"C:\\" + String(293, L'y') + L".txt";  // 300 characters
    ASSERT_EQ(longPath.size(), 300u);
    {
        e2e::SaveCounter counter(ExcludeTrailingPathDelimiter(ExtractFilePath(FList)));
        ::SendMessageW(Form->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({L"C:\\x", longPath})), 0);
        EXPECT_EQ(counter.SavesAfterWaitingFor(2), 2);
    }
    const std::vector<String> expected{longPath, L"C:\\x", L"C:\\earlier"};
    EXPECT_EQ(Items(), expected);
    EXPECT_EQ(ReadBytes(FList), StringToAnsi(longPath) + "\r\nC:\\x\r\nC:\\earlier\r\n");
}

TEST_F(MainWindowHandlers, DeleteAndCopyWithNothingSelectedAskNothingAndChangeNothing) {
    WriteBytes(FList, "C:\\a\r\n");
    Open();
    auto answerer = PressOnMessageForms(L"OK");
    Click(Form->sBitBtn_DeleteItem);
    Click(Form->sBitBtn_FilenameToClipboard);
    Pump();
    EXPECT_EQ(answerer.Answered(), 0);
    EXPECT_EQ(Items(), std::vector<String>{L"C:\\a"});
    EXPECT_EQ(ReadBytes(FList), "C:\\a\r\n");
}

TEST_F(MainWindowHandlers, DeleteCancelledKeepsTheItemAndOkRemovesItAndSaves) {
    WriteBytes(FList, "C:\\a\r\nC:\\b\r\n");
    Open();
    Form->sListBox1->SetItemIndex(1);
    String question;
    {
        auto cancel = PressOnMessageForms(L"Cancel", &question);
        Click(Form->sBitBtn_DeleteItem);
        EXPECT_EQ(cancel.Answered(), 1);
    }
    EXPECT_EQ(question, L"This will delete the selected filename from the list.  Are you sure?");
    EXPECT_EQ(Items().size(), 2u);
    Form->sListBox1->SetItemIndex(1);
    {
        auto ok = PressOnMessageForms(L"OK");
        Click(Form->sBitBtn_DeleteItem);
        EXPECT_EQ(ok.Answered(), 1);
    }
    EXPECT_EQ(Items(), std::vector<String>{L"C:\\a"});
    EXPECT_EQ(ReadBytes(FList), "C:\\a\r\n");
}

TEST_F(MainWindowHandlers, ClearOnAnEmptyListStillAsksAndKeepsTheMarkOfAUtf8File) {
    WriteBytes(FList, "\xEF\xBB\xBF");
    Open();
    String question;
    auto ok = PressOnMessageForms(L"OK", &question);
    Click(Form->sBitBtn_Clearbox);
    EXPECT_EQ(ok.Answered(), 1);
    EXPECT_EQ(question, L"This will clear the list.  Are you sure?");
    EXPECT_EQ(ReadBytes(FList), "\xEF\xBB\xBF");
}

TEST_F(MainWindowHandlers, CopyShowsWhatTheClipboardHoldsWhenReadBack) {
    WriteBytes(FList, "\xEF\xBB\xBF" "C:\\\xE4\xB8\xAD\r\n");
    Open();
    Form->sListBox1->SetItemIndex(0);
    String message;
    auto ok = PressOnMessageForms(L"OK", &message);
    Click(Form->sBitBtn_FilenameToClipboard);
    EXPECT_EQ(ok.Answered(), 1);
    EXPECT_EQ(message, L"Copied to Clipboard: C:\\\u4e2d");
}

// Past MAX_PATH nothing may cut a path: the drop stores it whole, a restart reads it back
// whole, and the copy puts all of it on the clipboard and in the message.
TEST_F(MainWindowHandlers, ADroppedPathOf300CharactersIsReloadedAndCopiedWhole) {
    const String longPath = L"C:\\" + String(200, L'd') + L"\\" + String(92, L'f') + L".txt";
    ASSERT_EQ(longPath.size(), 300u);
    Open();
    ::SendMessageW(Form->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({longPath})), 0);
    delete Form;
    Form = nullptr;
    Pump();
    EXPECT_EQ(ReadBytes(FList), StringToAnsi(longPath) + "\r\n");

    Open();
    ASSERT_EQ(Items(), std::vector<String>{longPath});
    Form->sListBox1->SetItemIndex(0);
    String message;
    auto ok = PressOnMessageForms(L"OK", &message);
    Click(Form->sBitBtn_FilenameToClipboard);
    EXPECT_EQ(ok.Answered(), 1);
    EXPECT_EQ(Clipboard().AsText(), longPath);
    EXPECT_EQ(message, L"Copied to Clipboard: " + longPath);
}

// The user never saw the list in a file that could not be read: it must not be
// overwritten by the first save.
TEST_F(MainWindowHandlers, UnreadableListFileIsReportedAndMovedAsideByTheFirstSave) {
    WriteBytes(FList, "C:\\old\r\n");
    HANDLE lock = ::CreateFileW(FList.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    String error;
    {
        auto ok = PressOnMessageForms(L"OK", &error);
        Open();
        EXPECT_EQ(ok.Answered(), 1);
    }
    EXPECT_NE(error.find(L"Cannot open file"), String::npos);
    EXPECT_TRUE(Items().empty());
    ::CloseHandle(lock);

    Form->AddStringToListBox(L"C:\\new");
    EXPECT_EQ(ReadBytes(FList), "C:\\new\r\n");
    EXPECT_EQ(ReadBytes(FList + L".unread"), "C:\\old\r\n");
}

}  // namespace
}  // namespace qv
