#include "framework/IniFiles.h"
#include "framework/SysUtils.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

std::vector<String> Items(const TStringList& list) { return std::vector<String>(list.begin(), list.end()); }

TMemIniFile& Parse(TMemIniFile& ini, const String& text) {
    TStringList lines;
    lines.SetText(text);
    ini.SetStrings(lines);
    return ini;
}

TEST(MemIniGrammar, TrimsSkipsCommentsAndFindsTheFirstOccurrence) {
    TMemIniFile ini;
    Parse(ini,
          L"ORPHAN=before any section\n"
          L"  [BUTTON]  \n"
          L"; STATES=9\n"
          L"\n"
          L"  STATES   =  3  \n"
          L"COLOR=$FF00FF\n"
          L"STATES=7\n"
          L"no equals sign\n"
          L"EMPTY=\n"
          L"[ EDIT ]\n"
          L"PARENTCLASS = BUTTON ; kept whole\n"
          L"[BUTTON]\n"
          L"LATER=1\n");
    EXPECT_EQ(ini.ReadString(L"BUTTON", L"STATES", L"x"), L"3");
    EXPECT_EQ(ini.ReadInteger(L"BUTTON", L"STATES", -1), 3);
    EXPECT_EQ(ini.ReadString(L"BUTTON", L"; STATES", L"absent"), L"absent");
    EXPECT_EQ(ini.ReadString(L"BUTTON", L"EMPTY", L"absent"), L"");
    EXPECT_EQ(ini.ReadString(L"EDIT", L"PARENTCLASS", L""), L"BUTTON ; kept whole");
    // The second [BUTTON] is not reached by lookups.
    EXPECT_FALSE(ini.ValueExists(L"BUTTON", L"LATER"));
    EXPECT_FALSE(ini.ValueExists(L"BUTTON", L"no equals sign"));
    TStringList sections;
    ini.ReadSections(sections);
    EXPECT_EQ(Items(sections), (std::vector<String>{L"BUTTON", L"EDIT", L"BUTTON"}));
    TStringList keys;
    ini.ReadSection(L"BUTTON", keys);
    EXPECT_EQ(Items(keys), (std::vector<String>{L"STATES", L"COLOR", L"STATES", L"EMPTY"}));
}

TEST(MemIniGrammar, NamesAreCaseSensitive) {
    TMemIniFile ini;
    Parse(ini, L"[Button]\nStates=1\n[BUTTON]\nSTATES=2\n");
    EXPECT_EQ(ini.ReadInteger(L"Button", L"States", 0), 1);
    EXPECT_EQ(ini.ReadInteger(L"BUTTON", L"STATES", 0), 2);
    EXPECT_EQ(ini.ReadInteger(L"BUTTON", L"States", 0), 0);
    EXPECT_FALSE(ini.SectionExists(L"button"));
}

TEST(MemIniValues, IntegerEncodingsAndDefaults) {
    TMemIniFile ini;
    Parse(ini,
          L"[S]\nD=-42\nP=+7\nH=$1F\nX=0x1f\nXX=0X10\nC=$FFFFFFFF\nBAD=12a\nNOHEX=0x\nDOLLAR=$\n"
          L"BIG=2147483648\nSPACE=1 2\nF=1.5\nB1=TRUE\nB2=false\nB3=yes\nB4=0\n");
    EXPECT_EQ(ini.ReadInteger(L"S", L"D", 0), -42);
    EXPECT_EQ(ini.ReadInteger(L"S", L"P", 0), 7);
    EXPECT_EQ(ini.ReadInteger(L"S", L"H", 0), 31);
    EXPECT_EQ(ini.ReadInteger(L"S", L"X", 0), 31);
    EXPECT_EQ(ini.ReadInteger(L"S", L"XX", 0), 16);
    EXPECT_EQ(ini.ReadInteger(L"S", L"C", 0), -1);
    for (const wchar_t* key : {L"BAD", L"NOHEX", L"DOLLAR", L"BIG", L"SPACE", L"F", L"MISSING"})
        EXPECT_EQ(ini.ReadInteger(L"S", key, 99), 99) << StringToUtf8(key);
    EXPECT_DOUBLE_EQ(ini.ReadFloat(L"S", L"F", 0), 1.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat(L"S", L"BAD", 2.5), 2.5);
    EXPECT_TRUE(ini.ReadBool(L"S", L"B1", false));
    EXPECT_FALSE(ini.ReadBool(L"S", L"B2", true));
    EXPECT_TRUE(ini.ReadBool(L"S", L"B3", true));
    EXPECT_FALSE(ini.ReadBool(L"S", L"B3", false));
    EXPECT_FALSE(ini.ReadBool(L"S", L"B4", true));
}

