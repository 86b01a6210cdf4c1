// Text drawn by GDI into 32-bit DIB sections: which pixels change, their colour and alpha.
#include "paint/win32/sGraphUtils_Text.h"

#include "paint/sAlphaGraph.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

constexpr std::uint32_t kBack = 0x11223344u;

TEST(WriteText32, TouchesOnlyGlyphPixelsAndMakesThemOpaque) {
    TBitmap bmp(80, 24);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 80; ++x) bmp.SetPixel32(x, y, kBack);
    bmp.Canvas().Font().SetHeight(-14);
    bmp.Canvas().Font().SetColor(clRed);
    WriteText32(&bmp, L"Wi", true, {2, 2, 60, 22}, DT_SINGLELINE | DT_LEFT | DT_TOP, -1, false, nullptr);
    int changed = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 80; ++x) {
            const std::uint32_t v = bmp.Pixel32(x, y);
            if (v == kBack) continue;
            ++changed;
            ASSERT_EQ(v >> 24, 255u) << x << ", " << y;
            ASSERT_GE(x, 2);
            ASSERT_LT(x, 60);
            ASSERT_GE(y, 2);
            ASSERT_LT(y, 22);
        }
    EXPECT_GT(changed, 10);
    // The text colour is reached on at least one fully covered pixel.
    bool pureRed = false;
    for (int y = 0; y < 24 && !pureRed; ++y)
        for (int x = 0; x < 80; ++x)
            if (bmp.Pixel32(x, y) == 0xFFFF0000u) pureRed = true;
    EXPECT_TRUE(pureRed);
}

TEST(WriteText32, EmptyTextAndWrongFormatsChangeNothing) {
    TBitmap bmp(10, 10);
    bmp.SetPixel32(5, 5, kBack);
    WriteText32(&bmp, L"", true, {0, 0, 10, 10}, DT_SINGLELINE, -1, false, nullptr);
    EXPECT_EQ(bmp.Pixel32(5, 5), kBack);
    TBitmap rgb(10, 10, pf24bit);
    WriteText32(&rgb, L"X", true, {0, 0, 10, 10}, DT_SINGLELINE, -1, false, nullptr);
}

TEST(acDrawGlowForText, HaloSurroundsTheTextAndKeepsItsMaskForReuse) {
    TBitmap bmp(100, 40);
    bmp.Canvas().Font().SetHeight(-14);
    std::unique_ptr<TBitmap> mask;
    acDrawGlowForText(&bmp, L"Glow", {30, 12, 70, 28}, DT_SINGLELINE | DT_CENTER | DT_VCENTER, 15, 3, clBlue, mask);
    ASSERT_TRUE(mask);
    EXPECT_EQ(mask->Width(), 40 + 14);
    EXPECT_EQ(mask->Height(), 16 + 14);
    EXPECT_EQ(mask->PixelFormat(), pf8bit);
    // The middle of the text area is tinted blue with alpha raised; far corners untouched.
    const std::uint32_t mid = bmp.Pixel32(50, 20);
    EXPECT_GT(mid & 0xFF, 0u);
    EXPECT_GT(mid >> 24, 0u);
    EXPECT_EQ(bmp.Pixel32(0, 0), 0u);
    EXPECT_EQ(bmp.Pixel32(99, 39), 0u);
    const TBitmap* kept = mask.get();
    acDrawGlowForText(&bmp, L"Glow", {30, 12, 70, 28}, DT_SINGLELINE, 15, 3, clBlue, mask);
    EXPECT_EQ(mask.get(), kept);
}

// The focus dots and the colour arrow written into the DIB's rows give the words GDI's
// SetPixelV gives dot by dot, partly off the picture too; a DC whose origin is moved
// takes the GDI path and still matches.
TEST(FocusDotsAndArrow, RowWritesMatchSetPixelDotByDot) {
    const auto byGdi = [](TBitmap& bmp, TRect r, int direction) {
        TCanvas& c = bmp.Canvas();
        const int right = r.Right - 1, bottom = r.Bottom - 1;
        auto dot = [&](int x, int y, int i) {
            if (i % 3 == 2) c.SetPixel(x, y, clBlue);
            else if (i % 3 == 1) c.SetPixel(x, y, clBtnFace);
        };
        for (int x = r.Left; x < right; ++x) {
            dot(x, r.Top, x - r.Left);
            dot(x, bottom - 1, x - r.Left);
        }
        for (int y = r.Top; y < bottom; ++y) {
            dot(r.Left, y, y - r.Top);
            dot(right - 1, y, y - r.Top);
        }
        const int cx = r.Left + r.Width() / 2, cy = r.Top + r.Height() / 2;
        for (int i = 0; i < 4; ++i)
            for (int j = -(3 - i); j <= 3 - i; ++j) {
                if (direction == 4) c.SetPixel(cx - 2 + i, cy + j, clLime);
                else c.SetPixel(cx + j, cy - 2 + i, clLime);
            }
        GdiFlush();
    };
    for (const TRect r : {TRect{2, 3, 30, 17}, TRect{-4, -2, 12, 9}, TRect{20, 10, 45, 30}, TRect{5, 5, 6, 6}})
        for (int direction : {4, 8})
            for (bool moved : {false, true}) {
                TBitmap got(36, 20), want(36, 20);
                for (int y = 0; y < 20; ++y)
                    for (int x = 0; x < 36; ++x) {
                        got.SetPixel32(x, y, kBack);
                        want.SetPixel32(x, y, kBack);
                    }
                if (moved) {
                    SetViewportOrgEx(got.Canvas().Handle(), 1, 2, nullptr);
                    SetViewportOrgEx(want.Canvas().Handle(), 1, 2, nullptr);
                }
                FocusRect(got.Canvas(), r, clBtnFace, clBlue);
                DrawColorArrow(got.Canvas(), clLime, r, direction);
                GdiFlush();
                byGdi(want, r, direction);
                for (int y = 0; y < 20; ++y)
                    for (int x = 0; x < 36; ++x)
                        ASSERT_EQ(got.Pixel32(x, y), want.Pixel32(x, y))
                            << "rect " << r.Left << "," << r.Top << " direction " << direction << " moved " << moved
                            << " at " << x << ", " << y;
            }
}

}  // namespace
}  // namespace qv
