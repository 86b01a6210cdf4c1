// TFileStream where only the portable core runs: a file descriptor.
#include "framework/Streams.h"

#include "framework/Strings.h"
#include "framework/SysUtils.h"
#include "framework/platform/Platform.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qv {

TFileStream::TFileStream(const String& fileName, std::uint32_t mode) : FFileName(fileName) {
    const bool create = (mode & fmCreate) == fmCreate;
    int flags = O_CLOEXEC;
    if (create) {
        flags |= O_RDWR | O_CREAT | O_TRUNC;
    } else {
        switch (mode & 0x3) {
        case fmOpenRead: flags |= O_RDONLY; break;
        case fmOpenWrite: flags |= O_WRONLY; break;
        case fmOpenReadWrite: flags |= O_RDWR; break;
        default: throw EFOpenError(platform::FileOpenErrorMessage(fileName, false, EINVAL));
        }
    }
    // Share modes have no equivalent here; files are opened without locks.
    const int fd = fileName.empty() ? -1 : ::open(StringToUtf8(fileName).c_str(), flags, 0666);
    const int code = fileName.empty() ? ENOENT : errno;
    if (fd >= 0) {
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
            ::close(fd);
            if (create) throw EFCreateError(platform::FileOpenErrorMessage(fileName, true, EISDIR));
            throw EFOpenError(platform::FileOpenErrorMessage(fileName, false, EISDIR));
        }
    }
    if (fd < 0) {
        if (create) throw EFCreateError(platform::FileOpenErrorMessage(fileName, true, code));
        throw EFOpenError(platform::FileOpenErrorMessage(fileName, false, code));
    }
    FHandle = fd;
}

TFileStream::~TFileStream() {
    if (FHandle != -1) ::close(static_cast<int>(FHandle));
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count) {
    std::int64_t total = 0;
    auto* p = static_cast<std::uint8_t*>(buffer);
    while (total < count) {
        const auto chunk = static_cast<std::size_t>(std::min<std::int64_t>(count - total, 1 << 30));
        const ssize_t got = ::read(static_cast<int>(FHandle), p + total, chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        total += got;
    }
    return total;
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count) {
    std::int64_t total = 0;
    const auto* p = static_cast<const std::uint8_t*>(buffer);
    while (total < count) {
        const auto chunk = static_cast<std::size_t>(std::min<std::int64_t>(count - total, 1 << 30));
        const ssize_t put = ::write(static_cast<int>(FHandle), p + total, chunk);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) break;
        total += put;
    }
    return total;
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    static const int kWhence[3] = {SEEK_SET, SEEK_CUR, SEEK_END};
    const off_t result = ::lseek(static_cast<int>(FHandle), static_cast<off_t>(offset), kWhence[origin]);
    if (result < 0) return ::lseek(static_cast<int>(FHandle), 0, SEEK_CUR);
    return result;
}

void TFileStream::SetSize(std::int64_t newSize) {
    if (newSize < 0 || ::ftruncate(static_cast<int>(FHandle), static_cast<off_t>(newSize)) != 0)
        throw EWriteError(L"Stream write error");
    if (Position() > newSize) SetPosition(newSize);
}

}  // namespace qv
