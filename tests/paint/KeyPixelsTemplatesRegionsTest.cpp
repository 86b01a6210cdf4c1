// Key-pixel fills, disabled looks, nine-piece template scaling and region runs of border
// corners, with expected pixels worked out by hand.
#include "paint/sAlphaGraph.h"
#include "paint/sGlyphEffects.h"
#include "paint/sGraphUtils_Item.h"
#include "TestSkinSource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace qv {
namespace {

using test::BmpPixelIs;
using test::FillBitmap;
using test::TestSkinSource;

// Distinct pixels: x in blue, y in green.
void Number(TBitmap& bmp, std::uint32_t base = 0xFF000000u) {
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x) bmp.SetPixel32(x, y, base | (y << 8) | x);
}

TEST(FillTransPixels32, KeyPixelsOfTheDestinationOrOfAMaskCornerTakeTheSource) {
    TBitmap dst(6, 4, pf32bit), src(10, 10, pf32bit);
    Number(src, 0xFF300000u);
    FillBitmap(dst, 0xFF111111u);
    dst.SetPixel32(1, 1, 0x00FF00FFu);
    dst.SetPixel32(2, 1, 0x7FFF00FFu);  // only the low 24 bits are compared here
    dst.SetPixel32(3, 1, 0x00FF00FEu);
    FillTransPixels32(&dst, &src, {1, 1, 5, 3}, {4, 5}, -1, nullptr, 0);
    EXPECT_TRUE(BmpPixelIs(dst, 1, 1, 0xFF300504u));
    EXPECT_TRUE(BmpPixelIs(dst, 2, 1, 0xFF300505u));
    EXPECT_TRUE(BmpPixelIs(dst, 3, 1, 0x00FF00FEu));
    EXPECT_TRUE(BmpPixelIs(dst, 0, 1, 0xFF111111u));

    // With a mask: its bottom-right corner (MaskPos 17) of the DstRect's size decides.
    TestSkinSource skin(8, 8);
    FillBitmap(skin.Master, 0xFF000000u);
    const int m = skin.AddImage({0, 0, 8, 4}, 2, 0, 1, 1, 1, 1, 0);  // two 4 x 4 states
    skin.Master.SetPixel32(3, 3, 0x00FF00FFu);                       // state 0's last pixel
    FillBitmap(dst, 0xFF111111u);
    FillTransPixels32(&dst, &src, {0, 0, 2, 2}, {0, 0}, m, &skin, 17);
    EXPECT_TRUE(BmpPixelIs(dst, 1, 1, 0xFF300101u));
    EXPECT_TRUE(BmpPixelIs(dst, 0, 0, 0xFF111111u));
    FillBitmap(dst, 0xFF111111u);
    FillTransPixels32(&dst, &src, {0, 0, 2, 2}, {0, 0}, m, &skin, 13);  // top-left: no key there
    EXPECT_TRUE(BmpPixelIs(dst, 1, 1, 0xFF111111u));
}

TEST(BmpDisabledKind, GreyedBlendedOverParentAndOverAColour) {
    TBitmap bmp(3, 2, pf32bit);
    FillBitmap(bmp, 0x805A3C1Eu);  // R 90, G 60, B 30
    BmpDisabledKind(&bmp, dkGrayed, clBlack, EmptyCI, {0, 0});
    EXPECT_TRUE(BmpPixelIs(bmp, 2, 1, 0x803C3C3Cu));

    // 0.4 of the picture and 0.6 of the parent: 0.4 × 100 + 0.6 × 200 = 160.
    TBitmap parent(10, 10, pf32bit);
    FillBitmap(parent, 0xFF000000u);
    parent.SetPixel32(7, 5, 0xFFC8C8C8u);
    FillBitmap(bmp, 0xFF646464u);
    BmpDisabledKind(&bmp, dkBlended, clBlack, MakeCacheInfo(&parent, 4, 2), {1, 2});
    EXPECT_TRUE(BmpPixelIs(bmp, 2, 1, 0xFFA0A0A0u));
    EXPECT_TRUE(BmpPixelIs(bmp, 0, 0, 0xFF282828u));  // 0.4 × 100 over black

    // Half and half with the cache colour, or with the parent colour when that is the key.
    FillBitmap(bmp, 0xFF646464u);
    BmpDisabledKind(&bmp, dkBlended, 0x00C8C8C8, TCacheInfo{nullptr, 0, 0, clFuchsia, false}, {0, 0});
    EXPECT_TRUE(BmpPixelIs(bmp, 1, 1, 0xFF969696u));
    FillBitmap(bmp, 0xFF646464u);
    BmpDisabledKind(&bmp, dkBlended, clBlack, TCacheInfo{nullptr, 0, 0, 0x00000000, false}, {0, 0});
    EXPECT_TRUE(BmpPixelIs(bmp, 1, 1, 0xFF323232u));
}

class Template : public ::testing::Test {
protected:
    Template() {
        Number(src);
        FillBitmap(dst, 0xFFEEEEEEu);
    }
    std::uint32_t Src(int x, int y) const { return src.Pixel32(x, y); }
    TBitmap src{6, 6, pf32bit}, dst{10, 10, pf32bit};
    const TRect borders{2, 2, 2, 2};
};

