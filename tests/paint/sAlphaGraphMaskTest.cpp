// Skin mask drawing on hand-built masks: expected pixels are worked out by hand from the
// piece table, the border reduction and the mask blend (s × (256 − k) + d × k) shr 8.
#include "TestSkinSource.h"

#include "paint/sAlphaGraph.h"

#include <gtest/gtest.h>

namespace qv::test {
namespace {

constexpr std::uint32_t Px(int r, int g, int b, int a = 255) {
    return static_cast<std::uint32_t>(a) << 24 | static_cast<std::uint32_t>(r) << 16 |
           static_cast<std::uint32_t>(g) << 8 | static_cast<std::uint32_t>(b);
}
constexpr std::uint32_t kDst = Px(200, 100, 50);

// Master pixels whose red byte tells the column and green byte the row.
void NumberColumns(TestSkinSource& skin, TRect r) {
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) skin.Master.SetPixel32(x, y, Px(x * 5, y * 5, 100));
}

TEST(DrawSkinRect, NarrowRectanglesReduceTheBorders) {
    TestSkinSource skin(16, 8);
    NumberColumns(skin, {0, 0, 16, 8});
    const int i = skin.AddImage({0, 0, 8, 8}, 1, 0, 3, 3, 3, 3, 4);
    TBitmap dst(10, 8);
    // Width 5: borders 3 and 2, so columns 3 and 4 come from the last two source columns.
    FillBitmap(dst, kDst);
    DrawSkinRect(&dst, {0, 0, 5, 8}, true, EmptyCI, skin.Images[i], 0, false, &skin);
    EXPECT_TRUE(BmpPixelIs(dst, 2, 0, Px(10, 0, 100)));
    EXPECT_TRUE(BmpPixelIs(dst, 3, 0, Px(30, 0, 100)));
    EXPECT_TRUE(BmpPixelIs(dst, 4, 0, Px(35, 0, 100)));
    EXPECT_TRUE(BmpPixelIs(dst, 5, 0, kDst));
    // Width 4: borders 2 and 2.
    FillBitmap(dst, kDst);
    DrawSkinRect(&dst, {0, 0, 4, 8}, true, EmptyCI, skin.Images[i], 0, false, &skin);
    EXPECT_TRUE(BmpPixelIs(dst, 1, 0, Px(5, 0, 100)));
    EXPECT_TRUE(BmpPixelIs(dst, 2, 0, Px(30, 0, 100)));
    EXPECT_TRUE(BmpPixelIs(dst, 3, 0, Px(35, 0, 100)));
    EXPECT_TRUE(BmpPixelIs(dst, 4, 0, kDst));
}

TEST(DrawSkinRect, StatesAreClampedAndNoImagesDrawNothing) {
    TestSkinSource skin(16, 8);
    NumberColumns(skin, {0, 0, 16, 8});
    const int i = skin.AddImage({0, 0, 16, 8}, 2, 0, 3, 3, 3, 3, 4);
    TBitmap dst(8, 8);
    FillBitmap(dst, kDst);
    DrawSkinRect(&dst, {0, 0, 8, 8}, true, EmptyCI, skin.Images[i], 5, false, &skin);
    EXPECT_TRUE(BmpPixelIs(dst, 0, 0, Px(40, 0, 100)));  // state 1 starts at column 8
    EXPECT_TRUE(BmpPixelIs(dst, 7, 7, Px(75, 35, 100)));

    skin.Images[i].ImageCount = 0;
    FillBitmap(dst, kDst);
    DrawSkinRect(&dst, {0, 0, 8, 8}, true, EmptyCI, skin.Images[i], 0, false, &skin);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) ASSERT_TRUE(BmpPixelIs(dst, x, y, kDst));
}

