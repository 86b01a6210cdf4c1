// Helpers shared by the Windows tests: temporary folders and their files, and finding the
// windows a modal call shows so a thread timer can answer them.
#pragma once
#include "framework/Types.h"

#include <windows.h>

#include <functional>
#include <vector>

namespace qv::test {

// A fresh folder under the temporary folder, removed with its files at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const String& Path() const noexcept { return FPath; }  // without a trailing delimiter
    String CreateFile(const String& name, const char* content = "x");
private:
    String FPath;
    std::vector<String> FFiles;
};

// The names of the files (not folders) that match pattern, such as L"C:\\dir\\*.tmp".
std::vector<String> FilesIn(const String& pattern);
// Deletes every file in folder (given without a trailing delimiter), read-only ones too.
void RemoveFilesIn(const String& folder);

String ClassNameOf(HWND wnd);
String TextOf(HWND wnd);
// The first descendant of parent (depth first) whose class is className; none if absent.
HWND FindDescendant(HWND parent, const String& className);
// Visible top-level windows of the calling thread whose class is className.
std::vector<HWND> ThreadWindows(const String& className);

// Calls answer(window) on each visible top-level window of this thread with the given
// class, once per window, from a thread timer: it runs inside whatever modal loop the
// thread is in. Stops with the object.
class ModalAnswerer {
public:
    ModalAnswerer(String className, std::function<void(HWND)> answer, UINT intervalMs = 30);
    ~ModalAnswerer();
    ModalAnswerer(const ModalAnswerer&) = delete;
    ModalAnswerer& operator=(const ModalAnswerer&) = delete;
    int Answered() const noexcept { return FAnswered; }
private:
    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD) noexcept;
    void Tick();
    String FClassName;
    std::function<void(HWND)> FAnswer;
    UINT_PTR FTimer = 0;
    std::vector<HWND> FSeen;
    int FAnswered = 0;
};

// Answers every framework message box (TMessageForm) of this thread by pressing the button
// whose caption is given; textSeen, when given, receives the message the last one showed.
ModalAnswerer PressOnMessageForms(const String& caption, String* textSeen = nullptr);

}  // namespace qv::test
