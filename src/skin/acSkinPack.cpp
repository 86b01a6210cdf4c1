#include "skin/acSkinPack.h"

#include "framework/Strings.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qv {

namespace {

const wchar_t kInvalidZStreamOperation[] = L"Invalid ZStream operation!";

String ZText(int code) { return Utf8ToString(zError(code)); }

std::int32_t ReadInt32(TStream& s) {
    std::uint8_t b[4];
    s.ReadBuffer(b, 4);
    return static_cast<std::int32_t>(b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24));
}

// Adler-32 as zlib defines it. zlib's own loop costs about four instructions a byte, as
// much as inflating; the stream checks its trailer with this one instead.
constexpr std::uint32_t kAdlerBase = 65521;
constexpr std::size_t kAdlerBlock = 5552;  // bytes before the sums must be reduced

std::uint32_t Adler32Tail(std::uint32_t a, std::uint32_t b, const std::uint8_t* p, std::size_t n) noexcept {
    while (n > 0) {
        const std::size_t take = std::min(n, kAdlerBlock);
        for (std::size_t i = 0; i < take; ++i) {
            a += p[i];
            b += a;
        }
        a %= kAdlerBase;
        b %= kAdlerBase;
        p += take;
        n -= take;
    }
    return b << 16 | a;
}

std::uint32_t Adler32(std::uint32_t adler, const std::uint8_t* p, std::size_t n) noexcept {
    std::uint32_t a = adler & 0xFFFF, b = adler >> 16;
#if defined(__SSE2__)
    // Sixteen bytes a step: a gathers the byte sums, b the byte sums weighted by their
    // distance from the step's end plus sixteen times the a every earlier step left.
    const __m128i zero = _mm_setzero_si128();
    const __m128i weightsLow = _mm_setr_epi16(16, 15, 14, 13, 12, 11, 10, 9);
    const __m128i weightsHigh = _mm_setr_epi16(8, 7, 6, 5, 4, 3, 2, 1);
    auto sum = [](__m128i v) noexcept {
        alignas(16) std::uint32_t lanes[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(lanes), v);
        return static_cast<std::uint64_t>(lanes[0]) + lanes[1] + lanes[2] + lanes[3];
    };
    while (n >= 16) {
        std::size_t steps = std::min(n, kAdlerBlock) / 16;
        n -= steps * 16;
        b += a * static_cast<std::uint32_t>(steps * 16);
        __m128i sums = zero, earlier = zero, weighted = zero;
        for (; steps > 0; --steps, p += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            earlier = _mm_add_epi32(earlier, sums);
            sums = _mm_add_epi32(sums, _mm_sad_epu8(v, zero));
            weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpacklo_epi8(v, zero), weightsLow));
            weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpackhi_epi8(v, zero), weightsHigh));
        }
        a = static_cast<std::uint32_t>((a + sum(sums)) % kAdlerBase);
        b = static_cast<std::uint32_t>((b + sum(weighted) + (sum(earlier) << 4)) % kAdlerBase);
    }
#endif
    return Adler32Tail(a, b, p, n);
}

bool IsOptionsEntry(const String& name) { return UpperCase(name) == L"OPTIONS.DAT"; }

String Quoted(const String& name) { return L"\"" + name + L"\""; }

}  // namespace

// ---- TacZDecompressionStream ----

TacZDecompressionStream::TacZDecompressionStream(TStream& source)
    : FSource(source), FSourcePos(source.Position()), FBuffer(new std::uint8_t[static_cast<std::size_t>(ZReadChunk)]) {
    const int rc = inflateInit(&FZ);
    if (rc != Z_OK) throw EZLibError(ZText(rc));
    // The trailer is checked against Adler32 above when the stream ends.
    inflateValidate(&FZ, 0);
}

TacZDecompressionStream::~TacZDecompressionStream() { inflateEnd(&FZ); }