TEST(DrawSkinRect, DrawMode3SkipsTheNormalStateAndStretchesTheHotOne) {
    TestSkinSource skin(16, 8);
    NumberColumns(skin, {0, 0, 16, 8});
    const int i = skin.AddImage({0, 0, 16, 8}, 2, 0, 3, 3, 3, 3, 3);
    TBitmap dst(20, 8);
    FillBitmap(dst, kDst);
    DrawSkinRect(&dst, {0, 0, 20, 8}, true, EmptyCI, skin.Images[i], 0, false, &skin);
    EXPECT_TRUE(BmpPixelIs(dst, 0, 0, kDst));
    DrawSkinRect(&dst, {0, 0, 20, 8}, true, EmptyCI, skin.Images[i], 1, false, &skin);
    // Top side: 14 columns stretched from source columns 11 and 12 by pixel dropping.
    EXPECT_TRUE(BmpPixelIs(dst, 9, 1, Px(55, 5, 100)));
    EXPECT_TRUE(BmpPixelIs(dst, 10, 1, Px(60, 5, 100)));
    EXPECT_TRUE(BmpPixelIs(dst, 0, 0, Px(40, 0, 100)));
    EXPECT_TRUE(BmpPixelIs(dst, 10, 4, kDst));  // no centre without bit value 4
}

TEST(DrawSkinRect, MaskedMaskWithAnEmptyMiddleDrawsOnlyCorners) {
    TestSkinSource skin(6, 12);
    skin.Fill({0, 0, 6, 6}, Px(16, 32, 48));
    skin.Fill({0, 6, 6, 12}, 0);  // mask 0: the image shows
    const int i = skin.AddImage({0, 0, 6, 12}, 1, 1, 3, 3, 3, 3, 4);
    TBitmap dst(10, 10);
    FillBitmap(dst, Px(1, 2, 3, 0x80));
    DrawSkinRect(&dst, {0, 0, 10, 10}, true, EmptyCI, skin.Images[i], 0, false, &skin);
    EXPECT_TRUE(BmpPixelIs(dst, 0, 0, Px(16, 32, 48, 0x80)));  // blended, alpha kept
    EXPECT_TRUE(BmpPixelIs(dst, 9, 9, Px(16, 32, 48, 0x80)));
    EXPECT_TRUE(BmpPixelIs(dst, 5, 0, Px(1, 2, 3, 0x80)));  // no top side
    EXPECT_TRUE(BmpPixelIs(dst, 5, 5, Px(1, 2, 3, 0x80)));
}

// The internal skin's button geometry: 48 × 32 with three 16 × 16 states over their mask
// rows, borders 7, 7, 8, 8, stretched sides and a centre from the single middle pixel.
class ButtonMask : public ::testing::Test {
protected:
    ButtonMask() : skin(48, 32) {
        NumberColumns(skin, {0, 0, 48, 16});
        skin.Fill({0, 16, 48, 32}, 0);
        skin.Master.SetPixel32(0, 16, 0x00404040);  // k = 64 under the top-left corner pixel
        index = skin.AddImage({0, 0, 48, 32}, 3, 1, 7, 7, 8, 8, 5);
        dst = std::make_unique<TBitmap>(60, 40);
        FillBitmap(*dst, kDst);
    }
    void Draw(int state) {
        DrawSkinRect(dst.get(), {0, 0, 60, 40}, true, EmptyCI, skin.Images[index], state, false, &skin);
    }
    TestSkinSource skin;
    int index;
    std::unique_ptr<TBitmap> dst;
};

