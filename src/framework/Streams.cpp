#include "framework/Streams.h"

#include "framework/Strings.h"
#include "framework/SysUtils.h"
#include "framework/platform/Platform.h"

#include <algorithm>
#include <cstring>
#include <limits>

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

// The stream itself, which opens, reads and writes through the system, is in the
// platform twins; the open errors read the same on every system.
String platform::FileOpenErrorMessage(const String& fileName, bool create, int errorCode) {
    return String(create ? L"Cannot create file \"" : L"Cannot open file \"") + fileName + L"\". " +
           SysErrorMessage(errorCode);
}

}  // namespace qv
