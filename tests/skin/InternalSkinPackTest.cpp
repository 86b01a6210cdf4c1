// The internal skin's pack as the build writes it: entry order, zlib streams, and that it
// holds exactly the committed files of skins/AndroidOS.
#include "InternalSkinTestUtils.h"

#include <zlib.h>

#include <string>

namespace qv::test {
namespace {

struct RawEntry {
    std::string Name;
    std::int32_t Size = 0;
    std::vector<std::uint8_t> Stream;  // the zlib stream as stored
    std::vector<std::uint8_t> Content;
};

std::int32_t Int32At(const std::vector<std::uint8_t>& b, std::size_t at) {
    if (at + 4 > b.size()) throw std::runtime_error("pack ends inside an integer");
    return static_cast<std::int32_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
                                     (static_cast<std::uint32_t>(b[at + 3]) << 24));
}

// Walks the pack field by field with zlib directly, independent of the engine's reader:
// each stream ends where inflate reports its end.
std::vector<RawEntry> WalkPack(const std::vector<std::uint8_t>& pack) {
    if (pack.size() < 8 || std::string(pack.begin(), pack.begin() + 4) != "CVzf")
        throw std::runtime_error("not a pack");
    const std::int32_t n = Int32At(pack, 4);
    std::size_t at = 8;
    std::vector<RawEntry> entries;
    for (std::int32_t i = 0; i < n; ++i) {
        RawEntry e;
        const std::int32_t len = Int32At(pack, at);
        at += 4;
        e.Name.assign(pack.begin() + static_cast<std::ptrdiff_t>(at),
                      pack.begin() + static_cast<std::ptrdiff_t>(at + len));
        at += static_cast<std::size_t>(len);
        e.Size = Int32At(pack, at);
        at += 4;
        e.Content.resize(static_cast<std::size_t>(e.Size) + 1);
        z_stream z{};
        inflateInit(&z);
        z.next_in = const_cast<Bytef*>(pack.data() + at);
        z.avail_in = static_cast<uInt>(pack.size() - at);
        z.next_out = e.Content.data();
        z.avail_out = static_cast<uInt>(e.Content.size());
        const int rc = inflate(&z, Z_FINISH);
        const std::size_t used = pack.size() - at - z.avail_in;
        e.Content.resize(e.Content.size() - z.avail_out);
        inflateEnd(&z);
        if (rc != Z_STREAM_END) throw std::runtime_error("entry " + e.Name + " is not one complete zlib stream");
        e.Stream.assign(pack.begin() + static_cast<std::ptrdiff_t>(at),
                        pack.begin() + static_cast<std::ptrdiff_t>(at + used));
        at += used;
        entries.push_back(std::move(e));
    }
    if (at != pack.size()) throw std::runtime_error("bytes after the last entry");
    return entries;
}

using InternalSkinPack = InternalSkin;

TEST_F(InternalSkinPack, HoldsTheSixEntriesInTheirOrder) {
    const std::vector<RawEntry> entries = WalkPack(Pack());
    std::vector<std::string> names;
    for (const auto& e : entries) names.push_back(e.Name);
    const std::vector<std::string> expected{"Options.dat",    "ButtonHuge.bmp", "Master.bmp",
                                            "ButtonGlow.png", "EditGlow.png",   "Ext_Border.png"};
    EXPECT_EQ(names, expected);
}

TEST_F(InternalSkinPack, EveryStreamIsADefaultLevelZlibStreamOfItsDeclaredSize) {
    for (const RawEntry& e : WalkPack(Pack())) {
        ASSERT_GE(e.Stream.size(), 2u) << e.Name;
        // 0x78 0x9C: 32 KiB window, default compression level.
        EXPECT_EQ(e.Stream[0], 0x78) << e.Name;
        EXPECT_EQ(e.Stream[1], 0x9C) << e.Name;
        EXPECT_EQ(static_cast<std::int32_t>(e.Content.size()), e.Size) << e.Name;
    }
}

TEST_F(InternalSkinPack, EntriesAreTheCommittedFilesByteForByte) {
    for (const RawEntry& e : WalkPack(Pack()))
        EXPECT_TRUE(e.Content == ReadPackFile(InternalSkinFolder() + L"/" + Utf8ToString(e.Name)))
            << e.Name << " in the pack differs from skins/AndroidOS";
}

TEST_F(InternalSkinPack, TheEnginesReaderSeesFiveImagesAndTheOptions) {
    std::unique_ptr<TacSkinConvertor> sc;
    LoadSkinFromFile(InternalSkinPackPath(), sc, true);
    ASSERT_TRUE(sc);
    EXPECT_EQ(sc->ImageCount, 5);
    ASSERT_EQ(sc->Files.size(), 5u);
    ASSERT_TRUE(sc->Options);
    EXPECT_EQ(sc->Options->Bytes(), ReadPackFile(InternalSkinFolder() + L"/Options.dat"));
    const bool bitmaps[] = {true, true, false, false, false};
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(sc->Files[i].IsBitmap, bitmaps[i]) << StringToUtf8(sc->Files[i].FileName);
}

}  // namespace
}  // namespace qv::test
