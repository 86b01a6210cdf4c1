// The skin manager without windows: where a skin comes from (internal skin, pack,
// folder), the skin change with its error path, announcements held back while loading
// or between BeginUpdate and EndUpdate, lookups, derived colours, saturation, skin
// directory resolution, skin listings and the export of internal skins.
#include "skin/sSkinManagerBase.h"

#include "framework/SysUtils.h"
#include "ManagerTestUtils.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using test::AddInternalSkin;
using test::ManagerSkinPack;
using test::SectionColor;
using test::TempSkinDir;

const String kInternal = test::kInternalSkin;

// Records what the manager would show and announce.
class RecordingManager : public TsSkinManagerBase {
public:
    RecordingManager() : TsSkinManagerBase(nullptr) {}
    std::vector<String> Errors;
    int NewSkins = 0, Removals = 0;
    bool LastRepaint = false, AnimationDuringLastAnnouncement = false;

    void ShowError(const String& text) override { Errors.push_back(text); }
    void SendNewSkin(bool repaint) override {
        if (!IsLoadingOrReading()) {
            ++NewSkins;
            LastRepaint = repaint;
            AnimationDuringLastAnnouncement = AnimEffects.SkinChanging.Active;
        }
        TsSkinManagerBase::SendNewSkin(repaint);
    }
    void SendRemoveSkin() override {
        ++Removals;
        TsSkinManagerBase::SendRemoveSkin();
    }
    using TsSkinManagerBase::SetState;
};

class SkinManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        m.SetSkinDirectory(dir.Path());
        AddInternalSkin(m, kInternal, ManagerSkinPack("$00010203"));
    }
    void TearDown() override { UnPackedFirst = false; }
    TempSkinDir dir;
    RecordingManager m;
};

TEST_F(SkinManagerTest, PackExtensionIsDroppedAndTheInternalSkinLoads) {
    m.SetSkinName(kInternal + L".CVZ");
    EXPECT_EQ(m.SkinName(), kInternal);
    EXPECT_TRUE(m.SkinIsPacked);
    EXPECT_EQ(m.gd.size(), 4u);
    EXPECT_EQ(SectionColor(m, L"BUTTON"), 0x010203);
    EXPECT_EQ(m.MasterBitmap.Width(), 64);
    EXPECT_TRUE(m.SkinData.Active);
    EXPECT_EQ(m.NewSkins, 1);
    EXPECT_TRUE(m.Errors.empty());
    EXPECT_EQ(m.SkinInfo(), L"7.5");
    // The internal skin lent its bytes and got them back.
    EXPECT_GT(m.InternalSkins().Items(0).PackedData->Size(), 0);
}

TEST_F(SkinManagerTest, UnknownNameFallsBackToTheFirstInternalSkin) {
    AddInternalSkin(m, L"Second", ManagerSkinPack("$00AAAAAA"));
    m.SetSkinName(L"Nowhere");
    EXPECT_EQ(m.SkinName(), kInternal);
    EXPECT_EQ(SectionColor(m, L"BUTTON"), 0x010203);
    m.SetSkinName(L"Second");
    EXPECT_EQ(SectionColor(m, L"BUTTON"), 0xAAAAAA);
    EXPECT_EQ(m.SkinName(), L"Second");
}

TEST_F(SkinManagerTest, NoSkinAnywhereDeactivatesAndAnnouncesRemoval) {
    m.InternalSkins().Clear();
    m.SetSkinName(L"Nowhere");
    EXPECT_FALSE(m.Active());
    EXPECT_EQ(m.Removals, 1);
    EXPECT_EQ(m.NewSkins, 0);
    EXPECT_TRUE(m.gd.empty());
    EXPECT_EQ(m.SkinInfo(), L"N/A");
}

