// Section painting, layout and text helpers. Expected values are worked by hand from the
// layer rules (percentages of colour and texture, transparency over the background).
#include "TestSkinSource.h"

#include "paint/sGlyphEffects.h"
#include "paint/sGraphUtils_Item.h"

#include "framework/Imaging.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace qv::test {
namespace {

constexpr std::uint32_t Px(int r, int g, int b, int a = 255) {
    return static_cast<std::uint32_t>(a) << 24 | static_cast<std::uint32_t>(r) << 16 |
           static_cast<std::uint32_t>(g) << 8 | static_cast<std::uint32_t>(b);
}

class SectionPainting : public ::testing::Test {
protected:
    SectionPainting() : skin(8, 8), parent(30, 30), item(10, 10) {
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 30; ++x) parent.SetPixel32(x, y, Px(x, y, 77));
        FillBitmap(item, Px(1, 1, 1, 1));
        index = skin.AddSection(L"BUTTON");
    }
    TsGeneralData& gd() { return skin.Sections[index]; }
    void Paint(int state, TCacheInfo ci) {
        PaintItem(index, L"BUTTON", ci, true, state, {0, 0, 10, 10}, {0, 0}, &item, &skin);
    }
    TestSkinSource skin;
    TBitmap parent, item;
    int index;
};

TEST_F(SectionPainting, Transparency100ShowsTheParentOrTheColour) {
    gd().Transparency = 100;
    gd().Color = clRed;
    Paint(0, MakeCacheInfo(&parent, 4, 5));
    EXPECT_TRUE(BmpPixelIs(item, 0, 0, Px(4, 5, 77)));
    EXPECT_TRUE(BmpPixelIs(item, 9, 9, Px(13, 14, 77)));
    Paint(0, TCacheInfo{nullptr, 0, 0, 0x00336699, false});
    EXPECT_TRUE(BmpPixelIs(item, 5, 5, Px(0x99, 0x66, 0x33)));
}

TEST_F(SectionPainting, Transparency40MixesColourWithTheBackgroundColour) {
    gd().Transparency = 40;
    gd().Color = 0x00640000;                                 // blue 100
    Paint(0, TCacheInfo{nullptr, 0, 0, 0x000000C8, false});  // red 200
    // 0.4 × background + 0.6 × colour: red 80, blue 60.
    EXPECT_TRUE(BmpPixelIs(item, 3, 3, Px(80, 0, 60)));
}

TEST_F(SectionPainting, Transparency40OverAReadyBackgroundBlendsThePixels) {
    gd().Transparency = 40;
    gd().Color = clBlack;
    Paint(0, MakeCacheInfo(&parent, 0, 0));
    // Alpha 102: (parent × 102 + 0 × 153 + 127) shr 8; 20 -> 8, 77 -> 31; A (255 × 102 + 255 × 153 + 127) shr 8 = 254.
    EXPECT_TRUE(BmpPixelIs(item, 0, 0, Px(0, 0, 31, 254)));
    // pP names where R lies in the parent: R's first pixel sits over parent (20, 0).
    TBitmap wide(30, 30);
    PaintItem(index, L"BUTTON", MakeCacheInfo(&parent, 0, 0), true, 0, {20, 0, 30, 10}, {20, 0}, &wide, &skin);
    EXPECT_TRUE(BmpPixelIs(wide, 20, 0, Px(8, 0, 31, 254)));
}

TEST_F(SectionPainting, StatesAboveTheSectionsUseTheHotSet) {
    gd().States = 2;
    gd().Color = clRed;
    gd().HotColor = clLime;
    Paint(5, EmptyCI);
    EXPECT_TRUE(BmpPixelIs(item, 4, 4, Px(0, 255, 0)));
    Paint(0, EmptyCI);
    EXPECT_TRUE(BmpPixelIs(item, 4, 4, Px(255, 0, 0)));
}

TEST_F(SectionPainting, ImagePercent30Keeps70PercentOfTheColourOverTheTexture) {
    skin.Fill({0, 0, 4, 4}, Px(0, 0, 200));
    gd().TextureNormal = skin.AddImage({0, 0, 4, 4}, 1, 0, 0, 0, 0, 0, 0);
    gd().ImagePercent = 30;
    gd().Color = 0x00000064;  // red 100
    Paint(0, EmptyCI);
    // red 0.3 × 0 + 0.7 × 100 = 70; blue 0.3 × 200 = 60.
    EXPECT_TRUE(BmpPixelIs(item, 0, 0, Px(70, 0, 60)));
    EXPECT_TRUE(BmpPixelIs(item, 9, 9, Px(70, 0, 60)));
}

