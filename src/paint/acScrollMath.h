// The geometry of a skinned scroll bar, measured along its length: arrow buttons, the
// two track parts and the thumb, which part a point falls on, and the position a
// dragged thumb stands for. Drawing, hit testing and dragging all use these functions,
// so what the user sees is what the mouse hits. Portable: no <windows.h>.
#pragma once
#include "framework/Types.h"

#include <cstdint>

namespace qv {

// The scroll facts of one bar (the system's scroll information without its size and mask).
struct TacScrollInfo {
    int nMin = 0;
    int nMax = 0;
    unsigned nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};

// Hit-test results ("portions") of a bar.
enum : int {
    spNone = -1,
    spArrowBefore = 0,  // left or up arrow
    spArrowAfter = 1,   // right or down arrow
    spPageBefore = 2,   // track before the thumb
    spPageAfter = 3,    // track after the thumb
    spThumb = 5,
};

// The default arrow button length when the skin gives none.
constexpr int acScrollBtnLength = 16;

// a × b / c rounded half away from zero, as the system's MulDiv; −1 when c is 0 or the
// result does not fit an int (as MulDiv answers).
int acMulDiv(int a, int b, int c) noexcept;

// Arrow button length: the bar's own (≥ 0), else the larger of 16 and the skin's arrow
// frame (frame ≤ 0 when the skin has none) times −nArrowLength.
int ScrollArrowLength(int nArrowLength, int skinFrame) noexcept;
// Bar thickness: the bar's own (≥ 0), else the system metric times −nArrowWidth.
int ScrollBarThickness(int nArrowWidth, int systemMetric) noexcept;
// The range lets the thumb move: nMin < nMax, nMax ≥ nPage and nMax ≠ 0.
bool ScrollRangeScrollable(const TacScrollInfo& si) noexcept;

struct TacThumb {
    int Size = 0;   // 0: no thumb
    int Start = 0;  // in the same coordinates as the bar's origin
};

// Thumb size and start on a bar of barLength pixels starting at barStart, with arrow
// buttons btn long: size btn when nPage is 0, else nPage × work / (range + 1) and at
// least minThumb; 0 when the range exceeds 0x7FFFFFFE. The start keeps the thumb inside
// the track whatever the scroll facts say.
TacThumb Ac_CalcThumbSize(const TacScrollInfo& si, int barStart, int barLength, int btn, int minThumb) noexcept;
// Whether that thumb is shown: longer than 0 and shorter than the track.
bool ThumbFits(const TacThumb& thumb, int barLength, int btn) noexcept;

// The pieces of a bar along its length, in bar coordinates 0..length. A bar shorter than
// two arrow buttons has two half-length buttons, track parts of length 0 and no thumb.
struct TacBarLayout {
    int BtnBefore = 0;  // length of the first button (from 0)
    int BtnAfter = 0;   // length of the second button (ending at Length)
    int Length = 0;
    bool ThumbShown = false;
    TacThumb Thumb;  // start in bar coordinates
    int Split = 0;   // where the first track part ends and the second begins
};
// trackedStart ≥ 0: the thumb stands there (a drag in progress) instead of where the
// scroll facts put it; it is kept inside the track.
TacBarLayout ScrollBarLayout(const TacScrollInfo& si, int length, int btn, int minThumb,
                             int trackedStart = -1) noexcept;

// The portion at offset `along` (bar coordinates) of a bar whose cross extent contains
// the point (callers test the cross axis): buttons first, then the thumb and the two
// page parts; spNone when the thumb does not fit.
int Ac_GetScrollPortion(const TacScrollInfo& si, int along, int length, int btn, int minThumb) noexcept;

// The position a thumb dragged to start (bar coordinates) stands for:
// nMin + (start − btn) × (range − nPage + 1) / (work − size), kept in
// [nMin, nMax − max(nPage, 1) + 1].
int ThumbDragPosition(const TacScrollInfo& si, int thumbStart, int length, int btn, int minThumb) noexcept;
// Where a thumb grabbed grabOffset pixels past its start lands when the pointer is at
// `along`: kept inside the track.
int ThumbDragStart(const TacScrollInfo& si, int along, int grabOffset, int length, int btn, int minThumb) noexcept;

}  // namespace qv
