// Where the start-up time of a long list goes, inside one process: the main window is
// made as the program makes it, from a list file of N paths, and the phases are timed
// apart: reading and decoding the file, making the window (description, skin, and the
// list filled from the file), showing it with its first paint, then filling the shown
// list again. A second pass counts the messages the list window receives while it is
// filled. Beside it, the system's own list box filled with the same strings, with and
// without LB_INITSTORAGE, is the least the fill can cost.
//
// Not a test: it prints figures. Run it inside a Wine session (see bench/README.md):
//   scripts/wine-session.sh build/win64 build/win64/wine-run.sh
//   build/win64/bench/win32/quorvel_list_fill_timing.exe [paths, default 100000]
#include "app/win32/PathListFile.h"
#include "app/win32/formmain.h"
#include "framework/win32/Application.h"
#include "windows/win32/acDials.h"
#include "windows/win32/sDialogs.h"
#include "ListFileBench.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

namespace {

using qv::String;

using qv::bench::Now;

void Report(const char* what, double seconds, int count) {
    std::printf("%-44s %10.1f ms %8.2f us/path\n", what, seconds * 1e3, count ? seconds * 1e6 / count : 0.0);
    std::fflush(stdout);
}

String WriteList(int count) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const String folder = String(temp) + L"qv-fill-" + std::to_wstring(::GetCurrentProcessId());
    const String name = qv::bench::WriteListFile(folder, count);
    ::SetEnvironmentVariableW(L"QUORVEL_LIST_FOLDER", folder.c_str());
    return name;
}

HWND gCounted = nullptr;
std::map<UINT, long> gMessages;

LRESULT CALLBACK CountMessage(int code, WPARAM wParam, LPARAM lParam) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && m->hwnd == gCounted) ++gMessages[m->message];
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void CountFill(qv::TsListBox& list, const qv::TStringList& items) {
    gCounted = list.Handle();
    const HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, CountMessage, nullptr, ::GetCurrentThreadId());
    list.Items().Assign(items);
    ::UnhookWindowsHookEx(hook);
    std::printf("messages to the list during one fill of %d paths:\n", items.Count());
    for (const auto& [msg, n] : gMessages) std::printf("  0x%04x %10ld\n", msg, n);
}

// The system's list box alone, hidden, filled with the same strings.
void TimeSystemList(const qv::TStringList& items, bool initStorage) {
    const HWND list = ::CreateWindowExW(0, L"LISTBOX", L"",
                                        WS_CHILD | LBS_HASSTRINGS | LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT |
                                            WS_VSCROLL,
                                        0, 0, 300, 200, qv::Application().MainForm()->Handle(), nullptr, nullptr,
                                        nullptr);
    const double t0 = Now();
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    if (initStorage) ::SendMessageW(list, LB_INITSTORAGE, static_cast<WPARAM>(items.Count()), 64 * 2);
    for (const String& s : items) ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    Report(initStorage ? "system list box, LB_INITSTORAGE first" : "system list box, item by item", Now() - t0,
           items.Count());
    ::DestroyWindow(list);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    using namespace qv;
    const int count = argc > 1 ? static_cast<int>(std::wcstol(argv[1], nullptr, 10)) : 100000;
    const String file = WriteList(count);
    Application().Initialize();
    InstallDialogSeams();
    InstallWindowSkinningSeams();
    TStringList items;
    double t = Now();
    LoadPathList(file, items);
    Report("read and decode the list file", Now() - t, count);
    TForm_quorvel* form = nullptr;
    t = Now();
    Application().CreateForm(form);
    Report("make the main window (the fill included)", Now() - t, count);
    if (!form) return 1;
    t = Now();
    form->Show();
    ::UpdateWindow(form->Handle());
    Report("show it with its first paint", Now() - t, count);
    t = Now();
    form->sListBox1->Items().Assign(items);
    ::UpdateWindow(form->Handle());
    Report("fill the shown list again and paint", Now() - t, count);
    TimeSystemList(items, false);
    TimeSystemList(items, true);
    CountFill(*form->sListBox1, items);
    ::DeleteFileW(file.c_str());
    return 0;
}
