#include "app/PathListFile.h"

#include "app/SpecialFolderLocations.h"
#include "framework/SysUtils.h"

#include <algorithm>

#include <windows.h>

namespace qv {

namespace {

struct FileHandle {
    HANDLE H = INVALID_HANDLE_VALUE;
    ~FileHandle() { if (H != INVALID_HANDLE_VALUE) ::CloseHandle(H); }
    bool Close() noexcept {
        const bool ok = ::CloseHandle(H) != FALSE;
        H = INVALID_HANDLE_VALUE;
        return ok;
    }
};

[[noreturn]] void RaiseCreateError(const String& fileName, DWORD error) {
    throw EFCreateError(L"Cannot create file \"" + fileName + L"\". " +
                        SysErrorMessage(static_cast<int>(error)));
}

// A temporary name beside the list file that no other running copy uses.
String TemporaryNameFor(const String& fileName) {
    static unsigned serial = 0;
    return fileName + L"." + IntToStr(::GetCurrentProcessId()) + L"-" + IntToStr(++serial) + L".tmp";
}

}  // namespace

String ListFileName() {
    return GetApplicationFolderLocation(L"Quorvel") + L"listbox.data";
}

TTextEncoding LoadPathList(const String& fileName, TStringList& items) {
    items.LoadFromFile(fileName);
    return items.Encoding();
}

TTextEncoding EncodingForSave(const TStringList& items, TTextEncoding current) {
    if (current != teAnsi) return current;
    for (const String& s : items)
        if (!CanEncodeAnsi(s)) return teUtf8;
    return teAnsi;
}

void SavePathList(const String& fileName, TStringList items, TTextEncoding encoding) {
    items.SetEncoding(encoding);
    const Bytes bytes = items.EncodeText();

    // A read-only list file is not to be replaced. Windows refuses the move below for
    // such a file anyway; asking first gives the same answer everywhere.
    const DWORD attributes = ::GetFileAttributesW(fileName.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        RaiseCreateError(fileName, ERROR_ACCESS_DENIED);

    const String temp = TemporaryNameFor(fileName);
    FileHandle file;
    file.H = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file.H == INVALID_HANDLE_VALUE) RaiseCreateError(fileName, ::GetLastError());

    size_t written = 0;
    while (written < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - written, 1u << 20));
        DWORD done = 0;
        if (!::WriteFile(file.H, bytes.data() + written, chunk, &done, nullptr) || done == 0) {
            const DWORD error = ::GetLastError();
            file.Close();
            ::DeleteFileW(temp.c_str());
            RaiseCreateError(fileName, error);
        }
        written += done;
    }
    if (!::FlushFileBuffers(file.H) || !file.Close()) {
        const DWORD error = ::GetLastError();
        ::DeleteFileW(temp.c_str());
        RaiseCreateError(fileName, error);
    }
    if (!::MoveFileExW(temp.c_str(), fileName.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = ::GetLastError();
        ::DeleteFileW(temp.c_str());
        RaiseCreateError(fileName, error);
    }
}

}  // namespace qv
