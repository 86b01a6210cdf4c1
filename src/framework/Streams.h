// Byte streams: the abstract TStream, memory streams and file streams with 64-bit sizes.
// Portable: no <windows.h>.
#pragma once
#include "framework/Types.h"

#include <cstdint>
#include <vector>

namespace qv {

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
public:
    TStream() = default;
    virtual ~TStream() = default;
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;

    // Read and Write move as many bytes as they can and return that count.
    virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
    virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
    // Returns the new position.
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;
    virtual std::int64_t Size();
    virtual void SetSize(std::int64_t newSize) = 0;

    std::int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(std::int64_t position) { Seek(position, soBeginning); }

    // All-or-nothing transfers: EReadError "Stream read error" / EWriteError
    // "Stream write error" when fewer bytes moved.
    void ReadBuffer(void* buffer, std::int64_t count);
    void WriteBuffer(const void* buffer, std::int64_t count);
    // Copies count bytes from source's current position (count 0: from its start to
    // its end). Returns the number copied.
    std::int64_t CopyFrom(TStream& source, std::int64_t count);
};

class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(FData.size()); }
    void SetSize(std::int64_t newSize) override;

    std::uint8_t* Memory() noexcept { return FData.data(); }
    const std::uint8_t* Memory() const noexcept { return FData.data(); }
    const std::vector<std::uint8_t>& Bytes() const noexcept { return FData; }
    void Clear() noexcept;

    // Replace the contents (position 0 afterwards); the stream is unchanged on failure.
    void LoadFromFile(const String& fileName);
    void LoadFromStream(TStream& source);
    void SaveToFile(const String& fileName) const;
    void SaveToStream(TStream& target) const;

protected:
    std::vector<std::uint8_t> FData;
    std::int64_t FPosition = 0;
};

// A memory stream that starts with the given bytes.
class TBytesStream : public TMemoryStream {
public:
    explicit TBytesStream(std::vector<std::uint8_t> bytes);
    TBytesStream(const void* data, std::size_t size);
};

// Open modes (low bits) and share modes (combined with |).
constexpr std::uint32_t fmOpenRead = 0x0000;
constexpr std::uint32_t fmOpenWrite = 0x0001;
constexpr std::uint32_t fmOpenReadWrite = 0x0002;
constexpr std::uint32_t fmShareCompat = 0x0000;
constexpr std::uint32_t fmShareExclusive = 0x0010;
constexpr std::uint32_t fmShareDenyWrite = 0x0020;
constexpr std::uint32_t fmShareDenyRead = 0x0030;
constexpr std::uint32_t fmShareDenyNone = 0x0040;
constexpr std::uint32_t fmCreate = 0xFF00;  // create or truncate, then read/write

class TFileStream : public TStream {
public:
    // EFOpenError "Cannot open file "<name>". <reason>" or, with fmCreate,
    // EFCreateError "Cannot create file "<name>". <reason>".
    TFileStream(const String& fileName, std::uint32_t mode);
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;
    ~TFileStream() override;

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    void SetSize(std::int64_t newSize) override;

    const String& FileName() const noexcept { return FFileName; }

private:
    String FFileName;
    std::intptr_t FHandle = -1;  // HANDLE on Windows, file descriptor elsewhere
};

}  // namespace qv
