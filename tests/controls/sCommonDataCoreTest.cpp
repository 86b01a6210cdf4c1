// The window-free arithmetic of the skin binding, fading and glow.
#include "controls/sCommonDataCore.h"

#include <gtest/gtest.h>

namespace qv {

// Codes outside every kind set, and kinds without a section of their own, fall back.
TEST(KindSets, CodesOutsideTheRangeAreInNoSet) {
    EXPECT_FALSE(InKindSet(sEditCtrls, 300));
    EXPECT_FALSE(InKindSet(sEditCtrls, -1));
    EXPECT_EQ(DefaultSectionOfKind(9), L"");  // the owner's class name is used
}

TEST(MixTransparentColor, WeightIsPercentOver256PerChannel) {
    // own 0x000064C8 (R 200, G 100), parent 0x00C86400 (G 100, B 200), T 50:
    // R: (50 × (0 − 200) + 200 × 256) >> 8 = 160; G: 100; B: (50 × 200) >> 8 = 39.
    EXPECT_EQ(MixTransparentColor(0x00C86400, 0x000064C8, 50), static_cast<TColor>(0x002764A0));
    EXPECT_EQ(MixTransparentColor(0x00FFFFFF, 0x00000000, 0), 0);
    // T 100 still keeps a trace of the own colour: 255 × 100 >> 8 = 99.
    EXPECT_EQ(MixTransparentColor(0x00FFFFFF, 0x00000000, 100), static_cast<TColor>(0x00636363));
}

TEST(FadeSteps, WeightsOfATwentyStepFade) {
    EXPECT_EQ(FadeStepWeight(1, 20), 243);  // 255 − 256 / 20
    EXPECT_EQ(FadeStepWeight(10, 20), 127);
    EXPECT_EQ(FadeStepWeight(20, 20), 0);  // the new face only (clamped from −1)
    EXPECT_EQ(FadeStepWeight(0, 20), 255);
}

TEST(FadeSteps, PressHalvesAndRestartBeginsAtStepOne) {
    int level = 0;
    EXPECT_EQ(FadeIterations(20, false, fdNone, false, level), 20);
    EXPECT_EQ(level, 1);
    EXPECT_EQ(FadeIterations(20, false, fdNone, true, level), 10);  // press on a fresh timer
    EXPECT_EQ(level, 1);
    // Leaving during a hover fade: the running timer goes up, its level counts as 20.
    EXPECT_EQ(FadeIterations(20, true, fdUp, false, level), 20);
    EXPECT_EQ(level, 1);
    // Press while the hover fade runs: half of 20 steps, restarted at step 1.
    EXPECT_EQ(FadeIterations(20, true, fdUp, true, level), 10);
    EXPECT_EQ(level, 1);
    EXPECT_EQ(FadeIterations(21, false, fdNone, true, level), 10);  // odd counts truncate
}

TEST(BoundLabel, PlacementByLayout) {
    const TRect c{100, 50, 180, 70};  // 80 × 20
    const TSize l{30, 13};
    EXPECT_EQ(BoundLabelPos(sclLeft, c, l, 2).X, 100 - 30 - 2 - 4);
    EXPECT_EQ(BoundLabelPos(sclLeft, c, l, 2).Y, 50 + 3);  // (20 − 13) div 2
    EXPECT_EQ(BoundLabelPos(sclTopCenter, c, l, 1).X, 125);
    EXPECT_EQ(BoundLabelPos(sclTopCenter, c, l, 1).Y, 50 - 13 - 1);
    EXPECT_EQ(BoundLabelPos(sclBottomRight, c, l, 1).X, 150);
    EXPECT_EQ(BoundLabelPos(sclBottomRight, c, l, 1).Y, 71);
    // A label taller than the control: −5 div 2 truncates toward zero to −2.
    EXPECT_EQ(BoundLabelPos(sclLeft, c, {30, 25}, 0).Y, 48);
}

TEST(GlowGeometry, WholeControlAndPartlyHiddenControl) {
    const TRect r{100, 100, 200, 130};
    TacGlowGeometry g = CalcGlowGeometry(r, {0, 0, 100, 30}, 12, 12, 12, 12, 3);
    EXPECT_EQ(g.Window.Left, 91);
    EXPECT_EQ(g.Window.Top, 91);
    EXPECT_EQ(g.Window.Width(), 118);
    EXPECT_EQ(g.Window.Height(), 48);
    EXPECT_EQ(g.Cut.X, 0);
    // The left 20 pixels are hidden: the glow starts at the visible edge.
    g = CalcGlowGeometry(r, {20, 0, 100, 30}, 12, 12, 12, 12, 3);
    EXPECT_EQ(g.Cut.X, 29);
    EXPECT_EQ(g.Window.Left, 120);
    EXPECT_EQ(g.Window.Width(), 118 - 29);
    EXPECT_EQ(g.Full.cx, 118);
    // The bottom 10 rows are hidden.
    g = CalcGlowGeometry(r, {0, 0, 100, 20}, 12, 12, 12, 12, 3);
    EXPECT_EQ(g.Window.Top, 91);
    EXPECT_EQ(g.Window.Height(), 48 - (30 + 12 - 20 - 3));
}

}  // namespace qv
