// Reading a gradient's text into its pieces: groups of five words, ranges clamped,
// incomplete groups dropped, and a word that is not an integer rejected.
#include "model/sGradientData.h"

#include "framework/SysUtils.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TsGradArray Grad(const wchar_t* text) {
    TsGradArray a;
    PrepareGradArray(text, a);
    return a;
}

TEST(PrepareGradArray, ReadsGroupsOfFiveAndClampsRanges) {
    TsGradArray a = Grad(L"16777215;13619151;97;1;0;13619151;13619151;0;1;0");
    ASSERT_EQ(a.size(), 2u);
    EXPECT_EQ(a[0].Color1, 16777215);
    EXPECT_EQ(a[0].Color2, 13619151);
    EXPECT_EQ(a[0].Percent, 97);
    EXPECT_EQ(a[0].Mode1, 1);
    EXPECT_EQ(a[1].Percent, 0);
    EXPECT_EQ(a[1].Mode2, 0);

    a = Grad(L"-5;-1;150;7;0;1;2;-3;-2;0");
    ASSERT_EQ(a.size(), 2u);
    EXPECT_EQ(a[0].Color1, 0);
    EXPECT_EQ(a[0].Color2, 0);
    EXPECT_EQ(a[0].Percent, 100);
    EXPECT_EQ(a[0].Mode1, 7);  // modes are not clamped
    EXPECT_EQ(a[1].Percent, 0);
    EXPECT_EQ(a[1].Mode1, -2);
}

TEST(PrepareGradArray, IncompleteGroupsAndNoGradientGiveNoPieces) {
    EXPECT_EQ(Grad(L"1;2;3;0;0;4;5;6;0").size(), 1u);  // nine words: one piece
    EXPECT_TRUE(Grad(L"N/A").empty());
    EXPECT_TRUE(Grad(L"").empty());
    EXPECT_TRUE(Grad(L"1;2;3;0").empty());
    // Words past the last whole group and the reserved fifth word are never converted.
    EXPECT_EQ(Grad(L"1;2;3;0;x;junk").size(), 1u);

    TsGradArray a = Grad(L"1;2;3;0;0");
    PrepareGradArray(L"N/A", a);  // replaces, never appends
    EXPECT_TRUE(a.empty());
}

TEST(PrepareGradArray, NonIntegerWordIsAConversionError) {
    TsGradArray a = Grad(L"1;2;3;0;0");
    EXPECT_THROW(PrepareGradArray(L"1;two;3;0;0", a), EConvertError);
    EXPECT_THROW(PrepareGradArray(L"1;2;3.5;0;0", a), EConvertError);
    EXPECT_EQ(a.size(), 1u);  // a failed preparation leaves the old array
}

}  // namespace
}  // namespace qv
