// TFileStream on Windows: a file handle from CreateFileW, with the share modes the
// stream's mode asks for.
#include "framework/Streams.h"

#include "framework/SysUtils.h"
#include "framework/platform/Platform.h"

#include <algorithm>

#include <windows.h>

namespace qv {

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
        if (accessBits > 2 || shareBits > 4)
            throw EFOpenError(platform::FileOpenErrorMessage(fileName, false, ERROR_INVALID_PARAMETER));
        access = kAccess[accessBits];
        // Compatibility mode behaves like deny-none towards readers, as the system's
        // own compatibility sharing lets other readers in.
        share = shareBits == 0 ? FILE_SHARE_READ : kShare[shareBits];
    }
    HANDLE h = CreateFileW(fileName.c_str(), access, share, nullptr, create ? CREATE_ALWAYS : OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const int code = static_cast<int>(GetLastError());
        if (create) throw EFCreateError(platform::FileOpenErrorMessage(fileName, true, code));
        throw EFOpenError(platform::FileOpenErrorMessage(fileName, false, code));
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

}  // namespace qv
