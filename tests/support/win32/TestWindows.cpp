#include "win32/TestWindows.h"

#include "framework/win32/KernelHandles.h"

#include <map>
#include <string>

namespace qv::test {

namespace {
std::map<UINT_PTR, ModalAnswerer*>& Answerers() {
    static std::map<UINT_PTR, ModalAnswerer*> answerers;
    return answerers;
}
}  // namespace

std::vector<String> FilesIn(const String& pattern) {
    std::vector<String> names;
    WIN32_FIND_DATAW data;
    const UniqueFind find(::FindFirstFileW(pattern.c_str(), &data));
    if (!find) return names;
    do
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(data.cFileName);
    while (::FindNextFileW(find.get(), &data));
    return names;
}

void RemoveFilesIn(const String& folder) {
    for (const String& name : FilesIn(folder + L"\\*")) {
        const String path = folder + L"\\" + name;
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(path.c_str());
    }
}

TempFolder::TempFolder() {
    wchar_t base[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, base);
    for (int n = 0;; ++n) {
        String candidate = String(base) + L"qv-ctl-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                           std::to_wstring(n);
        if (::CreateDirectoryW(candidate.c_str(), nullptr)) {
            FPath = candidate;
            break;
        }
        if (::GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
}

TempFolder::~TempFolder() {
    for (const String& file : FFiles) ::DeleteFileW(file.c_str());
    if (!FPath.empty()) ::RemoveDirectoryW(FPath.c_str());
}

String TempFolder::CreateFile(const String& name, const char* content) {
    const String path = FPath + L"\\" + name;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ::WriteFile(file, content, static_cast<DWORD>(std::char_traits<char>::length(content)), &written, nullptr);
        ::CloseHandle(file);
        FFiles.push_back(path);
    }
    return path;
}

String ClassNameOf(HWND wnd) {
    wchar_t name[256] = {};
    ::GetClassNameW(wnd, name, 256);
    return name;
}

String TextOf(HWND wnd) {
    const int length = ::GetWindowTextLengthW(wnd);
    String text(static_cast<std::size_t>(length) + 1, L'\0');
    ::GetWindowTextW(wnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

HWND FindDescendant(HWND parent, const String& className) {
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (ClassNameOf(child) == className) return child;
        if (HWND found = FindDescendant(child, className)) return found;
    }
    return nullptr;
}

namespace {
struct WindowSearch {
    const String* Name;
    std::vector<HWND> Found;
};
BOOL CALLBACK CollectWindow(HWND wnd, LPARAM lp) noexcept {
    auto* search = reinterpret_cast<WindowSearch*>(lp);
    if (::IsWindowVisible(wnd) && ClassNameOf(wnd) == *search->Name) search->Found.push_back(wnd);
    return TRUE;
}
}  // namespace

std::vector<HWND> ThreadWindows(const String& className) {
    WindowSearch search{&className, {}};
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

ModalAnswerer::ModalAnswerer(String className, std::function<void(HWND)> answer, UINT intervalMs)
    : FClassName(std::move(className)), FAnswer(std::move(answer)) {
    FTimer = ::SetTimer(nullptr, 0, intervalMs, &ModalAnswerer::TimerProc);
    Answerers()[FTimer] = this;
}

ModalAnswerer::~ModalAnswerer() {
    ::KillTimer(nullptr, FTimer);
    Answerers().erase(FTimer);
}

void CALLBACK ModalAnswerer::TimerProc(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    auto it = Answerers().find(id);
    if (it != Answerers().end()) it->second->Tick();
}

void ModalAnswerer::Tick() {
    for (HWND wnd : ThreadWindows(FClassName)) {
        bool seen = false;
        for (HWND old : FSeen) seen = seen || old == wnd;
        if (seen) continue;
        FSeen.push_back(wnd);
        ++FAnswered;
        FAnswer(wnd);
    }
}

ModalAnswerer PressOnMessageForms(const String& caption, String* textSeen) {
    return ModalAnswerer(L"TMessageForm", [caption, textSeen](HWND form) {
        if (textSeen) {
            HWND message = FindDescendant(form, L"TStaticText");
            *textSeen = message ? TextOf(message) : String();
        }
        HWND child = nullptr;
        while ((child = ::FindWindowExW(form, child, L"TButton", nullptr)) != nullptr)
            if (TextOf(child) == caption) ::PostMessageW(child, BM_CLICK, 0, 0);
    });
}

}  // namespace qv::test
