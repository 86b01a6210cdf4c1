// Button glyphs without alpha: the sub-image each state shows, the transparent colour,
// blend, grey and disabled looks, the reflection rows, and clipping at the picture's
// edges; and the reflection of the alpha glyph copy. Expected pixels worked by hand.
#include "paint/sGlyphDraw.h"
#include "paint/sGlyphEffects.h"
#include "TestSkinSource.h"

#include <gtest/gtest.h>

#include <memory>

namespace qv {
namespace {

using test::BmpPixelIs;
using test::FillBitmap;

constexpr std::uint32_t kMagenta = 0xFF00FF;
constexpr std::uint32_t kBack = 0x40102030u;  // destination: A 0x40 must survive

void Set24(TBitmap& bmp, int x, int y, std::uint32_t rgb) {
    std::uint8_t* p = bmp.ScanLine(y) + x * 3;
    p[0] = rgb & 0xFF;
    p[1] = (rgb >> 8) & 0xFF;
    p[2] = (rgb >> 16) & 0xFF;
}

// Count 3 x 3 images side by side, image k in colour 0x0A0000 + k * 0x280000 + 0xC8,
// with its centre pixel and the strip's bottom-left pixel magenta.
std::unique_ptr<TBitmap> Strip(int count = 4) {
    auto owned = std::make_unique<TBitmap>(3 * count, 3, pf24bit);
    TBitmap& strip = *owned;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3 * count; ++x)
            Set24(strip, x, y, 0x0A00C8u + static_cast<std::uint32_t>(x / 3) * 0x280000u);
    for (int k = 0; k < count; ++k) Set24(strip, k * 3 + 1, 1, kMagenta);
    Set24(strip, 0, 2, kMagenta);
    return owned;
}

struct SubImageCase {
    int NumGlyphs, State;
    bool Down, Enabled;
    int Want;
};

class GlyphExSubImage : public ::testing::TestWithParam<SubImageCase> {};

TEST_P(GlyphExSubImage, StateShowsItsImageCopiedExactlyWithTheKeyLeftOut) {
    const SubImageCase c = GetParam();
    TBitmap dst(7, 7, pf32bit);
    FillBitmap(dst, kBack);
    // Grey and blend asked for: a disabled image of the glyph's own ignores both.
    const TColor grey = c.Enabled ? acNoTint : clWhite;
    const auto strip = Strip(c.NumGlyphs);
    DrawGlyphEx(strip.get(), &dst, {2, 2, 5, 5}, false, c.Down, 0, c.State, true, c.Enabled, c.NumGlyphs, grey);
    std::uint32_t want = 0x400A00C8u + static_cast<std::uint32_t>(c.Want) * 0x280000u;
    // No disabled image: grey (200 + 0 + 10) div 3 = 70 tinted white, laid with opacity
    // 127 over B 48, G 32, R 16: (70 × 127 + 48 × 128 + 127) div 255 = 59 and so on.
    if (!c.Enabled && c.Want == 0) want = 0x402B333Bu;
    EXPECT_TRUE(BmpPixelIs(dst, 2, 2, want));
    EXPECT_TRUE(BmpPixelIs(dst, 4, 4, want));
    EXPECT_TRUE(BmpPixelIs(dst, 3, 3, kBack)) << "the key in the image's centre";
    for (int i = 0; i < 7; ++i) {
        EXPECT_TRUE(BmpPixelIs(dst, i, 1, kBack));
        EXPECT_TRUE(BmpPixelIs(dst, 1, i, kBack));
        EXPECT_TRUE(BmpPixelIs(dst, i, 5, kBack));
        EXPECT_TRUE(BmpPixelIs(dst, 5, i, kBack));
    }
}

INSTANTIATE_TEST_SUITE_P(Looks, GlyphExSubImage,
                         ::testing::Values(SubImageCase{4, 0, false, true, 0}, SubImageCase{4, 1, false, true, 0},
                                           SubImageCase{4, 2, false, true, 2}, SubImageCase{4, 2, true, true, 3},
                                           SubImageCase{3, 2, true, true, 2}, SubImageCase{2, 1, false, false, 1},
                                           SubImageCase{1, 0, false, false, 0}));

// A 2 x 2 glyph: (1, 0) is R 200, G 100, B 0 over black; (0, 1), the bottom-left, is the key.
class GlyphExLooks : public ::testing::Test {
protected:
    GlyphExLooks() : glyph(2, 2, pf24bit), dst(2, 2, pf32bit) {
        Set24(glyph, 0, 0, 0x102030);
        Set24(glyph, 1, 0, 0xC86400);
        Set24(glyph, 0, 1, kMagenta);
        Set24(glyph, 1, 1, kMagenta);
    }
    std::uint32_t Draw(int blend, int state, bool disabledBlended, bool enabled, TColor grey) {
        FillBitmap(dst, 0x40000000u);
        DrawGlyphEx(&glyph, &dst, {0, 0, 2, 2}, false, false, blend, state, disabledBlended, enabled, 1, grey);
        EXPECT_TRUE(BmpPixelIs(dst, 0, 1, 0x40000000u)) << "key pixel drawn";
        return dst.Pixel32(1, 0);
    }
    TBitmap glyph, dst;
};

TEST_F(GlyphExLooks, BlendGreyAndDisabledFading) {
    // Blend 40: opacity 153; R (200 × 153 + 127) div 255 = 120, G 60.
    EXPECT_EQ(Draw(40, 0, false, true, acNoTint), 0x40783C00u);
    EXPECT_EQ(Draw(40, 1, false, true, acNoTint), 0x40C86400u) << "blend applies to the normal state only";
    // Disabled and blended: at least 50 %, opacity 127: R 100, G 50.
    EXPECT_EQ(Draw(0, 0, true, false, acNoTint), 0x40643200u);
    EXPECT_EQ(Draw(0, 0, false, false, acNoTint), 0x40C86400u);
    // Blend 80 is more than 50: opacity 51, R 40, G 20.
    EXPECT_EQ(Draw(80, 0, true, false, acNoTint), 0x40281400u);
    // Grey level (0 + 100 + 200) div 3 = 100, times the tint's channels.
    EXPECT_EQ(Draw(0, 0, false, true, clWhite), 0x40646464u);
    EXPECT_EQ(Draw(0, 0, false, true, clRed), 0x40640000u);
}

// A glyph 3 wide and 12 high whose row y has R = 20y + 10; the key in its bottom-left.
TBitmap& Rows12(TPixelFormat format) {
    static TBitmap g24(3, 12, pf24bit), g32(3, 12, pf32bit);
    TBitmap& g = format == pf24bit ? g24 : g32;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 3; ++x) {
            const std::uint32_t rgb = static_cast<std::uint32_t>(20 * y + 10) << 16;
            if (format == pf24bit) Set24(g, x, y, rgb);
            else g.SetPixel32(x, y, 0xFF000000u | rgb);
        }
    if (format == pf24bit) Set24(g, 0, 11, kMagenta);
    return g;
}

