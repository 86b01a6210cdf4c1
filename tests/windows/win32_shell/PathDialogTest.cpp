// The folder chooser driven as a person would, from inside its own modal loop: the real
// pointer clicks nodes and buttons, real keys end and cancel a name being typed, the grip
// is dragged; the answers are read back from the disk, the tree and Execute's result.
// Every tree below the desktop is rooted at a temporary folder (the Z: drive is the whole
// Linux file system: it is never expanded).
#include "GdiObjects.h"
#include "controls/win32_skinned/SkinnedWindow.h"

#include "framework/SysUtils.h"
#include "framework/win32/Dialogs.h"
#include "windows/win32/acPathDialog.h"

#include <shlobj.h>

#include <filesystem>
#include <functional>

namespace qv {
namespace {

using Script = std::function<void(TPathDialogForm&)>;

Script gScript;
bool gScriptRan = false;

// Runs the script once the chooser is on screen; whatever the script leaves open is a
// failure, and the dialog is then cancelled so the test goes on.
void CALLBACK RunScript(HWND, UINT, UINT_PTR id, DWORD) {
    HWND wnd = ::FindWindowW(L"TPathDialogForm", nullptr);
    auto* form = wnd && ::IsWindowVisible(wnd) ? dynamic_cast<TPathDialogForm*>(TWinControl::FindControl(wnd))
                                               : nullptr;
    if (!form) return;
    ::KillTimer(nullptr, id);
    gScriptRan = true;
    ::SetWindowPos(wnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    test::PumpUntil([&] { return ::GetActiveWindow() == wnd && !::GetUpdateRect(wnd, nullptr, FALSE); });
    Application().ProcessMessages();
    Script script = std::move(gScript);
    script(*form);
    if (form->ModalResult() == mrNone) {
        ADD_FAILURE() << "the script left the chooser open";
        form->SetModalResult(mrCancel);
    }
}

// A script that hangs must not hang the run: after 20 s every chooser and message box
// of the thread is closed.
void CALLBACK Watchdog(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    ADD_FAILURE() << "the script did not finish in time";
    for (const wchar_t* cls : {L"#32770", L"TMessageForm", L"TPathDialogForm"})
        if (HWND wnd = ::FindWindowW(cls, nullptr)) ::PostMessageW(wnd, WM_CLOSE, 0, 0);
}

// Sends a press and release of a key or mouse button and pumps until this thread has
// taken both (the toggle bit of the key's state flips at the press and the key reads up
// again), then what they brought. A key that ends a modal loop of the chooser may be
// taken where this thread's key state never shows it: then a second is enough.
template <class F>
void TakeInput(WORD vk, F send) {
    const SHORT toggled = ::GetKeyState(vk) & 1;
    send();
    test::PumpUntil([&] { return (::GetKeyState(vk) & 1) != toggled && (::GetKeyState(vk) & 0x8000) == 0; }, 1000);
    Application().ProcessMessages();
}

// The real pointer pressed at one screen point, moved to another and released there.
// The whole gesture is queued at once: the tree and the window's sizing loop track the
// button in loops of their own that wait for its release.
void Drag(POINT from, POINT to) {
    // The press waits until the pointer is really there: the display reports a moved
    // pointer back a little later, and a press before that could land elsewhere.
    test::MovePointer(from.x, from.y);
    test::PumpUntil(
        [&] {
            POINT at{};
            ::GetCursorPos(&at);
            return at.x == from.x && at.y == from.y;
        },
        1000);
    test::PumpFor(100);  // a late report of the earlier position cannot be seen coming: it is outlasted
    // Every event carries its own position, so a late report of an earlier pointer
    // position cannot move the press or the release.
    auto at = [](POINT p, DWORD flags) {
        INPUT i{};
        i.type = INPUT_MOUSE;
        i.mi.dx = static_cast<LONG>(p.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1));
        i.mi.dy = static_cast<LONG>(p.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1));
        i.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        return i;
    };
    INPUT in[3] = {at(from, MOUSEEVENTF_LEFTDOWN), at(to, 0), at(to, MOUSEEVENTF_LEFTUP)};
    TakeInput(VK_LBUTTON, [&] { ::SendInput(3, in, sizeof(INPUT)); });
}

// The real pointer pressed and released at a point of a window's client area.
void ClickAt(HWND wnd, int x, int y) {
    POINT p{x, y};
    ::ClientToScreen(wnd, &p);
    Drag(p, p);
}

void ClickControl(TWinControl* control) { ClickAt(control->Handle(), control->Width() / 2, control->Height() / 2); }

void ClickNode(TsShellTreeView* tree, TTreeNode* node) {
    node->MakeVisible();
    const TRect r = node->DisplayRect(true);
    ClickAt(tree->Handle(), (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

void PressKey(WORD key) {
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = key;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    TakeInput(key, [&] { ::SendInput(2, in, sizeof(INPUT)); });
}

TTreeNode* ChildNamed(TsShellTreeView* tree, TTreeNode* parent, const String& path) {
    for (TTreeNode* c = parent->GetFirstChild(); c; c = c->GetNextSibling())
        if (SameText(tree->Folders(c)->PathName(), path)) return c;
    return nullptr;
}

String CurrentDirectory() {
    wchar_t buffer[MAX_PATH * 4] = {};
    ::GetCurrentDirectoryW(static_cast<DWORD>(std::size(buffer)), buffer);
    return ExcludeTrailingPathDelimiter(buffer);
}

// The text of the engine's message box (a system box) the next click opens, answered
// with its OK button.
String gBoxText;
void CALLBACK AnswerBox(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = ::FindWindowW(L"#32770", L"Error");
    if (!box || !::IsWindowVisible(box)) return;
    ::KillTimer(nullptr, id);
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t text[512] = {};
        ::GetWindowTextW(child, text, 512);
        if (String(text).find(L"Directory") == 0) gBoxText = text;
    }
    if (HWND ok = ::FindWindowExW(box, nullptr, nullptr, L"OK")) ::PostMessageW(ok, BM_CLICK, 0, 0);
}

class Chooser : public test::SkinnedWindow {
protected:
    void SetUp() override {
        test::SkinnedWindow::SetUp();
        if (HasFatalFailure()) return;
        FOldDirectory = CurrentDirectory();
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        static int serial = 0;
        root = ExcludeTrailingPathDelimiter(temp) + L"\\qv-chooser-" + IntToStr(::GetCurrentProcessId()) + L"-" +
               IntToStr(++serial);
        std::filesystem::create_directories(root);
    }
    void TearDown() override {
        ::SetCurrentDirectoryW(FOldDirectory.c_str());
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
        test::SkinnedWindow::TearDown();
    }
    String Make(const String& relative) {
        const String path = root + L"\\" + relative;
        std::filesystem::create_directories(path);
        return path;
    }
    bool Run(TsPathDialog& dialog, Script script) {
        gScript = std::move(script);
        gScriptRan = false;
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &RunScript);
        const UINT_PTR watchdog = ::SetTimer(nullptr, 0, 20000, &Watchdog);
        const bool result = dialog.Execute();
        ::KillTimer(nullptr, timer);
        ::KillTimer(nullptr, watchdog);
        EXPECT_TRUE(gScriptRan) << "the chooser never showed";
        EXPECT_EQ(::FindWindowW(L"TPathDialogForm", nullptr), nullptr) << "the chooser outlived Execute";
        return result;
    }

    String root;

private:
    String FOldDirectory;
};

TEST_F(Chooser, EmptyPathSelectsTheDesktopAndTheComputerFolderDisablesOkAndCreate) {
    wchar_t desktop[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, desktop);
    const bool desktopIsDirectory = DirectoryExists(desktop);
    LPITEMIDLIST drives = nullptr;
    ASSERT_HRESULT_SUCCEEDED(::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &drives));
    UniquePidl computer(drives);
    TsPathDialog dialog(nullptr);
    const bool confirmed = Run(dialog, [&](TPathDialogForm& f) {
        TsShellTreeView* tree = f.sShellTreeView1;
        TTreeNode* top = tree->Items().GetFirstNode();
        ASSERT_NE(top, nullptr);
        EXPECT_EQ(tree->Selected(), top);
        EXPECT_TRUE(ILIsEmpty(tree->SelectedFolder()->AbsoluteID())) << "the desktop is the first node";
        EXPECT_EQ(f.sBitBtn1->Enabled(), desktopIsDirectory);
        EXPECT_EQ(f.sBitBtn3->Enabled(), desktopIsDirectory);
        TTreeNode* node = nullptr;
        for (TTreeNode* c = top->GetFirstChild(); c; c = c->GetNextSibling())
            if (ILIsEqual(tree->Folders(c)->AbsoluteID(), computer.get())) node = c;
        ASSERT_NE(node, nullptr) << "no computer folder below the desktop";
        ClickNode(tree, node);
        EXPECT_EQ(tree->Selected(), node);
        EXPECT_FALSE(f.sBitBtn1->Enabled());
        EXPECT_FALSE(f.sBitBtn3->Enabled());
        ClickControl(f.sBitBtn2);
    });
    EXPECT_FALSE(confirmed);
    EXPECT_TRUE(dialog.Path.empty());
}

// Create numbers past the folder that exists, then the name is typed in place: Escape
// drops the typing and Enter takes it, both with the dialog open; Enter again confirms.
TEST_F(Chooser, CreateNumbersTheNewFolderAndKeysWhileEditingOnlyEndTheEdit) {
    Make(L"New folder1");
    TsPathDialog dialog(nullptr);
    dialog.Root = root;
    const bool confirmed = Run(dialog, [&](TPathDialogForm& f) {
        TsShellTreeView* tree = f.sShellTreeView1;
        ASSERT_TRUE(f.sBitBtn3->Enabled());
        ClickControl(f.sBitBtn3);
        const String created = root + L"\\New folder2";
        EXPECT_TRUE(DirectoryExists(created));
        EXPECT_TRUE(SameText(tree->Path(), created)) << tree->Path();
        ASSERT_TRUE(tree->IsEditing());
        PressKey(VK_ESCAPE);
        EXPECT_FALSE(tree->IsEditing());
        EXPECT_TRUE(::IsWindowVisible(f.Handle()));
        EXPECT_TRUE(DirectoryExists(created)) << "a cancelled edit renames nothing";

        tree->Selected()->EditText();
        HWND edit = reinterpret_cast<HWND>(::SendMessageW(tree->Handle(), TVM_GETEDITCONTROL, 0, 0));
        ASSERT_NE(edit, nullptr);
        ::SetWindowTextW(edit, L"Renamed");
        PressKey(VK_RETURN);
        EXPECT_FALSE(tree->IsEditing());
        EXPECT_TRUE(::IsWindowVisible(f.Handle()));
        EXPECT_TRUE(DirectoryExists(root + L"\\Renamed"));
        EXPECT_FALSE(DirectoryExists(created));
        EXPECT_TRUE(SameText(tree->Path(), root + L"\\Renamed")) << tree->Path();
        EXPECT_EQ(tree->Selected()->Text(), L"Renamed");
        PressKey(VK_RETURN);
    });
    EXPECT_TRUE(confirmed);
    EXPECT_TRUE(SameText(dialog.Path, root + L"\\Renamed")) << dialog.Path;
}

TEST_F(Chooser, AConfirmedFolderIsKeptAndPreselectedNextTimeAndAVanishedOneIsNoAnswer) {
    const String deep = Make(L"a\\b");
    const String other = Make(L"c");
    TsPathDialog dialog(nullptr);
    dialog.Root = root;
    dialog.Path = deep;
    EXPECT_TRUE(Run(dialog, [&](TPathDialogForm& f) {
        EXPECT_TRUE(SameText(f.sShellTreeView1->Path(), deep)) << f.sShellTreeView1->Path();
        EXPECT_TRUE(SameText(CurrentDirectory(), deep)) << CurrentDirectory();
        TTreeNode* c = ChildNamed(f.sShellTreeView1, f.sShellTreeView1->Items().GetFirstNode(), other);
        ASSERT_NE(c, nullptr);
        ClickNode(f.sShellTreeView1, c);
        ClickControl(f.sBitBtn1);
    }));
    EXPECT_TRUE(SameText(dialog.Path, other)) << dialog.Path;

    EXPECT_FALSE(Run(dialog, [&](TPathDialogForm& f) {
        EXPECT_TRUE(SameText(f.sShellTreeView1->Path(), other)) << "preselected: " << f.sShellTreeView1->Path();
        EXPECT_TRUE(SameText(CurrentDirectory(), other));
        ::SetCurrentDirectoryW(root.c_str());
        ASSERT_TRUE(::RemoveDirectoryW(other.c_str()));
        ClickControl(f.sBitBtn1);
    }));
    EXPECT_TRUE(SameText(dialog.Path, other)) << "a failed answer leaves Path alone";
}

TEST_F(Chooser, AFolderThatCannotBeCreatedGivesTheMessageAndTheDialogStays) {
    const String gone = Make(L"gone");
    TsPathDialog dialog(nullptr);
    dialog.Root = root;
    dialog.Path = gone;
    dialog.NoChangeDir = true;
    gBoxText.clear();
    EXPECT_FALSE(Run(dialog, [&](TPathDialogForm& f) {
        ASSERT_TRUE(::RemoveDirectoryW(gone.c_str()));
        const UINT_PTR answer = ::SetTimer(nullptr, 0, 50, &AnswerBox);
        ClickControl(f.sBitBtn3);
        test::PumpUntil([] { return !gBoxText.empty(); });
        ::KillTimer(nullptr, answer);
        EXPECT_EQ(gBoxText, L"Directory " + gone + L"\\New folder1 can`t be created!");
        EXPECT_TRUE(::IsWindowVisible(f.Handle()));
        EXPECT_EQ(f.ModalResult(), mrNone);
        ClickControl(f.sBitBtn2);
    }));
}

TEST_F(Chooser, ABadRootRaisesAndLeavesNoDialogAndAnUnparsablePathSaysSo) {
    TsPathDialog dialog(nullptr);
    dialog.Root = root + L"\\missing";
    EXPECT_THROW(dialog.Execute(), Exception);
    EXPECT_EQ(::FindWindowW(L"TPathDialogForm", nullptr), nullptr);

    auto* tree = Place<TsShellTreeView>(10, 10, 200, 200);
    tree->SetRoot(root);
    try {
        tree->SetPath(root + L"\\missing\\deeper");
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Error Setting Path");
    }
    EXPECT_TRUE(SameText(tree->Path(), root)) << "the selection stays";
}

// The form, its skinned frame and faces, the tree and its shell images are made and freed
// on every run: after a first run, five more leave as many GDI objects as there were.
TEST_F(Chooser, RepeatedRunsLeaveNoGdiObjectBehind) {
    Make(L"a\\b");
    TsPathDialog dialog(nullptr);
    dialog.Root = root;
    dialog.NoChangeDir = true;
    auto once = [&] {
        Run(dialog, [](TPathDialogForm& f) {
            f.sShellTreeView1->Items().GetFirstNode()->Expand(true);
            Application().ProcessMessages();  // what the expansion queued
            f.SetModalResult(mrCancel);
        });
        Application().ProcessMessages();  // what the closed chooser queued
    };
    once();
    const long before = test::LiveGdiObjects();
    for (int i = 0; i < 5; ++i) once();
    EXPECT_EQ(test::LiveGdiObjects(), before);
}

// With the root buttons the form grows by their column; "My Computer" roots the tree there.
TEST_F(Chooser, ARootButtonRootsTheTreeAtItsFolder) {
    LPITEMIDLIST drives = nullptr;
    ASSERT_HRESULT_SUCCEEDED(::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &drives));
    UniquePidl computer(drives);
    TsPathDialog dialog(nullptr);
    dialog.Root = root;
    dialog.ShowRootBtns = true;
    Run(dialog, [&](TPathDialogForm& f) {
        RECT w{};
        ::GetWindowRect(f.Handle(), &w);
        EXPECT_GT(w.right - w.left, 350 + 101);
        EXPECT_TRUE(f.sScrollBox1->Visible());
        TsBitBtn* button = nullptr;
        for (int i = 0; i < f.sScrollBox1->ControlCount(); ++i)
            if (auto* b = dynamic_cast<TsBitBtn*>(f.sScrollBox1->Controls(i)); b && b->Tag == rfMyComputer) button = b;
        ASSERT_NE(button, nullptr);
        EXPECT_GE(f.sShellTreeView1->Left(), f.sScrollBox1->Left() + f.sScrollBox1->Width());
        ClickControl(button);
        TacShellFolder* top = f.sShellTreeView1->Folders(f.sShellTreeView1->Items().GetFirstNode());
        ASSERT_NE(top, nullptr);
        EXPECT_TRUE(ILIsEqual(top->AbsoluteID(), computer.get()));
        EXPECT_FALSE(f.sBitBtn1->Enabled());
        ClickControl(f.sBitBtn2);
    });
}

