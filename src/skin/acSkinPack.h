// Skin packs: reading a packed skin ("CVzf", N entries of name, unpacked size and a zlib
// stream) into a TacSkinConvertor, and the read-only zlib reader it uses. Portable.
#pragma once
#include "framework/Streams.h"
#include "framework/SysUtils.h"
#include "framework/Types.h"

#include <zlib.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace qv {

// A zlib failure, with zlib's own text for the code.
class EZLibError : public Exception {
public:
    using Exception::Exception;
};
// A pack whose header or entry sizes cannot be right.
class EacSkinPackError : public EReadError {
public:
    using EReadError::EReadError;
};

// Packs are untrusted input: nothing is allocated on the strength of a declared size
// above these limits. Real skins hold a few hundred kilobytes.
constexpr std::int64_t MaxPackEntrySize = 64ll * 1024 * 1024;
constexpr std::int64_t MaxPackTotalSize = 256ll * 1024 * 1024;

// Input chunk of the decompression reader.
constexpr std::int64_t ZReadChunk = 131072;

// Inflates one zlib stream that starts at the source's current position. The source is
// read in chunks of at most ZReadChunk bytes; when the stream ends with input left over,
// the source is moved back by that amount, so it stands right after the stream's
// Adler-32 trailer. Read-only: writing raises "Invalid ZStream operation!".
class TacZDecompressionStream : public TStream {
public:
    explicit TacZDecompressionStream(TStream& source);
    TacZDecompressionStream(const TacZDecompressionStream&) = delete;
    TacZDecompressionStream& operator=(const TacZDecompressionStream&) = delete;
    ~TacZDecompressionStream() override;

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    // Only the position query (offset 0 from the current position) is supported: the
    // number of bytes inflated so far.
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Size() override;
    void SetSize(std::int64_t newSize) override;

    // True once inflate has reported the end of the zlib stream.
    bool StreamEnded() const noexcept { return FEnded; }
    // Inflates what is left of the stream without keeping it; true when nothing was left
    // but the trailer (the stream held no more data than was read).
    bool FinishStream();

private:
    void CheckTrailer();

    TStream& FSource;
    std::int64_t FSourcePos;                  // where the previous chunk ended in FSource
    std::unique_ptr<std::uint8_t[]> FBuffer;  // input chunk; not zeroed, only read after being filled
    z_stream FZ{};
    std::int64_t FOutPos = 0;
    std::uint32_t FAdler = 1;  // Adler-32 of the data inflated so far
    bool FEnded = false;
};

struct TacImageItem {
    String FileName;                            // the entry name as stored
    bool IsBitmap = false;                      // upper-cased extension is ".BMP"
    std::unique_ptr<TMemoryStream> FileStream;  // unpacked content
};

// The unpacked pack, alive while one skin loads.
class TacSkinConvertor {
public:
    TacSkinConvertor() = default;
    ~TacSkinConvertor() { Clear(); }
    TacSkinConvertor(const TacSkinConvertor&) = delete;
    TacSkinConvertor& operator=(const TacSkinConvertor&) = delete;

    int ImageCount = 0;                      // N - 1 as read from the header
    std::vector<TacImageItem> Files;         // image entries in pack order
    std::unique_ptr<TMemoryStream> Options;  // the options file; none when absent

    // The raw pack bytes: owned when loaded from a file, lent by an internal skin.
    TMemoryStream* PackedData() const noexcept { return FPackedData; }
    void SetPackedData(std::unique_ptr<TMemoryStream> data);
    void LendPackedData(TMemoryStream* data);
    // Gives a lent stream back (or releases an owned one); PackedData is none afterwards.
    void ReleasePackedData() noexcept;

    // Releases the file streams (last first), the options and the pack bytes (a lent
    // pack stream is only let go, never freed).
    void Clear() noexcept;

    // The first image entry whose upper-cased name equals name; nullptr when none.
    const TacImageItem* FindFile(const String& name) const noexcept;

private:
    TMemoryStream* FPackedData = nullptr;
    bool FOwnsPackedData = false;
};

// Reads the file into convertor (created when none, cleared otherwise) and unpacks it;
// releases the pack bytes afterwards when releasePacked is set. A missing file changes
// nothing.
void LoadSkinFromFile(const String& fileName, std::unique_ptr<TacSkinConvertor>& convertor, bool releasePacked);

// Unpacks convertor->PackedData() into Options and Files. Wrong magic: the convertor is
// freed, the reference set to none and "Loaded data is not a packed Corvane file" raised.
// Truncated or corrupt data raises EReadError, EacSkinPackError or EZLibError.
void ExtractPackedData(std::unique_ptr<TacSkinConvertor>& convertor);

// The size limits a pack is checked against.
struct TacPackLimits {
    std::int64_t MaxEntry = MaxPackEntrySize;
    std::int64_t MaxTotal = MaxPackTotalSize;
};
void ExtractPackedData(std::unique_ptr<TacSkinConvertor>& convertor, const TacPackLimits& limits);

}  // namespace qv