// Half the height is 6: the reflection's rows have opacity 85, then 85 - 255 div 6 = 43,
// then none. They mirror the glyph's rows 11 (R 230) and 10 (R 210).
TEST(GlyphReflection, KeyedGlyphMirrorsItsLastRowsFadingFromAThird) {
    TBitmap dst(3, 16, pf32bit);
    FillBitmap(dst, 0xFF000000u);
    DrawGlyphEx(&Rows12(pf24bit), &dst, {0, 0, 3, 12}, true, false, 0, 0, false, true, 1, acNoTint);
    EXPECT_TRUE(BmpPixelIs(dst, 2, 11, 0xFFE60000u));
    EXPECT_TRUE(BmpPixelIs(dst, 2, 12, 0xFF4D0000u));  // (230 × 85 + 127) div 255 = 77
    EXPECT_TRUE(BmpPixelIs(dst, 2, 13, 0xFF230000u));  // (210 × 43 + 127) div 255 = 35
    EXPECT_TRUE(BmpPixelIs(dst, 0, 12, 0xFF000000u)) << "the key is left out of the reflection too";
    EXPECT_TRUE(BmpPixelIs(dst, 2, 14, 0xFF000000u));
    EXPECT_TRUE(BmpPixelIs(dst, 2, 15, 0xFF000000u));
}