TEST_F(ButtonMask, CornersBlendByTheMaskSidesStretchAndTheCentreTakesTheMiddlePixel) {
    Draw(0);
    // (s × 192 + d × 64) shr 8 per channel: B (100, 50) -> 87, G (0, 100) -> 25, R (0, 200) -> 50.
    EXPECT_TRUE(BmpPixelIs(*dst, 0, 0, Px(50, 25, 87)));
    EXPECT_TRUE(BmpPixelIs(*dst, 59, 39, Px(75, 75, 100)));  // bottom-right corner, source (15, 15)
    EXPECT_TRUE(BmpPixelIs(*dst, 3, 20, Px(15, 35, 100)));   // left side from row 7
    EXPECT_TRUE(BmpPixelIs(*dst, 52, 20, Px(40, 35, 100)));  // right side from column 8
    EXPECT_TRUE(BmpPixelIs(*dst, 30, 3, Px(35, 15, 100)));   // top side from column 7
    EXPECT_TRUE(BmpPixelIs(*dst, 30, 36, Px(35, 60, 100)));  // bottom side: row 8 + 4
    EXPECT_TRUE(BmpPixelIs(*dst, 30, 20, Px(35, 35, 100)));  // centre: source (7, 7)
    EXPECT_TRUE(BmpPixelIs(*dst, 7, 7, Px(35, 35, 100)));
}

TEST_F(ButtonMask, StatesAboveTheLastDrawTheLast) {
    Draw(7);
    EXPECT_TRUE(BmpPixelIs(*dst, 1, 1, Px(165, 5, 100)));
    EXPECT_TRUE(BmpPixelIs(*dst, 30, 20, Px(195, 35, 100)));
}

TEST_F(ButtonMask, CentreMaskByte255LeavesTheDestination) {
    skin.Master.SetPixel32(7, 23, 0x00FFFFFF);
    Draw(0);
    EXPECT_TRUE(BmpPixelIs(*dst, 30, 20, kDst));
    EXPECT_TRUE(BmpPixelIs(*dst, 7, 7, kDst));
    EXPECT_TRUE(BmpPixelIs(*dst, 3, 20, Px(15, 35, 100)));  // the sides are still drawn
}

TEST(DrawSkinRect, KeyPixelsShowTheParentInCornersAndKeepTheDestinationInTiledSides) {
    TestSkinSource skin(8, 16);
    skin.Fill({0, 0, 8, 8}, Px(9, 9, 9));
    skin.Fill({0, 8, 8, 16}, 0);
    skin.Master.SetPixel32(0, 0, KeyPixel);  // in the top-left corner
    skin.Master.SetPixel32(0, 4, KeyPixel);  // in the left side
    const int i = skin.AddImage({0, 0, 8, 16}, 1, 1, 3, 3, 3, 3, 4);
    skin.Images[i].CornerType = 1;
    TBitmap parent(40, 40);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) parent.SetPixel32(x, y, Px(x, y, 7));
    TBitmap dst(20, 20);
    FillBitmap(dst, kDst);
    DrawSkinRect(&dst, {0, 0, 20, 20}, true, MakeCacheInfo(&parent, 5, 6), skin.Images[i], 0, true, &skin);
    EXPECT_TRUE(BmpPixelIs(dst, 0, 0, Px(5, 6, 7)));
    EXPECT_TRUE(BmpPixelIs(dst, 0, 4, kDst));  // tiles: rows 3, 4 of the source, key skipped
    EXPECT_TRUE(BmpPixelIs(dst, 0, 3, Px(9, 9, 9)));
    EXPECT_TRUE(BmpPixelIs(dst, 0, 6, kDst));  // the next tile's second row
    // Without UpdateCorners a ready background makes the corner blend its key pixel too.
    FillBitmap(dst, kDst);
    DrawSkinRect(&dst, {0, 0, 20, 20}, true, MakeCacheInfo(&parent, 5, 6), skin.Images[i], 0, false, &skin);
    EXPECT_TRUE(BmpPixelIs(dst, 0, 0, Px(255, 0, 255)));
}

