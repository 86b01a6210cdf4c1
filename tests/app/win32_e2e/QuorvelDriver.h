// Drives a running quorvel.exe from another process: starts it, finds its windows by
// class and caption, clicks buttons, answers its dialogs and reads the list file.
#pragma once
#include "win32/MessagePump.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {

using std::wstring;

// Waits up to `ms` for `ready` to hold, pumping this thread's messages meanwhile: the
// test pump with a longer default, since another program's answer is waited for.
inline bool WaitFor(const std::function<bool()>& ready, int ms = 10000) { return qv::test::PumpUntil(ready, ms); }

// Presses and releases the left button over the middle of wnd with real input. The
// pointer is moved until the system reports it there (a move handed to another
// process's desktop is not always in place at once); false, and nothing pressed, when it
// cannot be put there or wnd is not on top at that point.
bool RealClick(HWND wnd);

// Windows path of the program under test (the build places it beside the tests).
wstring ProgramPath();
// The folder the programs started from this process keep their list in: a fresh one
// under the temporary folder, named to them through QUORVEL_LIST_FOLDER (inherited), so
// the user's own list is never touched. Removed with its files when this process ends.
wstring ListFolder();
// The list file the program uses: ListFolder()\listbox.data.
wstring ListFilePath();
// Names of the files in ListFolder() that end in ".tmp".
std::vector<wstring> TemporaryFiles();
std::string ReadFileBytes(const wstring& name);
// The lines of the list file (ANSI, CR LF), or an empty list when it is missing.
std::vector<wstring> ListFileLines();

wstring WindowText(HWND wnd);
wstring ClassOf(HWND wnd);
// A descendant of parent with the class and (when given) text, or nullptr.
HWND FindDescendant(HWND parent, const wchar_t* className, const wchar_t* text = nullptr);
// Every text of parent's descendants joined by newlines (static texts, labels).
wstring AllTexts(HWND parent);

class Program {
public:
    Program() = default;
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Starts quorvel.exe and waits for its main window.
    bool Start();
    // Closes the main window and waits for the process to end; true when it ended.
    bool Close();
    // Ends the process at once (TerminateProcess), as a crash or a power cut would.
    void Kill();
    bool Running() const;
    DWORD Pid() const noexcept { return FInfo.dwProcessId; }
    HANDLE Process() const noexcept { return FInfo.hProcess; }
    HWND MainWindow() const noexcept { return FMain; }

    HWND Button(const wchar_t* caption) const;
    HWND ListBox() const;
    // Clicks a button without waiting for what it opens (posted, so a modal dialog it
    // opens does not block this process).
    void Click(const wchar_t* caption) const;
    // A top-level window of the program with that class other than the main window, or
    // nullptr after `ms`.
    HWND WaitForTopLevel(const wchar_t* className, int ms = 10000) const;
    std::vector<wstring> ListItems() const;
    void Select(int index) const;

private:
    PROCESS_INFORMATION FInfo{};
    HWND FMain = nullptr;
};

// Drops the files onto a window of another process as the shell does: a DROPFILES
// block of wide names in that process's memory, handed over with WM_DROPFILES.
// Wine reads a drop handle that is a plain pointer in the receiving process; the block is
// left to the receiver, whose DragFinish cannot free it (it is not from its heap).
bool DropFiles(HWND target, DWORD pid, const std::vector<wstring>& names);

// Live GDI objects of another process: GetGuiResources on Windows; under Wine (which
// answers 0 there) the process's shared GDI handle table, read through its PEB. -1 when
// neither gives a number.
long LiveGdiObjectsOf(HANDLE process);

// Presses a dialog's button by its caption (BM_CLICK posted).
bool PressButton(HWND dialog, const wchar_t* className, const wchar_t* caption);

}  // namespace e2e
