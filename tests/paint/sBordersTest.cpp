// Corners and fast borders of a control's cache bitmap, drawn from a hand-built skin
// through a stand-in control binding.
#include "paint/sBorders.h"

#include "paint/sAlphaGraph.h"
#include "TestSkinSource.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using test::BmpPixelIs;
using test::FillBitmap;
using test::TestSkinSource;

constexpr std::uint32_t kKey = 0x00FF00FFu;

// A control binding with a cache bitmap, a position in its parent and a parent that
// answers with a bitmap or a colour.
class StubBinding : public TacCtrlPaintData {
public:
    StubBinding(TestSkinSource& skin, int section, int border) : FSkin(skin), FSection(section), FBorder(border) {}
    TacSkinSource* SkinManager() const noexcept override { return &FSkin; }
    int SkinIndex() const noexcept override { return FSection; }
    const String& SkinSection() const noexcept override { return FName; }
    int BorderIndex() const noexcept override { return FBorder; }
    int Texture() const noexcept override { return -1; }
    int HotTexture() const noexcept override { return -1; }
    TColor CustomColor() const noexcept override { return clFuchsia; }
    int HUEOffset() const noexcept override { return 0; }
    int Saturation() const noexcept override { return 0; }
    TBitmap* CacheBmp() noexcept override { return Cache.Empty() ? nullptr : &Cache; }
    void InitCacheBmp() noexcept override {
        if (Cache.Empty()) Cache.SetSize(CacheWidth, CacheHeight);
    }
    bool HasOwnerControl() const noexcept override { return true; }
    TPoint OwnerPosition() const noexcept override { return Position; }
    bool GetParentBGInfo(TacBGInfo& info, bool) noexcept override {
        if (ParentBmp) {
            info.BgType = btCache;
            info.Bmp = ParentBmp;
            info.Offset = {0, 0};
        } else {
            info.BgType = btFill;
            info.Color = ParentColor;
        }
        return true;
    }
    TColor GetBGColor(int) const noexcept override { return BGColor; }

    TBitmap Cache;
    int CacheWidth = 20, CacheHeight = 12;
    TPoint Position{5, 3};
    TBitmap* ParentBmp = nullptr;
    TColor ParentColor = 0x00332211;
    TColor BGColor = 0x00665544;

private:
    TestSkinSource& FSkin;
    int FSection, FBorder;
    String FName = L"PANEL";
};

// A 2-state plain mask of 6 x 6 state images with borders 2; each state image is grey
// 0x40 + state with key pixels at its four outermost corner pixels.
class CornerSkin : public ::testing::Test {
protected:
    CornerSkin() : skin(12, 12) {
        FillBitmap(skin.Master, 0xFF404040u);
        skin.Fill({6, 0, 12, 6}, 0xFF414141u);
        for (int s = 0; s < 2; ++s)
            for (TPoint p : {TPoint{0, 0}, TPoint{5, 0}, TPoint{0, 5}, TPoint{5, 5}})
                skin.Master.SetPixel32(s * 6 + p.X, p.Y, kKey);
        section = skin.AddSection(L"PANEL");
        skin.Sections[0].States = 2;
        mask = skin.AddImage({0, 0, 12, 6}, 2, 0, 2, 2, 2, 2, 5);
        skin.Images[static_cast<std::size_t>(mask)].CornerType = 1;
        for (int y = 0; y < parent.Height(); ++y)
            for (int x = 0; x < parent.Width(); ++x) parent.SetPixel32(x, y, 0xFF000000u | (y << 8) | x);
    }
    TestSkinSource skin;
    int section = -1, mask = -1;
    TBitmap parent{40, 30, pf32bit};
};

TEST_F(CornerSkin, UpdateCornersPutsTheParentIntoKeyPixelsOnly) {
    StubBinding b(skin, section, mask);
    b.InitCacheBmp();
    FillBitmap(b.Cache, 0xFF000000u | kKey);  // as a face drawn without corner updates
    b.Cache.SetPixel32(1, 0, 0xFF123456u);
    b.ParentBmp = &parent;
    UpdateCorners(&b, 7);  // clamped to state 1
    // Parent pixel (x + 5, y + 3) behind each outermost corner pixel.
    EXPECT_TRUE(BmpPixelIs(b.Cache, 0, 0, 0xFF000305u));
    EXPECT_TRUE(BmpPixelIs(b.Cache, 19, 0, 0xFF000318u));
    EXPECT_TRUE(BmpPixelIs(b.Cache, 0, 11, 0xFF000E05u));
    EXPECT_TRUE(BmpPixelIs(b.Cache, 19, 11, 0xFF000E18u));
    // Non-key image pixels of the corners and everything outside them stay.
    EXPECT_TRUE(BmpPixelIs(b.Cache, 1, 0, 0xFF123456u));
    EXPECT_TRUE(BmpPixelIs(b.Cache, 1, 1, 0xFF000000u | kKey));
    EXPECT_TRUE(BmpPixelIs(b.Cache, 10, 0, 0xFF000000u | kKey));
}

