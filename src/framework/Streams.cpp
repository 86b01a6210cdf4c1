#include "framework/Streams.h"

#include "framework/Strings.h"
#include "framework/SysUtils.h"

#include <algorithm>
#include <cstring>
#include <limits>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qv {

// ---- TStream ----

std::int64_t TStream::Size() {
    const std::int64_t position = Seek(0, soCurrent);
    const std::int64_t size = Seek(0, soEnd);
    Seek(position, soBeginning);
    return size;
}

void TStream::ReadBuffer(void* buffer, std::int64_t count) {
    if (count < 0 || (count != 0 && Read(buffer, count) != count)) throw EReadError(L"Stream read error");
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count) {
    if (count < 0 || (count != 0 && Write(buffer, count) != count)) throw EWriteError(L"Stream write error");
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    if (count < 0) throw EReadError(L"Stream read error");
    constexpr std::int64_t kChunk = 64 * 1024;
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min(count, kChunk)));
    std::int64_t left = count;
    while (left > 0) {
        const std::int64_t n = std::min(left, kChunk);
        source.ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        left -= n;
    }
    return count;
}

// ---- TMemoryStream ----

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count) {
    const auto size = static_cast<std::int64_t>(FData.size());
    if (count <= 0 || FPosition >= size) return 0;
    const std::int64_t n = std::min(count, size - FPosition);
    std::memcpy(buffer, FData.data() + FPosition, static_cast<std::size_t>(n));
    FPosition += n;
    return n;
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count) {
    if (count <= 0) return 0;
    if (count > std::numeric_limits<std::int64_t>::max() - FPosition ||
        static_cast<std::uint64_t>(FPosition + count) > FData.max_size())
        return 0;
    const std::int64_t end = FPosition + count;
    try {
        if (end > static_cast<std::int64_t>(FData.size())) FData.resize(static_cast<std::size_t>(end));
    } catch (const std::bad_alloc&) {
        return 0;  // the caller's WriteBuffer reports the short write
    }
    std::memcpy(FData.data() + FPosition, buffer, static_cast<std::size_t>(count));
    FPosition = end;
    return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    std::int64_t base = 0;
    if (origin == soCurrent) base = FPosition;
    else if (origin == soEnd) base = static_cast<std::int64_t>(FData.size());
    // Positions past the end are allowed (a write there fills the gap with zeros);
    // a negative position is not.
    const std::int64_t target = base + offset;
    if (target >= 0) FPosition = target;
    return FPosition;
}

void TMemoryStream::SetSize(std::int64_t newSize) {
    if (newSize < 0 || static_cast<std::uint64_t>(newSize) > FData.max_size())
        throw EOutOfResources(L"Out of memory while expanding memory stream");
    try {
        FData.resize(static_cast<std::size_t>(newSize));
    } catch (const std::bad_alloc&) {
        throw EOutOfResources(L"Out of memory while expanding memory stream");
    }
    if (FPosition > newSize) FPosition = newSize;
}

void TMemoryStream::Clear() noexcept {
    FData.clear();
    FData.shrink_to_fit();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& source) {
    source.SetPosition(0);
    const std::int64_t size = source.Size();
    if (size < 0 || static_cast<std::uint64_t>(size) > FData.max_size()) throw EReadError(L"Stream read error");
    std::vector<std::uint8_t> data;
    try {
        data.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        throw EOutOfResources(L"Out of memory while expanding memory stream");
    }
    source.ReadBuffer(data.data(), size);
    FData.swap(data);
    FPosition = 0;
}

void TMemoryStream::LoadFromFile(const String& fileName) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TMemoryStream::SaveToStream(TStream& target) const {
    target.WriteBuffer(FData.data(), static_cast<std::int64_t>(FData.size()));
}

void TMemoryStream::SaveToFile(const String& fileName) const {
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

TBytesStream::TBytesStream(std::vector<std::uint8_t> bytes) { FData = std::move(bytes); }

TBytesStream::TBytesStream(const void* data, std::size_t size) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    FData.assign(p, p + size);
}

// ---- TFileStream ----

namespace {
String OpenErrorMessage(const String& fileName, bool create, int code) {
    return String(create ? L"Cannot create file \"" : L"Cannot open file \"") + fileName + L"\". " +
           SysErrorMessage(code);
}
}  // namespace

