// The three painting modes of a gradient. Expected pixels are worked by hand
// from the piece boundaries and the rounded linear interpolation.
#include "paint/sGradient.h"

#include "PaintTestImage.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using test::PixelIs;
using test::Px;
using test::TestImage;

TsGradArray Grad(const wchar_t* text) {
    TsGradArray a;
    PrepareGradArray(text, a);
    return a;
}

class GradientRowOrder : public ::testing::TestWithParam<bool> {};

TEST_P(GradientRowOrder, HorizontalWhiteToGreyOver97Percent) {
    TestImage img(100, 3, 0x11223344u, GetParam());
    PaintGrad(img.Rows(), {0, 0, 100, 3}, Grad(L"16777215;13619151;97;1;0;13619151;13619151;0;1;0"));
    for (int y = 0; y < 3; ++y) {
        EXPECT_TRUE(PixelIs(img, 0, y, Px(255, 255, 255)));
        // 255 − 48 × 50 / 97 = 230.26
        EXPECT_TRUE(PixelIs(img, 50, y, Px(230, 230, 230)));
        // 255 − 48 × 96 / 97 = 207.49
        EXPECT_TRUE(PixelIs(img, 96, y, Px(207, 207, 207)));
        for (int x = 97; x < 100; ++x) EXPECT_TRUE(PixelIs(img, x, y, Px(207, 207, 207)));
    }
    EXPECT_TRUE(img.GuardIntact());
}

TEST_P(GradientRowOrder, VerticalSinglePieceReachesTheBottom) {
    TestImage img(4, 10, 0, GetParam());
    PaintGrad(img.Rows(), {0, 0, 4, 10}, Grad(L"255;16711680;50;0;0"));
    for (int x = 0; x < 4; ++x) {
        EXPECT_TRUE(PixelIs(img, x, 0, Px(255, 0, 0)));
        // red 255 − 255 × 4 / 9 = 141.67, blue 113.33
        EXPECT_TRUE(PixelIs(img, x, 4, Px(142, 0, 113)));
        EXPECT_TRUE(PixelIs(img, x, 9, Px(0, 0, 255)));
    }
    EXPECT_TRUE(img.GuardIntact());
}

INSTANTIATE_TEST_SUITE_P(BothRowOrders, GradientRowOrder, ::testing::Values(true, false));

TEST(PaintGrad, VerticalPieceBoundariesOfTheHotButton) {
    TestImage img(3, 71);
    PaintGrad(img.Rows(), {0, 0, 3, 71},
              Grad(L"3723519;1157871;35;0;0;1157871;106985;38;0;0;106985;1425908;24;0;0;1425908;1425908;0;0;0"));
    // Pieces on rows 0..24, 24..50, 50..67 and 67..70: each boundary row shows exactly the
    // colour the next piece starts with.
    EXPECT_TRUE(PixelIs(img, 1, 0, Px(0xFF, 0xD0, 0x38)));   // 3723519 = 0x38D0FF
    EXPECT_TRUE(PixelIs(img, 1, 24, Px(0xEF, 0xAA, 0x11)));  // 1157871 = 0x11AAEF
    EXPECT_TRUE(PixelIs(img, 1, 50, Px(0xE9, 0xA1, 0x01)));  // 106985 = 0x01A1E9
    EXPECT_TRUE(PixelIs(img, 1, 67, Px(0xF4, 0xC1, 0x15)));  // 1425908 = 0x15C1F4
    EXPECT_TRUE(PixelIs(img, 2, 70, Px(0xF4, 0xC1, 0x15)));
    // Row 37 is the middle of piece 2 (13 of 26): G (170 + 161) / 2 = 165.5 rounds to even.
    EXPECT_TRUE(PixelIs(img, 0, 37, Px(236, 166, 9)));
    // Row 23 is the last but one of piece 1 (23 of 24).
    // R 255 + (239 − 255) × 23/24 = 239.67, G 208 − 38 × 23/24 = 171.58, B 56 − 39 × 23/24 = 18.63
    EXPECT_TRUE(PixelIs(img, 0, 23, Px(240, 172, 19)));
    EXPECT_TRUE(img.GuardIntact());
}

