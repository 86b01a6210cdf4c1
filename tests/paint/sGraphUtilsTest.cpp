// Colour and pixel filters: expected values worked by hand from the colour model and the
// blend formulas, checked at chosen pixels with a guard ring around every picture.
#include "paint/sGraphUtils.h"

#include "PaintTestImage.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qv {
namespace {

using test::PixelIs;
using test::Px;
using test::TestImage;

TsColor Pixel(int r, int g, int b, int a) { return MakeTsColor(static_cast<std::int32_t>(Px(r, g, b, a))); }

TEST(ChangeHue, RotatesAroundTheColourWheel) {
    EXPECT_EQ(ChangeHue(120, clRed), clLime);
    EXPECT_EQ(ChangeHue(-120, clRed), clBlue);
    EXPECT_EQ(ChangeHue(480, clRed), clLime);  // a full turn more
    EXPECT_EQ(ChangeHue(0, TColor{0x123456}), 0x123456);
    // Pixel order: A kept. (200, 100, 50): H 20, +30 → 50 in sector 0: (V, t, p) with
    // t = 200 − 10 × 150 / 60 = 175.
    EXPECT_EQ(static_cast<std::uint32_t>(ChangeHue(30, Pixel(200, 100, 50, 0x5A)).I), Px(200, 175, 50, 0x5A));
    // The colour-value form exchanges red and blue around it.
    EXPECT_EQ(ChangeHue(30, TColor{50 << 16 | 100 << 8 | 200}), TColor{50 << 16 | 175 << 8 | 200});
    // Grey has no hue.
    EXPECT_EQ(ChangeHue(77, TColor{0x404040}), 0x404040);
}

TEST(ChangeSaturation, MovesAwayFromOrTowardsGrey) {
    EXPECT_EQ(ChangeSaturation(TColor{0 << 16 | 100 << 8 | 200}, -100), TColor{0x646464});
    // +50: grey 100; R 200 + 50 = 250, B 0 − 50 clamps to 0.
    EXPECT_EQ(static_cast<std::uint32_t>(ChangeSaturation(50, Pixel(200, 100, 0, 0x11)).I), Px(250, 100, 0, 0x11));
    // (10, 20, 31) by −50: grey 61/3; R 10 − (10 − 20.33)/2 = 15.17, B 31 − 5.33 = 25.67.
    EXPECT_EQ(ChangeSaturation(TColor{31 << 16 | 20 << 8 | 10}, -50), TColor{26 << 16 | 20 << 8 | 15});
}

class FilterRowOrder : public ::testing::TestWithParam<bool> {};

TEST_P(FilterRowOrder, BitmapHueAndSaturationSkipGreyAndKeyPixels) {
    TestImage img(3, 2, 0, GetParam());
    img.Set(0, 0, Px(255, 0, 0));       // red
    img.Set(1, 0, Px(90, 90, 90, 17));  // grey
    img.Set(2, 0, 0x00FF00FFu);         // key
    img.Set(0, 1, 0xFFFF00FFu);         // magenta with A 255: not the key
    img.Set(1, 1, Px(200, 100, 0, 3));
    img.Set(2, 1, Px(0, 0, 1));
    TestImage sat = img;

    ChangeBmpHUE(img.Rows(), 120);
    EXPECT_TRUE(PixelIs(img, 0, 0, Px(0, 255, 0)));
    EXPECT_TRUE(PixelIs(img, 1, 0, Px(90, 90, 90, 17)));
    EXPECT_TRUE(PixelIs(img, 2, 0, 0x00FF00FFu));
    EXPECT_TRUE(PixelIs(img, 0, 1, Px(255, 255, 0)));  // 300° + 120° = 60°: yellow
    // (200, 100, 0): H 30 → 150, sector 2, j 30: (p, V, t), t = 200 − 30 × 200 / 60 = 100.
    EXPECT_TRUE(PixelIs(img, 1, 1, Px(0, 200, 100, 3)));
    EXPECT_TRUE(PixelIs(img, 2, 1, Px(1, 0, 0)));
    EXPECT_TRUE(img.GuardIntact());

    ChangeBmpSaturation(sat.Rows(), -100);
    EXPECT_TRUE(PixelIs(sat, 0, 0, Px(85, 85, 85)));
    EXPECT_TRUE(PixelIs(sat, 1, 0, Px(90, 90, 90, 17)));
    EXPECT_TRUE(PixelIs(sat, 2, 0, 0x00FF00FFu));
    EXPECT_TRUE(PixelIs(sat, 0, 1, Px(170, 170, 170)));
    EXPECT_TRUE(PixelIs(sat, 1, 1, Px(100, 100, 100, 3)));
    EXPECT_TRUE(sat.GuardIntact());
}

// The bitmap loop is a separate, vectorised formulation of the hue shift: it must give
// the bytes of the single-colour routine for every colour and shift.
TEST(ChangeBmpHUE, MatchesTheSingleColourShiftEverywhere) {
    constexpr int kStep = 5;  // 52^3 colours in one picture, 52 wide
    const int n = 256 / kStep + 1;
    for (int delta : {1, 29, -77, 180, 359, -359, 725}) {
        TestImage img(n, n * n, 0, false);
        for (int r = 0; r < n; ++r)
            for (int g = 0; g < n; ++g)
                for (int b = 0; b < n; ++b)
                    img.Set(b, r * n + g,
                            Px(std::min(r * kStep, 255), std::min(g * kStep, 255), std::min(b * kStep, 255), r));
        const TestImage before = img;
        ChangeBmpHUE(img.Rows(), delta);
        int mismatches = 0;
        for (int y = 0; y < img.Height() && mismatches < 5; ++y)
            for (int x = 0; x < img.Width(); ++x) {
                const std::uint32_t in = before.At(x, y);
                const std::uint32_t want = in == 0x00FF00FFu
                                               ? in
                                               : static_cast<std::uint32_t>(
                                                     ChangeHue(delta, MakeTsColor(static_cast<std::int32_t>(in))).I);
                if (img.At(x, y) != want && ++mismatches <= 5)
                    ADD_FAILURE() << "delta " << delta << " colour " << TestImage::Hex(in) << " expected "
                                  << TestImage::Hex(want) << " got " << TestImage::Hex(img.At(x, y));
            }
    }
}

TEST_P(FilterRowOrder, GreyScaleAveragesAndKeepsAlpha) {
    TestImage img(2, 2, Px(10, 20, 31, 0x44), GetParam());
    img.Set(1, 1, 0x00FF00FFu);
    TestImage trans = img;
    GrayScale(img.Rows());
    EXPECT_TRUE(PixelIs(img, 0, 0, Px(20, 20, 20, 0x44)));
    EXPECT_TRUE(PixelIs(img, 1, 1, Px(170, 170, 170, 0)));
    GrayScaleTrans(trans.Rows(), clFuchsia);
    EXPECT_TRUE(PixelIs(trans, 0, 1, Px(20, 20, 20, 0x44)));
    EXPECT_TRUE(PixelIs(trans, 1, 1, 0x00FF00FFu));
    EXPECT_TRUE(img.GuardIntact());
    EXPECT_TRUE(trans.GuardIntact());
}

INSTANTIATE_TEST_SUITE_P(BothRowOrders, FilterRowOrder, ::testing::Values(true, false));

TEST(BlendTransRectangle, BlendsTheInclusiveRectangleLeavingKeyPixels) {
    TestImage dst(6, 5, Px(100, 100, 100, 7));
    TestImage src(4, 4, Px(200, 50, 0, 0x33), false);
    src.Set(2, 2, 0x00FF00FFu);
    BlendTransRectangle(dst.Rows(), 3, 2, src.Rows(), {1, 1, 2, 2}, 0.4);
    // s − (s − d) × 0.4: R 160, G 70, B 40; the destination keeps its A.
    EXPECT_TRUE(PixelIs(dst, 3, 2, Px(160, 70, 40, 7)));
    EXPECT_TRUE(PixelIs(dst, 4, 2, Px(160, 70, 40, 7)));
    EXPECT_TRUE(PixelIs(dst, 3, 3, Px(160, 70, 40, 7)));
    EXPECT_TRUE(PixelIs(dst, 4, 3, Px(100, 100, 100, 7)));  // the key pixel
    EXPECT_TRUE(PixelIs(dst, 5, 2, Px(100, 100, 100, 7)));
    EXPECT_TRUE(PixelIs(dst, 3, 4, Px(100, 100, 100, 7)));
    EXPECT_TRUE(dst.GuardIntact());
}

TEST(BlendTransRectangle, ClipsBothSidesAndRoundsTiesToEven) {
    TestImage dst(3, 3, Px(0, 0, 0, 0));
    TestImage src(4, 4, Px(3, 1, 5, 0));
    // Source columns 0..3 at x −1: column 0 falls off, columns 1..3 land on 0..2; the
    // rectangle's bottom row 9 is clipped to the source.
    BlendTransRectangle(dst.Rows(), -1, 1, src.Rows(), {0, 2, 3, 9}, 0.5);
    // 1.5 → 2, 0.5 → 0, 2.5 → 2
    EXPECT_TRUE(PixelIs(dst, 0, 1, Px(2, 0, 2, 0)));
    EXPECT_TRUE(PixelIs(dst, 2, 2, Px(2, 0, 2, 0)));
    EXPECT_TRUE(PixelIs(dst, 1, 0, 0));
    EXPECT_TRUE(dst.GuardIntact());
}

TEST(BlendTransBitmap, MovesNonKeyPixelsTowardsTheColour) {
    TestImage img(2, 1, Px(200, 100, 0, 9));
    img.Set(1, 0, 0x00FF00FFu);
    BlendTransBitmap(img.Rows(), 0.25, TColor{0x0000FF});  // towards red
    // 0.25 × (own − colour) + colour: R 0.25 × −55 + 255 = 241.25, G 25, B 0.
    EXPECT_TRUE(PixelIs(img, 0, 0, Px(241, 25, 0, 9)));
    EXPECT_TRUE(PixelIs(img, 1, 0, 0x00FF00FFu));
}

TEST(BlendBmpByMask, EachChannelByItsOwnMaskByte) {
    TestImage img(2, 2, Px(200, 100, 40, 5));
    TestImage msk(2, 2, Px(255, 0, 128, 77), false);
    BlendBmpByMask(img.Rows(), msk.Rows(), TColor{0x0A141E});  // R 30, G 20, B 10
    // R (30 × 1 + 200 × 255) >> 8 = 199; G 20 × 256 >> 8 = 20; B (10 × 128 + 40 × 128) >> 8 = 25.
    EXPECT_TRUE(PixelIs(img, 1, 1, Px(199, 20, 25, 5)));
    TestImage small(1, 2, 0);
    BlendBmpByMask(img.Rows(), small.Rows(), 0);  // sizes differ: nothing
    EXPECT_TRUE(PixelIs(img, 1, 1, Px(199, 20, 25, 5)));
    EXPECT_TRUE(img.GuardIntact());
}

TEST(SumBitmaps, EveryByteByTheWeightInTheColoursLowByte) {
    TestImage a(2, 2, 0xFFFFFFFFu), b(2, 2, 0x00000000u, false);
    SumBitmaps(a.Rows(), b.Rows(), TColor{0x12340080});
    // (255 × 128 + 127) >> 8 = 127 on all four bytes.
    EXPECT_TRUE(PixelIs(a, 0, 1, 0x7F7F7F7Fu));
    TestImage w(2, 2, 0xFFFFFFFFu), w2(2, 2, 0xFFFFFFFFu);
    SumBitmaps(w.Rows(), w2.Rows(), TColor{255});
    EXPECT_TRUE(PixelIs(w, 1, 0, 0xFEFEFEFEu));  // the formula turns 255 into 254
    TestImage c(3, 2, 0x01010101u);
    SumBitmaps(c.Rows(), b.Rows(), 0);
    EXPECT_TRUE(PixelIs(c, 2, 1, 0x01010101u));
}

TEST(SumBitmapsByMask, WeighsByMaskOrByPercent) {
    TestImage out(2, 1, Px(1, 2, 3, 0x66)), s1(2, 1, Px(200, 200, 200, 0)), s2(2, 1, Px(0, 100, 40, 0));
    TestImage msk(2, 1, Px(0, 128, 255, 0));
    SumBitmapsByMask(out.Rows(), s1.Rows(), s2.Rows(), msk.Rows(), 0);
    // (src2 × (256 − w) + src1 × w) >> 8: R w 0 → 0; G w 128 → 150; B w 255 → (40 + 51000) >> 8 = 199.
    EXPECT_TRUE(PixelIs(out, 0, 0, Px(0, 150, 199, 0x66)));
    SumBitmapsByMask(out.Rows(), s1.Rows(), s2.Rows(), PixelRows{}, 64);
    // w 64: R 200/4 = 50; G (19200 + 12800) >> 8 = 125; B (7680 + 12800) >> 8 = 80.
    EXPECT_TRUE(PixelIs(out, 1, 0, Px(50, 125, 80, 0x66)));
    EXPECT_TRUE(out.GuardIntact());
}

TEST(FillAlphaRect, SetsAlphaInTheClippedRectangleSkippingKeyPixels) {
    TestImage img = TestImage::Numbered(4, 3);
    const TestImage before = img;
    img.Set(1, 1, 0x00FF00FFu);
    img.Set(2, 1, 0x07FF00FFu);  // magenta with A 7 is not the key
    FillAlphaRect(img.Rows(), {-3, 1, 3, 9}, 255, true);
    EXPECT_TRUE(PixelIs(img, 0, 1, before.At(0, 1) | 0xFF000000u));
    EXPECT_TRUE(PixelIs(img, 1, 1, 0x00FF00FFu));
    EXPECT_TRUE(PixelIs(img, 2, 1, 0xFFFF00FFu));
    EXPECT_TRUE(PixelIs(img, 2, 2, before.At(2, 2) | 0xFF000000u));
    EXPECT_TRUE(PixelIs(img, 3, 1, before.At(3, 1)));
    EXPECT_TRUE(PixelIs(img, 0, 0, before.At(0, 0)));
    FillAlphaRect(img.Rows(), {0, 0, 4, 3}, 0, false);
    EXPECT_TRUE(PixelIs(img, 1, 1, 0x00FF00FFu));
    EXPECT_TRUE(PixelIs(img, 2, 1, 0x00FF00FFu));
    EXPECT_TRUE(img.GuardIntact());
}

TEST(FadeBmp, RingsRiseFromTheEdgeToTheTransparencyLevel) {
    // Black towards white with 2 rings and transparency 0: mask levels 255 at the edge,
    // 255 × 2/3 = 170 on ring 1, 0 inside (ring 2 is the inner rectangle itself).
    TestImage img(10, 8, Px(0, 0, 0, 0x21), false);
    FadeBmp(img.Rows(), {1, 1, 10, 8}, 0, clWhite, 2, 0);
    EXPECT_TRUE(PixelIs(img, 0, 0, Px(0, 0, 0, 0x21)));        // outside the rectangle
    EXPECT_TRUE(PixelIs(img, 1, 4, Px(0, 0, 0, 0x21)));        // edge: (255 × 1) >> 8 = 0
    EXPECT_TRUE(PixelIs(img, 2, 4, Px(85, 85, 85, 0x21)));     // 255 × 86 >> 8 = 85
    EXPECT_TRUE(PixelIs(img, 5, 4, Px(255, 255, 255, 0x21)));  // inside: the colour
    EXPECT_TRUE(PixelIs(img, 9, 7, Px(0, 0, 0, 0x21)));
    EXPECT_TRUE(img.GuardIntact());

    // One ring, radius 3, transparency 100 keeps nearly everything; transparency 0 with
    // no blur paints the colour everywhere except the cut corners.
    TestImage flat(8, 8, Px(200, 200, 200));
    FadeBmp(flat.Rows(), {0, 0, 8, 8}, 0, clBlack, 0, 3);
    EXPECT_TRUE(PixelIs(flat, 0, 0, Px(199, 199, 199)));  // corner outside the arc: mask 255
    EXPECT_TRUE(PixelIs(flat, 3, 0, Px(0, 0, 0)));
    EXPECT_TRUE(PixelIs(flat, 0, 4, Px(0, 0, 0)));
    EXPECT_TRUE(PixelIs(flat, 7, 7, Px(199, 199, 199)));
    EXPECT_TRUE(flat.GuardIntact());
}

}  // namespace
}  // namespace qv
