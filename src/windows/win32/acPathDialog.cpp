#include "windows/win32/acPathDialog.h"

#include <cwchar>

#include <windows.h>
#include <shlobj.h>

namespace qv {

namespace {

struct ItemIdList {
    LPITEMIDLIST Pidl = nullptr;
    ~ItemIdList() { if (Pidl) ::CoTaskMemFree(Pidl); }
};

// Selects the preset folder once the browser is ready.
int CALLBACK BrowseCallback(HWND wnd, UINT msg, LPARAM, LPARAM data) noexcept {
    if (msg == BFFM_INITIALIZED && data)
        ::SendMessageW(wnd, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

}  // namespace

bool TsPathDialog::Execute() {
    // The shell's folder browser needs COM on this thread; balance our own initialisation.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    wchar_t display[MAX_PATH] = {};
    BROWSEINFOW info{};
    info.hwndOwner = ::GetActiveWindow();
    info.pidlRoot = nullptr;  // the desktop
    info.pszDisplayName = display;
    info.lpszTitle = Caption.empty() ? nullptr : Caption.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    info.lpfn = BrowseCallback;
    info.lParam = Path.empty() ? 0 : reinterpret_cast<LPARAM>(Path.c_str());
    ItemIdList chosen;
    chosen.Pidl = ::SHBrowseForFolderW(&info);
    bool ok = false;
    if (chosen.Pidl) {
        // Room for the longest path the system allows: a folder deep in the tree may be
        // longer than MAX_PATH.
        String path(32768, L'\0');
        if (::SHGetPathFromIDListEx(chosen.Pidl, path.data(), static_cast<DWORD>(path.size()), GPFIDL_DEFAULT)) {
            path.resize(std::wcslen(path.c_str()));
            Path = path;
            ok = true;
        }
    }
    if (SUCCEEDED(com)) ::CoUninitialize();
    return ok;
}

}  // namespace qv
