// The filtered resampler and the TBitmap entry points of the filters.
#include "paint/sGraphUtils.h"

#include "framework/SysUtils.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

std::string Hex(std::uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08X", v);
    return buf;
}

::testing::AssertionResult PixelIs(const TBitmap& bmp, int x, int y, std::uint32_t want) {
    const std::uint32_t got = bmp.Pixel32(x, y);
    if (got == want) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") expected " << Hex(want) << " got "
                                         << Hex(got);
}

TEST(CreateContributors, WeightsAndMirroredPositions) {
    TCLists c;
    CreateContributors(c, 4, 2, ftBox, 4);  // 2 → 4: each source pixel twice
    ASSERT_EQ(c.size(), 4u);
    const int want[4] = {0, 0, 4, 4};
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(c[i].Count, 1) << "i=" << i;
        EXPECT_EQ(c[i].Data[0].Pixel, want[i]) << "i=" << i;
        EXPECT_EQ(c[i].Data[0].Weight, 65536) << "i=" << i;
    }
    // 4 → 2 with the triangle: scale 1/2, radius 2. Destination 0 centres on source 0,
    // whose left neighbour −1 mirrors to 1: weights ½·½, 1·½, ½·½ in 16.16.
    CreateContributors(c, 2, 4, ftTriangle, 3);
    ASSERT_EQ(c[0].Count, 3);
    EXPECT_EQ(c[0].Data[0].Pixel, 3);
    EXPECT_EQ(c[0].Data[0].Weight, 16384);
    EXPECT_EQ(c[0].Data[1].Pixel, 0);
    EXPECT_EQ(c[0].Data[1].Weight, 32768);
    EXPECT_EQ(c[0].Data[2].Pixel, 3);
    ASSERT_EQ(c[1].Count, 3);
    EXPECT_EQ(c[1].Data[0].Pixel, 3);
    EXPECT_EQ(c[1].Data[1].Pixel, 6);
    EXPECT_EQ(c[1].Data[2].Pixel, 9);
    // A strong reduction reaches further than the line is long: every position still
    // names a source pixel.
    for (TFilterType f : {ftLanczos3, ftMitchell, ftSpline}) {
        CreateContributors(c, 1, 3, f, 4);
        ASSERT_EQ(c.size(), 1u);
        EXPECT_GT(c[0].Count, 3);
        for (const TContributor& con : c[0].Data) {
            EXPECT_GE(con.Pixel, 0) << "filter " << f;
            EXPECT_LE(con.Pixel, 8) << "filter " << f;
        }
    }
    FreeContributors(c);
    EXPECT_TRUE(c.empty());
}

TEST(Stretch, BoxDoublingDuplicatesEveryPixel) {
    TBitmap src(2, 2), dst;
    src.SetPixel32(0, 0, 0x11223344u);
    src.SetPixel32(1, 0, 0x55667788u);
    src.SetPixel32(0, 1, 0x99AABBCCu);
    src.SetPixel32(1, 1, 0xDDEEFF00u);
    Stretch(&src, &dst, 4, 4, ftBox);
    ASSERT_EQ(dst.Width(), 4);
    ASSERT_EQ(dst.Height(), 4);
    EXPECT_EQ(dst.PixelFormat(), pf32bit);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_TRUE(PixelIs(dst, x, y, src.Pixel32(x / 2, y / 2)));
}

TEST(Stretch, TriangleHalvingWeighsNeighbours) {
    TBitmap src(4, 2), dst;
    const int blue[4] = {0, 100, 200, 40};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) src.SetPixel32(x, y, 0xFF000000u | static_cast<std::uint32_t>(blue[x] + y));
    Stretch(&src, &dst, 2, 2, ftTriangle);
    // (100 + 2 × 0 + 100) / 4 = 50; (100 + 2 × 200 + 40) / 4 = 135; row 1 adds 1 to all.
    EXPECT_TRUE(PixelIs(dst, 0, 0, 0xFF000032u));
    EXPECT_TRUE(PixelIs(dst, 1, 0, 0xFF000087u));
    EXPECT_TRUE(PixelIs(dst, 0, 1, 0xFF000033u));
    EXPECT_TRUE(PixelIs(dst, 1, 1, 0xFF000088u));
}