TEST(DrawSkinRect, InvalidInputsPaintNothing) {
    TestSkinSource skin(16, 8);
    NumberColumns(skin, {0, 0, 16, 8});
    const int i = skin.AddImage({0, 0, 8, 8}, 1, 0, 3, 3, 3, 3, 4);
    TBitmap dst(8, 8);
    FillBitmap(dst, kDst);
    DrawSkinRect(&dst, {0, 0, 1, 8}, true, EmptyCI, skin.Images[i], 0, false, &skin);     // 1 pixel wide
    DrawSkinRect(&dst, {4, 4, 40, 40}, true, EmptyCI, skin.Images[i], -3, false, &skin);  // off the bitmap
    EXPECT_TRUE(BmpPixelIs(dst, 0, 0, kDst));
    EXPECT_TRUE(BmpPixelIs(dst, 4, 4, Px(0, 0, 100)));  // clipped, state −3 taken as 0
    TsMaskData orphan;
    orphan.R = {0, 0, 8, 8};
    orphan.ImageCount = 1;
    DrawSkinRect(&dst, {0, 0, 8, 8}, true, EmptyCI, orphan, 0, false, &skin);  // no manager
    EXPECT_TRUE(BmpPixelIs(dst, 0, 0, kDst));
    TBitmap wrongFormat(8, 8, pf24bit);
    DrawSkinRect(&wrongFormat, {0, 0, 8, 8}, true, EmptyCI, skin.Images[i], 0, false, &skin);
}

TEST(StretchBltMask, OnePixelCentreFillsBlendsOrLeaves) {
    TBitmap src(1, 2);
    src.SetPixel32(0, 0, Px(10, 20, 30, 0));
    TBitmap dst(4, 4);
    for (const auto& [k, want] :
         {std::pair{0u, Px(10, 20, 30)}, std::pair{255u, kDst}, std::pair{128u, Px(105, 60, 40)}}) {
        FillBitmap(dst, kDst);
        src.SetPixel32(0, 1, k << 16);
        StretchBltMask(1, 1, 2, 2, 0, 0, 1, 1, &dst, &src, 1, true);
        EXPECT_TRUE(BmpPixelIs(dst, 1, 1, want)) << "k=" << k;
        EXPECT_TRUE(BmpPixelIs(dst, 2, 2, want)) << "k=" << k;
        EXPECT_TRUE(BmpPixelIs(dst, 3, 3, kDst)) << "k=" << k;
    }
}

TEST(BlendColorRect, IncludesRightAndBottomAndStaysInside) {
    TBitmap bmp(6, 6);
    FillBitmap(bmp, Px(100, 100, 100, 7));
    BlendColorRect(&bmp, {1, 1, 3, 3}, 100, clRed);
    EXPECT_TRUE(BmpPixelIs(bmp, 1, 1, Px(100, 100, 100, 7)));
    BlendColorRect(&bmp, {1, 1, 3, 3}, 0, clRed);
    EXPECT_TRUE(BmpPixelIs(bmp, 1, 1, Px(255, 0, 0, 7)));
    EXPECT_TRUE(BmpPixelIs(bmp, 3, 3, Px(255, 0, 0, 7)));
    EXPECT_TRUE(BmpPixelIs(bmp, 4, 3, Px(100, 100, 100, 7)));
    EXPECT_TRUE(BmpPixelIs(bmp, 0, 0, Px(100, 100, 100, 7)));
    // 40 % of 100 and 60 % of 0 or 255; 0.4 × 101 + 0 = 40.4 -> 40; ties go to even.
    BlendColorRect(&bmp, {-5, -5, 100, 100}, 40, clBlack);
    EXPECT_TRUE(BmpPixelIs(bmp, 0, 0, Px(40, 40, 40, 7)));
    EXPECT_TRUE(BmpPixelIs(bmp, 5, 5, Px(40, 40, 40, 7)));
    EXPECT_TRUE(BmpPixelIs(bmp, 2, 2, Px(102, 0, 0, 7)));
    FillBitmap(bmp, Px(5, 15, 25, 0));
    BlendColorRect(&bmp, {0, 0, 0, 0}, 50, clBlack);  // 2.5 -> 2, 7.5 -> 8, 12.5 -> 12
    EXPECT_TRUE(BmpPixelIs(bmp, 0, 0, Px(2, 8, 12, 0)));
    EXPECT_TRUE(BmpPixelIs(bmp, 1, 0, Px(5, 15, 25, 0)));
}

