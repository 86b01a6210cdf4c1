// Designed lengths at the display scales users choose, and lengths that go through several
// DPIs and come back.
#include "framework/DpiScale.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(DpiScale, DesignedSizesAtEveryCommonScaleRoundHalfAwayFromZero) {
    struct Case {
        int dpi, client329, client494, min279, button71, font11;
    };
    // 100, 125, 150, 175, 200 and 250 %.
    const Case cases[] = {{96, 329, 494, 279, 71, -11},   {120, 411, 618, 349, 89, -14},
                          {144, 494, 741, 419, 107, -17}, {168, 576, 865, 488, 124, -19},
                          {192, 658, 988, 558, 142, -22}, {240, 823, 1235, 698, 178, -28}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        EXPECT_EQ(ScaleForDpi(329, c.dpi), c.client329);
        EXPECT_EQ(ScaleForDpi(494, c.dpi), c.client494);
        EXPECT_EQ(ScaleForDpi(279, c.dpi), c.min279);
        EXPECT_EQ(ScaleForDpi(71, c.dpi), c.button71);
        EXPECT_EQ(ScaleForDpi(-11, c.dpi), c.font11);  // negative font heights round the same way
        EXPECT_EQ(ScaleForDpi(0, c.dpi), 0);
    }
}

TEST(DpiScale, ADpiOfNothingOrBeyond480IsTakenAs96) {
    EXPECT_EQ(SaneDpi(0), 96);
    EXPECT_EQ(SaneDpi(-144), 96);
    EXPECT_EQ(SaneDpi(481), 96);
    EXPECT_EQ(SaneDpi(65535), 96);
    EXPECT_EQ(SaneDpi(480), 480);
    EXPECT_EQ(SaneDpi(72), 72);
    EXPECT_EQ(ScaleBetweenDpi(50, 144, 0), 50);  // never a division by zero
}

TEST(DpiScale, ALengthThroughSeveralDpisAndBackEndsWhereItBeganAndANewValueIsTheNewBase) {
    for (int designed : {71, 77, 43, 3, 1, 329, -11}) {
        SCOPED_TRACE(designed);
        TDpiLength length;
        int v = designed, dpi = 96;
        for (int cycle = 0; cycle < 20; ++cycle) {
            for (int next : {144, 192, 120, 168, 240, 96}) {
                v = length.Rescale(v, dpi, next);
                EXPECT_EQ(v, ScaleForDpi(designed, next)) << "at " << next;
                dpi = next;
            }
        }
        EXPECT_EQ(v, designed);
    }
    // Set to 100 at 144 by someone else: that is what scales from now on.
    TDpiLength length;
    EXPECT_EQ(length.Rescale(71, 96, 144), 107);
    EXPECT_EQ(length.Rescale(100, 144, 192), 133);
    EXPECT_EQ(length.Rescale(133, 192, 144), 100);
}

}  // namespace
}  // namespace qv