TEST(Stretch, TwentyFourBitSourcesGiveTwentyFourBitResults) {
    TBitmap src(2, 2, pf24bit), dst(5, 5);
    std::uint8_t* row = src.ScanLine(1);
    row[0] = 1, row[1] = 2, row[2] = 3, row[3] = 4, row[4] = 5, row[5] = 6;
    Stretch(&src, &dst, 4, 2, ftBox);
    ASSERT_EQ(dst.PixelFormat(), pf24bit);
    const std::uint8_t* out = dst.ScanLine(1);
    const int want[12] = {1, 2, 3, 1, 2, 3, 4, 5, 6, 4, 5, 6};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(out[i], want[i]) << "byte " << i;
}

TEST(Stretch, RejectsTinySourcesAndIgnoresEmptyTargets) {
    TBitmap thin(1, 5), dst(3, 3);
    try {
        Stretch(&thin, &dst, 4, 4, ftMitchell);
        ADD_FAILURE() << "no error for a 1 × 5 source";
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), String(L"Source bitmap is too small"));
    }
    EXPECT_THROW(Stretch(nullptr, &dst, 4, 4, ftBox), EInvalidGraphic);
    TBitmap src(2, 2);
    Stretch(&src, &dst, 4, 0, ftBox);  // height 0: nothing, not even a resize
    EXPECT_EQ(dst.Width(), 3);
    EXPECT_EQ(dst.Height(), 3);
}

TEST(Stretch, StrongReductionsStayInsideTheSource) {
    // Reaching ±6 source pixels around a line of 2: mirrored positions are held at the
    // ends (the sanitizer build catches any read outside).
    for (TFilterType f : {ftLanczos3, ftMitchell, ftSpline, ftBell}) {
        TBitmap src(2, 3), dst;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 2; ++x) src.SetPixel32(x, y, 0x64646464u);
        Stretch(&src, &dst, 1, 1, f);
        const std::uint32_t p = dst.Pixel32(0, 0);
        for (int k = 0; k < 4; ++k) {
            const int v = (p >> (8 * k)) & 0xFF;
            EXPECT_NEAR(v, 100, 2) << "filter " << f << " byte " << k;
        }
    }
}

TEST(Stretch, SameSizeCopiesAndSourceMayBeTheTarget) {
    TBitmap src(3, 2), dst;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) src.SetPixel32(x, y, 0x01020304u * (x + 3 * y + 1));
    Stretch(&src, &dst, 3, 2, ftMitchell);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_TRUE(PixelIs(dst, x, y, src.Pixel32(x, y)));
    TBitmap self(2, 2);
    self.SetPixel32(1, 1, 0xFF0000FFu);
    Stretch(&self, &self, 4, 4, ftBox);
    ASSERT_EQ(self.Width(), 4);
    EXPECT_TRUE(PixelIs(self, 3, 3, 0xFF0000FFu));
    EXPECT_TRUE(PixelIs(self, 2, 2, 0xFF0000FFu));
    EXPECT_TRUE(PixelIs(self, 1, 1, 0));
}

TEST(BitmapEntryPoints, WorkOnBottomUpBitmapsAndIgnoreOthers) {
    TBitmap bmp(2, 3);
    bmp.SetPixel32(0, 0, 0xFFFF0000u);  // red
    bmp.SetPixel32(1, 2, 0x20FF0000u);
    ChangeBmpHUE(&bmp, 120);
    EXPECT_TRUE(PixelIs(bmp, 0, 0, 0xFF00FF00u));
    EXPECT_TRUE(PixelIs(bmp, 1, 2, 0x2000FF00u));
    EXPECT_TRUE(PixelIs(bmp, 1, 0, 0));
    FillAlphaRect(&bmp, {1, 1, 2, 3}, 0x80, false);
    EXPECT_TRUE(PixelIs(bmp, 1, 2, 0x8000FF00u));
    EXPECT_TRUE(PixelIs(bmp, 0, 2, 0));

    TBitmap rgb(2, 2, pf24bit);
    rgb.ScanLine(0)[2] = 255;
    ChangeBmpHUE(&rgb, 120);  // not 32-bit: left alone
    GrayScale(&rgb);
    EXPECT_EQ(rgb.ScanLine(0)[2], 255);
    EXPECT_EQ(rgb.ScanLine(0)[1], 0);

    ChangeBmpHUE(nullptr, 10);
    ChangeBmpSaturation(nullptr, 10);
    TBitmap empty;
    ChangeBmpSaturation(&empty, 10);
}

}  // namespace
}  // namespace qv
