// One image's geometry on its own: the size of one state image, which corner areas hold
// a key pixel, and the state a section paints for a state past its last.
#include "model/sMaskData.h"

#include "model/acSkinSource.h"
#include "model/sSkinData.h"

#include <gtest/gtest.h>

#include <memory>

namespace qv {
namespace {

TEST(ImageSize, OneStateImageOfTheStatesAndMaskRows) {
    TsMaskData md;
    md.R = {10, 20, 100, 80};  // 90 x 60 in the master bitmap
    md.ImageCount = 3;
    md.MaskType = 1;  // state row and one mask row
    EXPECT_EQ(WidthOfImage(md), 30);
    EXPECT_EQ(HeightOfImage(md), 30);
    md.ImageCount = 1;
    md.MaskType = 0;
    EXPECT_EQ(WidthOfImage(md), 90);
    EXPECT_EQ(HeightOfImage(md), 60);
    md.ImageCount = 0;  // no images: no size, and no division by zero
    md.MaskType = -1;
    EXPECT_EQ(WidthOfImage(md), 0);
    EXPECT_EQ(HeightOfImage(md), 0);
}

TEST(GetCornerTypeTest, ButtonHugeFrameIsNeverExamined) {
    TsMaskData md;
    md.ClassName = L"BUTTON_HUGE";
    md.PropertyName = L"BORDERSMASK";
    EXPECT_EQ(GetCornerType(md, nullptr), 2);
}

TEST(GetCornerTypeTest, KeyPixelsInEachCornerAreFound) {
    // 12 x 8 state image, corners 3 wide and 2 high; the last row and column are never examined.
    for (TPoint key : {Point(0, 0), Point(10, 1), Point(2, 6), Point(9, 6)}) {
        TsMaskData md;
        md.Bmp = std::make_unique<TBitmap>(12, 8, pf32bit);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 12; ++x)
                md.Bmp->SetPixel32(x, y, (x == key.X && y == key.Y) ? 0x00FF00FFu : 0xFF010203u);
        md.R = {0, 0, 12, 8};
        md.ImageCount = 1;
        md.WL = md.WR = 3;
        md.WT = md.WB = 2;
        EXPECT_EQ(GetCornerType(md, nullptr), 1) << key.X << "," << key.Y;
        md.Bmp->SetPixel32(key.X, key.Y, 0xFF000000);
        EXPECT_EQ(GetCornerType(md, nullptr), 0) << key.X << "," << key.Y;
    }
}

TEST(SectionState, StatesOutsideTheSectionPaintAsItsEnds) {
    TsGeneralData gd;
    gd.States = 3;
    EXPECT_EQ(SectionState(gd, -1), 0);
    EXPECT_EQ(SectionState(gd, 1), 1);
    EXPECT_EQ(SectionState(gd, 3), 2);
    gd.States = 0;  // a section without states paints state 0
    EXPECT_EQ(SectionState(gd, 2), 0);
}

}  // namespace
}  // namespace qv