TEST(CopyTransRect, KeyPixelsFollowTheCacheInformation) {
    TBitmap src(2, 1);
    src.SetPixel32(0, 0, KeyPixel);
    src.SetPixel32(1, 0, Px(1, 2, 3, 4));
    TBitmap parent(4, 4);
    FillBitmap(parent, Px(9, 8, 7, 6));
    TBitmap dst(3, 3);
    FillBitmap(dst, kDst);
    CopyTransRect(&dst, &src, 0, 0, {0, 0, 1, 0}, clFuchsia, MakeCacheInfo(&parent, 1, 1), true);
    EXPECT_TRUE(BmpPixelIs(dst, 0, 0, Px(9, 8, 7, 255)));
    EXPECT_TRUE(BmpPixelIs(dst, 1, 0, Px(1, 2, 3, 255)));
    FillBitmap(dst, kDst);
    CopyTransRect(&dst, &src, 1, 1, {0, 0, 1, 0}, clFuchsia, MakeCacheInfo(&parent, 1, 1), false);
    EXPECT_TRUE(BmpPixelIs(dst, 1, 1, kDst));
    EXPECT_TRUE(BmpPixelIs(dst, 2, 1, Px(1, 2, 3, 4)));
    TCacheInfo colour{nullptr, 0, 0, 0x00112233, false};
    CopyTransRect(&dst, &src, 0, 2, {0, 0, 1, 0}, clFuchsia, colour, false);
    EXPECT_TRUE(BmpPixelIs(dst, 0, 2, Px(0x33, 0x22, 0x11)));
    // A parent position right of the parent ends the row.
    FillBitmap(dst, kDst);
    CopyTransRect(&dst, &src, 0, 0, {0, 0, 1, 0}, clFuchsia, MakeCacheInfo(&parent, 10, 0), true);
    EXPECT_TRUE(BmpPixelIs(dst, 0, 0, kDst));
}

TEST(TacRegion, RemovingRunsCutsCorners) {
    TacRegion rgn({0, 0, 10, 10});
    rgn.Remove({0, 0, 2, 1});
    rgn.Remove({0, 1, 1, 2});
    EXPECT_EQ(rgn.Area(), 97);
    EXPECT_FALSE(rgn.Contains({1, 0}));
    EXPECT_TRUE(rgn.Contains({1, 1}));
    rgn.Add({0, 0, 10, 10});
    EXPECT_EQ(rgn.Area(), 100);
}

TEST(PaintRgnBorder, KeyCornersLeaveTheRegion) {
    TestSkinSource skin(8, 8);
    skin.Fill({0, 0, 8, 8}, Px(50, 50, 50));
    skin.Master.SetPixel32(0, 0, KeyPixel);
    skin.Master.SetPixel32(1, 0, KeyPixel);
    skin.Master.SetPixel32(7, 7, KeyPixel);
    const int i = skin.AddImage({0, 0, 8, 8}, 1, 0, 3, 3, 3, 3, 5);
    TBitmap bmp(12, 12);
    FillBitmap(bmp, kDst);
    TacRegion rgn({0, 0, 12, 12});
    PaintRgnBorder(&bmp, &rgn, true, skin.Images[i], 0);
    EXPECT_FALSE(rgn.Contains({0, 0}));
    EXPECT_FALSE(rgn.Contains({1, 0}));
    EXPECT_FALSE(rgn.Contains({11, 11}));
    EXPECT_EQ(rgn.Area(), 144 - 3);
    EXPECT_TRUE(BmpPixelIs(bmp, 0, 0, kDst));
    EXPECT_TRUE(BmpPixelIs(bmp, 2, 0, Px(50, 50, 50)));
    EXPECT_TRUE(BmpPixelIs(bmp, 6, 6, Px(50, 50, 50)));
}

}  // namespace
}  // namespace qv::test