TEST(MemIniWriting, WritesReplaceTheFirstKeyOrAppendAndLookupsSeeThem) {
    TMemIniFile ini;
    Parse(ini, L"[A]\nK=1\nK=2\n[B]\nZ=0\n");
    EXPECT_EQ(ini.ReadString(L"A", L"K", L""), L"1");  // builds the indexes
    ini.WriteString(L"A", L"K", L"one");
    ini.WriteInteger(L"A", L"N", 5);
    ini.WriteString(L"C", L"NEW", L"v");
    EXPECT_EQ(ini.ReadString(L"A", L"K", L""), L"one");
    EXPECT_EQ(ini.ReadInteger(L"A", L"N", 0), 5);
    EXPECT_EQ(ini.ReadString(L"C", L"NEW", L""), L"v");
    ini.DeleteKey(L"A", L"K");
    EXPECT_EQ(ini.ReadString(L"A", L"K", L""), L"2");  // the second occurrence shows now
    ini.EraseSection(L"B");
    EXPECT_FALSE(ini.SectionExists(L"B"));
    EXPECT_TRUE(ini.SectionExists(L"C"));
    TStringList values;
    ini.ReadSectionValues(L"A", values);
    EXPECT_EQ(Items(values), (std::vector<String>{L"K=2", L"N=5"}));
    TStringList lines;
    ini.GetStrings(lines);
    EXPECT_EQ(lines.Text(), L"[A]\r\nK=2\r\nN=5\r\n\r\n[C]\r\nNEW=v\r\n");
}

TEST(MemIniFiles, ReadsAndUpdatesItsFileInTheSameEncoding) {
    test::ScratchDir dir;
    const String name = dir.File(L"Options.dat");
    test::WriteAll(name, "\xEF\xBB\xBF[GLOBALINFO]\r\nAUTHOR=J\xC3\xBCrgen\r\n");
    TMemIniFile ini(name);
    EXPECT_EQ(ini.ReadString(L"GLOBALINFO", L"AUTHOR", L""), L"J\u00FCrgen");
    ini.WriteString(L"GLOBALINFO", L"VERSION", L"7.5");
    ini.UpdateFile();
    EXPECT_EQ(test::ReadAll(name), "\xEF\xBB\xBF[GLOBALINFO]\r\nAUTHOR=J\xC3\xBCrgen\r\nVERSION=7.5\r\n");
    // A missing file gives an empty object; no file is made until UpdateFile.
    TMemIniFile missing(dir.File(L"none.ini"));
    EXPECT_FALSE(missing.SectionExists(L"GLOBALINFO"));
    EXPECT_FALSE(FileExists(dir.File(L"none.ini")));
}

TEST(MemIniLookups, LargeSkinFindsEveryKey) {
    // 70 sections x 60 keys: each key's value names its place, so a wrong hash bucket
    // or a stale index shows as a wrong value.
    TStringList lines;
    for (int s = 0; s < 70; ++s) {
        lines.Add(L"[SECTION" + IntToStr(s) + L"]");
        for (int k = 0; k < 60; ++k) lines.Add(L"KEY" + IntToStr(k) + L"=" + IntToStr(s * 100 + k));
    }
    TMemIniFile ini;
    ini.SetStrings(lines);
    for (int s = 0; s < 70; ++s)
        for (int k = 0; k < 60; ++k)
            ASSERT_EQ(ini.ReadInteger(L"SECTION" + IntToStr(s), L"KEY" + IntToStr(k), -1), s * 100 + k);
    ini.EraseSection(L"SECTION0");
    EXPECT_EQ(ini.ReadInteger(L"SECTION1", L"KEY1", -1), 101);
    EXPECT_EQ(ini.ReadInteger(L"SECTION0", L"KEY1", -1), -1);
}

}  // namespace
}  // namespace qv