TEST_F(CornerSkin, UpdateCornersWithAColourAndWithoutCornerKeys) {
    StubBinding b(skin, section, mask);
    b.InitCacheBmp();
    FillBitmap(b.Cache, 0xFF010203u);
    UpdateCorners(&b, 0);
    EXPECT_TRUE(BmpPixelIs(b.Cache, 0, 0, 0xFF112233u));
    EXPECT_TRUE(BmpPixelIs(b.Cache, 19, 11, 0xFF112233u));
    EXPECT_TRUE(BmpPixelIs(b.Cache, 1, 0, 0xFF010203u));

    // CornerType 0: the corners are known to hold no key pixel and are left alone.
    skin.Images[static_cast<std::size_t>(mask)].CornerType = 0;
    FillBitmap(b.Cache, 0xFF010203u);
    UpdateCorners(&b, 0);
    EXPECT_TRUE(BmpPixelIs(b.Cache, 0, 0, 0xFF010203u));
}

TEST_F(CornerSkin, PaintBorderFastDrawsTheMaskAndReturnsTheClientArea) {
    StubBinding b(skin, section, mask);
    b.ParentBmp = &parent;
    const TRect client = PaintBorderFast(nullptr, {0, 0, 20, 12}, 0, &b, 1);
    EXPECT_EQ(client, (TRect{2, 2, 18, 10}));
    ASSERT_FALSE(b.Cache.Empty());
    EXPECT_TRUE(BmpPixelIs(b.Cache, 0, 0, 0xFF000305u));   // key corner shows the parent
    EXPECT_TRUE(BmpPixelIs(b.Cache, 1, 0, 0xFF414141u));   // state 1's border
    EXPECT_TRUE(BmpPixelIs(b.Cache, 10, 6, 0xFF414141u));  // its tiled centre
}

TEST_F(CornerSkin, PaintBorderFastWithAWiderMinimumFillsTheBandAndCopiesTheFrame) {
    StubBinding b(skin, section, mask);
    b.ParentBmp = &parent;
    TBitmap target(20, 12, pf32bit);
    FillBitmap(target, 0xFF0000FFu);
    const TRect client = PaintBorderFast(&target, {0, 0, 20, 12}, 3, &b, 0);
    EXPECT_EQ(client, (TRect{3, 3, 17, 9}));
    // Ring 2 (inside the mask's 2-pixel border) takes the background colour.
    EXPECT_TRUE(BmpPixelIs(b.Cache, 2, 5, 0xFF445566u));
    EXPECT_TRUE(BmpPixelIs(b.Cache, 17, 5, 0xFF445566u));
    // The 3-pixel frame reaches the target; the client area does not.
    EXPECT_TRUE(BmpPixelIs(target, 1, 0, 0xFF404040u));
    EXPECT_TRUE(BmpPixelIs(target, 2, 5, 0xFF445566u));
    EXPECT_TRUE(BmpPixelIs(target, 19, 11, 0xFF000E18u));
    EXPECT_TRUE(BmpPixelIs(target, 3, 3, 0xFF0000FFu));
    EXPECT_TRUE(BmpPixelIs(target, 16, 8, 0xFF0000FFu));
}

TEST_F(CornerSkin, PaintBorderFastWithoutAMaskFillsTheMinimumBand) {
    StubBinding b(skin, section, -1);
    TBitmap target(10, 8, pf32bit);
    FillBitmap(target, 0xFF0000FFu);
    const TRect client = PaintBorderFast(&target, {0, 0, 10, 8}, 2, &b, 0);
    EXPECT_EQ(client, (TRect{2, 2, 8, 6}));
    EXPECT_TRUE(BmpPixelIs(target, 1, 4, 0xFF445566u));
    EXPECT_TRUE(BmpPixelIs(target, 8, 7, 0xFF445566u));
    EXPECT_TRUE(BmpPixelIs(target, 2, 2, 0xFF0000FFu));
    EXPECT_TRUE(b.Cache.Empty());
}

}  // namespace
}  // namespace qv
