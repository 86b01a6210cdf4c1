#include "windows/win32/acPathDialog.h"

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
        wchar_t path[MAX_PATH] = {};
        if (::SHGetPathFromIDListW(chosen.Pidl, path)) {
            Path = path;
            ok = true;
        }
    }
    if (SUCCEEDED(com)) ::CoUninitialize();
    return ok;
}

}  // namespace qv