std::int64_t TacZDecompressionStream::Read(void* buffer, std::int64_t count) {
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::int64_t done = 0;
    while (done < count && !FEnded) {
        if (FZ.avail_in == 0) {
            // Someone else may have moved the source (the caller reads the next header from
            // it between entries): continue where our previous chunk ended.
            if (FSource.Position() != FSourcePos) FSource.SetPosition(FSourcePos);
            const std::int64_t got = FSource.Read(FBuffer.get(), ZReadChunk);
            if (got <= 0) throw EacSkinPackError(L"Unexpected end of packed data: a compressed stream is cut off");
            FSourcePos += got;
            FZ.next_in = FBuffer.get();
            FZ.avail_in = static_cast<uInt>(got);
        }
        const std::int64_t room = std::min<std::int64_t>(count - done, 1 << 30);
        const uInt inBefore = FZ.avail_in;
        FZ.next_out = out + done;
        FZ.avail_out = static_cast<uInt>(room);
        const int rc = inflate(&FZ, Z_NO_FLUSH);
        const std::int64_t produced = room - FZ.avail_out;
        FAdler = Adler32(FAdler, out + done, static_cast<std::size_t>(produced));
        done += produced;
        if (rc == Z_STREAM_END) {
            FEnded = true;
            // The chunk may run past the stream: put the source right after its trailer.
            FSourcePos -= FZ.avail_in;
            FZ.avail_in = 0;
            CheckTrailer();
        } else if (rc == Z_NEED_DICT) {
            throw EZLibError(ZText(Z_DATA_ERROR));
        } else if (rc == Z_BUF_ERROR) {
            // Only an empty input buffer may stall inflate; with input and room left it
            // would never make progress again.
            if (FZ.avail_in > 0 && FZ.avail_in == inBefore && produced == 0) throw EZLibError(ZText(rc));
        } else if (rc != Z_OK) {
            throw EZLibError(ZText(rc));
        }
    }
    FOutPos += done;
    return done;
}

// The stream's last four bytes, just read by inflate, hold the Adler-32 of its data
// (most significant byte first).
void TacZDecompressionStream::CheckTrailer() {
    std::uint8_t trailer[4];
    FSource.SetPosition(FSourcePos - 4);
    FSource.ReadBuffer(trailer, 4);
    const std::uint32_t stored = static_cast<std::uint32_t>(trailer[0]) << 24 | trailer[1] << 16 | trailer[2] << 8 |
                                 trailer[3];
    if (stored != FAdler) throw EZLibError(ZText(Z_DATA_ERROR));
}

bool TacZDecompressionStream::FinishStream() {
    std::uint8_t probe;
    while (!FEnded)
        if (Read(&probe, 1) > 0) return false;
    return true;
}

std::int64_t TacZDecompressionStream::Write(const void*, std::int64_t) { throw EZLibError(kInvalidZStreamOperation); }

std::int64_t TacZDecompressionStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    if ((origin == soCurrent && offset == 0) || (origin == soBeginning && offset == FOutPos)) return FOutPos;
    throw EZLibError(kInvalidZStreamOperation);
}

std::int64_t TacZDecompressionStream::Size() { throw EZLibError(kInvalidZStreamOperation); }

void TacZDecompressionStream::SetSize(std::int64_t) { throw EZLibError(kInvalidZStreamOperation); }

// ---- TacSkinConvertor ----

void TacSkinConvertor::SetPackedData(std::unique_ptr<TMemoryStream> data) {
    ReleasePackedData();
    FPackedData = data.release();
    FOwnsPackedData = true;
}

void TacSkinConvertor::LendPackedData(TMemoryStream* data) {
    ReleasePackedData();
    FPackedData = data;
    FOwnsPackedData = false;
}

void TacSkinConvertor::ReleasePackedData() noexcept {
    if (FOwnsPackedData) delete FPackedData;
    FPackedData = nullptr;
    FOwnsPackedData = false;
}

void TacSkinConvertor::Clear() noexcept {
    while (!Files.empty()) Files.pop_back();
    Options.reset();
    ReleasePackedData();
}

const TacImageItem* TacSkinConvertor::FindFile(const String& name) const noexcept {
    for (const auto& item : Files)
        if (UpperCase(item.FileName) == name) return &item;
    return nullptr;
}

// ---- reading packs ----

void LoadSkinFromFile(const String& fileName, std::unique_ptr<TacSkinConvertor>& convertor, bool releasePacked) {
    if (!FileExists(fileName)) return;
    auto data = std::make_unique<TMemoryStream>();
    {
        TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
        const std::int64_t size = file.Size();
        if (size > MaxPackTotalSize)
            throw EacSkinPackError(L"The skin pack " + Quoted(fileName) + L" is larger than 256 MiB");
        data->CopyFrom(file, size);
        data->SetPosition(0);
    }
    if (convertor) convertor->Clear();
    else convertor = std::make_unique<TacSkinConvertor>();
    convertor->SetPackedData(std::move(data));
    ExtractPackedData(convertor);
    if (releasePacked && convertor) convertor->ReleasePackedData();
}