TEST_F(SkinManagerTest, PackWinsOverFolderUnlessUnpackedFirst) {
    dir.WriteFile("Blue.cvz", ManagerSkinPack("$00000011"));
    dir.WriteFile("Blue/Options.dat", test::Bytes(test::ManagerSkinOptions("$00000022")));
    m.SetSkinName(L"Blue");
    EXPECT_TRUE(m.SkinIsPacked);
    EXPECT_EQ(SectionColor(m, L"BUTTON"), 0x11);
    EXPECT_EQ(m.MasterBitmap.Width(), 64);  // master bitmap came out of the pack

    UnPackedFirst = true;
    m.SetSkinName(L"Blue");
    EXPECT_FALSE(m.SkinIsPacked);
    EXPECT_EQ(SectionColor(m, L"BUTTON"), 0x22);
    EXPECT_EQ(m.MasterBitmap.Width(), 0);  // the folder holds no Master.bmp
    EXPECT_EQ(m.SkinName(), L"Blue");
    EXPECT_TRUE(m.Errors.empty());
}

TEST_F(SkinManagerTest, CorruptPackIsReportedAndThePreviousSkinStays) {
    m.SetSkinName(kInternal);
    ASSERT_EQ(m.NewSkins, 1);
    std::vector<std::uint8_t> bad = ManagerSkinPack("$00FFFFFF");
    bad[0] = 'c';  // "cVzf": the magic compares case and all
    dir.WriteFile("Broken.cvz", bad);
    // A pack cut short in its first stream fails later, in the middle of reading.
    std::vector<std::uint8_t> cut = ManagerSkinPack("$00FFFFFF");
    cut.resize(40);
    dir.WriteFile("Cut.cvz", cut);

    m.SetSkinName(L"Broken");
    ASSERT_EQ(m.Errors.size(), 1u);
    EXPECT_EQ(m.Errors[0], L"Loaded data is not a packed Corvane file");
    EXPECT_EQ(m.SkinName(), kInternal);
    EXPECT_EQ(SectionColor(m, L"BUTTON"), 0x010203);
    EXPECT_EQ(m.gd.size(), 4u);
    EXPECT_EQ(m.NewSkins, 2);  // the kept skin is announced again
    EXPECT_TRUE(m.SkinData.Active);
    EXPECT_FALSE(aSkinChanging);

    m.SetSkinName(L"Cut.cvz");
    ASSERT_EQ(m.Errors.size(), 2u);
    EXPECT_FALSE(m.Errors[1].empty());
    EXPECT_EQ(m.SkinName(), kInternal);
    EXPECT_EQ(SectionColor(m, L"BUTTON"), 0x010203);
    // Every image index still names an image that exists.
    for (const TsGeneralData& g : m.gd)
        EXPECT_TRUE(g.BorderIndex == -1 || m.IsValidImgIndex(g.BorderIndex))
            << std::string(g.ClassName.begin(), g.ClassName.end());
}

TEST_F(SkinManagerTest, CorruptInternalSkinKeepsItsBytes) {
    std::vector<std::uint8_t> bad = ManagerSkinPack("$00FFFFFF");
    bad[3] = 'F';
    AddInternalSkin(m, L"Bad", bad);
    m.SetSkinName(L"Bad");
    ASSERT_EQ(m.Errors.size(), 1u);
    EXPECT_EQ(m.Errors[0], L"Loaded data is not a packed Corvane file");
    EXPECT_EQ(m.InternalSkins().Items(1).PackedData->Bytes(), bad);
}

TEST_F(SkinManagerTest, NothingIsAnnouncedWhileTheDescriptionIsRead) {
    m.BeginLoading();
    m.SetSkinName(kInternal);
    EXPECT_EQ(m.gd.size(), 4u);  // loaded at once
    EXPECT_EQ(m.NewSkins, 0);
    EXPECT_FALSE(m.SkinData.Active);
    m.EndReading();
    m.Loaded();
    EXPECT_EQ(m.NewSkins, 1);
    EXPECT_FALSE(m.LastRepaint);
    EXPECT_TRUE(m.SkinData.Active);
}

