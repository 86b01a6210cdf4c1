// Internal skins collection: exact-name lookup, copying, change notification to the
// owner, and the geometry of one state image.
#include "skin/sStoredSkins.h"

#include "framework/SysUtils.h"
#include "model/sMaskData.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

struct CountingOwner : IacStoredSkinsOwner {
    int Changes = 0;
    void StoredSkinsChanged() override { ++Changes; }
};

void Fill(TsStoredSkin& item, const String& name, std::vector<std::uint8_t> data) {
    item.Name = name;
    item.ReadData(data.data(), data.size());
}

TEST(StoredSkins, IndexOfMatchesNamesExactly) {
    TsStoredSkins skins(nullptr);
    Fill(skins.Add(), L"Android OS (internal)", {1});
    Fill(skins.Add(), L"Second", {2});
    Fill(skins.Add(), L"Second", {3});
    EXPECT_EQ(skins.IndexOf(L"Android OS (internal)"), 0);
    EXPECT_EQ(skins.IndexOf(L"android os (internal)"), -1);
    EXPECT_EQ(skins.IndexOf(L"Second"), 1);
    EXPECT_EQ(skins.IndexOf(L""), -1);
    EXPECT_EQ(skins.Items(2).Index(), 2);
    EXPECT_THROW(skins.Items(3), EListError);
}

TEST(StoredSkins, AssignCopiesEveryPropertyAndTheBytes) {
    TsStoredSkins source(nullptr), target(nullptr);
    TsStoredSkin& s = source.Add();
    Fill(s, L"Skin", {9, 8, 7});
    s.Version = 7.5;
    s.Author = L"A";
    s.Description = L"D";
    s.Shadow1Color = 0x123456;
    s.Shadow1Offset = 2;
    s.Shadow1Blur = 4;
    s.Shadow1Transparency = 50;
    s.BorderColor = 0x010203;
    s.MasterBitmap.SetSize(3, 2);
    s.MasterBitmap.SetPixel32(2, 1, 0xAABBCCDD);
    Fill(target.Add(), L"Old", {1});
    target.Assign(source);
    ASSERT_EQ(target.Count(), 1);
    const TsStoredSkin& t = target.Items(0);
    EXPECT_EQ(t.Name, L"Skin");
    EXPECT_EQ(t.WriteData(), (std::vector<std::uint8_t>{9, 8, 7}));
    EXPECT_EQ(t.Version, 7.5);
    EXPECT_EQ(t.Author, L"A");
    EXPECT_EQ(t.Description, L"D");
    EXPECT_EQ(t.Shadow1Color, 0x123456);
    EXPECT_EQ(t.Shadow1Offset, 2);
    EXPECT_EQ(t.Shadow1Blur, 4);
    EXPECT_EQ(t.Shadow1Transparency, 50);
    EXPECT_EQ(t.BorderColor, 0x010203);
    EXPECT_EQ(t.MasterBitmap.Pixel32(2, 1), 0xAABBCCDDu);
    // The copy is independent of its source.
    Fill(source.Items(0), L"Changed", {0});
    EXPECT_EQ(target.Items(0).WriteData(), (std::vector<std::uint8_t>{9, 8, 7}));
}

TEST(StoredSkins, NewItemsStartWithTheirDefaults) {
    TsStoredSkins skins(nullptr);
    const TsStoredSkin& s = skins.Add();
    EXPECT_EQ(s.Shadow1Blur, -1);
    EXPECT_EQ(s.BorderColor, clFuchsia);
    EXPECT_TRUE(s.WriteData().empty());
    EXPECT_TRUE(s.MasterBitmap.Empty());
}

TEST(StoredSkins, AssigningNothingIsRefused) {
    TsStoredSkins skins(nullptr);
    EXPECT_THROW(skins.Add().Assign(nullptr), EConvertError);
}

TEST(StoredSkins, ChangesAreAnnouncedToTheOwnerOncePerUpdate) {
    CountingOwner owner;
    TsStoredSkins skins(&owner);
    skins.Add();
    skins.Add();
    EXPECT_EQ(owner.Changes, 2);
    TsStoredSkins other(nullptr);
    other.Add();
    other.Add();
    other.Add();
    skins.Assign(other);
    EXPECT_EQ(owner.Changes, 3);
    skins.BeginUpdate();
    skins.Delete(0);
    skins.Clear();
    EXPECT_EQ(owner.Changes, 3);
    skins.EndUpdate();
    EXPECT_EQ(owner.Changes, 4);
    EXPECT_EQ(skins.Count(), 0);
}

TEST(MaskGeometry, StateImageSizeFollowsCountsAndZeroCounts) {
    TsMaskData md;
    md.R = {10, 20, 70, 50};  // 60 x 30
    md.ImageCount = 3;
    md.MaskType = 1;
    EXPECT_EQ(WidthOfImage(md), 20);
    EXPECT_EQ(HeightOfImage(md), 15);
    md.ImageCount = 1;
    md.MaskType = 0;
    EXPECT_EQ(WidthOfImage(md), 60);
    EXPECT_EQ(HeightOfImage(md), 30);
    md.ImageCount = 0;
    md.MaskType = -1;
    EXPECT_EQ(WidthOfImage(md), 0);
    EXPECT_EQ(HeightOfImage(md), 0);
}

}  // namespace
}  // namespace qv