namespace {

// Deflate turns at most 1032 bytes into one: a declared size beyond that bound for the
// compressed bytes left in the pack cannot be met, and is not allocated.
constexpr std::int64_t kMaxInflateRatio = 1032;

// Inflates one entry of `declared` bytes straight into its content. The content is sized
// once to what the pack's remaining bytes can hold at most, so a false declared size
// never allocates more than the stream can really fill.
std::unique_ptr<TMemoryStream> InflateEntry(TStream& pack, const String& name, std::int64_t declared) {
    auto content = std::make_unique<TMemoryStream>();
    const std::int64_t remaining = pack.Size() - pack.Position();
    const std::int64_t bound = remaining > declared / kMaxInflateRatio ? declared : remaining * kMaxInflateRatio;
    content->SetSize(bound);
    TacZDecompressionStream z(pack);
    std::int64_t left = declared;
    while (left > 0) {
        const std::int64_t at = declared - left;
        if (at == content->Size()) content->SetSize(std::min(declared, at + std::max<std::int64_t>(at, 65536)));
        const std::int64_t got = z.Read(content->Memory() + at, content->Size() - at);
        if (got <= 0) break;
        left -= got;
    }
    content->SetSize(declared - left);
    if (left > 0)
        throw EacSkinPackError(L"Pack entry " + Quoted(name) + L" unpacks to " + IntToStr(declared - left) +
                               L" bytes instead of the declared " + IntToStr(declared));
    // Read the stream to its end (the Adler-32 trailer) so the next entry starts right after
    // it; data beyond the declared size means the size is wrong.
    if (!z.FinishStream())
        throw EacSkinPackError(L"Pack entry " + Quoted(name) + L" unpacks to more than the declared " +
                               IntToStr(declared) + L" bytes");
    content->SetPosition(0);
    return content;
}

}  // namespace

void ExtractPackedData(std::unique_ptr<TacSkinConvertor>& convertor) { ExtractPackedData(convertor, TacPackLimits{}); }

void ExtractPackedData(std::unique_ptr<TacSkinConvertor>& convertor, const TacPackLimits& limits) {
    if (!convertor || !convertor->PackedData()) throw EacSkinPackError(L"No packed data to extract");
    TMemoryStream& pack = *convertor->PackedData();
    pack.SetPosition(0);
    char magic[4];
    pack.ReadBuffer(magic, 4);
    if (std::memcmp(magic, "CVzf", 4) != 0) {
        convertor.reset();  // a lent pack stream survives: the convertor never frees it
        throw EacSkinPackError(L"Loaded data is not a packed Corvane file");
    }
    const std::int32_t n = ReadInt32(pack);
    convertor->ImageCount = n == INT_MIN ? INT_MIN : n - 1;
    if (n <= 0) return;

    std::int64_t total = 0;
    for (std::int32_t i = 0; i < n; ++i) {
        const std::int32_t nameLength = ReadInt32(pack);
        const std::int64_t remaining = pack.Size() - pack.Position();
        if (nameLength < 0 || nameLength > remaining)
            throw EacSkinPackError(L"Pack entry " + IntToStr(i + 1) + L" has a name length of " + IntToStr(nameLength) +
                                   L" bytes, which does not fit the data");
        std::string rawName(static_cast<std::size_t>(nameLength), '\0');
        pack.ReadBuffer(rawName.data(), nameLength);
        const String name = AnsiToString(rawName);
        const std::int32_t size = ReadInt32(pack);
        if (size < 0) throw EacSkinPackError(L"Pack entry " + Quoted(name) + L" declares a negative size");
        if (size > limits.MaxEntry)
            throw EacSkinPackError(L"Pack entry " + Quoted(name) + L" declares " + IntToStr(size) +
                                   L" bytes, more than the " + IntToStr(limits.MaxEntry) + L" an entry may hold");
        total += size;
        if (total > limits.MaxTotal)
            throw EacSkinPackError(L"The pack's entries declare more than the " + IntToStr(limits.MaxTotal) +
                                   L" bytes a pack may hold");

        auto content = InflateEntry(pack, name, size);
        if (IsOptionsEntry(name)) {
            convertor->Options = std::move(content);
        } else {
            TacImageItem item;
            item.FileName = name;
            item.IsBitmap = UpperCase(ExtractFileExt(name)) == L".BMP";
            item.FileStream = std::move(content);
            convertor->Files.push_back(std::move(item));
        }
    }
}

}  // namespace qv
