#include "paint/acScrollMath.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace qv {

namespace {

// a × b / c in 64 bits, rounded half away from zero; c must not be 0.
std::int64_t MulDiv64(std::int64_t a, std::int64_t b, std::int64_t c) noexcept {
    const std::int64_t n = a * b;
    const bool negative = (n < 0) != (c < 0);
    const std::int64_t an = n < 0 ? -n : n, ac = c < 0 ? -c : c;
    const std::int64_t q = (an + ac / 2) / ac;
    return negative ? -q : q;
}

std::int64_t Range(const TacScrollInfo& si) noexcept { return static_cast<std::int64_t>(si.nMax) - si.nMin; }

}  // namespace

int acMulDiv(int a, int b, int c) noexcept {
    if (c == 0) return -1;
    const std::int64_t r = MulDiv64(a, b, c);
    return (r > INT_MAX || r < INT_MIN) ? -1 : static_cast<int>(r);
}

int ScrollArrowLength(int nArrowLength, int skinFrame) noexcept {
    if (nArrowLength >= 0) return nArrowLength;
    return std::max(acScrollBtnLength, skinFrame) * -nArrowLength;
}

int ScrollBarThickness(int nArrowWidth, int systemMetric) noexcept {
    return nArrowWidth >= 0 ? nArrowWidth : systemMetric * -nArrowWidth;
}

bool ScrollRangeScrollable(const TacScrollInfo& si) noexcept {
    return si.nMin < si.nMax && static_cast<std::int64_t>(si.nMax) >= static_cast<std::int64_t>(si.nPage) &&
           si.nMax != 0;
}

TacThumb Ac_CalcThumbSize(const TacScrollInfo& si, int barStart, int barLength, int btn, int minThumb) noexcept {
    TacThumb t;
    const std::int64_t range = Range(si);
    const int work = barLength - 2 * btn;
    if (range > 0x7FFFFFFE || range < 0 || work <= 0) {
        t.Start = barStart + std::max(btn, 0);
        return t;
    }
    if (si.nPage == 0) t.Size = btn;
    else t.Size = static_cast<int>(std::max<std::int64_t>(MulDiv64(si.nPage, work, range + 1), minThumb));
    const std::int64_t page = std::max<std::int64_t>(si.nPage, 1);
    const std::int64_t denominator = range - page + 1;
    const int room = work - t.Size;
    std::int64_t offset = 0;
    if (denominator > 0 && room > 0)
        offset = std::clamp<std::int64_t>(MulDiv64(static_cast<std::int64_t>(si.nPos) - si.nMin, room, denominator), 0,
                                          room);
    t.Start = barStart + btn + static_cast<int>(offset);
    return t;
}

bool ThumbFits(const TacThumb& thumb, int barLength, int btn) noexcept {
    return thumb.Size > 0 && thumb.Size < barLength - 2 * btn;
}

TacBarLayout ScrollBarLayout(const TacScrollInfo& si, int length, int btn, int minThumb, int trackedStart) noexcept {
    TacBarLayout l;
    l.Length = std::max(length, 0);
    if (2 * btn >= l.Length) {
        // Too short for two whole buttons: each takes half the bar.
        l.BtnBefore = l.Length / 2;
        l.BtnAfter = l.Length - l.BtnBefore;
        l.Split = l.BtnBefore;
        return l;
    }
    l.BtnBefore = l.BtnAfter = btn;
    l.Thumb = Ac_CalcThumbSize(si, 0, l.Length, btn, minThumb);
    l.ThumbShown = ThumbFits(l.Thumb, l.Length, btn);
    if (l.ThumbShown && trackedStart >= 0) l.Thumb.Start = std::clamp(trackedStart, btn, l.Length - btn - l.Thumb.Size);
    l.Split = l.ThumbShown ? l.Thumb.Start + l.Thumb.Size / 2 : l.Length / 2;
    return l;
}

int Ac_GetScrollPortion(const TacScrollInfo& si, int along, int length, int btn, int minThumb) noexcept {
    if (along < 0 || along >= length) return spNone;
    const int d = 2 * btn < length ? btn : length / 2;
    if (along < d) return spArrowBefore;
    if (along >= length - d) return spArrowAfter;
    const TacThumb t = Ac_CalcThumbSize(si, 0, length, btn, minThumb);
    if (!ThumbFits(t, length, btn)) return spNone;
    if (along >= t.Start && along < t.Start + t.Size) return spThumb;
    if (along < t.Start) return spPageBefore;
    return spPageAfter;
}

int ThumbDragPosition(const TacScrollInfo& si, int thumbStart, int length, int btn, int minThumb) noexcept {
    const TacThumb t = Ac_CalcThumbSize(si, 0, length, btn, minThumb);
    const int room = length - 2 * btn - t.Size;
    const std::int64_t page = std::max<std::int64_t>(si.nPage, 1);
    const std::int64_t last = std::max<std::int64_t>(static_cast<std::int64_t>(si.nMax) - page + 1, si.nMin);
    if (room <= 0) return si.nMin;
    const std::int64_t span = Range(si) - static_cast<std::int64_t>(si.nPage) + 1;
    const std::int64_t moved = std::clamp(thumbStart - btn, 0, room);
    const std::int64_t pos = si.nMin + (span > 0 ? MulDiv64(moved, span, room) : 0);
    return static_cast<int>(std::clamp<std::int64_t>(pos, si.nMin, last));
}

int ThumbDragStart(const TacScrollInfo& si, int along, int grabOffset, int length, int btn, int minThumb) noexcept {
    const TacThumb t = Ac_CalcThumbSize(si, 0, length, btn, minThumb);
    const int high = std::max(btn, length - btn - t.Size);
    return std::clamp(along - grabOffset, btn, high);
}

}  // namespace qv
