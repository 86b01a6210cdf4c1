// Start-up of the real program with long lists, seen from outside as a user sees it.
// For each list length it writes a list file of that many paths into a fresh folder
// (named to the program through QUORVEL_LIST_FOLDER), starts quorvel.exe, and polls
// from this process: the time until its main window is visible, the time until the
// first row of the list shows on the screen (text pixels read back from the screen
// where the list's first row stands), and the program's resident memory at that moment.
// Then it closes the program and goes on; every length runs in two passes.
//
// Not a test: it prints figures. Run it inside a Wine session (see bench/README.md):
//   scripts/wine-session.sh build/win64 build/win64/wine-run.sh
//   build/win64/bench/win32/quorvel_startup_probe.exe [count ...]
#include <windows.h>

#include <psapi.h>

#include "ListFileBench.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using std::wstring;

using qv::bench::Now;

wstring ProgramPath() {
    const std::string unix = QUORVEL_EXE_PATH;
    if (unix.size() > 1 && unix[1] == ':') return wstring(unix.begin(), unix.end());
    wstring path = L"Z:";
    for (char c : unix) path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return path;
}

// A fresh folder with a list file of `count` paths (ANSI, CR LF) in it.
wstring WriteListFolder(int count, int pass) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const wstring folder = wstring(temp) + L"qv-probe-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                           std::to_wstring(count) + L"-" + std::to_wstring(pass);
    qv::bench::WriteListFile(folder, count);
    return folder;
}

void RemoveListFolder(const wstring& folder) {
    WIN32_FIND_DATAW data;
    const HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do ::DeleteFileW((folder + L"\\" + data.cFileName).c_str());
        while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(folder.c_str());
}

struct TopSearch {
    DWORD Pid;
    HWND Found;
};

BOOL CALLBACK FindMainWindow(HWND wnd, LPARAM data) {
    auto* search = reinterpret_cast<TopSearch*>(data);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    wchar_t name[64] = {};
    ::GetClassNameW(wnd, name, 64);
    if (pid != search->Pid || wstring(name) != L"TForm_quorvel") return TRUE;
    search->Found = wnd;
    return FALSE;
}

HWND MainWindowOf(DWORD pid) {
    TopSearch search{pid, nullptr};
    ::EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

// Whether the first row of the list shows text on the screen: a dark pixel in the
// row's band (the skinned background is light, the text black).
bool FirstRowShows(HWND main) {
    const HWND list = ::FindWindowExW(main, nullptr, L"TsListBox", nullptr);
    RECT r{};
    if (!list || !::IsWindowVisible(list) || !::GetClientRect(list, &r)) return false;
    POINT origin{0, 0};
    ::ClientToScreen(list, &origin);
    const int width = r.right, height = std::min<int>(r.bottom, 14);
    if (width <= 0 || height <= 0) return false;
    const HDC screen = ::GetDC(nullptr);
    const HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HBITMAP dib = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = ::SelectObject(memory, dib);
    ::BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    bool dark = false;
    const auto* px = static_cast<const unsigned char*>(bits);
    for (int i = 0; i < width * height && !dark; ++i) dark = px[4 * i] < 80 && px[4 * i + 1] < 80 && px[4 * i + 2] < 80;
    ::SelectObject(memory, old);
    ::DeleteObject(dib);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return dark;
}

struct Result {
    double ToWindow = -1, ToRows = -1;  // seconds after the start
    double ResidentMb = -1, PeakMb = -1;
};

void ReadMemory(HANDLE process, Result& result) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!::GetProcessMemoryInfo(process, &counters, sizeof counters)) return;
    result.ResidentMb = static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
    result.PeakMb = static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

// Polls the started program until its rows show (or, with no rows to show, its window),
// for at most a minute.
void Watch(const PROCESS_INFORMATION& info, double started, bool rowsExpected, Result& result) {
    HWND main = nullptr;
    while (Now() - started < 60 && ::WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) {
        if (!main) main = MainWindowOf(info.dwProcessId);
        if (main && result.ToWindow < 0 && ::IsWindowVisible(main)) result.ToWindow = Now() - started;
        if (result.ToWindow >= 0 && (!rowsExpected || FirstRowShows(main))) {
            if (rowsExpected) result.ToRows = Now() - started;
            ReadMemory(info.hProcess, result);
            return;
        }
        ::Sleep(2);
    }
}

Result RunOnce(int count, int pass) {
    const wstring folder = WriteListFolder(count, pass);
    ::SetEnvironmentVariableW(L"QUORVEL_LIST_FOLDER", folder.c_str());
    const wstring exe = ProgramPath();
    wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION info{};
    Result result;
    const double started = Now();
    if (::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &info)) {
        Watch(info, started, count > 0, result);
        if (const HWND main = MainWindowOf(info.dwProcessId)) ::PostMessageW(main, WM_CLOSE, 0, 0);
        if (::WaitForSingleObject(info.hProcess, 20000) != WAIT_OBJECT_0) ::TerminateProcess(info.hProcess, 1);
        ::WaitForSingleObject(info.hProcess, 5000);
        ::CloseHandle(info.hThread);
        ::CloseHandle(info.hProcess);
    }
    RemoveListFolder(folder);
    return result;
}

// The cost per path: the time to the window beyond that of an empty list, per path.
void PrintRow(int count, int pass, const Result& r, double emptyToWindow) {
    const double perPath = count > 0 && r.ToWindow >= 0 ? (r.ToWindow - emptyToWindow) * 1e6 / count : 0;
    std::printf("%8d %4d %12.0f %12.0f %10.1f %12.1f %9.1f\n", count, pass, r.ToWindow * 1e3,
                r.ToRows >= 0 ? r.ToRows * 1e3 : -1.0, perPath, r.ResidentMb, r.PeakMb);
    std::fflush(stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) counts.push_back(std::wcstol(argv[i], nullptr, 10));
    if (counts.empty()) counts = {0, 1000, 10000, 100000};
    std::printf("%8s %4s %12s %12s %10s %12s %9s\n", "paths", "pass", "window ms", "rows ms", "us/path", "resident MB",
                "peak MB");
    bool allShown = true;
    for (int pass = 1; pass <= 2; ++pass) {
        double emptyToWindow = 0;
        for (int count : counts) {
            const Result r = RunOnce(count, pass);
            if (count == 0) emptyToWindow = r.ToWindow;
            PrintRow(count, pass, r, emptyToWindow);
            allShown = allShown && r.ToWindow >= 0;
        }
    }
    return allShown ? 0 : 1;
}
