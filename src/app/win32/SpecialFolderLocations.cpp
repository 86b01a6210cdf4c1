#include "app/win32/SpecialFolderLocations.h"

#include "framework/SysUtils.h"
#include "framework/win32/ComHandles.h"

#include <cwchar>

#include <windows.h>
#include <shlobj.h>

namespace qv {

namespace {

constexpr DWORD kMaxLongPath = 32768;

// The current folder, however long.
String CurrentDirectory() {
    String dir;
    for (DWORD needed = MAX_PATH + 1;;) {
        dir.assign(needed, L'\0');
        const DWORD n = ::GetCurrentDirectoryW(needed, dir.data());
        if (n < needed) {
            dir.resize(n);
            return dir;
        }
        needed = n;  // the size it takes, terminating null included
    }
}

// The root of the current drive, e.g. "C:\".
String CurrentDriveRoot() {
    const String dir = CurrentDirectory();
    if (dir.size() >= 2 && dir[1] == L':') return dir.substr(0, 2) + L"\\";
    if (dir.size() >= 2 && dir[0] == L'\\' && dir[1] == L'\\') {
        // A UNC current folder: its root is \\server\share\.
        const size_t server = dir.find(L'\\', 2);
        const size_t share = server == String::npos ? String::npos : dir.find(L'\\', server + 1);
        return IncludeTrailingPathDelimiter(share == String::npos ? dir : dir.substr(0, share));
    }
    return L"\\";
}

}  // namespace

String GetSpecialFolderLocation(int folder) {
    LPITEMIDLIST pidl = nullptr;
    const HRESULT hr = ::SHGetSpecialFolderLocation(nullptr, folder, &pidl);
    const UniquePidl list(pidl);
    if (FAILED(hr) || !list) return String();
    // Room for the longest path the system allows, not only MAX_PATH characters.
    String path(kMaxLongPath, L'\0');
    if (!::SHGetPathFromIDListEx(list.get(), path.data(), kMaxLongPath, GPFIDL_DEFAULT)) return String();
    path.resize(std::wcslen(path.c_str()));
    return path;
}

String GetApplicationFolderLocation(const String& name) {
    String base = GetSpecialFolderLocation(CSIDL_APPDATA);
    if (base.empty()) base = CurrentDriveRoot();
    String folder = IncludeTrailingPathDelimiter(IncludeTrailingPathDelimiter(base) + name);
    ForceDirectories(ExcludeTrailingPathDelimiter(folder));
    return folder;
}

}  // namespace qv