#ifdef _WIN32

namespace {
HANDLE AsHandle(std::intptr_t h) noexcept { return reinterpret_cast<HANDLE>(h); }
}  // namespace

TFileStream::TFileStream(const String& fileName, std::uint32_t mode) : FFileName(fileName) {
    const bool create = (mode & fmCreate) == fmCreate;
    static const DWORD kAccess[3] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
    static const DWORD kShare[5] = {0, 0, FILE_SHARE_READ, FILE_SHARE_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE};
    DWORD access = GENERIC_READ | GENERIC_WRITE;
    DWORD share = 0;
    if (create) {
        // fmCreate may carry a share mode in its low byte only when it is not the
        // whole word; the plain value opens the new file exclusively for this stream.
        const std::uint32_t shareBits = (mode & 0xF0) >> 4;
        share = shareBits <= 4 ? kShare[shareBits] : 0;
    } else {
        const std::uint32_t accessBits = mode & 0x3;
        const std::uint32_t shareBits = (mode & 0xF0) >> 4;
        if (accessBits > 2 || shareBits > 4) throw EFOpenError(OpenErrorMessage(fileName, false, ERROR_INVALID_PARAMETER));
        access = kAccess[accessBits];
        // Compatibility mode behaves like deny-none towards readers, as the system's
        // own compatibility sharing lets other readers in.
        share = shareBits == 0 ? FILE_SHARE_READ : kShare[shareBits];
    }
    HANDLE h = CreateFileW(fileName.c_str(), access, share, nullptr, create ? CREATE_ALWAYS : OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const int code = static_cast<int>(GetLastError());
        if (create) throw EFCreateError(OpenErrorMessage(fileName, true, code));
        throw EFOpenError(OpenErrorMessage(fileName, false, code));
    }
    FHandle = reinterpret_cast<std::intptr_t>(h);
}

TFileStream::~TFileStream() {
    if (FHandle != -1) CloseHandle(AsHandle(FHandle));
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count) {
    std::int64_t total = 0;
    auto* p = static_cast<std::uint8_t*>(buffer);
    while (total < count) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::int64_t>(count - total, 1 << 30));
        DWORD got = 0;
        if (!ReadFile(AsHandle(FHandle), p + total, chunk, &got, nullptr) || got == 0) break;
        total += got;
    }
    return total;
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count) {
    std::int64_t total = 0;
    const auto* p = static_cast<const std::uint8_t*>(buffer);
    while (total < count) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::int64_t>(count - total, 1 << 30));
        DWORD put = 0;
        if (!WriteFile(AsHandle(FHandle), p + total, chunk, &put, nullptr) || put == 0) break;
        total += put;
    }
    return total;
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    static const DWORD kMethod[3] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
    LARGE_INTEGER distance, result;
    distance.QuadPart = offset;
    result.QuadPart = -1;
    if (!SetFilePointerEx(AsHandle(FHandle), distance, &result, kMethod[origin])) {
        distance.QuadPart = 0;
        SetFilePointerEx(AsHandle(FHandle), distance, &result, FILE_CURRENT);
    }
    return result.QuadPart;
}

void TFileStream::SetSize(std::int64_t newSize) {
    const std::int64_t position = Position();
    SetPosition(newSize);
    if (Position() != newSize || !SetEndOfFile(AsHandle(FHandle))) throw EWriteError(L"Stream write error");
    if (position < newSize) SetPosition(position);
}

#else

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
            default: throw EFOpenError(OpenErrorMessage(fileName, false, EINVAL));
        }
    }
    // Share modes have no equivalent here; files are opened without locks.
    const int fd = fileName.empty() ? -1 : ::open(StringToUtf8(fileName).c_str(), flags, 0666);
    const int code = fileName.empty() ? ENOENT : errno;
    if (fd >= 0) {
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
            ::close(fd);
            if (create) throw EFCreateError(OpenErrorMessage(fileName, true, EISDIR));
            throw EFOpenError(OpenErrorMessage(fileName, false, EISDIR));
        }
    }
    if (fd < 0) {
        if (create) throw EFCreateError(OpenErrorMessage(fileName, true, code));
        throw EFOpenError(OpenErrorMessage(fileName, false, code));
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

#endif

}  // namespace qv