// A section's pattern picture is tiled from its first pixel with A 255, as the picture
// decoded anew on every paint was; it is decoded once and kept with the skin's pattern,
// so a later paint shows the same picture even when the compressed bytes are gone.
TEST_F(SectionPainting, PatternIsTiledFromThePictureDecodedOnce) {
    TBitmap picture(3, 2, pf24bit);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            std::uint8_t* p = picture.ScanLine(y) + 3 * x;
            p[0] = static_cast<std::uint8_t>(10 * x);
            p[1] = static_cast<std::uint8_t>(100 + y);
            p[2] = 7;
        }
    TsPatternData pattern;
    pattern.Img = std::make_unique<TacJpegImage>();
    pattern.Img->Data = SavePNG(picture);
    pattern.ClassName = L"BUTTON";
    pattern.PropertyName = L"PATTERN";
    skin.Patterns.push_back(std::move(pattern));
    gd().ImagePercent = 100;
    for (int paint = 0; paint < 2; ++paint) {
        FillBitmap(item, Px(1, 1, 1, 1));
        Paint(0, EmptyCI);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                ASSERT_TRUE(BmpPixelIs(item, x, y, Px(7, 100 + y % 2, 10 * (x % 3)))) << "paint " << paint;
        skin.Patterns[0].Img->Data.clear();
    }
}

TEST_F(SectionPainting, BorderAndCornersAreDrawnOverTheBackground) {
    skin.Fill({0, 0, 8, 8}, Px(10, 20, 30));
    skin.Master.SetPixel32(0, 0, KeyPixel);
    gd().BorderIndex = skin.AddImage({0, 0, 8, 8}, 1, 0, 2, 2, 2, 2, 0);
    skin.Images[gd().BorderIndex].CornerType = 1;
    gd().Color = clBlue;
    Paint(0, MakeCacheInfo(&parent, 3, 3));
    EXPECT_TRUE(BmpPixelIs(item, 0, 0, Px(3, 3, 77)));  // key corner pixel shows the parent
    EXPECT_TRUE(BmpPixelIs(item, 1, 0, Px(10, 20, 30)));
    EXPECT_TRUE(BmpPixelIs(item, 5, 5, Px(0, 0, 255)));  // no centre: the colour remains
}

// A masked texture of whole tiles only (fill mode 10) leaves strips that show the parent:
// the parent's pixels under the control, found at ci's offset plus the control's place
// pP, as the background copy takes them. Tiles are 4 × 4, so columns and rows 8 and 9
// are the strips; the painted rectangle may also start inside the bitmap.
TEST_F(SectionPainting, MaskedTextureGapsShowTheParentAtTheControlsPlace) {
    skin.Fill({0, 0, 4, 4}, Px(9, 9, 9));
    skin.Fill({0, 4, 4, 8}, Px(0, 0, 0, 0));  // mask rows: the texture covers its tiles
    gd().TextureNormal = skin.AddImage({0, 0, 4, 8}, 1, 1, 0, 0, 0, 0, fmDisTiled);
    gd().ImagePercent = 100;
    Paint(0, MakeCacheInfo(&parent, 0, 0));  // nothing to move: the strips show parent (x, y)
    EXPECT_TRUE(BmpPixelIs(item, 9, 9, Px(9, 9, 77)));
    PaintItem(index, L"BUTTON", MakeCacheInfo(&parent, 1, 2), true, 0, {0, 0, 10, 10}, {5, 6}, &item, &skin);
    EXPECT_TRUE(BmpPixelIs(item, 9, 9, Px(15, 17, 77)));
    EXPECT_TRUE(BmpPixelIs(item, 9, 0, Px(15, 8, 77)));
    EXPECT_TRUE(BmpPixelIs(item, 0, 8, Px(6, 16, 77)));
    TBitmap wide(20, 20);
    PaintItem(index, L"BUTTON", MakeCacheInfo(&parent, 1, 2), true, 0, {6, 0, 16, 10}, {5, 6}, &wide, &skin);
    EXPECT_TRUE(BmpPixelIs(wide, 15, 9, Px(15, 17, 77)));  // R's column 9
}

