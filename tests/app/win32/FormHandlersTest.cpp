// The main window's handlers driven in-process: dropped files, the confirmations, the
// clipboard message, a list file that cannot be read at start-up, and the window's end.
// Every test points the program at a folder of its own: the user's list is never touched.
#include "win32/MessagePump.h"
#include "win32/TestWindows.h"
#include "GdiObjects.h"
#include "app/SaveCounter.h"
#include "app/win32/PathListFile.h"
#include "app/win32/formmain.h"
#include "framework/SysUtils.h"
#include "framework/win32/Application.h"
#include "skin/win32/sSkinManager.h"
#include "skin/win32/sStyleSimply.h"
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
    size_t chars = 2;  // the list ends with an empty name; an empty list is two nulls
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

// Points ListFileName at a fresh folder of the test's own for as long as it lives.
class OwnListFolder {
public:
    OwnListFolder() {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        static int serial = 0;
        FFolder = String(temp) + L"qv-form-" + IntToStr(::GetCurrentProcessId()) + L"-" + IntToStr(++serial);
        ::SetEnvironmentVariableW(L"QUORVEL_LIST_FOLDER", FFolder.c_str());
    }
    ~OwnListFolder() {
        ::SetEnvironmentVariableW(L"QUORVEL_LIST_FOLDER", nullptr);
        test::RemoveFilesIn(FFolder);
        ::RemoveDirectoryW(FFolder.c_str());
    }
    const String& Folder() const noexcept { return FFolder; }

private:
    String FFolder;
};

class MainWindowHandlers : public ::testing::Test {
protected:
    void SetUp() override {
        FList = ListFileName();
        ASSERT_EQ(ExtractFilePath(FList), IncludeTrailingPathDelimiter(FFolder.Folder()));
    }
    void TearDown() override {
        delete Form;
        test::PumpPending();
    }
    void Open() {
        Form = NewForm<TForm_quorvel>(nullptr);
        Form->Show();
        test::PumpPending();
    }
    std::vector<String> Items() {
        std::vector<String> items;
        for (int i = 0; i < Form->sListBox1->Items().Count(); ++i) items.push_back(Form->sListBox1->Items()[i]);
        return items;
    }
    void Click(TBitBtn* button) { ::SendMessageW(button->Handle(), BM_CLICK, 0, 0); }

    OwnListFolder FFolder;
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
    auto answerer = test::PressOnMessageForms(L"OK");
    Click(Form->sBitBtn_DeleteItem);
    Click(Form->sBitBtn_FilenameToClipboard);
    test::PumpPending();
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
        auto cancel = test::PressOnMessageForms(L"Cancel", &question);
        Click(Form->sBitBtn_DeleteItem);
        EXPECT_EQ(cancel.Answered(), 1);
    }
    EXPECT_EQ(question, L"This will delete the selected filename from the list.  Are you sure?");
    EXPECT_EQ(Items().size(), 2u);
    Form->sListBox1->SetItemIndex(1);
    {
        auto ok = test::PressOnMessageForms(L"OK");
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
    auto ok = test::PressOnMessageForms(L"OK", &question);
    Click(Form->sBitBtn_Clearbox);
    EXPECT_EQ(ok.Answered(), 1);
    EXPECT_EQ(question, L"This will clear the list.  Are you sure?");
    EXPECT_EQ(ReadBytes(FList), "\xEF\xBB\xBF");
}

TEST_F(MainWindowHandlers, CopyShowsWhatTheClipboardHoldsWhenReadBack) {
    WriteBytes(FList,
               "\xEF\xBB\xBF"
               "C:\\\xE4\xB8\xAD\r\n");
    Open();
    Form->sListBox1->SetItemIndex(0);
    String message;
    auto ok = test::PressOnMessageForms(L"OK", &message);
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
    test::PumpPending();
    EXPECT_EQ(ReadBytes(FList), StringToAnsi(longPath) + "\r\n");

    Open();
    ASSERT_EQ(Items(), std::vector<String>{longPath});
    Form->sListBox1->SetItemIndex(0);
    String message;
    auto ok = test::PressOnMessageForms(L"OK", &message);
    Click(Form->sBitBtn_FilenameToClipboard);
    EXPECT_EQ(ok.Answered(), 1);
    EXPECT_EQ(Clipboard().AsText(), longPath);
    EXPECT_EQ(message, L"Copied to Clipboard: " + longPath);
}

