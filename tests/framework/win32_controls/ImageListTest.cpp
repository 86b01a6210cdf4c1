// TImageList: images cut from a strip, drawn with their masks, change notifications.
#include "framework/win32/ImgList.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

// A 32-bit top-down DIB section selected into a memory DC, filled with one colour.
class PixelTarget {
public:
    PixelTarget(int width, int height, std::uint32_t fill) : FWidth(width) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        FBitmap = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&FBits), nullptr, 0);
        FDC = ::CreateCompatibleDC(nullptr);
        FOld = ::SelectObject(FDC, FBitmap);
        for (int i = 0; i < width * height; ++i) FBits[i] = fill;
    }
    ~PixelTarget() {
        ::SelectObject(FDC, FOld);
        ::DeleteDC(FDC);
        ::DeleteObject(FBitmap);
    }
    HDC DC() const { return FDC; }
    // 0x00RRGGBB, alpha dropped (GDI leaves it as it likes).
    std::uint32_t At(int x, int y) const {
        ::GdiFlush();
        return FBits[y * FWidth + x] & 0xFFFFFF;
    }
private:
    int FWidth;
    HBITMAP FBitmap = nullptr;
    HDC FDC = nullptr;
    HGDIOBJ FOld = nullptr;
    std::uint32_t* FBits = nullptr;
};

// Fills x in [x0, x1) of every row of a 24-bit bitmap with 0x00RRGGBB.
void FillColumns(TBitmap& bmp, int x0, int x1, std::uint32_t rgb) {
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = x0; x < x1; ++x) {
            std::uint8_t* p = bmp.ScanLine(y) + x * 3;
            p[0] = rgb & 0xFF;
            p[1] = (rgb >> 8) & 0xFF;
            p[2] = (rgb >> 16) & 0xFF;
        }
}

}  // namespace

TEST(ImageList, AStripBecomesOneImagePerWidthAndEachDrawsItsOwnPixels) {
    TImageList images(nullptr, 4, 4);
    TBitmap strip(12, 4, pf24bit);
    FillColumns(strip, 0, 4, 0x112233);
    FillColumns(strip, 4, 8, 0x445566);
    FillColumns(strip, 8, 12, 0x778899);
    EXPECT_EQ(images.Add(strip), 0);
    EXPECT_EQ(images.Count(), 3);

    PixelTarget target(10, 6, 0xFFFFFF);
    images.Draw(target.DC(), 3, 1, 1);
    EXPECT_EQ(target.At(3, 1), 0x445566u);
    EXPECT_EQ(target.At(6, 4), 0x445566u);
    EXPECT_EQ(target.At(2, 1), 0xFFFFFFu) << "drawn left of its place";
    EXPECT_EQ(target.At(7, 1), 0xFFFFFFu) << "drawn wider than one image";
    EXPECT_EQ(target.At(3, 5), 0xFFFFFFu) << "drawn taller than one image";

    images.Draw(target.DC(), 0, 0, 3);  // out of range: nothing
    images.Draw(target.DC(), 0, 0, -1);
    EXPECT_EQ(target.At(0, 0), 0xFFFFFFu);

    TBitmap copy;
    ASSERT_TRUE(images.GetBitmap(2, copy));
    EXPECT_EQ(copy.Width(), 4);
    EXPECT_EQ(copy.PixelFormat(), pf32bit);
    EXPECT_EQ(copy.Pixel32(1, 2) & 0xFFFFFF, 0x778899u);
    EXPECT_FALSE(images.GetBitmap(3, copy));
}

TEST(ImageList, AddMaskedLeavesKeyColourPixelsTransparentAndTheSourceUntouched) {
    TImageList images(nullptr, 4, 4);
    TBitmap glyph(4, 4, pf24bit);
    FillColumns(glyph, 0, 2, 0xFF00FF);  // key colour on the left half (R=FF, B=FF)
    FillColumns(glyph, 2, 4, 0x204060);
    images.AddMasked(glyph, clFuchsia);
    EXPECT_EQ(glyph.ScanLine(0)[0], 0xFF) << "the caller's bitmap was changed";
    EXPECT_EQ(glyph.ScanLine(0)[2], 0xFF) << "the caller's bitmap was changed";

    PixelTarget target(4, 4, 0x00C0C0);
    images.Draw(target.DC(), 0, 0, 0);
    EXPECT_EQ(target.At(0, 0), 0x00C0C0u);
    EXPECT_EQ(target.At(1, 3), 0x00C0C0u);
    EXPECT_EQ(target.At(2, 0), 0x204060u);
    EXPECT_EQ(target.At(3, 3), 0x204060u);
}

TEST(ImageList, ChangeLinksHearEveryChangeUntilEitherSideIsGone) {
    TImageList images(nullptr, 2, 2);
    TBitmap one(2, 2, pf24bit);
    int heard = 0;
    {
        TChangeLink link;
        link.OnChange = [&](TImageList& sender) {
            EXPECT_EQ(&sender, &images);
            ++heard;
        };
        images.RegisterChanges(&link);
        images.Add(one);
        images.Add(one);
        images.Delete(0);
        images.Delete(5);  // nothing to delete: no notice
        EXPECT_EQ(heard, 3);
        images.Clear();
        EXPECT_EQ(images.Count(), 0);
        EXPECT_EQ(heard, 4);
    }  // the link unregisters itself
    images.Add(one);
    EXPECT_EQ(heard, 4);

    auto list = std::make_unique<TImageList>(nullptr, 2, 2);
    TChangeLink orphan;
    list->RegisterChanges(&orphan);
    list.reset();
    EXPECT_EQ(orphan.Sender(), nullptr);  // and its destructor touches nothing
}
