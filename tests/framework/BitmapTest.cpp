#include "framework/Bitmap.h"
#include "framework/SysUtils.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

// Every pixel distinct, so a wrong row or column shows.
std::uint32_t Pattern(int x, int y) noexcept {
    return 0x80000000u | static_cast<std::uint32_t>(y << 16 | x << 8 | (x + y));
}

void Fill32(TBitmap& bmp) {
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x) bmp.SetPixel32(x, y, Pattern(x, y));
}

TEST(BitmapLayout, RowsAreBottomUpAndDwordAligned) {
    TBitmap bmp(3, 4, pf24bit);
    EXPECT_EQ(bmp.RowBytes(), 12);  // 9 bytes rounded up to 12
    EXPECT_EQ(bmp.Delta(), -12);
    EXPECT_EQ(bmp.ScanLine(0) - bmp.ScanLine(3), 36);
    TBitmap one(1, 1, pf8bit);
    EXPECT_EQ(one.RowBytes(), 4);
    one.ScanLine(0)[0] = 7;
    EXPECT_EQ(one.ScanLine(0)[0], 7);
    TBitmap none(0, 0);
    EXPECT_TRUE(none.Empty());
    none.SetSize(0, 5);
    EXPECT_TRUE(none.Empty());
}

TEST(BitmapResize, KeepsTheTopLeftPixelsAndZeroesTheRest) {
    TBitmap bmp(4, 3);
    Fill32(bmp);
    bmp.SetSize(6, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(bmp.Pixel32(x, y), x < 4 ? Pattern(x, y) : 0u) << "x=" << x << " y=" << y;
    bmp.SetSize(1, 1);
    EXPECT_EQ(bmp.Pixel32(0, 0), Pattern(0, 0));
    bmp.SetSize(0, 0);
    EXPECT_TRUE(bmp.Empty());
}

TEST(BitmapFormats, TwentyFourToThirtyTwoLeavesAlphaZeroAndBack) {
    TBitmap bmp(3, 2, pf24bit);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            std::uint8_t* p = bmp.ScanLine(y) + x * 3;
            p[0] = static_cast<std::uint8_t>(10 * x + y);
            p[1] = static_cast<std::uint8_t>(100 + x);
            p[2] = static_cast<std::uint8_t>(200 + y);
        }
    bmp.SetPixelFormat(pf32bit);
    ASSERT_EQ(bmp.PixelFormat(), pf32bit);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(bmp.Pixel32(x, y), static_cast<std::uint32_t>((200 + y) << 16 | (100 + x) << 8 | (10 * x + y)))
                << "x=" << x << " y=" << y;
    bmp.SetPixel32(1, 1, 0xFF010203);
    bmp.SetPixelFormat(pf24bit);
    const std::uint8_t* p = bmp.ScanLine(1) + 3;
    EXPECT_EQ(p[0], 3);
    EXPECT_EQ(p[1], 2);
    EXPECT_EQ(p[2], 1);
}

TEST(BitmapFormats, EightBitGoesThroughThePaletteBothWays) {
    TBitmap bmp(2, 1, pf8bit);
    bmp.Palette()[0] = 0x00102030;  // R=0x10 G=0x20 B=0x30
    bmp.Palette()[5] = 0x00FF0000;
    bmp.PaletteChanged();
    bmp.ScanLine(0)[0] = 5;
    bmp.ScanLine(0)[1] = 0;
    bmp.SetPixelFormat(pf32bit);
    EXPECT_EQ(bmp.Pixel32(0, 0), 0x00FF0000u);
    EXPECT_EQ(bmp.Pixel32(1, 0), 0x00102030u);
    // Back to 8 bits: each pixel takes the nearest entry of the kept palette.
    bmp.SetPixel32(1, 0, 0x00112131);
    bmp.SetPixelFormat(pf8bit);
    EXPECT_EQ(bmp.ScanLine(0)[0], 5);
    EXPECT_EQ(bmp.ScanLine(0)[1], 0);
}

TEST(BitmapFormats, AssignCopiesEverythingIndependently) {
    TBitmap source(2, 2);
    Fill32(source);
    source.Transparent = true;
    source.TransparentColor = clLime;
    TBitmap copy;
    copy.Assign(source);
    source.SetPixel32(0, 0, 0);
    EXPECT_EQ(copy.Pixel32(0, 0), Pattern(0, 0));
    EXPECT_EQ(copy.Pixel32(1, 1), Pattern(1, 1));
    EXPECT_TRUE(copy.Transparent);
    EXPECT_EQ(copy.TransparentColor, clLime);
    TBitmap moved;
    moved.TakeFrom(copy);
    EXPECT_TRUE(copy.Empty());
    EXPECT_EQ(moved.Pixel32(1, 0), Pattern(1, 0));
}

TEST(BitmapFormats, AssignOntoTheSameShapeKeepsTheBlockAndCopiesEveryRow) {
    TBitmap source(3, 2), target(3, 2);
    Fill32(source);
    const std::uint8_t* block = target.ScanLine(0);
    target.Assign(source);
    EXPECT_EQ(target.ScanLine(0), block);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(target.Pixel32(x, y), Pattern(x, y));
    // Another shape is a fresh block of the source's size.
    TBitmap wide(5, 1);
    target.Assign(wide);
    EXPECT_EQ(target.Width(), 5);
    EXPECT_EQ(target.Height(), 1);
}

TEST(BitmapFormats, UnsupportedFormatsAndSizesRaise) {
    TBitmap bmp(2, 2);
    Fill32(bmp);
    EXPECT_THROW(bmp.SetPixelFormat(pf16bit), EInvalidGraphic);
    EXPECT_EQ(bmp.Pixel32(1, 1), Pattern(1, 1));  // unchanged
    EXPECT_THROW(bmp.SetSize(-1, 2), EInvalidGraphic);
    EXPECT_THROW(bmp.SetSize(100000, 100000), EOutOfResources);
    EXPECT_EQ(bmp.Width(), 2);
    EXPECT_EQ(bmp.Pixel32(1, 1), Pattern(1, 1));
}

TEST(SystemColours, ColorToRGBResolvesOnlySystemColours) {
    EXPECT_EQ(ColorToRGB(clBtnFace), static_cast<TColor>(SysColorRGB(15)));
    EXPECT_EQ(ColorToRGB(0x123456), 0x123456);
    EXPECT_EQ(ColorToRGB(clNone), clNone);
#ifndef _WIN32
    EXPECT_EQ(ColorToRGB(clBtnFace), 0xC8D0D4);  // the classic button face 212, 208, 200
#endif
    EXPECT_EQ(IntersectRect(Rect(0, 0, 10, 10), Rect(5, -5, 20, 5)), Rect(5, 0, 10, 5));
    EXPECT_EQ(IntersectRect(Rect(0, 0, 10, 10), Rect(10, 0, 20, 5)), TRect{});
}

}  // namespace
}  // namespace qv