TEST_F(SkinManagerTest, BeginUpdateLoadsWithoutAnnouncingUntilEndUpdate) {
    AddInternalSkin(m, L"Second", ManagerSkinPack("$00AAAAAA"));
    m.SetSkinName(kInternal);
    m.BeginUpdate();
    m.SetSkinName(L"Second");
    EXPECT_EQ(SectionColor(m, L"BUTTON"), 0xAAAAAA);
    EXPECT_EQ(m.NewSkins, 1);
    m.EndUpdate(true, false);
    EXPECT_EQ(m.NewSkins, 2);
    EXPECT_TRUE(m.LastRepaint);
    EXPECT_FALSE(m.AnimationDuringLastAnnouncement);
    EXPECT_TRUE(m.AnimEffects.SkinChanging.Active);  // restored afterwards
    EXPECT_FALSE(m.NonAutoUpdate);
}

TEST_F(SkinManagerTest, LookupsFollowParents) {
    m.SetSkinName(kInternal);
    const int button = m.GetSkinIndex(L"BUTTON");
    const int edit = m.GetSkinIndex(L"EDIT");
    ASSERT_GE(button, 0);
    ASSERT_GE(edit, 0);
    const int own = m.GetMaskIndex(button, L"BUTTON", L"BORDERSMASK");
    ASSERT_GE(own, 0);
    EXPECT_EQ(m.GetMaskIndex(edit, L"EDIT", L"BORDERSMASK"), own);
    EXPECT_EQ(m.gd[static_cast<std::size_t>(edit)].BorderIndex, own);
    // 30 x 20 border image in 3 states with one mask row, 3 pixels on every side.
    EXPECT_EQ(m.MaskWidthLeft(own), 3);
    EXPECT_EQ(m.MaskWidthBottom(own), 3);
    EXPECT_EQ(m.MaskWidthLeft(-1), 0);

    TStringList sections;
    m.GetSkinSections(sections);
    ASSERT_EQ(sections.Count(), 4);
    EXPECT_EQ(sections[0], L"GLOBALINFO");
    EXPECT_EQ(sections[3], L"SELF");
}

TEST(SkinManagerColours, HighlightAndGlobalColours) {
    struct Case {
        const char* Extra;
        bool Focused;
        TColor Highlight;
    };
    const Case cases[] = {
        // One state: the normal colour even when focused.
        {"[SELECTION]\r\nSTATES=1\r\nCOLOR=$000000AA\r\nHOTCOLOR=$0000BB00\r\n", true, 0x0000AA},
        {"[SELECTION]\r\nSTATES=2\r\nCOLOR=$000000AA\r\nHOTCOLOR=$0000BB00\r\n", true, 0x00BB00},
        {"[SELECTION]\r\nSTATES=2\r\nCOLOR=$000000AA\r\nHOTCOLOR=$0000BB00\r\n", false, 0x0000AA},
        // A key-coloured selection falls back to the menu item's hot colour.
        {"[SELECTION]\r\nCOLOR=$00FF00FF\r\n[MENUITEM]\r\nHOTCOLOR=$00123456\r\n", false, 0x123456},
        // ... unless that is white: the system highlight colour, unconverted.
        {"[MENUITEM]\r\nHOTCOLOR=$00FFFFFF\r\n", false, clHighlight},
        {"", true, clHighlight},
    };
    for (const Case& c : cases) {
        RecordingManager m;
        TempSkinDir dir;
        m.SetSkinDirectory(dir.Path());
        AddInternalSkin(m, kInternal, ManagerSkinPack("$00010203", c.Extra));
        m.SetSkinName(kInternal);
        EXPECT_EQ(m.GetHighLightColor(c.Focused), c.Highlight) << c.Extra;
        EXPECT_EQ(m.GetGlobalColor(), 0x203040);
        EXPECT_EQ(m.GetActiveEditColor(), 0x405060);
        EXPECT_EQ(m.GetActiveEditFontColor(), 0x112233);
    }
}

