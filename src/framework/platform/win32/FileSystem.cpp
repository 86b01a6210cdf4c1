// Files and folders on Windows, through the wide-character file functions.
#include "framework/FsPath.h"
#include "framework/SysUtils.h"
#include "framework/platform/Platform.h"

#include <windows.h>

// <windows.h> maps DeleteFile to DeleteFileW; this file defines the framework's own.
#undef DeleteFile

namespace qv {

const wchar_t PathDelim = L'\\';

bool platform::IsPathSeparator(wchar_t c) noexcept { return c == L'\\' || c == L'/'; }
bool platform::IsDriveSeparator(wchar_t c) noexcept { return c == L':'; }

bool FileExists(const String& fileName) {
    const DWORD attributes = GetFileAttributesW(fileName.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        // A link: it exists when its target can be opened.
        HANDLE h = CreateFileW(fileName.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        CloseHandle(h);
    }
    return true;
}

bool DirectoryExists(const String& directory) {
    const DWORD attributes = GetFileAttributesW(directory.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The file system ignores letter case already: the name is the file's when it exists.
String ExistingFileIgnoringCase(const String& fileName) { return FileExists(fileName) ? fileName : String(); }

bool DeleteFile(const String& fileName) { return ::DeleteFileW(fileName.c_str()) != FALSE; }
bool RemoveDir(const String& directory) { return ::RemoveDirectoryW(directory.c_str()) != FALSE; }
int GetLastOSError() noexcept { return static_cast<int>(::GetLastError()); }

bool platform::CreateOneDirectory(const String& directory) {
    return ::CreateDirectoryW(directory.c_str(), nullptr) != FALSE || DirectoryExists(directory);
}

String platform::ProgramFileName() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return String();
        if (n < buffer.size()) {
            buffer.resize(n);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

String FileSystemPath(const String& path) { return path; }
bool IsPosixRootedPath(const String&) noexcept { return false; }

std::filesystem::path ToFsPath(const String& name) { return std::filesystem::path(name); }
String FromFsPath(const std::filesystem::path& path) { return path.wstring(); }

String platform::SystemErrorText(int errorCode) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                                        nullptr, static_cast<DWORD>(errorCode), 0, reinterpret_cast<wchar_t*>(&buffer),
                                        0, nullptr);
    String text;
    if (buffer) {
        text.assign(buffer, length);
        LocalFree(buffer);
    }
    return text;
}

}  // namespace qv