// The user never saw the list in a file that could not be read: it must not be
// overwritten. While it cannot be moved aside, saves are refused and it stays; then the
// first save moves it aside without replacing a file moved aside earlier.
TEST_F(MainWindowHandlers, UnreadableListFileIsReportedKeptAndMovedAsideBeforeTheFirstSave) {
    WriteBytes(FList, "C:\\old\r\n");
    WriteBytes(FList + L".unread", "C:\\older\r\n");
    HANDLE lock = ::CreateFileW(FList.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    String error;
    {
        auto ok = test::PressOnMessageForms(L"OK", &error);
        Open();
        EXPECT_EQ(ok.Answered(), 1);
    }
    EXPECT_NE(error.find(L"Cannot open file"), String::npos);
    EXPECT_TRUE(Items().empty());

    try {
        Form->AddStringToListBox(L"C:\\refused");
        ADD_FAILURE() << "a save went ahead while the unreadable file could not be moved aside";
    } catch (const EFCreateError& e) {
        EXPECT_NE(e.Message().find(L"cannot be moved aside"), String::npos) << e.what();
    }
    ::CloseHandle(lock);
    EXPECT_EQ(ReadBytes(FList), "C:\\old\r\n") << "the unreadable file stays as it was";
    EXPECT_EQ(Items(), std::vector<String>{L"C:\\refused"}) << "the window keeps the change";

    Form->AddStringToListBox(L"C:\\new");
    EXPECT_EQ(ReadBytes(FList), "C:\\new\r\nC:\\refused\r\n");
    EXPECT_EQ(ReadBytes(FList + L".unread"), "C:\\older\r\n");
    EXPECT_EQ(ReadBytes(FList + L".unread.2"), "C:\\old\r\n");
}

// A UTF-8 list with a line another program wrote in a single-byte code page: its bytes
// are shown as U+FFFD, and writing them back would lose them, so the user is told and the
// file goes aside whole at the first save while the list stays in use.
TEST_F(MainWindowHandlers, ListFileWithBytesThatAreNotTextIsReportedAndKeptAsideAtTheFirstSave) {
    const std::string original =
        "\xEF\xBB\xBF"
        "C:\\a\r\nC:\\caf\xE9\r\n";
    WriteBytes(FList, original);
    String warning;
    {
        auto ok = test::PressOnMessageForms(L"OK", &warning);
        Open();
        EXPECT_EQ(ok.Answered(), 1);
    }
    EXPECT_NE(warning.find(L"not valid text"), String::npos) << warning;
    const std::vector<String> shown{L"C:\\a", L"C:\\caf\xFFFD"};
    EXPECT_EQ(Items(), shown);

    Form->AddStringToListBox(L"C:\\new");
    EXPECT_EQ(ReadBytes(FList + L".unread"), original);
    EXPECT_EQ(ReadBytes(FList),
              "\xEF\xBB\xBF"
              "C:\\new\r\nC:\\a\r\nC:\\caf\xEF\xBF\xBD\r\n");
}

// Dragging files from a host application under Wine delivered a drop that reports one
// file whose name is empty; it added an empty line to the list and the file.
TEST_F(MainWindowHandlers, DropWhoseNamesComeBackEmptyAddsNothing) {
    WriteBytes(FList, "C:\\earlier\r\n");
    Open();
    ::SendMessageW(Form->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({})), 0);
    test::PumpPending();
    EXPECT_EQ(Items(), std::vector<String>{L"C:\\earlier"});
    EXPECT_EQ(ReadBytes(FList), "C:\\earlier\r\n");
}

// The questions are modal loops: a drop that arrives while one is open puts its path on
// top. The item the user selected goes, not the one now at its old place, and a clear
// keeps the paths the user never saw in the list.
TEST_F(MainWindowHandlers, FilesDroppedWhileAQuestionIsOpenStayAndDoNotChangeWhatGoes) {
    WriteBytes(FList, "C:\\a\r\nC:\\b\r\n");
    Open();
    auto dropThenOk = [window = Form->Handle()](const wchar_t* path) {
        return test::ModalAnswerer(L"TMessageForm", [window, path](HWND form) {
            ::PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({path})), 0);
            for (HWND child = nullptr; (child = ::FindWindowExW(form, child, L"TButton", nullptr)) != nullptr;)
                if (test::TextOf(child) == L"OK") ::PostMessageW(child, BM_CLICK, 0, 0);
        });
    };
    Form->sListBox1->SetItemIndex(1);
    {
        auto answerer = dropThenOk(L"C:\\new");
        Click(Form->sBitBtn_DeleteItem);
        ASSERT_EQ(answerer.Answered(), 1);
    }
    const std::vector<String> afterDelete{L"C:\\new", L"C:\\a"};
    EXPECT_EQ(Items(), afterDelete);
    EXPECT_EQ(ReadBytes(FList), "C:\\new\r\nC:\\a\r\n");
    {
        auto answerer = dropThenOk(L"C:\\newer");
        Click(Form->sBitBtn_Clearbox);
        ASSERT_EQ(answerer.Answered(), 1);
    }
    EXPECT_EQ(Items(), std::vector<String>{L"C:\\newer"});
    EXPECT_EQ(ReadBytes(FList), "C:\\newer\r\n");
}

