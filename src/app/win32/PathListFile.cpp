#include "app/win32/PathListFile.h"

#include "app/win32/SpecialFolderLocations.h"
#include "framework/Streams.h"
#include "framework/Strings.h"
#include "framework/SysUtils.h"
#include "framework/win32/KernelHandles.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <vector>

#include <windows.h>

namespace qv {

namespace {

[[noreturn]] void RaiseCreateError(const String& fileName, DWORD error) {
    throw EFCreateError(L"Cannot create file \"" + fileName + L"\". " + SysErrorMessage(static_cast<int>(error)));
}

unsigned long long ToNumber(const FILETIME& time) {
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// When a process started, or 0 when that cannot be asked.
unsigned long long StartTimeOf(HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!::GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    return ToNumber(created);
}

// Temporary files are named <list file>.<process id>-<process start time>-<serial>.tmp.
// The start time tells a live owner from an unrelated process that got the id of a
// killed one, so a leftover file never blocks a save and is never taken for a live one.
String TemporaryPrefix(const String& fileName) { return fileName + L"."; }

String TemporaryNameFor(const String& fileName, unsigned serial) {
    return TemporaryPrefix(fileName) + IntToStr(::GetCurrentProcessId()) + L"-" +
           IntToHex(StartTimeOf(::GetCurrentProcess()), 16) + L"-" + IntToStr(serial) + L".tmp";
}

struct TemporaryOwner {
    DWORD ProcessId = 0;
    unsigned long long StartTime = 0;  // 0: not in the name
};

bool AllDigits(const String& s, int base) {
    return !s.empty() && s.size() <= 20 && std::all_of(s.begin(), s.end(), [base](wchar_t c) {
        return base == 16 ? std::iswxdigit(c) != 0 : (c >= L'0' && c <= L'9');
    });
}

// Reads "<id>-<start>-<serial>.tmp" (what follows the list file's name and the dot), or
// "<id>-<serial>.tmp" as earlier builds named their files; false for any other name.
bool ParseTemporaryName(const String& rest, TemporaryOwner& owner) {
    if (rest.size() < 4 || rest.compare(rest.size() - 4, 4, L".tmp") != 0) return false;
    const String stem = rest.substr(0, rest.size() - 4);
    const size_t dash1 = stem.find(L'-');
    if (dash1 == String::npos) return false;
    const size_t dash2 = stem.find(L'-', dash1 + 1);
    const String id = stem.substr(0, dash1);
    const String start = dash2 == String::npos ? String() : stem.substr(dash1 + 1, dash2 - dash1 - 1);
    const String serial = stem.substr((dash2 == String::npos ? dash1 : dash2) + 1);
    if (!AllDigits(id, 10) || !AllDigits(serial, 10) || (dash2 != String::npos && !AllDigits(start, 16))) return false;
    owner.ProcessId = static_cast<DWORD>(std::wcstoull(id.c_str(), nullptr, 10));
    owner.StartTime = start.empty() ? 0 : std::wcstoull(start.c_str(), nullptr, 16);
    return true;
}

// Whether the process that made a temporary file still runs. A process this one may not
// look at counts as running: its file is left alone.
bool OwnerRuns(const TemporaryOwner& owner) {
    const UniqueProcess process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, owner.ProcessId));
    if (!process) return ::GetLastError() == ERROR_ACCESS_DENIED;
    DWORD exitCode = 0;
    if (::GetExitCodeProcess(process.get(), &exitCode) && exitCode != STILL_ACTIVE) return false;
    if (owner.StartTime == 0) return true;
    const unsigned long long started = StartTimeOf(process.get());
    return started == 0 || started == owner.StartTime;
}

// The file a save writes: the final target when fileName is a symbolic link (or a chain
// of them), so the link stays a link; fileName itself when it does not exist yet.
String FileToWrite(const String& fileName) {
    const UniqueFile file(::CreateFileW(fileName.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) return fileName;
    wchar_t buffer[MAX_PATH + 8];
    DWORD n = ::GetFinalPathNameByHandleW(file.get(), buffer, static_cast<DWORD>(std::size(buffer)),
                                          FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    String path;
    if (n >= std::size(buffer)) {
        path.resize(n);
        n = ::GetFinalPathNameByHandleW(file.get(), path.data(), n, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        path.resize(n < path.size() ? n : 0);
    } else {
        path.assign(buffer, n);
    }
    if (path.empty()) return fileName;
    // "\\?\C:\..." and "\\?\UNC\server\share\..." back to the ordinary forms, which every
    // call below accepts at any length the list file's own name had.
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + path.substr(8);
    if (path.rfind(L"\\\\?\\", 0) == 0) return path.substr(4);
    return path;
}

// Creates a new temporary file beside fileName; a name that exists already (a leftover
// of an earlier process) is skipped.
String CreateTemporary(const String& fileName, UniqueFile& file) {
    static unsigned serial = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const String temp = TemporaryNameFor(fileName, ++serial);
        file.reset(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) return temp;
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) RaiseCreateError(fileName, error);
    }
    RaiseCreateError(fileName, ERROR_FILE_EXISTS);
}

// Writes every byte; the system's error code, or ERROR_SUCCESS.
DWORD WriteAll(HANDLE file, const Bytes& bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - written, 1u << 20));
        DWORD done = 0;
        if (!::WriteFile(file, bytes.data() + written, chunk, &done, nullptr) || done == 0) {
            const DWORD error = ::GetLastError();
            return error ? error : ERROR_WRITE_FAULT;
        }
        written += done;
    }
    return ERROR_SUCCESS;
}

