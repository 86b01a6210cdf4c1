// The pack reader on crafted packs: entry boundaries found from the zlib streams, names,
// the options entry, and every way a pack can be cut off, corrupt or lying about sizes.
#include "skin/acSkinPack.h"
#include "skin/acSkinPackWriter.h"
#include "skin/acntUtils.h"

#include "framework/Strings.h"
#include "framework/SysUtils.h"
#include "SkinTestUtils.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace qv {
namespace {

using test::ByteVec;
using test::Pattern;
using test::RawPack;
using test::Unpack;

ByteVec Contents(const TMemoryStream& s) { return s.Bytes(); }

// The six entries of a skin shaped like the program's own.
std::vector<TacPackEntry> SixEntries() {
    return {{"Options.dat", test::Text(13785, 1)}, {"ButtonHuge.bmp", test::Text(5000, 2)},
            {"Master.bmp", test::Text(40000, 3)},  {"ButtonGlow.png", Pattern(900, 4)},
            {"EditGlow.png", Pattern(700, 5)},     {"Ext_Border.png", Pattern(3000, 6)}};
}

class PackLevels : public ::testing::TestWithParam<int> {};

TEST_P(PackLevels, SixEntriesReadTheSameAtEveryLevel) {
    const auto entries = SixEntries();
    const ByteVec pack = BuildSkinPack(entries, GetParam());
    auto sc = Unpack(pack);
    ASSERT_TRUE(sc);
    EXPECT_EQ(sc->ImageCount, 5);
    ASSERT_TRUE(sc->Options);
    EXPECT_EQ(Contents(*sc->Options), entries[0].Data);
    ASSERT_EQ(sc->Files.size(), 5u);
    const bool bitmaps[5] = {true, true, false, false, false};
    for (int i = 0; i < 5; ++i) {
        const auto& item = sc->Files[static_cast<std::size_t>(i)];
        EXPECT_EQ(item.FileName, Utf8ToString(entries[static_cast<std::size_t>(i + 1)].Name)) << i;
        EXPECT_EQ(item.IsBitmap, bitmaps[i]) << i;
        ASSERT_TRUE(item.FileStream);
        EXPECT_EQ(Contents(*item.FileStream), entries[static_cast<std::size_t>(i + 1)].Data) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(ZlibLevels, PackLevels, ::testing::Range(0, 10));

TEST(PackReader, WriterPutsOptionsFirstWithDefaultLevelHeaders) {
    std::vector<TacPackEntry> entries = {{"a.png", Pattern(10, 1)}, {"OPTIONS.DAT", Pattern(20, 2)}};
    const ByteVec pack = BuildSkinPack(entries);
    // magic, N = 2, L = 11, "OPTIONS.DAT", S = 20, then the stream with the default header.
    ASSERT_GT(pack.size(), 31u);
    EXPECT_EQ(std::string(pack.begin(), pack.begin() + 4), "CVzf");
    EXPECT_EQ(pack[4], 2);
    EXPECT_EQ(pack[8], 11);
    EXPECT_EQ(std::string(pack.begin() + 12, pack.begin() + 23), "OPTIONS.DAT");
    EXPECT_EQ(pack[23], 20);
    EXPECT_EQ(pack[27], 0x78);
    EXPECT_EQ(pack[28], 0x9C);
}

TEST(PackReader, EntriesLongerThanOneInputChunkKeepTheNextEntryAligned) {
    // Stored (level 0) data of 300 000 incompressible bytes spans three input chunks.
    const ByteVec big = Pattern(300000, 9), small = Pattern(33, 10);
    const ByteVec pack = RawPack(3).Entry("Big.png", big, 0).Entry("Options.dat", small).Entry("x", {}).Data;
    auto sc = Unpack(pack);
    ASSERT_EQ(sc->Files.size(), 2u);
    EXPECT_EQ(Contents(*sc->Files[0].FileStream), big);
    EXPECT_EQ(Contents(*sc->Options), small);
    EXPECT_TRUE(Contents(*sc->Files[1].FileStream).empty());
}

TEST(PackReader, MagicDifferingOnlyInCaseIsRejected) {
    for (const char* magic : {"cvzf", "CVZF", "CvZf", "Cvzf"}) {
        ByteVec pack = BuildSkinPack({{"Options.dat", Pattern(10, 1)}});
        std::copy(magic, magic + 4, pack.begin());
        auto sc = std::make_unique<TacSkinConvertor>();
        sc->SetPackedData(std::make_unique<TBytesStream>(pack));
        try {
            ExtractPackedData(sc);
            ADD_FAILURE() << magic << " accepted";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), L"Loaded data is not a packed Corvane file") << magic;
        }
        EXPECT_FALSE(sc) << "the convertor must be discarded for " << magic;
    }
}

TEST(PackReader, RejectingALentPackLeavesTheLendersBytes) {
    TBytesStream internal(ByteVec{'X', 'V', 'z', 'f', 1, 0, 0, 0});
    const ByteVec before = internal.Bytes();
    auto sc = std::make_unique<TacSkinConvertor>();
    sc->LendPackedData(&internal);
    EXPECT_THROW(ExtractPackedData(sc), Exception);
    EXPECT_FALSE(sc);
    EXPECT_EQ(internal.Bytes(), before);  // still alive and unchanged
}

TEST(PackReader, EntryCountZeroOrNegativeReadsNothing) {
    for (int n : {0, -1, -7}) {
        auto sc = Unpack(RawPack(n).Data);
        EXPECT_EQ(sc->ImageCount, n - 1);
        EXPECT_FALSE(sc->Options);
        EXPECT_TRUE(sc->Files.empty());
    }
}

TEST(PackReader, OptionsEntryInAnyLetterCaseAndTheLastOneWins) {
    const ByteVec first = Pattern(50, 1), second = Pattern(60, 2);
    auto sc = Unpack(
        RawPack(3).Entry("oPtIoNs.DaT", first).Entry("Master", Pattern(5, 3)).Entry("OPTIONS.dat", second).Data);
    ASSERT_TRUE(sc->Options);
    EXPECT_EQ(Contents(*sc->Options), second);
    ASSERT_EQ(sc->Files.size(), 1u);
    EXPECT_EQ(sc->Files[0].FileName, L"Master");
    EXPECT_FALSE(sc->Files[0].IsBitmap);  // no extension
    EXPECT_EQ(sc->ImageCount, 2);
}

TEST(PackReader, BitmapTestLooksAtTheExtensionOnly) {
    auto sc = Unpack(RawPack(4).Entry("a.bmp", {1}).Entry("b.BMP.png", {2}).Entry("bmp", {3}).Entry("c.Bmp", {4}).Data);
    ASSERT_EQ(sc->Files.size(), 4u);
    EXPECT_TRUE(sc->Files[0].IsBitmap);
    EXPECT_FALSE(sc->Files[1].IsBitmap);
    EXPECT_FALSE(sc->Files[2].IsBitmap);
    EXPECT_TRUE(sc->Files[3].IsBitmap);
    EXPECT_EQ(sc->FindFile(L"C.BMP"), &sc->Files[3]);
    EXPECT_EQ(sc->FindFile(L"c.Bmp"), nullptr);  // names are matched upper-cased against the name as given
}

TEST(PackReader, EveryTruncationRaisesAnError) {
    const ByteVec pack = BuildSkinPack(SixEntries());
    for (std::size_t cut = 0; cut < pack.size(); cut += (cut < 200 ? 1 : 97)) {
        const ByteVec part(pack.begin(), pack.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_THROW(Unpack(part), Exception) << "cut at " << cut;
    }
}

TEST(PackReader, CorruptStreamReportsZlibsText) {
    ByteVec pack = RawPack(1).Entry("Options.dat", Pattern(100, 1)).Data;
    const std::size_t streamStart = 4 + 4 + 4 + 11 + 4;
    pack[streamStart] = 0x79;  // header check fails
    try {
        Unpack(pack);
        ADD_FAILURE() << "accepted";
    } catch (const EZLibError& e) {
        EXPECT_EQ(e.Message(), L"data error");
    }
}

// The entry checksum is summed sixteen bytes a step and reduced every 5552 bytes: lengths
// around both steps, random bytes and all-0xFF bytes (the largest sums), must each unpack
// to their content against the checksum zlib wrote.
class ChecksumLengths : public ::testing::TestWithParam<std::size_t> {};

TEST_P(ChecksumLengths, EntriesUnpackAgainstTheirStoredChecksum) {
    for (const ByteVec& content : {Pattern(GetParam(), 9), ByteVec(GetParam(), 0xFF)}) {
        std::unique_ptr<TacSkinConvertor> sc;
        ASSERT_NO_THROW(sc = Unpack(RawPack(1).Entry("Options.dat", content).Data)) << GetParam() << " bytes";
        EXPECT_EQ(Contents(*sc->Options), content) << GetParam() << " bytes";
    }
}

INSTANTIATE_TEST_SUITE_P(AroundSteps, ChecksumLengths,
                         ::testing::Values(1, 15, 16, 17, 31, 5551, 5552, 5553, 5567, 5568, 5569, 11104, 70001));

TEST(PackReader, DataThatDoesNotMatchItsChecksumIsRejected) {
    // Entries longer than one checksum block, with the trailer's every byte flipped in turn.
    const ByteVec intact = RawPack(1).Entry("Options.dat", Pattern(70000, 3)).Data;
    EXPECT_NO_THROW(Unpack(intact));
    for (std::size_t back = 1; back <= 4; ++back) {
        ByteVec pack = intact;
        pack[pack.size() - back] ^= 0x01;
        try {
            Unpack(pack);
            ADD_FAILURE() << "accepted a wrong checksum byte " << back << " from the end";
        } catch (const EZLibError& e) {
            EXPECT_EQ(e.Message(), L"data error");
        }
    }
}

TEST(PackReader, DeclaredSizeMustMatchTheInflatedSize) {
    const ByteVec data = Pattern(1000, 4);
    for (int declared : {999, 1001, 0, 5000}) {
        const ByteVec pack = RawPack(2).EntryDeclared("a.png", declared, data).Entry("Options.dat", {1, 2}).Data;
        EXPECT_THROW(Unpack(pack), EacSkinPackError) << declared;
    }
}

TEST(PackReader, SizesAndNameLengthsThatCannotBeRightAreRefused) {
    ByteVec negativeName = RawPack(1).Data;
    test::PutInt32(negativeName, -5);
    EXPECT_THROW(Unpack(negativeName), EacSkinPackError);

    ByteVec longName = RawPack(1).Data;
    test::PutInt32(longName, 1000);
    longName.resize(longName.size() + 20, 'a');
    EXPECT_THROW(Unpack(longName), EacSkinPackError);

    EXPECT_THROW(Unpack(RawPack(1).EntryDeclared("a", -1, {}).Data), EacSkinPackError);
    // Declared above the per-entry limit: refused before anything is inflated.
    EXPECT_THROW(Unpack(RawPack(1).EntryDeclared("a", 0x7FFFFFFF, {1}).Data), EacSkinPackError);
    // Within the entry limit one by one, beyond the pack limit together.
    const TacPackLimits small{100, 250};
    const ByteVec ok = RawPack(2).Entry("a", Pattern(100, 1)).Entry("b", Pattern(100, 2)).Data;
    EXPECT_NO_THROW(Unpack(ok, small));
    const ByteVec tooMuch =
        RawPack(3).Entry("a", Pattern(100, 1)).Entry("b", Pattern(100, 2)).Entry("c", Pattern(60, 3)).Data;
    EXPECT_THROW(Unpack(tooMuch, small), EacSkinPackError);
    EXPECT_THROW(Unpack(RawPack(1).Entry("a", Pattern(101, 1)).Data, small), EacSkinPackError);
}

TEST(PackReader, HugeEntryCountEndsAtTheEndOfTheData) {
    EXPECT_THROW(Unpack(RawPack(0x7FFFFFFF).Entry("a", {1}).Data), EReadError);
}

TEST(ZDecompressionStream, WritingIsRefused) {
    TBytesStream src(ZCompress(reinterpret_cast<const std::uint8_t*>("abc"), 3));
    TacZDecompressionStream z(src);
    try {
        z.Write("x", 1);
        ADD_FAILURE() << "write accepted";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Invalid ZStream operation!");
    }
}

TEST(ZDecompressionStream, ContinuesWhereItsChunkEndedWhenTheSourceWasMoved) {
    const ByteVec a = Pattern(200000, 1);
    ByteVec joined = ZCompress(a.data(), a.size(), 0);
    const std::size_t firstEnd = joined.size();
    joined.push_back(0xEE);
    TBytesStream src(joined);
    TacZDecompressionStream z(src);
    ByteVec out(a.size());
    ASSERT_EQ(z.Read(out.data(), 1000), 1000);
    src.SetPosition(5);  // someone else reads elsewhere
    ASSERT_EQ(z.Read(out.data() + 1000, static_cast<std::int64_t>(a.size()) - 1000),
              static_cast<std::int64_t>(a.size()) - 1000);
    EXPECT_EQ(out, a);
    EXPECT_TRUE(z.FinishStream());
    EXPECT_EQ(src.Position(), static_cast<std::int64_t>(firstEnd));  // right after the trailer
}

class PackFile : public ::testing::Test {
protected:
    void SetUp() override {
        FDir = std::filesystem::temp_directory_path() /
               ("qv-pack-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::create_directories(FDir);
    }
    void TearDown() override { std::filesystem::remove_all(FDir); }
    String Path(const char* name) const { return Utf8ToString((FDir / name).string()); }
    std::filesystem::path FDir;
};

TEST_F(PackFile, MissingFileChangesNothing) {
    std::unique_ptr<TacSkinConvertor> none;
    LoadSkinFromFile(Path("absent.cvz"), none, true);
    EXPECT_FALSE(none);
    auto sc = Unpack(BuildSkinPack({{"Options.dat", {7}}}));
    LoadSkinFromFile(Path("absent.cvz"), sc, true);
    ASSERT_TRUE(sc && sc->Options);
    EXPECT_EQ(Contents(*sc->Options), ByteVec{7});
}

TEST_F(PackFile, LoadsAFileAndReleasesThePackedBytesWhenAsked) {
    TBytesStream(BuildSkinPack(SixEntries())).SaveToFile(Path("skin.cvz"));
    std::unique_ptr<TacSkinConvertor> sc;
    LoadSkinFromFile(Path("skin.cvz"), sc, false);
    ASSERT_TRUE(sc && sc->PackedData());
    EXPECT_EQ(sc->Files.size(), 5u);
    LoadSkinFromFile(Path("skin.cvz"), sc, true);
    ASSERT_TRUE(sc);
    EXPECT_EQ(sc->PackedData(), nullptr);
    EXPECT_EQ(sc->Files.size(), 5u);  // cleared before the second load, not appended to
}

TEST(NormalDirTest, Cases) {
    EXPECT_EQ(NormalDir(L""), L"");
    EXPECT_EQ(NormalDir(L"C:\\Out\\"), L"C:\\Out\\");
    EXPECT_EQ(NormalDir(L"C:/Out/"), L"C:/Out\\");
    EXPECT_EQ(NormalDir(L"C:\\Out"), L"C:\\Out\\");
    EXPECT_EQ(NormalDir(L"D"), L"D:\\");
}

}  // namespace
}  // namespace qv