TEST(PaintGrad, ClipsToTheBitmapAndLeavesTheRestAlone) {
    TestImage img = TestImage::Numbered(8, 6);
    const TestImage before = img;
    // Left and top run off the bitmap: the clipped rectangle is 0..4 × 0..3.
    PaintGrad(img.Rows(), {-6, -2, 5, 4}, Grad(L"0;16777215;100;1;0"));
    EXPECT_TRUE(PixelIs(img, 0, 0, Px(0, 0, 0)));
    EXPECT_TRUE(PixelIs(img, 4, 3, Px(255, 255, 255)));
    EXPECT_TRUE(PixelIs(img, 2, 1, Px(128, 128, 128)));  // 255 × 2 / 4 = 127.5, to even
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            if (x > 4 || y > 3) {
                EXPECT_TRUE(PixelIs(img, x, y, before.At(x, y)));
            }
    EXPECT_TRUE(img.GuardIntact());

    TestImage untouched = TestImage::Numbered(5, 5);
    PaintGrad(untouched.Rows(), {3, 3, 3, 9}, Grad(L"0;16777215;100;0;0"));  // empty rectangle
    PaintGrad(untouched.Rows(), {0, 0, 5, 5}, TsGradArray{});                // no pieces
    PaintGrad(untouched.Rows(), {0, 0, 5, 5}, Grad(L"0;16777215;100;5;0"));  // unknown mode
    PaintGrad(untouched.Rows(), {6, 6, 9, 9}, Grad(L"0;16777215;100;1;0"));  // outside
    PaintGrad(untouched.Rows(), {2, 0, 3, 5}, Grad(L"0;16777215;100;1;0"));  // one column: no span
    const TestImage fresh = TestImage::Numbered(5, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_TRUE(PixelIs(untouched, x, y, fresh.At(x, y)));
}

TEST(PaintGrad, PercentagesAboveOneHundredLeaveLaterPiecesNothing) {
    TestImage img(11, 1);
    // 100 % red to green over the whole width, then a blue piece that starts at the edge.
    PaintGrad(img.Rows(), {0, 0, 11, 1}, Grad(L"255;65280;100;1;0;16711680;16711680;50;1;0"));
    EXPECT_TRUE(PixelIs(img, 0, 0, Px(255, 0, 0)));
    EXPECT_TRUE(PixelIs(img, 10, 0, Px(0, 255, 0)));
}

TEST(PaintGrad, TrianglesTakeTheVertexColours) {
    for (bool bottomUp : {true, false}) {
        TestImage img(9, 7, 0x01020304u, bottomUp);
        PaintGrad(img.Rows(), {0, 0, 9, 7}, Grad(L"255;0;50;2;0;16711680;0;50;2;0"));
        EXPECT_TRUE(PixelIs(img, 0, 0, Px(255, 0, 0)));  // V0: the first colour
        EXPECT_TRUE(PixelIs(img, 4, 3, Px(0, 0, 255)));  // V1: the second
        EXPECT_TRUE(PixelIs(img, 8, 6, Px(0, 0, 255)));  // next to V3, inside V4-V1-V3
        EXPECT_TRUE(PixelIs(img, 4, 6, Px(0, 0, 255)));
        // (2, 0) lies in V0 (0,0), V1 (4,3), V2 (9,0): twice the area 27, weights
        // V0 21, V1 0, V2 6; V2 repeats V1's blue. Red 255 × 21/27 = 198.3, blue 255 × 6/27 = 56.7.
        EXPECT_TRUE(PixelIs(img, 2, 0, Px(198, 0, 57)));
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 9; ++x) EXPECT_EQ(img.At(x, y) >> 24, 255u) << x << "," << y;
        EXPECT_TRUE(img.GuardIntact());
    }
}

TEST(PaintGrad, TrianglesOnASingleRowAndColumnCoverEveryPixel) {
    TestImage row(6, 1), col(1, 6);
    PaintGrad(row.Rows(), {0, 0, 6, 1}, Grad(L"255;0;50;2;0"));
    PaintGrad(col.Rows(), {0, 0, 1, 6}, Grad(L"255;0;50;2;0"));
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(PixelIs(row, i, 0, Px(255, 0, 0)));  // one piece: every vertex red
        EXPECT_TRUE(PixelIs(col, 0, i, Px(255, 0, 0)));
    }
    EXPECT_TRUE(row.GuardIntact());
    EXPECT_TRUE(col.GuardIntact());
}

TEST(PaintGradTxt, MixesWithATextureAnchoredAtTheBitmapOrigin) {
    TestImage img(8, 4, 0);
    // Texture 4 × 3: the tile is 3 × 2 (one pixel clear of the right and bottom edges).
    TestImage tex(4, 3, 0, false);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) tex.Set(x, y, Px(x * 40, y * 80, 200, 0));
    // A constant grey 100 gradient, texture weight 64.
    PaintGradTxt(img.Rows(), {2, 1, 8, 4}, Grad(L"6579300;6579300;100;1;0"), tex.Rows(), {}, 64);
    auto mix = [](int g, int t) { return (g * 192 + t * 64) >> 8; };
    // (2, 1) reads texture (2 mod 3, 1 mod 2) = (2, 1); (3, 2) reads (0, 0); (7, 3) reads (1, 1).
    EXPECT_TRUE(PixelIs(img, 2, 1, Px(mix(100, 80), mix(100, 80), mix(100, 200))));
    EXPECT_TRUE(PixelIs(img, 3, 2, Px(mix(100, 0), mix(100, 0), mix(100, 200))));
    EXPECT_TRUE(PixelIs(img, 7, 3, Px(mix(100, 40), mix(100, 80), mix(100, 200))));
    EXPECT_TRUE(PixelIs(img, 1, 1, 0));  // left of the rectangle
    EXPECT_TRUE(PixelIs(img, 5, 0, 0));  // above it
    EXPECT_TRUE(img.GuardIntact());

    // A texture with no usable tile (one column wide) paints nothing instead of dividing by 0.
    TestImage thin(1, 3, Px(9, 9, 9));
    TestImage img2(4, 4, 0);
    PaintGradTxt(img2.Rows(), {0, 0, 4, 4}, Grad(L"0;0;100;0;0"), thin.Rows(), {}, 128);
    EXPECT_TRUE(PixelIs(img2, 1, 1, 0));
}

TEST(PaintGradTxt, VerticalModeFollowsThePieceRows) {
    TestImage img(2, 5, 0, false);
    TestImage tex(3, 3, Px(0, 0, 0));
    // Black to white over rows 0..4; texture black, weight 0: the gradient itself.
    PaintGradTxt(img.Rows(), {0, 0, 2, 5}, Grad(L"0;16777215;100;0;0"), tex.Rows(), {0, 0, 3, 3}, 0);
    EXPECT_TRUE(PixelIs(img, 1, 0, Px(0, 0, 0)));
    EXPECT_TRUE(PixelIs(img, 1, 2, Px(128, 128, 128)));  // 255 × 2/4 = 127.5, to even
    EXPECT_TRUE(PixelIs(img, 0, 4, Px(255, 255, 255)));
}

}  // namespace
}  // namespace qv