TEST_F(SectionPainting, InvalidIndexesAndRectanglesPaintNothing) {
    gd().Color = clRed;
    PaintItem(7, L"X", EmptyCI, true, 0, {0, 0, 10, 10}, {0, 0}, &item, &skin);
    PaintItem(index, L"BUTTON", EmptyCI, true, 0, {-1, 0, 10, 10}, {0, 0}, &item, &skin);
    PaintItem(index, L"BUTTON", EmptyCI, true, 0, {0, 0, 11, 10}, {0, 0}, &item, &skin);
    PaintItem(index, L"BUTTON", EmptyCI, true, 0, {5, 5, 5, 9}, {0, 0}, &item, &skin);
    EXPECT_TRUE(BmpPixelIs(item, 0, 0, Px(1, 1, 1, 1)));
    EXPECT_TRUE(BmpPixelIs(item, 5, 5, Px(1, 1, 1, 1)));
}

TEST(TileBitmap, BandsLeaveTheRestForTheColour) {
    TBitmap src(2, 2), dst(7, 5);
    FillBitmap(src, Px(9, 9, 9));
    FillBitmap(dst, 0);
    TRect r{0, 0, 7, 5};
    TileBitmap(&dst, r, &src, {0, 0, 2, 2}, fmTileHorBtm);
    EXPECT_EQ(r, (TRect{0, 0, 7, 3}));
    EXPECT_TRUE(BmpPixelIs(dst, 6, 4, Px(9, 9, 9)));
    EXPECT_TRUE(BmpPixelIs(dst, 6, 2, 0));
    FillBitmap(dst, 0);
    r = {0, 0, 7, 5};
    TileBitmap(&dst, r, &src, {0, 0, 2, 2}, fmDisTiled);
    EXPECT_EQ(r.Right, -1);
    EXPECT_TRUE(BmpPixelIs(dst, 6, 3, Px(9, 9, 9)));  // the last column is cut
    EXPECT_TRUE(BmpPixelIs(dst, 6, 4, 0));            // under the last whole row
    FillBitmap(dst, 0);
    r = {0, 0, 7, 5};
    TileBitmap(&dst, r, &src, {0, 0, 2, 2}, fmDiscVertRight);
    EXPECT_EQ(r, (TRect{0, 0, 5, 5}));
    EXPECT_TRUE(BmpPixelIs(dst, 5, 3, Px(9, 9, 9)));
    EXPECT_TRUE(BmpPixelIs(dst, 5, 4, 0));
}

TEST(CalcButtonLayout, AutomaticMarginAndSpacingGiveEqualGaps) {
    TPoint glyph;
    TRect text;
    CalcButtonLayout({10, 5, 110, 35}, {16, 16}, {40, 12}, 0, 2, -1, -1, glyph, text, 0);
    const int left = glyph.X - 10, between = text.Left - (glyph.X + 16), right = 110 - text.Right;
    EXPECT_LE(std::abs(left - between), 1) << left << " " << between << " " << right;
    EXPECT_LE(std::abs(right - between), 1) << left << " " << between << " " << right;
    EXPECT_EQ(glyph.Y, 5 + 7);
    EXPECT_EQ(text.Top, 5 + 9);
    EXPECT_EQ(text.Width(), 40);
}

TEST(CalcButtonLayout, AnEmptyCaptionMakesSpacingZero) {
    TPoint glyph;
    TRect text;
    CalcButtonLayout({0, 0, 100, 30}, {16, 16}, {0, 0}, 0, 0, 3, 5, glyph, text, 0);
    EXPECT_EQ(glyph.X, 3);
    EXPECT_EQ(text.Left, 19);
    CalcButtonLayout({0, 0, 100, 30}, {16, 16}, {0, 0}, 2, 2, 3, 5, glyph, text, 0);
    EXPECT_EQ(text.Top, glyph.Y + 16);
    // Right-to-left reading puts a left glyph on the right.
    CalcButtonLayout({0, 0, 100, 30}, {16, 16}, {40, 12}, 0, 1, 4, 2, glyph, text, 2);
    EXPECT_EQ(glyph.X, 100 - 4 - 16);
    EXPECT_EQ(text.Left, glyph.X - 2 - 40);
}

