// The skin manager as the painting routines' skin source: a manager that loaded the
// internal skin paints its BUTTON section from its own arrays and master bitmap, and
// its images stop reaching it once the skin is removed.
#include "skin/sSkinManagerBase.h"

#include "paint/sAlphaGraph.h"
#include "paint/sGradient.h"
#include "paint/sGraphUtils_Item.h"
#include "InternalSkinTestUtils.h"
#include "ManagerTestUtils.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace qv {
namespace {

#ifdef QUORVEL_INTERNAL_SKIN_PACK

const String kInternal = L"Android OS (internal)";

::testing::AssertionResult PixelAt(const TBitmap& bmp, int x, int y, std::uint32_t want) {
    const std::uint32_t got = bmp.Pixel32(x, y);
    if (got == want) return ::testing::AssertionSuccess();
    char text[96];
    std::snprintf(text, sizeof text, "pixel (%d, %d) expected %08X got %08X", x, y, want, got);
    return ::testing::AssertionFailure() << text;
}

class ManagerPainting : public ::testing::Test {
protected:
    void SetUp() override {
        m.SetSkinDirectory(dir.Path());
        test::AddInternalSkin(m, kInternal, test::ReadPackFile(test::InternalSkinPackPath()));
        m.SetSkinName(kInternal);
        ASSERT_TRUE(m.SkinData.Active);
        button = m.GetSkinIndex(L"BUTTON");
        ASSERT_GE(button, 0);
    }
    // The gradient of one state of BUTTON painted alone over the face's rectangle.
    void Gradient(bool hot, TBitmap& g) {
        const TsGeneralData& sec = m.gd[static_cast<std::size_t>(button)];
        PaintGrad(&g, {0, 0, kWidth, kHeight}, hot ? sec.HotGradientArray : sec.GradientArray);
    }

    static constexpr int kWidth = 323, kHeight = 71;
    test::TempSkinDir dir;
    TsSkinManagerBase m{nullptr};
    int button = -1;
};

TEST_F(ManagerPainting, ImagesOfTheLoadedSkinReachTheManager) {
    const TsMaskData& border = m.ma[static_cast<std::size_t>(m.gd[static_cast<std::size_t>(button)].BorderIndex)];
    EXPECT_EQ(border.Owner, static_cast<const TacSkinSource*>(&m));
    EXPECT_EQ(MaskSourceBitmap(border), &m.MasterBitmap);
}

// Expected pixels come from the skin's Master.bmp: the button's state images are 16 x 16
// with the mask beneath; column 0 of the one-pixel middle row is (B 14, G 12, R 12) in
// state 0 and (B 00, G 5C, R 96) in the hot state, both with mask 0 (opaque); the corner
// pixel (0, 0) is the key colour and the middle pixel's mask is 255 (the face shows).
TEST_F(ManagerPainting, ButtonFaceInBothStatesOverAParentBitmap) {
    TBitmap parent(400, 120, pf32bit);
    for (int y = 0; y < parent.Height(); ++y)
        for (int x = 0; x < parent.Width(); ++x)
            parent.SetPixel32(x, y, 0xFF000000u | static_cast<std::uint32_t>((y << 12) ^ (x * 131)));
    const TPoint pP{10, 20};
    for (int state : {0, 1}) {
        SCOPED_TRACE(state);
        TBitmap face(kWidth, kHeight, pf32bit);
        PaintItem(button, L"BUTTON", MakeCacheInfo(&parent), true, state, {0, 0, kWidth, kHeight}, pP, &face, &m);
        // Key pixels of the four corners show the parent behind them.
        EXPECT_TRUE(PixelAt(face, 0, 0, parent.Pixel32(pP.X, pP.Y)));
        EXPECT_TRUE(PixelAt(face, kWidth - 1, 0, parent.Pixel32(pP.X + kWidth - 1, pP.Y)));
        EXPECT_TRUE(PixelAt(face, 0, kHeight - 1, parent.Pixel32(pP.X, pP.Y + kHeight - 1)));
        EXPECT_TRUE(PixelAt(face, kWidth - 1, kHeight - 1, parent.Pixel32(pP.X + kWidth - 1, pP.Y + kHeight - 1)));
        // The sides are stretched from the one-pixel middle strip.
        const std::uint32_t side = state == 0 ? 0xFF121214u : 0xFF965C00u;
        for (int y : {7, 35, kHeight - 9}) {
            EXPECT_TRUE(PixelAt(face, 0, y, side));
            EXPECT_TRUE(PixelAt(face, kWidth - 1, y, side));
        }
        // The centre is the state's gradient.
        TBitmap want(kWidth, kHeight, pf32bit);
        Gradient(state > 0, want);
        for (int y : {8, 20, 30, 45, 60})
            for (int x : {20, 161, 300}) EXPECT_TRUE(PixelAt(face, x, y, want.Pixel32(x, y)));
    }
}

TEST_F(ManagerPainting, HotGradientRowsAreTheSkinsColours) {
    // The hot gradient's first piece starts at 3723519 (R FF, G D1, B 38); its third runs
    // from 106985 (R E9, G A1, B 01) to 1425908 (R F4, G C1, B 15) over rows 52 to 68
    // (73 % to 97 % of 71 rows).
    TBitmap face(kWidth, kHeight, pf32bit);
    PaintItem(button, L"BUTTON", TCacheInfo{nullptr, 0, 0, 0x00102030, false}, true, 1, {0, 0, kWidth, kHeight}, {0, 0},
              &face, &m);
    const std::uint32_t row8 = face.Pixel32(161, 8);
    EXPECT_GE((row8 >> 16) & 0xFF, 0xF0u) << std::hex << row8;  // still near the red FF of the start
    const std::uint32_t row62 = face.Pixel32(161, 62);
    const int r = (row62 >> 16) & 0xFF, g = (row62 >> 8) & 0xFF, b = row62 & 0xFF;
    EXPECT_TRUE(r >= 0xE9 && r <= 0xF4 && g >= 0xA1 && g <= 0xC1 && b >= 0x01 && b <= 0x15) << std::hex << row62;
    // The corner key pixel shows the colour behind the button.
    EXPECT_EQ(face.Pixel32(0, 0) & 0xFFFFFFu, 0x302010u);
}

TEST_F(ManagerPainting, PaintsNothingOnceTheSkinIsRemoved) {
    m.SetActive(false);
    TBitmap face(kWidth, kHeight, pf32bit);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) face.SetPixel32(x, y, 0x11223344u);
    PaintItem(button, L"BUTTON", EmptyCI, true, 1, {0, 0, kWidth, kHeight}, {0, 0}, &face, &m);
    EXPECT_TRUE(PixelAt(face, 0, 0, 0x11223344u));
    EXPECT_TRUE(PixelAt(face, 161, 35, 0x11223344u));
}

#endif

}  // namespace
}  // namespace qv
