#include "app/SpecialFolderLocations.h"

#include "framework/SysUtils.h"

#include <windows.h>
#include <shlobj.h>

namespace qv {

namespace {

// Frees an item ID list the shell allocated.
struct ItemIdList {
    LPITEMIDLIST Pidl = nullptr;
    ~ItemIdList() { if (Pidl) ::CoTaskMemFree(Pidl); }
};

// The root of the current drive, e.g. "C:\".
String CurrentDriveRoot() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD n = ::GetCurrentDirectoryW(MAX_PATH, buffer);
    const String dir(buffer, n <= MAX_PATH ? n : 0);
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
    ItemIdList list;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, folder, &list.Pidl)) || !list.Pidl) return String();
    wchar_t path[MAX_PATH] = {};
    if (!::SHGetPathFromIDListW(list.Pidl, path)) return String();
    return String(path);
}

String GetApplicationFolderLocation(const String& name) {
    String base = GetSpecialFolderLocation(CSIDL_APPDATA);
    if (base.empty()) base = CurrentDriveRoot();
    String folder = IncludeTrailingPathDelimiter(IncludeTrailingPathDelimiter(base) + name);
    ForceDirectories(ExcludeTrailingPathDelimiter(folder));
    return folder;
}

}  // namespace qv