// The system hands drops only to windows marked as drop targets; a window made anew
// (as the frame skinning does) must be marked again.
TEST_F(MainWindowHandlers, RecreatedWindowStillAcceptsDroppedFiles) {
    Open();
    const HWND before = Form->Handle();
    Form->RecreateWnd();
    ASSERT_NE(Form->Handle(), before) << "the window was not made anew";
    EXPECT_TRUE(::GetWindowLongPtrW(Form->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
}

// Leftovers of a copy killed during a save go at the next start; the list is read as usual.
TEST_F(MainWindowHandlers, StartRemovesTemporariesOfKilledSaves) {
    WriteBytes(FList, "C:\\a\r\n");
    const String leftover = FList + L".4294967292-00000000DEADBEEF-1.tmp";
    WriteBytes(leftover, "C:\\half");
    Open();
    EXPECT_EQ(::GetFileAttributesW(leftover.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Items(), std::vector<String>{L"C:\\a"});
}

// Each question the main window asks goes with all it made: the clear confirmation
// opened twenty times and answered with Escape leaves the live GDI objects as they were.
TEST_F(MainWindowHandlers, ConfirmationsAnsweredWithEscapeLeakNoGdiObject) {
    WriteBytes(FList, "C:\\a\r\n");
    // As in the program: the window is the application's main form, which owns the questions.
    Application().MainFormOnTaskBar = true;
    Application().CreateForm(Form);
    ASSERT_NE(Form, nullptr);
    Form->Show();
    test::PumpPending();
    auto escape = test::ModalAnswerer(L"TMessageForm", [](HWND form) {
        HWND focus = ::GetFocus();
        ::PostMessageW(focus ? focus : form, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    });
    Click(Form->sBitBtn_Clearbox);  // the first question loads what every later one shares
    test::PumpPending();
    const long before = test::LiveGdiObjects();
    for (int i = 0; i < 20; ++i) {
        Click(Form->sBitBtn_Clearbox);
        test::PumpPending();
    }
    const long after = test::LiveGdiObjects();
    std::printf("live GDI objects: %ld after the first question, %ld after 20 more\n", before, after);
    EXPECT_EQ(escape.Answered(), 21);
    EXPECT_EQ(Items(), std::vector<String>{L"C:\\a"});
    EXPECT_LE(after, before) << "GDI objects " << before << " -> " << after;
}

// Closing the main window ends the message loop and destroys the window with its
// components: the skin manager shuts down (its hook on the application window goes)
// and every GDI object the window made is freed.
TEST(MainWindowLife, ClosingTheMainWindowDestroysItAndItsSkinManager) {
    OwnListFolder folder;
    Application().Handle();
    {
        // The first window creates classes, cached fonts and stock objects.
        auto* warmUp = NewForm<TForm_quorvel>(nullptr);
        warmUp->Show();
        test::PumpPending();
        delete warmUp;
        test::PumpPending();
    }
    const long gdiBefore = test::LiveGdiObjects();
    int hookCalls = 0;
    const auto skinningHook = acWindowSkinning.MainWindowHook;
    acWindowSkinning.MainWindowHook = [&](TsSkinManager& manager, TMessage& message) {
        ++hookCalls;
        return skinningHook ? skinningHook(manager, message) : false;
    };

    TForm_quorvel* form = nullptr;
    Application().CreateForm(form);
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(DefaultManager, form->sSkinManager1);
    const HWND window = form->Handle();
    ::SendMessageW(Application().Handle(), WM_NULL, 0, 0);
    EXPECT_GT(hookCalls, 0) << "the skin manager did not hook the application window";
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    Application().Run();

    EXPECT_FALSE(::IsWindow(window)) << "the main window was not destroyed";
    EXPECT_EQ(Application().MainForm(), nullptr);
    EXPECT_EQ(DefaultManager, nullptr) << "the skin manager was not destroyed";
    hookCalls = 0;
    ::SendMessageW(Application().Handle(), WM_NULL, 0, 0);
    EXPECT_EQ(hookCalls, 0) << "the skin manager's hook on the application window is still there";
    acWindowSkinning.MainWindowHook = skinningHook;
    const long gdiAfter = test::LiveGdiObjects();
    EXPECT_LE(gdiAfter, gdiBefore) << "GDI objects " << gdiBefore << " -> " << gdiAfter;
}

}  // namespace
}  // namespace qv
