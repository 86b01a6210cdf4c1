#include "framework/Streams.h"
#include "framework/StringList.h"
#include "framework/SysUtils.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

std::vector<String> Items(const TStringList& list) { return std::vector<String>(list.begin(), list.end()); }

TEST(StringListText, SplitsAtEveryLineEndWithoutAnEmptyLastItem) {
    TStringList list;
    list.SetText(L"a\r\nb\rc\nd\r\n");
    EXPECT_EQ(Items(list), (std::vector<String>{L"a", L"b", L"c", L"d"}));
    list.SetText(L"a\n\r\nb");  // LF then CR LF: an empty line between
    EXPECT_EQ(Items(list), (std::vector<String>{L"a", L"", L"b"}));
    list.SetText(L"\r\n");
    EXPECT_EQ(Items(list), (std::vector<String>{L""}));
    list.SetText(L"");
    EXPECT_EQ(list.Count(), 0);
    list.SetText(L"x\n\n");
    EXPECT_EQ(Items(list), (std::vector<String>{L"x", L""}));
}

TEST(StringListText, JoinsWithCrLfAfterEveryItem) {
    TStringList list;
    list.Add(L"one");
    list.Add(L"");
    list.Add(L"three");
    EXPECT_EQ(list.Text(), L"one\r\n\r\nthree\r\n");
}

TEST(StringListItems, InsertDeleteAndIndexErrors) {
    TStringList list;
    list.Insert(0, L"b");
    list.Insert(0, L"a");
    list.Insert(2, L"c");  // Count() appends
    EXPECT_EQ(Items(list), (std::vector<String>{L"a", L"b", L"c"}));
    list.Delete(1);
    EXPECT_EQ(Items(list), (std::vector<String>{L"a", L"c"}));
    EXPECT_EQ(list.IndexOf(L"c"), 1);
    EXPECT_EQ(list.IndexOf(L"C"), -1);
    list.SetCaseSensitive(false);
    EXPECT_EQ(list.IndexOf(L"C"), 1);
    EXPECT_THROW(list.Insert(3, L"x"), EListError);
    EXPECT_THROW(list.Delete(-1), EListError);
    EXPECT_THROW(list.Strings(2), EListError);
    try {
        list.Delete(5);
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), L"List index out of bounds (5)");
    }
    EXPECT_EQ(Items(list), (std::vector<String>{L"a", L"c"}));
}

TEST(StringListItems, NameValuePairs) {
    TStringList list;
    list.SetText(L"KEY=v=1\nother\nK=2");
    EXPECT_EQ(list.Names(0), L"KEY");
    EXPECT_EQ(list.ValueFromIndex(0), L"v=1");
    EXPECT_EQ(list.Values(L"K"), L"2");
    EXPECT_EQ(list.Values(L"other"), L"");
}

// Bytes worked out by hand: "Ä" is U+00C4 (UTF-8 C3 84, UTF-16 00C4, cp1252 C4),
// "€" is U+20AC (UTF-8 E2 82 AC, cp1252 80).
struct EncodingCase {
    const char* Name;
    std::string FileBytes;
    TTextEncoding Encoding;
};

class StringListFiles : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(StringListFiles, LoadRemembersTheMarkAndSaveWritesItBack) {
    const auto& c = GetParam();
    test::ScratchDir dir;
    const String name = dir.File(L"list.data");
    test::WriteAll(name, c.FileBytes);
    TStringList list;
    list.LoadFromFile(name);
    EXPECT_EQ(list.Encoding(), c.Encoding);
    EXPECT_EQ(Items(list), (std::vector<String>{L"\u00C4", L"\u20AC"}));
    // Saving unchanged gives the file back with CR LF after each line.
    list.SaveToFile(name);
    EXPECT_EQ(test::ReadAll(name), c.FileBytes);
    EXPECT_EQ(list.EncodeText(), c.FileBytes);
}

