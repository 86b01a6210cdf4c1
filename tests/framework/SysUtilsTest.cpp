#include "framework/Streams.h"
#include "framework/Strings.h"
#include "framework/SysUtils.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(Conversions, StrToIntGrammarAndMessages) {
    int v = 0;
    EXPECT_TRUE(TryStrToInt(L"-2147483648", v));
    EXPECT_EQ(v, INT32_MIN);
    EXPECT_FALSE(TryStrToInt(L"2147483648", v));
    EXPECT_TRUE(TryStrToInt(L"$7fffFFFF", v));
    EXPECT_EQ(v, 0x7FFFFFFF);
    EXPECT_TRUE(TryStrToInt(L"0x80000000", v));
    EXPECT_EQ(v, INT32_MIN);
    EXPECT_FALSE(TryStrToInt(L"$100000000", v));
    for (const wchar_t* bad : {L"", L"-", L"+", L"$", L"0x", L" 1", L"1 ", L"--1", L"-$1", L"1e3", L"$G"})
        EXPECT_FALSE(TryStrToInt(bad, v)) << StringToUtf8(bad);
    EXPECT_EQ(StrToIntDef(L"x", 5), 5);
    try {
        StrToInt(L"12z");
        FAIL() << "accepted";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"'12z' is not a valid integer value");
        EXPECT_STREQ(e.what(), "'12z' is not a valid integer value");
    }
    EXPECT_DOUBLE_EQ(StrToFloat(L"-7.25"), -7.25);
    EXPECT_DOUBLE_EQ(StrToFloat(L"1e2"), 100.0);
    EXPECT_THROW(StrToFloat(L"7,25"), EConvertError);
    EXPECT_THROW(StrToFloat(L"+-1"), EConvertError);
    EXPECT_EQ(FloatToStr(7.5), L"7.5");
    EXPECT_EQ(IntToHex(0xAB, 4), L"00AB");
}

TEST(Conversions, CaseAndTrimTouchOnlyAscii) {
    EXPECT_EQ(UpperCase(L"abc\u00E9z"), L"ABC\u00E9Z");
    EXPECT_EQ(LowerCase(L"ABC\u00C9Z"), L"abc\u00C9z");
    EXPECT_EQ(Trim(L" \t a b \r\n"), L"a b");
    EXPECT_EQ(Trim(L"   "), L"");
}