// Gives the temporary file what the list file carries besides its bytes: its security
// (access list, and owner and group as far as this process may set them) and its
// attributes. The caller then renames it over the list file.
//
// ReplaceFileW would carry these over itself, but it is not atomic everywhere: Wine's
// moves the old file to a temporary name first, and a process killed between its two
// renames leaves no list file at all (the kill test saw exactly that). A rename over the
// old file never leaves the list missing, so the save copies these itself.
void CarryOverFrom(const String& target, const String& temp) {
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;  // the first save: nothing to keep

    DWORD needed = 0;
    const SECURITY_INFORMATION parts = OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION |
                                       DACL_SECURITY_INFORMATION;
    ::GetFileSecurityW(target.c_str(), parts, nullptr, 0, &needed);
    if (needed > 0) {
        std::vector<unsigned char> descriptor(needed);
        if (::GetFileSecurityW(target.c_str(), parts, descriptor.data(), needed, &needed)) {
            ::SetFileSecurityW(temp.c_str(), DACL_SECURITY_INFORMATION, descriptor.data());
            ::SetFileSecurityW(temp.c_str(), OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION,
                               descriptor.data());
        }
    }

    const DWORD kept = attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                     FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    ::SetFileAttributesW(temp.c_str(), kept ? kept : FILE_ATTRIBUTE_NORMAL);
}

// The errors of a rename refused because another program has the list file open.
bool HeldOpenElsewhere(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
}

// Puts the finished temporary file in place of target in one rename; the system's error.
// Another program reading the list file (a backup, a virus scanner, an editor) may hold it
// open without letting it be replaced; such holds are short, so a refused rename is tried
// again for up to a second before the save fails.
DWORD PutInPlace(const String& temp, const String& target) {
    CarryOverFrom(target, temp);
    constexpr DWORD kPatience = 1000, kStep = 20;  // milliseconds
    for (DWORD waited = 0;; waited += kStep) {
        if (::MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return ERROR_SUCCESS;
        const DWORD error = ::GetLastError();
        if (!HeldOpenElsewhere(error) || waited >= kPatience) return error;
        ::Sleep(kStep);
    }
}

// Whether text, decoded from bytes in encoding, encodes back to the very same bytes, that
// is whether no byte was read as U+FFFD. Files without a mark are read in the ANSI code
// page, which takes every byte, and count as intact.
bool DecodedWithoutLoss(const Bytes& bytes, const String& text, TTextEncoding encoding) {
    switch (encoding) {
    case teUtf8: return bytes.compare(3, String::npos, StringToUtf8(text)) == 0;
    case teUtf16LE: return bytes.compare(2, String::npos, StringToUtf16LE(text)) == 0;
    case teUtf16BE: return bytes.compare(2, String::npos, StringToUtf16BE(text)) == 0;
    case teAnsi: break;
    }
    return true;
}

}  // namespace