TEST_F(Template, TiledSidesAndCentre) {
    PaintControlByTemplate(&dst, &src, {0, 0, 10, 10}, {0, 0, 6, 6}, borders, borders, {0, 0, 0, 0}, false, true);
    EXPECT_TRUE(BmpPixelIs(dst, 0, 0, Src(0, 0)));
    EXPECT_TRUE(BmpPixelIs(dst, 9, 9, Src(5, 5)));
    EXPECT_TRUE(BmpPixelIs(dst, 8, 1, Src(4, 1)));
    EXPECT_TRUE(BmpPixelIs(dst, 1, 8, Src(1, 4)));
    // Two-pixel middles repeat: columns 2, 3, 2, 3, ...
    EXPECT_TRUE(BmpPixelIs(dst, 4, 0, Src(2, 0)));
    EXPECT_TRUE(BmpPixelIs(dst, 7, 1, Src(3, 1)));
    EXPECT_TRUE(BmpPixelIs(dst, 9, 5, Src(5, 3)));
    EXPECT_TRUE(BmpPixelIs(dst, 6, 7, Src(2, 3)));
}

TEST_F(Template, StretchedSidesAndNoCentre) {
    PaintControlByTemplate(&dst, &src, {0, 0, 10, 10}, {0, 0, 6, 6}, borders, borders, {1, 0, 0, 0}, false, false);
    // Six destination columns from two source columns: 2, 2, 2, 3, 3, 3.
    EXPECT_TRUE(BmpPixelIs(dst, 4, 0, Src(2, 0)));
    EXPECT_TRUE(BmpPixelIs(dst, 5, 0, Src(3, 0)));
    EXPECT_TRUE(BmpPixelIs(dst, 0, 7, Src(0, 3)));
    EXPECT_TRUE(BmpPixelIs(dst, 5, 5, 0xFFEEEEEEu));
}

TEST(AddRgn, KeyRunsOfTheTopCornersBecomeOneRowRectangles) {
    TestSkinSource skin(12, 6);
    FillBitmap(skin.Master, 0xFF808080u);
    const int m = skin.AddImage({0, 0, 12, 6}, 2, 0, 2, 2, 2, 2, 0);  // 6 x 6 states
    for (TPoint p : {TPoint{0, 0}, TPoint{1, 0}, TPoint{0, 1}, TPoint{4, 0}, TPoint{5, 0}, TPoint{5, 1}})
        skin.Master.SetPixel32(p.X, p.Y, 0x00FF00FFu);
    skin.Master.SetPixel32(6, 0, 0x00FF00FFu);  // state 1 is never read
    TAOR aor{{100, 100, 101, 101}};
    AddRgn(aor, 30, skin.Images[static_cast<std::size_t>(m)], 10, false);
    ASSERT_EQ(aor.size(), 5u);
    EXPECT_EQ(aor[0], (TRect{100, 100, 101, 101}));  // appended, not replaced
    std::vector<TRect> got(aor.begin() + 1, aor.end());
    auto less = [](const TRect& a, const TRect& b) { return std::tie(a.Top, a.Left) < std::tie(b.Top, b.Left); };
    std::sort(got.begin(), got.end(), less);
    const std::vector<TRect> want{{0, 10, 2, 11}, {28, 10, 30, 11}, {0, 11, 1, 12}, {29, 11, 30, 12}};
    EXPECT_EQ(got, want);
}

// Source (R 200, G 100, B 0) at alpha 128 over black: weight 128 gives R 100, G 50.
TEST(CopyBmp32, BlendsByTheGlyphsAlphaWithBlendTintAndKeyPixels) {
    TBitmap glyph(2, 2, pf32bit), dst(4, 4, pf32bit), parent(10, 10, pf32bit);
    FillBitmap(glyph, 0x80C86400u);
    glyph.SetPixel32(1, 1, 0x00FF00FFu);
    Number(parent, 0xFF500000u);
    auto fresh = [&] { FillBitmap(dst, 0x40000000u); };

    fresh();
    CopyBmp32({1, 1, 3, 3}, {0, 0, 2, 2}, &dst, &glyph, EmptyCI, false, acNoTint, 0, false);
    EXPECT_TRUE(BmpPixelIs(dst, 1, 1, 0x40643200u));
    EXPECT_TRUE(BmpPixelIs(dst, 0, 0, 0x40000000u));
    EXPECT_TRUE(BmpPixelIs(dst, 2, 2, 0x40000000u));  // the key pixel's alpha 0 leaves black black

    fresh();  // Blend 50 halves the weight: 64.
    CopyBmp32({1, 1, 3, 3}, {0, 0, 2, 2}, &dst, &glyph, EmptyCI, false, acNoTint, 50, false);
    EXPECT_TRUE(BmpPixelIs(dst, 1, 1, 0x40321900u));

    fresh();  // White tint: grey 100 in every channel, then weight 128.
    CopyBmp32({1, 1, 3, 3}, {0, 0, 2, 2}, &dst, &glyph, EmptyCI, false, clWhite, 0, false);
    EXPECT_TRUE(BmpPixelIs(dst, 1, 1, 0x40323232u));

    fresh();  // Ready background: the key pixel shows the parent; alpha rises to the glyph's.
    CopyBmp32({1, 1, 3, 3}, {0, 0, 2, 2}, &dst, &glyph, MakeCacheInfo(&parent, 3, 4), true, acNoTint, 0, false);
    EXPECT_TRUE(BmpPixelIs(dst, 1, 1, 0x80643200u));
    EXPECT_EQ(dst.Pixel32(2, 2) & 0xFFFFFFu, 0x500605u);

    fresh();  // Clipped at the destination's edge: only the glyph's top-left pixel lands.
    CopyBmp32({3, 3, 5, 5}, {0, 0, 2, 2}, &dst, &glyph, EmptyCI, false, acNoTint, 0, false);
    EXPECT_TRUE(BmpPixelIs(dst, 3, 3, 0x40643200u));
    EXPECT_TRUE(BmpPixelIs(dst, 2, 3, 0x40000000u));
}

}  // namespace
}  // namespace qv
