// A skinned push button's glyph as its cache holds it under the internal skin: a 32-bit
// glyph laid by its own alpha, greyed in the section's colour when disabled, reflected
// under itself; image-list glyphs with alpha and with a mask.
#include "SkinnedWindow.h"

#include "controls/win32/sBitBtn.h"
#include "framework/win32/ImgList.h"

namespace qv {
namespace {

constexpr int kSide = 18;  // glyph size: a reflection of 18 / 6 = 3 rows fits under it

class ButtonGlyph : public test::SkinnedWindow {
protected:
    void SetUp() override {
        test::SkinnedWindow::SetUp();
        if (HasFatalFailure()) return;
        button = Place<TsBitBtn>(20, 20, 120, 60);
        button->SetDisabledKind(0);  // the face itself stays as it is when disabled
        AddFocusSink(20, 200);
    }
    void Paint() {
        ShowAndPaint();
        button->PrepareCache();
        ASSERT_EQ(button->CurrentState(), 0);
        cache = button->SkinData()->CacheBmp();
        ASSERT_NE(cache, nullptr);
    }
    // The glyph's pixel (x, y) in the cache, and the bare face beside the glyph on that
    // row (the face is a vertical gradient, the same along a row).
    std::uint32_t At(int x, int y) const { return test::Rgb(*cache, button->GlyphPos.X + x, button->GlyphPos.Y + y); }
    std::uint32_t Face(int y) const { return test::Rgb(*cache, button->GlyphPos.X - 4, button->GlyphPos.Y + y); }

    TsBitBtn* button = nullptr;
    TBitmap* cache = nullptr;
};

// Left half opaque red, right half blue at alpha 128, the last column fully transparent.
void AlphaGlyph(TBitmap& g) {
    g.SetPixelFormat(pf32bit);
    g.SetSize(kSide, kSide);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            g.SetPixel32(x, y, x == kSide - 1 ? 0 : x < kSide / 2 ? 0xFFFF0000u : 0x800000FFu);
}

// What CopyBmp32 makes of a channel: (s × w + d × (256 − w)) shr 8.
std::uint32_t Over(std::uint32_t src, std::uint32_t dst, int w) {
    std::uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int s = static_cast<int>((src >> shift) & 0xFF), d = static_cast<int>((dst >> shift) & 0xFF);
        out |= static_cast<std::uint32_t>((s * w + d * (256 - w)) >> 8) << shift;
    }
    return out;
}

TEST_F(ButtonGlyph, AlphaGlyphIsLaidByItsAlphaAndGreyedInTheSectionColourWhenDisabled) {
    TBitmap g;
    AlphaGlyph(g);
    button->SetGlyph(g);
    Paint();
    const int y = kSide / 2;
    EXPECT_TRUE(test::Near(At(2, y), Over(0xFF0000, Face(y), 255), 0));
    EXPECT_TRUE(test::Near(At(kSide - 3, y), Over(0x0000FF, Face(y), 128), 0));
    EXPECT_EQ(At(kSide - 1, y), Face(y));

    // Disabled with a grey look: grey level 255 div 3 = 85 times the section colour.
    button->SetDisabledGlyphKind(dgGrayed);
    button->SetEnabled(false);
    button->PrepareCache();
    const std::uint32_t c = test::Rgb(manager->gd[button->SkinData()->FSkinIndex].Color);
    std::uint32_t grey = 0;
    for (int shift = 0; shift < 24; shift += 8) grey |= (85 * ((c >> shift) & 0xFF) / 255) << shift;
    EXPECT_TRUE(test::Near(At(2, y), Over(grey, Face(y), 255), 0));
}

TEST_F(ButtonGlyph, ReflectedGlyphMovesUpAndMirrorsItsLastRowsBelowItself) {
    // Opaque rows: the last one red, the one above it green, the rest blue.
    TBitmap g(kSide, kSide, pf32bit);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            g.SetPixel32(x, y, y == kSide - 1 ? 0xFFFF0000u : y == kSide - 2 ? 0xFF00FF00u : 0xFF0000FFu);
    button->SetGlyph(g);
    button->SetReflected(true);
    Paint();
    const int top = -kSide / 6;  // the glyph stands 3 rows higher than the layout put it
    EXPECT_TRUE(test::Near(At(5, top), Over(0x0000FF, Face(top), 255), 0));
    EXPECT_TRUE(test::Near(At(5, top + kSide - 1), Over(0xFF0000, Face(top + kSide - 1), 255), 0));
    // Under it: red at a third, green at 85 - 255 div 9 = 57, then blue at 29, then nothing.
    const int below = top + kSide;
    EXPECT_TRUE(test::Near(At(5, below), Over(0xFF0000, Face(below), 85), 0));
    EXPECT_TRUE(test::Near(At(5, below + 1), Over(0x00FF00, Face(below + 1), 57), 0));
    EXPECT_TRUE(test::Near(At(5, below + 2), Over(0x0000FF, Face(below + 2), 29), 0));
    EXPECT_EQ(At(5, below + 3), Face(below + 3));
}

TEST_F(ButtonGlyph, ImageListGlyphsWithAlphaAndWithAMask) {
    // Owned by the form, whose free notification clears the button's Images.
    auto* alpha = new TImageList(form.get(), kSide, kSide);
    alpha->SetAlphaImages(true);
    TBitmap g;
    AlphaGlyph(g);
    alpha->Add(g);
    button->SetImages(alpha);
    button->SetImageIndex(0);
    Paint();
    const int y = kSide / 2;
    EXPECT_TRUE(test::Near(At(2, y), Over(0xFF0000, Face(y), 255), 0));
    EXPECT_TRUE(test::Near(At(kSide - 3, y), Over(0x0000FF, Face(y), 128), 1));
    EXPECT_EQ(At(kSide - 1, y), Face(y));

    // A list without alpha: magenta masked out, the rest copied exactly. (The first
    // list goes first, which takes it out of the button's Images.)
    delete alpha;
    ASSERT_EQ(button->Images(), nullptr);
    auto* plain = new TImageList(form.get(), kSide, kSide);
    TBitmap p(kSide, kSide, pf24bit);
    for (int yy = 0; yy < kSide; ++yy)
        for (int x = 0; x < kSide; ++x) {
            std::uint8_t* px = p.ScanLine(yy) + x * 3;
            const bool key = x >= kSide / 2;
            px[0] = key ? 0xFF : 0x30;
            px[1] = key ? 0x00 : 0x80;
            px[2] = key ? 0xFF : 0xC0;
        }
    plain->AddMasked(p, clFuchsia);
    button->SetImages(plain);
    button->PrepareCache();
    EXPECT_EQ(At(2, y), 0xC08030u);
    EXPECT_EQ(At(kSide - 3, y), Face(y));
}

}  // namespace
}  // namespace qv
