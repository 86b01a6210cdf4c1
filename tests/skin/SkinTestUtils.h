// Helpers for the skin tests: raw pack bytes built field by field, so tests can write
// packs the writer never would (wrong sizes, cut-off streams, odd names).
#pragma once
#include "framework/Streams.h"
#include "skin/acSkinPack.h"
#include "skin/acSkinPackWriter.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qv::test {

using ByteVec = std::vector<std::uint8_t>;

inline void PutInt32(ByteVec& out, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int s = 0; s < 32; s += 8) out.push_back(static_cast<std::uint8_t>(u >> s));
}

inline ByteVec Bytes(const std::string& s) { return ByteVec(s.begin(), s.end()); }

// Content whose every byte depends on its position and the seed, so a shifted or
// swapped entry shows.
inline ByteVec Pattern(std::size_t size, unsigned seed) {
    ByteVec v(size);
    std::uint32_t x = seed * 2654435761u + 1;
    for (auto& b : v) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b = static_cast<std::uint8_t>(x);
    }
    return v;
}

// Compressible content (INI-like text with a varying number), so levels differ.
inline ByteVec Text(std::size_t size, unsigned seed) {
    ByteVec v;
    for (unsigned i = 0; v.size() < size; ++i) {
        const std::string line = "[SECTION" + std::to_string(i % 7) + "]\r\nCOLOR=" + std::to_string(i * seed) + "\r\n";
        v.insert(v.end(), line.begin(), line.end());
    }
    v.resize(size);
    return v;
}

struct RawPack {
    ByteVec Data{'C', 'V', 'z', 'f'};
    explicit RawPack(std::int32_t n) { PutInt32(Data, n); }
    // One entry: name, declared size, and the zlib stream of content.
    RawPack& Entry(const std::string& name, const ByteVec& content, int level = -1) {
        return EntryDeclared(name, static_cast<std::int32_t>(content.size()), content, level);
    }
    RawPack& EntryDeclared(const std::string& name, std::int32_t declared, const ByteVec& content, int level = -1) {
        PutInt32(Data, static_cast<std::int32_t>(name.size()));
        Data.insert(Data.end(), name.begin(), name.end());
        PutInt32(Data, declared);
        const ByteVec z = ZCompress(content.data(), content.size(), level);
        Data.insert(Data.end(), z.begin(), z.end());
        return *this;
    }
};

// Unpacks bytes through a convertor that owns a copy of them.
inline std::unique_ptr<TacSkinConvertor> Unpack(const ByteVec& pack, const TacPackLimits& limits = {}) {
    auto sc = std::make_unique<TacSkinConvertor>();
    sc->SetPackedData(std::make_unique<TBytesStream>(pack));
    ExtractPackedData(sc, limits);
    return sc;
}

}  // namespace qv::test
