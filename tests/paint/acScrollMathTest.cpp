// Scroll-bar geometry against values worked by hand. The reference bar is 200 pixels
// long with 16-pixel arrows (a 168-pixel track) over 200 items with 20 on a page:
// range 199, thumb 20 × 168 / 200 = 16.8 → 17, room 151, positions 0..180.
#include "paint/acScrollMath.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

namespace qv {
namespace {

TacScrollInfo Items(int count, unsigned page, int pos, int min = 0) {
    TacScrollInfo si;
    si.nMin = min;
    si.nMax = min + count - 1;
    si.nPage = page;
    si.nPos = pos;
    return si;
}

TEST(ScrollMath, MulDivRoundsHalfAwayFromZeroAndAnswersMinusOneForZero) {
    EXPECT_EQ(acMulDiv(5, 1, 2), 3);
    EXPECT_EQ(acMulDiv(7, 1, 2), 4);
    EXPECT_EQ(acMulDiv(-5, 1, 2), -3);
    EXPECT_EQ(acMulDiv(5, -1, 2), -3);
    EXPECT_EQ(acMulDiv(4, 1, 3), 1);
    EXPECT_EQ(acMulDiv(1, 1, 0), -1);
    EXPECT_EQ(acMulDiv(INT_MAX, 4, 2), -1);                   // does not fit
    EXPECT_EQ(acMulDiv(INT_MAX, INT_MAX, INT_MAX), INT_MAX);  // 64-bit product
}

TEST(ScrollMath, ArrowLengthAndThicknessFollowTheSkinOrTheBarsOwnValues) {
    EXPECT_EQ(ScrollArrowLength(-1, 0), 16);  // no skin frame
    EXPECT_EQ(ScrollArrowLength(-1, 9), 16);  // a frame smaller than the default
    EXPECT_EQ(ScrollArrowLength(-1, 20), 20);
    EXPECT_EQ(ScrollArrowLength(-2, 16), 32);
    EXPECT_EQ(ScrollArrowLength(12, 20), 12);
    EXPECT_EQ(ScrollBarThickness(-1, 17), 17);
    EXPECT_EQ(ScrollBarThickness(-2, 17), 34);
    EXPECT_EQ(ScrollBarThickness(9, 17), 9);
}

struct ThumbCase {
    const char* name;
    TacScrollInfo si;
    int barStart, length, btn, minThumb;
    int size, start;
};

TEST(ScrollMath, ThumbSizeAndStartTable) {
    const ThumbCase cases[] = {
        {"top", Items(200, 20, 0), 0, 200, 16, 10, 17, 16},
        {"last position", Items(200, 20, 180), 0, 200, 16, 10, 17, 167},
        {"middle: 90 x 151 / 180 = 75.5 -> 76", Items(200, 20, 90), 0, 200, 16, 10, 17, 92},
        {"bar origin moves the start", Items(200, 20, 0), 40, 200, 16, 10, 17, 56},
        {"position past the end stays in the track", Items(200, 20, 5000), 0, 200, 16, 10, 17, 167},
        {"position before nMin stays in the track", Items(200, 20, -50), 0, 200, 16, 10, 17, 16},
        {"minimum thumb: 1 x 168 / 1000 rounds to 0", Items(1000, 1, 0), 0, 200, 16, 10, 10, 16},
        {"no page: the thumb is one button long", Items(200, 0, 0), 0, 200, 16, 10, 16, 16},
        {"nMin 100 counts from nMin", Items(200, 20, 190, 100), 0, 200, 16, 10, 17, 92},
        {"range beyond 0x7FFFFFFE: no thumb", TacScrollInfo{INT_MIN, 0, 10, 0, 0}, 0, 200, 16, 10, 0, 16},
        {"track of nothing: no thumb", Items(200, 20, 0), 0, 32, 16, 10, 0, 16},
    };
    for (const ThumbCase& c : cases) {
        const TacThumb t = Ac_CalcThumbSize(c.si, c.barStart, c.length, c.btn, c.minThumb);
        EXPECT_EQ(t.Size, c.size) << c.name;
        EXPECT_EQ(t.Start, c.start) << c.name;
    }
}

TEST(ScrollMath, LayoutOfAShortBarHasTwoHalfButtonsAndNoThumb) {
    const TacBarLayout l = ScrollBarLayout(Items(200, 20, 0), 30, 16, 10);
    EXPECT_EQ(l.BtnBefore, 15);
    EXPECT_EQ(l.BtnAfter, 15);
    EXPECT_FALSE(l.ThumbShown);
    const TacBarLayout odd = ScrollBarLayout(Items(200, 20, 0), 31, 16, 10);
    EXPECT_EQ(odd.BtnBefore + odd.BtnAfter, 31);
    EXPECT_EQ(Ac_GetScrollPortion(Items(200, 20, 0), 14, 30, 16, 10), spArrowBefore);
    EXPECT_EQ(Ac_GetScrollPortion(Items(200, 20, 0), 15, 30, 16, 10), spArrowAfter);
}

TEST(ScrollMath, LayoutSplitsTheTrackAtTheThumbsMiddleAndKeepsATrackedThumbInside) {
    const TacBarLayout l = ScrollBarLayout(Items(200, 20, 0), 200, 16, 10);
    ASSERT_TRUE(l.ThumbShown);
    EXPECT_EQ(l.Split, 16 + 17 / 2);
    EXPECT_EQ(ScrollBarLayout(Items(200, 20, 0), 200, 16, 10, 100).Thumb.Start, 100);
    EXPECT_EQ(ScrollBarLayout(Items(200, 20, 0), 200, 16, 10, 190).Thumb.Start, 167);
    EXPECT_EQ(ScrollBarLayout(Items(200, 20, 0), 200, 16, 10, 0).Thumb.Start, 16);
    // A page as long as the list: the thumb would fill the track and is not shown.
    EXPECT_FALSE(ScrollBarLayout(Items(10, 20, 0), 200, 16, 10).ThumbShown);
}

TEST(ScrollMath, PortionsAlongTheReferenceBar) {
    const TacScrollInfo si = Items(200, 20, 90);  // thumb 92..108
    const struct {
        int along, portion;
    } cases[] = {
        {-1, spNone},       {0, spArrowBefore},  {15, spArrowBefore}, {16, spPageBefore},
        {91, spPageBefore}, {92, spThumb},       {108, spThumb},      {109, spPageAfter},
        {183, spPageAfter}, {184, spArrowAfter}, {199, spArrowAfter}, {200, spNone},
    };
    for (const auto& c : cases) EXPECT_EQ(Ac_GetScrollPortion(si, c.along, 200, 16, 10), c.portion) << c.along;
    // Nothing to scroll: arrows still answer, the track does not.
    EXPECT_EQ(Ac_GetScrollPortion(Items(10, 20, 0), 100, 200, 16, 10), spNone);
    EXPECT_EQ(Ac_GetScrollPortion(Items(10, 20, 0), 3, 200, 16, 10), spArrowBefore);
}

TEST(ScrollMath, ThumbDragMapsTrackOffsetsToPositionsWithinTheRange) {
    const TacScrollInfo si = Items(200, 20, 0);
    EXPECT_EQ(ThumbDragPosition(si, 16, 200, 16, 10), 0);
    EXPECT_EQ(ThumbDragPosition(si, 167, 200, 16, 10), 180);
    EXPECT_EQ(ThumbDragPosition(si, 91, 200, 16, 10), 89);    // 75 x 180 / 151 = 89.4
    EXPECT_EQ(ThumbDragPosition(si, 92, 200, 16, 10), 91);    // 76 x 180 / 151 = 90.6
    EXPECT_EQ(ThumbDragPosition(si, 900, 200, 16, 10), 180);  // pointer far past the end
    EXPECT_EQ(ThumbDragPosition(si, -40, 200, 16, 10), 0);
    EXPECT_EQ(ThumbDragPosition(Items(200, 20, 0, 100), 167, 200, 16, 10), 280);  // nMin added
    // No room to move: the first position, never −1 from a zero denominator.
    EXPECT_EQ(ThumbDragPosition(Items(10, 20, 0, 5), 50, 200, 16, 10), 5);
    // The start a grabbed thumb lands on stays inside the track.
    EXPECT_EQ(ThumbDragStart(si, 100, 5, 200, 16, 10), 95);
    EXPECT_EQ(ThumbDragStart(si, -300, 5, 200, 16, 10), 16);
    EXPECT_EQ(ThumbDragStart(si, 1000, 5, 200, 16, 10), 167);
    // Drawn where it maps back: every position from a drag gives a thumb at that start.
    for (int start = 16; start <= 167; ++start) {
        TacScrollInfo at = si;
        at.nPos = ThumbDragPosition(si, start, 200, 16, 10);
        EXPECT_LE(std::abs(Ac_CalcThumbSize(at, 0, 200, 16, 10).Start - start), 1) << start;
    }
}

TEST(ScrollMath, ScrollableRange) {
    EXPECT_TRUE(ScrollRangeScrollable(Items(200, 20, 0)));
    EXPECT_FALSE(ScrollRangeScrollable(Items(1, 20, 0)));                // nMin == nMax
    EXPECT_FALSE(ScrollRangeScrollable(Items(10, 20, 0)));               // page larger than nMax
    EXPECT_FALSE(ScrollRangeScrollable(TacScrollInfo{-5, 0, 0, 0, 0}));  // nMax 0
}

}  // namespace
}  // namespace qv