TEST(SkinManagerColours, WithoutSectionsTheSystemColoursAnswer) {
    RecordingManager m;
    EXPECT_EQ(m.GetGlobalColor(), ColorToRGB(clBtnFace));
    EXPECT_EQ(m.GetGlobalFontColor(), clFuchsia);
    EXPECT_EQ(m.GetActiveEditFontColor(), clWindowText);
    EXPECT_EQ(m.GetHighLightFontColor(true), clHighlightText);
}

TEST(SkinManagerSaturation, ValuesWrapAt101KeepingTheSign) {
    auto loaded = [](int saturation, RecordingManager& m, TempSkinDir& dir) {
        m.SetSkinDirectory(dir.Path());
        AddInternalSkin(m, kInternal, ManagerSkinPack("$003060C0"));
        m.SetSaturation(saturation);
        m.SetSkinName(kInternal);
    };
    const std::pair<int, int> pairs[] = {{150, 49}, {-150, -49}, {202, 0}};
    for (auto [given, acting] : pairs) {
        TempSkinDir d1, d2, d0;
        RecordingManager a, b, plain;
        loaded(given, a, d1);
        loaded(acting, b, d2);
        loaded(0, plain, d0);
        EXPECT_EQ(SectionColor(a, L"BUTTON"), SectionColor(b, L"BUTTON")) << given;
        EXPECT_EQ(a.MasterBitmap.Pixel32(10, 10), b.MasterBitmap.Pixel32(10, 10)) << given;
        if (acting != 0) {
            EXPECT_NE(SectionColor(a, L"BUTTON"), SectionColor(plain, L"BUTTON")) << given;
            EXPECT_NE(a.MasterBitmap.Pixel32(10, 10), plain.MasterBitmap.Pixel32(10, 10)) << given;
        }
    }
}

TEST(SkinManagerSaturation, ChangingItReloadsWithoutANewAnnouncement) {
    TempSkinDir dir;
    RecordingManager m;
    m.SetSkinDirectory(dir.Path());
    AddInternalSkin(m, kInternal, ManagerSkinPack("$003060C0"));
    m.SetSkinName(kInternal);
    const TColor before = SectionColor(m, L"BUTTON");
    m.SetSaturation(-100);
    const TColor grey = SectionColor(m, L"BUTTON");
    EXPECT_NE(grey, before);
    EXPECT_EQ(grey & 0xFF, (grey >> 8) & 0xFF);
    EXPECT_EQ(grey & 0xFF, (grey >> 16) & 0xFF);
    EXPECT_EQ(m.NewSkins, 1);
    m.SetSaturation(0);
    EXPECT_EQ(SectionColor(m, L"BUTTON"), before);  // reloaded from the skin, not undone
}

TEST(SkinDirectory, RelativeDirectoriesResolveAgainstTheProgramFolder) {
    const String app = L"C:\\App\\Bin\\";
    EXPECT_EQ(ExpandSkinDirectory(L"..\\Skins", app), L"C:\\App\\Skins");
    EXPECT_EQ(ExpandSkinDirectory(L"../Skins", app), L"C:\\App\\Skins");
    EXPECT_EQ(ExpandSkinDirectory(L".\\Skins", app), L"C:\\App\\Bin\\Skins");
    EXPECT_EQ(ExpandSkinDirectory(L"Skins\\Dark", app), L"C:\\App\\Bin\\Skins\\Dark");
    EXPECT_EQ(ExpandSkinDirectory(L"c:\\Skins", app), L"c:\\Skins");
    EXPECT_EQ(ExpandSkinDirectory(L"\\\\server\\skins", app), L"\\\\server\\skins");
}