// The alpha copy: weight 255 × 85 div 255 = 85, (230 × 85) shr 8 = 76; then weight 43,
// (210 × 43) shr 8 = 35. Blend 50 halves the weight first: 127 × 85 div 255 = 42, R 37.
TEST(GlyphReflection, AlphaGlyphCopyMirrorsItsLastRowsFadingFromAThird) {
    TBitmap dst(3, 16, pf32bit);
    FillBitmap(dst, 0xFF000000u);
    CopyBmp32({0, 0, 3, 12}, {0, 0, 3, 12}, &dst, &Rows12(pf32bit), EmptyCI, false, acNoTint, 0, true);
    EXPECT_TRUE(BmpPixelIs(dst, 1, 12, 0xFF4C0000u));
    EXPECT_TRUE(BmpPixelIs(dst, 1, 13, 0xFF230000u));
    EXPECT_TRUE(BmpPixelIs(dst, 1, 14, 0xFF000000u));
    FillBitmap(dst, 0xFF000000u);
    CopyBmp32({0, 0, 3, 12}, {0, 0, 3, 12}, &dst, &Rows12(pf32bit), EmptyCI, false, acNoTint, 50, true);
    EXPECT_TRUE(BmpPixelIs(dst, 1, 12, 0xFF250000u));
    // A glyph moved up past the top still hangs its reflection under its own last row.
    FillBitmap(dst, 0xFF000000u);
    CopyBmp32({0, -4, 3, 8}, {0, 0, 3, 12}, &dst, &Rows12(pf32bit), EmptyCI, false, acNoTint, 0, true);
    EXPECT_TRUE(BmpPixelIs(dst, 1, 0, 0xFF590000u)) << "glyph row 4: (90 × 255) shr 8";
    EXPECT_TRUE(BmpPixelIs(dst, 1, 8, 0xFF4C0000u));
}

TEST(GlyphClipping, GlyphAndReflectionStayInsideThePicture) {
    TBitmap dst(4, 4, pf32bit);
    FillBitmap(dst, kBack);
    // Top-left corner cut off: destination (0, 0) shows glyph (1, 1) of image 2 -- the
    // magenta centre, so (1, 0) is checked: glyph (2, 1).
    const auto strip = Strip();
    DrawGlyphEx(strip.get(), &dst, {-1, -1, 2, 2}, true, false, 0, 2, false, true, 4, acNoTint);
    EXPECT_TRUE(BmpPixelIs(dst, 0, 0, kBack));
    EXPECT_TRUE(BmpPixelIs(dst, 1, 0, 0x405A00C8u));
    EXPECT_TRUE(BmpPixelIs(dst, 1, 1, 0x405A00C8u));
    EXPECT_TRUE(BmpPixelIs(dst, 3, 0, kBack));
    // Past the right and bottom edges, reflection and all: only (3, 3) is glyph (0, 0).
    FillBitmap(dst, kBack);
    DrawGlyphEx(strip.get(), &dst, {3, 3, 6, 6}, true, false, 0, 0, false, true, 4, acNoTint);
    EXPECT_TRUE(BmpPixelIs(dst, 3, 3, 0x400A00C8u));
    EXPECT_TRUE(BmpPixelIs(dst, 2, 3, kBack));
    EXPECT_TRUE(BmpPixelIs(dst, 3, 2, kBack));
    // Wholly outside: nothing.
    FillBitmap(dst, kBack);
    DrawGlyphEx(strip.get(), &dst, {4, 0, 7, 3}, true, false, 0, 0, false, true, 4, acNoTint);
    DrawGlyphEx(strip.get(), &dst, {-3, -3, 0, 0}, false, false, 0, 0, false, true, 4, acNoTint);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_TRUE(BmpPixelIs(dst, x, y, kBack));
}

}  // namespace
}  // namespace qv
