// Inherited key lookups: absent markers, the parent chain, system colours converted only
// when they come from a parent, self references and loops.
#include "skin/acntUtils.h"

#include "framework/IniFiles.h"
#include "SkinModelTestUtils.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

class Inheritance : public ::testing::Test {
protected:
    std::unique_ptr<TMemIniFile> FIni = test::Ini(
        L"[CHILD]\nPARENTCLASS=MIDDLE\nCOLOR=-1\nTEXT=?\nBAD=abc\nOWNSYS=-16777211\n"
        L"[MIDDLE]\nPARENTCLASS=ROOT\nCOLOR=-16777211\nBAD=12\n"
        L"[ROOT]\nDEPTH=7\nTEXT=root text\nCOLOR=$00FF00\n"
        L"[SELF]\nPARENTCLASS=SELF\n"
        L"[QUESTION]\nPARENTCLASS=?\n"
        L"[LOOPA]\nPARENTCLASS=LOOPB\n[LOOPB]\nPARENTCLASS=LOOPC\n[LOOPC]\nPARENTCLASS=LOOPA\nKNOWN=5\n");
    const TMemIniFile& ini() const { return *FIni; }
};

TEST_F(Inheritance, IntegersComeFromTheNearestSectionThatHasThem) {
    // -1 and non-numeric values count as absent, so the parent's value is used.
    EXPECT_EQ(FindInteger(ini(), L"CHILD", L"BAD", 99), 12);
    EXPECT_EQ(FindInteger(ini(), L"CHILD", L"DEPTH", 99), 7);
    EXPECT_EQ(FindInteger(ini(), L"CHILD", L"MISSING", 99), 99);
    EXPECT_EQ(FindInteger(ini(), L"ROOT", L"COLOR", 99), 0x00FF00);
}

TEST_F(Inheritance, SystemColoursAreConvertedOnlyWhenInherited) {
    const int windowRGB = static_cast<int>(SysColorRGB(5));
    EXPECT_EQ(FindInteger(ini(), L"MIDDLE", L"COLOR", 0), -16777211);  // own value, as written
    EXPECT_EQ(FindInteger(ini(), L"CHILD", L"COLOR", 0), windowRGB);   // from MIDDLE
    EXPECT_EQ(FindInteger(ini(), L"CHILD", L"OWNSYS", 0), -16777211);
}

TEST_F(Inheritance, StringsTreatAQuestionMarkAsAbsent) {
    EXPECT_EQ(FindString(ini(), L"CHILD", L"TEXT", L"def"), L"root text");
    EXPECT_EQ(FindString(ini(), L"CHILD", L"NOTHING", L"def"), L"def");
    EXPECT_EQ(FindString(ini(), L"QUESTION", L"TEXT", L"def"), L"def");
}

TEST_F(Inheritance, SelfReferencesAndLoopsInheritNothingAndEnd) {
    EXPECT_EQ(FindInteger(ini(), L"SELF", L"DEPTH", 3), 3);
    EXPECT_EQ(FindString(ini(), L"SELF", L"TEXT", L"d"), L"d");
    EXPECT_EQ(FindInteger(ini(), L"LOOPA", L"UNKNOWN", 4), 4);
    EXPECT_EQ(FindString(ini(), L"LOOPB", L"UNKNOWN", L"x"), L"x");
    EXPECT_EQ(FindInteger(ini(), L"LOOPA", L"KNOWN", 4), 5);  // two steps along the loop
}

TEST(Words, ExtractWordSkipsRunsOfDelimiters) {
    const String ref = L"!EDITGLOW.PNG!1!!3!";
    EXPECT_EQ(WordCount(ref, L"!"), 3);
    EXPECT_EQ(ExtractWord(1, ref, L"!"), L"EDITGLOW.PNG");
    EXPECT_EQ(ExtractWord(3, ref, L"!"), L"3");
    EXPECT_EQ(ExtractWord(4, ref, L"!"), L"");
    EXPECT_EQ(ExtractWord(2, L"#(0,0,30,20)(3,1)", L" ()"), L"0,0,30,20");
}

TEST(Words, IniSectionsSkipCommentsAndKeepLines) {
    const auto sections = GetIniSections({L"; note", L"[ONE]", L"A=1", L";B=2", L"[TWO]", L"C=3", L"D=4"});
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[0].Name, L"ONE");
    EXPECT_EQ(sections[0].Lines, std::vector<String>{L"A=1"});
    EXPECT_EQ(sections[1].Lines, (std::vector<String>{L"C=3", L"D=4"}));
}

}  // namespace
}  // namespace qv