TEST(MixColors, RoundsAndKeepsTheFirstColoursHighByte) {
    EXPECT_EQ(MixColors(0x010000C8, 0x00640000, 0.4), 0x013C0050);
    EXPECT_EQ(MixColors(0x00000001, 0x00000002, 0.5), 0x00000002);  // 1.5 -> 2
    EXPECT_EQ(AverageColor(0x000000FF, 0x00000000), 0x0000007E);    // 255 × 127 shr 8
}

TEST(CutText, ShortensWithAnEllipsisAndNeverLeavesItAlone) {
    const auto width = [](const String& s) { return static_cast<int>(s.size()) * 7; };
    EXPECT_EQ(CutText(L"Hello", 35, width), L"Hello");
    EXPECT_EQ(CutText(L"Hello", 0, width), L"");
    EXPECT_EQ(CutText(L"Hello", 30, width), L"H...");
    EXPECT_EQ(CutText(L"Hello", 42, width), L"Hello");
    EXPECT_EQ(CutText(L"Hello world", 42, width), L"Hel...");
    EXPECT_EQ(CutText(L"Hello", 20, width), L"");
}

TEST(Blur8, WhiteStaysWhiteAndADotSpreadsSymmetrically) {
    TBitmap white(40, 20, pf8bit);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) white.ScanLine(y)[x] = 255;
    Blur8(&white, 4);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(white.ScanLine(y)[x], 255) << x << ", " << y;

    TBitmap dot(21, 21, pf8bit);
    dot.ScanLine(10)[10] = 255;
    Blur8(&dot, 2);
    const int centre = dot.ScanLine(10)[10];
    EXPECT_GT(centre, 0);
    EXPECT_LT(centre, 255);
    EXPECT_EQ(dot.ScanLine(10)[7], dot.ScanLine(10)[13]);
    EXPECT_EQ(dot.ScanLine(7)[10], dot.ScanLine(10)[7]);
    EXPECT_EQ(dot.ScanLine(0)[0], 0);

    TBitmap colour(4, 4, pf32bit);
    colour.SetPixel32(1, 1, 0xFFFFFFFF);
    Blur8(&colour, 2);  // not an 8-bit mask: left alone
    EXPECT_EQ(colour.Pixel32(1, 1), 0xFFFFFFFFu);
    EXPECT_EQ(colour.Pixel32(2, 1), 0u);
}

TEST(GaussianKernel, IsNormalisedAndCutWhereTheTailsAreBelowOneStep) {
    TKernel k;
    MakeGaussianKernel(k, 4, 1, 255);
    double sum = 0;
    for (int i = -k.Size; i <= k.Size; ++i) sum += k.Weight(i);
    EXPECT_NEAR(sum, 1.0, 1e-5);
    EXPECT_GT(k.Size, 4);
    EXPECT_LT(k.Size, 20);
    EXPECT_EQ(k.Weight(k.Size + 1), 0.0f);
    EXPECT_FLOAT_EQ(k.Weight(-3), k.Weight(3));
}

TEST(ApplyGlowMask, MovesPixelsTowardsTheGlowColourAndRaisesAlpha) {
    TBitmap dst(3, 1), mask(3, 1, pf8bit);
    FillBitmap(dst, Px(100, 100, 100, 0));
    mask.ScanLine(0)[0] = 255;
    mask.ScanLine(0)[1] = 0;
    mask.ScanLine(0)[2] = 128;
    ApplyGlowMask(&dst, &mask, 0, 0, clBlue);
    EXPECT_TRUE(BmpPixelIs(dst, 0, 0, Px(100, 100, 100, 0)));
    EXPECT_TRUE(BmpPixelIs(dst, 1, 0, Px(0, 0, 255, 255)));
    // (100 − 0) × 128 div 255 + 0 = 50; (100 − 255) × 128 div 255 + 255 = 178 (toward zero); A 127.
    EXPECT_TRUE(BmpPixelIs(dst, 2, 0, Px(50, 50, 178, 127)));
}

}  // namespace
}  // namespace qv::test