// Dragging the grip far up and left stops at the minimum size; the tree and the
// buttons keep their distances to the edges they are anchored to.
TEST_F(Chooser, TheGripResizesDownToTheMinimumAndTheControlsFollowTheirAnchors) {
    TsPathDialog dialog(nullptr);
    dialog.Root = root;
    Run(dialog, [&](TPathDialogForm& f) {
        auto gaps = [&](TControl* c) {
            const TRect client = f.ClientRect();
            return std::pair{client.Right - (c->Left() + c->Width()), client.Bottom - (c->Top() + c->Height())};
        };
        const auto tree = gaps(f.sShellTreeView1), ok = gaps(f.sBitBtn1), create = gaps(f.sBitBtn3);
        RECT before{}, client{};
        ::GetWindowRect(f.Handle(), &before);
        EXPECT_EQ(before.right - before.left, 350);
        EXPECT_EQ(before.bottom - before.top, 420);
        ::GetClientRect(f.Handle(), &client);
        POINT grip{client.right - 4, client.bottom - 4};
        ::ClientToScreen(f.Handle(), &grip);
        EXPECT_EQ(::SendMessageW(f.Handle(), WM_NCHITTEST, 0, MAKELPARAM(grip.x, grip.y)), HTBOTTOMRIGHT);
        Drag(grip, {grip.x - 300, grip.y - 300});
        RECT after{};
        ::GetWindowRect(f.Handle(), &after);
        EXPECT_EQ(after.right - after.left, 275);
        EXPECT_EQ(after.bottom - after.top, 250);
        EXPECT_EQ(gaps(f.sShellTreeView1), tree);
        EXPECT_EQ(gaps(f.sBitBtn1), ok);
        EXPECT_EQ(gaps(f.sBitBtn3).second, create.second);
        EXPECT_EQ(f.sBitBtn3->Left(), 12);
        // The frame and the faces come from the skin: the provider serves the form, and
        // the buttons and the tree show painted faces, not blank black ones.
        ASSERT_NE(TsSkinProvider::ProviderOf(&f), nullptr);
        EXPECT_EQ(f.sSkinProvider1->SkinSection(), L"DIALOG");
        const auto shot = test::CaptureScreenOf(f.Handle());
        RECT w{};
        ::GetWindowRect(f.Handle(), &w);
        for (TWinControl* c : {static_cast<TWinControl*>(f.sBitBtn1), static_cast<TWinControl*>(f.sShellTreeView1)}) {
            POINT p{c->Width() / 2, c->Height() / 2};
            ::ClientToScreen(c->Handle(), &p);
            EXPECT_NE(test::Rgb(*shot, p.x - w.left, p.y - w.top), 0u) << c->Name();
        }
        ClickControl(f.sBitBtn2);
    });
}

}  // namespace
}  // namespace qv