TEST(Encodings, Utf8AndUtf16RoundTripOutsideTheBasicPlane) {
    const String text = CodePointsToString(U"a\u00E9\u20AC\U0001F600");
    EXPECT_EQ(StringToUtf8(text), "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8ToString(StringToUtf8(text)), text);
    EXPECT_EQ(StringToUtf16LE(text), std::string("a\0\xE9\0\xAC\x20\x3D\xD8\x00\xDE", 10));
    EXPECT_EQ(StringToUtf16BE(text), std::string("\0a\0\xE9\x20\xAC\xD8\x3D\xDE\x00", 10));
    EXPECT_EQ(Utf16LEToString(StringToUtf16LE(text)), text);
    EXPECT_EQ(Utf16BEToString(StringToUtf16BE(text)), text);
}

TEST(Encodings, MalformedInputBecomesReplacementCharacters) {
    // Overlong "/", an encoded surrogate, a lone continuation byte, a cut sequence.
    EXPECT_EQ(StringToCodePoints(Utf8ToString(std::string_view("\xC0\xAF"
                                                               "x\xED\xA0\x80"
                                                               "y\x80z\xF0\x9F\x98"))),
              U"\uFFFD\uFFFDx\uFFFD\uFFFD\uFFFDy\uFFFDz\uFFFD");
    // A lone high surrogate and an odd final byte.
    EXPECT_EQ(StringToCodePoints(Utf16LEToString(std::string("\x3D\xD8"
                                                             "a\0"
                                                             "b",
                                                             5))),
              U"\uFFFDa\uFFFD");
}

TEST(Encodings, AnsiIsCodePage1252) {
    EXPECT_EQ(AnsiToString("\x80\x9F\xE9\x81"), L"\u20AC\u0178\u00E9\u0081");
    bool lost = true;
    EXPECT_EQ(StringToAnsi(L"\u20AC\u00E9", &lost), "\x80\xE9");
    EXPECT_FALSE(lost);
    EXPECT_EQ(StringToAnsi(L"x\u4E2D", &lost), "x?");
    EXPECT_TRUE(lost);
}

TEST(FileNames, SplittingAndExtensions) {
    const String d(1, PathDelim);
    const String path = d + L"skins" + d + L"Android.x" + d + L"Options.dat";
    EXPECT_EQ(ExtractFilePath(path), d + L"skins" + d + L"Android.x" + d);
    EXPECT_EQ(ExtractFileDir(path), d + L"skins" + d + L"Android.x");
    EXPECT_EQ(ExtractFileName(path), L"Options.dat");
    EXPECT_EQ(ExtractFileExt(path), L".dat");
    EXPECT_EQ(ExtractFileExt(d + L"a.b" + d + L"noext"), L"");
    EXPECT_EQ(ChangeFileExt(path, L".bak"), d + L"skins" + d + L"Android.x" + d + L"Options.bak");
    EXPECT_EQ(ChangeFileExt(L"name", L".cvz"), L"name.cvz");
    EXPECT_EQ(IncludeTrailingPathDelimiter(L"a"), L"a" + d);
    EXPECT_EQ(IncludeTrailingPathDelimiter(L"a" + d), L"a" + d);
    EXPECT_EQ(ExcludeTrailingPathDelimiter(L"a" + d), L"a");
    EXPECT_EQ(ExtractFileDir(d + L"a"), d);
}

TEST(FileSystem, ForceDirectoriesExistsAndDelete) {
    test::ScratchDir dir;
    const String d(1, PathDelim);
    const String deep = dir.File(L"one") + d + L"two" + d + L"three" + d;
    EXPECT_TRUE(ForceDirectories(deep));
    EXPECT_TRUE(DirectoryExists(deep));
    EXPECT_FALSE(FileExists(deep));
    const String file = deep + L"f\u00E9.txt";
    test::WriteAll(file, "x");
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(DirectoryExists(file));
    EXPECT_FALSE(ForceDirectories(file + d + L"sub"));  // a file is in the way
    EXPECT_TRUE(DeleteFile(file));
    EXPECT_FALSE(FileExists(file));
    EXPECT_FALSE(DeleteFile(file));
}

// Skins name their files as Windows does: any letter case, "\" between folders.
TEST(FileSystem, ExistingFileIgnoringCaseFindsFilesNamedInAnotherCase) {
    test::ScratchDir dir;
    test::WriteAll(dir.File(L"Edge.BMP"), "edge");
    ASSERT_TRUE(ForceDirectories(dir.File(L"Sub")));
    test::WriteAll(dir.File(L"Sub") + PathDelim + L"Inner.png", "inner");
    EXPECT_EQ(test::ReadAll(ExistingFileIgnoringCase(dir.File(L"edge.bmp"))), "edge");
    EXPECT_EQ(test::ReadAll(ExistingFileIgnoringCase(dir.File(L"Sub") + L"\\INNER.PNG")), "inner");
    EXPECT_EQ(ExistingFileIgnoringCase(dir.File(L"missing.bmp")), String());
    EXPECT_EQ(ExistingFileIgnoringCase(dir.File(L"sub")), String());  // a folder is no file
}

TEST(Streams, MemoryStreamSeekReadWriteAndErrors) {
    TMemoryStream s;
    s.WriteBuffer("abcdef", 6);
    EXPECT_EQ(s.Position(), 6);
    s.Seek(-2, soEnd);
    char buf[8] = {};
    EXPECT_EQ(s.Read(buf, 4), 2);
    EXPECT_EQ(std::string(buf, 2), "ef");
    s.SetPosition(1);
    EXPECT_THROW(s.ReadBuffer(buf, 6), EReadError);
    s.SetPosition(8);
    s.WriteBuffer("z", 1);  // past the end: the gap is zero-filled
    EXPECT_EQ(std::string(s.Bytes().begin(), s.Bytes().end()), std::string("abcdef\0\0z", 9));
    s.SetSize(3);
    EXPECT_EQ(s.Position(), 3);
    TMemoryStream copy;
    EXPECT_EQ(copy.CopyFrom(s, 0), 3);
    EXPECT_EQ(std::string(copy.Bytes().begin(), copy.Bytes().end()), "abc");
}

TEST(Streams, FileStreamCreateOpenAndMessages) {
    test::ScratchDir dir;
    const String name = dir.File(L"data.bin");
    {
        TFileStream out(name, fmCreate);
        out.WriteBuffer("hello world", 11);
        out.SetSize(5);
    }
    EXPECT_EQ(test::ReadAll(name), "hello");
    {
        TFileStream in(name, fmOpenRead | fmShareDenyWrite);
        EXPECT_EQ(in.Size(), 5);
        in.Seek(1, soBeginning);
        char buf[8] = {};
        EXPECT_THROW(in.ReadBuffer(buf, 8), EReadError);
        EXPECT_THROW(in.WriteBuffer("x", 1), EWriteError);
    }
    TMemoryStream m;
    m.LoadFromFile(name);
    EXPECT_EQ(m.Bytes().size(), 5u);
    const String missing = dir.File(L"missing.bin");
    try {
        TFileStream in(missing, fmOpenRead);
        FAIL() << "opened";
    } catch (const EFOpenError& e) {
        const String prefix = L"Cannot open file \"" + missing + L"\". ";
        ASSERT_GT(e.Message().size(), prefix.size());
        EXPECT_EQ(e.Message().substr(0, prefix.size()), prefix);
        EXPECT_NE(e.Message().back(), L'\n');
    }
    try {
        TFileStream out(dir.File(L"nofolder") + String(1, PathDelim) + L"x", fmCreate);
        FAIL() << "created";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message().rfind(L"Cannot create file \"", 0), 0u);
    }
}

}  // namespace
}  // namespace qv