TEST_F(SkinManagerTest, SkinNamesListInternalPackedAndFolderSkins) {
    dir.WriteFile("Blue.cvz", {1});
    dir.WriteFile("blue2.CVZ", {1});
    dir.WriteFile("Green/Options.dat", {1});
    dir.WriteFile("Empty/readme.txt", {1});
    dir.WriteFile(".Hidden.cvz", {1});
    TStringList names;
    EXPECT_EQ(m.GetSkinNames(names, stAllSkins), kInternal);
    ASSERT_EQ(names.Count(), 3);
    EXPECT_EQ(names[0], kInternal);
    EXPECT_EQ(names[1], L"Blue");
    EXPECT_EQ(names[2], L"Green");

    m.GetSkinNames(names, stPacked);
    ASSERT_EQ(names.Count(), 2);
    EXPECT_EQ(names[1], L"Blue");

    EXPECT_EQ(m.GetExternalSkinNames(names, stUnpacked), L"Green");
    ASSERT_EQ(names.Count(), 1);

    const String random = m.GetRandomSkin();
    EXPECT_TRUE(random == kInternal || random == L"Blue" || random == L"Green");
}

TEST_F(SkinManagerTest, InternalSkinsAreExportedAsPacks) {
    const std::vector<std::uint8_t> bytes = m.InternalSkins().Items(0).PackedData->Bytes();
    // The directory given with a trailing "/" is used as if it ended with "\".
    m.ExtractInternalSkin(kInternal, dir.Path() + L"/");
    EXPECT_TRUE(m.Errors.empty());
    TMemoryStream written;
    written.LoadFromFile(dir.Path() + PathDelim + kInternal + L" extracted.cvz");
    EXPECT_EQ(written.Bytes(), bytes);

    m.ExtractInternalSkin(L"android os (internal)", dir.Path());
    ASSERT_EQ(m.Errors.size(), 1u);
    EXPECT_EQ(m.Errors[0], L"Skin does not exists.");

    m.ExtractInternalSkin(kInternal, dir.Path() + PathDelim + L"missing");
    ASSERT_EQ(m.Errors.size(), 2u);
    EXPECT_EQ(m.Errors[1], L"Directory does not exists.");

    // ExtractByIndex creates one missing level itself.
    m.ExtractByIndex(0, dir.Path() + PathDelim + L"made");
    EXPECT_TRUE(FileExists(dir.Path() + PathDelim + L"made" + PathDelim + kInternal + L" extracted.cvz"));
}

TEST_F(SkinManagerTest, CommonSectionsLoseTheirBlanksAndJoinTheSkin) {
    TStringList lines;
    lines.SetText(L"; keep my blanks\r\n[ EXTRA ]\r\nCOLOR = $00445566\r\nPARENTCLASS = BUTTON\r\n");
    m.SetCommonSections(lines);
    EXPECT_EQ(m.CommonSections()[0], L"; keep my blanks");
    EXPECT_EQ(m.CommonSections()[1], L"[EXTRA]");
    EXPECT_EQ(m.CommonSections()[2], L"COLOR=$00445566");
    EXPECT_EQ(SectionColor(m, L"EXTRA"), 0x445566);
}

TEST(SkinManagerThirdParty, DefaultsFillOnlyEmptyListsUnlessOverwritten) {
    RecordingManager m;
    EXPECT_EQ(m.ThirdLists[ThirdButtons].Count(), 1);
    EXPECT_EQ(m.ThirdLists[ThirdButtons][0], L"TButton");
    EXPECT_EQ(m.ThirdLists[ThirdEdits][0], L" ");
    m.ThirdParty[ThirdEdits] = L"TMyEdit\r\nTOtherEdit";
    m.LoadThirdNames(false);
    ASSERT_EQ(m.ThirdLists[ThirdEdits].Count(), 2);
    EXPECT_EQ(m.ThirdLists[ThirdEdits].IndexOf(L"tmyedit"), -1);  // case counts
    m.LoadThirdNames(true);
    EXPECT_EQ(m.ThirdLists[ThirdEdits].Count(), 1);
}

}  // namespace
}  // namespace qv