String ListFileName() {
    // Read at any length: a folder named but cut off must not fall back to the user's list.
    String own(::GetEnvironmentVariableW(L"QUORVEL_LIST_FOLDER", nullptr, 0), L'\0');
    const DWORD n = own.empty()
                        ? 0
                        : ::GetEnvironmentVariableW(L"QUORVEL_LIST_FOLDER", own.data(), static_cast<DWORD>(own.size()));
    if (n > 0 && n < own.size()) {
        own.resize(n);
        ForceDirectories(ExcludeTrailingPathDelimiter(own));
        return IncludeTrailingPathDelimiter(own) + L"listbox.data";
    }
    return GetApplicationFolderLocation(L"Quorvel") + L"listbox.data";
}

bool NoListFileYet(const String& fileName) {
    if (FileExists(fileName)) return false;
    if (::GetFileAttributesW(fileName.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

TTextEncoding LoadPathList(const String& fileName, TStringList& items) {
    bool textIntact = true;
    return LoadPathList(fileName, items, textIntact);
}

TTextEncoding LoadPathList(const String& fileName, TStringList& items, bool& textIntact) {
    Bytes bytes;
    {
        TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
        bytes.resize(static_cast<size_t>(file.Size()));
        file.ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    }
    // Decoded once: the items and the check for lost bytes share the text.
    TTextEncoding encoding = teAnsi;
    const String text = DecodeText(bytes, encoding);
    textIntact = DecodedWithoutLoss(bytes, text, encoding);
    items.SetText(text);
    items.SetEncoding(encoding);
    return encoding;
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
    const String target = FileToWrite(fileName);

    // A read-only list file is not to be replaced. Windows refuses the replacement below
    // for such a file anyway; asking first gives the same answer everywhere.
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        RaiseCreateError(fileName, ERROR_ACCESS_DENIED);

    UniqueFile file;
    const String temp = CreateTemporary(target, file);
    DWORD error = WriteAll(file.get(), bytes);
    if (error == ERROR_SUCCESS && !::FlushFileBuffers(file.get())) error = ::GetLastError();
    // Closed here, not by the owner: the close may report a failed write of its own.
    if (!::CloseHandle(file.release()) && error == ERROR_SUCCESS) error = ::GetLastError();
    if (error == ERROR_SUCCESS) error = PutInPlace(temp, target);
    if (error != ERROR_SUCCESS) {
        ::DeleteFileW(temp.c_str());
        RaiseCreateError(fileName, error);
    }
}

String MoveUnreadableListAside(const String& fileName) {
    for (int number = 1; number < 10000; ++number) {
        const String aside = fileName + L".unread" + (number == 1 ? String() : L"." + IntToStr(number));
        // Without MOVEFILE_REPLACE_EXISTING: an earlier file moved aside is never replaced.
        if (::MoveFileExW(fileName.c_str(), aside.c_str(), MOVEFILE_WRITE_THROUGH)) return aside;
        const DWORD error = ::GetLastError();
        if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) continue;
        if (error == ERROR_FILE_NOT_FOUND) return String();
        throw EFCreateError(L"The list file \"" + fileName + L"\" could not be read and cannot be moved aside to \"" +
                            aside + L"\". " + SysErrorMessage(static_cast<int>(error)) +
                            L" The list is not saved, so that the file is kept as it is.");
    }
    RaiseCreateError(fileName + L".unread", ERROR_FILE_EXISTS);
}

int RemoveStaleTemporaries(const String& fileName) {
    const String prefix = ExtractFileName(TemporaryPrefix(fileName));
    const String folder = ExtractFilePath(fileName);
    WIN32_FIND_DATAW data;
    const UniqueFind find(::FindFirstFileW((folder + prefix + L"*.tmp").c_str(), &data));
    if (!find) return 0;
    int removed = 0;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const String name = data.cFileName;
        TemporaryOwner owner;
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
            !ParseTemporaryName(name.substr(prefix.size()), owner) || OwnerRuns(owner))
            continue;
        if (::DeleteFileW((folder + name).c_str())) ++removed;
    } while (::FindNextFileW(find.get(), &data));
    return removed;
}

}  // namespace qv
