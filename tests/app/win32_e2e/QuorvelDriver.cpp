#include "QuorvelDriver.h"

#include "win32/TestWindows.h"

#include <shellapi.h>
#include <shlobj.h>
#include <winternl.h>

#include <cstring>

#include <fstream>
#include <iterator>

namespace e2e {

bool RealClick(HWND wnd) {
    RECT r{};
    if (!wnd || !::GetWindowRect(wnd, &r)) return false;
    const POINT target{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    const bool placed = WaitFor(
        [&] {
            ::SetCursorPos(target.x, target.y);
            ::Sleep(30);
            POINT now{};
            return ::GetCursorPos(&now) && now.x == target.x && now.y == target.y;
        },
        3000);
    if (!placed || !WaitFor([&] { return ::WindowFromPoint(target) == wnd; }, 3000)) return false;
    ::Sleep(50);  // the other program's taking of the move cannot be seen from here: it is outlasted
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    ::SendInput(1, &in, sizeof in);
    ::Sleep(80);  // a person's click holds the button a moment
    in.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &in, sizeof in);
    return true;
}

wstring ProgramPath() {
    // The build passes the program's path as the host sees it; Wine's Z: drive is the
    // host's root.
    std::string unix = QUORVEL_EXE_PATH;
    if (unix.size() > 1 && unix[1] == ':') return wstring(unix.begin(), unix.end());
    wstring path = L"Z:";
    for (char c : unix) path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return path;
}

namespace {
// Creates the list folder and names it in this process's environment, which the
// programs it starts inherit; removes it when the tests end.
class OwnListFolder {
public:
    OwnListFolder() {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        Path = wstring(temp) + L"qv-e2e-list-" + std::to_wstring(::GetCurrentProcessId());
        RemoveFiles();  // left by an earlier run whose process had the same id
        ::CreateDirectoryW(Path.c_str(), nullptr);
        ::SetEnvironmentVariableW(L"QUORVEL_LIST_FOLDER", Path.c_str());
    }
    ~OwnListFolder() {
        RemoveFiles();
        ::RemoveDirectoryW(Path.c_str());
    }
    void RemoveFiles() { qv::test::RemoveFilesIn(Path); }
    wstring Path;
};
}  // namespace

wstring ListFolder() {
    static OwnListFolder folder;
    return folder.Path;
}

wstring ListFilePath() { return ListFolder() + L"\\listbox.data"; }

std::vector<wstring> TemporaryFiles() { return qv::test::FilesIn(ListFolder() + L"\\*.tmp"); }

std::string ReadFileBytes(const wstring& name) {
    std::ifstream in(name.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<wstring> ListFileLines() {
    const std::string bytes = ReadFileBytes(ListFilePath());
    std::vector<wstring> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) end = bytes.size();
        const std::string line = bytes.substr(start, end - start);
        lines.emplace_back(line.begin(), line.end());
        start = end + 2;
    }
    return lines;
}

wstring WindowText(HWND wnd) {
    const int n = ::GetWindowTextLengthW(wnd);
    wstring s(static_cast<size_t>(n) + 1, L'\0');
    s.resize(static_cast<size_t>(::GetWindowTextW(wnd, s.data(), n + 1)));
    return s;
}

wstring ClassOf(HWND wnd) {
    wchar_t name[256] = {};
    ::GetClassNameW(wnd, name, 256);
    return name;
}

namespace {
struct FindState {
    const wchar_t* ClassName;
    const wchar_t* Text;
    HWND Found = nullptr;
};
BOOL CALLBACK FindChild(HWND wnd, LPARAM data) {
    auto* state = reinterpret_cast<FindState*>(data);
    if (ClassOf(wnd) == state->ClassName && (!state->Text || WindowText(wnd) == state->Text)) {
        state->Found = wnd;
        return FALSE;
    }
    return TRUE;
}
BOOL CALLBACK CollectText(HWND wnd, LPARAM data) {
    auto* all = reinterpret_cast<wstring*>(data);
    const wstring t = WindowText(wnd);
    if (!t.empty()) *all += t + L"\n";
    return TRUE;
}
struct TopState {
    DWORD Pid;
    const wchar_t* ClassName;
    HWND Exclude;
    HWND Found = nullptr;
};
BOOL CALLBACK FindTop(HWND wnd, LPARAM data) {
    auto* state = reinterpret_cast<TopState*>(data);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    if (pid == state->Pid && wnd != state->Exclude && ::IsWindowVisible(wnd) && ClassOf(wnd) == state->ClassName) {
        state->Found = wnd;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND FindDescendant(HWND parent, const wchar_t* className, const wchar_t* text) {
    FindState state{className, text};
    ::EnumChildWindows(parent, FindChild, reinterpret_cast<LPARAM>(&state));
    return state.Found;
}

wstring AllTexts(HWND parent) {
    wstring all;
    ::EnumChildWindows(parent, CollectText, reinterpret_cast<LPARAM>(&all));
    return all;
}

Program::~Program() {
    if (FInfo.hProcess) {
        if (Running()) {
            ::TerminateProcess(FInfo.hProcess, 1);
            ::WaitForSingleObject(FInfo.hProcess, 5000);
        }
        ::CloseHandle(FInfo.hProcess);
        ::CloseHandle(FInfo.hThread);
    }
}

bool Program::Start() {
    ListFolder();  // named in the environment the program inherits
    wstring exe = ProgramPath();
    wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &FInfo))
        return false;
    return WaitFor([this] {
        TopState state{FInfo.dwProcessId, L"TForm_quorvel", nullptr};
        ::EnumWindows(FindTop, reinterpret_cast<LPARAM>(&state));
        FMain = state.Found;
        return FMain != nullptr;
    });
}

bool Program::Running() const { return FInfo.hProcess && ::WaitForSingleObject(FInfo.hProcess, 0) == WAIT_TIMEOUT; }

bool Program::Close() {
    if (FMain) ::PostMessageW(FMain, WM_CLOSE, 0, 0);
    return ::WaitForSingleObject(FInfo.hProcess, 10000) == WAIT_OBJECT_0;
}

void Program::Kill() {
    if (!FInfo.hProcess) return;
    ::TerminateProcess(FInfo.hProcess, 1);
    ::WaitForSingleObject(FInfo.hProcess, 10000);
}

HWND Program::Button(const wchar_t* caption) const { return FindDescendant(FMain, L"TsBitBtn", caption); }

HWND Program::ListBox() const { return FindDescendant(FMain, L"TsListBox"); }

void Program::Click(const wchar_t* caption) const {
    HWND button = Button(caption);
    if (button) ::PostMessageW(button, BM_CLICK, 0, 0);
}

HWND Program::WaitForTopLevel(const wchar_t* className, int ms) const {
    HWND found = nullptr;
    WaitFor(
        [&] {
            TopState state{FInfo.dwProcessId, className, FMain};
            ::EnumWindows(FindTop, reinterpret_cast<LPARAM>(&state));
            found = state.Found;
            return found != nullptr;
        },
        ms);
    return found;
}

std::vector<wstring> Program::ListItems() const {
    std::vector<wstring> items;
    HWND list = ListBox();
    const int n = static_cast<int>(::SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        const int len = static_cast<int>(::SendMessageW(list, LB_GETTEXTLEN, i, 0));
        if (len < 0) break;  // the list changed while it was read; callers poll again
        wstring s(static_cast<size_t>(len) + 1, L'\0');
        ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(s.data()));
        s.resize(static_cast<size_t>(len));
        items.push_back(s);
    }
    return items;
}

void Program::Select(int index) const { ::SendMessageW(ListBox(), LB_SETCURSEL, index, 0); }

bool DropFiles(HWND target, DWORD pid, const std::vector<wstring>& names) {
    std::vector<wchar_t> block(sizeof(DROPFILES) / sizeof(wchar_t) + 1, L'\0');
    for (const wstring& name : names) {
        block.insert(block.end() - 1, name.begin(), name.end());
        block.insert(block.end() - 1, L'\0');
    }
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = TRUE;
    std::memcpy(block.data(), &header, sizeof header);
    const SIZE_T bytes = block.size() * sizeof(wchar_t);
    // The block starts a little into the allocation: what a heap would read in front of
    // it, when the receiver hands it back, is readable zeros rather than no memory.
    constexpr SIZE_T kLead = 64;
    HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return false;
    auto* remote = static_cast<char*>(
        ::VirtualAllocEx(process, nullptr, kLead + bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    const bool written = remote && ::WriteProcessMemory(process, remote + kLead, block.data(), bytes, nullptr);
    ::CloseHandle(process);
    // Sent, not posted: Wine does not deliver a posted WM_DROPFILES to another process.
    // SendNotifyMessageW returns at once all the same, so the drop runs while we wait.
    return written && ::SendNotifyMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(remote + kLead), 0);
}

long LiveGdiObjectsOf(HANDLE process) {
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    if (!ntdll || !::GetProcAddress(ntdll, "wine_get_version")) {
        const DWORD count = ::GetGuiResources(process, GR_GDIOBJECTS);
        return count ? static_cast<long>(count) : -1;
    }
    using QueryProcess = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<QueryProcess>(
        reinterpret_cast<void*>(::GetProcAddress(ntdll, "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION info{};
    if (!query || query(process, ProcessBasicInformation, &info, sizeof info, nullptr) != 0) return -1;
    // GdiSharedHandleTable: offset 0xF8 of a 64-bit PEB, 0x94 of a 32-bit one; 65 536
    // entries of 24 bytes, the object type in byte 14, zero for a free entry.
    const std::size_t offset = sizeof(void*) == 8 ? 0xF8 : 0x94;
    void* table = nullptr;
    if (!::ReadProcessMemory(process, static_cast<char*>(static_cast<void*>(info.PebBaseAddress)) + offset, &table,
                             sizeof table, nullptr) ||
        !table)
        return -1;
    std::vector<unsigned char> entries(0x10000 * 24);
    if (!::ReadProcessMemory(process, table, entries.data(), entries.size(), nullptr)) return -1;
    long live = 0;
    for (std::size_t i = 0; i < 0x10000; ++i) live += entries[i * 24 + 14] != 0;
    return live;
}

bool PressButton(HWND dialog, const wchar_t* className, const wchar_t* caption) {
    HWND button = FindDescendant(dialog, className, caption);
    if (!button) return false;
    ::PostMessageW(button, BM_CLICK, 0, 0);
    return true;
}

}  // namespace e2e
