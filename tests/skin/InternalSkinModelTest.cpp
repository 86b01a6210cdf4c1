// The internal skin loaded from its pack: sections, the master bitmap and the geometry of
// the images the program's windows and controls are painted from.
#include "InternalSkinTestUtils.h"

#include "framework/IniFiles.h"
#include "framework/StringList.h"

#include <string>

namespace qv::test {
namespace {

TEST_F(InternalSkin, HasSixtySixSectionsWithGlobalInfoFirst) {
    ASSERT_EQ(Model().gd.size(), 66u);
    EXPECT_EQ(Model().gd[0].ClassName, L"GLOBALINFO");
    for (const wchar_t* name :
         {L"BAR", L"BARPANEL", L"BUTTON_BIG", L"GRIPH", L"GRIPV", L"HINT", L"MENUBTN", L"PROGRESSH", L"PROGRESSV",
          L"RIBBONPAGE", L"RIBBONTAB", L"EDIT_FLAT", L"COMBOBOX_FLAT"})
        EXPECT_GE(Model().GetSkinIndex(name), 0) << StringToUtf8(name);
    // Every section name occurs once, so lookups by name never hit a shadowed duplicate.
    for (std::size_t i = 0; i < Model().gd.size(); ++i)
        EXPECT_EQ(Model().GetSkinIndex(Model().gd[i].ClassName), static_cast<int>(i)) << i;
}

TEST_F(InternalSkin, MasterBitmapLoadsAs32Bit) {
    EXPECT_EQ(Model().MasterBitmap.PixelFormat(), pf32bit);
    EXPECT_FALSE(Model().MasterBitmap.Empty());
}

TEST_F(InternalSkin, ImageReferencesUseOnlyGlyphBorderAndFileForms) {
    TStringList lines;
    lines.LoadFromFile(InternalSkinFolder() + L"/Options.dat");
    int references = 0;
    for (int i = 0; i < lines.Count(); ++i) {
        const String line = lines[i];
        const auto eq = line.find(L'=');
        if (eq == String::npos || line.rfind(L"MASTERBITMAP=", 0) == 0) continue;
        const String value = line.substr(eq + 1);
        String upper = UpperCase(value);
        const bool isReference = !value.empty() &&
                                 (String(L"!@^~").find(value[0]) != String::npos ||
                                  upper.find(L".BMP") != String::npos || value.find(L'#') != String::npos);
        if (!isReference) continue;
        ++references;
        EXPECT_NE(String(L"@^!").find(value[0]), String::npos) << StringToUtf8(line);
    }
    // Every reference became an image: nothing was skipped for a missing file.
    EXPECT_EQ(static_cast<std::size_t>(references), Model().ma.size());
}

TEST_F(InternalSkin, ButtonFrameIsA48By32MaskWithA1By1Middle) {
    const TsGeneralData& button = Section(L"BUTTON");
    ASSERT_TRUE(Model().IsValidImgIndex(button.BorderIndex));
    const TsMaskData& md = Model().ma[static_cast<std::size_t>(button.BorderIndex)];
    EXPECT_EQ(md.Bmp, nullptr) << "a rectangle of the master bitmap";
    EXPECT_EQ(md.R.Right - md.R.Left, 48);
    EXPECT_EQ(md.R.Bottom - md.R.Top, 32);
    EXPECT_EQ(md.ImageCount, 3);
    EXPECT_EQ(md.MaskType, 1);
    EXPECT_EQ(md.ImgType, itisaBorder);
    EXPECT_EQ((std::array<int, 4>{md.WL, md.WT, md.WR, md.WB}), (std::array<int, 4>{7, 7, 8, 8}));
    EXPECT_EQ(md.DrawMode, 5);
    EXPECT_EQ(WidthOfImage(md), 16);
    EXPECT_EQ(HeightOfImage(md), 16);
    EXPECT_EQ(WidthOfImage(md) - md.WL - md.WR, 1);
    EXPECT_EQ(HeightOfImage(md) - md.WT - md.WB, 1);
    EXPECT_EQ(md.CornerType, 1) << "rounded corners are cut with key pixels";
}

TEST_F(InternalSkin, ButtonHotGradientHasFourVerticalPieces) {
    const TsGeneralData& button = Section(L"BUTTON");
    EXPECT_EQ(button.States, 3);
    EXPECT_EQ(button.HotGradientData,
              L"3723519;1157871;35;0;0;1157871;106985;38;0;0;106985;1425908;24;0;0;1425908;1425908;0;0;0");
    EXPECT_EQ(button.HotGradientPercent, 100);
    const TsGradArray& pieces = button.Props[1].GradientArray;
    ASSERT_EQ(pieces.size(), 4u);
    const TColor from[] = {3723519, 1157871, 106985, 1425908};
    const TColor to[] = {1157871, 106985, 1425908, 1425908};
    const int percent[] = {35, 38, 24, 0};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(pieces[i].Color1, from[i]) << i;
        EXPECT_EQ(pieces[i].Color2, to[i]) << i;
        EXPECT_EQ(pieces[i].Percent, percent[i]) << i;
    }
    EXPECT_EQ(pieces[0].Mode1, 0) << "vertical";
}

TEST_F(InternalSkin, ButtonFadesInTwentyStepsAndGlowsFromItsOwnImage) {
    const TsGeneralData& button = Section(L"BUTTON");
    EXPECT_TRUE(button.FadingEnabled);
    EXPECT_EQ(button.FadingIterations, 20);
    EXPECT_GT(button.GlowCount, 0);
    EXPECT_GT(button.GlowMargin, 0);
    const TsMaskData* glow = Image(L"BUTTON", L"GLOW0");
    ASSERT_NE(glow, nullptr);
    EXPECT_EQ(glow->ImgType, itisaGlow);
    ASSERT_TRUE(glow->Bmp) << "from ButtonGlow.png";
    // The control's edge lies inside the image: the glow reaches margin pixels into it.
    EXPECT_GT(glow->WL, button.GlowMargin);
    EXPECT_GT(glow->WT, button.GlowMargin);
}

TEST_F(InternalSkin, EditHasAHotStateAndItsOwnGlow) {
    const TsGeneralData& edit = Section(L"EDIT");
    EXPECT_GE(edit.States, 2);
    EXPECT_GT(edit.GlowCount, 0);
    const TsMaskData* frame = Image(L"EDIT", L"BORDERSMASK");
    ASSERT_NE(frame, nullptr);
    EXPECT_GE(frame->ImageCount, 2) << "a hot frame";
    const TsMaskData* glow = Image(L"EDIT", L"GLOW0");
    ASSERT_NE(glow, nullptr);
    ASSERT_TRUE(glow->Bmp) << "from EditGlow.png";
    EXPECT_EQ(glow->ImgType, itisaGlow);
    EXPECT_NE(glow->Bmp.get(), Image(L"BUTTON", L"GLOW0")->Bmp.get());
}

TEST_F(InternalSkin, HugeButtonAndExtendedBorderComeFromTheirOwnFiles) {
    const TsMaskData* huge = Image(L"BUTTON_HUGE", L"BORDERSMASK");
    ASSERT_NE(huge, nullptr);
    ASSERT_TRUE(huge->Bmp);
    EXPECT_EQ(huge->ImageCount, 3);
    EXPECT_EQ(huge->MaskType, 1);
    EXPECT_EQ(huge->CornerType, 2);
    const TsMaskData* ex = Image(L"GLOBALINFO", L"EXBORDER");
    ASSERT_NE(ex, nullptr);
    ASSERT_TRUE(ex->Bmp) << "from Ext_Border.png";
    EXPECT_EQ(ex->ImgType, itisaBorder);
    EXPECT_EQ(ex->R.Right, ex->Bmp->Width());
}

TEST_F(InternalSkin, WindowSectionsAndTitleGlow) {
    EXPECT_EQ(Section(L"FORM").States, 2);
    const TsGeneralData& title = Section(L"FORMTITLE");
    EXPECT_EQ(title.States, 2);
    EXPECT_EQ(Section(L"DIALOG").States, 1);
    EXPECT_GE(Model().GetSkinIndex(L"DIALOGTITLE"), 0);
    // The caption text glows, white and 4 pixels wide, in the active (hot) state only.
    EXPECT_EQ(title.Props[0].GlowSize, 0);
    EXPECT_EQ(title.Props[1].GlowSize, 4);
    EXPECT_EQ(title.Props[1].GlowColor, 0xFFFFFF);
    for (const wchar_t* s : {L"FORM", L"FORMTITLE", L"DIALOG"}) {
        const TsMaskData* frame = Image(s, L"BORDERSMASK");
        ASSERT_NE(frame, nullptr) << StringToUtf8(s);
        EXPECT_EQ(frame->ImageCount, Section(s).States) << StringToUtf8(s);
        EXPECT_EQ(frame->CornerType, 1) << StringToUtf8(s) << ": rounded window corners";
    }
}

TEST_F(InternalSkin, TitleButtonsAre26By26WithThreeStatesAndNoGlow) {
    for (const wchar_t* key : {L"BICONCLOSE", L"BICONMAX", L"BICONMIN", L"BICONNORM", L"BICONHELP", L"BICLOSEALONE"}) {
        const TsMaskData* md = Image(L"GLOBALINFO", key);
        ASSERT_NE(md, nullptr) << StringToUtf8(key);
        EXPECT_EQ(md->ImgType, itisaGlyph) << StringToUtf8(key);
        EXPECT_EQ(md->ImageCount, 3) << StringToUtf8(key);
        EXPECT_EQ(WidthOfImage(*md), 26) << StringToUtf8(key);
        EXPECT_EQ(HeightOfImage(*md), 26) << StringToUtf8(key);
    }
    for (const wchar_t* key : {L"SICONCLOSE", L"SICONMAX", L"SICONMIN", L"SICONNORM", L"SICONHELP"}) {
        const TsMaskData* md = Image(L"GLOBALINFO", key);
        ASSERT_NE(md, nullptr) << StringToUtf8(key);
        EXPECT_EQ(md->ImageCount, 3) << StringToUtf8(key);
        EXPECT_LT(WidthOfImage(*md), 26) << StringToUtf8(key);
    }
    for (const TsMaskData& md : Model().ma)
        EXPECT_FALSE(md.PropertyName.find(L"GLOW") != String::npos && md.ClassName == L"GLOBALINFO")
            << StringToUtf8(md.PropertyName);
}

TEST_F(InternalSkin, ScrollBarPartsAndGlyphs) {
    for (const wchar_t* s : {L"SCROLLBAR1H", L"SCROLLBAR1V", L"SCROLLBAR2H", L"SCROLLBAR2V"})
        EXPECT_GE(Model().GetSkinIndex(s), 0) << StringToUtf8(s);
    for (const wchar_t* s : {L"SCROLLBTNLEFT", L"SCROLLBTNRIGHT", L"SCROLLBTNTOP", L"SCROLLBTNBOTTOM"}) {
        const TsMaskData* arrow = Image(s, L"GLYPHMASK");
        ASSERT_NE(arrow, nullptr) << StringToUtf8(s);
        EXPECT_EQ(arrow->ImageCount, 3) << StringToUtf8(s);
        EXPECT_NE(Image(s, L"BORDERSMASK"), nullptr) << StringToUtf8(s);
    }
    for (const wchar_t* s : {L"SCROLLSLIDERH", L"SCROLLSLIDERV"})
        EXPECT_NE(Image(s, L"BORDERSMASK"), nullptr) << StringToUtf8(s);
    // The four arrows are four different pictures.
    EXPECT_NE(Image(L"SCROLLBTNLEFT", L"GLYPHMASK")->R, Image(L"SCROLLBTNRIGHT", L"GLYPHMASK")->R);
    EXPECT_NE(Image(L"SCROLLBTNTOP", L"GLYPHMASK")->R, Image(L"SCROLLBTNBOTTOM", L"GLYPHMASK")->R);
}

TEST_F(InternalSkin, GlobalGlyphsExist) {
    for (const wchar_t* key : {L"BOXCHECKED", L"BOXUNCHECKED", L"BOXGRAYED", L"RADIOCHECKED", L"RADIOUNCHECKED",
                               L"RADIOGRAYED", L"SMALLCHECKED", L"SMALLUNCHECKED", L"SMALLGRAYED", L"GRIPIMAGE"}) {
        const TsMaskData* md = Image(L"GLOBALINFO", key);
        ASSERT_NE(md, nullptr) << StringToUtf8(key);
        EXPECT_EQ(md->ImgType, itisaGlyph) << StringToUtf8(key);
        EXPECT_GT(WidthOfImage(*md), 0) << StringToUtf8(key);
    }
    EXPECT_LT(WidthOfImage(*Image(L"GLOBALINFO", L"SMALLCHECKED")), WidthOfImage(*Image(L"GLOBALINFO", L"BOXCHECKED")));
}

TEST_F(InternalSkin, ProgramSectionsAreThere) {
    // The program paints its buttons, list, bottom panel and list selection from these.
    for (const wchar_t* s : {L"BUTTON", L"EDIT", L"RADIOBUTTON", L"SELECTION"})
        EXPECT_GE(Model().GetSkinIndex(s), 0) << StringToUtf8(s);
    EXPECT_GE(Section(L"SELECTION").States, 2) << "focused lists highlight in the hot colour";
}

}  // namespace
}  // namespace qv::test
