// Writing skin packs: the options file first, then the images, each entry a name, its
// unpacked size and one zlib stream. Portable.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// One file to store in a pack: the name as it goes into the pack (8-bit characters,
// no path) and the unpacked content.
struct TacPackEntry {
    std::string Name;
    std::vector<std::uint8_t> Data;
};

// The bytes of a pack holding entries in the given order. Entries named Options.dat (in
// any letter case) are moved in front of the others, keeping their relative order, so
// readers find the options file first. Level is the zlib level (-1: zlib's default, 6).
std::vector<std::uint8_t> BuildSkinPack(const std::vector<TacPackEntry>& entries, int level = -1);

// The zlib stream (header, deflate data, Adler-32 trailer) of data at the given level.
std::vector<std::uint8_t> ZCompress(const std::uint8_t* data, std::size_t size, int level = -1);

}  // namespace qv