INSTANTIATE_TEST_SUITE_P(
    Marks, StringListFiles,
    ::testing::Values(
        EncodingCase{"Ansi", "\xC4\r\n\x80\r\n", teAnsi},
        EncodingCase{"Utf8", "\xEF\xBB\xBF\xC3\x84\r\n\xE2\x82\xAC\r\n", teUtf8},
        EncodingCase{"Utf16LE", std::string("\xFF\xFE\xC4\x00\r\x00\n\x00\xAC\x20\r\x00\n\x00", 14), teUtf16LE},
        EncodingCase{"Utf16BE", std::string("\xFE\xFF\x00\xC4\x00\r\x00\n\x20\xAC\x00\r\x00\n", 14), teUtf16BE}),
    [](const auto& testInfo) { return std::string(testInfo.param.Name); });

TEST(StringListSaving, EmptyListWritesNothingOrTheMarkAlone) {
    TStringList list;
    EXPECT_EQ(list.EncodeText(), "");
    list.SetEncoding(teUtf8);
    EXPECT_EQ(list.EncodeText(), "\xEF\xBB\xBF");
    list.SetEncoding(teUtf16LE);
    EXPECT_EQ(list.EncodeText(), "\xFF\xFE");
    // A file holding only a mark loads as an empty list that keeps the mark.
    TStringList loaded;
    loaded.LoadFromBytes("\xEF\xBB\xBF");
    EXPECT_EQ(loaded.Count(), 0);
    EXPECT_EQ(loaded.Encoding(), teUtf8);
}

TEST(StringListSaving, AnsiLosesCharactersTheCodePageCannotHold) {
    TStringList list;
    list.Add(L"a\u0416b");  // Cyrillic Zhe is not in code page 1252
    EXPECT_EQ(list.EncodeText(), "a?b\r\n");
    EXPECT_FALSE(CanEncodeAnsi(L"\u0416"));
    EXPECT_TRUE(CanEncodeAnsi(L"\u00E9\u20AC"));
}

TEST(StringListSaving, InvalidUtf8BecomesReplacementCharacters) {
    TStringList list;
    list.LoadFromBytes(
        "\xEF\xBB\xBF"
        "a\xFF\xC3"
        "\r\n\xE2\x82");
    EXPECT_EQ(Items(list), (std::vector<String>{L"a\uFFFD\uFFFD", L"\uFFFD"}));
}

TEST(StringListSaving, UnreadableAndUnwritableFilesRaiseAndKeepTheItems) {
    test::ScratchDir dir;
    TStringList list;
    list.Add(L"kept");
    try {
        list.LoadFromFile(dir.File(L"missing.data"));
        FAIL() << "no exception";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message().rfind(L"Cannot open file \"" + dir.File(L"missing.data") + L"\". ", 0), 0u)
            << StringToUtf8(e.Message());
    }
    EXPECT_EQ(Items(list), (std::vector<String>{L"kept"}));
    // A folder cannot be written as a file.
    EXPECT_THROW(list.SaveToFile(dir.File(L"")), EFCreateError);
    EXPECT_THROW(list.SaveToFile(dir.File(L"no/such/folder/x.data")), EFCreateError);
}

TEST(StringListSaving, LoadFromStreamReadsFromTheCurrentPosition) {
    TBytesStream stream(std::string("skip\xEF\xBB\xBFx\r\ny").c_str(), 11);
    stream.SetPosition(4);
    TStringList list;
    list.LoadFromStream(stream);
    EXPECT_EQ(Items(list), (std::vector<String>{L"x", L"y"}));
    EXPECT_EQ(list.Encoding(), teUtf8);
    TMemoryStream saved;
    list.SaveToStream(saved);
    EXPECT_EQ(std::string(saved.Bytes().begin(), saved.Bytes().end()), "\xEF\xBB\xBFx\r\ny\r\n");
}

}  // namespace
}  // namespace qv
