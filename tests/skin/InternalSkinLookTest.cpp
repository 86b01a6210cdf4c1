// The internal skin's look, checked on the loaded images and colours: readable text on
// every section, rounded corners cut with key pixels, faces that leave their middle to the
// section's gradient, glows that fade outwards, and the window shadow templates.
#include "InternalSkinTestUtils.h"

#include "framework/Imaging.h"

#include <cmath>

namespace qv::test {
namespace {

// Relative luminance of a colour value 0x00BBGGRR (sRGB, as for text contrast).
double Luminance(TColor c) {
    auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c & 0xFF) + 0.7152 * channel((c >> 8) & 0xFF) + 0.0722 * channel((c >> 16) & 0xFF);
}

double Contrast(TColor a, TColor b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(InternalSkinContrast, KnownPairs) {
    EXPECT_NEAR(Contrast(0x000000, 0xFFFFFF), 21.0, 1e-9);
    EXPECT_NEAR(Contrast(0x777777, 0x777777), 1.0, 1e-9);
    // Mid grey on white is the classic just-below-the-line pair.
    EXPECT_LT(Contrast(0x777777, 0xFFFFFF), 4.5);
    EXPECT_GT(Contrast(0x767676, 0xFFFFFF), 4.5);
}

TEST_F(InternalSkin, TextOnEverySectionHasAContrastOfAtLeast4Point5) {
    for (const TsGeneralData& g : Model().gd)
        for (int state = 0; state < 2; ++state) {
            const TsGenState& s = g.Props[static_cast<std::size_t>(state)];
            const double ratio = Contrast(s.FontColor.Color, s.Color);
            EXPECT_GE(ratio, 4.5) << StringToUtf8(g.ClassName) << (state ? " hot" : " normal") << ": text " << std::hex
                                  << s.FontColor.Color << " on " << s.Color << std::dec << " is " << ratio;
        }
}

TEST_F(InternalSkin, HotButtonTextIsDarkOnAmberAndNormalTextLightOnCharcoal) {
    const TsGeneralData& button = Section(L"BUTTON");
    EXPECT_LT(Luminance(button.Props[0].Color), 0.1) << "charcoal face";
    EXPECT_GT(Luminance(button.Props[0].FontColor.Color), 0.5);
    EXPECT_GT(Luminance(button.Props[1].Color), 0.3) << "amber face";
    EXPECT_LT(Luminance(button.Props[1].FontColor.Color), 0.05);
}

constexpr std::uint32_t KeyWord = 0x00FF00FF;

TEST_F(InternalSkin, ButtonCornersAreKeyPixelsAndTheMiddleShowsTheGradient) {
    const TsMaskData& md = *Image(L"BUTTON", L"BORDERSMASK");
    const int w = WidthOfImage(md), h = HeightOfImage(md);
    for (int state = 0; state < 3; ++state) {
        const int x0 = state * w;
        // The outermost corner pixels lie outside the rounding.
        EXPECT_EQ(ImagePixel(md, x0, 0), KeyWord) << state;
        EXPECT_EQ(ImagePixel(md, x0 + w - 1, 0), KeyWord) << state;
        EXPECT_EQ(ImagePixel(md, x0, h - 1), KeyWord) << state;
        EXPECT_EQ(ImagePixel(md, x0 + w - 1, h - 1), KeyWord) << state;
        // The edge midpoints belong to the outline: drawn opaque (mask 0).
        EXPECT_NE(ImagePixel(md, x0 + md.WL, 0), KeyWord) << state;
        EXPECT_EQ(ImagePixel(md, x0 + md.WL, h) & 0xFFFFFF, 0u) << state << ": outline mask";
    }
    // The 1 x 1 middle is stretched over the face: fully transparent at rest and when hot
    // (the section's gradient shows), partly dark when pressed.
    EXPECT_EQ(ImagePixel(md, md.WL, h + md.WT) & 0xFF, 255u);
    EXPECT_EQ(ImagePixel(md, w + md.WL, h + md.WT) & 0xFF, 255u);
    const std::uint32_t pressedMask = ImagePixel(md, 2 * w + md.WL, h + md.WT) & 0xFF;
    EXPECT_LT(pressedMask, 255u);
    EXPECT_GT(pressedMask, 180u);
}

TEST_F(InternalSkin, ButtonOutlineTurnsAmberWhenHot) {
    const TsMaskData& md = *Image(L"BUTTON", L"BORDERSMASK");
    const int w = WidthOfImage(md);
    auto rgb = [](std::uint32_t p) {
        return std::array<int, 3>{int((p >> 16) & 255), int((p >> 8) & 255), int(p & 255)};
    };
    const auto normal = rgb(ImagePixel(md, md.WL, 0)), hot = rgb(ImagePixel(md, w + md.WL, 0));
    EXPECT_LT(normal[0], 40) << "dark outline at rest";
    EXPECT_GT(hot[0], hot[2] + 80) << "amber: red well above blue";
    EXPECT_GT(hot[1], hot[2]) << "amber: green above blue";
}

TEST_F(InternalSkin, FrameAndTitleCornersMatchSoTheWindowRegionIsRound) {
    const TsMaskData& form = *Image(L"FORM", L"BORDERSMASK");
    const TsMaskData& title = *Image(L"FORMTITLE", L"BORDERSMASK");
    // The key pixels of the top-left corner block are the same in both masks, state by
    // state, so the region cut from them has one outline.
    for (int state = 0; state < 2; ++state)
        for (int y = 0; y < std::min(form.WT, title.WT); ++y)
            for (int x = 0; x < std::min(form.WL, title.WL); ++x) {
                const bool formKey = ImagePixel(form, state * WidthOfImage(form) + x, y) == KeyWord;
                const bool titleKey = ImagePixel(title, state * WidthOfImage(title) + x, y) == KeyWord;
                EXPECT_EQ(formKey, titleKey) << "state " << state << " at " << x << "," << y;
            }
    EXPECT_EQ(ImagePixel(form, 0, 0), KeyWord);
}

// Alpha of a 32-bit image pixel.
int AlphaAt(const TBitmap& bmp, int x, int y) { return bmp.ScanLine(y)[x * 4 + 3]; }

TEST_F(InternalSkin, GlowsFadeOutwardsAndLeaveTheControlClear) {
    for (const wchar_t* section : {L"BUTTON", L"EDIT"}) {
        const TsMaskData& glow = *Image(section, L"GLOW0");
        const TBitmap& bmp = *glow.Bmp;
        const int margin = Section(section).GlowMargin;
        const int edge = glow.WL - margin;  // the control's first column in the glow window
        const int y = bmp.Height() / 2;
        EXPECT_EQ(AlphaAt(bmp, 0, y), 0) << StringToUtf8(section) << ": nothing at the outer edge";
        EXPECT_GT(AlphaAt(bmp, edge - 1, y), 64) << StringToUtf8(section) << ": bright next to the control";
        for (int x = 1; x < edge; ++x)
            EXPECT_GE(AlphaAt(bmp, x, y), AlphaAt(bmp, x - 1, y)) << StringToUtf8(section) << " x " << x;
        EXPECT_EQ(AlphaAt(bmp, edge, y), 0) << StringToUtf8(section) << ": the control itself stays clear";
        // Premultiplied on load: no channel above alpha.
        const std::uint8_t* p = bmp.ScanLine(y) + (edge - 1) * 4;
        EXPECT_LE(p[2], p[3]) << StringToUtf8(section);
    }
}

#ifdef QUORVEL_SKINS_DIR
TEST(InternalSkinShadows, TemplatesAreSoftFramesWithAClearMiddle) {
    for (const char* name : {"acSHDA.png", "acSHDI.png"}) {
        TBitmap bmp;
        LoadImageFromFile(ShadowTemplatePath(name), bmp);
        ASSERT_EQ(bmp.PixelFormat(), pf32bit) << name;
        ASSERT_GE(bmp.Width(), 19) << name;
        const int cx = bmp.Width() / 2, cy = bmp.Height() / 2;
        EXPECT_EQ(AlphaAt(bmp, cx, cy), 0) << name << ": the window covers the middle";
        EXPECT_EQ(AlphaAt(bmp, cx, 0), 0) << name << ": faded out at the edge";
        EXPECT_GT(AlphaAt(bmp, cx, 8), 40) << name << ": dark next to the window";
        const std::uint8_t* p = bmp.ScanLine(8) + cx * 4;
        EXPECT_EQ(p[0] | p[1] | p[2], 0) << name << ": black";
    }
    TBitmap active, inactive;
    LoadImageFromFile(ShadowTemplatePath("acSHDA.png"), active);
    LoadImageFromFile(ShadowTemplatePath("acSHDI.png"), inactive);
    EXPECT_GT(AlphaAt(active, active.Width() / 2, 8), AlphaAt(inactive, inactive.Width() / 2, 8))
        << "the active window casts the darker shadow";
}
#endif

}  // namespace
}  // namespace qv::test
