#include "skin/acSkinPackWriter.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace qv {

namespace {

void AppendInt32(std::vector<std::uint8_t>& out, std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(u >> shift));
}

bool IsOptionsName(const std::string& name) {
    static const char kOptions[] = "options.dat";
    if (name.size() != sizeof(kOptions) - 1) return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(name[i])) != kOptions[i]) return false;
    return true;
}

}  // namespace

std::vector<std::uint8_t> ZCompress(const std::uint8_t* data, std::size_t size, int level) {
    if (size > 0x7FFFFFFFu) throw std::length_error("File too large for a skin pack");
    uLongf bound = compressBound(static_cast<uLong>(size));
    std::vector<std::uint8_t> out(bound);
    // compress2 with an empty input still writes a complete stream (header, empty final
    // block, trailer); it needs a valid source pointer even then.
    static const std::uint8_t kNothing = 0;
    const int rc = compress2(out.data(), &bound, size ? data : &kNothing, static_cast<uLong>(size), level);
    if (rc != Z_OK) throw std::runtime_error(zError(rc));
    out.resize(bound);
    return out;
}

std::vector<std::uint8_t> BuildSkinPack(const std::vector<TacPackEntry>& entries, int level) {
    std::vector<const TacPackEntry*> ordered;
    ordered.reserve(entries.size());
    for (const auto& e : entries)
        if (IsOptionsName(e.Name)) ordered.push_back(&e);
    for (const auto& e : entries)
        if (!IsOptionsName(e.Name)) ordered.push_back(&e);

    std::vector<std::uint8_t> pack{'C', 'V', 'z', 'f'};
    AppendInt32(pack, static_cast<std::int32_t>(ordered.size()));
    for (const TacPackEntry* e : ordered) {
        if (e->Name.size() > 0x7FFFFFFFu || e->Data.size() > 0x7FFFFFFFu)
            throw std::length_error("File too large for a skin pack: " + e->Name);
        AppendInt32(pack, static_cast<std::int32_t>(e->Name.size()));
        pack.insert(pack.end(), e->Name.begin(), e->Name.end());
        AppendInt32(pack, static_cast<std::int32_t>(e->Data.size()));
        const auto z = ZCompress(e->Data.data(), e->Data.size(), level);
        pack.insert(pack.end(), z.begin(), z.end());
    }
    return pack;
}

}  // namespace qv
