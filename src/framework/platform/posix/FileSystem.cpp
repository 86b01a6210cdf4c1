// Files and folders where only the portable core runs: POSIX calls on UTF-8 names.
#include "framework/FsPath.h"
#include "framework/Strings.h"
#include "framework/SysUtils.h"
#include "framework/platform/Platform.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace qv {

const wchar_t PathDelim = L'/';

bool platform::IsPathSeparator(wchar_t c) noexcept { return c == L'/'; }
bool platform::IsDriveSeparator(wchar_t) noexcept { return false; }

namespace {
bool StatOf(const String& name, struct stat& st) {
    return !name.empty() && ::stat(StringToUtf8(name).c_str(), &st) == 0;
}
}  // namespace

bool FileExists(const String& fileName) {
    struct stat st {};
    return StatOf(fileName, st) && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const String& directory) {
    struct stat st {};
    return StatOf(directory, st) && S_ISDIR(st.st_mode);
}

// The program's files name files as Windows does: "\" between folders, letter case
// ignored. The exact name is tried first, then the folder is searched for an entry
// that differs from it in case only.
String ExistingFileIgnoringCase(const String& fileName) {
    const String path = FileSystemPath(fileName);
    if (FileExists(path)) return path;
    const String folder = ExtractFilePath(path), file = ExtractFileName(path);
    if (file.empty()) return String();
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path dir = ToFsPath(folder.empty() ? String(L".") : folder);
    for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
        const String entry = FromFsPath(it->path().filename());
        if (SameText(entry, file) && FileExists(folder + entry)) return folder + entry;
    }
    return String();
}

bool DeleteFile(const String& fileName) { return ::unlink(StringToUtf8(fileName).c_str()) == 0; }
bool RemoveDir(const String& directory) { return ::rmdir(StringToUtf8(directory).c_str()) == 0; }
int GetLastOSError() noexcept { return errno; }

bool platform::CreateOneDirectory(const String& directory) {
    return ::mkdir(StringToUtf8(directory).c_str(), 0777) == 0 || DirectoryExists(directory);
}

String platform::ProgramFileName() {
    std::string buffer(4096, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= buffer.size()) return String();
    buffer.resize(static_cast<std::size_t>(n));
    return Utf8ToString(std::string_view(buffer));
}

bool IsPosixRootedPath(const String& path) noexcept { return path.starts_with(L"/"); }

String FileSystemPath(const String& path) {
    String result = path;
    std::replace(result.begin(), result.end(), L'\\', L'/');
    return result;
}

std::filesystem::path ToFsPath(const String& name) {
    const Bytes utf8 = StringToUtf8(name);
    return std::filesystem::path(std::string(utf8.begin(), utf8.end()));
}
String FromFsPath(const std::filesystem::path& path) { return Utf8ToString(std::string_view(path.string())); }

String platform::SystemErrorText(int errorCode) { return Utf8ToString(std::string_view(std::strerror(errorCode))); }

}  // namespace qv
